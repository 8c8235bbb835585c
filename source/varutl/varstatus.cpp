// Variable status word: field accessors, classification by problem mode,
// degree-of-freedom changes and effective bounds.
#include <cmath>
#include <cstring>

#include "attrcat/attrcat.h"
#include "rtopipe/report.h"
#include "varutl/varutl_internal.h"
#include "varutl/varutl_messages.h"
#include "zarnutils/rtcontext.h"
#include "zarnutils/varutl.h"

namespace {

using namespace zarn::varutl;
using zarn::rtopipe::report;

constexpr double kInfinite = 1e35;

// Rows: spec codes; columns: problem modes 0..3.
constexpr unsigned char kFixed[8][4] = {
    {0, 0, 0, 0}, {1, 1, 1, 1}, {1, 1, 0, 0}, {0, 1, 1, 0},
    {1, 0, 0, 1}, {1, 1, 1, 0}, {1, 1, 0, 1}, {1, 1, 1, 1},
};
constexpr unsigned char kFixedNotInitial[8][4] = {
    {0, 0, 0, 0}, {1, 1, 1, 1}, {1, 1, 0, 0}, {0, 1, 1, 0},
    {1, 0, 0, 1}, {1, 1, 1, 0}, {1, 1, 0, 1}, {0, 0, 0, 0},
};
constexpr unsigned char kIndependent[8][4] = {
    {0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 1, 1}, {0, 0, 0, 0},
    {0, 0, 0, 0}, {0, 0, 0, 1}, {0, 0, 1, 0}, {0, 0, 0, 0},
};

// Table entry for its spec code (bits 0-3) under the current mode.
inline int32_t classify(const unsigned char (&table)[8][4], int64_t word) {
    const int64_t spec = word & kSpecMask;
    const int32_t mode = rtopt_mode;
    if (spec > 7 || mode < 0 || mode > 3) return 0;
    return table[spec][mode];
}

inline void set_bit(int64_t *word, int64_t bit, bool on) {
    if (word != nullptr) *word = with_bit(*word, bit, on);
}

inline int32_t bit_of(int64_t word, int64_t bit) { return (word & bit) != 0 ? 1 : 0; }

inline void store_flag(char *flag, char c) {
    if (flag == nullptr) return;
    flag[0] = c;
    flag[1] = '\0';
}

}  // namespace

extern "C" {

int32_t varInqSpec(int64_t word) { return spec(word); }

void varSetSpec(int64_t *word, int32_t spec) {
    if (spec < VAR_CALC || spec > VAR_INITIAL) {
        report(msg::kSpecRange, spec);
        return;
    }
    if (word != nullptr) *word = (*word & ~kSpecMask) | spec;
}

void varFix(int64_t *word) { varSetSpec(word, VAR_CONST); }
void varFree(int64_t *word) { varSetSpec(word, VAR_CALC); }
void varMakeIndependent(int64_t *word) { varSetSpec(word, VAR_INDEP); }
void varFixInitially(int64_t *word) { varSetSpec(word, VAR_INITIAL); }

int32_t varIsFixed(int64_t word) { return classify(kFixed, word); }
int32_t varIsFixedOrInitial(int64_t word) { return classify(kFixedNotInitial, word); }
int32_t varIsIndependent(int64_t word) { return classify(kIndependent, word); }

const char *varSpecId(int32_t spec) {
    const int k = zarn::attrcat::position_of(zarn::attrcat::kSpec, spec);
    return k >= 0 ? zarn::attrcat::kSpec.titles[k] : "Unknown";
}

int32_t varInqPhysicalType(int64_t word) { return physical_type(word); }

void varSetPhysicalType(int64_t *word, int32_t ptype) {
    if (ptype < -255 || ptype > 255) {
        report(msg::kPhysicalTypeRange, ptype);
        return;
    }
    if (word != nullptr) *word = with_physical_type(*word, ptype);
}

int32_t varInqConnected(int64_t word) { return static_cast<int32_t>((word & kConnMask) >> kConnShift); }

void varSetConnected(int64_t *word, int32_t state) {
    if (state < VAR_NOT_CONNECTED || state > VAR_CONNECTED_PARAM) {
        report(msg::kConnectedRange, state);
        return;
    }
    if (word != nullptr) *word = (*word & ~kConnMask) | (static_cast<int64_t>(state) << kConnShift);
}

int32_t varInqType(int64_t word) { return var_type(word); }

void varSetType(int32_t type, int64_t *word) {
    if (type < 0 || type > VAR_TYPE_SEMI_CONTINUOUS_INTEGER) {
        report(msg::kTypeRange, type);
        return;
    }
    if (word != nullptr) *word = with_var_type(*word, type);
}

int32_t varTypeIsAlgebraic(int64_t word) { return varInqType(word) == VAR_TYPE_ALGEBRAIC; }
int32_t varTypeIsState(int64_t word) { return varInqType(word) == VAR_TYPE_STATE; }
int32_t varTypeIsDifferential(int64_t word) { return varInqType(word) == VAR_TYPE_DIFFERENTIAL; }
int32_t varTypeIsDiscrete(int64_t word) { return varInqType(word) == VAR_TYPE_DISCRETE; }
int32_t varTypeIsInteger(int64_t word) { return varInqType(word) == VAR_TYPE_DISCRETE; }
int32_t varTypeIsDiscreteEqnSlack(int64_t word) { return varInqType(word) == VAR_TYPE_DISCRETE_ESLACK; }
int32_t varTypeIsBinary(int64_t word) { return varInqType(word) == VAR_TYPE_BINARY; }
int32_t varTypeIsPartialInteger(int64_t word) { return varInqType(word) == VAR_TYPE_PARTIAL_INTEGER; }
int32_t varTypeIsSemiContinuous(int64_t word) { return varInqType(word) == VAR_TYPE_SEMI_CONTINUOUS; }
int32_t varTypeIsSemiContinuousInteger(int64_t word) {
    return varInqType(word) == VAR_TYPE_SEMI_CONTINUOUS_INTEGER;
}

const char *varTypeId(int32_t type) {
    // "INTEGER" is only an input name; DISCRETE is the display name of 3.
    return zarn::attrcat::word_of(zarn::attrcat::kVarType, type);
}

int32_t varTypeCode(const char *name) {
    if (name == nullptr) return -1;
    return zarn::attrcat::code_of(zarn::attrcat::kVarType.accepted, name, std::strlen(name), -1);
}

void varInqBoundType(int64_t word, int64_t *out) {
    if (out != nullptr) *out = bound_type(word);
}

void varSetBoundType(int32_t bt, int64_t *word) {
    if (bt < VAR_BOUND_HARD || bt > VAR_BOUND_SOFT2) {
        report(msg::kBoundTypeRange, bt);
        return;
    }
    if (word != nullptr) *word = (*word & ~kBoundMask) | (static_cast<int64_t>(bt) << kBoundShift);
}

int32_t varBoundTypeIsSoft(int64_t word) { return bound_type(word) == VAR_BOUND_SOFT; }
int32_t varBoundTypeIsSoft2(int64_t word) { return bound_type(word) == VAR_BOUND_SOFT2; }

void varSetInstrument(int64_t *word, int32_t flag) { set_bit(word, kInstrument, flag != 0); }
void varSetMeasured(int64_t *word, int32_t flag) { set_bit(word, kMeasured, flag != 0); }
void varSetExcluded(int64_t *word, int32_t flag) { set_bit(word, kExcluded, flag != 0); }
void varSetLinear(int64_t *word, int32_t flag) { set_bit(word, kLinear, flag != 0); }
int32_t varIsInstrument(int64_t word) { return bit_of(word, kInstrument); }
int32_t varIsMeasured(int64_t word) { return bit_of(word, kMeasured); }
int32_t varIsExcluded(int64_t word) { return bit_of(word, kExcluded); }
int32_t varIsLinear(int64_t word) { return bit_of(word, kLinear); }

void varSetMarked(unsigned char flag, int64_t *word) { set_bit(word, kMarked, flag != 0); }
void varSetTorn(unsigned char flag, int64_t *word) { set_bit(word, kTorn, flag != 0); }
void varSetActive(unsigned char flag, int64_t *word) { set_bit(word, kActive, flag != 0); }
int32_t varInqMarked(int64_t word) { return bit_of(word, kMarked); }
int32_t varInqTorn(int64_t word) { return bit_of(word, kTorn); }
int32_t varInqActive(int64_t word) { return bit_of(word, kActive); }

void varDofDecDelta(int64_t a, int64_t b, int32_t out1[4], int32_t out2[4]) {
    const int64_t sa = a & kSpecMask;
    const int64_t sb = b & kSpecMask;
    // Codes 8..15 are not spec codes: they count as neither fixed nor independent.
    for (int m = 0; m < 4; ++m) {
        const int fa = sa <= 7 ? kFixed[sa][m] : 0;
        const int fb = sb <= 7 ? kFixed[sb][m] : 0;
        const int ia = sa <= 7 ? kIndependent[sa][m] : 0;
        const int ib = sb <= 7 ? kIndependent[sb][m] : 0;
        if (out1 != nullptr) out1[m] = fa - fb;
        if (out2 != nullptr) out2[m] = ib - ia;
    }
}

void varInqBoundInfo(int64_t word, double x, double r, double lower, double upper, double step,
                     int32_t use_step, int32_t use_soft, double *eff_lower, char *lower_flag,
                     double *eff_upper, char *upper_flag) {
    if (r >= kInfinite) r = x;
    int32_t t = bound_type(word);
    if (use_soft == 0 && (t == VAR_BOUND_SOFT || t == VAR_BOUND_SOFT2)) t = VAR_BOUND_HARD;

    const double d = std::fabs(step);
    const bool window = use_step != 0 && d < kInfinite;
    const double lo = r - d;
    const double hi = r + d;

    double vl = lower, vu = upper;
    char fl = ' ', fu = ' ';
    switch (t) {
        case VAR_BOUND_RELAXED:
            if (lower > x) {
                vl = x;
                fl = 'R';
            } else if (window && lo > lower) {
                vl = lo;
                fl = 'S';
            }
            if (x > upper) {
                vu = x;
                fu = 'R';
            } else if (window && upper > hi) {
                vu = hi;
                fu = 'S';
            }
            break;
        case VAR_BOUND_SOFT:
            if (window) {
                if (lower > hi) {
                    vl = hi;
                    fl = 'S';
                } else if (lo > lower) {
                    vl = lo;
                    fl = 'S';
                }
                if (lo > upper) {
                    vu = lo;
                    fu = 'S';
                } else if (upper > hi) {
                    vu = hi;
                    fu = 'S';
                }
            }
            break;
        case VAR_BOUND_SOFT2:
            vl = -kInfinite;
            vu = kInfinite;
            break;
        default:  // HARD
            if (window && lo > lower) {
                vl = lo;
                fl = 'S';
            }
            if (window && upper > hi) {
                vu = hi;
                fu = 'S';
            }
            break;
    }
    if (eff_lower != nullptr) *eff_lower = vl;
    if (eff_upper != nullptr) *eff_upper = vu;
    store_flag(lower_flag, fl);
    store_flag(upper_flag, fu);
}

}  // extern "C"
