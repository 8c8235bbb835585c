// Every text the Jacobian prints, and the texts the Hessian shares with it:
// history lines go through zarn::rtopipe::report, assertion lines through
// zarn::assert_report.
#ifndef ZARN_RTJACBN_MESSAGES_H
#define ZARN_RTJACBN_MESSAGES_H

#include <cinttypes>

namespace zarn::rtjacbn::msg {

// ---- shared by the Jacobian and the Hessian ----

inline constexpr char kCapacityExceeded[] = "!!generic_setnnz: Capacity exceeded %" PRId32 " %" PRId32 "\n";
inline constexpr char kEmbResizeParent[] =
    "!!embed_resize: Parent is not big enough for capacity expansion.\n";
inline constexpr char kEmbResizeSizes[] = "    New capacity: %" PRId32 ", parent's size: %" PRId32 "\n";

// Index out of bounds, by operation: equation, variable, second variable.
#define ZARN_OOB(name) "!!" name ": Index out of bounds %" PRId32 " %" PRId32 "\n"
inline constexpr const char *kHeadSetNumber[] = {ZARN_OOB("head_seteqn"), ZARN_OOB("head_setvar"),
                                                 ZARN_OOB("head_setvar2")};
inline constexpr const char *kHeadInqNumber[] = {ZARN_OOB("head_inqeqn"), ZARN_OOB("head_inqvar"),
                                                 ZARN_OOB("head_inqvar2")};
inline constexpr const char *kEmbSetNumber[] = {ZARN_OOB("embed_seteqn"), ZARN_OOB("embed_setvar"),
                                                ZARN_OOB("embed_setvar2")};
inline constexpr const char *kEmbInqNumber[] = {ZARN_OOB("embed_inqeqn"), ZARN_OOB("embed_inqvar"),
                                                ZARN_OOB("embed_inqvar2")};
inline constexpr char kHeadSetValue[] = ZARN_OOB("head_setval");
inline constexpr char kHeadInqValue[] = ZARN_OOB("head_inqval");
inline constexpr char kEmbSetValue[] = ZARN_OOB("embed_setval");
inline constexpr char kEmbInqValue[] = ZARN_OOB("embed_inqval");
inline constexpr char kHeadSetLinear[] = ZARN_OOB("head_set_linear");
inline constexpr char kHeadInqLinear[] = ZARN_OOB("head_inq_linear");
inline constexpr char kEmbSetLinear[] = ZARN_OOB("embed_set_linear");
inline constexpr char kEmbInqLinear[] = ZARN_OOB("embed_inq_linear");
#undef ZARN_OOB

// Our own texts for what the documents leave silent; %s is the function's name.
inline constexpr char kSetNnzNegative[] = "!!generic_setnnz: Negative count %" PRId32 "\n";
inline constexpr char kNegativeCapacity[] = "!!%s: Negative capacity %" PRId32 "\n";
inline constexpr char kNegativeFirst[] = "!!%s: Negative capacity or first number\n";
inline constexpr char kBadRelocate[] =
    "!!%s: Bad first nonzero or shift (%" PRId32 " %" PRId32 " %" PRId32 ")\n";
inline constexpr char kBadRange[] = "!!%s: Bad range %" PRId32 " %" PRId32 " (%" PRId32 " nonzeros)\n";
inline constexpr char kBeyondParent[] = "!!%s: Window reaches beyond the nonzeros of its parent\n";
inline constexpr char kAssertNullArray[] = "bulk numbers: NULL array";

// ---- the Jacobian's own ----

// Source name of the Jacobian's assertion lines.
inline constexpr char kSource[] = "source/rtjacbn/rtjac";

inline constexpr char kCreateNoMemory[] = "!!rtojac_create: Unable to allocate memory for Jacobian\n";
inline constexpr char kCreateNoArrays[] =
    "!!rtojac_create: Unable to allocate memory for Jacobian %" PRId32 "\n";
inline constexpr char kEmbParentSmall[] =
    "!!rtojac_create_embedded: Parent (sized for %" PRId32 " nonzeros out of %" PRId32
    ") is not big enough for embedded Jacobian %" PRId32 "\n";
inline constexpr char kEmbNoMemory[] = "!!rtojac_create_embedded: Unable to allocate memory for Jacobian\n";
// documented as is: no line end
inline constexpr char kResizeFailed[] = "!!head_resize: Jacobian resize failed %" PRId32;
inline constexpr char kHeadRelocate[] = "!! rtojac_head_relocate: relocate is not allowed for a head list\n";
inline constexpr char kEmbRelocate[] = "!!rtojac_embedded_relocate: parent is not big enough\n";
inline constexpr char kHeadMoveNegative[] = "!! rtojac_move_items: size < 0 (%" PRId32 ")\n";
inline constexpr char kEmbMoveNegative[] = "!! rtojac_embed_move_items: size < 0 (%" PRId32 ")\n";
// documented as is: no line end
inline constexpr char kHeadMoveBad[] = "!!rtojac_head_move_items: bad source or destination, source %" PRId32
                                       ", dest %" PRId32 ", move size %" PRId32 ", list size %" PRId32;
inline constexpr char kEmbMoveBad[] = "!!rtojac_embed_move_items: bad source or destination, source %" PRId32
                                      ", dest %" PRId32 ", move size %" PRId32 ", list size %" PRId32 "\n";

// ---- assertion texts ----
inline constexpr char kAssertInqNz[] = "rtojac_inq_nz: jacobian is NULL";
inline constexpr char kAssertMatchVar[] = "rtojac_match_var_regexp: jacobian is NULL";
inline constexpr char kAssertMatchEqn[] = "rtojac_match_eqn_regexp: jacobian is NULL";
inline constexpr char kAssertSetRows[] = "rtojac_set_rows: NULL jacobian";
inline constexpr char kAssertSetColumns[] = "rtojac_set_columns: NULL jacobian";
// Our own: a record missing where the documents name only the Jacobian.
inline constexpr char kAssertInqNzRecord[] = "rtojac_inq_nz: nonzero record is NULL";

}  // namespace zarn::rtjacbn::msg

#endif
