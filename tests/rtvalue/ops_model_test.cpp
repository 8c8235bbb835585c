// Functions that ask the model: the texts the context receives and the lists
// built from its answers; the names query; bad operands and short memory.
#include <cstring>
#include <functional>

#include "ops_fixture.h"

namespace {

using namespace zarn::test;

using Fn = void (*)(value_t *, IValueContext *);

TEST_F(OpsTest, ModelQueriesThroughTheContext) {
    const struct {
        Fn fn;
        const char *arg, *log, *result;  // result with every list answer [V1, V2]
    } rows[] = {
        {value_specgroups_by_var, "L:[]", "SpecGroupsByVar(name=*.*) ", "L:[ V1 , V2 ]"},
        {value_measurements_by_var, "L:[I:A,L:[G:B*,N:3]]", "MeasurementsByVar(name=A or name=B* or name=3) ", ""},
        {value_connections_by_var, "S:A", "ConnectionsByVar(name=A) ", ""},
        {value_aliases_by_var, "L:[I:A,E]", "AliasesByVar(name=*.*) ", ""},  // no text form: every name
        {value_active_conn, "S:old", "ActiveConnections() ", ""},
        {value_inactive_conn, "U", "InactiveConnections() ", ""},
        {value_active_specgroups, "U", "ActiveSpecGroups() ", ""},
        {value_inactive_specgroups, "U", "InactiveSpecGroups() ", ""},
        {value_active_meas, "U", "ActiveMeasurements() ", ""},
        {value_inactive_meas, "U", "InactiveMeasurements() ", ""},
        {value_attributes, "I:X", "Attributes(X) ", ""}, {value_attributes, "S:X", "", "U"},
        {value_variables, "I:B1", "BlockVariables(B1) Load(2,true) Load(3,true) Load(4,true) ", "L:[ C , D , E ]"},
        {value_variables, "S:B1", "", "U"},
        {value_query_variables, "S:VALUE > 1", "Query(VALUE > 1) Load(4,true) Load(0,true) Release ", "L:[ E , A ]"},
        {value_query_variables, "E", "", "L:[ ]"}, {value_defined, "I:X", "", "B:TRUE"},
        {value_defined, "S:X", "", "B:FALSE"},
    };
    RecordingContext ctx;
    ctx.define("X", Val("N:1").v);
    for (const char *op : {"SpecGroupsByVar", "MeasurementsByVar", "ConnectionsByVar", "AliasesByVar",
                           "ActiveConnections", "InactiveConnections", "ActiveSpecGroups", "InactiveSpecGroups",
                           "ActiveMeasurements", "InactiveMeasurements", "Attributes"})
        ctx.answers[op] = {"V1", "V2"};
    ctx.variables = {"A", "B", "C", "D", "E"};
    ctx.block = {2, 4};
    ctx.selected = {4, 0};
    for (const auto &row : rows) {
        const std::string want = *row.result ? row.result : "L:[ V1 , V2 ]";
        Val v(row.arg), w(row.arg);
        ctx.log.clear();
        row.fn(&v.v, &ctx);
        EXPECT_EQ(ctx.log, row.log) << row.arg;
        EXPECT_EQ(Shown(v.v), want) << row.arg;
        if (want[0] == 'L' && want.size() > 5) {
            EXPECT_EQ(static_cast<value_t *>(v.v.u.list->head->data)->value_type, identifier_value);
        }
        row.fn(&w.v, nullptr);  // nothing to ask: empty lists
        EXPECT_EQ(Shown(w.v), row.fn == value_defined ? "B:FALSE" : want == "U" ? "U" : "L:[ ]") << row.arg;
    }
    Val none("I:A"), past("I:B1");  // a context that fills nothing; a block past the known variables
    ctx.block = {4, 6};
    value_variables(&past.v, &ctx);
    ctx.filled = false;
    value_active_meas(&none.v, &ctx);
    EXPECT_EQ(Shown(past.v) + Shown(none.v), "L:[ E ]L:[ ]");
    EXPECT_EQ(history_.text(), "");
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
    EXPECT_EQ(rooms + text, "13 30 60 60 name=ABC or name=DEFGHIJ or name=X or name=Y");
    EXPECT_EQ(at, 44u);
    Val bad("L:[S:Z,E]");  // an item with no text form frees the text
    EXPECT_EQ(value_build_names_query(&bad.v, &text, &at, &room), 0);
    EXPECT_TRUE(text == nullptr && room == 0);
    char keep[8] = "name=Q", *held = keep;  // a position past the capacity: refused, untouched
    size_t pos = 9, cap = 8;
    StderrCapture err;
    EXPECT_EQ(value_build_names_query(&bad.v, &held, &pos, &cap), 0);
    EXPECT_EQ(value_build_names_query(&bad.v, nullptr, &pos, &cap), 0);
    EXPECT_TRUE(held == keep && pos == 9 && cap == 8);
    EXPECT_NE(err.text().find("Assertion '!!! value_build_names_query: bad query text arguments' failed in "
                              "source/rtvalue/rtvalue:"), std::string::npos);
}

// Invalid values: the assertion names the function and the argument, and the
// result is left as it was. A result given as an operand is destroyed first.
TEST_F(OpsTest, BadOperandsAreRefused) {
    Val good("N:1"), res("S:kept");
    value_t bad;
    value_init(&bad);
    bad.value_type = 42;
    const std::pair<std::function<void()>, const char *> rows[] = {
        {[&] { value_add(&bad, &good.v, &res.v, nullptr); }, "value_add: bad left hand side"},
        {[&] { value_less(&good.v, &bad, &res.v, nullptr); }, "value_less: bad right hand side"},
        {[&] { value_equal(&good.v, &good.v, &bad, nullptr); }, "value_equal: result is a bad value"},
        {[&] { value_negate(&bad, nullptr); }, "value_negate: bad argument"},
        {[&] { value_aliases_by_var(&bad, nullptr); }, "value_aliases_by_var: bad argument"},
    };
    for (const auto &[call, text] : rows) {
        StderrCapture err;
        call();
        EXPECT_EQ(err.text().substr(0, 16 + std::strlen(text)), std::string("Assertion '!!! ") + text + "'");
        EXPECT_TRUE(Shown(res.v) == "S:kept" && bad.value_type == 42);
    }
    Val list("L:[N:4]"), same("N:2");  // a list where a number is wanted
    value_sqrt(&list.v, nullptr);
    value_add(&same.v, &good.v, &same.v, nullptr);
    EXPECT_EQ(Shown(list.v) + Shown(same.v), "UU");
}

// Each allocation of a joining, a string function and a model list fails in
// turn: a memory message; UNDEFINED, or v as it was, or (a query text that
// could not be copied) an empty list; and no leak.
TEST_F(OpsTest, ShortMemory) {
    RecordingContext ctx;
    ctx.answers["ActiveConnections"] = {"C1", "C2"};
    ctx.variables = {"A", "B"};
    ctx.selected = {1, 0};
    auto concat = [](value_t *l, value_t *r, value_t *res) { value_concat(l, r, res, nullptr); };
    const struct {
        std::function<void(value_t *, value_t *, value_t *)> run;
        const char *arg, *right, *whole;
    } cases[] = {
        {concat, "L:[S:x]", "L:[S:y,N:2]", "L:[ x , y , 2 ]"}, {concat, "I:x", "G:y*", "G:xy*"},
        {[&](value_t *v, value_t *, value_t *) { value_active_conn(v, &ctx); }, "S:old", "", "L:[ C1 , C2 ]"},
        {[&](value_t *v, value_t *, value_t *) { value_query_variables(v, &ctx); }, "S:Q", "", "L:[ B , A ]"},
    };
    for (const auto &c : cases) {
        for (long n = 1;; ++n) {
            Val v(c.arg), r(*c.right ? c.right : "U"), res;
            zarn::failalloc_set(n);
            c.run(&v.v, &r.v, &res.v);
            const long seen = zarn::failalloc_set(0);
            const std::string got = Shown(*c.right ? res.v : v.v), his = history_.text();
            if (seen < n) {
                EXPECT_EQ(got + his, c.whole);
                break;
            }
            EXPECT_NE(his.find(": unable to allocate memory\n"), std::string::npos) << c.whole << " #" << n;
            EXPECT_TRUE(got == "U" || got == Shown(Val(c.arg).v) || (got == "L:[ ]" && !*c.right)) << got << n;
        }
    }
}

}  // namespace
