// String functions of the command language: length, substring, index,
// insertion and removal, with 1-based positions that count from the end
// when negative. Arguments come as a LIST and are read through coercion.
#include <algorithm>
#include <initializer_list>
#include <cstring>
#include <utility>

#include "platform/checked.h"
#include "rtopipe/report.h"
#include "rtvalue/rtvalue_internal.h"
#include "rtvalue/rtvalue_messages.h"

namespace zarn::rtvalue {
namespace {

// What an argument must be: the string (coerced with the context), another
// text (without one), a position that is not 0, or a count of at least 0.
enum class Arg { Str, Text, Pos, Count };

struct Signature {
    const char *const *messages;  // the count message, then one per argument
    uint32_t min, max;
    Arg args[3];
};

constexpr Signature kSubstr{msg::kSubstr, 2, 3, {Arg::Str, Arg::Pos, Arg::Count}};
constexpr Signature kIndex{msg::kIndex, 2, 3, {Arg::Str, Arg::Text, Arg::Count}};
constexpr Signature kInsert{msg::kInsert, 3, 3, {Arg::Str, Arg::Text, Arg::Pos}};
constexpr Signature kRemove{msg::kRemove, 3, 3, {Arg::Str, Arg::Pos, Arg::Count}};

// The arguments read; texts are STRING temporaries.
struct Args {
    uint32_t count = 0;
    value_t text[3];
    int64_t number[3] = {};
    Args() {
        for (value_t &t : text) clear(&t);
    }
    ~Args() {
        for (value_t &t : text) release(&t);
    }
    Args(const Args &) = delete;
    Args &operator=(const Args &) = delete;
    const char *str(int i) const { return text[i].u.text; }
    int64_t length(int i) const { return static_cast<int64_t>(std::strlen(str(i))); }
};

bool refuse(const char *message) {
    zarn::rtopipe::report("%s", message);
    return false;
}

// A defined INTEGER read from item without a context; false for anything else (a REAL too).
bool integer(const value_t &item, int64_t *out) {
    value_t x;
    clear(&x);
    const bool ok = coerce_to(item, &x, number_value, nullptr) && x.u.number.is_int && !x.u.number.undefined;
    *out = ok ? x.u.number.ival : 0;
    release(&x);
    return ok;
}

// Reads v's arguments as sig says; false after the message of the first bad one.
bool read_args(const value_t *v, IValueContext *ctx, const Signature &sig, Args &a) {
    const uint32_t n = v->value_type == list_value ? gl_length(v->u.list) : 0;
    if (n < sig.min || n > sig.max) return refuse(sig.messages[0]);
    a.count = n;
    uint32_t i = 0;
    for (const gl_node_t *node = v->u.list->head; node; node = node->next, ++i) {
        const value_t &item = *static_cast<const value_t *>(node->data);
        const Arg kind = sig.args[i];
        bool ok;
        if (kind == Arg::Str || kind == Arg::Text)
            ok = coerce_to(item, &a.text[i], string_value, kind == Arg::Str ? ctx : nullptr);
        else
            ok = integer(item, &a.number[i]) && (kind == Arg::Pos ? a.number[i] != 0 : a.number[i] >= 0);
        if (!ok) return refuse(sig.messages[i + 1]);
    }
    return true;
}

// A 1-based position in a text of len characters: past the end becomes
// len + 1, a negative one counts from the end, and none comes before 1.
int64_t place(int64_t pos, int64_t len) {
    if (pos > len) return len + 1;
    if (pos < 0) pos = len + pos + 1;
    return pos < 1 ? 1 : pos;
}

// v becomes the STRING of the pieces; v unchanged when memory is short.
void set_pieces(value_t *v, std::initializer_list<std::pair<const char *, int64_t>> pieces, const char *fn) {
    TextBuf b;
    for (const auto &p : pieces) b.add(p.first, static_cast<std::size_t>(p.second));
    char *t = b.take();
    if (!t) return out_of_memory(fn);
    release(v);
    v->value_type = string_value;
    v->u.text = t;
}

// The 1-based start of the last occurrence of sub in s starting at from or
// later; 0 when there is none.
int64_t last_occurrence(const char *s, int64_t len, const char *sub, int64_t from) {
    const int64_t m = static_cast<int64_t>(std::strlen(sub));
    if (m == 0) return from <= len ? from : 0;
    for (int64_t start = len - m + 1; start >= from; --start)
        if (s[start - 1] == sub[0] && std::memcmp(s + start - 1, sub, static_cast<std::size_t>(m)) == 0)
            return start;
    return 0;
}

bool argument_ok(value_t *v, const char *fn, int line) {
    return check(v && value_okay(v), msg::kBadArgument, fn, line);
}

}  // namespace
}  // namespace zarn::rtvalue

using namespace zarn::rtvalue;

extern "C" {

void value_length(value_t *v, IValueContext *ctx) {
    if (!argument_ok(v, "value_length", __LINE__)) return;
    value_coerce(v, v, string_value, ctx);
    if (v->value_type != string_value) return release(v);
    const int64_t n = static_cast<int64_t>(std::strlen(v->u.text));
    value_assign_int(v, static_cast<int>(zarn::clamp_count(n, INT32_MAX)));
}

void value_substr(value_t *v, IValueContext *ctx) {
    if (!argument_ok(v, "value_substr", __LINE__)) return;
    Args a;
    if (!read_args(v, ctx, kSubstr, a)) return release(v);
    const int64_t len = a.length(0), start = place(a.number[1], len);
    const int64_t rest = len - start + 1;
    set_pieces(v, {{a.str(0) + start - 1, a.count == 3 ? std::min(a.number[2], rest) : rest}},
               "value_substr");
}

void value_index(value_t *v, IValueContext *ctx) {
    if (!argument_ok(v, "value_index", __LINE__)) return;
    Args a;
    if (!read_args(v, ctx, kIndex, a)) return release(v);
    const int64_t from = a.count == 3 ? std::max<int64_t>(a.number[2], 1) : 1;
    const int64_t at = last_occurrence(a.str(0), a.length(0), a.str(1), from);
    if (zarn::fits_int32(at))
        value_assign_int(v, static_cast<int>(at));
    else
        release(v);
}

void value_insertstr(value_t *v, IValueContext *ctx) {
    if (!argument_ok(v, "value_insertstr", __LINE__)) return;
    Args a;
    if (!read_args(v, ctx, kInsert, a)) return release(v);
    const int64_t len = a.length(0), at = place(a.number[2], len);
    set_pieces(v, {{a.str(0), at - 1}, {a.str(1), a.length(1)}, {a.str(0) + at - 1, len - at + 1}},
               "value_insertstr");
}

void value_removestr(value_t *v, IValueContext *ctx) {
    if (!argument_ok(v, "value_removestr", __LINE__)) return;
    Args a;
    if (!read_args(v, ctx, kRemove, a)) return release(v);
    const int64_t len = a.length(0), at = place(a.number[1], len);
    const int64_t cut = std::min(a.number[2], len - at + 1);
    set_pieces(v, {{a.str(0), at - 1}, {a.str(0) + at - 1 + cut, len - at + 1 - cut}}, "value_removestr");
}

}  // extern "C"
