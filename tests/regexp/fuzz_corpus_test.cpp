// Replays every kept input of the regular-expression fuzz target.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#define ZARN_FUZZ_CHECK(cond) EXPECT_TRUE(cond) << #cond
#include "../../fuzz/regexp_one_input.h"

TEST(RegexpFuzzCorpus, EveryKeptInputPasses) {
    namespace fs = std::filesystem;
    const char *top = std::getenv("ZARN_SOURCE_DIR");  // from CTest; a hand run finds the tree by __FILE__
    const fs::path corpus = (top != nullptr ? fs::path(top) : fs::path(__FILE__).parent_path() / ".." / "..") / "fuzz" / "corpus" / "regexp";
    int replayed = 0;
    for (const auto &entry : fs::directory_iterator(corpus)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        SCOPED_TRACE(entry.path().filename().string());
        zarn::fuzz::regexp_one_input(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size()), ++replayed;
    }
    EXPECT_GE(replayed, 8);
}
