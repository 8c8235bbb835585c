// The text form of each attribute in a VARFILE record, what it needs from the
// variable record and when it is missing.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "platform/xalloc.h"
#include "varfile/varfile_internal.h"
#include "varmask/value_words.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/varutl.h"

namespace zarn::varfile {

namespace vm = zarn::varmask;

namespace {

using A = RTVarDatabase;

constexpr double kMissing = 1e35;  // an undefined value or an infinite bound
constexpr double kHuge = 1e20;     // a bound at least this large counts as none

const char *const kBoundWords[] = {"HARD", "RELAXED", "SOFT", "SOFT2"};
const char *const kSpecWords[] = {"CALC", "CONST", "INDEP", "MEAS", "PARAM", "OPTIM", "RECON", "INITIAL"};
const char *const kActiveBoundWords[] = {
    "NOT AT BOUNDS",        "STEP LOWER",         "STEP UPPER",         "EXCEEDED STEP LOWER",
    "EXCEEDED STEP UPPER",  "LOWER",              "UPPER",              "EXCEEDED LOWER",
    "EXCEEDED UPPER",       "SOFT LOWER",         "SOFT UPPER",         "EXCEEDED SOFT LOWER",
    "EXCEEDED SOFT UPPER",  "RELAXED LOWER",      "RELAXED UPPER",      "EXCEEDED RELAXED LOWER",
    "EXCEEDED RELAXED UPPER", "PINCHED"};
constexpr int kRelaxed = 1;  // bound type RELAXED
constexpr int kConnTypes = 149;

template <size_t N>
const char *word_of(const char *const (&words)[N], int64_t k) {
    return k >= 0 && k < static_cast<int64_t>(N) ? words[k] : nullptr;
}

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

int64_t bound_type(const rtvarinfo_t &r) {
    int64_t t = 0;
    varInqBoundType(r.status, &t);
    return t;
}

// The fixed word of a word column; NULL when its code has none.
const char *word_field(const Record &r, int a) {
    const rtvarinfo_t &v = r.info;
    switch (a) {
    case A::BOUND: return word_of(kBoundWords, bound_type(v));
    case A::SPEC: return word_of(kSpecWords, varInqSpec(v.status));
    case A::SSPEC: return varIsIndependent(v.status) ? "INDEP" : varIsFixed(v.status) ? "CONST" : "CALC";
    case A::QUALITY: return vm::code_word(vm::kQualityWords, v.quality);
    case A::PARAM: return vm::code_word(vm::kYesNoWords, v.param_homo);
    case A::ACTIVE_BOUND: return word_of(kActiveBoundWords, v.active_bound);
    case A::DESCRIPTION:
        return v.description != nullptr && v.description[0] != '\0' ? v.description : "Description Is Missing";
    case A::VAR_TYPE: {
        const int t = varInqType(v.status);
        return vm::code_word(vm::kVarTypeWords, t);
    }
    case A::RAMPED: return "YES";
    default: return nullptr;
    }
}

// The number of a real column, already scaled and in display units.
double real_field(const Record &r, int a) {
    const rtvarinfo_t &v = r.info;
    const double s = v.intscale;
    switch (a) {
    case A::VALUE: return rtouom_si2pair(v.value * s, r.ptype, r.uom);
    case A::INIT: return rtouom_si2pair(v.init * s, r.ptype, r.uom);
    case A::CHANGE: return rtouom_delta_si2pair((v.value - v.init) * s, r.ptype, r.uom);
    case A::LOWER: return rtouom_si2pair(v.lower * s, r.ptype, r.uom);
    case A::UPPER: return rtouom_si2pair(v.upper * s, r.ptype, r.uom);
    case A::STEP: return rtouom_delta_si2pair(v.step * s, r.ptype, r.uom);
    case A::SCALE: return rtouom_delta_si2pair(v.scale * s, r.ptype, r.uom);
    case A::SBWEIGHT: return v.sbweight;
    case A::TARGET: return rtouom_si2pair(v.target_homo * s, r.ptype, r.uom);
    case A::SHADOW_PRICE: return v.shadow_price;
    case A::RLOWER: return rtouom_si2pair(relaxed_lower(v, bound_type(v)) * s, r.ptype, r.uom);
    case A::RUPPER: return rtouom_si2pair(relaxed_upper(v, bound_type(v)) * s, r.ptype, r.uom);
    default: return rtouom_si2pair(v.threshold * s, r.ptype, r.uom);  // THRESHOLD
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
        if (text == nullptr || ptype < 0 || ptype >= RTOUOM_NTYPES) return put_text(out, or_empty(text), width, true);
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
    switch (a) {
    case A::SHADOW_PRICE: case A::ACTIVE_BOUND: case A::VAR_TYPE: case A::THRESHOLD: case A::RAMPED:
        m->mask1 = m->mask2 = 0xFFFFFFFFu;  // the whole record
        break;
    default: add_needs(m, a); break;
    }
}

void add_needs(rtvarmask_t *m, int a) {
    constexpr int32_t kStatusScale[] = {RTVARINFO_STATUS, RTVARINFO_INTSCALE};
    auto add = [m](std::initializer_list<int32_t> codes) {
        for (int32_t c : codes) rtvarinfo_mask_add(m, c);
    };
    auto add_real = [&](std::initializer_list<int32_t> codes) {
        for (int32_t c : kStatusScale) rtvarinfo_mask_add(m, c);
        add(codes);
    };
    switch (a) {
    case A::PHYSICAL_TYPE: case A::BOUND: case A::SPEC: case A::SSPEC: add({RTVARINFO_STATUS}); break;
    case A::UNITS: add({RTVARINFO_UOM}); break;
    case A::BASEUOM: add({RTVARINFO_BASEUOM}); break;
    case A::VALUE: add_real({RTVARINFO_VALUE, RTVARINFO_UOM}); break;
    case A::INIT: add_real({RTVARINFO_INIT, RTVARINFO_UOM}); break;
    case A::CHANGE: add_real({RTVARINFO_VALUE, RTVARINFO_INIT, RTVARINFO_UOM}); break;
    case A::LOWER: add_real({RTVARINFO_LOWER, RTVARINFO_UOM}); break;
    case A::UPPER: add_real({RTVARINFO_UPPER, RTVARINFO_UOM}); break;
    case A::STEP: add_real({RTVARINFO_STEP, RTVARINFO_UOM}); break;
    case A::SCALE: add_real({RTVARINFO_SCALE}); break;
    case A::SBWEIGHT: add_real({RTVARINFO_SBWEIGHT}); break;
    case A::QUALITY: add({RTVARINFO_QUALITY}); break;
    case A::PARAM: add({RTVARINFO_PARAM_HOMO}); break;
    case A::TARGET: add({RTVARINFO_TARGET_HOMO, RTVARINFO_INTSCALE}); break;
    case A::DESCRIPTION: add({RTVARINFO_DESCRIPTION}); break;
    case A::MODIFIED: add({RTVARINFO_MODIFIED}); break;
    case A::RLOWER: add_real({RTVARINFO_LOWER, RTVARINFO_VALUE, RTVARINFO_STEP, RTVARINFO_UOM}); break;
    case A::RUPPER: add_real({RTVARINFO_UPPER, RTVARINFO_VALUE, RTVARINFO_STEP, RTVARINFO_UOM}); break;
    case A::CONN_TYPE: add({RTVARINFO_CONN_TYPE}); break;
    case A::SHADOW_PRICE: add({RTVARINFO_SHADOW_PRICE}); break;
    case A::ACTIVE_BOUND: add({RTVARINFO_ACTIVE_BOUND}); break;
    case A::VAR_TYPE: add({RTVARINFO_STATUS}); break;
    case A::THRESHOLD: add_real({RTVARINFO_THRESHOLD, RTVARINFO_UOM}); break;
    case A::RAMPED: add({RTVARINFO_RAMPED}); break;
    default: break;
    }
}

bool missing(const Record &r, int a) {
    const rtvarinfo_t &v = r.info;
    switch (a) {
    case A::VALUE: return absent(v.value);
    case A::INIT: return absent(v.init);
    case A::CHANGE: return absent(v.init) || absent(v.value);
    case A::LOWER: return absent(v.lower) || v.lower * v.intscale <= -kHuge;
    case A::UPPER: return absent(v.upper) || v.upper * v.intscale >= kHuge;
    case A::STEP: return absent(v.step) || std::fabs(v.step * v.intscale) >= kHuge;
    case A::SCALE: return absent(v.scale);
    case A::SBWEIGHT: return absent(v.sbweight);
    case A::TARGET: return absent(v.target_homo);
    case A::SHADOW_PRICE: return absent(v.shadow_price);
    case A::MODIFIED: return v.modified.mask1 == 0;
    case A::RLOWER: return absent(v.lower) && (absent(v.step) || absent(v.value));
    case A::RUPPER: return absent(v.upper) && (absent(v.step) || absent(v.value));
    case A::THRESHOLD: return absent(v.threshold);
    case A::RAMPED: return v.ramped == 0;
    default: return false;
    }
}

bool put_field(Sink &out, Record &r, int a, int width) {
    switch (a) {
    case A::PHYSICAL_TYPE:
        return put_table_name(out, r.type_name, r.ptype, 0, width, [&] { return rtouom_ptype_name(r.ptype); });
    case A::UNITS:
        return put_table_name(out, r.unit_name, r.ptype, r.uom, width, [&] { return rtouom_uom_name(r.ptype, r.uom); });
    case A::BASEUOM:
        return put_table_name(out, r.base_name, r.ptype, r.baseuom, width,
                              [&] { return rtouom_uom_name(r.ptype, r.baseuom); });
    case A::CONN_TYPE: {
        const int c = r.info.conn_type;
        if (c < 0 || c >= kConnTypes) return put_text(out, "", width, true);
        return put_table_name(out, r.conn_name, c, 0, width, [c] { return rtouom_ptype_name(c); });
    }
    case A::MODIFIED: {
        char pair[32];  // "mask1;mask2" in signed decimal
        char *end = put_int(pair, static_cast<int32_t>(r.info.modified.mask1));
        *end++ = ';';
        *put_int(end, static_cast<int32_t>(r.info.modified.mask2)) = '\0';
        return put_text(out, pair, width, true);
    }
    case A::BOUND: case A::SPEC: case A::SSPEC: case A::QUALITY: case A::PARAM: case A::ACTIVE_BOUND:
    case A::DESCRIPTION: case A::VAR_TYPE: case A::RAMPED: {
        const char *w = word_field(r, a);
        return w != nullptr && put_text(out, w, width, false);  // an unknown code writes nothing
    }
    default: put_real(out, width, real_field(r, a)); return false;
    }
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
