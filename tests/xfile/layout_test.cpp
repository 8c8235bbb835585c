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
    // Each variable: index, 32 name words, 11 integer words, 9 reals (held numbers times scale 2,
    // except scale, SBWeight and threshold); then the end word and zeros to the record's end.
    std::vector<int32_t> want = header_words(digest_of(l), all_flags(), 1, 2);
    for (int v = 1; v <= 2; ++v) {
        want.push_back(v);
        push_name(want, v == 1 ? "AB" : "C");
        want.insert(want.end(), {5, 3, 2, 7, -9, 4, 6, 11, 2, 1, 1});  // 8 13 14 21 21 7 2 25 17 18 24
        for (double r : {2.0, -8.0, 3.0, 16.0, 0.5, 1.0, 3.5, 12.0, 0.125}) {  // 6 3 4 5 9 15 10 19 23
            want.push_back(halves(r).first);
            want.push_back(halves(r).second);
        }
    }
    want.push_back(-1);
    want.resize(2 * 512, 0);
    EXPECT_EQ(read_words(path), want);
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
