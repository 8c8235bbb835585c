// Compounds over scripted leaves: order, short-circuit, selection as sets;
// and the kept fuzz inputs.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "failsweep.h"
#include "source_tree.h"
#include "zarnutils/qdlvarquery.hpp"

#define ZARN_FUZZ_CHECK(cond) EXPECT_TRUE(cond) << #cond
#include "../../fuzz/qdlquery_one_input.h"

namespace {

// Passes, or selects numbers, as told; logs its name when asked.
struct Scripted final : IQDLQTest {
    static int live;  // made and not yet deleted
    char name;
    bool passes;
    std::vector<int32_t> numbers;
    std::string *log;
    Scripted(char n, bool p, std::vector<int32_t> s, std::string *l)
        : name(n), passes(p), numbers(s), log(l) {
        ++live;
    }
    Scripted(const Scripted &o) : name(o.name), passes(o.passes), numbers(o.numbers), log(o.log) { ++live; }
    ~Scripted() override { --live; }
    IQDLQTest *Clone() const override { return new Scripted(*this); }
    void Negate() override { passes = !passes; }
    bool Matches() override {
        *log += name;
        return passes;
    }
    bool Select(QDLQObjectSet &result) override {
        *log += name;
        for (int32_t n : numbers) result.Insert(n);
        return true;
    }
};

int Scripted::live = 0;

struct Case {
    const char *name;
    int32_t op;
    std::vector<bool> answers;
    std::vector<std::vector<int32_t>> sets;
    bool matches, selects;
    const char *asked_to_match, *asked_to_select, *selected;  // selected into {100}
};

// clang-format off
const Case kCases[] = {
    {"and", QDLQ_AND, {true, false, true}, {{1, 2, 3, 5}, {2, 3, 5}, {3, 5, 9}}, false, true, "ab",
     "abc", "3 5 100"},
    {"or", QDLQ_OR, {false, true, false}, {{1, 3}, {2, 3}}, true, true, "ab", "ab", "1 2 3 100"},
    {"nand", QDLQ_NAND, {true, false, true}, {{1}}, true, false, "ab", "", "100"},
    {"and_stops_once_empty", QDLQ_AND, {false}, {{1}, {2}, {3}}, false, true, "a", "ab", "100"},
    {"and_with_a_later_set_of_four", QDLQ_AND, {true}, {{1, 2, 3, 4, 9}, {1, 2, 3, 4}}, true, true, "a", "ab",
     "1 2 3 4 100"},
    {"comparison_code_asks_nothing", QDLQ_GT, {true}, {{1}}, false, false, "", "", "100"},
    {"nor", QDLQ_NOR, {false, false}, {{1}}, true, false, "ab", "", "100"},
};
// clang-format on

TEST(QueryCompound, MatchAndSelect) {
    for (const Case &c : kCases) {
        std::string matched, selected, numbers;
        QDLQCompoundTest matching(c.op), selecting(c.op);
        char name = 'a';
        for (bool passes : c.answers) matching.AddTest(new Scripted(name++, passes, {}, &matched));
        name = 'a';
        for (const auto &set : c.sets) selecting.AddTest(new Scripted(name++, true, set, &selected));
        QDLQObjectSet result;
        result.Insert(100);
        EXPECT_EQ(matching.Matches(), c.matches) << c.name;
        EXPECT_EQ(matched, c.asked_to_match) << c.name;
        EXPECT_EQ(selecting.Select(result), c.selects) << c.name;
        EXPECT_EQ(selected, c.asked_to_select) << c.name;
        for (int32_t i = 0; i < result.Count(); ++i)
            numbers += (i > 0 ? " " : "") + std::to_string(result.At(i));
        EXPECT_EQ(numbers, c.selected) << c.name;
        EXPECT_EQ(result.At(result.Count()), 0) << c.name << ": past the last number";
        for (int32_t i : {-1, matching.Count()})
            EXPECT_EQ(matching.TestAt(i), nullptr) << c.name << ": test " << i;
    }
    EXPECT_EQ(Scripted::live, 0) << "a compound deleted without its tests";
}

TEST(QueryCompound, NegateSwapsAndOtherCodesAreRefused) {
    const std::pair<int32_t, int32_t> kOpposites[] = {
        {QDLQ_AND, QDLQ_NAND}, {QDLQ_NAND, QDLQ_AND}, {QDLQ_OR, QDLQ_NOR}, {QDLQ_NOR, QDLQ_OR}};
    for (auto [op, opposite] : kOpposites) {
        QDLQCompoundTest test(op);
        test.Negate();
        EXPECT_EQ(test.Operator(), opposite) << "negated " << op;
        EXPECT_FALSE(test.SetOperator(QDLQ_GT)) << op;
        EXPECT_EQ(test.Operator(), opposite) << "a comparison code was taken";
        EXPECT_TRUE(test.SetOperator(op)) << "logic code " << op << " refused";
    }
}

// A copy made while memory runs short is whole or nothing, and leaks nothing;
// a set that cannot grow refuses the number.
TEST(QueryCompound, CopiesAndSetsUnderShortMemory) {
    std::string asked;
    QDLQCompoundTest tree(QDLQ_OR);
    tree.AddTest(new Scripted('a', false, {}, &asked));
    tree.AddTest(new Scripted('b', true, {}, &asked));
    zarn::test::fail_each_allocation(
        [&] {
            std::unique_ptr<IQDLQTest> copy(tree.Clone());
            return copy != nullptr && copy->Matches();
        },
        [&](long n, bool made) {
            EXPECT_FALSE(made) << "allocation " << n << " failed, yet a copy was made";
            EXPECT_EQ(Scripted::live, 2) << "allocation " << n << ": a copied test left behind";
        });
    EXPECT_EQ(asked, "ab") << "the whole copy asks both its tests, in order";
    QDLQObjectSet set;
    zarn::failalloc_set(1);
    EXPECT_FALSE(set.Insert(7)) << "no memory, yet the number was taken";
    zarn::failalloc_set(0);
    EXPECT_EQ(set.Count(), 0);
    QDLQObjectSet more;
    ASSERT_TRUE(more.Insert(3));
    zarn::failalloc_set(1);
    EXPECT_FALSE(set.InsertAll(more)) << "no memory for the merged set, yet the merge was done";
    zarn::failalloc_set(0);
    EXPECT_EQ(set.Count(), 0) << "the set as it was";
}

TEST(QueryFuzzCorpus, EveryKeptInputPasses) {
    EXPECT_GE(zarn::test::replay_corpus("qdlquery", zarn::fuzz::qdlquery::one_input), 15);
}

}  // namespace
