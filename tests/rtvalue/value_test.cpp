// The value record: printing, validity, copying, enumerations, bounded
// numbers, list and text functions, allocation failures and a randomised
// make/copy/coerce/destroy run.
#include <random>
#include <vector>

#include "value_fixture.h"

namespace {

using namespace zarn::test;

TEST_F(ValueTest, PrintedFormsOfEveryKind) {
    value_t *bad_number = Real(1);
    bad_number->u.number.undefined = 1;
    value_t *held_in_feet = Real(1, 17, 1);
    held_in_feet->u.number.baseuom = 2;
    value_t *typed_int = Int(3);
    typed_int->u.number.ptype = 20;
    value_t *e = Enum({"LOW", "HIGH"});
    value_enum_setvalue_asInt(e, 1);
    struct Row {
        value_t *v;
        const char *want;
    } rows[] = {
        {Heap(), "!!!UNDEFINED!!!"}, {bad_number, "!!!Bad Number!!!"}, {typed_int, "3"},
        {Real(2.5, RTOUOM_SSI_MARKER), "2.5 {ssi}"}, {Real(2.5, RTOUOM_SI_MARKER), "2.5 {si}"},
        {Real(1, 20, 3), "9.86923e-06 {ATM}"}, {Real(1, 20, 0), "1 {N/SQM}"}, {Real(2.5), "2.5 {*}"},
        {Real(0.5, 44, 2), "0.5 {UNITLESS}"}, {Real(0.3048, 17, 2), "1 {FT}"}, {held_in_feet, "0.3048 {METER}"},
        {Str("a b"), "a b"}, {Kind(Str("B*"), glob_value), "B*"}, {Kind(Str("^x"), regexp_value), "^x"},
        {Id("ABC"), "ABC"}, {Id("1ST"), "'1ST'"}, {Bool(0), "FALSE"}, {ListOf({}), "[ ]"},
        {ListOf({Int(1), Id("A B"), Bool(1)}), "[ 1 , 'A B' , TRUE ]"},
        {ListOf({ListOf({Int(1)}), Str("x")}), "[ [ 1 ] , x ]"}, {e, "[ LOW , HIGH ] The Current Element is HIGH"},
        {Bounded(true, 3, 1, 9), "3 Lowerbound = 1 : Upperbound= 9"},
        {Bounded(false, 0.5, -1.5, 2.5), "0.5 {*} Lowerbound = -1 : Upperbound= 2"},
    };
    for (const Row &r : rows) {
        EXPECT_EQ(Printed(r.v), r.want);
        value_destroy_list_item(r.v);
    }
    V range;
    value_assign_range(&range.v, -1, 4);
    EXPECT_EQ(Printed(&range.v), "-1 : 4");
}

// Invalid values are refused with the assertion of the function that met them.
TEST_F(ValueTest, HostileValuesAreRefusedAndLeftAlone) {
    value_t bad[7];
    for (auto &b : bad) value_init(&b);
    bad[0].value_type = 12;
    bad[1].value_type = -1;
    bad[2].u.number.ival = 5;  // UNDEFINED with a stray byte
    bad[3].value_type = string_value;
    bad[4].value_type = logical_value;
    bad[4].u.logical = 2;
    bad[5].value_type = enum_value;
    bad[6].value_type = list_value;
    bad[6].u.list = gl_create();
    gl_addtoend(bad[6].u.list, &bad[3]);  // an item without text
    StderrCapture err;
    for (value_t &b : bad) {
        const value_t before = b;
        EXPECT_EQ(value_okay(&b), 0);
        V good;
        value_copy(&b, &good.v);
        value_copy(&good.v, &b);
        value_destroy(&b);
        value_assign_int(&b, 1);
        value_print(nowherePipe, &b);
        value_coerce(&b, &good.v, string_value, nullptr);
        value_head(&b);
        EXPECT_EQ(std::memcmp(&b, &before, sizeof b), 0);
        EXPECT_EQ(good.kind(), undefined_value);
    }
    const std::string e = err.text();
    for (const char *t : {"!!! value_copy: src is bad value", "!!! value_copy: dest is bad value",
                          "!!! value_destroy: bad value type", "!!! value_assign_int: bad value type",
                          "!!! value_print: bad value type", "!!! value_coerce: bad argument",
                          "!!! value_head: bad argument"})
        EXPECT_NE(e.find(std::string("Assertion '") + t + "' failed in source/rtvalue/rtvalue:"), std::string::npos) << t;
    gl_destroylist(bad[6].u.list);
    // Null targets and null contents.
    value_t *nul = nullptr;
    value_init(nul);
    value_destroy_list_item(nul);
    EXPECT_EQ(value_okay(nul), 0);
    V v;
    value_assign_list(&v.v, nullptr);
    value_assign_enum(&v.v, nullptr);
    value_assign_pipe(&v.v, nullptr);
    value_assign_string(&v.v, nullptr);
    EXPECT_EQ(value_assign_double(&v.v, 1, 70000, 0) + value_assign_double(&v.v, 1, 17, -40000), 0);
    EXPECT_EQ(v.kind(), undefined_value);
    EXPECT_EQ(value_create_from_string(nullptr, 1), nullptr);
    const std::string e2 = err.text();
    for (const char *t : {"!!! value_assign_list: NULL list pointer", "!!! value_assign_enum: NULL list pointer",
                          "!!! value_assign_pipe: NULL pipe", "!!! value_assign_string: NULL text"})
        EXPECT_NE(e2.find(t), std::string::npos) << t;
}

TEST_F(ValueTest, CopiesAreDeepAndPipesShared) {
    V src, dst, p1, p2, ec;
    Take(&src.v, ListOf({Str("abc"), ListOf({Int(2)})}));
    value_assign_copy_of_string(&dst.v, "old");
    value_copy(&src.v, &dst.v);
    static_cast<value_t *>(src.v.u.list->head->data)->u.text[0] = 'X';
    value_copy(&dst.v, &dst.v);  // onto itself: unchanged
    EXPECT_EQ(Printed(&dst.v), "[ abc , [ 2 ] ]");
    value_assign_pipe(&p1.v, create_queue_rtopipe());
    value_copy(&p1.v, &p2.v);
    value_destroy(&p1.v);  // the copy's reference keeps the queue
    rtowritestr(p2.v.u.pipe, "still open");
    EXPECT_EQ(drain(p2.v.u.pipe), "still open");
    value_t *e = Enum({"A", "B"});
    value_enum_setvalue_asInt(e, 1);
    value_copy(e, &ec.v);
    value_destroy_list_item(e);
    EXPECT_STREQ(value_enum_getvalue_asString(&ec.v), "B");
}

TEST_F(ValueTest, EnumerationsAndBoundedNumbersStayInsideTheirRange) {
    V e, b, r, s;
    Take(&e.v, Enum({"LOW", "HIGH"}));
    for (int i : {2, -1, INT32_MIN}) value_enum_setvalue_asInt(&e.v, i);
    EXPECT_EQ(value_enum_getvalue_asInt(&e.v), 0);
    value_enum_setvalue_asString(&e.v, "high");
    value_enum_setvalue_asString(&e.v, "MEDIUM");
    EXPECT_EQ(value_enum_getvalue_asInt(&e.v), 1);
    value_setenum_size(&e.v, 3);
    const char *names[] = {"a", "b", "c"};
    value_assign_enum_as_char(&e.v, names);
    EXPECT_EQ(Printed(&e.v), "[ a , b , c ] The Current Element is a");
    value_setenum_size(&e.v, 5);  // more choices than names in the list: no reading past it
    value_enum_setvalue_asInt(&e.v, 4);
    EXPECT_EQ(value_enum_getvalue_asString(&e.v), nullptr);

    Take(&b.v, Bounded(true, 3, 1, 9));
    boundednumSetValAsReal(&b.v, 4.0);  // the other kind: nothing
    boundednumSetValAsInt(&b.v, 10);
    EXPECT_EQ(b.v.u.bounded.value.ival, 3);
    boundednumSetValAsInt(&b.v, 9);  // a bound itself is accepted
    EXPECT_EQ(b.v.u.bounded.value.ival, 9);
    boundednumSetUpperAsInt(&b.v, 6);
    EXPECT_EQ(b.v.u.bounded.value.ival, 6);
    boundednumSetLowerAsInt(&b.v, 7);
    EXPECT_EQ(b.v.u.bounded.value.ival, 7);
    Take(&r.v, Bounded(false, 0.5, 0, 1));
    boundednumSetValAsReal(&r.v, std::nan(""));
    boundednumSetValAsInt(&r.v, 1);
    EXPECT_EQ(r.v.u.bounded.value.rval, 0.5);
    boundednumSetLowerAsReal(&r.v, 0.75);
    EXPECT_EQ(r.v.u.bounded.value.rval, 0.75);
    boundednumSetUpperAsReal(&r.v, 0.8);
    boundednumSetValAsReal(&r.v, 0.8);
    EXPECT_EQ(r.v.u.bounded.value.rval, 0.8);

    StderrCapture err;
    value_assign_copy_of_string(&s.v, "x");
    value_setenum_size(&s.v, 2);
    boundednumSetValAsInt(&s.v, 1);
    EXPECT_EQ(value_enum_getvalue_asInt(&s.v), -1);
    const std::string t = err.text();
    for (const char *m : {"'!!! value_setenum_size: value not an enum_value'",
                          "'!!! boundednumSetValAsInt: value not an boundednumber_value'",
                          "'!!! value_enum_getvalue_asInt: value not an enum_value'"})
        EXPECT_NE(t.find(m), std::string::npos) << m;
}

// List, case, rounding and kind-name functions: {function, argument, with the context, printed result}.
TEST_F(ValueTest, ListTextAndKindFunctions) {
    FakeContext ctx;
    ctx.set(ctx.params, "P1", Str("abc"));
    ctx.set(ctx.objects, "X", Str("MiXed"));
    ctx.kinds["BLK"] = "BLOCK";
    auto L = [](std::initializer_list<value_t *> items) { return ListOf(items); };
    const struct {
        void (*fn)(value_t *, IValueContext *);
        value_t *v;
        bool ctx;
        const char *want;
    } rows[] = {
#define NOCTX(f) [](value_t *v, IValueContext *) { f(v); }
        {NOCTX(value_elem), L({L({Int(10), Int(20), Int(30)}), Int(3)}), 0, "30"},
        {NOCTX(value_elem), L({L({Int(10), Int(20), Int(30)}), Int(4)}), 0, "!!!UNDEFINED!!!"},
        {NOCTX(value_elem), L({L({Int(10)}), Int(0)}), 0, "!!!UNDEFINED!!!"},
        {NOCTX(value_elem), L({L({Int(10)}), Real(1.0)}), 0, "!!!UNDEFINED!!!"},
        {NOCTX(value_elem), L({L({Int(10)}), Str("1")}), 0, "10"},
        {NOCTX(value_elem), L({Int(5), Int(1)}), 0, "!!!UNDEFINED!!!"},
        {NOCTX(value_repl_elem), L({L({Int(1), Int(2)}), Int(2), Str("x")}), 0, "[ 1 , x ]"},
        {NOCTX(value_repl_elem), L({L({Int(1)}), Int(2), Str("x")}), 0, "!!!UNDEFINED!!!"},
        {NOCTX(value_head), L({Str("a"), Int(2)}), 0, "a"}, {NOCTX(value_head), L({}), 0, "!!!UNDEFINED!!!"},
        {NOCTX(value_tail), L({Int(7)}), 0, "[ ]"}, {NOCTX(value_tail), L({Int(7), Int(8), Int(9)}), 0, "[ 8 , 9 ]"},
        {NOCTX(value_tail), Int(7), 0, "!!!UNDEFINED!!!"}, {NOCTX(value_list_num), L({Int(7), Int(8)}), 0, "2"},
        {NOCTX(value_list_num), Str("ab"), 0, "!!!UNDEFINED!!!"},
#undef NOCTX
        {value_tolower, Str("AbC"), 0, "abc"}, {value_toupper, Id("x"), 1, "X"},  // the name, not what it names
        {value_toupper, Int(5), 0, "5"}, {value_tolower, L({Id("A")}), 0, "[a]"},
        {value_string2id, Str("b&q.x"), 1, "B.X"}, {value_string2id, Str("b&P1.x"), 1, "BABC.X"},
        {value_string2id, Str("a=b"), 0, "'A=B'"}, {value_string2id, Str("a@b"), 0, "!!!UNDEFINED!!!"},
        {value_id2string, Id("A B"), 0, "A B"}, {value_id2string, Str("A"), 0, "!!!UNDEFINED!!!"},
        {value_int, Real(2.5), 0, "3"}, {value_int, Real(-2.5), 0, "-3"},
        {value_int, Real(0.3048 * 2.5, 17, 2), 0, "3"},  // rounded in its display unit (FT)
        {value_int, Real(1e12), 0, "!!!Bad Number!!!"}, {value_int, Str("7"), 0, "7"},
        {value_int, Bool(1), 0, "!!!UNDEFINED!!!"}, {value_typeof, Real(2.5), 0, "REAL"},
        {value_typeof, Int(2), 0, "INTEGER"}, {value_typeof, L({}), 0, "LIST"}, {value_typeof, Id("BLK"), 1, "BLOCK"},
        {value_typeof, Id("OTHER"), 1, "IDENTIFIER"}, {value_typeof, Id("BLK"), 0, "IDENTIFIER"},
        {value_typeof, Heap(), 0, "UNDEFINED"},
    };
    for (const auto &r : rows) {
        r.fn(r.v, r.ctx ? &ctx : nullptr);
        EXPECT_EQ(Printed(r.v), r.want) << &r - rows;
        value_destroy_list_item(r.v);
    }
    EXPECT_EQ(ctx.param_calls, 2);
}

TEST_F(ValueTest, AllocationFailuresLeaveTargetsAsTheyWere) {
    V v, list;
    value_assign_copy_of_string(&v.v, "keep");
    Take(&list.v, ListOf({Str("a"), ListOf({Str("b"), Str("c")})}));
    for (long n = 1; n <= 5; ++n) {  // every allocation of a deep copy in turn
        zarn::failalloc_set(n);
        value_copy(&list.v, &v.v);
        zarn::failalloc_set(0);
        EXPECT_EQ(Printed(&v.v), "keep") << n;
        EXPECT_EQ(history_.text(), "!!! value_copy: unable to allocate memory\n");
    }
    zarn::failalloc_set(1);
    EXPECT_EQ(value_assign_copy_of_string(&v.v, "new"), nullptr);
    zarn::failalloc_set(1);
    EXPECT_EQ(value_create_from_int(1), nullptr);
    zarn::failalloc_set(2);
    EXPECT_EQ(value_create_from_string(const_cast<char *>("x"), 1), nullptr);
    zarn::failalloc_set(1);
    V out;
    value_coerce(&list.v, &out.v, string_value, nullptr);
    zarn::failalloc_set(0);
    EXPECT_EQ(out.kind(), undefined_value);
    EXPECT_EQ(Printed(&v.v), "keep");
    EXPECT_EQ(history_.text(),
              "!!! value_assign_copy_of_string: unable to allocate memory\n"
              "!!! value_create_from_int: unable to allocate memory\n"
              "!!! value_create_from_string: unable to allocate memory\n");
}

// Random values of every kind made, copied, coerced and destroyed; the
// sanitizer build proves that nothing leaks and nothing is freed twice.
TEST_F(ValueTest, RandomisedLifecycleOverEveryKind) {
    std::mt19937 rng(20261205);
    rtopipe *q = create_queue_rtopipe();
    auto make = [&](auto &&self, int depth) -> value_t * {
        switch (rng() % 12) {
        case 1: return Real(rng() % 1000 / 7.0, static_cast<int>(rng() % 30), static_cast<int>(rng() % 3));
        case 2: return Str(rng() % 2 ? "12 {FT}" : "x");
        case 3: return Id(rng() % 2 ? "X" : "A.B");
        case 4: return Kind(Str("^a"), regexp_value);
        case 5: return Kind(Str("a*"), glob_value);
        case 6: return Bool(static_cast<int>(rng() % 2));
        case 7: return PipeOf(q);
        case 8: return depth > 2 ? Int(1) : ListOf({self(self, depth + 1), self(self, depth + 1)});
        case 9: return Range(static_cast<int>(rng() % 5), 3);
        case 10: return Enum({"A", "B"});
        case 11: return Bounded(rng() % 2, 1, 0, 2);
        default: return Heap();
        }
    };
    FakeContext ctx;
    ctx.set(ctx.objects, "X", Str("3"));
    std::vector<value_t *> pool;
    for (int step = 0; step < 3000; ++step) {
        if (pool.size() < 20 || rng() % 3 == 0) pool.push_back(make(make, 0));
        value_t *a = pool[rng() % pool.size()], *b = pool[rng() % pool.size()];
        const unsigned op = rng() % 4;
        if (op == 0) value_copy(a, b);
        if (op == 1) value_coerce(a, b, static_cast<int>(rng() % 12), rng() % 2 ? &ctx : nullptr);
        if (op == 3) value_print(nowherePipe, a);
        ASSERT_EQ(value_okay(b), 1) << step;
        if (op == 2) {
            const size_t i = rng() % pool.size();
            value_destroy_list_item(pool[i]);
            pool.erase(pool.begin() + static_cast<long>(i));
        }
    }
    for (value_t *v : pool) value_destroy_list_item(v);
    history_.text();
    rtodestroy(q);
}

TEST_F(ValueTest, AHundredThousandCharacterString) {
    std::string big(100000, 'A');
    V s, out;
    value_assign_copy_of_string(&s.v, big.c_str());
    value_coerce(&s.v, &out.v, number_value, nullptr);
    EXPECT_EQ(out.kind(), undefined_value);
    value_coerce(&s.v, &out.v, logical_value, nullptr);
    EXPECT_EQ(Printed(&out.v), "TRUE");
    EXPECT_EQ(Printed(&s.v).size(), big.size());
    value_string2id(&s.v, nullptr);
    EXPECT_EQ(s.kind(), identifier_value);
    std::string digits(100000, '7');
    value_assign_copy_of_string(&s.v, (digits + " {FT}").c_str());
    value_coerce(&s.v, &out.v, number_value, nullptr);
    EXPECT_EQ(out.kind(), number_value);
    EXPECT_TRUE(std::isinf(out.v.u.number.rval));
}

}  // namespace
