// Restores heard by someone: a listener is told of each change as the variable's writers tell it, in file
// order, and sees the list as it is at that change; nobody listening, the values come out the same.
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

}  // namespace
}  // namespace zarn::test
