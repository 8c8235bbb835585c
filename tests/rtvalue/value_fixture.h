// Shared pieces of the value tests: a fresh units table and history capture per test, an owning
// value wrapper, builders of heap values, printing, and parameter reads and settings.
#ifndef ZARN_TESTS_RTVALUE_VALUE_FIXTURE_H
#define ZARN_TESTS_RTVALUE_VALUE_FIXTURE_H

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <map>
#include <string>

#include "capture.h"
#include "fake_context.h"
#include "platform/xalloc.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/rtvalue.hpp"

namespace zarn::test {

// A value that destroys itself.
struct V {
    value_t v;
    V() { value_init(&v); }
    ~V() { value_destroy(&v); }
    V(const V &) = delete;
    int kind() const { return v.value_type; }
};

// Heap values (list items), made through the library's own assignments where one exists.
inline char *dup(const char *s) { return zarn::xstrdup(s); }
inline value_t *Heap() { return static_cast<value_t *>(std::calloc(1, sizeof(value_t))); }
template <class F>
value_t *With(value_t *v, F set) {
    set(v);
    return v;
}
inline value_t *Kind(value_t *v, int kind) {
    v->value_type = kind;
    return v;
}
inline value_t *Str(const char *s) { return value_create_from_string(dup(s), 0); }
inline value_t *Int(int i) { return value_create_from_int(i); }
inline value_t *Id(const char *s) {
    return With(Heap(), [&](value_t *v) { value_assign_id(v, dup(s)); });
}
inline value_t *Bool(int b) {
    return With(Heap(), [&](value_t *v) { value_assign_logical(v, b); });
}
inline value_t *Range(int lo, int hi) {
    return With(Heap(), [&](value_t *v) { value_assign_range(v, lo, hi); });
}
inline value_t *PipeOf(rtopipe *p) {
    return With(Heap(), [&](value_t *v) { value_assign_pipe(v, copyPipe(p)); });
}
inline value_t *Real(double x, int ptype = 0, int uom = 0) {
    return With(Heap(), [&](value_t *v) { value_assign_double(v, x, ptype, uom); });
}
inline value_t *ListOf(std::initializer_list<value_t *> items) {
    gl_list_t *l = gl_create();
    for (value_t *i : items) gl_addtoend(l, i);
    return With(Heap(), [&](value_t *v) { value_assign_list(v, l); });
}
inline value_t *Enum(std::initializer_list<const char *> names, int current = 0) {
    gl_list_t *l = gl_create();
    for (const char *n : names) gl_addtoend(l, Str(n));
    return With(Heap(), [&](value_t *v) {
        value_assign_enum(v, l);
        value_enum_setvalue_asInt(v, current);
    });
}
inline value_t *Bounded(bool integer, double v, double lo, double hi) {
    value_t *b = Kind(Heap(), boundednumber_value);
    num *parts[] = {&b->u.bounded.value, &b->u.bounded.lower, &b->u.bounded.upper};
    const double xs[] = {v, lo, hi};
    for (int i = 0; i < 3; ++i) {
        parts[i]->is_int = integer;
        parts[i]->baseuom = 1;
        parts[i]->ival = static_cast<int>(xs[i]);
        parts[i]->rval = xs[i];
    }
    return b;
}
// One value of each kind, by value_type.
inline value_t *Sample(int kind, rtopipe *pipe) {
    switch (kind) {
        case number_value:
            return Real(0.9144, 17, 2);  // 3 FT
        case string_value:
            return Str("12");
        case identifier_value:
            return Id("X");
        case regexp_value:
        case glob_value:
            return Kind(Str(kind == glob_value ? "A*" : "^A"), kind);
        case logical_value:
            return Bool(1);
        case pipe_value:
            return PipeOf(pipe);
        case list_value:
            return ListOf({Int(1), Id("A"), Str("x")});
        case range_value:
            return Range(2, 5);
        case enum_value:
            return Enum({"LOW"});
        case boundednumber_value:
            return Bounded(true, 2, 0, 4);
        default:
            return Heap();
    }
}
// Moves a heap value into w and frees the record.
inline void Take(value_t *w, value_t *heap) {
    value_destroy(w);
    *w = *heap;
    std::free(heap);
}

inline std::string Printed(const value_t *v) {
    rtopipe *q = create_queue_rtopipe();
    value_print(q, v);
    const std::string s = drain(q);
    rtodestroy(q);
    return s;
}
// The printed form of a heap value, which is then destroyed.
inline std::string Consumed(value_t *v) {
    const std::string s = Printed(v);
    value_destroy_list_item(v);
    return s;
}

// A parameter read and printed; a heap value set as a parameter and destroyed.
inline std::string Read(const char *name, HashTable *local = nullptr) {
    V v;
    param_read(name, &v.v, local, nullptr);
    return Printed(&v.v);
}
inline void Set(const char *name, value_t *heap, HashTable *local = nullptr, IValueContext *ctx = nullptr) {
    param_set(name, heap, local, ctx);
    value_destroy_list_item(heap);
}

class ValueTest : public ::testing::Test {
  protected:
    void SetUp() override { RTOUOM_RESET_UOM_F(); }
    void TearDown() override {
        zarn::failalloc_set(0);
        RTOUOM_RESET_UOM_F();
        for (int t = 0; t < RTOUOM_NTYPES; ++t) rtouom_default_uom[t] = 1;
    }
    HistoryCapture history_;
};

}  // namespace zarn::test

#endif
