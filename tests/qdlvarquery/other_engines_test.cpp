// The equation, parameter and port engines, each over a small fake block,
// with their own messages; their records' names and words; and the rules
// shared through the executor template when no engine adds its own.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture.h"
#include "failsweep.h"
#include "fake_model.h"
#include "qdlvarquery/qdlquery_internal.h"

using namespace zarn::test;

namespace {

using Numbers = std::vector<int32_t>;

Numbers run(IQDLQueryEngine *engine, const char *text) {
    if (!engine->SetQueryText(text)) return {-1};
    engine->Execute();
    Numbers out;
    for (int32_t i = 0; i < engine->NumResults(); ++i) out.push_back(engine->ResultAt(i));
    return out;
}

struct Case {
    const char *name;
    const char *text;
    Numbers expected;  // {-1}: refused with message
    const char *message;
};

void check(IQDLQueryEngine *engine, const Case *cases, size_t n) {
    HistoryCapture history;
    for (size_t k = 0; k < n; ++k) {
        const Case &c = cases[k];
        EXPECT_EQ(run(engine, c.text), c.expected) << c.name << ": " << c.text;
        EXPECT_EQ(history.text(), c.message) << c.name;
    }
}

// ---- equations ----

class Equations : public ::testing::Test {
  protected:
    void SetUp() override {
        block.objects.prefix = "U1";
        block.objects.equations = {{"U1.MB(1)", 1.5, 10.0, 0.0},
                                   {"U1.MB(2)", -2.0, 1.0, 3.5},
                                   {"U1.EB", 1e-7, 1.0, -1.0},
                                   {"U2.MB(1)", 4.0, 2.0, 0.0}};
        engine = QDLQueryFactory::NewEquationQuery(nullptr, &block);
    }
    void TearDown() override { engine->Release(); }
    FakeBlock block;
    IQDLQueryEngine *engine = nullptr;
};

// clang-format off
const Case kEquationCases[] = {
    {"value", "VALUE > 1", {1, 4}, ""},
    {"value_tolerance", "VALUE = 0", {3}, ""},
    {"scale", "SCALE >= 2", {1, 4}, ""},
    {"shadow_price", "SHADOW_PRICE <> 0", {2, 3}, ""},
    {"number", "NUMBER > 2", {3, 4}, ""},
    {"name_glob_without_prefix", "NAME = mb*", {1, 2}, ""},
    {"name_outside_block", "NAME <> MB*", {3, 4}, ""},
    {"unknown_attribute", "SPEC = 1", {-1}, "SPEC is not a recognised equation attribute\n"},
    {"name_ordered", "NAME >= A", {-1}, "Only equality and inequality tests are supported on names\n"},
    {"name_number", "NAME = 1", {-1}, "Can only compare names with strings\n"},
    {"real_with_text", "VALUE = 'x'", {-1}, "Can only compare VALUE with real values\n"},
    {"integer_with_real", "NUMBER = 2.5", {-1}, "Can only compare NUMBER with integer values\n"},
    {"no_functions", "IsFixed()", {-1}, "Unknown function IsFixed\n"},
};
// clang-format on

TEST_F(Equations, QueriesAndMessages) { check(engine, kEquationCases, std::size(kEquationCases)); }

TEST_F(Equations, LoadsOnlyAskedAttributes) {
    QDLEquationData r;
    r.mask = {QDLEquationData::VALUE, 0u};
    ASSERT_TRUE(r.Load(nullptr, &block, 2, true));
    double x = 0.0;
    const char *t = nullptr;
    int32_t n = 0;
    EXPECT_TRUE(r.GetValue(QDLEquationData::VALUE, x));
    EXPECT_EQ(x, -2.0);
    EXPECT_FALSE(r.GetValue(QDLEquationData::NAME, t)) << "the host filled only VALUE";
    EXPECT_TRUE(r.GetValue(QDLEquationData::NUMBER, n));
    EXPECT_EQ(n, 2);
    EXPECT_FALSE(r.Load(nullptr, &block, 5, true));
    EXPECT_FALSE(r.Load(nullptr, nullptr, 1, true));
}

TEST_F(Equations, RecordCommitsThroughTheHost) {
    QDLEquationData r;
    r.mask = {QDLEquationData::VALUE, 0u};
    ASSERT_TRUE(r.Load(nullptr, &block, 1, true));
    ASSERT_TRUE(r.SetValue(QDLEquationData::VALUE, 9.0));
    EXPECT_TRUE(r.Commit(nullptr, &block, 1));
    EXPECT_EQ(block.objects.equations[0].value, 9.0);
    EXPECT_FALSE(r.Commit(nullptr, nullptr, 1));
}

TEST(EquationRecord, NamesKindsAndValues) {
    struct Row {
        int32_t id;
        const char *name;
        int kind;
    };
    const Row rows[] = {{1, "NAME", 'T'},
                        {2, "VALUE", 'R'},
                        {4, "SCALE", 'R'},
                        {8, "SHADOW_PRICE", 'R'},
                        {16, "NUMBER", 'I'}};
    for (const Row &row : rows) {
        EXPECT_EQ(QDLEquationData::AttribId(row.name), row.id) << row.name;
        EXPECT_STREQ(QDLEquationData::AttribName(row.id), row.name);
        EXPECT_EQ(QDLEquationData::BaseType(row.id), row.kind) << row.name;
        EXPECT_EQ(QDLEquationData::EnumToString(row.id, 0), nullptr) << "no enumerations";
    }
    EXPECT_EQ(QDLEquationData::AttribId("shadow_price"), 8);
    EXPECT_EQ(QDLEquationData::AttribId("INITIAL"), 0);
    int32_t code = 0;
    EXPECT_FALSE(QDLEquationData::StringToEnum(QDLEquationData::NAME, "X", code));
    QDLEquationData r;
    EXPECT_FALSE(r.SetValue(QDLEquationData::NAME, 1.0));
    EXPECT_FALSE(r.SetValue(QDLEquationData::VALUE, int32_t{1}));
    EXPECT_FALSE(r.SetValue(QDLEquationData::VALUE, "x"));
    EXPECT_FALSE(r.SetValue(QDLEquationData::NAME, static_cast<const char *>(nullptr)));
    EXPECT_TRUE(r.SetValue(QDLEquationData::SCALE, 3.0));
    EXPECT_TRUE(r.SetValue(QDLEquationData::NAME, "E7"));
    value_t v;
    value_init(&v);
    ASSERT_TRUE(r.GetValue(QDLEquationData::SCALE, v));
    EXPECT_EQ(v.u.number.rval, 3.0);
    ASSERT_TRUE(r.GetValue(QDLEquationData::NAME, v));
    EXPECT_STREQ(v.u.text, "E7");
    EXPECT_FALSE(r.GetValue(QDLEquationData::VALUE, v)) << "not held";
    value_destroy(&v);
}

// ---- parameters ----

class Parameters : public ::testing::Test {
  protected:
    void SetUp() override {
        value_t v;
        value_init(&v);
        value_assign_int(&v, 3);
        block.objects.AddParameter("P_INT", v, QDLParameterData::TYPE_INTEGER,
                                   QDLParameterData::ACCESS_READ_WRITE);
        value_assign_double(&v, 2.5, 0, 0);
        block.objects.AddParameter("P_REAL", v, QDLParameterData::TYPE_DOUBLE,
                                   QDLParameterData::ACCESS_READ_ONLY);
        value_assign_copy_of_string(&v, "abc");
        block.objects.AddParameter("p_text", v, QDLParameterData::TYPE_STRING,
                                   QDLParameterData::ACCESS_READ_WRITE);
        value_assign_logical(&v, 1);
        block.objects.AddParameter("P_FLAG", v, QDLParameterData::TYPE_BOOLEAN,
                                   QDLParameterData::ACCESS_READ_ONLY);
        value_destroy(&v);
        block.objects.parameters[0].uom = "KG";
        block.objects.parameters[1].description = "a real one";
        block.objects.parameters[1].modified = {QDLParameterData::VALUE};
        block.objects.parameters[3].modified = {QDLParameterData::LOWER};
        engine = QDLQueryFactory::NewParameterQuery(nullptr, &block);
    }
    void TearDown() override { engine->Release(); }
    FakeBlock block;
    IQDLQueryEngine *engine = nullptr;
};

// clang-format off
const Case kParameterCases[] = {
    {"value_integer_equal", "VALUE = 3", {1}, ""},
    {"value_greater_mixed", "VALUE > 2.5", {1}, ""},
    {"value_greater_or_equal", "VALUE >= 2.5", {1, 2}, ""},
    {"value_less_or_equal", "VALUE <= 2.5", {2}, ""},
    {"value_less", "VALUE < 3", {2}, ""},
    {"value_not_equal_only_where_comparable", "VALUE <> 3", {2}, ""},
    {"value_text", "VALUE = 'abc'", {3}, ""},
    {"value_boolean", "VALUE = TRUE", {4}, ""},
    {"type_word", "TYPE = DOUBLE", {2}, ""},
    {"type_word_lower_case", "TYPE = string", {3}, ""},
    {"type_code", "TYPE = 0", {4}, ""},
    {"access_synonym", "ACCESS = READ-ONLY", {2, 4}, ""},
    {"access_written", "ACCESS = READ-WRITE", {1, 3}, ""},
    {"name_glob_exact_case", "NAME = P_*", {1, 2, 4}, ""},
    {"name_text_any_case", "NAME = 'P_TEXT'", {3}, ""},
    {"uom", "UOM = KG", {1}, ""},
    {"description", "DESCRIPTION = 'A REAL ONE'", {2}, ""},
    {"modified", "IsModified(VALUE)", {2}, ""},
    {"modified_lower_case", "ismodified(lower)", {4}, ""},
    {"unknown_attribute", "SPEC = 1", {-1}, "SPEC is not a recognised parameter attribute\n"},
    {"unknown_word", "TYPE = REAL", {-1}, "Unrecognised enumeration value REAL\n"},
    {"code_without_word", "ACCESS = 2", {-1}, "Can only compare ACCESS with valid enumeration values\n"},
    {"modified_number", "IsModified(1)", {-1}, "IsModified function expects a string argument\n"},
    {"modified_unknown", "IsModified(SPEC)", {-1}, "SPEC is not a recognised parameter attribute\n"},
    {"modified_empty", "IsModified()", {-1}, " is not a recognised parameter attribute\n"},
    {"other_function", "IsFixed()", {-1}, "Invalid function\n"},
    {"text_with_number", "UOM = 1", {-1}, "Can only compare UOM with string values\n"},
};
// clang-format on

TEST_F(Parameters, QueriesAndMessages) { check(engine, kParameterCases, std::size(kParameterCases)); }

TEST(ParameterRecord, NamesKindsAndWords) {
    struct Row {
        int32_t id;
        const char *name;
        int kind;
    };
    const Row rows[] = {{1, "NAME", 'T'},   {2, "VALUE", 'V'},        {4, "UOM", 'T'},
                        {8, "ACCESS", 'E'}, {16, "DESCRIPTION", 'T'}, {32, "LOWER", 'V'},
                        {64, "UPPER", 'V'}, {128, "TYPE", 'E'},       {256, "PHYSICALTYPE", 'T'}};
    for (const Row &row : rows) {
        EXPECT_EQ(QDLParameterData::AttribId(row.name), row.id) << row.name;
        EXPECT_STREQ(QDLParameterData::AttribName(row.id), row.name);
        EXPECT_EQ(QDLParameterData::BaseType(row.id), row.kind) << row.name;
    }
    const char *types[] = {"BOOLEAN", "COMPONENTLIST", "DOUBLE", "INTEGER", "STRING"};
    for (int32_t k = 0; k < 5; ++k)
        EXPECT_STREQ(QDLParameterData::EnumToString(QDLParameterData::TYPE, k), types[k]);
    EXPECT_EQ(QDLParameterData::EnumToString(QDLParameterData::TYPE, 5), nullptr);
    EXPECT_STREQ(QDLParameterData::EnumToString(QDLParameterData::ACCESS, 0), "READ-WRITE");
    EXPECT_STREQ(QDLParameterData::EnumToString(QDLParameterData::ACCESS, 1), "READ_ONLY");
    int32_t code = -1;
    EXPECT_TRUE(QDLParameterData::StringToEnum(QDLParameterData::ACCESS, "read-only", code));
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(QDLParameterData::StringToEnum(QDLParameterData::TYPE, "ComponentList", code));
    EXPECT_EQ(code, 1);
    EXPECT_FALSE(QDLParameterData::StringToEnum(QDLParameterData::NAME, "STRING", code));
    StderrCapture err;
    EXPECT_EQ(QDLParameterData::BaseType(512), QDL_KIND_NONE);
    EXPECT_NE(err.text().find("Invalid attribute id"), std::string::npos);
}

TEST(ParameterRecord, CopiesOwnTheirValues) {
    QDLParameterData a;
    value_t v;
    value_init(&v);
    value_assign_copy_of_string(&v, "first");
    ASSERT_TRUE(a.SetValue(QDLParameterData::VALUE, v));
    ASSERT_TRUE(a.SetValue(QDLParameterData::NAME, "P"));
    QDLParameterData b(a);
    QDLParameterData c;
    c = a;
    c = c;
    value_assign_copy_of_string(&v, "second");
    ASSERT_TRUE(a.SetValue(QDLParameterData::VALUE, v));
    ASSERT_TRUE(b.GetValue(QDLParameterData::VALUE, v));
    EXPECT_STREQ(v.u.text, "first");
    ASSERT_TRUE(c.GetValue(QDLParameterData::VALUE, v));
    EXPECT_STREQ(v.u.text, "first");
    const char *name = nullptr;
    ASSERT_TRUE(c.GetValue(QDLParameterData::NAME, name));
    EXPECT_STREQ(name, "P");
    EXPECT_FALSE(c.GetValue(QDLParameterData::LOWER, v)) << "not held";
    EXPECT_FALSE(c.SetValue(QDLParameterData::NAME, v)) << "NAME is not a value";
    EXPECT_FALSE(c.SetValue(QDLParameterData::TYPE, int32_t{7}));
    EXPECT_FALSE(c.SetValue(QDLParameterData::VALUE, int32_t{1}));
    value_destroy(&v);
}

TEST(ParameterRecord, ModifiedAsksTheHostForItsNumber) {
    FakeBlock block;
    value_t v;
    value_init(&v);
    block.objects.AddParameter("A", v, 0, 0);
    block.objects.AddParameter("B", v, 0, 0);
    block.objects.parameters[1].modified = {QDLParameterData::UPPER};
    QDLParameterData r;
    ASSERT_TRUE(r.Load(nullptr, &block, 2, true));
    EXPECT_TRUE(r.IsModified(nullptr, &block, QDLParameterData::UPPER));
    EXPECT_FALSE(r.IsModified(nullptr, &block, QDLParameterData::VALUE));
    EXPECT_FALSE(r.IsModified(nullptr, nullptr, QDLParameterData::UPPER));
    ASSERT_TRUE(r.Load(nullptr, &block, 1, true));
    EXPECT_FALSE(r.IsModified(nullptr, &block, QDLParameterData::UPPER));
    value_assign_int(&v, 11);
    ASSERT_TRUE(r.SetValue(QDLParameterData::VALUE, v));
    EXPECT_TRUE(r.Commit(nullptr, &block, 1));
    EXPECT_EQ(block.objects.parameters[0].value.u.number.ival, 11);
    EXPECT_FALSE(r.Commit(nullptr, &block, 3));
    value_destroy(&v);
}

// ---- ports ----

class Ports : public ::testing::Test {
  protected:
    void SetUp() override {
        block.objects.prefix = "U1";
        block.objects.ports.resize(4);
        FakePort *p = block.objects.ports.data();
        p[0].name = "U1.FEED";
        p[0].stream = "S1";
        p[0].type = 1, p[0].direction = 1, p[0].basis = 1, p[0].phase = 3, p[0].sos = 0;
        p[1].name = "U1.PRODUCT";
        p[1].stream = "S2";
        p[1].type = 1, p[1].direction = 2, p[1].basis = 2, p[1].phase = 1, p[1].sos = 1;
        p[2].name = "U1.SIGNAL";
        p[2].type = 2, p[2].direction = 1, p[2].phase = 4, p[2].sos = 5;
        p[3].type = 3, p[3].sos = 3;  // no name, no stream
        engine = QDLQueryFactory::NewPortQuery(nullptr, &block);
    }
    void TearDown() override { engine->Release(); }
    FakeBlock block;
    IQDLQueryEngine *engine = nullptr;
};

// clang-format off
const Case kPortCases[] = {
    {"type_word", "TYPE = MATERIAL", {1, 2}, ""},
    {"type_special", "TYPE = SPECIAL_ORDERED_SET", {4}, ""},
    {"direction", "DIRECTION = OUTPUT", {2}, ""},
    {"basis", "BASIS = mole_fraction", {2}, ""},
    {"phase_hyphens", "PHASE = VAPOR-LIQUID", {1}, ""},
    {"phase_longest", "PHASE = VAPOR-LIQUID-FREEWATER", {3}, ""},
    {"sos_quoted_words", "SPECIAL_ORDERED_SET = 'sos type2'", {2}, ""},
    {"sos_code", "SPECIAL_ORDERED_SET = 5", {3}, ""},
    {"stream_glob", "STREAM = S*", {1, 2}, ""},
    {"stream_missing_never_matches", "STREAM <> S1", {2}, ""},
    {"name_without_prefix", "NAME = feed", {1}, ""},
    {"name_missing_never_matches", "NAME <> FEED", {2, 3}, ""},
    {"unknown_attribute", "VALUE > 1", {-1}, "VALUE is not a recognised port attribute\n"},
    {"name_ordered", "NAME < A", {-1}, "Only equality and inequality tests are supported on names\n"},
    {"code_without_word", "DIRECTION = 3", {-1}, "Can only compare DIRECTION with valid enumeration values\n"},
    {"unknown_word", "PHASE = SOLID", {-1}, "Unrecognised enumeration value SOLID\n"},
    {"no_functions", "IsAlias(X)", {-1}, "Unknown function IsAlias\n"},
};
// clang-format on

TEST_F(Ports, QueriesAndMessages) { check(engine, kPortCases, std::size(kPortCases)); }

TEST_F(Ports, RecordReadsOnlyTheMaskFromThePort) {
    QDLPortData r;
    r.mask = {QDLPortData::PHASE | QDLPortData::NAME, 0u};
    ASSERT_TRUE(r.Load(nullptr, &block, 1, true));
    int32_t code = -1;
    EXPECT_TRUE(r.GetValue(QDLPortData::PHASE, code));
    EXPECT_EQ(code, 3);
    EXPECT_FALSE(r.GetValue(QDLPortData::TYPE, code));
    const char *t = nullptr;
    EXPECT_TRUE(r.GetValue(QDLPortData::NAME, t));
    EXPECT_STREQ(t, "U1.FEED");
    EXPECT_FALSE(r.GetValue(QDLPortData::STREAM, t));
    value_t v;
    value_init(&v);
    ASSERT_TRUE(r.GetValue(QDLPortData::PHASE, v));
    EXPECT_STREQ(v.u.text, "VAPOR-LIQUID");
    ASSERT_TRUE(r.Load(nullptr, &block, 4, true));
    EXPECT_FALSE(r.GetValue(QDLPortData::NAME, t)) << "a port without a name";
    EXPECT_FALSE(r.Load(nullptr, &block, 5, true));
    EXPECT_FALSE(r.Load(nullptr, nullptr, 1, true));
    value_destroy(&v);
    const char *words[] = {"SOS TYPE1",
                           "SOS TYPE2",
                           "SOS TYPE3",
                           "SOS TYPE COMPLEMENTARITY GROUP",
                           "SOS TYPE TEMPORARY BOUNDS",
                           "SOS TYPE TRUST REGION2"};
    for (int32_t k = 0; k < 6; ++k)
        EXPECT_STREQ(QDLPortData::EnumToString(QDLPortData::SPECIAL_ORDERED_SET, k), words[k]);
    EXPECT_EQ(QDLPortData::AttribId("special_ordered_set"), 64);
    EXPECT_STREQ(QDLPortData::AttribName(32), "STREAM");
    EXPECT_EQ(QDLPortData::BaseType(QDLPortData::STREAM), 'T');
}

// ---- the executor's own rules ----

// An engine that adds nothing to the shared rules.
struct BareQuery : zarn::qdlvarquery::QDLQueryExecutor<BareQuery, QDLEquationData> {
    static constexpr int32_t kObjectKind = QDL_EQUATIONS;
    using QDLQueryExecutor::QDLQueryExecutor;
};

TEST(Executor, OwnMessagesWhenNoEngineChecksFirst) {
    FakeBlock block;
    block.objects.equations = {{"E1", 1, 1, 0}};
    auto *engine = new BareQuery(nullptr, &block);
    HistoryCapture history;
    EXPECT_FALSE(engine->SetQueryText("FOO = 1"));
    EXPECT_EQ(history.text(), "FOO is not a recognised attribute\n");
    EXPECT_STREQ(engine->LastError(), "FOO is not a recognised attribute");
    EXPECT_FALSE(engine->SetQueryText("Foo()"));
    EXPECT_EQ(history.text(), "Unknown function Foo\n");
    EXPECT_TRUE(engine->SetQueryText("NAME = e1")) << "NAME is a plain text here";
    EXPECT_EQ(engine->LastError(), nullptr);
    engine->Execute();
    EXPECT_EQ(engine->NumResults(), 1);
    engine->Release();
}

TEST(Executor, LeafTestsCloneAndNegate) {
    FakeBlock block;
    block.objects.equations = {{"E1", 1, 1, 0}, {"E2", 5, 1, 0}};
    auto *engine = new BareQuery(nullptr, &block);
    ASSERT_TRUE(engine->SetQueryText("VALUE > 2 AND NAME = 'E2'"));
    auto *root = static_cast<QDLQCompoundTest *>(engine->Root());
    IQDLQTest *leaf = root->TestAt(0);
    QDLQObjectSet set;
    EXPECT_FALSE(leaf->Select(set)) << "leaves answer object by object";
    leaf->Negate();
    engine->Execute();
    EXPECT_EQ(engine->NumResults(), 0) << "E2's VALUE > 2 now fails";
    IQDLQTest *copy = root->Clone();
    ASSERT_NE(copy, nullptr);
    leaf->Negate();
    engine->Execute();
    EXPECT_EQ(engine->NumResults(), 1);
    EXPECT_FALSE(copy->Matches()) << "the copy kept the negation (the record holds E2)";
    delete copy;
    const long seen = fail_each_allocation(
        [&] {
            IQDLQTest *c = root->Clone();
            const bool ok = c != nullptr;
            delete c;
            return ok;
        },
        [&](long n, bool ok) { EXPECT_FALSE(ok) << "allocation " << n; });
    EXPECT_GE(seen, 4) << "two compounds, two leaves and the text";
    engine->Release();
}

}  // namespace
