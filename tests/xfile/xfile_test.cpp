// X-files: saved bytes against the layout, every attribute's round trip, restores by index and by name,
// update in place, query, the unit table and shared text files.
#include <algorithm>
#include <sstream>

#include "fakes.h"
#include "platform/funit.h"
#include "xfile_fixture.h"

using namespace zarn::test;

namespace {

using XFile = XFileTest;

// Every attribute a file can restore into variable i, as text: the integers (the modification masks as
// their string), then scale, lower, value, upper, step, initial, SBWeight, homotopy target and threshold.
std::string attributes_of(rtvarlst_t *l, int32_t i) {
    int64_t bound = 0;
    varInqBoundType(rtovarlst_inq_var_status(l, i), &bound);
    char mod[32] = "none";
    rtovarlst_inq_var_modified_string(l, i, mod);
    std::ostringstream s;
    s << "spec" << rtovarlst_inq_spec(l, i) << " mod" << mod << " base" << rtovarlst_inq_var_baseuom(l, i)
      << " uom" << rtovarlst_inq_var_uom(l, i) << " type" << rtovarlst_inq_physical_type(l, i) << " conn"
      << rtovarlst_inq_var_conn_type(l, i) << " bound" << bound << " quality"
      << rtovarlst_inq_var_quality(l, i) << " ramped" << rtovarlst_inq_var_ramped(l, i) << " homotopy"
      << rtovarlst_inq_var_param_homo(l, i) << " |";
    for (double x :
         {rtovarlst_inq_var_scale(l, i), rtovarlst_inq_var_lower(l, i, 0), rtovarlst_inq_var_value(l, i, 0),
          rtovarlst_inq_var_upper(l, i, 0), rtovarlst_inq_var_step_inbaseuom(l, i),
          rtovarlst_inq_var_initial(l, i, 0), rtovarlst_inq_var_sbweight(l, i),
          rtovarlst_inq_var_target_homo(l, i, 0), rtovarlst_inq_var_threshold(l, i, 0)})
        s << ' ' << x;
    return s.str();
}

// Header, names, integer and real orders (reals times scale 2 but scale, SBWeight and threshold), end word,
// zero padding. Every attribute back: by name through the writers into a list of another scale (scale is
// never restored; reals the file holds unscaled are divided by the scale now held), by index in one call,
// and through the writers again when a block object hears each change.
TEST_F(XFile, LayoutEveryAttributeRoundTrip) {
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

    const std::string ints = "spec5 mod7;-9 base3 uom4 type6 conn11 bound2 quality2 ramped1 homotopy1 | ",
                      as_saved = ints + "2 -4 1.5 8 0.25 0.5 3.5 6 0.125";
    const struct {
        const char *what;
        bool by_name;  // into C, AB with C's scale 4; else into AB, C holding other values
        bool block_on_second;
        std::string first, second;
        std::vector<int32_t> block_told;
    } rows[] = {
        {"by name",
         true,
         false,
         ints + "4 -2 0.75 4 0.125 0.25 3.5 3 0.125",
         ints + "1 -8 3 16 0.5 1 3.5 12 0.125",
         {}},
        {"by index, nobody listening", false, false, as_saved, as_saved, {}},
        // spec, quality, homotopy parameter, ramped, lower, value, upper, homotopy target, threshold
        {"by index, a block object on C", false, true, as_saved, as_saved, {2, 2, 2, 2, 2, 2, 2, 2, 2}},
    };
    for (const auto &row : rows) {
        HistoryCapture hist;
        rtvarlst_t *dst = list_of(row.by_name ? Names{"C", "AB"} : Names{"AB", "C"});
        for (int32_t i = 1; i <= 2 && !row.by_name; ++i) {
            set_every_attribute(dst, i);
            rtovarlst_set_spec(dst, i, 1);
            rtovarlst_set_var_lower(dst, i, -7.0, 0);
            rtovarlst_set_var_value(dst, i, 9.0, 0);
            rtovarlst_set_var_upper(dst, i, 10.0, 0);
        }
        if (row.by_name) rtovarlst_vec_scale(dst)[0] = 4.0;
        RecordingBlock block;
        if (row.block_on_second) rtovarlst_set_var_blockptr(dst, 2, &block);
        EXPECT_EQ(restore_file(path, dst, all_flags()), 0) << row.what;
        EXPECT_EQ(block.changed, row.block_told) << row.what;
        EXPECT_EQ(attributes_of(dst, 1), row.first) << row.what;
        EXPECT_EQ(attributes_of(dst, 2), row.second) << row.what;
    }
}

Names g_names;
void collect(const char *name) { g_names.push_back(name ? name : "(none)"); }

// A file of A, B, C, D, ZFLOW1, Q.ZFRAC (values 1..6), one without names, one of version 2003 by hand (flags
// 1, 2, 7 and 4; names blank-padded, cut at a NUL, and empty). Query gives flags and names, 1 without names.
TEST_F(XFile, RestoreByIndexOrByNameIntoChangedListsAndQuery) {
    const std::string abcd = scratch("abcd"), nonames = scratch("nonames"), v2003 = scratch("v2003");
    const Names saved_names = {"A", "B", "C", "D", "ZFLOW1", "Q.ZFRAC"};
    rtvarlst_t *src = list_of(saved_names, true), *abc = list_of({"A", "B", "C"});
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
        {"ZFLOW and ZFRAC never counted", abcd, {"A", "B", "C"}, {}, 1, -1, {1, 2, 3}, name + saved},
        {"a duplicate name belongs to the item named first",
         abcd,
         {"B", "A", "B"},
         {},
         1,
         -2,
         {2, 1, 0},
         "Duplicate name in dictionary 'B' (adding element)\n" + name + saved},
        {"substituted: B's longer name is not the guessed item holding its start; A's name, emptied, finds "
         "nothing",
         abcd,
         {"A", "Q", "QB", "C"},
         {"^B", "QB", "^D", "C", "^A$", ""},
         1,
         0,
         {U, U, 2, 4},
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
        EXPECT_EQ(restore_file(r.file, l, all_flags(), {}, r.subs, nullptr, 0, &by_name), r.result) << r.what;
        EXPECT_EQ(by_name, r.by_name) << r.what;
        EXPECT_EQ(values(l), r.expect) << r.what;
        EXPECT_EQ(hist.text(), r.history) << r.what;
    }
    // The exception list (1-based) and skip-fixed; unselected attributes are read past.
    HistoryCapture hist;
    rtvarlst_t *l = list_of(saved_names);
    rtovarlst_fix_var(l, 3);
    const std::vector<int64_t> except = {0, 1, 0, 0, 0, 0};
    EXPECT_EQ(restore_file(abcd, l, flags_of({1, 4}), {}, {}, &except, 1), 0);
    EXPECT_EQ(values(l), (Reals{1, 0, 0, 4, 5, 6}));
    // Values alone, B's block listening: the first real read is divided by the internal scale too (B holds
    // 2 over its scale 2).
    RecordingBlock block;
    rtovarlst_set_var_blockptr(l, 2, &block);
    rtovarlst_vec_scale(l)[1] = 2.0;
    EXPECT_EQ(restore_file(abcd, l, flags_of({1})) + restore_file(abcd, l, flags_of({4})), 0);
    EXPECT_EQ(values(l), (Reals{1, 1, 3, 4, 5, 6}));
    // Matched by index, then cut to four variables: the file's last two have no place and count as unmatched.
    EXPECT_EQ(restore_file(abcd, l, flags_of({4}), [&] { rtovarlst_set_nvar(l, 4); }), -2);
    const auto query = [&](const std::string &file, Flags *flags) {
        int64_t unit = open_file(file, RTXFILE_READ, l, {});
        const int64_t r = RTXFILE_QUERY(&unit, flags ? flags->data() : nullptr, flags ? collect : nullptr);
        RTXFILE_CLOSE(&unit);
        return r;
    };
    Flags got{}, got2{};
    EXPECT_EQ(query(v2003, &got), 0);
    EXPECT_EQ(query(v2003, nullptr), 0);  // names present, nobody to hear them
    EXPECT_EQ(query(nonames, &got2), 1);
    EXPECT_EQ(got, flags_of({1, 4}));  // version 2003 holds no physical type, no unit
    EXPECT_EQ(got2, flags_of({4}));
    EXPECT_EQ(g_names, (Names{"X", "Y", "(none)"}));
}

TEST_F(XFile, UpdateInPlaceThenRestoreAndRefusals) {
    HistoryCapture hist;
    rtvarlst_t *l = list_of({"A", "B", "C"}), *now = list_of({"A", "B", "C"}, true),
               *other = list_of({"A", "B", "X"});
    const std::string path = scratch("update");
    save_file(path, l, flags_of({1, 4, 8}));
    rtovarlst_set_spec(now, 2, 4);            // PARAM: fixed in mode 0, written as 1
    rtovarlst_set_var_value(now, 2, 2.1, 0);  // both words of the real change
    int64_t unit = open_file(path, RTXFILE_UPDATE, now, flags_of({4, 8}));
    RTXFILE_UPDATE_VARIABLE(&unit, &now, flags_of({4, 8}).data());
    RTXFILE_CLOSE(&unit);
    EXPECT_EQ(restore_file(path, l, all_flags()), 0);
    EXPECT_EQ(values(l), (Reals{1, 2.1, 3}));
    EXPECT_EQ(rtovarlst_inq_spec(l, 2), 1);
    EXPECT_EQ(hist.text().find("!!"), std::string::npos) << hist.text();
    // Refused: an attribute not in the file; a list whose names differ; a digest that differs only in its
    // first word; a list shorter than the file's range.
    EXPECT_EQ(open_file(path, RTXFILE_UPDATE, l, flags_of({4, 3})) +
                  open_file(path, RTXFILE_UPDATE, other, flags_of({4})),
              0);
    Digest first_word_differs = digest_of(l);
    first_word_differs[0] += 1;
    int64_t update = RTXFILE_UPDATE;
    EXPECT_EQ(RTXFILE_OPEN(path.c_str(), first_word_differs.data(), &update, flags_of({4}).data(), nullptr,
                           path.size()),
              0)
        << "a digest that differs only in its first word";
    rtovarlst_set_nvar(now, 2);
    unit = open_file(path, RTXFILE_UPDATE, l, flags_of({4}));
    RTXFILE_UPDATE_VARIABLE(&unit, &now, flags_of({4}).data());
    RTXFILE_CLOSE(&unit);
    EXPECT_EQ(
        hist.text(),
        "!! rtxfile_open: Attemping update with attributes not currently in file\n"  // documented as is
        "!! rtxfile_open: Update operation not allowed on file not matched by index\n"
        "!! rtxfile_open: Update operation not allowed on file not matched by index\n"
        "!! rtxfile_update_variable: There current variable list and x-file being updated are mismatched.\n");
    EXPECT_TRUE(all_units_free());
}

// A window whose parent was cut below its end saves the items past the parent's cells as zeros without a
// name, and reads nothing beyond the columns.
TEST_F(XFile, AWindowPastItsCutParentSavesZeros) {
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
}

// The n-th variable read in any order, here from the last to the first: some start exactly at a record's
// first word (names and values are 18 words, so every 256th).
TEST_F(XFile, TheNthVariableReadsInAnyOrder) {
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
}

// The low-level reader takes any unit from 0 on and reads each file it opens afresh, also on the unit the
// file before it had; a file that is not there is refused, not made.
TEST_F(XFile, TheLowLevelOpenTakesUnitZeroAndReadsEachFileAfresh) {
    const std::string two = scratch("low_two"), three = scratch("low_three"),
                      missing = scratch("low_missing");
    save_file(two, list_of(numbered(2), true), flags_of({4}));
    rtvarlst_t *l = list_of(numbered(3), true);
    rtovarlst_set_var_value(l, 1, 9.0, 0);
    save_file(three, l, flags_of({4}));
    const struct {
        const std::string &path;
        int64_t last;
        double first_value;
    } files[] = {{two, 2, 1.0}, {three, 3, 9.0}};
    for (const auto &file : files) {
        int64_t unit = 0, last = 0, status = -1, index = 0, ints[8] = {}, eof = -1;
        double reals[8] = {};
        char name[RTXFILE_NAME_LEN];
        RTO_OPENRD_XFILE_F(&unit, file.path.c_str(), nullptr, nullptr, nullptr, nullptr, &last, &status,
                           file.path.size());
        ASSERT_EQ(status, 0) << file.path;
        EXPECT_EQ(last, file.last) << file.path << ": the header's last index";
        RTO_READ_XFILE_F(&unit, &index, name, ints, reals, &eof, &status, sizeof name);
        EXPECT_EQ(reals[0], file.first_value) << file.path << ": the first variable's value";
        RTO_CLOSE_XFILE_F(&unit, &status);
    }
    int64_t unit = 0, status = 0;
    RTO_OPENRD_XFILE_F(&unit, missing.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr, &status,
                       missing.size());
    EXPECT_NE(status, 0) << "a file that is not there opened";
    EXPECT_NE(::access(missing.c_str(), F_OK), 0) << "a file that is not there made by the open";
}

// The search starts after the unit handed out last, wraps at 99 and skips a unit the caller opened; text
// files shared by unit (a negative unit: searched from |unit|; already open: its unit).
TEST_F(XFile, UnitTableAndSharedTextFiles) {
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
    ASSERT_EQ(got.size(), 39u);
    EXPECT_EQ(got.front(), held == 99 ? 60 : held + 1);
    EXPECT_EQ(u, -1);
    got.push_back(held);
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got.front(), 60) << "the lowest unit of the table";
    EXPECT_EQ(got.back(), 99) << "the highest unit of the table";
    HistoryCapture hist;
    EXPECT_EQ(open_file(scratch("nounit"), RTXFILE_CREATE, nullptr, {}), 0) << "an open with no unit free";
    EXPECT_EQ(hist.text(), "!! rtxfile_open: No free I/O unit in 60..99\n");
    RTO_FREIOC(&got[5]);
    RTO_RESIOC(&got[5]);
    RTO_GETIOC(&u, &err);
    EXPECT_EQ(err, 1);  // reserved again
    zarn_funit_close(static_cast<int32_t>(held));
    for (int64_t g : got) RTO_FREIOC(&g);
    EXPECT_TRUE(all_units_free());
    const int64_t lo = 60, hi = 62, six = 6;
    EXPECT_EQ(RTO_OPFUNT(&lo, &hi) * 10 + RTO_OPFUNT(&six, &six), 599);  // standard output is open
    const std::string path = scratch("shared.txt"), other = scratch("other");
    const struct {
        int64_t unit;
        bool fresh;
        const char *expect;
    } rows[] = {{40, false, "old\nnew\n"}, {-40, false, "new\n"}, {41, true, "new\n"}};
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
}

}  // namespace
