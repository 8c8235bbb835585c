// The printed form of values and the display of numbers in their units.
#include <climits>
#include <cmath>

#include "rtvalue/rtvalue_internal.h"
#include "rtvalue/rtvalue_messages.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/stred.h"

namespace zarn::rtvalue {

namespace {

constexpr int kUntyped = 0;
constexpr int kDimensionless = 44;

void print_number(rtopipe *pipe, const num &n) {
    if (n.undefined)
        rtowritestr(pipe, "!!!Bad Number!!!");
    else if (n.is_int)
        rtoprintf(pipe, "%i", n.ival);
    else if (n.ptype == RTOUOM_SSI_MARKER)
        rtoprintf(pipe, "%g {ssi}", n.rval);
    else if (n.ptype == RTOUOM_SI_MARKER)
        rtoprintf(pipe, "%g {si}", n.rval);
    else
        rtoprintf(pipe, "%g {%s}", display_value(n), display_unit(n));
}

// A bound shown with the integer format: an integer bound as it is, a real
// one in the display unit, cut towards zero and kept inside the int range.
int bound_as_int(const num &value, const num &bound) {
    if (value.is_int) return bound.ival;
    num b = bound;
    b.ptype = value.ptype;
    b.uom = value.uom;
    b.baseuom = value.baseuom;
    const double x = display_value(b);
    if (std::isnan(x)) return 0;
    if (x <= INT_MIN) return INT_MIN;
    if (x >= INT_MAX) return INT_MAX;
    return static_cast<int>(x);
}

void print_value(rtopipe *pipe, const value_t *v);

void print_items(rtopipe *pipe, const gl_list_t *list, bool plain) {
    rtowritestr(pipe, "[");
    bool first = true;
    for (const gl_node_t *n = list ? list->head : nullptr; n; n = n->next) {
        rtowritestr(pipe, first ? " " : " , ");
        first = false;
        const auto *item = static_cast<const value_t *>(n->data);
        const char *t = plain ? text_of(*item) : nullptr;
        if (t)
            rtowritestr(pipe, t);
        else
            print_value(pipe, item);
    }
    rtowritestr(pipe, " ]");
}

}  // namespace

double display_value(const num &n) {
    double x = n.rval;
    const int base = numBaseUom(&n, n.ptype);
    if (base != 1) x = rtouom_pair2si(x, n.ptype, base);
    return rtouom_si2pair(x, n.ptype, n.uom);
}

const char *display_unit(const num &n) {
    if (n.ptype == kUntyped) return "*";
    if (n.ptype == kDimensionless) return "UNITLESS";
    const char *name = rtouom_uom_name(n.ptype, n.uom);
    return name ? name : "";
}

}  // namespace zarn::rtvalue

using namespace zarn::rtvalue;

namespace zarn::rtvalue {
namespace {

// The printed form of a valid value; items are not validated again.
void print_value(rtopipe *pipe, const value_t *v) {
    switch (v->value_type) {
        case undefined_value:
            rtowritestr(pipe, "!!!UNDEFINED!!!");
            break;
        case number_value:
            print_number(pipe, v->u.number);
            break;
        case string_value:
        case glob_value:
        case regexp_value:
            rtowritestr(pipe, v->u.text);
            break;
        case identifier_value:
            stred_write_id(pipe, v->u.text);
            break;
        case logical_value:
            rtowritestr(pipe, v->u.logical ? "TRUE" : "FALSE");
            break;
        case pipe_value:
            rtowritestr(pipe, rtodesc(v->u.pipe));
            break;
        case list_value:
            print_items(pipe, v->u.list, false);
            break;
        case range_value:
            rtoprintf(pipe, "%d : %d", v->u.range.low, v->u.range.high);
            break;
        case enum_value: {
            print_items(pipe, v->u.enumeration.choices, true);
            const auto &e = v->u.enumeration;
            const value_t *item =
                e.index >= 0 ? list_item(e.choices, static_cast<uint32_t>(e.index)) : nullptr;
            const char *cur = item ? text_of(*item) : nullptr;
            rtoprintf(pipe, " The Current Element is %s", cur ? cur : "");
            break;
        }
        case boundednumber_value: {
            const auto &b = v->u.bounded;
            print_number(pipe, b.value);
            rtoprintf(pipe, " Lowerbound = %d : Upperbound= %d", bound_as_int(b.value, b.lower),
                      bound_as_int(b.value, b.upper));
            break;
        }
    }
}

}  // namespace
}  // namespace zarn::rtvalue

extern "C" void value_print(rtopipe *pipe, const value_t *v) {
    if (!v || !value_okay(v)) {
        check(false, msg::kBadValueType, "value_print", __LINE__);
        return;
    }
    print_value(pipe, v);
}
