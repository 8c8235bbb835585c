// The SLATEC-style sorts against std::sort (the carried vector compared as pairs, since the quicksort is not
// stable), and the fixed-length text routines over a table of fields, blank and full ones included.
#include <algorithm>
#include <random>

#include "numutil/numutil_internal.h"
#include "numutil_fixture.h"

namespace {

using namespace zarn::test;

S applied(void (*fn)(char *, size_t), S f) {
    fn(f.data(), f.size());
    return f;
}

// Sizes around the insertion-sort cut, six shapes (random, all equal, few values, sorted, reversed, extreme
// keys), kflag +-1, +-2.
template <class K>
void against_std_sort(void (*sortfn)(K *, K *, const int64_t *, const int64_t *), std::vector<K> extremes) {
    std::mt19937_64 rng(99);
    for (int64_t n : {1, 2, 3, 12, 13, 50, 1000, 100000})
        for (int shape = 0; shape < 6; ++shape)
            for (int64_t kflag : {1, -1, 2, -2}) {
                std::vector<K> x(n), y(n), want(n);
                for (int64_t i = 0; i < n; ++i) {
                    x[i] = shape == 5 ? extremes[rng() % extremes.size()]
                           : shape == 1
                               ? K(42)
                               : static_cast<K>(int64_t(rng() % (shape == 2 ? 7 : 2000001)) - 1000) / K(7);
                    y[i] = K(i);
                }
                if (shape == 3) std::sort(x.begin(), x.end());
                if (shape == 4) std::sort(x.rbegin(), x.rend());
                std::vector<std::pair<K, K>> before, after;
                for (int64_t i = 0; i < n; ++i) {
                    before.emplace_back(x[i], y[i]);
                    want[i] = x[i];
                }
                sortfn(x.data(), y.data(), &n, &kflag);
                if (kflag > 0) {
                    std::sort(want.begin(), want.end());
                } else {
                    std::sort(want.rbegin(), want.rend());
                }
                ASSERT_EQ(x, want) << n << " " << shape << " " << kflag;
                for (int64_t i = 0; i < n; ++i) {
                    if (kflag % 2) {
                        ASSERT_EQ(y[i], before[i].second)
                            << "|kflag| 1 leaves dy alone: " << n << " " << shape;
                    }
                    after.emplace_back(x[i], y[i]);
                }
                if (kflag % 2) continue;
                std::sort(before.begin(), before.end());
                std::sort(after.begin(), after.end());
                ASSERT_EQ(after, before) << "dy follows dx: " << n << " " << shape;
            }
}

TEST(Sort, DsortAndIsortMatchStdSort) {
    HistoryCapture his;
    against_std_sort<double>(SLATEC_DSORT, {3.0, -0.0, 1e300, -1e300, 2.5});
    against_std_sort<int64_t>(SLATEC_ISORT, {0, INT64_MIN, 5, INT64_MAX, -1});
    EXPECT_EQ(his.text(), "");
}

// Equal keys come out in the order the splits leave them, not in their first
// order: the largest residuals list ties in it.
TEST(Sort, EqualKeysCarryValuesInTheSplitsOrder) {
    const struct {
        const char *what;
        std::vector<double> keys;
        int64_t kflag;
        std::vector<double> carried;
    } rows[] = {
        // The first split at the second key: the second and fourth trade places.
        {"five equal keys, descending", {0, 0, 0, 0, 0}, -2, {1, 4, 3, 2, 5}},
        // The median of three swaps once, or twice, and splits at the larger key.
        {"a larger key before a smaller one and two equal", {1, 0, 1, 1}, 2, {2, 3, 1, 4}},
        {"three equal keys before a smaller one", {1, 1, 1, 0}, 2, {4, 3, 1, 2}},
    };
    for (const auto &row : rows) {
        std::vector<double> keys = row.keys, carried;
        for (size_t k = 1; k <= keys.size(); ++k) carried.push_back(static_cast<double>(k));
        const auto n = static_cast<int64_t>(keys.size());
        SLATEC_DSORT(keys.data(), carried.data(), &n, &row.kflag);
        EXPECT_EQ(carried, row.carried) << row.what;
    }
}

TEST(FixedText, InPlaceRoutinesLengthsJustificationAndClearScreen) {
    int64_t n = -1;
    const struct {
        void (*fn)(char *, size_t);
        S before, after;
    } inPlace[] = {
        {IU_STRUPR, "azAZ09 @[`{~", "AZAZ09 @[`{~"},
        {IU_STRUPR, S("a\0b\xe9z", 5), S("A\0B\xe9Z", 5)},
        {IU_STRLWR, "AZaz09 @[`{~", "azaz09 @[`{~"},
        {IU_STRLWR, "FULLFIELD", "fullfield"},
        {IU_CLRSTR, S("a\0c", 3), "   "},
        {IU_PACKSTR, " a b ", "ab   "},
        {IU_PACKSTR, "abc", "abc"},
        {IU_PACKSTR, "     ", "     "},
        {IU_PACKSTR, S("\0x \0y", 5), "xy   "},
        {IU_PACKSTR, "  z", "z  "},
    };
    for (const auto &row : inPlace) EXPECT_EQ(applied(row.fn, row.before), row.after) << row.before;
    for (const auto &[field, len] : {std::pair<S, int64_t>{"", 0},
                                     {"     ", 0},
                                     {"abc  ", 3},
                                     {"abcde", 5},
                                     {S("ab\0\0 ", 5), 2},
                                     {S(" a \0", 4), 2}})
        EXPECT_EQ((IU_STRLEN(&n, field.data(), field.size()), n), len) << field;
    const auto justified = [](S f) {
        const char w = char('0' + zarn::numutil::left_justify(f.data(), f.size()));
        return w + f;
    };
    for (const auto &[before, after] :
         {std::pair<S, S>{"   ab cd", "2ab cd   "}, {"abc", "3abc"}, {"  ", "0  "}, {" x", "1x "}})
        EXPECT_EQ(justified(before), after);
    EXPECT_EQ(justified(""), "0");
    const S shown = [] {
        StdoutCapture out;
        IU_CLRSCR();
        return out.text();
    }();
    EXPECT_EQ(shown, "\x1b[H\x1b[2J");
}

// Concatenation; copies into an 8-byte field (lengths beyond a field are cut to it); words to text and back.
TEST(FixedText, ConcatenationCopiesAndPackedValues) {
    const struct {
        S dst, src, result;
    } cats[] = {{"ab      ", "cd  ", "abcd    "},
                {"        ", "xyz", "xyz     "},
                {"abcdef  ", "ghij", "abcdefgh"},
                {"full", "more", "full"},
                {"a b     ", " c ", "a b c   "},
                {"ab      ", S("cd\0ef", 5), "abcd    "},
                {"ab      ", S("\0\0\0\0zz", 6), "ab      "}};
    // Both fields in heap blocks of their exact length, so that a byte written
    // or read beyond one is a sanitizer report.
    const auto cat = [](const S &d, const S &src) {
        std::vector<char> field(d.begin(), d.end()), from(src.begin(), src.end());
        IU_STRCAT(field.data(), from.data(), field.size(), from.size());
        return S(field.begin(), field.end());
    };
    for (const auto &c : cats) EXPECT_EQ(cat(c.dst, c.src), c.result) << c.dst << "+" << c.src;
    const struct {
        int64_t srclen, dstlen;
        S result;
    } copies[] = {{6, 8, "abcdef  "}, {3, 8, "abc     "},  {6, 4, "abcd****"}, {0, 5, "     ***"},
                  {6, 0, "********"}, {6, 20, "abcdef  "}, {99, 8, "abcdef  "}};
    const auto copy = [](const int64_t &srclen, const int64_t &dstlen, S d) {
        COPY_CHAR_STR("abcdef", &srclen, d.data(), &dstlen, 6, 8);
        return d;
    };
    for (const auto &c : copies)
        EXPECT_EQ(copy(c.srclen, c.dstlen, S(8, '*')), c.result) << c.srclen << " into " << c.dstlen;
    const int32_t four[2] = {0x64636261, 0x68676665};  // "abcd" "efgh" in memory
    S f(10, '*'), g(6, '*');
    int64_t n = 2, one = 1, three = 3;
    IU_I42STR(four, &n, f.data(), f.size());
    IU_I42STR(four, &n, g.data(), g.size());
    EXPECT_EQ(f + g, "abcdefgh  abcdef");
    int32_t back[3] = {7, 7, 7};
    IU_STR2I4("xyz12", back, &one, 5);
    EXPECT_EQ(S(reinterpret_cast<char *>(back), 8), S("xyz1\7\0\0\0", 8)) << "only n values change";
    IU_STR2I4("xyz12", back, &three, 5);
    EXPECT_EQ(S(reinterpret_cast<char *>(back), 12), "xyz12       ");
}

}  // namespace
