// Shared pieces of the value tests: a fresh units table and history capture
// per test, an owning value wrapper, builders, printing, and a fake context.
#ifndef ZARN_TESTS_RTVALUE_VALUE_FIXTURE_H
#define ZARN_TESTS_RTVALUE_VALUE_FIXTURE_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <map>
#include <string>

#include "capture.h"
#include "platform/xalloc.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/rtvalue.hpp"

namespace zarn::test {

// A value that destroys itself.
using Fn = void (*)(value_t *);

struct V {
    value_t v;
    V() { value_init(&v); }
    ~V() { value_destroy(&v); }
    V(const V &) = delete;
    V &operator=(const V &) = delete;
    int kind() const { return v.value_type; }
};

inline char *dup(const char *s) { return zarn::xstrdup(s); }

// Heap items for lists.
inline value_t *Str(const char *s) { return value_create_from_string(dup(s), 0); }
inline value_t *Int(int i) { return value_create_from_int(i); }
inline value_t *Heap() { return static_cast<value_t *>(std::calloc(1, sizeof(value_t))); }
inline value_t *Id(const char *s) {
    value_t *v = Heap();
    value_assign_id(v, dup(s));
    return v;
}
inline value_t *Real(double x, int ptype = 0, int uom = 0) {
    value_t *v = Heap();
    value_assign_double(v, x, ptype, uom);
    return v;
}
inline value_t *Bool(int b) {
    value_t *v = Heap();
    value_assign_logical(v, b);
    return v;
}
inline value_t *Kind(value_t *v, int kind) {
    v->value_type = kind;
    return v;
}
inline value_t *ListOf(std::initializer_list<value_t *> items) {
    gl_list_t *l = gl_create();
    for (value_t *i : items) gl_addtoend(l, i);
    value_t *v = Heap();
    value_assign_list(v, l);
    return v;
}
inline value_t *Range(int lo, int hi) {
    value_t *v = Heap();
    value_assign_range(v, lo, hi);
    return v;
}
inline value_t *PipeOf(rtopipe *p) {
    value_t *v = Heap();
    value_assign_pipe(v, copyPipe(p));
    return v;
}
inline value_t *Enum(std::initializer_list<const char *> names) {
    gl_list_t *l = gl_create();
    for (const char *n : names) gl_addtoend(l, Str(n));
    value_t *v = Heap();
    value_assign_enum(v, l);
    return v;
}
inline value_t *Bounded(bool integer, double v, double lo, double hi) {
    value_t *b = Kind(Heap(), boundednumber_value);
    num *parts[] = {&b->u.bounded.value, &b->u.bounded.lower, &b->u.bounded.upper};
    const double xs[] = {v, lo, hi};
    for (int i = 0; i < 3; ++i) {
        parts[i]->is_int = integer, parts[i]->baseuom = 1;
        if (integer) parts[i]->ival = static_cast<int>(xs[i]);
        else parts[i]->rval = xs[i];
    }
    return b;
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
    std::string s = drain(q);
    rtodestroy(q);
    return s;
}

inline std::string Text(const value_t &v) { return v.u.text ? v.u.text : "(null)"; }

// A context over a map of names to values; counts what the library asks.
struct FakeContext final : IValueContext {
    std::map<std::string, value_t> objects;  // for Resolve
    std::map<std::string, std::string> kinds;  // for TypeOf: an IDENTIFIER text
    std::map<std::string, value_t> params;   // for ParameterValue
    void *handle = this;
    int resolves = 0, param_calls = 0, handles = 0;
    bool garbage = false;  // Resolve hands back a value with a bad tag

    ~FakeContext() {
        for (auto &kv : objects) value_destroy(&kv.second);
        for (auto &kv : params) value_destroy(&kv.second);
    }
    void set(std::map<std::string, value_t> &m, const char *name, value_t *heap) {
        value_t &slot = m[name];
        value_init(&slot);
        Take(&slot, heap);
    }
    void Reserved0() override {}
    void Reserved5() override {}
    void Reserved8() override {}
    void Resolve(const char *name, value_t *out) override {
        ++resolves;
        auto it = objects.find(name);
        if (garbage) out->value_type = 99;
        else if (it != objects.end()) value_copy(&it->second, out);
    }
    void TypeOf(const char *name, value_t *out) override {
        auto it = kinds.find(name);
        if (it != kinds.end()) value_assign_id(out, dup(it->second.c_str()));
    }
    void ParameterValue(const char *name, value_t *out) override {
        ++param_calls;
        auto it = params.find(name);
        if (it != params.end()) value_copy(&it->second, out);
    }
    bool BlockVariables(const char *, QDLBlockRecord *) override { return false; }
    QDLVariableSource *Variables() override { return nullptr; }
    bool IsDefined(const char *) override { return false; }
    bool SpecGroupsByVar(const char *, QDLStringVector *) override { return false; }
    bool MeasurementsByVar(const char *, QDLStringVector *) override { return false; }
    bool ConnectionsByVar(const char *, QDLStringVector *) override { return false; }
    bool AliasesByVar(const char *, QDLStringVector *) override { return false; }
    bool ActiveConnections(QDLStringVector *) override { return false; }
    bool InactiveConnections(QDLStringVector *) override { return false; }
    bool ActiveSpecGroups(QDLStringVector *) override { return false; }
    bool InactiveSpecGroups(QDLStringVector *) override { return false; }
    bool ActiveMeasurements(QDLStringVector *) override { return false; }
    bool InactiveMeasurements(QDLStringVector *) override { return false; }
    void *AccessorHandle() override {
        ++handles;
        return handle;
    }
    void Attributes(const char *, QDLStringVector *) override {}
};

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
