// Fixed-length text routines over a table of fields, blank and full ones included.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "capture.h"
#include "numutil/numutil_internal.h"
#include "numutil_fixture.h"

namespace {

using zarn::test::HistoryCapture;
using zarn::test::StdoutCapture;

// A routine that changes a field in place, given as its field before and after.
struct InPlaceRow {
    const char *routine;
    std::string before;
    std::string after;
};

void run(const std::string &routine, std::string &f) {
    char *p = f.empty() ? nullptr : f.data();
    if (routine == "IU_STRUPR") IU_STRUPR(p, f.size());
    if (routine == "IU_STRLWR") IU_STRLWR(p, f.size());
    if (routine == "IU_CLRSTR") IU_CLRSTR(p, f.size());
    if (routine == "IU_PACKSTR") IU_PACKSTR(p, f.size());
}

const std::vector<InPlaceRow> kInPlace = {
    {"IU_STRUPR", "azAZ09 @[`{~", "AZAZ09 @[`{~"},
    {"IU_STRUPR", "", ""},
    {"IU_STRUPR", "     ", "     "},
    {"IU_STRUPR", std::string("a\0b\xe9z", 5), std::string("A\0B\xe9Z", 5)},
    {"IU_STRLWR", "AZaz09 @[`{~", "azaz09 @[`{~"},
    {"IU_STRLWR", "FULLFIELD", "fullfield"},
    {"IU_CLRSTR", "abc", "   "},
    {"IU_CLRSTR", std::string("\0\0\0\0", 4), "    "},
    {"IU_PACKSTR", " a b ", "ab   "},
    {"IU_PACKSTR", "abc", "abc"},
    {"IU_PACKSTR", "     ", "     "},
    {"IU_PACKSTR", std::string("\0x \0y", 5), "xy   "},
    {"IU_PACKSTR", "  z", "z  "},
};

TEST(FixedText, InPlaceRoutinesOverTheTable) {
    for (const InPlaceRow &row : kInPlace) {
        std::string f = row.before;
        run(row.routine, f);
        EXPECT_EQ(f, row.after) << row.routine << " \"" << row.before << "\"";
    }
}

TEST(FixedText, LengthsConcatenationAndCopies) {
    struct {
        std::string field;
        int64_t len;
    } lengths[] = {{"", 0},           {"     ", 0}, {"abc  ", 3}, {"abcde", 5},
                   {std::string("ab\0\0 ", 5), 2}, {std::string(" a \0", 4), 2},
                   {std::string("\0\0\0", 3), 0}};
    for (const auto &l : lengths) {
        int64_t out = -1;
        IU_STRLEN(&out, l.field.data(), l.field.size());
        EXPECT_EQ(out, l.len) << "\"" << l.field << "\"";
    }

    struct {
        std::string dst, src, result;
    } cats[] = {
        {"ab      ", "cd  ", "abcd    "},
        {"        ", "xyz", "xyz     "},
        {"abcdef  ", "ghij", "abcdefgh"},  // cut at the end of dst
        {"full", "more", "full"},
        {"a b     ", " c ", "a b c   "},  // leading blanks of src kept
        {"ab      ", std::string("cd\0ef", 5), "abcd    "},
        {"ab      ", std::string("\0\0\0\0zz", 6), "ab      "},  // absent source
    };
    for (const auto &c : cats) {
        std::string d = c.dst;
        IU_STRCAT(d.data(), c.src.data(), d.size(), c.src.size());
        EXPECT_EQ(d, c.result) << "\"" << c.dst << "\" + \"" << c.src << "\"";
    }

    struct {
        std::string src;
        int64_t srclen, dstlen;
        std::string result;  // the 8-byte destination afterwards
    } copies[] = {
        {"abcdef", 6, 8, "abcdef  "},
        {"abcdef", 3, 8, "abc     "},
        {"abcdef", 6, 4, "abcd****"},  // beyond dstlen untouched
        {"abcdef", 0, 5, "     ***"},
        {"abcdef", 6, 0, "********"},
        {"abcdef", 6, 20, "abcdef  "},    // dstlen cut to the field
        {"abcdef", 99, 8, "abcdef  "},    // srclen cut to the field
    };
    for (const auto &c : copies) {
        std::string d(8, '*');
        COPY_CHAR_STR(c.src.data(), &c.srclen, d.data(), &c.dstlen, c.src.size(), d.size());
        EXPECT_EQ(d, c.result) << c.srclen << " into " << c.dstlen;
    }
}

TEST(FixedText, ValuesPackedIntoFieldsAndBack) {
    const int32_t four[2] = {0x64636261, 0x68676665};  // "abcd" "efgh" in memory order
    std::string f(10, '*');
    int64_t n = 2;
    IU_I42STR(four, &n, f.data(), f.size());
    EXPECT_EQ(f, "abcdefgh  ");
    std::string shortField(6, '*');
    IU_I42STR(four, &n, shortField.data(), shortField.size());
    EXPECT_EQ(shortField, "abcdef");
    n = 0;
    IU_I42STR(four, &n, f.data(), f.size());
    EXPECT_EQ(f, "          ");

    int32_t back[3] = {7, 7, 7};
    n = 3;
    IU_STR2I4("xyz12", back, &n, 5);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(back), 12), "xyz12       ");
    n = 1;
    back[1] = 7;
    IU_STR2I4("xyz12", back, &n, 5);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(back), 4), "xyz1");
    EXPECT_EQ(back[1], 7) << "only n values are touched";

    const char text[] = "0123456789ABCDEFGHIJ";
    double reals[3];
    n = 3;
    IU_STR2R8(text, reals, &n, 20);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(reals), 24), "0123456789ABCDEFGHIJ    ");
    std::string r(20, '*');
    n = 2;
    IU_R82STR(reals, &n, r.data(), r.size());
    EXPECT_EQ(r, "0123456789ABCDEF    ");
    n = 3;
    IU_R82STR(reals, &n, r.data(), r.size());
    EXPECT_EQ(r, "0123456789ABCDEFGHIJ");
}

TEST(FixedText, LeftJustifyAndClearScreen) {
    struct {
        std::string before, after;
        size_t word;
    } rows[] = {
        {"   ab cd", "ab cd   ", 2}, {"abc", "abc", 3},  {"     ", "     ", 0},
        {" x", "x ", 1},             {"", "", 0},       {"word rest", "word rest", 4},
    };
    for (const auto &r : rows) {
        std::string f = r.before;
        EXPECT_EQ(zarn::numutil::left_justify(f.empty() ? nullptr : f.data(), f.size()), r.word);
        EXPECT_EQ(f, r.after) << "\"" << r.before << "\"";
    }

    std::string shown;
    {
        StdoutCapture out;
        IU_CLRSCR();
        shown = out.text();
    }
    EXPECT_EQ(shown, "\x1b[H\x1b[2J");
}

}  // namespace
