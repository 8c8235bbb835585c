// The assigning recorder on its own: conversions from display and record
// units, keyword columns, refusals and their messages, name lookup, silence
// at level 0, and short memory.
#include <gtest/gtest.h>

#include <array>
#include <climits>

#include "platform/xalloc.h"
#include "varfile_fixture.h"

using namespace zarn::test;

namespace {

constexpr int kT = 22, kL = 17, kF = 2, kC = 4, kFt = 2;

// T1 in C, T2 in F with internal scale 2, L1 in FT, U untyped, Z with internal scale 0 (taken as 1).
std::vector<V> vars() {
    return {{.name = "T1", .ptype = kT, .uom = kC}, {.name = "T2", .ptype = kT, .uom = kF, .scale = 2},
            {.name = "L1", .ptype = kL, .uom = kFt}, {.name = "U"}, {.name = "Z", .ptype = kT, .uom = kC, .scale = 0}};
}

rtvarinfo_t fetch(rtvarlst_t *l, int i) {
    rtvarinfo_t r{};
    r.mask = {RTVARINFO_ALL, RTVARINFO_ALL};
    return rtovarlst_inq_var(l, i, &r, 1), r;
}

// What the recorder may change of a variable: reals in SI (MODIFIED as its first word minus the second) ...
enum Real { kValue, kInit, kLower, kUpper, kStep, kSlvScale, kSbWeight, kTarget, kThreshold, kMod, kNoReal };
std::array<double, kNoReal> reals(rtvarlst_t *l, int i) {
    const rtvarinfo_t r = fetch(l, i);
    return {r.value, r.init, r.lower, r.upper, r.step, r.scale, r.sbweight, r.target_homo, r.threshold,
            double(r.modified.mask1) - double(r.modified.mask2)};
}

// ... and codes (MODIFIED as both words).
enum Code { kPtype, kUom, kBaseUom, kBound, kSpec, kQuality, kParam, kType, kRamped, kConn, kMasks, kNoCode };
std::array<int64_t, kNoCode> codes(rtvarlst_t *l, int i) {
    const rtvarinfo_t r = fetch(l, i);
    int64_t bound = -1;
    varInqBoundType(r.status, &bound);
    return {varInqPhysicalType(r.status), r.uom, r.baseuom, bound, varInqSpec(r.status), r.quality, r.param_homo,
            varInqType(r.status), r.ramped, r.conn_type, int64_t(uint64_t(r.modified.mask2) << 32 | r.modified.mask1)};
}

std::string not_located(const char *unit) {
    return std::string("!! rtouom_locate: Unable to locate a unit of measurement named: ") + unit + "\n";
}

TEST(VarfileAssign, RealsAndIntegers) {
    struct Row { int var, a; double x; bool integer; Real k; double want; std::string history; };
    const Row rows[] = {
        {1, A::VALUE, 10, false, kValue, 283.15, ""}, {2, A::VALUE, 212, false, kValue, 373.15 / 2, ""},
        {1, A::STEP, 10, false, kStep, 10, ""}, {2, A::SCALE, 18, false, kSlvScale, 5, ""},
        {1, A::LOWER, 0, true, kLower, 273.15, ""}, {1, A::UPPER, 100, true, kUpper, 373.15, ""},
        {3, A::INIT, 10, false, kInit, 3.048, ""}, {3, A::TARGET, 1, false, kTarget, 0.3048, ""},
        {3, A::THRESHOLD, 2, true, kThreshold, 0.6096, ""}, {3, A::SBWEIGHT, 3.5, false, kSbWeight, 3.5, ""},
        {1, A::RLOWER, 5, false, kNoReal, 0, ""}, {1, A::RUPPER, 5, true, kNoReal, 0, ""},
        {1, A::SHADOW_PRICE, 2.5, false, kNoReal, 0, "Attempt to assign shadow price value '2.5' to the "
         "SHADOW_PRICE attribute of T1\nThe shadow price cannot be read back from a file\n"},
        {2, A::NAME, 1.5, false, kNoReal, 0, "Attempt to assign real value 1.5 to the NAME attribute of T2\n"},
        {4, A::SPEC, 3, true, kNoReal, 0, "Attempt to assign real value 3 to the SPEC attribute of U\n"},
        {1, A::MODIFIED, 6, true, kMod, 6, ""}, {1, A::MODIFIED, -3, true, kMod, -3, ""},
        {1, A::MODIFIED, INT_MIN, true, kMod, INT_MIN, ""}, {5, A::VALUE, 10, false, kValue, 283.15, ""}};
    HistoryCapture h;
    for (const Row &r : rows)
        for (int level : {1, 0}) {
            List l(vars());
            AssignRecorder rec(nullptr, l, level, nullptr);
            std::array<double, kNoReal> want = reals(l, r.var);
            if (r.k != kNoReal) want[r.k] = r.want;
            if (r.integer) rec.AssignInteger(r.var, A::VarAttribute(r.a), int(r.x));
            else rec.AssignReal(r.var, A::VarAttribute(r.a), r.x);
            const std::array<double, kNoReal> got = reals(l, r.var);
            for (int k = 0; k < kNoReal; ++k) EXPECT_NEAR(got[k], want[k], 1e-9) << r.a << " " << r.x << " " << k;
            EXPECT_EQ(h.text(), level ? r.history : "") << r.a << " " << r.x;
        }
}

TEST(VarfileAssign, Strings) {
    struct Row { int var, a; const char *text; std::vector<std::pair<Code, int64_t>> set; std::string history; };
    const std::string of_t1 = " attribute of T1\n";
    auto bad = [&](const std::string &what, const char *attribute) {
        return "Unrecognized " + what + " assigned to the " + attribute + of_t1;
    };
    const Row rows[] = {
        {1, A::PHYSICAL_TYPE, "pressure", {{kPtype, 20}}, ""}, {1, A::UNITS, "f", {{kUom, kF}}, ""},
        {1, A::PHYSICAL_TYPE, "Temp", {}, bad("physical type TEMP", "PHYSICAL_TYPE")},
        {1, A::UNITS, "ft", {}, "Unit of measure FT has a different physical type than that of T1\n"},
        {1, A::UNITS, "zz", {}, not_located("ZZ") + bad("unit of measure ZZ", "UNITS")},
        {4, A::UNITS, "psia", {{kUom, 2}, {kPtype, 20}, {kConn, 20}}, ""},
        {4, A::UNITS, "zz", {}, not_located("ZZ") + "Unrecognized unit of measure ZZ assigned to the UNITS attribute of U\n"},
        {1, A::BASEUOM, "c", {{kBaseUom, kC}}, ""}, {1, A::BOUND, "soft2", {{kBound, 3}}, ""},
        {1, A::BASEUOM, "qq", {}, not_located("QQ") + "            " + bad("base unit of measure QQ", "BASEUOM")},
        {1, A::BOUND, "firm", {}, bad("symbol FIRM", "BOUND")}, {1, A::SPEC, "loose", {}, bad("symbol LOOSE", "SPEC")},
        {1, A::SPEC, "independent", {{kSpec, 2}}, ""}, {1, A::SSPEC, "const", {}, ""},
        {1, A::QUALITY, "badignore", {{kQuality, 3}}, ""}, {1, A::QUALITY, "ugly", {}, bad("quality UGLY", "QUALITY")},
        {1, A::PARAM, "yes", {{kParam, 1}}, ""}, {1, A::PARAM, "maybe", {}, bad("homotopy parameter MAYBE", "PARAM")},
        {1, A::ACTIVE_BOUND, "lower", {}, "Attempt to assign active bound string value 'LOWER' to the "
         "ACTIVE_BOUND" + of_t1 + "The active_bound cannot be read back from a file\n"},
        {1, A::DESCRIPTION, "hot feed", {}, "Attempt to assign description string value 'HOT FEED' to the "
         "DESCRIPTION" + of_t1 + "The description cannot be read back from a file\n"},
        {1, A::MODIFIED, "6;-1", {{kMasks, int64_t(0xFFFFFFFF00000006u)}}, ""}, {1, A::MODIFIED, ";7", {{kMasks, 7LL << 32}}, ""},
        {1, A::VAR_TYPE, "semi-continuous-integer", {{kType, 64}}, ""}, {1, A::VAR_TYPE, "integer", {{kType, 3}}, ""},
        {1, A::VAR_TYPE, "analog", {}, bad("value ANALOG", "VAR_TYPE")}, {1, A::RAMPED, "yes", {{kRamped, 1}}, ""},
        {1, A::RAMPED, "on", {}, bad("value ON", "RAMPED")}, {1, A::CONN_TYPE, "mass-flow", {{kConn, 10}}, ""},
        {1, A::CONN_TYPE, "wire", {}, bad("connection type WIRE", "CONN_TYPE")},
        {1, A::VALUE, "abc", {}, "Attempt to assign string value 'ABC' to the VALUE" + of_t1}};
    HistoryCapture h;
    for (const Row &r : rows)
        for (int level : {1, 0}) {
            List l(vars());
            AssignRecorder rec(nullptr, l, level, nullptr);
            std::array<int64_t, kNoCode> want = codes(l, r.var);
            for (auto [k, v] : r.set) want[k] = v;
            rec.AssignString(r.var, A::VarAttribute(r.a), r.text);
            EXPECT_EQ(codes(l, r.var), want) << r.a << " " << r.text;
            EXPECT_EQ(h.text(), level ? r.history : "") << r.a << " " << r.text;
        }
}

// Rows run in order on one list: a record's unit is looked up once per type.
TEST(VarfileAssign, InRecordUnits) {
    struct Row { int var, a; double x; bool integer; const char *unit; Real k; double want; std::string history; };
    const Row rows[] = {
        {1, A::VALUE, 212, false, "f", kValue, 373.15, ""}, {1, A::LOWER, 32, true, "f", kLower, 273.15, ""},
        {3, A::VALUE, 2, false, "f", kValue, 2, "          Unit of measure F has a different physical type than that of L1\n"},
        {1, A::STEP, 18, false, "F", kStep, 10, ""}, {2, A::MODIFIED, -4, true, "F", kMod, -4, ""},
        {1, A::VALUE, 10, false, "zz", kValue, 10,
         not_located("ZZ") + "            Unrecognized unit of measure zz assigned to the T1\n"},
        {4, A::VALUE, 5, true, "F", kValue, 5, "          Unit of measure F has a different physical type than that of U\n"},
        {1, A::INIT, 7, false, nullptr, kInit, 280.15, ""}, {1, A::UPPER, 7, true, "", kUpper, 280.15, ""}};
    HistoryCapture h;
    for (int level : {1, 0}) {
        List l(vars());
        AssignRecorder rec(nullptr, l, level, nullptr);
        for (const Row &r : rows) {
            if (r.integer) rec.AssignIntegerInUnit(r.var, A::VarAttribute(r.a), int(r.x), r.unit);
            else rec.AssignRealInUnit(r.var, A::VarAttribute(r.a), r.x, r.unit);
            EXPECT_NEAR(reals(l, r.var)[r.k], r.want, 1e-9) << r.a << " " << r.x;
            EXPECT_EQ(h.text(), level ? r.history : "") << r.a << " " << r.x;
        }
    }
}

struct NotTwo : VarFilter {
    int IncludeVar(int i) const override { return i != 2; }
};

TEST(VarfileAssign, LookupAttributesAndHostileCallers) {
    const std::string longest(1024, 'N'), lower_longest(1024, 'n'), too_long(1025, 'n');
    std::vector<V> v = vars();
    v.push_back({.name = longest.c_str()});
    List l(v);
    NotTwo filter;
    HistoryCapture h;
    AssignRecorder rec(nullptr, l, 1, &filter), open(nullptr, l, 1, nullptr);
    zarn::failalloc_set(1);  // the first lookup has no buffer yet
    EXPECT_EQ(rec.LookupVariable("t1"), 0);
    EXPECT_EQ(h.text(), "!!AssignRecorder: Unable to allocate memory\n");
    const std::pair<const char *, int> names[] = {{"t1", 1}, {"T2", 0}, {"u", 4}, {lower_longest.c_str(), 6},
                                                  {too_long.c_str(), 0}, {"NOSUCH", 0}, {nullptr, 0}};
    for (auto [name, want] : names) EXPECT_EQ(rec.LookupVariable(name), want) << (name ? name : "(null)");
    EXPECT_EQ(open.LookupVariable("t2"), 2);
    zarn::failalloc_set(1);  // a description longer than any name needs a larger buffer
    rec.AssignString(1, A::DESCRIPTION, std::string(2000, 'd').c_str());
    EXPECT_EQ(h.text(), "!!AssignRecorder: Unable to allocate memory\n");

    gl_list_t *attributes = gl_create();
    for (int a : {A::VALUE, A::UNITS, A::VALUE}) gl_addtoend(attributes, reinterpret_cast<void *>(intptr_t(a)));
    AssignRecorder with(attributes, nullptr, 1, nullptr);
    EXPECT_EQ(with.AcceptsAttribute(A::VALUE) + with.AcceptsAttribute(A::UNITS), 2);
    EXPECT_EQ(with.AcceptsAttribute(A::LOWER) + with.AcceptsAttribute(A::VarAttribute(28)) + rec.AcceptsAttribute(A::VALUE), 0);
    A::VarAttribute a = A::SPEC;
    EXPECT_EQ(with.QueryAttribute(&a), 0);
    EXPECT_EQ(with.QueryMatches(1, A::SPEC, "CONST", 0, 0), 1);
    // Index 0, or no list: nothing is looked up, assigned or reported.
    StderrCapture err;
    EXPECT_EQ(with.LookupVariable("T1"), 0);
    rec.AssignReal(0, A::VALUE, 1), rec.AssignInteger(0, A::MODIFIED, 1), rec.AssignString(0, A::SPEC, "x");
    rec.AssignRealInUnit(0, A::VALUE, 1, "F"), rec.AssignIntegerInUnit(0, A::VALUE, 1, "F");
    with.AssignString(1, A::DESCRIPTION, "x"), with.AssignReal(1, A::NAME, 1), with.AssignRealInUnit(1, A::VALUE, 1, "zz");
    EXPECT_EQ(h.text() + err.text(), "");
    gl_destroylist(attributes);
}

}  // namespace
