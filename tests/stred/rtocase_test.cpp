// Case variants, path search and the Fortran forms of the string editors.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "zarnutils/stred.h"

namespace {

TEST(StredFiles, CaseVariantIterators) {
    rtocase *it = rtocase_existing("Data.TXT");
    ASSERT_NE(it, nullptr);
    EXPECT_STREQ(rtocase_next(it), "DATA.TXT");
    EXPECT_STREQ(rtocase_next(it), "data.txt");
    EXPECT_EQ(rtocase_next(it), nullptr);
    EXPECT_EQ(rtocase_next(it), nullptr);
    rtocase_reset(it);
    EXPECT_STREQ(rtocase_next(it), "DATA.TXT");
    rtocase_destroy(it);

    it = rtocase_newfile("Data.TXT");
    EXPECT_STREQ(rtocase_next(it), "data.txt");
    EXPECT_STREQ(rtocase_next(it), "DATA.TXT");
    EXPECT_EQ(rtocase_next(it), nullptr);
    rtocase_reset(it);
    EXPECT_STREQ(rtocase_next(it), "data.txt") << "restarts with its own first variant";
    rtocase_destroy(it);
    rtocase_destroy(nullptr);
}

// A scratch directory with a few files, removed afterwards.
class PathSearch : public ::testing::Test {
protected:
    void SetUp() override {
        char tmpl[] = "/tmp/zarn-path-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
        ASSERT_EQ(mkdir((dir_ + "/sub").c_str(), 0700), 0);
        ASSERT_EQ(mkdir((dir_ + "/sub/DIRNAME").c_str(), 0700), 0);
        touch(dir_ + "/sub/MODEL.inp");
        touch(dir_ + "/sub/PLAIN");
    }
    void TearDown() override {
        unlink((dir_ + "/sub/MODEL.inp").c_str());
        unlink((dir_ + "/sub/PLAIN").c_str());
        rmdir((dir_ + "/sub/DIRNAME").c_str());
        rmdir((dir_ + "/sub").c_str());
        rmdir(dir_.c_str());
    }
    static void touch(const std::string &path) {
        FILE *f = std::fopen(path.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    std::string dir_;
};

TEST_F(PathSearch, CandidatesInOrder) {
    char out[1025];
    std::string sub = dir_ + "/sub";
    std::string list = "/nonexistent;;" + sub;
    EXPECT_EQ(path_search_nocase("MODEL", ".inp", list.c_str(), out), out);
    EXPECT_EQ(std::string(out), sub + "/MODEL.inp");
    EXPECT_EQ(path_search_case("PLAIN", ".inp", list.c_str(), out), out);
    EXPECT_EQ(std::string(out), sub + "/PLAIN") << "the bare name before the extension";
    std::string slash = sub + "/";
    EXPECT_NE(path_search_nocase("PLAIN", "", slash.c_str(), out), nullptr);
    EXPECT_EQ(std::string(out), sub + "/PLAIN") << "no second separator";
    // A name that is readable as given wins over the path.
    std::string full = sub + "/PLAIN";
    EXPECT_NE(path_search_nocase(full.c_str(), nullptr, "/nonexistent", out), nullptr);
    EXPECT_EQ(std::string(out), full);

    EXPECT_EQ(path_search_nocase("MODEL", ".dat", list.c_str(), out), nullptr);
    EXPECT_EQ(path_search_nocase("MODEL", ".inp", "", out), nullptr) << "empty path list";
    EXPECT_EQ(path_search_nocase("DIRNAME", nullptr, sub.c_str(), out), nullptr) << "directories are not files";
    std::string huge(2000, 'X');
    EXPECT_EQ(path_search_nocase(huge.c_str(), ".inp", sub.c_str(), out), nullptr);
}

TEST(StredFortran, FieldForms) {
    EXPECT_EQ(STRSTR_F("ABCDEF    ", "CD   ", 10, 5), 1);
    EXPECT_EQ(STRSTR_F("ABCDEF    ", "D E  ", 10, 5), 0);
    EXPECT_EQ(STRSTR_F("ABC       ", "C  ", 10, 3), 1);
    EXPECT_EQ(STRSTR_F("AB C", "B C", 4, 3), 1) << "inner blanks count";
    EXPECT_EQ(STRSTR_F("ABC ", "BC D", 4, 4), 0);

    char field[12];
    std::memcpy(field, "B1.T1.T2   ", 11);
    EXPECT_EQ(STRED_REPLACE_REGEXP_F(field, "T[0-9]  ", "XX   ", 11, 8, 5), 2);
    EXPECT_EQ(std::string(field, 11), "B1.XX.XX   ");
    // The field length is the maximum length.
    std::memcpy(field, "AAAAAAAAAA ", 11);
    EXPECT_EQ(STRED_REPLACE_REGEXP_F(field, "A", "BB", 11, 1, 2), 6);
    EXPECT_EQ(std::string(field, 11), "BBBBBBBBBBB");
    EXPECT_EQ(STRED_REPLACE_REGEXP_F(field, "(", "X", 11, 1, 1), -1);
    EXPECT_EQ(std::string(field, 11), "BBBBBBBBBBB");

    // Arrays of fixed-length patterns and replacements.
    char pats[] = "^B1 "
                  "T   ";
    char reps[] = "F.B1  "
                  "TEMP  ";
    std::memcpy(field, "B1.T       ", 11);
    int64_t n = 2;
    EXPECT_EQ(STRED_REPLACE_REGEXPS_F(field, pats, reps, &n, 11, 4, 6), 2);
    EXPECT_EQ(std::string(field, 11), "F.B1.TEMP  ");
    char badpats[] = "X   "
                     "[   ";
    EXPECT_EQ(STRED_REPLACE_REGEXPS_F(field, badpats, reps, &n, 11, 4, 6), -1);
    EXPECT_EQ(std::string(field, 11), "F.B1.TEMP  ") << "untouched when a pattern fails";
    char absent[8] = {0, 0, 0, 0, 'k', 'e', 'e', 'p'};
    EXPECT_EQ(STRED_REPLACE_REGEXP_F(absent, "A", "B", 8, 1, 1), 0);
    EXPECT_EQ(std::string(absent + 4, 4), "keep") << "an absent field is not written";
}

}  // namespace
