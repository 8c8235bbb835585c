// Assignment of the real attributes: the value's number is brought to the
// variable's base unit (or taken as read in its display unit), divided by the
// internal scale and stored.
#include <cmath>

#include "rtopipe/report.h"
#include "varassign/varassign_internal.h"
#include "varassign/varassign_messages.h"
#include "zarnutils/rtuom.h"

namespace zarn::varassign {

namespace {

// The number of a value, in SI unless untyped: v, its type q and display unit qu.
struct Quantity {
    double v;
    int q, qu;
};

// false when the value is no defined number; an integer is an untyped real.
bool quantity_of(const value_t *value, Quantity *out) {
    value_t n;
    const num *given = nullptr;
    if (value != nullptr && value->value_type == number_value) {
        given = &value->u.number;  // read in place: coercing a number only copies it
    } else if (coerce(value, &n, number_value)) {
        given = &n.u.number;
    }
    if (given == nullptr || given->undefined) return false;
    const num &x = *given;
    if (x.is_int) {
        *out = {static_cast<double>(x.ival), 0, 0};
        return true;
    }
    *out = {x.rval, x.ptype, x.uom};
    const bool marker = x.ptype == RTOUOM_SI_MARKER || x.ptype == RTOUOM_SSI_MARKER;
    const int held_in = marker ? 1 : numBaseUom(&x, x.ptype);
    if (held_in != 1) out->v = rtouom_pair2si(x.rval, x.ptype, held_in);
    return true;
}

// The value's type agrees with p: an equal type, or its unit is one of p's.
bool agrees(int p, const Quantity &a) {
    if (rtouom_ptype_equal(a.q, p)) return true;
    const char *unit = rtouom_uom_name(a.q, a.qu);
    int k = 0;
    if (unit != nullptr) rtouom_ptype_locate(unit, p, &k);
    return k != 0;
}

bool differs_in_type(int row) { return (ac::kRows[row].flags & ac::kDifference) != 0; }

void store(rtvarlst_t *list, int32_t i, int row, double x) {
    switch (row) {
        case ac::kRowValue:
            rtovarlst_set_var_value(list, i, x, 0);
            break;
        case ac::kRowLower:
            rtovarlst_set_var_lower(list, i, x, 0);
            break;
        case ac::kRowUpper:
            rtovarlst_set_var_upper(list, i, x, 0);
            break;
        case ac::kRowScale:
            rtovarlst_set_var_slvscl(list, i, x, 0);
            break;
        case ac::kRowInit:
            if (rtovarlst_inq_var_initial(list, i, 0) == x) break;
            rtovarlst_set_var_initial(list, i, x, 0);
            raise(list, i, RTOVARLST_CHG_INIT);
            break;
        case ac::kRowStep:
            rtovarlst_set_var_step_inbaseuom(list, i, std::fabs(x));
            raise(list, i, RTOVARLST_CHG_STEP);
            break;
        case ac::kRowTarget:
            rtovarlst_set_var_target_homo(list, i, x, 0);
            break;
        case ac::kRowThreshold:
            rtovarlst_set_var_threshold(list, i, x, 0);
            break;
        default: {  // CHANGE: INIT moves so that VALUE - INIT is x
            const double value = rtovarlst_inq_var_value(list, i, 0);
            if (value == RTOVARLST_UNDEFINED) {
                const char *name = rtovarlst_lookup_var_name(list, i);
                zarn::rtopipe::report(msg::kChangeUndefined, name, name);
                break;
            }
            if (rtovarlst_inq_var_initial(list, i, 0) != value - x)
                rtovarlst_set_var_initial(list, i, value - x, 0);
            raise(list, i, RTOVARLST_CHG_CHANGE);
            break;
        }
    }
}

}  // namespace

int display_uom(int ptype, int uom) {
    const int t = ptype < 0 ? -ptype : ptype;
    return (t < RTOUOM_NTYPES && uom > rtouom_count[t]) ? 0 : uom;
}

void assign_real(rtvarlst_t *list, int32_t i, int row, const char *target, const value_t *value) {
    Quantity a;
    if (!quantity_of(value, &a)) {
        mismatch(value, target);
        return;
    }
    if (row == ac::kRowSbweight) {
        rtovarlst_set_var_sbweight(list, i, a.v);
        raise(list, i, RTOVARLST_CHG_SBWEIGHT);
        return;
    }
    double x = a.v;
    const zarn::rtvarlst::ItemUnits item = zarn::rtvarlst::item_units(list, i);
    if (a.q == RTOUOM_SI_MARKER) {
        x = a.v / item.scale;
    } else if (a.q != RTOUOM_SSI_MARKER) {
        int p = item.ptype;
        int u = item.uom;
        if (differs_in_type(row)) {
            p = rtouom_delta_ptype(p);
            u = display_uom(p, u);
        }
        const int b = item.baseuom;
        if (p != 0 && (a.q != 0 || rtouom_strict_uom_checking)) {
            if (!agrees(p, a)) {
                zarn::rtopipe::report(msg::kPtypeMismatch, target, p, a.q);
                return;
            }
            if (b != 1) x = rtouom_si2pair(x, p, b);
        } else if (a.q != 0) {
            rtovarlst_set_physical_type(list, i, a.q);
            raise(list, i, RTOVARLST_CHG_PHYSICAL_TYPE);
        } else {
            x = rtouom_pair2si(x, p, u);
            if (b != 1) x = rtouom_si2pair(x, p, b);
        }
        x /= item.scale;
    }
    store(list, i, row, x);
}

}  // namespace zarn::varassign
