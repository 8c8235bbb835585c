// Value functions that rewrite their argument: list access, case changes,
// identifiers and strings, rounding and kind names.
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/checked.h"
#include "platform/xalloc.h"
#include "rtvalue/rtvalue_internal.h"
#include "rtvalue/rtvalue_messages.h"
#include "zarnutils/stred.h"

namespace zarn::rtvalue {
namespace {

bool argument_ok(const value_t *v, const char *fn, int line) {
    return check(v && value_okay(v), msg::kBadArgument, fn, line);
}

// Takes the i-th item (0-based) out of v's list; v's list keeps an UNDEFINED in its place.
value_t take_item(value_t *list_value_v, uint32_t i) {
    value_t out;
    clear(&out);
    if (value_t *item = list_item(list_value_v->u.list, i)) {
        out = *item;
        clear(item);
    }
    return out;
}

// The 1-based position held by an index item: a defined INTEGER from 1 to n, else 0.
uint32_t position(const value_t &item, uint32_t n) {
    value_t idx;
    clear(&idx);
    value_coerce(&item, &idx, number_value, nullptr);
    uint32_t pos = 0;
    const num &x = idx.u.number;
    if (idx.value_type == number_value && x.is_int && !x.undefined && zarn::index_within(x.ival, n))
        pos = static_cast<uint32_t>(x.ival);
    release(&idx);
    return pos;
}

bool is_list_of(const value_t *v, uint32_t n) {
    return v->value_type == list_value && gl_length(v->u.list) == n;
}

// v made a STRING through coercion; false (v UNDEFINED) when it does not convert.
bool to_string(value_t *v, IValueContext *ctx) {
    value_coerce(v, v, string_value, ctx);
    return v->value_type == string_value;
}

void change_case(value_t *v, IValueContext *ctx, bool upper, const char *fn, int line) {
    if (!argument_ok(v, fn, line) || !to_string(v, ctx)) return;
    if (upper)
        stred_upper_case(v->u.text);
    else
        stred_lower_case(v->u.text);
}

void set_identifier(value_t *v, const char *name) {
    char *t = zarn::xstrdup(name);
    release(v);
    if (!t) return out_of_memory("value_typeof");
    v->value_type = identifier_value;
    v->u.text = t;
}

}  // namespace
}  // namespace zarn::rtvalue

using namespace zarn::rtvalue;

extern "C" {

void value_head(value_t *v) {
    if (!argument_ok(v, "value_head", __LINE__)) return;
    value_t first;
    clear(&first);
    if (v->value_type == list_value && gl_length(v->u.list) > 0) first = take_item(v, 0);
    move_into(&first, v);
}

void value_tail(value_t *v) {
    if (!argument_ok(v, "value_tail", __LINE__)) return;
    if (v->value_type != list_value) return release(v);
    gl_list_t *list = v->u.list;
    if (gl_length(list) > 0) {
        gl_top(list);
        value_destroy_list_item(gl_unlinkcur(list));
    }
}

void value_list_num(value_t *v) {
    if (!argument_ok(v, "value_list_num", __LINE__)) return;
    if (v->value_type != list_value) return release(v);
    const uint32_t n = gl_length(v->u.list);
    value_assign_int(v, static_cast<int>(zarn::clamp_count(n, INT32_MAX)));
}

void value_elem(value_t *v) {
    if (!argument_ok(v, "value_elem", __LINE__)) return;
    value_t out;
    clear(&out);
    if (is_list_of(v, 2)) {
        value_t *list = list_item(v->u.list, 0);
        if (list->value_type == list_value)
            if (uint32_t pos = position(*list_item(v->u.list, 1), gl_length(list->u.list)))
                out = take_item(list, pos - 1);
    }
    move_into(&out, v);
}

void value_repl_elem(value_t *v) {
    if (!argument_ok(v, "value_repl_elem", __LINE__)) return;
    value_t out;
    clear(&out);
    if (is_list_of(v, 3)) {
        value_t *list = list_item(v->u.list, 0);
        if (list->value_type == list_value) {
            if (uint32_t pos = position(*list_item(v->u.list, 1), gl_length(list->u.list))) {
                value_t *slot = list_item(list->u.list, pos - 1);
                value_t x = take_item(v, 2);
                move_into(&x, slot);
                out = take_item(v, 0);
            }
        }
    }
    move_into(&out, v);
}

void value_tolower(value_t *v, IValueContext *ctx) { change_case(v, ctx, false, "value_tolower", __LINE__); }

void value_toupper(value_t *v, IValueContext *ctx) { change_case(v, ctx, true, "value_toupper", __LINE__); }

void value_string2id(value_t *v, IValueContext *ctx) {
    if (!argument_ok(v, "value_string2id", __LINE__) || !to_string(v, ctx)) return;
    stred_upper_case(v->u.text);
    char *name = rtidex_expand_params(v->u.text, ctx);
    release(v);
    if (!name) return;
    if (!stred_rtopt_name(name)) {
        std::free(name);
        return;
    }
    v->value_type = identifier_value;
    v->u.text = name;
}

void value_id2string(value_t *v, IValueContext *) {
    if (!argument_ok(v, "value_id2string", __LINE__)) return;
    if (v->value_type == identifier_value)
        v->value_type = string_value;
    else
        release(v);
}

void value_int(value_t *v, IValueContext *ctx) {
    if (!argument_ok(v, "value_int", __LINE__)) return;
    value_coerce(v, v, number_value, ctx);
    if (v->value_type != number_value) return release(v);  // a list gives its STRING form: not a number
    num &n = v->u.number;
    if (!n.is_int) {
        const double x = std::round(display_value(n));  // halves away from zero
        const bool fits = x >= INT32_MIN && x <= INT32_MAX;
        n.ival = fits ? static_cast<int32_t>(x) : 0;
        if (!fits) n.undefined = 1;
        n.rval = 0;
        n.is_int = 1;
    }
    n.ptype = 44;  // DIMENSIONLES
    n.uom = 0;
    n.baseuom = 1;
}

void value_typeof(value_t *v, IValueContext *ctx) {
    if (!argument_ok(v, "value_typeof", __LINE__)) return;
    const int k = v->value_type;
    if (k == number_value) {
        const num &n = v->u.number;
        return set_identifier(v, n.undefined ? "BAD_NUMBER" : n.is_int ? "INTEGER" : "REAL");
    }
    if (k == identifier_value && ctx) {
        value_t tmp;
        clear(&tmp);
        set_identifier(&tmp, "IDENTIFIER");
        ctx->TypeOf(v->u.text, &tmp);
        if (!value_okay(&tmp)) clear(&tmp);  // not a value: taken as nothing
        return move_into(&tmp, v);
    }
    set_identifier(v, k >= 1 && k < kKinds ? msg::kTypeofNames[k] : msg::kTypeofNames[0]);
}

}  // extern "C"
