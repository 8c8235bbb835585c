// Every text the query module prints or hands over: the parser's reports to
// its callback, the engines' build errors (written into the parser's error
// buffer and printed by ReportError) and the engines' run-time reports.
#ifndef ZARN_QDLVARQUERY_QDLVARQUERY_MESSAGES_H
#define ZARN_QDLVARQUERY_QDLVARQUERY_MESSAGES_H

namespace zarn::qdlvarquery::msg {

// The parser.
inline constexpr char kParseError[] = "parse error";
inline constexpr char kStackOverflow[] = "parser stack overflow";
inline constexpr char kNoMemory[] = "Not enough memory to parse the query";
inline constexpr char kBusy[] = "Another query is being parsed";
inline constexpr char kTooLong[] = "The query text is too long";
inline constexpr char kEngineFailed[] = "The query engine failed while building a test";

// Building tests: every engine.
inline constexpr char kUnknownAttribute[] = "%s is not a recognised attribute";
inline constexpr char kRealOnly[] = "Can only compare %s with real values";
inline constexpr char kStringOnly[] = "Can only compare %s with string values";
inline constexpr char kIntegerOnly[] = "Can only compare %s with integer values";
inline constexpr char kUnknownWord[] = "Unrecognised enumeration value %s";
inline constexpr char kValidEnumOnly[] = "Can only compare %s with valid enumeration values";
inline constexpr char kInvalidAttribute[] = "Invalid attribute";
inline constexpr char kUnknownFunction[] = "Unknown function %s";
inline constexpr char kNoMemoryForTest[] = "Not enough memory to build the test of %s";
inline constexpr char kBadPattern[] = "%s is not a valid regular expression: %s";

// Building tests: one engine each.
inline constexpr char kNotVariableAttribute[] = "%s is not a recognised variable attribute";
inline constexpr char kNotEquationAttribute[] = "%s is not a recognised equation attribute";
inline constexpr char kNotParameterAttribute[] = "%s is not a recognised parameter attribute";
inline constexpr char kNotPortAttribute[] = "%s is not a recognised port attribute";
inline constexpr char kNamesEqualityOnly[] = "Only equality and inequality tests are supported on names";
inline constexpr char kNamesStringsOnly[] = "Can only compare names with strings";
inline constexpr char kModifiedDirect[] =
    "Cannot test Modified attribute directly use the IsModified() function";  // documented as is
inline constexpr char kIsModifiedString[] = "IsModified function expects a string argument";
inline constexpr char kObjectiveInfo[] = "Unable to get information for objective %s\n";
inline constexpr char kInObjectiveString[] = "InObjective function expects a string argument";
inline constexpr char kFixedInfo[] = "Unable to get information for IsFixed Function Test %s\n";
inline constexpr char kFreeInfo[] =
    "Unable to get information for IsFreee Function Test %s\n";  // documented as is
inline constexpr char kIsFixedString[] = "IsFixed function expects a string argument";
inline constexpr char kIsFreeString[] = "IsFree function expects a string argument";
inline constexpr char kAliasInfo[] = "Unable to get information for alias test %s\n";
inline constexpr char kInAliasString[] = "InAlias function expects a string argument";  // documented as is
inline constexpr char kInvalidFunction[] = "Invalid function";

// Running.
inline constexpr char kHostFailed[] = "!!Query: the host failed while the query ran; the run stopped\n";
inline constexpr char kHostFailedMaking[] = "!!Query: the host failed while the engine was made\n";
inline constexpr char kNoMemoryToRun[] = "!!Query: not enough memory for the results; the run stopped\n";
inline constexpr char kBadCandidateCount[] = "!!Query: a candidate list cannot have %d entries\n";
inline constexpr char kNoMemoryForCandidates[] = "!!Query: not enough memory for %d candidates\n";
inline constexpr char kEngineBusy[] = "!!Query: %s refused: the engine is running a query\n";

// The assertion of an id that is no attribute, and its source name.
inline constexpr char kAssertBadId[] = "Invalid attribute id";
inline constexpr char kSource[] = "source/qdlvarquery/qdlquerybase";

}  // namespace zarn::qdlvarquery::msg

#endif
