// Files of the source tree that tests read: data files and the kept inputs
// of the fuzz targets.
#ifndef ZARN_TESTS_SUPPORT_SOURCE_TREE_H
#define ZARN_TESTS_SUPPORT_SOURCE_TREE_H

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace zarn::test {

// The top of the source tree: CTest says where; a test run by hand finds it
// from this file.
inline std::filesystem::path source_tree() {
    const char *top = std::getenv("ZARN_SOURCE_DIR");
    return top != nullptr ? std::filesystem::path(top)
                          : std::filesystem::path(__FILE__).parent_path() / "../..";
}

// A whole file as bytes ("" when it cannot be read).
inline std::string slurp(const std::filesystem::path &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs every kept input of fuzz/corpus/<target> through the target's
// one-input function, naming the file in any failure; returns how many ran.
template <typename OneInput>
int replay_corpus(const char *target, OneInput one_input) {
    const std::filesystem::path folder = source_tree() / "fuzz" / "corpus" / target;
    if (!std::filesystem::is_directory(folder)) {
        ADD_FAILURE() << "no kept inputs at " << folder;
        return 0;
    }
    int replayed = 0;
    for (const auto &entry : std::filesystem::directory_iterator(folder)) {
        const std::string bytes = slurp(entry.path());
        SCOPED_TRACE(entry.path().filename().string());
        one_input(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
        ++replayed;
    }
    return replayed;
}

}  // namespace zarn::test

#endif
