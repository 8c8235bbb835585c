// Variable lists: a whole variable's attributes written in one call when no
// one hears the change, and read in one call (see rtvarlst_restore.h).
#include "rtvarlst/rtvarlst_restore.h"

#include <cstring>

#include "rtcontext/listeners.h"
#include "rtvarlst/rtvarlst_internal.h"
#include "rtvarlst/rtvarlst_scale.h"
#include "zarnutils/varutl.h"

namespace zarn::rtvarlst {

namespace {

using zarn::rtattrdict::column_base;
using zarn::rtattrdict::SparseSlot;

}  // namespace

int32_t name_index(rtvarlst_t *list, const char *name, std::size_t len, int32_t guess) {
    if (list != nullptr && list->aliases == nullptr &&
        zarn::rtattrdict::finds(list->dictionary, guess, name, len))
        return guess;
    return rtovarlst__varname2index(list, name);
}

bool store_unheard(rtvarlst_t *list, int32_t i, const Restored &r) {
    if (!in_range(list, i) || block_of(list, i) != nullptr ||
        zarn::rtcontext::has_callbacks(RTOVARLST_CHANGE_EVENT))
        return false;
    VarList *l = as_list(list);
    const int32_t at = zarn::rtattrdict::head_offset(list->dictionary) + i - 1;  // cell of every full column
    const uint32_t given = r.given;
    auto has = [given](Quiet q) { return (given & bit(q)) != 0; };
    const double scale = effective_scale(column_base<double>(l->cols[kColScale])[at]);
    auto held = [&](Quiet q) {
        const double d = r.real(q);
        return (r.per_scale & bit(q)) != 0 && d != RTOVARLST_UNDEFINED ? d / scale : d;
    };
    auto code = [&](Quiet q) { return r.code(q); };
    int64_t *const status = column_base<int64_t>(l->cols[kColStatus]) + at;
    int64_t word = *status;  // its fields change in this copy, stored once
    // One sparse record holds every sparse column of the item.
    SparseSlot *const record = zarn::rtattrdict::sparse_record(l->head, at + 1);
    auto *const modified = static_cast<rtvarmod_t *>(column_base<void *>(l->cols[kColModified])[at]);
    auto slot = [&](Sparse s) { return record + l->sparse[s]->where.slot; };

    // What needs the writers: codes they report, records they would make.
    if (has(Quiet::kSpec) && varInqSpec(word) != code(Quiet::kSpec) &&
        (code(Quiet::kSpec) < VAR_CALC || code(Quiet::kSpec) > VAR_INITIAL))
        return false;
    if (has(Quiet::kPhysicalType) && (code(Quiet::kPhysicalType) < -255 || code(Quiet::kPhysicalType) > 255))
        return false;
    if (has(Quiet::kBoundType) &&
        (code(Quiet::kBoundType) < VAR_BOUND_HARD || code(Quiet::kBoundType) > VAR_BOUND_SOFT2))
        return false;
    if (has(Quiet::kModifiedMask) && modified == nullptr) return false;
    if (record == nullptr) {
        // Without a sparse record an integer equal to its default and a step
        // equal to the one held (the default) store nothing; SBWeight and the
        // homotopy target make the record whatever their value.
        if ((has(Quiet::kQuality) && code(Quiet::kQuality) != l->sparse[kSpQuality]->desc->idefault) ||
            (has(Quiet::kRamped) && code(Quiet::kRamped) != l->sparse[kSpRamped]->desc->idefault) ||
            (has(Quiet::kStep) && held(Quiet::kStep) != l->sparse[kSpStep]->desc->ddefault) ||
            has(Quiet::kSbWeight) || has(Quiet::kTargetHomo))
            return false;
    }

    // Cells are written only when they change, so that restoring what the
    // list holds already leaves its memory clean.
    auto keep = [](auto *cell, auto value) {
        if (*cell != value)
            *cell = value;  // for reals: an equal number (0 against -0) stays, as the writers keep it
    };
    auto keep_bits = [](double *cell, double value) {  // what a writer that always stores leaves
        if (std::memcmp(cell, &value, sizeof value) != 0) *cell = value;
    };
    auto full_int = [&](Col c, Quiet q) {
        if (has(q)) keep(column_base<int64_t>(l->cols[c]) + at, static_cast<int64_t>(code(q)));
    };
    auto full_real = [&](Col c, Quiet q) {
        if (has(q)) keep(column_base<double>(l->cols[c]) + at, held(q));
    };
    auto mask = [&](int32_t m) {
        if (m > 0) keep(&modified->mask1, static_cast<uint32_t>(m));
        if (m < 0) keep(&modified->mask2, static_cast<uint32_t>(m));
    };
    if (has(Quiet::kSpec) && varInqSpec(word) != code(Quiet::kSpec)) varSetSpec(&word, code(Quiet::kSpec));
    if (has(Quiet::kPhysicalType)) varSetPhysicalType(&word, code(Quiet::kPhysicalType));
    if (has(Quiet::kBoundType)) varSetBoundType(code(Quiet::kBoundType), &word);
    keep(status, word);
    full_int(kColBaseUom, Quiet::kBaseUom);
    full_int(kColUom, Quiet::kUom);
    if (has(Quiet::kConnType) && code(Quiet::kConnType) >= 0 &&
        code(Quiet::kConnType) <= RTOVARLST_MAX_CONN_TYPE)
        full_int(kColConnType, Quiet::kConnType);
    if (has(Quiet::kParamHomo))
        keep(column_base<unsigned char>(l->cols[kColParamHomo]) + at,
             static_cast<unsigned char>(code(Quiet::kParamHomo) != 0 ? 1 : 0));
    if (has(Quiet::kModifiedMask)) mask(code(Quiet::kModifiedMask));
    if (has(Quiet::kModifiedMask) && r.second_given) mask(r.second_mask());
    if (record != nullptr) {
        if (has(Quiet::kQuality)) keep(&slot(kSpQuality)->i, code(Quiet::kQuality));
        if (has(Quiet::kRamped)) keep(&slot(kSpRamped)->i, code(Quiet::kRamped));
        if (has(Quiet::kStep)) keep(&slot(kSpStep)->d, held(Quiet::kStep));
        if (has(Quiet::kSbWeight)) keep_bits(&slot(kSpSbWeight)->d, held(Quiet::kSbWeight));
        if (has(Quiet::kTargetHomo)) keep_bits(&slot(kSpTargetHomo)->d, held(Quiet::kTargetHomo));
    }
    full_real(kColLower, Quiet::kLower);
    full_real(kColValue, Quiet::kValue);
    full_real(kColUpper, Quiet::kUpper);
    full_real(kColInit, Quiet::kInitial);
    full_real(kColThreshold, Quiet::kThreshold);
    return true;
}

void load_saved(rtvarlst_t *list, int32_t i, Saved *out) {
    Saved &s = *out;
    if (!in_range(list, i)) {
        s = Saved{};  // what the single readers give an item outside the columns
        return;
    }
    VarList *l = as_list(list);
    const int32_t at = zarn::rtattrdict::head_offset(list->dictionary) + i - 1;  // cell of every full column
    auto real = [&](Col c) { return column_base<double>(l->cols[c])[at]; };
    auto full_int = [&](Col c) { return static_cast<int32_t>(column_base<int64_t>(l->cols[c])[at]); };
    s.status = column_base<int64_t>(l->cols[kColStatus])[at];
    s.baseuom = full_int(kColBaseUom);
    s.uom = full_int(kColUom);
    s.conn_type = full_int(kColConnType);
    s.param_homo = column_base<unsigned char>(l->cols[kColParamHomo])[at];
    const auto *modified = static_cast<const rtvarmod_t *>(column_base<void *>(l->cols[kColModified])[at]);
    s.mask1 = modified != nullptr ? modified->mask1 : 0;
    s.mask2 = modified != nullptr ? modified->mask2 : 0;
    s.scale = real(kColScale);
    s.lower = real(kColLower);
    s.value = real(kColValue);
    s.upper = real(kColUpper);
    s.initial = real(kColInit);
    s.threshold = real(kColThreshold);
    s.effective_scale = effective_scale(s.scale);
    // One sparse record holds every sparse column of the item; without one each has its default.
    const SparseSlot *const record = zarn::rtattrdict::sparse_record(l->head, at + 1);
    auto slot = [&](Sparse c) { return record != nullptr ? record + l->sparse[c]->where.slot : nullptr; };
    auto sparse_int = [&](Sparse c) {
        const SparseSlot *p = slot(c);
        return p != nullptr ? p->i : static_cast<int32_t>(l->sparse[c]->desc->idefault);
    };
    auto sparse_real = [&](Sparse c) {
        const SparseSlot *p = slot(c);
        return p != nullptr ? p->d : l->sparse[c]->desc->ddefault;
    };
    s.quality = sparse_int(kSpQuality);
    s.ramped = sparse_int(kSpRamped);
    s.step = sparse_real(kSpStep);
    s.sbweight = sparse_real(kSpSbWeight);
    s.target_homo = sparse_real(kSpTargetHomo);
}

}  // namespace zarn::rtvarlst
