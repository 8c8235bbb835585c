// Generic list: a script of operations, each checked against the list's
// expected contents, cursor and shape; allocation failures; handler frames.
#include <gtest/gtest.h>

#include <string>

#include "failsweep.h"
#include "zarnutils/except.h"
#include "zarnutils/gllist.h"

namespace {

char g_data[] = "abcdefgh";  // element k is &g_data[k]; contents read as a string
void *el(char c) { return &g_data[c - 'a']; }
char name(void *d) { return d == nullptr ? '-' : *static_cast<char *>(d); }

// Contents head to tail, then '|' and the cursor's element ('-' at the end);
// the walk also checks that length, tail and the last link agree.
std::string shape(const gl_list_t *l) {
    std::string s;
    const gl_node_t *last = nullptr;
    for (const gl_node_t *n = l->head; n != nullptr; n = n->next) s += name((last = n)->data);
    EXPECT_EQ(l->tail, last);
    EXPECT_EQ(gl_length(l), s.size());
    return s + "|" + name(gl_get(l));
}

TEST(GlList, ScriptOfOperations) {
    gl_list_t *l = gl_create();
    gl_node_t stray{nullptr, el('h')};
    struct Step {
        const char *what;
        void *(*op)(gl_list_t *, gl_node_t *);
        char result;  // name of the returned data, '-' for none
        const char *after;
    };
    const Step script[] = {
        {"addtohead into empty sets the tail", [](gl_list_t *x, gl_node_t *) { gl_addtohead(x, el('b')); return (void *)nullptr; }, '-', "b|-"},
        {"addtohead", [](gl_list_t *x, gl_node_t *) { gl_addtohead(x, el('a')); return (void *)nullptr; }, '-', "ab|-"},
        {"addtoend", [](gl_list_t *x, gl_node_t *) { gl_addtoend(x, el('c')); return (void *)nullptr; }, '-', "abc|-"},
        {"top", [](gl_list_t *x, gl_node_t *) { gl_top(x); return gl_get(x); }, 'a', "abc|a"},
        {"next", [](gl_list_t *x, gl_node_t *) { gl_next(x); return gl_get(x); }, 'b', "abc|b"},
        {"replcur gives the old data", [](gl_list_t *x, gl_node_t *) { return gl_replcur(x, el('d')); }, 'b', "adc|d"},
        {"unlink middle: cursor to successor", [](gl_list_t *x, gl_node_t *) { return gl_unlinkcur(x); }, 'd', "ac|c"},
        {"unlink tail: predecessor is tail, cursor at end", [](gl_list_t *x, gl_node_t *) { return gl_unlinkcur(x); }, 'c', "a|-"},
        {"end: nothing to unlink or replace", [](gl_list_t *x, gl_node_t *) { return gl_end(x) ? gl_unlinkcur(x) : el('h'); }, '-', "a|-"},
        {"next at the end stays", [](gl_list_t *x, gl_node_t *) { gl_next(x); return gl_replcur(x, el('e')); }, '-', "a|-"},
        {"a stray cursor changes nothing", [](gl_list_t *x, gl_node_t *s) { gl_addtoend(x, el('b')); x->cursor = s; return gl_unlinkcur(x); }, '-', "ab|h"},
        {"unlink head", [](gl_list_t *x, gl_node_t *) { gl_top(x); return gl_unlinkcur(x); }, 'a', "b|b"},
        {"unlink the only node: empty", [](gl_list_t *x, gl_node_t *) { gl_last(x); return gl_unlinkcur(x); }, 'b', "|-"},
        {"then an append is head and tail", [](gl_list_t *x, gl_node_t *) { gl_addtoend(x, el('f')); gl_addtoend(x, el('g')); return (void *)nullptr; }, '-', "fg|-"},
    };
    for (const Step &s : script) {
        EXPECT_EQ(name(s.op(l, &stray)), s.result) << s.what;
        EXPECT_EQ(shape(l), s.after) << s.what;
    }
    // A shallow copy: same data, own nodes; every element visited in order.
    gl_list_t *copy = gl_copy(l, gl_samedata);
    gl_top(copy);
    gl_replcur(copy, el('a'));
    std::string seen;
    gl_info_iterate(&seen, copy, [](void *info, void *d) { *static_cast<std::string *>(info) += name(d); });
    EXPECT_EQ(seen, "ag");
    EXPECT_EQ(shape(l), "fg|-");
    gl_destroylist(copy);
    static int freed;
    freed = 0;
    gl_destroy(l, [](void *) { ++freed; });
    EXPECT_EQ(freed, 2);
}

TEST(GlListAllocation, FailuresAddNothingAndCopyNothing) {
    int a = 1, b = 2;
    gl_list_t *l = gl_create(), *two = gl_create();
    gl_addtoend(l, &a);
    gl_addtoend(two, &a);
    gl_addtoend(two, &b);
    // Adds b, then takes it out again (found with `place`) so the next run starts alike.
    auto added = [&](void (*add)(gl_list_t *, void *), void (*place)(gl_list_t *)) {
        add(l, &b);
        if (gl_length(l) != 2) return false;
        place(l);
        return gl_unlinkcur(l) == &b;
    };
    const struct {
        const char *name;
        std::function<bool()> op;
        long allocations;
    } rows[] = {
        {"gl_create", [] { gl_list_t *x = gl_create(); gl_destroylist(x); return x != nullptr; }, 1},
        {"gl_addtoend", [&] { return added(gl_addtoend, gl_last); }, 1},
        {"gl_addtohead", [&] { return added(gl_addtohead, gl_top); }, 1},
        // No short copy: either every element or no list.
        {"gl_copy", [&] { gl_list_t *c = gl_copy(two, gl_samedata); gl_destroylist(c); return c != nullptr; }, 3},
    };
    for (const auto &row : rows) {
        long seen = zarn::test::fail_each_allocation(row.op, [&](long n, bool ok) {
            EXPECT_FALSE(ok) << row.name << " allocation " << n;
            EXPECT_EQ(gl_length(l), 1u);
            EXPECT_EQ(l->head, l->tail);
        });
        EXPECT_EQ(seen, row.allocations) << row.name;
    }
    gl_destroylist(l);
    gl_destroylist(two);
}

const CII_Except_T kFirst = {"first failure"};
const CII_Except_T kSecond = {"second failure"};

TEST(Except, HandlersReceiveRaisesAndPassOnTheUnmatched) {
    CII_Except_Frame *const before = CII_Except_stack;
    volatile int inner = 0, other = 0;
    ZARN_TRY
        ZARN_TRY
            CII_Except_raise(&kFirst, "here.c", 12);
        ZARN_EXCEPT(kFirst)
            inner = zarn_except_frame_.line + (std::string(zarn_except_frame_.file) == "here.c");
        ZARN_END_TRY;
        ZARN_TRY
            CII_Except_raise(&kSecond, nullptr, 0);  // not matched here: goes outward
        ZARN_EXCEPT(kFirst)
            inner = -1;
        ZARN_END_TRY;
    ZARN_EXCEPT(kFirst)
        other = -1;
    ZARN_ELSE
        other = zarn_except_frame_.exception == &kSecond;
    ZARN_END_TRY;
    EXPECT_EQ(inner * 10 + other, 131);
    EXPECT_EQ(CII_Except_stack, before);  // every frame popped, by raise or by leaving
}

}  // namespace
