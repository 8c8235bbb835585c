// Operations on values: the operator table, units through values, string positions, the queries
// a context receives and the lists built from its answers, and short memory.
#include <cmath>

#include "value_fixture.h"

namespace {

using namespace zarn::test;

// "K:text" (text up to ',' or ']'), "L:[a,b]". N: is its text read as a number (units in braces),
// A:1:2 a range, P a pipe over `pipe`, E the choices LOW and HIGH, X a zero bounded number, U nothing.
void Parse(const std::string &s, size_t &i, value_t *v, rtopipe *pipe) {
    value_init(v);
    const char k = s[i];
    i += (i + 1 < s.size() && s[i + 1] == ':') ? 2 : 1;
    if (k == 'L') {
        gl_list_t *l = gl_create();
        for (++i; s[i] != ']'; i += s[i] == ',') {
            value_t *item = Heap();
            Parse(s, i, item, pipe);
            gl_addtoend(l, item);
        }
        ++i;
        return value_assign_list(v, l);
    }
    const size_t end = std::min(s.find_first_of(",]", i), s.size());
    const std::string t = s.substr(i, end - i);
    i = end;
    if (k == 'N') {
        V str;
        value_assign_copy_of_string(&str.v, t.c_str());
        value_coerce(&str.v, v, number_value, nullptr);
    }
    if (k == 'S') value_assign_copy_of_string(v, t.c_str());
    if (k == 'I') value_assign_copy_of_id(v, t.c_str());
    if (k == 'G') value_assign_glob(v, zarn::xstrdup(t.c_str()));
    if (k == 'B') value_assign_logical(v, t == "1");
    if (k == 'P') value_assign_pipe(v, copyPipe(pipe));
    if (k == 'A') value_assign_range(v, std::atoi(t.c_str()), std::atoi(t.c_str() + t.find(':') + 1));
    if (k == 'E') Take(v, Enum({"LOW", "HIGH"}));
    if (k == 'X') v->value_type = boundednumber_value;
}

// An owning value made from the text notation.
struct Val : V {
    explicit Val(const std::string &text = "U", rtopipe *pipe = nullptr) {
        size_t i = 0;
        Parse(text, i, &v, pipe);
    }
};

std::string Shown(const value_t &v) {  // "<kind letter>:<printed form>"
    return v.value_type ? std::string(1, "UNSIRGBPLAEX"[v.value_type]) + ":" + Printed(&v) : "U";
}

using OpsTest = ValueTest;

using Op = void (*)(const value_t *, const value_t *, value_t *, IValueContext *);
using Fn = void (*)(value_t *, IValueContext *);

const std::map<std::string, Op> kOps = {
    {"+", value_add},
    {"-", value_subtract},
    {"**", value_power},
    {"AND", value_and},
    {"OR", value_or},
    {"//", value_concat},
    {"<", value_less},
    {">", value_greater},
    {"==", value_equal},
    {"[]", value_offset},
    {"#", value_change_uom},
    {"##", value_coerce_uom},
    {"NOT", [](const value_t *l, const value_t *, value_t *r, IValueContext *c) { value_not(l, r, c); }}};

// notes: history, standard error, then the context's log.
struct Row {
    const char *op, *left, *right;
    bool ctx;
    const char *result, *notes = "";
};

const char kUnexpected[] = "!! value_equal: Unexpected value type\n";

// With a context, W is TRUE, X the INTEGER 7, S the STRING abc; other names are unknown. FALSE AND and TRUE
// OR decide without the right side; STRINGs compare by bytes, with a number as a number; lists item by item;
// the same names are equal before any lookup; an offset is not coerced and a REAL one is cut towards zero.
const Row kTable[] = {
    {"+", "S:2", "N:3", 0, "N:5"},
    {"+", "S:x", "N:3", 0, "U"},
    {"+", "L:[N:1]", "N:1", 0, "U"},
    {"+", "I:X", "N:1", 1, "N:8", "Resolve(X) "},
    {"**", "N:2", "N:10", 0, "N:1024 {UNITLESS}"},
    {"AND", "B:0", "I:W", 1, "B:FALSE"},
    {"AND", "B:1", "I:W", 1, "B:TRUE", "Resolve(W) "},
    {"AND", "S:x", "U", 0, "B:FALSE"},
    {"AND", "P", "B:1", 0, "U"},
    {"OR", "B:1", "I:UNK.Y", 1, "B:TRUE"},
    {"OR", "B:0", "I:UNK.Y", 1, "B:FALSE", "Resolve(UNK.Y) "},
    {"OR", "P", "B:1", 0, "U"},
    {"NOT", "S:FALSE", "U", 0, "B:FALSE"},
    {"NOT", "E", "U", 0, "U"},
    {"//", "I:BLOCK", "G:.*", 0, "G:BLOCK.*"},
    {"//", "I:A", "I:B", 1, "I:AB"},
    {"//", "G:A*", "I:B", 0, "S:A*B"},
    {"//", "I:X", "S:y", 1, "S:Xy"},
    {"//", "L:[N:1]", "L:[S:x,L:[]]", 0, "L:[ 1 , x , [ ] ]"},
    {"//", "L:[N:1]", "S:z", 0, "S:[1]z"},
    {"//", "S:a", "P", 0, "U"},
    {"<", "S:ABC", "S:abc", 0, "B:TRUE"},
    {">", "S:ABC", "S:abc", 0, "B:FALSE"},
    {"<", "S:10", "N:9", 0, "B:FALSE"},
    {">", "S:10", "N:9", 0, "B:TRUE"},
    {"<", "S:x", "N:9", 0, "U"},
    {"<", "I:X", "N:9", 1, "B:TRUE", "Resolve(X) "},
    {"<", "B:0", "B:1", 0, "U"},
    {"<", "U", "N:1", 0, "U"},
    {"<", "N:1", "N:1", 0, "B:FALSE"},
    {"==", "L:[N:1,N:2]", "L:[N:1,N:2.0]", 0, "B:TRUE"},
    {"==", "L:[N:1,N:2]", "L:[N:1]", 0, "B:FALSE"},
    {"==", "L:[S:x,N:2]", "L:[S:y,N:2]", 0, "B:FALSE"},
    {"==", "L:[P]", "L:[P]", 0, "B:FALSE", kUnexpected},
    {"==", "P", "P", 0, "U", kUnexpected},
    {"==", "E", "E", 0, "U", kUnexpected},
    {"==", "X", "X", 0, "U", kUnexpected},
    {"==", "I:Q.R", "I:Q.R", 1, "B:TRUE"},
    {"==", "I:Q", "I:R", 1, "B:FALSE", "Resolve(Q) Resolve(R) "},
    {"==", "I:S", "S:abc", 1, "B:TRUE", "Resolve(S) "},
    {"==", "I:S", "S:abc", 0, "U"},
    {"==", "S:12", "N:12", 0, "B:TRUE"},
    {"==", "A:1:2", "A:1:3", 0, "B:FALSE"},
    {"[]", "L:[N:10,N:20]", "N:2.9", 0, "N:20"},
    {"[]", "L:[N:10,N:20]", "N:0.9", 0, "U"},
    {"[]", "L:[N:10,N:20]", "N:3", 0, "U"},
    {"[]", "L:[N:10,N:20]", "S:2", 0, "U"},
};

TEST_F(OpsTest, OperatorTable) {
    rtopipe *pipe = create_queue_rtopipe();
    RecordingContext ctx;
    for (const char *def : {"W=B:1", "X=N:7", "S=S:abc"})
        ctx.define(std::string(def, 1).c_str(), Val(def + 2).v);
    for (const Row &row : kTable) {
        Val l(row.left, pipe), r(row.right, pipe), res("S:old");
        const std::string before = Shown(l.v) + Shown(r.v),
                          where = std::string(row.left) + row.op + row.right;
        ctx.log.clear();
        StderrCapture err;
        kOps.at(row.op)(&l.v, &r.v, &res.v, row.ctx ? &ctx : nullptr);
        EXPECT_EQ(Shown(res.v), row.result) << where;
        EXPECT_EQ(history_.text() + err.text() + ctx.log, row.notes) << where;
        EXPECT_EQ(Shown(l.v) + Shown(r.v), before) << where << ": an operand changed";
    }
    Val list("L:[N:4]"), same("N:2"),
        one("N:1");  // a list where a number is wanted; a result that is an operand
    value_sqrt(&list.v, nullptr);
    value_add(&same.v, &one.v, &same.v, nullptr);
    EXPECT_EQ(Shown(list.v) + Shown(same.v), "UU");
    rtodestroy(pipe);
}

const std::string kNoSuch =
                      "!! rtouom_locate: Unable to locate a unit of measurement named: NOSUCH\n"
                      "!! unknown UOM NOSUCH unable to coerce ",
                  kUnable = "!! unable to change the UOM of ";
const std::string kBadHash = "!! bad # expression: ",
                  kBoth =
                      "!! bad ## expression: left hand side undefined or "
                      "wrong type right hand side undefined or wrong type\n";

// Numbers are held in SI and shown in a unit: sums show the first operand's unit, "#" only changes the unit
// shown, "##" types or strips a number. A pressure drop lists PSI and PSIA, names first found among the
// pressures: "#" takes the drop's own index of the name. si: the stored real (0: not checked).
TEST_F(OpsTest, UnitsThroughValues) {
    const double psi = 6894.75729316836, atm = 101325;
    const struct {
        const char *op, *left, *right, *result;
        double si;
        std::string history = "";
    } rows[] = {
        {"+", "N:1 {METER}", "N:1 {FT}", "N:1.3048 {METER}", 1.3048},
        {"+", "N:1 {FT}", "N:1 {METER}", "N:4.28084 {FT}", 1.3048},
        {"-", "N:3 {psig}", "N:1 {psig}", "N:55.4152 {IN-WATER-60F}", 2 * psi},
        {"-", "N:5 {C}", "N:1 {F}", "N:22.2222 {DELTA-C}", 278.15 - 255.372222222222 - 0.555555555555556},
        {"#", "N:5.0", "S:FT", "N:16.4042 {FT}", 5},
        {"#", "N:1 {METER}", "I:FT", "N:3.28084 {FT}", 1},
        {"#", "N:3 {psig}", "S:ATM", "N:1.20414 {ATM}", 3 * psi + atm},
        {"#", "N:1 {METER}", "S:PSIA", "N:1 {METER}", 1, kUnable + "1 {METER} to {PSIA}\n"},
        {"#", "N:1", "S:FT", "N:1", 0, kUnable + "1 to {FT}\n"},
        {"#", "N:1 {METER}", "S:NOSUCH", "N:1 {METER}", 1, kNoSuch + "1 {METER} to {NOSUCH}\n"},
        {"#", "S:x", "S:FT", "U", 0, kBadHash + "left hand side undefined or wrong type\n"},
        {"#", "N:1", "E", "U", 0, kBadHash + "right hand side undefined or not UOM\n"},
        {"##", "N:5.0", "S:FT", "N:5 {FT}", 1.524},
        {"##", "N:3.0", "S:PSIG", "N:3 {PSIG}", 3 * psi + atm},
        {"##", "N:3 {psig}", "S:*", "N:3 {*}", 3},
        {"##", "N:5.0", "S:*", "N:5 {*}", 5},
        {"##", "N:5", "S:FT", "U", 0, "Bad ## expression: both sides are typed.\n"},
        {"##", "N:5.0", "S:NOSUCH", "U", 0, kNoSuch + "5 {*} to {NOSUCH}\n"},
        {"##", "S:x", "I:FT", "U", 0, kBoth},
    };
    for (const auto &row : rows) {
        Val l(row.left), r(row.right), res;
        kOps.at(row.op)(&l.v, &r.v, &res.v, nullptr);
        EXPECT_EQ(Shown(res.v) + "|" + history_.text(), row.result + ("|" + row.history))
            << row.left << row.op;
        if (row.si != 0) {
            EXPECT_NEAR(res.v.u.number.rval, row.si, 1e-9 * std::abs(row.si)) << row.left;
        }
    }
    Val a("N:3 {psig}"), b("N:1 {psig}"), drop, u1("S:PSI"), u2("S:PSIA"), in_psi, in_psia;
    value_subtract(&a.v, &b.v, &drop.v, nullptr);
    value_change_uom(&drop.v, &u1.v, &in_psi.v, nullptr);
    value_change_uom(&drop.v, &u2.v, &in_psia.v, nullptr);
    EXPECT_EQ(Shown(in_psi.v) + Shown(in_psia.v) + history_.text(), "N:2 {PSI}N:2 {PSIA}");
    // A unit of the equal type that the drop's own type does not list: refused, the drop as it was.
    Val gauge("S:PSIG"), in_gauge;
    value_change_uom(&drop.v, &gauge.v, &in_gauge.v, nullptr);
    EXPECT_EQ(Shown(in_gauge.v) + "|" + history_.text(),
              "N:55.4152 {IN-WATER-60F}|" + kUnable + "55.4152 {IN-WATER-60F} to {PSIG}\n");
    // A refused conversion still empties a result that held something.
    Val five("N:5.0"), no_unit("E"), reused("S:left over");
    value_coerce_uom(&five.v, &no_unit.v, &reused.v, nullptr);
    EXPECT_EQ(Shown(reused.v), "U");
}

const std::map<std::string, std::pair<Fn, std::string>> kStr = {
    {"sub", {value_substr, "substr(str,pos[,len])"}},
    {"idx", {value_index, "index(str,substr[,pos])"}},
    {"ins", {value_insertstr, "insertstr(str,sstr,pos)"}},
    {"rem", {value_removestr, "removestr(str,pos,len)"}},
    {"len", {value_length, ""}}};

// Positions from the start, from the end, zero and out of range; argument counts and kinds; a text of
// 10^5 characters goes through whole. Arguments are the items of a list (but for length); a message
// "WORD rest" is "The WORD argument to f(...) is not rest", "#" the wrong argument count.
TEST_F(OpsTest, StringFunctionsByPosition) {
    const std::string a(99999, 'A'), big = a + "B";
    const struct {
        std::string call, result, history = "";
    } rows[] = {
        {"sub S:HELLO,N:2,N:3", "S:ELL"},
        {"sub S:HELLO,N:-2", "S:LO"},
        {"sub S:HELLO,N:5", "S:O"},
        {"sub S:HELLO,N:6", "S:"},
        {"sub S:HELLO,N:-6,N:2", "S:HE"},
        {"sub S:HELLO,N:-2147483648", "S:HELLO"},
        {"sub S:HELLO,S:2,N:0", "S:"},
        {"sub N:12345,N:-2,N:9", "S:45"},
        {"sub S:HELLO,N:0", "U", "pos valid"},
        {"sub S:HELLO,N:2.0", "U", "pos valid"},
        {"sub S:HELLO,N:2,N:-1", "U", "The len argument to substr(str,pos,len) is not valid\n"},
        {"sub E,N:1", "U", "str a string"},
        {"sub S:HELLO", "U", "#"},
        {"idx S:ABAB,S:AB", "N:3"},
        {"idx S:ABAB,S:AB,N:3", "N:3"},
        {"idx S:ABAB,S:AB,N:4", "N:0"},
        {"idx S:ABAB,S:AB,N:0", "N:3"},
        {"idx S:AB,S:ABC", "N:0"},
        {"idx S:ABC,S:,N:3", "N:3"},
        {"idx S:ABC,S:,N:4", "N:0"},
        {"idx S:A1B,N:1", "N:2"},
        {"idx S:AB,S:B,N:-1", "U", "The pos argument to index(str,substr,pos) is not valid\n"},
        {"idx S:ABAB,E", "U", "substr valid"},
        {"idx E,S:A", "U", "str a string"},
        {"idx S:ABAB", "U", "#"},
        {"ins S:ABC,S:X,N:2", "S:AXBC"},
        {"ins S:ABC,S:X,N:-1", "S:ABXC"},
        {"ins S:ABC,S:X,N:9", "S:ABCX"},
        {"ins S:ABC,S:X,N:3", "S:ABXC"},
        {"ins S:ABC,S:X,N:-3", "S:XABC"},
        {"ins S:ABC,N:5,N:-9", "S:5ABC"},
        {"ins S:ABC,S:X,N:0", "U", "pos valid"},
        {"ins S:ABC,E,N:1", "U", "sstr valid"},
        {"ins E,S:X,N:1", "U", "str a string"},
        {"ins S:ABC,S:X", "U", "#"},
        {"rem S:ABCDE,N:2,N:2", "S:ADE"},
        {"rem S:ABCDE,N:-1,N:5", "S:ABCD"},
        {"rem S:ABCDE,N:-5,N:1", "S:BCDE"},
        {"rem S:ABCDE,N:6,N:1", "S:ABCDE"},
        {"rem S:ABCDE,N:1,N:5", "S:"},
        {"rem S:ABCDE,N:0,N:1", "U", "pos valid"},
        {"rem S:ABCDE,N:1,N:1.5", "U", "len valid"},
        {"rem E,N:1,N:1", "U", "str a string"},
        {"rem S:ABCDE,N:2", "U", "#"},
        {"len N:1.5 {FT}", "N:8"},
        {"len L:[N:1,S:x]", "N:5"},
        {"len E", "U"},
        {"len S:" + big, "N:100000"},
        {"idx S:" + big + ",S:B", "N:100000"},
        {"idx S:" + big + ",S:" + a, "N:1"},
        {"rem S:" + big + ",N:1,N:99999", "S:B"},
        {"ins S:" + big + ",S:" + big + ",N:-1", "S:" + a + big + "B"},
    };
    for (const auto &row : rows) {
        const auto &[fn, sig] = kStr.at(row.call.substr(0, 3));
        const std::string &h = row.history, word = h.substr(0, h.find(' ')), rest = h.substr(h.find(' ') + 1);
        Val v(sig.empty() ? row.call.substr(4) : "L:[" + row.call.substr(4) + "]");
        fn(&v.v, nullptr);
        EXPECT_EQ(Shown(v.v), row.result) << row.call.substr(0, 40);
        EXPECT_EQ(history_.text(), h == "#" ? "Invalid number of arguments to " + sig + "\n"
                                   : h.empty() || h[0] == 'T'
                                       ? h
                                       : "The " + word + " argument to " + sig + " is not " + rest + "\n")
            << row.call.substr(0, 40);
    }
    Val l("S:" + big), res;
    value_concat(&l.v, &l.v, &res.v, nullptr);
    EXPECT_EQ(Shown(res.v) + history_.text(), "S:" + big + big);
}

// The texts the context receives and the lists of names built from its answers (every list answer is
// [V1, V2]); without a context, empty lists.
TEST_F(OpsTest, ModelQueriesThroughTheContext) {
    const struct {
        Fn fn;
        const char *arg, *log, *result = "";
    } rows[] = {
        {value_measurements_by_var, "L:[I:A,L:[G:B*,N:3]]",
         "MeasurementsByVar(name=A or name=B* or name=3) "},
        {value_specgroups_by_var, "L:[]", "SpecGroupsByVar(name=*.*) "},
        {value_attributes, "I:X", "Attributes(X) "},
        {value_inactive_conn, "U", "InactiveConnections() "},
        {value_inactive_meas, "U", "InactiveMeasurements() "},
        {value_connections_by_var, "S:A", "ConnectionsByVar(name=A) "},
        {value_active_meas, "U", "ActiveMeasurements() "},
        {value_active_specgroups, "U", "ActiveSpecGroups() "},
        {value_inactive_specgroups, "U", "InactiveSpecGroups() "},
        {value_aliases_by_var, "L:[I:A,E]", "AliasesByVar(name=*.*) "},
        {value_active_conn, "S:o", "ActiveConnections() "},
        {value_attributes, "S:X", "", "U"},
        {value_variables, "S:B1", "", "U"},
        {value_query_variables, "E", "", "L:[ ]"},
        {value_variables, "I:B1", "BlockVariables(B1) Load(2,true) Load(3,true) Load(4,true) ",
         "L:[ C , D , E ]"},
        {value_query_variables, "S:VALUE > 1", "Query(VALUE > 1) Load(4,true) Load(0,true) Release ",
         "L:[ E , A ]"},
        {value_defined, "I:X", "", "B:TRUE"},
        {value_defined, "S:X", "", "B:FALSE"},
    };
    RecordingContext ctx;
    ctx.define("X", Val("N:1").v);
    for (const auto &row : rows)
        if (!*row.result) ctx.answers[std::string(row.log, std::strcspn(row.log, "("))] = {"V1", "V2"};
    ctx.variables = {"A", "B", "C", "D", "E"};
    ctx.block = {2, 4};
    ctx.selected = {4, 0};
    for (const auto &row : rows) {
        const std::string want = *row.result ? row.result : "L:[ V1 , V2 ]";
        Val v(row.arg), w(row.arg);
        ctx.log.clear();
        row.fn(&v.v, &ctx);
        row.fn(&w.v, nullptr);
        EXPECT_EQ(ctx.log + Shown(v.v), row.log + want) << row.arg;
        if (want.size() > 5 && want[0] == 'L') {  // names as IDENTIFIERs
            EXPECT_EQ(static_cast<value_t *>(v.v.u.list->head->data)->value_type, identifier_value)
                << row.arg;
        }
        EXPECT_EQ(Shown(w.v), row.fn == value_defined ? "B:FALSE" : want == "U" ? "U" : "L:[ ]") << row.arg;
    }
    Val none("I:A"), past("I:B1");  // a context that fills nothing; a block past the known variables
    ctx.block = {4, 6};
    value_variables(&past.v, &ctx);
    ctx.filled = false;
    value_active_meas(&none.v, &ctx);
    EXPECT_EQ(Shown(past.v) + Shown(none.v) + history_.text(), "L:[ E ]L:[ ]");
}

TEST_F(OpsTest, NamesQueryGrowsAsDocumented) {
    char *text = nullptr;
    size_t at = 0, room = 0;
    std::string rooms;
    for (const char *name : {"I:ABC", "I:DEFGHIJ", "S:X", "G:Y"}) {
        Val v(name);
        ASSERT_EQ(value_build_names_query(&v.v, &text, &at, &room), 1);
        rooms += std::to_string(room) + " ";
    }
    EXPECT_EQ(rooms + text + " " + std::to_string(at),
              "13 30 60 60 name=ABC or name=DEFGHIJ or name=X or name=Y 44");
    std::free(text);
    text = nullptr;
    at = room = 0;
    rooms.clear();
    for (const char *name : {"I:ABCDE", "I:F", "I:G"}) {  // G needs one byte more than is left: 11 of 10
        Val v(name);
        ASSERT_EQ(value_build_names_query(&v.v, &text, &at, &room), 1);
        rooms += std::to_string(room) + " ";
    }
    EXPECT_EQ(rooms + text, "15 30 60 name=ABCDE or name=F or name=G") << "the text grows one byte early";
    Val bad("L:[S:Z,E]");  // an item with no text form frees the text
    EXPECT_EQ(value_build_names_query(&bad.v, &text, &at, &room), 0);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(room, 0u);
    char keep[8] = "name=Q", *held = keep;  // a position past the capacity: refused, untouched
    size_t pos = 9, cap = 8;
    StderrCapture err;
    EXPECT_EQ(value_build_names_query(&bad.v, &held, &pos, &cap) +
                  value_build_names_query(&bad.v, nullptr, &pos, &cap),
              0);
    EXPECT_EQ(held, keep);
    EXPECT_EQ(pos, 9u);
    EXPECT_EQ(cap, 8u);
    EXPECT_NE(err.text().find("Assertion '!!! value_build_names_query: bad query text arguments' failed in "
                              "source/rtvalue/rtvalue:"),
              std::string::npos);
}

// Each allocation of a joining and a model list fails in turn: a memory message; UNDEFINED, or v as it
// was, or (a query text that could not be copied) an empty list; and no leak.
TEST_F(OpsTest, ShortMemory) {
    RecordingContext ctx;
    ctx.answers["ActiveConnections"] = {"C1", "C2"};
    ctx.variables = {"A", "B"};
    ctx.selected = {1, 0};
    const struct {
        Fn fn;
        const char *arg, *right, *whole;
    } cases[] = {{nullptr, "L:[S:x]", "L:[S:y,N:2]", "L:[ x , y , 2 ]"},
                 {nullptr, "I:x", "G:y*", "G:xy*"},
                 {value_active_conn, "S:old", "U", "L:[ C1 , C2 ]"},
                 {value_query_variables, "S:Q", "U", "L:[ B , A ]"}};
    for (const auto &c : cases)
        for (long n = 1;; ++n) {
            Val v(c.arg), r(c.right), res;
            zarn::failalloc_set(n);
            c.fn ? c.fn(&v.v, &ctx) : value_concat(&v.v, &r.v, &res.v, nullptr);
            const long seen = zarn::failalloc_set(0);
            const std::string got = Shown(c.fn ? v.v : res.v), his = history_.text();
            if (seen < n) {
                EXPECT_EQ(got + his, c.whole);
                break;
            }
            EXPECT_NE(his.find(": unable to allocate memory\n"), std::string::npos) << c.whole << " #" << n;
            EXPECT_TRUE(got == "U" || got == Shown(Val(c.arg).v) || (got == "L:[ ]" && c.fn))
                << c.whole << ": allocation " << n << " failed, left " << got;
        }
}

}  // namespace
