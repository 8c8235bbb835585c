// Restores with and without someone listening to changes: a listener is told of each change as the
// variable's writers tell it, in file order, and sees the list as it is at that change; without one the
// values come out the same, whatever needs the writers' own path (codes out of range, records not made
// yet). By name, the index a saved name is first tried at is taken only where the lookup would give it.
#include <memory>
#include <string>
#include <vector>

#include "fakes.h"
#include "xfile_fixture.h"
#include "zarnutils/rtcontext.h"
#include "zarnutils/rttaglst.h"

namespace zarn::test {
namespace {

// Every change event heard: "name:code", and for a value change the upper bound held at that moment.
struct Listener {
    static inline std::string heard;
    static inline rtvarlst_t *list = nullptr;
    static intptr_t on_change(intptr_t name, intptr_t code, intptr_t) {
        const char *n = reinterpret_cast<const char *>(name);
        heard += std::string(n) + ":" + std::to_string(code);
        if (code == 1024) {
            const int32_t i = rtovarlst__varname2index(list, n);
            heard += "(upper " + std::to_string(rtovarlst_inq_var_upper(list, i, 0)) + ")";
        }
        heard += " ";
        return 0;
    }
    explicit Listener(rtvarlst_t *l) {
        list = l;
        heard.clear();
        rtoevent_create_callbacks(32);
        rtoevent_set_callback(RTOVARLST_CHANGE_EVENT, on_change);
    }
    ~Listener() {
        rtoevent_unset_callback(RTOVARLST_CHANGE_EVENT, on_change);
        rtoevent_destroy_callbacks();
    }
};

// The words of one record file, ended and written, restored into l with a listener or without.
int64_t restore_words(const std::string &path, Words words, rtvarlst_t *l, const Flags &f, bool heard) {
    words.push_back(-1);
    write_words(path, words);
    std::unique_ptr<Listener> listener(heard ? new Listener(l) : nullptr);
    return restore_file(path, l, f);
}

// What a restore leaves in a variable, for comparing whole variables.
std::string held(rtvarlst_t *l, int32_t i) {
    int64_t bound = 0;
    varInqBoundType(rtovarlst_inq_var_status(l, i), &bound);
    char mod[32] = "none";
    rtovarlst_inq_var_modified_string(l, i, mod);
    std::string s = std::to_string(rtovarlst_inq_spec(l, i)) + " " + mod + " q" +
                    std::to_string(rtovarlst_inq_var_quality(l, i)) + " t" +
                    std::to_string(rtovarlst_inq_physical_type(l, i)) + " c" +
                    std::to_string(rtovarlst_inq_var_conn_type(l, i)) + " b" + std::to_string(bound) + " h" +
                    std::to_string(rtovarlst_inq_var_param_homo(l, i)) + " r" +
                    std::to_string(rtovarlst_inq_var_ramped(l, i));
    for (double x : {rtovarlst_inq_var_lower(l, i, 0), rtovarlst_inq_var_value(l, i, 0),
                     rtovarlst_inq_var_upper(l, i, 0), rtovarlst_inq_var_step_inbaseuom(l, i),
                     rtovarlst_inq_var_initial(l, i, 0), rtovarlst_inq_var_sbweight(l, i),
                     rtovarlst_inq_var_target_homo(l, i, 0), rtovarlst_inq_var_threshold(l, i, 0)})
        s += " " + std::to_string(x);
    return s;
}

// A, B with every attribute set, then spec, lower, value and upper changed so that restoring the saved
// file changes them again.
rtvarlst_t *changed_copy() {
    rtvarlst_t *l = list_of({"A", "B"});
    for (int32_t i = 1; i <= 2; ++i) {
        set_every_attribute(l, i);
        rtovarlst_set_spec(l, i, 1);
        rtovarlst_set_var_lower(l, i, -7.0, 0);
        rtovarlst_set_var_value(l, i, 9.0, 0);
        rtovarlst_set_var_upper(l, i, 10.0, 0);
    }
    return l;
}

TEST(XFileListeners, EachChangeIsToldInFileOrderWithTheListAsItIsThen) {
    rtvarlst_t *src = list_of({"A", "B"});
    set_every_attribute(src, 1);
    set_every_attribute(src, 2);
    const std::string path = scratch("listen");
    save_file(path, src, all_flags());
    // spec, quality, homotopy parameter, ramped, lower, value, upper, homotopy target, threshold
    const std::string
        a = "A:512 A:8192 A:131072 A:524288 A:8 A:1024(upper 10.000000) A:256 A:262144 A:1048576 ",
        b = "B:512 B:8192 B:131072 B:524288 B:8 B:1024(upper 10.000000) B:256 B:262144 B:1048576 ";
    const struct {
        const char *name;
        bool callback;
        bool block_on_b;
        std::string heard;
        std::vector<int32_t> block_told;
    } rows[] = {
        {"nobody listens", false, false, "", {}},
        {"a change callback hears every variable", true, false, a + b, {}},
        {"a block object on B is told of B only", false, true, "", {2, 2, 2, 2, 2, 2, 2, 2, 2}},
        {"both", true, true, a + b, {2, 2, 2, 2, 2, 2, 2, 2, 2}},
    };
    for (const auto &row : rows) {
        HistoryCapture hist;
        rtvarlst_t *dst = changed_copy();
        RecordingBlock block;
        if (row.block_on_b) rtovarlst_set_var_blockptr(dst, 2, &block);
        {
            std::unique_ptr<Listener> listener(row.callback ? new Listener(dst) : nullptr);
            EXPECT_EQ(restore_file(path, dst, all_flags()), 0) << row.name;
            EXPECT_EQ(row.callback ? Listener::heard : "", row.heard) << row.name;
        }
        EXPECT_EQ(block.changed, row.block_told) << row.name;
        EXPECT_EQ(held(dst, 1), held(src, 1)) << row.name << ": A";
        EXPECT_EQ(held(dst, 2), held(src, 2)) << row.name << ": B";
        rtovarlst_destroy_c(&dst);
    }
    rtovarlst_destroy_c(&src);
    std::remove(path.c_str());
}

// Spec, the modified masks, physical type, connection type and bound type as integer words, then the
// value, written by hand into a file matched by index; the list holds spec 1, masks "1;2", type 3,
// connection 4, bound type 1 and value -0. Each row is restored with nobody listening and again with a
// listener: the same variable and the same messages either way.
TEST(XFileListeners, QuietAndHeardRestoresLeaveTheSameVariable) {
    const double kMinusZero = -0.0;
    const struct {
        const char *name;
        bool with_record;  // the variable has a modification record before the restore
        int32_t spec, mask1, mask2, ptype, conn, bound;
        double value;
        std::string want, messages;
    } rows[] = {
        {"spec out of range: reported, the rest restored", true, 9, 7, -9, 6, 11, 2, 2.5,
         "1 7;-9 t6 c11 b2 v2.500000", "!! varSetSpec: spec is out of range. 9\n"},
        {"physical type out of range", true, 5, 7, -9, 300, 11, 2, 2.5, "5 7;-9 t3 c11 b2 v2.500000",
         "!! varSetPhysicalType: physical type is out of range. 300\n"},
        {"bound type out of range", true, 5, 7, -9, 6, 11, 7, 2.5, "5 7;-9 t6 c11 b1 v2.500000",
         "!! varSetBoundType: bound type is out of range. 7\n"},
        {"connection type out of range: ignored", true, 5, 7, -9, 6, 2000, 2, 2.5,
         "5 7;-9 t6 c4 b2 v2.500000", ""},
        {"a positive second mask word goes to mask 1", true, 5, 7, 5, 6, 11, 2, 2.5,
         "5 5;2 t6 c11 b2 v2.500000", ""},
        {"zero mask words change nothing", true, 5, 0, 0, 6, 11, 2, 2.5, "5 1;2 t6 c11 b2 v2.500000", ""},
        {"no modification record: one is made", false, 5, 7, 0, 6, 11, 2, 2.5, "5 7;0 t6 c11 b2 v2.500000",
         ""},
        {"zero does not replace a held minus zero", true, 5, 7, -9, 6, 11, 2, 0.0,
         "5 7;-9 t6 c11 b2 v-0.000000", ""},
    };
    const std::string path = scratch("quiet");
    const Flags f = flags_of({8, 21, 2, 25, 17, 4});
    for (const auto &row : rows) {
        for (bool heard : {false, true}) {
            rtvarlst_t *l = list_of({"A"});
            rtovarlst_set_spec(l, 1, 1);
            rtovarlst_set_physical_type(l, 1, 3);
            rtovarlst_set_var_conn_type(l, 1, 4);
            int64_t w = rtovarlst_inq_var_status(l, 1);
            varSetBoundType(1, &w);
            rtovarlst_set_var_status(l, 1, w);
            rtovarlst_vec_value(l)[0] = kMinusZero;  // a writer would keep the 0 held: equal numbers
            if (row.with_record) rtovarlst_set_var_modified_string(l, 1, "1;2");
            Words words = header_words(digest_of(l), f, 1, 1);
            words.insert(words.end(), {1, row.spec, row.mask1, row.mask2, row.ptype, row.conn, row.bound});
            push_real(words, row.value);
            HistoryCapture hist;
            EXPECT_EQ(restore_words(path, words, l, f, heard), 0) << row.name;
            int64_t bound = 0;
            varInqBoundType(rtovarlst_inq_var_status(l, 1), &bound);
            char mod[32] = "none";
            rtovarlst_inq_var_modified_string(l, 1, mod);
            const std::string got = std::to_string(rtovarlst_inq_spec(l, 1)) + " " + mod + " t" +
                                    std::to_string(rtovarlst_inq_physical_type(l, 1)) + " c" +
                                    std::to_string(rtovarlst_inq_var_conn_type(l, 1)) + " b" +
                                    std::to_string(bound) + " v" +
                                    std::to_string(rtovarlst_inq_var_value(l, 1, 0));
            const std::string how = heard ? " (heard)" : " (quiet)";
            EXPECT_EQ(got, row.want) << row.name << how;
            const std::string text = hist.text();
            const size_t listed = text.find("  value\n");
            EXPECT_EQ(listed == std::string::npos ? text : text.substr(listed + 8), row.messages)
                << row.name << how;
            rtovarlst_destroy_c(&l);
        }
    }
    std::remove(path.c_str());
}

// Quality, ramped, step, SBWeight and homotopy target (those of the row's codes) written by hand into a file
// matched by index and restored into a variable with or without a sparse record (one is made by setting
// quality 3), once with nobody listening and once with a listener: the same values either way.
TEST(XFileListeners, SparseAttributesWithAndWithoutARecord) {
    constexpr double U = 1e35;
    const struct {
        const char *name;
        bool with_sparse;
        std::vector<int> codes;  // of 14, 24, 9, 10, 19
        int32_t quality, ramped;
        double step, sbweight, target;
        std::string want;
    } rows[] = {
        {"a record: every value stored", true, {14, 24, 9, 10, 19}, 2, 1, 0.5, 3.5, 6, "q2 r1 s0.5 w3.5 h6"},
        {"a record: values back to their defaults",
         true,
         {14, 24, 9, 10, 19},
         0,
         0,
         U,
         U,
         U,
         "q0 r0 sU wU hU"},
        {"no record, defaults only: nothing to make", false, {14, 24, 9}, 0, 0, U, 0, 0, "q0 r0 sU wU hU"},
        {"no record, quality 2", false, {14, 24, 9}, 2, 0, U, 0, 0, "q2 r0 sU wU hU"},
        {"no record, ramped", false, {14, 24, 9}, 0, 1, U, 0, 0, "q0 r1 sU wU hU"},
        {"no record, a step", false, {14, 24, 9}, 0, 0, 0.5, 0, 0, "q0 r0 s0.5 wU hU"},
        {"no record, SBWeight", false, {14, 10}, 0, 0, 0, 3.5, 0, "q0 r0 sU w3.5 hU"},
        {"no record, homotopy target", false, {14, 19}, 0, 0, 0, 0, 6, "q0 r0 sU wU h6"},
    };
    auto text = [](double x) {
        if (x == U) return std::string("U");
        std::string t = std::to_string(x);
        return t.erase(t.find_last_not_of('0') + 1).erase(t.find_last_not_of('.') + 1);
    };
    const std::string path = scratch("sparse");
    for (const auto &row : rows) {
        for (bool heard : {false, true}) {
            rtvarlst_t *l = list_of({"A"});
            if (row.with_sparse) rtovarlst_set_var_quality(l, 1, 3);
            Flags f{};
            for (int code : row.codes) f[code - 1] = 1;
            Words words = header_words(digest_of(l), f, 1, 1);
            words.push_back(1);
            if (f[13]) words.push_back(row.quality);
            if (f[23]) words.push_back(row.ramped);
            if (f[8]) push_real(words, row.step);
            if (f[9]) push_real(words, row.sbweight);
            if (f[18]) push_real(words, row.target);
            HistoryCapture hist;
            EXPECT_EQ(restore_words(path, words, l, f, heard), 0) << row.name;
            const std::string got = "q" + std::to_string(rtovarlst_inq_var_quality(l, 1)) + " r" +
                                    std::to_string(rtovarlst_inq_var_ramped(l, 1)) + " s" +
                                    text(rtovarlst_inq_var_step_inbaseuom(l, 1)) + " w" +
                                    text(rtovarlst_inq_var_sbweight(l, 1)) + " h" +
                                    text(rtovarlst_inq_var_target_homo(l, 1, 0));
            EXPECT_EQ(got, row.want) << row.name << (heard ? " (heard)" : " (quiet)");
            rtovarlst_destroy_c(&l);
        }
    }
    std::remove(path.c_str());
}

// A file of P3, P4 (values 3, 4; every attribute set) restored into a sublist over items 3 and 4 of a list
// P1..P4, by index (the sublist's names match) and by name (one name differs), with nobody listening and
// with a listener: the parent's items 3 and 4 get the values, items 1 and 2 keep theirs (every item holds
// every attribute first, so that the restore can write any of them in one call).
TEST(XFileListeners, RestoresIntoASublistReachTheParentsItems) {
    rtvarlst_t *src = list_of({"P3", "P4"});
    set_every_attribute(src, 1);
    set_every_attribute(src, 2);
    rtovarlst_set_var_value(src, 1, 3.0, 0);
    rtovarlst_set_var_value(src, 2, 4.0, 0);
    const std::string path = scratch("sublist");
    save_file(path, src, all_flags());
    const struct {
        const char *name;
        bool heard;
        const char *fourth;  // the name of the parent's item 4
        int64_t by_name;
        Reals want;
    } rows[] = {
        {"by index, nobody listens", false, "P4", 0, {9, 9, 3, 4}},
        {"by index, heard", true, "P4", 0, {9, 9, 3, 4}},
        {"by name, nobody listens", false, "Q4", 1, {9, 9, 3, 9}},
        {"by name, heard", true, "Q4", 1, {9, 9, 3, 9}},
    };
    for (const auto &row : rows) {
        HistoryCapture hist;
        rtvarlst_t *parent = list_of({"P1", "P2", "P3", row.fourth});
        // Every item holds every attribute (scale 2, records made) but value 9.
        for (int32_t k = 1; k <= 4; ++k) {
            set_every_attribute(parent, k);
            rtovarlst_set_var_value(parent, k, 9.0, 0);
        }
        rtvarlst_t *sub = rtovarlst_create_sublist(parent, 3);
        {
            std::unique_ptr<Listener> listener(row.heard ? new Listener(sub) : nullptr);
            int64_t by_name = -1;
            EXPECT_EQ(restore_file(path, sub, all_flags(), {}, nullptr, 0, &by_name), row.by_name ? -1 : 0)
                << row.name;
            EXPECT_EQ(by_name, row.by_name) << row.name;
        }
        EXPECT_EQ(values(parent), row.want) << row.name;
        EXPECT_EQ(held(parent, 3), held(src, 1)) << row.name << ": P3";
        rtovarlst_delete_sublist(&sub);
        rtovarlst_destroy_c(&parent);
    }
    rtovarlst_destroy_c(&src);
    std::remove(path.c_str());
}

// Names saved as A, B (values 1, 2) or X, Y, A (values 1, 2, 3) restored by name into lists where the item
// at the saved index is not the one the name finds.
TEST(XFileListeners, ByNameTheGuessedItemIsTakenOnlyWhereTheLookupGivesIt) {
    const std::string ab = scratch("guess_ab"), xya = scratch("guess_xya");
    rtvarlst_t *src_ab = list_of({"A", "B"}, true), *src_xya = list_of({"X", "Y", "A"}, true);
    save_file(ab, src_ab, flags_of({1, 4}));
    save_file(xya, src_xya, flags_of({1, 4}));
    const struct {
        const char *name;
        const std::string &file;
        Names names;
        const char *alias, *stands_for;  // an alias of the list, or none
        int64_t result;
        Reals want;
    } rows[] = {
        {"an alias finds another item than the one named so", ab, {"A", "B", "C"}, "B", "C", 0, {1, 0, 2}},
        {"a duplicate name belongs to the item named first",
         xya,
         {"C", "A", "A"},
         nullptr,
         nullptr,
         -2,
         {0, 3, 0}},
        {"names found at other places", xya, {"A", "Y", "X"}, nullptr, nullptr, 0, {3, 2, 1}},
    };
    for (const auto &row : rows) {
        HistoryCapture hist;
        rtvarlst_t *l = list_of(row.names);
        rtotaglst_t *tags = row.alias ? rtotaglst_create(4) : nullptr;
        if (tags) {
            rtotaglst_add_tag(tags, row.alias, row.stands_for);
            rtovarlst_set_taglst(l, tags);
        }
        int64_t by_name = 0;
        EXPECT_EQ(restore_file(row.file, l, flags_of({1, 4}), {}, nullptr, 0, &by_name), row.result)
            << row.name;
        EXPECT_EQ(by_name, 1) << row.name;
        EXPECT_EQ(values(l), row.want) << row.name;
        rtovarlst_destroy_c(&l);
        rtotaglst_destroy(tags);
    }
    rtovarlst_destroy_c(&src_ab);
    rtovarlst_destroy_c(&src_xya);
    std::remove(ab.c_str());
    std::remove(xya.c_str());
}

}  // namespace
}  // namespace zarn::test
