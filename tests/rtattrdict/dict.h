// Shared by the attribute dictionary tests: one attribute table of every kind and small populated
// dictionaries.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "capture.h"
#include "fakes.h"
#include "zarnutils/rtattrdict.h"

namespace attrtest {

using zarn::test::CountingWrapper;
using zarn::test::HistoryCapture;
using zarn::test::StderrCapture;

inline const rtattrdesc_t kDesc[] = {
    {"VALUE", RTATTR_DOUBLE, 1.5, 0, nullptr, 0, nullptr},
    {"STATUS", RTATTR_INTEGER, 0.0, 7, nullptr, 0, nullptr},
    {"UNIT", RTATTR_STRING, 0.0, 0, "KG", 0, nullptr},
    {"PORT", RTATTR_NAME, 0.0, 0, nullptr, 0, nullptr},
    {"OWNER", RTATTR_POINTER, 0.0, 0, nullptr, 0, nullptr},
    {"FIXED", RTATTR_BOOLEAN, 0.0, 0, nullptr, 1, nullptr},
    {"WRAP", RTATTR_WRAPPER, 0.0, 0, nullptr, 0, nullptr},
    {"SHADOW", RTATTR_SPARSE_DOUBLE, 1e35, 0, nullptr, 0, nullptr},
    {"TAG", RTATTR_SPARSE_INTEGER, 0.0, -3, nullptr, 0, nullptr},
    {"NOTE", RTATTR_SPARSE_STRING, 0.0, 0, "none", 0, nullptr},
    {"LINK", RTATTR_SPARSE_NAME, 0.0, 0, nullptr, 0, nullptr},
    {"PTR", RTATTR_SPARSE_POINTER, 0.0, 0, nullptr, 0, nullptr},
    {"FLAG", RTATTR_SPARSE_BOOLEAN, 0.0, 0, nullptr, 1, nullptr},
    {nullptr, 0, 0.0, 0, nullptr, 0, nullptr},
};

inline int32_t add(rtattrdict_t *d, int32_t at, std::vector<const char *> names) {
    return rtattrdict_add_items(d, at, static_cast<int32_t>(names.size()), names.data());
}

inline int32_t start_of(rtattrdict_t *w) { return reinterpret_cast<rtattrdict_embedded_t *>(w)->start; }

// A head of capacity cap (n when 0) with elements E1..En, VALUE = k.
inline rtattrdict_t *named_head(int32_t n, int32_t cap = 0, int allow = 1) {
    rtattrdict_t *d = rtattrdict_create(cap ? cap : n, kDesc, allow);
    rtattrdict_resize(d, n);
    for (int32_t k = 1; k <= n; ++k) {
        std::string nm = "E" + std::to_string(k);
        add(d, k, {nm.c_str()});
        rtattrdict_setd(d, k, "VALUE", k);
    }
    return d;
}

inline std::string str(const char *p) { return p ? p : "(null)"; }

// Every cell of element k holds its attribute's default and the element has no name.
inline void ExpectDefunct(rtattrdict_t *d, int32_t k) {
    EXPECT_EQ(std::make_tuple(str(rtattrdict_name(d, k)), rtattrdict_getd(d, k, "VALUE"),
                              rtattrdict_geti(d, k, "STATUS"), str(rtattrdict_gets(d, k, "UNIT")),
                              rtattrdict_getb(d, k, "FIXED"), rtattrdict_getd(d, k, "SHADOW"),
                              rtattrdict_geti(d, k, "TAG"), rtattrdict_getwrapper(d, k, "WRAP") == nullptr),
              std::make_tuple(std::string(), 1.5, 7, std::string("KG"), 1, 1e35, -3, true))
        << "element " << k;
}

// A head of capacity 8 holding E1..E5 and a resizable window "W." over its elements 2..4.
struct World {
    rtattrdict_t *head = named_head(5, 8);
    rtattrdict_t *win = rtattrdict_create_embedded(head, 2, 3, "W.", 1);
    World() { rtattrdict_resize(win, 3); }
    ~World() {
        rtattrdict_destroy(win);
        rtattrdict_destroy(head);
    }
    // What a caller can see of both.
    std::string snapshot() const {
        std::string s = std::to_string(rtattrdict_inq_num(head) * 100 + rtattrdict_inq_capacity(head)) + " " +
                        std::to_string(rtattrdict_inq_num(win) * 10000 + rtattrdict_inq_capacity(win) * 100 +
                                       start_of(win));
        for (int k = 1; k <= rtattrdict_inq_num(head); ++k)
            s += " " + str(rtattrdict_name(head, k)) + "=" +
                 std::to_string(rtattrdict_getd(head, k, "VALUE") + rtattrdict_geti(head, k, "TAG"));
        return s + (rtattrdict_okay(win) ? " ok" : " broken");
    }
};

}  // namespace attrtest
