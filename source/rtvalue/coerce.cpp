// Conversion between kinds: one table of converters by (from, to) kind that
// every operator goes through; dereferencing of identifiers; numbers read
// from text, with a unit in braces.
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/xalloc.h"
#include "rtopipe/report.h"
#include "rtvalue/rtvalue_internal.h"
#include "rtvalue/rtvalue_messages.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/stred.h"

namespace zarn::rtvalue {
namespace {

constexpr int kDimensionless = 44;

// A converter writes into an UNDEFINED out; leaving it so means "does not convert".
using Converter = void (*)(const value_t &src, value_t *out, IValueContext *ctx);

void set_bool(value_t *out, bool b) {
    out->value_type = logical_value;
    out->u.logical = b ? 1 : 0;
}

void set_text(value_t *out, int kind, char *text) {
    if (!text) return;  // memory ran short: stays UNDEFINED
    out->value_type = kind;
    out->u.text = text;
}

void add_double(TextBuf &b, double x) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", x);
    b.add(buf);
}

// The STRING form of a number, null for an undefined one.
char *number_text(const num &n) {
    if (n.undefined) return nullptr;
    TextBuf b;
    if (n.is_int) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%i", n.ival);
        b.add(buf);
        return b.take();
    }
    if (n.ptype == RTOUOM_SI_MARKER || n.ptype == RTOUOM_SSI_MARKER) {
        add_double(b, n.rval);
        b.add(n.ptype == RTOUOM_SI_MARKER ? " {SI}" : " {SSI}");
        return b.take();
    }
    add_double(b, display_value(n));
    b.add(" {");
    b.add(display_unit(n));
    b.add("}");
    return b.take();
}

void list_text(const gl_list_t *list, TextBuf &b);

// An item's STRING form, coerced without a context, appended to b.
void item_text(const value_t &item, TextBuf &b) {
    if (item.value_type == list_value) {
        list_text(item.u.list, b);
        return;
    }
    value_t s;
    clear(&s);
    value_coerce(&item, &s, string_value, nullptr);
    if (s.value_type == string_value) b.add(s.u.text);
    release(&s);
}

void list_text(const gl_list_t *list, TextBuf &b) {
    if (!list || !list->head) return;  // an empty list is the empty text
    b.add("[");
    for (const gl_node_t *n = list->head; n; n = n->next) {
        if (n != list->head) b.add(",");
        item_text(*static_cast<const value_t *>(n->data), b);
    }
    b.add("]");
}

// ---- the three number forms, each recognised in one left-to-right pass

std::size_t digits(const char *s) {
    std::size_t n = 0;
    while (s[n] >= '0' && s[n] <= '9') ++n;
    return n;
}

// Length of an exponent ([dDeE], optional sign, digits) at s; 0 when there is none.
std::size_t exponent(const char *s) {
    if (*s != 'd' && *s != 'D' && *s != 'e' && *s != 'E') return 0;
    const std::size_t sign = s[1] == '+' || s[1] == '-' ? 1 : 0;
    const std::size_t n = digits(s + 1 + sign);
    return n > 0 ? 1 + sign + n : 0;
}

// Digits, an optional point, digits.
struct Mantissa {
    std::size_t whole, fraction, length;
    bool point;
};

Mantissa mantissa(const char *s) {
    Mantissa m{digits(s), 0, 0, false};
    m.length = m.whole;
    if (s[m.length] == '.') {
        m.point = true;
        m.fraction = digits(s + m.length + 1);
        m.length += 1 + m.fraction;
    }
    return m;
}

const char *unsigned_part(const char *s) { return *s == '-' ? s + 1 : s; }

// -?[0-9]+, the whole text.
bool integer_text(const char *s) {
    const char *p = unsigned_part(s);
    const std::size_t n = digits(p);
    return n > 0 && p[n] == '\0';
}

// The whole text is a real: digits with an exponent (a point between them
// allowed), or digits after a point with an optional exponent.
bool real_text(const char *s) {
    const char *p = unsigned_part(s);
    const Mantissa m = mantissa(p);
    const std::size_t e = exponent(p + m.length);
    if (p[m.length + e] != '\0') return false;
    return (m.whole > 0 && m.fraction == 0 && e > 0) || (m.point && m.fraction > 0);
}

// A number, blanks and a unit in braces closing the text: the number's length
// and the unit's place and length, or false.
bool braced_text(const char *s, std::size_t *number, const char **unit, std::size_t *unit_length) {
    const char *p = unsigned_part(s);
    const Mantissa m = mantissa(p);
    if (m.whole == 0 && m.fraction == 0) return false;
    p += m.length;
    p += exponent(p);
    *number = static_cast<std::size_t>(p - s);
    while (*p == ' ') ++p;
    if (*p != '{') return false;
    const char *close = std::strchr(p + 1, '}');
    if (!close || close[1] != '\0') return false;
    *unit = p + 1;
    *unit_length = static_cast<std::size_t>(close - *unit);
    return true;
}

// A Fortran exponent letter becomes "e" (the first "d", else the first "D").
void fix_exponent(char *s) {
    char *d = std::strchr(s, 'd');
    if (!d) d = std::strchr(s, 'D');
    if (d) *d = 'e';
}

void set_real(value_t *out, double x, int ptype, int uom) {
    out->value_type = number_value;
    out->u.number.rval = x;
    out->u.number.ptype = static_cast<int16_t>(ptype);
    out->u.number.uom = static_cast<int16_t>(uom);
    out->u.number.baseuom = 1;
}

// Numbers and unit names are short: their copies live on the stack.
using ShortCopy = zarn::TerminatedCopy<64>;

void string_to_number(const value_t &src, value_t *out, IValueContext *) {
    const char *text = src.u.text;
    if (integer_text(text)) {
        const long long v = std::strtoll(text, nullptr, 10);
        if (v >= INT32_MIN && v <= INT32_MAX) {
            out->value_type = number_value;
            out->u.number.is_int = 1;
            out->u.number.ival = static_cast<int32_t>(v);
            out->u.number.ptype = kDimensionless;
            out->u.number.baseuom = 1;
            return;
        }
        // Beyond 32 bits the digits are read as a real.
        set_real(out, std::strtod(text, nullptr), 0, 0);
        return;
    }
    if (real_text(text)) {
        ShortCopy copy(text, std::strlen(text));
        if (!copy.text) return out_of_memory("value_coerce");
        fix_exponent(copy.text);
        set_real(out, std::strtod(copy.text, nullptr), 0, 0);
        return;
    }
    std::size_t nlen = 0, ulen = 0;
    const char *unit_text = nullptr;
    if (!braced_text(text, &nlen, &unit_text, &ulen)) return;
    ShortCopy number(text, nlen), unit(unit_text, ulen);
    if (!number.text || !unit.text) return out_of_memory("value_coerce");
    fix_exponent(number.text);
    stred_upper_case(unit.text);
    int ptype = 0, uom = 0;
    rtouom_locate(unit.text, &ptype, &uom);
    const double x = std::strtod(number.text, nullptr);
    set_real(out, ptype ? rtouom_pair2si(x, ptype, uom) : x, ptype, uom);
}

// ---- converters by source kind

void undefined_to_bool(const value_t &, value_t *out, IValueContext *) { set_bool(out, false); }

void number_to_string(const value_t &s, value_t *out, IValueContext *) {
    set_text(out, string_value, number_text(s.u.number));
}

void number_to_bool(const value_t &s, value_t *out, IValueContext *) {
    const num &n = s.u.number;
    set_bool(out, !n.undefined && (n.is_int ? n.ival != 0 : n.rval != 0.0));
}

void text_to_string(const value_t &s, value_t *out, IValueContext *) {
    set_text(out, string_value, zarn::xstrdup(s.u.text));
}

void string_to_bool(const value_t &s, value_t *out, IValueContext *) { set_bool(out, s.u.text[0] != '\0'); }

// A copy of the identifier is resolved; what it became is converted in turn.
void identifier_to_other(const value_t &s, value_t *out, IValueContext *ctx, int kind) {
    if (!ctx) return;
    value_t tmp;
    clear(&tmp);
    if (!copy_into(&s, &tmp)) return out_of_memory("value_coerce");
    value_deref(&tmp, ctx);
    if (tmp.value_type != identifier_value) value_coerce(&tmp, out, kind, ctx);
    release(&tmp);
}

void glob_to_regexp(const value_t &s, value_t *out, IValueContext *) {
    set_text(out, regexp_value, stred_glob_to_regexp(s.u.text));
}

void bool_to_string(const value_t &s, value_t *out, IValueContext *) {
    set_text(out, string_value, zarn::xstrdup(s.u.logical ? "TRUE" : "FALSE"));
}

void list_to_bool(const value_t &s, value_t *out, IValueContext *) { set_bool(out, gl_length(s.u.list) > 0); }

// Whatever kind was asked, a list gives its STRING form.
void list_to_string(const value_t &s, value_t *out, IValueContext *) {
    TextBuf b;
    list_text(s.u.list, b);
    set_text(out, string_value, b.take());
}

void range_to_string(const value_t &s, value_t *out, IValueContext *) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%i:%i", s.u.range.low, s.u.range.high);
    set_text(out, string_value, zarn::xstrdup(buf));
}

void range_to_bool(const value_t &s, value_t *out, IValueContext *) {
    const auto &r = s.u.range;
    set_bool(out, r.low <= r.high && !(r.low == 0 && r.high == 0));
}

// kConvert[from][to]; null: no conversion (UNDEFINED). Same kinds copy, and
// identifiers other than to STRING resolve first: both are handled before the table.
constexpr Converter kConvert[kKinds][kKinds] = {
    /* UNDEFINED */ {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, undefined_to_bool},
    /* number */ {nullptr, nullptr, number_to_string, nullptr, nullptr, nullptr, number_to_bool},
    /* STRING */ {nullptr, string_to_number, nullptr, nullptr, nullptr, nullptr, string_to_bool},
    /* IDENTIFIER */ {nullptr, nullptr, text_to_string},
    /* REGEXP */ {},
    /* GLOB */ {nullptr, nullptr, text_to_string, nullptr, glob_to_regexp},
    /* BOOLEAN */ {nullptr, nullptr, bool_to_string},
    /* PIPE */ {},
    /* LIST */
    {nullptr, list_to_string, list_to_string, list_to_string, list_to_string, list_to_string, list_to_bool,
     list_to_string, nullptr, list_to_string, list_to_string, list_to_string},
    /* RANGE */ {nullptr, nullptr, range_to_string, nullptr, nullptr, nullptr, range_to_bool},
    /* ENUMERATION */ {},
    /* BOUNDEDNUMBER */ {},
};

}  // namespace
}  // namespace zarn::rtvalue

using namespace zarn::rtvalue;

extern "C" void value_coerce(const value_t *src, value_t *result, int kind, IValueContext *ctx) {
    if (!src || !value_okay(src)) {
        check(false, msg::kBadArgument, "value_coerce", __LINE__);
        return;
    }
    if (!result || !value_okay(result)) {
        check(false, msg::kResultBad, "value_coerce", __LINE__);
        return;
    }
    value_t out;
    clear(&out);
    const int from = src->value_type;
    if (kind <= undefined_value || kind >= kKinds) {
        // nothing converts to UNDEFINED or to an unknown kind
    } else if (from == kind) {
        if (!copy_into(src, &out)) out_of_memory("value_coerce");
    } else if (from == identifier_value && kind != string_value) {
        identifier_to_other(*src, &out, ctx, kind);
    } else if (Converter c = kConvert[from][kind]) {
        c(*src, &out, ctx);
    }
    // Built aside, so that result may be src itself.
    move_into(&out, result);
}

extern "C" void value_deref(value_t *v, IValueContext *ctx) {
    if (!v || !value_okay(v)) {
        check(false, msg::kBadArgument, "value_deref", __LINE__);
        return;
    }
    if (v->value_type != identifier_value || !ctx) return;
    value_t tmp;
    clear(&tmp);
    ctx->Resolve(v->u.text, &tmp);
    if (!value_okay(&tmp)) {
        // The host gave something that is not a value: taken as nothing.
        check(false, msg::kResultBad, "value_deref", __LINE__);
        clear(&tmp);
    }
    if (tmp.value_type == undefined_value && !std::strchr(v->u.text, '.')) return;  // a simple name stays
    move_into(&tmp, v);
}

extern "C" char *number_value_to_char(const value_t *v, IValueContext *) {
    if (!v || v->value_type != number_value) return nullptr;
    char *t = number_text(v->u.number);
    if (t && !*t) {
        std::free(t);
        return nullptr;
    }
    return t;
}
