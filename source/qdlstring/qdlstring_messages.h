// Every text the owned-text class prints.
#ifndef ZARN_QDLSTRING_QDLSTRING_MESSAGES_H
#define ZARN_QDLSTRING_QDLSTRING_MESSAGES_H

namespace zarn::qdlstring::msg {

inline constexpr char kNoMemory[] = "!!QDLString: Unable to allocate memory for a text of %zu characters\n";

}  // namespace zarn::qdlstring::msg

#endif
