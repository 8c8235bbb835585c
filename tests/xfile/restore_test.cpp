// Restoring: by index and by name into changed lists, substitutions, the
// exception list and skip-fixed, the unmatched count, older files, update in
// place, query, and every attribute through a round trip.
#include <gtest/gtest.h>

#include "capture.h"
#include "xfile_fixture.h"
#include "zarnutils/varutl.h"

using namespace zarn::test;

namespace {

// A file of A, B, C, D, ZFLOW1, Q.ZFRAC with values 1..6, names and values saved.
std::string abcd_file() {
    rtvarlst_t *src = list_of({"A", "B", "C", "D", "ZFLOW1", "Q.ZFRAC"});
    for (int k = 1; k <= 6; ++k) rtovarlst_set_var_value(src, k, k, 0);
    const std::string path = scratch("abcd");
    save_file(path, src, flags_of({1, 4}));
    rtovarlst_destroy_c(&src);
    return path;
}

TEST(XFileRestore, ByIndexOrByNameIntoChangedLists) {
    const std::string path = abcd_file();
    constexpr double U = 0.0;  // not restored: the list's own value
    struct Row {
        const char *what;
        std::vector<std::string> names, subs;
        int64_t by_name, result;
        std::vector<double> expect;
    } rows[] = {
        {"unchanged", {"A", "B", "C", "D", "ZFLOW1", "Q.ZFRAC"}, {}, 0, 0, {1, 2, 3, 4, 5, 6}},
        {"renamed", {"A", "B2", "C", "D", "ZFLOW1", "Q.ZFRAC"}, {}, 1, -1, {1, U, 3, 4, 5, 6}},
        {"reordered", {"D", "C", "B", "A", "ZFLOW1", "Q.ZFRAC"}, {}, 1, 0, {4, 3, 2, 1, 5, 6}},
        {"inserted", {"A", "X", "B", "C", "D", "ZFLOW1", "Q.ZFRAC"}, {}, 1, 0, {1, U, 2, 3, 4, 5, 6}},
        {"deleted", {"A", "C", "D", "ZFLOW1", "Q.ZFRAC"}, {}, 1, -1, {1, 3, 4, 5, 6}},
        {"ZFLOW and ZFRAC never counted", {"A", "B", "C"}, {}, 1, -1, {1, 2, 3}},
        {"substituted", {"A", "QB", "C"}, {"^B", "QB", "^D", "C"}, 1, 0, {1, 2, 4}},
    };
    for (const Row &r : rows) {
        HistoryCapture hist;
        rtvarlst_t *l = list_of(r.names);
        int64_t by_name = -1;
        EXPECT_EQ(restore_file(path, l, flags_of({1, 4}), r.subs, nullptr, 0, &by_name), r.result) << r.what;
        EXPECT_EQ(by_name, r.by_name) << r.what;
        EXPECT_EQ(values(l), r.expect) << r.what;
        EXPECT_EQ(hist.text(), std::string(r.by_name ? "Restoring values by name\n"
                                                     : "Matched message digest, restoring values by index\n") +
                                   "Variables in this file were saved  with the following attributes:\n  value\n")
            << r.what;
        rtovarlst_destroy_c(&l);
    }
    std::remove(path.c_str());
}

TEST(XFileRestore, ExceptionListSkipFixedAndSelection) {
    HistoryCapture hist;
    const std::string path = abcd_file();
    rtvarlst_t *l = list_of({"A", "B", "C", "D", "ZFLOW1", "Q.ZFRAC"});
    rtovarlst_fix_var(l, 3);
    const std::vector<int64_t> except = {0, 1, 0, 0, 0, 0};
    EXPECT_EQ(restore_file(path, l, flags_of({1, 4}), {}, &except, 1), 0);
    EXPECT_EQ(values(l), (std::vector<double>{1, 0, 0, 4, 5, 6}));
    // Unselected attributes are read past, not restored; fixed ones are restored without skip-fixed.
    EXPECT_EQ(restore_file(path, l, flags_of({1}), {}, nullptr, 0), 0);
    EXPECT_EQ(values(l), (std::vector<double>{1, 0, 0, 4, 5, 6}));
    EXPECT_EQ(restore_file(path, l, flags_of({4}), {}, nullptr, 0), 0);
    EXPECT_EQ(values(l), (std::vector<double>{1, 2, 3, 4, 5, 6}));
    rtovarlst_destroy_c(&l);
    std::remove(path.c_str());
}

TEST(XFileRestore, EveryAttributeRoundTripsWithTheDocumentedScaling) {
    HistoryCapture hist;
    rtvarlst_t *src = list_of({"P", "Q"});
    set_every_attribute(src, 2);
    const std::string path = scratch("every");
    save_file(path, src, all_flags());

    rtvarlst_t *dst = list_of({"Q", "P"});  // by name; Q's scale is 4 at restore time
    rtovarlst_vec_scale(dst)[0] = 4.0;
    EXPECT_EQ(restore_file(path, dst, all_flags()), 0);
    int64_t bt = 0;
    varInqBoundType(rtovarlst_inq_var_status(dst, 1), &bt);
    EXPECT_EQ((std::vector<int64_t>{rtovarlst_inq_spec(dst, 1), rtovarlst_inq_var_baseuom(dst, 1),
                                    rtovarlst_inq_var_quality(dst, 1), rtovarlst_inq_var_modified_mask1(dst, 1),
                                    static_cast<int32_t>(rtovarlst_inq_var_modified_mask2(dst, 1)),
                                    rtovarlst_inq_var_uom(dst, 1), rtovarlst_inq_physical_type(dst, 1),
                                    rtovarlst_inq_var_conn_type(dst, 1), bt, rtovarlst_inq_var_param_homo(dst, 1),
                                    rtovarlst_inq_var_ramped(dst, 1)}),
              (std::vector<int64_t>{5, 3, 2, 7, -9, 4, 6, 11, 2, 1, 1}));
    // Scale is never restored; lower, value, upper are divided by the scale now
    // held; step, initial and homotopy target keep the file's (scaled) numbers.
    EXPECT_EQ((std::vector<double>{rtovarlst_inq_var_scale(dst, 1), rtovarlst_inq_var_lower(dst, 1, 0),
                                   rtovarlst_inq_var_value(dst, 1, 0), rtovarlst_inq_var_upper(dst, 1, 0),
                                   rtovarlst_inq_var_step_inbaseuom(dst, 1), rtovarlst_inq_var_initial(dst, 1, 0),
                                   rtovarlst_inq_var_sbweight(dst, 1), rtovarlst_inq_var_target_homo(dst, 1, 0),
                                   rtovarlst_inq_var_threshold(dst, 1, 0)}),
              (std::vector<double>{4.0, -8.0 / 4, 3.0 / 4, 16.0 / 4, 0.5, 1.0, 3.5, 12.0, 0.125}));
    rtovarlst_destroy_c(&src);
    rtovarlst_destroy_c(&dst);
    std::remove(path.c_str());
}

TEST(XFileRestore, OlderVersionNeverRestoresPhysicalTypeOrUnit) {
    HistoryCapture hist;
    rtvarlst_t *l = list_of({"A", "B"});
    // Written by hand: flags 2, 7 and 4, version 2003; the stream holds the values only.
    std::vector<int32_t> w = header_words(digest_of(l), flags_of({2, 4, 7}), 1, 2, 2003);
    for (int32_t k = 1; k <= 2; ++k) w.insert(w.end(), {k, halves(10.0 * k).first, halves(10.0 * k).second});
    w.push_back(-1);
    const std::string path = scratch("v2003");
    write_words(path, w);
    EXPECT_EQ(restore_file(path, l, all_flags()), 0);
    EXPECT_EQ(values(l), (std::vector<double>{10, 20}));
    EXPECT_EQ(rtovarlst_inq_physical_type(l, 1) + rtovarlst_inq_var_uom(l, 1), 0);
    EXPECT_EQ(hist.text().find("UOM"), std::string::npos);
    rtovarlst_destroy_c(&l);
    std::remove(path.c_str());
}

TEST(XFileRestore, ByNameFromAFileWithoutNamesRestoresNothing) {
    HistoryCapture hist;
    rtvarlst_t *l = list_of({"A", "B"});
    rtovarlst_set_var_value(l, 1, 9.0, 0);
    const std::string path = scratch("nonames");
    save_file(path, l, flags_of({4}));
    rtovarlst_addvar(l, 2, "B2");  // digest differs: by name
    rtovarlst_set_var_value(l, 1, 0.0, 0);
    hist.text();
    EXPECT_EQ(restore_file(path, l, flags_of({4})), 0);
    EXPECT_EQ(values(l), (std::vector<double>{0, 0}));
    EXPECT_EQ(hist.text(), "Restoring values by name\n"
                           "Variables in this file were not saved with the NAME attribute, and cannot\n"
                           "be restored into the current configuration.\n");
    rtovarlst_destroy_c(&l);
    std::remove(path.c_str());
}

TEST(XFileUpdate, InPlaceThenRestoreAndRefusals) {
    HistoryCapture hist;
    rtvarlst_t *l = list_of({"A", "B", "C"});
    const std::string path = scratch("update");
    save_file(path, l, flags_of({1, 4, 8}));
    for (int k = 1; k <= 3; ++k) rtovarlst_set_var_value(l, k, 10.0 * k, 0);
    rtovarlst_set_spec(l, 2, 4);  // PARAM: fixed in mode 0, written as 1
    int64_t unit = open_file(path, RTXFILE_UPDATE, l, flags_of({4, 8}));
    ASSERT_NE(unit, 0);
    RTXFILE_UPDATE_VARIABLE(&unit, &l, flags_of({4, 8}).data());
    RTXFILE_CLOSE(&unit);
    EXPECT_EQ(read_words(path)[512 + 36 * 1 + 33], 1);  // B's spec word
    for (int k = 1; k <= 3; ++k) rtovarlst_set_var_value(l, k, 0.0, 0);
    rtovarlst_set_spec(l, 2, 0);
    EXPECT_EQ(restore_file(path, l, all_flags()), 0);
    EXPECT_EQ(values(l), (std::vector<double>{10, 20, 30}));
    EXPECT_EQ(rtovarlst_inq_spec(l, 2), 1);
    hist.text();

    // Refused at open: an attribute not in the file; a list whose names differ.
    EXPECT_EQ(open_file(path, RTXFILE_UPDATE, l, flags_of({4, 3})), 0);
    EXPECT_EQ(hist.text(), "!! rtxfile_open: Attemping update with attributes not currently in file\n");
    rtvarlst_t *other = list_of({"A", "B", "X"});
    EXPECT_EQ(open_file(path, RTXFILE_UPDATE, other, flags_of({4})), 0);
    EXPECT_EQ(hist.text(), "!! rtxfile_open: Update operation not allowed on file not matched by index\n");
    // A list shorter than the file's range.
    rtvarlst_t *shorter = list_of({"A", "B", "C"});
    rtovarlst_set_nvar(shorter, 2);
    unit = open_file(path, RTXFILE_UPDATE, l, flags_of({4}));
    RTXFILE_UPDATE_VARIABLE(&unit, &shorter, flags_of({4}).data());
    RTXFILE_CLOSE(&unit);
    EXPECT_EQ(hist.text(), "!! rtxfile_update_variable: There current variable list and x-file being updated "
                           "are mismatched.\n");
    EXPECT_TRUE(all_units_free());
    for (rtvarlst_t *p : {l, other, shorter}) rtovarlst_destroy_c(&p);
    std::remove(path.c_str());
}

std::vector<std::string> g_names;
void collect(const char *name) { g_names.push_back(name ? name : "(none)"); }

TEST(XFileQuery, NamesThroughTheCallbackAndTheFlags) {
    HistoryCapture hist;
    rtvarlst_t *l = list_of({"A", "B"});
    // Names as a field: blank-padded, cut at a NUL, and empty.
    std::vector<int32_t> w = header_words(digest_of(l), flags_of({1, 4}), 1, 3);
    for (int32_t k = 0; k < 3; ++k) {
        w.push_back(k + 1);
        push_name(w, k == 0 ? std::string("X") : k == 1 ? std::string("Y\0junk", 6) : std::string("\0\0\0\0tail", 8));
        w.push_back(0), w.push_back(0);
    }
    w.push_back(-1);
    const std::string path = scratch("query");
    write_words(path, w);
    int64_t unit = open_file(path, RTXFILE_READ, l, {});
    Flags got{};
    g_names.clear();
    EXPECT_EQ(RTXFILE_QUERY(&unit, got.data(), collect), 0);
    EXPECT_EQ(got, flags_of({1, 4}));
    EXPECT_EQ(g_names, (std::vector<std::string>{"X", "Y", "(none)"}));
    RTXFILE_CLOSE(&unit);

    save_file(path, l, flags_of({4}));  // no names: 1
    unit = open_file(path, RTXFILE_READ, l, {});
    EXPECT_EQ(RTXFILE_QUERY(&unit, got.data(), collect), 1);
    EXPECT_EQ(got, flags_of({4}));
    RTXFILE_CLOSE(&unit);
    rtovarlst_destroy_c(&l);
    std::remove(path.c_str());
}

}  // namespace
