// Replays every kept input of the X-file fuzz target.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "capture.h"
#define ZARN_FUZZ_CHECK(cond) EXPECT_TRUE(cond) << #cond
#include "../../fuzz/xfile_one_input.h"

namespace {

TEST(XFileFuzzCorpus, EveryKeptInputPasses) {
    namespace fs = std::filesystem;
    const char *top = std::getenv("ZARN_SOURCE_DIR");
    const fs::path root = top != nullptr ? fs::path(top) : fs::path(__FILE__).parent_path() / ".." / "..";
    int replayed = 0;
    zarn::test::HistoryCapture hist;
    for (const auto &entry : fs::directory_iterator(root / "fuzz" / "corpus" / "xfile")) {
        std::ifstream in(entry.path(), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        SCOPED_TRACE(entry.path().filename().string());
        zarn::fuzz::xfile_one_input(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
        ++replayed;
    }
    EXPECT_GE(replayed, 4);
}

}  // namespace
