// Fixed-length Fortran text rules shared by every upper-case entry point.
#include <gtest/gtest.h>

#include <string>

#include "platform/ftext.h"

namespace {

TEST(FText, InputRules) {
    EXPECT_EQ(zarn::ftext_view("ABC   ", 6), "ABC");
    EXPECT_EQ(zarn::ftext_view("AB\0C   ", 7), "AB");      // first NUL ends the text
    EXPECT_EQ(zarn::ftext_view("A B  \0xx", 8), "A B  ");  // blanks before a NUL are kept
    EXPECT_EQ(zarn::ftext_view("      ", 6), "");
    EXPECT_EQ(zarn::ftext_view("\0\0\0\0XYZ", 7), "");  // absent
    EXPECT_TRUE(zarn::ftext_absent("\0\0\0\0XYZ", 7));
    EXPECT_FALSE(zarn::ftext_absent("\0\0\0X", 4));
    EXPECT_FALSE(zarn::ftext_absent("\0\0", 2));  // too short to be absent
    EXPECT_TRUE(zarn::ftext_absent(nullptr, 8));
    EXPECT_EQ(zarn::ftext_view("X", 0), "");

    std::string big(1000, 'n');
    big += "    ";
    zarn::FText t(big.data(), big.size());
    EXPECT_EQ(t.size(), 1000u);
    EXPECT_EQ(std::string(t.c_str()), std::string(1000, 'n'));
    zarn::FText s("short  ", 7);
    EXPECT_STREQ(s.c_str(), "short");
    EXPECT_FALSE(s.absent());
}

TEST(FText, OutputIsBlankPaddedAndCut) {
    char field[8];
    zarn::ftext_store(field, sizeof field, "abc");
    EXPECT_EQ(std::string(field, 8), "abc     ");
    zarn::ftext_store(field, sizeof field, "0123456789");
    EXPECT_EQ(std::string(field, 8), "01234567");
    zarn::ftext_store(field, sizeof field, "");
    EXPECT_EQ(std::string(field, 8), "        ");
    zarn::ftext_store(nullptr, 8, "x");  // no field: nothing happens
}

// Trailing blanks go eight at a time while whole words of them end the field, then one by one: the text
// must come out the same wherever it ends against those words.
TEST(FText, TrailingBlanksWhereverTheTextEnds) {
    const struct {
        const char *name;
        std::string field;
        std::string text;
    } rows[] = {
        {"text fills the field", "ABCDEFGHIJKLMNOP", "ABCDEFGHIJKLMNOP"},
        {"text ends one byte into the last word", "ABCDEFGHI       ", "ABCDEFGHI"},
        {"text ends one byte into a step of two words", "ABCDEFGHIJKLMNOPQ" + std::string(15, ' '),
         "ABCDEFGHIJKLMNOPQ"},
        {"text ends a word before two blank words", "ABCDEFGH" + std::string(16, ' '), "ABCDEFGH"},
        {"text ends one byte before a blank word", "ABCDEFG " + std::string(8, ' '), "ABCDEFG"},
        {"a blank inside the text survives", "AB CD   " + std::string(8, ' '), "AB CD"},
        {"blank word inside the text survives", "A" + std::string(8, ' ') + "B" + std::string(14, ' '),
         "A" + std::string(8, ' ') + "B"},
        {"blanks only, whole words", std::string(24, ' '), ""},
        {"blanks only, not whole words", std::string(13, ' '), ""},
        {"one character then 127 blanks", "X" + std::string(127, ' '), "X"},
        {"field shorter than a word", "AB     ", "AB"},
        {"a NUL before the trailing blanks ends the text", std::string("AB\0", 3) + std::string(13, ' '),
         "AB"},
        {"a NUL inside the last word before blank words", std::string("ABCDEF\0G", 8) + std::string(8, ' '),
         "ABCDEF"},
        {"tab is not a blank", "AB\t" + std::string(13, ' '), "AB\t"},
    };
    for (const auto &row : rows) {
        EXPECT_EQ(zarn::ftext_view(row.field.data(), row.field.size()), row.text) << row.name;
    }
}

}  // namespace
