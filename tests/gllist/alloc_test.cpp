// Every allocation of the list operations fails once: the list is as it was.
#include <gtest/gtest.h>

#include "failsweep.h"
#include "zarnutils/gllist.h"

namespace {

TEST(GlListAllocation, FailuresAddNothingAndCopyNothing) {
    int a = 1, b = 2;
    gl_list_t *l = gl_create();
    gl_addtoend(l, &a);
    gl_list_t *two = gl_copy(l, gl_samedata);
    gl_addtoend(two, &b);
    struct Row {
        const char *name;
        std::function<bool()> op;
        long allocations;
    };
    const Row rows[] = {
        {"gl_create",
         [] {
             gl_list_t *x = gl_create();
             gl_destroylist(x);
             return x != nullptr;
         },
         1},
        {"gl_addtoend", [&] { gl_addtoend(l, &b); return gl_length(l) == 2 && l->tail->data == &b; }, 1},
        {"gl_addtohead", [&] { gl_addtohead(l, &b); return gl_length(l) == 2 && l->head->data == &b; }, 1},
        {"gl_copy",
         [&] {
             gl_list_t *c = gl_copy(two, gl_samedata);
             bool ok = c != nullptr && gl_length(c) == 2 && c->tail->data == &b;
             gl_destroylist(c);
             return ok;
         },
         3},
    };
    for (const Row &row : rows) {
        long seen = zarn::test::fail_each_allocation(row.op, [&](long n, bool ok) {
            EXPECT_FALSE(ok) << row.name << " allocation " << n;
            EXPECT_EQ(gl_length(l), 1u) << row.name;
            EXPECT_EQ(l->head, l->tail);
            EXPECT_EQ(l->head->data, &a);
        });
        EXPECT_EQ(seen, row.allocations) << row.name;
        // Back to the one element a.
        gl_top(l);
        if (gl_length(l) == 2) {
            if (gl_get(l) != &a) gl_unlinkcur(l); else { gl_last(l); gl_unlinkcur(l); }
        }
    }
    gl_destroylist(l);
    gl_destroylist(two);
}

}  // namespace
