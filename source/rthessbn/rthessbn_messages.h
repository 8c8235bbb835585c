// Every text the Hessian prints beyond those it shares with the Jacobian
// (rtjacbn/rtjacbn_messages.h).
#ifndef ZARN_RTHESSBN_MESSAGES_H
#define ZARN_RTHESSBN_MESSAGES_H

#include <cinttypes>

namespace zarn::rthessbn::msg {

// Source name of the Hessian's assertion lines.
inline constexpr char kSource[] = "source/rthessbn/rthess";

inline constexpr char kCreateNoArrays[] =
    "!!rtohess_create: Unable to allocate memory for hessian %" PRId32 "\n";
inline constexpr char kCreateNoMemory[] = "!!rtohess_create: Unable to allocate memory for hessian\n";
inline constexpr char kEmbParentSmall[] =
    "!!rtohess_create_embedded: Parent (sized for %" PRId32 " nonzeros out of %" PRId32
    ") is not big enough for embedded Hessian %" PRId32 "\n";
inline constexpr char kEmbNoMemory[] = "!!rtohess_create_embedded: Unable to allocate memory for Hessian\n";
// documented as is: no line end
inline constexpr char kResizeFailed[] = "!!head_resize: Hessian resize failed %" PRId32;
inline constexpr char kHeadRelocate[] = "!! rtohess_head_relocate: relocate is not allowed for a head list\n";
inline constexpr char kEmbRelocate[] = "!!rtohess_embedded_relocate: parent is not big enough\n";
inline constexpr char kHeadMoveNegative[] = "!! rtohess_move_items: size < 0 (%" PRId32 ")\n";
inline constexpr char kEmbMoveNegative[] = "!! rtohess_embed_move_items: size < 0 (%" PRId32 ")\n";
// documented as is: no line end
inline constexpr char kHeadMoveBad[] = "!!rtohess_head_move_items: bad source or destination, source %" PRId32
                                       ", dest %" PRId32 ", move size %" PRId32 ", list size %" PRId32;
inline constexpr char kEmbMoveBad[] = "!!rtohess_embed_move_items: bad source or destination, source %" PRId32
                                      ", dest %" PRId32 ", move size %" PRId32 ", list size %" PRId32 "\n";

// ---- assertion texts ----
inline constexpr char kAssertInqNz[] = "rtohess_inq_nz: hessian is NULL";
inline constexpr char kAssertMatchVar[] = "rtohess_match_var_regexp: hessian is NULL";
inline constexpr char kAssertMatchEqn[] = "rtohess_match_eqn_regexp: hessian is NULL";
inline constexpr char kAssertSetRows[] = "rtohess_set_rows: NULL hessian";
inline constexpr char kAssertSetColumns[] = "rtohess_set_columns: NULL hessian";
inline constexpr char kAssertSetColumns2[] = "rtohess_set_columns2: NULL hessian";
// Our own: a record missing where the documents name only the Hessian.
inline constexpr char kAssertInqNzRecord[] = "rtohess_inq_nz: nonzero record is NULL";

}  // namespace zarn::rthessbn::msg

#endif
