// The pieces of the VARFILE reader shared by the generated scanner and
// parser and the record processing: the token value and the actions.
#ifndef ZARN_VARFILE_READER_CORE_H
#define ZARN_VARFILE_READER_CORE_H

#include <cstddef>
#include <cstdint>

namespace zarn::varfile {

enum class Kind : uint8_t { None, Text, Real, Integer };

// A token's value; a text lives in the scanner's buffers until the token
// after the next one is read, so the parser copies what it keeps.
struct Tok {
    Kind kind;
    int32_t i;   // integer, or the count of extra commas
    double r;    // real
    char *text;  // name, NUL-terminated
    size_t len;
};

// Scanner side.
size_t scan_input(char *buffer, size_t size);  // the next bytes of the pipe
[[noreturn]] void scan_fatal(const char *what);
void scan_name(Tok *t, const char *text, size_t len);
void scan_number(Tok *t, char *text, size_t len, bool integer);
void scan_unexpected(char c);
void scan_unterminated();
void scan_ended();  // the scanner has handed out its last token
void *scan_alloc(size_t n);
void *scan_realloc(void *p, size_t n);
void scan_free(void *p);

// Parser side.
void header_begin();
void header_word(Tok *word);
void header_end();
void record_begin();
void record_field(const Tok &field);
void record_skip(int32_t empty);
void record_end();
void syntax_error(const char *what);

}  // namespace zarn::varfile

#endif
