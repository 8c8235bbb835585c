// Operators over values: one table of (operator, operands, context) against
// (result, messages and what the context was asked), then units through
// values, bad operands, and aliasing of the result.
#include <cmath>

#include "ops_fixture.h"

namespace {

using namespace zarn::test;

using Op = void (*)(const value_t *, const value_t *, value_t *, IValueContext *);

const std::map<std::string, Op> kOps = {
    {"+", value_add},         {"-", value_subtract},   {"*", value_mult},       {"/", value_divide},
    {"**", value_power},      {"AND", value_and},      {"OR", value_or},        {"//", value_concat},
    {"<", value_less},        {">", value_greater},    {"==", value_equal},     {"[]", value_offset},
    {"#", value_change_uom},  {"##", value_coerce_uom},
    {"NOT", [](const value_t *l, const value_t *, value_t *r, IValueContext *c) { value_not(l, r, c); }},
};

struct Row {
    const char *op, *left, *right;
    bool ctx;
    const char *result;
    const char *notes;  // history, then standard error, then the context's log
};

// With a context, W is TRUE, X the INTEGER 7, S the STRING abc; other names are unknown.
const Row kTable[] = {
    // arithmetic: operands coerced to numbers
    {"+", "S:2", "N:3", false, "N:5", ""},
    {"+", "S:x", "N:3", false, "U", ""},
    {"+", "L:[N:1]", "N:1", false, "U", ""},  // a list gives its STRING form, not a number
    {"-", "N:10", "S:4", false, "N:6", ""},
    {"*", "N:2.5", "N:4", false, "N:10 {UNITLESS}", ""},
    {"**", "N:2", "N:10", false, "N:1024 {UNITLESS}", ""},
    {"+", "I:X", "N:1", true, "N:8", "Resolve(X) "},
    {"+", "I:X", "N:1", false, "U", ""},
    // logic: FALSE AND, TRUE OR decide without the right side
    {"AND", "B:0", "I:W", true, "B:FALSE", ""},
    {"AND", "B:1", "I:W", true, "B:TRUE", "Resolve(W) "},
    {"AND", "S:x", "U", false, "B:FALSE", ""},
    {"AND", "B:1", "P", false, "U", ""},
    {"AND", "P", "B:1", false, "U", ""},
    {"OR", "B:1", "I:UNK.Y", true, "B:TRUE", ""},
    {"OR", "B:0", "I:UNK.Y", true, "B:FALSE", "Resolve(UNK.Y) "},
    {"OR", "N:0", "I:W", true, "B:TRUE", "Resolve(W) "},
    {"NOT", "S:FALSE", "U", false, "B:FALSE", ""},
    {"NOT", "U", "U", false, "B:TRUE", ""},
    {"NOT", "E", "U", false, "U", ""},
    // joining
    {"//", "I:BLOCK", "G:.*", false, "G:BLOCK.*", ""},
    {"//", "I:A", "I:B", true, "I:AB", ""},
    {"//", "G:A*", "I:B", false, "S:A*B", ""},
    {"//", "I:X", "S:y", true, "S:Xy", ""},
    {"//", "L:[N:1]", "L:[S:x,L:[]]", false, "L:[ 1 , x , [ ] ]", ""},
    {"//", "L:[N:1]", "S:z", false, "S:[1]z", ""},
    {"//", "S:a", "B:1", false, "S:aTRUE", ""},
    {"//", "S:a", "P", false, "U", ""},
    {"//", "N:1.5 {FT}", "A:1:2", false, "S:1.5 {FT}1:2", ""},
    // ordering: STRINGs by bytes, a STRING against a number as a number
    {"<", "S:ABC", "S:abc", false, "B:TRUE", ""},
    {">", "S:ABC", "S:abc", false, "B:FALSE", ""},
    {"<", "S:10", "N:9", false, "B:FALSE", ""},
    {">", "S:10", "N:9", false, "B:TRUE", ""},
    {"<", "N:9", "S:10", false, "B:TRUE", ""},
    {"<", "S:x", "N:9", false, "U", ""},
    {"<", "I:X", "N:9", true, "B:TRUE", "Resolve(X) "},
    {"<", "I:X", "S:abc", true, "U", "Resolve(X) "},
    {">", "I:S", "S:abb", true, "B:TRUE", "Resolve(S) "},
    {"<", "B:0", "B:1", false, "U", ""},
    {"<", "U", "N:1", false, "U", ""},
    {"<", "N:1", "N:1", false, "B:FALSE", ""},
    // equality: lists item by item, same names before any lookup
    {"==", "L:[N:1,N:2]", "L:[N:1,N:2.0]", false, "B:TRUE", ""},
    {"==", "L:[N:1,N:2]", "L:[N:1]", false, "B:FALSE", ""},
    {"==", "L:[N:1,S:x]", "L:[N:1,S:y]", false, "B:FALSE", ""},
    {"==", "L:[L:[S:x]]", "L:[L:[S:x]]", false, "B:TRUE", ""},
    {"==", "L:[P]", "L:[P]", false, "B:FALSE", "!! value_equal: Unexpected value type\n"},
    {"==", "P", "P", false, "U", "!! value_equal: Unexpected value type\n"},
    {"==", "E", "E", false, "U", "!! value_equal: Unexpected value type\n"},
    {"==", "X", "X", false, "U", "!! value_equal: Unexpected value type\n"},
    {"==", "I:Q.R", "I:Q.R", true, "B:TRUE", ""},
    {"==", "I:Q", "I:R", true, "B:FALSE", "Resolve(Q) Resolve(R) "},
    {"==", "I:S", "S:abc", true, "B:TRUE", "Resolve(S) "},
    {"==", "I:S", "S:abc", false, "U", ""},
    {"==", "S:12", "N:12", false, "B:TRUE", ""},
    {"==", "S:x", "N:1", false, "U", ""},
    {"==", "A:1:2", "A:1:2", false, "B:TRUE", ""},
    {"==", "A:1:2", "A:1:3", false, "B:FALSE", ""},
    {"==", "B:1", "B:1", false, "B:TRUE", ""},
    {"==", "G:A*", "G:a*", false, "B:FALSE", ""},
    {"==", "U", "U", false, "U", ""},
    // list offsets: n is not coerced; a REAL is cut towards zero
    {"[]", "L:[N:10,N:20]", "N:2", false, "N:20", ""},
    {"[]", "L:[N:10,N:20]", "N:2.9", false, "N:20", ""},
    {"[]", "L:[N:10,N:20]", "N:0.9", false, "U", ""},
    {"[]", "L:[N:10,N:20]", "N:3", false, "U", ""},
    {"[]", "L:[N:10,N:20]", "N:1e30", false, "U", ""},
    {"[]", "L:[N:10,N:20]", "S:2", false, "U", ""},
    {"[]", "S:ab", "N:1", false, "U", ""},
};

TEST_F(OpsTest, OperatorTable) {
    rtopipe *pipe = create_queue_rtopipe();
    RecordingContext ctx;
    ctx.objects = {{"W", "B:1"}, {"X", "N:7"}, {"S", "S:abc"}};
    for (const Row &row : kTable) {
        Val l(row.left, pipe), r(row.right, pipe), res("S:old");
        const std::string before = Shown(l.v) + Shown(r.v);
        ctx.log.clear();
        std::string err;
        {
            StderrCapture capture;
            kOps.at(row.op)(&l.v, &r.v, &res.v, row.ctx ? &ctx : nullptr);
            err = capture.text();
        }
        const std::string where = std::string(row.left) + " " + row.op + " " + row.right;
        EXPECT_EQ(Shown(res.v), row.result) << where;
        EXPECT_EQ(history_.text() + err + ctx.log, row.notes) << where;
        EXPECT_EQ(Shown(l.v) + Shown(r.v), before) << where << ": an operand changed";
    }
    rtodestroy(pipe);
}

}  // namespace

namespace {

using namespace zarn::test;

const char kNoSuch[] = "!! rtouom_locate: Unable to locate a unit of measurement named: NOSUCH\n";

struct UnitRow {
    const char *op, *left, *right;
    const char *result;
    double si;  // the stored real, in SI; 0: not checked
    std::string history;
};

// Numbers are held in SI and shown in a unit: sums keep the first operand's
// unit, "#" only changes the unit shown, "##" types or strips a number.
TEST_F(OpsTest, UnitsThroughValues) {
    const double psi = 6894.75729316836, atm = 101325;
    const UnitRow rows[] = {
        {"+", "N:1 {METER}", "N:1 {FT}", "N:1.3048 {METER}", 1.3048, ""},
        {"+", "N:1 {FT}", "N:1 {METER}", "N:4.28084 {FT}", 1.3048, ""},
        {"+", "N:1 {psig}", "N:1 {psig}", "N:16.6959 {PSIG}", 2 * (psi + atm), ""},
        {"-", "N:3 {psig}", "N:1 {psig}", "N:55.4152 {IN-WATER-60F}", 2 * psi, ""},  // PDROP
        {"-", "N:5 {C}", "N:1 {F}", "N:22.2222 {DELTA-C}", 278.15 - 255.372222222222 - 0.555555555555556, ""},
        {"*", "N:2 {METER}", "N:3 {FT}", "N:1.8288 {SQM}", 2 * 0.9144, ""},
        {"#", "N:5.0", "S:FT", "N:16.4042 {FT}", 5, ""},
        {"#", "N:1 {METER}", "S:FT", "N:3.28084 {FT}", 1, ""},
        {"#", "N:1 {METER}", "I:FT", "N:3.28084 {FT}", 1, ""},
        {"#", "N:3 {psig}", "S:ATM", "N:1.20414 {ATM}", 3 * psi + atm, ""},
        {"#", "N:1 {METER}", "S:PSIA", "N:1 {METER}", 1, "!! unable to change the UOM of 1 {METER} to {PSIA}\n"},
        {"#", "N:1", "S:FT", "N:1", 0, "!! unable to change the UOM of 1 to {FT}\n"},
        {"#", "N:1 {METER}", "S:NOSUCH", "N:1 {METER}", 1,
         kNoSuch + std::string("!! unknown UOM NOSUCH unable to coerce 1 {METER} to {NOSUCH}\n")},
        {"#", "S:x", "S:FT", "U", 0, "!! bad # expression: left hand side undefined or wrong type\n"},
        {"#", "N:1", "E", "U", 0, "!! bad # expression: right hand side undefined or not UOM\n"},
        {"##", "N:5.0", "S:FT", "N:5 {FT}", 1.524, ""},
        {"##", "N:3.0", "S:PSIG", "N:3 {PSIG}", 3 * psi + atm, ""},
        {"##", "N:3 {psig}", "S:*", "N:3 {*}", 3, ""},
        {"##", "N:1 {FT}", "S:*", "N:1 {*}", 1, ""},
        {"##", "N:5.0", "S:*", "N:5 {*}", 5, ""},
        {"##", "N:5", "S:FT", "U", 0, "Bad ## expression: both sides are typed.\n"},
        {"##", "N:1 {FT}", "S:METER", "U", 0, "Bad ## expression: both sides are typed.\n"},
        {"##", "N:5.0", "S:NOSUCH", "U", 0,
         kNoSuch + std::string("!! unknown UOM NOSUCH unable to coerce 5 {*} to {NOSUCH}\n")},
        {"##", "N:5.0", "I:FT", "U", 0, "!! bad ## expression: right hand side undefined or wrong type\n"},
        {"##", "S:x", "I:FT", "U", 0,
         "!! bad ## expression: left hand side undefined or wrong type right hand side undefined or wrong type\n"},
    };
    for (const UnitRow &row : rows) {
        Val l(row.left), r(row.right), res;
        kOps.at(row.op)(&l.v, &r.v, &res.v, nullptr);
        const std::string where = std::string(row.left) + " " + row.op + " " + row.right;
        EXPECT_EQ(Shown(res.v), row.result) << where;
        if (row.si != 0) EXPECT_NEAR(res.v.u.number.rval, row.si, 1e-9 * std::abs(row.si)) << where;
        EXPECT_EQ(history_.text(), row.history) << where;
    }
    // A pressure drop lists PSI and PSIA, names first found among the
    // pressures: "#" takes the drop's own index of the name.
    Val a("N:3 {psig}"), b("N:1 {psig}"), drop;
    value_subtract(&a.v, &b.v, &drop.v, nullptr);
    for (const char *name : {"S:PSI", "S:PSIA"}) {
        Val unit(name), shown;
        value_change_uom(&drop.v, &unit.v, &shown.v, nullptr);
        EXPECT_EQ(Shown(shown.v), std::string("N:2 {") + (name + 2) + "}");
    }
    EXPECT_EQ(history_.text(), "");
}

}  // namespace
