// Every entry point called as a careless caller would: extreme integers, null
// pointers, overlong texts. Each row says what the caller gets back, what the
// history shows and which assertion lines are printed; afterwards the list
// and its window are checked to be exactly as they were.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "eqnlst_fixture.h"
#include "hostile.h"
#include "platform/xalloc.h"

using namespace zarn::test;

namespace {

constexpr int32_t kMin = INT32_MIN;
constexpr int32_t kMax = INT32_MAX;
constexpr int64_t kMin64 = INT64_MIN;
constexpr int64_t kMax64 = INT64_MAX;

// A head EQ1..EQ3 of capacity 4 and a window "W." over its equations 2..3.
struct World {
    rtattrdict_t *list = equations(3, 4);
    rtattrdict_t *window = nullptr;
    World() {
        window = rtoeqnlst_create_embedded(2, list, "W.", 2);
        rtoeqnlst_set_neqn(window, 2);
    }
    ~World() {
        rtoeqnlst_destroy(&window);
        rtoeqnlst_destroy(&list);
    }
};

// Everything a caller can read of the head: size, capacity, and per equation
// its name and every attribute.
std::string state(rtattrdict_t *l) {
    std::string s = std::to_string(rtoeqnlst_inq_neqn(l)) + "/" + std::to_string(rtoeqnlst_inq_capacity(l));
    for (int32_t k = 1; k <= rtoeqnlst_inq_neqn(l); ++k) {
        const char *pv = rtoeqnlst_inq_eqn_proc_var(l, k);
        s += "|" + std::string(rtoeqnlst_lookup_eqn_name(l, k)) + "," +
             std::to_string(rtoeqnlst_inq_eqn_value(l, k)) + "," +
             std::to_string(rtoeqnlst_inq_eqn_scale(l, k)) + "," +
             std::to_string(rtoeqnlst_inq_eqn_shadow_price(l, k)) + "," +
             std::to_string(rtoeqnlst_inq_eqn_status(l, k)) + "," +
             std::to_string(rtoeqnlst_inq_eqn_group(l, k)) + "," +
             std::to_string(rtoeqnlst_inq_eqn_basic(l, k)) + "," + (pv ? pv : "(null)") + "," +
             (rtoeqnlst_inq_eqn_blockptr(l, k) ? "b" : "-");
    }
    return s;
}

std::string str(int64_t v) { return std::to_string(v); }

// Runs the rows with a fresh world each and checks the world kept its state.
void run_rows(const std::vector<std::pair<const char *, std::function<std::string(World &)>>> &calls,
              const std::vector<std::string> &expect) {
    ASSERT_EQ(calls.size(), expect.size());
    std::vector<HostileRow> rows;
    for (size_t k = 0; k < calls.size(); ++k) {
        auto call = calls[k].second;
        const char *what = calls[k].first;
        rows.push_back({what,
                        [call, what]() {
                            World w;
                            const std::string before = state(w.list);
                            std::string got = call(w);
                            EXPECT_EQ(state(w.list), before) << what << " changed the list";
                            return got;
                        },
                        expect[k]});
    }
    run_hostile(rows);
}

const std::string kLong(100000, 'E');

TEST(EqnListHostile, IndicesAndCountsAtTheirExtremes) {
    run_rows(
        {
            {"set_neqn(INT_MAX), set_neqn(INT_MIN)",
             [](World &w) {
                 rtoeqnlst_set_neqn(w.list, kMax);
                 rtoeqnlst_set_neqn(w.list, kMin);
                 return std::string();
             }},
            {"resize(INT_MAX) with memory short, resize(INT_MIN), resize(0) below the size",
             [](World &w) {
                 zarn::failalloc_set(1, true);
                 rtoeqnlst_resize(w.list, kMax);
                 zarn::failalloc_set(0);
                 rtoeqnlst_resize(w.list, kMin);
                 rtoeqnlst_resize(w.list, 0);
                 return std::string();
             }},
            {"move_items with extreme source and count",
             [](World &w) {
                 rtoeqnlst_move_items(w.list, kMax, 1, 1);
                 rtoeqnlst_move_items(w.list, 1, 2, kMin);
                 return std::string();
             }},
            {"relocate(INT_MIN) of a head and of a window",
             [](World &w) {
                 rtoeqnlst_relocate(w.list, kMin);
                 rtoeqnlst_relocate(w.window, kMin);
                 return std::string();
             }},
            {"create(INT_MIN), create_embedded at INT_MAX and INT_MIN",
             [](World &w) {
                 rtattrdict_t *own = rtoeqnlst_create(kMin);
                 std::string got = str(rtoeqnlst_inq_capacity(own));
                 got += str(rtoeqnlst_create_embedded(1, w.list, "", kMax) == nullptr);
                 got += str(rtoeqnlst_create_embedded(kMax, w.list, "", 1) == nullptr);
                 got += str(rtoeqnlst_create_embedded(1, w.list, "", kMin) == nullptr);
                 rtoeqnlst_destroy(&own);
                 return got;
             }},
            {"absolute_index of extremes through a window",
             [](World &w) {
                 return str(rtoeqnlst_absolute_index(w.window, kMax)) + " " +
                        str(rtoeqnlst_absolute_index(w.window, kMin));
             }},
            {"accessors at INT_MIN and INT_MAX",
             [](World &w) {
                 const std::string got = str(rtoeqnlst_inq_eqn_status(w.list, kMin)) +
                                         str(rtoeqnlst_inq_eqn_value(w.list, kMax) == 0.0) +
                                         str(rtoeqnlst_inq_eqn_comWrapper(w.window, kMax) == nullptr);
                 rtoeqnlst_set_eqn_basic(w.list, kMax, 1);
                 rtoeqnlst_set_eqn_proc_var(w.window, kMin, "P");
                 return got;
             }},
            {"names, names_eq and removeeqns over extreme ranges",
             [](World &w) {
                 char field[8] = "*******";
                 rtoeqnlst_names(w.list, kMin, kMax, 4, field);
                 rtoeqnlst_names(w.list, 1, 1, kMax, nullptr);
                 rtoeqnlst_removeeqns(w.list, kMax, kMin);
                 std::string got = field;
                 got += str(rtoeqnlst_names_eq(w.list, 1, kMax, w.list, 1, kMax));
                 got += str(rtoeqnlst_names_eq(w.list, 1, kMin, w.list, kMax, kMin));
                 got += str(rtoeqnlst_addeqns(w.list, kMin, kMax, 4, "ABCD"));
                 return got;
             }},
            {"norm, inclusion and the largest lists at the extremes",
             [](World &w) {
                 double norm = 0.0;
                 rtoeqnlst_norm(w.list, kMin, kMax, &norm);
                 rtoeqnlst_in_exclude_equation(w.list, kMax, 0);
                 int32_t out[2] = {-7, -7};
                 rtoeqnlst_inq_max_residuals(w.list, kMin, kMax, 2, 0, out);
                 rtoeqnlst_inq_max_shadow_prices(w.list, kMax, kMin, kMax, 1, out);
                 return str(norm == 1e35) + " " + str(out[0]) + str(out[1]);
             }},
            {"the Fortran twins at the 64-bit extremes",
             [](World &w) {
                 char field[4] = {'*', '*', '*', '*'};
                 RTOEQNLST_SET_NEQN_F(&w.list, &kMax64);
                 RTOEQNLST_SET_NEQN_F(&w.list, &kMin64);
                 RTOEQNLST_RESIZE_F(&w.list, &kMin64);
                 RTOEQNLST_INQ_EQN_NAME_F(&w.list, &kMax64, field, sizeof field);
                 RTOEQNLST_NAMES_F(&w.list, &kMin64, &kMax64, &kMax64, field, sizeof field);
                 RTOEQNLST_ADDEQN_I4_F(&w.list, &kMax64, nullptr, &kMax64);
                 std::string got(field, 4);
                 got += str(RTOEQNLST_ABSOLUTE_INDEX_F(&w.window, &kMax64)) + " ";
                 got += str(RTOEQNLST_ADDEQNS_F(&w.list, &kMin64, &kMin64, &kMax64, "", 0));
                 return got;
             }},
        },
        {
            "|!! rtoeqnlst_set_neqn: size 2147483647 exceeds capacity 4\n|",
            "|!!head_change_capacity: unable to allocate 2147483647 elements (not changed)\n"
            "!!head_change_capacity: capacity 0 less than size 3 (not changed)\n|",
            "|!!head_move_elems: bad source or destination, source 2147483647, dest 1, move size 1, list "
            "size 3"
            "!! head_move_elems: size < 0 (-2147483648)\n|",
            "|!! head_relocate: relocate is not allowed for a head list\n!!embedded_relocate: parent is not "
            "big "
            "enough\n|",
            "0111|!! rtattrdict_create_embedded: parent too small (3) for embedded (1)\n"
            "!! rtattrdict_create_embedded: parent too small (3) for embedded (2147483647)\n"
            "!! rtattrdict_create_embedded: bad start -2147483648 or capacity 1\n|",
            "2147483647 -2147483647||",
            "011|!!head_seti: Access beyond size limited 2147483647 3\n"
            "!!embedded_sets: Access beyond size limited -2147483648 2\n|",
            "*******000|!!rtoeqnlst_names_c: Bad indices -2147483648 2147483647 3\n"
            "!! head_defunct: illegal range, start 2147483647, stop -2, capacity 4\n|A(head_addgroup: bad "
            "indices)",
            // every residual is unset: the tie keeps the sort's order
            "1 12||A(rtoeqnlst_norm: start<=0)A(rtoeqnlst_inq_max_residuals: start<=0)",
            "    2147483647 0|!! rtoeqnlst_set_neqn: size 2147483647 exceeds capacity 4\n"
            "!!rtoeqnlst_names_c: Bad indices -2147483647 2147483647 3\n"
            "!!head_sets: Access beyond size limited 2147483647 3\n|A(head_addgroup: bad indices)",
        });
}

TEST(EqnListHostile, NullListsGiveZeroValuesSilently) {
    rtattrdict_t *none = nullptr;
    const int64_t one = 1;
    int64_t plex = -1;
    char field[4] = {'*', '*', '*', '*'};
    HistoryCapture his;
    EXPECT_EQ(
        rtoeqnlst_inq_neqn(nullptr) + rtoeqnlst_inq_capacity(nullptr) + rtoeqnlst_inq_neqn_active(nullptr),
        0);
    EXPECT_EQ(rtoeqnlst_absolute_index(nullptr, 1) + rtoeqnlst_parent_check(nullptr, nullptr), 0);
    EXPECT_EQ(rtoeqnlst_inq_eqn_value(nullptr, 1) + rtoeqnlst_inq_eqn_scale(nullptr, 1), 0.0);
    EXPECT_EQ(rtoeqnlst_inq_eqn_shadow_price(nullptr, 1), 0.0);
    EXPECT_EQ(rtoeqnlst_inq_eqn_status(nullptr, 1) + rtoeqnlst_inq_eqn_group(nullptr, 1), 0);
    EXPECT_EQ(rtoeqnlst_inq_eqn_basic(nullptr, 1), 0);
    EXPECT_EQ(rtoeqnlst_inq_eqn_blockptr(nullptr, 1), nullptr);
    EXPECT_EQ(rtoeqnlst_inq_eqn_proc_var(nullptr, 1), nullptr);
    EXPECT_EQ(rtoeqnlst_inq_eqn_comWrapper(nullptr, 1), nullptr);
    EXPECT_EQ(rtoeqnlst_lookup_eqn_name(nullptr, 1), nullptr);
    EXPECT_EQ(rtoeqnlst__eqnname2index(nullptr, "EQ1"), 0);
    EXPECT_EQ(rtoeqnlst_vec_residual(nullptr), nullptr);
    EXPECT_EQ(rtoeqnlst_vec_scale(nullptr), nullptr);
    EXPECT_EQ(rtoeqnlst_vec_shadow_price(nullptr), nullptr);
    EXPECT_EQ(rtoeqnlst_vec_status(nullptr), nullptr);
    EXPECT_EQ(rtoeqnlst_vec_group(nullptr), nullptr);
    EXPECT_EQ(rtoeqnlst_vec_basic(nullptr), nullptr);
    EXPECT_EQ(rtoeqnlst_vec_blockptr(nullptr), nullptr);
    EXPECT_EQ(rtoeqnlst_addeqns(nullptr, 1, 1, 4, "ABCD"), 0);
    EXPECT_EQ(rtoeqnlst_compute_md(nullptr, nullptr), 0);
    rtoeqnlst_set_neqn(nullptr, 1);
    rtoeqnlst_resize(nullptr, 1);
    rtoeqnlst_move_items(nullptr, 1, 2, 1);
    rtoeqnlst_relocate(nullptr, 1);
    rtoeqnlst_printsymbolstats(nullptr);
    rtoeqnlst_addeqn(nullptr, 1, "EQ1");
    rtoeqnlst_removeeqns(nullptr, 1, 1);
    rtoeqnlst_names(nullptr, 1, 1, 4, field);
    rtoeqnlst_set_eqn_scale(nullptr, 1, 1.0);
    rtoeqnlst_set_eqn_shadow_price(nullptr, 1, 1.0);
    rtoeqnlst_set_eqn_status(nullptr, 1, 1);
    rtoeqnlst_set_eqn_basic(nullptr, 1, 1);
    rtoeqnlst_set_eqn_blockptr(nullptr, 1, field);
    rtoeqnlst_set_eqn_blockptr_int(nullptr, 1, 1);
    rtoeqnlst_set_eqn_proc_var(nullptr, 1, "P");
    rtoeqnlst_set_eqn_comWrapper(nullptr, 1, nullptr);
    rtoeqnlst_destroy(&none);
    EXPECT_EQ(RTOEQNLST_INQ_NEQN_F(&none) + RTOEQNLST_INQ_CAPACITY_F(nullptr), 0);
    EXPECT_EQ(RTOEQNLST_ABSOLUTE_INDEX_F(&none, &one) + RTOEQNLST_EQNNAME2INDEX(&none, "EQ1", 3), 0);
    RTOEQNLST_INQ_EQN_NAME_F(&none, &one, field, sizeof field);
    EXPECT_EQ(std::string(field, 4), "    ");
    RTOEQNLST_ZARN_LBE(&none, &plex);
    EXPECT_EQ(plex, 0);
    RTOEQNLST_ZARN_LBESTAT(nullptr, nullptr);
    EXPECT_EQ(his.text(), "");
}

TEST(EqnListHostile, OverlongTextsAreCutOrRefused) {
    HistoryCapture his;
    World w;
    EXPECT_EQ(rtoeqnlst__eqnname2index(w.list, kLong.c_str()), 0);
    EXPECT_EQ(RTOEQNLST_EQNNAME2INDEX(&w.list, kLong.c_str(), kLong.size()), 0);
    EXPECT_EQ(rtoeqnlst_equation_object(w.list, kLong.c_str()), 0);
    rtoeqnlst_set_eqn_proc_var(w.list, 1, kLong.c_str());
    EXPECT_EQ(std::string(rtoeqnlst_inq_eqn_proc_var(w.list, 1)).size(), 1024u);
    rtoeqnlst_addeqn(w.list, 3, kLong.c_str());
    EXPECT_EQ(std::string(rtoeqnlst_lookup_eqn_name(w.list, 3)).size(), 1024u);
    EXPECT_EQ(rtoeqnlst_equation_object(w.list, std::string(1024, 'E').c_str()), 3);
    EXPECT_EQ(his.text(), "");
}

}  // namespace
