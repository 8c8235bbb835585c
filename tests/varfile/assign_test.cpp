// The assigning recorder: conversions from display and record units, keyword
// columns, refusals and their messages, name lookup, silence at level 0, short
// memory; and a large list written and read back.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <random>

#include "platform/xalloc.h"
#include "varfile_fixture.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/varattrnames.hpp"

using namespace zarn::test;

namespace {

// What a reader may change of a variable: reals in SI, the two MODIFIED words, then the codes.
enum F {
    kValue,
    kInit,
    kLower,
    kUpper,
    kStep,
    kScale,
    kSbWeight,
    kTarget,
    kThreshold,
    kM1,
    kM2,
    kPtype,
    kUom,
    kBaseUom,
    kBound,
    kSpec,
    kQuality,
    kParam,
    kType,
    kRamped,
    kConn,
    kFields
};
std::vector<double> fields(rtvarlst_t *l, int i) {
    rtvarinfo_t r{};
    r.mask = {RTVARINFO_ALL, RTVARINFO_ALL};
    rtovarlst_inq_var(l, i, &r, 1);
    int64_t bound = -1;
    varInqBoundType(r.status, &bound);
    return {r.value,
            r.init,
            r.lower,
            r.upper,
            r.step,
            r.scale,
            r.sbweight,
            r.target_homo,
            r.threshold,
            double(r.modified.mask1),
            double(r.modified.mask2),
            double(varInqPhysicalType(r.status)),
            double(r.uom),
            double(r.baseuom),
            double(bound),
            double(varInqSpec(r.status)),
            double(r.quality),
            double(r.param_homo),
            double(varInqType(r.status)),
            double(r.ramped),
            double(r.conn_type)};
}

int unit(int ptype, const char *name) {
    int u = 0;
    rtouom_ptype_locate(name, ptype, &u);
    return u;
}

std::string not_located(const char *unit) {
    return std::string("!! rtouom_locate: Unable to locate a unit of measurement named: ") + unit + "\n";
}
std::string bad(const std::string &what, const char *attribute, const char *var = "T1") {
    return "Unrecognized " + what + " assigned to the " + attribute + " attribute of " + var + "\n";
}
std::string attempt(const std::string &what, const char *attribute, const char *why = "") {
    return "Attempt to assign " + what + " to the " + attribute + " attribute of T1\n" + why;
}

// Each call is a variable, an attribute word, a letter and its arguments: r real, i integer,
// s text, R and I a real or an integer in the unit named after it (none: no unit text at all).
// Keywords the writer produces are checked by the round trip below.
TEST(VarfileAssign, CallsInOrder) {
    constexpr int kT = 22, kF = 2, kC = 4;
    const std::string other = " has a different physical type than that of ";
    struct Row {
        const char *call;
        std::map<F, double> set;
        std::string history = "";
    };
    const Row rows[] = {
        {"1 VALUE r 10", {{kValue, 283.15}}},
        {"2 VALUE r 212", {{kValue, 373.15 / 2}}},
        {"1 STEP r 10", {{kStep, 10}}},
        {"2 SCALE r 18", {{kScale, 5}}},
        {"5 VALUE r 10", {{kValue, 283.15}}},
        {"1 LOWER i 0", {{kLower, 273.15}}},
        {"3 INIT r 10", {{kInit, 3.048}}},
        {"1 RLOWER r 5", {}},
        {"3 SBWEIGHT r 3.5", {{kSbWeight, 3.5}}},
        {"1 RUPPER i 5", {}},
        {"1 MODIFIED i 6", {{kM1, 6}}},
        {"1 MODIFIED i -3", {{kM1, 0}, {kM2, 3}}},
        {"1 MODIFIED i -2147483648", {{kM2, 2147483648.0}}},
        {"1 SHADOW_PRICE r 2.5",
         {},
         attempt("shadow price value '2.5'", "SHADOW_PRICE",
                 "The shadow price cannot be read back from a file\n")},
        {"2 NAME r 1.5", {}, "Attempt to assign real value 1.5 to the NAME attribute of T2\n"},
        // A record's unit is remembered per physical type until the next name is looked up.
        {"1 VALUE R 212 f", {{kValue, 373.15}}},
        {"1 LOWER I 32 f", {{kLower, 273.15}}},
        {"3 VALUE R 2 f", {{kValue, 2}}, "          Unit of measure F" + other + "L1\n"},
        {"1 STEP R 18 F", {{kStep, 10}}},
        {"2 MODIFIED I -4 F", {{kM2, 4}}},
        // A typed variable: the unit is searched within its type, then among all; both report.
        {"1 VALUE R 10 zz",
         {{kValue, 10}},
         not_located("ZZ") + not_located("ZZ") +
             "            Unrecognized unit of measure zz assigned to the T1\n"},
        {"4 VALUE I 5 F", {{kValue, 5}}, "          Unit of measure F" + other + "U\n"},
        {"1 INIT R 7", {{kInit, 280.15}}},
        {"1 UPPER I 7 ", {{kUpper, 280.15}}},
        {"1 PHYSICAL_TYPE s Temp", {}, bad("physical type TEMP", "PHYSICAL_TYPE")},
        {"4 UNITS s zz", {}, not_located("ZZ") + bad("unit of measure ZZ", "UNITS", "U")},
        {"4 UNITS s psia", {{kUom, 2}, {kPtype, 20}, {kConn, 20}}},
        {"4 PHYSICAL_TYPE s temperature", {{kPtype, 22}}},
        {"1 BASEUOM s qq",
         {},
         not_located("QQ") + std::string(12, ' ') + bad("base unit of measure QQ", "BASEUOM")},
        {"1 BOUND s firm", {}, bad("symbol FIRM", "BOUND")},
        {"1 SSPEC s const", {}},
        {"1 QUALITY s ugly", {}, bad("quality UGLY", "QUALITY")},
        {"1 PARAM s maybe", {}, bad("homotopy parameter MAYBE", "PARAM")},
        {"1 ACTIVE_BOUND s lower",
         {},
         attempt("active bound string value 'LOWER'", "ACTIVE_BOUND",
                 "The active_bound cannot be read back from a file\n")},
        {"1 DESCRIPTION s hot feed",
         {},
         attempt("description string value 'HOT FEED'", "DESCRIPTION",
                 "The description cannot be read back from a file\n")},
        {"1 MODIFIED s 6;-1", {{kM1, 6}, {kM2, 4294967295.0}}},
        {"1 MODIFIED s ;7", {{kM1, 0}, {kM2, 7}}},
        {"1 VAR_TYPE s semi-continuous-integer", {{kType, 64}}},
        {"1 VAR_TYPE s integer", {{kType, 3}}},
        {"1 VAR_TYPE s analog", {}, bad("value ANALOG", "VAR_TYPE")},
        {"1 CONN_TYPE s wire", {}, bad("connection type WIRE", "CONN_TYPE")},
        {"1 VALUE s abc", {}, attempt("string value 'ABC'", "VALUE")}};
    HistoryCapture h;
    for (int level : {1, 0}) {
        // T2 in F with internal scale 2, L1 in FT, U untyped, Z with internal scale 0 (taken as 1).
        List l({{.name = "T1", .ptype = kT, .uom = kC},
                {.name = "T2", .ptype = kT, .uom = kF, .scale = 2},
                {.name = "L1", .ptype = 17, .uom = 2},
                {.name = "U"},
                {.name = "Z", .ptype = kT, .uom = kC, .scale = 0}});
        AssignRecorder rec(nullptr, l, level, nullptr);
        for (const Row &r : rows) {
            char word[32], kind = 0;
            int i = 0, used = 0;
            std::sscanf(r.call, "%d %31s %c %n", &i, word, &kind, &used);
            const auto a = A::VarAttribute(RTVarAttributeNames::Value(word));
            char *end = nullptr;
            const double x = std::strtod(r.call + used, &end);
            const char *unit = *end ? end + 1 : nullptr;
            std::vector<double> want = fields(l, i);
            for (auto [k, v] : r.set) want[k] = v;
            if (kind == 'r') rec.AssignReal(i, a, x);
            if (kind == 'i') rec.AssignInteger(i, a, int(x));
            if (kind == 's') rec.AssignString(i, a, r.call + used);
            if (kind == 'R') rec.AssignRealInUnit(i, a, x, unit);
            if (kind == 'I') rec.AssignIntegerInUnit(i, a, int(x), unit);
            const std::vector<double> got = fields(l, i);
            for (int k = 0; k < kFields; ++k) EXPECT_NEAR(got[k], want[k], 1e-9) << r.call << ", field " << k;
            EXPECT_EQ(h.text(), level ? r.history : "") << r.call;
        }
    }
}

struct NotTwo : VarFilter {
    int IncludeVar(int i) const override { return i != 2; }
};

TEST(VarfileAssign, LookupAttributesAndHostileCallers) {
    const std::string longest(1024, 'N'), lower_longest(1024, 'n'), too_long(1025, 'n');
    List l({{.name = "T1"}, {.name = "T2"}, {.name = "U"}, {.name = longest.c_str()}});
    NotTwo filter;
    HistoryCapture h;
    AssignRecorder rec(nullptr, l, 1, &filter), open(nullptr, l, 1, nullptr);
    zarn::failalloc_set(1);  // the first lookup has no buffer yet
    EXPECT_EQ(rec.LookupVariable("t1"), 0);
    const std::pair<const char *, int> names[] = {
        {"t1", 1},     {"T2", 0},   {"u", 3}, {lower_longest.c_str(), 4}, {too_long.c_str(), 0},
        {"NOSUCH", 0}, {nullptr, 0}};
    for (auto [name, want] : names) EXPECT_EQ(rec.LookupVariable(name), want) << (name ? name : "(null)");
    EXPECT_EQ(open.LookupVariable("t2"), 2);
    zarn::failalloc_set(1);  // a description longer than any name needs a larger buffer
    rec.AssignString(1, A::DESCRIPTION, std::string(2000, 'd').c_str());
    EXPECT_EQ(h.text(),
              "!!AssignRecorder: Unable to allocate memory\n"
              "!!AssignRecorder: Unable to allocate memory\n");
    open.AssignString(1, A::SPEC, "fixed{|}~");
    EXPECT_EQ(h.text(), "Unrecognized symbol FIXED{|}~ assigned to the SPEC attribute of T1\n")
        << "the signs just past 'z' keep their case";
    gl_list_t *attributes = gl_create();
    for (intptr_t a : {A::VALUE, A::UNITS, A::VALUE}) gl_addtoend(attributes, reinterpret_cast<void *>(a));
    AssignRecorder with(attributes, nullptr, 1, nullptr);
    EXPECT_EQ(std::vector<int>({with.AcceptsAttribute(A::VALUE), with.AcceptsAttribute(A::UNITS),
                                with.AcceptsAttribute(A::LOWER), with.AcceptsAttribute(A::VarAttribute(28)),
                                rec.AcceptsAttribute(A::VALUE)}),
              std::vector<int>({1, 1, 0, 0, 0}));
    // Index 0, or no list: nothing is looked up, assigned or reported.
    StderrCapture err;
    EXPECT_EQ(with.LookupVariable("T1"), 0);
    rec.AssignReal(0, A::VALUE, 1);
    rec.AssignInteger(0, A::MODIFIED, 1);
    rec.AssignString(0, A::SPEC, "x");
    rec.AssignRealInUnit(0, A::VALUE, 1, "F");
    rec.AssignIntegerInUnit(0, A::VALUE, 1, "F");
    with.AssignString(1, A::DESCRIPTION, "x");
    with.AssignReal(1, A::NAME, 1);
    with.AssignRealInUnit(1, A::VALUE, 1, "zz");
    EXPECT_EQ(h.text() + err.text(), "");
    gl_destroylist(attributes);
}

// A deterministic spread of every attribute the reader takes back, over typed and untyped
// variables in several units, with quoted and long names.
TEST(VarfileAssign, LargeListRoundTrip) {
    constexpr int n = 10000;
    const int ptypes[] = {0, pt_lookup("TEMPERATURE"), pt_lookup("PRESSURE")};
    const int kTypes[] = {0, 3, 4, 5, 6, 7};  // no state or differential: they need a partner
    const char *units[3][3] = {{"*", "*", "*"}, {"C", "F", "K"}, {"BAR", "PSI", "PA"}};
    std::mt19937 g(7);
    auto real = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(g); };
    auto below = [&](uint32_t m) { return int(g() % m); };
    std::vector<std::string> names(n);
    std::vector<V> vars(n), fresh(n);
    for (int k = 0; k < n; ++k) {
        names[k] = k % 97 == 0 ? "Q " + std::to_string(k)
                               : (k % 101 == 0 ? std::string(60, 'L') : "V") + std::to_string(k);
        const double lo = real(-50, 100), v = lo + real(1, 100);
        const int t = ptypes[k % 3];
        vars[k] = {.name = names[k].c_str(),
                   .ptype = t,
                   .uom = unit(t, units[k % 3][k / 3 % 3]),
                   .spec = below(8),
                   .type = kTypes[below(6)],
                   .bound = below(4),
                   .value = v + 273.15,
                   .init = real(-1e6, 1e6),
                   .lower = lo + 273.15,
                   .upper = v + real(1, 50) + 273.15,
                   .step = real(0.1, 10),
                   .m1 = uint32_t(g()),
                   .m2 = below(3) == 0 ? uint32_t(g()) : 0,
                   .ramped = below(2),
                   .quality = below(4),
                   .param = below(2)};
        fresh[k] = {.name = names[k].c_str()};
    }
    List a(vars), b(fresh);
    for (int i = 1, k = 0; i <= n; ++i, ++k) {
        rtovarlst_set_var_slvscl(a, i, real(0.5, 20), 1);
        rtovarlst_set_var_sbweight(a, i, real(0, 5));
        rtovarlst_set_var_target_homo(a, i, real(-10, 10), 1);
        rtovarlst_set_var_threshold(a, i, real(0, 3), 1);
        rtovarlst_set_var_conn_type(a, i, ptypes[k % 3]);
        if (k % 3 != 0) rtovarlst_set_var_baseuom(a, i, unit(ptypes[k % 3], units[k % 3][i % 2]));
    }
    HistoryCapture h;
    // Every column but the two whose words hold blanks, which a reader cannot take back.
    std::vector<int> columns;
    for (int c = A::NAME; c <= A::CONN_TYPE; ++c)
        if (c != A::DESCRIPTION && c != A::ACTIVE_BOUND) columns.push_back(c);
    const std::string file = write_out(a, {20, 16, 80, 12}, columns);
    rtopipe *q = create_queue_rtopipe();
    rtowrite(q, file.data(), file.size());
    RTVarFileIn in(q, b);
    in.AddAttribute(A::MODIFIED);
    in.Go();
    EXPECT_EQ(h.text(), "");
    for (int i = 1; i <= n && !HasFailure(); ++i) {
        const std::vector<double> x = fields(a, i), y = fields(b, i);
        for (int k = 0; k < kFields; ++k)
            EXPECT_NEAR(y[k], x[k], k < kM1 ? 1e-8 * std::fabs(x[k]) : 0) << names[i - 1] << " field " << k;
    }
}

}  // namespace
