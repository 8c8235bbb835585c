// The value record: validity, making, assigning, copying and destroying.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/checked.h"
#include "platform/xalloc.h"
#include "platform/zassert.h"
#include "rtopipe/report.h"
#include "rtvalue/rtvalue_internal.h"
#include "rtvalue/rtvalue_messages.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/stred.h"

namespace zarn::rtvalue {

bool check(bool cond, const char *text, const char *fn, int line) {
    if (!cond) {
        // The text names its function at its one "%s".
        char buf[160];
        const char *at = std::strstr(text, "%s");
        if (at)
            std::snprintf(buf, sizeof buf, "%.*s%s%s", static_cast<int>(at - text), text, fn, at + 2);
        else
            std::snprintf(buf, sizeof buf, "%s", text);
        zarn::assert_report(buf, kSource, line);
    }
    return cond;
}

void fail_assert(const char *text, int line) { zarn::assert_report(text, kSource, line); }

void out_of_memory(const char *fn) { zarn::rtopipe::report(msg::kOutOfMemory, fn); }

void clear(value_t *v) { std::memset(v, 0, sizeof *v); }

namespace {

// The list under v: a LIST's items or an ENUMERATION's choices; null for other kinds.
gl_list_t *items_of(const value_t *v) {
    if (v->value_type == list_value) return v->u.list;
    if (v->value_type == enum_value) return v->u.enumeration.choices;
    return nullptr;
}

// Every byte zero, padding included (operators check their temporaries often).
bool all_zero(const value_t *v) {
    static const value_t zero{};
    return std::memcmp(v, &zero, sizeof *v) == 0;
}

// v's own fields, not the items under it.
bool shallow_ok(const value_t *v) {
    switch (v->value_type) {
        case undefined_value:
            return all_zero(v);
        case number_value:
        case range_value:
        case boundednumber_value:
            return true;
        case string_value:
        case identifier_value:
        case regexp_value:
        case glob_value:
            return v->u.text != nullptr;
        case pipe_value:
            return v->u.pipe != nullptr;
        case logical_value:
            return v->u.logical <= 1;
        case list_value:
            return v->u.list != nullptr;
        case enum_value:
            return v->u.enumeration.nchoices != 0 && v->u.enumeration.choices != nullptr;
        default:
            return false;
    }
}

// Frees what a value's record points to, except a list under it.
void free_contents(value_t *v) {
    switch (v->value_type) {
        case string_value:
        case identifier_value:
        case regexp_value:
        case glob_value:
            std::free(v->u.text);
            break;
        case pipe_value:
            rtodestroy(v->u.pipe);
            break;
        default:
            break;
    }
}

}  // namespace

namespace {

// The items under a list, level by level without recursion. Kept out of
// tree_fault so that checking a value without items costs no room for levels.
[[gnu::noinline]] TreeFault walk_items(const gl_list_t *top_list) {
    // One entry per open level: the next node, the list, the nodes still due.
    struct Level {
        const gl_node_t *next;
        const gl_list_t *list;
        uint32_t left;
    };
    Level open[kMaxDepth];
    int depth = 0;
    auto enter = [&](const gl_list_t *l) {
        if (l->length == 0 && l->tail != nullptr) return false;
        open[depth++] = Level{l->head, l, l->length};
        return true;
    };
    if (!enter(top_list)) return TreeFault::BadItem;
    while (depth > 0) {
        Level &top = open[depth - 1];
        if (top.left == 0) {
            if (top.next != nullptr) return TreeFault::BadItem;  // more nodes than its length
            --depth;
            continue;
        }
        const gl_node_t *n = top.next;
        if (n == nullptr) return TreeFault::BadItem;  // fewer nodes than its length
        top.next = n->next;
        if (--top.left == 0 && (n != top.list->tail || n->next != nullptr)) return TreeFault::BadItem;
        const auto *item = static_cast<const value_t *>(n->data);
        if (!item || !shallow_ok(item)) return TreeFault::BadItem;
        if (const gl_list_t *l = items_of(item)) {
            if (depth == kMaxDepth) return TreeFault::TooDeep;
            if (!enter(l)) return TreeFault::BadItem;
        }
    }
    return TreeFault::None;
}

}  // namespace

TreeFault tree_fault(const value_t *v) {
    const gl_list_t *l = items_of(v);
    return l ? walk_items(l) : TreeFault::None;
}

void destroy_items(gl_list_t *list) {
    if (!list) return;
    // A chain of nodes still to free. The nodes of an item's own list go in
    // front of it, so each node is handled once and nothing recurses. Lists
    // and nodes are records of the library's allocator, freed with free.
    gl_node_t *work = list->head;
    std::free(list);
    while (work) {
        gl_node_t *node = work;
        work = node->next;
        auto *item = static_cast<value_t *>(node->data);
        std::free(node);
        if (!item) continue;
        if (gl_list_t *sub = items_of(item)) {
            if (gl_node_t *last = sub->head) {
                while (last->next) last = last->next;
                last->next = work;
                work = sub->head;
            }
            std::free(sub);
        } else {
            free_contents(item);
        }
        std::free(item);
    }
}

void release(value_t *v) {
    free_contents(v);
    if (gl_list_t *list = items_of(v)) destroy_items(list);
    clear(v);
}

namespace {

// A new list of heap copies of every item; null when memory is short.
gl_list_t *copy_list(const gl_list_t *src) {
    gl_list_t *out = gl_create();
    if (!out) return nullptr;
    for (const gl_node_t *n = src ? src->head : nullptr; n; n = n->next) {
        value_t *item = heap_copy(static_cast<const value_t *>(n->data));
        const uint32_t before = gl_length(out);
        if (item) gl_addtoend(out, item);
        if (!item || gl_length(out) == before) {
            value_destroy_list_item(item);
            gl_destroy(out, value_destroy_list_item);
            return nullptr;
        }
    }
    return out;
}

// Validates v for an assign function named fn; false after the assertion.
bool target_ok(const value_t *v, const char *fn, int line) {
    if (v && value_okay(v)) return true;
    check(false, msg::kBadValueType, fn, line);
    return false;
}

void assign_text(value_t *v, char *text, int kind, const char *fn, int line) {
    if (!target_ok(v, fn, line)) {
        std::free(text);  // ownership came with the call
        return;
    }
    if (!text) {
        check(false, msg::kNullText, fn, line);
        return;
    }
    release(v);
    v->value_type = kind;
    v->u.text = text;
}

char *assign_copy(value_t *v, const char *text, int kind, const char *fn, int line) {
    if (!target_ok(v, fn, line)) return nullptr;
    if (!text) {
        check(false, msg::kNullText, fn, line);
        return nullptr;
    }
    char *copy = zarn::xstrdup(text);
    if (!copy) {
        out_of_memory(fn);
        return nullptr;
    }
    release(v);
    v->value_type = kind;
    v->u.text = copy;
    return copy;
}

// An ENUMERATION, and a valid one (its choices are read).
bool is_enum(const value_t *v, const char *fn, int line) {
    return check(v && v->value_type == enum_value, msg::kNotEnum, fn, line) &&
           check(value_okay(v), msg::kBadValueType, fn, line);
}

// A list that can become v's items: its items are valid values, nested at most
// kMaxDepth levels with v. A refused list is destroyed (it came with the call).
bool items_ok(gl_list_t *list, const char *fn, int line) {
    value_t probe;
    clear(&probe);
    probe.value_type = list_value;
    probe.u.list = list;
    const TreeFault fault = tree_fault(&probe);
    if (fault == TreeFault::None) return true;
    check(false, fault == TreeFault::TooDeep ? msg::kTooDeep : msg::kBadItem, fn, line);
    destroy_items(list);
    return false;
}

bool is_bounded(const value_t *v, const char *fn, int line) {
    return check(v && v->value_type == boundednumber_value, msg::kNotBounded, fn, line);
}

}  // namespace

TextBuf::~TextBuf() { std::free(p); }

void TextBuf::add(const char *s, std::size_t n) {
    std::size_t need = 0;
    if (!ok || !checked_add(len, n, &need) || !checked_add(need, std::size_t{1}, &need)) {
        ok = false;
        return;
    }
    if (need > cap) {
        std::size_t want = cap ? cap : 64;
        while (want < need) {
            if (!checked_mul(want, std::size_t{2}, &want)) {
                ok = false;
                return;
            }
        }
        char *q = static_cast<char *>(zarn::xrealloc(p, want));
        if (!q) {
            ok = false;
            return;
        }
        p = q;
        cap = want;
    }
    std::memcpy(p + len, s, n);
    len += n;
    p[len] = '\0';
}

void TextBuf::add(const char *s) { add(s, std::strlen(s)); }

char *TextBuf::take() {
    if (!ok) return nullptr;
    if (!p) add("", 0);
    if (!ok) return nullptr;
    char *out = p;
    p = nullptr;
    len = cap = 0;
    return out;
}

value_t *list_item(const gl_list_t *list, uint32_t i) {
    const gl_node_t *n = list ? list->head : nullptr;
    for (; n && i > 0; --i) n = n->next;
    return n ? static_cast<value_t *>(n->data) : nullptr;
}

bool copy_into(const value_t *src, value_t *dst) {
    switch (src->value_type) {
        case string_value:
        case identifier_value:
        case regexp_value:
        case glob_value: {
            char *t = zarn::xstrdup(src->u.text);
            if (!t) return false;
            dst->u.text = t;
            break;
        }
        case pipe_value:
            dst->u.pipe = copyPipe(src->u.pipe);
            break;
        case list_value:
            dst->u.list = copy_list(src->u.list);
            if (!dst->u.list) return false;
            break;
        case enum_value:
            dst->u.enumeration = src->u.enumeration;
            dst->u.enumeration.choices = copy_list(src->u.enumeration.choices);
            if (!dst->u.enumeration.choices) {
                clear(dst);
                return false;
            }
            break;
        default:
            dst->u = src->u;
            break;
    }
    dst->value_type = src->value_type;
    return true;
}

value_t *heap_copy(const value_t *src) {
    auto *v = static_cast<value_t *>(zarn::xcalloc(1, sizeof(value_t)));
    if (v && !copy_into(src, v)) {
        std::free(v);
        return nullptr;
    }
    return v;
}

void move_into(value_t *src, value_t *dst) {
    if (src == dst) return;
    value_t keep = *src;
    clear(src);
    release(dst);
    *dst = keep;
}

}  // namespace zarn::rtvalue

using namespace zarn::rtvalue;

extern "C" {

void value_init(value_t *v) {
    if (v) clear(v);
}

int value_okay(const value_t *v) { return v && shallow_ok(v) && tree_fault(v) == TreeFault::None; }

void value_destroy(value_t *v) {
    if (!target_ok(v, "value_destroy", __LINE__)) return;
    release(v);
}

void value_destroy_list_item(void *item) {
    auto *v = static_cast<value_t *>(item);
    if (!v) return;
    value_destroy(v);
    std::free(v);
}

value_t *value_create_from_string(char *text, int copy) {
    if (!text) return nullptr;
    auto *v = static_cast<value_t *>(zarn::xcalloc(1, sizeof(value_t)));
    char *t = v && copy ? zarn::xstrdup(text) : text;
    if (!v || !t) {
        out_of_memory("value_create_from_string");
        std::free(v);
        if (!copy) std::free(text);
        return nullptr;
    }
    v->value_type = string_value;
    v->u.text = t;
    return v;
}

value_t *value_create_from_int(int i) {
    auto *v = static_cast<value_t *>(zarn::xcalloc(1, sizeof(value_t)));
    if (!v) {
        out_of_memory("value_create_from_int");
        return nullptr;
    }
    value_assign_int(v, i);
    return v;
}

void value_assign_string(value_t *v, char *text) {
    assign_text(v, text, string_value, "value_assign_string", __LINE__);
}
void value_assign_id(value_t *v, char *text) {
    assign_text(v, text, identifier_value, "value_assign_id", __LINE__);
}
void value_assign_regexp(value_t *v, char *text) {
    assign_text(v, text, regexp_value, "value_assign_regexp", __LINE__);
}
void value_assign_glob(value_t *v, char *text) {
    assign_text(v, text, glob_value, "value_assign_glob", __LINE__);
}

char *value_assign_copy_of_string(value_t *v, const char *text) {
    return assign_copy(v, text, string_value, "value_assign_copy_of_string", __LINE__);
}
char *value_assign_copy_of_id(value_t *v, const char *text) {
    return assign_copy(v, text, identifier_value, "value_assign_copy_of_id", __LINE__);
}

void value_assign_number(value_t *v, const num *n) {
    if (!target_ok(v, "value_assign_number", __LINE__) || !n) return;
    release(v);
    v->value_type = number_value;
    v->u.number = *n;
}

int value_assign_double(value_t *v, double x, int ptype, int uom) {
    if (!target_ok(v, "value_assign_double", __LINE__)) return 0;
    // A type or unit beyond the record's 16 bits is no type: refused.
    if (ptype < INT16_MIN || ptype > INT16_MAX || uom < INT16_MIN || uom > INT16_MAX) {
        check(false, msg::kBadArgument, "value_assign_double", __LINE__);
        return 0;
    }
    release(v);
    v->value_type = number_value;
    v->u.number.rval = x;
    v->u.number.ptype = static_cast<int16_t>(ptype);
    v->u.number.uom = static_cast<int16_t>(uom);
    v->u.number.baseuom = 1;
    return 1;
}

void value_assign_int(value_t *v, int i) {
    if (!target_ok(v, "value_assign_int", __LINE__)) return;
    release(v);
    v->value_type = number_value;
    v->u.number.ival = i;
    v->u.number.is_int = 1;
    v->u.number.ptype = 44;  // DIMENSIONLES
    v->u.number.baseuom = 1;
}

void value_assign_logical(value_t *v, int i) {
    if (!target_ok(v, "value_assign_logical", __LINE__)) return;
    release(v);
    v->value_type = logical_value;
    v->u.logical = i != 0;
}

void value_assign_pipe(value_t *v, rtopipe *pipe) {
    if (!v || !value_okay(v)) {
        fail_assert(msg::kPipeBadValueType, __LINE__);
        rtodestroy(pipe);  // the reference came with the call
        return;
    }
    if (!pipe) {
        fail_assert(msg::kNullPipe, __LINE__);
        return;
    }
    release(v);
    v->value_type = pipe_value;
    v->u.pipe = pipe;
}

void value_assign_list(value_t *v, gl_list_t *list) {
    if (!target_ok(v, "value_assign_list", __LINE__)) return destroy_items(list);
    if (!list) {
        fail_assert(msg::kListNull, __LINE__);
        return;
    }
    if (!items_ok(list, "value_assign_list", __LINE__)) return;
    release(v);
    v->value_type = list_value;
    v->u.list = list;
}

void value_assign_range(value_t *v, int low, int high) {
    if (!target_ok(v, "value_assign_range", __LINE__)) return;
    release(v);
    v->value_type = range_value;
    v->u.range.low = low;
    v->u.range.high = high;
}

void value_assign_enum(value_t *v, gl_list_t *list) {
    if (!target_ok(v, "value_assign_enum", __LINE__)) return destroy_items(list);
    if (!list) {
        fail_assert(msg::kEnumNull, __LINE__);
        return;
    }
    if (gl_length(list) == 0) {
        fail_assert(msg::kEnumEmpty, __LINE__);
        return destroy_items(list);
    }
    if (!items_ok(list, "value_assign_enum", __LINE__)) return;
    release(v);
    v->value_type = enum_value;
    v->u.enumeration.choices = list;
    v->u.enumeration.index = 0;
    v->u.enumeration.nchoices = static_cast<int32_t>(zarn::clamp_count(gl_length(list), INT32_MAX));
}

void value_setenum_size(value_t *v, int n) {
    if (!is_enum(v, "value_setenum_size", __LINE__) || n < 1) return;
    v->u.enumeration.nchoices = n;
}

void value_assign_enum_as_char(value_t *v, const char *const *texts) {
    if (!is_enum(v, "value_assign_enum_as_char", __LINE__) || !texts) return;
    const int32_t n = v->u.enumeration.nchoices;
    gl_list_t *list = gl_create();
    for (int32_t i = 0; list && i < n; ++i) {
        value_t *item = texts[i] ? value_create_from_string(const_cast<char *>(texts[i]), 1) : nullptr;
        const uint32_t before = gl_length(list);
        if (item) gl_addtoend(list, item);
        if (!item || gl_length(list) == before) {
            value_destroy_list_item(item);
            gl_destroy(list, value_destroy_list_item);
            list = nullptr;
        }
    }
    if (!list) return;  // v keeps its choices
    gl_destroy(v->u.enumeration.choices, value_destroy_list_item);
    v->u.enumeration.choices = list;
    v->u.enumeration.index = 0;
}

void value_enum_setvalue_asInt(value_t *v, int i) {
    if (!is_enum(v, "value_enum_setvalue_asInt", __LINE__)) return;
    if (i >= 0 && i < v->u.enumeration.nchoices) v->u.enumeration.index = i;
}

void value_enum_setvalue_asString(value_t *v, const char *text) {
    if (!is_enum(v, "value_enum_setvalue_asString", __LINE__) || !text) return;
    int32_t i = 0;
    for (const gl_node_t *n = v->u.enumeration.choices ? v->u.enumeration.choices->head : nullptr;
         n && i < v->u.enumeration.nchoices; n = n->next, ++i) {
        const char *t = text_of(*static_cast<const value_t *>(n->data));
        if (t && stred_caseless_cmp(t, text) == 0) {
            v->u.enumeration.index = i;
            return;
        }
    }
}

int value_enum_getvalue_asInt(const value_t *v) {
    if (!is_enum(v, "value_enum_getvalue_asInt", __LINE__)) return -1;
    return v->u.enumeration.index;
}

const char *value_enum_getvalue_asString(const value_t *v) {
    if (!is_enum(v, "value_enum_getvalue_asString", __LINE__) || v->u.enumeration.index < 0) return nullptr;
    const value_t *item = list_item(v->u.enumeration.choices, static_cast<uint32_t>(v->u.enumeration.index));
    return item ? text_of(*item) : nullptr;
}

void boundednumSetValAsInt(value_t *v, int i) {
    if (!is_bounded(v, "boundednumSetValAsInt", __LINE__)) return;
    auto &b = v->u.bounded;
    if (!b.value.is_int || i < b.lower.ival || i > b.upper.ival) return;
    b.value.ival = i;
    b.value.undefined = 0;
}

void boundednumSetValAsReal(value_t *v, double x) {
    if (!is_bounded(v, "boundednumSetValAsReal", __LINE__)) return;
    auto &b = v->u.bounded;
    if (b.value.is_int || !(x >= b.lower.rval && x <= b.upper.rval)) return;
    b.value.rval = x;
    b.value.undefined = 0;
}

void boundednumSetLowerAsInt(value_t *v, int i) {
    if (!is_bounded(v, "boundednumSetLowerAsInt", __LINE__)) return;
    auto &b = v->u.bounded;
    if (!b.value.is_int) return;
    b.lower.ival = i;
    b.lower.undefined = 0;
    if (b.value.ival < i) b.value.ival = i;
}

void boundednumSetLowerAsReal(value_t *v, double x) {
    if (!is_bounded(v, "boundednumSetLowerAsReal", __LINE__)) return;
    auto &b = v->u.bounded;
    if (b.value.is_int) return;
    b.lower.rval = x;
    b.lower.undefined = 0;
    if (b.value.rval < x) b.value.rval = x;
}

void boundednumSetUpperAsInt(value_t *v, int i) {
    if (!is_bounded(v, "boundednumSetUpperAsInt", __LINE__)) return;
    auto &b = v->u.bounded;
    if (!b.value.is_int) return;
    b.upper.ival = i;
    b.upper.undefined = 0;
    if (b.value.ival > i) b.value.ival = i;
}

void boundednumSetUpperAsReal(value_t *v, double x) {
    if (!is_bounded(v, "boundednumSetUpperAsReal", __LINE__)) return;
    auto &b = v->u.bounded;
    if (b.value.is_int) return;
    b.upper.rval = x;
    b.upper.undefined = 0;
    if (b.value.rval > x) b.value.rval = x;
}

void value_copy(const value_t *src, value_t *dst) {
    if (!src || !value_okay(src)) {
        fail_assert(msg::kCopySrc, __LINE__);
        return;
    }
    if (!dst || !value_okay(dst)) {
        fail_assert(msg::kCopyDest, __LINE__);
        return;
    }
    if (src == dst) return;
    value_t tmp;
    clear(&tmp);
    if (!copy_into(src, &tmp)) {
        out_of_memory("value_copy");
        return;  // dst as it was
    }
    move_into(&tmp, dst);
}

}  // extern "C"
