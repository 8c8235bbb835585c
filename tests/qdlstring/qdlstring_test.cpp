// Owned texts: copies, ownership, short memory; the natural and byte-wise
// orders on corner cases and against a reference on random texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "capture.h"
#include "platform/xalloc.h"
#include "zarnutils/qdlstring.hpp"

namespace {

std::string shown(const QDLString &s) { return s.IsNull() ? "<null>" : static_cast<const char *>(s); }

TEST(QDLString, CopiesAndOwnership) {
    QDLString a("abcdef");
    QDLString b(a);
    EXPECT_TRUE(b.Copy(b, 3));  // from its own text
    a.Attach(b);
    EXPECT_EQ(shown(a), "abc");
    EXPECT_TRUE(b.IsNull()) << "attached from";
    a.Detach(a);
    EXPECT_EQ(shown(a), "abc") << "handing the text to itself";
    b.Attach(QDLString::s_StringCopy("xyz", 2));
    a.Detach(b);  // frees b's own text
    EXPECT_EQ(shown(b), "abc");
    EXPECT_TRUE(a.IsNull()) << "detached into another";
    a.Attach(QDLString::s_NewString(3, 'z'));
    EXPECT_EQ(shown(a), "zzz");
    char *given = b.Detach();
    EXPECT_EQ(std::string(given), "abc");
    std::free(given);
    b.Attach(QDLString::s_StringCopy("xyz", 2));
    EXPECT_EQ(shown(b), "xy");
    zarn::test::HistoryCapture history;
    EXPECT_EQ(QDLString::s_NewString(SIZE_MAX, 'x'), nullptr);
    zarn::failalloc_set(1, true);
    EXPECT_EQ(QDLString::s_NewString(4, 'x'), nullptr);
    EXPECT_FALSE(a.Copy("new text", 0));
    zarn::failalloc_set(0);
    EXPECT_EQ(shown(a), "zzz") << "short memory";
    EXPECT_EQ(history.text(),
              "!!QDLString: Unable to allocate memory for a text of 18446744073709551615 characters\n"
              "!!QDLString: Unable to allocate memory for a text of 4 characters\n"
              "!!QDLString: Unable to allocate memory for a text of 8 characters\n");
}

struct Diff {
    const char *name;
    const char *a, *b;
    int result;
    size_t position;  // where it was decided in a
};

// clang-format off
const Diff kDiffs[] = {
    {"digit_by_digit", "X10", "X2", '1' - '2', 1},
    {"first_character", "b", "a", 'b' - 'a', 0},
    {"both_missing", nullptr, nullptr, 0, 0},
    {"first_missing_sorts_first", nullptr, "A", -1, 0},
};
// clang-format on

TEST(QDLStringOrder, ByteWiseAndCompare) {
    for (const Diff &d : kDiffs) {
        size_t position = 99;
        const int result = QDLString::s_AlphabeticDiff(d.a, d.b, &position);
        EXPECT_EQ(result, d.result) << d.name;
        EXPECT_EQ(position, d.position) << d.name;
    }
    const QDLString x2("X2");
    EXPECT_EQ(x2.Compare("X'", true), 1) << "a digit after a quote";
    EXPECT_GT(x2.Compare("X10", false), 0);
    EXPECT_FALSE(x2 < "X2") << "a text before itself";
    const QDLString x10("X10"), none;
    EXPECT_EQ(x2.Length(), 2u) << "the length of X2";
    EXPECT_EQ(none.Length(), 0u) << "the length of a null string";
    EXPECT_TRUE(x2 == QDLString("X2")) << "two strings of one text";
    EXPECT_FALSE(x2 == x10) << "X2 against X10";
    EXPECT_TRUE(x10 < x2) << "byte order puts X10 before X2";
    EXPECT_FALSE(x2 < x10) << "and X2 not before X10";
}

// The reference cuts each text into tokens (a whole digit run, or one other
// character) and compares token by token, numbers as digit strings.
std::vector<std::string> tokens_of(const std::string &s) {
    std::vector<std::string> t;
    for (size_t i = 0, j; i < s.size(); i = j) {
        for (j = i + 1; std::isdigit(s[i]) && j < s.size() && std::isdigit(s[j]);) ++j;
        t.push_back(s.substr(i, j - i));
    }
    return t;
}

int sign(long v) { return (v > 0) - (v < 0); }
bool run(const std::vector<std::string> &t, size_t k) { return k < t.size() && std::isdigit(t[k][0]); }
bool digit_goes_after(const std::vector<std::string> &t, size_t k) {
    return k >= t.size() || t[k] == "\"" || t[k] == "'" || (t[k] == "-" && run(t, k + 1));
}
std::string without_zeros(const std::string &s) {
    return s.substr(std::min(s.find_first_not_of('0'), s.size()));
}

int reference(const std::string &a, const std::string &b) {
    const std::vector<std::string> ta = tokens_of(a), tb = tokens_of(b);
    for (size_t k = 0;; ++k) {
        if (k == ta.size() || k == tb.size()) return sign(long(ta.size() - k) - long(tb.size() - k));
        if (run(ta, k) && run(tb, k)) {
            const std::string x = without_zeros(ta[k]), y = without_zeros(tb[k]);
            int s = x.size() != y.size() ? sign(long(x.size()) - long(y.size())) : sign(x.compare(y));
            if (k > 0 && ta[k - 1] == "-") s = -s;
            if (s == 0) s = sign(long(ta[k].size()) - long(tb[k].size()));
            if (s != 0) return s;
        } else if (run(ta, k) || run(tb, k)) {
            return run(ta, k) == digit_goes_after(run(ta, k) ? tb : ta, k) ? 1 : -1;
        } else if (ta[k] != tb[k]) {
            return sign(static_cast<unsigned char>(ta[k][0]) - static_cast<unsigned char>(tb[k][0]));
        }
    }
}

// Letters, digit runs (many zeros, now and then very long), minus signs, quotes.
std::string random_text(unsigned &seed) {
    auto next = [&seed](unsigned bound) { return (seed = seed * 1103515245u + 12345u) / 65536u % bound; };
    std::string s;
    for (unsigned parts = next(6); parts > 0; --parts) {
        const unsigned kind = next(10);
        if (kind < 4) s += "aAbz"[next(4)];
        for (unsigned n = next(12) == 0 ? 20 + next(30) : 1 + next(3); kind >= 4 && kind < 8 && n > 0; --n)
            s += "0369"[next(4)];
        if (kind >= 8) s += "-'\"-"[next(4)];
    }
    return s;
}

// Natural order: the result and where it was decided in a.
// clang-format off
const Diff kNaturalDiffs[] = {
    {"run_smaller_number", "a10b2", "a10b10", 2 - 10, 4},
    {"equal_numbers_fewer_digits_first", "A7", "A007", 1 - 3, 1},
    {"run_after_minus_reversed", "x-5", "x-10", 10 - 5, 2},
    {"digit_before_plain_letter", "a1", "ab", -1, 1},
};
// clang-format on

TEST(QDLStringOrder, NaturalResultAndPosition) {
    for (const Diff &d : kNaturalDiffs) {
        size_t position = 99;
        const int result = QDLString::s_AlphaNumericDiff(d.a, d.b, &position);
        EXPECT_EQ(result, d.result) << d.name;
        EXPECT_EQ(position, d.position) << d.name;
    }
}

TEST(QDLStringOrder, NaturalAgreesWithReference) {
    unsigned seed = 2024;
    for (int i = 0; i < 50000; ++i) {
        const std::string a = random_text(seed);
        const std::string b = i % 2 ? random_text(seed) : a.substr(0, a.size() / 2) + random_text(seed);
        ASSERT_EQ(sign(QDLString::s_AlphaNumericDiff(a.c_str(), b.c_str())), reference(a, b))
            << a << " | " << b;
    }
}

}  // namespace
