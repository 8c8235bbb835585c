// Generic list: operations against contents, cursor and shape; allocation failures; NULL callers; raises.
#include <gtest/gtest.h>
#include <climits>
#include <string>
#include <utility>
#include "capture.h"
#include "failsweep.h"
#include "zarnutils/except.h"
#include "zarnutils/gllist.h"
static char g_data[] = "abcdefgh";              // element k is &g_data[k]
static gl_node_t g_stray{nullptr, &g_data[7]};  // a node of no list
static void *el(char c) { return &g_data[c - 'a']; }
static char name(void *d) { return d == nullptr ? '-' : *static_cast<char *>(d); }
// Runs ops (H/E x: add at head/end, T/L/N: top/last/next, R x: replace, U: unlink, S: stray cursor); gives
// what the last R or U returned, the contents, '|' and the cursor's element, checking that length, tail and
// the last link agree.
static std::string run(gl_list_t *l, const char *ops = "") {
    void *r = nullptr;
    for (const char *o = ops; *o != '\0'; ++o) switch (*o) {
            case 'H':
                gl_addtohead(l, el(*++o));
                break;
            case 'E':
                gl_addtoend(l, el(*++o));
                break;
            case 'T':
                gl_top(l);
                break;
            case 'L':
                gl_last(l);
                break;
            case 'N':
                gl_next(l);
                break;
            case 'R':
                r = gl_replcur(l, el(*++o));
                break;
            case 'U':
                r = gl_unlinkcur(l);
                break;
            case 'S':
                l->cursor = &g_stray;
        }
    std::string s(1, name(r));
    const gl_node_t *last = nullptr;
    for (const gl_node_t *n = l->head; n != nullptr; n = n->next) s += name((last = n)->data);
    EXPECT_TRUE(l->tail == last && gl_length(l) == s.size() - 1) << s;
    return s + "|" + name(gl_get(l));
}
TEST(GlList, ScriptCopyAndDestroy) {
    gl_list_t *l = gl_create();
    const struct {
        const char *ops, *after;
    } script[] = {{"Hb", "-b|-"}, {"Ha", "-ab|-"}, {"Ec", "-abc|-"}, {"T", "-abc|a"}, {"NRd", "badc|d"},
                  {"U", "dac|c"}, {"U", "ca|-"},   {"U", "-a|-"},    {"NRe", "-a|-"}, {"EbSU", "-ab|h"},
                  {"TU", "ab|b"}, {"LU", "b|-"},   {"EfEg", "-fg|-"}};
    for (const auto &s : script) EXPECT_EQ(run(l, s.ops), s.after) << s.ops;
    gl_list_t *copy = gl_copy(l, gl_samedata);  // same data, own nodes
    std::string seen = run(copy, "TRa");
    gl_info_iterate(&seen, l, [](void *info, void *d) { *static_cast<std::string *>(info) += name(d); });
    gl_destroylist(copy),
        gl_destroy(l, [](void *d) { *static_cast<char *>(d) -= 'a' - 'A'; });  // frees each datum once
    EXPECT_EQ(seen + g_data, "fag|afgabcdeFGh");
}
TEST(GlList, AllocationFailuresAddNothingAndCopyNothingAndNullCallersGetNothing) {
    gl_list_t *l = gl_create(), *two = gl_create();
    gl_addtoend(l, el('a')), gl_addtoend(two, el('a')), gl_addtoend(two, el('b'));
    const struct {
        const char *name;
        std::function<bool()> op;
        long allocations;
    } rows[] = {{"gl_create",
                 [] {
                     gl_list_t *x = gl_create();
                     gl_destroylist(x);
                     return x != nullptr;
                 },
                 1},
                {"gl_addtoend",
                 [&] {
                     gl_addtoend(l, el('b'));
                     return gl_length(l) == 2 && run(l, "LU") == "ba|-";
                 },
                 1},
                {"gl_addtohead",
                 [&] {
                     gl_addtohead(l, el('b'));
                     return gl_length(l) == 2 && run(l, "TUN") == "ba|-";
                 },
                 1},
                {"gl_copy",
                 [&] {
                     gl_list_t *c = gl_copy(two, gl_samedata);
                     gl_destroylist(c);
                     return c != nullptr;
                 },
                 3}};
    for (const auto &row : rows)
        EXPECT_EQ(zarn::test::fail_each_allocation(
                      row.op,
                      [&](long n, bool ok) { EXPECT_EQ(run(l) + (ok ? "!" : ""), "-a|-") << row.name << n; }),
                  row.allocations)
            << row.name;
    gl_info_iterate(nullptr, nullptr, [](void *, void *) { FAIL(); }), gl_info_iterate(nullptr, l, nullptr),
        gl_destroylist(nullptr), gl_addtoend(nullptr, l);
    gl_addtohead(nullptr, l), gl_top(nullptr), gl_last(nullptr), gl_next(nullptr),
        gl_destroy(nullptr, std::free);
    EXPECT_TRUE(!gl_copy(nullptr, gl_samedata) && !gl_copy(l, nullptr) && !gl_samedata(nullptr) &&
                gl_length(nullptr) == 0 && gl_end(nullptr) == 1 && !gl_get(nullptr) &&
                !gl_replcur(nullptr, l) && !gl_unlinkcur(nullptr));
    EXPECT_EQ(run(l, "LNUU"), "-a|-");
    gl_destroy(l, nullptr), gl_destroylist(two);
}
// A walk's function acting on the walked list, on its first element: the elements visited, the list after,
// stderr.
static gl_list_t *g_walked = nullptr;
static const CII_Except_T kOutOfTheWalk = {"out of the walk"};
// Walks l into seen, the first visit running act once; a raise out of the walk ends it here.
static void walk_once(gl_list_t *l, std::string *seen, void (*act)(gl_list_t *)) {
    static void (*pending)(gl_list_t *);
    pending = act, g_walked = l;
    ZARN_TRY
    gl_info_iterate(seen, l, [](void *info, void *d) {
        if (auto once = std::exchange(pending, nullptr)) once(g_walked);
        *static_cast<std::string *>(info) += name(d);
    });
    ZARN_ELSE
    *seen += "raised";
    ZARN_END_TRY;
}
TEST(GlList, AWalksListKeepsItsNodesUntilTheWalkEnds) {
    using Act = void (*)(gl_list_t *);
    // post: the script run on the list after the walk.
    const struct {
        const char *rule;
        Act act;
        const char *seen, *post, *after, *err;
    } rows[] = {
        {"no node is unlinked", [](gl_list_t *l) { gl_top(l), gl_unlinkcur(l); }, "abc", "", "-abc|a",
         "!!gl_unlinkcur: Illegal while the list is being walked\n"},
        {"the list is not destroyed", [](gl_list_t *l) { gl_destroylist(l); }, "abc", "", "-abc|-",
         "!!gl_destroy: Illegal while the list is being walked\n"},
        {"added elements wait for the next walk",
         [](gl_list_t *l) { gl_addtoend(l, el('d')), gl_addtohead(l, el('e')); }, "abc", "", "-eabcd|-", ""},
        {"a raise out of the walk frees the list", [](gl_list_t *) { ZARN_RAISE(kOutOfTheWalk); }, "raised",
         "TU", "abc|b", ""},
    };
    for (const auto &r : rows) {
        gl_list_t *l = gl_create();
        for (char c : {'a', 'b', 'c'}) gl_addtoend(l, el(c));
        std::string seen;
        zarn::test::StderrCapture err;
        walk_once(l, &seen, r.act);
        EXPECT_EQ(seen + " " + run(l, r.post) + " " + err.text(),
                  std::string(r.seen) + " " + r.after + " " + r.err)
            << r.rule;
        gl_destroylist(l);
    }
}
static const CII_Except_T kFirst = {"first failure"}, kSecond = {"second failure"}, kNoReason = {nullptr};
TEST(Except, HandlersReceiveRaisesAndPassOnTheUnmatched) {
    CII_Except_Frame *const before = CII_Except_stack;
    volatile int seen = 0;
    ZARN_TRY
    ZARN_TRY CII_Except_raise(&kSecond, "here.c", 12);
    ZARN_EXCEPT(kFirst) seen = -1;
    ZARN_END_TRY;
    ZARN_EXCEPT(kSecond) seen = zarn_except_frame_.line + (std::string(zarn_except_frame_.file) == "here.c");
    ZARN_END_TRY;
    EXPECT_EQ(seen + (CII_Except_stack != before), 13);  // every frame popped, by raise or by leaving
}
TEST(ExceptDeathTest, RaiseWithoutHandlerAbortsAfterItsLine) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const char *const kNowhere =
        "^Uncaught exception first failure\\s*aborting\\.\\.\\.\n$";  // no place without a file and a line >=
                                                                      // 1
    const struct {
        const CII_Except_T *e;
        const char *file;
        int line;
        const char *text;
    } rows[] = {
        {&kFirst, "one.c", 1, "^Uncaught exception first failure raised at one\\.c:1\naborting\\.\\.\\.\n$"},
        {&kFirst, "zero.c", 0, kNowhere},
        {&kFirst, nullptr, 7, kNowhere},
        {&kNoReason, "x.c", INT_MIN, "^Uncaught exception at 0x0x[0-9a-f]+aborting\\.\\.\\.\n$"},
        {nullptr, "", INT_MAX,
         "^Uncaught exception at 0x\\(nil\\) raised at :2147483647\naborting\\.\\.\\.\n$"}};
    for (const auto &r : rows) EXPECT_DEATH(CII_Except_raise(r.e, r.file, r.line), r.text) << r.line;
}
