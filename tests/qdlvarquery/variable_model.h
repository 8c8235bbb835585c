// A block of a few hundred variables on a real variable list, made from
// plain rows (names with the block's prefix, every SPEC, bounds,
// units, internal scales, modification masks, aliases), with the variable
// engine over it. What a query should see is worked out here from the rows,
// so that a test can compare the engine with a plain loop.
#ifndef ZARN_TESTS_QDLVARQUERY_VARIABLE_MODEL_H
#define ZARN_TESTS_QDLVARQUERY_VARIABLE_MODEL_H

#include <string>
#include <vector>

#include "fake_model.h"
#include "zarnutils/rtcontext.h"
#include "zarnutils/rttaglst.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/varutl.h"

namespace zarn::test {

inline constexpr double kUndef = 1e35;
inline const std::string kPrefix = "B1";

// One variable as made: reals in SI, the rest as codes.
struct VarRow {
    std::string name, description;  // "" for no description
    int32_t spec, ptype, uom, baseuom, quality, bound, active_bound, param_homo, var_type, conn_type, marked;
    double intscale;  // kUndef for none (counts as 1)
    double value, init, lower, upper, step, slvscale, shadow;
    uint32_t modified1, modified2;
};

// What a query sees of a row: reals in the display unit, the unit names,
// and the name without the block's prefix.
struct Seen {
    double value, init, lower, upper, step, slvscale, change;
    std::string uom, baseuom, stripped;
    bool in_block;
};

// The row of variable k follows simple rules of k; a few untyped variables
// sit at the edges of the default tolerance.
inline VarRow make_row(int32_t k) {
    VarRow r{};
    r.name = k % 40 == 7 ? "OTHER.Y" + std::to_string(k)
                         : kPrefix + ".S" + std::to_string(k % 9) + ".X(" + std::to_string(k) + ")";
    r.spec = k % 8;
    const int32_t types[] = {0, 20, 22, 17}, pressure[] = {0, 3, 5}, temperature[] = {0, 4, 2},
                  length[] = {0, 2, 4};
    r.ptype = types[k % 4];
    r.uom = r.ptype == 20   ? pressure[k % 3]
            : r.ptype == 22 ? temperature[k % 3]
            : r.ptype == 17 ? length[k % 3]
                            : 0;
    r.baseuom = k % 3 == 0 && r.ptype != 0 ? 2 : 1;
    r.intscale = k % 5 == 0 ? 2.5 : kUndef;
    r.value = ((k * 37) % 41) - 20.0 + 0.25;
    const double edges[] = {0, 1.0000005, 1.00001, 0.999999999, 1.0, 0.9999985, 1.0000015};
    if (k % 4 == 0 && k <= 24) r.value = edges[k / 4];  // untyped variables
    r.init = k % 3 == 0 ? kUndef : r.value - 0.5 * (k % 4);
    r.lower = k % 10 == 3 ? kUndef : r.value - (k % 7) - 1.0;
    r.upper = k % 13 == 0 ? 1e20 : r.value + (k % 5) + 1.0;
    r.step = k % 4 == 1 ? 0.1 * k : kUndef;
    r.slvscale = 1.0 + k % 3;
    r.shadow = 0.01 * k - 1.0;
    r.quality = k % 11 == 0 ? 1 : k % 23 == 3 ? 3 : 0;
    r.bound = k % 4;
    r.active_bound = k % 18;
    r.param_homo = k % 5 == 2 ? 1 : 0;
    r.var_type = k % 10 == 1 ? 3 : k % 25 == 4 ? 64 : 0;
    const int32_t conn[] = {0, 20, 22, 1003, 9, 1001};
    r.conn_type = conn[k % 6];
    r.marked = k % 3 == 0 ? 1 : 0;
    if (k % 10 == 0) r.description = "Feed temperature " + std::to_string(k);
    if (k % 10 == 5) r.description = "flow of B1 " + std::to_string(k);
    r.modified1 = k % 6 == 1 ? 2u : k % 6 == 2 ? 256u : 0u;
    r.modified2 = k % 6 == 3 ? 2u : 0u;
    return r;
}

// The names of the units the rows use (index 0: the default, SI at load).
inline std::string unit_name_of(int32_t ptype, int32_t uom) {
    if (ptype == 20) return uom == 3 ? "ATM" : uom == 5 ? "BAR" : uom == 2 ? "PSIA" : "N/SQM";
    if (ptype == 22) return uom == 4 ? "C" : uom == 2 ? "F" : "K";
    if (ptype == 17) return uom == 2 ? "FT" : uom == 4 ? "CM" : "METER";
    return "*";
}

inline double effective(double s) { return s == kUndef ? 1.0 : s; }

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
    Seen s{shown_of(r, r.value, false),
           shown_of(r, r.init, false),
           shown_of(r, r.lower, false),
           shown_of(r, r.upper, false),
           shown_of(r, r.step, true),
           shown_of(r, r.slvscale, true),
           0.0,
           unit_name_of(r.ptype, r.uom),
           unit_name_of(r.ptype, r.baseuom),
           "",
           false};
    s.change = s.init == kUndef ? kUndef : s.value - s.init;
    s.in_block = r.name.compare(0, kPrefix.size(), kPrefix) == 0;
    if (s.in_block) s.stripped = r.name.substr(kPrefix.size() + 1);
    return s;
}

// The list, the block and the container over it, and the variable engine;
// the aliases TOP and FEED stand for variables 9 and 10.
struct VariableModel {
    std::vector<VarRow> rows;
    std::vector<Seen> seen;
    rtvarlst_t *list = nullptr;
    rtotaglst_t *tags = rtotaglst_create(4);
    FakeBlock block;
    FakeContainer container;
    FakeVariableSource source;
    IQDLQueryEngine *engine = nullptr;
    int32_t saved_mode = rtopt_mode;

    explicit VariableModel(int32_t n) {
        rtopt_mode = 0;
        list = rtovarlst_create(n);
        rtovarlst_set_nvar(list, n);
        for (int32_t k = 1; k <= n; ++k) {
            rows.push_back(make_row(k));
            seen.push_back(seen_of(rows.back()));
            Fill(k, rows.back());
        }
        rtotaglst_add_tag(tags, "TOP", rows[8].name.c_str());
        rtotaglst_add_tag(tags, "FEED", rows[9].name.c_str());
        rtovarlst_set_taglst(list, tags);
        block.objects.list = source.list = list;
        block.objects.prefix = kPrefix;
        source.objectives["OBJ"] = {3, 30, 300, 0, n + 5};
        container.source = &source;
        engine = QDLQueryFactory::NewVariableQuery(&container, &block);
    }
    ~VariableModel() {
        engine->Release();
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
        rtovarlst_set_var_shadow_price(list, k, r.shadow, 1);
        rtovarlst_set_var_quality(list, k, r.quality);
        rtovarlst_set_var_active_bound(list, k, r.active_bound);
        rtovarlst_set_var_param_homo(list, k, r.param_homo);
        rtovarlst_set_var_conn_type(list, k, r.conn_type);
        if (!r.description.empty()) rtovarlst_set_var_description(list, k, r.description.c_str());
        const rtvarmod_t m{r.modified1, r.modified2};
        if (m.mask1 != 0 || m.mask2 != 0) rtovarlst_set_var_modified(list, k, &m);
    }

    // The engine's results after Execute; {-1} when the text does not build.
    std::vector<int32_t> Run(const char *text) {
        if (!engine->SetQueryText(text)) return {-1};
        engine->Execute();
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
