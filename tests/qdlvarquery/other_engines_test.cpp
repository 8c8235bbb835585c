// The equation, parameter and port engines over small fake blocks, and the
// executor's own messages.
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
using Parameter = QDLParameterData;

struct Case {
    const char *text;
    Numbers expected;     // {-1}: refused
    const char *message;  // printed on the history device
};

void check(IQDLQueryEngine *engine, const std::vector<Case> &cases) {
    HistoryCapture history;
    for (const Case &c : cases) {
        Numbers got = {-1};
        if (engine->SetQueryText(c.text)) {
            engine->Execute();
            got.clear();
            for (int32_t i = 0; i < engine->NumResults(); ++i) got.push_back(engine->ResultAt(i));
        }
        EXPECT_EQ(got, c.expected) << c.text;
        EXPECT_EQ(history.text(), c.message) << c.text;
    }
    engine->Release();
}

TEST(OtherEngines, EquationsWithTheirNameRule) {
    FakeBlock block;
    block.objects.prefix = "U1";
    block.objects.equations = {{"U1.MB(1)", 1.5, 10.0, 0.0},
                               {"U1.MB(2)", -2.0, 1.0, 3.5},
                               {"U1.EB", 1e-7, 1.0, -1.0},
                               {"U2.MB", 4, 2, 0}};
    check(QDLQueryFactory::NewEquationQuery(nullptr, &block),
          {{"VALUE = 0 OR SHADOW_PRICE > 3", {2, 3}, ""},
           {"NAME <> MB*", {3, 4}, ""},
           {"SPEC = 1", {-1}, "SPEC is not a recognised equation attribute\n"}});
}

TEST(OtherEngines, ParametersComparedAsValuesAskingTheContainer) {
    FakeContainer model;  // no block: the whole model's parameters
    value_t v;
    value_init(&v);
    value_assign_int(&v, 3);
    model.objects.AddParameter("P_INT", v, Parameter::TYPE_INTEGER, Parameter::ACCESS_READ_WRITE);
    value_assign_double(&v, 2.5, 0, 0);
    model.objects.AddParameter("P_REAL", v, Parameter::TYPE_DOUBLE, Parameter::ACCESS_READ_ONLY);
    value_assign_copy_of_string(&v, "abc");
    model.objects.AddParameter("p_text", v, Parameter::TYPE_STRING, Parameter::ACCESS_READ_WRITE);
    value_assign_logical(&v, 1);
    model.objects.AddParameter("P_FLAG", v, Parameter::TYPE_BOOLEAN, Parameter::ACCESS_READ_ONLY);
    value_destroy(&v);
    model.objects.parameters[3].modified = {Parameter::VALUE};  // number and attribute differ
    check(QDLQueryFactory::NewParameterQuery(&model, nullptr),
          {{"VALUE <> 3", {2}, ""},
           {"VALUE >= 2.5", {1, 2}, ""},
           {"VALUE < 3", {2}, ""},
           {"VALUE <= 2.5", {2}, ""},
           {"VALUE > 2.5", {1}, ""},
           {"VALUE = 'abc' OR VALUE = TRUE", {3, 4}, ""},
           {"ismodified(value)", {4}, ""},
           {"SPEC = 1", {-1}, "SPEC is not a recognised parameter attribute\n"},
           {"IsFixed()", {-1}, "Invalid function\n"}});
}

// A value literal that cannot be made while memory is short is refused with
// the value kind's message.
TEST(OtherEngines, AParameterValueLiteralUnderShortMemory) {
    FakeContainer model;
    IQDLQueryEngine *engine = QDLQueryFactory::NewParameterQuery(&model, nullptr);
    HistoryCapture history;
    bool refused = false;
    fail_each_allocation([&] { return engine->SetQueryText("VALUE = 'abc'"); },
                         [&](long n, bool ok) {
                             EXPECT_FALSE(ok) << "allocation " << n;
                             if (history.text() == "Can only compare VALUE with string values\n")
                                 refused = true;
                         });
    EXPECT_TRUE(refused);
    engine->Release();
}

// A copy of a parameter's value test holds its own literal, or is not made.
TEST(OtherEngines, AParameterValueTestCopiesItsLiteralOrNothing) {
    FakeContainer model;
    value_t abc;
    value_init(&abc);
    value_assign_copy_of_string(&abc, "abc");
    model.objects.AddParameter("P_TEXT", abc, Parameter::TYPE_STRING, Parameter::ACCESS_READ_WRITE);
    value_destroy(&abc);
    IQDLQueryEngine *engine = QDLQueryFactory::NewParameterQuery(&model, nullptr);
    auto *callback = dynamic_cast<IQDLQueryParserCallback *>(engine);
    ASSERT_NE(callback, nullptr);
    char attribute[] = "VALUE", text[] = "abc", error[QDLQ_ERROR_BUFFER_SIZE] = "";
    QDLQLiteral literal = text_literal(text);
    IQDLQTest *test = callback->CreateTest(attribute, QDLQ_EQ, literal, error);
    ASSERT_NE(test, nullptr) << error;
    const long seen = fail_each_allocation(
        [&] {
            IQDLQTest *copy = test->Clone();
            delete copy;
            return copy != nullptr;
        },
        [&](long n, bool made) { EXPECT_FALSE(made) << "a copy made with allocation " << n << " failing"; });
    EXPECT_GT(seen, 0) << "no copy made with every allocation served";
    HistoryCapture history;
    IQDLQTest *copy = test->Clone();
    delete test;
    ASSERT_NE(copy, nullptr);
    ASSERT_TRUE(engine->SetQueryText("VALUE <> 'xyz'"));
    engine->Execute();  // the engine's record holds P_TEXT
    EXPECT_TRUE(copy->Matches()) << "the copy of VALUE = 'abc' does not match \"abc\"";
    EXPECT_EQ(history.text(), "") << "copying the test";
    delete copy;
    engine->Release();
}

// With a block, the block says which of its parameters are modified, not the container.
TEST(OtherEngines, AParameterOfABlockIsModifiedAsTheBlockSays) {
    FakeContainer model;
    FakeBlock block;
    value_t v;
    value_init(&v);
    value_assign_int(&v, 1);
    for (FakeObjects *objects : {&model.objects, &block.objects})
        objects->AddParameter("P", v, Parameter::TYPE_INTEGER, Parameter::ACCESS_READ_WRITE);
    value_destroy(&v);
    block.objects.parameters[0].modified = {Parameter::VALUE};
    check(QDLQueryFactory::NewParameterQuery(&model, &block), {{"IsModified(VALUE)", {1}, ""}});
}

TEST(OtherEngines, PortsReadFromThePortObject) {
    FakeBlock block;
    block.objects.prefix = "U1";
    block.objects.ports.resize(4);
    FakePort *p = block.objects.ports.data();
    p[0].name = "U1.FEED";
    p[0].stream = "S1";
    p[0].phase = 3;
    p[1].name = "U1.PRODUCT";
    p[1].stream = "S2";
    p[1].sos = 1;
    p[2].name = "U1.SIGNAL";
    p[2].phase = 4;
    // the fourth has no name and no stream
    const QDLPortData fresh;  // asks for nothing, holds nothing
    EXPECT_EQ(fresh.mask.mask1 | fresh.mask.mask2 | fresh.loaded.mask1 | fresh.loaded.mask2, 0u);
    EXPECT_EQ(
        fresh.number | fresh.type | fresh.direction | fresh.basis | fresh.phase | fresh.special_ordered_set,
        0);
    check(QDLQueryFactory::NewPortQuery(nullptr, &block),
          {{"PHASE = VAPOR-LIQUID OR PHASE = 4", {1, 3}, ""},
           {"STREAM <> S1", {2}, ""},
           {"NAME = signal", {3}, ""},
           {"SPECIAL_ORDERED_SET = 1", {2}, ""},
           {"VALUE > 1", {-1}, "VALUE is not a recognised port attribute\n"}});
}

// An engine that adds nothing to the shared rules.
struct BareQuery : zarn::qdlvarquery::QDLQueryExecutor<BareQuery, QDLEquationData> {
    static constexpr int32_t kObjectKind = QDL_EQUATIONS;
    using QDLQueryExecutor::QDLQueryExecutor;
};

// The other records give a known attribute its kind; an unknown id prints
// the assertion line and has no kind.
TEST(OtherEngines, RecordKindsAndTheAssertionOfAnUnknownId) {
    EXPECT_EQ(QDLEquationData::BaseType(QDLEquationData::VALUE), QDL_KIND_REAL);
    EXPECT_EQ(QDLEquationData::BaseType(QDLEquationData::NAME), QDL_KIND_TEXT);
    EXPECT_EQ(QDLParameterData::BaseType(QDLParameterData::NAME), QDL_KIND_TEXT);
    EXPECT_EQ(QDLPortData::BaseType(QDLPortData::NAME), QDL_KIND_TEXT);
    const struct {
        const char *record;
        int (*base_type)(int32_t);
    } records[] = {{"equation", QDLEquationData::BaseType},
                   {"parameter", QDLParameterData::BaseType},
                   {"port", QDLPortData::BaseType}};
    for (const auto &r : records) {
        StderrCapture err;
        EXPECT_EQ(r.base_type(3), QDL_KIND_NONE) << r.record;
        EXPECT_TRUE(err.text().starts_with("Assertion 'Invalid attribute id' failed in ")) << r.record;
    }
}

TEST(Executor, OwnMessages) {
    FakeContainer container;  // without a block the container answers
    container.objects.equations = {{"E1", 1, 1, 0}, {"E2", 5, 1, 0}};
    auto *engine = new BareQuery(&container, nullptr);
    HistoryCapture history;
    EXPECT_FALSE(engine->SetQueryText("FOO = 1"));
    EXPECT_STREQ(engine->LastError(), "FOO is not a recognised attribute");
    EXPECT_FALSE(engine->SetQueryText("Foo()"));
    EXPECT_EQ(history.text(), "FOO is not a recognised attribute\nUnknown function Foo\n");
    ASSERT_TRUE(engine->SetQueryText("VALUE > 2 AND NAME = 'e2'"));
    EXPECT_EQ(engine->LastError(), nullptr) << "a built query leaves no error";
    engine->Execute();
    EXPECT_EQ(engine->NumResults(), 1);
    // A host that builds a test itself may pass a text literal without its text.
    char attribute[] = "NAME", error[QDLQ_ERROR_BUFFER_SIZE] = "";
    QDLQLiteral no_text = text_literal(nullptr);
    EXPECT_EQ(engine->CreateTest(attribute, QDLQ_EQ, no_text, error), nullptr);
    EXPECT_STREQ(error, "Can only compare NAME with string values");
    // Or leave out the name, which then counts as empty.
    EXPECT_EQ(engine->CreateTest(nullptr, QDLQ_EQ, no_text, error), nullptr);
    EXPECT_STREQ(error, " is not a recognised attribute");
    EXPECT_EQ(engine->CreateFunctionTest(nullptr, no_text, error), nullptr);
    EXPECT_STREQ(error, "Unknown function ");
    engine->Release();
}

}  // namespace
