// Assignment by name: the checks of the target, the dispatch by attribute,
// the word-valued attributes and the modification bits.
#include <cstdarg>
#include <cstring>

#include "platform/zassert.h"
#include "rtopipe/report.h"
#include "varassign/varassign_internal.h"
#include "varassign/varassign_messages.h"
#include "varmask/value_words.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/varassign.h"
#include "zarnutils/varutl.h"

namespace zarn::varassign {

using zarn::rtopipe::report;

// The value converted to kind in out (UNDEFINED and false when it does not convert).
bool coerce(const value_t *value, value_t *out, int kind) {
    value_init(out);
    value_coerce(value, out, kind, nullptr);
    if (out->value_type == kind) return true;
    value_destroy(out);  // a list converts to its text whatever was asked
    return false;
}

void mismatch(const value_t *value, const char *target) {
    report_with_value(msg::kMismatch, value, msg::kMismatchTail, target);
}

bool word_of(const value_t *value, value_t *word, int kind, const char *target) {
    if (coerce(value, word, kind)) return true;
    mismatch(value, target);
    return false;
}

namespace {

// Modification bits (mask1, mask2) by attribute code; none for the read-only,
// unknown and MODIFIED attributes, which leave the record alone.
struct Bits {
    uint32_t mask1, mask2;
};
constexpr int kCodes = kConnType + 1;
constexpr Bits kBits[kCodes] = {
    {0, 0},          {2, 0},         {4, 0},         {8, 0},          {16, 0},         {0, 0},
    {32, 0},         {128, 0},       {256, 0},       {512, 0},        {1024, 2},       {2048, 0},
    {4096, 0},       {0, 0},         {0, 0},         {0, 0},          {0, 0},          {0, 0},
    {0x40000, 0},    {0x80000, 0},   {0x100000, 8},  {0, 0},          {0x400000, 0},   {0x800000, 0},
    {0x1000000, 0},  {0x2000000, 0}, {0, 0},         {0x8000000, 0},  {0x10000000, 0}, {0x20000000, 0},
    {0, 0},          {0, 0},         {0, 0},         {0, 0},          {0, 8},
};

// ORs the bits into the record; a record that has them all already is kept
// (the list makes a new record on every write).
void mark_modified(rtvarlst_t *list, int32_t i, const Bits &b) {
    const rtvarmod_t *old = rtovarlst_inq_var_modified(list, i);
    if (old != nullptr && (old->mask1 & b.mask1) == b.mask1 && (old->mask2 & b.mask2) == b.mask2) return;
    const rtvarmod_t pair = {b.mask1, b.mask2};
    rtovarlst_set_var_attribs_modified(list, i, &pair);
}


// UNITS and BASEUOM: a unit name, within the variable's type when it has one;
// without one the variable takes the unit's type.
void assign_unit(rtvarlst_t *list, int32_t i, bool base, const char *target, const value_t *value) {
    value_t name;
    if (word_of(value, &name, string_value, target)) {
        const int32_t p = rtovarlst_inq_physical_type(list, i);
        int uom = 0, found_type = p;
        if (p != 0) rtouom_ptype_locate(name.u.text, p, &uom);
        else rtouom_locate(name.u.text, &found_type, &uom);
        if (uom == 0) {
            report_with_value(msg::kUomHead, value, msg::kUomTail, target);
        } else {
            if (p == 0) rtovarlst_set_physical_type(list, i, found_type);
            if (base) rtovarlst_set_var_baseuom(list, i, uom);
            else rtovarlst_set_var_uom(list, i, uom);
            if (p == 0) raise(list, i, RTOVARLST_CHG_PHYSICAL_TYPE);
        }
        value_destroy(&name);
    }
    raise(list, i, base ? RTOVARLST_CHG_BASEUOM : RTOVARLST_CHG_UOM);
}

void assign_marked(rtvarlst_t *list, int32_t i, const char *target, const value_t *value) {
    if (value->value_type == logical_value) rtovarlst_set_var_marked(list, i, value->u.logical);
    else report_with_value(msg::kKindMismatch, value, msg::kMismatchTail, target);
    raise(list, i, RTOVARLST_CHG_MARKED);
}

// The record becomes the pair: a positive number in mask1, a negative one's magnitude in mask2.
void assign_modified(rtvarlst_t *list, int32_t i, const char *target, const value_t *value) {
    const num &n = value->u.number;
    if (value->value_type != number_value || !n.is_int || n.undefined) {
        report_with_value(msg::kKindMismatch, value, msg::kMismatchTail, target);
        return;
    }
    const int64_t m = n.ival;
    const rtvarmod_t pair = {m > 0 ? static_cast<uint32_t>(m) : 0u, m < 0 ? static_cast<uint32_t>(-m) : 0u};
    rtovarlst_set_var_modified(list, i, &pair);
}

// PHYSICAL_TYPE: a type name; also the connection type when the name is one.
void assign_physical_type(rtvarlst_t *list, int32_t i, const char *target, const value_t *value) {
    value_t name;
    if (word_of(value, &name, string_value, target)) {
        const int p = pt_lookup(name.u.text);
        if (p < 0) {
            report_with_value(msg::kPtypeHead, value, msg::kPtypeTail, target);
        } else {
            report_with_value(msg::kPtypeWarnHead, value, msg::kPtypeWarnTo, target);
            report("%s", msg::kPtypeWarnTail);
            rtovarlst_set_physical_type(list, i, p);
            set_conn_type_of_word(list, i, name.u.text);
        }
        value_destroy(&name);
    }
    raise(list, i, RTOVARLST_CHG_PHYSICAL_TYPE);
}

// QUALITY, PARAM, RAMPED: an identifier out of a short list.
void assign_choice(rtvarlst_t *list, int32_t i, int code, const char *target, const value_t *value) {
    value_t word;
    if (!word_of(value, &word, identifier_value, target)) return;
    const int32_t c = code == kQuality ? zarn::varmask::word_code(zarn::varmask::kQualityWords, word.u.text)
                                          : zarn::varmask::word_code(zarn::varmask::kYesNoWords, word.u.text);
    if (c >= 0 && code == kQuality) rtovarlst_set_var_quality(list, i, c);
    else if (c >= 0 && code == kParam) rtovarlst_set_var_param_homo(list, i, c);
    else if (c >= 0) rtovarlst_set_var_ramped(list, i, c);
    else if (code == kQuality) report(msg::kUnknownQuality, word.u.text);
    else if (code == kParam) report(msg::kUnknownParam, word.u.text);
    else report(msg::kUnknownRamped, word.u.text);
    value_destroy(&word);
}

void assign_var_type(rtvarlst_t *list, int32_t i, const char *target, const value_t *value) {
    value_t word;
    if (!word_of(value, &word, identifier_value, target)) return;
    const int32_t type = varTypeCode(word.u.text);
    if (type < 0) report(msg::kUnknownVarType, word.u.text);
    else rtovarlst_set_var_type(list, i, type, rtovarlst_inq_var_related(list, i));
    value_destroy(&word);
}

void assign_description(rtvarlst_t *list, int32_t i, const char *target, const value_t *value) {
    value_t text;
    if (!word_of(value, &text, string_value, target)) return;
    rtovarlst_set_var_description(list, i, text.u.text);
    value_destroy(&text);
}

void dispatch(rtvarlst_t *list, int32_t i, int code, const char *target, const value_t *value) {
    switch (code) {
    case kValue: case kLower: case kUpper: case kStep: case kScale: case kSbWeight:
    case kInit: case kTarget: case kThreshold: case kChange:
        assign_real(list, i, code, target, value);
        break;
    case kIntScale: case kActiveBound: case kShadowPrice:
        report(msg::kReadOnly, target);
        break;
    case kSpec: assign_spec(list, i, target, value); break;
    case kUnits: assign_unit(list, i, false, target, value); break;
    case kBaseUom: assign_unit(list, i, true, target, value); break;
    case kBound: assign_bound(list, i, target, value); break;
    case kMarked: assign_marked(list, i, target, value); break;
    case kModified: assign_modified(list, i, target, value); break;
    case kQuality: case kParam: case kRamped: assign_choice(list, i, code, target, value); break;
    case kPhysicalType: assign_physical_type(list, i, target, value); break;
    case kDescription: assign_description(list, i, target, value); break;
    case kVarType: assign_var_type(list, i, target, value); break;
    case kConnType: assign_conn_type(list, i, target, value); break;
    default:  // BLOCKPTR
        report(msg::kUnknownAttribute, target);
        break;
    }
}

}  // namespace

double scale_of(rtvarlst_t *list, int32_t i) {
    const double s = rtovarlst_inq_var_scale(list, i);
    return (s == RTOVARLST_UNDEFINED || s == 0.0) ? 1.0 : s;
}

void raise(rtvarlst_t *list, int32_t i, int32_t code) {
    const char *name = rtovarlst_lookup_var_name(list, i);
    rtovarlst_inq_blockptr_docallback(list, i, RTOVARLST_CHANGE_EVENT, name ? name : "", code);
}

void report_with_value(const char *head, const value_t *value, const char *tail, ...) {
    report("%s", head);
    value_print(rtHisDev, value);
    va_list ap;
    va_start(ap, tail);
    (void)zarn::rtopipe::vprint(rtHisDev, tail, ap);
    va_end(ap);
}

}  // namespace zarn::varassign

using namespace zarn::varassign;

extern "C" void rtovarlst_assign_value(rtvarlst_t *list, const char *target, const value_t *value) {
    const char *fault = list == nullptr ? msg::kAssertNullList
                        : value == nullptr ? msg::kAssertNullValue
                        : target == nullptr ? msg::kAssertNullName
                        : !value_okay(value) ? msg::kAssertBadValue
                                             : nullptr;
    if (fault != nullptr) {
        zarn::assert_report(fault, msg::kSource, __LINE__);
        return;
    }
    if (rtovarlst_inq_nvar(list) == 0) {
        report("%s", msg::kNoVariables);
        return;
    }
    Target t;
    split_target(target, &t);
    if (t.too_long) {
        report(msg::kNameTooLong, target);
        return;
    }
    const int32_t i = rtovarlst__varname2index(list, t.name);
    if (i == 0) {
        report(msg::kInvalidName, target);
        value_print(rtHisDev, value);
        report("%s", msg::kNewline);
        return;
    }
    const int code = t.code == kNone ? kValue : t.code;
    dispatch(list, i, code, target, value);
    const Bits &b = kBits[code];
    if (b.mask1 != 0 || b.mask2 != 0) mark_modified(list, i, b);
}
