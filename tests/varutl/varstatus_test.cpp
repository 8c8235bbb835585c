// Variable status word: every field against every other, the mode tables,
// degree-of-freedom changes and effective bounds.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "capture.h"
#include "zarnutils/rtcontext.h"
#include "zarnutils/varutl.h"

namespace {

// Restores the problem mode a test changed.
class ModeGuard {
public:
    ModeGuard() : saved_(rtopt_mode) {}
    ~ModeGuard() { rtopt_mode = saved_; }

private:
    int32_t saved_;
};

// One field: its bits in the word, the codes it accepts, a writer and a reader.
struct Field {
    const char *name;
    int64_t mask;
    std::vector<int32_t> values;
    std::function<void(int64_t *, int32_t)> set;
    std::function<int32_t(int64_t)> get;
};

std::vector<int32_t> range(int32_t lo, int32_t hi) {
    std::vector<int32_t> v;
    for (int32_t i = lo; i <= hi; ++i) v.push_back(i);
    return v;
}

std::vector<Field> fields() {
    auto flag = [](int64_t bit, const char *name, void (*set)(int64_t *, int32_t), int32_t (*get)(int64_t)) {
        return Field{name, bit, {0, 1}, set, get};
    };
    auto byteflag = [](int64_t bit, const char *name, void (*set)(unsigned char, int64_t *),
                       int32_t (*get)(int64_t)) {
        return Field{name, bit, {0, 1},
                     [set](int64_t *w, int32_t v) { set(static_cast<unsigned char>(v), w); }, get};
    };
    return {
        {"spec", 0xF, range(0, 7), varSetSpec, varInqSpec},
        {"ptype", 0x1FF0, range(-255, 255), varSetPhysicalType, varInqPhysicalType},
        {"connected", 0xE000, range(0, 4), varSetConnected, varInqConnected},
        {"type", 0xF0000 | 0xE0000000LL, range(0, 64), [](int64_t *w, int32_t v) { varSetType(v, w); },
         varInqType},
        {"bound", 0x600000, range(0, 3), [](int64_t *w, int32_t v) { varSetBoundType(v, w); },
         [](int64_t w) {
             int64_t out = -1;
             varInqBoundType(w, &out);
             return static_cast<int32_t>(out);
         }},
        byteflag(0x100000, "torn", varSetTorn, varInqTorn),
        flag(0x800000, "instrument", varSetInstrument, varIsInstrument),
        flag(0x1000000, "measured", varSetMeasured, varIsMeasured),
        flag(0x2000000, "excluded", varSetExcluded, varIsExcluded),
        byteflag(0x4000000, "marked", varSetMarked, varInqMarked),
        flag(0x8000000, "linear", varSetLinear, varIsLinear),
        byteflag(0x10000000, "active", varSetActive, varInqActive),
    };
}

// Words the field writers start from: empty, every bit of the low 32 set, a mix.
const int64_t kBackgrounds[] = {0, 0xFFFFFFFFLL, 0x0A5A5A5ALL, 0x15A5A5A5LL};

}  // namespace

TEST(VarStatusWord, EveryFieldRoundTripsWithoutTouchingOthers) {
    zarn::test::HistoryCapture his;
    for (const Field &f : fields()) {
        for (int64_t bg : kBackgrounds) {
            for (int32_t v : f.values) {
                int64_t w = bg;
                f.set(&w, v);
                ASSERT_EQ(f.get(w), v) << f.name << " value " << v << " background " << std::hex << bg;
                ASSERT_EQ(w & ~f.mask, bg & ~f.mask) << f.name << " value " << v << " disturbed another field";
                // Every other field reads as it did before.
                for (const Field &g : fields()) {
                    if (std::string(g.name) == f.name) continue;
                    ASSERT_EQ(g.get(w), g.get(bg)) << f.name << "=" << v << " changed " << g.name;
                }
            }
        }
    }
    EXPECT_EQ(his.text(), "");
}

TEST(VarStatusWord, DocumentedBitPositions) {
    int64_t w = 0;
    varSetSpec(&w, VAR_INITIAL);
    EXPECT_EQ(w, 0x7);
    w = 0;
    varSetPhysicalType(&w, -255);
    EXPECT_EQ(w, 1 << 4);  // biased field value 1
    EXPECT_EQ(varInqPhysicalType(w), -255);
    varSetPhysicalType(&w, 255);
    EXPECT_EQ(w, 511 << 4);
    varSetPhysicalType(&w, -1);
    EXPECT_EQ(w, 255 << 4);
    varSetPhysicalType(&w, 0);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(varInqPhysicalType(w), 0);
    varSetConnected(&w, VAR_CONNECTED_PARAM);
    EXPECT_EQ(w, 0x8000);
    w = 0;
    varSetType(VAR_TYPE_SEMI_CONTINUOUS, &w);
    EXPECT_EQ(w, 0x70000);
    w = 0;
    varSetBoundType(VAR_BOUND_SOFT2, &w);
    EXPECT_EQ(w, 0x600000);
    w = 0;
    varSetMarked(1, &w);
    varSetActive(7, &w);  // any non-zero byte sets
    varSetInstrument(&w, -3);
    EXPECT_EQ(w, 0x4000000 | 0x10000000 | 0x800000);
    // Fortran callers read the low 32 bits; every field must survive that cut.
    int64_t full = 0;
    varSetSpec(&full, 6);
    varSetPhysicalType(&full, -182);
    varSetType(VAR_TYPE_SEMI_CONTINUOUS_INTEGER, &full);
    int64_t cut = static_cast<int32_t>(full);
    EXPECT_EQ(varInqSpec(cut), 6);
    EXPECT_EQ(varInqPhysicalType(cut), -182);
    EXPECT_EQ(varInqType(cut), 64);
    EXPECT_EQ(varTypeIsSemiContinuousInteger(cut), 1);
}

// One past each end of every coded field: the documented text, the word unchanged.
TEST(VarStatusWord, OutOfRangeCodesAreReportedAndChangeNothing) {
    zarn::test::HistoryCapture his;
    const int64_t start = 0x0A5A5A5ALL;
    int64_t w = start;
    for (int32_t v : {8, -1}) varSetSpec(&w, v);
    for (int32_t v : {256, -256}) varSetPhysicalType(&w, v);
    for (int32_t v : {5, -1}) varSetConnected(&w, v);
    for (int32_t v : {65, -1}) varSetType(v, &w);
    for (int32_t v : {4, -1}) varSetBoundType(v, &w);
    EXPECT_EQ(w, start);
    EXPECT_EQ(his.text(),
              "!! varSetSpec: spec is out of range. 8\n!! varSetSpec: spec is out of range. -1\n"
              "!! varSetPhysicalType: physical type is out of range. 256\n"
              "!! varSetPhysicalType: physical type is out of range. -256\n"
              "!! varSetConnected: value is out of range. 5\n!! varSetConnected: value is out of range. -1\n"
              "!! varSetType: variable type is out of range. 65\n!! varSetType: variable type is out of range. -1\n"
              "!! varSetBoundType: bound type is out of range. 4\n!! varSetBoundType: bound type is out of range. -1\n");
}

TEST(VarStatusWord, SpecShortcutsAndNames) {
    int64_t w = 0x0A5A5A50LL;
    varFix(&w);
    EXPECT_EQ(varInqSpec(w), VAR_CONST);
    varMakeIndependent(&w);
    EXPECT_EQ(varInqSpec(w), VAR_INDEP);
    varFixInitially(&w);
    EXPECT_EQ(varInqSpec(w), VAR_INITIAL);
    varFree(&w);
    EXPECT_EQ(w, 0x0A5A5A50LL);

    const char *names[] = {"Calc", "Const", "Indep", "Meas", "Param", "Optim", "Recon", "Initial"};
    for (int s = 0; s < 8; ++s) EXPECT_STREQ(varSpecId(s), names[s]);
    EXPECT_STREQ(varSpecId(8), "Unknown");
    EXPECT_STREQ(varSpecId(-1), "Unknown");
}

TEST(VarStatusWord, TypePredicatesAndNames) {
    struct {
        int32_t code;
        int32_t (*pred)(int64_t);
        const char *name;
    } const types[] = {
        {0, varTypeIsAlgebraic, "ALGEBRAIC"},
        {1, varTypeIsState, "STATE"},
        {2, varTypeIsDifferential, "DIFFERENTIAL"},
        {3, varTypeIsDiscrete, "DISCRETE"},
        {3, varTypeIsInteger, "DISCRETE"},
        {4, varTypeIsDiscreteEqnSlack, "DISCRETE-ESLACK"},
        {5, varTypeIsBinary, "BINARY"},
        {6, varTypeIsPartialInteger, "PARTIAL-INTEGER"},
        {7, varTypeIsSemiContinuous, "SEMI-CONTINUOUS"},
        {64, varTypeIsSemiContinuousInteger, "SEMI-CONTINUOUS-INTEGER"},
    };
    // Every accepted code against every predicate: true exactly for its own code.
    for (int32_t code = 0; code <= 64; ++code) {
        int64_t w = 0xFFFFFFFFLL;
        varSetType(code, &w);
        for (const auto &t : types) EXPECT_EQ(t.pred(w), code == t.code ? 1 : 0) << t.name << " on " << code;
    }
    for (const auto &t : types) {
        EXPECT_STREQ(varTypeId(t.code), t.name);
        EXPECT_EQ(varTypeCode(t.name), t.code);
    }
    EXPECT_EQ(varTypeCode("INTEGER"), 3);
    EXPECT_EQ(varTypeCode("integer"), -1);
    EXPECT_EQ(varTypeCode(""), -1);
    EXPECT_EQ(varTypeCode(nullptr), -1);
    EXPECT_EQ(varTypeId(8), nullptr);
    EXPECT_EQ(varTypeId(-1), nullptr);
}

TEST(VarStatusWord, BoundTypePredicates) {
    for (int32_t bt = 0; bt <= 3; ++bt) {
        int64_t w = 0x1FFFFFFFLL;
        varSetBoundType(bt, &w);
        EXPECT_EQ(varBoundTypeIsSoft(w), bt == 2 ? 1 : 0);
        EXPECT_EQ(varBoundTypeIsSoft2(w), bt == 3 ? 1 : 0);
    }
}

// The three classification tables: a string of modes 0..3 for each spec code.
TEST(VarStatusWord, ClassificationOfEverySpecInEveryMode) {
    ModeGuard guard;
    const char *fixed[8] = {"0000", "1111", "1100", "0110", "1001", "1110", "1101", "1111"};
    const char *fixed_or_init[8] = {"0000", "1111", "1100", "0110", "1001", "1110", "1101", "0000"};
    const char *indep[8] = {"0000", "0000", "0011", "0000", "0000", "0001", "0010", "0000"};
    for (int32_t mode = 0; mode < 4; ++mode) {
        rtopt_mode = mode;
        for (int32_t spec = 0; spec < 8; ++spec) {
            for (int64_t bg : kBackgrounds) {
                int64_t w = bg;
                varSetSpec(&w, spec);
                EXPECT_EQ(varIsFixed(w), fixed[spec][mode] - '0') << "spec " << spec << " mode " << mode;
                EXPECT_EQ(varIsFixedOrInitial(w), fixed_or_init[spec][mode] - '0')
                    << "spec " << spec << " mode " << mode;
                EXPECT_EQ(varIsIndependent(w), indep[spec][mode] - '0') << "spec " << spec << " mode " << mode;
            }
        }
        // Bits 0-3 holding no spec code classify as nothing.
        for (int64_t bad = 8; bad < 16; ++bad) {
            EXPECT_EQ(varIsFixed(bad), 0);
            EXPECT_EQ(varIsIndependent(bad), 0);
        }
    }
    // A mode outside 0..3 set directly on the global reads no table.
    rtopt_mode = 4;
    EXPECT_EQ(varIsFixed(VAR_CONST), 0);
    rtopt_mode = -1;
    EXPECT_EQ(varIsIndependent(VAR_INDEP), 0);
    // Through the context's setter the mode is what the tests see.
    rto_set_mode_c(2);
    EXPECT_EQ(varIsIndependent(VAR_INDEP), 1);
    EXPECT_EQ(varIsFixed(VAR_INDEP), 0);
    rto_set_mode_c(0);
    EXPECT_EQ(varIsIndependent(VAR_INDEP), 0);
    EXPECT_EQ(varIsFixed(VAR_INDEP), 1);
}

TEST(VarStatusWord, DofDeltaForAllPairsAgreesWithTheModeTests) {
    ModeGuard guard;
    rtopt_mode = 3;
    for (int32_t a = 0; a < 8; ++a) {
        for (int32_t b = 0; b < 8; ++b) {
            int64_t wa = 0xFFFFFFF0LL | a, wb = 0x0A5A5A50LL | b;
            int32_t out1[4] = {9, 9, 9, 9}, out2[4] = {9, 9, 9, 9};
            const int32_t mode_before = rtopt_mode;
            varDofDecDelta(wa, wb, out1, out2);
            EXPECT_EQ(rtopt_mode, mode_before);
            for (int32_t m = 0; m < 4; ++m) {
                rtopt_mode = m;
                EXPECT_EQ(out1[m], varIsFixed(wa) - varIsFixed(wb)) << a << "->" << b << " mode " << m;
                EXPECT_EQ(out2[m], varIsIndependent(wb) - varIsIndependent(wa)) << a << "->" << b << " mode " << m;
            }
            rtopt_mode = 3;
            if (a == b) {
                for (int32_t m = 0; m < 4; ++m) EXPECT_EQ(out1[m] | out2[m], 0);
            }
        }
    }
    int32_t o1[4], o2[4];
    varDofDecDelta(VAR_CALC, VAR_CONST, o1, o2);
    EXPECT_EQ(std::vector<int32_t>(o1, o1 + 4), (std::vector<int32_t>{-1, -1, -1, -1}));
    EXPECT_EQ(std::vector<int32_t>(o2, o2 + 4), (std::vector<int32_t>{0, 0, 0, 0}));
    varDofDecDelta(VAR_INDEP, VAR_CALC, o1, o2);
    EXPECT_EQ(std::vector<int32_t>(o1, o1 + 4), (std::vector<int32_t>{1, 1, 0, 0}));
    EXPECT_EQ(std::vector<int32_t>(o2, o2 + 4), (std::vector<int32_t>{0, 0, -1, -1}));
}

namespace {

struct Bounds {
    double lo, hi;
    std::string flo, fhi;
};

Bounds bounds(int32_t bt, double x, double r, double L, double U, double d, int use_step, int use_soft) {
    int64_t w = 0x1FFFFFFFLL;
    varSetBoundType(bt, &w);
    Bounds b{0, 0, "", ""};
    char fl[4] = "xxx", fu[4] = "xxx";
    varInqBoundInfo(w, x, r, L, U, d, use_step, use_soft, &b.lo, fl, &b.hi, fu);
    b.flo = fl;
    b.fhi = fu;
    return b;
}

void expect_bounds(const Bounds &b, double lo, const char *flo, double hi, const char *fhi) {
    EXPECT_EQ(b.lo, lo);
    EXPECT_EQ(b.flo, flo);
    EXPECT_EQ(b.hi, hi);
    EXPECT_EQ(b.fhi, fhi);
}

}  // namespace

TEST(VarBoundInfo, HardAndRelaxed) {
    SCOPED_TRACE("hard, no step");
    expect_bounds(bounds(0, 5, 1e35, 0, 10, 1, 0, 1), 0, " ", 10, " ");
    // Window 4..6 around x (r undefined): both bounds limited by the step.
    expect_bounds(bounds(0, 5, 1e35, 0, 10, 1, 1, 1), 4, "S", 6, "S");
    // Negative step counts by its magnitude; r given explicitly.
    expect_bounds(bounds(0, 5, 2, 0, 10, -1, 1, 1), 1, "S", 3, "S");
    // Window wider than the bounds: the bounds stay.
    expect_bounds(bounds(0, 5, 1e35, 0, 10, 100, 1, 1), 0, " ", 10, " ");
    // Step of 1e35 means no window.
    expect_bounds(bounds(0, 5, 1e35, 0, 10, 1e35, 1, 1), 0, " ", 10, " ");
    // Strict comparisons: an edge equal to the bound keeps the bound flag.
    expect_bounds(bounds(0, 5, 1e35, 4, 6, 1, 1, 1), 4, " ", 6, " ");
    SCOPED_TRACE("relaxed");
    expect_bounds(bounds(1, -3, 1e35, 0, 10, 1, 0, 1), -3, "R", 10, " ");
    expect_bounds(bounds(1, 12, 1e35, 0, 10, 1, 1, 1), 11, "S", 12, "R");
    expect_bounds(bounds(1, 5, 1e35, 0, 10, 1, 1, 1), 4, "S", 6, "S");
}

TEST(VarBoundInfo, SoftAndSoft2) {
    SCOPED_TRACE("soft");
    // Whole window above the upper bound: the upper bound is pinned at the window's low edge.
    expect_bounds(bounds(2, 20, 1e35, 0, 10, 1, 1, 1), 19, "S", 19, "S");
    // Whole window below the lower bound: the lower bound is pinned at the window's high edge.
    expect_bounds(bounds(2, -20, 1e35, 0, 10, 1, 1, 1), -19, "S", -19, "S");
    expect_bounds(bounds(2, -20, 1e35, 0, 10, 1, 0, 1), 0, " ", 10, " ");
    expect_bounds(bounds(2, 5, 1e35, 0, 10, 1, 1, 1), 4, "S", 6, "S");
    // Soft switch off: SOFT is HARD.
    expect_bounds(bounds(2, 20, 1e35, 0, 10, 1, 1, 0), 19, "S", 10, " ");
    SCOPED_TRACE("soft2");
    expect_bounds(bounds(3, 5, 1e35, 0, 10, 1, 1, 1), -1e35, " ", 1e35, " ");
    expect_bounds(bounds(3, 5, 1e35, 0, 10, 1, 0, 1), -1e35, " ", 1e35, " ");
    expect_bounds(bounds(3, 5, 1e35, 0, 10, 1, 0, 0), 0, " ", 10, " ");
    expect_bounds(bounds(3, 5, 1e35, 0, 10, 1, 1, 0), 4, "S", 6, "S");
    // Null outputs are survived.
    varInqBoundInfo(0, 1, 1, 0, 2, 1, 1, 1, nullptr, nullptr, nullptr, nullptr);
}
