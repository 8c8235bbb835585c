// The variable record of the query engines: the documented attribute table
// and words, loading from a real list in SI and in display units (internal
// scale, base unit, offsets, differences), what a mask leaves out, writing
// back, the modification bits, and the checks of its setters.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "capture.h"
#include "fake_model.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/varutl.h"

using namespace zarn::test;
using V = QDLVariableData;

namespace {

struct AttributeRow {
    int32_t id;
    const char *name;
    const char *synonym;  // another name AttribId accepts, or nullptr
    int kind;
};

// clang-format off
const AttributeRow kAttributes[] = {
    {1, "NAME", nullptr, 'T'},           {2, "VALUE", nullptr, 'R'},         {4, "LOWER", nullptr, 'R'},
    {8, "UPPER", nullptr, 'R'},          {16, "STEP", nullptr, 'R'},         {32, "INTSCALE", nullptr, 'R'},
    {64, "SCALE", nullptr, 'R'},         {128, "SBWEIGHT", nullptr, 'R'},    {512, "INITIAL", nullptr, 'R'},
    {1024, "UOM", "UNITS", 'T'},         {2048, "BOUND", nullptr, 'E'},      {4096, "MARKED", nullptr, 'I'},
    {16384, "MODIFIED", nullptr, 'R'},   {65536, "ACTIVE_BOUND", nullptr, 'E'},
    {131072, "SHADOW_PRICE", nullptr, 'R'},                                  {262144, "QUALITY", nullptr, 'E'},
    {524288, "BASEUOM", nullptr, 'T'},   {1048576, "PHYSICAL_TYPE_ID", nullptr, 'I'},
    {2097152, "BLOCKPTR", nullptr, 0},   {4194304, "PARAM_HOMO", "PARAM", 'E'},
    {4194304, "PARAM_HOMO", "HOMO_PARAM", 'E'},                              {8388608, "TARGET_HOMO", "TARGET", 'R'},
    {8388608, "TARGET_HOMO", "HOMO_TARGET", 'R'},                            {16777216, "DESCRIPTION", nullptr, 'T'},
    {33554432, "VARIABLE_TYPE", nullptr, 'E'},                               {67108864, "VAR_PROFILE", nullptr, 0},
    {134217728, "THRESHOLD", nullptr, 'R'},                                  {268435456, "RAMPED", nullptr, 'I'},
    {536870912, "CHANGE", nullptr, 'R'}, {1073741824, "SPEC", nullptr, 'E'}, {-1, "PHYSICAL_TYPE", nullptr, 'T'},
    {-2, "UOM_ID", nullptr, 'I'},        {-4, "NUMBER", nullptr, 'I'},       {-8, "CONN_TYPE", nullptr, 'E'},
};
// clang-format on

std::string lower(const char *s) {
    std::string out(s);
    for (char &c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

TEST(VariableRecord, AttributeIdsNamesSynonymsAndKinds) {
    for (const AttributeRow &a : kAttributes) {
        EXPECT_EQ(V::AttribId(a.name), a.id) << a.name;
        EXPECT_EQ(V::AttribId(lower(a.name).c_str()), a.id) << a.name << " in lower case";
        if (a.synonym != nullptr) {
            EXPECT_EQ(V::AttribId(a.synonym), a.id) << a.synonym;
        }
        EXPECT_STREQ(V::AttribName(a.id), a.name);
        EXPECT_EQ(V::BaseType(a.id), a.kind) << a.name;
    }
    EXPECT_EQ(V::AttribId("VALUES"), 0);
    EXPECT_EQ(V::AttribId(""), 0);
    EXPECT_EQ(V::AttribId(nullptr), 0);
    EXPECT_EQ(V::AttribName(256), nullptr) << "STATUS is a record field, not a query attribute";
    EXPECT_EQ(V::AttribName(0), nullptr);
}

TEST(VariableRecord, UnknownIdTripsTheAssertion) {
    StderrCapture err;
    EXPECT_EQ(V::BaseType(256), QDL_KIND_NONE);
    EXPECT_EQ(V::BaseType(INT32_MIN), QDL_KIND_NONE);
    const std::string text = err.text();
    EXPECT_EQ(text.rfind("Assertion 'Invalid attribute id' failed in source/qdlvarquery/qdlquerybase:", 0),
              0u)
        << text;
}

struct WordRow {
    int32_t id, code;
    const char *word;  // the word written for the code; nullptr: none
};

// clang-format off
const WordRow kWords[] = {
    {V::SPEC, 0, "CALC"}, {V::SPEC, 1, "CONST"}, {V::SPEC, 2, "INDEP"}, {V::SPEC, 3, "MEAS"},
    {V::SPEC, 4, "PARAM"}, {V::SPEC, 5, "OPTIM"}, {V::SPEC, 6, "RECON"}, {V::SPEC, 7, "INITIAL"},
    {V::SPEC, 8, nullptr}, {V::SPEC, -1, nullptr},
    {V::BOUND, 0, "HARD"}, {V::BOUND, 1, "RELAXED"}, {V::BOUND, 2, "SOFT"}, {V::BOUND, 3, "SOFT2"}, {V::BOUND, 4, nullptr},
    {V::QUALITY, 0, "GOOD"}, {V::QUALITY, 1, "BAD"}, {V::QUALITY, 2, "OVERRIDE"}, {V::QUALITY, 3, "BADIGNORE"},
    {V::QUALITY, 4, nullptr},
    {V::ACTIVE_BOUND, 0, "NOT_AT_BOUNDS"}, {V::ACTIVE_BOUND, 1, "STEP_LOWER"}, {V::ACTIVE_BOUND, 2, "STEP_UPPER"},
    {V::ACTIVE_BOUND, 3, "EXCEEDED_STEP_LOWER"}, {V::ACTIVE_BOUND, 4, "EXCEEDED_STEP_UPPER"},
    {V::ACTIVE_BOUND, 5, "LOWER"}, {V::ACTIVE_BOUND, 6, "UPPER"}, {V::ACTIVE_BOUND, 7, "EXCEEDED_LOWER"},
    {V::ACTIVE_BOUND, 8, "EXCEEDED_UPPER"}, {V::ACTIVE_BOUND, 9, "SOFT_LOWER"}, {V::ACTIVE_BOUND, 10, "SOFT_UPPER"},
    {V::ACTIVE_BOUND, 11, "EXCEEDED_SOFT_LOWER"}, {V::ACTIVE_BOUND, 12, "EXCEEDED_SOFT_UPPER"},
    {V::ACTIVE_BOUND, 13, "RELAXED_LOWER"}, {V::ACTIVE_BOUND, 14, "RELAXED_UPPER"},
    {V::ACTIVE_BOUND, 15, "EXCEEDED_RELAXED_LOWER"}, {V::ACTIVE_BOUND, 16, "EXCEEDED_RELAXED_UPPER"},
    {V::ACTIVE_BOUND, 17, "PINCHED"}, {V::ACTIVE_BOUND, 18, nullptr},
    {V::PARAM_HOMO, 0, "NO"}, {V::PARAM_HOMO, 1, "YES"}, {V::PARAM_HOMO, 2, nullptr},
    {V::VARIABLE_TYPE, 0, "ALGEBRAIC"}, {V::VARIABLE_TYPE, 1, "STATE"}, {V::VARIABLE_TYPE, 2, "DIFFERENTIAL"},
    {V::VARIABLE_TYPE, 3, "INTEGER"}, {V::VARIABLE_TYPE, 4, "DISCRETE_ESLACK"}, {V::VARIABLE_TYPE, 5, "BINARY"},
    {V::VARIABLE_TYPE, 6, "PARTIAL_INTEGER"}, {V::VARIABLE_TYPE, 7, "SEMI_CONTINUOUS"},
    {V::VARIABLE_TYPE, 64, "SEMI_CONTINUOUS_INTEGER"}, {V::VARIABLE_TYPE, 8, nullptr},
    {V::CONN_TYPE, 0, "UNTYPED"}, {V::CONN_TYPE, 20, "PRESSURE"}, {V::CONN_TYPE, 44, "DIMENSIONLES"},
    {V::CONN_TYPE, 1001, "AROM-FACTOR"}, {V::CONN_TYPE, 1065, "LE-COMPONENT"}, {V::CONN_TYPE, 149, nullptr},
    {V::CONN_TYPE, 1000, nullptr}, {V::CONN_TYPE, 1066, nullptr}, {V::CONN_TYPE, -1, nullptr},
    {V::VALUE, 0, nullptr}, {V::NAME, 1, nullptr},
};
// clang-format on

TEST(VariableRecord, EnumerationWordsBothWays) {
    for (const WordRow &w : kWords) {
        const char *word = V::EnumToString(w.id, w.code);
        if (w.word == nullptr) {
            EXPECT_EQ(word, nullptr) << V::AttribName(w.id) << " " << w.code;
            continue;
        }
        EXPECT_STREQ(word, w.word) << V::AttribName(w.id) << " " << w.code;
        int32_t code = -99;
        EXPECT_TRUE(V::StringToEnum(w.id, lower(w.word).c_str(), code)) << w.word;
        EXPECT_EQ(code, w.code) << w.word;
    }
}

TEST(VariableRecord, EnumerationSynonymsAndRefusals) {
    const std::string kLongWord(300, 'B');
    struct Case {
        int32_t id;
        const char *word;
        int32_t code;  // -1: refused
    };
    const Case cases[] = {{V::SPEC, "FIXED", 1},
                          {V::SPEC, "free", 0},
                          {V::SPEC, "Independent", 2},
                          {V::VARIABLE_TYPE, "DISCRETE", -1},
                          {V::ACTIVE_BOUND, "NOT AT BOUNDS", -1},
                          {V::CONN_TYPE, "api", 1003},
                          {V::CONN_TYPE, "Temperature", 22},
                          {V::SPEC, "CONSTANT", -1},
                          {V::SPEC, "", -1},
                          {V::VALUE, "CALC", -1},
                          {12345, "CALC", -1},
                          {V::QUALITY, kLongWord.c_str(), -1}};
    for (const Case &c : cases) {
        int32_t code = -99;
        const bool found = V::StringToEnum(c.id, c.word, code);
        EXPECT_EQ(found, c.code >= 0) << c.word;
        if (found) {
            EXPECT_EQ(code, c.code) << c.word;
        }
    }
    int32_t code = 0;
    EXPECT_FALSE(V::StringToEnum(V::SPEC, nullptr, code));
}

// A list of three typed variables: a pressure held in PSIA with internal
// scale 2, shown in ATM; a temperature held in K, shown in C; a length with
// its display unit left at the default.
class Loading : public ::testing::Test {
  protected:
    void SetUp() override {
        list = rtovarlst_create(3);
        rtovarlst_set_nvar(list, 3);
        Make(1, "P1", 20, 3, 2, 2.0);
        Make(2, "T1", 22, 4, 1, 1e35);
        Make(3, "L1", 17, 0, 1, 1e35);
        const double psia = rtouom_si2pair(202650.0, 20, 2);
        rtovarlst_set_var_value(list, 1, psia / 2.0, 0);
        rtovarlst_set_var_initial(list, 1, rtouom_si2pair(101325.0, 20, 2) / 2.0, 0);
        rtovarlst_set_var_step_inbaseuom(list, 1, rtouom_delta_si2pair(1013.25, 20, 2) / 2.0);
        rtovarlst_set_var_value(list, 2, 300.0, 1);
        rtovarlst_set_var_initial(list, 2, 290.0, 1);
        rtovarlst_set_var_step(list, 2, 10.0);
        rtovarlst_set_var_lower(list, 2, 1e35, 1);
        rtovarlst_set_var_upper(list, 2, 400.0, 1);
        rtovarlst_set_var_sbweight(list, 2, 7.5);
        rtovarlst_set_var_shadow_price(list, 2, -3.0, 1);
        rtovarlst_set_var_value(list, 3, 2.0, 1);
        rtovarlst_set_var_description(list, 2, "the feed temperature");
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
    static V Asking(uint32_t mask1, uint32_t mask2 = 0) {
        V r;
        r.mask = {mask1, mask2};
        return r;
    }
    static double Real(const V &r, int32_t id) {
        double x = -12345.0;
        EXPECT_TRUE(r.GetValue(id, x)) << V::AttribName(id);
        return x;
    }
    static std::string Text(const V &r, int32_t id) {
        const char *t = nullptr;
        EXPECT_TRUE(r.GetValue(id, t)) << V::AttribName(id);
        return t != nullptr ? t : "(none)";
    }
    rtvarlst_t *list = nullptr;
};

TEST_F(Loading, ScaledPressureInBaseUnitShownInAtmAndInSi) {
    V r = Asking(V::VALUE | V::INITIAL | V::STEP | V::CHANGE | V::UOM | V::BASEUOM, 1u);
    ASSERT_TRUE(r.Load(list, 1, true));
    EXPECT_NEAR(Real(r, V::VALUE), 2.0, 1e-9);
    EXPECT_NEAR(Real(r, V::INITIAL), 1.0, 1e-9);
    EXPECT_NEAR(Real(r, V::STEP), 0.01, 1e-12) << "a difference, in ATM";
    EXPECT_NEAR(Real(r, V::CHANGE), 1.0, 1e-9);
    EXPECT_EQ(Text(r, V::UOM), "ATM");
    EXPECT_EQ(Text(r, V::BASEUOM), "PSIA");
    EXPECT_EQ(Text(r, V::PHYSICAL_TYPE), "PRESSURE");
    ASSERT_TRUE(r.Load(list, 1, false));
    EXPECT_NEAR(Real(r, V::VALUE), 202650.0, 1e-6);
    EXPECT_NEAR(Real(r, V::STEP), 1013.25, 1e-9);
    EXPECT_NEAR(Real(r, V::CHANGE), 101325.0, 1e-6);
}

TEST_F(Loading, TemperatureOffsetForValuesNotForDifferences) {
    V r = Asking(V::VALUE | V::INITIAL | V::STEP | V::LOWER | V::UPPER | V::CHANGE | V::SBWEIGHT |
                 V::SHADOW_PRICE | V::INTSCALE);
    ASSERT_TRUE(r.Load(list, 2, true));
    EXPECT_NEAR(Real(r, V::VALUE), 26.85, 1e-9);
    EXPECT_NEAR(Real(r, V::INITIAL), 16.85, 1e-9);
    EXPECT_NEAR(Real(r, V::STEP), 10.0, 1e-9) << "no offset on a step";
    EXPECT_NEAR(Real(r, V::CHANGE), 10.0, 1e-9);
    EXPECT_EQ(Real(r, V::LOWER), 1e35) << "undefined stays undefined";
    EXPECT_NEAR(Real(r, V::UPPER), 126.85, 1e-9);
    EXPECT_EQ(Real(r, V::SBWEIGHT), 7.5) << "as held";
    EXPECT_EQ(Real(r, V::INTSCALE), 1e35) << "as held";
    EXPECT_NEAR(Real(r, V::SHADOW_PRICE), -3.0, 1e-12) << "in SI";
}

TEST_F(Loading, DefaultDisplayUnitFollowsTheUnitsTable) {
    V r = Asking(V::VALUE | V::UOM);
    ASSERT_TRUE(r.Load(list, 3, true));
    EXPECT_EQ(Text(r, V::UOM), "METER");
    EXPECT_NEAR(Real(r, V::VALUE), 2.0, 1e-12);
    ASSERT_GE(rtouom_set_default(17, 2), 0);  // FT
    ASSERT_TRUE(r.Load(list, 3, true));
    EXPECT_EQ(Text(r, V::UOM), "FT");
    EXPECT_NEAR(Real(r, V::VALUE), 2.0 / 0.3048, 1e-9) << "the factors follow the new default";
    rtouom_set_default(17, 1);
    ASSERT_TRUE(r.Load(list, 3, true));
    EXPECT_NEAR(Real(r, V::VALUE), 2.0, 1e-12);
}

TEST_F(Loading, StatusFieldsCodesAndTexts) {
    V r = Asking(V::SPEC | V::PHYSICAL_TYPE_ID | V::MARKED | V::BOUND | V::VARIABLE_TYPE | V::DESCRIPTION |
                     V::MODIFIED | V::NAME,
                 2u | 4u | 8u);
    ASSERT_TRUE(r.Load(list, 2, false));
    int32_t i = -1;
    EXPECT_TRUE(r.GetValue(V::SPEC, i));
    EXPECT_EQ(i, VAR_CONST);
    EXPECT_TRUE(r.GetValue(V::PHYSICAL_TYPE_ID, i));
    EXPECT_EQ(i, 22);
    EXPECT_TRUE(r.GetValue(V::UOM_ID, i));
    EXPECT_EQ(i, 4);
    EXPECT_TRUE(r.GetValue(V::NUMBER, i));
    EXPECT_EQ(i, 2);
    EXPECT_EQ(Text(r, V::CONN_TYPE), "UNTYPED");
    EXPECT_EQ(Text(r, V::DESCRIPTION), "the feed temperature");
    EXPECT_EQ(Text(r, V::NAME), "T1");
    EXPECT_TRUE(r.IsFixed());
    V::CMask m{0u, 0u};
    EXPECT_TRUE(r.GetValue(V::MODIFIED, m));
    EXPECT_EQ(m.mask1, 256u);
    EXPECT_TRUE(r.IsModified(V::SPEC)) << "an assignment of SPEC marks 256";
    EXPECT_FALSE(r.IsModified(V::VALUE));
}

TEST_F(Loading, OnlyTheMaskIsLoadedAndKindsDoNotMix) {
    V r = Asking(V::VALUE);
    ASSERT_TRUE(r.Load(list, 2, false));
    double x = 0.0;
    int32_t i = 0;
    const char *t = nullptr;
    V::CMask m{0u, 0u};
    EXPECT_FALSE(r.GetValue(V::LOWER, x));
    EXPECT_FALSE(r.GetValue(V::SPEC, i));
    EXPECT_FALSE(r.GetValue(V::NAME, t));
    EXPECT_FALSE(r.GetValue(V::NUMBER, i)) << "not asked";
    EXPECT_FALSE(r.GetValue(V::VALUE, i)) << "a real is not an integer";
    EXPECT_FALSE(r.GetValue(V::VALUE, t));
    EXPECT_FALSE(r.GetValue(V::VALUE, m));
    EXPECT_FALSE(r.IsModified(V::SPEC)) << "MODIFIED not loaded";
    EXPECT_EQ(r.mask.mask1, static_cast<uint32_t>(V::VALUE)) << "the mask says what was asked";
}

TEST_F(Loading, RefusedIndicesLeaveTheRecordAlone) {
    V r = Asking(V::VALUE | V::NAME);
    ASSERT_TRUE(r.Load(list, 3, false));
    for (int32_t index : {0, -1, 4, INT32_MAX, INT32_MIN}) {
        EXPECT_FALSE(r.Load(list, index, false)) << index;
        EXPECT_EQ(Text(r, V::NAME), "L1") << index;
        EXPECT_EQ(r.number, 3) << index;
    }
    EXPECT_FALSE(r.Load(static_cast<rtvarlst_t *>(nullptr), 1, false));
    EXPECT_FALSE(r.Load(static_cast<QDLEOCntr *>(nullptr), nullptr, 1, false));
    EXPECT_FALSE(r.Commit(list, 4));
    EXPECT_FALSE(r.Commit(static_cast<rtvarlst_t *>(nullptr), 1));
}

TEST_F(Loading, ThroughTheBlockOrTheContainer) {
    FakeBlock block;
    FakeContainer container;
    block.objects.list = list;
    V r = Asking(V::NAME);
    ASSERT_TRUE(r.Load(&container, &block, 2, false));
    EXPECT_EQ(Text(r, V::NAME), "T1");
    EXPECT_FALSE(r.Load(&container, nullptr, 2, false)) << "the container has no list";
    container.objects.list = list;
    ASSERT_TRUE(r.Load(&container, nullptr, 1, false));
    EXPECT_EQ(Text(r, V::NAME), "P1");
}

TEST_F(Loading, ValuesOfTheCommandLanguage) {
    V r = Asking(V::VALUE | V::SPEC | V::NAME | V::LOWER, 4u);
    ASSERT_TRUE(r.Load(list, 2, true));
    value_t v;
    value_init(&v);
    ASSERT_TRUE(r.GetValue(V::VALUE, v));
    ASSERT_EQ(v.value_type, number_value);
    EXPECT_NEAR(v.u.number.rval, 300.0, 1e-9) << "in SI";
    EXPECT_EQ(v.u.number.ptype, 22);
    EXPECT_EQ(v.u.number.uom, 4);
    ASSERT_TRUE(r.GetValue(V::LOWER, v));
    EXPECT_EQ(v.u.number.undefined, 1);
    ASSERT_TRUE(r.GetValue(V::SPEC, v));
    ASSERT_EQ(v.value_type, string_value);
    EXPECT_STREQ(v.u.text, "CONST");
    ASSERT_TRUE(r.GetValue(V::NUMBER, v));
    EXPECT_EQ(v.u.number.ival, 2);
    ASSERT_TRUE(r.GetValue(V::NAME, v));
    EXPECT_STREQ(v.u.text, "T1");
    EXPECT_FALSE(r.GetValue(V::UPPER, v)) << "not loaded";
    EXPECT_STREQ(v.u.text, "T1") << "and out untouched";
    value_destroy(&v);
}

TEST_F(Loading, CommitWritesBackInTheUnitLoaded) {
    HistoryCapture history;
    V r = Asking(V::VALUE | V::UPPER | V::SPEC | V::NAME | V::INTSCALE | V::SHADOW_PRICE | V::ACTIVE_BOUND |
                 V::CHANGE | V::QUALITY);
    ASSERT_TRUE(r.Load(list, 2, true));
    ASSERT_TRUE(r.SetValue(V::VALUE, 30.0));
    ASSERT_TRUE(r.SetValue(V::SPEC, int32_t{VAR_CALC}));
    ASSERT_TRUE(r.SetValue(V::QUALITY, int32_t{2}));
    ASSERT_TRUE(r.Commit(list, 2));
    EXPECT_NEAR(rtovarlst_inq_var_value(list, 2, 1), 303.15, 1e-9);
    EXPECT_NEAR(rtovarlst_inq_var_upper(list, 2, 1), 400.0, 1e-9) << "written back unchanged";
    EXPECT_EQ(rtovarlst_inq_spec(list, 2), VAR_CALC);
    EXPECT_EQ(rtovarlst_inq_physical_type(list, 2), 22) << "the rest of the status word kept";
    EXPECT_EQ(rtovarlst_inq_var_quality(list, 2), 2);
    EXPECT_EQ(history.text(), "") << "read-only attributes are not written, so nothing is refused";
}

TEST_F(Loading, CommitUndoesScaleAndBaseUnit) {
    V r = Asking(V::VALUE | V::STEP);
    ASSERT_TRUE(r.Load(list, 1, true));
    ASSERT_TRUE(r.SetValue(V::VALUE, 3.0));
    ASSERT_TRUE(r.Commit(list, 1));
    V back = Asking(V::VALUE | V::STEP);
    ASSERT_TRUE(back.Load(list, 1, false));
    EXPECT_NEAR(Real(back, V::VALUE), 303975.0, 1e-6);
    EXPECT_NEAR(Real(back, V::STEP), 1013.25, 1e-9);
}

TEST_F(Loading, CreateInitialisesAnItem) {
    V r;
    ASSERT_TRUE(r.SetValue(V::NAME, "NEW"));
    ASSERT_TRUE(r.SetValue(V::VALUE, 42.0));
    ASSERT_TRUE(r.SetValue(V::SPEC, int32_t{VAR_CONST}));
    rtovarlst_set_nvar(list, 3);
    rtovarlst_resize(list, 4);
    rtovarlst_set_nvar(list, 4);
    ASSERT_TRUE(r.Create(list, 4));
    EXPECT_STREQ(rtovarlst_lookup_var_name(list, 4), "NEW");
    EXPECT_EQ(rtovarlst_inq_var_value(list, 4, 1), 42.0);
    EXPECT_EQ(rtovarlst_inq_spec(list, 4), VAR_CONST);
    V unnamed;
    EXPECT_FALSE(unnamed.Create(list, 4));
    EXPECT_FALSE(r.Create(list, 5));
    EXPECT_FALSE(r.Create(nullptr, 1));
}

TEST(VariableRecord, SettersCheckTheirCodes) {
    struct Case {
        int32_t id, value;
        bool accepted;
    };
    const Case cases[] = {{V::SPEC, 7, true},
                          {V::SPEC, 8, false},
                          {V::SPEC, -1, false},
                          {V::BOUND, 3, true},
                          {V::BOUND, 4, false},
                          {V::QUALITY, 3, true},
                          {V::QUALITY, 4, false},
                          {V::ACTIVE_BOUND, 17, true},
                          {V::ACTIVE_BOUND, 18, false},
                          {V::PARAM_HOMO, 1, true},
                          {V::PARAM_HOMO, 2, false},
                          {V::VARIABLE_TYPE, 64, true},
                          {V::VARIABLE_TYPE, 8, false},
                          {V::CONN_TYPE, 1065, true},
                          {V::CONN_TYPE, 1066, false},
                          {V::CONN_TYPE, -1, false},
                          {V::MARKED, 1, true},
                          {V::MARKED, 2, false},
                          {V::RAMPED, 0, true},
                          {V::RAMPED, -1, false},
                          {V::PHYSICAL_TYPE_ID, -255, true},
                          {V::PHYSICAL_TYPE_ID, 256, false},
                          {V::UOM_ID, 0, true},
                          {V::UOM_ID, -1, false},
                          {V::NUMBER, -5, true},
                          {V::VALUE, 1, false},
                          {V::NAME, 1, false}};
    StderrCapture err;
    HistoryCapture history;
    for (const Case &c : cases) {
        V r;
        EXPECT_EQ(r.SetValue(c.id, c.value), c.accepted) << V::AttribName(c.id) << " " << c.value;
        int32_t back = -999;
        EXPECT_EQ(r.GetValue(c.id, back), c.accepted) << V::AttribName(c.id);
        if (c.accepted) {
            EXPECT_EQ(back, c.value) << V::AttribName(c.id);
        }
    }
    EXPECT_EQ(history.text(), "") << "a refused code never reaches the status-word writers";
}

TEST(VariableRecord, StatusFieldsSetIntoTheWord) {
    V r;
    ASSERT_TRUE(r.SetValue(V::SPEC, int32_t{VAR_OPTIM}));
    ASSERT_TRUE(r.SetValue(V::PHYSICAL_TYPE_ID, int32_t{-20}));
    ASSERT_TRUE(r.SetValue(V::BOUND, int32_t{2}));
    ASSERT_TRUE(r.SetValue(V::VARIABLE_TYPE, int32_t{5}));
    ASSERT_TRUE(r.SetValue(V::MARKED, int32_t{1}));
    EXPECT_EQ(varInqSpec(r.status), VAR_OPTIM);
    EXPECT_EQ(varInqPhysicalType(r.status), -20);
    int64_t b = 0;
    varInqBoundType(r.status, &b);
    EXPECT_EQ(b, 2);
    EXPECT_EQ(varInqType(r.status), 5);
    EXPECT_EQ(varInqMarked(r.status), 1);
}

TEST(VariableRecord, TextAndMaskSetters) {
    V r;
    EXPECT_TRUE(r.SetValue(V::CONN_TYPE, "pressure"));
    EXPECT_EQ(r.conn_type, 20);
    EXPECT_FALSE(r.SetValue(V::CONN_TYPE, "NOT-A-TYPE"));
    EXPECT_EQ(r.conn_type, 20);
    EXPECT_TRUE(r.SetValue(V::NAME, std::string(1024, 'N').c_str()));
    EXPECT_FALSE(r.SetValue(V::NAME, std::string(1025, 'N').c_str())) << "longer than the name field";
    EXPECT_EQ(std::strlen(r.name), 1024u);
    EXPECT_FALSE(r.SetValue(V::PHYSICAL_TYPE, std::string(53, 'P').c_str()));
    EXPECT_TRUE(r.SetValue(V::PHYSICAL_TYPE, std::string(52, 'P').c_str()));
    EXPECT_FALSE(r.SetValue(V::UOM, nullptr));
    EXPECT_FALSE(r.SetValue(V::VALUE, "1.0"));
    EXPECT_TRUE(r.SetValue(V::UOM, "ATM"));
    const char *t = nullptr;
    EXPECT_TRUE(r.GetValue(V::UOM, t));
    EXPECT_STREQ(t, "ATM");
    const V::CMask m{5u, 8u};
    EXPECT_FALSE(r.SetValue(V::VALUE, m));
    EXPECT_TRUE(r.SetValue(V::MODIFIED, m));
    V::CMask back{0u, 0u};
    EXPECT_TRUE(r.GetValue(V::MODIFIED, back));
    EXPECT_EQ(back.mask2, 8u);
    EXPECT_TRUE(r.IsModified(V::CONN_TYPE)) << "CONN_TYPE's assignment bit is mask2 8";
    EXPECT_FALSE(r.SetValue(V::CHANGE, 1.0)) << "CHANGE is derived";
}

TEST(VariableRecord, ModificationBitsOfTheAssignment) {
    V r;
    r.SetIsModified(V::VALUE, true);
    r.SetIsModified(V::UOM, true);
    EXPECT_EQ(r.modified.mask1, 2u | 1024u);
    EXPECT_EQ(r.modified.mask2, 2u);
    EXPECT_TRUE(r.IsModified(V::UOM_ID)) << "UOM and UOM_ID share their bits";
    r.SetIsModified(V::UOM, false);
    EXPECT_EQ(r.modified.mask1, 2u);
    EXPECT_EQ(r.modified.mask2, 0u);
    r.SetIsModified(V::NAME, true);
    EXPECT_EQ(r.modified.mask1, 2u | 1u) << "an attribute no assignment marks uses its own bit";
    r.SetIsModified(12345, true);
    EXPECT_EQ(r.modified.mask1, 3u) << "an unknown id changes nothing";
    EXPECT_FALSE(r.IsModified(12345));
}

}  // namespace
