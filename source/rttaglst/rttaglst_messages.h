// Every text the tag lists print: history-device messages (through
// zarn::rtopipe::report), the listing lines written to the caller's pipe, and
// the assertion lines under kSource.
#ifndef ZARN_RTTAGLST_RTTAGLST_MESSAGES_H
#define ZARN_RTTAGLST_RTTAGLST_MESSAGES_H

namespace zarn::rttaglst::msg {

inline constexpr const char *kSource = "source/rttaglst/rttaglst";

// The rule it states is narrower than the one applied (any legal model name).
inline constexpr char kBadAlias[] =
    "Bad alias name '%s'.  Alias names must be 40 characters or less, must start\n"
    "with A-Z, and contain only letters (A-Z), digits (0-9) and underbar (_).\n";  // documented as is
// A propagated copy that the parent already holds ("one" here, "same" when linking).
inline constexpr char kDuplicateOnAdd[] =
    "Duplicate definition of alias %s in the one scope.\n";  // documented as is
inline constexpr char kDuplicateOnLink[] = "Duplicate definition of alias %s in the same scope.\n";
inline constexpr char kAlreadyLinked[] = "!!rtotaglst_link_parent: child already linked to a parent\n";
inline constexpr char kLinkBelowItself[] = "!!rtotaglst_link_parent: a list cannot be linked below itself\n";
inline constexpr char kNoMemoryAdd[] = "!!rtotaglst_add_tag: Unable to allocate memory for alias %s\n";
inline constexpr char kNoMemoryDestroy[] =
    "!!rtotaglst_destroy: Unable to allocate memory to withdraw aliases\n";
inline constexpr char kNoMemoryNone[] = "!!rtotaglst_none: Unable to allocate memory to withdraw aliases\n";

// rtotaglst_print lines.
inline constexpr char kPrintInherited[] = "%-12s %-40.40s (from subplant or superplant)\n";
inline constexpr char kPrintDefined[] = "%-12s %-40.40s\n";

// Assertion lines.
inline constexpr const char *kLinkNull = "rtotaglst_link_parent: NULL parent or child";
inline constexpr const char *kBadIndexTagid = "Illegal index passed to rtotaglst_inq_tagid";
inline constexpr const char *kBadIndexVarid = "Illegal index passed to rtotaglst_inq_varid";
inline constexpr const char *kBadIndexTag = "Illegal index passed to rtotaglst_inq_tag";

}  // namespace zarn::rttaglst::msg

#endif
