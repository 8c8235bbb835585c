// Shared set-up of the VARFILE tests: variable lists described row by row,
// and a writer's output collected through a queue pipe.
#ifndef ZARN_TESTS_VARFILE_FIXTURE_H
#define ZARN_TESTS_VARFILE_FIXTURE_H

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "capture.h"
#include "zarnutils/varfile.hpp"
#include "zarnutils/varutl.h"

namespace zarn::test {

constexpr double M = 1e35;  // missing
using A = RTVarDatabase;

// One variable; reals in SI and stored form (multiplied by scale when shown).
struct V {
    const char *name;
    int ptype = 0, uom = 0, spec = 0, type = 0, bound = 0;
    double value = M, init = M, lower = M, upper = M, step = M, scale = 1;
    uint32_t m1 = 0, m2 = 0;
    int ramped = 0, quality = 0, param = 0;
    const char *desc = nullptr;
};

inline rtvarlst_t *make_list(const std::vector<V> &vars) {
    const auto n = static_cast<int32_t>(vars.size());
    rtvarlst_t *l = rtovarlst_create(n);
    rtovarlst_set_nvar(l, n);
    for (int32_t i = 1; i <= n; ++i) {
        const V &v = vars[static_cast<size_t>(i - 1)];
        static rtvarinfo_t r;
        std::memset(&r, 0, sizeof r);
        std::strcpy(r.name, v.name);
        r.mask = {RTVARINFO_NAME | RTVARINFO_STATUS | RTVARINFO_INTSCALE | RTVARINFO_VALUE | RTVARINFO_INIT |
                      RTVARINFO_LOWER | RTVARINFO_UPPER | RTVARINFO_STEP | RTVARINFO_MODIFIED | RTVARINFO_QUALITY |
                      RTVARINFO_PARAM_HOMO,
                  2};
        varSetPhysicalType(&r.status, v.ptype), varSetSpec(&r.status, v.spec), varSetType(v.type, &r.status);
        varSetBoundType(v.bound, &r.status);
        r.intscale = v.scale, r.value = v.value, r.init = v.init, r.lower = v.lower, r.upper = v.upper;
        r.step = v.step, r.modified = {v.m1, v.m2}, r.quality = v.quality, r.param_homo = v.param, r.uom = v.uom;
        rtovarlst_initialize_var(l, i, &r, 1);
        rtovarlst_set_var_ramped(l, i, v.ramped);
        if (v.desc) rtovarlst_set_var_description(l, i, v.desc);
    }
    return l;
}

// What a writer over list writes with these widths and (when given) these attributes.
inline std::string write_out(rtvarlst_t *l, int name, int real, int page, int uom,
                             std::initializer_list<int> attributes = {}) {
    rtopipe *q = create_queue_rtopipe();
    copyPipe(q);
    {
        RTVarFileOut w(q, l, name, real, page, uom);
        if (attributes.size() > 0) {
            w.ClearAttributes();
            for (int a : attributes) w.AddAttribute(static_cast<A::VarAttribute>(a));
        }
        w.Go();
    }
    std::string text = drain(q);
    rtodestroy(q);
    return text;
}

}  // namespace zarn::test

#endif
