// Parameter values as VARIANTs and back: numbers, booleans, texts in UTF-16
// (surrogate pairs, bytes that are no UTF-8), lists of texts as safe
// arrays, and the kinds that have no VARIANT.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "failsweep.h"
#include "zarnutils/qdlquery.hpp"

using P = QDLParameterData;
using zarn::test::fail_each_allocation;

namespace {

// A record holding v as its VALUE.
P holding(const value_t &v) {
    P r;
    EXPECT_TRUE(r.SetValue(P::VALUE, v));
    return r;
}

std::vector<OLECHAR> units(BSTR b) { return std::vector<OLECHAR>(b, b + SysStringLen(b)); }

TEST(ParameterVariant, NumbersAndBooleansBothWays) {
    value_t v, back;
    value_init(&v);
    value_init(&back);
    VARIANT var;
    VariantInit(&var);

    value_assign_int(&v, -7);
    ASSERT_TRUE(holding(v).GetValue(P::VALUE, var));
    EXPECT_EQ(var.vt, VT_I4);
    EXPECT_EQ(var.lVal, -7);
    P r;
    ASSERT_TRUE(r.SetValue(P::LOWER, var));
    ASSERT_TRUE(r.GetValue(P::LOWER, back));
    EXPECT_EQ(back.u.number.ival, -7);
    EXPECT_EQ(back.u.number.is_int, 1);

    value_assign_double(&v, 2.5, 0, 0);
    ASSERT_TRUE(holding(v).GetValue(P::VALUE, var));
    EXPECT_EQ(var.vt, VT_R8);
    EXPECT_EQ(var.dblVal, 2.5);
    ASSERT_TRUE(r.SetValue(P::UPPER, var));
    ASSERT_TRUE(r.GetValue(P::UPPER, back));
    EXPECT_EQ(back.u.number.rval, 2.5);
    EXPECT_EQ(back.u.number.is_int, 0);

    value_assign_logical(&v, 1);
    ASSERT_TRUE(holding(v).GetValue(P::VALUE, var));
    EXPECT_EQ(var.vt, VT_BOOL);
    EXPECT_EQ(var.boolVal, VARIANT_TRUE);
    ASSERT_TRUE(r.SetValue(P::VALUE, var));
    ASSERT_TRUE(r.GetValue(P::VALUE, back));
    EXPECT_EQ(back.value_type, logical_value);
    EXPECT_EQ(back.u.logical, 1);

    value_destroy(&v);
    ASSERT_TRUE(holding(v).GetValue(P::VALUE, var));
    EXPECT_EQ(var.vt, VT_EMPTY) << "UNDEFINED";
    ASSERT_TRUE(r.SetValue(P::VALUE, var));
    ASSERT_TRUE(r.GetValue(P::VALUE, back));
    EXPECT_EQ(back.value_type, undefined_value);

    value_assign_double(&v, 1.0, 0, 0);
    v.u.number.undefined = 1;
    ASSERT_TRUE(holding(v).GetValue(P::VALUE, var));
    EXPECT_EQ(var.vt, VT_EMPTY) << "a bad number";
    value_destroy(&v);
    value_destroy(&back);
    VariantClear(&var);
}

TEST(ParameterVariant, TextsInUtf16) {
    value_t v, back;
    value_init(&v);
    value_init(&back);
    VARIANT var;
    VariantInit(&var);
    value_assign_copy_of_string(&v, "h\xc3\xa9 \xf0\x9f\x98\x80");  // "hé 😀"
    ASSERT_TRUE(holding(v).GetValue(P::VALUE, var));
    ASSERT_EQ(var.vt, VT_BSTR);
    EXPECT_EQ(units(var.bstrVal), (std::vector<OLECHAR>{'h', 0xE9, ' ', 0xD83D, 0xDE00}));
    P r;
    ASSERT_TRUE(r.SetValue(P::VALUE, var));
    ASSERT_TRUE(r.GetValue(P::VALUE, back));
    ASSERT_EQ(back.value_type, string_value);
    EXPECT_STREQ(back.u.text, "h\xc3\xa9 \xf0\x9f\x98\x80");
    value_destroy(&v);
    value_destroy(&back);
    VariantClear(&var);
}

TEST(ParameterVariant, BytesThatAreNoUtf8BecomeReplacementCharacters) {
    struct Case {
        const char *name, *text;
        std::vector<OLECHAR> expected;
    };
    const Case cases[] = {
        {"stray_byte", "a\xff", {'a', 0xFFFD}},
        {"cut_sequence", "\xe2\x82", {0xFFFD, 0xFFFD}},
        {"overlong_slash", "\xc0\xaf", {0xFFFD, 0xFFFD}},
        {"surrogate_encoded", "\xed\xa0\x80", {0xFFFD, 0xFFFD, 0xFFFD}},
        {"beyond_unicode", "\xf4\x90\x80\x80", {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}},
        {"continuation_missing",
         "\xc3"
         "A",
         {0xFFFD, 'A'}},
        {"three_bytes", "\xe2\x82\xac", {0x20AC}},
        {"largest", "\xf4\x8f\xbf\xbf", {0xDBFF, 0xDFFF}},
        {"empty", "", {}},
    };
    for (const Case &c : cases) {
        value_t v;
        value_init(&v);
        value_assign_copy_of_string(&v, c.text);
        VARIANT var;
        VariantInit(&var);
        ASSERT_TRUE(holding(v).GetValue(P::VALUE, var)) << c.name;
        EXPECT_EQ(units(var.bstrVal), c.expected) << c.name;
        VariantClear(&var);
        value_destroy(&v);
    }
}

TEST(ParameterVariant, LoneSurrogatesReadBackAsReplacementCharacters) {
    const OLECHAR text[] = {'x', 0xD800, 'y', 0xDC00};
    VARIANT var;
    VariantInit(&var);
    var.vt = VT_BSTR;
    var.bstrVal = SysAllocStringLen(text, 4);
    P r;
    ASSERT_TRUE(r.SetValue(P::VALUE, var));
    value_t back;
    value_init(&back);
    ASSERT_TRUE(r.GetValue(P::VALUE, back));
    EXPECT_STREQ(back.u.text, "x\xef\xbf\xbdy\xef\xbf\xbd");
    value_destroy(&back);
    VariantClear(&var);
}

TEST(ParameterVariant, ListsOfTextsAsSafeArrays) {
    gl_list_t *list = gl_create();
    for (const char *s : {"H2O", "CO2"})
        gl_addtoend(list, value_create_from_string(const_cast<char *>(s), 1));
    value_t v;
    value_init(&v);
    value_assign_list(&v, list);
    VARIANT var;
    VariantInit(&var);
    ASSERT_TRUE(holding(v).GetValue(P::VALUE, var));
    ASSERT_EQ(var.vt, VT_ARRAY | VT_BSTR);
    ASSERT_EQ(var.parray->rgsabound[0].cElements, 2u);
    BSTR second = nullptr;
    const int32_t index = 1;
    ASSERT_EQ(SafeArrayGetElement(var.parray, &index, &second), S_OK);
    EXPECT_EQ(units(second), (std::vector<OLECHAR>{'C', 'O', '2'}));
    SysFreeString(second);
    P r;
    ASSERT_TRUE(r.SetValue(P::VALUE, var));
    value_t back;
    value_init(&back);
    ASSERT_TRUE(r.GetValue(P::VALUE, back));
    ASSERT_EQ(back.value_type, list_value);
    ASSERT_EQ(gl_length(back.u.list), 2u);
    EXPECT_STREQ(static_cast<value_t *>(back.u.list->head->next->data)->u.text, "CO2");
    value_destroy(&back);
    value_destroy(&v);
    VariantClear(&var);
}

TEST(ParameterVariant, KindsWithoutAVariantAreRefused) {
    VARIANT var;
    VariantInit(&var);
    var.vt = VT_I4;
    var.lVal = 5;
    value_t v;
    value_init(&v);
    value_assign_range(&v, 1, 3);
    EXPECT_FALSE(holding(v).GetValue(P::VALUE, var));
    EXPECT_EQ(var.vt, VT_I4) << "out untouched";
    gl_list_t *mixed = gl_create();
    gl_addtoend(mixed, value_create_from_int(1));
    value_assign_list(&v, mixed);
    EXPECT_FALSE(holding(v).GetValue(P::VALUE, var)) << "a list with a number";
    value_destroy(&v);

    P r;
    value_t keep;
    value_init(&keep);
    value_assign_int(&keep, 9);
    ASSERT_TRUE(r.SetValue(P::VALUE, keep));
    VARIANT bad;
    VariantInit(&bad);
    bad.vt = VT_NULL;
    EXPECT_FALSE(r.SetValue(P::VALUE, bad));
    bad.vt = VT_ARRAY | VT_I4;
    bad.parray = SafeArrayCreateVector(VT_I4, 0, 2);
    EXPECT_FALSE(r.SetValue(P::VALUE, bad));
    EXPECT_FALSE(r.SetValue(P::NAME, var)) << "NAME is no value";
    value_t back;
    value_init(&back);
    ASSERT_TRUE(r.GetValue(P::VALUE, back));
    EXPECT_EQ(back.u.number.ival, 9) << "a refused VARIANT leaves the value";
    value_destroy(&back);
    value_destroy(&keep);
    VariantClear(&bad);
}

TEST(ParameterVariant, CodesAndTextsOfOtherAttributes) {
    P r;
    ASSERT_TRUE(r.SetValue(P::TYPE, int32_t{P::TYPE_STRING}));
    ASSERT_TRUE(r.SetValue(P::UOM, "KG/HR"));
    VARIANT var;
    VariantInit(&var);
    ASSERT_TRUE(r.GetValue(P::TYPE, var));
    EXPECT_EQ(var.vt, VT_I4);
    EXPECT_EQ(var.lVal, P::TYPE_STRING);
    ASSERT_TRUE(r.GetValue(P::UOM, var));
    ASSERT_EQ(var.vt, VT_BSTR);
    EXPECT_EQ(SysStringLen(var.bstrVal), 5u);
    EXPECT_FALSE(r.GetValue(P::DESCRIPTION, var)) << "not held";
    EXPECT_FALSE(r.GetValue(P::VALUE, var)) << "not held";
    value_t v;
    value_init(&v);
    ASSERT_TRUE(r.GetValue(P::TYPE, v));
    EXPECT_STREQ(v.u.text, "STRING");
    ASSERT_TRUE(r.GetValue(P::UOM, v));
    EXPECT_STREQ(v.u.text, "KG/HR");
    value_destroy(&v);
    VariantClear(&var);
}

TEST(ParameterVariant, ShortMemoryLeavesTheTargetsAlone) {
    gl_list_t *list = gl_create();
    for (const char *s : {"A", "B", "C"})
        gl_addtoend(list, value_create_from_string(const_cast<char *>(s), 1));
    value_t v;
    value_init(&v);
    value_assign_list(&v, list);
    P r = holding(v);
    VARIANT var;
    VariantInit(&var);
    ASSERT_TRUE(r.GetValue(P::VALUE, var));
    P target;
    fail_each_allocation([&] { return target.SetValue(P::LOWER, var); },
                         [&](long n, bool ok) {
                             EXPECT_FALSE(ok) << "allocation " << n;
                             value_t back;
                             value_init(&back);
                             EXPECT_FALSE(target.GetValue(P::LOWER, back)) << "allocation " << n;
                         });
    value_destroy(&v);
    VariantClear(&var);
}

}  // namespace
