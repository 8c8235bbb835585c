// Every list and exception entry called with NULL and out of order.
#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "zarnutils/except.h"
#include "zarnutils/gllist.h"

namespace {

int g_visits = 0;
void visit(void *, void *) { ++g_visits; }
void *copy_same(void *d) { return d; }

TEST(GlListHostileCaller, NullListsAndFunctions) {
    int a = 1;
    gl_list_t *l = gl_create();
    gl_addtoend(l, &a);
    struct Row {
        const char *call;
        std::function<intptr_t()> run;
        intptr_t result;
    };
    const Row rows[] = {
        {"gl_copy(NULL, f)", [] { return gl_copy(nullptr, copy_same) == nullptr; }, 1},
        {"gl_copy(l, NULL)", [&] { return gl_copy(l, nullptr) == nullptr; }, 1},
        {"gl_samedata(NULL)", [] { return gl_samedata(nullptr) == nullptr; }, 1},
        {"gl_length(NULL)", [] { return intptr_t{gl_length(nullptr)}; }, 0},
        {"gl_addtoend/gl_addtohead(NULL)", [&] { gl_addtoend(nullptr, &a); gl_addtohead(nullptr, &a); return 0; }, 0},
        {"gl_top/gl_last/gl_next(NULL)", [] { gl_top(nullptr); gl_last(nullptr); gl_next(nullptr); return 0; }, 0},
        {"gl_end(NULL)", [] { return intptr_t{gl_end(nullptr)}; }, 1},
        {"gl_get(NULL)", [] { return gl_get(nullptr) == nullptr; }, 1},
        {"gl_replcur(NULL)", [&] { return gl_replcur(nullptr, &a) == nullptr; }, 1},
        {"gl_unlinkcur(NULL)", [] { return gl_unlinkcur(nullptr) == nullptr; }, 1},
        {"gl_info_iterate(NULL list / NULL fn)",
         [&] { g_visits = 0; gl_info_iterate(nullptr, nullptr, visit); gl_info_iterate(nullptr, l, nullptr); return intptr_t{g_visits}; }, 0},
        {"gl_destroylist(NULL), gl_destroy(NULL, f)", [] { gl_destroylist(nullptr); gl_destroy(nullptr, free); return 0; }, 0},
        // Past the end: next stays, unlink and replace give nothing, twice in a row.
        {"at the end, twice",
         [&] {
             gl_last(l);
             gl_next(l);
             gl_next(l);
             return (gl_unlinkcur(l) == nullptr) + (gl_unlinkcur(l) == nullptr) + (gl_replcur(l, &a) == nullptr) +
                    intptr_t{gl_length(l)};
         }, 4},
    };
    for (const Row &row : rows) EXPECT_EQ(row.run(), row.result) << row.call;
    EXPECT_EQ(gl_length(l), 1u);
    gl_destroy(l, nullptr);  // no free function: the nodes only
}

const CII_Except_T kHostile = {nullptr};

// The one fatal path of this module: a raise with no handler frame.
TEST(GlListHostileCallerDeathTest, RaiseWithoutHandlerAborts) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(CII_Except_raise(nullptr, nullptr, INT_MIN), "^Uncaught exception at 0x\\(nil\\)aborting\\.\\.\\.\n$");
    EXPECT_DEATH(CII_Except_raise(&kHostile, "", INT_MAX), "^Uncaught exception at 0x0x[0-9a-f]+ raised at :2147483647\naborting");
}

}  // namespace
