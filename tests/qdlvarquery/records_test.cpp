// The engines' records: setters, loads, commits, modification bits, values as
// VARIANTs and back, copies.
#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <string>
#include <utility>
#include <vector>

#include "capture.h"
#include "failsweep.h"
#include "fake_model.h"
#include "platform/xalloc.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/varutl.h"

using namespace zarn::test;
using V = QDLVariableData;
using P = QDLParameterData;

namespace {

std::vector<OLECHAR> units_of(BSTR b) { return std::vector<OLECHAR>(b, b + SysStringLen(b)); }

// A pressure of 2 ATM held in PSIA with internal scale 2.
class Loading : public ::testing::Test {
  protected:
    void SetUp() override {
        rtovarlst_set_nvar(list, 1);
        rtovarlst_addvar(list, 1, "P1");
        int64_t word = 0;
        varSetPhysicalType(&word, 20);
        varSetSpec(&word, VAR_CONST);
        rtovarlst_set_var_status(list, 1, word);
        rtovarlst_set_var_uom(list, 1, 3);
        rtovarlst_set_var_baseuom(list, 1, 2);
        rtovarlst_vec_scale(list)[0] = 2.0;
        rtovarlst_set_var_value(list, 1, rtouom_si2pair(202650.0, 20, 2) / 2.0, 0);
    }
    void TearDown() override { rtovarlst_destroy_c(&list); }
    rtvarlst_t *list = rtovarlst_create(1);
};

TEST_F(Loading, TheStatusWordIsReadByLoadsAndWrittenByCommitsAndCreates) {
    int64_t word = rtovarlst_inq_var_status(list, 1);
    varSetBoundType(VAR_BOUND_SOFT, &word);
    rtovarlst_set_var_status(list, 1, word);
    V r;
    r.mask = {V::BOUND, 0u};
    ASSERT_TRUE(r.Load(list, 1, false));
    int32_t bound = -1;
    ASSERT_TRUE(r.GetValue(V::BOUND, bound));
    EXPECT_EQ(bound, VAR_BOUND_SOFT);
    EXPECT_EQ(r.number, 1) << "the record knows its variable";
    ASSERT_TRUE(r.SetValue(V::SPEC, int32_t{VAR_INITIAL}));
    ASSERT_TRUE(r.Commit(list, 1));
    EXPECT_EQ(varInqSpec(rtovarlst_inq_var_status(list, 1)), VAR_INITIAL) << "written back";
    EXPECT_FALSE(r.Load(list, 2, false)) << "there is no variable 2";
    ASSERT_TRUE(r.SetValue(V::NAME, "P9"));
    ASSERT_TRUE(r.SetValue(V::SPEC, int32_t{VAR_INDEP}));
    ASSERT_TRUE(r.Create(list, 1));
    EXPECT_EQ(varInqSpec(rtovarlst_inq_var_status(list, 1)), VAR_INDEP) << "and created";
}

// A commit takes a real from the display unit (ATM) back to the held PSIA
// over the scale.
TEST_F(Loading, ACommitUndoesTheUnitAndScaleOfTheLoad) {
    V r;
    r.mask = {V::VALUE, 0u};
    ASSERT_TRUE(r.Load(list, 1, true));
    ASSERT_TRUE(r.SetValue(V::VALUE, 1.5));
    ASSERT_TRUE(r.Commit(list, 1));
    V si;
    si.mask = {V::VALUE, 0u};
    ASSERT_TRUE(si.Load(list, 1, false));
    double pascals = 0.0;
    ASSERT_TRUE(si.GetValue(V::VALUE, pascals));
    EXPECT_NEAR(pascals, 151987.5, 1e-6) << "1.5 ATM";
}

TEST_F(Loading, AttributesNotAskedForAreNotRead) {
    V r;
    r.mask = {V::SPEC, 0u};
    r.value = -1.0;
    ASSERT_TRUE(r.Load(list, 1, false));
    EXPECT_EQ(r.value, -1.0) << "VALUE left as it was";
}

TEST(QueryRecords, CodesAndTextsAsValuesAndVariants) {
    V r;
    ASSERT_TRUE(r.SetValue(V::SPEC, int32_t{1}));
    ASSERT_TRUE(r.SetValue(V::NUMBER, int32_t{7}));
    value_t v;
    value_init(&v);
    v.value_type = static_cast<value_type_code>(99);
    EXPECT_FALSE(r.GetValue(V::SPEC, v)) << "a broken value is refused";
    value_init(&v);
    ASSERT_TRUE(r.GetValue(V::SPEC, v));
    EXPECT_STREQ(v.u.text, "CONST");
    ASSERT_TRUE(r.GetValue(V::NUMBER, v));
    EXPECT_EQ(v.u.number.ival, 7);
    ASSERT_TRUE(r.SetValue(V::CONN_TYPE, int32_t{500}));
    ASSERT_TRUE(r.GetValue(V::CONN_TYPE, v)) << "a code without a word";
    EXPECT_EQ(v.u.number.ival, 500);
    const std::pair<int32_t, const char *> texts[] = {{V::NAME, "B1.X"},
                                                      {V::DESCRIPTION, "feed"},
                                                      {V::CONN_TYPE, "PRESSURE"},
                                                      {V::CONN_TYPE, "API"},
                                                      {V::PHYSICAL_TYPE, "LENGTH"}};
    for (const auto &[id, text] : texts) {
        ASSERT_TRUE(r.SetValue(id, text)) << text;
        ASSERT_TRUE(r.GetValue(id, v)) << text;
        EXPECT_STREQ(v.u.text, text);
    }
    P p;
    ASSERT_TRUE(p.SetValue(P::ACCESS, int32_t{P::ACCESS_READ_ONLY}));
    ASSERT_TRUE(p.SetValue(P::UOM, "KG"));
    VARIANT var;
    VariantInit(&var);
    ASSERT_TRUE(p.GetValue(P::ACCESS, var));
    EXPECT_EQ(var.vt, VT_I4);
    EXPECT_EQ(var.lVal, P::ACCESS_READ_ONLY);
    ASSERT_TRUE(p.GetValue(P::UOM, var));
    ASSERT_EQ(var.vt, VT_BSTR);
    EXPECT_EQ(units_of(var.bstrVal), (std::vector<OLECHAR>{'K', 'G'}));
    ASSERT_TRUE(p.GetValue(P::UOM, var)) << "again, over the text it holds (freed first)";
    p.type = 9;  // a code without a word, as a host may load it
    p.loaded.mask1 |= P::TYPE;
    ASSERT_TRUE(p.GetValue(P::TYPE, v));
    EXPECT_EQ(v.u.number.ival, 9);
    VariantClear(&var);
    value_destroy(&v);
}

TEST_F(Loading, AUnitRedefinedBetweenRunsIsSeenByRecordsAndEngines) {
    HistoryCapture history;
    const int unit = rtouom_add_uom("KPA_OF_QUERIES", 20, 1000.0, 0.0);
    ASSERT_GT(unit, 0);
    rtovarlst_set_var_uom(list, 1, unit);
    FakeBlock block;
    block.objects.list = list;
    IQDLQueryEngine *engine = QDLQueryFactory::NewVariableQuery(nullptr, &block);
    ASSERT_TRUE(engine->SetQueryText("VALUE > 1000"));
    V r;
    r.mask = {V::VALUE, 0u};
    ASSERT_TRUE(r.Load(list, 1, true));
    engine->Execute();
    EXPECT_EQ(engine->NumResults(), 0);
    ASSERT_EQ(rtouom_modify_mult_offset(20, "KPA_OF_QUERIES", 100.0, 0.0), 1);
    ASSERT_TRUE(r.Load(list, 1, true));
    double shown = 0.0;
    ASSERT_TRUE(r.GetValue(V::VALUE, shown));
    EXPECT_NEAR(shown, 2026.5, 1e-9) << "the record's kept factors follow the table";
    engine->Execute();
    EXPECT_EQ(engine->NumResults(), 1) << "and so do the engine's";
    engine->Release();
}

TEST(VariableRecord, RealSettersKeepEachAttributeApart) {
    const int32_t reals[] = {V::VALUE, V::INITIAL,  V::LOWER,        V::UPPER,       V::STEP,     V::INTSCALE,
                             V::SCALE, V::SBWEIGHT, V::SHADOW_PRICE, V::TARGET_HOMO, V::THRESHOLD};
    V r;
    for (size_t k = 0; k < std::size(reals); ++k) EXPECT_TRUE(r.SetValue(reals[k], 1.0 + k)) << k;
    for (size_t k = 0; k < std::size(reals); ++k) {
        double x = 0.0;
        EXPECT_TRUE(r.GetValue(reals[k], x)) << V::AttribName(reals[k]);
        EXPECT_EQ(x, 1.0 + k) << V::AttribName(reals[k]);
    }
}

// Each code attribute takes both ends of its range, not the codes beyond.
TEST(VariableRecord, CodeSettersTakeTheirRangeAndRefuseBeyondIt) {
    struct Row {
        int32_t id, lowest, highest;
    };
    const Row rows[] = {{V::SPEC, VAR_CALC, VAR_INITIAL},
                        {V::BOUND, VAR_BOUND_HARD, VAR_BOUND_SOFT2},
                        {V::QUALITY, 0, 3},
                        {V::ACTIVE_BOUND, 0, 17},
                        {V::VARIABLE_TYPE, 0, 7},
                        {V::PARAM_HOMO, 0, 1},
                        {V::MARKED, 0, 1},
                        {V::RAMPED, 0, 1},
                        {V::CONN_TYPE, 0, RTOVARLST_MAX_CONN_TYPE}};
    for (const Row &row : rows) {
        const char *name = V::AttribName(row.id);
        V r;
        int32_t held = 0;
        EXPECT_FALSE(r.GetValue(row.id, held)) << name << " unset";
        for (int32_t code : {row.highest, row.lowest}) {
            EXPECT_TRUE(r.SetValue(row.id, code)) << name << " " << code;
            EXPECT_TRUE(r.GetValue(row.id, held)) << name << " " << code;
            EXPECT_EQ(held, code) << name;
        }
        for (int32_t beyond : {row.lowest - 1, row.highest + 1})
            EXPECT_FALSE(r.SetValue(row.id, beyond)) << name << " " << beyond;
    }
    V r;
    EXPECT_FALSE(r.SetValue(V::VALUE, int32_t{1})) << "VALUE takes no code";
    EXPECT_TRUE(r.SetValue(V::UOM_ID, int32_t{0})) << "unit 0 stands for the default unit";
    EXPECT_FALSE(r.SetValue(V::UOM_ID, int32_t{-1}));
}

// An attribute is marked by the bits its assignment sets (UOM: 1024 and 2 in
// the first word, 2 in the second); INTSCALE, which has no assignment of its
// own, by its own bit.
TEST(VariableRecord, ModificationBitsOfEachAttribute) {
    V r;
    r.SetIsModified(V::UOM, true);
    r.SetIsModified(V::VALUE, true);
    EXPECT_EQ(r.modified.mask1, 1024u | 2u) << "UOM's and VALUE's bits, first word";
    EXPECT_EQ(r.modified.mask2, 2u) << "UOM's bit, second word";
    r.SetIsModified(V::UOM, false);
    EXPECT_EQ(r.modified.mask1, 2u) << "only UOM's bits cleared";
    EXPECT_EQ(r.modified.mask2, 0u) << "UOM's bit cleared, second word";
    V scaled;
    scaled.mask = {V::MODIFIED, 0u};
    scaled.SetIsModified(V::INTSCALE, true);
    EXPECT_EQ(scaled.modified.mask1, static_cast<uint32_t>(V::INTSCALE)) << "INTSCALE's own bit";
    EXPECT_TRUE(scaled.IsModified(V::INTSCALE));
}

TEST(QueryRecords, EquationSettersKeepEachAttributeApart) {
    QDLEquationData e;
    EXPECT_EQ(e.mask.mask1 | e.mask.mask2, 0u) << "a new record asks the host for nothing";
    EXPECT_TRUE(e.SetValue(QDLEquationData::VALUE, 2.5));
    EXPECT_TRUE(e.SetValue(QDLEquationData::SCALE, 4.0));
    EXPECT_TRUE(e.SetValue(QDLEquationData::SHADOW_PRICE, -1.0));
    EXPECT_TRUE(e.SetValue(QDLEquationData::NUMBER, int32_t{7}));
    double x = 0.0;
    EXPECT_TRUE(e.GetValue(QDLEquationData::SCALE, x));
    EXPECT_EQ(x, 4.0) << "SCALE kept apart from VALUE and SHADOW_PRICE";
    int32_t number = 0;
    EXPECT_TRUE(e.GetValue(QDLEquationData::NUMBER, number));
    EXPECT_EQ(number, 7);
    EXPECT_FALSE(e.SetValue(QDLEquationData::NUMBER, 1.0)) << "NUMBER is not a real";
    EXPECT_FALSE(e.GetValue(QDLEquationData::NUMBER, x)) << "nor read as one";
    EXPECT_STREQ(QDLEquationData::AttribName(QDLEquationData::SHADOW_PRICE), "SHADOW_PRICE");
}

TEST(ParameterVariant, ValuesAndBackKindByKind) {
    value_t v, back;
    value_init(&v);
    value_init(&back);
    VARIANT var;
    VariantInit(&var);
    P r;
    // The value goes out of VALUE as a VARIANT, and that VARIANT back into LOWER.
    auto out_and_back = [&](VARTYPE vt) {
        ASSERT_TRUE(r.SetValue(P::VALUE, v));
        ASSERT_TRUE(r.GetValue(P::VALUE, var));
        EXPECT_EQ(var.vt, vt);
        ASSERT_TRUE(r.SetValue(P::LOWER, var));
        ASSERT_TRUE(r.GetValue(P::LOWER, back));
        EXPECT_EQ(back.value_type, v.value_type);
    };
    value_assign_int(&v, -7);
    out_and_back(VT_I4);
    EXPECT_EQ(var.lVal, -7);
    EXPECT_EQ(back.u.number.ival, -7);
    value_assign_logical(&v, 1);
    out_and_back(VT_BOOL);
    EXPECT_EQ(var.boolVal, VARIANT_TRUE);
    EXPECT_EQ(back.u.logical, 1);
    gl_list_t *list = gl_create();
    gl_addtoend(list, value_create_from_string(const_cast<char *>("CO2"), 1));
    value_assign_list(&v, list);
    out_and_back(VT_ARRAY | VT_BSTR);
    EXPECT_EQ(units_of(static_cast<BSTR *>(var.parray->pvData)[0]), (std::vector<OLECHAR>{'C', 'O', '2'}));
    // Short memory: the whole list or nothing.
    fail_each_allocation([&] { return r.SetValue(P::LOWER, var); },
                         [&](long n, bool ok) { EXPECT_FALSE(ok) << "allocation " << n; });
    EXPECT_STREQ(static_cast<value_t *>(back.u.list->head->data)->u.text, "CO2");
    zarn::failalloc_set(1);
    EXPECT_FALSE(r.GetValue(P::VALUE, var)) << "a list whose text cannot be made has no VARIANT";
    zarn::failalloc_set(0);
    value_destroy(&v);
    out_and_back(VT_EMPTY);
    value_assign_range(&v, 1, 3);
    ASSERT_TRUE(r.SetValue(P::VALUE, v));
    EXPECT_FALSE(r.GetValue(P::VALUE, var)) << "a range has no VARIANT";
    VariantClear(&var);
    var.vt = VT_NULL;
    EXPECT_FALSE(r.SetValue(P::VALUE, var));
    var.vt = VT_ARRAY | VT_BSTR;
    var.parray = SafeArrayCreateVector(VT_I4, 0, 2);
    EXPECT_FALSE(r.SetValue(P::VALUE, var)) << "integers as texts";
    value_destroy(&v);
    value_destroy(&back);
    VariantClear(&var);
}

TEST(ParameterVariant, TextsAsUtf16WithReplacementCharacters) {
    struct Row {
        const char *text;
        std::vector<OLECHAR> units;
    };
    const Row rows[] = {{"h\xc3\xa9 \xf0\x9f\x98\x80", {'h', 0xE9, ' ', 0xD83D, 0xDE00}},
                        {"a\xff", {'a', 0xFFFD}},
                        {"\xe2\x82", {0xFFFD, 0xFFFD}},
                        {"\xc0\xaf", {0xFFFD, 0xFFFD}},
                        {"\xed\xa0\x80", {0xFFFD, 0xFFFD, 0xFFFD}},
                        {"\xed\xbf\xbf", {0xFFFD, 0xFFFD, 0xFFFD}},
                        {"\xe2\x82\xac", {0x20AC}},
                        {"\xe0\xa0\x80", {0x800}}};
    for (const Row &row : rows) {
        P r;
        value_t v;
        value_init(&v);
        value_assign_copy_of_string(&v, row.text);
        VARIANT var;
        VariantInit(&var);
        ASSERT_TRUE(r.SetValue(P::VALUE, v) && r.GetValue(P::VALUE, var));
        EXPECT_EQ(units_of(var.bstrVal), row.units) << row.text;
        ASSERT_TRUE(r.SetValue(P::VALUE, var) && r.GetValue(P::VALUE, v));
        if (row.units.back() != 0xFFFD) {
            EXPECT_STREQ(v.u.text, row.text) << "and back";
        }
        value_destroy(&v);
        VariantClear(&var);
    }
    const OLECHAR lone[] = {'x', 0xD800};
    VARIANT var;
    VariantInit(&var);
    var.vt = VT_BSTR;
    var.bstrVal = SysAllocStringLen(lone, 2);
    P r;
    value_t v;
    value_init(&v);
    ASSERT_TRUE(r.SetValue(P::VALUE, var) && r.GetValue(P::VALUE, v));
    EXPECT_STREQ(v.u.text, "x\xef\xbf\xbd");
    value_destroy(&v);
    VariantClear(&var);
}

TEST(ParameterRecord, CopiesAreDeepAndANewRecordHoldsEmptyValues) {
    alignas(P) unsigned char space[sizeof(P)];
    std::memset(space, 0xA5, sizeof space);  // memory used before
    P *made = new (space) P;
    EXPECT_EQ(made->loaded.mask1, 0u) << "a new record has loaded nothing";
    value_t v;
    value_init(&v);
    value_assign_copy_of_string(&v, "abc");
    StderrCapture err;
    ASSERT_TRUE(made->SetValue(P::VALUE, v));
    ASSERT_TRUE(made->SetValue(P::LOWER, v)) << "a bound held in memory of its own, freed with its record";
    ASSERT_TRUE(made->SetValue(P::NAME, "P1"));
    ASSERT_TRUE(made->SetValue(P::TYPE, int32_t{P::TYPE_STRING}));
    ASSERT_TRUE(made->SetValue(P::ACCESS, int32_t{P::ACCESS_READ_ONLY}));
    ASSERT_TRUE(made->SetValue(P::DESCRIPTION, "feed"));
    made->mask = {P::VALUE | P::NAME, 0u};
    P assigned;
    assigned = *made;
    const P constructed(*made);
    made->~P();
    EXPECT_EQ(err.text(), "") << "the new record's value slots were valid empty values";
    for (const P *r : {static_cast<const P *>(&assigned), &constructed}) {
        EXPECT_EQ(r->mask.mask1, uint32_t{P::VALUE | P::NAME});
        EXPECT_EQ(r->loaded.mask1,
                  uint32_t{P::VALUE | P::LOWER | P::NAME | P::TYPE | P::ACCESS | P::DESCRIPTION});
        value_t back;
        value_init(&back);
        EXPECT_TRUE(r->GetValue(P::VALUE, back));
        EXPECT_STREQ(back.u.text, "abc") << "kept after the original went";
        EXPECT_TRUE(r->GetValue(P::ACCESS, back));
        ASSERT_EQ(back.value_type, string_value) << "a code as a value is its word";
        EXPECT_STREQ(back.u.text, "READ_ONLY");
        value_destroy(&back);
        const char *name = nullptr;
        EXPECT_TRUE(r->GetValue(P::NAME, name));
        EXPECT_STREQ(name, "P1");
        EXPECT_TRUE(r->GetValue(P::DESCRIPTION, name));
        EXPECT_STREQ(name, "feed");
    }
    value_destroy(&v);
}

}  // namespace
