// Running a query: Execute, ExecuteMore and Refine over the whole block and
// over candidate lists, repeated runs, empty results, the set answer of
// InObjective, a host that throws, short memory, and the factory's
// references to the variable source.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "capture.h"
#include "failsweep.h"
#include "fake_model.h"
#include "qdlvarquery/qdlquery_internal.h"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/varutl.h"

using namespace zarn::test;

namespace {

using Numbers = std::vector<int32_t>;

// Twenty variables V1..V20 with VALUE k, in a block without a prefix.
class Run : public ::testing::Test {
  protected:
    void SetUp() override {
        list = rtovarlst_create(20);
        rtovarlst_set_nvar(list, 20);
        for (int32_t k = 1; k <= 20; ++k) {
            rtovarlst_addvar(list, k, ("V" + std::to_string(k)).c_str());
            rtovarlst_set_var_value(list, k, k, 1);
        }
        block.objects.list = list;
        source.list = list;
        source.objectives["OBJ"] = {3, 7, 30};
        container.source = &source;
        engine = QDLQueryFactory::NewVariableQuery(&container, &block);
        ASSERT_NE(engine, nullptr);
    }
    void TearDown() override {
        engine->Release();
        rtovarlst_destroy_c(&list);
    }
    Numbers Results() const {
        Numbers out;
        for (int32_t i = 0; i < engine->NumResults(); ++i) out.push_back(engine->ResultAt(i));
        return out;
    }
    Numbers Execute(const char *text) {
        EXPECT_TRUE(engine->SetQueryText(text)) << text;
        engine->Execute();
        return Results();
    }
    void Candidates(const Numbers &numbers) {
        EXPECT_TRUE(engine->SetCandidates(static_cast<int32_t>(numbers.size()), numbers.data()));
    }

    rtvarlst_t *list = nullptr;
    FakeBlock block;
    FakeContainer container;
    FakeVariableSource source;
    IQDLQueryEngine *engine = nullptr;
};

TEST_F(Run, ExecuteGivesTheObjectsInOrderAndRepeats) {
    EXPECT_EQ(Execute("VALUE > 17"), (Numbers{18, 19, 20}));
    engine->Execute();
    EXPECT_EQ(Results(), (Numbers{18, 19, 20})) << "a second run gives the same, not twice as many";
    EXPECT_EQ(Execute("VALUE < 3"), (Numbers{1, 2})) << "a new text replaces the results";
}

TEST_F(Run, EmptyResultAndOutOfRangeIndices) {
    EXPECT_EQ(Execute("VALUE > 100"), Numbers{});
    EXPECT_EQ(engine->ResultAt(0), 0);
    EXPECT_EQ(Execute("VALUE > 19"), (Numbers{20}));
    EXPECT_EQ(engine->ResultAt(-1), 0);
    EXPECT_EQ(engine->ResultAt(1), 0);
    EXPECT_EQ(engine->ResultAt(INT32_MAX), 0);
    EXPECT_EQ(engine->ResultAt(INT32_MIN), 0);
    engine->ClearResults();
    EXPECT_EQ(engine->NumResults(), 0);
}

TEST_F(Run, CandidatesInTheirOrderOnlyThoseInTheBlock) {
    Candidates({15, 3, 12, 40, -1, 0, 20, INT32_MAX, INT32_MIN});
    EXPECT_EQ(Execute("VALUE > 10"), (Numbers{15, 12, 20}));
    const int32_t none[1] = {1};
    ASSERT_TRUE(engine->SetCandidates(0, none));
    EXPECT_EQ(Execute("VALUE > 10"), Numbers{}) << "an empty candidate list allows nothing";
    EXPECT_TRUE(engine->SetCandidates(5, nullptr));
    EXPECT_EQ(Execute("VALUE > 18"), (Numbers{19, 20})) << "no array lifts the restriction";
}

TEST_F(Run, CandidateArrayIsCopied) {
    Numbers numbers = {5, 6};
    Candidates(numbers);
    numbers[0] = 19;
    EXPECT_EQ(Execute("VALUE > 0"), (Numbers{5, 6}));
}

TEST_F(Run, NegativeCandidateCountIsRefused) {
    HistoryCapture history;
    Candidates({4});
    const int32_t some[] = {1, 2};
    EXPECT_FALSE(engine->SetCandidates(-1, some));
    EXPECT_EQ(history.text(), "!!Query: a candidate list cannot have -1 entries\n");
    EXPECT_FALSE(engine->SetCandidates(INT32_MIN, some));
    EXPECT_EQ(history.text(), "!!Query: a candidate list cannot have -2147483648 entries\n");
    EXPECT_EQ(Execute("VALUE > 0"), (Numbers{4})) << "the earlier candidates stay";
}

TEST_F(Run, ExecuteMoreOnEmptyResultsIsExecute) {
    ASSERT_TRUE(engine->SetQueryText("VALUE > 18"));
    EXPECT_EQ(engine->ExecuteMore(), 2);
    EXPECT_EQ(Results(), (Numbers{19, 20}));
}

TEST_F(Run, ExecuteMoreAddsInAscendingPlacesAndSkipsPresent) {
    EXPECT_EQ(Execute("VALUE > 10 AND VALUE < 13"), (Numbers{11, 12}));
    ASSERT_TRUE(engine->SetQueryText("VALUE > 11 AND VALUE < 14 OR VALUE < 3"));
    EXPECT_EQ(engine->ExecuteMore(), 3) << "1, 2 and 13 are new; 12 is there";
    EXPECT_EQ(Results(), (Numbers{1, 2, 11, 12, 13}));
    EXPECT_EQ(engine->ExecuteMore(), 0) << "nothing new the second time";
    EXPECT_EQ(Results(), (Numbers{1, 2, 11, 12, 13}));
}

TEST_F(Run, ExecuteMoreIntoUnorderedResultsGoesBeforeTheFirstGreater) {
    Candidates({15, 12});
    EXPECT_EQ(Execute("VALUE > 0"), (Numbers{15, 12}));
    Candidates({13, 4, 16, 4, 12});
    ASSERT_TRUE(engine->SetQueryText("VALUE > 0"));
    EXPECT_EQ(engine->ExecuteMore(), 3) << "4 once, though named twice";
    EXPECT_EQ(Results(), (Numbers{4, 13, 15, 12, 16}));
}

TEST_F(Run, RefineKeepsOnlyObjectsPassingBoth) {
    EXPECT_EQ(Execute("VALUE > 10"), Numbers({11, 12, 13, 14, 15, 16, 17, 18, 19, 20}));
    ASSERT_TRUE(engine->SetQueryText("VALUE < 14 OR VALUE > 19"));
    engine->Refine();
    EXPECT_EQ(Results(), (Numbers{11, 12, 13, 20}));
    engine->Refine();
    EXPECT_EQ(Results(), (Numbers{11, 12, 13, 20})) << "a second refine changes nothing";
}

TEST_F(Run, RefineReloadsChangedObjectsAndKeepsOrder) {
    Candidates({9, 2, 7, 4});
    EXPECT_EQ(Execute("VALUE < 10"), (Numbers{9, 2, 7, 4}));
    rtovarlst_set_var_value(list, 7, 70.0, 1);
    rtovarlst_set_var_value(list, 9, 90.0, 1);
    engine->Refine();
    EXPECT_EQ(Results(), (Numbers{2, 4}));
}

TEST_F(Run, RefineDropsObjectsNoLongerInTheBlock) {
    EXPECT_EQ(Execute("VALUE > 17"), (Numbers{18, 19, 20}));
    rtovarlst_set_nvar(list, 19);
    engine->Refine();
    EXPECT_EQ(Results(), (Numbers{18, 19}));
}

TEST_F(Run, WithoutATreeNothingRunsAndRefineKeeps) {
    EXPECT_EQ(Execute("VALUE > 18"), (Numbers{19, 20}));
    HistoryCapture history;
    EXPECT_FALSE(engine->SetQueryText("VALUE >"));
    engine->Refine();
    EXPECT_EQ(Results(), (Numbers{19, 20})) << "Refine without a tree keeps the results";
    EXPECT_EQ(engine->ExecuteMore(), 0);
    EXPECT_EQ(Results(), (Numbers{19, 20}));
    engine->Execute();
    EXPECT_EQ(Results(), Numbers{}) << "Execute clears them";
}

TEST_F(Run, ObjectiveAnswersAsASetWithoutLoading) {
    // Without a variable list no object can be loaded: only a set answer finds anything.
    block.objects.list = nullptr;
    block.objects.extra_variables = 20;
    EXPECT_EQ(Execute("InObjective(OBJ)"), (Numbers{3, 7})) << "30 is beyond the block";
    Candidates({7, 1, 3});
    EXPECT_EQ(Execute("InObjective(OBJ)"), Numbers{}) << "candidates are loaded one by one, and cannot be";
    ASSERT_TRUE(engine->SetCandidates(0, nullptr));
    EXPECT_EQ(Execute("NOT InObjective(OBJ)"), Numbers{}) << "a negated set cannot answer, and nothing loads";
    engine->Execute();
    EXPECT_EQ(Execute("InObjective(OBJ) OR InObjective(OBJ)"), (Numbers{3, 7})) << "the union of two sets";
    EXPECT_EQ(Execute("InObjective(OBJ) AND VALUE > 0"), Numbers{})
        << "a test that cannot select: loads, fails";
}

TEST_F(Run, ObjectiveOnTheLoadedPathToo) {
    EXPECT_EQ(Execute("InObjective(OBJ) AND VALUE > 5"), (Numbers{7}));
    EXPECT_EQ(Execute("NOT InObjective(OBJ)").size(), 18u);
    Candidates({7, 1, 3});
    EXPECT_EQ(Execute("InObjective(OBJ)"), (Numbers{7, 3})) << "candidates keep their order";
}

TEST_F(Run, ColumnAnswersStopAtTheBlocksCount) {
    for (int32_t k : {2, 5, 12, 19}) rtovarlst_set_spec(list, k, VAR_CONST);
    EXPECT_EQ(Execute("SPEC = CONST"), (Numbers{2, 5, 12, 19}));
    block.objects.extra_variables = -10;
    EXPECT_EQ(Execute("SPEC = CONST"), (Numbers{2, 5})) << "the block counts 10 of the list's 20";
    EXPECT_EQ(Execute("SPEC = CONST AND VALUE > 3"), (Numbers{5}));
    EXPECT_EQ(Execute("SPEC <> CONST AND NUMBER > 8"), (Numbers{9, 10}));
    block.objects.extra_variables = 5;
    EXPECT_EQ(Execute("SPEC = CALC AND NUMBER > 18"), (Numbers{20})) << "21 to 25 cannot be loaded";
    EXPECT_EQ(Execute("SPEC = CONST OR SPEC = CALC").size(), 20u);
}

TEST_F(Run, UnnamedVariableHasTheEmptyNameEitherWay) {
    rtvarlst_t *names = rtovarlst_create(3);
    rtovarlst_set_nvar(names, 3);
    rtovarlst_addvar(names, 1, "A1");
    rtovarlst_addvar(names, 3, "A3");
    block.objects.list = names;
    const Numbers all = {1, 2, 3};
    for (const char *text : {"NAME <> A1", "NAME = ''", "NAME = A*", "NAME <> A*"}) {
        ASSERT_TRUE(engine->SetCandidates(0, nullptr));
        const Numbers by_column = Execute(text);
        Candidates(all);
        EXPECT_EQ(Execute(text), by_column) << text;
    }
    ASSERT_TRUE(engine->SetCandidates(0, nullptr));
    EXPECT_EQ(Execute("NAME <> A*"), (Numbers{2}));
    block.objects.list = list;
    rtovarlst_destroy_c(&names);
}

TEST_F(Run, ShortMemoryInAColumnAnswerFallsBackToLoading) {
    for (int32_t k : {4, 6, 15}) rtovarlst_set_spec(list, k, VAR_MEAS);
    ASSERT_TRUE(engine->SetQueryText("SPEC = MEAS AND VALUE > 5"));
    HistoryCapture history;
    fail_each_allocation(
        [&] {
            engine->Execute();
            return Results() == Numbers{6, 15};
        },
        [&](long n, bool ok) {
            const std::string text = history.text();
            EXPECT_TRUE(ok || text == "!!Query: not enough memory for the results; the run stopped\n")
                << "allocation " << n << ": " << text;
        });
}

TEST_F(Run, ExecuteMoreThroughTheSetAnswer) {
    EXPECT_EQ(Execute("VALUE = 5"), (Numbers{5}));
    ASSERT_TRUE(engine->SetQueryText("InObjective(OBJ)"));
    EXPECT_EQ(engine->ExecuteMore(), 2);
    EXPECT_EQ(Results(), (Numbers{3, 5, 7}));
}

TEST_F(Run, HostThatThrowsStopsTheRunWithAReport) {
    FakeBlock equations;
    for (int k = 1; k <= 6; ++k)
        equations.objects.equations.push_back({"E" + std::to_string(k), 1.0 * k, 1, 0});
    IQDLQueryEngine *e = QDLQueryFactory::NewEquationQuery(nullptr, &equations);
    ASSERT_TRUE(e->SetQueryText("VALUE > 1"));
    equations.objects.throw_after_loads = 4;
    HistoryCapture history;
    e->Execute();
    EXPECT_EQ(history.text(), "!!Query: the host failed while the query ran; the run stopped\n");
    ASSERT_EQ(e->NumResults(), 3) << "what was found before the failure stays";
    EXPECT_EQ(e->ResultAt(2), 4);
    ASSERT_TRUE(e->SetQueryText("VALUE < 3"));
    equations.objects.loads = 0;
    equations.objects.throw_after_loads = 1;
    e->Refine();
    EXPECT_EQ(history.text(), "!!Query: the host failed while the query ran; the run stopped\n");
    EXPECT_EQ(e->NumResults(), 2) << "the last result was tested and dropped, the others kept untested";
    e->Release();
}

TEST_F(Run, HostThatThrowsWhileATestIsBuilt) {
    source.throw_on_lookup = true;
    HistoryCapture history;
    EXPECT_FALSE(engine->SetQueryText("IsAlias(TOP)"));
    EXPECT_EQ(history.text(), "The query engine failed while building a test\n");
}

TEST_F(Run, ShortMemoryWhileCollectingKeepsWhatFits) {
    ASSERT_TRUE(engine->SetQueryText("VALUE > 0"));
    HistoryCapture history;
    zarn::failalloc_set(1);
    engine->Execute();
    zarn::failalloc_set(0);
    EXPECT_EQ(history.text(), "!!Query: not enough memory for the results; the run stopped\n");
    EXPECT_EQ(engine->NumResults(), 0);
    engine->Execute();
    EXPECT_EQ(engine->NumResults(), 20) << "and the next run is whole";
}

TEST_F(Run, ShortMemoryInEveryRunOperation) {
    Candidates({3, 1, 2});
    ASSERT_TRUE(engine->SetQueryText("VALUE > 0"));
    HistoryCapture history;
    const long seen = fail_each_allocation(
        [&] {
            engine->Execute();
            const int32_t added = engine->ExecuteMore();
            engine->Refine();
            return added == 0 && Results() == Numbers{3, 1, 2};
        },
        [&](long n, bool) {
            EXPECT_EQ(history.text(), "!!Query: not enough memory for the results; the run stopped\n")
                << "allocation " << n;
            EXPECT_LE(engine->NumResults(), 3) << "allocation " << n;
        });
    // The list of those present and the flags of Refine; the results' room
    // is kept from one run to the next.
    EXPECT_GE(seen, 2);
}

TEST_F(Run, ShortMemoryForCandidatesKeepsTheOldOnes) {
    Candidates({2});
    HistoryCapture history;
    const int32_t numbers[] = {5, 6, 7};
    zarn::failalloc_set(1);
    EXPECT_FALSE(engine->SetCandidates(3, numbers));
    zarn::failalloc_set(0);
    EXPECT_EQ(history.text(), "!!Query: not enough memory for 3 candidates\n");
    EXPECT_EQ(Execute("VALUE > 0"), (Numbers{2}));
}

TEST(Factory, VariableEngineHoldsOneReferenceToTheBlocksSource) {
    FakeBlock block;
    FakeContainer container;
    FakeVariableSource source;
    container.source = &source;
    IQDLQueryEngine *engine = QDLQueryFactory::NewVariableQuery(&container, &block);
    ASSERT_NE(engine, nullptr);
    ASSERT_EQ(container.source_requests.size(), 1u);
    EXPECT_EQ(container.source_requests[0], &block);
    EXPECT_EQ(source.initialized_with, &container);
    EXPECT_EQ(source.refs, 2) << "the owner's and the engine's";
    engine->Release();
    EXPECT_EQ(source.refs, 1);
}

TEST(Factory, ShortMemoryGivesNoEngineAndReturnsTheReference) {
    FakeContainer container;
    FakeVariableSource source;
    container.source = &source;
    for (int kind = 0; kind < 4; ++kind) {
        zarn::failalloc_set(1);
        IQDLQueryEngine *engine = kind == 0   ? QDLQueryFactory::NewVariableQuery(&container, nullptr)
                                  : kind == 1 ? QDLQueryFactory::NewEquationQuery(&container, nullptr)
                                  : kind == 2 ? QDLQueryFactory::NewParameterQuery(&container, nullptr)
                                              : QDLQueryFactory::NewPortQuery(&container, nullptr);
        zarn::failalloc_set(0);
        EXPECT_EQ(engine, nullptr) << "kind " << kind;
    }
    EXPECT_EQ(source.refs, 1);
}

TEST(Factory, NoContainerAndNoBlockRunOverNothing) {
    IQDLQueryEngine *engines[] = {QDLQueryFactory::NewVariableQuery(nullptr, nullptr),
                                  QDLQueryFactory::NewEquationQuery(nullptr, nullptr),
                                  QDLQueryFactory::NewParameterQuery(nullptr, nullptr),
                                  QDLQueryFactory::NewPortQuery(nullptr, nullptr)};
    const char *texts[] = {"IsAlias(X) OR VALUE > 0", "VALUE > 0", "TYPE = DOUBLE", "TYPE = MATERIAL"};
    HistoryCapture history;
    EXPECT_FALSE(engines[0]->SetQueryText(texts[0])) << "no source to look a name up";
    EXPECT_EQ(history.text(), "Unable to get information for alias test X\n");
    for (int k = 0; k < 4; ++k) {
        ASSERT_NE(engines[k], nullptr);
        engines[k]->SetQueryText(k == 0 ? "VALUE > 0" : texts[k]);
        engines[k]->Execute();
        EXPECT_EQ(engines[k]->ExecuteMore(), 0);
        EXPECT_EQ(engines[k]->NumResults(), 0) << k;
        engines[k]->Unused2();
        engines[k]->Release();
    }
}

TEST(Factory, ContainerAnswersWhenThereIsNoBlock) {
    FakeContainer container;
    container.objects.equations = {{"E1", 1, 1, 0}, {"E2", 2, 1, 0}};
    IQDLQueryEngine *engine = QDLQueryFactory::NewEquationQuery(&container, nullptr);
    ASSERT_TRUE(engine->SetQueryText("VALUE > 1"));
    engine->Execute();
    ASSERT_EQ(engine->NumResults(), 1);
    EXPECT_EQ(engine->ResultAt(0), 2);
    engine->Release();
}

TEST(Factory, HostThatThrowsWhileTheSourceIsMade) {
    struct ThrowingSource final : QDLVariableSource {
        int refs = 1;
        void Release() override { --refs; }
        void AddRef() override { ++refs; }
        void Initialize(QDLEOCntr *) override { throw 1; }
        bool Load(int32_t, QDLVariableData *, bool) override { return false; }
        QDLResultSet *Query(const char *) override { return nullptr; }
    } source;
    struct Container final : QDLEOCntr {
        QDLVariableSource *source;
        int32_t ObjectCount(int32_t) override { return 0; }
        rtvarlst_t *VariableList() override { return nullptr; }
        bool LoadEquation(int32_t, QDLEquationData *) override { return false; }
        bool CommitEquation(int32_t, const QDLEquationData *) override { return false; }
        bool LoadParameter(int32_t, QDLParameterData *) override { return false; }
        bool CommitParameter(int32_t, const QDLParameterData *) override { return false; }
        bool ParameterModified(int32_t, int32_t) override { return false; }
        qdl_port *Port(int32_t) override { return nullptr; }
        QDLVariableSource *VariableSource(QDLEOBlock *) override {
            source->AddRef();
            return source;
        }
    } container;
    container.source = &source;
    HistoryCapture history;
    EXPECT_EQ(QDLQueryFactory::NewVariableQuery(&container, nullptr), nullptr);
    EXPECT_EQ(history.text(), "!!Query: the host failed while the engine was made\n");
    EXPECT_EQ(source.refs, 1);
}

}  // namespace
