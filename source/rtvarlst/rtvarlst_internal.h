// Internals of the variable list: the record behind the public handle, the
// column table and the helpers shared by the list's source files.
#ifndef ZARN_RTVARLST_INTERNAL_H
#define ZARN_RTVARLST_INTERNAL_H

#include <cstdint>

#include "attrcat/attrcat.h"
#include "rtattrdict/rtattrdict_sibling.h"
#include "zarnutils/rtattrdict.h"
#include "zarnutils/rtvarlst.hpp"

namespace zarn::rtvarlst {

namespace ac = zarn::attrcat;

// Column names, from the attribute catalogue.
inline constexpr const char *kActiveBound = ac::column_of(ac::kRowActiveBound);
inline constexpr const char *kBaseUom = ac::column_of(ac::kRowBaseuom);
inline constexpr const char *kBasic = ac::column_of(ac::kRowBasic);
inline constexpr const char *kBlockPtr = ac::column_of(ac::kRowBlockptr);
inline constexpr const char *kComWrapper = ac::column_of(ac::kRowComwrapper);
inline constexpr const char *kConnMgr = ac::column_of(ac::kRowConnMgr);
inline constexpr const char *kConnType = ac::column_of(ac::kRowConnType);
inline constexpr const char *kDescription = ac::column_of(ac::kRowDescription);
inline constexpr const char *kInit = ac::column_of(ac::kRowInit);
inline constexpr const char *kLower = ac::column_of(ac::kRowLower);
inline constexpr const char *kModified = ac::column_of(ac::kRowModified);
inline constexpr const char *kParamHomo = ac::column_of(ac::kRowParam);
inline constexpr const char *kQuality = ac::column_of(ac::kRowQuality);
inline constexpr const char *kRamped = ac::column_of(ac::kRowRamped);
inline constexpr const char *kRelated = ac::column_of(ac::kRowRelated);
inline constexpr const char *kSbWeight = ac::column_of(ac::kRowSbweight);
inline constexpr const char *kScale = ac::column_of(ac::kRowIntscale);
inline constexpr const char *kShadowPrice = ac::column_of(ac::kRowShadowPrice);
inline constexpr const char *kSlvScale = ac::column_of(ac::kRowScale);
inline constexpr const char *kStatus = ac::column_of(ac::kRowStatus);
inline constexpr const char *kStep = ac::column_of(ac::kRowStep);
inline constexpr const char *kTargetHomo = ac::column_of(ac::kRowTarget);
inline constexpr const char *kThreshold = ac::column_of(ac::kRowThreshold);
inline constexpr const char *kUom = ac::column_of(ac::kRowUnits);
inline constexpr const char *kUpper = ac::column_of(ac::kRowUpper);
inline constexpr const char *kValue = ac::column_of(ac::kRowValue);
inline constexpr const char *kVarProfile = ac::column_of(ac::kRowVarProfile);

// The column table every list declares (ends with type 0).
extern const rtattrdesc_t *const kColumns;

// Full columns reached directly through their attribute records.
enum Col : int {
    kColValue,
    kColInit,
    kColLower,
    kColUpper,
    kColScale,
    kColSlvScale,
    kColShadow,
    kColThreshold,
    kColStatus,
    kColBaseUom,
    kColUom,
    kColBasic,
    kColConnType,
    kColModified,
    kColConnMgr,
    kColParamHomo,
    kColCount
};

// Sparse columns reached directly through their attribute records.
enum Sparse : int {
    kSpActiveBound,
    kSpQuality,
    kSpRamped,
    kSpRelated,
    kSpSbWeight,
    kSpStep,
    kSpTargetHomo,
    kSpDescription,
    kSpVarProfile,
    kSparseCount
};
inline constexpr const char *kSparseNames[kSparseCount] = {
    kActiveBound, kQuality, kRamped, kRelated, kSbWeight, kStep, kTargetHomo, kDescription, kVarProfile};

// The record behind a handle. The attribute records belong to the head
// dictionary and keep their address for its whole life; their columns move
// on a capacity change, so cells are always reached through them.
struct VarList : rtvarlst_t {
    rtattrdict_t *head;  // head dictionary at the top of the chain
    rtattr_t *cols[kColCount];
    rtattr_t *blockptr;  // sparse BLOCKPTR: its slot in the head's sparse records
    rtattr_t *sparse[kSparseCount];
};

inline VarList *as_list(rtvarlst_t *l) { return static_cast<VarList *>(l); }

// Items 1..held of the list lie in its head's columns: all n of them, unless
// the list is a window that its head, shrinking under it, left partly beyond
// its columns. Only held items are read or written.
inline int32_t held(rtvarlst_t *list) { return zarn::rtattrdict::held_elements(list->dictionary); }

// Cell of item i of a full column, or nullptr when i is outside 1..held.
template <class T>
inline T *cell(rtvarlst_t *list, Col c, int32_t i) {
    VarList *l = as_list(list);
    if (i < 1 || i > held(list)) return nullptr;
    return zarn::rtattrdict::column_base<T>(l->cols[c]) + zarn::rtattrdict::head_offset(l->dictionary) +
           (i - 1);
}

// The block object of item i (i within 1..n), or nullptr.
inline QDLEOBlock *block_of(rtvarlst_t *list, int32_t i) {
    VarList *l = as_list(list);
    const zarn::rtattrdict::SparseSlot *s =
        zarn::rtattrdict::sparse_cell(l->head, zarn::rtattrdict::head_offset(l->dictionary) + i, l->blockptr);
    return s != nullptr ? static_cast<QDLEOBlock *>(s->v) : nullptr;
}

inline bool in_range(rtvarlst_t *list, int32_t i) { return list != nullptr && i >= 1 && i <= held(list); }

// Item i's slot of a sparse column (i within 1..n), or nullptr while the item
// has no sparse record yet.
inline zarn::rtattrdict::SparseSlot *sparse_slot(rtvarlst_t *list, Sparse s, int32_t i) {
    VarList *l = as_list(list);
    return zarn::rtattrdict::sparse_cell(l->head, zarn::rtattrdict::head_offset(l->dictionary) + i,
                                         l->sparse[s]);
}

// The status word of item i (0 when out of range).
inline int64_t status_of(rtvarlst_t *list, int32_t i) {
    const int64_t *w = cell<int64_t>(list, kColStatus, i);
    return w ? *w : 0;
}

// How a real attribute converts between its base unit and SI.
enum class Conv {
    kPlain,          // ordinary forms (difference forms for DELTA-T and PDROP)
    kKeepUndefined,  // as kPlain, but 1e35 passes unconverted
    kDelta,          // always the difference forms
};

double to_si(rtvarlst_t *list, int32_t i, double stored, Conv how);
double from_si(rtvarlst_t *list, int32_t i, double si, Conv how);
// False when item i's reals are held in SI already (base unit 1, or no such
// item), so that to_si and from_si give back what they are given.
bool converts(rtvarlst_t *list, int32_t i);

// Change notification with the variable's name (event 18).
void notify(rtvarlst_t *list, int32_t i, int32_t code);

// The checked change of the display unit behind RTOVARLST_SET_UOM_VALUE_F.
void set_uom_value(rtvarlst_t *list, int32_t i, int32_t uom);

// Frees what the list owns for items first..last (profiles, modification records).
void release_items(rtvarlst_t *list, int32_t first, int32_t last);

}  // namespace zarn::rtvarlst

#endif
