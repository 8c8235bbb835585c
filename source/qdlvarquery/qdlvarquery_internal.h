// Parsing a query text into a test tree, for the engines of this module (and
// the tests and benchmarks that link the objects).
#ifndef ZARN_QDLVARQUERY_QDLVARQUERY_INTERNAL_H
#define ZARN_QDLVARQUERY_QDLVARQUERY_INTERNAL_H

#include "zarnutils/qdlvarquery.hpp"

namespace zarn::qdlvarquery {

// Parses text as it stands (NULL counts as empty), asking callback for each
// test. The root of the tree (the caller deletes it), or NULL after one call
// of callback->ReportError: a syntax error, a test the callback did not make,
// a full parser stack, memory. NULL without a report when callback is NULL.
// The scanner starts and ends in its initial state. Not reentrant: a parse
// started from inside a callback is refused.
IQDLQTest *parse(IQDLQueryParserCallback *callback, const char *text);

// The keywords' lower-case forms made upper case where a blank follows them
// ("and " → "AND ", "or ", "not "), anywhere in the text. A malloc'd copy;
// NULL for NULL or when memory is short.
char *preprocess(const char *text);

// What an engine does with a query text: NULL or "" is refused (NULL, nothing
// reported); otherwise the preprocessed text is parsed.
IQDLQTest *parse_query_text(IQDLQueryParserCallback *callback, const char *text);

// Runs the scanner alone over text (token texts freed at once): the number
// of tokens, or -1 when memory is short. For measuring the parser's share.
long scan_only(const char *text);

}  // namespace zarn::qdlvarquery

#endif
