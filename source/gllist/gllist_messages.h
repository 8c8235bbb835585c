// Every text of the lists and exceptions. An uncaught exception prints, on
// standard error in this order, the opening, the reason or the address, the
// place and the closing line.
#ifndef ZARN_GLLIST_GLLIST_MESSAGES_H
#define ZARN_GLLIST_GLLIST_MESSAGES_H

namespace zarn::gllist::msg {

inline constexpr char kUncaught[] = "Uncaught exception";
inline constexpr char kReason[] = " %s";
inline constexpr char kAddress[] = " at 0x%p";  // documented as is: %p adds its own 0x
inline constexpr char kRaisedAt[] = " raised at %s:%d\n";
inline constexpr char kAborting[] = "aborting...\n";

// A list changed from inside gl_info_iterate's function (standard error; %s: the call).
inline constexpr char kWalked[] = "!!%s: Illegal while the list is being walked\n";

}  // namespace zarn::gllist::msg

#endif
