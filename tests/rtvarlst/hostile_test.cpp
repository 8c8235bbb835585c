// Every entry point called as a careless caller would: extreme integers, null pointers,
// overlong texts, calls twice in a row or on nothing. Unless a row says it changes
// something, the list and its sublist are left exactly as they were. The twins taking
// an item index run at the same extremes in twins_test.cpp.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>

#include "platform/xalloc.h"
#include "varlst_fixture.h"

using namespace zarn::test;

namespace {

// A list X1..X3 of capacity 4 and a sublist over items 2..3.
struct World {
    rtvarlst_t *list = named_list(3, 4), *sub = rtovarlst_create_sublist(list, 2);
    ~World() {
        rtovarlst_delete_sublist(&sub);
        rtovarlst_destroy_c(&list);
    }
};

constexpr int32_t kMin = INT32_MIN, kMax = INT32_MAX;
const std::vector<int32_t> kAll = {0, -1, kMin, kMax}, kNonZero = {-1, kMin, kMax}, kNegative = {-1, kMin};
const std::string kLong(100000, 'A'),
    kAssert = "Assertion '",
    kAdditems = kAssert + "head_additems: bad indices' failed in source/rtattrdict/rtattrdict:";
CountingWrapper g_wrapper;
RecordingBlock g_block;

std::string times(int n, const std::string &text) { return n > 0 ? text + times(n - 1, text) : ""; }

// Every reader at item i: the zero value of its kind (a null list: the neutral value), out-arguments kept,
// nothing printed.
void read_all(rtvarlst_t *l, int32_t i) {
    const std::string r = "," + num(l ? 0.0 : RTOVARLST_UNDEFINED),
                      n = "," + std::to_string(l ? 0 : RTOVARLST_NEUTRAL_INT);
    EXPECT_EQ(item(l, i), ",,-" + n + times(12, r) + n + n + (l ? ",0" : ",1") + times(18, ",0") + "," +
                              std::to_string(RTOVARLST_NEUTRAL_INT) + times(4, ",0") +
                              times(6, "," + num(7)));
    rtovarlst_copy_var(l, i, l, 1);
    rtovarlst_copy_var(l, 1, l, i);
    EXPECT_EQ(rtovarlst_names_eq(l, i, i, l, 1, 1), 0);
}

// Every writer at item i (but RAMPED and BASIC ignore index 0); those reaching the dictionary report the
// access.
void write_all(rtvarlst_t *l, int32_t i) {
    for (auto f : {rtovarlst_set_var_value, rtovarlst_set_var_initial, rtovarlst_set_var_lower,
                   rtovarlst_set_var_upper, rtovarlst_set_var_slvscl, rtovarlst_set_var_shadow_price,
                   rtovarlst_set_var_threshold, rtovarlst_set_var_target_homo})
        f(l, i, 2.0, 1);
    for (auto f : {rtovarlst_set_var_step, rtovarlst_set_var_step_inbaseuom, rtovarlst_set_var_sbweight})
        f(l, i, 2.0);
    for (auto f : {rtovarlst_set_var_active_bound, rtovarlst_set_var_related, rtovarlst_set_var_quality,
                   rtovarlst_set_var_uom, rtovarlst_set_var_baseuom, rtovarlst_set_var_ramped,
                   rtovarlst_set_var_basic})
        f(l, i, 2);
    const rtvarmod_t pair{1, 2};
    const ProfileItem item{};
    rtovarlst_set_var_status(l, i, 2);
    rtovarlst_set_var_connMgr(l, i, l);
    rtovarlst_set_var_profile(l, i, nullptr);
    rtovarlst_set_var_blockptr(l, i, &g_block);
    rtovarlst_set_var_blockptr_int(l, i, 8);
    rtovarlst_set_var_modified(l, i, &pair);
    rtovarlst_set_var_modified_string(l, i, "1;2");
    rtovarlst_set_var_modified_mask(l, i, 4);
    rtovarlst_set_var_attribs_modified(l, i, &pair);
    rtovarlst_set_var_comWrapper(l, i, &g_wrapper);
    rtovarlst_set_var_param_homo(l, i, 1);
    rtovarlst_set_var_description(l, i, "D");
    // Silent from here: these check the index themselves.
    for (auto f :
         {rtovarlst_set_var_conn_type, rtovarlst_set_var_marked, rtovarlst_set_spec, rtovarlst_set_spec_value,
          rtovarlst_set_physical_type, rtovarlst_set_var_as_state, rtovarlst_set_var_as_differential})
        f(l, i, 1);
    for (auto f : {rtovarlst_fix_var, rtovarlst_free_var, rtovarlst_var_independent,
                   rtovarlst_var_fix_initially, rtovarlst_set_var_as_algebraic, rtovarlst_set_var_as_integer,
                   rtovarlst_set_var_as_discrete_eqnslack})
        f(l, i);
    rtovarlst_set_var_type(l, i, 1, 1);
    rtovarlst_set_var_as_binary(l, i, 1.0, 1);
    rtovarlst_set_var_as_partial_integer(l, i, 1.0, 1.0, 1);
    rtovarlst_set_var_as_semi_continuous(l, i, 1.0, 1.0, 0.0, 2.0, 1);
    rtovarlst_set_var_as_semi_continuous_integer(l, i, 1.0, 1.0, 0.0, 2.0, 1);
    rtovarlst_set_var_profile_item(l, i, &item);
}

std::string write_all_text(const std::string &h, int n) {
    const std::string tail = ": Access beyond size limited {v} " + std::to_string(n) + "\n";
    return times(11, "!!" + h + "_setd" + tail) + times(8, "!!" + h + "_seti" + tail) +
           times(8, "!!" + h + "_setv" + tail) + "!!" + h + "_setwrapper" + tail + "!!" + h + "_setb" + tail +
           "!!" + h + "_sets" + tail;
}

// What the record row reports at item {v} of three: its name not found, then per attribute that set_var and
// initialize_var write, the kind of dictionary setter that refuses it ('R': the three read-only lines that
// set_var prints after STEP).
std::string record_text() {
    std::string out =
        "!! Unable to find name for variable {v}\n!! Index out of bounds (3 vars in list)\nThe NAME "
        "attribute of a variable is read-only\n";
    for (const char c : std::string("vdddddRddiiiibdiidi"
                                    "viiddddddddiiidbisi"))
        out += c != 'R' ? std::string("!!head_set") + c + ": Access beyond size limited {v} 3\n"
                        : "The INTSCALE attribute of a variable is read-only\nThe SHADOW_PRICE attribute of "
                          "a variable is read-only\n"
                          "The ACTIVE_BOUND attribute of a variable is read-only\n";
    return out;
}

// history: "{v}" stands for the value; error: standard error, ending in ':' when only its start is fixed;
// changes: a documented change, the items are not compared.
struct Row {
    const char *call;
    std::vector<int32_t> values;
    std::function<void(World &, int32_t)> run;
    std::string history, error = "";
    bool changes = false;
};

#define RUN(...)              \
    [](World &w, int32_t v) { \
        (void)w;              \
        (void)v;              \
        __VA_ARGS__;          \
    }

// removevars(v, 2), then removevars(1, v).
void remove_ranges(World &w, int32_t v) {
    rtovarlst_removevars(w.list, v, 2);
    rtovarlst_removevars(w.list, 1, v);
}

const Row kRows[] = {
    {"every C call on NULL",
     {0},
     [](World &, int32_t) {
         read_all(nullptr, 1);
         write_all(nullptr, 1);
         rtvarlst_t *none = nullptr;
         int32_t s = 9, d = 9, o = 9;
         rtovarlst_delete_sublist(nullptr);
         rtovarlst_delete_sublist(&none);
         rtovarlst_destroy_c(nullptr);
         rtovarlst_destroy_c(&none);
         rtovarlst_resize(nullptr, 1);
         rtovarlst_set_nvar(nullptr, 1);
         rtovarlst_move_items(nullptr, 1, 2, 1);
         rtovarlst_relocate(nullptr, 1);
         rtovarlst_printsymbolstats(nullptr);
         rtovarlst_set_taglst(nullptr, nullptr);
         rtovarlst_inq_var_name(nullptr, 1, nullptr);
         rtovarlst_addvar(nullptr, 1, "X");
         rtovarlst_addvars(nullptr, 1, 1, 1, "X");
         rtovarlst_names(nullptr, 1, 1, 1, nullptr);
         rtovarlst_clear_var_param_homo(nullptr);
         rtovarlst_presolve(nullptr);
         rtovarlst_copyinittovalue(nullptr);
         rtovarlst_removevars(nullptr, 1, 1);
         rtovarlst_extract(nullptr, 1, 1, &none);
         rtovarlst_inq_num_var_type_state_diff_other(nullptr, &s, &d, &o);
         EXPECT_EQ(rtovarlst_parent_check(nullptr, nullptr) + rtovarlst_inq_nvar(nullptr) +
                       rtovarlst_inq_capacity(nullptr) + rtovarlst_super_index(nullptr, 1) +
                       rtovarlst_absolute_index(nullptr, 1) + s + d + o +
                       rtovarlst_compute_md(nullptr, nullptr) + rtovarlst__varname2index(nullptr, "X1") +
                       rtovarlst_inq_num_var_type(nullptr, 0),
                   0);
         EXPECT_EQ(rtovarlst_vec_value(nullptr), nullptr);
         EXPECT_EQ(rtovarlst_vec_scale(nullptr), nullptr);
         EXPECT_EQ(rtovarlst_vec_solveScale(nullptr), nullptr);
         EXPECT_EQ(rtovarlst_vec_shadow_price(nullptr), nullptr);
         EXPECT_EQ(rtovarlst_vec_lower(nullptr), nullptr);
         EXPECT_EQ(rtovarlst_vec_upper(nullptr), nullptr);
         EXPECT_EQ(rtovarlst_vec_initial(nullptr), nullptr);
         EXPECT_EQ(rtovarlst_vec_status(nullptr), nullptr);
         EXPECT_EQ(rtovarlst_vec_baseuom(nullptr), nullptr);
         EXPECT_EQ(rtovarlst_vec_uom(nullptr), nullptr);
         EXPECT_EQ(rtovarlst_vec_basic(nullptr), nullptr);
         EXPECT_EQ(rtovarlst_vec_connGroup(nullptr), nullptr);
         EXPECT_EQ(rtovarlst_inq_taglst(nullptr), nullptr);
         EXPECT_EQ(rtovarlst_create_sublist(nullptr, 1), nullptr);
         EXPECT_EQ(none, nullptr);
     },
     "!! No parent for rtovarlst_create_sublist\n",
     kAssert + "rtovarlst_lookup_var_name: varlst is NULL' failed in source/rtvarlst/rtvarlst:"},
    {"every twin with every pointer NULL",
     {0},
     [](World &, int32_t) {
         char field[4];
         EXPECT_EQ(RTOVARLST_INQ_NVAR_F(nullptr) + RTOVARLST_INQ_CAPACITY_F(nullptr) +
                       RTOVARLST_SUPER_INDEX_F(nullptr, nullptr) +
                       RTOVARLST_VARNAME2INDEX(nullptr, nullptr, 0),
                   0);
         RTOVARLST_RESIZE_F(nullptr, nullptr);
         RTOVARLST_SET_NVAR_F(nullptr, nullptr);
         RTOVARLST_INQ_VAR_NAME_F(nullptr, nullptr, field, sizeof field);
         for (auto f : {RTOVARLST_ZARN_LBX, RTOVARLST_ZARN_LBXLB, RTOVARLST_ZARN_LBXUB, RTOVARLST_ZARN_LBXSCL,
                        RTOVARLST_ZARN_LBXSOLVSCL, RTOVARLST_ZARN_LBXINIT, RTOVARLST_ZARN_LBXSHADOW,
                        RTOVARLST_ZARN_LBXSTAT, RTOVARLST_ZARN_LBXBASEUOM}) {
             int64_t out = 5;
             f(nullptr, &out);
             f(nullptr, nullptr);
             EXPECT_EQ(out, 0);
         }
         RTOVARLST_NAMES_F(nullptr, nullptr, nullptr, nullptr, nullptr, 0);
         RTOVARLST_ADDVAR_F(nullptr, nullptr, nullptr, 0);
         RTOVARLST_ADDVAR_I4_F(nullptr, nullptr, nullptr, nullptr);
         RTOVARLST_ADDVAR_R8_F(nullptr, nullptr, nullptr, nullptr);
         RTOVARLST_SET_VAR_BLOCKPTR_INT_F(nullptr, nullptr, nullptr);
         MEMMOVE_F(nullptr, nullptr, nullptr);
         for (const int64_t k : {int64_t{0}, int64_t{-1}, int64_t{LLONG_MIN}})
             MEMMOVE_F(field, field + 1, &k);
     },
     ""},
    {"every reader at v", {0, 4, -1, kMin, kMax}, RUN(read_all(w.list, v)), ""},  // 4: within the capacity
    {"every writer at v", {4, -1, kMin, kMax}, RUN(write_all(w.list, v)), write_all_text("head", 3)},
    {"every writer of the sublist at v", kNonZero, RUN(write_all(w.sub, v)), write_all_text("embedded", 2)},
    {"record operations at v, every field asked", kNonZero,
     [](World &w, int32_t v) {
         rtvarinfo_t r{};
         r.mask = rtvarinfo_mask_from_int(RTVARINFO_ALL);
         rtovarlst_inq_var(w.list, v, &r, 1);
         r.name[0] = 'N';
         rtovarlst_set_var(w.list, v, &r, 1);
         rtovarlst_initialize_var(w.list, v, &r, 1);
     },
     record_text(), kAdditems},
    {"RAMPED and BASIC at 0: nothing",
     {0},
     [](World &w, int32_t v) {
         rtovarlst_set_var_ramped(w.list, v, 1);
         rtovarlst_set_var_basic(w.list, v, 1);
     },
     ""},
    {"inq_var_name(v) and its twin", kAll,
     [](World &w, int32_t v) {
         char buffer[1025] = "x";
         char field[8];
         rtovarlst_inq_var_name(w.list, v, buffer);
         RTOVARLST_INQ_VAR_NAME_F(&w.list, &v, field, sizeof field);
         EXPECT_EQ(buffer + std::string(field, 8), std::string(8, ' '));
     },
     times(2, "!! Unable to find name for variable {v}\n!! Index out of bounds (3 vars in list)\n")},
    {"addvar(v) and its twin", kAll,
     [](World &w, int32_t v) {
         rtovarlst_addvar(w.list, v, "N");
         RTOVARLST_ADDVAR_F(&w.list, &v, "N", 1);
     },
     "", kAdditems},
    {"addvars(v, v), (INT_MIN, INT_MAX), no width", kAll,
     [](World &w, int32_t v) {
         rtovarlst_addvars(w.list, v, v, 4, "ABCD");
         rtovarlst_addvars(w.list, kMin, kMax, 4, "ABCD");
         rtovarlst_addvars(w.list, 1, 1, v <= 0 ? v : 0, "ABCD");
     },
     "", kAssert + "head_addgroup: bad indices' failed in source/rtattrdict/rtattrdict:"},
    {"names(v, v); the twin without width", kNonZero,
     [](World &w, int32_t v) {
         char buffer[8] = "";
         const int32_t no_width = -1;
         rtovarlst_names(w.list, v, v, 8, buffer);
         RTOVARLST_NAMES_F(&w.list, &v, &v, &no_width, buffer, sizeof buffer);
     },
     "!! rtovarlst_names: Bad indices {v} {v} 3\n"},
    {"extract(v, v)", kNonZero,
     [](World &w, int32_t v) {
         rtvarlst_t *out = nullptr;
         rtovarlst_extract(w.list, v, v, &out);
         rtovarlst_extract(w.list, 1, 1, nullptr);
         EXPECT_EQ(out, nullptr);
     },
     "!! rtovarlst_extract: Bad indices {v} {v} 3\n"},
    {"removevars(v, 2), (1, v)",
     {0, -1},
     remove_ranges,
     "!! head_defunct: illegal range, start {v}, stop 2, capacity 4\n!! head_defunct: illegal range, start "
     "1, stop {v}, capacity 4\n"},
    {"removevars(INT_MIN, 2): the count kept within 32 bits; (1, INT_MIN)",
     {kMin},
     remove_ranges,
     "!! head_defunct: illegal range, start {v}, stop -2, capacity 4\n!! head_defunct: illegal range, start "
     "1, stop {v}, capacity 4\n"},
    {"create(v<=0), create_embedded(v<=0) without parent, create_embedded(start v)",
     {0, -1, kMin},
     [](World &w, int32_t v) {
         rtvarlst_t *l = rtovarlst_create(v);
         rtvarlst_t *e = rtovarlst_create_embedded(v, nullptr, "", 1);
         EXPECT_EQ(rtovarlst_inq_capacity(l) + rtovarlst_inq_capacity(e) +
                       !!rtovarlst_create_embedded(1, w.list, "", v),
                   0);
         rtovarlst_destroy_c(&l);
         rtovarlst_destroy_c(&e);
     },
     "!! rtovarlst_create_embedded: bad start {v} or capacity 1\n"},
    {"create_sublist(v)", kAll, RUN(EXPECT_EQ(rtovarlst_create_sublist(w.list, v), nullptr)),
     "!! rtovarlst_create_sublist: bad start {v} (3 vars in parent)\n"},
    {"negative counts: move_items, create_embedded, resize, set_nvar and their twins", kNegative,
     [](World &w, int32_t v) {
         rtovarlst_move_items(w.list, 1, 2, v);
         rtovarlst_resize(w.list, v);
         rtovarlst_set_nvar(w.list, v);
         EXPECT_EQ(rtovarlst_create_embedded(v, w.list, "", 1), nullptr);
         RTOVARLST_RESIZE_F(&w.list, &v);
         RTOVARLST_SET_NVAR_F(&w.list, &v);
     },
     "!! head_move_elems: size < 0 ({v})\n!! rtovarlst_create_embedded: bad start 1 or capacity {v}\n"},
    {"resize(0)",
     {0},
     RUN(rtovarlst_resize(w.list, v)),
     "!!head_change_capacity: capacity 0 less than size 3 (not changed)\n"},
    {"INT_MAX counts: removevars, create_embedded, resize with memory short, set_nvar, move_items",
     {kMax},
     [](World &w, int32_t v) {
         rtovarlst_removevars(w.list, v, 2);
         rtovarlst_removevars(w.list, 1, v);
         EXPECT_EQ(rtovarlst_create_embedded(v, w.list, "", 1), nullptr);
         EXPECT_EQ(rtovarlst_create_embedded(1, w.list, "", v), nullptr);
         zarn::failalloc_set(1, true);
         rtovarlst_resize(w.list, v);
         zarn::failalloc_set(0);
         rtovarlst_set_nvar(w.list, v);
         rtovarlst_move_items(w.list, 1, 2, v);
     },
     "!! head_defunct: illegal range, start {v}, stop 2, capacity 4\n!!rtattrdict_remove_items: removing too "
     "many elements\n"
     "!! rtattrdict_create_embedded: parent too small (3) for embedded ({v})\n!! rtattrdict_create_embedded: "
     "parent too small (3) for embedded (1)\n"
     "!!head_change_capacity: unable to allocate {v} elements (not changed)\n!!rtovarlst_set_nvar: size {v} "
     "exceeds capacity 4\n"
     "!!head_move_elems: bad source or destination, source 1, dest 2, move size {v}, list size 3"},
    {"move_items(v, 1, 1)", kAll, RUN(rtovarlst_move_items(w.list, v, 1, 1)),
     "!!head_move_elems: bad source or destination, source {v}, dest 1, move size 1, list size 3"},
    {"relocate(v)", kAll,
     [](World &w, int32_t v) {
         rtovarlst_relocate(w.list, v);
         rtovarlst_relocate(w.sub, v);
     },
     "!! head_relocate: relocate is not allowed for a head list\n!!embedded_relocate: parent is not big "
     "enough\n"},
    {"super_index and absolute_index of v, kept within 32 bits", kAll,
     RUN(const int32_t up = v == kMax ? kMax : v + 1; EXPECT_EQ(
             std::vector<int32_t>({rtovarlst_super_index(w.sub, v), RTOVARLST_SUPER_INDEX_F(&w.sub, &v),
                                   rtovarlst_absolute_index(w.sub, v), rtovarlst_super_index(w.list, v)}),
             std::vector<int32_t>({up, up, up, v}))),
     ""},
    {"SET_UOM_VALUE_F(1, v): no such unit", kNonZero,
     RUN(const int32_t one = 1; RTOVARLST_SET_UOM_VALUE_F(&w.list, &one, &v)),
     "The physical type index for variable X1 is 0. Unable to locate its UOM definition with UOM index "
     "{v}.\n"},
    {"names and descriptions of 10^5 characters, and none",
     {0},
     [](World &w, int32_t) {
         EXPECT_EQ(rtovarlst__varname2index(w.list, kLong.c_str()) +
                       RTOVARLST_VARNAME2INDEX(&w.list, kLong.c_str(), kLong.size()),
                   0);
         rtovarlst_set_var_description(w.list, 1, kLong.c_str());
         rtovarlst_set_var_description(w.list, 2, nullptr);
         rtovarlst_addvar(w.list, 3, kLong.c_str());
         // A sparse text keeps 1024 characters.
         rtovarlst_set_var_modified_string(w.list, 1, "99999999999999999999;-5");
         EXPECT_EQ(std::to_string(std::strlen(rtovarlst_inq_var_description(w.list, 1))) + " " +
                       std::to_string(std::strlen(rtovarlst_lookup_var_name(w.list, 3))) + " " +
                       rtovarlst_inq_var_description(w.list, 2) +
                       std::to_string(rtovarlst_inq_var_modified_mask1(w.list, 1) -
                                      rtovarlst_inq_var_modified_mask2(w.list, 1)),
                   "1024 1024 4");
         rtovarlst_set_var_modified_string(w.list, 2, nullptr);
         rtovarlst_set_var_modified(w.list, 2, nullptr);
         rtovarlst_set_var_attribs_modified(w.list, 2, nullptr);
     },
     "",
     "",
     true},
    {"status words of LLONG_MIN/MAX; no block",
     {0},
     [](World &w, int32_t) {
         rtovarlst_set_var_status(w.list, 1, LLONG_MAX);
         rtovarlst_set_var_status(w.list, 2, LLONG_MIN);
         rtovarlst_set_var_blockptr_int(w.list, 3, 0);
         EXPECT_EQ(rtovarlst_inq_var_status(w.list, 1), LLONG_MAX);
         EXPECT_EQ(rtovarlst_inq_var_status(w.list, 2), LLONG_MIN);
         EXPECT_EQ(rtovarlst_inq_var_blockptr(w.list, 3), nullptr);
     },
     "",
     "",
     true},
    {"set_taglst twice, delete_sublist twice",
     {0},
     [](World &w, int32_t) {
         auto *tags = reinterpret_cast<rtotaglst_t *>(&g_block);
         rtovarlst_set_taglst(w.list, tags);
         rtovarlst_set_taglst(w.list, nullptr);
         rtovarlst_delete_sublist(&w.sub);
         rtovarlst_delete_sublist(&w.sub);
         EXPECT_EQ(rtovarlst_inq_taglst(w.list), tags);
     },
     "!! rtovarlst_set_taglst: variable list already has tag list\n",
     "",
     true},
};

TEST(VarLstHostile, EveryEntryPointGetsItsDocumentedAnswer) {
    for (const Row &row : kRows)
        for (int32_t v : row.values) {
            SCOPED_TRACE(std::string(row.call) + " v=" + std::to_string(v));
            World w;
            const std::string before = dump(w.list) + dump(w.sub);
            std::string his, err, expect = row.history;
            {
                StderrCapture se;
                HistoryCapture hc;
                row.run(w, v);
                his = hc.text();
                err = se.text();
            }
            for (size_t at; (at = expect.find("{v}")) != std::string::npos;)
                expect.replace(at, 3, std::to_string(v));
            EXPECT_EQ(his, expect);
            EXPECT_EQ(row.error.ends_with(':') ? err.substr(0, row.error.size()) : err, row.error) << err;
            EXPECT_EQ(row.changes ? before : dump(w.list) + dump(w.sub), before);
        }
}

}  // namespace
