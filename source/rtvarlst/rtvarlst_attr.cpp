// Variable lists: per-attribute readers and writers, and whole-column vectors.
#include <cstring>

#include "rtopipe/report.h"
#include "rtvarlst/rtvarlst_internal.h"
#include "rtvarlst/rtvarlst_messages.h"
#include "zarnutils/varprofile.hpp"
#include "zarnutils/varutl.h"

namespace zarn::rtvarlst {

namespace {

const char *col_name(Col c) {
    static constexpr const char *names[kColCount] = {
        kValue,  kInit,    kLower, kUpper, kScale,    kSlvScale, kShadowPrice, kThreshold,
        kStatus, kBaseUom, kUom,   kBasic, kConnType, kModified, kConnMgr,     kParamHomo};
    return names[c];
}
// A full real column: read (with conversion) or write (returns 1 when the stored number changed).
double inq_real(rtvarlst_t *list, int32_t i, Col c, Conv how, int in_si) {
    if (list == nullptr) return RTOVARLST_UNDEFINED;
    const double *p = cell<double>(list, c, i);
    if (p == nullptr) return 0.0;
    return in_si ? to_si(list, i, *p, how) : *p;
}

int set_real(rtvarlst_t *list, int32_t i, Col c, double v, Conv how, int in_si) {
    if (list == nullptr) return 0;
    double *p = cell<double>(list, c, i);
    if (p == nullptr) {
        rtattrdict_setd(list->dictionary, i, col_name(c), v);  // reports the bad index
        return 0;
    }
    const double x = in_si ? from_si(list, i, v, how) : v;
    if (*p == x) return 0;
    *p = x;
    return 1;
}

// Item i's slot of sparse attribute a when i is in range and has a sparse
// record; otherwise nullptr, and the dictionary's own read gives the default
// (or reports the bad index).
const zarn::rtattrdict::SparseSlot *record_slot(rtvarlst_t *list, int32_t i, const rtattr_t *a) {
    if (!in_range(list, i)) return nullptr;
    return zarn::rtattrdict::sparse_cell(as_list(list)->head,
                                         zarn::rtattrdict::head_offset(list->dictionary) + i, a);
}

// A sparse real column. An item that has a sparse record is reached through
// the cached attribute; the dictionary's own path creates the record (and
// reports a bad index).
double inq_sparse_real(rtvarlst_t *list, int32_t i, Sparse c, Conv how, int in_si) {
    if (list == nullptr) return RTOVARLST_UNDEFINED;
    if (!in_range(list, i)) return rtattrdict_getd(list->dictionary, i, kSparseNames[c]);
    const zarn::rtattrdict::SparseSlot *s = sparse_slot(list, c, i);
    const double v = s ? s->d : as_list(list)->sparse[c]->desc->ddefault;
    return in_si ? to_si(list, i, v, how) : v;
}

void set_sparse_real(rtvarlst_t *list, int32_t i, Sparse c, double v, Conv how, int in_si) {
    if (list == nullptr) return;
    const bool inside = in_range(list, i);
    const double x = in_si && inside ? from_si(list, i, v, how) : v;
    zarn::rtattrdict::SparseSlot *s = inside ? sparse_slot(list, c, i) : nullptr;
    if (s != nullptr)
        s->d = x;
    else
        rtattrdict_setd(list->dictionary, i, kSparseNames[c], x);
}

int32_t inq_full_int(rtvarlst_t *list, int32_t i, Col c, int32_t neutral) {
    if (list == nullptr) return neutral;
    const int64_t *p = cell<int64_t>(list, c, i);
    return p ? static_cast<int32_t>(*p) : 0;
}

void set_full_int(rtvarlst_t *list, int32_t i, Col c, int64_t v) {
    if (list == nullptr) return;
    int64_t *p = cell<int64_t>(list, c, i);
    if (p == nullptr) {
        rtattrdict_seti(list->dictionary, i, col_name(c), v);  // reports the bad index
        return;
    }
    *p = v;
}

int32_t inq_sparse_int(rtvarlst_t *list, int32_t i, Sparse c, int32_t neutral) {
    if (list == nullptr) return neutral;
    if (!in_range(list, i)) return rtattrdict_geti(list->dictionary, i, kSparseNames[c]);
    const zarn::rtattrdict::SparseSlot *s = sparse_slot(list, c, i);
    return s ? s->i : static_cast<int32_t>(as_list(list)->sparse[c]->desc->idefault);
}

// Writes a sparse integer only when it differs (no sparse record for an unchanged default).
void set_sparse_int(rtvarlst_t *list, int32_t i, Sparse c, int32_t v) {
    if (list == nullptr) return;
    if (in_range(list, i)) {
        zarn::rtattrdict::SparseSlot *s = sparse_slot(list, c, i);
        if (s != nullptr) {
            s->i = v;
            return;
        }
        if (as_list(list)->sparse[c]->desc->idefault == v) return;
    }
    rtattrdict_seti(list->dictionary, i, kSparseNames[c], v);
}

}  // namespace
}  // namespace zarn::rtvarlst

using namespace zarn::rtvarlst;

extern "C" {

/* ---- VALUE, INIT, LOWER, UPPER ---- */

double rtovarlst_inq_var_value(rtvarlst_t *list, int32_t i, int in_si) {
    return inq_real(list, i, kColValue, Conv::kPlain, in_si);
}

void rtovarlst_set_var_value(rtvarlst_t *list, int32_t i, double v, int in_si) {
    if (set_real(list, i, kColValue, v, Conv::kPlain, in_si)) notify(list, i, RTOVARLST_CHG_VALUE);
}

double rtovarlst_inq_var_initial(rtvarlst_t *list, int32_t i, int in_si) {
    return inq_real(list, i, kColInit, Conv::kKeepUndefined, in_si);
}

void rtovarlst_set_var_initial(rtvarlst_t *list, int32_t i, double v, int in_si) {
    set_real(list, i, kColInit, v, Conv::kKeepUndefined, in_si);
}

double rtovarlst_inq_var_lower(rtvarlst_t *list, int32_t i, int in_si) {
    return inq_real(list, i, kColLower, Conv::kPlain, in_si);
}

void rtovarlst_set_var_lower(rtvarlst_t *list, int32_t i, double v, int in_si) {
    if (set_real(list, i, kColLower, v, Conv::kPlain, in_si)) notify(list, i, RTOVARLST_CHG_LOWER);
}

double rtovarlst_inq_var_upper(rtvarlst_t *list, int32_t i, int in_si) {
    return inq_real(list, i, kColUpper, Conv::kPlain, in_si);
}

void rtovarlst_set_var_upper(rtvarlst_t *list, int32_t i, double v, int in_si) {
    if (set_real(list, i, kColUpper, v, Conv::kPlain, in_si)) notify(list, i, RTOVARLST_CHG_UPPER);
}

/* ---- STEP, SCALE, SLVSCALE, SBWEIGHT, SHADOW_PRICE ---- */

double rtovarlst_inq_var_step(rtvarlst_t *list, int32_t i) {
    return inq_sparse_real(list, i, kSpStep, Conv::kPlain, 1);
}

double rtovarlst_inq_var_step_inbaseuom(rtvarlst_t *list, int32_t i) {
    return inq_sparse_real(list, i, kSpStep, Conv::kPlain, 0);
}

void rtovarlst_set_var_step(rtvarlst_t *list, int32_t i, double v) {
    set_sparse_real(list, i, kSpStep, v, Conv::kPlain, 1);
}

void rtovarlst_set_var_step_inbaseuom(rtvarlst_t *list, int32_t i, double v) {
    if (list == nullptr) return;
    if (in_range(list, i) && inq_sparse_real(list, i, kSpStep, Conv::kPlain, 0) == v) return;
    set_sparse_real(list, i, kSpStep, v, Conv::kPlain, 0);
}

double rtovarlst_inq_var_scale(rtvarlst_t *list, int32_t i) {
    return inq_real(list, i, kColScale, Conv::kPlain, 0);
}

double rtovarlst_inq_var_slvscl(rtvarlst_t *list, int32_t i, int in_si) {
    return inq_real(list, i, kColSlvScale, Conv::kDelta, in_si);
}

void rtovarlst_set_var_slvscl(rtvarlst_t *list, int32_t i, double v, int in_si) {
    if (set_real(list, i, kColSlvScale, v, Conv::kDelta, in_si)) notify(list, i, RTOVARLST_CHG_SLVSCALE);
}

double rtovarlst_inq_var_sbweight(rtvarlst_t *list, int32_t i) {
    return inq_sparse_real(list, i, kSpSbWeight, Conv::kPlain, 0);
}

void rtovarlst_set_var_sbweight(rtvarlst_t *list, int32_t i, double v) {
    set_sparse_real(list, i, kSpSbWeight, v, Conv::kPlain, 0);
}

double rtovarlst_inq_var_shadow_price(rtvarlst_t *list, int32_t i, int in_si) {
    return inq_real(list, i, kColShadow, Conv::kPlain, in_si);
}

void rtovarlst_set_var_shadow_price(rtvarlst_t *list, int32_t i, double v, int in_si) {
    set_real(list, i, kColShadow, v, Conv::kPlain, in_si);
}

/* ---- Integers and codes ---- */

int32_t rtovarlst_inq_var_active_bound(rtvarlst_t *list, int32_t i) {
    return inq_sparse_int(list, i, kSpActiveBound, 0);
}

void rtovarlst_set_var_active_bound(rtvarlst_t *list, int32_t i, int32_t code) {
    set_sparse_int(list, i, kSpActiveBound, code);
}

int64_t rtovarlst_inq_var_status(rtvarlst_t *list, int32_t i) {
    if (list == nullptr) return RTOVARLST_NEUTRAL_INT;
    const int64_t *p = cell<int64_t>(list, kColStatus, i);
    return p ? *p : 0;
}

void rtovarlst_set_var_status(rtvarlst_t *list, int32_t i, int64_t word) {
    set_full_int(list, i, kColStatus, word);
}

int32_t rtovarlst_inq_var_related(rtvarlst_t *list, int32_t i) {
    return inq_sparse_int(list, i, kSpRelated, RTOVARLST_NEUTRAL_INT);
}

void rtovarlst_set_var_related(rtvarlst_t *list, int32_t i, int32_t related) {
    set_sparse_int(list, i, kSpRelated, related);
}

void *rtovarlst_inq_var_connMgr(rtvarlst_t *list, int32_t i) {
    if (list == nullptr) return nullptr;
    void *const *p = cell<void *>(list, kColConnMgr, i);
    return p ? *p : nullptr;
}

void rtovarlst_set_var_connMgr(rtvarlst_t *list, int32_t i, void *manager) {
    if (list != nullptr) rtattrdict_setv(list->dictionary, i, kConnMgr, manager);
}

IWEXWrapper *rtovarlst_inq_var_comWrapper(rtvarlst_t *list, int32_t i) {
    return list ? rtattrdict_getwrapper(list->dictionary, i, kComWrapper) : nullptr;
}

void rtovarlst_set_var_comWrapper(rtvarlst_t *list, int32_t i, IWEXWrapper *wrapper) {
    if (list != nullptr) rtattrdict_setwrapper(list->dictionary, i, kComWrapper, wrapper);
}

VarProfile *rtovarlst_inq_var_profile(rtvarlst_t *list, int32_t i) {
    if (list == nullptr) return nullptr;
    const zarn::rtattrdict::SparseSlot *s = record_slot(list, i, as_list(list)->sparse[kSpVarProfile]);
    return static_cast<VarProfile *>(s ? s->v : rtattrdict_getv(list->dictionary, i, kVarProfile));
}

void rtovarlst_set_var_profile(rtvarlst_t *list, int32_t i, VarProfile *profile) {
    // The list owns its profiles from the call on: one it replaces dies here,
    // and so does one it cannot store (no list, an index outside it).
    VarProfile *old = list != nullptr && in_range(list, i) ? rtovarlst_inq_var_profile(list, i) : nullptr;
    if (profile != nullptr && profile == old) return;
    if (list != nullptr && rtattrdict_setv_return_modified(list->dictionary, i, kVarProfile, profile))
        delete old;
    else
        delete profile;
}

void rtovarlst_set_var_profile_item(rtvarlst_t *list, int32_t i, const ProfileItem *item) {
    VarProfile *p = rtovarlst_inq_var_profile(list, i);
    if (p == nullptr || item == nullptr) return;
    try {
        p->AddItem(*item);
    } catch (...) {
        zarn::rtopipe::report(msg::kProfileNoMemory);
    }
}

int32_t rtovarlst_inq_var_quality(rtvarlst_t *list, int32_t i) {
    return inq_sparse_int(list, i, kSpQuality, RTOVARLST_NEUTRAL_INT);
}

void rtovarlst_set_var_quality(rtvarlst_t *list, int32_t i, int32_t quality) {
    if (list == nullptr) return;
    set_sparse_int(list, i, kSpQuality, quality);
    if (in_range(list, i)) notify(list, i, RTOVARLST_CHG_QUALITY);
}

int32_t rtovarlst_inq_var_uom(rtvarlst_t *list, int32_t i) { return inq_full_int(list, i, kColUom, 0); }

void rtovarlst_set_var_uom(rtvarlst_t *list, int32_t i, int32_t uom) { set_full_int(list, i, kColUom, uom); }

int32_t rtovarlst_inq_var_baseuom(rtvarlst_t *list, int32_t i) {
    return inq_full_int(list, i, kColBaseUom, 1);
}

void rtovarlst_set_var_baseuom(rtvarlst_t *list, int32_t i, int32_t uom) {
    set_full_int(list, i, kColBaseUom, uom);
}

double rtovarlst_inq_var_threshold(rtvarlst_t *list, int32_t i, int in_si) {
    return inq_real(list, i, kColThreshold, Conv::kKeepUndefined, in_si);
}

void rtovarlst_set_var_threshold(rtvarlst_t *list, int32_t i, double v, int in_si) {
    if (list == nullptr) return;
    set_real(list, i, kColThreshold, v, Conv::kKeepUndefined, in_si);
    if (in_range(list, i)) notify(list, i, RTOVARLST_CHG_THRESHOLD);
}

int32_t rtovarlst_inq_var_ramped(rtvarlst_t *list, int32_t i) {
    return inq_sparse_int(list, i, kSpRamped, 0);
}

void rtovarlst_set_var_ramped(rtvarlst_t *list, int32_t i, int32_t ramped) {
    if (list == nullptr || i == 0) return;
    set_sparse_int(list, i, kSpRamped, ramped);
    if (in_range(list, i)) notify(list, i, RTOVARLST_CHG_RAMPED);
}

QDLEOBlock *rtovarlst_inq_var_blockptr(rtvarlst_t *list, int32_t i) {
    if (list == nullptr) return nullptr;
    const zarn::rtattrdict::SparseSlot *s = record_slot(list, i, as_list(list)->blockptr);
    return static_cast<QDLEOBlock *>(s ? s->v : rtattrdict_getv(list->dictionary, i, kBlockPtr));
}

void rtovarlst_set_var_blockptr(rtvarlst_t *list, int32_t i, QDLEOBlock *block) {
    if (list == nullptr || block == nullptr) return;
    rtattrdict_setv(list->dictionary, i, kBlockPtr, block);
}

void rtovarlst_set_var_blockptr_int(rtvarlst_t *list, int32_t i, int64_t block) {
    rtovarlst_set_var_blockptr(list, i, reinterpret_cast<QDLEOBlock *>(static_cast<intptr_t>(block)));
}

int32_t rtovarlst_inq_var_param_homo(rtvarlst_t *list, int32_t i) {
    const unsigned char *p = list ? cell<unsigned char>(list, kColParamHomo, i) : nullptr;
    return p ? *p : 0;
}

void rtovarlst_set_var_param_homo(rtvarlst_t *list, int32_t i, int32_t flag) {
    if (list == nullptr) return;
    unsigned char *p = cell<unsigned char>(list, kColParamHomo, i);
    if (p == nullptr) {
        rtattrdict_setb(list->dictionary, i, kParamHomo, flag);  // reports the bad index
        return;
    }
    *p = flag != 0 ? 1 : 0;
    notify(list, i, RTOVARLST_CHG_PARAM_HOMO);
}

void rtovarlst_clear_var_param_homo(rtvarlst_t *list) {
    if (list == nullptr) return;
    unsigned char *v = rtattrdict_bvector(list->dictionary, kParamHomo);
    if (v != nullptr) std::memset(v, 0, static_cast<size_t>(held(list)));
}

double rtovarlst_inq_var_target_homo(rtvarlst_t *list, int32_t i, int in_si) {
    return inq_sparse_real(list, i, kSpTargetHomo, Conv::kPlain, in_si);
}

void rtovarlst_set_var_target_homo(rtvarlst_t *list, int32_t i, double v, int in_si) {
    if (list == nullptr) return;
    set_sparse_real(list, i, kSpTargetHomo, v, Conv::kPlain, in_si);
    if (in_range(list, i)) notify(list, i, RTOVARLST_CHG_TARGET_HOMO);
}

const char *rtovarlst_inq_var_description(rtvarlst_t *list, int32_t i) {
    if (list == nullptr) return nullptr;
    const zarn::rtattrdict::SparseSlot *s = record_slot(list, i, as_list(list)->sparse[kSpDescription]);
    return s ? s->s : rtattrdict_gets(list->dictionary, i, kDescription);
}

void rtovarlst_set_var_description(rtvarlst_t *list, int32_t i, const char *text) {
    if (list != nullptr) rtattrdict_sets(list->dictionary, i, kDescription, text ? text : "");
}

int32_t rtovarlst_inq_var_conn_type(rtvarlst_t *list, int32_t i) {
    return inq_full_int(list, i, kColConnType, 0);
}

void rtovarlst_set_var_conn_type(rtvarlst_t *list, int32_t i, int32_t code) {
    if (!in_range(list, i) || code < 0 || code > RTOVARLST_MAX_CONN_TYPE) return;
    set_full_int(list, i, kColConnType, code);
}

int32_t rtovarlst_inq_var_basic(rtvarlst_t *list, int32_t i) { return inq_full_int(list, i, kColBasic, 0); }

void rtovarlst_set_var_basic(rtvarlst_t *list, int32_t i, int32_t code) {
    if (i == 0) return;
    set_full_int(list, i, kColBasic, code);
}

int32_t rtovarlst_inq_var_marked(rtvarlst_t *list, int32_t i) {
    return in_range(list, i) ? varInqMarked(status_of(list, i)) : 0;
}

void rtovarlst_set_var_marked(rtvarlst_t *list, int32_t i, int32_t flag) {
    if (!in_range(list, i)) return;
    int64_t *w = cell<int64_t>(list, kColStatus, i);
    varSetMarked(flag ? 1 : 0, w);
}
/* ---- Column vectors ---- */

double *rtovarlst_vec_value(rtvarlst_t *list) {
    return list ? rtattrdict_dvector(list->dictionary, kValue) : nullptr;
}
double *rtovarlst_vec_scale(rtvarlst_t *list) {
    return list ? rtattrdict_dvector(list->dictionary, kScale) : nullptr;
}
double *rtovarlst_vec_solveScale(rtvarlst_t *list) {
    return list ? rtattrdict_dvector(list->dictionary, kSlvScale) : nullptr;
}
double *rtovarlst_vec_shadow_price(rtvarlst_t *list) {
    return list ? rtattrdict_dvector(list->dictionary, kShadowPrice) : nullptr;
}
double *rtovarlst_vec_lower(rtvarlst_t *list) {
    return list ? rtattrdict_dvector(list->dictionary, kLower) : nullptr;
}
double *rtovarlst_vec_upper(rtvarlst_t *list) {
    return list ? rtattrdict_dvector(list->dictionary, kUpper) : nullptr;
}
double *rtovarlst_vec_initial(rtvarlst_t *list) {
    return list ? rtattrdict_dvector(list->dictionary, kInit) : nullptr;
}
int64_t *rtovarlst_vec_status(rtvarlst_t *list) {
    return list ? rtattrdict_ivector(list->dictionary, kStatus) : nullptr;
}
int64_t *rtovarlst_vec_baseuom(rtvarlst_t *list) {
    return list ? rtattrdict_ivector(list->dictionary, kBaseUom) : nullptr;
}
int64_t *rtovarlst_vec_uom(rtvarlst_t *list) {
    return list ? rtattrdict_ivector(list->dictionary, kUom) : nullptr;
}
int64_t *rtovarlst_vec_basic(rtvarlst_t *list) {
    return list ? rtattrdict_ivector(list->dictionary, kBasic) : nullptr;
}
void **rtovarlst_vec_connGroup(rtvarlst_t *list) {
    return list ? rtattrdict_vvector(list->dictionary, "CONN_GROUP") : nullptr;
}

}  // extern "C"
