// Query texts parsed into trees through a recording engine stand-in: every
// grammar rule, grouping and the gathering of repeated operators, NOT, the
// scanner's three states and its literals, the keyword preprocessing, each
// syntax error, refused tests, the parser stack's limit, short memory.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "failsweep.h"
#include "platform/xalloc.h"
#include "heap_count.h"
#include "qdlvarquery/qdlvarquery_internal.h"
#include "query_fake.h"

using namespace zarn::test;
namespace qp = zarn::qdlvarquery;

namespace {

struct TreeRow {
    const char *name;
    const char *text;
    const char *tree;  // printed tree, or "" when the text does not parse
};

// Parses one row and checks the tree, or the single "parse error" report.
void check_row(const TreeRow &row, bool engine_path) {
    SCOPED_TRACE(row.name);
    // Room enough beforehand, so that the heap is measured around the parse alone.
    std::string tree, errors;
    tree.reserve(4096), errors.reserve(4096);
    size_t errors_reported = 0;
    const long before = live_heap_blocks();
    {
        RecordingCallback cb;
        IQDLQTest *root = engine_path ? qp::parse_query_text(&cb, row.text) : qp::parse(&cb, row.text);
        if (root != nullptr) {
            const std::string p = printed(root);
            tree.assign(p);
        }
        delete root;
        errors_reported = cb.errors.size();
        for (const std::string &e : cb.errors) errors += e + ";";
    }
    const long after = live_heap_blocks();
    EXPECT_EQ(tree, row.tree) << "text: " << row.text;
    if (row.tree[0] == '\0') {
        EXPECT_EQ(errors, "parse error;");
    } else {
        EXPECT_EQ(errors_reported, 0u) << errors;
    }
    EXPECT_EQ(g_live_leaves, 0) << "leaves not deleted";
    EXPECT_EQ(after, before) << "heap blocks left behind";
    g_live_leaves = 0;
}

// clang-format off
const TreeRow kGrammar[] = {
    {"equal", "A = 1", "AND(A 0 i:1)"},
    {"not_equal", "A <> 1", "AND(A 1 i:1)"},
    {"less", "A < 1", "AND(A 2 i:1)"},
    {"less_or_equal", "A <= 1", "AND(A 3 i:1)"},
    {"greater", "A > 1", "AND(A 4 i:1)"},
    {"greater_or_equal", "A >= 1", "AND(A 5 i:1)"},
    {"no_blanks", "A>=1", "AND(A 5 i:1)"},
    {"tabs", "A\t=\t1", "AND(A 0 i:1)"},
    {"name_with_digits_and_underscore", "X_1b = 1", "AND(X_1b 0 i:1)"},
    {"first_example", "SPEC = FIXED AND VALUE > 0", "AND(SPEC 0 t:'FIXED', AND(VALUE 4 i:0))"},
    {"second_example", "IsModified(VALUE) OR NOT LOWER < -1e20",
     "OR(IsModified(t:'VALUE'), NAND(LOWER 2 r:-1e+20))"},
    {"and_chain_in_one_node", "A = 1 AND B = 2 AND C = 3", "AND(A 0 i:1, AND(B 0 i:2), AND(C 0 i:3))"},
    {"or_chain_in_one_node", "A = 1 OR B = 2 OR C = 3", "OR(A 0 i:1, AND(B 0 i:2), AND(C 0 i:3))"},
    {"and_then_or", "A = 1 AND B = 2 OR C = 3", "OR(AND(A 0 i:1, AND(B 0 i:2)), AND(C 0 i:3))"},
    {"or_then_and_groups_from_the_left", "A = 1 OR B = 2 AND C = 3",
     "AND(OR(A 0 i:1, AND(B 0 i:2)), AND(C 0 i:3))"},
    {"parentheses_group_the_right", "A = 1 AND (B = 2 OR C = 3)", "AND(A 0 i:1, OR(B 0 i:2, AND(C 0 i:3)))"},
    {"parenthesized_single", "(A = 1)", "AND(A 0 i:1)"},
    {"double_parentheses", "((A = 1))", "AND(A 0 i:1)"},
    {"parenthesized_single_takes_the_operator", "(A = 1) OR B = 2", "OR(A 0 i:1, AND(B 0 i:2))"},
    {"parenthesized_or_extended", "(A = 1 OR B = 2) OR C = 3", "OR(A 0 i:1, AND(B 0 i:2), AND(C 0 i:3))"},
    {"parenthesized_and_then_or", "(A = 1 AND B = 2) OR C = 3", "OR(AND(A 0 i:1, AND(B 0 i:2)), AND(C 0 i:3))"},
    {"group_in_the_middle", "A = 1 OR (B = 2 AND C = 3) OR D = 4",
     "OR(A 0 i:1, AND(B 0 i:2, AND(C 0 i:3)), AND(D 0 i:4))"},
    {"not_single", "NOT A = 1", "NAND(A 0 i:1)"},
    {"not_or_group", "NOT (A = 1 OR B = 2)", "NOR(A 0 i:1, AND(B 0 i:2))"},
    {"not_and_group", "NOT (A = 1 AND B = 2)", "NAND(A 0 i:1, AND(B 0 i:2))"},
    {"not_nor_group", "NOT (NOT (A = 1 OR B = 2))", "OR(A 0 i:1, AND(B 0 i:2))"},
    {"negation_kept_before_and", "NOT A = 1 AND B = 2", "AND(NAND(A 0 i:1), AND(B 0 i:2))"},
    {"negation_kept_before_or", "NOT A = 1 OR B = 2", "OR(NAND(A 0 i:1), AND(B 0 i:2))"},
    {"negated_group_then_or", "NOT (A = 1 OR B = 2) OR C = 3", "OR(NOR(A 0 i:1, AND(B 0 i:2)), AND(C 0 i:3))"},
    {"not_after_and", "A = 1 AND NOT B = 2", "AND(A 0 i:1, NAND(B 0 i:2))"},
    {"keywords_before_parenthesis", "NOT(A = 1) AND(B = 2) OR(C = 3)",
     "OR(AND(NAND(A 0 i:1), AND(B 0 i:2)), AND(C 0 i:3))"},
    {"keyword_blanks_then_parenthesis", "A = 1 OR \t (B = 2)", "OR(A 0 i:1, AND(B 0 i:2))"},
    {"names_that_begin_like_keywords", "ANDY = 1 OR NOTE = 2 OR ORDER = 3",
     "OR(ANDY 0 i:1, AND(NOTE 0 i:2), AND(ORDER 0 i:3))"},
    {"function_without_argument", "IsFixed()", "AND(IsFixed(t:''))"},
    {"function_word_argument", "IsModified(VALUE)", "AND(IsModified(t:'VALUE'))"},
    {"function_text_argument", "IsModified('VALUE')", "AND(IsModified(t:'VALUE'))"},
    {"function_blanks_before_parenthesis", "IsFixed \t()", "AND(IsFixed(t:''))"},
    {"function_integer_argument", "F(5)", "AND(F(i:5))"},
    {"function_real_argument", "F(-2.5)", "AND(F(r:-2.5))"},
    {"function_boolean_argument", "F(FALSE)", "AND(F(b:0))"},
    {"function_glob_argument", "InAlias(B1*)", "AND(InAlias(t:'%^B1.*$'))"},
    {"function_argument_punctuation", "F(a.b-c/d:e)", "AND(F(t:'a.b-c/d:e'))"},
    {"function_named_like_a_keyword", "ANDX(1) AND NOTX()", "AND(ANDX(i:1), AND(NOTX(t:'')))"},
    {"function_negated", "NOT IsFixed()", "NAND(IsFixed(t:''))"},
    {"function_then_comparison", "IsFixed() AND VALUE > 0", "AND(IsFixed(t:''), AND(VALUE 4 i:0))"},
    {"name_then_parenthesis_is_a_function", "VALUE (1)", "AND(VALUE(i:1))"},
};

const TreeRow kLiterals[] = {
    {"integer_largest", "V = 2147483647", "AND(V 0 i:2147483647)"},
    {"integer_smallest", "V = -2147483648", "AND(V 0 i:-2147483648)"},
    {"integer_beyond_32_bits", "VALUE > 3000000000", "AND(VALUE 4 r:3000000000)"},
    {"integer_one_above", "V = 2147483648", "AND(V 0 r:2147483648)"},
    {"integer_one_below", "V = -2147483649", "AND(V 0 r:-2147483649)"},
    {"integer_plus_sign", "V = +7", "AND(V 0 i:7)"},
    {"integer_leading_zeros", "V = 007", "AND(V 0 i:7)"},
    {"integer_long_run", "V = 123456789012345678901234567890", "AND(V 0 r:1.2345678901234568e+29)"},
    {"real_point", "V = 1.5", "AND(V 0 r:1.5)"},
    {"real_leading_point", "V = .5", "AND(V 0 r:0.5)"},
    {"real_trailing_point", "V = -5.", "AND(V 0 r:-5)"},
    {"real_exponent", "V = 1e5", "AND(V 0 r:100000)"},
    {"real_signed_exponent", "V = +2.5E-3", "AND(V 0 r:0.0025000000000000001)"},
    {"real_d_exponent", "V = 1d5", "AND(V 0 r:100000)"},
    {"real_upper_d_exponent", "V = -1D-3", "AND(V 0 r:-0.001)"},
    {"real_out_of_range", "V = 1e999", "AND(V 0 r:inf)"},
    {"boolean_true", "F = TRUE", "AND(F 0 b:1)"},
    {"boolean_false", "F = FALSE", "AND(F 0 b:0)"},
    {"boolean_lower_case_is_a_word", "F = true", "AND(F 0 t:'true')"},
    {"boolean_prefix_is_a_word", "F = TRUEX", "AND(F 0 t:'TRUEX')"},
    {"text", "NAME = 'A B'", "AND(NAME 0 t:'A B')"},
    {"text_empty", "NAME = ''", "AND(NAME 0 t:'')"},
    {"text_with_line_end", "NAME = 'A\nB'", "AND(NAME 0 t:'A\nB')"},
    {"text_keeps_glob_characters", "NAME = 'B*'", "AND(NAME 0 t:'B*')"},
    {"text_keeps_double_quotes", "NAME = '\"x\"'", "AND(NAME 0 t:'\"x\"')"},
    {"glob_star", "NAME = B1.*", "AND(NAME 0 t:'%^B1\\..*$')"},
    {"glob_question_mark", "NAME = A?", "AND(NAME 0 t:'%^A.$')"},
    {"glob_alone", "NAME = *", "AND(NAME 0 t:'%^.*$')"},
    {"glob_escapes_dollar", "NAME = $X*", "AND(NAME 0 t:'%^\\$X.*$')"},
    {"word_with_punctuation", "NAME = A,B:C;D", "AND(NAME 0 t:'A,B:C;D')"},
    {"word_with_brackets_and_operators", "NAME = A[1]{2}<3>=4", "AND(NAME 0 t:'A[1]{2}<3>=4')"},
    {"word_units", "UOM = m/s", "AND(UOM 0 t:'m/s')"},
    {"word_starting_with_digits", "V = 12abc", "AND(V 0 t:'12abc')"},
    {"word_longer_than_a_real", "V = 1e5X", "AND(V 0 t:'1e5X')"},
    {"word_two_points", "V = 1.5.6", "AND(V 0 t:'1.5.6')"},
    {"word_of_one_parenthesis", "A = (", "AND(A 0 t:'(')"},
    {"word_of_one_minus", "A = -", "AND(A 0 t:'-')"},
    {"word_of_one_quote", "A = '", "AND(A 0 t:''')"},
    {"word_of_one_high_byte", "A = \xff", "AND(A 0 t:'\xff')"},
    {"word_ends_at_parenthesis", "(NAME = A)", "AND(NAME 0 t:'A')"},
    {"literal_after_blanks", "A =   \t 1", "AND(A 0 i:1)"},
};

const TreeRow kSyntaxErrors[] = {
    {"empty", "", ""},
    {"blanks_only", "  \t ", ""},
    {"name_alone", "A", ""},
    {"no_literal", "A =", ""},
    {"no_name", "= 1", ""},
    {"literal_first", "1 = A", ""},
    {"no_operator", "A 1", ""},
    {"doubled_operator", "A == 1", ""},
    {"dangling_and", "A = 1 AND", ""},
    {"leading_and", "AND A = 1", ""},
    {"missing_logic", "A = 1 B = 2", ""},
    {"doubled_logic", "A = 1 OR OR B = 2", ""},
    {"unclosed_parenthesis", "(A = 1", ""},
    {"extra_parenthesis", "A = 1)", ""},
    {"empty_parentheses", "()", ""},
    {"not_alone", "NOT", ""},
    {"not_doubled", "NOT NOT A = 1", ""},
    {"not_after_comparison", "A = 1 NOT B = 2", ""},
    {"function_without_parentheses", "IsFixed", ""},
    {"function_unclosed", "IsFixed(", ""},
    {"function_two_arguments", "IsModified(VALUE, LOWER)", ""},
    {"function_two_arguments_no_blank", "IsModified(VALUE,LOWER)", ""},
    {"function_blank_inside", "IsModified( VALUE)", ""},
    {"function_two_literals", "F(1 2)", ""},
    {"function_compared", "IsFixed() = 1", ""},
    {"double_quotes", "NAME = \"A B\"", ""},
    {"unterminated_quote", "A = 'abc", ""},
    {"point_in_name", "A.B = 1", ""},
    {"lower_case_keyword_unprocessed", "A = 1 and B = 2", ""},
    {"mixed_case_keyword", "A = 1 And B = 2", ""},
    {"high_byte_after_test", "A = 1 \xff", ""},
    {"control_character", "A = 1 \x01", ""},
    {"carriage_return", "A = 1\r", ""},
};

// Through the engine's path: keyword preprocessing first.
const TreeRow kEnginePath[] = {
    {"lower_case_and", "VALUE > 1 and LOWER < 0", "AND(VALUE 4 i:1, AND(LOWER 2 i:0))"},
    {"lower_case_or", "A = 1 or B = 2", "OR(A 0 i:1, AND(B 0 i:2))"},
    {"lower_case_not", "not A = 1", "NAND(A 0 i:1)"},
    {"upper_case_unchanged", "A = 1 AND B = 2", "AND(A 0 i:1, AND(B 0 i:2))"},
    {"and_without_blank_is_a_function", "VALUE > 1 and(LOWER < 0)", ""},
    {"and_before_tab_unchanged", "A = 1 and\tB = 2", ""},
    {"mixed_case_unchanged", "A = 1 And B = 2", ""},
    {"inside_quoted_text", "NAME = 'x and y' or B = 2", "OR(NAME 0 t:'x AND y', AND(B 0 i:2))"},
    {"inside_a_word", "NAME = band ", "AND(NAME 0 t:'bAND')"},
    {"inside_a_name", "hand = 1", "AND(hAND 0 i:1)"},
};
// clang-format on

TEST(QueryTree, GrammarRulesGroupingAndNegation) {
    for (const TreeRow &row : kGrammar) check_row(row, false);
}

TEST(QueryTree, LiteralKindsAndValues) {
    for (const TreeRow &row : kLiterals) check_row(row, false);
}

TEST(QueryTree, EverySyntaxErrorReportsParseError) {
    for (const TreeRow &row : kSyntaxErrors) check_row(row, false);
}

TEST(QueryTree, EnginePathMakesLowerCaseKeywordsWork) {
    for (const TreeRow &row : kEnginePath) check_row(row, true);
}

TEST(QueryTree, EnginePathRefusesEmptyTextWithoutParsing) {
    RecordingCallback cb;
    EXPECT_EQ(qp::parse_query_text(&cb, ""), nullptr);
    EXPECT_EQ(qp::parse_query_text(&cb, nullptr), nullptr);
    EXPECT_TRUE(cb.errors.empty());
    EXPECT_TRUE(cb.calls.empty());
}

TEST(QueryTree, PreprocessingReplacesEveryOccurrence) {
    struct Row {
        const char *text, *expected;
    };
    const Row rows[] = {
        {"a and b or c not d", "a AND b OR c NOT d"},
        {"and and and ", "AND AND AND "},
        {"nor ", "nOR "},
        {"android", "android"},
        {"AND ", "AND "},
    };
    for (const Row &row : rows) {
        char *out = qp::preprocess(row.text);
        ASSERT_NE(out, nullptr);
        EXPECT_STREQ(out, row.expected) << row.text;
        std::free(out);
    }
    EXPECT_EQ(qp::preprocess(nullptr), nullptr);
}

TEST(QueryTree, LineEndIsCopiedToStandardOutputAndSkipped) {
    RecordingCallback cb;
    testing::internal::CaptureStdout();
    IQDLQTest *root = qp::parse(&cb, "A = 1\nOR\nB =\n2");
    std::fflush(stdout);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed(root), "OR(A 0 i:1, AND(B 0 i:2))");
    EXPECT_EQ(out, "\n\n\n");
    delete root;
}

TEST(QueryTree, NullCallbackOrTextIsRefused) {
    EXPECT_EQ(qp::parse(nullptr, "A = 1"), nullptr);
    RecordingCallback cb;
    EXPECT_EQ(qp::parse(&cb, nullptr), nullptr);
    ASSERT_EQ(cb.errors.size(), 1u);
    EXPECT_EQ(cb.errors[0], "parse error");
}

// A parse that stops in the value or the argument state leaves the next one
// starting in the operator state.
TEST(QueryTree, ScannerStartsAfreshAfterAnUnfinishedParse) {
    const char *const unfinished[] = {"A =", "IsModified(VALUE", "IsModified(", "A = 'open"};
    for (const char *first : unfinished) {
        SCOPED_TRACE(first);
        RecordingCallback cb;
        EXPECT_EQ(qp::parse(&cb, first), nullptr);
        IQDLQTest *root = qp::parse(&cb, "B = 1");
        EXPECT_EQ(printed(root), "AND(B 0 i:1)");
        delete root;
    }
}

struct RefusalRow {
    const char *name;
    const char *text;
    const char *calls;  // the create calls made, "; "-separated
    const char *error;
};

// clang-format off
const RefusalRow kRefusals[] = {
    {"second_of_three", "A = 1 AND BAD = 2 AND C = 3", "test A 0 i:1; test BAD 0 i:2", "BAD is not known"},
    {"first_function", "BADF() OR A = 1", "function BADF(t:'')", "BADF is not known"},
    {"inside_parentheses", "A = 1 OR (B = 2 AND BADX = 'q') OR C = 3",
     "test A 0 i:1; test B 0 i:2; test BADX 0 t:'q'", "BADX is not known"},
    {"before_a_syntax_error", "BAD = 1 AND", "test BAD 0 i:1", "BAD is not known"},
    {"after_tests_made_then_syntax_error", "A = 1 AND B = 2 )", "test A 0 i:1; test B 0 i:2", "parse error"},
    {"negated", "NOT BAD < 1", "test BAD 2 i:1", "BAD is not known"},
};
// clang-format on

TEST(QueryTree, FirstRefusedTestStopsTheParse) {
    for (const RefusalRow &row : kRefusals) {
        SCOPED_TRACE(row.name);
        std::string calls, errors;
        calls.reserve(4096), errors.reserve(4096);
        const long before = live_heap_blocks();
        {
            RecordingCallback cb;
            IQDLQTest *root = qp::parse(&cb, row.text);
            EXPECT_EQ(root, nullptr);
            delete root;
            for (const std::string &c : cb.calls) calls += (calls.empty() ? "" : "; ") + c;
            for (const std::string &e : cb.errors) errors += (errors.empty() ? "" : "; ") + e;
        }
        EXPECT_EQ(calls, row.calls);
        EXPECT_EQ(errors, row.error);
        EXPECT_EQ(g_live_leaves, 0) << "leaves made before the refusal not deleted";
        EXPECT_EQ(live_heap_blocks(), before) << "heap blocks left behind";
        g_live_leaves = 0;
    }
}

// An engine that throws is a refusal with the parser's own message.
TEST(QueryTree, ThrowingEngineIsARefusal) {
    struct Throwing : RecordingCallback {
        IQDLQTest *CreateTest(char *, int32_t, QDLQLiteral &, char *) override {
            throw std::runtime_error("engine broke");
        }
    } cb;
    EXPECT_EQ(qp::parse(&cb, "IsFixed() AND A = 1 OR B = 2"), nullptr);
    ASSERT_EQ(cb.errors.size(), 1u);
    EXPECT_EQ(cb.errors[0], "The query engine failed while building a test");
    EXPECT_EQ(g_live_leaves, 0);
}

// A message that fills the buffer without its NUL is cut to 511 characters.
TEST(QueryTree, OverlongRefusalMessageIsCut) {
    struct Filling : RecordingCallback {
        IQDLQTest *CreateTest(char *, int32_t, QDLQLiteral &, char *error) override {
            std::memset(error, 'x', QDLQ_ERROR_BUFFER_SIZE);
            return nullptr;
        }
    } cb;
    EXPECT_EQ(qp::parse(&cb, "A = 1"), nullptr);
    ASSERT_EQ(cb.errors.size(), 1u);
    EXPECT_EQ(cb.errors[0], std::string(QDLQ_ERROR_BUFFER_SIZE - 1, 'x'));
}

// The texts handed to the engine are its to change (not to keep); the parser
// frees them afterwards either way.
TEST(QueryTree, EngineMayChangeTheTextsItIsGiven) {
    RecordingCallback cb;
    cb.upper_case_texts = true;
    IQDLQTest *root = qp::parse(&cb, "NAME = 'abc' OR F(xyz) OR G()");
    EXPECT_EQ(printed(root), "OR(NAME 0 t:'abc', AND(F(t:'xyz')), AND(G(t:'')))");
    delete root;
}

// A parse started from inside a callback is refused; the outer one goes on.
TEST(QueryTree, NestedParseIsRefused) {
    struct Nesting : RecordingCallback {
        RecordingCallback inner;
        IQDLQTest *inner_root = reinterpret_cast<IQDLQTest *>(1);
        IQDLQTest *CreateTest(char *name, int32_t op, QDLQLiteral &literal, char *error) override {
            inner_root = qp::parse(&inner, "B = 2");
            return RecordingCallback::CreateTest(name, op, literal, error);
        }
    } cb;
    IQDLQTest *root = qp::parse(&cb, "A = 1");
    EXPECT_EQ(printed(root), "AND(A 0 i:1)");
    EXPECT_EQ(cb.inner_root, nullptr);
    ASSERT_EQ(cb.inner.errors.size(), 1u);
    EXPECT_EQ(cb.inner.errors[0], "Another query is being parsed");
    EXPECT_TRUE(cb.errors.empty());
    delete root;
}

std::string nested(int depth) { return std::string(depth, '(') + "A = 1" + std::string(depth, ')'); }

TEST(QueryTree, ParserStackGrowsToItsLimit) {
    RecordingCallback cb;
    IQDLQTest *deep = qp::parse(&cb, nested(9000).c_str());
    EXPECT_EQ(printed(deep), "AND(A 0 i:1)");
    EXPECT_TRUE(cb.errors.empty());
    delete deep;
    EXPECT_EQ(qp::parse(&cb, nested(10000).c_str()), nullptr);
    ASSERT_EQ(cb.errors.size(), 1u);
    EXPECT_EQ(cb.errors[0], "parser stack overflow");
}

// A long chain keeps the stack flat and gathers in one node.
TEST(QueryTree, LongChainIsOneNode) {
    constexpr int kTerms = 100000;
    std::string text = "A = 1";
    for (int i = 1; i < kTerms; ++i) text += " OR A = 1";
    RecordingCallback cb;
    IQDLQTest *root = qp::parse(&cb, text.c_str());
    const auto *top = dynamic_cast<const QDLQCompoundTest *>(root);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->Operator(), QDLQ_OR);
    EXPECT_EQ(top->Count(), kTerms);
    EXPECT_EQ(printed(top->TestAt(kTerms - 1)), "AND(A 0 i:1)");
    delete root;
    EXPECT_EQ(g_live_leaves, 0);
}

TEST(QueryTree, ScannerAloneCountsTokens) {
    struct Row {
        const char *text;
        long tokens;
    };
    const Row rows[] = {
        {"SPEC = FIXED AND VALUE > 0", 7}, {"IsFixed ()", 3},
        {"IsModified( VALUE, LOWER)", 8},  // blanks inside a call are tokens
        {"NAME = 'a b' OR X <> A,B", 7},   {"", 0},
    };
    for (const Row &row : rows) EXPECT_EQ(qp::scan_only(row.text), row.tokens) << row.text;
}

// The scanner allocates the texts of names, words and quoted texts and
// nothing else per token: three blocks to set up, one per such token.
TEST(QueryTree, ScannerAllocatesOnlyTokenTexts) {
    struct Row {
        const char *text;
        long allocations;
    };
    const Row rows[] = {
        {"A = 1 AND B >= 2.5 OR NOT (C <> TRUE)", 3 + 3},
        {"(((1 2 3))) AND OR NOT = 1 < 2 <> -3.5e2 >= TRUE", 3 + 0},
        {"NAME = 'a b' OR F(w) OR G()", 3 + 5},
        {"", 3},
    };
    for (const Row &row : rows) {
        zarn::failalloc_set(0);
        qp::scan_only(row.text);
        EXPECT_EQ(zarn::failalloc_count(), row.allocations) << row.text;
    }
}

// Short memory anywhere (token texts, the scanner, the parser stack beyond
// 200 entries, tree nodes, glob conversion, leaves): no tree and one report,
// or, once no allocation fails, the whole tree; nothing leaks either way.
TEST(QueryTree, ShortMemoryAnywhereStopsCleanly) {
    const TreeRow rows[] = {
        {"mixed", "SPEC = FIXED AND NOT (VALUE > 0 OR IsModified(VALUE)) OR NAME = B1.*",
         "OR(AND(SPEC 0 t:'FIXED', NOR(VALUE 4 i:0, AND(IsModified(t:'VALUE')))), AND(NAME 0 "
         "t:'%^B1\\..*$'))"},
        {"deep", nullptr, "AND(A 0 i:1, AND(B 0 t:'x'))"},
    };
    const std::string deep = nested(300) + " AND B = 'x'";
    for (const TreeRow &row : rows) {
        SCOPED_TRACE(row.name);
        const char *text = row.text != nullptr ? row.text : deep.c_str();
        std::string outcome;
        const long seen = fail_each_allocation(
            [&] {
                std::string result;
                result.reserve(4096);
                const long before = live_heap_blocks();
                bool ok;
                {
                    RecordingCallback cb;
                    IQDLQTest *root = qp::parse(&cb, text);
                    if (root != nullptr) result.append(printed(root));
                    if (cb.errors.size() == 1) result.append("|" + cb.errors[0]);
                    if (cb.errors.size() > 1) result.append("|several reports");
                    delete root;
                    ok = cb.errors.empty();
                }
                const long left = live_heap_blocks() - before;
                outcome = result;
                if (left != 0) outcome += "|" + std::to_string(left) + " heap blocks left";
                return ok;
            },
            [&](long n, bool ok) {
                EXPECT_FALSE(ok) << "allocation " << n << " failed unnoticed: " << outcome;
                const bool known =
                    outcome == "|Not enough memory to parse the query" || outcome == "|no memory for a leaf";
                EXPECT_TRUE(known) << "allocation " << n << ": " << outcome;
                EXPECT_EQ(g_live_leaves, 0) << "allocation " << n;
            });
        EXPECT_GT(seen, 5);
        EXPECT_EQ(outcome, row.tree) << "no allocation failing";
    }
}

}  // namespace
