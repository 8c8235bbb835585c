// The value record: printed forms, refused values, copies, enumerations and bounded numbers, list and
// text functions, allocation failures, the module's message table and a randomised lifecycle.
#include <functional>
#include <random>
#include <regex>
#include <tuple>
#include <vector>

#include "value_fixture.h"

namespace {

using namespace zarn::test;

TEST_F(ValueTest, PrintedFormsOfEveryKind) {
    const std::pair<value_t *, const char *> rows[] = {
        {Heap(), "!!!UNDEFINED!!!"},
        {With(Real(1), [](value_t *v) { v->u.number.undefined = 1; }), "!!!Bad Number!!!"},
        {With(Int(3), [](value_t *v) { v->u.number.ptype = 20; }), "3"},
        {Real(2.5, RTOUOM_SSI_MARKER), "2.5 {ssi}"},
        {Real(2.5, RTOUOM_SI_MARKER), "2.5 {si}"},
        {Real(1, 20, 3), "9.86923e-06 {ATM}"},
        {Real(1, 20, 0), "1 {N/SQM}"},
        {Real(2.5), "2.5 {*}"},
        {Real(0.5, 44, 2), "0.5 {UNITLESS}"},
        {Real(0.3048, 17, 2), "1 {FT}"},
        {With(Real(1, 17, 1), [](value_t *v) { v->u.number.baseuom = 2; }), "0.3048 {METER}"},
        {Str("a b"), "a b"},
        {Kind(Str("B*"), glob_value), "B*"},
        {Kind(Str("^x"), regexp_value), "^x"},
        {Id("ABC"), "ABC"},
        {Id("1ST"), "'1ST'"},
        {Bool(0), "FALSE"},
        {ListOf({}), "[ ]"},
        {Range(-1, 4), "-1 : 4"},
        {ListOf({Int(1), Id("A B"), Bool(1)}), "[ 1 , 'A B' , TRUE ]"},
        {ListOf({ListOf({Int(1)}), Str("x")}), "[ [ 1 ] , x ]"},
        {Enum({"LOW", "HIGH"}, 1), "[ LOW , HIGH ] The Current Element is HIGH"},
        {Bounded(true, 3, 1, 9), "3 Lowerbound = 1 : Upperbound= 9"},
        {Bounded(false, 0.5, -1.5, 2.5), "0.5 {*} Lowerbound = -1 : Upperbound= 2"},
        // bounds held in SI, shown in the value's display unit (FT): 1 m and 2 m
        {With(Bounded(false, 0.3048, 1, 2),
              [](value_t *v) {
                  v->u.bounded.value.ptype = 17;
                  v->u.bounded.value.uom = 2;
              }),
         "1 {FT} Lowerbound = 3 : Upperbound= 6"},
        // a value held in FT: its bounds are held in the same base unit, as the setters compare them
        {With(Bounded(false, 1, 3, 6),
              [](value_t *v) {
                  v->u.bounded.value.ptype = 17;
                  v->u.bounded.value.uom = 2;
                  v->u.bounded.value.baseuom = 2;
              }),
         "1 {FT} Lowerbound = 3 : Upperbound= 6"},
    };
    for (const auto &[v, want] : rows) EXPECT_EQ(Consumed(v), want);
}

// Records no assignment makes: refused with the assertion of the function that met them, left alone.
TEST_F(ValueTest, HostileValuesAreRefusedAndLeftAlone) {
    value_t bad[7];
    for (auto &b : bad) value_init(&b);
    bad[0].value_type = 12;
    bad[1].value_type = -1;
    bad[2].u.number.ival = 5;  // 2: UNDEFINED with a stray byte
    bad[3].value_type = string_value;
    bad[4].value_type = logical_value;
    bad[4].u.logical = 2;
    bad[5].value_type = enum_value;
    bad[6].value_type = list_value;
    bad[6].u.list = gl_create();
    gl_addtoend(bad[6].u.list, &bad[3]);  // an item without text
    StderrCapture err;
    rtopipe *shared = create_queue_rtopipe();
    for (value_t &b : bad) {
        const value_t before = b;
        value_assign_pipe(&b, copyPipe(shared));  // refused: the reference given with the call goes back
        EXPECT_EQ(shared->refcount, 1) << "a pipe refused by bad value " << &b - bad;
        V good;
        value_copy(&b, &good.v);
        value_copy(&good.v, &b);
        value_destroy(&b);
        value_assign_int(&b, 1);
        value_print(nowherePipe, &b);
        value_coerce(&b, &good.v, string_value, nullptr);
        value_head(&b);
        EXPECT_EQ(value_okay(&b), 0) << &b - bad;
        EXPECT_EQ(std::memcmp(&b, &before, sizeof b), 0) << &b - bad;
        EXPECT_EQ(good.kind(), undefined_value) << &b - bad;
    }
    const std::string e = err.text();
    for (const char *t :
         {"value_copy: src is bad value", "value_copy: dest is bad value", "value_destroy: bad value type",
          "value_assign_int: bad value type", "value_print: bad value type", "value_coerce: bad argument",
          "value_head: bad argument"})
        EXPECT_NE(e.find(std::string("Assertion '!!! ") + t + "' failed in source/rtvalue/rtvalue:"),
                  std::string::npos)
            << t;
    gl_destroylist(bad[6].u.list);
    rtodestroy(shared);
}

TEST_F(ValueTest, CopiesAreDeepAndPipesShared) {
    V src, dst, p1, p2, ec;
    Take(&src.v, ListOf({Str("abc"), ListOf({Int(2)})}));
    value_assign_copy_of_string(&dst.v, "old");
    value_copy(&src.v, &dst.v);
    value_copy(&dst.v, &dst.v);  // onto itself: unchanged
    static_cast<value_t *>(src.v.u.list->head->data)->u.text[0] = 'X';
    EXPECT_EQ(Printed(&dst.v), "[ abc , [ 2 ] ]");
    value_assign_pipe(&p1.v, create_queue_rtopipe());
    value_copy(&p1.v, &p2.v);
    EXPECT_EQ(Printed(&p2.v), "*queue pipe*") << "a pipe value prints as its pipe's description";
    value_destroy(&p1.v);  // the copy's reference keeps the queue
    rtowritestr(p2.v.u.pipe, "still open");
    EXPECT_EQ(drain(p2.v.u.pipe), "still open");
    value_t *e = Enum({"A", "B"}, 1);
    value_copy(e, &ec.v);
    value_destroy_list_item(e);
    EXPECT_STREQ(value_enum_getvalue_asString(&ec.v), "B");
}

TEST_F(ValueTest, EnumerationsAndBoundedNumbersStayInsideTheirRange) {
    V e;
    Take(&e.v, Enum({"LOW", "HIGH"}));
    for (int i : {2, -1, INT32_MIN}) value_enum_setvalue_asInt(&e.v, i);
    const int first = value_enum_getvalue_asInt(&e.v);
    value_enum_setvalue_asString(&e.v, "high");
    value_enum_setvalue_asString(&e.v, "MEDIUM");
    EXPECT_EQ(first * 10 + value_enum_getvalue_asInt(&e.v), 1);
    const char *names[] = {"a", "b", "c"};
    value_setenum_size(&e.v, 3);
    value_assign_enum_as_char(&e.v, names);
    EXPECT_EQ(Printed(&e.v), "[ a , b , c ] The Current Element is a");
    value_setenum_size(&e.v, 5);
    value_enum_setvalue_asInt(&e.v, 4);  // more choices than names: no reading past them
    EXPECT_EQ(value_enum_getvalue_asString(&e.v), nullptr);
    // {integer?, operations on value 3 (0.5) in 1..9 (0..1), the value after}: out-of-range settings change
    // nothing.
    const struct {
        bool integer;
        void (*ops)(value_t *);
        double want;
    } rows[] = {
        {true,
         [](value_t *b) {
             boundednumSetValAsReal(b, 4.0);
             boundednumSetValAsInt(b, 10);
         },
         3},
        {true, [](value_t *b) { boundednumSetValAsInt(b, 9); }, 9},
        {true,
         [](value_t *b) {
             boundednumSetValAsInt(b, 9);
             boundednumSetUpperAsInt(b, 6);
         },
         6},
        {true, [](value_t *b) { boundednumSetLowerAsInt(b, 7); }, 7},
        {false,
         [](value_t *b) {
             boundednumSetValAsReal(b, std::nan(""));
             boundednumSetValAsInt(b, 1);
         },
         0.5},
        {false, [](value_t *b) { boundednumSetLowerAsReal(b, 0.75); }, 0.75},
        {false,
         [](value_t *b) {
             boundednumSetUpperAsReal(b, 0.8);
             boundednumSetValAsReal(b, 0.8);
         },
         0.8},
    };
    for (const auto &r : rows) {
        V b;
        Take(&b.v, r.integer ? Bounded(true, 3, 1, 9) : Bounded(false, 0.5, 0, 1));
        r.ops(&b.v);
        EXPECT_EQ(r.integer ? b.v.u.bounded.value.ival : b.v.u.bounded.value.rval, r.want) << &r - rows;
    }
}

// List, case, rounding and kind-name functions: {function, argument, with the context?, printed result}.
TEST_F(ValueTest, ListTextAndKindFunctions) {
    RecordingContext ctx;
    ctx.set(ctx.params, "P1", Str("abc"));
    ctx.set(ctx.objects, "X", Str("MiXed"));
    ctx.kinds["BLK"] = "BLOCK";
    auto L = [](std::initializer_list<value_t *> items) { return ListOf(items); };
    const char *const U = "!!!UNDEFINED!!!";
    const struct {
        void (*fn)(value_t *, IValueContext *);
        value_t *v;
        bool ctx;
        const char *want;
    } rows[] = {
#define NOCTX(f) [](value_t *v, IValueContext *) { f(v); }
        {NOCTX(value_elem), L({L({Int(10), Int(20), Int(30)}), Int(3)}), 0, "30"},
        {NOCTX(value_elem), L({L({Int(10)}), Int(0)}), 0, U},
        {NOCTX(value_elem), L({L({Int(10), Int(20), Int(30)}), Int(4)}), 0, U},
        {NOCTX(value_elem), L({Int(5), Int(1)}), 0, U},
        {NOCTX(value_elem), L({L({Int(10)}), Real(1.0)}), 0, U},
        {NOCTX(value_elem), L({L({Int(10)}), Str("1")}), 0, "10"},
        {NOCTX(value_repl_elem), L({L({Int(1), Int(2)}), Int(2), Str("x")}), 0, "[ 1 , x ]"},
        {NOCTX(value_repl_elem), L({L({Int(1)}), Int(2), Str("x")}), 0, U},
        {NOCTX(value_head), L({}), 0, U},
        {NOCTX(value_head), L({Str("a"), Int(2)}), 0, "a"},
        {NOCTX(value_tail), L({Int(7)}), 0, "[ ]"},
        {NOCTX(value_tail), L({Int(7), Int(8), Int(9)}), 0, "[ 8 , 9 ]"},
        {NOCTX(value_tail), Int(7), 0, U},
        {NOCTX(value_list_num), L({Int(7), Int(8)}), 0, "2"},
        {NOCTX(value_list_num), Str("ab"), 0, U},
#undef NOCTX
        {value_tolower, Str("AbC"), 0, "abc"},
        {value_toupper, Id("x"), 1, "X"},  // the name, not what it names
        {value_toupper, Int(5), 0, "5"},
        {value_tolower, L({Id("A")}), 0, "[a]"},
        {value_string2id, Str("b&q.x"), 1, "B.X"},
        {value_string2id, Str("b&P1.x"), 1, "BABC.X"},
        {value_string2id, Str("a=b"), 0, "'A=B'"},
        {value_string2id, Str("a@b"), 0, U},
        {value_id2string, Id("A B"), 0, "A B"},
        {value_id2string, Str("A"), 0, U},
        {value_int, Real(2.5), 0, "3"},
        {value_int, Real(-2.5), 0, "-3"},
        {value_int, Str("7"), 0, "7"},
        {value_int, Real(0.3048 * 2.5, 17, 2), 0, "3"},  // rounded in its display unit (FT)
        {value_int, Real(1e12), 0, "!!!Bad Number!!!"},
        {value_int, Bool(1), 0, U},
        {value_typeof, Real(2.5), 0, "REAL"},
        {value_typeof, Int(2), 0, "INTEGER"},
        {value_typeof, L({}), 0, "LIST"},
        {value_typeof, Id("BLK"), 1, "BLOCK"},
        {value_typeof, Id("OTHER"), 1, "IDENTIFIER"},
        {value_typeof, Id("BLK"), 0, "IDENTIFIER"},
        {value_typeof, Heap(), 0, "UNDEFINED"},
    };
    for (const auto &r : rows) {
        r.fn(r.v, r.ctx ? &ctx : nullptr);
        EXPECT_EQ(Consumed(r.v), r.want) << &r - rows;
    }
    EXPECT_EQ(ctx.param_calls, 2);
}

// INT makes the same INTEGER record as an assigned integer: DIMENSIONLES in unit 0, whatever unit the real
// was shown in, so a later product or sum shows it in the default unit like any other integer.
TEST_F(ValueTest, IntOfARealIsTheIntegerAnAssignmentMakes) {
    V rounded, assigned;
    value_assign_double(&rounded.v, 0.3048 * 2.5, 17, 2);
    value_int(&rounded.v, nullptr);
    value_assign_int(&assigned.v, 3);
    const num &got = rounded.v.u.number, &want = assigned.v.u.number;
    EXPECT_EQ(std::tuple(got.ival, got.is_int, got.ptype, got.uom, got.baseuom, got.undefined),
              std::tuple(want.ival, want.is_int, want.ptype, want.uom, want.baseuom, want.undefined));
}

TEST_F(ValueTest, AllocationFailuresLeaveTargetsAsTheyWere) {
    V v, list, out;
    value_assign_copy_of_string(&v.v, "keep");
    Take(&list.v, ListOf({Str("a"), ListOf({Str("b"), Str("c")})}));
    for (long n = 1; n <= 5; ++n) {  // every allocation of a deep copy in turn
        zarn::failalloc_set(n);
        value_copy(&list.v, &v.v);
        zarn::failalloc_set(0);
        EXPECT_EQ(Printed(&v.v) + history_.text(), "keep!!! value_copy: unable to allocate memory\n") << n;
    }
    zarn::failalloc_set(1);
    EXPECT_EQ(value_assign_copy_of_string(&v.v, "new"), nullptr);
    zarn::failalloc_set(1);
    EXPECT_EQ(value_create_from_int(1), nullptr);
    zarn::failalloc_set(2);
    EXPECT_EQ(value_create_from_string(const_cast<char *>("x"), 1), nullptr);
    zarn::failalloc_set(1);
    value_coerce(&list.v, &out.v, string_value, nullptr);
    zarn::failalloc_set(0);
    EXPECT_EQ(Printed(&out.v) + Printed(&v.v), "!!!UNDEFINED!!!keep");
    EXPECT_EQ(history_.text(),
              "!!! value_assign_copy_of_string: unable to allocate memory\n"
              "!!! value_create_from_int: unable to allocate memory\n"
              "!!! value_create_from_string: unable to allocate memory\n");
}

// Every message of the module but those of files and allocation failures (their own tables):
// {calls, history text, assertion lines as "text @file"}.
TEST_F(ValueTest, MessageTable) {
    const std::string kName = "!!! Parameters must start with A-Z and contain only A-Z, 0-9, and _.\n";
    static value_t bad;
    value_init(&bad);
    bad.value_type = 40;
    const struct {
        std::function<void()> run;
        std::string history, asserted;
    } rows[] = {
        {[] {  // null contents, arguments beyond 16 bits
             V v;
             value_assign_list(&v.v, nullptr);
             value_assign_enum(&v.v, nullptr);
             value_assign_pipe(&v.v, nullptr);
             value_assign_string(&v.v, nullptr);
             EXPECT_EQ(value_assign_copy_of_string(&v.v, nullptr), nullptr);
             value_init(nullptr);
             value_destroy_list_item(nullptr);
             EXPECT_EQ(value_assign_double(&v.v, 1, 70000, 0) + value_assign_double(&v.v, 1, 17, -40000) +
                           value_okay(nullptr),
                       0);
             EXPECT_EQ(v.kind(), undefined_value);
             EXPECT_EQ(value_create_from_string(nullptr, 1), nullptr);
         },
         "",
         "!!! value_assign_list: NULL list pointer @rtvalue\n!!! value_assign_enum: NULL list pointer "
         "@rtvalue\n"
         "!!! value_assign_pipe: NULL pipe @rtvalue\n!!! value_assign_string: NULL text @rtvalue\n"
         "!!! value_assign_copy_of_string: NULL text @rtvalue\n"
         "!!! value_assign_double: bad argument @rtvalue\n!!! value_assign_double: bad argument @rtvalue\n"},
        {[] {  // enumeration and bounded calls on a STRING; a host resolving to garbage (the name stays)
             V s, v;
             RecordingContext ctx;
             value_assign_copy_of_string(&s.v, "x");
             value_setenum_size(&s.v, 2);
             boundednumSetValAsInt(&s.v, 1);
             ctx.garbage = true;
             value_assign_copy_of_id(&v.v, "P");
             value_deref(&v.v, &ctx);
             EXPECT_EQ(std::to_string(value_enum_getvalue_asInt(&s.v)) + Printed(&v.v), "-1P");
         },
         "",
         "!!! value_setenum_size: value not an enum_value @rtvalue\n!!! boundednumSetValAsInt: value not an "
         "boundednumber_value @rtvalue\n!!! value_deref: result is a bad value @rtvalue\n"
         "!!! value_enum_getvalue_asInt: value not an enum_value @rtvalue\n"},
        {[] {  // parameter names, kinds and read-only parameters
             for (const char *name : {"p1", "1P", "A-B_9"}) Set(name, Int(1));
             Set("DATE", Str("x"));
             Set("P_AMB", Str("x"));
             EXPECT_EQ(param_defined("p1", nullptr, nullptr) + param_defined("A-B_9", nullptr, nullptr), 1);
             EXPECT_EQ(Read("bad name") + Read("NOPE"), "!!!UNDEFINED!!!!!!UNDEFINED!!!");
             param_undef("A-B_9", nullptr);
             param_create_linked("P_AMB", 0, 0, nullptr, nullptr);
             param_create_linked("x y", 0, 0, nullptr, nullptr);
         },
         "!!! param_set: invalid parameter name p1.\n" + kName +
             "!!! param_set: invalid parameter name 1P.\n" + kName +
             "!!! param_set: assignment to read-only parameter DATE\n"
             "!!! param_set: assignment of a string value to a number parameter\n"
             "!! param_read: invalid parameter name bad name\n!!! param_create_linked: unable to add linked "
             "parameter "
             "P_AMB\n!!! param_create_linked: variable of that name already exists\n"
             "!!! param_create_linked: Invalid parameter name x y\n" +
             kName,
         ""},
        {[] {  // parameter calls without tables or with bad values
             param_define_local("X", nullptr, nullptr);
             param_read("P_AMB", &bad, nullptr, nullptr);
             param_set("X", &bad, nullptr, nullptr);
             EXPECT_EQ(param_init(0), param_init(0));
             EXPECT_EQ(param_defined("X", nullptr, nullptr), 0);
         },
         "",
         "!!! param_create_local: NULL local_hash_table @rtparam\nparam_read: bad value for result @rtparam\n"
         "!!! param_set: bad value @rtparam\n!!! param_init called twice @rtparam\n!!! param_init called "
         "twice @rtparam\n"},
        {[] {  // bad operands and results: the result is left as it was
             V one, res;
             value_assign_int(&one.v, 1);
             value_assign_copy_of_string(&res.v, "kept");
             value_add(&bad, &one.v, &res.v, nullptr);
             value_less(&one.v, &bad, &res.v, nullptr);
             value_equal(&one.v, &one.v, &bad, nullptr);
             value_negate(&bad, nullptr);
             value_aliases_by_var(&bad, nullptr);
             EXPECT_EQ(Printed(&res.v), "kept");
             EXPECT_EQ(bad.value_type, 40);
         },
         "",
         "!!! value_add: bad left hand side @rtvalue\n!!! value_less: bad right hand side @rtvalue\n"
         "!!! value_equal: result is a bad value @rtvalue\n!!! value_negate: bad argument @rtvalue\n"
         "!!! value_aliases_by_var: bad argument @rtvalue\n"},
    };
    static const std::regex assertion("Assertion '([^\n]*?)' failed in source/rtvalue/(\\w+):[0-9]+\n");
    for (const auto &r : rows) {
        StderrCapture err;
        r.run();
        EXPECT_EQ(history_.text(), r.history) << &r - rows;
        EXPECT_EQ(std::regex_replace(err.text(), assertion, "$1 @$2\n"), r.asserted) << &r - rows;
    }
}

// Random values of every kind made, copied, coerced and destroyed; the
// sanitizer build proves that nothing leaks and nothing is freed twice.
TEST_F(ValueTest, RandomisedLifecycleOverEveryKind) {
    std::mt19937 rng(20261205);
    rtopipe *q = create_queue_rtopipe();
    auto make = [&](auto &&self, int depth) -> value_t * {
        const int kind = static_cast<int>(rng() % 12);
        if (kind == list_value && depth < 3) return ListOf({self(self, depth + 1), self(self, depth + 1)});
        if (kind == number_value) return Real(rng() % 1000 / 7.0, int(rng() % 30), int(rng() % 3));
        return kind == string_value       ? Str(rng() % 2 ? "12 {FT}" : "x")
               : kind == identifier_value ? Id(rng() % 2 ? "X" : "A.B")
                                          : Sample(kind, q);
    };
    RecordingContext ctx;
    ctx.set(ctx.objects, "X", Str("3"));
    std::vector<value_t *> pool;
    for (int step = 0; step < 3000; ++step) {
        if (pool.size() < 20 || rng() % 3 == 0) pool.push_back(make(make, 0));
        value_t *a = pool[rng() % pool.size()], *b = pool[rng() % pool.size()];
        const unsigned op = rng() % 4;
        op == 0   ? value_copy(a, b)
        : op == 1 ? value_coerce(a, b, static_cast<int>(rng() % 12), rng() % 2 ? &ctx : nullptr)
        : op == 3 ? value_print(nowherePipe, a)
                  : void();
        ASSERT_EQ(value_okay(b), 1) << step;
        if (const auto at = pool.begin() + static_cast<long>(rng() % pool.size()); op == 2) {
            value_destroy_list_item(*at);
            pool.erase(at);
        }
    }
    for (value_t *v : pool) value_destroy_list_item(v);
    history_.text();
    rtodestroy(q);
}

}  // namespace
