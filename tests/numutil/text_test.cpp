// Fixed-length text routines over a table of fields, blank and full ones included.
#include <gtest/gtest.h>

#include "numutil/numutil_internal.h"
#include "numutil_fixture.h"

namespace {

using S = std::string;

TEST(FixedText, InPlaceRoutinesLengthsAndJustification) {
    const struct { void (*fn)(char *, size_t); S before, after; } inPlace[] = {
        {IU_STRUPR, "azAZ09 @[`{~", "AZAZ09 @[`{~"}, {IU_STRUPR, S("a\0b\xe9z", 5), S("A\0B\xe9Z", 5)},
        {IU_STRLWR, "AZaz09 @[`{~", "azaz09 @[`{~"}, {IU_STRLWR, "FULLFIELD", "fullfield"},
        {IU_CLRSTR, S("a\0c", 3), "   "},           {IU_PACKSTR, " a b ", "ab   "},
        {IU_PACKSTR, "abc", "abc"},                  {IU_PACKSTR, "     ", "     "},
        {IU_PACKSTR, S("\0x \0y", 5), "xy   "},      {IU_PACKSTR, "  z", "z  "},
    };
    for (const auto &row : inPlace) {
        S f = row.before;
        row.fn(f.data(), f.size());
        EXPECT_EQ(f, row.after) << row.before;
    }
    const struct { S field; int64_t len; } lengths[] = {
        {"", 0}, {"     ", 0}, {"abc  ", 3}, {"abcde", 5}, {S("ab\0\0 ", 5), 2}, {S(" a \0", 4), 2}};
    for (const auto &l : lengths) {
        int64_t out = -1;
        IU_STRLEN(&out, l.field.data(), l.field.size());
        EXPECT_EQ(out, l.len) << l.field;
    }
    const struct { S before, after; size_t word; } justify[] = {
        {"   ab cd", "ab cd   ", 2}, {"abc", "abc", 3}, {"     ", "     ", 0}, {" x", "x ", 1}, {"", "", 0}};
    for (const auto &j : justify) {
        S f = j.before;
        EXPECT_EQ(zarn::numutil::left_justify(f.data(), f.size()), j.word);
        EXPECT_EQ(f, j.after);
    }
    S shown;
    {
        zarn::test::StdoutCapture out;
        IU_CLRSCR(), shown = out.text();
    }
    EXPECT_EQ(shown, "\x1b[H\x1b[2J");
}

TEST(FixedText, ConcatenationCopiesAndPackedValues) {
    const struct { S dst, src, result; } cats[] = {
        {"ab      ", "cd  ", "abcd    "}, {"        ", "xyz", "xyz     "}, {"abcdef  ", "ghij", "abcdefgh"},
        {"full", "more", "full"},         {"a b     ", " c ", "a b c   "},
        {"ab      ", S("cd\0ef", 5), "abcd    "}, {"ab      ", S("\0\0\0\0zz", 6), "ab      "}};
    for (const auto &c : cats) {
        S d = c.dst;
        IU_STRCAT(d.data(), c.src.data(), d.size(), c.src.size());
        EXPECT_EQ(d, c.result) << c.dst << "+" << c.src;
    }
    // Into an 8-byte field; lengths beyond a field are cut to it.
    const struct { int64_t srclen, dstlen; S result; } copies[] = {
        {6, 8, "abcdef  "}, {3, 8, "abc     "}, {6, 4, "abcd****"}, {0, 5, "     ***"},
        {6, 0, "********"}, {6, 20, "abcdef  "}, {99, 8, "abcdef  "}};
    for (const auto &c : copies) {
        S d(8, '*');
        COPY_CHAR_STR("abcdef", &c.srclen, d.data(), &c.dstlen, 6, d.size());
        EXPECT_EQ(d, c.result) << c.srclen << " into " << c.dstlen;
    }
    const int32_t four[2] = {0x64636261, 0x68676665};  // "abcd" "efgh" in memory
    S f(10, '*'), g(6, '*');
    int64_t n = 2, one = 1, three = 3;
    IU_I42STR(four, &n, f.data(), f.size()), IU_I42STR(four, &n, g.data(), g.size());
    EXPECT_EQ(f + g, "abcdefgh  abcdef");
    int32_t back[3] = {7, 7, 7};
    IU_STR2I4("xyz12", back, &one, 5);
    EXPECT_EQ(S(reinterpret_cast<char *>(back), 8), S("xyz1\7\0\0\0", 8)) << "only n values change";
    IU_STR2I4("xyz12", back, &three, 5);
    EXPECT_EQ(S(reinterpret_cast<char *>(back), 12), "xyz12       ");
}

}  // namespace
