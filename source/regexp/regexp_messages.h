// Every text the regular-expression engine and the name search can report.
// The engine never prints: its texts become the error text (hs_get_regerr);
// the name search prints its assertion lines through zarn::assert_report.
#ifndef ZARN_REGEXP_REGEXP_MESSAGES_H
#define ZARN_REGEXP_REGEXP_MESSAGES_H

namespace zarn::regexp::msg {

// Compilation.
inline constexpr const char *kNullArgument = "NULL argument";
inline constexpr const char *kTooBig = "hs_regexp too big";
inline constexpr const char *kOutOfSpace = "out of space";
inline constexpr const char *kTooManyGroups = "too many ()";
inline constexpr const char *kUnmatchedParen = "unmatched ()";
inline constexpr const char *kJunkOnEnd = "junk on end";
inline constexpr const char *kEmptyOperand = "*+ operand could be empty";
inline constexpr const char *kNestedRepeat = "nested *?+";
inline constexpr const char *kRepeatFollowsNothing = "?+* follows nothing";
inline constexpr const char *kInvalidRange = "invalid [] range";
inline constexpr const char *kUnmatchedBracket = "unmatched []";
inline constexpr const char *kTrailingBackslash = "trailing \\";
inline constexpr const char *kInternalUrp = "internal urp";

// Matching and copying.
inline constexpr const char *kNullParameter = "NULL parameter";
inline constexpr const char *kCorruptedProgram = "corrupted program";
inline constexpr const char *kMemoryCorruption = "memory corruption";
inline constexpr const char *kCorruptedPointers = "corrupted pointers";
inline constexpr const char *kInternalFoulup = "internal foulup";

// Substitution.
inline constexpr const char *kNullParmToRegsub = "NULL parm to hs_regsub";
inline constexpr const char *kDamagedRegexp = "damaged hs_regexp fed to hs_regsub";
inline constexpr const char *kDamagedMatch = "damaged match string";

// Name search (assertion lines).
inline constexpr const char *kSearchSource = "source/regexp/regexsrh";
inline constexpr const char *kLimitNullSearch = "rtregex_limit_search: NULL search pointer";
inline constexpr const char *kMatchNullSearch = "rtregex_match: NULL search pointer";
inline constexpr const char *kMatchNullOutput = "rtregex_match: NULL output pointer";

}  // namespace zarn::regexp::msg

#endif
