// Replays every kept input of the regular-expression fuzz target.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#define ZARN_FUZZ_CHECK(cond) EXPECT_TRUE(cond) << #cond
#include "../../fuzz/regexp_one_input.h"

namespace {

TEST(RegexpFuzzCorpus, EveryKeptInputPasses) {
    namespace fs = std::filesystem;
    // CTest gives the source tree; a hand run from the source tree finds it by __FILE__.
    const char *top = std::getenv("ZARN_SOURCE_DIR");
    fs::path root = top != nullptr ? fs::path(top) : fs::path(__FILE__).parent_path() / ".." / "..";
    fs::path corpus = root / "fuzz" / "corpus" / "regexp";
    ASSERT_TRUE(fs::is_directory(corpus)) << corpus;
    int replayed = 0;
    for (const auto &entry : fs::directory_iterator(corpus)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        SCOPED_TRACE(entry.path().filename().string());
        zarn::fuzz::regexp_one_input(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
        ++replayed;
    }
    EXPECT_GE(replayed, 8);
}

}  // namespace
