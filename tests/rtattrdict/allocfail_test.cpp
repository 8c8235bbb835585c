// Every allocation of an operation made to fail in turn: the documented
// message appears, the dictionary stays as it was, nothing leaks (ASan).
#include <gtest/gtest.h>

#include <functional>
#include <vector>
#include <string>

#include "capture.h"
#include "platform/xalloc.h"
#include "zarnutils/rtattrdict.h"

namespace {

const rtattrdesc_t kDesc[] = {
    {"VALUE", RTATTR_DOUBLE, 1.5, 0, nullptr, 0, nullptr},
    {"UNIT", RTATTR_STRING, 0.0, 0, "KG", 0, nullptr},
    {"TAG", RTATTR_SPARSE_INTEGER, 0.0, -3, nullptr, 0, nullptr},
    {nullptr, 0, 0.0, 0, nullptr, 0, nullptr},
};

// A head of three elements A, B, C with VALUE 1..3 and a window over 2..3.
struct World {
    rtattrdict_t *head = rtattrdict_create(3, kDesc, 1);
    rtattrdict_t *window = nullptr;
    World() {
        rtattrdict_resize(head, 3);
        const char *names[] = {"A", "B", "C"};
        rtattrdict_add_items(head, 1, 3, names);
        for (int k = 1; k <= 3; ++k) rtattrdict_setd(head, k, "VALUE", k);
        window = rtattrdict_create_embedded(head, 2, 2, "W.", 1);
        rtattrdict_resize(window, 2);
    }
    ~World() {
        rtattrdict_destroy(window);
        rtattrdict_destroy(head);
    }
    // What a caller can see of the head.
    std::string state() {
        std::string s = std::to_string(rtattrdict_inq_num(head)) + "/" + std::to_string(rtattrdict_inq_capacity(head));
        for (int k = 1; k <= rtattrdict_inq_num(head); ++k)
            s += std::string(" ") + rtattrdict_name(head, k) + "=" + std::to_string(rtattrdict_getd(head, k, "VALUE")) +
                 "," + std::to_string(rtattrdict_geti(head, k, "TAG"));
        return s + (rtattrdict_okay(head) ? " ok" : " broken");
    }
};

struct Row {
    const char *what;
    std::function<void(World &)> op;  // the operation under test
    std::vector<std::string> messages;  // its failure messages; each must show
    bool creates;                       // the result is `created`, not a change of w
};

TEST(AttrDictAllocFail, EveryAllocationOfEachOperationFails) {
    rtattrdict_t *created = nullptr;
    const Row rows[] = {
        // A failed attribute is left out; a failed record or NAME column gives none.
        {"create", [&](World &) { created = rtattrdict_create(4, kDesc, 1); },
         {"!!rtattrdict_create: unable to allocate the dictionary\n", "!! make_attr: malloc failed\n"}, true},
        {"grow capacity", [](World &w) { rtattrdict_change_capacity(w.head, 40); },
         {"!!head_change_capacity: unable to allocate 40 elements (not changed)\n"}, false},
        {"first sparse value", [](World &w) { rtattrdict_seti(w.head, 2, "TAG", 9); },
         {"!!attribute dictionary: unable to allocate a sparse record\n"}, false},
        {"window", [&](World &w) { created = rtattrdict_create_embedded(w.head, 1, 2, "", 0); },
         {"!! rtattrdict_create_embedded: unable to allocate the window\n"}, true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        long total = 0;
        {  // how many allocations the operation makes
            World w;
            zarn::failalloc_set(0);
            row.op(w);
            total = zarn::failalloc_count();
            rtattrdict_destroy(created);
            created = nullptr;
        }
        ASSERT_GT(total, 0);
        std::vector<bool> seen(row.messages.size());
        for (long n = 1; n <= total; ++n) {
            World w;
            const std::string before = w.state();
            zarn::test::HistoryCapture his;
            zarn::failalloc_set(n);
            row.op(w);
            zarn::failalloc_set(0);
            const std::string text = his.text();
            EXPECT_EQ(w.state(), before) << n;
            if (!text.empty()) {
                size_t m = 0;
                while (m < row.messages.size() && row.messages[m] != text) ++m;
                ASSERT_LT(m, row.messages.size()) << n << ": " << text;
                seen[m] = true;
                if (row.creates && created != nullptr) {
                    EXPECT_LT(hashNum(rtattrdict_attributes(created)), 4u) << n;
                }
                if (row.creates && m == 0) {
                    EXPECT_EQ(created, nullptr) << n;
                }
            }
            rtattrdict_destroy(created);
            created = nullptr;
        }
        for (size_t m = 0; m < seen.size(); ++m) EXPECT_TRUE(seen[m]) << "never printed: " << row.messages[m];
    }
}
}  // namespace
