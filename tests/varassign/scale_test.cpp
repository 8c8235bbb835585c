// The internal scale and the base unit in assignment and lookup: a quantity is
// held in the variable's base unit divided by its internal scale (an undefined,
// zero or non-finite scale counting as 1), and lookup gives back what was assigned.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "capture.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/varassign.h"

namespace {

constexpr double kUndefined = 1e35;

int unit_of(const char *type, const char *name) {
    int uom = 0;
    rtouom_ptype_locate(name, pt_lookup(type), &uom);
    EXPECT_NE(uom, 0) << type << " has no unit " << name;
    return uom;
}

// One variable X of a physical type, shown and held in named units, with an internal scale.
struct OneVariable {
    rtvarlst_t *list = rtovarlst_create(1);
    OneVariable(const char *type, const char *display, const char *base, double scale) {
        rtovarlst_set_nvar(list, 1);
        rtovarlst_addvar(list, 1, "X");
        rtovarlst_set_physical_type(list, 1, pt_lookup(type));
        rtovarlst_set_var_uom(list, 1, unit_of(type, display));
        rtovarlst_set_var_baseuom(list, 1, unit_of(type, base));
        rtovarlst_vec_scale(list)[0] = scale;
    }
    ~OneVariable() { rtovarlst_destroy_c(&list); }
};

// Assigns an SI number of the given type to target.
void assign_si(rtvarlst_t *list, const char *target, double si, const char *type, const char *unit) {
    value_t v;
    value_init(&v);
    value_assign_double(&v, si, pt_lookup(type), unit_of(type, unit));
    rtovarlst_assign_value(list, target, &v);
    value_destroy(&v);
}

// The SI number lookup gives for target, or NaN when it gives no number.
double lookup_si(rtvarlst_t *list, const char *target) {
    value_t v;
    value_init(&v);
    rtovarlst_lookup_value(list, target, &v);
    const double x =
        v.value_type == number_value ? v.u.number.rval : std::numeric_limits<double>::quiet_NaN();
    value_destroy(&v);
    return x;
}

struct ScaleRow {
    const char *name;
    const char *type, *display, *base;
    double scale;
    const char *unit;    // the unit the assigned number is shown in
    double assigned_si;  // the quantity assigned, in SI
    double held;         // what the list then holds for VALUE
};

TEST(AssignScale, ValueIsHeldInTheBaseUnitDividedByTheScaleAndLookedUpAsAssigned) {
    const double f_of_300k = 300.0 * 1.8 - 459.67;  // 80.33 F
    const ScaleRow rows[] = {
        {"offset base unit, scale 2", "TEMPERATURE", "F", "F", 2.0, "K", 300.0, f_of_300k / 2},
        {"offset base unit, undefined scale counts as 1", "TEMPERATURE", "F", "F", kUndefined, "K", 300.0,
         f_of_300k},
        {"offset base unit, zero scale counts as 1", "TEMPERATURE", "C", "F", 0.0, "C", 300.0, f_of_300k},
        {"base unit FT, scale 4", "LENGTH", "METER", "FT", 4.0, "METER", 3.048, 10.0 / 4},
        {"SI base unit, infinite scale counts as 1", "LENGTH", "METER", "METER", HUGE_VAL, "METER", 2.5, 2.5},
    };
    for (const ScaleRow &row : rows) {
        OneVariable x(row.type, row.display, row.base, row.scale);
        assign_si(x.list, "X.VALUE", row.assigned_si, row.type, row.unit);
        EXPECT_NEAR(rtovarlst_inq_var_value(x.list, 1, 0), row.held, 1e-9) << row.name << ": held VALUE";
        EXPECT_NEAR(lookup_si(x.list, "X.VALUE"), row.assigned_si, 1e-9) << row.name << ": looked-up VALUE";
    }
}

TEST(AssignScale, ChangeIsAHeldDifferenceBroughtBackWithoutOffset) {
    OneVariable x("TEMPERATURE", "F", "F", 2.0);
    rtovarlst_set_var_value(x.list, 1, 40.0, 0);    // 80 F
    rtovarlst_set_var_initial(x.list, 1, 30.0, 0);  // 60 F
    EXPECT_NEAR(lookup_si(x.list, "X.CHANGE"), 20.0 / 1.8, 1e-9) << "20 F of difference in kelvin";
}

// CHANGE moves INIT in the base unit: a flag saying "in SI" would store 7 m (22.97 FT).
TEST(AssignScale, ChangeMovesInitInTheBaseUnit) {
    OneVariable x("LENGTH", "FT", "FT", 1.0);
    rtovarlst_set_var_value(x.list, 1, 10.0, 0);
    assign_si(x.list, "X.CHANGE", 3 * 0.3048, "LENGTH", "FT");
    EXPECT_NEAR(rtovarlst_inq_var_initial(x.list, 1, 0), 7.0, 1e-9)
        << "INIT held in FT after X.CHANGE = 3 FT";
}

}  // namespace
