// The pieces of the query parser shared by the generated scanner and grammar
// and the parse entry: the scanner's helpers and the grammar's actions.
#ifndef ZARN_QDLVARQUERY_PARSER_CORE_H
#define ZARN_QDLVARQUERY_PARSER_CORE_H

#include <cstddef>
#include <cstdint>

#include "zarnutils/qdlvarquery.hpp"

namespace zarn::qdlvarquery {

// Scanner side.

// Scans buffer (the query text and two NUL bytes, size counting them) from the
// operator state; false when the scanner cannot be set up (memory).
bool scanner_open(char *buffer, size_t size);
// Frees what the scanner holds and puts it back in its initial state.
void scanner_close();
// A malloc'd copy of a token's text; NULL when memory is short, which the
// parse then reports.
char *scan_text(const char *text, size_t len);
// The length of the name at the start of a token (up to its blanks or "(").
size_t name_length(const char *text);
// An integer token, or a real when it is outside the 32-bit range.
void scan_integer(QDLQLiteral *out, const char *text, size_t len);
// A real token; its exponent letter d or D is read as e (the text is changed).
void scan_real(QDLQLiteral *out, char *text, size_t len);
[[noreturn]] void scan_fatal(const char *what);
void *scan_alloc(size_t n);
void *scan_realloc(void *p, size_t n);
void scan_free(void *p);

// Parser side.

void *stack_alloc(size_t n);  // the parser's stack beyond its first 200 entries
void stack_free(void *p);
void syntax_error(const char *what);
// The tests of the grammar: each frees name and literal, and gives NULL after
// reporting when no test was made (the parse then stops).
IQDLQTest *comparison(char *name, int32_t op, QDLQLiteral *literal);
IQDLQTest *function(char *name, QDLQLiteral *literal);  // literal NULL: no argument
// A term from a test: an AND compound holding it (NULL, test deleted, when memory is short).
QDLQCompoundTest *single(IQDLQTest *test);
// left op right with repeated operators gathered in one node; NULL (both
// deleted) when memory is short.
QDLQCompoundTest *join(QDLQCompoundTest *left, int32_t op, QDLQCompoundTest *right);
// The literal of a word: a glob becomes its regular expression. Frees word;
// false after reporting when memory is short.
bool word_literal(char *word, QDLQLiteral *out);
QDLQLiteral text_literal(char *text);  // takes text
void free_literal(QDLQLiteral *literal);
void accept_tree(QDLQCompoundTest *root);

}  // namespace zarn::qdlvarquery

#endif
