// Every assertion text of the string editors, printed through zarn::assert_report
// under the source name kSource. The stred functions print nothing else: their
// writers put the caller's own text on the caller's pipe.
#ifndef ZARN_STRED_STRED_MESSAGES_H
#define ZARN_STRED_STRED_MESSAGES_H

namespace zarn::stred::msg {

// Source name printed in assertion lines of this module.
inline constexpr const char *kSource = "source/stred/stred";

inline constexpr const char *kPathSearchNameIsNULL = "path_search: name is NULL";
inline constexpr const char *kPathSearchOutIsNULL = "path_search: out is NULL";
inline constexpr const char *kRtocaseExistingNameIsNULL = "rtocase_existing: name is NULL";
inline constexpr const char *kRtocaseNewfileNameIsNULL = "rtocase_newfile: name is NULL";
inline constexpr const char *kRtocaseNextIteratorIsNULL = "rtocase_next: iterator is NULL";
inline constexpr const char *kRtocaseResetIteratorIsNULL = "rtocase_reset: iterator is NULL";
inline constexpr const char *kStredUpperCaseStrIsNULL = "stred_upper_case: str is NULL";
inline constexpr const char *kStredLowerCaseStrIsNULL = "stred_lower_case: str is NULL";
inline constexpr const char *kStredUpperCaseListListIsNULL = "stred_upper_case_list: list is NULL";
inline constexpr const char *kStredI4ToStringDestIsNULL = "stred_i4_to_string: dest is NULL";
inline constexpr const char *kStredI4ToStringWordsIsNULL = "stred_i4_to_string: words is NULL";
inline constexpr const char *kStredR8ToStringDestIsNULL = "stred_r8_to_string: dest is NULL";
inline constexpr const char *kStredR8ToStringWordsIsNULL = "stred_r8_to_string: words is NULL";
inline constexpr const char *kStredRemoveTrailingBlanksStrIsNULL =
    "stred_remove_trailing_blanks: str is NULL";
inline constexpr const char *kStredValidNameStrIsNULL = "stred_valid_name: str is NULL";
inline constexpr const char *kStredIsGlobStrIsNULL = "stred_is_glob: str is NULL";
inline constexpr const char *kStredRtoptNameStrIsNULL = "stred_rtopt_name: str is NULL";
inline constexpr const char *kStredRtoptObjectStrIsNULL = "stred_rtopt_object: str is NULL";
inline constexpr const char *kStredSpecialIdStrIsNULL = "stred_special_id: str is NULL";
inline constexpr const char *kStredSelfStringStrIsNULL = "stred_self_string: str is NULL";
inline constexpr const char *kStredIsNumericStrIsNULL = "stred_IsNumeric: str is NULL";
inline constexpr const char *kStredCaselessCmpFirstStrIsNULL = "stred_caseless_cmp: first str is NULL";
inline constexpr const char *kStredCaselessCmpSecondStrIsNULL = "stred_caseless_cmp: second str is NULL";
inline constexpr const char *kStredMatchingNameNameIsNULL = "stred_matching_name: name is NULL";
inline constexpr const char *kStredGlobToRegexpGlobIsNULL = "stred_glob_to_regexp: glob is NULL";
inline constexpr const char *kStredReplaceSelfNameIsNULL = "stred_replace_self: name is NULL";
inline constexpr const char *kDissectBlockNameBlockIsNULL = "dissect_block_name: block is NULL";
inline constexpr const char *kDissectBlockNameAttributeIsNULL = "dissect_block_name: attribute is NULL";
inline constexpr const char *kDissectBlockNameNameIsNULL = "dissect_block_name: name is NULL";
inline constexpr const char *kDissectPortNameBlockIsNULL = "dissect_port_name: block is NULL";
inline constexpr const char *kDissectPortNamePortIsNULL = "dissect_port_name: port is NULL";
inline constexpr const char *kDissectPortNameAttributeIsNULL = "dissect_port_name: attribute is NULL";
inline constexpr const char *kDissectPortNameNameIsNULL = "dissect_port_name: name is NULL";
inline constexpr const char *kStredBadSpecNameNameIsNULL = "stred_bad_spec_name: name is NULL";
inline constexpr const char *kStredBadSpecNameOutIsNULL = "stred_bad_spec_name: out is NULL";
inline constexpr const char *kStredReplaceRegexpStrIsNULL = "stred_replace_regexp: str is NULL";
inline constexpr const char *kStredReplaceRegexpRegexpIsNULL = "stred_replace_regexp: regexp is NULL";
inline constexpr const char *kStredReplaceRegexpReplacementIsNULL =
    "stred_replace_regexp: replacement is NULL";
inline constexpr const char *kStredReplaceRegexpStrIsLongerThanMaxlength =
    "stred_replace_regexp: str is longer than maxlength";
inline constexpr const char *kStredReplaceRegexpsStrIsNULL = "stred_replace_regexps: str is NULL";
inline constexpr const char *kStredReplaceRegexpsRegexpsIsNULL = "stred_replace_regexps: regexps is NULL";
inline constexpr const char *kStredReplaceRegexpsReplacementsIsNULL =
    "stred_replace_regexps: replacements is NULL";
inline constexpr const char *kStredReplaceRegexpsNOfRegexpsNeNOfReplacements =
    "stred_replace_regexps: # of regexps != # of replacements";
inline constexpr const char *kStredWriteIdStrIsNULL = "stred_write_id: str is NULL";
inline constexpr const char *kStredWriteNameStrIsNULL = "stred_write_name: str is NULL";
inline constexpr const char *kStredWriteHdrStrIsNULL = "stred_write_hdr: str is NULL";

}  // namespace zarn::stred::msg

#endif
