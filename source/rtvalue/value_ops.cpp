// Operators over values: arithmetic, logic, joining, comparisons and list
// offsets. Operands are read through value_coerce into temporaries and never
// changed; the result is destroyed before the operands are read.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "platform/checked.h"
#include "rtvalue/rtvalue_internal.h"
#include "rtvalue/rtvalue_messages.h"

namespace zarn::rtvalue {

bool operands_ok(const value_t *left, const value_t *right, const value_t *result, const char *fn, int line) {
    return check(left && value_okay(left), msg::kBadLeft, fn, line) &&
           check(right && value_okay(right), msg::kBadRight, fn, line) &&
           check(result && value_okay(result), msg::kResultBad, fn, line);
}

namespace {

using NumOp = void (*)(const num *, const num *, num *);
using NumFn = void (*)(num *);
using NumCmp = int (*)(const num *, const num *);

// The two temporaries of an operator, released on every way out.
struct Pair {
    value_t a, b;
    Pair() {
        clear(&a);
        clear(&b);
    }
    ~Pair() {
        release(&a);
        release(&b);
    }
    Pair(const Pair &) = delete;
    Pair &operator=(const Pair &) = delete;
};

void arithmetic(const value_t *l, const value_t *r, value_t *res, IValueContext *ctx, NumOp op,
                const char *fn, int line) {
    if (!operands_ok(l, r, res, fn, line)) return;
    release(res);
    // Two numbers need no coercion: the operation reads them in place. An operand that was the result
    // itself is UNDEFINED by now and takes the general path, as before.
    if (l->value_type == number_value && r->value_type == number_value) {
        op(&l->u.number, &r->u.number, &res->u.number);
        res->value_type = number_value;
        return;
    }
    Pair t;
    if (coerce_to(*l, &t.a, number_value, ctx) && coerce_to(*r, &t.b, number_value, ctx)) {
        op(&t.a.u.number, &t.b.u.number, &res->u.number);
        res->value_type = number_value;
    }
}

void unary(value_t *v, IValueContext *ctx, NumFn op, const char *fn, int line) {
    if (!check(v && value_okay(v), msg::kBadArgument, fn, line)) return;
    value_coerce(v, v, number_value, ctx);
    if (v->value_type == number_value)
        op(&v->u.number);
    else
        release(v);  // a list gives its STRING form: not a number
}

// v coerced to BOOLEAN: 0 or 1; -1 when it does not coerce.
int truth(const value_t &v, IValueContext *ctx) {
    value_t b;
    clear(&b);
    const int t = coerce_to(v, &b, logical_value, ctx) ? b.u.logical : -1;
    release(&b);
    return t;
}

// res (UNDEFINED) becomes the BOOLEAN t; -1 leaves it UNDEFINED.
void set_truth(value_t *res, int t) {
    if (t < 0) return;
    res->value_type = logical_value;
    res->u.logical = t ? 1 : 0;
}

void joined(const char *x, const char *y, int kind, value_t *out) {
    TextBuf b;
    b.add(x);
    b.add(y);
    char *t = b.take();
    if (!t) return out_of_memory("value_concat");
    out->value_type = kind;
    out->u.text = t;
}

// A copy of left's list with copies of right's items appended; false when memory is short.
bool appended(const value_t &l, const value_t &r, value_t *out) {
    if (!copy_into(&l, out)) return false;
    for (const gl_node_t *n = r.u.list->head; n; n = n->next) {
        value_t *item = heap_copy(static_cast<const value_t *>(n->data));
        const uint32_t before = gl_length(out->u.list);
        if (item) gl_addtoend(out->u.list, item);
        if (!item || gl_length(out->u.list) == before) {
            value_destroy_list_item(item);
            release(out);
            return false;
        }
    }
    return true;
}

// An operand as compared: an identifier resolved through the context (a copy
// in tmp), anything else itself.
const value_t *resolved(const value_t *v, value_t *tmp, IValueContext *ctx, const char *fn) {
    if (v->value_type != identifier_value || !ctx) return v;
    if (copy_into(v, tmp))
        value_deref(tmp, ctx);
    else
        out_of_memory(fn);  // tmp stays UNDEFINED: compares with nothing
    return tmp;
}

bool num_or_string(int k) { return k == number_value || k == string_value; }

// Both operands as numbers (a STRING read as one); false when either is not.
bool numbers(const value_t &a, const value_t &b, num *x, num *y, IValueContext *ctx) {
    if (!num_or_string(a.value_type) || !num_or_string(b.value_type)) return false;
    Pair t;
    if (!coerce_to(a, &t.a, number_value, ctx) || !coerce_to(b, &t.b, number_value, ctx)) return false;
    *x = t.a.u.number;
    *y = t.b.u.number;
    return true;
}

void order(const value_t *l, const value_t *r, value_t *res, IValueContext *ctx, NumCmp cmp, int sign,
           const char *fn, int line) {
    if (!operands_ok(l, r, res, fn, line)) return;
    release(res);
    if (l->value_type == undefined_value || r->value_type == undefined_value) return;
    Pair t;
    const value_t *a = resolved(l, &t.a, ctx, fn), *b = resolved(r, &t.b, ctx, fn);
    num x, y;
    if (a->value_type == string_value && b->value_type == string_value) {
        const int c = std::strcmp(a->u.text, b->u.text);
        set_truth(res, sign < 0 ? c < 0 : c > 0);
    } else if (numbers(*a, *b, &x, &y, ctx)) {
        set_truth(res, cmp(&x, &y));
    }
}

int equal_values(const value_t *l, const value_t *r, IValueContext *ctx, int depth);

// Equal lengths and every pair of items equal.
int lists_equal(const gl_list_t *x, const gl_list_t *y, IValueContext *ctx, int depth) {
    if (gl_length(x) != gl_length(y)) return 0;
    const gl_node_t *m = y->head;
    for (const gl_node_t *n = x->head; n; n = n->next, m = m->next) {
        const int e = equal_values(static_cast<const value_t *>(n->data),
                                   static_cast<const value_t *>(m->data), ctx, depth + 1);
        if (e != 1) return 0;
    }
    return 1;
}

// 1 equal, 0 not, -1 when the pair does not compare.
int equality(const value_t &a, const value_t &b, IValueContext *ctx, int depth) {
    num x, y;
    if (a.value_type != b.value_type) return numbers(a, b, &x, &y, ctx) ? numEqual(&x, &y) : -1;
    switch (a.value_type) {
        case number_value:
            return numEqual(&a.u.number, &b.u.number);
        case string_value:
        case identifier_value:
        case regexp_value:
        case glob_value:
            return std::strcmp(a.u.text, b.u.text) == 0;
        case logical_value:
            return a.u.logical == b.u.logical;
        case list_value:
            return lists_equal(a.u.list, b.u.list, ctx, depth);
        case range_value:
            return a.u.range.low == b.u.range.low && a.u.range.high == b.u.range.high;
        case pipe_value:
        case enum_value:
        case boundednumber_value:
            std::fputs(msg::kEqualKind, stderr);
            return -1;
        default:
            return -1;
    }
}

// value_equal of two valid values, items not validated again. Names the
// context resolves to lists may nest without end: beyond the nesting a value
// may have, the pair does not compare.
int equal_values(const value_t *l, const value_t *r, IValueContext *ctx, int depth) {
    if (depth > kMaxDepth) return -1;
    if (l->value_type == undefined_value || r->value_type == undefined_value) return -1;
    if (l->value_type == identifier_value && r->value_type == identifier_value &&
        std::strcmp(l->u.text, r->u.text) == 0)
        return 1;  // the same name, whatever it stands for
    Pair t;
    const value_t *a = resolved(l, &t.a, ctx, "value_equal");
    return equality(*a, *resolved(r, &t.b, ctx, "value_equal"), ctx, depth);
}

}  // namespace
}  // namespace zarn::rtvalue

using namespace zarn::rtvalue;

extern "C" {

void value_add(const value_t *l, const value_t *r, value_t *res, IValueContext *ctx) {
    arithmetic(l, r, res, ctx, numAdd, "value_add", __LINE__);
}
void value_subtract(const value_t *l, const value_t *r, value_t *res, IValueContext *ctx) {
    arithmetic(l, r, res, ctx, numSub, "value_subtract", __LINE__);
}
void value_mult(const value_t *l, const value_t *r, value_t *res, IValueContext *ctx) {
    arithmetic(l, r, res, ctx, numMult, "value_mult", __LINE__);
}
void value_divide(const value_t *l, const value_t *r, value_t *res, IValueContext *ctx) {
    arithmetic(l, r, res, ctx, numDiv, "value_divide", __LINE__);
}
void value_power(const value_t *l, const value_t *r, value_t *res, IValueContext *ctx) {
    arithmetic(l, r, res, ctx, numPow, "value_power", __LINE__);
}

void value_negate(value_t *v, IValueContext *ctx) { unary(v, ctx, numUminus, "value_negate", __LINE__); }
void value_abs(value_t *v, IValueContext *ctx) { unary(v, ctx, numAbs, "value_abs", __LINE__); }
void value_log(value_t *v, IValueContext *ctx) { unary(v, ctx, numLog, "value_log", __LINE__); }
void value_log10(value_t *v, IValueContext *ctx) { unary(v, ctx, numLog10, "value_log10", __LINE__); }
void value_cos(value_t *v, IValueContext *ctx) { unary(v, ctx, numCos, "value_cos", __LINE__); }
void value_sin(value_t *v, IValueContext *ctx) { unary(v, ctx, numSin, "value_sin", __LINE__); }
void value_tan(value_t *v, IValueContext *ctx) { unary(v, ctx, numTan, "value_tan", __LINE__); }
void value_sqrt(value_t *v, IValueContext *ctx) { unary(v, ctx, numSqrt, "value_sqrt", __LINE__); }
void value_exp(value_t *v, IValueContext *ctx) { unary(v, ctx, numExp, "value_exp", __LINE__); }

void value_not(const value_t *v, value_t *res, IValueContext *ctx) {
    if (!check(v && value_okay(v), msg::kBadArgument, "value_not", __LINE__) ||
        !check(res && value_okay(res), msg::kResultBad, "value_not", __LINE__))
        return;
    release(res);
    const int t = truth(*v, ctx);
    set_truth(res, t < 0 ? -1 : !t);
}

void value_and(const value_t *l, const value_t *r, value_t *res, IValueContext *ctx) {
    if (!RTVALUE_OPERANDS(l, r, res, "value_and")) return;
    release(res);
    int t = truth(*l, ctx);
    if (t == 1) t = truth(*r, ctx);  // FALSE decides without right
    set_truth(res, t);
}

void value_or(const value_t *l, const value_t *r, value_t *res, IValueContext *ctx) {
    if (!RTVALUE_OPERANDS(l, r, res, "value_or")) return;
    release(res);
    int t = truth(*l, ctx);
    if (t == 0) t = truth(*r, ctx);  // TRUE decides without right
    set_truth(res, t);
}

void value_concat(const value_t *l, const value_t *r, value_t *res, IValueContext *ctx) {
    if (!RTVALUE_OPERANDS(l, r, res, "value_concat")) return;
    release(res);
    const int lk = l->value_type, rk = r->value_type;
    if (lk == list_value && rk == list_value) {
        if (!appended(*l, *r, res)) out_of_memory("value_concat");
    } else if (lk == identifier_value && (rk == identifier_value || rk == glob_value)) {
        joined(l->u.text, r->u.text, rk, res);  // a name with a wildcard tail is a GLOB
    } else {
        Pair t;
        if (coerce_to(*l, &t.a, string_value, ctx) && coerce_to(*r, &t.b, string_value, ctx))
            joined(t.a.u.text, t.b.u.text, string_value, res);
    }
}

void value_less(const value_t *l, const value_t *r, value_t *res, IValueContext *ctx) {
    order(l, r, res, ctx, numLess, -1, "value_less", __LINE__);
}

void value_greater(const value_t *l, const value_t *r, value_t *res, IValueContext *ctx) {
    order(l, r, res, ctx, numGreater, 1, "value_greater", __LINE__);
}

void value_equal(const value_t *l, const value_t *r, value_t *res, IValueContext *ctx) {
    if (!RTVALUE_OPERANDS(l, r, res, "value_equal")) return;
    release(res);
    set_truth(res, equal_values(l, r, ctx, 0));
}

void value_offset(const value_t *list, const value_t *n, value_t *res, IValueContext *) {
    if (!RTVALUE_OPERANDS(list, n, res, "value_offset")) return;
    release(res);
    if (list->value_type != list_value || n->value_type != number_value || n->u.number.undefined) return;
    const num &x = n->u.number;
    const double pos = x.is_int ? x.ival : std::trunc(x.rval);
    if (!(pos >= 1 && pos <= gl_length(list->u.list))) return;  // NaN falls out too
    if (!copy_into(list_item(list->u.list, static_cast<uint32_t>(pos) - 1), res))
        out_of_memory("value_offset");
}

}  // extern "C"
