// Generic list: cursor, unlink and copy corners.
#include <gtest/gtest.h>

#include "zarnutils/gllist.h"

namespace {

int a = 1, b = 2, c = 3;

TEST(GlList, UnlinkOnlyNodeLeavesEmptyList) {
    gl_list_t *l = gl_create();
    gl_addtoend(l, &a);
    gl_top(l);
    EXPECT_EQ(gl_unlinkcur(l), &a);
    EXPECT_EQ(gl_length(l), 0u);
    EXPECT_EQ(l->head, nullptr);
    EXPECT_EQ(l->tail, nullptr);
    EXPECT_EQ(l->cursor, nullptr);
    EXPECT_EQ(gl_unlinkcur(l), nullptr);  // at the end: nothing to remove
    gl_addtoend(l, &b);                   // tail must have been reset for this to work
    EXPECT_EQ(l->head, l->tail);
    gl_destroylist(l);
}

TEST(GlList, UnlinkTailMakesPredecessorTail) {
    gl_list_t *l = gl_create();
    gl_addtoend(l, &a);
    gl_addtoend(l, &b);
    gl_addtoend(l, &c);
    gl_last(l);
    EXPECT_EQ(gl_unlinkcur(l), &c);
    EXPECT_TRUE(gl_end(l));
    EXPECT_EQ(l->tail->data, &b);
    gl_addtoend(l, &c);
    gl_top(l);
    gl_next(l);
    EXPECT_EQ(gl_unlinkcur(l), &b);  // middle node: cursor moves to the successor
    EXPECT_EQ(gl_get(l), &c);
    EXPECT_EQ(gl_length(l), 2u);
    // A cursor that is not a node of this list changes nothing.
    gl_node_t stray{nullptr, &a};
    l->cursor = &stray;
    EXPECT_EQ(gl_unlinkcur(l), nullptr);
    EXPECT_EQ(gl_length(l), 2u);
    gl_destroylist(l);
}

TEST(GlList, HeadInsertCopyReplaceAndIterate) {
    gl_list_t *l = gl_create();
    gl_addtohead(l, &b);
    EXPECT_EQ(l->tail->data, &b);
    gl_addtohead(l, &a);
    gl_addtoend(l, &c);
    gl_list_t *copy = gl_copy(l, gl_samedata);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(gl_copy(nullptr, gl_samedata), nullptr);
    EXPECT_EQ(gl_copy(l, nullptr), nullptr);
    std::vector<void *> seen;
    gl_info_iterate(&seen, copy, [](void *info, void *data) { static_cast<std::vector<void *> *>(info)->push_back(data); });
    EXPECT_EQ(seen, (std::vector<void *>{&a, &b, &c}));
    gl_top(copy);
    EXPECT_EQ(gl_replcur(copy, &c), &a);
    EXPECT_EQ(gl_get(copy), &c);
    gl_top(l);
    EXPECT_EQ(gl_get(l), &a);  // the original keeps its data
    gl_last(l);
    gl_next(l);
    gl_next(l);
    EXPECT_TRUE(gl_end(l));
    EXPECT_EQ(gl_replcur(l, &a), nullptr);
    EXPECT_EQ(gl_get(l), nullptr);
    gl_destroylist(copy);
    gl_destroylist(l);
    gl_destroylist(nullptr);
}

TEST(GlList, DestroyFreesData) {
    static int freed = 0;
    gl_list_t *l = gl_create();
    for (int i = 0; i < 5; ++i) gl_addtoend(l, new int(i));
    freed = 0;
    gl_destroy(l, [](void *d) {
        delete static_cast<int *>(d);
        ++freed;
    });
    EXPECT_EQ(freed, 5);
}

}  // namespace
