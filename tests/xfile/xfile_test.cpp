// X-files: the saved bytes against the layout, restoring by index and by name (substitutions, the
// exception list, skip-fixed, older versions, files without names), every attribute through a round
// trip, update in place, query, the unit table and shared text files.
#include <algorithm>

#include "platform/funit.h"
#include "xfile_fixture.h"

using namespace zarn::test;

namespace {

// Header, names, integer and real orders, reals held times scale 2 (except scale, SBWeight and threshold),
// the end word and zeros to the record's end; every attribute back by name.
TEST(XFile, LayoutEveryAttributeRoundTrip) {
    HistoryCapture hist;
    rtvarlst_t *l = list_of({"AB", "C"});
    set_every_attribute(l, 1);
    set_every_attribute(l, 2);
    const std::string path = scratch("layout");
    save_file(path, l, all_flags());
    Words want = header_words(digest_of(l), all_flags(), 1, 2);
    for (int v = 1; v <= 2; ++v) {
        want.push_back(v);
        push_name(want, v == 1 ? "AB" : "C");
        want.insert(want.end(), {5, 3, 2, 7, -9, 4, 6, 11, 2, 1, 1});  // 8 13 14 21 21 7 2 25 17 18 24
        for (double r : {2.0, -8.0, 3.0, 16.0, 0.5, 1.0, 3.5, 12.0, 0.125})
            push_real(want, r);  // 6 3 4 5 9 15 10 19 23
    }
    want.push_back(-1);
    want.resize(2 * 512, 0);
    EXPECT_EQ(read_words(path), want);
    rtvarlst_t *dst = list_of({"C", "AB"});  // C's scale is 4 at restore time
    rtovarlst_vec_scale(dst)[0] = 4.0;
    EXPECT_EQ(restore_file(path, dst, all_flags()), 0);
    int64_t bt = 0;
    varInqBoundType(rtovarlst_inq_var_status(dst, 1), &bt);
    EXPECT_EQ(
        (std::vector<int64_t>{rtovarlst_inq_spec(dst, 1), rtovarlst_inq_var_baseuom(dst, 1),
                              rtovarlst_inq_var_quality(dst, 1), rtovarlst_inq_var_modified_mask1(dst, 1),
                              static_cast<int32_t>(rtovarlst_inq_var_modified_mask2(dst, 1)),
                              rtovarlst_inq_var_uom(dst, 1), rtovarlst_inq_physical_type(dst, 1),
                              rtovarlst_inq_var_conn_type(dst, 1), bt, rtovarlst_inq_var_param_homo(dst, 1),
                              rtovarlst_inq_var_ramped(dst, 1)}),
        (std::vector<int64_t>{5, 3, 2, 7, -9, 4, 6, 11, 2, 1, 1}));
    // Scale is never restored; every real the file holds unscaled (lower, value, upper, step, initial,
    // homotopy target) is divided by the scale now held; SBWeight and threshold come back as saved.
    EXPECT_EQ((Reals{rtovarlst_inq_var_scale(dst, 1), rtovarlst_inq_var_lower(dst, 1, 0),
                     rtovarlst_inq_var_value(dst, 1, 0), rtovarlst_inq_var_upper(dst, 1, 0),
                     rtovarlst_inq_var_step_inbaseuom(dst, 1), rtovarlst_inq_var_initial(dst, 1, 0),
                     rtovarlst_inq_var_sbweight(dst, 1), rtovarlst_inq_var_target_homo(dst, 1, 0),
                     rtovarlst_inq_var_threshold(dst, 1, 0)}),
              (Reals{4.0, -8.0 / 4, 3.0 / 4, 16.0 / 4, 0.5 / 4, 1.0 / 4, 3.5, 12.0 / 4, 0.125}));
    rtovarlst_destroy_c(&l);
    rtovarlst_destroy_c(&dst);
    std::remove(path.c_str());
}

Names g_names;
void collect(const char *name) { g_names.push_back(name ? name : "(none)"); }

// A file of A, B, C, D, ZFLOW1, Q.ZFRAC (values 1..6), one without names, one of version 2003 written by hand
// (flags 1, 2, 7 and 4; the stream holds names and values; names blank-padded, cut at a NUL, and empty).
// ZFLOW and ZFRAC names never count as unmatched. Query gives the flags and the names, 1 for a file without
// them.
TEST(XFile, RestoreByIndexOrByNameIntoChangedListsAndQuery) {
    const std::string abcd = scratch("abcd"), nonames = scratch("nonames"), v2003 = scratch("v2003");
    rtvarlst_t *src = list_of({"A", "B", "C", "D", "ZFLOW1", "Q.ZFRAC"}, true),
               *abc = list_of({"A", "B", "C"});
    save_file(abcd, src, flags_of({1, 4}));
    save_file(nonames, abc, flags_of({4}));
    Words w = header_words(digest_of(abc), flags_of({1, 2, 4, 7}), 1, 3, 2003);
    for (int32_t k = 1; k <= 3; ++k) {
        w.push_back(k);
        push_name(w, k == 1   ? std::string("X")
                     : k == 2 ? std::string("Y\0junk", 6)
                              : std::string("\0\0\0\0tail", 8));
        push_real(w, 10.0 * k);
    }
    w.push_back(-1);
    write_words(v2003, w);
    constexpr double U = 0.0;  // not restored: the list's own value
    const std::string index = "Matched message digest, restoring values by index\n",
                      name = "Restoring values by name\n",
                      saved = "Variables in this file were saved  with the following attributes:\n  value\n";
    const struct {
        const char *what;
        const std::string &file;
        Names names, subs;
        int64_t by_name, result;
        Reals expect;
        std::string history;
    } rows[] = {
        {"unchanged",
         abcd,
         {"A", "B", "C", "D", "ZFLOW1", "Q.ZFRAC"},
         {},
         0,
         0,
         {1, 2, 3, 4, 5, 6},
         index + saved},
        {"renamed",
         abcd,
         {"A", "B2", "C", "D", "ZFLOW1", "Q.ZFRAC"},
         {},
         1,
         -1,
         {1, U, 3, 4, 5, 6},
         name + saved},
        {"ZFLOW and ZFRAC never counted", abcd, {"A", "B", "C"}, {}, 1, -1, {1, 2, 3}, name + saved},
        {"a duplicate name belongs to the item named first",
         abcd,
         {"B", "A", "B"},
         {},
         1,
         -2,
         {2, 1, 0},
         "Duplicate name in dictionary 'B' (adding element)\n" + name + saved},
        {"substituted: B's longer name is not the guessed item holding its start",
         abcd,
         {"A", "Q", "QB", "C"},
         {"^B", "QB", "^D", "C"},
         1,
         0,
         {1, U, 2, 4},
         name + saved},
        {"by name without names",
         nonames,
         {"A", "B2"},
         {},
         1,
         0,
         {U, U},
         name + "Variables in this file were not saved with the NAME attribute, and cannot\nbe restored into "
                "the current configuration.\n"},
        {"version 2003: no physical type, no unit",
         v2003,
         {"A", "B", "C"},
         {},
         0,
         0,
         {10, 20, 30},
         index + saved},
    };
    for (const auto &r : rows) {
        HistoryCapture hist;
        rtvarlst_t *l = list_of(r.names);
        int64_t by_name = -1;
        EXPECT_EQ(restore_file(r.file, l, all_flags(), r.subs, nullptr, 0, &by_name), r.result) << r.what;
        EXPECT_EQ(by_name, r.by_name) << r.what;
        EXPECT_EQ(values(l), r.expect) << r.what;
        EXPECT_EQ(rtovarlst_inq_physical_type(l, 1) + rtovarlst_inq_var_uom(l, 1), 0) << r.what;
        EXPECT_EQ(hist.text(), r.history) << r.what;
        rtovarlst_destroy_c(&l);
    }
    // The exception list (1-based) and skip-fixed; unselected attributes are read past; fixed ones restored
    // without skip-fixed.
    HistoryCapture hist;
    rtvarlst_t *l = list_of({"A", "B", "C", "D", "ZFLOW1", "Q.ZFRAC"});
    rtovarlst_fix_var(l, 3);
    const std::vector<int64_t> except = {0, 1, 0, 0, 0, 0};
    EXPECT_EQ(restore_file(abcd, l, flags_of({1, 4}), {}, &except, 1), 0);
    EXPECT_EQ(values(l), (Reals{1, 0, 0, 4, 5, 6}));
    EXPECT_EQ(restore_file(abcd, l, flags_of({1}), {}, nullptr, 0) +
                  restore_file(abcd, l, flags_of({4}), {}, nullptr, 0),
              0);
    EXPECT_EQ(values(l), (Reals{1, 2, 3, 4, 5, 6}));
    Flags got{}, got2{};
    int64_t unit = open_file(v2003, RTXFILE_READ, l, {});
    EXPECT_EQ(RTXFILE_QUERY(&unit, got.data(), collect), 0);
    RTXFILE_CLOSE(&unit);
    unit = open_file(v2003, RTXFILE_READ, l, {});
    EXPECT_EQ(RTXFILE_QUERY(&unit, nullptr, nullptr), 0);  // names present, nobody to hear them
    RTXFILE_CLOSE(&unit);
    unit = open_file(nonames, RTXFILE_READ, l, {});
    EXPECT_EQ(RTXFILE_QUERY(&unit, got2.data(), collect), 1);
    RTXFILE_CLOSE(&unit);
    EXPECT_EQ(got, flags_of({1, 4}));  // version 2003 holds no physical type, no unit
    EXPECT_EQ(got2, flags_of({4}));
    EXPECT_EQ(g_names, (Names{"X", "Y", "(none)"}));
    for (rtvarlst_t *p : {l, src, abc}) rtovarlst_destroy_c(&p);
    for (const std::string &p : {abcd, nonames, v2003}) std::remove(p.c_str());
}

TEST(XFile, UpdateInPlaceThenRestoreAndRefusals) {
    HistoryCapture hist;
    rtvarlst_t *l = list_of({"A", "B", "C"}), *now = list_of({"A", "B", "C"}, true),
               *other = list_of({"A", "B", "X"});
    const std::string path = scratch("update");
    save_file(path, l, flags_of({1, 4, 8}));
    rtovarlst_set_spec(now, 2, 4);  // PARAM: fixed in mode 0, written as 1
    int64_t unit = open_file(path, RTXFILE_UPDATE, now, flags_of({4, 8}));
    RTXFILE_UPDATE_VARIABLE(&unit, &now, flags_of({4, 8}).data());
    RTXFILE_CLOSE(&unit);
    EXPECT_EQ(read_words(path)[512 + 36 * 1 + 33], 1);  // B's spec word
    EXPECT_EQ(restore_file(path, l, all_flags()), 0);
    EXPECT_EQ(values(l), (Reals{1, 2, 3}));
    EXPECT_EQ(rtovarlst_inq_spec(l, 2), 1);
    EXPECT_EQ(hist.text().find("!!"), std::string::npos) << hist.text();
    // Refused: an attribute not in the file; a list whose names differ; a list shorter than the file's range.
    EXPECT_EQ(open_file(path, RTXFILE_UPDATE, l, flags_of({4, 3})) +
                  open_file(path, RTXFILE_UPDATE, other, flags_of({4})),
              0);
    rtovarlst_set_nvar(now, 2);
    unit = open_file(path, RTXFILE_UPDATE, l, flags_of({4}));
    RTXFILE_UPDATE_VARIABLE(&unit, &now, flags_of({4}).data());
    RTXFILE_CLOSE(&unit);
    EXPECT_EQ(
        hist.text(),
        "!! rtxfile_open: Attemping update with attributes not currently in file\n"  // documented as is
        "!! rtxfile_open: Update operation not allowed on file not matched by index\n"
        "!! rtxfile_update_variable: There current variable list and x-file being updated are mismatched.\n");
    EXPECT_TRUE(all_units_free());
    for (rtvarlst_t *p : {l, other, now}) rtovarlst_destroy_c(&p);
    std::remove(path.c_str());
}

// Matched by index, then cut to two variables before the restore: the file's third variable has no place
// and counts as unmatched; the first two come back.
TEST(XFile, ByIndexAVariableBeyondTheListIsCountedUnmatched) {
    HistoryCapture hist;
    rtvarlst_t *saved = list_of({"A", "B", "C"}, true), *cut = list_of({"A", "B", "C"});
    const std::string path = scratch("cut_list");
    save_file(path, saved, flags_of({4}));
    int64_t by_name = -1;
    EXPECT_EQ(
        restore_file(path, cut, flags_of({4}), {}, nullptr, 0, &by_name, [&] { rtovarlst_set_nvar(cut, 2); }),
        -1);
    EXPECT_EQ(by_name, 0);
    EXPECT_EQ(values(cut), (Reals{1, 2}));
    for (rtvarlst_t *p : {saved, cut}) rtovarlst_destroy_c(&p);
    std::remove(path.c_str());
}

// A window whose parent was cut below its end saves the items past the parent's cells as zeros without a
// name, and reads nothing beyond the columns.
TEST(XFile, AWindowPastItsCutParentSavesZeros) {
    HistoryCapture hist;
    rtvarlst_t *parent = list_of({"A", "B", "C", "D"}, true);
    for (int32_t k = 1; k <= 4; ++k) rtovarlst_set_var_quality(parent, k, 3);
    rtvarlst_t *window = rtovarlst_create_sublist(parent, 2);
    rtovarlst_set_nvar(parent, 2);
    rtovarlst_resize(parent, 2);
    ASSERT_EQ(rtovarlst_inq_nvar(window), 3);
    const std::string path = scratch("cut_window");
    save_file(path, window, flags_of({1, 4, 14}));
    Words want;
    for (int32_t v = 1; v <= 3; ++v) {
        want.push_back(v);
        push_name(want, v == 1 ? "B" : "");
        want.push_back(v == 1 ? 3 : 0);  // quality
        push_real(want, v == 1 ? 2.0 : 0.0);
    }
    want.push_back(-1);
    const Words got = read_words(path);
    ASSERT_GE(got.size(), RTXFILE_RECORD_WORDS + want.size());
    EXPECT_EQ(Words(got.begin() + RTXFILE_RECORD_WORDS, got.begin() + RTXFILE_RECORD_WORDS + want.size()),
              want);
    rtovarlst_delete_sublist(&window);
    rtovarlst_destroy_c(&parent);
    std::remove(path.c_str());
}

// The n-th variable read in any order, here from the last to the first: some start exactly at a record's
// first word (names and values are 18 words, so every 256th).
TEST(XFile, TheNthVariableReadsInAnyOrder) {
    rtvarlst_t *l = list_of(numbered(1000), true);
    const std::string path = scratch("nth");
    save_file(path, l, flags_of({1, 4}));
    int64_t unit = open_file(path, RTXFILE_READ, l, flags_of({1, 4}));
    ASSERT_NE(unit, 0);
    for (int64_t n = 1000; n >= 1; --n) {
        int64_t index = 0, ints[8] = {}, eof = -1, status = -1;
        double reals[8] = {};
        char name[RTXFILE_NAME_LEN];
        RTO_READ_XREC_F(&unit, &n, &index, name, ints, reals, &eof, &status, sizeof name);
        ASSERT_EQ(status, 0) << "variable " << n;
        EXPECT_EQ(index, n) << "the index read for variable " << n;
        EXPECT_EQ(reals[0], static_cast<double>(n)) << "the value read for variable " << n;
    }
    RTXFILE_CLOSE(&unit);
    rtovarlst_destroy_c(&l);
    std::remove(path.c_str());
}

// The search starts after the unit handed out last, wraps at 99, and keeps a unit the caller opened itself
// out of the table; then text files shared by unit (a negative unit: searched from |unit|; already open: its
// unit).
TEST(XFile, UnitTableAndSharedTextFiles) {
    int64_t u = 0, err = -1, first = 0;
    RTO_GETIOC(&first, &err);
    RTO_FREIOC(&first);
    RTO_GETIOC(&u, &err);
    RTO_FREIOC(&u);
    EXPECT_EQ(u, first == 99 ? 60 : first + 1);
    int64_t held = u == 99 ? 60 : u + 1;
    ASSERT_EQ(
        zarn_funit_open_seq(static_cast<int32_t>(held), scratch("held").c_str(), scratch("held").size(), 1),
        0);
    std::vector<int64_t> got;
    for (RTO_GETIOC(&u, &err); err == 0; RTO_GETIOC(&u, &err)) got.push_back(u);
    const int64_t after_held = held == 99 ? 60 : held + 1;
    ASSERT_EQ(got.size(), 39u);
    EXPECT_EQ(got.front(), after_held);
    EXPECT_EQ(u, -1);
    std::vector<int64_t> every = got;
    every.push_back(held);
    std::sort(every.begin(), every.end());
    EXPECT_EQ(every.front(), 60) << "the lowest unit of the table";
    EXPECT_EQ(every.back(), 99) << "the highest unit of the table";
    {
        HistoryCapture hist;
        rtvarlst_t *l = list_of({"A"});
        EXPECT_EQ(open_file(scratch("nounit"), RTXFILE_CREATE, l, all_flags()), 0)
            << "an open with no unit free";
        EXPECT_EQ(hist.text(), "!! rtxfile_open: No free I/O unit in 60..99\n");
        rtovarlst_destroy_c(&l);
    }
    RTO_FREIOC(&got[5]);
    RTO_RESIOC(&got[5]);
    RTO_GETIOC(&u, &err);
    EXPECT_EQ(err, 1);  // reserved again
    zarn_funit_close(static_cast<int32_t>(held));
    RTO_FREIOC(&held);
    for (int64_t g : got) RTO_FREIOC(&g);
    EXPECT_TRUE(all_units_free());
    const int64_t lo = 60, hi = 62, six = 6;
    EXPECT_EQ(RTO_OPFUNT(&lo, &hi) * 10 + RTO_OPFUNT(&six, &six), 599);  // standard output is open
    const std::string path = scratch("shared.txt"), other = scratch("other");
    const struct {
        int64_t unit;
        bool fresh;
        const char *expect;
    } rows[] = {{40, false, "old\nnew\n"}, {-40, false, "new\n"}, {41, true, "new\n"}, {-40, true, "new\n"}};
    for (const auto &r : rows) {
        std::ofstream(path) << "old\n";
        zarn_funit_open_seq(41, other.c_str(), other.size(), 1);  // closed first when given
        int64_t unit = r.unit, status = -5, again = -50;
        (r.fresh ? RTO_SHARE_OPENEW : RTO_SHARE_OPEN)(path.c_str(), &unit, &status, path.size());
        const int64_t opened = r.unit < 0 ? 40 : r.unit;
        EXPECT_EQ(status, 0) << "row " << &r - rows;
        EXPECT_EQ(unit, opened) << "row " << &r - rows;
        RTO_SHARE_OPEN(path.c_str(), &again, &status, path.size());
        EXPECT_EQ(again, unit);
        zarn_funit_write_record(static_cast<int32_t>(unit), "new", 3);
        RTO_FLUSH_UNIT(&unit);
        zarn_funit_close(static_cast<int32_t>(unit));
        zarn_funit_close(41);
        EXPECT_EQ(slurp(path), r.expect) << r.unit << r.fresh;
    }
    // Once the host has closed standard error's unit 0, a shared open from 0 takes it.
    zarn_funit_close(0);
    int64_t zero = 0, status = -5;
    RTO_SHARE_OPEN(path.c_str(), &zero, &status, path.size());
    EXPECT_EQ(status, 0) << "a shared open from unit 0";
    EXPECT_EQ(zero, 0) << "the lowest free unit from 0 is 0 itself";
    zarn_funit_close(0);
    for (const std::string &p : {path, other, scratch("held")}) std::remove(p.c_str());
}

}  // namespace
