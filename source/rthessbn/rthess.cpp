// The Hessian: the coordinate store of the Jacobian with a second variable
// number and without linear flags; its operations tables and entry points.
#include "rthessbn/rthessbn_messages.h"
#include "rthessbn/rthessbn_sibling.h"
#include "zarnutils/rteqnlst.h"

// The operations, in their fixed order (as the Jacobian's, with the second
// variable's slots and without linear flags).
struct rt_hess_ops {
    rt_hess_t *(*parent)(rt_hess_t *h);
    void (*destroy)(rt_hess_t *h);
    void (*reset)(rt_hess_t *h, int32_t first, int32_t last);
    void (*set_nnz)(rt_hess_t *h, int32_t n);
    int32_t (*inq_nnz)(rt_hess_t *h);
    void (*resize)(rt_hess_t *h, int32_t capacity);
    int32_t (*inq_capacity)(rt_hess_t *h);
    void (*seteqn)(rt_hess_t *h, int32_t k, int64_t eqn);
    int64_t (*inqeqn)(rt_hess_t *h, int32_t k);
    void (*setvar)(rt_hess_t *h, int32_t k, int64_t var);
    int64_t (*inqvar)(rt_hess_t *h, int32_t k);
    void (*setvar2)(rt_hess_t *h, int32_t k, int64_t var2);
    int64_t (*inqvar2)(rt_hess_t *h, int32_t k);
    void (*setval)(rt_hess_t *h, int32_t k, double value);
    double (*inqval)(rt_hess_t *h, int32_t k);
    int64_t *(*rowptr)(rt_hess_t *h);
    int64_t *(*colptr)(rt_hess_t *h);
    int64_t *(*col2ptr)(rt_hess_t *h);
    double *(*valptr)(rt_hess_t *h);
    int64_t (*rowoffset)(rt_hess_t *h);
    int64_t (*coloffset)(rt_hess_t *h);
    int64_t (*col2offset)(rt_hess_t *h);
    void (*relocate)(rt_hess_t *h, int32_t first_nz, int32_t var_shift, int32_t eqn_shift);
    bool (*move_items)(rt_hess_t *h, int32_t source, int32_t destination, int32_t count);
};

namespace zarn::rthessbn {

using rtjacbn::kEqn;
using rtjacbn::kVar;
using rtjacbn::kVar2;

namespace {

template <int A, class T>
T pick(T eqn, T var, T var2) {
    return A == kEqn ? eqn : (A == kVar ? var : var2);
}

}  // namespace

struct HessKind {
    using Base = rt_hess_t;
    using Head = rt_hess_head_t;
    using Emb = rt_hess_embedded_t;
    static constexpr int kAxes = 3;
    static constexpr bool kLinear = false;
    static const rt_hess_ops kHeadOps;
    static const rt_hess_ops kEmbOps;

    static int64_t *&numbers(Head *h, int a) { return a == kEqn ? h->irn : (a == kVar ? h->icn : h->icn2); }
    static uint32_t &offset(Emb *e, int a) {
        return a == kEqn ? e->eqnOffset : (a == kVar ? e->varOffset : e->var2Offset);
    }
    template <int A>
    static auto numbers_of(const rt_hess_ops *o) {
        return pick<A>(o->rowptr, o->colptr, o->col2ptr);
    }
    template <int A>
    static auto offset_of(const rt_hess_ops *o) {
        return pick<A>(o->rowoffset, o->coloffset, o->col2offset);
    }

    static constexpr const char *kSource = msg::kSource;
    static constexpr const char *kCreateName = "rtohess_create";
    static constexpr const char *kCreateEmbeddedName = "rtohess_create_embedded";
    static constexpr const char *kRelocateName = "rtohess_embedded_relocate";
    static constexpr const char *kCreateNoMemory = msg::kCreateNoMemory;
    static constexpr const char *kCreateNoArrays = msg::kCreateNoArrays;
    static constexpr const char *kEmbParentSmall = msg::kEmbParentSmall;
    static constexpr const char *kEmbNoMemory = msg::kEmbNoMemory;
    static constexpr const char *kResizeFailed = msg::kResizeFailed;
    static constexpr const char *kHeadRelocate = msg::kHeadRelocate;
    static constexpr const char *kEmbRelocate = msg::kEmbRelocate;
    static constexpr const char *kHeadMoveNegative = msg::kHeadMoveNegative;
    static constexpr const char *kEmbMoveNegative = msg::kEmbMoveNegative;
    static constexpr const char *kHeadMoveBad = msg::kHeadMoveBad;
    static constexpr const char *kEmbMoveBad = msg::kEmbMoveBad;
};

using Hess = rtjacbn::Core<HessKind>;

const rt_hess_ops HessKind::kHeadOps = {
    .parent = Hess::head_parent,
    .destroy = Hess::head_destroy,
    .reset = Hess::head_reset,
    .set_nnz = Hess::set_nnz,
    .inq_nnz = Hess::inq_nnz,
    .resize = Hess::head_resize,
    .inq_capacity = Hess::inq_capacity,
    .seteqn = Hess::head_set_number<kEqn>,
    .inqeqn = Hess::head_inq_number<kEqn>,
    .setvar = Hess::head_set_number<kVar>,
    .inqvar = Hess::head_inq_number<kVar>,
    .setvar2 = Hess::head_set_number<kVar2>,
    .inqvar2 = Hess::head_inq_number<kVar2>,
    .setval = Hess::head_set_value,
    .inqval = Hess::head_inq_value,
    .rowptr = Hess::head_numbers<kEqn>,
    .colptr = Hess::head_numbers<kVar>,
    .col2ptr = Hess::head_numbers<kVar2>,
    .valptr = Hess::head_values,
    .rowoffset = Hess::head_offset<kEqn>,
    .coloffset = Hess::head_offset<kVar>,
    .col2offset = Hess::head_offset<kVar2>,
    .relocate = Hess::head_relocate,
    .move_items = Hess::head_move,
};

const rt_hess_ops HessKind::kEmbOps = {
    .parent = Hess::emb_parent,
    .destroy = Hess::emb_destroy,
    .reset = Hess::emb_reset,
    .set_nnz = Hess::set_nnz,
    .inq_nnz = Hess::inq_nnz,
    .resize = Hess::emb_resize,
    .inq_capacity = Hess::inq_capacity,
    .seteqn = Hess::emb_set_number<kEqn>,
    .inqeqn = Hess::emb_inq_number<kEqn>,
    .setvar = Hess::emb_set_number<kVar>,
    .inqvar = Hess::emb_inq_number<kVar>,
    .setvar2 = Hess::emb_set_number<kVar2>,
    .inqvar2 = Hess::emb_inq_number<kVar2>,
    .setval = Hess::emb_set_value,
    .inqval = Hess::emb_inq_value,
    .rowptr = Hess::emb_numbers<kEqn>,
    .colptr = Hess::emb_numbers<kVar>,
    .col2ptr = Hess::emb_numbers<kVar2>,
    .valptr = Hess::emb_values,
    .rowoffset = Hess::emb_offset<kEqn>,
    .coloffset = Hess::emb_offset<kVar>,
    .col2offset = Hess::emb_offset<kVar2>,
    .relocate = Hess::emb_relocate,
    .move_items = Hess::emb_move,
};

rtjacbn::Pattern row_pattern(rt_hess_t *hess, bool force) { return Hess::pattern<kEqn>(hess, force); }
rtjacbn::Pattern column_pattern(rt_hess_t *hess, bool force) { return Hess::pattern<kVar>(hess, force); }
rtjacbn::Pattern column2_pattern(rt_hess_t *hess, bool force) { return Hess::pattern<kVar2>(hess, force); }

namespace {

// Either variable's name or number passes.
template <class Test>
int either(const rt_hess_nz *rec, Test test) {
    return rec != nullptr && (test(rec->varname, rec->varnum) || test(rec->var2name, rec->var2num)) ? 1 : 0;
}

}  // namespace

}  // namespace zarn::rthessbn

using namespace zarn::rthessbn;
using zarn::rtjacbn::Shift;

extern "C" {

rt_hess_t *rtohess_create(int32_t capacity) { return Hess::create(capacity); }

rt_hess_t *rtohess_create_embedded(int32_t capacity, rt_hess_t *parent, int32_t first_var, int32_t first_var2,
                                   int32_t first_eqn, int32_t first_nz) {
    const int32_t first[] = {first_eqn, first_var, first_var2};
    return Hess::create_embedded(capacity, parent, first, first_nz);
}

void rtohess_parent(rt_hess_t *hess, rt_hess_t **parent) {
    if (parent != nullptr) *parent = hess != nullptr ? hess->ops->parent(hess) : nullptr;
}

int32_t rtohess_parent_check(rt_hess_t *parent, rt_hess_t *hess) {
    return parent != nullptr && hess != nullptr && hess->ops->parent(hess) == parent ? 1 : 0;
}

void rtohess_destroy(rt_hess_t **hess) {
    if (hess == nullptr || *hess == nullptr) return;
    (*hess)->ops->destroy(*hess);
    *hess = nullptr;
}

void rtohess_set_nnz(rt_hess_t *hess, int32_t n) {
    if (hess != nullptr) hess->ops->set_nnz(hess, n);
}

int32_t rtohess_inq_nnz(rt_hess_t *hess) { return hess != nullptr ? hess->ops->inq_nnz(hess) : 0; }

void rtohess_resize(rt_hess_t *hess, int32_t capacity) {
    if (hess != nullptr) hess->ops->resize(hess, capacity);
}

int32_t rtohess_inq_capacity(rt_hess_t *hess) { return hess != nullptr ? hess->ops->inq_capacity(hess) : 0; }
int32_t rtohess_size(rt_hess_t *hess) { return hess != nullptr ? hess->nnz : 0; }
int32_t rtohess_capacity(rt_hess_t *hess) { return hess != nullptr ? hess->capacity : 0; }

void rtohess_set_nz_eqnnum(rt_hess_t *hess, int32_t k, int32_t eqn) {
    if (hess != nullptr) hess->ops->seteqn(hess, k, eqn);
}

int32_t rtohess_inq_nz_eqnnum(rt_hess_t *hess, int32_t k) {
    return hess != nullptr ? static_cast<int32_t>(hess->ops->inqeqn(hess, k)) : 0;
}

void rtohess_set_nz_varnum(rt_hess_t *hess, int32_t k, int32_t var) {
    if (hess != nullptr) hess->ops->setvar(hess, k, var);
}

int32_t rtohess_inq_nz_varnum(rt_hess_t *hess, int32_t k) {
    return hess != nullptr ? static_cast<int32_t>(hess->ops->inqvar(hess, k)) : 0;
}

void rtohess_set_nz_varnum2(rt_hess_t *hess, int32_t k, int32_t var2) {
    if (hess != nullptr) hess->ops->setvar2(hess, k, var2);
}

int32_t rtohess_inq_nz_varnum2(rt_hess_t *hess, int32_t k) {
    return hess != nullptr ? static_cast<int32_t>(hess->ops->inqvar2(hess, k)) : 0;
}

void rtohess_set_nz_coord(rt_hess_t *hess, int32_t k, int32_t eqn, int32_t var, int32_t var2) {
    int64_t numbers[] = {eqn, var, var2};
    if (hess != nullptr) Hess::set_coord(hess, k, numbers);
}

void rtohess_set_nz_value(rt_hess_t *hess, int32_t k, double value) {
    if (hess != nullptr) Hess::set_value(hess, k, value);
}

void rtohess_inq_nz_value(rt_hess_t *hess, int32_t k, double *value) {
    if (value != nullptr) *value = hess != nullptr ? hess->ops->inqval(hess, k) : 0.0;
}

void rtohess_set_rows(rt_hess_t *hess, const int64_t *rows) {
    Hess::set_numbers<kEqn>(hess, rows, msg::kAssertSetRows, "rtohess_set_rows");
}

void rtohess_set_columns(rt_hess_t *hess, const int64_t *columns) {
    Hess::set_numbers<kVar>(hess, columns, msg::kAssertSetColumns, "rtohess_set_columns");
}

void rtohess_set_columns2(rt_hess_t *hess, const int64_t *columns2) {
    Hess::set_numbers<kVar2>(hess, columns2, msg::kAssertSetColumns2, "rtohess_set_columns2");
}

int64_t *rtohess_rowptr(rt_hess_t *hess) { return hess != nullptr ? hess->ops->rowptr(hess) : nullptr; }
int64_t *rtohess_colptr(rt_hess_t *hess) { return hess != nullptr ? hess->ops->colptr(hess) : nullptr; }
int64_t *rtohess_col2ptr(rt_hess_t *hess) { return hess != nullptr ? hess->ops->col2ptr(hess) : nullptr; }
double *rtohess_vec_hessianvalues(rt_hess_t *hess) {
    return hess != nullptr ? hess->ops->valptr(hess) : nullptr;
}
int64_t rtohess_rowoffset(rt_hess_t *hess) { return hess != nullptr ? hess->ops->rowoffset(hess) : 0; }
int64_t rtohess_coloffset(rt_hess_t *hess) { return hess != nullptr ? hess->ops->coloffset(hess) : 0; }
int64_t rtohess_col2offset(rt_hess_t *hess) { return hess != nullptr ? hess->ops->col2offset(hess) : 0; }

void rtohess_move_items(rt_hess_t *hess, int32_t source, int32_t destination, int32_t count) {
    if (hess != nullptr) hess->ops->move_items(hess, source, destination, count);
}

void rtohess_relocate(rt_hess_t *hess, int32_t first_nz, int32_t var_shift, int32_t eqn_shift) {
    if (hess != nullptr) hess->ops->relocate(hess, first_nz, var_shift, eqn_shift);
}

void rtohess_renumber(rt_hess_t *hess, int32_t first, int32_t last, int32_t var_threshold, int32_t var_shift,
                      int32_t eqn_threshold, int32_t eqn_shift) {
    if (hess == nullptr || (var_shift == 0 && eqn_shift == 0) || first > last) return;
    Shift s[] = {{eqn_threshold, INT64_MAX, eqn_shift},
                 {var_threshold, INT64_MAX, var_shift},
                 {var_threshold, INT64_MAX, var_shift}};
    Hess::renumber(hess, first, last, s, "rtohess_renumber");
}

void rtohess_renumber_vars_in_range(rt_hess_t *hess, int32_t first, int32_t last, int32_t low, int32_t high,
                                    int32_t shift) {
    if (hess == nullptr || shift == 0 || first > last) return;
    Shift s[] = {{0, 0, 0}, {low, high, shift}, {low, high, shift}};
    Hess::renumber(hess, first, last, s, "rtohess_renumber_vars_in_range");
}

void rtohess_inq_nz(rtvarlst_t *varlst, rtattrdict_t *eqnlst, rt_hess_t *hess, int32_t k, rt_hess_nz *rec) {
    if (hess == nullptr) {
        zarn::assert_report(msg::kAssertInqNz, msg::kSource, __LINE__);
        return;
    }
    if (rec == nullptr) {
        zarn::assert_report(msg::kAssertInqNzRecord, msg::kSource, __LINE__);
        return;
    }
    rec->eqnnum = rtohess_inq_nz_eqnnum(hess, k);
    rec->varnum = rtohess_inq_nz_varnum(hess, k);
    rec->var2num = rtohess_inq_nz_varnum2(hess, k);
    if (rec->mask & RT_HESS_NZ_VALUE) rtohess_inq_nz_value(hess, k, &rec->value);
    if (rec->mask & RT_HESS_NZ_EQNNAME) {
        rec->eqnname[ZARN_NAME_MAX] = '\0';
        rtoeqnlst_inq_eqn_name(eqnlst, rec->eqnnum, rec->eqnname);
    }
    if (rec->mask & RT_HESS_NZ_VARNAMES) {
        rec->varname[ZARN_NAME_MAX] = '\0';
        rec->var2name[ZARN_NAME_MAX] = '\0';
        rtovarlst_inq_var_name(varlst, rec->varnum, rec->varname);
        rtovarlst_inq_var_name(varlst, rec->var2num, rec->var2name);
    }
}

int32_t rtohess_match_var_regexp(rt_hess_t *hess, rtvarlst_t *varlst, int32_t start) {
    if (hess == nullptr) {
        zarn::assert_report(msg::kAssertMatchVar, msg::kSource, __LINE__);
        return 0;
    }
    return Hess::search(hess, start, [&](int32_t k) {
        const int first = zarn::rtjacbn::re_exec_name(varlst, rtohess_inq_nz_varnum(hess, k));
        return first != 0 ? first : zarn::rtjacbn::re_exec_name(varlst, rtohess_inq_nz_varnum2(hess, k));
    });
}

int32_t rtohess_match_eqn_regexp(rt_hess_t *hess, rtattrdict_t *eqnlst, int32_t start) {
    if (hess == nullptr) {
        zarn::assert_report(msg::kAssertMatchEqn, msg::kSource, __LINE__);
        return 0;
    }
    return Hess::search(hess, start, [&](int32_t k) {
        return zarn::rtjacbn::re_exec_name(eqnlst, rtohess_inq_nz_eqnnum(hess, k));
    });
}

int rtohess_filter_always_true(const rt_hess_nz *, const void *) { return 1; }

int rtohess_filter_var_match_regexp(const rt_hess_nz *rec, hs_regexp *prog) {
    return either(rec, [&](const char *name, int32_t) { return zarn::rtjacbn::regexp_passes(prog, name); });
}

int rtohess_filter_var_match_name(const rt_hess_nz *rec, const char *name) {
    return either(rec, [&](const char *field, int32_t) { return zarn::rtjacbn::name_passes(name, field); });
}

int rtohess_filter_var_match_index(const rt_hess_nz *rec, int32_t index) {
    return either(rec, [&](const char *, int32_t number) { return number == index ? 1 : 0; });
}

int rtohess_filter_eqn_match_regexp(const rt_hess_nz *rec, hs_regexp *prog) {
    return rec != nullptr ? zarn::rtjacbn::regexp_passes(prog, rec->eqnname) : 0;
}

int rtohess_filter_eqn_match_name(const rt_hess_nz *rec, const char *name) {
    return rec != nullptr ? zarn::rtjacbn::name_passes(name, rec->eqnname) : 0;
}

int rtohess_filter_eqn_match_index(const rt_hess_nz *rec, int32_t index) {
    return rec != nullptr && rec->eqnnum == index ? 1 : 0;
}

}  // extern "C"
