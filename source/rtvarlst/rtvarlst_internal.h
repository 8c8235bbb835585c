// Internals of the variable list: the record behind the public handle, the
// column table and the helpers shared by the list's source files.
#ifndef ZARN_RTVARLST_INTERNAL_H
#define ZARN_RTVARLST_INTERNAL_H

#include <cstdint>

#include "zarnutils/rtattrdict.h"
#include "zarnutils/rtvarlst.h"

namespace zarn::varlst {

// Column names.
inline constexpr const char kActiveBound[] = "ACTIVE_BOUND";
inline constexpr const char kBaseUom[] = "BASEUOM";
inline constexpr const char kBasic[] = "BASIC";
inline constexpr const char kBlockPtr[] = "BLOCKPTR";
inline constexpr const char kComWrapper[] = "COMWRAPPER";
inline constexpr const char kConnMgr[] = "CONN_MGR";
inline constexpr const char kConnType[] = "CONN_TYPE";
inline constexpr const char kDescription[] = "DESCRIPTION";
inline constexpr const char kInit[] = "INIT";
inline constexpr const char kLower[] = "LOWER";
inline constexpr const char kModified[] = "MODIFIED";
inline constexpr const char kParamHomo[] = "PARAM_HOMO";
inline constexpr const char kQuality[] = "QUALITY";
inline constexpr const char kRamped[] = "RAMPED";
inline constexpr const char kRelated[] = "RELATED";
inline constexpr const char kSbWeight[] = "SBWEIGHT";
inline constexpr const char kScale[] = "SCALE";
inline constexpr const char kShadowPrice[] = "SHADOW_PRICE";
inline constexpr const char kSlvScale[] = "SLVSCALE";
inline constexpr const char kStatus[] = "STATUS";
inline constexpr const char kStep[] = "STEP";
inline constexpr const char kTargetHomo[] = "TARGET_HOMO";
inline constexpr const char kThreshold[] = "THRESHOLD";
inline constexpr const char kUom[] = "UOM";
inline constexpr const char kUpper[] = "UPPER";
inline constexpr const char kValue[] = "VALUE";
inline constexpr const char kVarProfile[] = "VAR_PROFILE";

// The column table every list declares (ends with type 0).
extern const rtattrdesc_t kColumns[];

// Full columns reached directly through their attribute records.
enum Col : int {
    kColValue, kColInit, kColLower, kColUpper, kColScale, kColSlvScale, kColShadow, kColThreshold,
    kColStatus, kColBaseUom, kColUom, kColBasic, kColConnType, kColModified, kColConnMgr,
    kColParamHomo, kColCount
};

// The record behind a handle. The attribute records belong to the head
// dictionary and keep their address for its whole life; their columns move
// on a capacity change, so cells are always reached through them.
struct VarList : rtvarlst_t {
    rtattrdict_t *head;       // head dictionary at the top of the chain
    rtattr_t *cols[kColCount];
    rtattr_t *blockptr;       // sparse BLOCKPTR: its slot in the head's sparse records
};

inline VarList *as_list(rtvarlst_t *l) { return static_cast<VarList *>(l); }

// Offset of the list's item 1 in the head, minus one.
inline int32_t head_offset(const VarList *l) {
    int32_t off = 0;
    const rtattrdict_t *d = l->dictionary;
    while (d != l->head) {
        const auto *e = reinterpret_cast<const rtattrdict_embedded_t *>(d);
        off += e->start - 1;
        d = e->parent;
    }
    return off;
}

// Cell of item i of a full column, or nullptr when i is outside 1..n.
template <class T>
inline T *cell(rtvarlst_t *list, Col c, int32_t i) {
    VarList *l = as_list(list);
    if (i < 1 || i > l->dictionary->size) return nullptr;
    return static_cast<T *>(l->cols[c]->where.column) + head_offset(l) + (i - 1);
}

// The block object of item i (i within 1..n), read straight from the head's
// sparse record, or nullptr.
inline QDLEOBlock *block_of(rtvarlst_t *list, int32_t i) {
    VarList *l = as_list(list);
    auto *h = reinterpret_cast<rtattrdict_head_t *>(l->head);
    if (h->sparse == nullptr) return nullptr;
    void *record = h->sparse[head_offset(l) + i - 1];
    if (record == nullptr) return nullptr;
    return static_cast<QDLEOBlock **>(record)[l->blockptr->where.slot];
}

inline bool in_range(rtvarlst_t *list, int32_t i) {
    return list != nullptr && i >= 1 && i <= list->dictionary->size;
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

// Change notification with the variable's name (event 18).
void notify(rtvarlst_t *list, int32_t i, int32_t code);

// Frees what the list owns for items first..last (profiles, modification records).
void release_items(rtvarlst_t *list, int32_t first, int32_t last);

}  // namespace zarn::varlst

#endif
