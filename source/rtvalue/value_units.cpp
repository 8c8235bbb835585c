// The unit operators: "#" chooses the unit a number is shown in and never
// changes its value; "##" reads an untyped number in a unit, or strips the
// unit of a typed one.
#include <cstring>

#include "rtopipe/report.h"
#include "rtvalue/rtvalue_internal.h"
#include "rtvalue/rtvalue_messages.h"
#include "zarnutils/rtuom.h"

namespace zarn::rtvalue {
namespace {

constexpr int kUntyped = 0;

// The tail of the unit messages: the value as printed, then " to {unit}".
void tell_value(const value_t &v, const char *unit) {
    value_print(rtHisDev, &v);
    zarn::rtopipe::report(msg::kToUnit, unit);
}

void tell_unknown(const value_t &v, const char *unit) {
    zarn::rtopipe::report(msg::kUnknownUom, unit);
    tell_value(v, unit);
}

void tell_cannot(const value_t &v, const char *unit) {
    zarn::rtopipe::report("%s", msg::kCannotChange);
    tell_value(v, unit);
}

// The index at which ptype lists exactly name: hint when it names it there,
// else the first from 1; 0 when the type does not list it.
int listed_at(int ptype, const char *name, int hint) {
    if (ptype <= -RTOUOM_NTYPES || ptype >= RTOUOM_NTYPES) return 0;  // the SI markers list nothing
    const int count = rtouom_count[ptype < 0 ? -ptype : ptype];
    auto named = [&](int i) {
        const char *s = rtouom_uom_name(ptype, i);
        return s && std::strcmp(s, name) == 0;
    };
    if (hint >= 1 && hint <= count && named(hint)) return hint;
    for (int i = 1; i <= count; ++i)
        if (named(i)) return i;
    return 0;
}

// n shown in the unit name; false when that cannot be (n unchanged).
bool show_in(num &n, const char *name, int ptype, int uom) {
    if (ptype == n.ptype) {
        n.uom = static_cast<int16_t>(uom);
        return true;
    }
    if (rtouom_coercion_allowed(n.ptype, ptype)) {  // an untyped number takes the unit's type
        n.ptype = static_cast<int16_t>(ptype);
        n.uom = static_cast<int16_t>(uom);
        return true;
    }
    int own = 0;
    rtouom_ptype_locate(name, n.ptype, &own);
    if (!rtouom_ptype_equal(n.ptype, ptype) && own == 0) return false;
    const int at = listed_at(n.ptype, name, uom);
    if (at) n.uom = static_cast<int16_t>(at);
    return at != 0;
}

}  // namespace
}  // namespace zarn::rtvalue

using namespace zarn::rtvalue;

extern "C" {

void value_change_uom(const value_t *l, const value_t *r, value_t *res, IValueContext *ctx) {
    if (!RTVALUE_OPERANDS(l, r, res, "value_change_uom")) return;
    release(res);
    value_t n, unit;
    clear(&n);
    clear(&unit);
    const bool left_ok = coerce_to(*l, &n, number_value, ctx);
    const bool right_ok = coerce_to(*r, &unit, string_value, ctx);
    if (!left_ok || !right_ok) {
        zarn::rtopipe::report(msg::kBadChange, left_ok ? msg::kRightNotUom : msg::kLeftWrong);
    } else {
        const char *name = unit.u.text;
        int ptype = 0, uom = 0;
        rtouom_locate(name, &ptype, &uom);
        if (uom == 0)
            tell_unknown(n, name);
        else if (!show_in(n.u.number, name, ptype, uom))
            tell_cannot(n, name);
        move_into(&n, res);  // the number, shown anew or as it was
    }
    release(&n);
    release(&unit);
}

void value_coerce_uom(const value_t *l, const value_t *r, value_t *res, IValueContext *ctx) {
    if (!RTVALUE_OPERANDS(l, r, res, "value_coerce_uom")) return;
    release(res);
    value_t left;
    clear(&left);
    const bool left_ok = coerce_to(*l, &left, number_value, ctx);
    const bool right_ok = r->value_type == string_value;  // the unit name is not coerced
    if (!left_ok || !right_ok) {
        zarn::rtopipe::report(msg::kBadCoerce, left_ok ? "" : msg::kLeftWrong,
                              right_ok ? "" : msg::kRightWrong);
        return release(&left);
    }
    const char *name = r->u.text;
    int ptype = 0, uom = 0;
    rtouom_locate(name, &ptype, &uom);
    num n = left.u.number;
    if (n.is_int) {  // an integer is taken as a double
        n.rval = n.ival;
        n.is_int = 0;
    }
    const bool typed = n.ptype != kUntyped, unit_typed = ptype != kUntyped;
    if (uom == 0)
        tell_unknown(left, name);
    else if (!typed && unit_typed)
        value_assign_double(res, rtouom_pair2si(n.rval, ptype, uom), ptype, uom);
    else if (typed && !unit_typed)
        value_assign_double(res, display_value(n), kUntyped, 1);
    else if (!typed)
        value_assign_double(res, n.rval, kUntyped, 1);
    else
        zarn::rtopipe::report("%s", msg::kBothTyped);
    release(&left);
}

}  // extern "C"
