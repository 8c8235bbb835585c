// Query texts parsed into compact trees, also under short memory.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "failsweep.h"
#include "qdlvarquery/qdlvarquery_internal.h"

namespace qp = zarn::qdlvarquery;

namespace {

// An engine stand-in whose leaves print as the call that made them.
int g_live_leaves = 0;  // leaves made and not yet deleted

struct PrintedLeaf final : IQDLQTest {
    std::string text;
    explicit PrintedLeaf(std::string t) : text(t) { ++g_live_leaves; }
    ~PrintedLeaf() override { --g_live_leaves; }
    IQDLQTest *Clone() const override { return nullptr; }
    void Negate() override {}
    bool Matches() override { return true; }
    bool Select(QDLQObjectSet &) override { return false; }
};

std::string printed(const IQDLQTest *t) {
    if (const auto *leaf = dynamic_cast<const PrintedLeaf *>(t)) return leaf->text;
    static const char *const kOps[] = {"AND", "OR", "NAND", "NOR"};
    const auto *c = static_cast<const QDLQCompoundTest *>(t);
    std::string s = std::string(kOps[c->Operator() - QDLQ_AND]) + "(";
    for (int32_t i = 0; i < c->Count(); ++i) s += (i > 0 ? ", " : "") + printed(c->TestAt(i));
    return s + ")";
}

struct RecordingCallback : IQDLQueryParserCallback {
    std::string errors;  // every report, run together
    static IQDLQTest *Make(std::string what, const QDLQLiteral &l, char *error) {
        what += l.kind == QDLQLiteral::BOOLEAN   ? "b:" + std::to_string(l.boolean)
                : l.kind == QDLQLiteral::INTEGER ? "i:" + std::to_string(l.integer)
                : l.kind == QDLQLiteral::REAL    ? "r:" + std::to_string(l.real)
                                                 : "t:'" + std::string(l.text) + "'";
        auto *leaf = new PrintedLeaf(what);  // the library's allocator
        if (leaf == nullptr) std::snprintf(error, QDLQ_ERROR_BUFFER_SIZE, "no memory for a leaf");
        return leaf;
    }
    IQDLQTest *CreateTest(char *name, int32_t op, QDLQLiteral &literal, char *error) override {
        return Make(std::string(name) + " " + std::to_string(op) + " ", literal, error);
    }
    IQDLQTest *CreateFunctionTest(char *name, QDLQLiteral &literal, char *error) override {
        return Make(std::string(name) + " ", literal, error);
    }
    void ReportError(const char *message) override { errors += message; }
};

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
    {"word_then_greater", "SPEC = FIXED AND VALUE > 0", "AND(SPEC 0 t:'FIXED', AND(VALUE 4 i:0))"},
    {"and_chain_in_one_node", "A = 1 AND B = 2 AND C = 3", "AND(A 0 i:1, AND(B 0 i:2), AND(C 0 i:3))"},
    {"and_then_or", "A = 1 AND B = 2 OR C = 3", "OR(AND(A 0 i:1, AND(B 0 i:2)), AND(C 0 i:3))"},
    {"parentheses", "A = 1 AND (B = 2 OR C = 3)", "AND(A 0 i:1, OR(B 0 i:2, AND(C 0 i:3)))"},
    {"not_group", "NOT (A = 1 OR B = 2)", "NOR(A 0 i:1, AND(B 0 i:2))"},
    {"keywords_before_parenthesis", "NOT(A = 1) OR(NOTE = 2)", "OR(NAND(A 0 i:1), AND(NOTE 0 i:2))"},
    {"function_blanks_before_parenthesis", "IsFixed ()", "AND(IsFixed t:'')"},
    {"function_glob", "InAlias(B1*)", "AND(InAlias t:'%^B1.*$')"},
    {"function_blank_after_literal", "F(1 )", ""},
    {"one_character_word_ends_value", "A = # AND B = 1", "AND(A 0 t:'#', AND(B 0 i:1))"},
    {"word_starting_with_one_character_glob", "NAME = ?1", "AND(NAME 0 t:'%^.1$')"},
    {"tab_after_name", "A\t= 1", "AND(A 0 i:1)"},
    {"integer_largest", "V = 2147483647", "AND(V 0 i:2147483647)"},
    {"integer_smallest", "V = -2147483648", "AND(V 0 i:-2147483648)"},
    {"integer_beyond_32_bits", "V = +3000000000", "AND(V 0 r:3000000000.000000)"},
    {"real_d_exponent", "V = -1D-3", "AND(V 0 r:-0.001000)"},
    {"boolean_then_keyword", "F = TRUE OR G = 1", "OR(F 0 b:1, AND(G 0 i:1))"},
    {"text_keeps_glob", "NAME = 'B* C'", "AND(NAME 0 t:'B* C')"},
    {"empty", "", ""},
    {"unclosed_parenthesis", "(A = 1", ""},
    {"not_doubled", "NOT NOT A = 1", ""},
    {"function_two_arguments", "IsModified(VALUE,LOWER)", ""},
    {"lower_case_keyword", "A = 1 and B = 2", ""},
    {"high_byte", "A = 1 \xff", ""},
};

// Through the engine's path: lower-case keywords before a blank become keywords.
// "or" without a blank after it stays as it is.
const Row kEnginePath = {"lower_case_keywords", "not A = 1 or B = 2 and C = color",
                         "AND(OR(NAND(A 0 i:1), AND(B 0 i:2)), AND(C 0 t:'color'))"};
// clang-format on

TEST(QueryParse, Trees) {
    for (const Row &row : kQueries) check(row, false);
    check(kEnginePath, true);
}

// The scanner alone, the benchmark's baseline, counts the tokens; short of
// memory it has no count.
TEST(QueryParse, ScannerAloneCountsTokens) {
    long tokens = 0;
    zarn::test::fail_each_allocation(
        [&] {
            tokens = qp::scan_only("SPEC = FIXED AND F(x*)");
            return tokens == 8;
        },
        [&](long n, bool) { EXPECT_EQ(tokens, -1) << "allocation " << n; });
    EXPECT_EQ(tokens, 8);
}

// A text of `length` letters and its NUL, for the cost of a few megabytes: one block of letters mapped
// again and again, then a zero-filled block. Empty when the system refuses.
class LongText {
  public:
    explicit LongText(size_t length) : bytes_(length + kBlock) {
        const int fd = ::memfd_create("long_query", 0);
        void *area = ::mmap(nullptr, bytes_, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (fd < 0 || area == MAP_FAILED || length % kBlock != 0 || ::ftruncate(fd, kBlock) != 0) return;
        area_ = static_cast<char *>(area);
        void *letters = ::mmap(nullptr, kBlock, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (letters == MAP_FAILED) return;
        std::memset(letters, 'A', kBlock);
        ::munmap(letters, kBlock);
        for (size_t at = 0; at < length; at += kBlock)
            if (::mmap(area_ + at, kBlock, PROT_READ, MAP_SHARED | MAP_FIXED, fd, 0) == MAP_FAILED) return;
        ::close(fd);
        if (::mmap(area_ + length, kBlock, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) !=
            MAP_FAILED)
            text_ = area_;
    }
    ~LongText() {
        if (area_ != nullptr) ::munmap(area_, bytes_);
    }
    const char *text() const { return text_; }

  private:
    static constexpr size_t kBlock = size_t{2} << 20;
    size_t bytes_;
    char *area_ = nullptr;
    const char *text_ = nullptr;
};

// A text of 2^30 characters, one more than a query may have: refused before it is copied.
TEST(QueryParse, ATextOverTheLimitIsRefused) {
    const LongText longest(size_t{INT_MAX} / 2 + 1);
    ASSERT_NE(longest.text(), nullptr) << "the system gave no room for the text";
    RecordingCallback cb;
    EXPECT_EQ(qp::parse(&cb, longest.text()), nullptr);
    EXPECT_EQ(cb.errors, "The query text is too long");
    EXPECT_EQ(qp::scan_only(longest.text()), -1) << "the scanner alone";
}

// A parse started while one runs is refused; the running one goes on.
struct ReentrantCallback : RecordingCallback {
    IQDLQTest *inner = nullptr;
    IQDLQTest *CreateTest(char *name, int32_t op, QDLQLiteral &literal, char *error) override {
        inner = qp::parse(this, "B = 2");
        return RecordingCallback::CreateTest(name, op, literal, error);
    }
};

TEST(QueryParse, ParseFromACallbackIsRefused) {
    ReentrantCallback cb;
    IQDLQTest *root = qp::parse(&cb, "A = 1");
    EXPECT_EQ(cb.inner, nullptr) << "the inner parse made a tree";
    EXPECT_EQ(cb.errors, "Another query is being parsed");
    EXPECT_EQ(root != nullptr ? printed(root) : "", "AND(A 0 i:1)");
    delete root;
    delete cb.inner;
    g_live_leaves = 0;
}

std::string nested(int depth) { return std::string(depth, '(') + "A = 1" + std::string(depth, ')'); }

TEST(QueryParse, ParserStackLimit) {
    RecordingCallback cb;
    EXPECT_EQ(qp::parse(&cb, nested(10000).c_str()), nullptr);
    EXPECT_EQ(cb.errors, "parser stack overflow");
}

// Each allocation failing in turn: one report and no leaf left; then the tree.
TEST(QueryParse, ShortMemoryAnywhere) {
    const std::string text =
        nested(250) + " OR NOT (F(x*) AND B = 'q') AND C = 1 AND D = 2 AND E = 3 AND G = 4";
    std::string outcome;
    zarn::test::fail_each_allocation(
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
    EXPECT_EQ(outcome,
              "AND(OR(A 0 i:1, NAND(F t:'%^x.*$', AND(B 0 t:'q'))), AND(C 0 i:1), AND(D 0 i:2), "
              "AND(E 0 i:3), AND(G 0 i:4))");
}

}  // namespace
