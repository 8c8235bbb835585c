// Every entry point called as a careless caller would: extreme integers, null
// pointers, empty and overlong names, calls twice in a row or on nothing. Each
// row says what the caller gets; unless a row says it changes something, the
// dictionary and its window are left exactly as they were.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "capture.h"
#include "fakes.h"
#include "platform/xalloc.h"
#include "zarnutils/rtattrdict.h"

namespace {

const rtattrdesc_t kDesc[] = {
    {"VALUE", RTATTR_DOUBLE, 1.5, 0, nullptr, 0, nullptr},
    {"STATUS", RTATTR_INTEGER, 0.0, 7, nullptr, 0, nullptr},
    {"UNIT", RTATTR_STRING, 0.0, 0, "KG", 0, nullptr},
    {"OWNER", RTATTR_POINTER, 0.0, 0, nullptr, 0, nullptr},
    {"FIXED", RTATTR_BOOLEAN, 0.0, 0, nullptr, 1, nullptr},
    {"WRAP", RTATTR_WRAPPER, 0.0, 0, nullptr, 0, nullptr},
    {"TAG", RTATTR_SPARSE_INTEGER, 0.0, -3, nullptr, 0, nullptr},
    {nullptr, 0, 0.0, 0, nullptr, 0, nullptr},
};
const rtattrdesc_t kBadType[] = {{"ODD", 99, 0.0, 0, nullptr, 0, nullptr}, {nullptr, 0, 0.0, 0, nullptr, 0, nullptr}};

// Head of capacity 8 with E1..E5 (VALUE = k) and a resizable window "W." over 2..4.
struct World {
    rtattrdict_t *head = rtattrdict_create(8, kDesc, 1);
    rtattrdict_t *win = nullptr;
    World() {
        rtattrdict_resize(head, 5);
        const char *names[] = {"E1", "E2", "E3", "E4", "E5"};
        rtattrdict_add_items(head, 1, 5, names);
        for (int k = 1; k <= 5; ++k) rtattrdict_setd(head, k, "VALUE", k);
        win = rtattrdict_create_embedded(head, 2, 3, "W.", 1);
        rtattrdict_resize(win, 3);
    }
    ~World() {
        rtattrdict_destroy(win);
        rtattrdict_destroy(head);
    }
    std::string snapshot() const {
        std::string s = std::to_string(rtattrdict_inq_num(head)) + "/" + std::to_string(rtattrdict_inq_capacity(head)) +
                        " win " + std::to_string(rtattrdict_inq_num(win)) + "/" +
                        std::to_string(rtattrdict_inq_capacity(win)) + "@" +
                        std::to_string(rtattrdict_absolute_index(win, 1));
        for (int k = 1; k <= rtattrdict_inq_num(head); ++k)
            s += std::string(" ") + rtattrdict_name(head, k) + "=" + std::to_string(rtattrdict_getd(head, k, "VALUE")) +
                 "," + std::to_string(rtattrdict_geti(head, k, "TAG"));
        return s + (rtattrdict_okay(win) ? " ok" : " broken");
    }
};

constexpr int32_t kMin = INT32_MIN, kMax = INT32_MAX;
const std::vector<int32_t> kAll = {0, -1, kMin, kMax};
const std::vector<int32_t> kNegative = {-1, kMin};
const std::string kLong(100000, 'A');
const std::string kAssert = "Assertion '";

struct Row {
    const char *call;
    std::vector<int32_t> values;
    std::function<void(World &, int32_t)> run;
    std::string history;     // "{v}" stands for the value
    std::string error = "";  // standard error; ends in ':' when only its start is fixed (a line number follows)
    bool changes = false;    // a documented change: the snapshot is not compared
};

std::string with(std::string text, int32_t v) {
    for (size_t at; (at = text.find("{v}")) != std::string::npos;) text.replace(at, 3, std::to_string(v));
    return text;
}

// The same text for each of several operations: "{op}" stands for the operation.
std::string each(std::initializer_list<const char *> ops, const std::string &text) {
    std::string out;
    for (const char *op : ops) {
        std::string t = text;
        t.replace(t.find("{op}"), 4, op);
        out += t;
    }
    return out;
}

// Every typed setter and getter at element i with attribute attr.
void touch_all(rtattrdict_t *d, int32_t i, const char *attr) {
    rtattrdict_setd(d, i, attr, 2.0);
    rtattrdict_setd_return_modified(d, i, attr, 2.0);
    rtattrdict_seti(d, i, attr, 2);
    rtattrdict_seti_return_modified(d, i, attr, 2);
    rtattrdict_setb(d, i, attr, 1);
    rtattrdict_setb_return_modified(d, i, attr, 1);
    rtattrdict_sets(d, i, attr, "X");
    rtattrdict_setv(d, i, attr, d);
    rtattrdict_setv_return_modified(d, i, attr, d);
    rtattrdict_setwrapper(d, i, attr, nullptr);
    rtattrdict_setwrapper_return_modified(d, i, attr, nullptr);
    EXPECT_EQ(rtattrdict_getd(d, i, attr), 0.0);
    EXPECT_EQ(rtattrdict_geti(d, i, attr), 0);
    EXPECT_EQ(rtattrdict_getb(d, i, attr), 0);
    EXPECT_EQ(rtattrdict_gets(d, i, attr), nullptr);
    EXPECT_EQ(rtattrdict_getv(d, i, attr), nullptr);
    EXPECT_EQ(rtattrdict_getwrapper(d, i, attr), nullptr);
}

void vectors(rtattrdict_t *d, const char *attr) {
    EXPECT_EQ(rtattrdict_dvector(d, attr), nullptr);
    EXPECT_EQ(rtattrdict_dvector_ro(d, attr), nullptr);
    EXPECT_EQ(rtattrdict_ivector(d, attr), nullptr);
    EXPECT_EQ(rtattrdict_ivector_ro(d, attr), nullptr);
    EXPECT_EQ(rtattrdict_bvector(d, attr), nullptr);
    EXPECT_EQ(rtattrdict_bvector_ro(d, attr), nullptr);
    EXPECT_EQ(rtattrdict_svector(d, attr), nullptr);
    EXPECT_EQ(rtattrdict_svector_ro(d, attr), nullptr);
    EXPECT_EQ(rtattrdict_vvector(d, attr), nullptr);
    EXPECT_EQ(rtattrdict_vvector_ro(d, attr), nullptr);
}

const std::string kSetBeyond = each({"setd", "setd", "seti", "seti", "setb", "setb", "sets", "setv", "setv",
                                     "setwrapper", "setwrapper"},
                                    "!!head_{op}: Access beyond size limited {v} 5\n");
const std::string kEmbSetBeyond = each({"setd", "setd", "seti", "seti", "setb", "setb", "sets", "setv", "setv",
                                        "setwrapper", "setwrapper"},
                                       "!!embedded_{op}: Access beyond size limited {v} 3\n");
const std::string kUnknown =
    "!!head_setd: Unknown double attribute (null)\n!!head_setd: Unknown double attribute (null)\n"
    "!!head_seti: Unknown integer attribute (null)\n!!head_seti: Unknown integer attribute (null)\n"
    "!!head_setb: Unknown boolean attribute (null)\n!!head_setb: Unknown boolean attribute (null)\n"
    "!!head_sets: Unknown string attribute (null)\n"
    "!!head_setv: Unknown void attribute (null)\n!!head_setv: Unknown void attribute (null)\n"
    "!!head_setwrapper: Unknown IWEXWrapper attribute (null)\n!!head_setwrapper: Unknown IWEXWrapper attribute (null)\n"
    "!!head_getd: Unknown double attribute (null)\n!!head_geti: Unknown integer attribute (null)\n"
    "!!head_getb: Unknown boolean attribute (null)\n!!head_gets: Unknown string attribute (null)\n"
    "!!head_getv: Unknown void attribute (null)\n!!head_getwrapper: Unknown IWEXWrapper attribute (null)\n";
const std::string kUnknownVectors =
    each({"dvector", "dvector"}, "!!head_{op}: Unknown double attribute (null)\n") +
    each({"ivector", "ivector"}, "!!head_{op}: Unknown integer attribute (null)\n") +
    each({"bvector", "bvector"}, "!!head_{op}: Unknown boolean attribute (null)\n") +
    each({"svector", "svector"}, "!!head_{op}: Unknown string attribute (null)\n") +
    each({"vvector", "vvector"}, "!!head_{op}: Unknown void attribute (null)\n");

const Row kRows[] = {
    // ---- creation ----
    {"create(v<=0)", {0, -1, kMin}, [](World &, int32_t v) {
         rtattrdict_t *d = rtattrdict_create(v, kDesc, 1);
         EXPECT_EQ(rtattrdict_inq_capacity(d), 0);
         rtattrdict_destroy(d);
     }, ""},
    {"create(no table, unknown type)", {0}, [](World &, int32_t) {
         rtattrdict_t *d = rtattrdict_create(2, nullptr, 0);
         rtattrdict_t *e = rtattrdict_create(2, kBadType, 0);
         EXPECT_EQ(hashNum(rtattrdict_attributes(e)), 1u);
         rtattrdict_destroy(d);
         rtattrdict_destroy(e);
     }, "!!make_attr: Unknown attribute type 99\n"},
    {"create_embedded(start v)", {0, -1, kMin}, [](World &w, int32_t v) {
         EXPECT_EQ(rtattrdict_create_embedded(w.head, v, 1, "", 0), nullptr);
     }, "!! rtattrdict_create_embedded: bad start {v} or capacity 1\n"},
    {"create_embedded(start INT_MAX)", {kMax}, [](World &w, int32_t v) {
         EXPECT_EQ(rtattrdict_create_embedded(w.head, v, 1, "", 0), nullptr);
     }, "!! rtattrdict_create_embedded: parent too small (5) for embedded (1)\n"},
    {"create_embedded(capacity v)", kNegative, [](World &w, int32_t v) {
         EXPECT_EQ(rtattrdict_create_embedded(w.head, 1, v, "", 0), nullptr);
     }, "!! rtattrdict_create_embedded: bad start 1 or capacity {v}\n"},
    {"create_embedded(capacity INT_MAX)", {kMax}, [](World &w, int32_t v) {
         EXPECT_EQ(rtattrdict_create_embedded(w.head, 2, v, "", 0), nullptr);
     }, "!! rtattrdict_create_embedded: parent too small (5) for embedded ({v})\n"},
    {"create_embedded(NULL parent, long prefix)", {0}, [](World &w, int32_t) {
         EXPECT_EQ(rtattrdict_create_embedded(nullptr, 1, 1, "", 1), nullptr);
         rtattrdict_t *e = rtattrdict_create_embedded(w.head, 1, 0, kLong.c_str(), 0);
         EXPECT_EQ(rtattrdict_prefix(e), kLong);
         rtattrdict_destroy(e);
     }, ""},
    {"aggregate(start v, NULL other)", kAll, [](World &w, int32_t v) {
         rtattrdict_t *other = rtattrdict_create(2, kDesc, 1);
         rtattrdict_resize(other, 2);
         EXPECT_EQ(rtattrdict_aggregate(w.head, nullptr, v, ""), nullptr);
         EXPECT_EQ(rtattrdict_aggregate(nullptr, other, v, ""), nullptr);
         EXPECT_EQ(rtattrdict_aggregate(w.head, other, v, ""), nullptr);
         rtattrdict_destroy(other);
     }, "{v}" /* replaced below: only INT_MAX reaches the window check */},
    // ---- nothing to act on, and twice in a row ----
    {"every call on NULL", {0}, [](World &, int32_t) {
         rtattrdict_destroy(nullptr);
         rtattrdict_empty_all(nullptr);
         rtattrdict_resize(nullptr, 1);
         rtattrdict_change_capacity(nullptr, 1);
         rtattrdict_relocate(nullptr, 1);
         rtattrdict_move_items(nullptr, 1, 2, 1);
         EXPECT_EQ(rtattrdict_add_items(nullptr, 1, 1, nullptr), 0);
         EXPECT_EQ(rtattrdict_add_group(nullptr, 1, 1, 4, "ABCD"), 0);
         rtattrdict_remove_items(nullptr, 1, 1);
         rtattrdict_delete_items(nullptr, 1, 1);
         EXPECT_EQ(rtattrdict_inq_num(nullptr) + rtattrdict_inq_capacity(nullptr), 0);
         EXPECT_EQ(rtattrdict_embedded(nullptr), nullptr);
         EXPECT_EQ(rtattrdict_prefix(nullptr), nullptr);
         EXPECT_EQ(rtattrdict_index(nullptr, "E1") + rtattrdict_safe_index(nullptr, 1), 0);
         EXPECT_EQ(rtattrdict_absolute_index(nullptr, 1), 0);
         EXPECT_EQ(rtattrdict_name(nullptr, 1), nullptr);
         zarn_md5_ctx_t ctx;
         MD5Init(&ctx);
         EXPECT_EQ(rtattrdict_checksum(nullptr, &ctx) + rtattrdict_okay(nullptr), 0);
         MD5Final(&ctx);
         rtattrdict_print_stats(nullptr);
         EXPECT_EQ(rtattrdict_attributes(nullptr), nullptr);
         touch_all(nullptr, 1, "VALUE");
         vectors(nullptr, "VALUE");
     }, ""},
    {"empty_all twice", {0}, [](World &w, int32_t) {
         rtattrdict_empty_all(w.head);
         rtattrdict_empty_all(w.head);
         EXPECT_EQ(rtattrdict_inq_num(w.head), 0);
         EXPECT_EQ(rtattrdict_inq_num(w.win), 0);
         EXPECT_EQ(rtattrdict_okay(w.win), 1);
     }, "", "", true},
    {"delete_items twice", {0}, [](World &w, int32_t) {
         rtattrdict_delete_items(w.head, 5, 1);
         rtattrdict_delete_items(w.head, 5, 1);
         EXPECT_EQ(rtattrdict_inq_num(w.head), 4);
     }, "!!rtattrdict_delete_items: deleting too many elements\n", "", true},
    // ---- sizes ----
    {"resize(head, v<0)", kNegative, [](World &w, int32_t v) { rtattrdict_resize(w.head, v); },
     "!!head_resize: negative size {v} (not changed)\n"},
    {"resize(head, INT_MAX)", {kMax}, [](World &w, int32_t v) {
         rtattrdict_resize(w.head, v);
         EXPECT_EQ(rtattrdict_inq_num(w.head), 8);
     }, "!!head_resize: attempt to resize beyond capacity {v} 8\n", "", true},
    {"resize(window, v<0)", kNegative, [](World &w, int32_t v) { rtattrdict_resize(w.win, v); },
     "!! embedded_resize: negative size {v} (not changed)\n"},
    {"resize(window, INT_MAX)", {kMax}, [](World &w, int32_t v) { rtattrdict_resize(w.win, v); },
     "!! embedded_resize: parent (size 5 cap 8) is not big enough for resize (start 2 newsize {v})\n"},
    {"change_capacity(head, v<=0)", {0}, [](World &w, int32_t v) { rtattrdict_change_capacity(w.head, v); },
     "!!head_change_capacity: capacity {v} less than size 5 (not changed)\n"},
    {"change_capacity(head, v<0)", kNegative, [](World &w, int32_t v) { rtattrdict_change_capacity(w.head, v); },
     "!!head_change_capacity: capacity {v} less than size 5 (not changed)\n",
     kAssert + "head_change_capacity: negative capacity' failed in source/rtattrdict/rtattrdict:"},
    {"change_capacity(head, INT_MAX), memory short", {kMax}, [](World &w, int32_t v) {
         zarn::failalloc_set(1, true);
         rtattrdict_change_capacity(w.head, v);
         zarn::failalloc_set(0);
     }, "!!head_change_capacity: unable to allocate {v} elements (not changed)\n"},
    {"change_capacity(window, v<0)", kNegative, [](World &w, int32_t v) { rtattrdict_change_capacity(w.win, v); },
     "!!embedded_change_capacity: capacity 0 less than size 3 (not changed)\n",
     kAssert + "embedded_change_capacity: negative capacity' failed in source/rtattrdict/rtattrdict:"},
    {"change_capacity(window, INT_MAX)", {kMax}, [](World &w, int32_t v) { rtattrdict_change_capacity(w.win, v); },
     "!!embedded_change_capacity: parent (size 5 cap 8) is not big enough for capacity change (start 2 "
     "newcapacity {v})\n"},
    {"relocate(head, v)", kAll, [](World &w, int32_t v) { rtattrdict_relocate(w.head, v); },
     "!! head_relocate: relocate is not allowed for a head list\n"},
    {"relocate(window, v)", kAll, [](World &w, int32_t v) { rtattrdict_relocate(w.win, v); },
     "!!embedded_relocate: parent is not big enough\n"},
    // ---- moves and ranges ----
    {"move_items(head, v, 1, 1)", kAll, [](World &w, int32_t v) { rtattrdict_move_items(w.head, v, 1, 1); },
     "!!head_move_elems: bad source or destination, source {v}, dest 1, move size 1, list size 5"},
    {"move_items(head, 1, v, 1)", kAll, [](World &w, int32_t v) { rtattrdict_move_items(w.head, 1, v, 1); },
     "!!head_move_elems: bad source or destination, source 1, dest {v}, move size 1, list size 5"},
    {"move_items(head, 1, 2, 0)", {0}, [](World &w, int32_t v) { rtattrdict_move_items(w.head, 1, 2, v); }, ""},
    {"move_items(head, 1, 2, v<0)", kNegative, [](World &w, int32_t v) { rtattrdict_move_items(w.head, 1, 2, v); },
     "!! head_move_elems: size < 0 ({v})\n"},
    {"move_items(head, 1, 2, INT_MAX)", {kMax}, [](World &w, int32_t v) { rtattrdict_move_items(w.head, 1, 2, v); },
     "!!head_move_elems: bad source or destination, source 1, dest 2, move size {v}, list size 5"},
    {"move_items(window, v, 1, 1)", kAll, [](World &w, int32_t v) { rtattrdict_move_items(w.win, v, 1, 1); },
     "!!embedded_move_elems: bad source or destination, source {v}, dest 1, move size 1, list size 3\n"},
    {"move_items(window, 1, 2, v<0)", kNegative, [](World &w, int32_t v) { rtattrdict_move_items(w.win, 1, 2, v); },
     "!! embedded_move_elems: size < 0 ({v})\n"},
    {"move_items(window, 1, 2, INT_MAX)", {kMax}, [](World &w, int32_t v) { rtattrdict_move_items(w.win, 1, 2, v); },
     "!!embedded_move_elems: bad source or destination, source 1, dest 2, move size {v}, list size 3\n"},
    {"remove_items(head, v, 1)", {0, -1, kMin}, [](World &w, int32_t v) { rtattrdict_remove_items(w.head, v, 1); },
     "!! head_defunct: illegal range, start {v}, stop {v}, capacity 8\n"},
    {"remove_items(head, 1, v)", {0, -1}, [](World &w, int32_t v) { rtattrdict_remove_items(w.head, 1, v); },
     "!! head_defunct: illegal range, start 1, stop " "{v}, capacity 8\n" /* stop = v, as 1 + v - 1 */},
    {"remove_items(head, 1, INT_MIN)", {kMin}, [](World &w, int32_t v) { rtattrdict_remove_items(w.head, 1, v); },
     "!! head_defunct: illegal range, start 1, stop {v}, capacity 8\n"},
    {"remove_items(head, INT_MAX / 1, INT_MAX)", {kMax}, [](World &w, int32_t v) {
         rtattrdict_remove_items(w.head, v, 1);
         rtattrdict_remove_items(w.head, 1, v);
     }, "!!rtattrdict_remove_items: removing too many elements\n!!rtattrdict_remove_items: removing too many "
        "elements\n"},
    {"delete_items(head, v, 1)", {0, -1, kMin}, [](World &w, int32_t v) { rtattrdict_delete_items(w.head, v, 1); },
     "!! head_defunct: illegal range, start {v}, stop {v}, capacity 8\n"},
    {"delete_items(head, 1, v)", {0, -1, kMin}, [](World &w, int32_t v) { rtattrdict_delete_items(w.head, 1, v); },
     "!! head_defunct: illegal range, start 1, stop {v}, capacity 8\n"},
    {"delete_items(head, INT_MAX)", {kMax}, [](World &w, int32_t v) {
         rtattrdict_delete_items(w.head, v, 1);
         rtattrdict_delete_items(w.win, 1, v);
     }, "!!rtattrdict_delete_items: deleting too many elements\n!!rtattrdict_delete_items: deleting too many "
        "elements\n"},
    {"remove_items(window, v, 1)", {0, -1, kMin}, [](World &w, int32_t v) { rtattrdict_remove_items(w.win, v, 1); },
     "!! embedded_defunct: illegal range, start {v}, stop {v}, capacity 3\n"},
    // ---- naming ----
    {"add_items(head, v, 1)", kAll, [](World &w, int32_t v) {
         const char *n[] = {"N"};
         EXPECT_EQ(rtattrdict_add_items(w.head, v, 1, n), 0);
     }, "", kAssert + "head_additems: bad indices' failed in source/rtattrdict/rtattrdict:"},
    {"add_items(head, 1, v)", {-1, kMin, kMax}, [](World &w, int32_t v) {
         EXPECT_EQ(rtattrdict_add_items(w.head, 1, v, nullptr), 0);
     }, "", kAssert + "head_additems: bad indices' failed in source/rtattrdict/rtattrdict:"},
    {"add_items(window, v, 1)", {-1, kMin, kMax}, [](World &w, int32_t v) {
         const char *n[] = {"N"};
         EXPECT_EQ(rtattrdict_add_items(w.win, v, 1, n), 0);
     }, "", kAssert + "head_additems: bad indices' failed in source/rtattrdict/rtattrdict:"},
    {"add_items(NULL names, NULL name)", {0}, [](World &w, int32_t) {
         const char *n[] = {nullptr};
         EXPECT_EQ(rtattrdict_add_items(w.head, 1, 1, nullptr), 1);
         EXPECT_EQ(rtattrdict_add_items(w.head, 2, 1, n), 1);
         EXPECT_STREQ(rtattrdict_name(w.head, 2), "");
     }, "Unable to process illegal equation/variable name ''\nUnable to process illegal equation/variable name ''\n",
     "", true},
    {"add_items(10^5-character name)", {0}, [](World &w, int32_t) {
         const char *n[] = {kLong.c_str()};
         rtattrdict_add_items(w.head, 1, 1, n);
         rtattrdict_add_items(w.win, 1, 1, n);
         EXPECT_EQ(std::string(rtattrdict_name(w.head, 1)), kLong.substr(0, 1024));
         EXPECT_EQ(std::string(rtattrdict_name(w.head, 2)), "W." + kLong.substr(0, 1022));
         EXPECT_EQ(rtattrdict_index(w.head, kLong.c_str()), 1);
     }, "", "", true},
    {"add_group(v, width v, NULL block)", kAll, [](World &w, int32_t v) {
         EXPECT_EQ(rtattrdict_add_group(w.head, 1, 1, v < 0 ? v : -1, "ABCD"), 0);
         EXPECT_EQ(rtattrdict_add_group(w.head, 1, 1, 4, nullptr), 0);
         EXPECT_EQ(rtattrdict_add_group(w.head, v, 1, 4, "ABCD"), 0);
     }, "", kAssert + "head_addgroup: bad indices' failed in source/rtattrdict/rtattrdict:"},
    // ---- lookups ----
    {"index, name and translation of v", kAll, [](World &w, int32_t v) {
         EXPECT_EQ(rtattrdict_index(w.head, nullptr) + rtattrdict_index(w.head, ""), 0);
         EXPECT_EQ(rtattrdict_index(w.win, kLong.c_str()), 0);
         EXPECT_EQ(rtattrdict_name(w.head, v), nullptr);
         EXPECT_EQ(rtattrdict_name(w.win, v), nullptr);
         const int32_t expect = v == kMax ? kMax : v + 1;  // kept within 32 bits
         EXPECT_EQ(rtattrdict_absolute_index(w.win, v), expect);
         EXPECT_EQ(rtattrdict_safe_index(w.win, v), v);  // a prefixed window keeps its own numbering
         EXPECT_EQ(rtattrdict_checksum(w.head, nullptr), 0);
     }, ""},
    // ---- typed access ----
    {"every setter and getter at element v", kAll, [](World &w, int32_t v) { touch_all(w.head, v, "VALUE"); },
     kSetBeyond},
    {"every setter and getter of the window at v", kAll, [](World &w, int32_t v) { touch_all(w.win, v, "VALUE"); },
     kEmbSetBeyond},
    {"every setter, getter and vector of attribute NULL", {0}, [](World &w, int32_t) {
         touch_all(w.head, 1, nullptr);
         vectors(w.head, nullptr);
     }, kUnknown + kUnknownVectors},
    {"seti of LLONG_MIN/MAX", {0}, [](World &w, int32_t) {
         rtattrdict_seti(w.head, 1, "STATUS", LLONG_MAX);
         EXPECT_EQ(rtattrdict_ivector(w.head, "STATUS")[0], LLONG_MAX);
         EXPECT_EQ(rtattrdict_geti(w.head, 1, "STATUS"), -1);  // the low 32 bits
         rtattrdict_seti(w.head, 1, "TAG", LLONG_MIN);
         EXPECT_EQ(rtattrdict_geti(w.head, 1, "TAG"), 0);  // sparse integers keep 32 bits
     }, "", "", true},
    {"sets of NULL and 10^5 characters", {0}, [](World &w, int32_t) {
         rtattrdict_sets(w.head, 1, "UNIT", nullptr);
         EXPECT_STREQ(rtattrdict_gets(w.head, 1, "UNIT"), "");
         rtattrdict_sets(w.win, 1, "UNIT", kLong.c_str());
         EXPECT_EQ(rtattrdict_gets(w.head, 2, "UNIT"), kLong);
     }, "", "", true},
};

TEST(AttrDictHostile, EveryEntryPointGetsItsDocumentedAnswer) {
    int calls = 0;
    for (const Row &row : kRows) {
        for (int32_t v : row.values) {
            SCOPED_TRACE(std::string(row.call) + " v=" + std::to_string(v));
            World w;
            const std::string before = w.snapshot();
            std::string his, err;
            {
                zarn::test::StderrCapture se;
                zarn::test::HistoryCapture hc;
                row.run(w, v);
                his = hc.text();
                err = se.text();
            }
            ++calls;
            std::string want = with(row.history, v);
            if (std::string(row.call).rfind("aggregate", 0) == 0)
                want = v == kMax ? "!! rtattrdict_create_embedded: parent too small (5) for embedded (2)\n" : "";
            EXPECT_EQ(his, want);
            if (!row.error.empty() && row.error.back() == ':') {
                EXPECT_EQ(err.substr(0, row.error.size()), row.error) << err;
            } else {
                EXPECT_EQ(err, row.error);
            }
            if (!row.changes) {
                EXPECT_EQ(w.snapshot(), before);
            }
        }
    }
    RecordProperty("calls", calls);
}

}  // namespace
