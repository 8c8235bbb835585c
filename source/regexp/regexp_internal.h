// Layout of a compiled regular-expression program and the engine's error text.
#ifndef ZARN_REGEXP_REGEXP_INTERNAL_H
#define ZARN_REGEXP_REGEXP_INTERNAL_H

#include <cstddef>
#include <cstdint>

#include "regexp/regexp_messages.h"
#include "regexp/regexp_search.h"
#include "zarnutils/hsregexp.h"

namespace zarn::regexp {

// Node opcodes. Each node is the opcode byte, a 2-byte big-endian offset to
// the next node (0: none; backwards for BACK), and for EXACTLY, ANYOF and
// ANYBUT a NUL-terminated operand string.
enum Op : uint8_t {
    END = 0,      // end of the program: success
    BOL = 1,      // start of the subject
    EOL = 2,      // end of the subject
    ANY = 3,      // any one character
    ANYOF = 4,    // one character of the operand
    ANYBUT = 5,   // one character not in the operand
    BRANCH = 6,   // alternative: try the operand node, else the next BRANCH
    BACK = 7,     // loop back (offset points backwards)
    EXACTLY = 8,  // the operand string literally
    NOTHING = 9,  // empty match
    STAR = 10,    // the following simple node, zero or more times
    PLUS = 11,    // the following simple node, one or more times
    WORDA = 12,   // start of a word
    WORDZ = 13,   // end of a word
    OPEN = 20,    // OPEN + n: group n starts here (n = 1..9)
    CLOSE = 30,   // CLOSE + n: group n ends here
};

constexpr std::size_t kNodeSize = 3;     // opcode plus next offset
constexpr long kMaxProgram = 32767;      // programs must stay below this size
constexpr std::size_t kErrorSize = 128;  // error text buffer, terminator included

inline uint8_t op_of(const uint8_t *node) { return node[0]; }
inline unsigned next_offset(const uint8_t *node) { return (static_cast<unsigned>(node[1]) << 8) | node[2]; }
inline const uint8_t *operand_of(const uint8_t *node) { return node + kNodeSize; }

// The node that follows `node`, or nullptr at the end of a chain.
inline const uint8_t *next_node(const uint8_t *node) {
    unsigned off = next_offset(node);
    if (off == 0) return nullptr;
    return op_of(node) == BACK ? node - off : node + off;
}

// First byte of the program (the magic byte) of a compiled pattern. Reached
// through the record's address so that indexing past the declared one-byte
// array stays well defined.
inline uint8_t *program_of(hs_regexp *prog) {
    return reinterpret_cast<uint8_t *>(prog) + offsetof(hs_regexp, program);
}
inline const uint8_t *program_of(const hs_regexp *prog) {
    return reinterpret_cast<const uint8_t *>(prog) + offsetof(hs_regexp, program);
}

// Bytes from the magic byte through the END node; 0 when the program is not
// well formed (bad magic, unknown opcode or no END within limit bytes).
std::size_t program_length(const uint8_t *program, std::size_t limit);

// True when c is a letter, digit or underscore (ASCII).
inline bool is_word_char(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// Stores text (cut to 127 characters) as the engine's last error.
void set_error(const char *text);
// Empties the error text.
void clear_error();

}  // namespace zarn::regexp

#endif
