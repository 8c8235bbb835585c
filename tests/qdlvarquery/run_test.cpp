// Execute, ExecuteMore and Refine over the whole block and over candidates,
// and what a run does when the host throws or calls back or memory is short.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "capture.h"
#include "failsweep.h"
#include "fake_model.h"
#include "qdlvarquery/qdlquery_internal.h"
#include "zarnutils/varutl.h"

using namespace zarn::test;

namespace {

using Numbers = std::vector<int32_t>;

// Twenty variables V1..V20 with VALUE k, in a block without a prefix.
class Run : public ::testing::Test {
  protected:
    void SetUp() override {
        rtovarlst_set_nvar(list, 20);
        for (int32_t k = 1; k <= 20; ++k) {
            rtovarlst_addvar(list, k, ("V" + std::to_string(k)).c_str());
            rtovarlst_set_var_value(list, k, k, 1);
        }
        block.objects.list = source.list = list;
        source.objectives["OBJ"] = {3, 7, 30};
        container.source = &source;
        engine = QDLQueryFactory::NewVariableQuery(&container, &block);
    }
    void TearDown() override {
        engine->Release();
        rtovarlst_destroy_c(&list);
    }
    // The results of the variable engine, or of another engine the test made.
    Numbers Results(IQDLQueryEngine *of = nullptr) const {
        IQDLQueryEngine *e = of != nullptr ? of : engine;
        Numbers out;
        for (int32_t i = 0; i < e->NumResults(); ++i) out.push_back(e->ResultAt(i));
        return out;
    }
    Numbers Execute(const char *text) {
        EXPECT_TRUE(engine->SetQueryText(text)) << text;
        engine->Execute();
        return Results();
    }
    Numbers More(const char *text) {
        EXPECT_TRUE(engine->SetQueryText(text)) << text;
        added = engine->ExecuteMore();
        return Results();
    }
    void Candidates(const Numbers &numbers) {
        EXPECT_TRUE(engine->SetCandidates(static_cast<int32_t>(numbers.size()), numbers.data()));
    }
    // An equation engine over equations E1..En with VALUE k, built for "VALUE > 1".
    IQDLQueryEngine *EquationEngine(int n) {
        for (int k = 1; k <= n; ++k)
            block.objects.equations.push_back({"E" + std::to_string(k), 1.0 * k, 1, 0});
        IQDLQueryEngine *e = QDLQueryFactory::NewEquationQuery(nullptr, &block);
        EXPECT_TRUE(e->SetQueryText("VALUE > 1"));
        return e;
    }

    rtvarlst_t *list = rtovarlst_create(20);
    FakeBlock block;
    FakeContainer container;
    FakeVariableSource source;
    IQDLQueryEngine *engine = nullptr;
    int32_t added = -1;
};

TEST_F(Run, ExecuteMoreAddsAtAscendingPlacesOnce) {
    EXPECT_EQ(More("VALUE > 18"), (Numbers{19, 20}));
    EXPECT_EQ(added, 2) << "on no results, as Execute";
    EXPECT_EQ(More("VALUE > 18 OR VALUE < 3 OR VALUE = 10"), (Numbers{1, 2, 10, 19, 20}));
    EXPECT_EQ(added, 3);
    Candidates({12, 6});
    EXPECT_EQ(More("VALUE > 0"), (Numbers{1, 2, 6, 10, 12, 19, 20})) << "found in descending order";
    Candidates({15, 12});
    EXPECT_EQ(Execute("VALUE > 0"), (Numbers{15, 12}));
    Candidates({13, 4, 16, 4, 13, 12});
    EXPECT_EQ(More("VALUE > 0"), (Numbers{4, 13, 15, 12, 16})) << "each before the first greater result";
    EXPECT_EQ(added, 3) << "4 and 13 once, though named twice";
    Candidates({7, 7});
    EXPECT_EQ(More("VALUE > 0"), (Numbers{4, 7, 13, 15, 12, 16})) << "two candidates, the same one";
    EXPECT_EQ(added, 1) << "7 once, though named twice";
}

// Code and real tests of an AND, and codes of an OR, are read from the columns: over the block, over
// candidates and in Refine, no variable is loaded, so none becomes current.
TEST_F(Run, ColumnAnswersLoadNoVariable) {
    const auto *context = dynamic_cast<zarn::qdlvarquery::IQDLQueryContext *>(engine);
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(Execute("VALUE > 18 AND SPEC = CALC"), (Numbers{19, 20}));
    EXPECT_EQ(Execute("MARKED = 1 OR SPEC = CONST"), Numbers{}) << "codes joined by OR, as sets";
    Candidates({5, 19});
    EXPECT_EQ(Execute("VALUE > 18"), (Numbers{19}));
    engine->Refine();
    EXPECT_EQ(Results(), (Numbers{19}));
    EXPECT_EQ(context->CurrentObject(), 0) << "a variable was loaded";
}

TEST_F(Run, RefineReloadsAndKeepsTheOrder) {
    Candidates({9, 2, 7, 4, 14});
    EXPECT_EQ(Execute("VALUE < 10"), (Numbers{9, 2, 7, 4}));
    rtovarlst_set_var_value(list, 7, 70.0, 1);
    engine->Refine();
    EXPECT_EQ(Results(), (Numbers{9, 2, 4})) << "7 changed";
    ASSERT_TRUE(engine->SetQueryText("VALUE > 3"));
    engine->Refine();
    EXPECT_EQ(Results(), (Numbers{9, 4}));
    rtovarlst_set_nvar(list, 8);
    engine->Refine();
    EXPECT_EQ(Results(), (Numbers{4})) << "9 is no longer in the block";
    for (int32_t i : {-1, 1}) EXPECT_EQ(engine->ResultAt(i), 0) << "no result " << i;
    engine->ClearResults();
    EXPECT_EQ(engine->NumResults(), 0);
}

// A host that negates the engine's InObjective test gets no set from it; a
// copy keeps the objective's variables.
TEST_F(Run, NegatedObjectiveSelectsNothing) {
    auto *callback = dynamic_cast<IQDLQueryParserCallback *>(engine);
    ASSERT_NE(callback, nullptr);
    char name[] = "InObjective", objective[] = "OBJ", error[QDLQ_ERROR_BUFFER_SIZE] = "";
    QDLQLiteral literal = text_literal(objective);
    IQDLQTest *test = callback->CreateFunctionTest(name, literal, error);
    ASSERT_NE(test, nullptr) << error;
    test->Negate();
    QDLQObjectSet selected;
    EXPECT_FALSE(test->Select(selected)) << "a negated test answered with the objective's variables";
    EXPECT_EQ(selected.Count(), 0);
    IQDLQTest *copy = test->Clone();
    delete test;
    ASSERT_NE(copy, nullptr);
    copy->Negate();
    EXPECT_TRUE(copy->Select(selected));
    EXPECT_EQ(selected.Count(), 3) << "a copy, turned back, answers with the objective's variables";
    delete copy;
    // A copy of a name test is whole or not made, and matches as its original.
    char attribute[] = "NAME", pattern[] = "%^V1.$";
    literal.text = pattern;
    IQDLQTest *names = callback->CreateTest(attribute, QDLQ_NE, literal, error);
    ASSERT_NE(names, nullptr) << error;
    const long seen = fail_each_allocation(
        [&] {
            copy = names->Clone();
            delete copy;
            return copy != nullptr;
        },
        [&](long n, bool made) { EXPECT_FALSE(made) << "allocation " << n; });
    EXPECT_GT(seen, 0);
    copy = names->Clone();
    delete names;
    EXPECT_EQ(Execute("NAME = V15"), (Numbers{15}));
    engine->Refine();  // the engine's record holds V15
    EXPECT_FALSE(copy->Matches()) << "V15 has the pattern: the copied \"<>\" fails";
    delete copy;
    // A copy of a plain real test is made and tests as its original.
    char value[] = "VALUE";
    QDLQLiteral above{};
    above.kind = QDLQLiteral::REAL;
    above.real = 14.5;
    IQDLQTest *real = callback->CreateTest(value, QDLQ_GT, above, error);
    ASSERT_NE(real, nullptr) << error;
    copy = real->Clone();
    delete real;
    ASSERT_NE(copy, nullptr) << "a copy of a real test";
    EXPECT_EQ(Execute("VALUE > 0 AND NAME = V15"), (Numbers{15}));
    engine->Refine();  // the engine's record holds V15 and its value
    EXPECT_TRUE(copy->Matches()) << "V15's value is above 14.5";
    delete copy;
}

// Object numbers the host lists for an objective reach a scan over the
// columns unchecked: the extremes of their type are skipped without
// arithmetic on them (a run under the sanitizers stops on an overflow).
TEST_F(Run, ObjectiveNumbersAtTheEdgesOfTheirTypeAreSkipped) {
    source.objectives["EDGES"] = {INT32_MIN, -1, 0, 4, 21, INT32_MAX};
    EXPECT_EQ(Execute("InObjective(EDGES) AND VALUE > 0"), (Numbers{4}));
    EXPECT_EQ(Execute("InObjective(EDGES) AND VALUE > 4"), Numbers{});
}

// A scan that finds nothing is no shortage of memory: not on the first run
// of an engine, nor in ExecuteMore, which collects into a list of its own.
TEST_F(Run, AScanThatFindsNothingReportsNothing) {
    HistoryCapture history;
    EXPECT_EQ(Execute("NAME = NOPE"), Numbers{}) << "the first run of the engine";
    EXPECT_EQ(Execute("VALUE > 19"), (Numbers{20}));
    EXPECT_EQ(More("NAME = NOPE"), (Numbers{20}));
    EXPECT_EQ(added, 0);
    EXPECT_EQ(history.text(), "");
}

TEST_F(Run, HostThatThrowsStopsTheRunWithAReport) {
    IQDLQueryEngine *e = EquationEngine(6);
    block.objects.throw_after_loads = 4;
    HistoryCapture history;
    e->Execute();
    EXPECT_EQ(e->NumResults(), 3) << "2, 3 and 4 were found before";
    e->Release();
    source.throw_on_lookup = true;
    EXPECT_FALSE(engine->SetQueryText("IsAlias(TOP)"));
    EXPECT_EQ(history.text(),
              "!!Query: the host failed while the query ran; the run stopped\n"
              "The query engine failed while building a test\n");
}

TEST_F(Run, ShortMemoryStopsARunThatKeepsWhatItFound) {
    HistoryCapture history;
    const Numbers full = Execute("NAME = V1*");
    Numbers executed;
    const long seen = fail_each_allocation(
        [&] {
            engine->Execute();
            executed = Results();
            engine->ExecuteMore();
            engine->Refine();
            return Results() == executed;
        },
        [&](long n, bool) {
            const std::string report = history.text();
            EXPECT_TRUE(report.empty() ||
                        report == "!!Query: not enough memory for the results; the run stopped\n")
                << "allocation " << n << ": " << report;
            const bool prefix =
                executed.size() <= full.size() && std::equal(executed.begin(), executed.end(), full.begin());
            EXPECT_TRUE(prefix) << "allocation " << n << ": a stopped run keeps what it found first";
        });
    EXPECT_GT(seen, 0);
    // Over candidates, ExecuteMore adds what it finds one by one, once each;
    // a real test answered from the columns needs memory for its flags.
    const int32_t first[] = {1}, found[] = {1, 10, 11}, more[] = {1, 10, 11, 11};
    int32_t grown = -1;
    ASSERT_TRUE(engine->SetQueryText("VALUE > 0"));
    ASSERT_TRUE(engine->SetCandidates(3, found));
    const long seen_more = fail_each_allocation(
        [&] {
            engine->SetCandidates(1, first);
            engine->Execute();
            engine->SetCandidates(4, more);
            const int32_t before = engine->NumResults();
            added = engine->ExecuteMore();
            grown = engine->NumResults() - before;
            return Results() == Numbers{1, 10, 11};
        },
        [&](long n, bool) {
            const Numbers kept = Results();
            const bool prefix = kept.size() <= 3 && std::equal(kept.begin(), kept.end(), found);
            EXPECT_TRUE(prefix) << "allocation " << n << ": a stopped ExecuteMore keeps what it found first";
            EXPECT_EQ(added, grown) << "allocation " << n << ": ExecuteMore counts only what it added";
        });
    EXPECT_GT(seen_more, 0);
}

TEST_F(Run, CandidateListsThatCannotBeTakenChangeNothing) {
    Candidates({19});
    HistoryCapture history;
    const int32_t numbers[2] = {5, 6};
    EXPECT_FALSE(engine->SetCandidates(-1, numbers));
    EXPECT_EQ(history.text(), "!!Query: a candidate list cannot have -1 entries\n");
    zarn::failalloc_set(1);
    EXPECT_FALSE(engine->SetCandidates(2, numbers));
    zarn::failalloc_set(0);
    EXPECT_EQ(history.text(), "!!Query: not enough memory for 2 candidates\n");
    EXPECT_EQ(Execute("VALUE > 10"), (Numbers{19})) << "the refused lists changed nothing";
    zarn::failalloc_set(1);
    EXPECT_TRUE(engine->SetCandidates(0, numbers)) << "an empty list needs no memory";
    zarn::failalloc_set(0);
    EXPECT_EQ(Execute("VALUE > 10"), Numbers{});
}

TEST_F(Run, ShortMemoryWhileBuildingATestIsReported) {
    HistoryCapture history;
    const std::string build = "Not enough memory to build the test of NAME\n";
    bool build_reported = false;
    fail_each_allocation(
        [&] { return engine->SetQueryText("NAME = 'V1'"); },
        [&](long n, bool ok) {
            EXPECT_FALSE(ok) << "allocation " << n;
            const std::string report = history.text();
            if (report == build) build_reported = true;
            EXPECT_TRUE(report == build || report == "Not enough memory to parse the query\n")
                << "allocation " << n << ": " << report;
        });
    EXPECT_TRUE(build_reported);
}

// An engine without a column answer loads its candidates and tests them one by one.
TEST_F(Run, EquationCandidatesAreTestedOneByOne) {
    IQDLQueryEngine *e = EquationEngine(4);
    const int32_t some[] = {1, 3, 4};
    ASSERT_TRUE(e->SetCandidates(3, some));
    e->Execute();
    EXPECT_EQ(Results(e), (Numbers{3, 4})) << "VALUE > 1 over candidates 1, 3 and 4";
    e->Release();
}

TEST_F(Run, CallsBackIntoTheEngineWhileItRunsAreRefused) {
    IQDLQueryEngine *e = EquationEngine(3);
    int loads = 0;
    block.objects.during_load = [&] {
        if (++loads > 1) return;
        EXPECT_FALSE(e->SetQueryText("VALUE > 0"));
        EXPECT_FALSE(e->SetCandidates(0, nullptr));
        e->Execute();
        EXPECT_EQ(e->ExecuteMore(), 0);
        e->Refine();
        e->ClearResults();
        e->Release();
    };
    HistoryCapture history;
    e->Execute();
    EXPECT_EQ(e->NumResults(), 2) << "the run went on with its own tree and results";
    std::string refusals;
    for (const char *call :
         {"SetQueryText", "SetCandidates", "Execute", "ExecuteMore", "Refine", "ClearResults", "Release"})
        refusals += "!!Query: " + std::string(call) + " refused: the engine is running a query\n";
    EXPECT_EQ(history.text(), refusals);
    e->Release();
    source.during_lookup = [&] { engine->Release(); };
    EXPECT_TRUE(engine->SetQueryText("IsAlias(V3)")) << "a lookup of the parse calls the host";
    EXPECT_EQ(history.text(), "!!Query: Release refused: the engine is running a query\n");
    source.during_lookup = nullptr;
    engine->Execute();
    EXPECT_EQ(Results(), (Numbers{3}));
}

TEST(Factory, VariableEngineHoldsOneReferenceToTheBlocksSource) {
    FakeBlock block;
    FakeContainer container;
    FakeVariableSource source;
    container.source = &source;
    IQDLQueryEngine *engine = QDLQueryFactory::NewVariableQuery(&container, &block);
    EXPECT_EQ(container.asked_for, &block);
    EXPECT_EQ(source.initialized_with, &container);
    EXPECT_EQ(source.refs, 2) << "the owner's and the engine's";
    engine->Release();
    EXPECT_EQ(source.refs, 1);
    source.throw_on_initialize = true;
    HistoryCapture history;
    EXPECT_EQ(QDLQueryFactory::NewVariableQuery(&container, &block), nullptr);
    EXPECT_EQ(history.text(), "!!Query: the host failed while the engine was made\n");
    EXPECT_EQ(source.refs, 1) << "a throwing host gets its reference back";
}

}  // namespace
