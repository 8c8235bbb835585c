// Status words: every field against the others, documented positions and codes, the mode tables,
// degree-of-freedom changes, effective bounds, the residual norm; every accessor and Fortran twin given null
// words and extreme codes.
#include <climits>
#include <regex>
#include <cstdio>

#include "hostile.h"
#include "zarnutils/rtcontext.h"
#include "zarnutils/varutl.h"

namespace {

using std::string, std::to_string;
using namespace zarn::test;

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
template <void (*Set)(unsigned char, int64_t *)>
void byte_set(int64_t *w, int32_t v) {
    Set(static_cast<unsigned char>(v), w);
}
// The SPEC of a pre-connection and its state travel as SPEC * 5 + state.
template <void (*Get)(int32_t, int64_t *, int64_t *)>
int32_t precon(int64_t w) {
    int64_t s = -9, c = -9;
    Get(int32_t(w), &s, &c);
    return int32_t(s * 5 + c);
}
template <int32_t (*Get)(int32_t)>
int32_t eqn(int64_t w) {
    return Get(static_cast<int32_t>(w));
}

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
const std::vector<Field> kEqnFields = {
    {"included", 0x1, 0, 1, [](int64_t *w, int32_t v) { v ? u3incr_c(w) : u3uncr_c(w); }, eqn<u3rinc_c>},
    {"math", 0xE, 0, 5, u3rpmt_c, eqn<u3rgmt_c>},
    {"sign", 0x30, -1, 1, [](int64_t *w, int32_t v) { u3rpsn_c(w, v * 1e-300); },
     [](int64_t w) { return int32_t(u3rgsn_c(int32_t(w))); }},
    {"torn", 0x100000, 0, 1, u3rptf_c, eqn<u3rgtf_c>},
    {"partitioned", 0x200000, 0, 1, u3rppf_c, eqn<u3rgpf_c>},
    {"linear", 0x400000, 0, 1, u3rpln_c, eqn<u3rgln_c>},
    {"precon1", 0x3C0 | 0x1C000, 0, 39, [](int64_t *w, int32_t v) { u3r_set_precon1_c(w, v / 5, v % 5); },
     precon<u3r_get_precon1_c>},
    {"precon2", 0x3C00 | 0xE0000, 0, 39, [](int64_t *w, int32_t v) { u3r_set_precon2_c(w, v / 5, v % 5); },
     precon<u3r_get_precon2_c>},
};
const Field &field(const std::vector<Field> &fs, const string &name) {
    return *std::find_if(fs.begin(), fs.end(), [&](const Field &f) { return name == f.name; });
}
int64_t with(const Field &f, int64_t w, int32_t v) {
    f.set(&w, v);
    return w;
}  // w with field f set to v
const struct {
    int32_t code;
    int32_t (*pred)(int64_t);
    const char *name;
} kTypes[] = {{0, varTypeIsAlgebraic, "ALGEBRAIC"},
              {1, varTypeIsState, "STATE"},
              {2, varTypeIsDifferential, "DIFFERENTIAL"},
              {3, varTypeIsDiscrete, "DISCRETE"},
              {3, varTypeIsInteger, "DISCRETE"},
              {4, varTypeIsDiscreteEqnSlack, "DISCRETE-ESLACK"},
              {5, varTypeIsBinary, "BINARY"},
              {6, varTypeIsPartialInteger, "PARTIAL-INTEGER"},
              {7, varTypeIsSemiContinuous, "SEMI-CONTINUOUS"},
              {64, varTypeIsSemiContinuousInteger, "SEMI-CONTINUOUS-INTEGER"}};

TEST(StatusWord, EveryFieldRoundTripsWithoutTouchingOtherBits) {
    HistoryCapture his;
    for (const auto *fs : {&kVarFields, &kEqnFields})
        for (const Field &f : *fs)
            for (int64_t bg : {INT64_C(0), INT64_C(0xFFFFFFFF), INT64_C(0x0A5A5A5A), INT64_C(0x15A5A5A5)})
                for (int32_t v = f.lo; v <= f.hi; ++v) {
                    const int64_t w = with(f, bg, v);  // Fortran callers read the low 32 bits
                    ASSERT_EQ(f.get(w), v) << f.name << " " << v << " " << std::hex << bg;
                    ASSERT_EQ(f.get(static_cast<int32_t>(w)), v)
                        << f.name << " " << v << " " << std::hex << bg;
                    ASSERT_EQ(w & ~f.mask, bg & ~f.mask) << f.name << " " << v << " " << std::hex << bg;
                }
    EXPECT_EQ(his.text(), "");
    // Never-set pre-connections read as spec -1, state 0; a sign field of 3 reads as none.
    EXPECT_EQ(field(kEqnFields, "precon1").get(0) * 10 + field(kEqnFields, "precon2").get(1) + u3rgsn_c(0x30),
              -50 - 5);
    // Documented positions; any non-zero byte or flag sets.
    const struct {
        const std::vector<Field> &fs;
        const char *name;
        int32_t v;
        int64_t word;
    } rows[] = {{kVarFields, "spec", 7, 0x7},
                {kVarFields, "ptype", -255, 1 << 4},
                {kVarFields, "ptype", 255, 511 << 4},
                {kVarFields, "ptype", -1, 255 << 4},
                {kVarFields, "ptype", 0, 0},
                {kVarFields, "connected", 4, 0x8000},
                {kVarFields, "type", 7, 0x70000},
                {kVarFields, "type", 64, 0x80000000LL},
                {kVarFields, "bound", 3, 0x600000},
                {kVarFields, "marked", 7, 0x4000000},
                {kVarFields, "active", 255, 0x10000000},
                {kVarFields, "instrument", -3, 0x800000},
                {kEqnFields, "precon1", 4, (1 << 6) | (4 << 14)},
                {kEqnFields, "precon2", 36, (8 << 10) | (1 << 17)},
                {kEqnFields, "math", 5, 0xA},
                {kEqnFields, "linear", -7, 0x400000}};
    for (const auto &r : rows) EXPECT_EQ(with(field(r.fs, r.name), 0, r.v), r.word) << r.name << " " << r.v;
    StderrCapture err;  // the assertion line names its source
    with(field(kEqnFields, "precon2"), 0, 40);
    EXPECT_EQ(std::regex_replace(err.text(), std::regex(":[0-9]+\n"), "\n"),
              "Assertion 'u3r_set_precon2: spec > VAR_INITIAL' failed in source/varutl/u3relutl\n");
}

// SPEC shortcuts and names; type codes, names and predicates; soft bound tests; the three classification
// tables (a string of modes 0..3 per SPEC code) and the degree-of-freedom change between any two SPEC codes
// agreeing with them.
TEST(StatusWord, CodesNamesPredicatesClassificationAndDofDelta) {
    int64_t w = 0x0A5A5A50LL;
    string specs;
    for (void (*fn)(int64_t *) : {varFix, varMakeIndependent, varFixInitially, varFree}) {
        fn(&w);
        specs += varSpecId(varInqSpec(w));
    }
    for (int32_t s : {0, 1, 2, 3, 4, 5, 6, 7, 8, -1}) specs += varSpecId(s);
    EXPECT_EQ(specs + to_string(w),
              "ConstIndepInitialCalcCalcConstIndepMeasParamOptimReconInitialUnknownUnknown" +
                  to_string(0x0A5A5A50LL));
    const Field &type = field(kVarFields, "type"), &bound = field(kVarFields, "bound");
    for (int32_t code = 0; code <= 64; ++code)  // true exactly for its own code
        for (const auto &t : kTypes)
            EXPECT_EQ(t.pred(with(type, 0xFFFFFFFFLL, code)), code == t.code ? 1 : 0)
                << t.name << " on " << code;
    for (const auto &t : kTypes)
        EXPECT_EQ(varTypeId(t.code) + to_string(varTypeCode(t.name)), t.name + to_string(t.code));
    EXPECT_EQ(varTypeCode("INTEGER") * 100 + varTypeCode("integer") + (varTypeId(8) != nullptr), 299);
    for (int32_t bt = 0; bt <= 3; ++bt)
        EXPECT_EQ(varBoundTypeIsSoft(with(bound, -1, bt)) * 10 + varBoundTypeIsSoft2(with(bound, -1, bt)),
                  bt == 2 ? 10 : bt == 3)
            << bt;
    const int32_t saved = rtopt_mode;
    const char *fixed[8] = {"0000", "1111", "1100", "0110", "1001", "1110", "1101", "1111"},
               *indep[8] = {"0000", "0000", "0011", "0000", "0000", "0001", "0010", "0000"},
               *fixed_or_init[8] = {"0000", "1111", "1100", "0110", "1001", "1110", "1101", "0000"};
    for (int32_t mode = 0; mode < 4; ++mode)
        for (int32_t spec = 0; spec < 16; ++spec) {  // 8..15 hold no spec code: nothing
            w = 0x0A5A5A50LL | spec;
            rto_set_mode_c(mode);
            EXPECT_EQ(
                to_string(varIsFixed(w)) + to_string(varIsFixedOrInitial(w)) + to_string(varIsIndependent(w)),
                (spec > 7 ? "000" : string{fixed[spec][mode], fixed_or_init[spec][mode], indep[spec][mode]}))
                << spec << " " << mode;
        }
    rtopt_mode = 4;  // outside 0..3, set directly on the global: no table
    EXPECT_EQ(varIsFixed(VAR_CONST), 0);
    rtopt_mode = -1;
    EXPECT_EQ(varIsIndependent(VAR_INDEP), 0);
    // Codes 8..15 count as neither fixed nor independent on either side.
    const auto fixed_flag = [&](int32_t spec, int32_t m) { return spec > 7 ? 0 : fixed[spec][m] - '0'; };
    const auto indep_flag = [&](int32_t spec, int32_t m) { return spec > 7 ? 0 : indep[spec][m] - '0'; };
    for (int32_t a = 0; a < 16; ++a)
        for (int32_t b = 0; b < 16; ++b) {
            int32_t out1[4] = {9, 9, 9, 9}, out2[4] = {9, 9, 9, 9};
            rtopt_mode = 3;
            varDofDecDelta(0xFFFFFFF0LL | a, 0x0A5A5A50LL | b, out1, out2);  // whatever the mode
            for (int32_t m = 0; m < 4; ++m) {
                EXPECT_EQ(out1[m], fixed_flag(a, m) - fixed_flag(b, m)) << a << "->" << b << " mode " << m;
                EXPECT_EQ(out2[m], indep_flag(b, m) - indep_flag(a, m)) << a << "->" << b << " mode " << m;
                EXPECT_EQ(rtopt_mode, 3) << a << "->" << b;
            }
        }
    rtopt_mode = saved;
}

// Bound type, x, r, L, U, step, use_step, use_soft -> effective bounds and their flags.
TEST(StatusWord, EffectiveBoundsAndResidualNorm) {
    const struct {
        int32_t bt;
        double x, r, l, u, d;
        int step, soft;
        const char *want;
    } rows[] = {
        // A window around x when r is undefined (1e35); an edge equal to the bound keeps the bound flag.
        {0, 5, 1e35, 0, 10, 1, 0, 1, "0 10 "},
        {0, 5, 1e35, 0, 10, 1, 1, 1, "4S6S"},
        {0, 5, 2, 0, 10, -1, 1, 1, "1S3S"},
        {0, 5, 1e35, 0, 10, 100, 1, 1, "0 10 "},
        {0, 5, 1e35, 0, 10, 1e35, 1, 1, "0 10 "},
        {0, 5, 1e35, 4, 6, 1, 1, 1, "4 6 "},
        {1, -3, 1e35, 0, 10, 1, 0, 1, "-3R10 "},
        {1, 12, 1e35, 0, 10, 1, 1, 1, "11S12R"},
        {1, 5, 1e35, 0, 10, 1, 1, 1, "4S6S"},
        {1, 5, 1e35, 4, 6, 1, 1, 1, "4 6 "},
        {2, 20, 1e35, 0, 10, 1, 1, 1, "19S19S"},
        {2, -20, 1e35, 0, 10, 1, 1, 1, "-19S-19S"},
        {2, -20, 1e35, 0, 10, 1, 0, 1, "0 10 "},
        {2, 5, 1e35, 0, 10, 1, 1, 1, "4S6S"},
        {2, 20, 1e35, 0, 10, 1, 1, 0, "19S10 "},
        {3, 5, 1e35, 0, 10, 1, 0, 0, "0 10 "},
        {3, 5, 1e35, 0, 10, 1, 1, 1, "-1e+35 1e+35 "},
        {3, 5, 1e35, 0, 10, 1, 0, 1, "-1e+35 1e+35 "},
        {3, 5, 1e35, 0, 10, 1, 1, 0, "4S6S"}};
    for (const auto &r : rows) {
        double lo = 0, hi = 0;
        char fl[4] = "xxx", fu[4] = "xxx", got[80];
        varInqBoundInfo(with(field(kVarFields, "bound"), 0x1FFFFFFFLL, r.bt), r.x, r.r, r.l, r.u, r.d, r.step,
                        r.soft, &lo, fl, &hi, fu);
        std::snprintf(got, sizeof got, "%g%s%g%s", lo, fl, hi, fu);
        EXPECT_STREQ(got, r.want) << r.bt << " x=" << r.x << " d=" << r.d << " step " << r.step << " soft "
                                  << r.soft;
    }
    // Only included equalities count: excluded, inequalities and objectives do not; the other fields do not
    // matter.
    const double resid[6] = {3, 4, 100, 100, 100, 12};
    int64_t words[6] = {};
    u3uncr_c(&words[2]);
    u3rpmt_c(&words[3], EQN_LEQ);
    u3rpmt_c(&words[4], EQN_OBJ_FUNC);
    u3rpsn_c(&words[5], -1.0);
    u3rpln_c(&words[5], 1);
    u3r_set_precon1_c(&words[5], 3, 2);
    EXPECT_EQ(u3rmserr_c(6, resid, words) * 10 + u3rmserr_c(2, resid, words), 135.0);
}

TEST(StatusWord, HostileCallerGetsMessagesNotCrashes) {
    int64_t w = 0x5A5A;  // 23130 before and after every refused call
    const int32_t imin = INT_MIN, imax = INT_MAX;
    int64_t lmin = LLONG_MIN, lmax = LLONG_MAX, pt = -9, bt = -9;
    // Each coded setter, the codes it refuses, and its documented complaint.
    const struct {
        void (*set)(int64_t *, int32_t);
        const char *text;
        std::vector<int32_t> bad;
    } coded[] = {
        {varSetSpec, "varSetSpec: spec", {8, -1}},
        {varSetPhysicalType, "varSetPhysicalType: physical type", {256, -256}},
        {varSetConnected, "varSetConnected: value", {5, -1}},
        {[](int64_t *p, int32_t v) { varSetType(v, p); }, "varSetType: variable type", {65, -1}},
        {u3rpmt_c, "u3rpmt_c: math type", {6, -1}},
        {[](int64_t *p, int32_t v) { varSetBoundType(v, p); }, "varSetBoundType: bound type", {4, -1}}};
    const auto range = [](const char *text, int32_t v) {
        return "!! " + string(text) + " is out of range. " + to_string(v) + "\n";
    };
    string refused;
    for (const auto &c : coded)
        for (int32_t v : {c.bad[0], c.bad[1], INT_MIN, INT_MAX}) refused += range(c.text, v);
    const string precon =
        "A(u3r_set_precon1: spec < VAR_CALC)A(u3r_set_precon1: connected > VAR_CONNECTED_PARAM)"
        "A(u3r_set_precon2: spec > VAR_INITIAL)A(u3r_set_precon2: connected < VAR_NOT_CONNECTED)";
    const std::vector<HostileRow> rows = {
        {"every setter with a NULL word",
         [] {
             for (const auto *fs : {&kVarFields, &kEqnFields})
                 std::for_each(fs->begin(), fs->end(), [](const Field &f) {
                     f.set(nullptr, 0);
                     f.set(nullptr, 1);
                 });
             varFix(nullptr);
             varFree(nullptr);
             varMakeIndependent(nullptr);
             varFixInitially(nullptr);
             varInqBoundType(-1, nullptr);
             varDofDecDelta(1, 2, nullptr, nullptr);
             varInqBoundInfo(-1, 1, 1, 0, 2, 1, 1, 1, nullptr, nullptr, nullptr, nullptr);
             u3r_get_precon1_c(-1, nullptr, nullptr);
             u3r_get_precon2_c(-1, nullptr, nullptr);
             return "";
         },
         "||"},
        {"coded setters one past each end and at INT_MIN, INT_MAX; pre-connections at -1 / INT_MIN, 5 / "
         "INT_MAX",
         [&] {
             for (const auto &c : coded)
                 for (int32_t v : {c.bad[0], c.bad[1], INT_MIN, INT_MAX}) c.set(&w, v);
             u3r_set_precon1_c(&w, -1, 5);
             u3r_set_precon2_c(&w, 8, -1);
             u3r_set_precon1_c(&w, INT_MIN, INT_MAX);
             u3r_set_precon2_c(&w, INT_MAX, INT_MIN);
             return to_string(w);
         },
         "23130|" + refused + "|" + precon + precon},
        {"every reader of the words -1, LLONG_MAX, LLONG_MIN and 0 (the equation readers see the low 32 "
         "bits)",
         [] {
             string r;
             for (int64_t w : {int64_t(-1), int64_t(LLONG_MAX), int64_t(LLONG_MIN), int64_t(0)}) {
                 for (const auto *fs : {&kVarFields, &kEqnFields})
                     std::for_each(fs->begin(), fs->end(), [&](const Field &f) { r += to_string(f.get(w)); });
                 for (const auto &t : kTypes) r += to_string(t.pred(w));
                 r += seq({to_string(varIsFixed(w)), to_string(varIsFixedOrInitial(w)),
                           to_string(varIsIndependent(w)), to_string(varBoundTypeIsSoft(w)),
                           to_string(varBoundTypeIsSoft2(w)), "/"});
             }
             return r;
         },
         "15255712731111111"
         "0701117777"
         "0000000000"
         "00001/"
         "15255712731111111"
         "0701117777"
         "0000000000"
         "00001/"
         "000000000000"
         "100000-5-5"
         "1000000000"
         "00000/"
         "000000000000"
         "100000-5-5"
         "1000000000"
         "00000/||"},
        {"names and codes out of range; u3rmserr_c(INT_MIN / INT_MAX with NULL arrays / 0 / -4)",
         [&] {
             const double r[1] = {3}, norms = u3rmserr_c(INT_MIN, r, nullptr) +
                                              u3rmserr_c(INT_MAX, nullptr, nullptr) +
                                              u3rmserr_c(0, r, nullptr);
             const int64_t ws[1] = {0};
             return seq({varSpecId(INT_MIN), varSpecId(INT_MAX), shown(varTypeId(INT_MIN)),
                         shown(varTypeId(INT_MAX)), to_string(varTypeCode(nullptr)),
                         to_string(varTypeCode("")), to_string(varTypeCode(string(100000, 'A').c_str())),
                         to_string(norms + u3rmserr_c(INT_MIN, r, ws) + u3rmserr_c(-4, r, ws) +
                                   u3rmserr_c(3, nullptr, ws))});
         },
         "UnknownUnknownNULLNULL-1-1-10.000000||"},
        {"every Fortran twin with NULL arguments",
         [] {
             U3INCR(nullptr);
             U3UNCR(nullptr);
             U3RPMT(nullptr, nullptr);
             U3RPSN(nullptr, nullptr);
             U3RPTF(nullptr, nullptr);
             U3RPLN(nullptr, nullptr);
             U3RPPF(nullptr, nullptr);
             U3R_GET_PRECON1(nullptr, nullptr, nullptr);
             U3R_SET_PRECON1(nullptr, nullptr, nullptr);
             U3FXV(nullptr);
             U3R_GET_PRECON2(nullptr, nullptr, nullptr);
             U3R_SET_PRECON2(nullptr, nullptr, nullptr);
             U3UFXV(nullptr);
             U3V_INDEPENDENT(nullptr);
             U3V_SET_SPEC(nullptr, nullptr);
             U3VGPT(nullptr, nullptr);
             U3VPPT(nullptr, nullptr);
             U3V_SET_CONNECTED(nullptr, nullptr);
             U3V_HARD(nullptr);
             U3V_GET_BNDTYP(nullptr, nullptr);
             U3V_SET_BNDTYP(nullptr, nullptr);
             U3V_RELAX(nullptr);
             U3V_SOFT(nullptr);
             U3V_SOFT2(nullptr);
             U3V_SET_INSTRUMENT(nullptr, nullptr);
             U3V_SET_MEASURED(nullptr, nullptr);
             U3V_SET_EXCLUDED(nullptr, nullptr);
             U3V_SET_LINEAR(nullptr, nullptr);
             const auto n = [](double v) { return to_string(static_cast<int>(v)); };
             return seq({n(U3RINC(nullptr)), n(U3RGMT(nullptr)), n(U3RGSN(nullptr)), n(U3RGTF(nullptr)),
                         n(U3RGLN(nullptr)), n(U3RGPF(nullptr)), n(U3RMSERR(nullptr, nullptr, nullptr)),
                         n(U3V_GET_SPEC(nullptr)), n(U3VFXD(nullptr)), n(U3V_IS_INDEPENDENT(nullptr)),
                         n(U3V_GET_CONNECTED(nullptr)), n(U3V_IS_HARD(nullptr)), n(U3V_IS_RELAX(nullptr)),
                         n(U3V_IS_SOFT(nullptr)), n(U3V_IS_SOFT2(nullptr)), n(U3V_IS_INSTRUMENT(nullptr)),
                         n(U3V_IS_MEASURED(nullptr)), n(U3V_IS_EXCLUDED(nullptr)),
                         n(U3V_IS_LINEAR(nullptr))});
         },
         "1000000000010000000||"},
        {"Fortran setters with codes at the ends of int32_t; readers of LLONG_MIN and LLONG_MAX words",
         [&] {
             U3RPMT(&w, &imin);
             U3V_SET_SPEC(&w, &imax);
             U3VPPT(&w, &imin);
             U3V_SET_CONNECTED(&w, &imax);
             U3V_SET_BNDTYP(&imin, &w);
             U3R_SET_PRECON1(&w, &imax, &imin);
             U3VGPT(&lmax, &pt);
             U3V_GET_BNDTYP(&lmin, &bt);
             return seq({to_string(w), to_string(U3RINC(&lmin)), to_string(U3RINC(&lmax)),
                         to_string(U3V_GET_SPEC(&lmax)), to_string(pt), to_string(bt),
                         to_string(U3V_IS_LINEAR(&lmin))});
         },
         "23130101525500|" + range("u3rpmt_c: math type", INT_MIN) + range("varSetSpec: spec", INT_MAX) +
             range("varSetPhysicalType: physical type", INT_MIN) + range("varSetConnected: value", INT_MAX) +
             range("varSetBoundType: bound type", INT_MIN) +
             "|A(u3r_set_precon1: spec > VAR_INITIAL)A(u3r_set_precon1: connected < VAR_NOT_CONNECTED)"},
    };
    run_hostile(rows);
}

}  // namespace
