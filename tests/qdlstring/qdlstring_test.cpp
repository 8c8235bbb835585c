// Owned texts: copies, ownership transfer, null and empty strings, short
// memory; the byte-wise and natural orders on tables of corner cases and
// against a brute-force reference on random texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "capture.h"
#include "platform/xalloc.h"
#include "zarnutils/qdlstring.hpp"

using zarn::test::HistoryCapture;

namespace {

std::string shown(const QDLString &s) {
    return s.IsNull() ? "<null>" : std::string(static_cast<const char *>(s));
}

TEST(QDLString, NullEmptyAndLength) {
    struct Row {
        const char *name;
        QDLString s;
        bool null, empty;
        size_t length;
    };
    Row rows[] = {
        {"default", QDLString(), true, true, 0},
        {"from_null", QDLString(static_cast<const char *>(nullptr)), true, true, 0},
        {"from_empty", QDLString(""), false, true, 0},
        {"from_text", QDLString("abc"), false, false, 3},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.s.IsNull(), row.null);
        EXPECT_EQ(row.s.IsEmpty(), row.empty);
        EXPECT_EQ(row.s.Length(), row.length);
        EXPECT_EQ(static_cast<const char *>(row.s) == nullptr, row.null);
    }
}

TEST(QDLString, CopiesOwnTheirText) {
    char text[] = "abc";
    QDLString a(text);
    text[0] = 'x';
    EXPECT_EQ(shown(a), "abc");
    QDLString b(a);
    EXPECT_NE(static_cast<const char *>(b), static_cast<const char *>(a));
    EXPECT_EQ(shown(b), "abc");
    QDLString c;
    c = "def";
    EXPECT_EQ(shown(c), "def");
    c = a;
    EXPECT_EQ(shown(c), "abc");
    EXPECT_NE(static_cast<const char *>(c), static_cast<const char *>(a));
    c = static_cast<const char *>(nullptr);
    EXPECT_TRUE(c.IsNull());
    EXPECT_TRUE(c.CopyContentsFrom(b));
    EXPECT_EQ(shown(c), "abc");
    EXPECT_TRUE(c.CopyContentsFrom(QDLString()));
    EXPECT_TRUE(c.IsNull());
}

TEST(QDLString, AssignmentFromItselfKeepsTheText) {
    QDLString a("keep");
    const QDLString &same = a;
    a = same;
    EXPECT_EQ(shown(a), "keep");
    a = static_cast<const char *>(a);  // its own text
    EXPECT_EQ(shown(a), "keep");
    EXPECT_TRUE(a.Copy(static_cast<const char *>(a) + 1, 2));
    EXPECT_EQ(shown(a), "ee");
}

TEST(QDLString, CopyOfThePrefix) {
    struct Row {
        const char *text;
        size_t n;
        const char *expected;
    };
    const Row rows[] = {
        {"abcdef", 0, "abcdef"}, {"abcdef", 3, "abc"}, {"abcdef", 6, "abcdef"},
        {"abc", 10, "abc"},      {"", 0, ""},          {nullptr, 3, "<null>"},
    };
    for (const Row &row : rows) {
        QDLString s("old");
        EXPECT_TRUE(s.Copy(row.text, row.n));
        EXPECT_EQ(shown(s), row.expected) << (row.text ? row.text : "null") << " n=" << row.n;
        char *raw = QDLString::s_StringCopy(row.text, row.n);
        EXPECT_EQ(raw == nullptr ? std::string("<null>") : std::string(raw), row.expected);
        std::free(raw);
    }
}

TEST(QDLString, AttachAndDetachMoveOwnership) {
    QDLString a("first"), b("second");
    a.Attach(b);
    EXPECT_EQ(shown(a), "second");
    EXPECT_TRUE(b.IsNull());
    a.Attach(a);
    EXPECT_EQ(shown(a), "second");

    char *heap = QDLString::s_StringCopy("heap", 0);
    a.Attach(heap);
    EXPECT_EQ(static_cast<const char *>(a), heap);
    a.Attach(heap);  // its own text again: kept, not freed
    EXPECT_EQ(shown(a), "heap");

    char *out = a.Detach();
    EXPECT_EQ(out, heap);
    EXPECT_TRUE(a.IsNull());
    std::free(out);
    EXPECT_EQ(a.Detach(), nullptr);

    QDLString c("mine"), d("theirs");
    c.Detach(d);
    EXPECT_TRUE(c.IsNull());
    EXPECT_EQ(shown(d), "mine");
    d.Detach(d);
    EXPECT_EQ(shown(d), "mine");

    QDLString e("e"), f;
    e.swap(f);
    EXPECT_TRUE(e.IsNull());
    EXPECT_EQ(shown(f), "e");
    f.Clear();
    EXPECT_TRUE(f.IsNull());
}

TEST(QDLString, NewStringOfRepeatedCharacters) {
    char *s = QDLString::s_NewString(4, 'z');
    ASSERT_NE(s, nullptr);
    EXPECT_STREQ(s, "zzzz");
    std::free(s);
    s = QDLString::s_NewString(0, 'z');
    ASSERT_NE(s, nullptr);
    EXPECT_STREQ(s, "");
    std::free(s);
}

TEST(QDLString, ShortMemoryKeepsTheOldTextAndSaysSo) {
    HistoryCapture history;
    QDLString s("old");
    zarn::failalloc_set(1);
    EXPECT_FALSE(s.Copy("new text", 0));
    zarn::failalloc_set(1);
    s = "other";
    zarn::failalloc_set(1);
    char *n = QDLString::s_NewString(5, 'x');
    zarn::failalloc_set(1);
    QDLString t("lost");
    zarn::failalloc_set(0);
    EXPECT_EQ(shown(s), "old");
    EXPECT_EQ(n, nullptr);
    EXPECT_TRUE(t.IsNull());
    EXPECT_EQ(history.text(),
              "!!QDLString: Unable to allocate memory for a text of 8 characters\n"
              "!!QDLString: Unable to allocate memory for a text of 5 characters\n"
              "!!QDLString: Unable to allocate memory for a text of 5 characters\n"
              "!!QDLString: Unable to allocate memory for a text of 4 characters\n");
    EXPECT_EQ(QDLString::s_NewString(SIZE_MAX, 'x'), nullptr);
}

struct DiffRow {
    const char *name;
    const char *a, *b;
    int result;       // exact
    size_t position;  // offset in a where it was decided
};

// clang-format off
const DiffRow kAlphabetic[] = {
    {"equal", "abc", "abc", 0, 3},
    {"first_differs", "X10", "X2", '1' - '2', 1},
    {"a_shorter", "ab", "abc", -'c', 2},
    {"b_shorter", "abc", "ab", 'c', 2},
    {"case_is_a_byte_difference", "a", "B", 'a' - 'B', 0},
    {"high_byte_after_ascii", "\xff", "a", 0xff - 'a', 0},
    {"empty_equal", "", "", 0, 0},
    {"null_both", nullptr, nullptr, 0, 0},
    {"null_a", nullptr, "", -1, 0},
    {"null_b", "x", nullptr, 1, 0},
};

const DiffRow kNatural[] = {
    {"equal", "a12b", "a12b", 0, 4},
    {"numbers_not_bytes", "X2", "X10", 2 - 10, 1},
    {"numbers_reversed", "X10", "X2", 10 - 2, 1},
    {"fewer_digits_first", "A7", "A007", 1 - 3, 1},
    {"more_digits_after", "A007", "A7", 3 - 1, 1},
    {"after_equal_runs", "a10b", "a010c", -1, 1},
    {"scanning_goes_on_after_runs", "a10b", "a10c", 'b' - 'c', 3},
    {"runs_of_different_length_same_number", "x0010y", "x10y", 2, 1},
    {"negative_run_reversed", "x-5", "x-3", 3 - 5, 2},
    {"negative_run_at_start", "-15", "-2", 2 - 15, 1},
    {"minus_in_b_only_counts_for_a", "x5", "x3", 5 - 3, 1},
    {"letters_through_bytes", "ab", "aC", 'b' - 'C', 1},
    {"a_at_end", "ab", "ab1", -'1', 2},
    {"a_at_end_before_letter", "ab", "abc", -'c', 2},
    {"b_at_end", "ab1", "ab", 1, 2},
    {"b_at_end_letter", "abc", "ab", 'c', 2},
    {"digit_against_letter", "a1", "ab", -1, 1},
    {"digit_against_double_quote", "a1", "a\"", 1, 1},
    {"digit_against_single_quote", "a1", "a'", 1, 1},
    {"digit_against_minus_number", "a1", "a-2", 1, 1},
    {"digit_against_minus_letter", "a1", "a-b", -1, 1},
    {"letter_against_digit", "ab", "a1", 1, 1},
    {"double_quote_against_digit", "a\"", "a1", -1, 1},
    {"single_quote_against_digit", "a'", "a1", -1, 1},
    {"minus_number_against_digit", "a-2", "a1", -1, 1},
    {"minus_letter_against_digit", "a-b", "a1", 1, 1},
    {"long_runs_bigger", "n123456789012345678901234567890", "n123456789012345678901234567889", INT_MAX, 1},
    {"long_runs_smaller", "n99999999999999999999", "n100000000000000000000", -INT_MAX, 1},
    {"long_equal_runs_leading_zeros", "n0000000000000000000000001", "n1", 24, 1},
    {"difference_beyond_int", "n9000000000", "n1", INT_MAX, 1},
    {"null_both", nullptr, nullptr, 0, 0},
    {"null_a", nullptr, "1", -1, 0},
    {"null_b", "1", nullptr, 1, 0},
};
// clang-format on

// The row's texts in storage of their own (equal literals may share one address).
struct Texts {
    std::string a, b;
    const char *pa, *pb;
    explicit Texts(const DiffRow &row)
        : a(row.a ? row.a : ""),
          b(row.b ? row.b : ""),
          pa(row.a ? a.c_str() : nullptr),
          pb(row.b ? b.c_str() : nullptr) {}
};

TEST(QDLStringOrder, ByteWise) {
    for (const DiffRow &row : kAlphabetic) {
        SCOPED_TRACE(row.name);
        const Texts t(row);
        size_t position = 99;
        EXPECT_EQ(QDLString::s_AlphabeticDiff(t.pa, t.pb, &position), row.result);
        EXPECT_EQ(position, row.position);
        EXPECT_EQ(QDLString::s_AlphabeticDiff(t.pa, t.pb), row.result);
    }
}

TEST(QDLStringOrder, Natural) {
    for (const DiffRow &row : kNatural) {
        SCOPED_TRACE(row.name);
        const Texts t(row);
        size_t position = 99;
        EXPECT_EQ(QDLString::s_AlphaNumericDiff(t.pa, t.pb, &position), row.result);
        EXPECT_EQ(position, row.position);
    }
}

// One text against itself is equal at once, decided at offset 0.
TEST(QDLStringOrder, SamePointerIsEqual) {
    const char *same = "a10";
    size_t position = 99;
    EXPECT_EQ(QDLString::s_AlphaNumericDiff(same, same, &position), 0);
    EXPECT_EQ(position, 0u);
    position = 99;
    EXPECT_EQ(QDLString::s_AlphabeticDiff(same, same, &position), 0);
    EXPECT_EQ(position, 0u);
}

TEST(QDLStringOrder, OperatorsAndCompare) {
    const QDLString x2("X2"), x10("X10"), null;
    EXPECT_TRUE(x10 < x2);  // byte order
    EXPECT_FALSE(x2 < x10);
    EXPECT_TRUE(x10 < "X2");
    EXPECT_TRUE(x2 == "X2");
    EXPECT_TRUE(x2 == QDLString("X2"));
    EXPECT_FALSE(x2 == x10);
    EXPECT_TRUE(null == QDLString());
    EXPECT_TRUE(null < "");
    EXPECT_FALSE(null == "");
    EXPECT_LT(x2.Compare("X10", true), 0);   // natural: X2 first
    EXPECT_GT(x2.Compare("X10", false), 0);  // bytes: X10 first
    EXPECT_LT(null.Compare("a", true), 0);
}

TEST(QDLStringOrder, CollationKeepsEveryByte) {
    for (int c = 0; c < 256; ++c) EXPECT_EQ(QDLString::s_NormaliseChar(c), c) << c;
}

// A reference written from the rules alone: each text cut into tokens (a whole
// run of digits, or one other character), compared token by token; numbers as
// digit strings, so that runs of any length compare exactly.
struct Token {
    bool digits;
    std::string text;
    size_t offset;
};

std::vector<Token> tokens_of(const std::string &s) {
    std::vector<Token> t;
    for (size_t i = 0; i < s.size();) {
        size_t j = i + 1;
        const bool d = std::isdigit(static_cast<unsigned char>(s[i])) != 0;
        if (d)
            while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
        t.push_back({d, s.substr(i, j - i), i});
        i = j;
    }
    return t;
}

int sign(long long v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

int number_sign(std::string a, std::string b) {
    a.erase(0, std::min(a.find_first_not_of('0'), a.size()));
    b.erase(0, std::min(b.find_first_not_of('0'), b.size()));
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return sign(a.compare(b));
}

// A digit's side against a token that is not a digit run (null: the end).
bool starts_number(const std::vector<Token> &t, size_t k) {
    return k + 1 < t.size() && t[k].text == "-" && t[k + 1].digits;
}
bool digit_after(const std::vector<Token> &t, size_t k) {
    return k >= t.size() || t[k].text == "\"" || t[k].text == "'" || starts_number(t, k);
}

int reference(const std::string &a, const std::string &b, size_t *position) {
    const std::vector<Token> ta = tokens_of(a), tb = tokens_of(b);
    for (size_t k = 0;; ++k) {
        if (k == ta.size()) {
            *position = a.size();
            return k == tb.size() ? 0 : -1;
        }
        *position = ta[k].offset;
        const bool da = ta[k].digits, db = k < tb.size() && tb[k].digits;
        if (k == tb.size()) return 1;
        if (da && db) {
            const bool negative = k > 0 && ta[k - 1].text == "-";
            int s = number_sign(ta[k].text, tb[k].text);
            if (negative) s = -s;
            if (s == 0)
                s = sign(static_cast<long long>(ta[k].text.size()) -
                         static_cast<long long>(tb[k].text.size()));
            if (s != 0) return s;
        } else if (da) {
            return digit_after(tb, k) ? 1 : -1;
        } else if (db) {
            return digit_after(ta, k) ? -1 : 1;
        } else {
            const int s =
                sign(static_cast<unsigned char>(ta[k].text[0]) - static_cast<unsigned char>(tb[k].text[0]));
            if (s != 0) return s;
        }
    }
}

struct Rng {
    uint64_t state;
    unsigned operator()(unsigned bound) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<unsigned>((state >> 33) % bound);
    }
};

// Letters, digit runs (leading zeros, now and then very long), minus signs and quotes.
std::string random_text(Rng &rng) {
    std::string s;
    const unsigned parts = rng(6);
    for (unsigned p = 0; p < parts; ++p) {
        const unsigned kind = rng(10);
        if (kind < 4) {
            s += "aAbz"[rng(4)];
        } else if (kind < 8) {
            const unsigned len = rng(12) == 0 ? 20 + rng(30) : 1 + rng(3);
            for (unsigned i = 0; i < len; ++i) s += static_cast<char>('0' + (rng(3) == 0 ? 0 : rng(10)));
        } else if (kind == 8) {
            s += '-';
        } else {
            s += "'\""[rng(2)];
        }
    }
    return s;
}

// b is often a small change of a, so that long common prefixes are compared.
std::string variant_of(Rng &rng, const std::string &a) {
    std::string b = a;
    if (b.empty() || rng(4) == 0) return random_text(rng);
    const size_t at = rng(static_cast<unsigned>(b.size()));
    switch (rng(4)) {
        case 0:
            b.insert(at, 1, '0');
            break;
        case 1:
            b[at] = static_cast<char>('0' + rng(10));
            break;
        case 2:
            b.erase(at, 1);
            break;
        default:
            b += random_text(rng);
            break;
    }
    return b;
}

TEST(QDLStringOrder, NaturalAgreesWithReferenceOnRandomTexts) {
    Rng rng{20240601};
    int differing = 0;
    for (int i = 0; i < 50000; ++i) {
        const std::string a = random_text(rng);
        const std::string b = variant_of(rng, a);
        size_t expected_position = 0, position = 0;
        const int expected = reference(a, b, &expected_position);
        const int got = QDLString::s_AlphaNumericDiff(a.c_str(), b.c_str(), &position);
        ASSERT_EQ(sign(got), expected) << "a=\"" << a << "\" b=\"" << b << "\"";
        ASSERT_EQ(position, expected_position) << "a=\"" << a << "\" b=\"" << b << "\"";
        differing += expected != 0;
    }
    EXPECT_GT(differing, 40000);
}

TEST(QDLStringOrder, ByteWiseAgreesWithStringCompareOnRandomTexts) {
    Rng rng{77};
    for (int i = 0; i < 20000; ++i) {
        const std::string a = random_text(rng);
        const std::string b = variant_of(rng, a);
        size_t position = 0;
        const int got = QDLString::s_AlphabeticDiff(a.c_str(), b.c_str(), &position);
        const size_t mismatch = std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin();
        ASSERT_EQ(sign(got), sign(a.compare(b))) << "a=\"" << a << "\" b=\"" << b << "\"";
        ASSERT_EQ(position, mismatch) << "a=\"" << a << "\" b=\"" << b << "\"";
    }
}

}  // namespace
