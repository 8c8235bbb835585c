// Every text the attribute dictionary prints: history lines go through
// zarn::rtopipe::report, assertion lines through zarn::assert_report.
#ifndef ZARN_RTATTRDICT_MESSAGES_H
#define ZARN_RTATTRDICT_MESSAGES_H

#include <cinttypes>

namespace zarn::rtattrdict::msg {

// Source name of the assertion lines.
inline constexpr char kSource[] = "source/rtattrdict/rtattrdict";

// ---- structure ----
inline constexpr char kCreateNoMemory[] = "!!rtattrdict_create: unable to allocate the dictionary\n";
inline constexpr char kUnknownType[] = "!!make_attr: Unknown attribute type %" PRId32 "\n";
inline constexpr char kAttrNoMemory[] = "!! make_attr: malloc failed\n";
inline constexpr char kEmbBadStart[] =
    "!! rtattrdict_create_embedded: bad start %" PRId32 " or capacity %" PRId32 "\n";
inline constexpr char kEmbTooSmall[] =
    "!! rtattrdict_create_embedded: parent too small (%" PRId32 ") for embedded (%" PRId32 ")\n";
inline constexpr char kEmbNoMemory[] = "!! rtattrdict_create_embedded: unable to allocate the window\n";
inline constexpr char kEmbNoResize[] = "!!rtattrdict_create_embedded: cannot allow resize\n";
inline constexpr char kEmbTooDeep[] = "!! rtattrdict_create_embedded: windows nest at most %d levels\n";
inline constexpr char kAggregateTooDeep[] =
    "!! rtattrdict_aggregate: windows would nest more than %d levels\n";
inline constexpr char kRemoveTooMany[] = "!!rtattrdict_remove_items: removing too many elements\n";
inline constexpr char kDeleteTooMany[] = "!!rtattrdict_delete_items: deleting too many elements\n";

inline constexpr char kHeadDefunct[] =
    "!! head_defunct: illegal range, start %" PRId32 ", stop %" PRId32 ", capacity %" PRId32 "\n";
inline constexpr char kEmbDefunct[] =
    "!! embedded_defunct: illegal range, start %" PRId32 ", stop %" PRId32 ", capacity %" PRId32 "\n";
inline constexpr char kHeadResizeNegative[] = "!!head_resize: negative size %" PRId32 " (not changed)\n";
inline constexpr char kHeadResizeBeyond[] =
    "!!head_resize: attempt to resize beyond capacity %" PRId32 " %" PRId32 "\n";
inline constexpr char kEmbResizeNegative[] = "!! embedded_resize: negative size %" PRId32 " (not changed)\n";
inline constexpr char kEmbResizeParent[] =
    "!! embedded_resize: parent (size %" PRId32 " cap %" PRId32
    ") is not big enough for resize (start %" PRId32 " newsize %" PRId32 ")\n";
inline constexpr char kEmbResizeBeyond[] =
    "!!embedded_resize: attempt to extend beyond capacity %" PRId32 " %" PRId32 "\n";
inline constexpr char kHeadCapBelowSize[] =
    "!!head_change_capacity: capacity %" PRId32 " less than size %" PRId32 " (not changed)\n";
inline constexpr char kHeadCapNoMemory[] =
    "!!head_change_capacity: unable to allocate %" PRId32 " elements (not changed)\n";
inline constexpr char kEmbCapBelowSize[] =
    "!!embedded_change_capacity: capacity %" PRId32 " less than size %" PRId32 " (not changed)\n";
inline constexpr char kEmbCapParent[] =
    "!!embedded_change_capacity: parent (size %" PRId32 " cap %" PRId32
    ") is not big enough for capacity change (start %" PRId32 " newcapacity %" PRId32 ")\n";
inline constexpr char kHeadRelocate[] = "!! head_relocate: relocate is not allowed for a head list\n";
inline constexpr char kEmbRelocate[] = "!!embedded_relocate: parent is not big enough\n";
inline constexpr char kHeadMoveNegative[] = "!! head_move_elems: size < 0 (%" PRId32 ")\n";
// documented as is: no line end
inline constexpr char kHeadMoveBad[] = "!!head_move_elems: bad source or destination, source %" PRId32
                                       ", dest %" PRId32 ", move size %" PRId32 ", list size %" PRId32;
inline constexpr char kEmbMoveNegative[] = "!! embedded_move_elems: size < 0 (%" PRId32 ")\n";
inline constexpr char kEmbMoveBad[] = "!!embedded_move_elems: bad source or destination, source %" PRId32
                                      ", dest %" PRId32 ", move size %" PRId32 ", list size %" PRId32 "\n";
// documented as is: no line end
inline constexpr char kEmbAddItemsPrefix[] = "!!embedded_additems: prefix %s%s longer than %d";
// documented as is: no line end
inline constexpr char kEmbAddGroupPrefix[] = "!!embedded_addgroup: prefix %s%s longer than %d";

// ---- names ----
inline constexpr char kIllegalName[] = "Unable to process illegal equation/variable name '%s'\n";
// The reason is one of the kWhy texts below.
inline constexpr char kDuplicate[] = "Duplicate name in dictionary '%s' (%s)\n";
inline constexpr char kWhyAdding[] = "adding element";
inline constexpr char kWhyAddingPrefix[] = "adding element with prefix";
inline constexpr char kWhyAddingTruncated[] = "adding element with truncated name";
inline constexpr char kWhyGroup[] = "adding element in group";
inline constexpr char kWhyMoving[] = "moving element";
inline constexpr char kWhyRenaming[] = "changing name";
inline constexpr char kWhyCapacity[] = "changing capacity";

// ---- typed access: op is the operation ("setd", "getwrapper"), kind the
// type word of the kind table ("double", "void", "IWEXWrapper") ----
inline constexpr char kHeadBeyond[] = "!!head_%s: Access beyond size limited %" PRId32 " %" PRId32 "\n";
inline constexpr char kEmbBeyond[] = "!!embedded_%s: Access beyond size limited %" PRId32 " %" PRId32 "\n";
inline constexpr char kUnknownAttr[] = "!!head_%s: Unknown %s attribute %s\n";
// `article` is "" or "an " (documented as is: wrappers read "Not an IWEXWrapper attribute").
inline constexpr char kNotAttr[] = "!!head_%s: Not %s%s attribute %s\n";
inline constexpr char kNotFullAttr[] = "!!head_%s: Not full %s attribute %s\n";
inline constexpr char kSparseNoMemory[] = "!!attribute dictionary: unable to allocate a sparse record\n";

// ---- statistics ----
inline constexpr char kStatsBegin[] =
    "****************Begin attribute dictionary statistics****************\n";
inline constexpr char kStatsEnd[] = "****************End attribute dictionary statistics****************\n";
inline constexpr char kStatsHead[] = "Head attribute dictionary\n";
inline constexpr char kStatsSize[] = "       Size: %" PRId32 "\n";
inline constexpr char kStatsLive[] = "Non-defunct: %" PRIu32 "\n";
inline constexpr char kStatsAttrs[] = " Attributes: %" PRIu32 "\n";
inline constexpr char kStatsSparse[] = "     Sparse: %" PRIu32 "\n";
inline constexpr char kStatsAttrHash[] = "Attribute hash table statistics\n";
inline constexpr char kStatsNameHash[] = "Mapping hash table statistics\n";
inline constexpr char kStatsEmb[] = "Embedded attribute dictionary\n";
inline constexpr char kStatsEmbSize[] = " Size: %" PRId32 "\n";
inline constexpr char kStatsEmbStart[] = "Start: %" PRId32 "\n";
inline constexpr char kStatsParent[] = "Parent statistics\n";

// ---- assertion texts ----
inline constexpr char kAssertHeadCapNegative[] = "head_change_capacity: negative capacity";
inline constexpr char kAssertEmbCapNegative[] = "embedded_change_capacity: negative capacity";
inline constexpr char kAssertAddItems[] = "head_additems: bad indices";
inline constexpr char kAssertAddGroup[] = "head_addgroup: bad indices";
inline constexpr char kAssertIndex[] = "head_index gives bad index";

}  // namespace zarn::rtattrdict::msg

#endif
