// Assignment by name: the checks of the target, the dispatch by attribute,
// the word-valued attributes and the modification bits.
#include <cstdarg>
#include <cstring>

#include "platform/zassert.h"
#include "rtopipe/report.h"
#include "varassign/varassign_internal.h"
#include "varassign/varassign_messages.h"
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

// Modification bits (mask1, mask2) of an attribute; none for the read-only,
// unknown and MODIFIED attributes, which leave the record alone.
struct Bits {
    uint32_t mask1, mask2;
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
        if (p != 0)
            rtouom_ptype_locate(name.u.text, p, &uom);
        else
            rtouom_locate(name.u.text, &found_type, &uom);
        if (uom == 0) {
            report_with_value(msg::kUomHead, value, msg::kUomTail, target);
        } else {
            if (p == 0) rtovarlst_set_physical_type(list, i, found_type);
            if (base)
                rtovarlst_set_var_baseuom(list, i, uom);
            else
                rtovarlst_set_var_uom(list, i, uom);
            if (p == 0) raise(list, i, RTOVARLST_CHG_PHYSICAL_TYPE);
        }
        value_destroy(&name);
    }
    raise(list, i, base ? RTOVARLST_CHG_BASEUOM : RTOVARLST_CHG_UOM);
}

void assign_marked(rtvarlst_t *list, int32_t i, const char *target, const value_t *value) {
    if (value->value_type == logical_value)
        rtovarlst_set_var_marked(list, i, value->u.logical);
    else
        report_with_value(msg::kKindMismatch, value, msg::kMismatchTail, target);
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

void assign_description(rtvarlst_t *list, int32_t i, const char *target, const value_t *value) {
    value_t text;
    if (!word_of(value, &text, string_value, target)) return;
    rtovarlst_set_var_description(list, i, text.u.text);
    value_destroy(&text);
}

void dispatch(rtvarlst_t *list, int32_t i, int row, const char *target, const value_t *value) {
    switch (row) {
        case ac::kRowValue:
        case ac::kRowLower:
        case ac::kRowUpper:
        case ac::kRowStep:
        case ac::kRowScale:
        case ac::kRowSbweight:
        case ac::kRowInit:
        case ac::kRowTarget:
        case ac::kRowThreshold:
        case ac::kRowChange:
            assign_real(list, i, row, target, value);
            break;
        case ac::kRowIntscale:
        case ac::kRowActiveBound:
        case ac::kRowShadowPrice:
            report(msg::kReadOnly, target);
            break;
        case ac::kRowSpec:
        case ac::kRowBound:
        case ac::kRowQuality:
        case ac::kRowParam:
        case ac::kRowRamped:
        case ac::kRowVarType:
        case ac::kRowConnType:
            assign_coded(list, i, row, target, value);
            break;
        case ac::kRowUnits:
            assign_unit(list, i, false, target, value);
            break;
        case ac::kRowBaseuom:
            assign_unit(list, i, true, target, value);
            break;
        case ac::kRowMarked:
            assign_marked(list, i, target, value);
            break;
        case ac::kRowModified:
            assign_modified(list, i, target, value);
            break;
        case ac::kRowPhysicalType:
            assign_physical_type(list, i, target, value);
            break;
        case ac::kRowDescription:
            assign_description(list, i, target, value);
            break;
        default:  // BLOCKPTR
            report(msg::kUnknownAttribute, target);
            break;
    }
}

}  // namespace

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
    const char *fault = list == nullptr      ? msg::kAssertNullList
                        : value == nullptr   ? msg::kAssertNullValue
                        : target == nullptr  ? msg::kAssertNullName
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
    const int row = t.row == ac::kNoRow ? ac::kRowValue : t.row;
    dispatch(list, i, row, target, value);
    const Bits b = {ac::kRows[row].modified1, ac::kRows[row].modified2};
    if (b.mask1 != 0 || b.mask2 != 0) mark_modified(list, i, b);
}
