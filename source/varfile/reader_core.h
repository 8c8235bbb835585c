// The pieces of the VARFILE reader shared by the generated scanner and
// parser and the record processing: the token value and the actions.
#ifndef ZARN_VARFILE_READER_CORE_H
#define ZARN_VARFILE_READER_CORE_H

#include <cstddef>
#include <cstdint>

namespace zarn::varfile {

enum class Kind : uint8_t { None, Text, Real, Integer };

// A token's value, sixteen bytes because the parser copies it at every
// step. The text of a name or number stays in the scanner's buffer, which
// holds it until the scanner is called again; the parser acts on a field as
// soon as it has read it, before it reads the next token, and copies what it
// keeps.
struct Tok {
    Kind kind;
    bool raw;   // a number not yet converted: its text, and its kind as scanned
    int32_t i;  // the count of extra commas; a text's length (-1: too long to hold)
    union {
        double r;
        char *text;  // name or number, NUL-terminated
    };
};

// Scanner side.
size_t scan_input(char *buffer, size_t size);  // the next bytes of the pipe
[[noreturn]] void scan_fatal(const char *what);
void scan_name(Tok *t, char *text, size_t len);
void scan_number(Tok *t, char *text, size_t len, bool integer);
void scan_commas(Tok *t, const char *text, size_t len);  // a run of commas and blanks
void scan_unexpected(char c);
void scan_unterminated();
void scan_ended();  // the scanner has handed out its last token
void *scan_alloc(size_t n);
void *scan_realloc(void *p, size_t n);
void scan_free(void *p);

// Parser side.
inline bool is_name(const Tok &t) { return t.kind == Kind::Text; }
// The extra commas of a run followed by a run of 1 + extra commas, held at
// the largest int.
inline int32_t more_commas(int32_t extra, int32_t next_extra) {
    const int64_t sum = int64_t{extra} + next_extra + 1;
    return sum > INT32_MAX ? INT32_MAX : static_cast<int32_t>(sum);
}
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
