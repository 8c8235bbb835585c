// A name confirmed at a guessed element without a lookup: only at a head whose
// name index took every name, and only where the lookup gives that element.
#include <functional>
#include <string>

#include "dict.h"
#include "rtattrdict/rtattrdict_sibling.h"

namespace {
using namespace attrtest;

bool finds(rtattrdict_t *d, int32_t i, const std::string &name) {
    return zarn::rtattrdict::finds(d, i, name.data(), name.size());
}

// Steps on one head of E1..E4 (capacity 6), in order; after each, whether the
// name is confirmed at the element, and what the lookup gives for the name.
TEST(AttrDictFinds, ConfirmsOnlyWhatTheLookupWouldGive) {
    HistoryCapture his;
    rtattrdict_t *d = named_head(4, 6);
    const struct {
        const char *step;
        std::function<void()> act;
        int32_t at;
        std::string name;
        bool confirmed;
        int32_t looked_up;
    } rows[] = {
        {"the element's own name", [] {}, 2, "E2", true, 2},
        {"another element's name", [] {}, 3, "E2", false, 2},
        {"a longer name", [] {}, 2, "E22", false, 0},
        {"a shorter name", [] {}, 2, "E", false, 0},
        {"an empty name", [] {}, 2, "", false, 0},
        {"index 0", [] {}, 0, "E1", false, 1},
        {"beyond the size", [] {}, 5, "E1", false, 1},
        {"renamed", [&] { add(d, 3, {"R3"}); }, 3, "R3", true, 3},
        {"the old name is gone", [] {}, 3, "E3", false, 0},
        {"a duplicate name stays with the first", [&] { add(d, 4, {"E1"}); }, 4, "E1", false, 1},
        {"after a duplicate nothing is confirmed", [] {}, 2, "E2", false, 2},
        {"still not after the duplicate is renamed", [&] { add(d, 4, {"R4"}); }, 4, "R4", false, 4},
        {"a rebuilt index confirms again", [&] { rtattrdict_change_capacity(d, 8); }, 2, "E2", true, 2},
        {"the renamed one too", [] {}, 4, "R4", true, 4},
        {"a duplicate survives a rebuild",
         [&] {
             add(d, 4, {"E1"});
             rtattrdict_change_capacity(d, 9);
         },
         1, "E1", false, 1},
    };
    for (const auto &row : rows) {
        row.act();
        EXPECT_EQ(finds(d, row.at, row.name), row.confirmed) << row.step;
        EXPECT_EQ(rtattrdict_index(d, row.name.c_str()), row.looked_up) << row.step;
    }
    EXPECT_NE(his.text().find("Duplicate name in dictionary 'E1'"), std::string::npos) << his.text();
    rtattrdict_destroy(d);
}

// A window finds names through its prefix and its place in the head: never confirmed without the lookup.
TEST(AttrDictFinds, WindowsAlwaysLookUp) {
    rtattrdict_t *d = named_head(4);
    rtattrdict_t *w = rtattrdict_create_embedded(d, 2, 2, "", 0);
    rtattrdict_resize(w, 2);
    EXPECT_EQ(rtattrdict_index(w, "E2"), 1);
    EXPECT_FALSE(finds(w, 1, "E2"));
    EXPECT_FALSE(zarn::rtattrdict::finds(nullptr, 1, "E1", 2));
    rtattrdict_destroy(w);
    rtattrdict_destroy(d);
}

}  // namespace
