// Variable lists: a whole variable's attributes written in one call when no
// one hears the change (see rtvarlst_restore.h).
#include "rtvarlst/rtvarlst_restore.h"

#include "rtcontext/listeners.h"
#include "rtvarlst/rtvarlst_internal.h"
#include "rtvarlst/rtvarlst_scale.h"
#include "zarnutils/varutl.h"

namespace zarn::rtvarlst {

namespace {

using zarn::rtattrdict::column_base;
using zarn::rtattrdict::SparseSlot;

// The sparse column a value goes to, or kSparseCount for a full one.
Sparse sparse_of(Quiet what) {
    switch (what) {
        case Quiet::kQuality:
            return kSpQuality;
        case Quiet::kRamped:
            return kSpRamped;
        case Quiet::kStep:
            return kSpStep;
        case Quiet::kSbWeight:
            return kSpSbWeight;
        case Quiet::kTargetHomo:
            return kSpTargetHomo;
        default:
            return kSparseCount;
    }
}

}  // namespace

int32_t name_index(rtvarlst_t *list, const char *name, std::size_t len, int32_t guess) {
    if (list != nullptr && list->aliases == nullptr &&
        zarn::rtattrdict::finds(list->dictionary, guess, name, len))
        return guess;
    return rtovarlst__varname2index(list, name);
}

bool unheard(rtvarlst_t *list, int32_t i) {
    return in_range(list, i) && block_of(list, i) == nullptr &&
           !zarn::rtcontext::has_callbacks(RTOVARLST_CHANGE_EVENT);
}

int store_unheard(rtvarlst_t *list, int32_t i, const QuietValue *values, int n) {
    if (!in_range(list, i)) return 0;
    VarList *l = as_list(list);
    const int32_t at = zarn::rtattrdict::head_offset(list->dictionary) + i - 1;  // cell of every full column
    // One sparse record holds every sparse column of the item.
    SparseSlot *const any_sparse = sparse_slot(list, kSpStep, i);
    auto *const modified = static_cast<rtvarmod_t *>(column_base<void *>(l->cols[kColModified])[at]);
    int64_t *const status = column_base<int64_t>(l->cols[kColStatus]) + at;
    const double scale = effective_scale(column_base<double>(l->cols[kColScale])[at]);
    auto held = [scale](const QuietValue &v) {
        return v.per_scale && v.d != RTOVARLST_UNDEFINED ? v.d / scale : v.d;
    };
    auto full_real = [&](Col c, double x) {
        double *p = column_base<double>(l->cols[c]) + at;
        if (*p != x) *p = x;  // an equal number (0 against -0) stays as it is, as the writers keep it
    };
    auto slot = [&](Quiet what) { return sparse_slot(list, sparse_of(what), i); };
    int k = 0;
    for (; k < n; ++k) {
        const QuietValue &v = values[k];
        switch (v.what) {
            case Quiet::kSpec:
                if (varInqSpec(*status) == v.i) break;
                if (v.i < VAR_CALC || v.i > VAR_INITIAL) return k;  // its writer reports it
                varSetSpec(status, v.i);
                break;
            case Quiet::kBaseUom:
                column_base<int64_t>(l->cols[kColBaseUom])[at] = v.i;
                break;
            case Quiet::kModifiedMask:
                if (modified == nullptr) return k;  // its writer makes the record
                if (v.i > 0) modified->mask1 = static_cast<uint32_t>(v.i);
                if (v.i < 0) modified->mask2 = static_cast<uint32_t>(v.i);
                break;
            case Quiet::kUom:
                column_base<int64_t>(l->cols[kColUom])[at] = v.i;
                break;
            case Quiet::kPhysicalType:
                if (v.i < -255 || v.i > 255) return k;
                varSetPhysicalType(status, v.i);
                break;
            case Quiet::kConnType:
                if (v.i >= 0 && v.i <= RTOVARLST_MAX_CONN_TYPE)
                    column_base<int64_t>(l->cols[kColConnType])[at] = v.i;
                break;
            case Quiet::kBoundType:
                if (v.i < VAR_BOUND_HARD || v.i > VAR_BOUND_SOFT2) return k;
                varSetBoundType(v.i, status);
                break;
            case Quiet::kParamHomo:
                column_base<unsigned char>(l->cols[kColParamHomo])[at] = v.i != 0 ? 1 : 0;
                break;
            case Quiet::kQuality:
            case Quiet::kRamped:
                if (any_sparse != nullptr)
                    slot(v.what)->i = v.i;
                else if (l->sparse[sparse_of(v.what)]->desc->idefault != v.i)
                    return k;  // only the default stores nothing without a record
                break;
            case Quiet::kStep: {
                const double x = held(v);
                if (any_sparse != nullptr) {
                    if (slot(v.what)->d != x) slot(v.what)->d = x;
                } else if (l->sparse[kSpStep]->desc->ddefault != x) {
                    return k;  // likewise
                }
                break;
            }
            case Quiet::kSbWeight:
            case Quiet::kTargetHomo:
                if (any_sparse == nullptr) return k;  // their writers make the record whatever the value
                slot(v.what)->d = held(v);
                break;
            case Quiet::kLower:
                full_real(kColLower, held(v));
                break;
            case Quiet::kValue:
                full_real(kColValue, held(v));
                break;
            case Quiet::kUpper:
                full_real(kColUpper, held(v));
                break;
            case Quiet::kInitial:
                full_real(kColInit, held(v));
                break;
            case Quiet::kThreshold:
                full_real(kColThreshold, held(v));
                break;
        }
    }
    return k;
}

}  // namespace zarn::rtvarlst
