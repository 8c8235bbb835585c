// Assignment and lookup by name over a small model: one table of assignments (state change, messages,
// events, modification record), assign -> lookup round trips, lookup alone and hostile callers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "../rtvarlst/varlst_fixture.h"
#include "zarnutils/rtuom.h"
#include "platform/xalloc.h"
#include "zarnutils/varassign.h"
#include "zarnutils/varutl.h"

using namespace zarn::test;

namespace {

std::string g(double x) {
    char b[32];
    std::snprintf(b, sizeof b, "%.6g", x);
    return b;
}

// X untyped with VALUE 10; T a temperature shown in F; P a pressure shown in BAR, stored in KPA,
// internal scale 2; B1.T untyped. AL is an alias of X.
const char *const kNames[] = {"X", "T", "P", "B1.T"};
struct Model {
    rtotaglst_t *tags = rtotaglst_create(1);
    rtvarlst_t *l = rtovarlst_create(4);
    Model() {
        rtovarlst_set_nvar(l, 4);
        for (int32_t k = 1; k <= 4; ++k) rtovarlst_addvar(l, k, kNames[k - 1]);
        double *s = rtovarlst_vec_scale(l);
        s[0] = s[1] = s[3] = 1;
        s[2] = 2;
        rtovarlst_set_var_value(l, 1, 10, 0);
        rtovarlst_set_physical_type(l, 2, 22);
        rtovarlst_set_var_uom(l, 2, 2);
        rtovarlst_set_physical_type(l, 3, 20);
        rtovarlst_set_var_uom(l, 3, 5);
        rtovarlst_set_var_baseuom(l, 3, 10);
        rtotaglst_add_tag(tags, "AL", "X");
        rtovarlst_set_taglst(l, tags);
        rtovarlst_set_var_shadow_price(l, 3, 50, 1);
        rtovarlst_set_var_active_bound(l, 4, 18);
        rtovarlst_set_var_type(l, 4, 8, 0);
    }
    ~Model() {
        rtovarlst_destroy_c(&l);
        rtotaglst_destroy(tags);
    }
};

// Every field of every item a caller can read, as "NAME.FIELD=value" entries.
const char *const kFields[] = {"VALUE", "INIT",  "LOWER",  "UPPER", "TARGET", "THRESH", "SLV", "STEP",
                               "SB",    "SPEC",  "PT",     "BOUND", "MARKED", "TYPE",   "UOM", "BASE",
                               "QUAL",  "PARAM", "RAMPED", "CONN",  "DESC",   "M"};
std::vector<std::string> state(rtvarlst_t *l) {
    std::vector<std::string> out;
    for (int32_t i = 1; i <= rtovarlst_inq_nvar(l); ++i) {
        const int64_t w = rtovarlst_inq_var_status(l, i);
        int64_t bound = 0;
        varInqBoundType(w, &bound);
        char mod[32] = "-";
        rtovarlst_inq_var_modified_string(l, i, mod);
        std::vector<std::string> f;
        for (auto r : {rtovarlst_inq_var_value, rtovarlst_inq_var_initial, rtovarlst_inq_var_lower,
                       rtovarlst_inq_var_upper, rtovarlst_inq_var_target_homo, rtovarlst_inq_var_threshold,
                       rtovarlst_inq_var_slvscl})
            f.push_back(g(r(l, i, 0)));
        for (auto r : {rtovarlst_inq_var_step_inbaseuom, rtovarlst_inq_var_sbweight}) f.push_back(g(r(l, i)));
        for (int64_t n : std::initializer_list<int64_t>{varInqSpec(w), varInqPhysicalType(w), bound,
                                                        varInqMarked(w), varInqType(w)})
            f.push_back(g(n));
        for (auto r : {rtovarlst_inq_var_uom, rtovarlst_inq_var_baseuom, rtovarlst_inq_var_quality,
                       rtovarlst_inq_var_param_homo, rtovarlst_inq_var_ramped, rtovarlst_inq_var_conn_type})
            f.push_back(g(r(l, i)));
        f.push_back(rtovarlst_inq_var_description(l, i));
        f.push_back(mod);
        for (size_t k = 0; k < f.size(); ++k)
            out.push_back(std::string(kNames[i - 1]) + "." + kFields[k] + "=" + f[k]);
    }
    return out;
}

// "i:5" INTEGER, "r:x:ptype:uom[:base]" REAL held in SI (or in unit base), "s:text" STRING, "d:text"
// IDENTIFIER, "b:1" BOOLEAN, "u:" UNDEFINED.
value_t make(const std::string &spec) {
    value_t v;
    value_init(&v);
    const std::string t = spec.substr(2);
    double x = 0;
    int p = 0, u = 0, base = 1;
    const char k = spec[0];
    if (k == 'i') value_assign_int(&v, std::stoi(t));
    if (k == 'r') {
        std::sscanf(t.c_str(), "%lf:%d:%d:%d", &x, &p, &u, &base);
        value_assign_double(&v, x, p, u);
        v.u.number.baseuom = static_cast<int16_t>(base);
    }
    if (k == 's') value_assign_copy_of_string(&v, t.c_str());
    if (k == 'd') value_assign_copy_of_id(&v, t.c_str());
    if (k == 'b') value_assign_logical(&v, t == "1");
    return v;
}

// "TARGET=value" ('!' first: under strict unit checking); the fields it changed, "|", the change events.
struct Row {
    const char *assign, *diff;
    std::string message = "";
};

const std::string kMis = "Assignment type mismatch.  You cannot assign ",
                  kMis1 = "Assignment type mismatch. You cannot assign ";
const std::string kPt = "Physical type mismatch in assignment: T.VALUE - variable(22)/value(",
                  kRO = " attribute is read-only\n";
const std::string kBad = "Invalid variable name in assignment: ",
                  kUom = "Unable to locate definition for UOM {";
const std::string kUnk = "Unknown variable ", kYN = ".  Valid strings are YES or NO.\n",
                  kAsg = ".  Unable to assign to ";
const std::string kLoc = "!! rtouom_locate: Unable to locate a unit of measurement named: NOSUCH\n";
const std::string kChange = "You cannot make an assignment to T.CHANGE because T.VALUE is undefined\n";
const std::string kWarmth =
    "Unable to locate definition for Physical Type WARMTH" + kAsg + "X.PHYSICAL_TYPE.\n";
const std::string kWarn =
    "Warning: Assigning TEMPERATURE to X.PHYSICAL_TYPE.  This may have serious consequences.\n";
const char kState[] =
    "!! rtovarlst_set_var_type: State variable must specify non-zero offset to differential variable\n";
const char kLinear[] =
    "Unknown variable type LINEAR. Valid strings are:\nALGEBRAIC\nSTATE\nDIFFERENTIAL\nDISCRETE\n"
    "INTEGER\nDISCRETE-ESLACK\nBINARY\nPARTIAL-INTEGER\nSEMI-CONTINUOUS\nSEMI-CONTINUOUS-INTEGER\n";

const Row kAssign[] = {
    {"T.VALUE=i:5", "T.VALUE=258.15 T.M=2;0|T:1024"},
    {"!T.VALUE=i:5", "T.M=2;0|", kPt + "0)\n"},
    {"T.VALUE=r:1e5:20:3", "T.M=2;0|", kPt + "20)\n"},
    {"P.VALUE=r:2e5:20:5", "P.VALUE=100 P.M=2;0|P:1024"},
    {"P.VALUE=r:1:20:3:3", "P.VALUE=50.6625 P.M=2;0|P:1024"},
    {"!P.VALUE=r:7:-181:0", "P.VALUE=7 P.M=2;0|P:1024"},
    {"!P.VALUE=r:8:-182:0", "P.VALUE=4 P.M=2;0|P:1024"},
    {"X=s:5 {K}", "X.VALUE=5 X.PT=22 X.M=2;0|X:16384 X:1024"},
    {"X.STEP=i:-3", "X.STEP=3 X.M=16;0|X:2048"},
    {"T.STEP=i:9", "T.STEP=5 T.M=16;0|T:2048"},
    {"X.SB=i:7", "X.SB=7 X.M=128;0|X:16"},
    {"X.INITIAL=i:2", "X.INIT=2 X.M=512;0|X:4"},
    {"X.CHANGE=i:1", "X.INIT=9 X.M=536870912;0|X:2"},
    {"T.CHANGE=i:1", "T.M=536870912;0|", kChange},
    {"X.VALUE=b:1", "X.M=2;0|", kMis + "TRUE to X.VALUE\n"},
    {"X.SP=i:1", "|", "The X.SP" + kRO},
    {"X.BLOCKPTR=i:1", "|", kUnk + "attribute X.BLOCKPTR\n"},
    {"X.SPECS=d:Fixed", "X.SPEC=1 X.M=256;0|X:512"},
    {"X.SPEC=d:fixed", "X.M=256;0|", kUnk + "specification fixed\n"},
    {"T.UNITS=s:C", "T.UOM=4 T.M=1024;2|T:128"},
    {"T.UOM=s:PSIA", "T.M=1024;2|T:128", kUom + "PSIA}" + kAsg + "T.UOM.\n"},
    {"T.UNIT=s:NOSUCH", "T.M=1024;2|T:128", kLoc + kUom + "NOSUCH}" + kAsg + "T.UNIT.\n"},
    {"X.UNITS=s:ATM", "X.PT=20 X.UOM=3 X.M=1024;2|X:16384 X:128"},
    {"X.UNITS=u:", "X.M=1024;2|X:128", kMis + "!!!UNDEFINED!!! to X.UNITS\n"},
    {"T.BASEUOM=s:C", "T.BASE=4 T.M=524288;0|T:65536"},
    {"X.BASEUOM=s:BAR", "X.PT=20 X.BASE=5 X.M=524288;0|X:16384 X:65536"},
    {"X.BOUND_TYPE=d:WEAK", "X.M=2048;0|X:1", kUnk + "bound type WEAK\n"},
    {"X.MARKED=i:1", "X.M=4096;0|X:4096", kMis1 + "1 to X.MARKED\n"},
    {"X.MODIFIED=i:-6", "X.M=0;6|"},
    {"X.MODIFIED=i:5", "X.M=5;0|"},
    {"X.MODIFIED=i:-2147483648", "X.M=0;-2147483648|"},
    {"X.MODIFIED=r:2.5:0:0", "|", kMis1 + "2.5 {*} to X.MODIFIED\n"},
    {"X.QUALITY=d:bad", "X.M=262144;0|", kUnk + "quality bad\n"},
    {"X.PHYSICAL_TYPE=s:TEMPERATURE", "X.PT=22 X.CONN=22 X.M=1048576;8|X:16384", kWarn},
    {"X.PHYSICAL_TYPE=s:WARMTH", "X.M=1048576;8|X:16384", kWarmth},
    {"X.PARAM_HOMO=d:MAYBE", "X.M=4194304;0|", kUnk + "homotopy param MAYBE" + kYN},
    {"X.RAMPED=d:yes", "X.M=268435456;0|", kUnk + "ramped yes" + kYN},
    {"X.VAR_TYPE=d:STATE", "X.M=33554432;0|", kState},
    {"X.VAR_TYPE=d:LINEAR", "X.M=33554432;0|", kLinear},
    {"X.CONN_TYPE=d:NOSUCH", "X.M=0;8|"},
    {"B1.T=i:4", "B1.T.VALUE=4 B1.T.M=2;0|B1.T:1024"},
    {"B1.T.UPPER=i:4", "B1.T.UPPER=4 B1.T.M=8;0|B1.T:256"},
    {"AL.LB=i:1", "X.LOWER=1 X.M=4;0|X:8"},
    {"X.value=i:1", "|", kBad + "X.value = 1\n"},
    {".VALUE=i:1", "|", kBad + ".VALUE = 1\n"},
    {"X.=i:1", "|", kBad + "X. = 1\n"},
};

TEST(VarAssign, EveryAttributeEveryKindEveryMessage) {
    for (const Row &r : kAssign) {
        Model m;
        rtvarlst_t *l = m.l;
        const std::string where = r.assign, target = where.substr(0, where.find('='));
        value_t v = make(where.substr(where.find('=') + 1));
        HistoryCapture his;
        ChangeTap tap;
        const std::vector<std::string> before = state(l);
        rtouom_strict_uom_checking = r.assign[0] == '!';
        rtovarlst_assign_value(l, target.c_str() + (r.assign[0] == '!'), &v);
        rtouom_strict_uom_checking = 0;
        std::string d, events = tap.take();
        for (const std::string &f : state(l)) d += std::count(before.begin(), before.end(), f) ? "" : f + " ";
        EXPECT_EQ(
            d.substr(0, d.size() - !d.empty()) + "|" + events.substr(0, events.size() - !events.empty()),
            r.diff)
            << where;
        EXPECT_EQ(his.text(), r.message) << where;
        value_destroy(&v);
    }
}

// "TARGET=value" assigned first (unless empty), then looked up with an incoming value (the
// INTEGER 1 unless given): the printed result.
const char kU[] = "!!!UNDEFINED!!!";
struct Trip {
    const char *assign, *lookup, *printed, *incoming = "i:1";
};
const Trip kTrips[] = {
    {"P=i:3", "P.VALUE", "3 {BAR}"},
    {"AL=i:4", "X", "4 {*}"},
    {"X.LB=r:2:-182:0", "X.LOWER", "2 {*}"},
    {"T.STEP=i:9", "T.STEP", "9 {DELTA-F}"},
    {"P.SCALE=i:3", "P.SCALE", "3 {BAR}"},
    {"X.SB=i:7", "X.SBWEIGHT", "7 {*}"},
    {"X.SPEC=d:FIXED", "X.SPECS", "CONST"},
    {"T.INIT=i:5", "T.INITIAL", "5 {F}"},
    {"T.UNITS=s:C", "T.UOM", "C"},
    {"P.BASEUOM=s:ATM", "P.BASEUOM", "ATM"},
    {"X.BOUND=d:RELAXED", "X.BOUND_TYPE", "RELAXED"},
    {"X.MARKED=b:1", "X.MARKED", "TRUE"},
    {"X.QUALITY=d:OVERRIDE", "X.QUALITY", "OVERRIDE"},
    {"X.PHYSICAL_TYPE=s:PRESSURE", "X.PHYSICAL_TYPE", "PRESSURE"},
    {"X.PARAM=d:YES", "X.PARAM_HOMO", "YES"},
    {"P.TARGET=i:2", "P.TARGET_HOMO", "2 {BAR}"},
    {"X.DESCRIPTION=s:FEED", "X.DESCRIPTION", "FEED"},
    {"X.VAR_TYPE=d:INTEGER", "X.VAR_TYPE", "discrete"},
    {"P.THRESHOLD=i:4", "P.THRESHOLD", "4 {BAR}"},
    {"X.RAMPED=d:YES", "X.RAMPED", "YES"},
    {"X.CHANGE=i:1", "X.CHANGE", "1 {*}"},
    {"X.CONN_TYPE=d:LE-COMPONENT", "X.CONN_TYPE", "LE-COMPONENT"},
    {"P.UNITS=s:MPA", "P.INTSCALE", "0.204147 {MM-WATER-60F}"},
    {"P.UNITS=s:PAG", "P.INTSCALE", "2 {N/SQM}"},
    {"", "NOSUCH", kU, "s:junk"},
    {"", "X.MODIFIED", kU},
    {"", "T.VALUE", kU},
    {"", "P.INTSCALE", "2e-05 {BAR}"},
    {"", "X.CHANGE", "0 {*}"},
    {"", "T.CHANGE", kU},
    {"", "X.AB", "NOT AT BOUNDS"},
    {"", "B1.T.AB", kU},
    {"", "X.DESCRIPTION", kU},
    {"", "X.CONN_TYPE", "UNTYPED"},
    {"", "B1.T.VAR_TYPE", ""},
    {"", "P.SHADOW_PRICE", "25 {ATM}", "r:0:20:3"},
    {"", "X.SHADOW_PRICE", kU, "r:0:20:3"},
};

TEST(VarAssign, AssignThenLookupAndLookupAlone) {
    for (const Trip &r : kTrips) {
        Model m;
        HistoryCapture his;
        const std::string a = r.assign;
        value_t in = make(a.empty() ? "u:" : a.substr(a.find('=') + 1)), out = make(r.incoming);
        if (!a.empty()) rtovarlst_assign_value(m.l, a.substr(0, a.find('=')).c_str(), &in);
        rtovarlst_lookup_value(m.l, r.lookup, &out);
        his.text();  // the assignment's own messages are the other test's
        value_print(his.pipe(), &out);
        EXPECT_EQ(his.text(), r.printed) << r.lookup;
        value_destroy(&in);
        value_destroy(&out);
    }
}

TEST(VarAssign, HostileCallersAndBoundaries) {
    HistoryCapture his;
    ChangeTap tap;
    rtvarlst_t *empty = rtovarlst_create(1), *l = rtovarlst_create(1);
    const std::string z(1024, 'Z');
    rtovarlst_set_nvar(l, 1);
    rtovarlst_addvar(l, 1, z.c_str());
    value_t v = make("i:7"), bad = make("i:7"), star = make("s:*"), id = make("d:FIXED");
    bad.value_type = 99;
    StderrCapture err;  // every hostile call is refused with an assertion line
    rtovarlst_assign_value(nullptr, "X", &v);
    rtovarlst_assign_value(l, "X", nullptr);
    rtovarlst_assign_value(l, nullptr, &v);
    rtovarlst_assign_value(l, "X", &bad);
    rtovarlst_lookup_value(nullptr, "X", &v);
    rtovarlst_lookup_value(l, nullptr, &v);
    rtovarlst_lookup_value(l, "X", nullptr);
    rtovarlst_lookup_value(l, "X", &bad);
    const std::string e = err.text();
    for (const char *t : {"NULL varlst'", "NULL value pointer'", "NULL name pointer'", "bad value'"})
        EXPECT_NE(e.find(std::string("Assertion '!! rtovarlst_assign_value: ") + t +
                         " failed in source/varassign/varassign:"),
                  std::string::npos)
            << t;
    EXPECT_EQ(rtovarlst_variable_object(nullptr, "X") + rtovarlst_variable_object(l, nullptr) +
                  rtovarlst_variable_object(empty, "X"),
              0);
    rtovarlst_assign_value(empty, "X", &v);
    rtovarlst_lookup_value(empty, "X", &v);
    EXPECT_EQ(his.text(), "There are no variables to assign.\n");
    for (const std::string &t : {z + "Z.VALUE", std::string(2000, 'Q')}) {
        rtovarlst_assign_value(l, t.c_str(), &v);
        rtovarlst_lookup_value(l, t.c_str(), &v);
        EXPECT_EQ(rtovarlst_variable_object(l, t.c_str()), 0);
        EXPECT_EQ(his.text(), "The name " + t + " is too long for a variable.\n");
    }
    value_print(his.pipe(), &v);  // an empty list and a name too long leave the value alone
    EXPECT_EQ(his.text(), "7");
    EXPECT_EQ(rtovarlst_variable_object(l, (z + ".value").c_str()) * 10 +
                  rtovarlst_variable_object(l, (z + ".UB").c_str()),
              1);
    rtovarlst_assign_value(l, (z + ".VALUE").c_str(), &v);
    EXPECT_EQ(rtovarlst_inq_var_value(l, 1, 0), 7.0);
    EXPECT_EQ(tap.take(), z + ":1024 ");
    char mod[32];
    rtovarlst_set_var_modified_string(l, 1, "1024;0");
    rtovarlst_assign_value(l, (z + ".UNITS").c_str(), &star);
    rtovarlst_inq_var_modified_string(l, 1, mod);
    EXPECT_STREQ(mod, "1024;2");
    zarn::failalloc_set(1);
    rtovarlst_assign_value(l, (z + ".SPEC").c_str(), &id);
    zarn::failalloc_set(0);  // the coerced copy
    EXPECT_EQ(his.text(),
              "!!! value_coerce: unable to allocate memory\n" + kMis + "FIXED to " + z + ".SPEC\n");
    EXPECT_EQ(rtovarlst_inq_spec(l, 1), 0);
    bad.value_type = 0;
    value_destroy(&v);
    value_destroy(&id);
    value_destroy(&star);
    rtovarlst_destroy_c(&l);
    rtovarlst_destroy_c(&empty);
}

}  // namespace
