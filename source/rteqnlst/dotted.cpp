// Equations in the command language: "NAME.KEYWORD" split at an attribute
// keyword of the catalogue, values assigned to and looked up from it.
#include <cstdarg>
#include <cstring>

#include "platform/zassert.h"
#include "rtattrdict/rtattrdict_sibling.h"
#include "rteqnlst/rteqnlst_internal.h"
#include "rteqnlst/rteqnlst_messages.h"
#include "rtopipe/report.h"
#include "zarnutils/stred.h"
#include "zarnutils/varutl.h"

namespace zarn::rteqnlst {

void split_dotted(const char *text, Dotted *out) {
    constexpr auto kRoom = static_cast<size_t>(rtattrdict::kNameMax);
    const size_t whole = std::strlen(text);
    const char *dot = std::strrchr(text, '.');
    const size_t at = dot != nullptr ? static_cast<size_t>(dot - text) : whole;
    size_t len = whole;
    out->code = kCodeNone;
    if (at > kRoom) {  // no dot in a text too long, or the last dot beyond a name's room
        out->code = kCodeTooLong;
        len = 0;
    } else if (dot != nullptr) {
        const int32_t code = ac::code_of(ac::kEqnAssignWords, dot + 1, whole - at - 1, kCodeNone);
        if (code != kCodeNone) {
            out->code = code;
            len = at;
        } else if (len > kRoom) {
            len = kRoom;  // a plain name: the name buffer keeps what fits
        }
    }
    std::memcpy(out->name, text, len);
    out->name[len] = '\0';
}

namespace {

// The row a code stands for.
int row_of(int code) { return code == kCodeNone ? ac::kEqnAssignDefault : ac::kEqnAssignRows[code]; }

// value converted to kind in out; false (out UNDEFINED) when it does not convert.
bool coerce(const value_t *value, value_t *out, int kind) {
    value_init(out);
    value_coerce(value, out, kind, nullptr);
    if (out->value_type == kind) return true;
    value_destroy(out);
    return false;
}

// The formatted head, the printed value and a line end on the history device.
__attribute__((format(printf, 2, 3))) void report_with_value(const value_t *value, const char *head, ...) {
    va_list ap;
    va_start(ap, head);
    (void)zarn::rtopipe::vprint(rtHisDev, head, ap);
    va_end(ap);
    value_print(rtHisDev, value);
    zarn::rtopipe::report("%s", msg::kNewline);
}

// A defined number as a plain real: an integer's value, a real's number.
bool real_of(const value_t *value, double *out) {
    value_t n;
    if (!coerce(value, &n, number_value)) return false;
    const num x = n.u.number;
    value_destroy(&n);
    if (!x.undefined) *out = x.is_int ? static_cast<double>(x.ival) : x.rval;
    return !x.undefined;
}

// The code of the upper-cased identifier form of value in a word table, or -1.
int32_t word_code(const value_t *value, const ac::WordTable &table) {
    value_t id;
    if (!coerce(value, &id, identifier_value)) return -1;
    stred_upper_case(id.u.text);
    const int32_t code = ac::code_of(table.accepted, id.u.text, std::strlen(id.u.text), -1);
    value_destroy(&id);
    return code;
}

void assign(rtattrdict_t *list, int32_t i, int row, const char *target, const value_t *value) {
    switch (row) {
        case ac::kRowEqnIncluded: {
            value_t flag;
            if (!coerce(value, &flag, logical_value)) return;
            rtoeqnlst_in_exclude_equation(list, i, flag.u.logical);
            value_destroy(&flag);
            return;
        }
        case ac::kRowEqnScale: {
            double scale = 0.0;
            if (real_of(value, &scale)) rtoeqnlst_set_eqn_scale(list, i, scale);
            return;
        }
        case ac::kRowEqnCode: {
            const int32_t type = word_code(value, ac::kMathType);
            int64_t *status = rtoeqnlst_vec_status(list);
            if (type >= 0 && status != nullptr) u3rpmt_c(&status[i - 1], type);
            return;
        }
        case ac::kRowEqnLinearity: {
            const int32_t linear = word_code(value, ac::kLinearity);
            int64_t *status = rtoeqnlst_vec_status(list);
            if (linear >= 0 && status != nullptr) u3rpln_c(&status[i - 1], linear);
            return;
        }
        default:  // the residual and the shadow price
            report_with_value(value, msg::kReadOnly, target);
            return;
    }
}

// A real attribute as a plain number; not set leaves value UNDEFINED.
void put_real(double x, value_t *value) {
    if (x != RTOEQNLST_UNDEFINED) value_assign_double(value, x, 0, 0);
}

void put_word(const ac::WordTable &table, int64_t code, bool lower, value_t *value) {
    const int k = ac::position_of(table, code);
    if (k >= 0) value_assign_copy_of_id(value, lower ? table.lower[k] : table.written[k].keyword);
}

void produce(rtattrdict_t *list, int32_t i, int row, value_t *value) {
    const auto status = static_cast<int32_t>(rtoeqnlst_inq_eqn_status(list, i));
    switch (row) {
        case ac::kRowEqnScale:
            put_real(rtoeqnlst_inq_eqn_scale(list, i), value);
            break;
        case ac::kRowEqnShadowPrice:
            put_real(rtoeqnlst_inq_eqn_shadow_price(list, i), value);
            break;
        case ac::kRowEqnIncluded:
            value_assign_logical(value, u3rinc_c(status));
            break;
        case ac::kRowEqnCode:
            put_word(ac::kMathType, u3rgmt_c(status), false, value);
            break;
        case ac::kRowEqnLinearity:
            put_word(ac::kLinearity, u3rgln_c(status), true, value);
            break;
        default:
            put_real(rtoeqnlst_inq_eqn_value(list, i), value);
            break;
    }
}

}  // namespace

}  // namespace zarn::rteqnlst

using namespace zarn::rteqnlst;

extern "C" {

int32_t rtoeqnlst_equation_object(rtattrdict_t *list, const char *text) {
    if (list == nullptr || text == nullptr) return 0;
    Dotted d;
    split_dotted(text, &d);  // a name too long is empty: no equation
    return rtattrdict_index(list, d.name);
}

void rtoeqnlst_assign_value(rtattrdict_t *list, const char *name, const value_t *value) {
    if (list == nullptr) zarn::assert_report(msg::kAssertAssignList, msg::kSource, __LINE__);
    if (value == nullptr) zarn::assert_report(msg::kAssertAssignValue, msg::kSource, __LINE__);
    if (name == nullptr) zarn::assert_report(msg::kAssertAssignName, msg::kSource, __LINE__);
    if (list == nullptr || value == nullptr || name == nullptr || list->size == 0) return;
    Dotted d;
    split_dotted(name, &d);
    if (d.code == kCodeTooLong) return;
    const int32_t i = rtattrdict_index(list, d.name);
    if (i == 0) {
        report_with_value(value, msg::kInvalidName, name);
        return;
    }
    assign(list, i, row_of(d.code), name, value);
}

void rtoeqnlst_lookup_value(rtattrdict_t *list, const char *name, value_t *value) {
    if (value == nullptr) return;
    value_destroy(value);
    if (list == nullptr || name == nullptr || list->size == 0) return;
    Dotted d;
    split_dotted(name, &d);
    if (d.code == kCodeTooLong) return;
    produce(list, rtattrdict_index(list, d.name), row_of(d.code), value);
}

}  // extern "C"
