// Every allocation of a list operation made to fail in turn: the documented
// result (no list, the old record kept, the value unchanged) and message,
// nothing else changed, nothing leaked (ASan).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "capture.h"
#include "platform/xalloc.h"
#include "varlst_fixture.h"

namespace {

struct Row {
    const char *what;
    std::function<void(rtvarlst_t *)> op;
    std::vector<std::string> messages;  // its failure messages; each must show ("" for a silent one)
};

// What a caller can see of the first two items.
std::string state(rtvarlst_t *l) {
    std::string s = std::to_string(rtovarlst_inq_nvar(l)) + "/" + std::to_string(rtovarlst_inq_capacity(l));
    char text[32];
    for (int32_t k = 1; k <= 2; ++k) {
        text[0] = '\0';
        rtovarlst_inq_var_modified_string(l, k, text);
        s += std::string(" ") + rtovarlst_lookup_var_name(l, k) + " " + text + " " +
             std::to_string(rtovarlst_inq_var_step(l, k));
    }
    return s;
}

TEST(VarLstAllocFail, EveryAllocationOfEachOperationFails) {
    rtvarlst_t *made = nullptr;
    const rtvarmod_t pair{4, 5};
    const Row rows[] = {
        // Documented: no list when memory runs out (a column left out counts too).
        {"create", [&](rtvarlst_t *) { made = rtovarlst_create(4); },
         {"", "!! make_attr: malloc failed\n", "!!rtattrdict_create: unable to allocate the dictionary\n"}},
        {"sublist", [&](rtvarlst_t *l) { made = rtovarlst_create_sublist(l, 2); },
         {"", "!! rtattrdict_create_embedded: unable to allocate the window\n"}},
        {"modification record", [&](rtvarlst_t *l) { rtovarlst_set_var_modified(l, 1, &pair); }, {""}},
        {"first sparse value", [](rtvarlst_t *l) { rtovarlst_set_var_step(l, 2, 0.5); },
         {"!!attribute dictionary: unable to allocate a sparse record\n"}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        long total = 0;
        {
            rtvarlst_t *l = zarn::test::named_list(3);
            zarn::failalloc_set(0);
            row.op(l);
            total = zarn::failalloc_count();
            rtovarlst_destroy_c(&made);
            rtovarlst_destroy_c(&l);
        }
        ASSERT_GT(total, 0);
        std::vector<bool> seen(row.messages.size());
        for (long n = 1; n <= total; ++n) {
            rtvarlst_t *l = zarn::test::named_list(3);
            rtovarlst_set_var_modified_string(l, 1, "1;2");
            const std::string before = state(l);
            zarn::test::HistoryCapture his;
            zarn::failalloc_set(n);
            row.op(l);
            zarn::failalloc_set(0);
            const std::string text = his.text();
            size_t m = 0;
            while (m < row.messages.size() && row.messages[m] != text) ++m;
            ASSERT_LT(m, row.messages.size()) << n << ": " << text;
            seen[m] = true;
            EXPECT_EQ(made, nullptr) << n;
            EXPECT_EQ(state(l), before) << n;
            rtovarlst_destroy_c(&made);
            rtovarlst_destroy_c(&l);
        }
        for (size_t m = 0; m < seen.size(); ++m) EXPECT_TRUE(seen[m]) << "never printed: " << row.messages[m];
    }
}

}  // namespace
