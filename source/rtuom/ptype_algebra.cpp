// Physical type of a product or a quotient, and the listing of both tables.
#include <cstdlib>

#include "rtuom/ptype_tables.h"
#include "zarnutils/rtnum.h"
#include "zarnutils/rtuom.h"

namespace zarn::rtuom::ptalg {
namespace {

constexpr int kLowest = -(RTOUOM_NTYPES - 1);
constexpr int kSlots = 2 * RTOUOM_NTYPES - 1;

// Where the rows of each first operand start and how many there are.
struct Span {
    int start = 0;
    int count = 0;
};

struct TableIndex {
    Span spans[kSlots];
    explicit TableIndex(const TypeTable &t) {
        for (int i = 0; i < t.count; ++i) {
            Span &s = spans[t.rows[i].first - kLowest];
            if (s.count == 0) s.start = i;
            ++s.count;
        }
    }
};

const TableIndex &index_of(const TypeTable &t) {
    static const TableIndex product(kProductTable);
    static const TableIndex quotient(kQuotientTable);
    return &t == &kProductTable ? product : quotient;
}

int lookup(const TypeTable &t, int first, int second) {
    if (first < kLowest || first > -kLowest) return RTNUM_NO_TYPE;
    const Span &s = index_of(t).spans[first - kLowest];
    for (int i = s.start; i < s.start + s.count; ++i)
        if (t.rows[i].second == second) return t.rows[i].result;
    return RTNUM_NO_TYPE;
}

// ENTHALPY and ENTROPY list mole and mass units together; the unit index
// (or, for 0, the default index) says which specific type is meant.
int resolve_basis(int p, int u) {
    if (p != ENTHALPY && p != ENTROPY) return p;
    if (u == 0) u = rtouom_get_default(p);
    if (p == ENTHALPY) return u >= 4 ? MASS_ENTHALP : MOLE_ENTHALP;
    return u >= 4 && u <= 6 ? MASS_ENTROPY : MOLE_ENTROPY;
}

bool out_of_range(int p) { return std::abs(p) >= RTOUOM_NTYPES; }

bool neutral(int p) { return p == DIMENSIONLES || p == CONTENTS; }

void dump_table(rtopipe *pipe, const TypeTable &t, const char *op) {
    const TableIndex &ix = index_of(t);
    for (const Span &s : ix.spans) {
        for (int i = s.start; i < s.start + s.count; ++i) {
            const TypeRow &r = t.rows[i];
            const int codes[3] = {r.first, r.second, r.result};
            const char *seps[3] = {op, " => ", "\n"};
            for (int k = 0; k < 3; ++k) {
                // The price form is spelled here: the "$/" name buffer is shared.
                if (codes[k] < 0)
                    rtoprintf(pipe, "$/%s%s", rtouom_ptype_name(-codes[k]), seps[k]);
                else
                    rtoprintf(pipe, "%s%s", rtouom_ptype_name(codes[k]), seps[k]);
            }
        }
    }
}

}  // namespace
}  // namespace zarn::rtuom::ptalg

using namespace zarn::rtuom::ptalg;

extern "C" int ptype_multiply(int16_t p1, int16_t u1, int16_t p2, int16_t u2) {
    if (out_of_range(p1) || out_of_range(p2)) return RTNUM_NO_TYPE;
    const int a = resolve_basis(p1, u1), b = resolve_basis(p2, u2);
    if (a != 0 && a == -b) return FISCAL;
    if (a == 0) return b;
    if (b == 0) return a;
    if (neutral(a)) return b == DIMENSIONLES ? a : b;
    if (neutral(b)) return a;
    // The table holds each pair once, smaller code first.
    return a < b ? lookup(kProductTable, a, b) : lookup(kProductTable, b, a);
}

extern "C" int ptype_divide(int16_t p1, int16_t u1, int16_t p2, int16_t u2) {
    if (out_of_range(p1) || out_of_range(p2)) return RTNUM_NO_TYPE;
    const int a = resolve_basis(p1, u1), b = resolve_basis(p2, u2);
    if (b == 0) return a;
    if (a == 0) return b;
    if (a == b) return DIMENSIONLES;
    if (b == DIMENSIONLES) return a;
    if (b == CONTENTS) return a == DIMENSIONLES ? CONTENTS : a;
    if (rtouom_ptype_equal(a, b)) return DIMENSIONLES;
    return lookup(kQuotientTable, a, b);
}

extern "C" void ptype_dump(rtopipe *pipe) {
    dump_table(pipe, kProductTable, " * ");
    dump_table(pipe, kQuotientTable, " / ");
}
