// Every text the query parser hands to its callback's ReportError.
#ifndef ZARN_QDLVARQUERY_QDLVARQUERY_MESSAGES_H
#define ZARN_QDLVARQUERY_QDLVARQUERY_MESSAGES_H

namespace zarn::qdlvarquery::msg {

inline constexpr char kParseError[] = "parse error";
inline constexpr char kStackOverflow[] = "parser stack overflow";
inline constexpr char kNoMemory[] = "Not enough memory to parse the query";
inline constexpr char kBusy[] = "Another query is being parsed";
inline constexpr char kTooLong[] = "The query text is too long";
inline constexpr char kEngineFailed[] = "The query engine failed while building a test";

}  // namespace zarn::qdlvarquery::msg

#endif
