// Replays every kept input of the API-sequence fuzz target: dictionaries and
// variable lists driven through call sequences with extreme arguments.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#define ZARN_FUZZ_CHECK(cond) EXPECT_TRUE(cond) << #cond
#include "../../fuzz/apiseq_one_input.h"

namespace {

TEST(ApiSequenceFuzzCorpus, EveryKeptInputPasses) {
    namespace fs = std::filesystem;
    const char *top = std::getenv("ZARN_SOURCE_DIR");
    fs::path root = top != nullptr ? fs::path(top) : fs::path(__FILE__).parent_path() / ".." / "..";
    fs::path corpus = root / "fuzz" / "corpus" / "apiseq";
    ASSERT_TRUE(fs::is_directory(corpus)) << corpus;
    zarn::fuzz::apiseq::quiet();
    int replayed = 0;
    for (const auto &entry : fs::directory_iterator(corpus)) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        SCOPED_TRACE(entry.path().filename().string());
        zarn::fuzz::apiseq::one_input(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
        ++replayed;
    }
    EXPECT_GE(replayed, 8);
}

}  // namespace
