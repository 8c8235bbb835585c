// Shared set-up of the VARFILE tests: variable lists described row by row,
// and a writer's output collected through a queue pipe.
#pragma once
#include <cstring>
#include <functional>
#include <vector>

#include "capture.h"
#include "zarnutils/varfile.hpp"
#include "zarnutils/varutl.h"

namespace zarn::test {

constexpr double M = 1e35;  // missing
using A = RTVarDatabase;
using W = RTVarFileOut &;

// One variable; reals in SI and stored form (multiplied by scale when shown).
struct V {
    const char *name = "A";
    int ptype = 0, uom = 0, spec = 0, type = 0, bound = 0;
    double value = M, init = M, lower = M, upper = M, step = M, scale = 1;
    uint32_t m1 = 0, m2 = 0;
    int ramped = 0, quality = 0, param = 0;
    const char *desc = nullptr;
};

// A variable list owned for the length of a test.
struct List {
    rtvarlst_t *p;
    explicit List(const std::vector<V> &vars) : p(rtovarlst_create(static_cast<int32_t>(vars.size()))) {
        rtovarlst_set_nvar(p, static_cast<int32_t>(vars.size()));
        for (int32_t i = 1; const V &v : vars) {
            rtvarinfo_t r{};
            r.mask = {RTVARINFO_NAME | RTVARINFO_STATUS | RTVARINFO_INTSCALE | RTVARINFO_VALUE |
                          RTVARINFO_INIT | RTVARINFO_LOWER | RTVARINFO_UPPER | RTVARINFO_STEP |
                          RTVARINFO_MODIFIED | RTVARINFO_QUALITY | RTVARINFO_PARAM_HOMO,
                      2};
            varSetPhysicalType(&r.status, v.ptype);
            varSetSpec(&r.status, v.spec);
            varSetType(v.type, &r.status);
            varSetBoundType(v.bound, &r.status);
            r.intscale = v.scale;
            r.value = v.value;
            r.init = v.init;
            r.lower = v.lower;
            r.upper = v.upper;
            r.step = v.step;
            r.modified = {v.m1, v.m2};
            r.quality = v.quality;
            r.param_homo = v.param;
            r.uom = v.uom;
            std::strcpy(r.name, v.name);
            rtovarlst_initialize_var(p, i, &r, 1);
            rtovarlst_set_var_ramped(p, i, v.ramped);
            if (v.desc) rtovarlst_set_var_description(p, i, v.desc);
            ++i;
        }
    }
    ~List() { rtovarlst_destroy_c(&p); }
    operator rtvarlst_t *() const { return p; }
};

struct Widths {
    int name = 2, real = 10, page = 80, uom = 4;
};

// What a writer over l writes with these widths, these attributes (all when none) and this set-up.
inline std::string write_out(rtvarlst_t *l, Widths w, const std::vector<int> &attributes = {},
                             const std::function<void(W)> &setup = {}) {
    rtopipe *q = create_queue_rtopipe();
    {
        RTVarFileOut out(copyPipe(q), l, w.name, w.real, w.page, w.uom);
        if (attributes.size() > 0) out.ClearAttributes();
        for (int a : attributes) out.AddAttribute(A::VarAttribute(a));
        if (setup) setup(out);
        out.Go();
    }
    std::string text = drain(q);
    rtodestroy(q);
    return text;
}

// A queue pipe holding text, for a reader.
inline rtopipe *text_pipe(const std::string &text) {
    rtopipe *q = create_queue_rtopipe();
    rtowrite(q, text.data(), text.size());
    return q;
}

inline std::string B(int n) { return std::string(static_cast<size_t>(n), ' '); }

}  // namespace zarn::test
