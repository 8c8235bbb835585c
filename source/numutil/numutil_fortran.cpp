// Fortran entry points of the numerical utilities: dereference and forward.
#include "numutil/numutil_internal.h"
#include "numutil/numutil_messages.h"
#include "platform/fargs.h"
#include "rtopipe/report.h"
#include "zarnutils/numutil.h"
#include "zarnutils/zarnmalloc.h"

using zarn::fortran::deref;
using zarn::fortran::store;
namespace nu = zarn::numutil;

namespace {

// A count argument that was left out reads as -1 and is refused.
inline int64_t count_of(const int64_t *n) { return deref(n, int64_t{-1}); }

// A new block is made only when there is an output to receive it: without
// one the call is refused, so that no block is made and dropped.
bool has_output(const char *fn, const int64_t *out) {
    if (out != nullptr) return true;
    zarn::rtopipe::report(zarn::numutil::msg::kNoOutput, fn);
    return false;
}

template <class Make>
void new_block_out(const char *fn, int64_t *out, Make make) {
    if (has_output(fn, out)) *out = make();
}

// Builds, then stores the block and m (m may be omitted); a raise leaves both as they were.
template <class Build>
int64_t build_out(const char *fn, int64_t *block, int64_t *m, Build build) {
    if (!has_output(fn, block)) return 0;
    int64_t b = 0;
    const int64_t kept = build(&b);
    *block = b;
    store(m, kept);
    return kept;
}

}  // namespace

ZARN_FORTRAN(int64_t, U3PERM_VAR_CREATE, u3perm_var_create_,
             (const int64_t *status, const int64_t *n, int64_t *block, int64_t *m)) {
    return build_out("u3perm_var_create", block, m, [&](int64_t *b) {
        return nu::build_items("u3perm_var_create", nu::Rule::VarFree, status, count_of(n), 0, b);
    });
}
ZARN_FORTRAN(int64_t, U3PERM_VAR_CREATE_INCIDENCE, u3perm_var_create_incidence_,
             (const int64_t *status, const int64_t *n, const int64_t *incid, int64_t *block, int64_t *m)) {
    return build_out("u3perm_var_create_incidence", block, m, [&](int64_t *b) {
        return nu::build_items("u3perm_var_create_incidence", nu::Rule::VarFreeIncidence, status, count_of(n),
                               deref(incid), b);
    });
}
ZARN_FORTRAN(int64_t, U3PERM_VAR_CREATE_INCIDENCEONLY, u3perm_var_create_incidenceonly_,
             (const int64_t *status, const int64_t *n, const int64_t *incid, int64_t *block, int64_t *m)) {
    return build_out("u3perm_var_create_incidenceonly", block, m, [&](int64_t *b) {
        return nu::build_items("u3perm_var_create_incidenceonly", nu::Rule::VarIncidenceOnly, status,
                               count_of(n), deref(incid), b);
    });
}
ZARN_FORTRAN(int64_t, U3PERM_EQN_CREATE, u3perm_eqn_create_,
             (const int64_t *status, const int64_t *n, int64_t *block, int64_t *m)) {
    return build_out("u3perm_eqn_create", block, m, [&](int64_t *b) {
        return nu::build_items("u3perm_eqn_create", nu::Rule::EqnActive, status, count_of(n), 0, b);
    });
}
ZARN_FORTRAN(int64_t, U3PERM_EQN_CREATE_INCIDENCE, u3perm_eqn_create_incidence_,
             (const int64_t *status, const int64_t *n, const int64_t *incid, int64_t *block, int64_t *m)) {
    return build_out("u3perm_eqn_create_incidence", block, m, [&](int64_t *b) {
        return nu::build_items("u3perm_eqn_create_incidence", nu::Rule::EqnActiveIncidence, status,
                               count_of(n), deref(incid), b);
    });
}
ZARN_FORTRAN(int64_t, U3PERM_JAC_CREATE, u3perm_jac_create_,
             (const int64_t *eqnstatus, const int64_t *varstatus, const int64_t *rows, const int64_t *cols,
              const int64_t *nnz, int64_t *block, int64_t *m)) {
    return build_out("u3perm_jac_create", block, m, [&](int64_t *b) {
        return nu::build_nonzeros("u3perm_jac_create", eqnstatus, varstatus, rows, cols, count_of(nnz), false,
                                  0, 0, b);
    });
}
ZARN_FORTRAN(int64_t, U3PERM_JAC_CREATE_INCIDENCE, u3perm_jac_create_incidence_,
             (const int64_t *eqnstatus, const int64_t *varstatus, const int64_t *rows, const int64_t *cols,
              const int64_t *nnz, const int64_t *eqnincid, const int64_t *varincid, int64_t *block,
              int64_t *m)) {
    return build_out("u3perm_jac_create_incidence", block, m, [&](int64_t *b) {
        return nu::build_nonzeros("u3perm_jac_create_incidence", eqnstatus, varstatus, rows, cols,
                                  count_of(nnz), true, deref(eqnincid), deref(varincid), b);
    });
}
ZARN_FORTRAN(void, U3PERM_DESTROY, u3perm_destroy_, (int64_t * block)) { RTO_IFREE(block); }

ZARN_FORTRAN(void, U3PERM_APPLY_RVEC, u3perm_apply_rvec_, (const int64_t *block, double *v)) {
    nu::apply_reals("u3perm_apply_rvec", deref(block), v);
}
ZARN_FORTRAN(void, U3PERM_APPLY_IVEC, u3perm_apply_ivec_, (const int64_t *block, int64_t *v)) {
    nu::apply_ints("u3perm_apply_ivec", deref(block), v);
}
ZARN_FORTRAN(void, U3PERM_COPY_APPLY_RVEC, u3perm_copy_apply_rvec_,
             (const int64_t *block, const double *v, int64_t *out)) {
    new_block_out("u3perm_copy_apply_rvec", out,
                  [&] { return nu::copy_apply_reals("u3perm_copy_apply_rvec", deref(block), v); });
}
ZARN_FORTRAN(void, U3PERM_COPY_APPLY_IVEC, u3perm_copy_apply_ivec_,
             (const int64_t *block, const int64_t *v, int64_t *out)) {
    new_block_out("u3perm_copy_apply_ivec", out,
                  [&] { return nu::copy_apply_ints("u3perm_copy_apply_ivec", deref(block), v); });
}
ZARN_FORTRAN(void, U3PERM_JAC_APPLY_ROW, u3perm_jac_apply_row_,
             (const int64_t *nzblock, const int64_t *eqnblock, int64_t *rows)) {
    nu::jac_apply("u3perm_jac_apply_row", deref(nzblock), deref(eqnblock), rows);
}
ZARN_FORTRAN(void, U3PERM_JAC_APPLY_COL, u3perm_jac_apply_col_,
             (const int64_t *nzblock, const int64_t *varblock, int64_t *cols)) {
    nu::jac_apply("u3perm_jac_apply_col", deref(nzblock), deref(varblock), cols);
}
ZARN_FORTRAN(void, U3PERM_JAC_COPY_APPLY_ROW, u3perm_jac_copy_apply_row_,
             (const int64_t *nzblock, const int64_t *eqnblock, const int64_t *rows, int64_t *out)) {
    new_block_out("u3perm_jac_copy_apply_row", out, [&] {
        return nu::jac_copy_apply("u3perm_jac_copy_apply_row", deref(nzblock), deref(eqnblock), rows);
    });
}
ZARN_FORTRAN(void, U3PERM_JAC_COPY_APPLY_COL, u3perm_jac_copy_apply_col_,
             (const int64_t *nzblock, const int64_t *varblock, const int64_t *cols, int64_t *out)) {
    new_block_out("u3perm_jac_copy_apply_col", out, [&] {
        return nu::jac_copy_apply("u3perm_jac_copy_apply_col", deref(nzblock), deref(varblock), cols);
    });
}
ZARN_FORTRAN(int64_t, U3PERM_COMP2UNCOMP, u3perm_comp2uncomp_, (const int64_t *block, const int64_t *i)) {
    return nu::comp2uncomp(deref(block), deref(i));
}
ZARN_FORTRAN(int64_t, U3PERM_UNCOMP2COMP, u3perm_uncomp2comp_, (const int64_t *block, const int64_t *i)) {
    return nu::uncomp2comp(deref(block), deref(i));
}

ZARN_FORTRAN(void, U3MAP_REL_INCIDENCE, u3map_rel_incidence_,
             (const int64_t *neqn, const int64_t *varstatus, const int64_t *rows, const int64_t *cols,
              const int64_t *nnz, int64_t *out)) {
    new_block_out("u3map_rel_incidence", out,
                  [&] { return nu::rel_incidence(count_of(neqn), varstatus, rows, cols, count_of(nnz)); });
}
ZARN_FORTRAN(void, U3MAP_VAR_INCIDENCE, u3map_var_incidence_,
             (const int64_t *nvar, const int64_t *eqnstatus, const int64_t *rows, const int64_t *cols,
              const int64_t *nnz, int64_t *out)) {
    new_block_out("u3map_var_incidence", out,
                  [&] { return nu::var_incidence(count_of(nvar), eqnstatus, rows, cols, count_of(nnz)); });
}
ZARN_FORTRAN(void, U3REMAP, u3remap_,
             (const int64_t *n, const int64_t *limit, const int64_t *block, int64_t *flags)) {
    nu::remap(count_of(n), deref(limit), deref(block), flags);
}
ZARN_FORTRAN(int64_t, USR3_FNDOBJ, usr3_fndobj_,
             (const int64_t *neqn, const int64_t *eqnstatus, int64_t *out)) {
    const int64_t found = nu::find_objective(count_of(neqn), eqnstatus);
    store(out, found);
    return found;
}
ZARN_FORTRAN(void, NZ_IN_ROW, nz_in_row_,
             (const int64_t *row, const int64_t *rows, const int64_t *nnz, int64_t *list, int64_t *count)) {
    if (!has_output("nz_in_row", list)) return;
    int64_t found = 0;
    *list = nu::nonzeros_in_row(deref(row), rows, count_of(nnz), &found);
    store(count, found);
}

ZARN_FORTRAN(void, U3VGRP_CREATE, u3vgrp_create_,
             (const int64_t *ncol, const int64_t *nrow, const int64_t *nnz, int64_t *g)) {
    if (!has_output("u3vgrp_create", g)) return;
    *g = nu::vgrp_create(count_of(ncol), count_of(nrow), count_of(nnz));
}
ZARN_FORTRAN(void, U3VGRP_DESTROY, u3vgrp_destroy_, (int64_t * g)) { nu::vgrp_destroy(g); }
ZARN_FORTRAN(void, U3VGRP_COMPUTE, u3vgrp_compute_,
             (const int64_t *rows, const int64_t *cols, const int64_t *status, const int64_t *rowoffset,
              const int64_t *coloffset, const int64_t *usefixed, const int64_t *g, int64_t *err)) {
    // An offset left out reads as -1 and is refused.
    store(err, nu::vgrp_compute(rows, cols, status, count_of(rowoffset), count_of(coloffset), deref(usefixed),
                                deref(g)));
}
ZARN_FORTRAN(void, U3_KPR, u3_kpr_,
             (const int64_t *ncol, const int64_t *nrow, const int64_t *nnz, const int64_t *rows,
              const int64_t *cols, const int64_t *marks, int64_t *rowstart, int64_t *grouplist,
              int64_t *ngroups, int64_t *err)) {
    store(err, nu::kpr(count_of(ncol), count_of(nrow), count_of(nnz), rows, cols, marks, rowstart, grouplist,
                       ngroups));
}
ZARN_FORTRAN(void, U3_BKSORT, u3_bksort_,
             (const int64_t *n, const int64_t *nnz, const int64_t *keys, int64_t *order, int64_t *work)) {
    (void)nu::bksort(count_of(n), count_of(nnz), keys, order, work);
}
ZARN_FORTRAN(void, U3NJAC_COMPUTE, u3njac_compute_,
             (const int64_t *g, double *x, const double *typical, const int64_t *status, double *f,
              const int64_t *coloffset, const int64_t *cols, const double *minstep, const double *relstep,
              double *jac, int64_t *state, int64_t *err)) {
    if (coloffset == nullptr || relstep == nullptr) {
        zarn::rtopipe::report(zarn::numutil::msg::kMissingArray, "u3njac_compute");
        store(err, 1);
        return;
    }
    const nu::NjacArgs args{deref(g), x, typical, status, f, *coloffset, cols, minstep, *relstep, jac};
    store(err, nu::njac(args, state));
}
ZARN_FORTRAN(void, U3VGRP_SAVE_TO_FILE, u3vgrp_save_to_file_, (const int64_t *unit, const int64_t *g)) {
    nu::vgrp_save(count_of(unit), deref(g));
}
ZARN_FORTRAN(void, U3VGRP_READ_FM_FILE, u3vgrp_read_fm_file_, (const int64_t *unit, int64_t *g)) {
    if (!has_output("u3vgrp_read_fm_file", g)) return;
    *g = nu::vgrp_read(count_of(unit));
}
ZARN_FORTRAN(void, U3VGRP_REPORT_BY_IDX, u3vgrp_report_by_idx_, (const int64_t *g, const int64_t *offset)) {
    nu::vgrp_report(deref(g), count_of(offset));
}

ZARN_FORTRAN(void, SLATEC_DSORT, slatec_dsort_,
             (double *dx, double *dy, const int64_t *n, const int64_t *kflag)) {
    nu::sort_reals(dx, dy, deref(n), deref(kflag));
}
ZARN_FORTRAN(void, SLATEC_ISORT, slatec_isort_,
             (int64_t * ix, int64_t *iy, const int64_t *n, const int64_t *kflag)) {
    nu::sort_ints(ix, iy, deref(n), deref(kflag));
}

ZARN_FORTRAN(void, COPY_CHAR_STR, copy_char_str_,
             (const char *src, const int64_t *srclen, char *dst, const int64_t *dstlen, size_t src_len,
              size_t dst_len)) {
    nu::copy_text(src, deref(srclen), src_len, dst, deref(dstlen), dst_len);
}
ZARN_FORTRAN(void, IU_STRUPR, iu_strupr_, (char *text, size_t text_len)) { nu::to_upper(text, text_len); }
ZARN_FORTRAN(void, IU_STRLWR, iu_strlwr_, (char *text, size_t text_len)) { nu::to_lower(text, text_len); }
ZARN_FORTRAN(void, IU_CLRSTR, iu_clrstr_, (char *text, size_t text_len)) { nu::blank(text, text_len); }
ZARN_FORTRAN(void, IU_CLRSCR, iu_clrscr_, (void)) { nu::clear_screen(); }
ZARN_FORTRAN(void, IU_STRLEN, iu_strlen_, (int64_t * len, const char *text, size_t text_len)) {
    store(len, nu::trimmed_length(text, text_len));
}
ZARN_FORTRAN(void, IU_PACKSTR, iu_packstr_, (char *text, size_t text_len)) { nu::pack(text, text_len); }
ZARN_FORTRAN(void, IU_I42STR, iu_i42str_,
             (const int32_t *values, const int64_t *n, char *text, size_t text_len)) {
    nu::values_to_text("iu_i42str", values, count_of(n), 4, text, text_len);
}
ZARN_FORTRAN(void, IU_STR2I4, iu_str2i4_,
             (const char *text, int32_t *values, const int64_t *n, size_t text_len)) {
    nu::text_to_values("iu_str2i4", text, text_len, values, count_of(n), 4);
}
ZARN_FORTRAN(void, IU_R82STR, iu_r82str_,
             (const double *values, const int64_t *n, char *text, size_t text_len)) {
    nu::values_to_text("iu_r82str", values, count_of(n), 8, text, text_len);
}
ZARN_FORTRAN(void, IU_STR2R8, iu_str2r8_,
             (const char *text, double *values, const int64_t *n, size_t text_len)) {
    nu::text_to_values("iu_str2r8", text, text_len, values, count_of(n), 8);
}
ZARN_FORTRAN(void, IU_STRCAT, iu_strcat_, (char *dst, const char *src, size_t dst_len, size_t src_len)) {
    nu::concat(dst, dst_len, src, src_len);
}
