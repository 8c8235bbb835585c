// Named parameters: one global table for the process and local tables owned
// by the host, with plain, read-only and linked (computed) parameters.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/checked.h"
#include "platform/xalloc.h"
#include "platform/zassert.h"
#include "rtopipe/report.h"
#include "rtuom/rtuom_ambient.h"
#include "rtvalue/rtvalue_internal.h"
#include "rtvalue/rtvalue_messages.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/stred.h"

namespace zarn::rtvalue {
namespace {

constexpr char kParamSource[] = "source/rtvalue/rtparam";
constexpr int kPressure = 20;

struct Param {
    char *name;
    int type;  // required value_type, 0 for any
    uint8_t read_only;
    uint8_t linked;
    value_t value;  // plain parameters
    param_setter_fn setter;
    param_getter_fn getter;
};

HashTable *g_global = nullptr;

void param_assert(const char *text, int line) { zarn::assert_report(text, kParamSource, line); }

uint32_t hash_param(const void *p) { return hash_pjw(static_cast<const Param *>(p)->name); }

int compare_param(const void *a, const void *b) {
    return std::strcmp(static_cast<const Param *>(a)->name, static_cast<const Param *>(b)->name);
}

HashTable *new_table() { return hashCreate(50, hash_param, nullptr, compare_param, 1, 0); }

void free_param(void *item) {
    auto *p = static_cast<Param *>(item);
    std::free(p->name);
    if (!p->linked) release(&p->value);
    std::free(p);
}

Param *find(HashTable *table, const char *name) {
    if (!table) return nullptr;
    Param probe{};
    probe.name = const_cast<char *>(name);
    return static_cast<Param *>(hashFindItem(table, &probe));
}

// The local table first, then the global one.
Param *lookup(const char *name, HashTable *local, bool *in_local) {
    Param *p = find(local, name);
    if (in_local) *in_local = p != nullptr;
    return p ? p : find(g_global, name);
}

// A new record in table; null (nothing added) when memory is short.
Param *add(HashTable *table, const char *name, const char *fn) {
    auto *p = static_cast<Param *>(zarn::xcalloc(1, sizeof(Param)));
    char *copy = p ? zarn::xstrdup(name) : nullptr;
    if (!copy) {
        std::free(p);
        out_of_memory(fn);
        return nullptr;
    }
    p->name = copy;
    if (hashAddItem(table, p) != p) {
        free_param(p);
        out_of_memory(fn);
        return nullptr;
    }
    return p;
}

void *handle_of(IValueContext *ctx) { return ctx ? ctx->AccessorHandle() : nullptr; }

const char *kind_name(int k) { return k >= 0 && k < kKinds ? msg::kParamKindNames[k] : "unknown"; }

// Assignment in table, which holds the name or receives it.
void assign(HashTable *table, const char *name, const value_t *value, IValueContext *ctx) {
    Param *p = find(table, name);
    if (!p) {
        if (!stred_valid_name(name)) {
            zarn::rtopipe::report(msg::kSetInvalidName, name);
            return;
        }
        value_t copy;
        clear(&copy);
        if (!copy_into(value, &copy)) return out_of_memory("param_set");
        p = add(table, name, "param_set");
        if (!p) return release(&copy);
        p->value = copy;
        return;
    }
    if (p->read_only) return zarn::rtopipe::report(msg::kSetReadOnly, name);
    if (p->type != 0 && value->value_type != p->type)
        return zarn::rtopipe::report(msg::kSetKind, kind_name(value->value_type), kind_name(p->type));
    if (p->linked) {
        if (p->setter) p->setter(value, handle_of(ctx));
        return;
    }
    value_copy(value, &p->value);
}

// The units table keeps the ambient pressure apart from the units that carry it.
void p_amb_get(value_t *result, void *) {
    value_assign_double(result, zarn::rtuom::ambient_pressure(), kPressure, 0);
}

void p_amb_set(const value_t *v, void *) {
    if (v->value_type != number_value) return;
    const num &n = v->u.number;
    // An undefined number has no value: the units table refuses it like any non-finite one.
    rtouom_modify_p_amb(n.undefined ? std::nan("") : n.is_int ? static_cast<double>(n.ival) : n.rval);
}

void date_get(value_t *result, void *) {
    char buf[80] = "";
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    if (localtime_r(&now, &tm)) std::strftime(buf, sizeof buf, "%a, %b %d, %Y, %H:%M:%S", &tm);
    value_assign_copy_of_string(result, buf);
}

HashTable *table_or_global(HashTable *local) { return local ? local : g_global; }

// Copies of the names of a table, in its order; walks that call back into
// caller code go over these, so that the caller may define and undefine
// parameters meanwhile. No destructor: caller code may raise through the walk.
struct Names {
    char **names;
    uint32_t count;
};

// False (after the message) when memory is short.
void free_names(Names *names);

bool copy_names(HashTable *t, Names *out, const char *fn) {
    *out = Names{nullptr, 0};
    const uint32_t n = hashNum(t);
    if (n == 0) return true;
    out->names = static_cast<char **>(zarn::xcalloc(n, sizeof(char *)));
    bool ok = out->names != nullptr;
    for (hash_iter it = hash_begin(t), end = hash_end(t); ok && out->count < n && !hash_iter_equal(&it, &end);
         hash_iter_next(&it)) {
        char *copy = zarn::xstrdup(static_cast<const Param *>(hash_iter_deref(&it))->name);
        ok = copy != nullptr;
        if (ok) out->names[out->count++] = copy;
    }
    if (ok) return true;
    free_names(out);
    out_of_memory(fn);
    return false;
}

void free_names(Names *names) {
    for (uint32_t i = 0; i < names->count; ++i) std::free(names->names[i]);
    std::free(names->names);
    *names = Names{nullptr, 0};
}

// The table a walk started on, as long as it still exists: the caller may
// destroy the global table from inside the walk.
bool still_there(HashTable *t, HashTable *local) { return local || t == g_global; }

}  // namespace

void global_parameter(const char *name, value_t *out) {
    if (name && stred_valid_name(name)) param_read(name, out, nullptr, nullptr);
}

}  // namespace zarn::rtvalue

using namespace zarn::rtvalue;

extern "C" {

HashTable *param_init(int which) {
    if (which != 0) return new_table();
    if (g_global) {
        param_assert(msg::kInitTwice, __LINE__);
        return g_global;
    }
    g_global = new_table();
    if (!g_global) {
        out_of_memory("param_init");
        return nullptr;
    }
    param_create_linked("P_AMB", 0, number_value, p_amb_set, p_amb_get);
    param_create_linked("DATE", 1, string_value, nullptr, date_get);
    return g_global;
}

void param_destroy(HashTable *table) {
    if (!table || table == g_global) {
        if (!g_global) return param_assert(msg::kDestroyNoTable, __LINE__);
        table = g_global;
        g_global = nullptr;
    }
    hashDestroy(table, free_param);
}

void param_set(const char *name, const value_t *value, HashTable *local, IValueContext *ctx) {
    if (!name) return;
    if (!value || !value_okay(value)) return param_assert(msg::kSetBadValue, __LINE__);
    bool in_local = false;
    lookup(name, local, &in_local);
    HashTable *table = in_local ? local : g_global;
    if (!table) return param_assert(msg::kNoGlobalTable, __LINE__);
    assign(table, name, value, ctx);
}

void param_define_local(const char *name, HashTable *local, IValueContext *ctx) {
    if (!local) return param_assert(msg::kDefineNoLocal, __LINE__);
    if (!name) return;
    value_t undefined;
    clear(&undefined);
    assign(local, name, &undefined, ctx);
}

void param_undef(const char *name, HashTable *local) {
    if (!name) return;
    bool in_local = false;
    Param *p = lookup(name, local, &in_local);
    if (!p) return;
    Param probe{};
    probe.name = p->name;
    hashRemoveItem(in_local ? local : g_global, &probe);
    free_param(p);
}

void param_read(const char *name, value_t *result, HashTable *local, IValueContext *ctx) {
    if (!result || !value_okay(result)) return param_assert(msg::kReadBadResult, __LINE__);
    release(result);
    if (!name) return;
    Param *p = lookup(name, local, nullptr);
    if (!p) {
        if (!stred_valid_name(name)) zarn::rtopipe::report(msg::kReadInvalidName, name);
        return;
    }
    if (!p->linked) return value_copy(&p->value, result);
    if (!p->getter) return;
    p->getter(result, handle_of(ctx));
    if (!value_okay(result)) clear(result);  // an accessor that left garbage
}

int param_defined(const char *name, HashTable *local, int *isLocal) {
    bool in_local = false;
    const Param *p = name ? lookup(name, local, &in_local) : nullptr;
    if (isLocal) *isLocal = p && in_local;
    return p != nullptr;
}

int param_read_only(const char *name, HashTable *local) {
    const Param *p = name ? lookup(name, local, nullptr) : nullptr;
    return p ? p->read_only : 0;
}

int param_linked(const char *name, HashTable *local) {
    const Param *p = name ? lookup(name, local, nullptr) : nullptr;
    return p ? p->linked : 0;
}

void param_create_linked(const char *name, int readOnly, int type, param_setter_fn setter,
                         param_getter_fn getter) {
    if (!g_global) return param_assert(msg::kNoGlobalTable, __LINE__);
    if (!name) return;
    if (find(g_global, name)) {
        zarn::rtopipe::report(msg::kLinkedUnable, name);
        zarn::rtopipe::report(msg::kLinkedExists);
        return;
    }
    if (!stred_valid_name(name)) return zarn::rtopipe::report(msg::kLinkedInvalidName, name);
    Param *p = add(g_global, name, "param_create_linked");
    if (!p) return;
    p->read_only = readOnly != 0;
    p->linked = 1;
    p->type = type;
    p->setter = setter;
    p->getter = getter;
}

void param_show(rtopipe *pipe, HashTable *local) {
    const char *where = local ? "locally" : "globally";
    HashTable *t = table_or_global(local);
    if (hashNum(t) == 0) {
        rtoprintf(pipe, msg::kShowNone, where);
        return;
    }
    // A pipe may run caller code on each write.
    Names names;
    if (!copy_names(t, &names, "param_show")) return;
    rtoprintf(pipe, msg::kShowHeader, where);
    for (uint32_t i = 0; i < names.count && still_there(t, local); ++i)
        if (const Param *p = find(t, names.names[i]))
            rtoprintf(pipe, msg::kShowLine, p->name, p->read_only ? msg::kShowReadOnly : "");
    free_names(&names);
}

int param_num_defined(HashTable *local) {
    return static_cast<int>(zarn::clamp_count(hashNum(table_or_global(local)), INT32_MAX));
}

int param_iterate(void *arg, HashTable *local, param_visit_fn visit) {
    HashTable *t = table_or_global(local);
    if (!t || !visit) return 0;
    Names names;
    if (!copy_names(t, &names, "param_iterate")) return 0;
    // The visit gets the walk's own copy of the name: it stays readable after
    // the visit undefines the parameter. Parameters gone by their turn are
    // skipped; new ones are not visited.
    int r = 0;
    for (uint32_t i = 0; i < names.count && r == 0 && still_there(t, local); ++i)
        if (find(t, names.names[i])) r = visit(arg, names.names[i]);
    free_names(&names);
    return r;
}

void param_inq_name(HashTable *local, int n, char *buffer) {
    HashTable *t = table_or_global(local);
    if (!t || !buffer) return;
    if (n < 1) n = 1;
    for (hash_iter it = hash_begin(t), end = hash_end(t); !hash_iter_equal(&it, &end); hash_iter_next(&it))
        if (--n == 0) {
            std::strcpy(buffer, static_cast<const Param *>(hash_iter_deref(&it))->name);
            return;
        }
}

}  // extern "C"
