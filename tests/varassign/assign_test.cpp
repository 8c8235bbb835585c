// Assignment and lookup by name over a small model: one table of assignments
// (state change, messages, events, modification record), assign -> lookup round
// trips, the lookup-only cases and hostile callers.
#include <gtest/gtest.h>

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

// X untyped with VALUE 10; T a temperature shown in F; P a pressure shown in
// BAR, stored in KPA, internal scale 2; B1.T untyped; N with no internal scale.
// AL is an alias of X.
const char *const kNames[] = {"X", "T", "P", "B1.T", "N"};
rtvarlst_t *model(rtotaglst_t *tags) {
    rtvarlst_t *l = rtovarlst_create(5);
    rtovarlst_set_nvar(l, 5);
    for (int32_t k = 1; k <= 5; ++k) rtovarlst_addvar(l, k, kNames[k - 1]);
    double *s = rtovarlst_vec_scale(l);
    s[0] = s[1] = s[3] = 1, s[2] = 2;
    rtovarlst_set_var_value(l, 1, 10, 0);
    rtovarlst_set_physical_type(l, 2, 22), rtovarlst_set_var_uom(l, 2, 2);
    rtovarlst_set_physical_type(l, 3, 20), rtovarlst_set_var_uom(l, 3, 5), rtovarlst_set_var_baseuom(l, 3, 10);
    rtotaglst_add_tag(tags, "AL", "X"), rtovarlst_set_taglst(l, tags);
    rtovarlst_set_var_shadow_price(l, 3, 50, 1), rtovarlst_set_var_active_bound(l, 5, 17);
    rtovarlst_set_var_active_bound(l, 4, 18), rtovarlst_set_var_quality(l, 5, 4);
    rtovarlst_set_var_type(l, 5, 64, 0), rtovarlst_set_var_type(l, 4, 8, 0), rtovarlst_set_var_conn_type(l, 5, 500);
    return l;
}

// Every field of every item a caller can read, as "NAME.FIELD=value" entries.
std::vector<std::string> state(rtvarlst_t *l) {
    std::vector<std::string> out;
    for (int32_t i = 1; i <= rtovarlst_inq_nvar(l); ++i) {
        const int64_t w = rtovarlst_inq_var_status(l, i);
        int64_t bound = 0;
        varInqBoundType(w, &bound);
        char mod[32] = "-";
        rtovarlst_inq_var_modified_string(l, i, mod);
        const std::string fields[][2] = {
            {"VALUE", g(rtovarlst_inq_var_value(l, i, 0))}, {"INIT", g(rtovarlst_inq_var_initial(l, i, 0))},
            {"LOWER", g(rtovarlst_inq_var_lower(l, i, 0))}, {"UPPER", g(rtovarlst_inq_var_upper(l, i, 0))},
            {"STEP", g(rtovarlst_inq_var_step_inbaseuom(l, i))}, {"SLV", g(rtovarlst_inq_var_slvscl(l, i, 0))},
            {"SB", g(rtovarlst_inq_var_sbweight(l, i))}, {"TARGET", g(rtovarlst_inq_var_target_homo(l, i, 0))},
            {"THRESH", g(rtovarlst_inq_var_threshold(l, i, 0))}, {"SPEC", std::to_string(varInqSpec(w))},
            {"PT", std::to_string(varInqPhysicalType(w))}, {"BOUND", std::to_string(bound)},
            {"MARKED", std::to_string(varInqMarked(w))}, {"TYPE", std::to_string(varInqType(w))},
            {"UOM", std::to_string(rtovarlst_inq_var_uom(l, i))}, {"BASE", std::to_string(rtovarlst_inq_var_baseuom(l, i))},
            {"QUAL", std::to_string(rtovarlst_inq_var_quality(l, i))}, {"PARAM", std::to_string(rtovarlst_inq_var_param_homo(l, i))},
            {"RAMPED", std::to_string(rtovarlst_inq_var_ramped(l, i))}, {"DESC", rtovarlst_inq_var_description(l, i)},
            {"CONN", std::to_string(rtovarlst_inq_var_conn_type(l, i))}, {"MOD", mod}};
        for (const auto &f : fields) out.push_back(std::string(kNames[i - 1]) + "." + f[0] + "=" + f[1]);
    }
    return out;
}

std::string diff(const std::vector<std::string> &a, const std::vector<std::string> &b) {
    std::string d;
    for (size_t k = 0; k < a.size(); ++k)
        if (a[k] != b[k]) d += (d.empty() ? "" : " ") + b[k];
    return d;
}

// "i:5" INTEGER, "r:x:ptype:uom[:base]" REAL held in SI (or in unit base), "s:text" STRING, "d:text" IDENTIFIER,
// "b:1" BOOLEAN, "l:" the list [ 1 ], "u:" UNDEFINED.
value_t make(const std::string &spec) {
    value_t v;
    value_init(&v);
    const std::string t = spec.substr(2);
    double x = 0;
    int p = 0, u = 0, base = 1;
    switch (spec[0]) {
    case 'i': value_assign_int(&v, std::stoi(t)); break;
    case 'r':
        std::sscanf(t.c_str(), "%lf:%d:%d:%d", &x, &p, &u, &base), value_assign_double(&v, x, p, u);
        v.u.number.baseuom = static_cast<int16_t>(base);
        break;
    case 's': value_assign_copy_of_string(&v, t.c_str()); break;
    case 'd': value_assign_copy_of_id(&v, t.c_str()); break;
    case 'b': value_assign_logical(&v, t == "1"); break;
    case 'l': {
        gl_list_t *list = gl_create();
        gl_addtoend(list, value_create_from_int(1));
        value_assign_list(&v, list);
        break;
    }
    }
    return v;
}

struct Row {
    const char *target, *value;
    int strict;
    const char *diff, *message, *events;
};

const char kLinear[] = "Unknown variable type LINEAR. Valid strings are:\nALGEBRAIC\nSTATE\nDIFFERENTIAL\nDISCRETE\n"
                       "INTEGER\nDISCRETE-ESLACK\nBINARY\nPARTIAL-INTEGER\nSEMI-CONTINUOUS\nSEMI-CONTINUOUS-INTEGER\n";

const Row kAssign[] = {
    // real attributes: units, base unit, internal scale, strict checking, same value twice
    {"X", "i:5", 0, "X.VALUE=5 X.MOD=2;0", "", "X:1024 "},
    {"X.VALUE", "i:10", 0, "X.MOD=2;0", "", ""},
    {"T.VALUE", "i:5", 0, "T.VALUE=258.15 T.MOD=2;0", "", "T:1024 "},
    {"T.VALUE", "i:5", 1, "T.MOD=2;0", "Physical type mismatch in assignment: T.VALUE - variable(22)/value(0)\n", ""},
    {"T.VALUE", "r:1e5:20:3", 0, "T.MOD=2;0", "Physical type mismatch in assignment: T.VALUE - variable(22)/value(20)\n", ""},
    {"T", "r:300:22:1", 1, "T.VALUE=300 T.MOD=2;0", "", "T:1024 "},
    {"P.VALUE", "r:2e5:20:5", 0, "P.VALUE=100 P.MOD=2;0", "", "P:1024 "},
    {"P.VALUE", "i:3", 0, "P.VALUE=150 P.MOD=2;0", "", "P:1024 "},
    {"P.VALUE", "r:1:20:3:3", 0, "P.VALUE=50.6625 P.MOD=2;0", "", "P:1024 "},
    {"P.VALUE", "r:7:-181:0", 1, "P.VALUE=7 P.MOD=2;0", "", "P:1024 "},
    {"P.VALUE", "r:8:-182:0", 1, "P.VALUE=4 P.MOD=2;0", "", "P:1024 "},
    {"N", "i:6", 0, "N.VALUE=6 N.MOD=2;0", "", "N:1024 "},
    {"X", "s:5 {K}", 0, "X.VALUE=5 X.PT=22 X.MOD=2;0", "", "X:16384 X:1024 "},
    {"X.LB", "i:1", 0, "X.LOWER=1 X.MOD=4;0", "", "X:8 "},
    {"X.UB", "i:2", 0, "X.UPPER=2 X.MOD=8;0", "", "X:256 "},
    {"X.STEP", "i:-3", 0, "X.STEP=3 X.MOD=16;0", "", "X:2048 "},
    {"T.STEP", "i:9", 0, "T.STEP=5 T.MOD=16;0", "", "T:2048 "},
    {"X.SCALE", "i:4", 0, "X.SLV=4 X.MOD=32;0", "", "X:32 "},
    {"X.SB", "i:7", 0, "X.SB=7 X.MOD=128;0", "", "X:16 "},
    {"X.INITIAL", "i:2", 0, "X.INIT=2 X.MOD=512;0", "", "X:4 "},
    {"X.TARGET", "i:6", 0, "X.TARGET=6 X.MOD=8388608;0", "", "X:262144 "},
    {"X.THRESHOLD", "i:6", 0, "X.THRESH=6 X.MOD=134217728;0", "", "X:1048576 "},
    {"X.CHANGE", "i:1", 0, "X.INIT=9 X.MOD=536870912;0", "", "X:2 "},
    {"T.CHANGE", "i:1", 0, "T.MOD=536870912;0", "You cannot make an assignment to T.CHANGE because T.VALUE is undefined\n", ""},
    {"X.VALUE", "b:1", 0, "X.MOD=2;0", "Assignment type mismatch.  You cannot assign TRUE to X.VALUE\n", ""},
    {"X.VAL", "d:FOO", 0, "X.MOD=2;0", "Assignment type mismatch.  You cannot assign FOO to X.VAL\n", ""},
    {"X.VALS", "l:", 0, "X.MOD=2;0", "Assignment type mismatch.  You cannot assign [ 1 ] to X.VALS\n", ""},
    {"X.values", "u:", 0, "", "Invalid variable name in assignment: X.values = !!!UNDEFINED!!!\n", ""},
    // read-only and unknown attributes: no modification bits
    {"X.INTSCALE", "i:1", 0, "", "The X.INTSCALE attribute is read-only\n", ""},
    {"X.AB", "i:1", 0, "", "The X.AB attribute is read-only\n", ""},
    {"X.SP", "i:1", 0, "", "The X.SP attribute is read-only\n", ""},
    {"X.BLOCKPTR", "i:1", 0, "", "Unknown variable attribute X.BLOCKPTR\n", ""},
    // word attributes
    {"X.SPEC", "d:FIXED", 0, "X.SPEC=1 X.MOD=256;0", "", "X:512 "},
    {"X.SPECS", "d:Fixed", 0, "X.SPEC=1 X.MOD=256;0", "", "X:512 "},
    {"X.SPEC", "d:CALC", 0, "X.MOD=256;0", "", ""},
    {"X.SPEC", "d:fixed", 0, "X.MOD=256;0", "Unknown variable specification fixed\n", ""},
    {"X.SPEC", "s:FIXED", 0, "X.MOD=256;0", "Assignment type mismatch.  You cannot assign FIXED to X.SPEC\n", ""},
    {"T.UNITS", "s:C", 0, "T.UOM=4 T.MOD=1024;2", "", "T:128 "},
    {"T.UOM", "s:PSIA", 0, "T.MOD=1024;2", "Unable to locate definition for UOM {PSIA}.  Unable to assign to T.UOM.\n", "T:128 "},
    {"T.UNIT", "s:NOSUCH", 0, "T.MOD=1024;2", "!! rtouom_locate: Unable to locate a unit of measurement named: NOSUCH\n"
                                              "Unable to locate definition for UOM {NOSUCH}.  Unable to assign to T.UNIT.\n", "T:128 "},
    {"X.UNITS", "s:ATM", 0, "X.PT=20 X.UOM=3 X.MOD=1024;2", "", "X:16384 X:128 "},
    {"X.UNITS", "u:", 0, "X.MOD=1024;2", "Assignment type mismatch.  You cannot assign !!!UNDEFINED!!! to X.UNITS\n", "X:128 "},
    {"T.BASEUOM", "s:C", 0, "T.BASE=4 T.MOD=524288;0", "", "T:65536 "},
    {"X.BASEUOM", "s:BAR", 0, "X.PT=20 X.BASE=5 X.MOD=524288;0", "", "X:16384 X:65536 "},
    {"X.BOUND", "d:SOFT", 0, "X.BOUND=2 X.MOD=2048;0", "", "X:1 "},
    {"X.BOUND_TYPE", "d:WEAK", 0, "X.MOD=2048;0", "Unknown variable bound type WEAK\n", "X:1 "},
    {"X.MARKED", "b:1", 0, "X.MARKED=1 X.MOD=4096;0", "", "X:4096 "},
    {"X.MARKED", "i:1", 0, "X.MOD=4096;0", "Assignment type mismatch. You cannot assign 1 to X.MARKED\n", "X:4096 "},
    {"X.MODIFIED", "i:-6", 0, "X.MOD=0;6", "", ""},
    {"X.MODIFIED", "i:5", 0, "X.MOD=5;0", "", ""},
    {"X.MODIFIED", "i:-2147483648", 0, "X.MOD=0;-2147483648", "", ""},  // its magnitude still fits mask2
    {"X.MODIFIED", "r:2.5:0:0", 0, "", "Assignment type mismatch. You cannot assign 2.5 {*} to X.MODIFIED\n", ""},
    {"X.QUALITY", "d:BADIGNORE", 0, "X.QUAL=3 X.MOD=262144;0", "", "X:8192 "},
    {"X.QUALITY", "d:bad", 0, "X.MOD=262144;0", "Unknown variable quality bad\n", ""},
    {"X.PHYSICAL_TYPE", "s:TEMPERATURE", 0, "X.PT=22 X.CONN=22 X.MOD=1048576;8",
     "Warning: Assigning TEMPERATURE to X.PHYSICAL_TYPE.  This may have serious consequences.\n", "X:16384 "},
    {"X.PHYSICAL_TYPE", "s:WARMTH", 0, "X.MOD=1048576;8",
     "Unable to locate definition for Physical Type WARMTH.  Unable to assign to X.PHYSICAL_TYPE.\n", "X:16384 "},
    {"X.PARAM", "d:YES", 0, "X.PARAM=1 X.MOD=4194304;0", "", "X:131072 "},
    {"X.PARAM_HOMO", "d:MAYBE", 0, "X.MOD=4194304;0", "Unknown variable homotopy param MAYBE.  Valid strings are YES or NO.\n", ""},
    {"X.RAMPED", "d:YES", 0, "X.RAMPED=1 X.MOD=268435456;0", "", "X:524288 "},
    {"X.RAMPED", "d:yes", 0, "X.MOD=268435456;0", "Unknown variable ramped yes.  Valid strings are YES or NO.\n", ""},
    {"X.DESCRIPTION", "s:feed rate", 0, "X.DESC=feed rate X.MOD=16777216;0", "", ""},
    {"X.VAR_TYPE", "d:BINARY", 0, "X.TYPE=5 X.MOD=33554432;0", "", ""},
    {"X.VAR_TYPE", "d:STATE", 0, "X.MOD=33554432;0",
     "!! rtovarlst_set_var_type: State variable must specify non-zero offset to differential variable\n", ""},
    {"X.VAR_TYPE", "d:LINEAR", 0, "X.MOD=33554432;0", kLinear, ""},
    {"X.CONN_TYPE", "d:RON-CLEAR", 0, "X.CONN=1026 X.MOD=0;8", "", ""},
    {"X.CONN_TYPE", "d:NOSUCH", 0, "X.MOD=0;8", "", ""},
    // names: dotted, aliases, lower-case suffix, unknown
    {"B1.T", "i:4", 0, "B1.T.VALUE=4 B1.T.MOD=2;0", "", "B1.T:1024 "},
    {"B1.T.UPPER", "i:4", 0, "B1.T.UPPER=4 B1.T.MOD=8;0", "", "B1.T:256 "},
    {"AL.LB", "i:1", 0, "X.LOWER=1 X.MOD=4;0", "", "X:8 "},
    {"X.value", "i:1", 0, "", "Invalid variable name in assignment: X.value = 1\n", ""},
    {"NOSUCH.VALUE", "i:1", 0, "", "Invalid variable name in assignment: NOSUCH.VALUE = 1\n", ""},
    {".VALUE", "i:1", 0, "", "Invalid variable name in assignment: .VALUE = 1\n", ""},
    {"X.", "i:1", 0, "", "Invalid variable name in assignment: X. = 1\n", ""},
};

TEST(VarAssign, EveryAttributeEveryKindEveryMessage) {
    for (const Row &r : kAssign) {
        rtotaglst_t *tags = rtotaglst_create(1);
        rtvarlst_t *l = model(tags);
        value_t v = make(r.value);
        HistoryCapture his;
        ChangeTap tap;
        const std::vector<std::string> before = state(l);
        rtouom_strict_uom_checking = r.strict;
        rtovarlst_assign_value(l, r.target, &v);
        rtouom_strict_uom_checking = 0;
        EXPECT_EQ(diff(before, state(l)), r.diff) << r.target << " = " << r.value;
        EXPECT_EQ(his.text(), r.message) << r.target << " = " << r.value;
        EXPECT_EQ(tap.take(), r.events) << r.target << " = " << r.value;
        value_destroy(&v), rtovarlst_destroy_c(&l), rtotaglst_destroy(tags);
    }
}

// Assigned first (when given), then looked up with an incoming value: the printed result.
struct Trip {
    const char *assign, *value, *lookup, *incoming, *printed;
};
const Trip kTrips[] = {
    {"P", "i:3", "P.VALUE", "i:0", "3 {BAR}"},
    {"T", "i:5", "T.VALS", "i:0", "5 {F}"},
    {"AL", "i:4", "X", "i:0", "4 {*}"},
    {"X.LB", "r:2:-182:0", "X.LOWER", "i:0", "2 {*}"},
    {"T.UPPER", "r:300:22:1", "T.UB", "i:0", "80.33 {F}"},
    {"T.STEP", "i:9", "T.STEP", "i:0", "9 {DELTA-F}"},
    {"P.SCALE", "i:3", "P.SCALE", "i:0", "3 {BAR}"},
    {"X.SB", "i:7", "X.SBWEIGHT", "i:0", "7 {*}"},
    {"X.SPEC", "d:FIXED", "X.SPECS", "i:0", "CONST"},
    {"T.INIT", "i:5", "T.INITIAL", "i:0", "5 {F}"},
    {"T.UNITS", "s:C", "T.UOM", "i:0", "C"},
    {"P.BASEUOM", "s:ATM", "P.BASEUOM", "i:0", "ATM"},
    {"X.BOUND", "d:RELAXED", "X.BOUND_TYPE", "i:0", "RELAXED"},
    {"X.MARKED", "b:1", "X.MARKED", "i:0", "TRUE"},
    {"X.QUALITY", "d:OVERRIDE", "X.QUALITY", "i:0", "OVERRIDE"},
    {"X.PHYSICAL_TYPE", "s:PRESSURE", "X.PHYSICAL_TYPE", "i:0", "PRESSURE"},
    {"X.PARAM", "d:YES", "X.PARAM_HOMO", "i:0", "YES"},
    {"P.TARGET", "i:2", "P.TARGET_HOMO", "i:0", "2 {BAR}"},
    {"X.DESCRIPTION", "s:FEED", "X.DESCRIPTION", "i:0", "FEED"},
    {"X.VAR_TYPE", "d:INTEGER", "X.VAR_TYPE", "i:0", "discrete"},
    {"P.THRESHOLD", "i:4", "P.THRESHOLD", "i:0", "4 {BAR}"},
    {"X.RAMPED", "d:YES", "X.RAMPED", "i:0", "YES"},
    {"X.CHANGE", "i:1", "X.CHANGE", "i:0", "1 {*}"},
    {"X.CONN_TYPE", "d:LE-COMPONENT", "X.CONN_TYPE", "i:0", "LE-COMPONENT"},
    {"P.UNITS", "s:MPA", "P.INTSCALE", "i:0", "0.204147 {MM-WATER-60F}"},  // the last unit of PDROP
    {"P.UNITS", "s:PAG", "P.INTSCALE", "i:0", "2 {N/SQM}"},                // beyond PDROP's units
    // lookup only: the incoming value is emptied first
    {nullptr, "u:", "NOSUCH", "s:junk", "!!!UNDEFINED!!!"},
    {nullptr, "u:", "X.value", "i:1", "!!!UNDEFINED!!!"},
    {nullptr, "u:", "X.MODIFIED", "i:1", "!!!UNDEFINED!!!"},
    {nullptr, "u:", "X.BLOCKPTR", "i:1", "!!!UNDEFINED!!!"},
    {nullptr, "u:", "T.VALUE", "i:1", "!!!UNDEFINED!!!"},
    {nullptr, "u:", "P.INTSCALE", "i:1", "2e-05 {BAR}"},  // the scale itself, as an SI number
    {nullptr, "u:", "N.INTSCALE", "i:1", "!!!UNDEFINED!!!"},
    {nullptr, "u:", "X.CHANGE", "i:1", "0 {*}"},
    {nullptr, "u:", "T.CHANGE", "i:1", "!!!UNDEFINED!!!"},
    {nullptr, "u:", "X.SB", "i:1", "1 {*}"},
    {nullptr, "u:", "X.AB", "i:1", "NOT AT BOUNDS"},
    {nullptr, "u:", "N.ACTIVE_BOUND", "i:1", "PINCHED"},
    {nullptr, "u:", "B1.T.AB", "i:1", "!!!UNDEFINED!!!"},
    {nullptr, "u:", "X.DESCRIPTION", "i:1", "!!!UNDEFINED!!!"},
    {nullptr, "u:", "X.SPEC", "i:1", "CALC"},
    {nullptr, "u:", "X.BOUND", "i:1", "HARD"},
    {nullptr, "u:", "X.QUALITY", "i:1", "GOOD"},
    {nullptr, "u:", "N.QUALITY", "i:1", "!!!UNDEFINED!!!"},
    {nullptr, "u:", "X.VAR_TYPE", "i:1", "algebraic"},
    {nullptr, "u:", "N.VAR_TYPE", "i:1", "semi-continuous-integer"},
    {nullptr, "u:", "B1.T.VAR_TYPE", "i:1", ""},
    {nullptr, "u:", "X.CONN_TYPE", "i:1", "UNTYPED"},
    {nullptr, "u:", "N.CONN_TYPE", "i:1", ""},
    {nullptr, "u:", "X.PARAM", "i:1", "NO"},
    {nullptr, "u:", "T.UNITS", "i:1", "F"},
    {nullptr, "u:", "T.BASEUOM", "i:1", "K"},
    {nullptr, "u:", "T.PHYSICAL_TYPE", "i:1", "TEMPERATURE"},
    {nullptr, "u:", "X.SP", "r:0:20:3", "!!!UNDEFINED!!!"},
    {nullptr, "u:", "P.SHADOW_PRICE", "r:0:20:3", "25 {ATM}"},
};

TEST(VarAssign, AssignThenLookupAndLookupAlone) {
    for (const Trip &r : kTrips) {
        rtotaglst_t *tags = rtotaglst_create(1);
        rtvarlst_t *l = model(tags);
        HistoryCapture his;
        value_t in = make(r.value), out = make(r.incoming);
        if (r.assign) rtovarlst_assign_value(l, r.assign, &in);
        rtovarlst_lookup_value(l, r.lookup, &out);
        his.text();  // the assignment's own messages are the other test's
        value_print(his.pipe(), &out);
        EXPECT_EQ(his.text(), r.printed) << r.lookup;
        value_destroy(&in), value_destroy(&out), rtovarlst_destroy_c(&l), rtotaglst_destroy(tags);
    }
}

TEST(VarAssign, HostileCallersAndBoundaries) {
    HistoryCapture his;
    ChangeTap tap;
    rtvarlst_t *empty = rtovarlst_create(1), *l = rtovarlst_create(1);
    rtovarlst_set_nvar(l, 1), rtovarlst_addvar(l, 1, std::string(1024, 'Z').c_str());
    value_t v = make("i:7"), bad = make("i:7");
    bad.value_type = 99;
    {
        StderrCapture err;
        rtovarlst_assign_value(nullptr, "X", &v), rtovarlst_assign_value(l, "X", nullptr);
        rtovarlst_assign_value(l, nullptr, &v), rtovarlst_assign_value(l, "X", &bad);
        rtovarlst_lookup_value(nullptr, "X", &v), rtovarlst_lookup_value(l, nullptr, &v), rtovarlst_lookup_value(l, "X", nullptr);
        rtovarlst_lookup_value(l, "X", &bad);
        const std::string e = err.text();
        for (const char *t : {"NULL varlst'", "NULL value pointer'", "NULL name pointer'", "bad value'"})
            EXPECT_NE(e.find(std::string("Assertion '!! rtovarlst_assign_value: ") + t + " failed in source/varassign/varassign:"),
                      std::string::npos) << t;
    }
    EXPECT_EQ(rtovarlst_variable_object(nullptr, "X") + rtovarlst_variable_object(l, nullptr) +
                  rtovarlst_variable_object(empty, "X"), 0);
    rtovarlst_assign_value(empty, "X", &v), rtovarlst_lookup_value(empty, "X", &v);
    EXPECT_EQ(his.text(), "There are no variables to assign.\n");
    const std::string z(1024, 'Z'), long1025 = z + "Z.VALUE", long2000 = std::string(2000, 'Q');
    for (const std::string &t : {long1025, long2000}) {
        rtovarlst_assign_value(l, t.c_str(), &v), rtovarlst_lookup_value(l, t.c_str(), &v);
        EXPECT_EQ(rtovarlst_variable_object(l, t.c_str()), 0);
        EXPECT_EQ(his.text(), "The name " + t + " is too long for a variable.\n");
    }
    value_print(his.pipe(), &v);  // an empty list and a name too long leave the value alone
    EXPECT_EQ(his.text(), "7");
    EXPECT_EQ(rtovarlst_variable_object(l, (z + ".value").c_str()) * 10 + rtovarlst_variable_object(l, (z + ".UB").c_str()), 1);
    rtovarlst_assign_value(l, (z + ".VALUE").c_str(), &v);
    EXPECT_EQ(rtovarlst_inq_var_value(l, 1, 0), 7.0);
    EXPECT_EQ(tap.take(), z + ":1024 ");
    value_t star = make("s:*");
    rtovarlst_set_var_modified_string(l, 1, "1024;0"), rtovarlst_assign_value(l, (z + ".UNITS").c_str(), &star);
    char mod[32];
    rtovarlst_inq_var_modified_string(l, 1, mod), value_destroy(&star);
    EXPECT_STREQ(mod, "1024;2");
    value_t id = make("d:FIXED");
    zarn::failalloc_set(1);  // the coerced copy of the identifier
    rtovarlst_assign_value(l, (z + ".SPEC").c_str(), &id);
    zarn::failalloc_set(0);
    EXPECT_EQ(his.text(), "!!! value_coerce: unable to allocate memory\n"
                          "Assignment type mismatch.  You cannot assign FIXED to " + z + ".SPEC\n");
    EXPECT_EQ(rtovarlst_inq_spec(l, 1), 0);
    bad.value_type = 0, value_destroy(&v), value_destroy(&id), rtovarlst_destroy_c(&l), rtovarlst_destroy_c(&empty);
}

}  // namespace
