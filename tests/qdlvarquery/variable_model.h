// A block of a few hundred variables on a real variable list, made from
// plain rows (names with the block's prefix, every specification, bounds,
// units, internal scales, modification masks, aliases), with the variable
// engine over it. Each row also gives what a query should see, worked out
// here from the rows, so that a test can compare the engine with a loop.
#ifndef ZARN_TESTS_QDLVARQUERY_VARIABLE_MODEL_H
#define ZARN_TESTS_QDLVARQUERY_VARIABLE_MODEL_H

#include <cmath>
#include <string>
#include <vector>

#include "fake_model.h"
#include "zarnutils/qdlquery.hpp"
#include "zarnutils/rtcontext.h"
#include "zarnutils/rttaglst.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/varutl.h"

namespace zarn::test {

inline constexpr double kUndef = 1e35;

// One variable as made, in SI (reals) and codes.
struct VarRow {
    std::string name;
    int32_t spec, ptype, uom, baseuom;
    double intscale;  // the internal scale; kUndef for none (counts as 1)
    double value, init, lower, upper, step, slvscale, sbweight, shadow, target, threshold;
    int32_t quality, bound, active_bound, param_homo, var_type, conn_type, marked, ramped;
    std::string description;  // "" for none
    uint32_t modified1, modified2;
    bool has_modified;
};

// What the rows say a query sees: reals in the display unit.
struct Seen {
    double value, init, lower, upper, step, slvscale, sbweight, intscale, shadow, target, threshold, change;
    std::string uom, baseuom, ptype_name, stripped;
    bool in_block;  // the name begins with the block's prefix
};

inline const char *const kPrefix = "B1";

// The display names of the units the rows use, by (type, index); index 0
// is the default, which is SI at load.
inline std::string unit_name_of(int32_t ptype, int32_t uom) {
    struct Unit {
        int32_t ptype, uom;
        const char *name;
    };
    static const Unit units[] = {{0, 0, "*"},      {0, 1, "*"},    {20, 0, "N/SQM"}, {20, 1, "N/SQM"},
                                 {20, 2, "PSIA"},  {20, 3, "ATM"}, {20, 5, "BAR"},   {22, 0, "K"},
                                 {22, 1, "K"},     {22, 2, "F"},   {22, 4, "C"},     {17, 0, "METER"},
                                 {17, 1, "METER"}, {17, 2, "FT"},  {17, 4, "CM"}};
    for (const Unit &u : units)
        if (u.ptype == ptype && u.uom == uom) return u.name;
    return "?";
}

inline std::string type_name_of(int32_t ptype) {
    return ptype == 20 ? "PRESSURE" : ptype == 22 ? "TEMPERATURE" : ptype == 17 ? "LENGTH" : "UNTYPED";
}

// The rows: variable k (1-based) follows simple rules of k.
inline std::vector<VarRow> make_rows(int32_t n) {
    std::vector<VarRow> rows;
    for (int32_t k = 1; k <= n; ++k) {
        VarRow r{};
        r.name = k % 40 == 7
                     ? "OTHER.Y" + std::to_string(k)
                     : std::string(kPrefix) + ".S" + std::to_string(k % 9) + ".X(" + std::to_string(k) + ")";
        r.spec = k % 8;
        static const int32_t types[] = {0, 20, 22, 17};
        r.ptype = types[k % 4];
        static const int32_t pressure_units[] = {0, 3, 5}, temperature_units[] = {0, 4, 2},
                             length_units[] = {0, 2, 4};
        r.uom = r.ptype == 20   ? pressure_units[k % 3]
                : r.ptype == 22 ? temperature_units[k % 3]
                : r.ptype == 17 ? length_units[k % 3]
                                : 0;
        r.baseuom = (k % 6 == 0 || k % 6 == 3) && r.ptype != 0 ? 2 : 1;
        r.intscale = k % 5 == 0 ? 2.5 : kUndef;
        r.value = ((k * 37) % 41) - 20.0 + 0.25;
        // Values at the tolerance's edges, on untyped variables (shown as held).
        if (k == 4) r.value = 1.0000005;
        if (k == 8) r.value = 1.00001;
        if (k == 12) r.value = 0.999999999;
        if (k == 16) r.value = 1.0;
        if (k == 24) r.value = 0.9999985;
        if (k == 28) r.value = 1.0000015;
        r.init = k % 3 == 0 ? kUndef : r.value - 0.5 * (k % 4);
        r.lower = k % 10 == 3 ? kUndef : r.value - (k % 7) - 1.0;
        r.upper = k % 13 == 0 ? 1e20 : r.value + (k % 5) + 1.0;
        r.step = k % 4 == 1 ? 0.1 * k : kUndef;
        r.slvscale = 1.0 + k % 3;
        r.sbweight = k % 2 == 1 ? 0.5 * k : kUndef;
        r.shadow = 0.01 * k - 1.0;
        r.target = k % 7 == 0 ? 5.0 : kUndef;
        r.threshold = k % 9 == 0 ? 0.25 * k : kUndef;
        r.quality = k % 11 == 0 ? 1 : k % 11 == 5 ? 2 : k % 23 == 3 ? 3 : 0;
        r.bound = k % 4;
        r.active_bound = k % 18;
        r.param_homo = k % 5 == 2 ? 1 : 0;
        r.var_type = k % 10 == 1 ? 3 : k % 10 == 2 ? 5 : k % 25 == 4 ? 64 : 0;
        static const int32_t conn[] = {0, 20, 22, 1003, 9, 1001};
        r.conn_type = conn[k % 6];
        r.marked = k % 3 == 0 ? 1 : 0;
        r.ramped = k % 7 == 3 ? 1 : 0;
        r.description = k % 10 == 0   ? "Feed temperature " + std::to_string(k)
                        : k % 10 == 5 ? "flow of B1 " + std::to_string(k)
                                      : "";
        r.has_modified = k % 6 >= 1 && k % 6 <= 4;
        r.modified1 = k % 6 == 1 ? 2u : k % 6 == 2 ? 256u : k % 6 == 4 ? 4u | 8u : 0u;
        r.modified2 = k % 6 == 3 ? 2u : 0u;
        rows.push_back(r);
    }
    return rows;
}

inline double effective(double s) { return s == kUndef || s == 0.0 ? 1.0 : s; }

// A quantity in SI as the list holds it: in the base unit, divided by the scale.
inline double held_of(const VarRow &r, double si, bool difference) {
    if (si == kUndef) return kUndef;
    const double base = r.baseuom == 1 ? si
                        : difference   ? rtouom_delta_si2pair(si, r.ptype, r.baseuom)
                                       : rtouom_si2pair(si, r.ptype, r.baseuom);
    return base / effective(r.intscale);
}

inline double shown_of(const VarRow &r, double si, bool difference) {
    if (si == kUndef) return kUndef;
    return difference ? rtouom_delta_si2pair(si, r.ptype, r.uom) : rtouom_si2pair(si, r.ptype, r.uom);
}

inline Seen seen_of(const VarRow &r) {
    Seen s{};
    s.value = shown_of(r, r.value, false);
    s.init = shown_of(r, r.init, false);
    s.lower = shown_of(r, r.lower, false);
    s.upper = shown_of(r, r.upper, false);
    s.step = shown_of(r, r.step, true);
    s.slvscale = shown_of(r, r.slvscale, true);
    s.sbweight = r.sbweight;
    s.intscale = r.intscale;
    s.shadow = r.shadow;
    s.target = shown_of(r, r.target, false);
    s.threshold = shown_of(r, r.threshold, false);
    s.change = s.init == kUndef ? kUndef : s.value - s.init;
    s.uom = unit_name_of(r.ptype, r.uom);
    s.baseuom = unit_name_of(r.ptype, r.baseuom);
    s.ptype_name = type_name_of(r.ptype);
    const std::string prefix = std::string(kPrefix);
    s.in_block = r.name.compare(0, prefix.size(), prefix) == 0;
    s.stripped = s.in_block ? r.name.substr(prefix.size() + (r.name[prefix.size()] == '.' ? 1 : 0)) : "";
    return s;
}

// The list, the block and container over it, and the variable engine.
struct VariableModel {
    std::vector<VarRow> rows;
    std::vector<Seen> seen;
    rtvarlst_t *list = nullptr;
    rtotaglst_t *tags = nullptr;
    FakeBlock block;
    FakeContainer container;
    FakeVariableSource source;
    IQDLQueryEngine *engine = nullptr;
    int32_t saved_mode;

    explicit VariableModel(int32_t n) : rows(make_rows(n)), saved_mode(rtopt_mode) {
        rtopt_mode = 0;
        list = rtovarlst_create(n);
        rtovarlst_set_nvar(list, n);
        for (int32_t k = 1; k <= n; ++k) Fill(k, rows[static_cast<size_t>(k - 1)]);
        for (const VarRow &r : rows) seen.push_back(seen_of(r));
        tags = rtotaglst_create(4);
        rtotaglst_add_tag(tags, "TOP", rows[8].name.c_str());
        rtotaglst_add_tag(tags, "FEED", rows[9].name.c_str());
        rtovarlst_set_taglst(list, tags);
        block.objects.list = list;
        block.objects.prefix = kPrefix;
        source.list = list;
        source.objectives["OBJ"] = {3, 30, 300, 0, n + 5};
        container.source = &source;
        engine = QDLQueryFactory::NewVariableQuery(&container, &block);
    }
    ~VariableModel() {
        if (engine != nullptr) engine->Release();
        rtovarlst_destroy_c(&list);
        rtotaglst_destroy(tags);
        rtopt_mode = saved_mode;
    }
    VariableModel(const VariableModel &) = delete;
    VariableModel &operator=(const VariableModel &) = delete;

    void Fill(int32_t k, const VarRow &r) {
        rtovarlst_addvar(list, k, r.name.c_str());
        int64_t word = 0;
        varSetSpec(&word, r.spec);
        varSetPhysicalType(&word, r.ptype);
        varSetBoundType(r.bound, &word);
        varSetType(r.var_type, &word);
        varSetMarked(static_cast<unsigned char>(r.marked), &word);
        rtovarlst_set_var_status(list, k, word);
        rtovarlst_set_var_uom(list, k, r.uom);
        rtovarlst_set_var_baseuom(list, k, r.baseuom);
        rtovarlst_vec_scale(list)[k - 1] = r.intscale;
        rtovarlst_set_var_value(list, k, held_of(r, r.value, false), 0);
        rtovarlst_set_var_initial(list, k, held_of(r, r.init, false), 0);
        rtovarlst_set_var_lower(list, k, held_of(r, r.lower, false), 0);
        rtovarlst_set_var_upper(list, k, held_of(r, r.upper, false), 0);
        rtovarlst_set_var_step_inbaseuom(list, k, held_of(r, r.step, true));
        rtovarlst_set_var_slvscl(list, k, held_of(r, r.slvscale, true), 0);
        rtovarlst_set_var_sbweight(list, k, r.sbweight);
        rtovarlst_set_var_shadow_price(list, k, r.shadow, 1);
        rtovarlst_set_var_target_homo(list, k, held_of(r, r.target, false), 0);
        rtovarlst_set_var_threshold(list, k, held_of(r, r.threshold, false), 0);
        rtovarlst_set_var_quality(list, k, r.quality);
        rtovarlst_set_var_active_bound(list, k, r.active_bound);
        rtovarlst_set_var_param_homo(list, k, r.param_homo);
        rtovarlst_set_var_conn_type(list, k, r.conn_type);
        rtovarlst_set_var_ramped(list, k, r.ramped);
        if (!r.description.empty()) rtovarlst_set_var_description(list, k, r.description.c_str());
        if (r.has_modified) {
            const rtvarmod_t m{r.modified1, r.modified2};
            rtovarlst_set_var_modified(list, k, &m);
        }
    }

    // The engine's results after Execute; {-1} when the text does not parse.
    std::vector<int32_t> Run(const char *text) {
        if (!engine->SetQueryText(text)) return {-1};
        engine->Execute();
        return Results();
    }
    std::vector<int32_t> Results() {
        std::vector<int32_t> out;
        for (int32_t i = 0; i < engine->NumResults(); ++i) out.push_back(engine->ResultAt(i));
        return out;
    }
    // The numbers of the rows that pass, in order.
    template <class Pass>
    std::vector<int32_t> Expected(Pass pass) const {
        std::vector<int32_t> out;
        for (size_t k = 0; k < rows.size(); ++k)
            if (pass(rows[k], seen[k])) out.push_back(static_cast<int32_t>(k + 1));
        return out;
    }
};

}  // namespace zarn::test

#endif
