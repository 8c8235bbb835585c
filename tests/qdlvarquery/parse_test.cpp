// Query texts parsed through a recording engine stand-in into compact trees:
// grammar rules, grouping, NOT, the scanner's states and literals, keyword
// preprocessing, syntax errors, refusals, the stack limit, short memory.
#include <gtest/gtest.h>

#include <string>

#include "failsweep.h"
#include "qdlvarquery/qdlvarquery_internal.h"
#include "query_fake.h"

using namespace zarn::test;
namespace qp = zarn::qdlvarquery;

namespace {

struct Row {
    const char *name;
    const char *text;
    const char *tree;  // "" when the text does not parse
};

// The tree, or "" and the one report "parse error"; no leaf left either way.
void check(const Row &row, bool engine_path) {
    RecordingCallback cb;
    IQDLQTest *root = engine_path ? qp::parse_query_text(&cb, row.text) : qp::parse(&cb, row.text);
    EXPECT_EQ(root != nullptr ? printed(root) : "", row.tree) << row.name;
    EXPECT_EQ(cb.errors, row.tree[0] == '\0' ? "parse error" : "") << row.name;
    delete root;
    EXPECT_EQ(g_live_leaves, 0) << row.name;
    g_live_leaves = 0;
}

// clang-format off
const Row kQueries[] = {
    {"not_equal", "A <> 1", "AND(A 1 i:1)"},
    {"less_without_blanks", "A<1", "AND(A 2 i:1)"},
    {"less_or_equal", "A <= 1", "AND(A 3 i:1)"},
    {"greater_or_equal_tabs", "A\t>=\t1", "AND(A 5 i:1)"},
    {"first_example", "SPEC = FIXED AND VALUE > 0", "AND(SPEC 0 t:'FIXED', AND(VALUE 4 i:0))"},
    {"second_example", "IsModified(VALUE) OR NOT LOWER < -1e20",
     "OR(IsModified t:'VALUE', NAND(LOWER 2 r:-1e+20))"},
    {"and_chain_in_one_node", "A = 1 AND B = 2 AND C = 3", "AND(A 0 i:1, AND(B 0 i:2), AND(C 0 i:3))"},
    {"and_then_or", "A = 1 AND B = 2 OR C = 3", "OR(AND(A 0 i:1, AND(B 0 i:2)), AND(C 0 i:3))"},
    {"or_then_and_from_the_left", "A = 1 OR B = 2 AND C = 3", "AND(OR(A 0 i:1, AND(B 0 i:2)), AND(C 0 i:3))"},
    {"parentheses", "A = 1 AND (B = 2 OR C = 3)", "AND(A 0 i:1, OR(B 0 i:2, AND(C 0 i:3)))"},
    {"parenthesized_single_takes_operator", "((A = 1)) OR B = 2", "OR(A 0 i:1, AND(B 0 i:2))"},
    {"not_group", "NOT (A = 1 OR B = 2)", "NOR(A 0 i:1, AND(B 0 i:2))"},
    {"negation_kept_before_and", "NOT A = 1 AND B = 2", "AND(NAND(A 0 i:1), AND(B 0 i:2))"},
    {"keywords_before_parenthesis", "NOT(A = 1) OR(NOTE = 2)", "OR(NAND(A 0 i:1), AND(NOTE 0 i:2))"},
    {"function_blanks_before_parenthesis", "IsFixed ()", "AND(IsFixed t:'')"},
    {"function_literals", "F(-2.5) OR G('x y')", "OR(F r:-2.5, AND(G t:'x y'))"},
    {"function_glob", "InAlias(B1*)", "AND(InAlias t:'%^B1.*$')"},
    {"integer_largest", "V = 2147483647", "AND(V 0 i:2147483647)"},
    {"integer_smallest", "V = -2147483648", "AND(V 0 i:-2147483648)"},
    {"integer_beyond_32_bits", "V = +3000000000", "AND(V 0 r:3000000000)"},
    {"real_d_exponent", "V = -1D-3", "AND(V 0 r:-0.001)"},
    {"boolean", "F = TRUE", "AND(F 0 b:1)"},
    {"boolean_lower_case_is_a_word", "F = true", "AND(F 0 t:'true')"},
    {"text_keeps_glob", "NAME = 'B* C'", "AND(NAME 0 t:'B* C')"},
    {"glob", "NAME = B1.*", "AND(NAME 0 t:'%^B1\\..*$')"},
    {"glob_question_mark_first", "NAME = ?1", "AND(NAME 0 t:'%^.1$')"},
    {"one_character_word", "A = - OR B = 1", "OR(A 0 t:'-', AND(B 0 i:1))"},
    {"empty", "", ""},
    {"missing_logic", "A = 1 B = 2", ""},
    {"unclosed_parenthesis", "(A = 1", ""},
    {"not_doubled", "NOT NOT A = 1", ""},
    {"function_two_arguments", "IsModified(VALUE,LOWER)", ""},
    {"function_blank_after_literal", "F(1 )", ""},
    {"double_quotes", "NAME = \"A B\"", ""},
    {"lower_case_keyword", "A = 1 and B = 2", ""},
    {"high_byte", "A = 1 \xff", ""},
};

// Through the engine's path: lower-case keywords before a blank become keywords.
const Row kEnginePath[] = {
    {"lower_case_keywords", "not A = 1 or B = 2 and C = 3",
     "AND(OR(NAND(A 0 i:1), AND(B 0 i:2)), AND(C 0 i:3))"},
    {"without_blank", "VALUE > 1 and(LOWER < 0)", ""},
    {"inside_quoted_text", "NAME = 'x and y'", "AND(NAME 0 t:'x AND y')"},
    {"inside_a_name_without_blank", "colors = 1", "AND(colors 0 i:1)"},
};
// clang-format on

TEST(QueryParse, Trees) {
    for (const Row &row : kQueries) check(row, false);
    for (const Row &row : kEnginePath) check(row, true);
    RecordingCallback cb;
    EXPECT_EQ(qp::parse_query_text(&cb, ""), nullptr);
    EXPECT_EQ(cb.errors, "") << "the engine refuses an empty text unparsed";
}

TEST(QueryParse, FirstRefusalStopsTheParse) {
    RecordingCallback cb;
    EXPECT_EQ(qp::parse(&cb, "A = 1 AND BADF() AND C = 3"), nullptr);
    EXPECT_EQ(cb.calls, 2);
    EXPECT_EQ(cb.errors, "BADF is not known");
    EXPECT_EQ(g_live_leaves, 0);
}

TEST(QueryParse, NestedParseIsRefused) {
    struct Nesting : RecordingCallback {
        RecordingCallback inner;
        IQDLQTest *CreateTest(char *name, int32_t op, QDLQLiteral &literal, char *error) override {
            EXPECT_EQ(qp::parse(&inner, "B = 2"), nullptr);
            return RecordingCallback::CreateTest(name, op, literal, error);
        }
    } cb;
    IQDLQTest *root = qp::parse(&cb, "A = 1");
    EXPECT_EQ(root != nullptr ? printed(root) : "", "AND(A 0 i:1)");
    EXPECT_EQ(cb.inner.errors, "Another query is being parsed");
    delete root;
}

std::string nested(int depth) { return std::string(depth, '(') + "A = 1" + std::string(depth, ')'); }

TEST(QueryParse, ParserStackLimit) {
    RecordingCallback cb;
    IQDLQTest *deep = qp::parse(&cb, nested(9000).c_str());
    EXPECT_NE(deep, nullptr);
    delete deep;
    EXPECT_EQ(qp::parse(&cb, nested(10000).c_str()), nullptr);
    EXPECT_EQ(cb.errors, "parser stack overflow");
}

// Short memory anywhere (scanner, token texts, parser stack, nodes, glob,
// leaves): one report and no leaf left; once nothing fails, the whole tree.
TEST(QueryParse, ShortMemoryAnywhere) {
    const std::string text = nested(250) + " OR NOT (F(x*) AND B = 'q') AND C = 1";
    std::string outcome;
    const long seen = fail_each_allocation(
        [&] {
            RecordingCallback cb;
            IQDLQTest *root = qp::parse(&cb, text.c_str());
            const bool made = root != nullptr;
            outcome = (made ? printed(root) : "") + cb.errors;
            delete root;
            return made;
        },
        [&](long n, bool ok) {
            EXPECT_TRUE(outcome == "Not enough memory to parse the query" ||
                        outcome == "no memory for a leaf")
                << "allocation " << n << ": " << outcome;
            EXPECT_EQ(g_live_leaves, 0) << "allocation " << n;
        });
    EXPECT_GT(seen, 8);
    EXPECT_EQ(outcome, "AND(OR(A 0 i:1, NAND(F t:'%^x.*$', AND(B 0 t:'q'))), AND(C 0 i:1))");
}

}  // namespace
