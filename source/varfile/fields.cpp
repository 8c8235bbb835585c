// The text form of each attribute in a VARFILE record, what it needs from the
// variable record and when it is missing.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "attrcat/attrcat.h"
#include "platform/xalloc.h"
#include "rtvarlst/rtvarlst_scale.h"
#include "varfile/recorders.h"
#include "varfile/varfile_internal.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/varmask.h"
#include "zarnutils/varutl.h"

namespace zarn::varfile {

namespace ac = zarn::attrcat;

namespace {

using A = RTVarDatabase;

constexpr double kMissing = ac::kUndefined;  // an undefined value or an infinite bound
constexpr double kHuge = 1e20;               // a bound at least this large counts as none
constexpr int kRelaxed = 1;                  // bound type RELAXED

bool absent(double v) { return v == kMissing; }

// Relaxed bounds in stored form: the step window around the value, or the
// value itself when a RELAXED bound lies beyond it.
double relaxed_lower(const rtvarinfo_t &r, int64_t bound_type) {
    const bool window = !absent(r.value) && !absent(r.step);
    if (absent(r.lower)) return window ? r.value - std::fabs(r.step) : kMissing;
    if (!window) return r.lower;
    if (r.lower < r.value - std::fabs(r.step)) return r.value - std::fabs(r.step);
    if (r.lower > r.value && bound_type == kRelaxed) return r.value;
    return r.lower;
}

double relaxed_upper(const rtvarinfo_t &r, int64_t bound_type) {
    const bool window = !absent(r.value) && !absent(r.step);
    if (absent(r.upper)) return window ? r.value + std::fabs(r.step) : kMissing;
    if (!window) return r.upper;
    if (r.upper > r.value + std::fabs(r.step)) return r.value + std::fabs(r.step);
    if (r.value > r.upper && bound_type == kRelaxed) return r.value;
    return r.upper;
}

bool conn_type_named(int32_t code) {
    return code >= 0 && code < CONN_TYPE_COUNT && conn_type_string[code] != nullptr &&
           conn_type_string[code][0] != '\0';
}

int64_t bound_type(const rtvarinfo_t &r) {
    int64_t t = 0;
    varInqBoundType(r.status, &t);
    return t;
}

// The code a word column writes the word of.
int64_t word_code(const rtvarinfo_t &v, int a) {
    switch (a) {
        case A::BOUND:
            return bound_type(v);
        case A::SPEC:
            return varInqSpec(v.status);
        case A::SSPEC:
            return varIsIndependent(v.status) ? VAR_INDEP : varIsFixed(v.status) ? VAR_CONST : VAR_CALC;
        case A::QUALITY:
            return v.quality;
        case A::PARAM:
            return v.param_homo;
        case A::ACTIVE_BOUND:
            return v.active_bound;
        case A::VAR_TYPE:
            return varInqType(v.status);
        case A::RAMPED:
            return 1;  // written only for a ramped variable
        default:
            return -1;
    }
}

// The number of a real column as stored, before scaling and conversion.
double stored_number(const rtvarinfo_t &v, int a) {
    switch (a) {
        case A::VALUE:
            return v.value;
        case A::INIT:
            return v.init;
        case A::CHANGE:
            return v.value - v.init;
        case A::LOWER:
            return v.lower;
        case A::UPPER:
            return v.upper;
        case A::STEP:
            return v.step;
        case A::SCALE:
            return v.scale;
        case A::SBWEIGHT:
            return v.sbweight;
        case A::TARGET:
            return v.target_homo;
        case A::SHADOW_PRICE:
            return v.shadow_price;
        case A::RLOWER:
            return relaxed_lower(v, bound_type(v));
        case A::RUPPER:
            return relaxed_upper(v, bound_type(v));
        default:
            return v.threshold;  // THRESHOLD
    }
}

// A held number in SI: multiplied by the scale in the base unit, then
// converted as the list's accessors convert (difference: the solver scale's rule).
double si_of(const Record &r, double held, double scale, bool difference) {
    const double base = held * scale;
    return r.info.baseuom == 1 ? base : zarn::rtvarlst::base_to_si(r.list, r.index, base, difference);
}

// The number written: scaled and in display units, as a difference, or
// unscaled (SBWEIGHT as held, SHADOW_PRICE in SI).
double real_field(const Record &r, int a, ac::Form form) {
    const double x = stored_number(r.info, a);
    const bool difference = a == A::SCALE || a == A::CHANGE;
    switch (form) {
        case ac::Form::Display:
            return rtouom_si2pair(si_of(r, x, r.scale, difference), r.ptype, r.uom);
        case ac::Form::Difference:
            return rtouom_delta_si2pair(si_of(r, x, r.scale, difference), r.ptype, r.uom);
        default:
            return a == A::SHADOW_PRICE ? si_of(r, x, 1.0, false) : x;
    }
}

const char *or_empty(const char *text) { return text != nullptr ? text : ""; }

// Writes a text of this length padded to the width, in quotes when asked;
// true when it is wider than the column.
bool put_printed(Sink &out, const char *text, size_t n, bool quote, int width) {
    const size_t printed = n + (quote ? 2 : 0);
    if (quote) out.put('\'');
    out.put(text, n);
    if (quote) out.put('\'');
    if (printed < static_cast<size_t>(width)) out.blanks(static_cast<size_t>(width) - printed);
    return printed > static_cast<size_t>(width);
}

// Writes text padded to the width (quoted when a name needs it); true when
// it is wider than the column.
bool put_text(Sink &out, const char *text, int width, bool name) {
    return put_printed(out, text, std::strlen(text), name && RTVarFileIO::SpecialChars(text), width);
}

// Writes the units-table name that lookup gives for (ptype, uom) as a name
// field, looking it up only when the cache holds another pair. A missing
// name (reported each time) and the texts of price types, which live in a
// shared buffer, are not kept.
template <class Lookup>
bool put_table_name(Sink &out, TableName &cache, int ptype, int uom, int width, Lookup lookup) {
    if (!cache.known || cache.ptype != ptype || cache.uom != uom) {
        const char *text = lookup();
        if (text == nullptr || ptype < 0 || ptype >= RTOUOM_NTYPES)
            return put_text(out, or_empty(text), width, true);
        cache = {true, ptype, uom, text, std::strlen(text), RTVarFileIO::SpecialChars(text) != 0};
    }
    return put_printed(out, cache.text, cache.length, cache.quote, width);
}

// Writes v in signed decimal at p (at most 11 characters); returns the end.
char *put_int(char *p, int32_t v) {
    uint32_t u = v < 0 ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
    if (v < 0) *p++ = '-';
    char digits[10];
    int n = 0;
    do {
        digits[n++] = static_cast<char>('0' + u % 10);
        u /= 10;
    } while (u != 0);
    while (n > 0) *p++ = digits[--n];
    return p;
}

}  // namespace

void add_fetch(rtvarmask_t *m, int a) {
    if (ac::kVarfile[a].whole_record)
        m->mask1 = m->mask2 = 0xFFFFFFFFu;
    else
        add_needs(m, a);
}

void add_needs(rtvarmask_t *m, int a) {
    m->mask1 |= ac::kVarfile[a].needs1;
    m->mask2 |= ac::kVarfile[a].needs2;
}

bool missing(const Record &r, int a) {
    const rtvarinfo_t &v = r.info;
    switch (a) {
        case A::VALUE:
            return absent(v.value);
        case A::INIT:
            return absent(v.init);
        case A::CHANGE:
            return absent(v.init) || absent(v.value);
        case A::LOWER:
            return absent(v.lower) || si_of(r, v.lower, r.scale, false) <= -kHuge;
        case A::UPPER:
            return absent(v.upper) || si_of(r, v.upper, r.scale, false) >= kHuge;
        case A::STEP:
            return absent(v.step) || std::fabs(si_of(r, v.step, r.scale, false)) >= kHuge;
        case A::SCALE:
            return absent(v.scale);
        case A::SBWEIGHT:
            return absent(v.sbweight);
        case A::TARGET:
            return absent(v.target_homo);
        case A::SHADOW_PRICE:
            return absent(v.shadow_price);
        case A::MODIFIED:
            return v.modified.mask1 == 0;
        case A::RLOWER:
            return absent(v.lower) && (absent(v.step) || absent(v.value));
        case A::RUPPER:
            return absent(v.upper) && (absent(v.step) || absent(v.value));
        case A::THRESHOLD:
            return absent(v.threshold);
        case A::RAMPED:
            return v.ramped == 0;
        // Only the codes with a connection-type word can be written and read back.
        case A::CONN_TYPE:
            return !conn_type_named(v.conn_type);
        default:
            return false;
    }
}

bool put_field(Sink &out, Record &r, int a, int width) {
    const ac::Form form = ac::kVarfile[a].form;
    switch (form) {
        case ac::Form::TypeName:
            return put_table_name(out, r.type_name, r.ptype, 0, width,
                                  [&] { return rtouom_ptype_name(r.ptype); });
        case ac::Form::UnitName:
            return put_table_name(out, r.unit_name, r.ptype, r.uom, width,
                                  [&] { return rtouom_uom_name(r.ptype, r.uom); });
        case ac::Form::BaseName:
            return put_table_name(out, r.base_name, r.ptype, r.baseuom, width,
                                  [&] { return rtouom_uom_name(r.ptype, r.baseuom); });
        case ac::Form::ConnName: {
            const int c = r.info.conn_type;  // a code with a name (missing() holds the others back)
            return put_table_name(out, r.conn_name, c, 0, width, [c] { return conn_type_string[c]; });
        }
        case ac::Form::Pair: {
            char pair[32];  // "mask1;mask2" in signed decimal
            char *end = put_int(pair, static_cast<int32_t>(r.info.modified.mask1));
            *end++ = ';';
            *put_int(end, static_cast<int32_t>(r.info.modified.mask2)) = '\0';
            return put_text(out, pair, width, true);
        }
        case ac::Form::Word: {
            const char *w = ac::word_of(*ac::kRows[ac::kVarfile[a].row].words, word_code(r.info, a));
            return w != nullptr && put_text(out, w, width, false);  // an unknown code writes nothing
        }
        case ac::Form::Text: {
            const char *d = r.info.description;
            return put_text(out, d != nullptr && d[0] != '\0' ? d : "Description Is Missing", width, false);
        }
        default:
            put_real(out, width, real_field(r, a, form));
            return false;
    }
}

double written_number(rtvarlst_t *list, int32_t i, int a, int unit) {
    // Only the fields the number is made of are fetched, and only those are read.
    Record r;
    r.info.mask = {RTVARINFO_STATUS | RTVARINFO_INTSCALE | RTVARINFO_BASEUOM,
                   0u - static_cast<uint32_t>(RTVARINFO_UOM)};
    add_needs(&r.info.mask, a);
    rtovarlst_inq_var(list, i, &r.info, 0);
    r.list = list;
    r.index = i;
    r.scale = zarn::rtvarlst::effective_scale(r.info.intscale);
    r.ptype = varInqPhysicalType(r.info.status);
    r.uom = unit == kDisplayUnit ? static_cast<int32_t>(r.info.uom) : unit;
    r.baseuom = static_cast<int32_t>(r.info.baseuom);
    return real_field(r, a, ac::kVarfile[a].form);
}

void put_real(Sink &out, int w, double v) {
    const int precision = w - 8 >= 0 ? w - 8 : 6;
    const size_t room = static_cast<size_t>(precision) + kRealExtra;
    char small[128];
    char *text = room <= sizeof small ? small : static_cast<char *>(zarn::xmalloc(room));
    if (text == nullptr) {  // no memory for a very wide column: leave it blank
        out.blanks(static_cast<size_t>(w));
        return;
    }
    const char *end = format_real(text, v, precision);
    const size_t n = static_cast<size_t>(end - text);
    if (n < static_cast<size_t>(w)) out.blanks(static_cast<size_t>(w) - n);
    out.put(text, n);
    if (text != small) std::free(text);
}

}  // namespace zarn::varfile
