// Operators over values: one table of (operator, operands, context) against
// (result, messages and what the context was asked), and units through values.
#include <cmath>

#include "ops_fixture.h"

namespace {

using namespace zarn::test;

using Op = void (*)(const value_t *, const value_t *, value_t *, IValueContext *);

const std::map<std::string, Op> kOps = {
    {"+", value_add}, {"-", value_subtract}, {"**", value_power}, {"AND", value_and}, {"OR", value_or},
    {"//", value_concat}, {"<", value_less}, {">", value_greater}, {"==", value_equal}, {"[]", value_offset},
    {"#", value_change_uom}, {"##", value_coerce_uom},
    {"NOT", [](const value_t *l, const value_t *, value_t *r, IValueContext *c) { value_not(l, r, c); }}};

struct Row {
    const char *op, *left, *right;
    bool ctx;
    const char *result, *notes;  // notes: history, standard error, then the context's log
};

const char kUnexpected[] = "!! value_equal: Unexpected value type\n";

// With a context, W is TRUE, X the INTEGER 7, S the STRING abc; other names are unknown.
const Row kTable[] = {
    {"+", "S:2", "N:3", 0, "N:5", ""}, {"+", "S:x", "N:3", 0, "U", ""}, {"+", "L:[N:1]", "N:1", 0, "U", ""},
    {"+", "I:X", "N:1", 1, "N:8", "Resolve(X) "}, {"**", "N:2", "N:10", 0, "N:1024 {UNITLESS}", ""},
    // FALSE AND, TRUE OR decide without the right side
    {"AND", "B:0", "I:W", 1, "B:FALSE", ""}, {"AND", "B:1", "I:W", 1, "B:TRUE", "Resolve(W) "},
    {"AND", "S:x", "U", 0, "B:FALSE", ""}, {"AND", "P", "B:1", 0, "U", ""}, {"OR", "B:1", "I:UNK.Y", 1, "B:TRUE", ""},
    {"OR", "B:0", "I:UNK.Y", 1, "B:FALSE", "Resolve(UNK.Y) "}, {"OR", "P", "B:1", 0, "U", ""},
    {"NOT", "S:FALSE", "U", 0, "B:FALSE", ""}, {"NOT", "E", "U", 0, "U", ""},
    {"//", "I:BLOCK", "G:.*", 0, "G:BLOCK.*", ""}, {"//", "I:A", "I:B", 1, "I:AB", ""},
    {"//", "G:A*", "I:B", 0, "S:A*B", ""}, {"//", "I:X", "S:y", 1, "S:Xy", ""},
    {"//", "L:[N:1]", "L:[S:x,L:[]]", 0, "L:[ 1 , x , [ ] ]", ""}, {"//", "L:[N:1]", "S:z", 0, "S:[1]z", ""},
    {"//", "S:a", "P", 0, "U", ""},
    // STRINGs by bytes; a STRING against a number as a number
    {"<", "S:ABC", "S:abc", 0, "B:TRUE", ""}, {">", "S:ABC", "S:abc", 0, "B:FALSE", ""},
    {"<", "S:10", "N:9", 0, "B:FALSE", ""}, {">", "S:10", "N:9", 0, "B:TRUE", ""}, {"<", "S:x", "N:9", 0, "U", ""},
    {"<", "I:X", "N:9", 1, "B:TRUE", "Resolve(X) "}, {"<", "B:0", "B:1", 0, "U", ""}, {"<", "U", "N:1", 0, "U", ""},
    {"<", "N:1", "N:1", 0, "B:FALSE", ""},
    // lists item by item; the same names equal before any lookup
    {"==", "L:[N:1,N:2]", "L:[N:1,N:2.0]", 0, "B:TRUE", ""}, {"==", "L:[N:1,N:2]", "L:[N:1]", 0, "B:FALSE", ""},
    {"==", "L:[S:x,N:2]", "L:[S:y,N:2]", 0, "B:FALSE", ""}, {"==", "L:[P]", "L:[P]", 0, "B:FALSE", kUnexpected},
    {"==", "P", "P", 0, "U", kUnexpected}, {"==", "E", "E", 0, "U", kUnexpected}, {"==", "X", "X", 0, "U", kUnexpected},
    {"==", "I:Q.R", "I:Q.R", 1, "B:TRUE", ""}, {"==", "I:Q", "I:R", 1, "B:FALSE", "Resolve(Q) Resolve(R) "},
    {"==", "I:S", "S:abc", 1, "B:TRUE", "Resolve(S) "}, {"==", "I:S", "S:abc", 0, "U", ""},
    {"==", "S:12", "N:12", 0, "B:TRUE", ""}, {"==", "A:1:2", "A:1:3", 0, "B:FALSE", ""},
    // n is not coerced; a REAL is cut towards zero
    {"[]", "L:[N:10,N:20]", "N:2.9", 0, "N:20", ""}, {"[]", "L:[N:10,N:20]", "N:0.9", 0, "U", ""},
    {"[]", "L:[N:10,N:20]", "N:3", 0, "U", ""}, {"[]", "L:[N:10,N:20]", "S:2", 0, "U", ""}};

TEST_F(OpsTest, OperatorTable) {
    rtopipe *pipe = create_queue_rtopipe();
    RecordingContext ctx;
    for (const char *def : {"W=B:1", "X=N:7", "S=S:abc"}) ctx.define(std::string(def, 1).c_str(), Val(def + 2).v);
    for (const Row &row : kTable) {
        Val l(row.left, pipe), r(row.right, pipe), res("S:old");
        const std::string before = Shown(l.v) + Shown(r.v), where = std::string(row.left) + row.op + row.right;
        ctx.log.clear();
        StderrCapture err;
        kOps.at(row.op)(&l.v, &r.v, &res.v, row.ctx ? &ctx : nullptr);
        EXPECT_EQ(Shown(res.v), row.result) << where;
        EXPECT_EQ(history_.text() + err.text() + ctx.log, row.notes) << where;
        EXPECT_EQ(Shown(l.v) + Shown(r.v), before) << where << ": an operand changed";
    }
    rtodestroy(pipe);
}

const std::string kNoSuch = "!! rtouom_locate: Unable to locate a unit of measurement named: NOSUCH\n";
const std::string kUnable = "!! unable to change the UOM of ";

// Numbers are held in SI and shown in a unit: sums show the first operand's
// unit, "#" only changes the unit shown, "##" types or strips a number.
TEST_F(OpsTest, UnitsThroughValues) {
    const double psi = 6894.75729316836, atm = 101325;
    const struct {
        const char *op, *left, *right, *result;
        double si;  // the stored real; 0: not checked
        std::string history;
    } rows[] = {
        {"+", "N:1 {METER}", "N:1 {FT}", "N:1.3048 {METER}", 1.3048, ""},
        {"+", "N:1 {FT}", "N:1 {METER}", "N:4.28084 {FT}", 1.3048, ""},
        {"-", "N:3 {psig}", "N:1 {psig}", "N:55.4152 {IN-WATER-60F}", 2 * psi, ""},  // a PDROP
        {"-", "N:5 {C}", "N:1 {F}", "N:22.2222 {DELTA-C}", 278.15 - 255.372222222222 - 0.555555555555556, ""},
        {"#", "N:5.0", "S:FT", "N:16.4042 {FT}", 5, ""}, {"#", "N:1 {METER}", "I:FT", "N:3.28084 {FT}", 1, ""},
        {"#", "N:3 {psig}", "S:ATM", "N:1.20414 {ATM}", 3 * psi + atm, ""},
        {"#", "N:1 {METER}", "S:PSIA", "N:1 {METER}", 1, kUnable + "1 {METER} to {PSIA}\n"},
        {"#", "N:1", "S:FT", "N:1", 0, kUnable + "1 to {FT}\n"},
        {"#", "N:1 {METER}", "S:NOSUCH", "N:1 {METER}", 1,
         kNoSuch + "!! unknown UOM NOSUCH unable to coerce 1 {METER} to {NOSUCH}\n"},
        {"#", "S:x", "S:FT", "U", 0, "!! bad # expression: left hand side undefined or wrong type\n"},
        {"#", "N:1", "E", "U", 0, "!! bad # expression: right hand side undefined or not UOM\n"},
        {"##", "N:5.0", "S:FT", "N:5 {FT}", 1.524, ""}, {"##", "N:3.0", "S:PSIG", "N:3 {PSIG}", 3 * psi + atm, ""},
        {"##", "N:3 {psig}", "S:*", "N:3 {*}", 3, ""}, {"##", "N:5.0", "S:*", "N:5 {*}", 5, ""},
        {"##", "N:5", "S:FT", "U", 0, "Bad ## expression: both sides are typed.\n"},
        {"##", "N:5.0", "S:NOSUCH", "U", 0, kNoSuch + "!! unknown UOM NOSUCH unable to coerce 5 {*} to {NOSUCH}\n"},
        {"##", "S:x", "I:FT", "U", 0,
         "!! bad ## expression: left hand side undefined or wrong type right hand side undefined or wrong type\n"},
    };
    for (const auto &row : rows) {
        Val l(row.left), r(row.right), res;
        kOps.at(row.op)(&l.v, &r.v, &res.v, nullptr);
        EXPECT_EQ(Shown(res.v), row.result) << row.left << row.op << row.right;
        if (row.si != 0) { EXPECT_NEAR(res.v.u.number.rval, row.si, 1e-9 * std::abs(row.si)) << row.left; }
        EXPECT_EQ(history_.text(), row.history) << row.left << row.op << row.right;
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
