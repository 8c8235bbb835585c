// Every list and exception entry called with NULL and out of order.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <functional>

#include "zarnutils/except.h"
#include "zarnutils/gllist.h"

namespace {

int g_visits = 0;
void visit(void *, void *) { ++g_visits; }

TEST(GlListHostileCaller, NullListsAndFunctions) {
    int a = 1;
    gl_list_t *l = gl_create();
    gl_addtoend(l, &a);
    const std::pair<const char *, std::function<bool()>> rows[] = {
        {"gl_copy(NULL, f), (l, NULL)", [&] { return !gl_copy(nullptr, gl_samedata) && !gl_copy(l, nullptr); }},
        {"gl_samedata(NULL), gl_length(NULL)", [] { return !gl_samedata(nullptr) && gl_length(nullptr) == 0; }},
        {"gl_addtoend/head(NULL)", [&] { gl_addtoend(nullptr, &a); gl_addtohead(nullptr, &a); return true; }},
        {"gl_top/last/next(NULL)", [] { gl_top(nullptr); gl_last(nullptr); gl_next(nullptr); return true; }},
        {"gl_end/get/replcur/unlinkcur(NULL)",
         [&] { return gl_end(nullptr) == 1 && !gl_get(nullptr) && !gl_replcur(nullptr, &a) && !gl_unlinkcur(nullptr); }},
        {"gl_info_iterate(NULL list / fn)", [&] { gl_info_iterate(nullptr, nullptr, visit); gl_info_iterate(nullptr, l, nullptr); return g_visits == 0; }},
        {"gl_destroylist(NULL), gl_destroy(NULL, f)", [] { gl_destroylist(nullptr); gl_destroy(nullptr, std::free); return true; }},
        {"unlink at the end twice", [&] { gl_last(l); gl_next(l); return !gl_unlinkcur(l) && !gl_unlinkcur(l) && gl_length(l) == 1; }},
    };
    for (const auto &[call, run] : rows) EXPECT_TRUE(run()) << call;
    gl_destroy(l, nullptr);  // no free function: the nodes only
}

const CII_Except_T kFirst = {"first failure"};
const CII_Except_T kNoReason = {nullptr};

// The module's one fatal path: a raise with no handler frame aborts after its line.
TEST(GlListHostileCallerDeathTest, RaiseWithoutHandlerAborts) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const struct {
        const CII_Except_T *e;
        const char *file;
        int line;
        const char *text;
    } rows[] = {
        {&kFirst, "alloc.c", 42, "^Uncaught exception first failure raised at alloc\\.c:42\naborting\\.\\.\\.\n$"},
        {&kFirst, "one.c", 1, "^Uncaught exception first failure raised at one\\.c:1\naborting\\.\\.\\.\n$"},
        {&kFirst, "zero.c", 0, "^Uncaught exception first failure\\s*aborting\\.\\.\\.\n$"},
        {&kFirst, nullptr, 7, "^Uncaught exception first failure\\s*aborting\\.\\.\\.\n$"},
        {&kNoReason, "x.c", INT_MIN, "^Uncaught exception at 0x0x[0-9a-f]+aborting\\.\\.\\.\n$"},
        {nullptr, "", INT_MAX, "^Uncaught exception at 0x\\(nil\\) raised at :2147483647\naborting\\.\\.\\.\n$"},
    };
    for (const auto &r : rows) EXPECT_DEATH(CII_Except_raise(r.e, r.file, r.line), r.text) << r.line;
}

}  // namespace
