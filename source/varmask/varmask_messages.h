// Every text the mask functions print on the history device.
#ifndef ZARN_VARMASK_VARMASK_MESSAGES_H
#define ZARN_VARMASK_VARMASK_MESSAGES_H

namespace zarn::varmask::msg {

inline constexpr char kPrintVarUnknown[] = "PRINT_VAR_MASK %s is unknown: unable to make assignment\n";
inline constexpr char kPrintVarNotName[] =
    "PRINT_VAR_MASK item is not an identifier: unable to make assignment\n";
inline constexpr char kPrintVarNoMemory[] = "!! createPrintVarMask: unable to allocate memory\n";

}  // namespace zarn::varmask::msg

#endif
