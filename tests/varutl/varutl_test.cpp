// Variable and equation status words: every field against the others, the
// documented positions and codes, the mode tables, degree-of-freedom changes,
// effective bounds and the residual norm.
#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "capture.h"
#include "zarnutils/rtcontext.h"
#include "zarnutils/varutl.h"

namespace {

using std::string;

// Restores the problem mode a test changed.
struct ModeGuard {
    int32_t saved = rtopt_mode;
    ~ModeGuard() { rtopt_mode = saved; }
};

// One field: its bits in the word, the codes it accepts, a writer and a reader.
struct Field {
    const char *name;
    int64_t mask;
    int32_t lo, hi;
    std::function<void(int64_t *, int32_t)> set;
    std::function<int32_t(int64_t)> get;
};
int32_t bound_of(int64_t w) {
    int64_t out = -1;
    varInqBoundType(w, &out);
    return static_cast<int32_t>(out);
}
template <void (*Set)(unsigned char, int64_t *)> void byte_set(int64_t *w, int32_t v) { Set(static_cast<unsigned char>(v), w); }
template <void (*Get)(int32_t, int64_t *, int64_t *)> int32_t precon(int64_t w) {
    int64_t s = -9, c = -9;
    Get(static_cast<int32_t>(w), &s, &c);
    return static_cast<int32_t>(s * 5 + c);
}
int32_t eqn(int32_t (*get)(int32_t), int64_t w) { return get(static_cast<int32_t>(w)); }

const std::vector<Field> kVarFields = {
    {"spec", 0xF, 0, 7, varSetSpec, varInqSpec},
    {"ptype", 0x1FF0, -255, 255, varSetPhysicalType, varInqPhysicalType},
    {"connected", 0xE000, 0, 4, varSetConnected, varInqConnected},
    {"type", 0xF0000 | 0xE0000000LL, 0, 64, [](int64_t *w, int32_t v) { varSetType(v, w); }, varInqType},
    {"bound", 0x600000, 0, 3, [](int64_t *w, int32_t v) { varSetBoundType(v, w); }, bound_of},
    {"torn", 0x100000, 0, 1, byte_set<varSetTorn>, varInqTorn},
    {"instrument", 0x800000, 0, 1, varSetInstrument, varIsInstrument},
    {"measured", 0x1000000, 0, 1, varSetMeasured, varIsMeasured},
    {"excluded", 0x2000000, 0, 1, varSetExcluded, varIsExcluded},
    {"marked", 0x4000000, 0, 1, byte_set<varSetMarked>, varInqMarked},
    {"linear", 0x8000000, 0, 1, varSetLinear, varIsLinear},
    {"active", 0x10000000, 0, 1, byte_set<varSetActive>, varInqActive},
};
// The SPEC of a pre-connection and its state travel as SPEC * 5 + state.
const std::vector<Field> kEqnFields = {
    {"included", 0x1, 0, 1, [](int64_t *w, int32_t v) { v ? u3incr_c(w) : u3uncr_c(w); }, [](int64_t w) { return eqn(u3rinc_c, w); }},
    {"math", 0xE, 0, 5, u3rpmt_c, [](int64_t w) { return eqn(u3rgmt_c, w); }},
    {"sign", 0x30, -1, 1, [](int64_t *w, int32_t v) { u3rpsn_c(w, v * 1e-300); }, [](int64_t w) {
         return static_cast<int32_t>(u3rgsn_c(static_cast<int32_t>(w))); }},
    {"torn", 0x100000, 0, 1, u3rptf_c, [](int64_t w) { return eqn(u3rgtf_c, w); }},
    {"partitioned", 0x200000, 0, 1, u3rppf_c, [](int64_t w) { return eqn(u3rgpf_c, w); }},
    {"linear", 0x400000, 0, 1, u3rpln_c, [](int64_t w) { return eqn(u3rgln_c, w); }},
    {"precon1", 0x3C0 | 0x1C000, 0, 39, [](int64_t *w, int32_t v) { u3r_set_precon1_c(w, v / 5, v % 5); }, precon<u3r_get_precon1_c>},
    {"precon2", 0x3C00 | 0xE0000, 0, 39, [](int64_t *w, int32_t v) { u3r_set_precon2_c(w, v / 5, v % 5); }, precon<u3r_get_precon2_c>},
};
const Field &field(const std::vector<Field> &fs, const string &name) {
    return *std::find_if(fs.begin(), fs.end(), [&](const Field &f) { return name == f.name; });
}

TEST(StatusWord, EveryFieldRoundTripsWithoutTouchingOtherBits) {
    zarn::test::HistoryCapture his;
    for (const auto *fs : {&kVarFields, &kEqnFields}) {
        for (const Field &f : *fs) {
            for (int64_t bg : {INT64_C(0), INT64_C(0xFFFFFFFF), INT64_C(0x0A5A5A5A), INT64_C(0x15A5A5A5)}) {
                for (int32_t v = f.lo; v <= f.hi; ++v) {
                    int64_t w = bg;
                    f.set(&w, v);
                    ASSERT_EQ(f.get(w), v) << f.name << " " << std::hex << bg;
                    ASSERT_EQ(f.get(static_cast<int32_t>(w)), v) << f.name << ": Fortran callers read the low 32 bits";
                    ASSERT_EQ(w & ~f.mask, bg & ~f.mask) << f.name << " " << v << " " << std::hex << bg;
                }
            }
        }
    }
    EXPECT_EQ(his.text(), "");
    // Never-set pre-connections read as spec -1, state 0.
    EXPECT_EQ(field(kEqnFields, "precon1").get(0) * 10 + field(kEqnFields, "precon2").get(1), -50 - 5);
}

TEST(StatusWord, DocumentedPositionsAndAnyNonZeroByteSets) {
    const struct { const std::vector<Field> &fs; const char *name; int32_t v; int64_t word; } rows[] = {
        {kVarFields, "spec", 7, 0x7}, {kVarFields, "ptype", -255, 1 << 4}, {kVarFields, "ptype", 255, 511 << 4},
        {kVarFields, "ptype", -1, 255 << 4}, {kVarFields, "ptype", 0, 0}, {kVarFields, "connected", 4, 0x8000},
        {kVarFields, "type", 7, 0x70000}, {kVarFields, "type", 64, 0x80000000LL}, {kVarFields, "bound", 3, 0x600000},
        {kVarFields, "marked", 7, 0x4000000}, {kVarFields, "active", 255, 0x10000000}, {kVarFields, "instrument", -3, 0x800000},
        {kEqnFields, "precon1", 4, (1 << 6) | (4 << 14)}, {kEqnFields, "precon2", 36, (8 << 10) | (1 << 17)},
        {kEqnFields, "math", 5, 0xA}, {kEqnFields, "linear", -7, 0x400000},
    };
    for (const auto &r : rows) {
        int64_t w = 0;
        field(r.fs, r.name).set(&w, r.v);
        EXPECT_EQ(w, r.word) << r.name << " " << r.v;
    }
    EXPECT_EQ(u3rgsn_c(0x30), 0.0);  // field value 3 reads as none
}

TEST(StatusWord, FailedPreconnectionCheckNamesItsSource) {
    zarn::test::StderrCapture err;
    int64_t w = 0;
    u3r_set_precon2_c(&w, 8, 0);
    EXPECT_EQ(std::regex_replace(err.text(), std::regex(":[0-9]+\n"), "\n"),
              "Assertion 'u3r_set_precon2: spec > VAR_INITIAL' failed in source/varutl/u3relutl\n");
}

TEST(StatusWord, SpecShortcutsNamesAndTypePredicates) {
    int64_t w = 0x0A5A5A50LL;
    string specs;
    for (void (*fn)(int64_t *) : {varFix, varMakeIndependent, varFixInitially, varFree}) fn(&w), specs += varSpecId(varInqSpec(w));
    EXPECT_EQ(specs + varSpecId(8) + varSpecId(-1), "ConstIndepInitialCalcUnknownUnknown");
    EXPECT_EQ(w, 0x0A5A5A50LL);
    const char *names[] = {"Calc", "Const", "Indep", "Meas", "Param", "Optim", "Recon", "Initial"};
    for (int s = 0; s < 8; ++s) EXPECT_STREQ(varSpecId(s), names[s]);
    const struct { int32_t code; int32_t (*pred)(int64_t); const char *name; } types[] = {
        {0, varTypeIsAlgebraic, "ALGEBRAIC"}, {1, varTypeIsState, "STATE"}, {2, varTypeIsDifferential, "DIFFERENTIAL"},
        {3, varTypeIsDiscrete, "DISCRETE"}, {3, varTypeIsInteger, "DISCRETE"}, {4, varTypeIsDiscreteEqnSlack, "DISCRETE-ESLACK"},
        {5, varTypeIsBinary, "BINARY"}, {6, varTypeIsPartialInteger, "PARTIAL-INTEGER"},
        {7, varTypeIsSemiContinuous, "SEMI-CONTINUOUS"}, {64, varTypeIsSemiContinuousInteger, "SEMI-CONTINUOUS-INTEGER"},
    };
    for (int32_t code = 0; code <= 64; ++code) {  // true exactly for its own code
        w = 0xFFFFFFFFLL;
        varSetType(code, &w);
        for (const auto &t : types) EXPECT_EQ(t.pred(w), code == t.code ? 1 : 0) << t.name << " on " << code;
    }
    for (const auto &t : types) EXPECT_EQ(varTypeCode(varTypeId(t.code)), t.code) << t.name;
    for (const auto &t : types) EXPECT_STREQ(varTypeId(t.code), t.name);
    EXPECT_EQ(varTypeCode("INTEGER") * 100 + varTypeCode("integer"), 299);
    EXPECT_EQ(varTypeId(8), nullptr);
    for (int32_t bt = 0; bt <= 3; ++bt) {
        w = 0x1FFFFFFFLL;
        varSetBoundType(bt, &w);
        EXPECT_EQ(varBoundTypeIsSoft(w) * 10 + varBoundTypeIsSoft2(w), bt == 2 ? 10 : bt == 3 ? 1 : 0) << bt;
    }
}

// The three classification tables (a string of modes 0..3 per SPEC code), and
// the degree-of-freedom change between any two SPEC codes agreeing with them.
TEST(StatusWord, ClassificationInEveryModeAndDofDelta) {
    ModeGuard guard;
    const char *fixed[8] = {"0000", "1111", "1100", "0110", "1001", "1110", "1101", "1111"};
    const char *fixed_or_init[8] = {"0000", "1111", "1100", "0110", "1001", "1110", "1101", "0000"};
    const char *indep[8] = {"0000", "0000", "0011", "0000", "0000", "0001", "0010", "0000"};
    for (int32_t mode = 0; mode < 4; ++mode) {
        rto_set_mode_c(mode);
        for (int32_t spec = 0; spec < 16; ++spec) {  // 8..15 hold no spec code: nothing
            const int64_t w = 0x0A5A5A50LL | spec;
            const string got = std::to_string(varIsFixed(w)) + std::to_string(varIsFixedOrInitial(w)) + std::to_string(varIsIndependent(w));
            EXPECT_EQ(got, (spec > 7 ? "000" : string{fixed[spec][mode], fixed_or_init[spec][mode], indep[spec][mode]})) << spec << " " << mode;
        }
    }
    rtopt_mode = 4;  // outside 0..3, set directly on the global: no table
    EXPECT_EQ(varIsFixed(VAR_CONST), 0);
    rtopt_mode = -1;
    EXPECT_EQ(varIsIndependent(VAR_INDEP), 0);
    for (int32_t a = 0; a < 8; ++a) {
        for (int32_t b = 0; b < 8; ++b) {
            const int64_t wa = 0xFFFFFFF0LL | a, wb = 0x0A5A5A50LL | b;
            int32_t out1[4] = {9, 9, 9, 9}, out2[4] = {9, 9, 9, 9};
            rtopt_mode = 3;
            varDofDecDelta(wa, wb, out1, out2);
            EXPECT_EQ(rtopt_mode, 3);
            for (int32_t m = 0; m < 4; ++m) {
                rtopt_mode = m;
                EXPECT_EQ(out1[m], varIsFixed(wa) - varIsFixed(wb)) << a << "->" << b << " mode " << m;
                EXPECT_EQ(out2[m], varIsIndependent(wb) - varIsIndependent(wa)) << a << "->" << b << " mode " << m;
            }
        }
    }
    int32_t o1[4], o2[4];
    varDofDecDelta(VAR_INDEP, VAR_CALC, o1, o2);
    EXPECT_EQ(std::vector<int32_t>(o1, o1 + 4), (std::vector<int32_t>{1, 1, 0, 0}));
    EXPECT_EQ(std::vector<int32_t>(o2, o2 + 4), (std::vector<int32_t>{0, 0, -1, -1}));
}

// Bound type, x, r, L, U, step, use_step, use_soft -> effective bounds and their flags.
TEST(StatusWord, EffectiveBounds) {
    const struct { int32_t bt; double x, r, d; int step, soft; double lo; const char *flo; double hi; const char *fhi; } rows[] = {
        {0, 5, 1e35, 1, 0, 1, 0, " ", 10, " "}, {0, 5, 1e35, 1, 1, 1, 4, "S", 6, "S"},  // window around x when r is undefined
        {0, 5, 2, -1, 1, 1, 1, "S", 3, "S"}, {0, 5, 1e35, 100, 1, 1, 0, " ", 10, " "}, {0, 5, 1e35, 1e35, 1, 1, 0, " ", 10, " "},
        {1, -3, 1e35, 1, 0, 1, -3, "R", 10, " "}, {1, 12, 1e35, 1, 1, 1, 11, "S", 12, "R"}, {1, 5, 1e35, 1, 1, 1, 4, "S", 6, "S"},
        {2, 20, 1e35, 1, 1, 1, 19, "S", 19, "S"}, {2, -20, 1e35, 1, 1, 1, -19, "S", -19, "S"}, {2, -20, 1e35, 1, 0, 1, 0, " ", 10, " "},
        {2, 5, 1e35, 1, 1, 1, 4, "S", 6, "S"}, {2, 20, 1e35, 1, 1, 0, 19, "S", 10, " "},
        {3, 5, 1e35, 1, 1, 1, -1e35, " ", 1e35, " "}, {3, 5, 1e35, 1, 0, 1, -1e35, " ", 1e35, " "},
        {3, 5, 1e35, 1, 0, 0, 0, " ", 10, " "}, {3, 5, 1e35, 1, 1, 0, 4, "S", 6, "S"},
    };
    for (const auto &r : rows) {
        int64_t w = 0x1FFFFFFFLL;
        varSetBoundType(r.bt, &w);
        double lo = 0, hi = 0;
        char fl[4] = "xxx", fu[4] = "xxx";
        varInqBoundInfo(w, r.x, r.r, 0, 10, r.d, r.step, r.soft, &lo, fl, &hi, fu);
        EXPECT_EQ(std::to_string(lo) + fl + std::to_string(hi) + fu, std::to_string(r.lo) + r.flo + std::to_string(r.hi) + r.fhi)
            << r.bt << " x=" << r.x << " d=" << r.d << " step " << r.step << " soft " << r.soft;
    }
    double lo = 0, hi = 0;  // an edge equal to the bound keeps the bound flag
    char fl[4] = "xxx", fu[4] = "xxx";
    varInqBoundInfo(0, 5, 1e35, 4, 6, 1, 1, 1, &lo, fl, &hi, fu);
    EXPECT_EQ(std::to_string(lo) + fl + std::to_string(hi) + fu, "4.000000 6.000000 ");
}

TEST(StatusWord, ResidualNormCountsIncludedEqualitiesOnly) {
    const double resid[6] = {3, 4, 100, 100, 100, 12};
    int64_t words[6] = {0, 0, 0, 0, 0, 0};
    u3uncr_c(&words[2]), u3rpmt_c(&words[3], EQN_LEQ), u3rpmt_c(&words[4], EQN_OBJ_FUNC);
    u3rpsn_c(&words[5], -1.0), u3rpln_c(&words[5], 1), u3r_set_precon1_c(&words[5], 3, 2);  // these do not matter
    EXPECT_DOUBLE_EQ(u3rmserr_c(6, resid, words), 13.0);
    EXPECT_DOUBLE_EQ(u3rmserr_c(2, resid, words), 5.0);
}

}  // namespace
