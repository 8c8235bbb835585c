// Every allocation of an operation made to fail in turn: a documented message appears, the dictionary stays as
// it was, nothing leaks (ASan).
#include <functional>
#include <string>
#include <vector>

#include "dict.h"
#include "platform/xalloc.h"

namespace {
using namespace attrtest;

struct Row {
    const char *what;
    std::function<void(World &)> op;
    std::vector<std::string> messages;  // its failure messages; each must show
    bool creates;                       // the result is `created`, not a change of the world
};

TEST(AttrDictAllocFail, EveryAllocationOfEachOperationFails) {
    rtattrdict_t *created = nullptr;
    const Row rows[] = {
        // A failed attribute is left out; a failed record or NAME column gives no dictionary.
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
        {
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
            const std::string before = w.snapshot();
            HistoryCapture his;
            zarn::failalloc_set(n);
            row.op(w);
            zarn::failalloc_set(0);
            const std::string text = his.text();
            EXPECT_EQ(w.snapshot(), before) << n;
            if (!text.empty()) {
                size_t m = 0;
                while (m < row.messages.size() && row.messages[m] != text) ++m;
                ASSERT_LT(m, row.messages.size()) << n << ": " << text;
                seen[m] = true;
                if (row.creates) {  // a failed attribute leaves a dictionary without it; a failed record, none
                    EXPECT_TRUE(m == 0 ? created == nullptr : hashNum(rtattrdict_attributes(created)) < 14u) << n;
                }
            }
            rtattrdict_destroy(created);
            created = nullptr;
        }
        for (size_t m = 0; m < seen.size(); ++m) EXPECT_TRUE(seen[m]) << "never printed: " << row.messages[m];
    }
}

}  // namespace
