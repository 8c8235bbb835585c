// Every text the variable list prints: history lines go through
// zarn::rtopipe::report, assertion lines through zarn::assert_report.
#ifndef ZARN_RTVARLST_MESSAGES_H
#define ZARN_RTVARLST_MESSAGES_H

#include <cinttypes>

namespace zarn::rtvarlst::msg {

// Source name of the assertion lines.
inline constexpr char kSource[] = "source/rtvarlst/rtvarlst";

inline constexpr char kEmbBadStart[] =
    "!! rtovarlst_create_embedded: bad start %" PRId32 " or capacity %" PRId32 "\n";
inline constexpr char kNoParent[] = "!! No parent for rtovarlst_create_sublist\n";
inline constexpr char kSublistBadStart[] =
    "!! rtovarlst_create_sublist: bad start %" PRId32 " (%" PRId32 " vars in parent)\n";
inline constexpr char kSetNvarBeyond[] =
    "!!rtovarlst_set_nvar: size %" PRId32 " exceeds capacity %" PRId32 "\n";
inline constexpr char kStatsBegin[] = "====Begin variable symbol table statistics====\n";
inline constexpr char kStatsEnd[] = "=====End variable symbol table statistics=====\n";
inline constexpr char kTagsAttached[] = "!! rtovarlst_set_taglst: variable list already has tag list\n";
inline constexpr char kNoName[] = "!! Unable to find name for variable %" PRId32 "\n";
inline constexpr char kOutOfBounds[] = "!! Index out of bounds (%" PRId32 " vars in list)\n";
inline constexpr char kNamesBad[] = "!! rtovarlst_names: Bad indices %" PRId32 " %" PRId32 " %" PRId32 "\n";
inline constexpr char kTruncating[] = "Truncating variable name '%s' to %" PRId32 " characters\n";
inline constexpr char kExtractBad[] =
    "!! rtovarlst_extract: Bad indices %" PRId32 " %" PRId32 " %" PRId32 "\n";
inline constexpr char kProfileNoMemory[] = "!! rtovarlst_set_var_profile_item: out of memory\n";
inline constexpr char kResizeNoMemory[] = "!! rtovarlst_resize: out of memory (capacity not changed)\n";
inline constexpr char kProfileIndex[] =
    "!! VarProfile::GetItemAt: index %" PRIu32 " is not below the size %" PRIu32 "\n";
inline constexpr char kTypeAlgebraic[] =
    "!! rtovarlst_set_var_type: Non zero relation given for algebraic variable type\n";
inline constexpr char kTypeState[] =
    "!! rtovarlst_set_var_type: State variable must specify non-zero offset to differential variable\n";
// documented as is: no blank after "!!"
inline constexpr char kTypeDifferential[] =
    "!!rtovarlst_set_var_type: Differential variable must specify non-zero offset to state variable\n";
// documented as is: the two parts are printed one after the other, the first ending in a blank
inline constexpr char kUomType[] = "The physical type index for variable %s is %" PRId32 ". ";
inline constexpr char kUomIndex[] = "Unable to locate its UOM definition with UOM index %" PRId32 ".\n";

// ---- variable records ----
// documented as is: these four carry no "!!" and no function name
inline constexpr char kNameReadOnly[] = "The NAME attribute of a variable is read-only\n";
inline constexpr char kIntScaleReadOnly[] = "The INTSCALE attribute of a variable is read-only\n";
inline constexpr char kShadowReadOnly[] = "The SHADOW_PRICE attribute of a variable is read-only\n";
inline constexpr char kActiveBoundReadOnly[] = "The ACTIVE_BOUND attribute of a variable is read-only\n";
// documented as is: no "!!"
inline constexpr char kInitNoName[] =
    "rtovarlst_initialize_var: Initialization failed, a variable must define its NAME attribute.\n";

// ---- assertion texts ----
inline constexpr char kAssertLookupNull[] = "rtovarlst_lookup_var_name: varlst is NULL";
inline constexpr char kAssertPresolve[] = "rtovarlst_presolve: NULL value, initial or shadow_price";
// documented as is: names rtovarlst_presolve though printed by rtovarlst_copyinittovalue
inline constexpr char kAssertCopyInit[] = "rtovarlst_presolve: NULL value or initial";
// documented as is: the inquiry names itself rtovarlst_query
inline constexpr char kAssertInqList[] = "rtovarlst_query: varlst is NULL";
inline constexpr char kAssertInqRecord[] = "rtovarlst_query: varinfo pointer is NULL";
inline constexpr char kAssertSetList[] = "rtovarlst_set_var: varlst is NULL";
inline constexpr char kAssertSetIndex[] = "rtovarlst_set_var: index is 0";
inline constexpr char kAssertSetRecord[] = "rtovarlst_set_var: varinfo pointer is NULL";
inline constexpr char kAssertInitList[] = "rtovarlst_initialize_var: varlst is NULL";
inline constexpr char kAssertInitIndex[] = "rtovarlst_initialize_var: index is 0";
inline constexpr char kAssertInitRecord[] = "rtovarlst_initialize_var: varinfo pointer is NULL";

}  // namespace zarn::rtvarlst::msg

#endif
