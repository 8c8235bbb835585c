// Status-word accessors and their Fortran twins called as a careless or hostile
// caller would: null words, codes one past each end and at the ends of int32_t,
// words with every bit set or only the sign bit.
#include <climits>
#include <cstdint>
#include <string>

#include "hostile.h"
#include "zarnutils/varutl.h"

namespace {

using std::string;
using std::to_string;
using zarn::test::seq;

// Every reader of the variable word: spec, physical type, connection, type, bound,
// torn, instrument, measured, excluded, marked, linear, active; the mode tests; the
// type predicates summed; soft, soft2.
string var_readers(int64_t w) {
    int64_t b = -9;
    varInqBoundType(w, &b);
    return seq({to_string(varInqSpec(w)), to_string(varInqPhysicalType(w)), to_string(varInqConnected(w)), to_string(varInqType(w)),
                to_string(b), to_string(varInqTorn(w)), to_string(varIsInstrument(w)), to_string(varIsMeasured(w)),
                to_string(varIsExcluded(w)), to_string(varInqMarked(w)), to_string(varIsLinear(w)), to_string(varInqActive(w)), ",",
                to_string(varIsFixed(w)), to_string(varIsFixedOrInitial(w)), to_string(varIsIndependent(w)), ",",
                to_string(varTypeIsAlgebraic(w) + varTypeIsState(w) + varTypeIsDifferential(w) + varTypeIsDiscrete(w) +
                          varTypeIsInteger(w) + varTypeIsDiscreteEqnSlack(w) + varTypeIsBinary(w) + varTypeIsPartialInteger(w) +
                          varTypeIsSemiContinuous(w) + varTypeIsSemiContinuousInteger(w)),
                ",", to_string(varBoundTypeIsSoft(w)), to_string(varBoundTypeIsSoft2(w))});
}

// Every reader of the equation word (the low 32 bits).
string eqn_readers(int32_t w) {
    int64_t s1 = -9, c1 = -9, s2 = -9, c2 = -9;
    u3r_get_precon1_c(w, &s1, &c1), u3r_get_precon2_c(w, &s2, &c2);
    return seq({to_string(u3rinc_c(w)), to_string(u3rgmt_c(w)), to_string(static_cast<int>(u3rgsn_c(w))), to_string(u3rgln_c(w)),
                to_string(u3rgtf_c(w)), to_string(u3rgpf_c(w)), ",", to_string(s1), to_string(c1), to_string(s2), to_string(c2)});
}

TEST(VarutlHostile, EveryEntryWithExtremeArguments) {
    int64_t w = 0x5A5A;
    auto kept = [&] { return w == 0x5A5A ? string("kept") : "changed " + to_string(w); };
    const int32_t imin = INT_MIN, imax = INT_MAX;
    const int64_t lmin = LLONG_MIN, lmax = LLONG_MAX;
    const string big(100000, 'A');
    // Each coded setter, the codes it refuses, and its documented complaint.
    const struct { void (*set)(int64_t *, int32_t); const char *text; std::vector<int32_t> bad; } coded[] = {
        {varSetSpec, "varSetSpec: spec", {8, -1}},
        {varSetPhysicalType, "varSetPhysicalType: physical type", {256, -256}},
        {varSetConnected, "varSetConnected: value", {5, -1}},
        {[](int64_t *p, int32_t v) { varSetType(v, p); }, "varSetType: variable type", {65, -1}},
        {[](int64_t *p, int32_t v) { varSetBoundType(v, p); }, "varSetBoundType: bound type", {4, -1}},
        {u3rpmt_c, "u3rpmt_c: math type", {6, -1}},
    };
    string refused;
    for (const auto &c : coded)
        for (int32_t v : {c.bad[0], c.bad[1], INT_MIN, INT_MAX}) refused += "!! " + string(c.text) + " is out of range. " + to_string(v) + "\n";
    const std::vector<zarn::test::HostileRow> rows = {
        {"every setter with a NULL word", [] {
             varSetSpec(nullptr, 1), varFix(nullptr), varFree(nullptr), varMakeIndependent(nullptr), varFixInitially(nullptr);
             varSetPhysicalType(nullptr, 1), varSetConnected(nullptr, 1), varSetType(1, nullptr), varSetBoundType(1, nullptr);
             varSetInstrument(nullptr, 1), varSetMeasured(nullptr, 1), varSetExcluded(nullptr, 1), varSetLinear(nullptr, 1);
             varSetMarked(1, nullptr), varSetTorn(1, nullptr), varSetActive(1, nullptr), varInqBoundType(-1, nullptr);
             varDofDecDelta(1, 2, nullptr, nullptr), varInqBoundInfo(-1, 1, 1, 0, 2, 1, 1, 1, nullptr, nullptr, nullptr, nullptr);
             u3incr_c(nullptr), u3uncr_c(nullptr), u3rpmt_c(nullptr, 0), u3rpsn_c(nullptr, 1), u3rpln_c(nullptr, 1);
             u3rptf_c(nullptr, 1), u3rppf_c(nullptr, 1), u3r_set_precon1_c(nullptr, 0, 0), u3r_set_precon2_c(nullptr, 0, 0);
             u3r_get_precon1_c(-1, nullptr, nullptr), u3r_get_precon2_c(-1, nullptr, nullptr);
             return "";
         }, "||"},
        {"coded setters one past each end and at INT_MIN, INT_MAX", [&] {
             for (const auto &c : coded)
                 for (int32_t v : {c.bad[0], c.bad[1], INT_MIN, INT_MAX}) c.set(&w, v);
             return kept();
         }, "kept|" + refused + "|"},
        {"u3r_set_precon1_c(&w, -1 / INT_MIN, 5 / INT_MAX), u3r_set_precon2_c(&w, 8 / INT_MAX, -1 / INT_MIN)", [&] {
             u3r_set_precon1_c(&w, -1, 5), u3r_set_precon2_c(&w, 8, -1);
             u3r_set_precon1_c(&w, INT_MIN, INT_MAX), u3r_set_precon2_c(&w, INT_MAX, INT_MIN);
             return kept();
         }, "kept||" + [] {
             const string a = "A(u3r_set_precon1: spec < VAR_CALC)A(u3r_set_precon1: connected > VAR_CONNECTED_PARAM)"
                              "A(u3r_set_precon2: spec > VAR_INITIAL)A(u3r_set_precon2: connected < VAR_NOT_CONNECTED)";
             return a + a;
         }()},
        {"variable readers of -1, LLONG_MAX (every field at its top), LLONG_MIN, 0", [] {
             return seq({var_readers(-1), "/", var_readers(LLONG_MAX), "/", var_readers(LLONG_MIN), "/", var_readers(0)});
         }, "15255712731111111,000,0,01/15255712731111111,000,0,01/000000000000,000,1,00/000000000000,000,1,00||"},
        {"equation readers of -1, INT_MIN, INT_MAX", [] {
             return seq({eqn_readers(-1), "/", eqn_readers(INT_MIN), "/", eqn_readers(INT_MAX)});
         }, "070111,147147/100000,-10-10/070111,147147||"},
        {"names and codes out of range", [&] {
             return seq({varSpecId(INT_MIN), varSpecId(INT_MAX), zarn::test::shown(varTypeId(INT_MIN)), zarn::test::shown(varTypeId(INT_MAX)),
                         to_string(varTypeCode(nullptr)), to_string(varTypeCode("")), to_string(varTypeCode(big.c_str()))});
         }, "UnknownUnknownNULLNULL-1-1-1||"},
        {"u3rmserr_c(INT_MIN / INT_MAX with NULL arrays / 0 / -4)", [] {
             const double r[1] = {3};
             const int64_t ws[1] = {0};
             return seq({to_string(u3rmserr_c(INT_MIN, r, ws)), to_string(u3rmserr_c(INT_MAX, nullptr, nullptr)),
                         to_string(u3rmserr_c(0, r, ws)), to_string(u3rmserr_c(-4, r, ws)), to_string(u3rmserr_c(3, nullptr, ws))});
         }, "0.0000000.0000000.0000000.0000000.000000||"},
        {"every Fortran twin with NULL arguments", [] {
             U3INCR(nullptr), U3UNCR(nullptr), U3RPMT(nullptr, nullptr), U3RPSN(nullptr, nullptr), U3RPTF(nullptr, nullptr);
             U3RPLN(nullptr, nullptr), U3RPPF(nullptr, nullptr), U3R_GET_PRECON1(nullptr, nullptr, nullptr);
             U3R_SET_PRECON1(nullptr, nullptr, nullptr), U3R_GET_PRECON2(nullptr, nullptr, nullptr);
             U3R_SET_PRECON2(nullptr, nullptr, nullptr), U3FXV(nullptr), U3UFXV(nullptr), U3V_INDEPENDENT(nullptr);
             U3V_SET_SPEC(nullptr, nullptr), U3VGPT(nullptr, nullptr), U3VPPT(nullptr, nullptr), U3V_SET_CONNECTED(nullptr, nullptr);
             U3V_GET_BNDTYP(nullptr, nullptr), U3V_SET_BNDTYP(nullptr, nullptr), U3V_HARD(nullptr), U3V_RELAX(nullptr);
             U3V_SOFT(nullptr), U3V_SOFT2(nullptr), U3V_SET_INSTRUMENT(nullptr, nullptr), U3V_SET_MEASURED(nullptr, nullptr);
             U3V_SET_EXCLUDED(nullptr, nullptr), U3V_SET_LINEAR(nullptr, nullptr);
             return seq({to_string(U3RINC(nullptr)), to_string(U3RGMT(nullptr)), to_string(static_cast<int>(U3RGSN(nullptr))),
                         to_string(U3RGTF(nullptr)), to_string(U3RGLN(nullptr)), to_string(U3RGPF(nullptr)),
                         to_string(static_cast<int>(U3RMSERR(nullptr, nullptr, nullptr))), to_string(U3V_GET_SPEC(nullptr)),
                         to_string(U3VFXD(nullptr)), to_string(U3V_IS_INDEPENDENT(nullptr)), to_string(U3V_GET_CONNECTED(nullptr)),
                         to_string(U3V_IS_HARD(nullptr)), to_string(U3V_IS_RELAX(nullptr)), to_string(U3V_IS_SOFT(nullptr)),
                         to_string(U3V_IS_SOFT2(nullptr)), to_string(U3V_IS_INSTRUMENT(nullptr)), to_string(U3V_IS_MEASURED(nullptr)),
                         to_string(U3V_IS_EXCLUDED(nullptr)), to_string(U3V_IS_LINEAR(nullptr))});
         }, "1000000000010000000||"},
        {"Fortran setters with codes at the ends of int32_t", [&] {
             U3RPMT(&w, &imin), U3V_SET_SPEC(&w, &imax), U3VPPT(&w, &imin), U3V_SET_CONNECTED(&w, &imax);
             U3V_SET_BNDTYP(&imin, &w), U3R_SET_PRECON1(&w, &imax, &imin);
             return kept();
         }, "kept|!! u3rpmt_c: math type is out of range. -2147483648\n!! varSetSpec: spec is out of range. 2147483647\n"
            "!! varSetPhysicalType: physical type is out of range. -2147483648\n!! varSetConnected: value is out of range. 2147483647\n"
            "!! varSetBoundType: bound type is out of range. -2147483648\n"
            "|A(u3r_set_precon1: spec > VAR_INITIAL)A(u3r_set_precon1: connected < VAR_NOT_CONNECTED)"},
        {"Fortran readers of LLONG_MIN and LLONG_MAX words", [&] {
             int64_t pt = -9, bt = -9;
             U3VGPT(&lmax, &pt), U3V_GET_BNDTYP(&lmin, &bt);
             return seq({to_string(U3RINC(&lmin)), to_string(U3RINC(&lmax)), to_string(U3V_GET_SPEC(&lmax)), to_string(pt),
                         to_string(bt), to_string(U3V_IS_LINEAR(&lmin))});
         }, "101525500||"},
    };
    zarn::test::run_hostile(rows);
}

}  // namespace
