// Compound tests over scripted leaves: evaluation order and short-circuit,
// selection as sets, negation, deep copies; the sets Select fills; short
// memory; the kept fuzz inputs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "failsweep.h"
#include "platform/xalloc.h"
#include "zarnutils/qdlvarquery.hpp"

#define ZARN_FUZZ_CHECK(cond) EXPECT_TRUE(cond) << #cond
#include "../../fuzz/qdlquery_one_input.h"

namespace {

// A leaf that answers as told and writes its name into a shared log when asked.
struct Scripted final : IQDLQTest {
    std::string name;
    bool passes;
    bool can_select = true;
    std::vector<int32_t> numbers;  // what Select adds
    std::string *log;
    Scripted(std::string n, bool p, std::string *l) : name(std::move(n)), passes(p), log(l) {}
    IQDLQTest *Clone() const override { return new Scripted(*this); }
    void Negate() override { passes = !passes; }
    bool Matches() override {
        *log += name;
        return passes;
    }
    bool Select(QDLQObjectSet &result) override {
        *log += name;
        if (!can_select) return false;
        for (int32_t n : numbers) result.Insert(n);
        return true;
    }
};

std::string set_text(const QDLQObjectSet &s) {
    std::string t;
    for (int32_t i = 0; i < s.Count(); ++i) t += (i > 0 ? "," : "") + std::to_string(s.At(i));
    return t;
}

// A compound of op over leaves a, b, c, ... answering as given.
QDLQCompoundTest *compound(int32_t op, std::initializer_list<bool> answers, std::string *log) {
    auto *c = new QDLQCompoundTest(op);
    char name = 'a';
    for (bool passes : answers) c->AddTest(new Scripted(std::string(1, name++), passes, log));
    return c;
}

struct MatchRow {
    const char *name;
    int32_t op;
    std::initializer_list<bool> answers;
    bool expected;
    const char *asked;  // the children asked, in order
};

TEST(QueryCompound, MatchesInOrderAndStopsWhenDecided) {
    // clang-format off
    const MatchRow rows[] = {
        {"and_all_pass", QDLQ_AND, {true, true, true}, true, "abc"},
        {"and_stops_at_first_failure", QDLQ_AND, {true, false, true}, false, "ab"},
        {"or_stops_at_first_pass", QDLQ_OR, {false, true, false}, true, "ab"},
        {"or_none_pass", QDLQ_OR, {false, false}, false, "ab"},
        {"nand_stops_at_first_failure", QDLQ_NAND, {true, false, true}, true, "ab"},
        {"nand_all_pass", QDLQ_NAND, {true, true}, false, "ab"},
        {"nor_stops_at_first_pass", QDLQ_NOR, {false, true, false}, false, "ab"},
        {"nor_none_pass", QDLQ_NOR, {false, false}, true, "ab"},
        {"and_empty", QDLQ_AND, {}, false, ""},
        {"or_empty", QDLQ_OR, {}, false, ""},
        {"nand_empty", QDLQ_NAND, {}, false, ""},
        {"nor_empty", QDLQ_NOR, {}, false, ""},
        {"comparison_code_matches_nothing", QDLQ_GT, {true}, false, ""},
    };
    // clang-format on
    for (const MatchRow &row : rows) {
        SCOPED_TRACE(row.name);
        std::string log;
        QDLQCompoundTest *c = compound(row.op, row.answers, &log);
        EXPECT_EQ(c->Matches(), row.expected);
        EXPECT_EQ(log, row.asked);
        delete c;
    }
}

TEST(QueryCompound, NegateSwapsAndWithNandAndOrWithNor) {
    const int32_t pairs[][2] = {
        {QDLQ_AND, QDLQ_NAND}, {QDLQ_NAND, QDLQ_AND}, {QDLQ_OR, QDLQ_NOR}, {QDLQ_NOR, QDLQ_OR}};
    for (const auto &p : pairs) {
        std::string log;
        QDLQCompoundTest *c = compound(p[0], {true, false}, &log);
        const bool before = c->Matches();
        c->Negate();
        EXPECT_EQ(c->Operator(), p[1]) << "from " << p[0];
        EXPECT_EQ(c->Matches(), !before) << "from " << p[0];
        // The children are left as they were.
        EXPECT_TRUE(static_cast<Scripted *>(c->TestAt(0))->passes);
        delete c;
    }
    QDLQCompoundTest odd(QDLQ_LE);
    odd.Negate();
    EXPECT_EQ(odd.Operator(), QDLQ_LE);
}

TEST(QueryCompound, OperatorChangesOnlyToLogicCodes) {
    QDLQCompoundTest c(QDLQ_AND);
    EXPECT_TRUE(c.SetOperator(QDLQ_NOR));
    EXPECT_EQ(c.Operator(), QDLQ_NOR);
    const int32_t bad_codes[] = {QDLQ_EQ, QDLQ_GE, 10, -1};
    for (int32_t bad : bad_codes) {
        EXPECT_FALSE(c.SetOperator(bad)) << bad;
        EXPECT_EQ(c.Operator(), QDLQ_NOR) << bad;
    }
}

TEST(QueryCompound, ChildrenKeptInOrderAndRefusalsLeftToTheCaller) {
    std::string log;
    QDLQCompoundTest c(QDLQ_OR);
    auto *a = new Scripted("a", false, &log);
    auto *b = new Scripted("b", true, &log);
    EXPECT_TRUE(c.AddTest(a));
    EXPECT_TRUE(c.AddTest(b));
    EXPECT_FALSE(c.AddTest(nullptr));
    EXPECT_FALSE(c.AddTest(&c));
    EXPECT_EQ(c.Count(), 2);
    EXPECT_EQ(c.TestAt(0), a);
    EXPECT_EQ(c.TestAt(1), b);
    EXPECT_EQ(c.TestAt(2), nullptr);
    EXPECT_EQ(c.TestAt(-1), nullptr);
    // A refused append under short memory leaves the test with the caller.
    auto *d = new Scripted("d", true, &log);
    for (int i = 0; i < 2; ++i) ASSERT_TRUE(c.AddTest(new Scripted("x", false, &log)));  // capacity 4 used
    zarn::failalloc_set(1);
    EXPECT_FALSE(c.AddTest(d));
    zarn::failalloc_set(0);
    EXPECT_EQ(c.Count(), 4);
    EXPECT_TRUE(c.AddTest(d));
    EXPECT_EQ(c.TestAt(4), d);
}

TEST(QueryCompound, CloneIsDeepAndIndependent) {
    std::string log;
    QDLQCompoundTest *inner = compound(QDLQ_OR, {false, true}, &log);
    QDLQCompoundTest outer(QDLQ_AND);
    outer.AddTest(new Scripted("x", true, &log));
    outer.AddTest(inner);
    IQDLQTest *copy = outer.Clone();
    ASSERT_NE(copy, nullptr);
    auto *c = dynamic_cast<QDLQCompoundTest *>(copy);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->Operator(), QDLQ_AND);
    ASSERT_EQ(c->Count(), 2);
    EXPECT_NE(c->TestAt(0), outer.TestAt(0));
    auto *inner_copy = dynamic_cast<QDLQCompoundTest *>(c->TestAt(1));
    ASSERT_NE(inner_copy, nullptr);
    EXPECT_NE(inner_copy, inner);
    EXPECT_EQ(inner_copy->Operator(), QDLQ_OR);
    ASSERT_EQ(inner_copy->Count(), 2);
    EXPECT_EQ(static_cast<Scripted *>(inner_copy->TestAt(1))->name, "b");
    // Changing the copy leaves the original alone.
    inner_copy->Negate();
    static_cast<Scripted *>(c->TestAt(0))->passes = false;
    EXPECT_EQ(inner->Operator(), QDLQ_OR);
    EXPECT_TRUE(outer.Matches());
    EXPECT_FALSE(copy->Matches());
    delete copy;
}

TEST(QueryCompound, CloneUnderShortMemoryGivesNullAndLeaksNothing) {
    std::string log;
    QDLQCompoundTest outer(QDLQ_OR);
    outer.AddTest(compound(QDLQ_AND, {true, false, true}, &log));
    outer.AddTest(new Scripted("z", true, &log));
    const long seen = zarn::test::fail_each_allocation(
        [&] {
            IQDLQTest *copy = outer.Clone();
            const bool ok = copy != nullptr;
            delete copy;
            return ok;
        },
        [](long n, bool ok) { EXPECT_FALSE(ok) << "allocation " << n; });
    EXPECT_GE(seen, 6);  // two compounds, two child arrays, four leaves at least in part
}

struct SelectRow {
    const char *name;
    int32_t op;
    std::vector<std::vector<int32_t>> sets;  // each child's answer; {-1} cannot select
    bool expected;
    const char *result;  // after selecting into {100}
    const char *asked;
};

TEST(QueryCompound, SelectIntersectsForAndAndUnitesForOr) {
    // clang-format off
    const SelectRow rows[] = {
        {"and_intersection", QDLQ_AND, {{1, 2, 3, 5}, {2, 3, 4, 5}, {3, 5, 9}}, true, "3,5,100", "abc"},
        {"and_stops_when_empty", QDLQ_AND, {{1, 2}, {3}, {1}}, true, "100", "ab"},
        {"and_first_cannot", QDLQ_AND, {{-1}, {1}}, false, "100", "a"},
        {"and_later_cannot", QDLQ_AND, {{1}, {-1}, {1}}, false, "100", "ab"},
        {"or_union", QDLQ_OR, {{1, 3}, {2, 3}}, true, "1,2,3,100", "ab"},
        {"or_stops_at_cannot_with_part_added", QDLQ_OR, {{7}, {-1}, {8}}, false, "7,100", "ab"},
        {"nand_cannot", QDLQ_NAND, {{1}}, false, "100", ""},
        {"nor_cannot", QDLQ_NOR, {{1}}, false, "100", ""},
        {"empty_and_adds_nothing", QDLQ_AND, {}, true, "100", ""},
        {"empty_or_adds_nothing", QDLQ_OR, {}, true, "100", ""},
    };
    // clang-format on
    for (const SelectRow &row : rows) {
        SCOPED_TRACE(row.name);
        std::string log;
        QDLQCompoundTest c(row.op);
        char name = 'a';
        for (const std::vector<int32_t> &set : row.sets) {
            auto *leaf = new Scripted(std::string(1, name++), true, &log);
            leaf->can_select = !(set.size() == 1 && set[0] == -1);
            if (leaf->can_select) leaf->numbers = set;
            c.AddTest(leaf);
        }
        QDLQObjectSet result;
        result.Insert(100);
        EXPECT_EQ(c.Select(result), row.expected);
        EXPECT_EQ(set_text(result), row.result);
        EXPECT_EQ(log, row.asked);
    }
}

TEST(QueryObjectSet, KeepsNumbersSortedAndUnique) {
    QDLQObjectSet s;
    for (int32_t n : {5, 1, 9, 5, -3, INT32_MAX, 1}) EXPECT_TRUE(s.Insert(n)) << n;
    EXPECT_EQ(set_text(s), "-3,1,5,9,2147483647");
    EXPECT_TRUE(s.Contains(9));
    EXPECT_FALSE(s.Contains(4));
    EXPECT_EQ(s.At(-1), 0);
    EXPECT_EQ(s.At(5), 0);
    QDLQObjectSet t;
    for (int32_t n : {2, 5, 9, 11}) t.Insert(n);
    EXPECT_TRUE(s.InsertAll(t));
    EXPECT_EQ(set_text(s), "-3,1,2,5,9,11,2147483647");
    QDLQObjectSet u;
    for (int32_t n : {1, 9, 10, 2147483647}) u.Insert(n);
    s.KeepCommon(u);
    EXPECT_EQ(set_text(s), "1,9,2147483647");
    s.KeepCommon(s);
    EXPECT_EQ(set_text(s), "1,9,2147483647");
    EXPECT_TRUE(s.InsertAll(s));
    EXPECT_EQ(set_text(s), "1,9,2147483647");
    s.swap(t);
    EXPECT_EQ(set_text(s), "2,5,9,11");
    EXPECT_EQ(set_text(t), "1,9,2147483647");
    s.Clear();
    EXPECT_EQ(s.Count(), 0);
    EXPECT_FALSE(s.Contains(2));
}

TEST(QueryObjectSet, ShortMemoryLeavesTheSetAsItWas) {
    QDLQObjectSet s, other;
    for (int32_t n = 1; n <= 4; ++n) ASSERT_TRUE(s.Insert(2 * n));  // capacity 4 full
    other.Insert(3);
    zarn::failalloc_set(1);
    EXPECT_FALSE(s.Insert(5));
    zarn::failalloc_set(1);
    EXPECT_FALSE(s.InsertAll(other));
    zarn::failalloc_set(0);
    EXPECT_EQ(set_text(s), "2,4,6,8");
    // Inserting a number already there needs no memory.
    zarn::failalloc_set(1);
    EXPECT_TRUE(s.Insert(4));
    zarn::failalloc_set(0);
}

TEST(QueryTestAllocation, NewGivesNullWhenMemoryIsShort) {
    zarn::failalloc_set(1);
    auto *c = new QDLQCompoundTest(QDLQ_AND);
    zarn::failalloc_set(0);
    EXPECT_EQ(c, nullptr);
}

TEST(QueryFuzzCorpus, EveryKeptInputPasses) {
    namespace fs = std::filesystem;
    const char *top = std::getenv("ZARN_SOURCE_DIR");  // from CTest; a hand run finds the tree by __FILE__
    const fs::path corpus =
        (top != nullptr ? fs::path(top) : fs::path(__FILE__).parent_path() / ".." / "..") / "fuzz" /
        "corpus" / "qdlquery";
    int replayed = 0;
    for (const auto &entry : fs::directory_iterator(corpus)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        SCOPED_TRACE(entry.path().filename().string());
        zarn::fuzz::qdlquery::one_input(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
        ++replayed;
    }
    EXPECT_GE(replayed, 15);
}

}  // namespace
