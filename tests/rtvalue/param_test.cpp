// Parameters: local over global, linked parameters, messages, listing, and
// the expansion of parameter references in names.
#include <cstdio>
#include <cstring>

#include "value_fixture.h"

namespace {

using namespace zarn::test;

std::string Read(const char *name, HashTable *local = nullptr) {
    V v;
    param_read(name, &v.v, local, nullptr);
    return Printed(&v.v);
}

void Set(const char *name, value_t *heap, HashTable *local = nullptr, IValueContext *ctx = nullptr) {
    param_set(name, heap, local, ctx);
    value_destroy_list_item(heap);
}

TEST_F(ValueTest, LocalParametersShadowGlobalOnes) {
    Set("P1", Int(5));
    int is_local = -1;
    EXPECT_TRUE(param_defined("P1", nullptr, &is_local) == 1 && is_local == 0);
    Set("P1", Str("a"));  // plain parameters take any kind
    HashTable *local = param_init(1);
    param_define_local("P1", local, nullptr);
    EXPECT_EQ(Read("P1", local), "!!!UNDEFINED!!!");
    Set("P1", Int(7), local);
    EXPECT_EQ(Read("P1", local), "7");
    EXPECT_EQ(Read("P1"), "a");
    EXPECT_TRUE(param_defined("P1", local, &is_local) == 1 && is_local == 1);
    Set("Q", Int(1), local);  // a new name goes to the global table
    EXPECT_EQ(param_num_defined(local), 1);
    EXPECT_EQ(Read("Q"), "1");
    param_undef("P1", local);
    EXPECT_TRUE(Read("P1", local) == "a" && param_num_defined(local) == 0);

    rtopipe *q = create_queue_rtopipe();
    param_show(q, local);
    EXPECT_EQ(drain(q), "There are no locally defined parameters\n");
    param_define_local("L2", local, nullptr);
    param_show(q, local);
    EXPECT_EQ(drain(q), "The following parameters are locally defined\n   L2\n");
    param_show(q, nullptr);
    const std::string global = drain(q);
    EXPECT_EQ(global.rfind("The following parameters are globally defined\n", 0), 0u);
    EXPECT_NE(global.find("   DATE - read only\n"), std::string::npos);
    EXPECT_NE(global.find("   P_AMB\n"), std::string::npos);
    EXPECT_EQ(param_num_defined(nullptr), 4);  // P_AMB, DATE, P1, Q

    char buf[64] = "untouched";
    param_inq_name(local, 0, buf);
    EXPECT_STREQ(buf, "L2");
    strcpy(buf, "untouched");
    param_inq_name(local, 2, buf);
    EXPECT_STREQ(buf, "untouched");
    int seen = 0;
    auto count = [](void *arg, const char *) { return ++*static_cast<int *>(arg) == 3 ? 42 : 0; };
    EXPECT_EQ(param_iterate(&seen, nullptr, count), 42);
    seen = 0;
    EXPECT_EQ(param_iterate(&seen, local, count), 0);
    EXPECT_EQ(seen, 1);
    param_undef("P1", nullptr);
    param_undef("Q", nullptr);
    param_destroy(local);
    rtodestroy(q);
}

TEST_F(ValueTest, ParameterMessages) {
    struct Row {
        const char *name;
        value_t *v;
        const char *message;
    } rows[] = {
        {"p1", Int(1), "!!! param_set: invalid parameter name p1.\n!!! Parameters must start with A-Z and contain only "
                       "A-Z, 0-9, and _.\n"},
        {"1P", Int(1), "!!! param_set: invalid parameter name 1P.\n"}, {"A-B_9", Int(1), ""},
        {"DATE", Str("x"), "!!! param_set: assignment to read-only parameter DATE\n"},
        {"P_AMB", Str("x"), "!!! param_set: assignment of a string value to a number parameter\n"},
    };
    for (const Row &r : rows) {
        Set(r.name, r.v);
        EXPECT_EQ(history_.text().substr(0, std::strlen(r.message)), r.message) << r.name;
    }
    EXPECT_EQ(param_defined("p1", nullptr, nullptr) + param_defined("A-B_9", nullptr, nullptr), 1);
    param_undef("A-B_9", nullptr);
    EXPECT_EQ(Read("bad name"), "!!!UNDEFINED!!!");
    EXPECT_EQ(history_.text(), "!! param_read: invalid parameter name bad name\n");
    EXPECT_EQ(Read("NOPE"), "!!!UNDEFINED!!!");
    param_create_linked("P_AMB", 0, 0, nullptr, nullptr);
    param_create_linked("x y", 0, 0, nullptr, nullptr);
    EXPECT_EQ(history_.text(),
              "!!! param_create_linked: unable to add linked parameter P_AMB\n"
              "!!! param_create_linked: variable of that name already exists\n"
              "!!! param_create_linked: Invalid parameter name x y\n"
              "!!! Parameters must start with A-Z and contain only A-Z, 0-9, and _.\n");
    StderrCapture err;
    param_define_local("X", nullptr, nullptr);
    value_t bad;
    value_init(&bad);
    bad.value_type = 40;
    param_read("P_AMB", &bad, nullptr, nullptr);
    param_set("X", &bad, nullptr, nullptr);
    EXPECT_EQ(param_init(0), param_init(0));
    const std::string e = err.text();
    for (const char *t : {"!!! param_create_local: NULL local_hash_table", "param_read: bad value for result",
                          "!!! param_set: bad value", "!!! param_init called twice"})
        EXPECT_NE(e.find(std::string("Assertion '") + t + "' failed in source/rtvalue/rtparam:"), std::string::npos)
            << t;
    EXPECT_EQ(param_defined("X", nullptr, nullptr), 0);
}

TEST_F(ValueTest, LinkedParametersCallTheirAccessors) {
    EXPECT_EQ(Read("P_AMB"), "101325 {N/SQM}");
    EXPECT_TRUE(param_linked("P_AMB", nullptr) && !param_read_only("P_AMB", nullptr) && param_read_only("DATE", nullptr));
    int psig = 0;
    rtouom_ptype_locate2("PSIG", 20, &psig);
    Set("P_AMB", Real(100000, 20));
    EXPECT_DOUBLE_EQ(rtouom_pair2si(0, 20, psig), 100000);
    Set("P_AMB", Int(90000));
    EXPECT_DOUBLE_EQ(rtouom_pair2si(0, 20, psig), 90000);
    EXPECT_EQ(Read("P_AMB"), "90000 {N/SQM}");
    Set("P_AMB", Real(101325, 20));
    const std::string date = Read("DATE");
    char wd[8], mon[8];
    int day, year, h, m, s;
    EXPECT_EQ(std::sscanf(date.c_str(), "%3s, %3s %d, %d, %d:%d:%d", wd, mon, &day, &year, &h, &m, &s), 7) << date;

    static void *seen_handle;
    static std::string seen_value;
    param_create_linked("HOOK", 0, 0, [](const value_t *v, void *h) { seen_handle = h, seen_value = Printed(v); },
                        [](value_t *r, void *h) { value_assign_int(r, h ? 1 : 0); });
    FakeContext ctx;
    V v;
    param_read("HOOK", &v.v, nullptr, &ctx);
    EXPECT_EQ(Printed(&v.v), "1");
    param_read("HOOK", &v.v, nullptr, nullptr);
    EXPECT_EQ(Printed(&v.v), "0");
    Set("HOOK", Str("s"), nullptr, &ctx);
    EXPECT_TRUE(seen_handle == &ctx && seen_value == "s" && ctx.handles == 2);
    param_undef("HOOK", nullptr);
    EXPECT_EQ(param_linked("HOOK", nullptr), 0);
}

TEST_F(ValueTest, ExpandingParameterReferences) {
    FakeContext ctx;
    ctx.set(ctx.params, "P1", Str("abc"));
    ctx.set(ctx.params, "P 1", Str("x"));
    ctx.set(ctx.params, "N", Int(5));
    ctx.set(ctx.params, "L", ListOf({Int(1)}));
    ctx.set(ctx.params, "E", Bool(1));
    ctx.params["E"].value_type = enum_value;  // an enumeration has no text form
    ctx.params["E"].u.enumeration = {0, 1, gl_create()};
    const std::string long_name = "B&<" + std::string(2000, 'N') + ">";
    const std::string long_text = std::string(1500, 'A') + "&P1";
    struct Row {
        const char *text;
        bool ctx;
        const char *want;  // null: the expansion fails
    } rows[] = {
        {"ABC", true, "ABC"}, {"b c", true, "b c"}, {"B&P1.X", true, "BABC.X"}, {"B&<P 1>", true, "BX"},
        {"B&<P 1>.Y", true, "BX.Y"}, {"B&<P1", true, nullptr}, {"B&Q.X", true, "B.X"}, {"B&L", true, nullptr},
        {"B&N", true, "B5"}, {"B&P1&P1", true, "BABCABC"}, {"&P1 Y", true, "ABC Y"}, {"&P1 y", true, nullptr},
        {"B&E", true, nullptr}, {"B&P1", false, "B"}, {"B&", true, "B"}, {"@&P1", true, nullptr},
        {long_name.c_str(), true, "B"},
    };
    for (const Row &r : rows) {
        char *out = rtidex_expand_params(r.text, r.ctx ? &ctx : nullptr);
        EXPECT_STREQ(out, r.want) << r.text;
        free(out);
    }
    char *cut = rtidex_expand_params(long_text.c_str(), &ctx);
    EXPECT_EQ(std::string(cut), std::string(1024, 'A'));
    free(cut);
    EXPECT_EQ(rtidex_expand_params(nullptr, &ctx), nullptr);
}

}  // namespace
