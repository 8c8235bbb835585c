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

// The elements from head to tail, checking that the length, the tail and the last link agree.
static std::string contents(const gl_list_t *l) {
    std::string s;
    const gl_node_t *last = nullptr;
    for (const gl_node_t *n = l->head; n != nullptr; n = n->next) {
        s += name(n->data);
        last = n;
    }
    EXPECT_EQ(l->tail, last) << "tail of " << s;
    EXPECT_EQ(gl_length(l), s.size()) << "length of " << s;
    return s;
}

// Runs ops (H/E x: add x at head/end, T/L/N: top/last/next, R x: replace, U: unlink, S: a stray cursor) and
// gives the element the last R or U returned ('-' for none).
static char run(gl_list_t *l, const char *ops) {
    void *returned = nullptr;
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
                returned = gl_replcur(l, el(*++o));
                break;
            case 'U':
                returned = gl_unlinkcur(l);
                break;
            case 'S':
                l->cursor = &g_stray;
        }
    return name(returned);
}

TEST(GlList, OperationsOnOneListInTurn) {
    const struct {
        const char *name, *ops;
        char returned;
        const char *contents;
        char cursor;
    } rows[] = {
        {"add to the head of an empty list", "Hb", '-', "b", '-'},
        {"add to the head", "Ha", '-', "ab", '-'},
        {"add to the end after head insertions", "Ec", '-', "abc", '-'},
        {"top, next, replace the cursor's element", "TNRd", 'b', "adc", 'd'},
        {"unlink: the cursor moves to the successor", "U", 'd', "ac", 'c'},
        {"unlink the tail: the cursor at the end", "U", 'c', "a", '-'},
        {"unlink, next and replace at the end do nothing", "UNRe", '-', "a", '-'},
        {"a cursor on a node of no list unlinks nothing", "EbSU", '-', "ab", 'h'},
        {"unlink the head", "TU", 'a', "b", 'b'},
        {"unlink the only node", "LU", 'b', "", '-'},
    };
    gl_list_t *l = gl_create();
    for (const auto &row : rows) {
        EXPECT_EQ(run(l, row.ops), row.returned) << row.name << ": returned";
        EXPECT_EQ(contents(l), row.contents) << row.name << ": contents";
        EXPECT_EQ(name(gl_get(l)), row.cursor) << row.name << ": cursor";
    }
    gl_destroylist(l);
}

TEST(GlList, AllocationFailuresAddNothingAndCopyNothing) {
    gl_list_t *l = gl_create(), *two = gl_create();
    gl_addtoend(l, el('a'));
    gl_addtoend(two, el('a'));
    gl_addtoend(two, el('b'));
    const struct {
        const char *name;
        std::function<bool()> op;
        long allocations;
    } rows[] = {{"gl_addtohead",
                 [&] {
                     gl_addtohead(l, el('b'));
                     if (contents(l) != "ba") return false;
                     gl_top(l);
                     gl_unlinkcur(l);
                     return true;
                 },
                 1},
                {"gl_copy",
                 [&] {
                     gl_list_t *c = gl_copy(two, gl_samedata);
                     gl_destroylist(c);
                     return c != nullptr;
                 },
                 3}};
    for (const auto &row : rows) {
        const auto failed = [&](long n, bool ok) {
            EXPECT_FALSE(ok) << row.name << ", allocation " << n << " failing: result";
            EXPECT_EQ(contents(l), "a") << row.name << ", allocation " << n << " failing: contents";
        };
        EXPECT_EQ(zarn::test::fail_each_allocation(row.op, failed), row.allocations) << row.name;
    }
    gl_destroylist(l);
    gl_destroylist(two);
}

TEST(GlList, NullCallersGetNothing) {
    gl_list_t *l = gl_create();
    gl_addtoend(l, el('a'));
    gl_info_iterate(nullptr, nullptr, [](void *, void *) {});
    gl_info_iterate(nullptr, l, nullptr);
    gl_addtoend(nullptr, l);
    gl_addtohead(nullptr, l);
    gl_top(nullptr);
    gl_last(nullptr);
    gl_next(nullptr);
    gl_destroy(nullptr, std::free);
    EXPECT_EQ(gl_copy(nullptr, gl_samedata), nullptr) << "copy of no list";
    EXPECT_EQ(gl_copy(l, nullptr), nullptr) << "copy without a copy function";
    EXPECT_EQ(gl_length(nullptr), 0u) << "length of no list";
    EXPECT_EQ(gl_end(nullptr), 1) << "no list is at its end";
    EXPECT_EQ(gl_get(nullptr), nullptr) << "cursor of no list";
    EXPECT_EQ(gl_replcur(nullptr, l), nullptr) << "replace in no list";
    EXPECT_EQ(gl_unlinkcur(nullptr), nullptr) << "unlink from no list";
    gl_destroylist(l);
}

// A walk's function acting on the walked list at its first element, once.
static gl_list_t *g_walked = nullptr;
static void (*g_pending)(gl_list_t *) = nullptr;
static const CII_Except_T kOutOfTheWalk = {"out of the walk"};
static void visit_acting_once(void *seen, void *d) {
    if (auto once = std::exchange(g_pending, nullptr)) once(g_walked);
    *static_cast<std::string *>(seen) += name(d);
}
// Walks l into seen, the first visit running act; a raise out of the walk ends it here.
static void walk_once(gl_list_t *l, std::string *seen, void (*act)(gl_list_t *)) {
    g_pending = act;
    g_walked = l;
    ZARN_TRY
    gl_info_iterate(seen, l, visit_acting_once);
    ZARN_ELSE
    *seen += "raised";
    ZARN_END_TRY;
}

TEST(GlList, AWalksListKeepsItsNodesUntilTheWalkEnds) {
    const struct {
        const char *rule;
        void (*act)(gl_list_t *);
        const char *seen, *after, *err;
    } rows[] = {
        {"no node is unlinked",
         [](gl_list_t *l) {
             gl_top(l);
             gl_unlinkcur(l);
         },
         "abc", "abc", "!!gl_unlinkcur: Illegal while the list is being walked\n"},
        {"the list is not destroyed", [](gl_list_t *l) { gl_destroylist(l); }, "abc", "abc",
         "!!gl_destroy: Illegal while the list is being walked\n"},
        {"added elements wait for the next walk",
         [](gl_list_t *l) {
             gl_addtoend(l, el('d'));
             gl_addtohead(l, el('e'));
         },
         "abc", "eabcd", ""},
        {"a raise out of the walk frees the list", [](gl_list_t *) { ZARN_RAISE(kOutOfTheWalk); }, "raised",
         "abc", ""},
    };
    for (const auto &row : rows) {
        gl_list_t *l = gl_create();
        for (char c : {'a', 'b', 'c'}) gl_addtoend(l, el(c));
        std::string seen;
        zarn::test::StderrCapture err;
        walk_once(l, &seen, row.act);
        EXPECT_EQ(seen, row.seen) << row.rule << ": visited";
        EXPECT_EQ(contents(l), row.after) << row.rule << ": the list after the walk";
        EXPECT_EQ(err.text(), row.err) << row.rule << ": message";
        gl_top(l);
        EXPECT_EQ(gl_unlinkcur(l), el(row.after[0]))
            << row.rule << ": the list may be changed after the walk";
        gl_destroylist(l);
    }
}

static const CII_Except_T kFirst = {"first failure"}, kSecond = {"second failure"}, kNoReason = {nullptr};

TEST(Except, HandlersReceiveRaisesAndPassOnTheUnmatched) {
    CII_Except_Frame *const before = CII_Except_stack;
    volatile int line = 0;
    volatile bool wrong_handler = false, same_file = false;
    ZARN_TRY
    ZARN_TRY CII_Except_raise(&kSecond, "here.c", 12);
    ZARN_EXCEPT(kFirst) wrong_handler = true;
    ZARN_END_TRY;
    ZARN_EXCEPT(kSecond) {
        line = zarn_except_frame_.line;
        same_file = std::string(zarn_except_frame_.file) == "here.c";
    }
    ZARN_END_TRY;
    EXPECT_FALSE(wrong_handler) << "the inner handler is for another exception";
    EXPECT_EQ(line, 12) << "line of the raise";
    EXPECT_TRUE(same_file) << "file of the raise";
    EXPECT_EQ(CII_Except_stack, before) << "every frame popped";
}

TEST(ExceptDeathTest, RaiseWithoutHandlerAbortsAfterItsLine) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // No place is given without a file and a line of at least 1.
    const char *const kNowhere = "^Uncaught exception first failure\\s*aborting\\.\\.\\.\n$";
    const struct {
        const char *name;
        const CII_Except_T *e;
        const char *file;
        int line;
        const char *text;
    } rows[] = {{"file and line 1", &kFirst, "one.c", 1,
                 "^Uncaught exception first failure raised at one\\.c:1\naborting\\.\\.\\.\n$"},
                {"line 0", &kFirst, "zero.c", 0, kNowhere},
                {"no file", &kFirst, nullptr, 7, kNowhere},
                {"no reason", &kNoReason, "x.c", INT_MIN,
                 "^Uncaught exception at 0x0x[0-9a-f]+aborting\\.\\.\\.\n$"}};
    for (const auto &row : rows)
        EXPECT_DEATH(CII_Except_raise(row.e, row.file, row.line), row.text) << row.name;
}
