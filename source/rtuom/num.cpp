// Arithmetic, comparison and functions of numbers with a physical type, and
// the choice of the display unit of a result.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "rtopipe/report.h"
#include "rtuom/ptype_tables.h"
#include "rtuom/rtnum_messages.h"
#include "zarnutils/rtnum.h"
#include "zarnutils/rtuom.h"

namespace zarn::rtuom::ptalg {
namespace {

constexpr int kSI = RTOUOM_SI_MARKER;
constexpr int kSSI = RTOUOM_SSI_MARKER;

void fail(num *r) {
    *r = num{};
    r->undefined = 1;
    r->baseuom = 1;
}

double real_of(const num &a) { return a.is_int ? static_cast<double>(a.ival) : a.rval; }

// 32-bit arithmetic that wraps instead of overflowing.
int32_t wrap(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }

int unit_count(int ptype) {
    const int t = std::abs(ptype);
    return t < RTOUOM_NTYPES ? rtouom_count[t] : 0;
}

// Index x when type r has it, else y, else r's default: indices mean the same
// unit system in every type, so English operands give an English result.
int16_t pick(int r, int x, int y) {
    const int n = unit_count(r);
    if (x <= n) return static_cast<int16_t>(x);
    if (y <= n) return static_cast<int16_t>(y);
    return static_cast<int16_t>(rtouom_get_default(std::abs(r)));
}

bool copy_name(char *out, std::size_t size, const char *name) {
    if (!name) return false;
    const int n = std::snprintf(out, size, "%s", name);
    return n >= 0 && static_cast<std::size_t>(n) < size;
}

bool price_pair(const char *x, const char *y) {
    static const char *const pairs[][2] = {
        {"VOLUME-PRICE", "$/VOLUME"}, {"MOLE-PRICE", "$/MOLES"}, {"UNIT-PRICE", "$/MASS"}};
    for (const auto &p : pairs)
        if ((!std::strcmp(x, p[0]) && !std::strcmp(y, p[1])) ||
            (!std::strcmp(x, p[1]) && !std::strcmp(y, p[0])))
            return true;
    return false;
}

// The unit of a product: "KG/HR" times "$/KG" is "$/HR" when the shared part
// cancels and the result names a unit of the product's type (or of its price
// twin, which then becomes the type); else the pick rule.
int16_t compose(int *r, int p1, int x, int p2, int y) {
    char n1[96], n2[96];
    if (!copy_name(n1, sizeof n1, rtouom_uom_name(p1, x)) ||
        !copy_name(n2, sizeof n2, rtouom_uom_name(p2, y)))
        return pick(*r, x, y);
    char *d1 = std::strchr(n1, '/'), *d2 = std::strchr(n2, '/');
    if (!d1 || !d2) return pick(*r, x, y);
    *d1++ = '\0';
    *d2++ = '\0';
    char cand[200];
    if (std::strcmp(n1, d2) != 0)
        std::snprintf(cand, sizeof cand, "%s/%s", n1, d2);
    else
        std::snprintf(cand, sizeof cand, "%s/%s", n2, d1);
    int t = 0, u = 0;
    rtouom_locate2(cand, &t, &u);
    if (t == *r && u != 0) return static_cast<int16_t>(u);
    if (u != 0) {
        char tn[96], rn[96];
        if (copy_name(tn, sizeof tn, rtouom_ptype_name(t)) &&
            copy_name(rn, sizeof rn, rtouom_ptype_name(*r)) && price_pair(tn, rn)) {
            *r = t;
            return static_cast<int16_t>(u);
        }
    }
    return pick(*r, x, y);
}

const char *type_name(int p) { return p < 0 ? msg::kNameUnavailable : rtouom_ptype_name(p); }

void add_or_sub(const num *pa, const num *pb, num *result, bool sub) {
    if (!pa || !pb || !result) return;
    const num a = *pa, b = *pb;
    long long r = 0;
    if (a.undefined || b.undefined ||
        !(sub ? rtouom_ptype_sub(a.ptype, b.ptype, &r) : rtouom_ptype_add(a.ptype, b.ptype, &r))) {
        fail(result);
        return;
    }
    num out{};
    out.ptype = static_cast<int16_t>(r);
    out.uom = pick(out.ptype, a.uom, b.uom);
    out.baseuom = pick(out.ptype, a.baseuom, b.baseuom);
    if (a.is_int && b.is_int) {
        out.is_int = 1;
        out.ival = wrap(sub ? int64_t{a.ival} - b.ival : int64_t{a.ival} + b.ival);
    } else {
        out.rval = sub ? real_of(a) - real_of(b) : real_of(a) + real_of(b);
    }
    *result = out;
}

// Units of a product or quotient whose type r is neither operand's.
bool same_units_as_operand(int r, const num &a, const num &b, num *out) {
    const num *src = r == a.ptype ? &a : r == b.ptype ? &b : nullptr;
    if (!src) return false;
    out->uom = src->uom;
    out->baseuom = src->baseuom;
    return true;
}

bool dimensionless_ok(int ptype) { return rtouom_coercion_allowed(ptype, DIMENSIONLES) != 0; }

int compare(const num *pa, const num *pb, const char *alert) {
    if (!pa || !pb || pa->undefined || pb->undefined) return -2;
    if (pa->ptype != kSI && pb->ptype != kSI && !rtouom_ptype_equal(pa->ptype, pb->ptype)) {
        zarn::rtopipe::report("%s", alert);
        return -2;
    }
    if (pa->is_int && pb->is_int) return (pa->ival > pb->ival) - (pa->ival < pb->ival);
    const double x = real_of(*pa), y = real_of(*pb);
    if (x < y) return -1;
    if (x > y) return 1;
    if (x == y) return 0;
    return -2;  // NaN
}

// Replaces a dimensionless-able a by f(a) when inside the domain; else marks it.
template <class F, class D>
void unary(num *a, F f, D in_domain) {
    if (!a) return;
    const double x = real_of(*a);
    if (!dimensionless_ok(a->ptype) || !in_domain(x)) {
        a->undefined = 1;
        return;
    }
    a->rval = f(x);
    a->is_int = 0;
    a->ptype = DIMENSIONLES;
    a->uom = 0;
    a->baseuom = 1;
}

bool any(double) { return true; }

}  // namespace
}  // namespace zarn::rtuom::ptalg

using namespace zarn::rtuom::ptalg;
namespace msg = zarn::rtuom::msg;

extern "C" void numAdd(const num *a, const num *b, num *result) { add_or_sub(a, b, result, false); }

extern "C" void numSub(const num *a, const num *b, num *result) { add_or_sub(a, b, result, true); }

extern "C" void numMult(const num *pa, const num *pb, num *result) {
    if (!pa || !pb || !result) return;
    const num a = *pa, b = *pb;
    if (a.undefined || b.undefined) return fail(result);
    int r = ptype_multiply(a.ptype, a.uom, b.ptype, b.uom);
    if (std::abs(r) > RTOUOM_NTYPES) {
        zarn::rtopipe::report(msg::kMultUndefined, a.ptype, type_name(a.ptype), b.ptype, type_name(b.ptype));
        return fail(result);
    }
    num out{};
    if (!same_units_as_operand(r, a, b, &out)) {
        out.uom = compose(&r, a.ptype, a.uom, b.ptype, b.uom);
        out.baseuom = compose(&r, a.ptype, a.baseuom, b.ptype, b.baseuom);
    }
    out.ptype = static_cast<int16_t>(r);
    if (a.is_int && b.is_int) {
        out.is_int = 1;
        out.ival = wrap(int64_t{a.ival} * b.ival);
    } else {
        out.rval = real_of(a) * real_of(b);
    }
    *result = out;
}

extern "C" void numDiv(const num *pa, const num *pb, num *result) {
    if (!pa || !pb || !result) return;
    const num a = *pa, b = *pb;
    if (a.undefined || b.undefined) return fail(result);
    const int r = ptype_divide(a.ptype, a.uom, b.ptype, b.uom);
    if (std::abs(r) >= RTNUM_NO_TYPE) {
        zarn::rtopipe::report(msg::kDivUndefined, a.ptype, type_name(a.ptype), b.ptype, type_name(b.ptype));
        return fail(result);
    }
    num out{};
    out.ptype = static_cast<int16_t>(r);
    if (!same_units_as_operand(r, a, b, &out)) {
        out.uom = pick(r, a.uom, b.uom);
        out.baseuom = pick(r, a.baseuom, b.baseuom);
    }
    if (b.is_int ? b.ival == 0 : b.rval == 0.0) {
        out.undefined = 1;
    } else if (a.is_int && b.is_int) {
        out.is_int = 1;
        // INT32_MIN / -1 wraps like the other 32-bit operations.
        out.ival = wrap(int64_t{a.ival} / b.ival);
    } else {
        out.rval = real_of(a) / real_of(b);
    }
    *result = out;
}

extern "C" void numPow(const num *pa, const num *pb, num *result) {
    if (!pa || !pb || !result) return;
    const num a = *pa, b = *pb;
    if (a.undefined || b.undefined) return fail(result);
    if (!dimensionless_ok(a.ptype) || !dimensionless_ok(b.ptype)) {
        zarn::rtopipe::report(msg::kPowTyped);
        return fail(result);
    }
    const double base = real_of(a);
    if (b.is_int ? (b.ival < 0 && base == 0.0) : base <= 0.0) {
        result->undefined = 1;
        return;
    }
    num out{};
    out.rval = std::pow(base, real_of(b));
    out.ptype = DIMENSIONLES;
    out.baseuom = 1;
    *result = out;
}

extern "C" int numLess(const num *a, const num *b) { return compare(a, b, msg::kLessMismatch) == -1; }

extern "C" int numEqual(const num *a, const num *b) { return compare(a, b, msg::kEqualMismatch) == 0; }

extern "C" int numGreater(const num *a, const num *b) { return compare(a, b, msg::kGreaterMismatch) == 1; }

extern "C" void numUminus(num *a) {
    if (!a) return;
    if (a->is_int)
        a->ival = wrap(-int64_t{a->ival});
    else
        a->rval = -a->rval;
}

extern "C" void numAbs(num *a) {
    if (!a) return;
    if (a->is_int && a->ival < 0)
        a->ival = wrap(-int64_t{a->ival});
    else if (!a->is_int && a->rval < 0)
        a->rval = -a->rval;
}

extern "C" void numLog(num *a) {
    unary(
        a, [](double x) { return std::log(x); }, [](double x) { return x > 0; });
}
extern "C" void numLog10(num *a) {
    unary(
        a, [](double x) { return std::log10(x); }, [](double x) { return x > 0; });
}
extern "C" void numSqrt(num *a) {
    unary(
        a, [](double x) { return std::sqrt(x); }, [](double x) { return !(x < 0); });
}
extern "C" void numExp(num *a) {
    unary(
        a, [](double x) { return std::exp(x); }, any);
}
extern "C" void numCos(num *a) {
    unary(
        a, [](double x) { return std::cos(x); }, any);
}
extern "C" void numSin(num *a) {
    unary(
        a, [](double x) { return std::sin(x); }, any);
}
extern "C" void numTan(num *a) {
    unary(
        a, [](double x) { return std::tan(x); }, any);
}

extern "C" int numBaseUom(const num *a, int ptype) {
    if (!a || ptype == UNTYPED || ptype == DIMENSIONLES || ptype == kSI || ptype == kSSI) return 1;
    if (a->baseuom < 1 || a->baseuom > unit_count(ptype)) return 1;
    return a->baseuom;
}
