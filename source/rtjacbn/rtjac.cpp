// The Jacobian: its two operations tables and the entry points, which check
// the handle and dispatch to the table.
#include <cstring>

#include "rtjacbn/rtjacbn_internal.h"
#include "rtjacbn/rtjacbn_sibling.h"
#include "zarnutils/rteqnlst.h"

namespace zarn::rtjacbn {

namespace {

void head_set_linear(rt_jac_t *j, int32_t k, unsigned char flag) {
    if (!Jac::within(k, j)) {
        rtopipe::report(msg::kHeadSetLinear, k, j->nnz);
        return;
    }
    Jac::head(j)->linear[k - 1] = flag;
}

unsigned char head_inq_linear(rt_jac_t *j, int32_t k) {
    if (!Jac::within(k, j)) {
        rtopipe::report(msg::kHeadInqLinear, k, j->nnz);
        return 0;
    }
    return Jac::head(j)->linear[k - 1];
}

void emb_set_linear(rt_jac_t *j, int32_t k, unsigned char flag) {
    Jac::Place p{j, k, {}};
    if (!Jac::locate(p)) {
        rtopipe::report(Jac::is_head(p.at) ? msg::kHeadSetLinear : msg::kEmbSetLinear, clamp32(p.k),
                        p.at->nnz);
        return;
    }
    Jac::head(p.at)->linear[p.k - 1] = flag;
}

unsigned char emb_inq_linear(rt_jac_t *j, int32_t k) {
    Jac::Place p{j, k, {}};
    if (!Jac::locate(p)) {
        rtopipe::report(Jac::is_head(p.at) ? msg::kHeadInqLinear : msg::kEmbInqLinear, clamp32(p.k),
                        p.at->nnz);
        return 0;
    }
    return Jac::head(p.at)->linear[p.k - 1];
}

}  // namespace

const rt_jac_ops JacKind::kHeadOps = {
    .parent = Jac::head_parent,
    .destroy = Jac::head_destroy,
    .reset = Jac::head_reset,
    .set_nnz = Jac::set_nnz,
    .inq_nnz = Jac::inq_nnz,
    .resize = Jac::head_resize,
    .inq_capacity = Jac::inq_capacity,
    .seteqn = Jac::head_set_number<kEqn>,
    .inqeqn = Jac::head_inq_number<kEqn>,
    .setvar = Jac::head_set_number<kVar>,
    .inqvar = Jac::head_inq_number<kVar>,
    .setval = Jac::head_set_value,
    .inqval = Jac::head_inq_value,
    .rowptr = Jac::head_numbers<kEqn>,
    .colptr = Jac::head_numbers<kVar>,
    .valptr = Jac::head_values,
    .rowoffset = Jac::head_offset<kEqn>,
    .coloffset = Jac::head_offset<kVar>,
    .relocate = Jac::head_relocate,
    .move_items = Jac::head_move,
    .set_linear = head_set_linear,
    .inq_linear = head_inq_linear,
};

const rt_jac_ops JacKind::kEmbOps = {
    .parent = Jac::emb_parent,
    .destroy = Jac::emb_destroy,
    .reset = Jac::emb_reset,
    .set_nnz = Jac::set_nnz,
    .inq_nnz = Jac::inq_nnz,
    .resize = Jac::emb_resize,
    .inq_capacity = Jac::inq_capacity,
    .seteqn = Jac::emb_set_number<kEqn>,
    .inqeqn = Jac::emb_inq_number<kEqn>,
    .setvar = Jac::emb_set_number<kVar>,
    .inqvar = Jac::emb_inq_number<kVar>,
    .setval = Jac::emb_set_value,
    .inqval = Jac::emb_inq_value,
    .rowptr = Jac::emb_numbers<kEqn>,
    .colptr = Jac::emb_numbers<kVar>,
    .valptr = Jac::emb_values,
    .rowoffset = Jac::emb_offset<kEqn>,
    .coloffset = Jac::emb_offset<kVar>,
    .relocate = Jac::emb_relocate,
    .move_items = Jac::emb_move,
    .set_linear = emb_set_linear,
    .inq_linear = emb_inq_linear,
};

Pattern row_pattern(rt_jac_t *jac, bool force) { return Jac::pattern<kEqn>(jac, force); }
Pattern column_pattern(rt_jac_t *jac, bool force) { return Jac::pattern<kVar>(jac, force); }

}  // namespace zarn::rtjacbn

using namespace zarn::rtjacbn;

extern "C" {

rt_jac_t *rtojac_create(int32_t capacity) { return Jac::create(capacity); }

rt_jac_t *rtojac_create_embedded(int32_t capacity, rt_jac_t *parent, int32_t first_var, int32_t first_eqn,
                                 int32_t first_nz) {
    const int32_t first[] = {first_eqn, first_var};
    return Jac::create_embedded(capacity, parent, first, first_nz);
}

void rtojac_parent(rt_jac_t *jac, rt_jac_t **parent) {
    if (parent != nullptr) *parent = jac != nullptr ? jac->ops->parent(jac) : nullptr;
}

int32_t rtojac_parent_check(rt_jac_t *parent, rt_jac_t *jac) {
    return parent != nullptr && jac != nullptr && jac->ops->parent(jac) == parent ? 1 : 0;
}

void rtojac_destroy(rt_jac_t **jac) {
    if (jac == nullptr || *jac == nullptr) return;
    (*jac)->ops->destroy(*jac);
    *jac = nullptr;
}

void rtojac_set_nnz(rt_jac_t *jac, int32_t n) {
    if (jac != nullptr) jac->ops->set_nnz(jac, n);
}

int32_t rtojac_inq_nnz(rt_jac_t *jac) { return jac != nullptr ? jac->ops->inq_nnz(jac) : 0; }

void rtojac_resize(rt_jac_t *jac, int32_t capacity) {
    if (jac != nullptr) jac->ops->resize(jac, capacity);
}

int32_t rtojac_inq_capacity(rt_jac_t *jac) { return jac != nullptr ? jac->ops->inq_capacity(jac) : 0; }
int32_t rtojac_size(rt_jac_t *jac) { return jac != nullptr ? jac->nnz : 0; }
int32_t rtojac_capacity(rt_jac_t *jac) { return jac != nullptr ? jac->capacity : 0; }

void rtojac_set_nz_eqnnum(rt_jac_t *jac, int32_t k, int32_t eqn) {
    if (jac != nullptr) jac->ops->seteqn(jac, k, eqn);
}

int32_t rtojac_inq_nz_eqnnum(rt_jac_t *jac, int32_t k) {
    return jac != nullptr ? static_cast<int32_t>(jac->ops->inqeqn(jac, k)) : 0;
}

void rtojac_set_nz_varnum(rt_jac_t *jac, int32_t k, int32_t var) {
    if (jac != nullptr) jac->ops->setvar(jac, k, var);
}

int32_t rtojac_inq_nz_varnum(rt_jac_t *jac, int32_t k) {
    return jac != nullptr ? static_cast<int32_t>(jac->ops->inqvar(jac, k)) : 0;
}

void rtojac_set_nz_coord(rt_jac_t *jac, int32_t k, int32_t eqn, int32_t var) {
    int64_t numbers[] = {eqn, var};
    if (jac != nullptr) Jac::set_coord(jac, k, numbers);
}

void rtojac_set_nz_value(rt_jac_t *jac, int32_t k, double value) {
    if (jac != nullptr) Jac::set_value(jac, k, value);
}

void rtojac_inq_nz_value(rt_jac_t *jac, int32_t k, double *value) {
    if (value != nullptr) *value = jac != nullptr ? jac->ops->inqval(jac, k) : 0.0;
}

void rtojac_set_linear(rt_jac_t *jac, int32_t k, unsigned char flag) {
    if (jac != nullptr) jac->ops->set_linear(jac, k, flag);
}

unsigned char rtojac_inq_linear(rt_jac_t *jac, int32_t k) {
    return jac != nullptr ? jac->ops->inq_linear(jac, k) : 0;
}

void rtojac_set_rows(rt_jac_t *jac, const int64_t *rows) {
    Jac::set_numbers<kEqn>(jac, rows, msg::kAssertSetRows, "rtojac_set_rows");
}

void rtojac_set_columns(rt_jac_t *jac, const int64_t *columns) {
    Jac::set_numbers<kVar>(jac, columns, msg::kAssertSetColumns, "rtojac_set_columns");
}

int64_t *rtojac_rowptr(rt_jac_t *jac) { return jac != nullptr ? jac->ops->rowptr(jac) : nullptr; }
int64_t *rtojac_colptr(rt_jac_t *jac) { return jac != nullptr ? jac->ops->colptr(jac) : nullptr; }
double *rtojac_vec_bj(rt_jac_t *jac) { return jac != nullptr ? jac->ops->valptr(jac) : nullptr; }
int64_t rtojac_rowoffset(rt_jac_t *jac) { return jac != nullptr ? jac->ops->rowoffset(jac) : 0; }
int64_t rtojac_coloffset(rt_jac_t *jac) { return jac != nullptr ? jac->ops->coloffset(jac) : 0; }

void rtojac_move_items(rt_jac_t *jac, int32_t source, int32_t destination, int32_t count) {
    if (jac != nullptr) jac->ops->move_items(jac, source, destination, count);
}

void rtojac_relocate(rt_jac_t *jac, int32_t first_nz, int32_t var_shift, int32_t eqn_shift) {
    if (jac != nullptr) jac->ops->relocate(jac, first_nz, var_shift, eqn_shift);
}

void rtojac_renumber(rt_jac_t *jac, int32_t first, int32_t last, int32_t var_threshold, int32_t var_shift,
                     int32_t eqn_threshold, int32_t eqn_shift) {
    if (jac == nullptr || (var_shift == 0 && eqn_shift == 0) || first > last) return;
    Shift s[] = {{eqn_threshold, INT64_MAX, eqn_shift}, {var_threshold, INT64_MAX, var_shift}};
    Jac::renumber(jac, first, last, s, "rtojac_renumber");
}

void rtojac_renumber_vars_in_range(rt_jac_t *jac, int32_t first, int32_t last, int32_t low, int32_t high,
                                   int32_t shift) {
    if (jac == nullptr || shift == 0 || first > last) return;
    Shift s[] = {{0, 0, 0}, {low, high, shift}};
    Jac::renumber(jac, first, last, s, "rtojac_renumber_vars_in_range");
}

void rtojac_inq_nz(rtvarlst_t *varlst, rtattrdict_t *eqnlst, rt_jac_t *jac, int32_t k, rt_jac_nz *rec) {
    if (jac == nullptr) {
        zarn::assert_report(msg::kAssertInqNz, msg::kSource, __LINE__);
        return;
    }
    if (rec == nullptr) {
        zarn::assert_report(msg::kAssertInqNzRecord, msg::kSource, __LINE__);
        return;
    }
    rec->eqnnum = rtojac_inq_nz_eqnnum(jac, k);
    rec->varnum = rtojac_inq_nz_varnum(jac, k);
    if (rec->mask & RT_JAC_NZ_VALUE) rtojac_inq_nz_value(jac, k, &rec->value);
    if (rec->mask & RT_JAC_NZ_EQNNAME) {
        rec->eqnname[ZARN_NAME_MAX] = '\0';
        rtoeqnlst_inq_eqn_name(eqnlst, rec->eqnnum, rec->eqnname);
    }
    if (rec->mask & RT_JAC_NZ_VARNAME) {
        rec->varname[ZARN_NAME_MAX] = '\0';
        rtovarlst_inq_var_name(varlst, rec->varnum, rec->varname);
    }
    if (rec->mask & RT_JAC_NZ_LINEAR) rec->linear = rtojac_inq_linear(jac, k);
}

int32_t rtojac_match_var_regexp(rt_jac_t *jac, rtvarlst_t *varlst, int32_t start) {
    if (jac == nullptr) {
        zarn::assert_report(msg::kAssertMatchVar, msg::kSource, __LINE__);
        return 0;
    }
    return Jac::search(jac, start,
                       [&](int32_t k) { return re_exec_name(varlst, rtojac_inq_nz_varnum(jac, k)); });
}

int32_t rtojac_match_eqn_regexp(rt_jac_t *jac, rtattrdict_t *eqnlst, int32_t start) {
    if (jac == nullptr) {
        zarn::assert_report(msg::kAssertMatchEqn, msg::kSource, __LINE__);
        return 0;
    }
    return Jac::search(jac, start,
                       [&](int32_t k) { return re_exec_name(eqnlst, rtojac_inq_nz_eqnnum(jac, k)); });
}

int rtojac_filter_always_true(const rt_jac_nz *, const void *) { return 1; }

int rtojac_filter_var_match_regexp(const rt_jac_nz *rec, hs_regexp *prog) {
    return rec != nullptr ? regexp_passes(prog, rec->varname) : 0;
}

int rtojac_filter_var_match_name(const rt_jac_nz *rec, const char *name) {
    return rec != nullptr ? name_passes(name, rec->varname) : 0;
}

int rtojac_filter_var_match_index(const rt_jac_nz *rec, int32_t index) {
    return rec != nullptr && rec->varnum == index ? 1 : 0;
}

int rtojac_filter_eqn_match_regexp(const rt_jac_nz *rec, hs_regexp *prog) {
    return rec != nullptr ? regexp_passes(prog, rec->eqnname) : 0;
}

int rtojac_filter_eqn_match_name(const rt_jac_nz *rec, const char *name) {
    return rec != nullptr ? name_passes(name, rec->eqnname) : 0;
}

int rtojac_filter_eqn_match_index(const rt_jac_nz *rec, int32_t index) {
    return rec != nullptr && rec->eqnnum == index ? 1 : 0;
}

}  // extern "C"
