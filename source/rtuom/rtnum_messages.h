// Every message the physical-type algebra and the number arithmetic print.
#ifndef ZARN_RTUOM_RTNUM_MESSAGES_H
#define ZARN_RTUOM_RTNUM_MESSAGES_H

namespace zarn::rtuom::msg {

inline constexpr char kMultUndefined[] = "Multiplication of physical type %d (%s) by %d (%s) is undefined\n";
inline constexpr char kDivUndefined[] = "Division of physical type %d (%s) by %d (%s) is undefined\n";
inline constexpr char kPowTyped[] = "Unable to perform the required power.\n";
inline constexpr char kLessMismatch[] = "!! Alert physical type mismatch in < or >= operation\n";
inline constexpr char kEqualMismatch[] = "!! Alert physical type mismatch in = operation\n";
inline constexpr char kGreaterMismatch[] = "!! Alert physical type mismatch in > or <= operation\n";
// Stands for the name of a price type in the two messages above.
inline constexpr char kNameUnavailable[] = "name unavailable";

}  // namespace zarn::rtuom::msg

#endif
