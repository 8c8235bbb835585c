// The engines' records: the variable record's documented attribute table,
// loading in SI and in display units (internal scale, base unit, offsets,
// differences) and writing back, its setters' checks and modification bits;
// parameter values as VARIANTs and back.
#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <cstring>
#include <new>
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

std::vector<OLECHAR> units_of(BSTR b) { return std::vector<OLECHAR>(b, b + SysStringLen(b)); }

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
    ASSERT_TRUE(r.GetValue(V::LOWER, v));
    EXPECT_EQ(v.u.number.undefined, 1);
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

TEST_F(Loading, TheBoundTypeComesFromTheStatusWord) {
    int64_t word = rtovarlst_inq_var_status(list, 2);
    varSetBoundType(VAR_BOUND_SOFT, &word);
    rtovarlst_set_var_status(list, 2, word);
    V r;
    r.mask = {V::BOUND, 0u};
    ASSERT_TRUE(r.Load(list, 2, false));
    int32_t bound = -1;
    ASSERT_TRUE(r.GetValue(V::BOUND, bound));
    EXPECT_EQ(bound, VAR_BOUND_SOFT);
}

TEST_F(Loading, CommitWritesBackTheWritableAttributesSilently) {
    HistoryCapture history;
    V r;
    r.mask = {V::VALUE | V::SPEC | V::NAME | V::INTSCALE | V::SHADOW_PRICE | V::ACTIVE_BOUND | V::CHANGE, 0u};
    ASSERT_TRUE(r.Load(list, 2, true));
    ASSERT_TRUE(r.SetValue(V::VALUE, 30.0) && r.SetValue(V::SPEC, int32_t{VAR_CALC}));
    ASSERT_TRUE(r.SetValue(V::STEP, 5.0) && r.SetValue(V::SHADOW_PRICE, 2.0));
    ASSERT_TRUE(r.Commit(list, 2));
    EXPECT_NEAR(rtovarlst_inq_var_value(list, 2, 1), 303.15, 1e-9);
    EXPECT_NEAR(rtovarlst_inq_var_step(list, 2), 5.0, 1e-9) << "a step of 5 C is one of 5 K";
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

TEST_F(Loading, CommitWritesBackACodeSetOnTheRecord) {
    V r;
    r.mask = {V::NAME, 0u};
    ASSERT_TRUE(r.Load(list, 2, false));
    ASSERT_TRUE(r.SetValue(V::QUALITY, int32_t{2}));
    ASSERT_TRUE(r.Commit(list, 2));
    EXPECT_EQ(rtovarlst_inq_var_quality(list, 2), 2) << "QUALITY set on the record and committed";
}

TEST_F(Loading, RecordsGoBackThroughTheBlockOrTheContainer) {
    FakeBlock block;
    block.objects.list = list;
    V r;
    r.mask = {V::VALUE, 0u};
    ASSERT_TRUE(r.Load(nullptr, &block, 2, true));
    ASSERT_TRUE(r.SetValue(V::VALUE, 40.0));
    ASSERT_TRUE(r.Commit(nullptr, &block, 2));
    EXPECT_NEAR(rtovarlst_inq_var_value(list, 2, 1), 313.15, 1e-9) << "from the display unit C";
    EXPECT_FALSE(r.Commit(nullptr, nullptr, 2)) << "no host, no list";
    rtovarlst_set_nvar(list, 3);
    V made;
    ASSERT_TRUE(made.SetValue(V::SPEC, int32_t{VAR_CONST}) && made.SetValue(V::VALUE, 5.0));
    EXPECT_FALSE(made.Create(list, 3)) << "a variable needs a name";
    ASSERT_TRUE(made.SetValue(V::NAME, "NEW"));
    EXPECT_FALSE(made.Create(list, 4));
    ASSERT_TRUE(made.Create(list, 3));
    EXPECT_STREQ(rtovarlst_lookup_var_name(list, 3), "NEW");
    EXPECT_EQ(rtovarlst_inq_spec(list, 3), VAR_CONST);
    EXPECT_EQ(rtovarlst_inq_var_value(list, 3, 1), 5.0);
    FakeContainer container;
    container.objects.equations = {{"E1", 1, 1, 0}};
    block.objects.parameters.resize(2);
    EXPECT_TRUE(QDLEquationData().Commit(&container, nullptr, 1));
    EXPECT_FALSE(QDLEquationData().Commit(&container, nullptr, 2));
    EXPECT_TRUE(P().Commit(&container, &block, 2));
    EXPECT_FALSE(P().Commit(nullptr, nullptr, 1));
    EXPECT_EQ(container.objects.committed, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(block.objects.committed, (std::vector<int32_t>{2})) << "the block before the container";
}

TEST(QueryRecords, CodesAndTextsAsValuesAndVariants) {
    V r;
    ASSERT_TRUE(r.SetValue(V::SPEC, int32_t{1}) && r.SetValue(V::ACTIVE_BOUND, int32_t{3}) &&
                r.SetValue(V::NUMBER, int32_t{7}) && r.SetValue(V::NAME, "B1.X"));
    value_t v;
    value_init(&v);
    ASSERT_TRUE(r.GetValue(V::SPEC, v));
    EXPECT_STREQ(v.u.text, "CONST");
    ASSERT_TRUE(r.GetValue(V::ACTIVE_BOUND, v));
    EXPECT_STREQ(v.u.text, "EXCEEDED_STEP_LOWER");
    ASSERT_TRUE(r.GetValue(V::NUMBER, v));
    EXPECT_EQ(v.u.number.ival, 7);
    ASSERT_TRUE(r.GetValue(V::NAME, v));
    EXPECT_STREQ(v.u.text, "B1.X");
    EXPECT_FALSE(r.GetValue(V::QUALITY, v)) << "not held";
    P p;
    ASSERT_TRUE(p.SetValue(P::ACCESS, int32_t{P::ACCESS_READ_ONLY}) && p.SetValue(P::UOM, "KG"));
    EXPECT_FALSE(p.SetValue(P::ACCESS, int32_t{2}));
    VARIANT var;
    VariantInit(&var);
    ASSERT_TRUE(p.GetValue(P::ACCESS, var));
    EXPECT_TRUE(var.vt == VT_I4 && var.lVal == P::ACCESS_READ_ONLY);
    ASSERT_TRUE(p.GetValue(P::UOM, var));
    ASSERT_EQ(var.vt, VT_BSTR);
    EXPECT_EQ(units_of(var.bstrVal), (std::vector<OLECHAR>{'K', 'G'}));
    EXPECT_FALSE(p.GetValue(P::DESCRIPTION, var)) << "not held";
    VariantClear(&var);
    FakePort port;
    port.stream = "S1";
    port.phase = 3;
    QDLPortData q;
    q.mask = {QDLPortData::PHASE | QDLPortData::STREAM, 0u};
    FakeBlock block;
    block.objects.ports = {port};
    ASSERT_TRUE(q.Load(nullptr, &block, 1, false));
    ASSERT_TRUE(q.GetValue(QDLPortData::PHASE, v));
    EXPECT_STREQ(v.u.text, "VAPOR-LIQUID");
    ASSERT_TRUE(q.GetValue(QDLPortData::STREAM, v));
    EXPECT_STREQ(v.u.text, "S1");
    EXPECT_FALSE(q.GetValue(QDLPortData::TYPE, v)) << "not asked for";
    EXPECT_FALSE(q.Load(nullptr, &block, 2, false));
    value_destroy(&v);
}

// A port's code without a word comes back as an integer value, and a code
// attribute is not a text.
TEST(QueryRecords, APortsCodeWithoutAWordIsAnIntegerAndNoText) {
    FakePort port;
    port.sos = 7;
    port.phase = 3;
    QDLPortData q;
    q.mask = {QDLPortData::SPECIAL_ORDERED_SET | QDLPortData::PHASE, 0u};
    FakeBlock block;
    block.objects.ports = {port};
    ASSERT_TRUE(q.Load(nullptr, &block, 1, false));
    value_t v;
    value_init(&v);
    ASSERT_TRUE(q.GetValue(QDLPortData::SPECIAL_ORDERED_SET, v));
    EXPECT_EQ(v.value_type, number_value);
    EXPECT_EQ(v.u.number.is_int, 1);
    EXPECT_EQ(v.u.number.ival, 7) << "SPECIAL_ORDERED_SET as an integer";
    const char *text = nullptr;
    EXPECT_FALSE(q.GetValue(QDLPortData::PHASE, text)) << "PHASE is a code, not a text";
    EXPECT_EQ(text, nullptr);
    value_destroy(&v);
}

// The pressure (2 ATM) and the temperature (26.85 C) are each compared in
// their own display unit within one run.
TEST_F(Loading, EachPhysicalTypeIsShownInItsOwnUnitWithinARun) {
    FakeBlock block;
    block.objects.list = list;
    IQDLQueryEngine *engine = QDLQueryFactory::NewVariableQuery(nullptr, &block);
    ASSERT_TRUE(engine->SetQueryText("VALUE > 20"));
    engine->Execute();
    ASSERT_EQ(engine->NumResults(), 1);
    EXPECT_EQ(engine->ResultAt(0), 2) << "26.85 C only";
    engine->Release();
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
    EXPECT_NEAR(Real(r, V::VALUE), 202.65, 1e-9);
    engine->Execute();
    EXPECT_EQ(engine->NumResults(), 0);
    ASSERT_EQ(rtouom_modify_mult_offset(20, "KPA_OF_QUERIES", 100.0, 0.0), 1);
    ASSERT_TRUE(r.Load(list, 1, true));
    EXPECT_NEAR(Real(r, V::VALUE), 2026.5, 1e-9) << "the record's kept factors follow the table";
    engine->Execute();
    EXPECT_EQ(engine->NumResults(), 1) << "and so do the engine's";
    engine->Release();
}

int32_t bound_in(int64_t word) {
    int64_t b = -1;
    varInqBoundType(word, &b);
    return static_cast<int32_t>(b);
}

TEST(VariableRecord, CodeSettersTakeValidCodesIntoFieldAndStatusWord) {
    struct Row {
        const char *what;
        int32_t id, code;
        bool taken;
        int32_t (*in_status)(int64_t);  // where the status word keeps it, or NULL
    };
    // clang-format off
    const Row rows[] = {
        {"spec_last", V::SPEC, 7, true, varInqSpec},
        {"spec_beyond", V::SPEC, 8, false, nullptr},
        {"spec_negative", V::SPEC, -1, false, nullptr},
        {"bound_last", V::BOUND, 3, true, bound_in},
        {"bound_beyond", V::BOUND, 4, false, nullptr},
        {"quality_last", V::QUALITY, 3, true, nullptr},
        {"quality_beyond", V::QUALITY, 4, false, nullptr},
        {"active_bound_first", V::ACTIVE_BOUND, 0, true, nullptr},
        {"active_bound_last", V::ACTIVE_BOUND, 17, true, nullptr},
        {"active_bound_beyond", V::ACTIVE_BOUND, 18, false, nullptr},
        {"active_bound_negative", V::ACTIVE_BOUND, -1, false, nullptr},
        {"param_homo_yes", V::PARAM_HOMO, 1, true, nullptr},
        {"param_homo_two", V::PARAM_HOMO, 2, false, nullptr},
        {"variable_type_last", V::VARIABLE_TYPE, 64, true, varInqType},
        {"variable_type_gap", V::VARIABLE_TYPE, 8, false, nullptr},
        {"conn_type_last", V::CONN_TYPE, RTOVARLST_MAX_CONN_TYPE, true, nullptr},
        {"conn_type_beyond", V::CONN_TYPE, RTOVARLST_MAX_CONN_TYPE + 1, false, nullptr},
        {"conn_type_negative", V::CONN_TYPE, -1, false, nullptr},
        {"marked", V::MARKED, 1, true, varInqMarked},
        {"marked_two", V::MARKED, 2, false, nullptr},
        {"ramped", V::RAMPED, 1, true, nullptr},
        {"ramped_two", V::RAMPED, 2, false, nullptr},
        {"physical_type_last", V::PHYSICAL_TYPE_ID, 255, true, varInqPhysicalType},
        {"physical_type_first", V::PHYSICAL_TYPE_ID, -255, true, varInqPhysicalType},
        {"physical_type_beyond", V::PHYSICAL_TYPE_ID, 256, false, nullptr},
        {"physical_type_below", V::PHYSICAL_TYPE_ID, -256, false, nullptr},
        {"uom_id_default", V::UOM_ID, 0, true, nullptr},
        {"uom_id_negative", V::UOM_ID, -1, false, nullptr},
        {"number", V::NUMBER, 12, true, nullptr},
        {"a_real", V::VALUE, 1, false, nullptr},
        {"a_text", V::NAME, 1, false, nullptr},
    };
    // clang-format on
    HistoryCapture history;
    for (const Row &row : rows) {
        V r;
        EXPECT_EQ(r.SetValue(row.id, row.code), row.taken) << row.what;
        int32_t back = -12345;
        EXPECT_EQ(r.GetValue(row.id, back), row.taken) << row.what << ": held only when taken";
        if (row.taken) {
            EXPECT_EQ(back, row.code) << row.what;
        }
        if (row.in_status != nullptr) {
            EXPECT_EQ(row.in_status(r.status), row.code) << row.what;
        }
    }
    EXPECT_EQ(history.text(), "") << "a refused code never reaches the status-word writers";
}

TEST(VariableRecord, RealAndTextSettersKeepEachAttributeApart) {
    const int32_t reals[] = {V::VALUE, V::INITIAL,  V::LOWER,        V::UPPER,       V::STEP,     V::INTSCALE,
                             V::SCALE, V::SBWEIGHT, V::SHADOW_PRICE, V::TARGET_HOMO, V::THRESHOLD};
    V r;
    for (size_t k = 0; k < std::size(reals); ++k) EXPECT_TRUE(r.SetValue(reals[k], 1.0 + k)) << k;
    for (size_t k = 0; k < std::size(reals); ++k) {
        double x = 0.0;
        EXPECT_TRUE(r.GetValue(reals[k], x)) << V::AttribName(reals[k]);
        EXPECT_EQ(x, 1.0 + k) << V::AttribName(reals[k]);
    }
    EXPECT_FALSE(r.SetValue(V::CHANGE, 1.0)) << "worked out when loaded";
    EXPECT_FALSE(r.SetValue(V::SPEC, 1.0));
    struct Text {
        int32_t id;
        const char *text;
        const char *back;  // NULL: refused
    };
    const std::string too_long(ZARN_NAME_BUF, 'N');
    const Text texts[] = {{V::NAME, "B1.X", "B1.X"},
                          {V::DESCRIPTION, "feed", "feed"},
                          {V::UOM, "ATM", "ATM"},
                          {V::BASEUOM, "PSIA", "PSIA"},
                          {V::PHYSICAL_TYPE, "PRESSURE", "PRESSURE"},
                          {V::CONN_TYPE, "pressure", "PRESSURE"},
                          {V::CONN_TYPE, "NOPE", nullptr},
                          {V::NAME, too_long.c_str(), nullptr},
                          {V::VALUE, "1", nullptr},
                          {V::DESCRIPTION, nullptr, nullptr}};
    for (const Text &t : texts) {
        V fresh;
        EXPECT_EQ(fresh.SetValue(t.id, t.text), t.back != nullptr) << V::AttribName(t.id);
        const char *got = nullptr;
        const bool held = fresh.GetValue(t.id, got);
        EXPECT_EQ(held, t.back != nullptr) << V::AttribName(t.id);
        if (held && t.back != nullptr) {
            EXPECT_STREQ(got, t.back);
        }
    }
    int32_t code = 0;
    EXPECT_FALSE(V::StringToEnum(V::CONN_TYPE, "NOPE", code)) << "past every type and property";
    r.SetIsModified(V::UOM, true);
    r.SetIsModified(V::VALUE, true);
    EXPECT_TRUE(r.modified.mask1 == (1024u | 2u) && r.modified.mask2 == 2u)
        << "the bits of UNITS' assignment";
    r.SetIsModified(V::UOM, false);
    EXPECT_TRUE(r.modified.mask1 == 2u && r.modified.mask2 == 0u) << "and only those cleared";
}

TEST(VariableRecord, AModificationMaskSetIsTheOneRead) {
    V r;
    const V::CMask set{1u << 3, 1u << 5};
    ASSERT_TRUE(r.SetValue(V::MODIFIED, set));
    V::CMask back{0u, 0u};
    ASSERT_TRUE(r.GetValue(V::MODIFIED, back));
    EXPECT_EQ(back.mask1, set.mask1) << "MODIFIED, first half";
    EXPECT_EQ(back.mask2, set.mask2) << "MODIFIED, second half";
}

// INTSCALE has no assignment of its own, so its own bit marks it modified.
TEST(VariableRecord, AnAttributeWithoutAssignmentBitsIsMarkedByItsOwnBit) {
    V r;
    r.mask = {V::MODIFIED, 0u};
    r.modified = {0u, 0u};
    r.SetIsModified(V::INTSCALE, true);
    EXPECT_EQ(r.modified.mask1, static_cast<uint32_t>(V::INTSCALE)) << "INTSCALE's own bit";
    EXPECT_EQ(r.modified.mask2, 0u);
    EXPECT_TRUE(r.IsModified(V::INTSCALE));
    EXPECT_FALSE(r.IsModified(V::VALUE)) << "VALUE's assignment sets other bits";
}

// Physical type 0 is a connection type too: its name is found by the first
// comparison of the search.
TEST(VariableRecord, TheFirstPhysicalTypeNamesAConnectionType) {
    const char *first = rtouom_ptype_name(0);
    ASSERT_NE(first, nullptr);
    int32_t code = -1;
    EXPECT_TRUE(V::StringToEnum(V::CONN_TYPE, first, code)) << first;
    EXPECT_EQ(code, 0) << first;
}

// The static operations of the equation, parameter and port records.
struct Statics {
    const char *record;
    const char *(*name)(int32_t);
    int32_t (*id)(const char *);
    int (*kind)(int32_t);
    const char *(*word)(int32_t, int32_t);
    bool (*code)(int32_t, const char *, int32_t &);
};
template <class R>
Statics statics_of(const char *record) {
    return {record, &R::AttribName, &R::AttribId, &R::BaseType, &R::EnumToString, &R::StringToEnum};
}

TEST(QueryRecords, NamesKindsAndWordsOfEquationsParametersAndPorts) {
    const Statics equation = statics_of<QDLEquationData>("equation");
    const Statics parameter = statics_of<P>("parameter");
    const Statics port = statics_of<QDLPortData>("port");
    struct Row {
        const Statics &record;
        int32_t id;
        const char *name;  // looked up in lower case
        int kind;
        std::vector<const char *> words;  // by code from 0, looked up in lower case
    };
    const Row rows[] = {
        {equation, 1, "NAME", QDL_KIND_TEXT, {}},
        {equation, 2, "VALUE", QDL_KIND_REAL, {}},
        {equation, 4, "SCALE", QDL_KIND_REAL, {}},
        {equation, 8, "SHADOW_PRICE", QDL_KIND_REAL, {}},
        {equation, 16, "NUMBER", QDL_KIND_INTEGER, {}},
        {parameter, 1, "NAME", QDL_KIND_TEXT, {}},
        {parameter, 2, "VALUE", QDL_KIND_VALUE, {}},
        {parameter, 4, "UOM", QDL_KIND_TEXT, {}},
        {parameter, 8, "ACCESS", QDL_KIND_ENUM, {"READ-WRITE", "READ_ONLY"}},
        {parameter, 16, "DESCRIPTION", QDL_KIND_TEXT, {}},
        {parameter, 32, "LOWER", QDL_KIND_VALUE, {}},
        {parameter, 64, "UPPER", QDL_KIND_VALUE, {}},
        {parameter, 128, "TYPE", QDL_KIND_ENUM, {"BOOLEAN", "COMPONENTLIST", "DOUBLE", "INTEGER", "STRING"}},
        {parameter, 256, "PHYSICALTYPE", QDL_KIND_TEXT, {}},
        {port, 1, "NAME", QDL_KIND_TEXT, {}},
        {port, 2, "TYPE", QDL_KIND_ENUM, {"UNSPECIFIED", "MATERIAL", "INFORMATION", "SPECIAL_ORDERED_SET"}},
        {port, 4, "DIRECTION", QDL_KIND_ENUM, {"UNSPECIFIED", "INPUT", "OUTPUT"}},
        {port, 8, "BASIS", QDL_KIND_ENUM, {"UNSPECIFIED", "MOLE_FLOW", "MOLE_FRACTION"}},
        {port,
         16,
         "PHASE",
         QDL_KIND_ENUM,
         {"UNSPECIFIED", "VAPOR", "LIQUID", "VAPOR-LIQUID", "VAPOR-LIQUID-FREEWATER"}},
        {port, 32, "STREAM", QDL_KIND_TEXT, {}},
        {port,
         64,
         "SPECIAL_ORDERED_SET",
         QDL_KIND_ENUM,
         {"SOS TYPE1", "SOS TYPE2", "SOS TYPE3", "SOS TYPE COMPLEMENTARITY GROUP",
          "SOS TYPE TEMPORARY BOUNDS", "SOS TYPE TRUST REGION2"}},
    };
    auto lower = [](std::string s) {
        for (char &c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    for (const Row &row : rows) {
        const Statics &r = row.record;
        EXPECT_STREQ(r.name(row.id), row.name) << r.record << " " << row.id;
        EXPECT_EQ(r.id(lower(row.name).c_str()), row.id) << r.record << " " << row.name;
        EXPECT_EQ(r.kind(row.id), row.kind) << r.record << " " << row.name;
        const int32_t past = static_cast<int32_t>(row.words.size());
        EXPECT_EQ(r.word(row.id, past), nullptr) << r.record << " " << row.name << ": no word past the last";
        for (int32_t c = 0; c < past; ++c) {
            EXPECT_STREQ(r.word(row.id, c), row.words[static_cast<size_t>(c)]) << row.name << " " << c;
            int32_t code = -1;
            EXPECT_TRUE(r.code(row.id, lower(row.words[static_cast<size_t>(c)]).c_str(), code)) << row.name;
            EXPECT_EQ(code, c) << row.words[static_cast<size_t>(c)];
        }
    }
    int32_t code = -1;
    EXPECT_TRUE(P::StringToEnum(P::ACCESS, "Read-Only", code));
    EXPECT_EQ(code, P::ACCESS_READ_ONLY) << "READ-ONLY also stands for READ_ONLY";
    for (const Statics &r : {equation, parameter, port}) {
        StderrCapture err;
        EXPECT_EQ(r.name(512), nullptr) << r.record;
        EXPECT_EQ(r.id("NOPE"), 0) << r.record;
        EXPECT_EQ(r.kind(512), QDL_KIND_NONE) << r.record;
        EXPECT_EQ(err.text().rfind(
                      "Assertion 'Invalid attribute id' failed in source/qdlvarquery/qdlquerybase:", 0),
                  0u)
            << r.record;
        EXPECT_FALSE(r.code(2, "NOPE", code)) << r.record;
    }
}

TEST(QueryRecords, EquationSettersTakeTheirOwnKindsOnly) {
    QDLEquationData e;
    EXPECT_TRUE(e.SetValue(QDLEquationData::VALUE, 2.5));
    EXPECT_TRUE(e.SetValue(QDLEquationData::SCALE, 4.0));
    EXPECT_TRUE(e.SetValue(QDLEquationData::SHADOW_PRICE, -1.0));
    EXPECT_TRUE(e.SetValue(QDLEquationData::NUMBER, int32_t{7}));
    EXPECT_TRUE(e.SetValue(QDLEquationData::NAME, "E1"));
    EXPECT_FALSE(e.SetValue(QDLEquationData::NAME, 1.0));
    EXPECT_FALSE(e.SetValue(QDLEquationData::VALUE, int32_t{1}));
    EXPECT_FALSE(e.SetValue(QDLEquationData::VALUE, "1"));
    double x = 0.0;
    EXPECT_TRUE(e.GetValue(QDLEquationData::SCALE, x));
    EXPECT_EQ(x, 4.0);
    value_t v;
    value_init(&v);
    EXPECT_TRUE(e.GetValue(QDLEquationData::NUMBER, v));
    EXPECT_EQ(v.u.number.ival, 7);
    EXPECT_TRUE(e.GetValue(QDLEquationData::NAME, v));
    EXPECT_STREQ(v.u.text, "E1");
    value_destroy(&v);
}

// ---- parameter values as VARIANTs ----

TEST(ParameterVariant, ValuesAndBackKindByKind) {
    value_t v, back;
    value_init(&v);
    value_init(&back);
    VARIANT var;
    VariantInit(&var);
    P r;
    // The value goes out of VALUE as a VARIANT, and that VARIANT back into LOWER.
    auto out_and_back = [&](VARTYPE vt) {
        ASSERT_TRUE(r.SetValue(P::VALUE, v) && r.GetValue(P::VALUE, var));
        EXPECT_EQ(var.vt, vt);
        ASSERT_TRUE(r.SetValue(P::LOWER, var) && r.GetValue(P::LOWER, back));
        EXPECT_EQ(back.value_type, v.value_type);
    };
    value_assign_int(&v, -7);
    out_and_back(VT_I4);
    EXPECT_EQ(var.lVal, -7);
    EXPECT_EQ(back.u.number.ival, -7);
    value_assign_double(&v, 2.5, 0, 0);
    out_and_back(VT_R8);
    EXPECT_EQ(var.dblVal, 2.5);
    EXPECT_EQ(back.u.number.rval, 2.5);
    value_assign_logical(&v, 1);
    out_and_back(VT_BOOL);
    EXPECT_EQ(var.boolVal, VARIANT_TRUE);
    EXPECT_EQ(back.u.logical, 1);
    gl_list_t *list = gl_create();
    gl_addtoend(list, value_create_from_string(const_cast<char *>("CO2"), 1));
    value_assign_list(&v, list);
    out_and_back(VT_ARRAY | VT_BSTR);
    EXPECT_EQ(units_of(static_cast<BSTR *>(var.parray->pvData)[0]), (std::vector<OLECHAR>{'C', 'O', '2'}));
    EXPECT_STREQ(static_cast<value_t *>(back.u.list->head->data)->u.text, "CO2");
    value_destroy(&v);
    out_and_back(VT_EMPTY);
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

TEST(ParameterRecord, CopiesAreDeepAndANewRecordHoldsEmptyValues) {
    alignas(P) unsigned char space[sizeof(P)];
    std::memset(space, 0xA5, sizeof space);  // memory used before
    P *made = new (space) P;
    value_t v;
    value_init(&v);
    value_assign_copy_of_string(&v, "abc");
    StderrCapture err;
    ASSERT_TRUE(made->SetValue(P::VALUE, v));
    ASSERT_TRUE(made->SetValue(P::LOWER, v)) << "a bound held in memory of its own, freed with its record";
    ASSERT_TRUE(made->SetValue(P::NAME, "P1"));
    ASSERT_TRUE(made->SetValue(P::TYPE, int32_t{P::TYPE_STRING}));
    ASSERT_TRUE(made->SetValue(P::DESCRIPTION, "feed") && made->SetValue(P::PHYSICALTYPE, "MASS"));
    made->mask = {P::VALUE | P::NAME, 0u};
    P assigned;
    assigned = *made;
    const P constructed(*made);
    made->~P();
    EXPECT_EQ(err.text(), "") << "the new record's value slots were valid empty values";
    for (const P *r : {static_cast<const P *>(&assigned), &constructed}) {
        EXPECT_EQ(r->mask.mask1, uint32_t{P::VALUE | P::NAME});
        EXPECT_EQ(r->loaded.mask1,
                  uint32_t{P::VALUE | P::LOWER | P::NAME | P::TYPE | P::DESCRIPTION | P::PHYSICALTYPE});
        value_t back;
        value_init(&back);
        EXPECT_TRUE(r->GetValue(P::VALUE, back));
        EXPECT_STREQ(back.u.text, "abc") << "kept after the original went";
        EXPECT_TRUE(r->GetValue(P::TYPE, back));
        EXPECT_STREQ(back.u.text, "STRING");
        value_destroy(&back);
        const char *name = nullptr;
        EXPECT_TRUE(r->GetValue(P::NAME, name));
        EXPECT_STREQ(name, "P1");
        EXPECT_TRUE(r->GetValue(P::DESCRIPTION, name));
        EXPECT_STREQ(name, "feed");
        EXPECT_TRUE(r->GetValue(P::PHYSICALTYPE, name));
        EXPECT_STREQ(name, "MASS");
    }
    value_destroy(&v);
}

}  // namespace
