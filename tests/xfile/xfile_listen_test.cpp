// Restores with and without someone listening to changes: a listener is told of each change as the
// variable's writers tell it, in file order, and sees the list as it is at that change; without one the
// values come out the same, whatever needs the writers' own path (codes out of range, records not made
// yet).
#include <memory>
#include <string>
#include <vector>

#include "fakes.h"
#include "xfile_fixture.h"
#include "zarnutils/rtcontext.h"

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

constexpr double U = 1e35;  // undefined

// A real as text: trailing zeros cut, U when undefined.
std::string text(double x) {
    if (x == U) return "U";
    std::string t = std::to_string(x);
    return t.erase(t.find_last_not_of('0') + 1).erase(t.find_last_not_of('.') + 1);
}

// What a restore leaves in a variable: spec, modification masks, physical type, connection type, bound
// type, quality, ramped, homotopy parameter, then lower, value, upper, step, initial, SBWeight, homotopy
// target and threshold.
std::string held(rtvarlst_t *l, int32_t i) {
    int64_t bound = 0;
    varInqBoundType(rtovarlst_inq_var_status(l, i), &bound);
    char mod[32] = "none";
    rtovarlst_inq_var_modified_string(l, i, mod);
    std::string s = std::to_string(rtovarlst_inq_spec(l, i)) + " " + mod + " t" +
                    std::to_string(rtovarlst_inq_physical_type(l, i)) + " c" +
                    std::to_string(rtovarlst_inq_var_conn_type(l, i)) + " b" + std::to_string(bound) + " q" +
                    std::to_string(rtovarlst_inq_var_quality(l, i)) + " r" +
                    std::to_string(rtovarlst_inq_var_ramped(l, i)) + " p" +
                    std::to_string(rtovarlst_inq_var_param_homo(l, i));
    const double reals[] = {rtovarlst_inq_var_lower(l, i, 0),       rtovarlst_inq_var_value(l, i, 0),
                            rtovarlst_inq_var_upper(l, i, 0),       rtovarlst_inq_var_step_inbaseuom(l, i),
                            rtovarlst_inq_var_initial(l, i, 0),     rtovarlst_inq_var_sbweight(l, i),
                            rtovarlst_inq_var_target_homo(l, i, 0), rtovarlst_inq_var_threshold(l, i, 0)};
    for (int k = 0; k < 8; ++k) s += std::string(" ") + "lvusiwhe"[k] + text(reals[k]);
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

// One variable written by hand into a file matched by index: integer words (spec, the modified masks,
// physical type, connection type, bound type; or quality and ramped) and reals (the value; or step, SBWeight
// and homotopy target). The list holds spec 1, type 3, connection 4, bound type 1 and value -0, and with
// records also masks "1;2" and quality 3 (which makes the sparse record). Each row is restored with nobody
// listening and again with a listener: the same variable and the same messages either way.
TEST(XFileListeners, QuietAndHeardRestoresLeaveTheSameVariable) {
    const std::vector<int> masks_and_types = {8, 21, 2, 25, 17, 4};
    const struct {
        const char *name;
        bool with_records;
        std::vector<int> codes;
        Words ints;
        Reals reals;
        std::string want, messages;
    } rows[] = {
        {"spec out of range: reported, the rest restored",
         true,
         masks_and_types,
         {9, 7, -9, 6, 11, 2},
         {2.5},
         "1 7;-9 t6 c11 b2 q3 r0 p0 lU v2.5 uU sU iU wU hU eU",
         "!! varSetSpec: spec is out of range. 9\n"},
        {"physical type out of range",
         true,
         masks_and_types,
         {5, 7, -9, 300, 11, 2},
         {2.5},
         "5 7;-9 t3 c11 b2 q3 r0 p0 lU v2.5 uU sU iU wU hU eU",
         "!! varSetPhysicalType: physical type is out of range. 300\n"},
        {"bound type out of range",
         true,
         masks_and_types,
         {5, 7, -9, 6, 11, 7},
         {2.5},
         "5 7;-9 t6 c11 b1 q3 r0 p0 lU v2.5 uU sU iU wU hU eU",
         "!! varSetBoundType: bound type is out of range. 7\n"},
        {"connection type out of range: ignored",
         true,
         masks_and_types,
         {5, 7, -9, 6, 2000, 2},
         {2.5},
         "5 7;-9 t6 c4 b2 q3 r0 p0 lU v2.5 uU sU iU wU hU eU",
         ""},
        {"a positive second mask word goes to mask 1",
         true,
         masks_and_types,
         {5, 7, 5, 6, 11, 2},
         {2.5},
         "5 5;2 t6 c11 b2 q3 r0 p0 lU v2.5 uU sU iU wU hU eU",
         ""},
        {"zero mask words change nothing",
         true,
         masks_and_types,
         {5, 0, 0, 6, 11, 2},
         {2.5},
         "5 1;2 t6 c11 b2 q3 r0 p0 lU v2.5 uU sU iU wU hU eU",
         ""},
        {"no modification record: one is made",
         false,
         masks_and_types,
         {5, 7, 0, 6, 11, 2},
         {2.5},
         "5 7;0 t6 c11 b2 q0 r0 p0 lU v2.5 uU sU iU wU hU eU",
         ""},
        {"zero does not replace a held minus zero",
         true,
         masks_and_types,
         {5, 7, -9, 6, 11, 2},
         {0.0},
         "5 7;-9 t6 c11 b2 q3 r0 p0 lU v-0 uU sU iU wU hU eU",
         ""},
        {"a sparse record: values back to their defaults",
         true,
         {14, 24, 9, 10, 19},
         {0, 0},
         {U, U, U},
         "1 1;2 t3 c4 b1 q0 r0 p0 lU v-0 uU sU iU wU hU eU",
         ""},
        {"no sparse record, defaults only: nothing to make",
         false,
         {14, 24, 9},
         {0, 0},
         {U},
         "1 none t3 c4 b1 q0 r0 p0 lU v-0 uU sU iU wU hU eU",
         ""},
        {"no sparse record, quality 2",
         false,
         {14, 24, 9},
         {2, 0},
         {U},
         "1 none t3 c4 b1 q2 r0 p0 lU v-0 uU sU iU wU hU eU",
         ""},
        {"no sparse record, ramped",
         false,
         {14, 24, 9},
         {0, 1},
         {U},
         "1 none t3 c4 b1 q0 r1 p0 lU v-0 uU sU iU wU hU eU",
         ""},
        {"no sparse record, a step",
         false,
         {14, 24, 9},
         {0, 0},
         {0.5},
         "1 none t3 c4 b1 q0 r0 p0 lU v-0 uU s0.5 iU wU hU eU",
         ""},
        {"no sparse record, SBWeight",
         false,
         {14, 10},
         {0},
         {3.5},
         "1 none t3 c4 b1 q0 r0 p0 lU v-0 uU sU iU w3.5 hU eU",
         ""},
        {"no sparse record, homotopy target",
         false,
         {14, 19},
         {0},
         {6},
         "1 none t3 c4 b1 q0 r0 p0 lU v-0 uU sU iU wU h6 eU",
         ""},
    };
    const std::string path = scratch("quiet");
    for (const auto &row : rows) {
        for (bool heard : {false, true}) {
            rtvarlst_t *l = list_of({"A"});
            rtovarlst_set_spec(l, 1, 1);
            rtovarlst_set_physical_type(l, 1, 3);
            rtovarlst_set_var_conn_type(l, 1, 4);
            int64_t w = rtovarlst_inq_var_status(l, 1);
            varSetBoundType(1, &w);
            rtovarlst_set_var_status(l, 1, w);
            rtovarlst_vec_value(l)[0] = -0.0;  // a writer would keep the 0 held: equal numbers
            if (row.with_records) {
                rtovarlst_set_var_modified_string(l, 1, "1;2");
                rtovarlst_set_var_quality(l, 1, 3);
            }
            Flags f{};
            for (int code : row.codes) f[code - 1] = 1;
            Words words = header_words(digest_of(l), f, 1, 1);
            words.push_back(1);
            words.insert(words.end(), row.ints.begin(), row.ints.end());
            for (double r : row.reals) push_real(words, r);
            HistoryCapture hist;
            EXPECT_EQ(restore_words(path, words, l, f, heard), 0) << row.name;
            const std::string how = heard ? " (heard)" : " (quiet)";
            EXPECT_EQ(held(l, 1), row.want) << row.name << how;
            // The messages after the listing of the file's attributes.
            const std::string history = hist.text();
            const size_t listed = history.rfind("  ");
            const size_t after = history.find('\n', listed) + 1;
            EXPECT_EQ(history.substr(after), row.messages) << row.name << how;
            rtovarlst_destroy_c(&l);
        }
    }
    std::remove(path.c_str());
}

}  // namespace
}  // namespace zarn::test
