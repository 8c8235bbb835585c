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

// The twins against their C functions; the gfortran program checks linkage.
TEST(StredFortran, TwinsAgreeWithTheCFunctions) {
    EXPECT_EQ(STRSTR_F("AB C", "B C", 4, 3), 1) << "inner blanks count";
    EXPECT_EQ(STRSTR_F("ABC ", "BC D", 4, 4), 0);
    char field[12], c[12];
    std::memcpy(field, "AAAAAAAAAA ", 11);
    std::strcpy(c, "AAAAAAAAAA");
    hs_regexp *a = hs_regcomp("A");
    EXPECT_EQ(STRED_REPLACE_REGEXP_F(field, "A", "BB", 11, 1, 2), stred_replace_regexp(c, 11, a, "BB"));
    EXPECT_EQ(std::string(field, 11), c) << "the field length is the maximum length";
    hs_regfree(a);
    char pats[] = "^B1 T   ", reps[] = "F.B1  TEMP  ", bad[] = "X   [   ";
    std::memcpy(field, "B1.T       ", 11);
    int64_t n = 2;
    EXPECT_EQ(STRED_REPLACE_REGEXPS_F(field, pats, reps, &n, 11, 4, 6), 2);
    EXPECT_EQ(std::string(field, 11), "F.B1.TEMP  ");
    EXPECT_EQ(STRED_REPLACE_REGEXPS_F(field, bad, reps, &n, 11, 4, 6), -1);
    EXPECT_EQ(std::string(field, 11), "F.B1.TEMP  ") << "untouched when a later pattern fails";
}

}  // namespace
