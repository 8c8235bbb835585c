// Values a hostile caller makes: texts that are no numbers (read in linear time), nesting beyond the
// limit and its cost, every function on every kind, and values that cannot be valid refused when made.
#include <chrono>
#include <functional>
#include <regex>

#include "value_fixture.h"

namespace {

using namespace zarn::test;

// The fastest of three runs of f, in seconds; prepare runs untimed before each.
double Seconds(
    const std::function<void()> &f, const std::function<void()> &prepare = [] {}) {
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        prepare();
        const auto t0 = std::chrono::steady_clock::now();
        f();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return best;
}

// Time linear in the size: about that of a plain pass over as much (a generous factor), or too short to tell.
void ExpectLinear(double seconds, double plain, const std::string &row) {
    EXPECT_TRUE(seconds < 0.02 || seconds < 20 * plain)
        << row << ": " << seconds << " s against " << plain << " s";
}

std::string Kinds(const std::string &letters, int kind) {
    return kind >= 0 && kind < 12 ? letters.substr(kind, 1) : "?";
}
const std::string kLetters = "UNSIRGBPLAEX";

TEST_F(ValueTest, TextsThatAreNoNumberGiveNothingInLinearTime) {
    const size_t n = 20000;
    const std::string digits(n, '7');
    const struct {
        const char *rule;
        std::string text;
        int kind;
    } rows[] = {
        {"digits and then a letter are no number", digits + "x", undefined_value},
        {"a point, digits and a letter are no real", "-." + digits + "q", undefined_value},
        {"an exponent letter needs digits", digits + "." + digits + "E+", undefined_value},
        {"a brace must close the text", digits + "  {FT", undefined_value},
        {"nothing may follow the unit", digits + " {FT}" + digits, undefined_value},
        {"blanks go between number and brace only", digits + std::string(n, ' ') + "x{FT}", undefined_value},
        {"a long real with a unit is a number", "." + digits + "d2 {FT}", number_value},
        {"digits beyond 32 bits are a real", digits, number_value},
    };
    V src, out;
    value_assign_copy_of_string(&src.v, digits.c_str());
    const double plain = Seconds([&] { value_coerce(&src.v, &out.v, string_value, nullptr); });
    for (const auto &r : rows) {
        value_assign_copy_of_string(&src.v, r.text.c_str());
        ExpectLinear(Seconds([&] { value_coerce(&src.v, &out.v, number_value, nullptr); }), plain, r.rule);
        EXPECT_EQ(out.kind(), r.kind) << r.rule;
    }
    EXPECT_EQ(history_.text(), "");
}

// A LIST holding one item levels deep: levels - 1 lists around the INTEGER 1, made through the calls.
value_t *Nested(int levels) {
    value_t *v = Int(1);
    for (int d = 0; d < levels && v; ++d) v = ListOf({v});
    return v;
}

// The innermost list of a nesting.
gl_list_t *Innermost(value_t *v) {
    while (static_cast<value_t *>(v->u.list->head->data)->value_type == list_value)
        v = static_cast<value_t *>(v->u.list->head->data);
    return v->u.list;
}

TEST_F(ValueTest, ListsNestAtMostAThousandLevels) {
    const std::string deep = std::string(1000, '[') + "1" + std::string(1000, ']');
    // takes: the row's calls own the value afterwards (a refused list is destroyed with what it holds).
    const struct {
        const char *rule;
        std::function<std::string(value_t *)> run;
        std::string want, asserted;
        bool takes;
    } rows[] = {
        {"a thousand levels are a value that every call walks",
         [](value_t *v) {
             V copy, same, text;
             value_copy(v, &copy.v);
             value_equal(v, &copy.v, &same.v, nullptr);
             value_coerce(v, &text.v, string_value, nullptr);
             return Printed(&same.v) + " " + text.v.u.text + " " + std::to_string(Printed(v).size());
         },
         "TRUE " + deep + " 4001", "", false},
        {"one more level is refused when made, and the list with it",
         [](value_t *v) {
             gl_list_t *l = gl_create();
             gl_addtoend(l, v);
             V keep;
             value_assign_int(&keep.v, 5);
             value_assign_list(&keep.v, l);
             return Printed(&keep.v);
         },
         "5", "!!! value_assign_list: lists nested more than 1000 levels\n", true},
        {"a level added by hand makes no value",
         [](value_t *v) {
             gl_list_t *inner = Innermost(v);
             void *one = inner->head->data;
             value_t *extra = ListOf({Int(0)});
             inner->head->data = extra;
             V copy;
             const int okay = value_okay(v);
             value_copy(v, &copy.v);
             value_destroy(v);
             inner->head->data = one;
             value_destroy_list_item(extra);
             return std::to_string(okay) + Printed(&copy.v);
         },
         "0!!!UNDEFINED!!!", "!!! value_copy: src is bad value\n!!! value_destroy: bad value type\n", false},
        {"a list holding itself is no value",
         [](value_t *v) {
             gl_list_t *inner = Innermost(v);
             void *one = inner->head->data;
             inner->head->data = v;
             const int okay = value_okay(v);
             value_print(nowherePipe, v);
             inner->head->data = one;
             return std::to_string(okay);
         },
         "0", "!!! value_print: bad value type\n", false},
    };
    static const std::regex assertion("Assertion '([^\n]*?)' failed in source/rtvalue/rtvalue:[0-9]+\n");
    for (const auto &r : rows) {
        value_t *v = Nested(1000);
        ASSERT_EQ(value_okay(v), 1) << r.rule;
        StderrCapture err;
        EXPECT_EQ(r.run(v), r.want) << r.rule;
        EXPECT_EQ(std::regex_replace(err.text(), assertion, "$1\n"), r.asserted) << r.rule;
        if (!r.takes) value_destroy_list_item(v);
    }
}

TEST_F(ValueTest, NestedValuesAreDestroyedInLinearTime) {
    // A thousand levels of a hundred integers each, against one list of as many: the same nodes.
    const int levels = 1000, width = 100;
    V v;
    auto make = [&](bool nested) {
        value_destroy(&v.v);
        value_t *inner = nullptr;
        for (int d = 0; d < (nested ? levels : 1); ++d) {
            gl_list_t *l = gl_create();
            for (int k = 0; k < (nested ? width : levels * width); ++k) gl_addtoend(l, Int(k));
            if (inner) gl_addtoend(l, inner);
            inner = Kind(Heap(), list_value);
            inner->u.list = l;  // put together by hand: made in linear time
        }
        Take(&v.v, inner);
    };
    const double flat = Seconds([&] { value_destroy(&v.v); }, [&] { make(false); });
    ExpectLinear(Seconds([&] { value_destroy(&v.v); }, [&] { make(true); }), flat,
                 "destroying a nested value");
}

// Each function on one value of every kind: the kind it leaves (letters by value_type), without a context.
TEST_F(ValueTest, EveryFunctionGivesTheKindOfItsRuleForEveryKind) {
    rtopipe *q = create_queue_rtopipe();
    const struct {
        const char *rule;
        void (*fn)(value_t *, IValueContext *);
        const char *kinds;
    } rows[] = {
        {"head: the first item of a list", [](value_t *v, IValueContext *) { value_head(v); },
         "UUUUUUUUNUUU"},
        {"tail: the other items of a list", [](value_t *v, IValueContext *) { value_tail(v); },
         "UUUUUUUULUUU"},
        {"list_num: the number of items", [](value_t *v, IValueContext *) { value_list_num(v); },
         "UUUUUUUUNUUU"},
        {"elem: [list, n] only", [](value_t *v, IValueContext *) { value_elem(v); }, "UUUUUUUUUUUU"},
        {"repl_elem: [list, n, x] only", [](value_t *v, IValueContext *) { value_repl_elem(v); },
         "UUUUUUUUUUUU"},
        {"id2string: identifiers only", value_id2string, "UUUSUUUUUUUU"},
        {"int: numbers, a list's text is none", value_int, "UNNUUUUUUUUU"},
        {"devinfo: pipes, a list's text is none", value_devinfo, "UUUUUUUSUUUU"},
        {"negate: numbers, a list's text is none", value_negate, "UNNUUUUUUUUU"},
        {"toupper: what has a text form", value_toupper, "USSSUSSUSSUU"},
        {"length: of what has a text form", value_length, "UNNNUNNUNNUU"},
        {"typeof: a name for every kind", value_typeof, "IIIIIIIIIIII"},
    };
    for (const auto &r : rows) {
        std::string got;
        for (int kind = 0; kind < 12; ++kind) {
            V v;
            Take(&v.v, Sample(kind, q));
            r.fn(&v.v, nullptr);
            got += Kinds(kLetters, v.kind());
        }
        EXPECT_EQ(got, r.kinds) << r.rule;
    }
    EXPECT_EQ(history_.text(), "");
    rtodestroy(q);
}

// Values that cannot be valid: refused with the assertion of the call that meets them, the target as it was.
TEST_F(ValueTest, ValuesThatCannotBeValidAreRefusedWhenMade) {
    auto list_of = [](std::initializer_list<value_t *> items) {
        gl_list_t *l = gl_create();
        for (value_t *i : items) gl_addtoend(l, i);
        return l;
    };
    const struct {
        const char *rule;
        std::function<void(value_t *)> run;
        const char *asserted;
    } rows[] = {
        {"an enumeration needs choices", [&](value_t *v) { value_assign_enum(v, list_of({})); },
         "!!! value_assign_enum: empty list\n"},
        {"no list item is null",
         [&](value_t *v) {
             value_assign_list(v, list_of({Int(1), nullptr}));
         },
         "!!! value_assign_list: bad list item\n"},
        {"no choice is null",
         [&](value_t *v) {
             value_assign_enum(v, list_of({Str("A"), nullptr}));
         },
         "!!! value_assign_enum: bad list item\n"},
        {"every item is a value", [&](value_t *v) { value_assign_list(v, list_of({Kind(Heap(), 40)})); },
         "!!! value_assign_list: bad list item\n"},
        {"a list's length counts its items",
         [&](value_t *v) {
             gl_list_t *l = list_of({Int(1), Int(2)});
             l->length = 1;
             value_assign_list(v, l);
         },
         "!!! value_assign_list: bad list item\n"},
        {"a choice nulled by hand makes no value",
         [](value_t *v) {
             V e, copy;
             Take(&e.v, Enum({"LOW", "HIGH"}));
             gl_node_t *second = e.v.u.enumeration.choices->head->next;
             void *high = second->data;
             second->data = nullptr;
             value_copy(&e.v, &copy.v);
             value_print(nowherePipe, &e.v);
             value_enum_setvalue_asString(&e.v, "HIGH");
             second->data = high;
         },
         "!!! value_copy: src is bad value\n!!! value_print: bad value type\n"
         "!!! value_enum_setvalue_asString: bad value type\n"},
    };
    static const std::regex assertion("Assertion '([^\n]*?)' failed in source/rtvalue/rtvalue:[0-9]+\n");
    for (const auto &r : rows) {
        V v;
        value_assign_copy_of_string(&v.v, "kept");
        StderrCapture err;
        r.run(&v.v);
        EXPECT_EQ(Printed(&v.v), "kept") << r.rule;
        EXPECT_EQ(std::regex_replace(err.text(), assertion, "$1\n"), r.asserted) << r.rule;
    }
}

}  // namespace
