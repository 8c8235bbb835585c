// The engines' records: the variable record's documented attribute table,
// loading in SI and in display units (internal scale, base unit, offsets,
// differences) and writing back, its setters' checks and modification bits;
// parameter values as VARIANTs and back.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "capture.h"
#include "fake_model.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/varutl.h"

using namespace zarn::test;
using V = QDLVariableData;
using P = QDLParameterData;

namespace {

TEST(VariableRecord, UnknownIdsAndWords) {
    StderrCapture err;
    EXPECT_EQ(V::BaseType(256), QDL_KIND_NONE) << "STATUS is no query attribute";
    EXPECT_EQ(
        err.text().rfind("Assertion 'Invalid attribute id' failed in source/qdlvarquery/qdlquerybase:", 0),
        0u);
    EXPECT_EQ(V::AttribName(256), nullptr);
    EXPECT_EQ(V::AttribId(nullptr), 0);
    EXPECT_STREQ(V::EnumToString(V::CONN_TYPE, 1065), "LE-COMPONENT");
    EXPECT_EQ(V::EnumToString(V::CONN_TYPE, 149), nullptr);
    EXPECT_EQ(V::EnumToString(V::VALUE, 0), nullptr);
    int32_t code = -1;
    const std::string long_word(300, 'B');
    EXPECT_FALSE(V::StringToEnum(V::QUALITY, long_word.c_str(), code));
    EXPECT_FALSE(V::StringToEnum(V::SPEC, nullptr, code));
}

// A pressure held in PSIA with internal scale 2 shown in ATM, and a
// temperature held in K shown in C.
class Loading : public ::testing::Test {
  protected:
    void SetUp() override {
        rtovarlst_set_nvar(list, 2);
        Make(1, "P1", 20, 3, 2, 2.0);
        Make(2, "T1", 22, 4, 1, 1e35);
        rtovarlst_set_var_value(list, 1, rtouom_si2pair(202650.0, 20, 2) / 2.0, 0);
        rtovarlst_set_var_step_inbaseuom(list, 1, rtouom_delta_si2pair(1013.25, 20, 2) / 2.0);
        rtovarlst_set_var_value(list, 2, 300.0, 1);
        rtovarlst_set_var_initial(list, 2, 290.0, 1);
        rtovarlst_set_var_step(list, 2, 10.0);
        rtovarlst_set_var_lower(list, 2, 1e35, 1);
        const rtvarmod_t m{256u, 0u};
        rtovarlst_set_var_modified(list, 2, &m);
    }
    void TearDown() override { rtovarlst_destroy_c(&list); }
    void Make(int32_t k, const char *name, int32_t ptype, int32_t uom, int32_t baseuom, double scale) {
        rtovarlst_addvar(list, k, name);
        int64_t word = 0;
        varSetPhysicalType(&word, ptype);
        varSetSpec(&word, VAR_CONST);
        rtovarlst_set_var_status(list, k, word);
        rtovarlst_set_var_uom(list, k, uom);
        rtovarlst_set_var_baseuom(list, k, baseuom);
        rtovarlst_vec_scale(list)[k - 1] = scale;
    }
    static double Real(const V &r, int32_t id) {
        double x = -12345.0;
        EXPECT_TRUE(r.GetValue(id, x)) << V::AttribName(id);
        return x;
    }
    rtvarlst_t *list = rtovarlst_create(3);
};

TEST_F(Loading, DisplayUnitsScaleBaseUnitOffsetsAndDifferences) {
    V r;
    r.mask = {V::VALUE | V::STEP | V::UOM | V::BASEUOM | V::INITIAL | V::CHANGE | V::LOWER, 1u};
    ASSERT_TRUE(r.Load(list, 1, true));
    EXPECT_NEAR(Real(r, V::VALUE), 2.0, 1e-9) << "ATM";
    EXPECT_NEAR(Real(r, V::STEP), 0.01, 1e-12) << "a difference";
    const char *t = nullptr;
    EXPECT_TRUE(r.GetValue(V::BASEUOM, t) && std::string(t) == "PSIA");
    EXPECT_TRUE(r.GetValue(V::PHYSICAL_TYPE, t) && std::string(t) == "PRESSURE");
    ASSERT_TRUE(r.Load(list, 1, false));
    EXPECT_NEAR(Real(r, V::VALUE), 202650.0, 1e-6) << "SI";
    ASSERT_TRUE(r.Load(list, 2, true));
    EXPECT_NEAR(Real(r, V::VALUE), 26.85, 1e-9);
    EXPECT_NEAR(Real(r, V::STEP), 10.0, 1e-9) << "no offset on a step";
    EXPECT_NEAR(Real(r, V::CHANGE), 10.0, 1e-9);
    EXPECT_EQ(Real(r, V::LOWER), 1e35) << "undefined stays undefined";
    EXPECT_TRUE(r.GetValue(V::UOM, t) && std::string(t) == "C");
    value_t v;
    value_init(&v);
    ASSERT_TRUE(r.GetValue(V::VALUE, v));
    EXPECT_NEAR(v.u.number.rval, 300.0, 1e-9) << "a value holds SI with its display unit";
    EXPECT_EQ(v.u.number.uom, 4);
    value_destroy(&v);
}

TEST_F(Loading, MaskLimitsWhatIsLoadedAndIndicesAreChecked) {
    V r;
    r.mask = {V::VALUE | V::MODIFIED | V::NAME, 0u};
    ASSERT_TRUE(r.Load(list, 2, false));
    double x = 0.0;
    EXPECT_FALSE(r.GetValue(V::UPPER, x)) << "not asked";
    EXPECT_TRUE(r.IsModified(V::SPEC) && !r.IsModified(V::VALUE)) << "an assignment of SPEC marks 256";
    for (int32_t index : {0, 3, INT32_MIN}) EXPECT_FALSE(r.Load(list, index, false)) << index;
    EXPECT_STREQ(r.name, "T1") << "a refused load leaves the record";
    FakeBlock block;
    block.objects.list = list;
    EXPECT_TRUE(r.Load(nullptr, &block, 1, false) && std::string(r.name) == "P1");
}

TEST_F(Loading, CommitWritesBackTheWritableAttributesSilently) {
    HistoryCapture history;
    V r;
    r.mask = {V::VALUE | V::SPEC | V::NAME | V::INTSCALE | V::SHADOW_PRICE | V::ACTIVE_BOUND | V::CHANGE, 0u};
    ASSERT_TRUE(r.Load(list, 2, true));
    ASSERT_TRUE(r.SetValue(V::VALUE, 30.0) && r.SetValue(V::SPEC, int32_t{VAR_CALC}));
    ASSERT_TRUE(r.Commit(list, 2));
    EXPECT_NEAR(rtovarlst_inq_var_value(list, 2, 1), 303.15, 1e-9);
    EXPECT_EQ(rtovarlst_inq_spec(list, 2), VAR_CALC);
    EXPECT_EQ(rtovarlst_inq_physical_type(list, 2), 22) << "the rest of the status word kept";
    r.mask = {V::VALUE, 0u};
    ASSERT_TRUE(r.Load(list, 1, true));
    ASSERT_TRUE(r.SetValue(V::VALUE, 3.0));
    ASSERT_TRUE(r.Commit(list, 1));
    ASSERT_TRUE(r.Load(list, 1, false));
    EXPECT_NEAR(Real(r, V::VALUE), 303975.0, 1e-6) << "scale and base unit undone";
    EXPECT_FALSE(r.Commit(list, 3));
    EXPECT_EQ(history.text(), "");
}

TEST(VariableRecord, SettersCheckCodesAndModificationBits) {
    HistoryCapture history;
    V v;
    EXPECT_FALSE(v.SetValue(V::SPEC, int32_t{8}) || v.SetValue(V::PHYSICAL_TYPE_ID, int32_t{-256}));
    EXPECT_EQ(history.text(), "") << "a refused code never reaches the status-word writers";
    EXPECT_TRUE(v.SetValue(V::PHYSICAL_TYPE_ID, int32_t{-20}) && varInqPhysicalType(v.status) == -20);
    EXPECT_TRUE(v.SetValue(V::CONN_TYPE, "pressure") && v.conn_type == 20);
    v.SetIsModified(V::UOM, true);
    EXPECT_TRUE(v.modified.mask1 == 1024u && v.modified.mask2 == 2u) << "the bits of UNITS' assignment";
}

// ---- parameter values as VARIANTs ----

std::vector<OLECHAR> units_of(BSTR b) { return std::vector<OLECHAR>(b, b + SysStringLen(b)); }

TEST(ParameterVariant, ValuesAndBackKindByKind) {
    value_t v, back;
    value_init(&v);
    value_init(&back);
    VARIANT var;
    VariantInit(&var);
    P r;
    value_assign_int(&v, -7);
    ASSERT_TRUE(r.SetValue(P::VALUE, v) && r.GetValue(P::VALUE, var));
    EXPECT_TRUE(var.vt == VT_I4 && var.lVal == -7);
    value_assign_double(&v, 2.5, 0, 0);
    ASSERT_TRUE(r.SetValue(P::VALUE, v) && r.GetValue(P::VALUE, var));
    EXPECT_TRUE(var.vt == VT_R8 && var.dblVal == 2.5);
    ASSERT_TRUE(r.SetValue(P::LOWER, var) && r.GetValue(P::LOWER, back));
    EXPECT_EQ(back.u.number.rval, 2.5);
    value_assign_logical(&v, 1);
    ASSERT_TRUE(r.SetValue(P::VALUE, v) && r.GetValue(P::VALUE, var));
    EXPECT_TRUE(var.vt == VT_BOOL && var.boolVal == VARIANT_TRUE);
    gl_list_t *list = gl_create();
    gl_addtoend(list, value_create_from_string(const_cast<char *>("CO2"), 1));
    value_assign_list(&v, list);
    ASSERT_TRUE(r.SetValue(P::VALUE, v) && r.GetValue(P::VALUE, var));
    ASSERT_EQ(var.vt, VT_ARRAY | VT_BSTR);
    EXPECT_EQ(units_of(static_cast<BSTR *>(var.parray->pvData)[0]), (std::vector<OLECHAR>{'C', 'O', '2'}));
    ASSERT_TRUE(r.SetValue(P::UPPER, var) && r.GetValue(P::UPPER, back));
    EXPECT_STREQ(static_cast<value_t *>(back.u.list->head->data)->u.text, "CO2");
    value_destroy(&v);
    ASSERT_TRUE(r.SetValue(P::VALUE, v) && r.GetValue(P::VALUE, var));
    EXPECT_EQ(var.vt, VT_EMPTY) << "UNDEFINED";
    value_assign_range(&v, 1, 3);
    ASSERT_TRUE(r.SetValue(P::VALUE, v));
    EXPECT_FALSE(r.GetValue(P::VALUE, var)) << "a range has no VARIANT";
    var.vt = VT_NULL;
    EXPECT_FALSE(r.SetValue(P::VALUE, var));
    EXPECT_FALSE(r.SetValue(P::NAME, var));
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
                        {"\xed\xa0\x80", {0xFFFD, 0xFFFD, 0xFFFD}}};
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

}  // namespace
