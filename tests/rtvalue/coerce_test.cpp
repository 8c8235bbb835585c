// Coercion between kinds: the whole matrix with and without a context, the
// three number patterns, the text forms, and dereferencing.
#include <cmath>
#include <map>

#include "value_fixture.h"

namespace {

using namespace zarn::test;

// Printed results of coercions between kinds (by value_type) other than to a value's own kind (its own form)
// and from a LIST (its text form [1,A,x]); a pair not listed gives UNDEFINED.
const std::map<std::pair<int, int>, const char *> kCoerced = {
    {{0, 6}, "FALSE"}, {{1, 2}, "3 {FT}"}, {{1, 6}, "TRUE"},   {{2, 1}, "12"},   {{2, 6}, "TRUE"},
    {{3, 2}, "X"},     {{5, 2}, "A*"},     {{5, 4}, "%^A.*$"}, {{6, 2}, "TRUE"}, {{8, 0}, "."},
    {{8, 6}, "TRUE"},  {{9, 2}, "2:5"},    {{9, 6}, "TRUE"}};

TEST_F(ValueTest, CoercionMatrixWithAndWithoutAContext) {
    rtopipe *q = create_queue_rtopipe();
    RecordingContext ctx;
    ctx.set(ctx.objects, "X", Int(7));  // with a context X is the INTEGER 7
    for (IValueContext *c : {static_cast<IValueContext *>(nullptr), static_cast<IValueContext *>(&ctx)})
        for (int from = 0; from < 12; ++from) {
            value_t *src = Sample(from, q);
            const std::string own = Printed(src);
            for (int to = 0; to < 12; ++to) {
                const auto it = kCoerced.find({from, to});
                const std::string plain = to == from             ? "="
                                          : it != kCoerced.end() ? it->second
                                          : from == list_value   ? "[1,A,x]"
                                                                 : ".";
                const std::string want =
                    c && from == identifier_value && to != string_value && to != identifier_value
                        ? (to == number_value    ? "7"
                           : to == logical_value ? "TRUE"
                                                 : ".")
                        : plain;
                const int kind = want == "." ? 0
                                 : from == list_value && to != logical_value && to != list_value
                                     ? string_value
                                     : to;
                V out;
                value_coerce(src, &out.v, to, c);
                EXPECT_EQ(Printed(&out.v) + "/" + std::to_string(out.kind()), (want == "." ? "!!!UNDEFINED!!!"
                                                                               : want == "=" ? own
                                                                                             : want) +
                                                                                  "/" + std::to_string(kind))
                    << from << " to " << to << (c ? " with a context" : "");
            }
            EXPECT_EQ(Consumed(src), own) << "source changed";
        }
    EXPECT_EQ(history_.text(), "");
    rtodestroy(q);
}

TEST_F(ValueTest, NumbersAreReadFromTextInThreePatterns) {
    const double psi = 6894.75729316836;
    const std::string letters(100000, 'A'), digits = std::string(100000, '7') + " {FT}";
    const struct {
        const char *text;
        int kind, is_int = 0, ptype = 0, uom = 0;
        double value = 0;
        const char *message = "";
    } rows[] = {
        {"12", number_value, 1, 44, 0, 12},
        {"-0", number_value, 1, 44, 0, 0},
        {"12345678901", number_value, 0, 0, 0, 12345678901.0},  // beyond 32 bits: a real
        {"-1.5d2", number_value, 0, 0, 0, -150},
        {"1D3", number_value, 0, 0, 0, 1000},
        {"1.e3", number_value, 0, 0, 0, 1000},
        {".5", number_value, 0, 0, 0, 0.5},
        {"3 {FT}", number_value, 0, 17, 2, 0.9144},
        {"3{psig}", number_value, 0, 20, 13, 3 * psi + 101325},
        {"1.5d1  {ft}", number_value, 0, 17, 2, 4.572},
        {"2 {NOPE}", number_value, 0, 0, 0, 2, "!! rtouom_locate: "},
        {digits.c_str(), number_value, 0, 17, 2, HUGE_VAL},
        {"1.", undefined_value},
        {"1e", undefined_value},
        {"", undefined_value},
        {"1 {FT", undefined_value},
        {"{FT}", undefined_value},
        {"1 {FT} x", undefined_value},
        {letters.c_str(), undefined_value},
    };
    for (const auto &r : rows) {
        V src, out;
        value_assign_copy_of_string(&src.v, r.text);
        value_coerce(&src.v, &out.v, number_value, nullptr);
        const num &n = out.v.u.number;
        const double v = n.is_int ? n.ival : n.rval;
        EXPECT_EQ(history_.text().substr(0, std::strlen(r.message)), r.message) << r.text;
        EXPECT_EQ(std::tuple(out.kind(), n.is_int, n.ptype, n.uom, n.baseuom),
                  r.kind ? std::tuple(r.kind, r.is_int, r.ptype, r.uom, 1) : std::tuple(0, 0, 0, 0, 0))
            << r.text;
        EXPECT_TRUE(v == r.value || std::fabs(v - r.value) <= 1e-9 * std::fabs(r.value))
            << r.text << ": " << v << " against " << r.value;
    }
}

TEST_F(ValueTest, TextAndTruthForms) {
    const std::string letters(100000, 'A');
    value_t *bad = With(Real(1), [](value_t *v) { v->u.number.undefined = 1; });
    const struct {
        value_t *src;
        int to;
        const char *want;
    } rows[] = {
        {Real(1, RTOUOM_SI_MARKER), string_value, "1 {SI}"},
        {Real(1, RTOUOM_SSI_MARKER, 3), string_value, "1 {SSI}"},
        {Real(2.5, 17, 1), string_value, "2.5 {METER}"},
        {Real(1.0 / 3), string_value, "0.333333333333333 {*}"},
        {Real(0.25, 44, 2), string_value, "0.25 {UNITLESS}"},
        {Int(-4), string_value, "-4"},
        {bad, string_value, "!!!UNDEFINED!!!"},
        {bad, logical_value, "FALSE"},
        {Str("FALSE"), logical_value, "TRUE"},
        {Str(letters.c_str()), logical_value, "TRUE"},
        {Str(""), logical_value, "FALSE"},
        {Real(0.0), logical_value, "FALSE"},
        {Int(0), logical_value, "FALSE"},
        {Bool(0), string_value, "FALSE"},
        {ListOf({}), logical_value, "FALSE"},
        {ListOf({}), number_value, ""},
        {Range(0, 0), logical_value, "FALSE"},
        {Range(3, 1), logical_value, "FALSE"},
        {Range(0, 1), logical_value, "TRUE"},
        {Range(-2, -2), logical_value, "TRUE"},
        {ListOf({ListOf({Int(1), Int(2)}), Real(1, RTOUOM_SI_MARKER), Bool(0)}), string_value,
         "[[1,2],1 {SI},FALSE]"},
    };
    for (const auto &r : rows) {
        V out;
        value_coerce(r.src, &out.v, r.to, nullptr);
        EXPECT_EQ(Printed(&out.v), r.want) << &r - rows;
        if (r.src != bad) value_destroy_list_item(r.src);
    }
    value_t *feet = Real(0.9144, 17, 2), *truth = Bool(1);
    char *t = number_value_to_char(feet, nullptr);
    EXPECT_STREQ(t, "3 {FT}");
    EXPECT_EQ(number_value_to_char(bad, nullptr), nullptr);
    EXPECT_EQ(number_value_to_char(truth, nullptr), nullptr);
    V big;  // a hundred thousand characters printed whole, then made an identifier
    value_assign_copy_of_string(&big.v, letters.c_str());
    const size_t shown = Printed(&big.v).size();
    value_string2id(&big.v, nullptr);
    EXPECT_EQ(std::to_string(shown) + "/" + std::to_string(big.kind()),
              "100000/" + std::to_string(identifier_value));
    free(t);
    for (value_t *v : {bad, feet, truth}) value_destroy_list_item(v);
}

TEST_F(ValueTest, DereferencingResolvesNamesThroughTheContext) {
    RecordingContext ctx;
    ctx.set(ctx.objects, "B1.T", Real(300, 22, 0));
    ctx.set(ctx.objects, "P", Str("abc"));
    const struct {
        const char *name;
        bool with_ctx;
        const char *want;
    } rows[] = {
        {"B1.T", true, "300 {K}"},         {"P", true, "abc"},
        {"B1.T", false, "B1.T"},           {"UNKNOWN", true, "UNKNOWN"},
        {"B2.T", true, "!!!UNDEFINED!!!"},  // unknown: a simple name stays
    };
    for (const auto &[name, with_ctx, want] : rows) {
        V v;
        value_assign_copy_of_id(&v.v, name);
        value_deref(&v.v, with_ctx ? &ctx : nullptr);
        EXPECT_EQ(Printed(&v.v), want) << name;
    }
}

}  // namespace
