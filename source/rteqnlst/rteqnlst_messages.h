// Every text the equation list prints: history lines go through
// zarn::rtopipe::report, assertion lines through zarn::assert_report.
#ifndef ZARN_RTEQNLST_MESSAGES_H
#define ZARN_RTEQNLST_MESSAGES_H

#include <cinttypes>

namespace zarn::rteqnlst::msg {

// Source name of the assertion lines.
inline constexpr char kSource[] = "source/rteqnlst/rteqnlst";

inline constexpr char kSetNeqnBeyond[] =
    "!! rtoeqnlst_set_neqn: size %" PRId32 " exceeds capacity %" PRId32 "\n";
inline constexpr char kNamesBad[] = "!!rtoeqnlst_names_c: Bad indices %" PRId32 " %" PRId32 " %" PRId32 "\n";
inline constexpr char kTruncating[] = "Truncating equation name '%s' to %" PRId32 " characters\n";
// documented as is: "eqation", and no "!!"
inline constexpr char kInitNoName[] = "rtoeqnlst_initialize_eqn: You must set the eqation name.\n";
// Both are followed by the printed value and a line end.
inline constexpr char kInvalidName[] = "Invalid equation name in assignment: %s = ";
inline constexpr char kReadOnly[] = "Assignment to read-only value: %s = ";
inline constexpr char kNewline[] = "\n";
inline constexpr char kNoMemory[] = "!! %s: not enough memory to sort %" PRId32 " equations\n";

// ---- assertion texts ----
// documented as is: these three carry "!!"
inline constexpr char kAssertAssignList[] = "!!rtoeqnlst_assign_value: NULL eqnlst";
inline constexpr char kAssertAssignValue[] = "!!rtoeqnlst_assign_value: NULL value pointer";
inline constexpr char kAssertAssignName[] = "!!rtoeqnlst_assign_value: NULL name pointer";
inline constexpr char kAssertNormList[] = "rtoeqnlst_norm: eqnlst is 0";
inline constexpr char kAssertNormStart[] = "rtoeqnlst_norm: start<=0";
inline constexpr char kAssertIncludeList[] = "rtoeqnlst_in_exclude_equation: eqnlst is 0";
inline constexpr char kAssertIncludePos[] = "rtoeqnlst_in_exclude_equation: pos<=0";
inline constexpr char kAssertResidualsList[] = "rtoeqnlst_inq_max_residuals: eqnlst is 0";
inline constexpr char kAssertResidualsStart[] = "rtoeqnlst_inq_max_residuals: start<=0";
inline constexpr char kAssertResidualsCount[] = "rtoeqnlst_inq_max_residuals: nres<=0";
inline constexpr char kAssertResidualsOut[] = "rtoeqnlst_inq_max_residuals: NULL index array";
inline constexpr char kAssertPricesList[] = "rtoeqnlst_inq_max_shadow_prices: eqnlst is 0";
inline constexpr char kAssertPricesStart[] = "rtoeqnlst_inq_max_shadow_prices: start<=0";
inline constexpr char kAssertPricesCount[] = "rtoeqnlst_inq_max_shadow_prices: nres<=0";
inline constexpr char kAssertPricesOut[] = "rtoeqnlst_inq_max_shadow_prices: NULL index array";
// documented as is: initialisation reports under the inquiry's name
inline constexpr char kAssertRecordList[] = "rtoeqnlst_inq_eqn: eqnlst is NULL";
inline constexpr char kAssertRecordNull[] = "rtoeqnlst_inq_eqn: eqninfo pointer is NULL";

}  // namespace zarn::rteqnlst::msg

#endif
