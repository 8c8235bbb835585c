/* A small flowsheet model held in a variable list: a heater feeding a flash
 * drum. The host names its variables, gives each a physical type and a
 * display unit, sets values in SI and prints them in the display units;
 * it also watches change events, fixes the feed and reaches a unit's
 * variables through a window and an alias. The model's equations (mass,
 * component and energy balances, phase equilibrium) go into an equation
 * list with their scaled residuals at the printed state, and the solver's
 * questions are asked of it: the largest residuals and the norm. */
#include <math.h>
#include <stdio.h>
#include <string.h>

#include "zarnutils/zarnutils.h"

typedef struct {
    const char *suffix; /* variable name after the stream name */
    const char *ptype;  /* physical type */
    const char *unit;   /* display unit */
} Quantity;

static const Quantity kStream[] = {
    {"T", "TEMPERATURE", "F"},           {"P", "PRESSURE", "PSIA"},
    {"MASSFLOW", "MASS-FLOW", "LB/HR"},  {"MOLEFLOW", "MOLE-FLOW", "KMOL/HR"},
    {"Z(C3)", "COMPOSITION", "MOL-FR"},  {"Z(NC4)", "COMPOSITION", "MOL-FR"},
    {"Z(NC5)", "COMPOSITION", "MOL-FR"},
};
#define NQ ((int32_t)(sizeof kStream / sizeof kStream[0]))

static const char *const kStreams[] = {"FEED", "HOT", "VAPOUR", "LIQUID"};
#define NS 4

static int32_t events = 0;
static intptr_t count_change(intptr_t name, intptr_t code, intptr_t handle) {
    (void)name;
    (void)code;
    (void)handle;
    ++events;
    return 0;
}

/* Names variable i, sets its physical type and display unit. */
static void declare(rtvarlst_t *l, int32_t i, const char *name, const char *ptype, const char *unit) {
    int uom = 0;
    int t = pt_lookup(ptype);
    rtovarlst_addvar(l, i, name);
    rtovarlst_set_physical_type(l, i, t);
    rtouom_ptype_locate(unit, t, &uom);
    rtovarlst_set_var_uom(l, i, uom);
}

static void print_var(rtvarlst_t *l, int32_t i) {
    int t = rtovarlst_inq_physical_type(l, i);
    int uom = rtovarlst_inq_var_uom(l, i);
    double si = rtovarlst_inq_var_value(l, i, 1);
    const char *unit = rtouom_uom_name(t, uom);
    if (si == RTOVARLST_UNDEFINED)
        printf("  %-16s %14s   %-8s %s\n", rtovarlst_lookup_var_name(l, i), "undefined", unit,
               varSpecId(rtovarlst_inq_spec(l, i)));
    else
        printf("  %-16s %14.4f   %-8s %s\n", rtovarlst_lookup_var_name(l, i), rtouom_si2pair(si, t, uom),
               unit, varSpecId(rtovarlst_inq_spec(l, i)));
}

/* The value of a named variable in SI. */
static double si(rtvarlst_t *l, const char *name) {
    return rtovarlst_inq_var_value(l, rtovarlst__varname2index(l, name), 1);
}

/* Stream s's component flow of component c (kmol/s). */
static double component_flow(rtvarlst_t *l, const char *stream, const char *component) {
    char name[64];
    snprintf(name, sizeof name, "%s.MOLEFLOW", stream);
    const double flow = si(l, name);
    snprintf(name, sizeof name, "%s.Z(%s)", stream, component);
    return flow * si(l, name);
}

/* Wilson's estimate of a component's K value at T (K) and P (Pa). */
static double k_value(double tc, double pc, double omega, double t, double p) {
    return pc / p * exp(5.373 * (1.0 + omega) * (1.0 - tc / t));
}

/* Names equation i, sets its scale and stores residual / scale. */
static void equation(rtattrdict_t *eqns, int32_t i, const char *name, double residual, double scale) {
    rtoeqnlst_addeqn(eqns, i, name);
    rtoeqnlst_set_eqn_scale(eqns, i, scale);
    rtoeqnlst_vec_residual(eqns)[i - 1] = residual / scale;
}

/* The heater and drum equations, evaluated at the model's values. */
static void flash_equations(rtvarlst_t *model) {
    static const char *const comp[3] = {"C3", "NC4", "NC5"};
    static const double tc[3] = {369.8, 425.1, 469.7}, pc[3] = {42.48e5, 37.96e5, 33.70e5};
    static const double omega[3] = {0.152, 0.200, 0.252};
    const double cp = 150.0e3; /* J/(kmol K), the liquid mixture's molar heat capacity */
    const double feed = si(model, "FEED.MOLEFLOW");
    rtattrdict_t *eqns = rtoeqnlst_create(16);
    int32_t n = 0;
    char name[64];

    rtoeqnlst_set_neqn(eqns, 14);
    equation(eqns, ++n, "HEATER.MASS", si(model, "HOT.MASSFLOW") - si(model, "FEED.MASSFLOW"), 1.0);
    equation(eqns, ++n, "HEATER.ENERGY",
             si(model, "HEATER.DUTY") - feed * cp * (si(model, "HOT.T") - si(model, "FEED.T")), 1.0e5);
    equation(eqns, ++n, "DRUM.MASS",
             si(model, "HOT.MASSFLOW") - si(model, "VAPOUR.MASSFLOW") - si(model, "LIQUID.MASSFLOW"), 1.0);
    equation(eqns, ++n, "DRUM.MOLES",
             si(model, "HOT.MOLEFLOW") - si(model, "VAPOUR.MOLEFLOW") - si(model, "LIQUID.MOLEFLOW"), feed);
    for (int c = 0; c < 3; ++c) {
        snprintf(name, sizeof name, "DRUM.COMP(%s)", comp[c]);
        equation(eqns, ++n, name,
                 component_flow(model, "HOT", comp[c]) - component_flow(model, "VAPOUR", comp[c]) -
                     component_flow(model, "LIQUID", comp[c]),
                 feed);
    }
    double ysum = -1.0, xsum = -1.0;
    for (int c = 0; c < 3; ++c) {
        char zname[32];
        snprintf(zname, sizeof zname, "VAPOUR.Z(%s)", comp[c]);
        const double y = si(model, zname);
        snprintf(zname, sizeof zname, "LIQUID.Z(%s)", comp[c]);
        const double x = si(model, zname);
        const double k = k_value(tc[c], pc[c], omega[c], si(model, "VAPOUR.T"), si(model, "VAPOUR.P"));
        snprintf(name, sizeof name, "DRUM.EQUIL(%s)", comp[c]);
        equation(eqns, ++n, name, y - k * x, 1.0);
        ysum += y;
        xsum += x;
    }
    equation(eqns, ++n, "DRUM.SUMY", ysum, 1.0);
    equation(eqns, ++n, "DRUM.SUMX", xsum, 1.0);
    equation(eqns, ++n, "DRUM.TEQ", si(model, "VAPOUR.T") - si(model, "LIQUID.T"), 100.0);
    equation(eqns, ++n, "DRUM.PEQ", si(model, "VAPOUR.P") - si(model, "LIQUID.P"), 1.0e5);

    /* Only one of the two summations is independent: the host leaves out SUMX. */
    value_t no;
    value_init(&no);
    value_assign_logical(&no, 0);
    rtoeqnlst_assign_value(eqns, "DRUM.SUMX.INCLUDED", &no);

    int32_t top[3];
    double norm = 0.0;
    rtoeqnlst_inq_max_residuals(eqns, 1, n, 3, 0, top);
    rtoeqnlst_norm(eqns, 1, n, &norm);
    printf("\n%d equations, %d included; scaled residuals at this state: norm %.4g\n",
           rtoeqnlst_inq_neqn(eqns), rtoeqnlst_inq_neqn_active(eqns), norm);
    printf("  %-16s %14s %12s\n", "largest", "residual", "scale");
    for (int k = 0; k < 3 && top[k] != 0; ++k)
        printf("  %-16s %14.4g %12.4g\n", rtoeqnlst_lookup_eqn_name(eqns, top[k]),
               rtoeqnlst_inq_eqn_value(eqns, top[k]), rtoeqnlst_inq_eqn_scale(eqns, top[k]));
    value_destroy(&no);
    rtoeqnlst_destroy(&eqns);
}

int main(void) {
    const int32_t n = NS * NQ + 3;
    rtvarlst_t *model = rtovarlst_create(n);
    char name[64];
    int32_t i = 0;

    rtoevent_create_callbacks(32);
    rtoevent_set_callback(RTOVARLST_CHANGE_EVENT, count_change);
    rtovarlst_set_nvar(model, n);
    for (int s = 0; s < NS; ++s)
        for (int q = 0; q < NQ; ++q) {
            snprintf(name, sizeof name, "%s.%s", kStreams[s], kStream[q].suffix);
            declare(model, ++i, name, kStream[q].ptype, kStream[q].unit);
        }
    declare(model, ++i, "HEATER.DUTY", "ENTHALPY-FLO", "BTU/HR");
    declare(model, ++i, "DRUM.VOLUME", "VOLUME", "CUFT");
    declare(model, ++i, "DRUM.LEVEL", "LENGTH", "FT");

    /* The drum temperature is kept in C inside the list; SI goes in and out all the same. */
    rtovarlst_set_var_baseuom(model, rtovarlst__varname2index(model, "VAPOUR.T"), 4);

    /* Values in SI (K, Pa, kg/s, kmol/s, mole fractions, W, m3, m). */
    const double feed[NQ] = {300.0, 1.2e6, 2.5, 0.045, 0.30, 0.45, 0.25};
    const double hot[NQ] = {360.0, 1.1e6, 2.5, 0.045, 0.30, 0.45, 0.25};
    const double vap[NQ] = {345.0, 1.0e6, 1.1, 0.020, 0.52, 0.38, 0.10};
    const double liq[NQ] = {345.0, 1.0e6, 1.4, 0.025, 0.12, 0.51, 0.37};
    const double *all[NS] = {feed, hot, vap, liq};
    for (int s = 0; s < NS; ++s)
        for (int q = 0; q < NQ; ++q) rtovarlst_set_var_value(model, s * NQ + q + 1, all[s][q], 1);
    rtovarlst_set_var_value(model, rtovarlst__varname2index(model, "HEATER.DUTY"), 4.2e5, 1);
    rtovarlst_set_var_value(model, rtovarlst__varname2index(model, "DRUM.VOLUME"), 12.0, 1);

    /* The feed is specified; everything else is calculated. */
    for (int q = 1; q <= NQ; ++q) rtovarlst_fix_var(model, q);

    printf("Flash model: %d variables, %d change events while setting values\n", rtovarlst_inq_nvar(model),
           events);
    printf("  %-16s %14s   %-8s %s\n", "variable", "value", "unit", "spec");
    for (int32_t k = 1; k <= rtovarlst_inq_nvar(model); ++k) print_var(model, k);

    /* The vapour stream as a window of its own, and an alias for its temperature. */
    rtvarlst_t *vapour = rtovarlst_create_sublist(model, 2 * NQ + 1);
    rtotaglst_t *aliases = rtotaglst_create(4);
    rtotaglst_add_tag(aliases, "TV", "VAPOUR.T");
    rtovarlst_set_taglst(model, aliases);
    int32_t tv = rtovarlst__varname2index(model, "TV");
    printf("\nalias TV is variable %d (%s), held as %.2f %s, %.2f K in SI\n", tv,
           rtovarlst_lookup_var_name(model, tv), rtovarlst_inq_var_value(model, tv, 0),
           rtouom_uom_name(22, rtovarlst_inq_var_baseuom(model, tv)), rtovarlst_inq_var_value(model, tv, 1));
    printf("the vapour window starts at item %d of the model; its item 1 is %s\n",
           rtovarlst_super_index(vapour, 1), rtovarlst_lookup_var_name(vapour, 1));

    /* Solvers work on whole columns. */
    const double *x = rtovarlst_vec_value(model);
    double zsum = 0.0;
    for (int q = 4; q < NQ; ++q) zsum += x[2 * NQ + q];
    printf("vapour mole fractions sum to %.3f\n", zsum);

    rtovarlst_delete_sublist(&vapour);
    flash_equations(model);
    rtovarlst_destroy_c(&model);
    rtotaglst_destroy(aliases);
    rtoevent_destroy_callbacks();
    return 0;
}
