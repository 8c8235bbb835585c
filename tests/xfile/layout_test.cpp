// The bytes of a saved X-file against words worked out by hand from the layout:
// header, names, integer and real orders, scaled reals, record boundaries.
#include <gtest/gtest.h>

#include "capture.h"
#include "xfile_fixture.h"

using namespace zarn::test;

namespace {

TEST(XFileLayout, HeaderNamesIntegerAndRealOrdersScaledRealsAndEndWord) {
    HistoryCapture hist;
    rtvarlst_t *l = list_of({"AB", "C"});
    set_every_attribute(l, 1);
    set_every_attribute(l, 2);
    const std::string path = scratch("layout");
    save_file(path, l, all_flags());
    const std::vector<int32_t> w = read_words(path);
    ASSERT_EQ(w.size(), 2u * 512);

    // Header.
    const Digest d = digest_of(l);
    EXPECT_EQ(w[0], 0x7FFFFFFE);
    EXPECT_EQ(w[1], 1);
    EXPECT_EQ(w[2], 2);
    EXPECT_EQ(w[3], 32);
    for (int k = 0; k < 16; ++k) EXPECT_EQ(w[4 + k], d[k]) << k;
    EXPECT_EQ(w[20], 25);
    const int present[25] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 1, 1, 1, 0, 1, 1, 1, 0, 1, 0, 1, 1, 1};
    for (int k = 0; k < 25; ++k) EXPECT_EQ(w[21 + k], present[k]) << "flag " << k + 1;
    EXPECT_EQ(w[46], 2004);
    for (int k = 47; k < 512; ++k) ASSERT_EQ(w[k], 0) << k;

    // Each variable: index, 32 name words, 11 integer words, 9 reals = 62 words.
    const int32_t ints[11] = {5, 3, 2, 7, -9, 4, 6, 11, 2, 1, 1};  // 8 13 14 21 21 7 2 25 17 18 24
    // 6 3 4 5 9 15 10 19 23: held numbers times scale 2, except scale, SBWeight, threshold.
    const double reals[9] = {2.0, -8.0, 3.0, 16.0, 0.5, 1.0, 3.5, 12.0, 0.125};
    for (int v = 0; v < 2; ++v) {
        const int at = 512 + 62 * v;
        EXPECT_EQ(w[at], v + 1);
        const int32_t name0 = v == 0 ? ('A' | 'B' << 8 | ' ' << 16 | ' ' << 24) : ('C' | ' ' << 8 | ' ' << 16 | ' ' << 24);
        EXPECT_EQ(w[at + 1], name0);
        for (int k = 1; k < 32; ++k) EXPECT_EQ(w[at + 1 + k], 0x20202020) << k;
        for (int k = 0; k < 11; ++k) EXPECT_EQ(w[at + 33 + k], ints[k]) << "int word " << k;
        for (int k = 0; k < 9; ++k) {
            EXPECT_EQ(w[at + 44 + 2 * k], halves(reals[k]).first) << "real " << k;
            EXPECT_EQ(w[at + 45 + 2 * k], halves(reals[k]).second) << "real " << k;
        }
    }
    EXPECT_EQ(w[512 + 124], -1);
    for (size_t k = 512 + 125; k < w.size(); ++k) ASSERT_EQ(w[k], 0) << k;
    rtovarlst_destroy_c(&l);
    std::remove(path.c_str());
}

// Spec only: two words per variable. 256 variables fill record 2 exactly and
// the end word starts record 3; 255 leave the last word of record 2 for it.
TEST(XFileLayout, RecordBoundaries) {
    HistoryCapture hist;
    struct Row {
        int nvars;
        size_t records;
        size_t end_at;
    } rows[] = {{255, 2, 512 + 510}, {256, 3, 1024}, {257, 3, 1026}, {0, 2, 512}};
    for (const Row &r : rows) {
        std::vector<std::string> names;
        for (int k = 1; k <= r.nvars; ++k) names.push_back("V" + std::to_string(k));
        rtvarlst_t *l = list_of(names);
        for (int k = 1; k <= r.nvars; ++k) rtovarlst_set_spec(l, k, k % 8);
        const std::string path = scratch("bound");
        if (r.nvars > 0) {
            save_file(path, l, flags_of({8}));
        } else {
            int64_t unit = open_file(path, RTXFILE_CREATE, l, flags_of({8}));
            RTXFILE_CLOSE(&unit);
        }
        const std::vector<int32_t> w = read_words(path);
        ASSERT_EQ(w.size(), r.records * 512) << r.nvars;
        EXPECT_EQ(w[1], r.nvars ? 1 : -1);
        EXPECT_EQ(w[2], r.nvars ? r.nvars : -1);
        for (int k = 0; k < r.nvars; ++k) {
            ASSERT_EQ(w[512 + 2 * k], k + 1);
            ASSERT_EQ(w[513 + 2 * k], (k + 1) % 8);
        }
        EXPECT_EQ(w[r.end_at], -1) << r.nvars;
        for (size_t k = r.end_at + 1; k < w.size(); ++k) ASSERT_EQ(w[k], 0) << r.nvars << " word " << k;
        rtovarlst_destroy_c(&l);
        std::remove(path.c_str());
    }
}

}  // namespace
