// Parameters: local over global, listing, linked parameters, and the expansion of parameter
// references in names (their messages: the message table).
#include <algorithm>
#include <cmath>
#include <functional>
#include <regex>
#include <vector>

#include "failsweep.h"
#include "value_fixture.h"

namespace {

using namespace zarn::test;

TEST_F(ValueTest, LocalParametersShadowGlobalOnes) {
    HashTable *local = param_init(1);
    int is_local = -1;
    Set("P1", Int(5));
    EXPECT_EQ(param_defined("P1", nullptr, &is_local), 1);
    EXPECT_EQ(is_local, 0);
    Set("P1", Str("a"));
    param_define_local("P1", local, nullptr);  // plain parameters take any kind
    EXPECT_EQ(Read("P1", local), "!!!UNDEFINED!!!");
    Set("P1", Int(7), local);
    Set("Q", Int(1), local);  // a new name goes to the global table
    EXPECT_EQ(Read("P1", local) + Read("P1") + Read("Q") + std::to_string(param_num_defined(local)), "7a11");
    EXPECT_EQ(param_defined("P1", local, &is_local), 1);
    EXPECT_EQ(is_local, 1);
    param_undef("P1", local);
    EXPECT_EQ(Read("P1", local) + std::to_string(param_num_defined(local)), "a0");
    rtopipe *q = create_queue_rtopipe();
    param_show(q, local);
    param_define_local("L2", local, nullptr);
    param_show(q, local);
    EXPECT_EQ(
        drain(q),
        "There are no locally defined parameters\nThe following parameters are locally defined\n   L2\n");
    param_show(q, nullptr);
    const std::string global = drain(q);
    EXPECT_EQ(global.rfind("The following parameters are globally defined\n", 0), 0u);
    EXPECT_NE(global.find("   DATE - read only\n"), std::string::npos) << global;
    EXPECT_NE(global.find("   P_AMB\n"), std::string::npos) << global;
    EXPECT_EQ(param_num_defined(nullptr), 4);  // P_AMB, DATE, P1, Q
    char beyond[64] = "untouched", first[64] = "";
    param_inq_name(local, 2, beyond);
    param_inq_name(local, 0, first);
    EXPECT_EQ(std::string(beyond) + "/" + first, "untouched/L2");
    int seen = 0, local_seen = 0;  // the walk stops at the first non-zero answer and returns it
    auto count = [](void *arg, const char *) { return ++*static_cast<int *>(arg) == 3 ? 42 : 0; };
    const int global_answer = param_iterate(&seen, nullptr, count),
              local_answer = param_iterate(&local_seen, local, count);
    EXPECT_EQ(global_answer * 100 + local_answer * 10 + local_seen, 4201);
    param_undef("P1", nullptr);
    param_undef("Q", nullptr);
    param_destroy(local);
    rtodestroy(q);
}

// A read that finds nothing still empties the result: a caller reusing one value must not see the old one.
TEST_F(ValueTest, ReadingAnUnknownOrNullNameLeavesTheResultUndefined) {
    const char *const names[] = {"NO_SUCH_PARAMETER", nullptr};
    for (const char *name : names) {
        V result;
        value_assign_copy_of_string(&result.v, "left from before");
        param_read(name, &result.v, nullptr, nullptr);
        EXPECT_EQ(result.kind(), undefined_value) << (name ? name : "null name");
    }
}

TEST_F(ValueTest, LinkedParametersCallTheirAccessors) {
    EXPECT_EQ(Read("P_AMB"), "101325 {N/SQM}");
    EXPECT_TRUE(param_linked("P_AMB", nullptr));
    EXPECT_FALSE(param_read_only("P_AMB", nullptr));
    EXPECT_TRUE(param_read_only("DATE", nullptr));
    int psig = 0;
    rtouom_ptype_locate2("PSIG", 20, &psig);
    for (value_t *v : {Real(100000, 20), Int(90000)}) {
        const double want = v->u.number.is_int ? v->u.number.ival : v->u.number.rval;
        Set("P_AMB", v);
        EXPECT_DOUBLE_EQ(rtouom_pair2si(0, 20, psig), want);  // the accessor moved the gauge zero
    }
    EXPECT_EQ(Read("P_AMB"), "90000 {N/SQM}");
    Set("P_AMB", Real(101325, 20));
    // A gauge unit changed apart leaves the ambient; a NaN and an undefined number are refused.
    rtouom_modify_mult_offset(20, "PSIG", 6894.75729316836, 0);
    Set("P_AMB", Real(std::nan(""), 20));
    Set("P_AMB", With(Real(5), [](value_t *v) { v->u.number.undefined = 1; }));
    EXPECT_EQ(Read("P_AMB"), "101325 {N/SQM}");
    const std::string not_finite =
        "!! rtouom_modify_p_amb: the ambient pressure must be a finite number, not nan.\n";
    EXPECT_EQ(history_.text(), not_finite + not_finite);
    EXPECT_TRUE(std::regex_match(Read("DATE"), std::regex("\\w{3}, \\w{3} \\d+, \\d+, \\d+:\\d+:\\d+")))
        << Read("DATE");
    static void *seen_handle;
    static std::string seen_value;
    param_create_linked(
        "HOOK", 0, 0,
        [](const value_t *v, void *h) {
            seen_handle = h;
            seen_value = Printed(v);
        },
        [](value_t *r, void *h) { value_assign_int(r, h ? 1 : 0); });
    RecordingContext ctx;
    V v, w;
    param_read("HOOK", &v.v, nullptr, &ctx);
    param_read("HOOK", &w.v, nullptr, nullptr);
    EXPECT_EQ(Printed(&v.v) + Printed(&w.v), "10");
    Set("HOOK", Str("s"), nullptr, &ctx);
    EXPECT_EQ(seen_handle, &ctx);
    EXPECT_EQ(seen_value, "s");
    EXPECT_EQ(ctx.handles, 2);
    param_undef("HOOK", nullptr);
    EXPECT_EQ(param_linked("HOOK", nullptr), 0);
}

TEST_F(ValueTest, ExpandingParameterReferences) {
    RecordingContext ctx;
    const std::pair<const char *, value_t *> params[] = {
        {"P1", Str("abc")}, {"P 1", Str("x")}, {"N", Int(5)}, {"L", ListOf({Int(1)})}, {"E", Bool(1)}};
    for (auto [name, v] : params) ctx.set(ctx.params, name, v);
    ctx.params["E"].value_type = enum_value;  // an enumeration has no text form
    ctx.params["E"].u.enumeration = {0, 1, gl_create()};
    const std::string long_name = "B&<" + std::string(2000, 'N') + ">",
                      long_text = std::string(1500, 'A') + "&P1", cut(1024, 'A');
    const struct {
        const char *text;
        bool ctx;
        const char *want;
    } rows[] = {
        // want null: the expansion fails
        {"ABC", true, "ABC"},
        {"b c", true, "b c"},
        {"B&P1.X", true, "BABC.X"},
        {"B&<P 1>", true, "BX"},
        {"B&<P 1>.Y", true, "BX.Y"},
        {"B&<P1", true, nullptr},
        {"B&Q.X", true, "B.X"},
        {"B&L", true, nullptr},
        {"B&N", true, "B5"},
        {"B&P1&P1", true, "BABCABC"},
        {"&P1 Y", true, "ABC Y"},
        {"&P1 y", true, nullptr},
        {"B&E", true, nullptr},
        {"B&P1", false, "B"},
        {"B&GP.X", false, "BABC.X"},
        {"B&<G P>", false, "B"},  // no host: globals
        {"B&", true, "B"},
        {"@&P1", true, nullptr},
        {long_name.c_str(), true, "B"},
        {long_text.c_str(), true, cut.c_str()},
        {nullptr, true, nullptr},
    };
    Set("GP", Str("abc"));
    for (const auto &r : rows) {
        char *out = rtidex_expand_params(r.text, r.ctx ? &ctx : nullptr);
        EXPECT_STREQ(out, r.want) << &r - rows;
        free(out);
    }
    param_undef("GP", nullptr);
    EXPECT_EQ(history_.text(), "");
}

}  // namespace

namespace {

using namespace zarn::test;

// What a walk's visit does to the table it walks, and what it leaves: the names the walk gave in
// order (each read after the visit acted), the answer, and the table's names afterwards.
struct Walk {
    HashTable *table;
    std::string seen;
    std::function<int(Walk &, const char *)> act;
};

int VisitAndAct(void *arg, const char *name) {
    auto &w = *static_cast<Walk *>(arg);
    const int answer = w.act(w, name);
    w.seen += std::string(name) + " ";
    return answer;
}

std::string Names(HashTable *t) {
    std::vector<std::string> names;
    param_iterate(&names, t, [](void *arg, const char *name) {
        static_cast<std::vector<std::string> *>(arg)->push_back(name);
        return 0;
    });
    std::sort(names.begin(), names.end());
    std::string out;
    for (const std::string &n : names) out += n + " ";
    return out;
}

// All of A, B and C but those in seen.
std::string AllBut(const std::string &seen) {
    std::string out;
    for (std::string n : {"A ", "B ", "C "}) out += seen.find(n) == std::string::npos ? n : "";
    return out;
}

TEST_F(ValueTest, WalksSurviveTheirVisitsChangingTheTable) {
    using Left = std::function<std::string(const std::string &seen)>;
    const struct {
        const char *rule;
        std::function<int(Walk &, const char *)> act;
        size_t visits;
        int answer;
        Left left;
    } rows[] = {
        {"the name given stays readable after it is undefined",
         [](Walk &w, const char *name) {
             param_undef(name, w.table);
             return 0;
         },
         3, 0, [](const std::string &) { return ""; }},
        {"a parameter undefined before its turn is not visited",
         [](Walk &w, const char *name) {
             for (const char *n : {"A", "B", "C"})
                 if (std::strcmp(n, name) != 0) param_undef(n, w.table);
             return 0;
         },
         1, 0, [](const std::string &seen) { return seen; }},
        {"parameters defined meanwhile are not visited",
         [](Walk &w, const char *name) {
             param_define_local((std::string("N") + name).c_str(), w.table, nullptr);
             return 0;
         },
         3, 0, [](const std::string &) { return "A B C NA NB NC "; }},
        {"the answer that stops the walk comes back",
         [](Walk &w, const char *name) {
             param_undef(name, w.table);
             return 7;
         },
         1, 7, AllBut},
    };
    for (const auto &r : rows) {
        Walk w{param_init(1), "", r.act};
        for (const char *n : {"A", "B", "C"}) param_define_local(n, w.table, nullptr);
        const int answer = param_iterate(&w, w.table, VisitAndAct);
        EXPECT_EQ(std::count(w.seen.begin(), w.seen.end(), ' '), static_cast<long>(r.visits))
            << r.rule << ": " << w.seen;
        EXPECT_EQ(answer, r.answer) << r.rule;
        EXPECT_EQ(Names(w.table), r.left(w.seen)) << r.rule;
        param_destroy(w.table);
    }
    EXPECT_EQ(history_.text(), "");
}

// A parameter that cannot be added for want of memory (its record, its name
// or the table's growth) is reported and leaves the table as it was.
TEST_F(ValueTest, AParameterAddedUnderShortMemoryIsReportedOrWhole) {
    HashTable *local = param_init(1);
    param_define_local("L1", local, nullptr);
    fail_each_allocation(
        [&] {
            param_define_local("L2", local, nullptr);
            return param_num_defined(local) == 2;
        },
        [&](long n, bool ok) {
            EXPECT_FALSE(ok) << "allocation " << n;
            EXPECT_EQ(param_num_defined(local), 1) << "allocation " << n;
            EXPECT_EQ(history_.text(), "!!! param_set: unable to allocate memory\n") << "allocation " << n;
        });
    EXPECT_EQ(param_num_defined(local), 2);
    param_destroy(local);
}

}  // namespace
