// The attribute catalogue: every variable and equation attribute once, with
// what each context (the list, the record, assignment, print masks, the
// VARFILE, the X-file, queries) says about it, and the word tables of the
// coded attributes. The data is generated (attrcat_data.h); this header
// holds its types and the one keyword lookup every context uses.
#ifndef ZARN_ATTRCAT_ATTRCAT_H
#define ZARN_ATTRCAT_ATTRCAT_H

#include <cstddef>
#include <cstdint>

#include "zarnutils/attrcatalog.h"

namespace zarn::attrcat {

// How a vocabulary compares a word with its keywords.
enum class Match : uint8_t {
    Keyword,  // first character A-Z as given, the rest ignoring case
    Exact,    // byte for byte
    AnyCase,  // ignoring case throughout
};

// The words of one context, sorted by byte, with their codes; the words of
// each first letter stand together, from first[l] to one before last[l].
struct Vocabulary {
    const rtvar_keyword *words;
    const uint8_t *lengths;  // each word's length: most words are passed over on it alone
    int16_t count;
    uint8_t min_len, max_len;  // a word outside these fails before any comparison
    Match match;
    struct {
        uint16_t first[26], last[26];
    } index;
};

// The keyword equal to the n characters at word under the vocabulary's rule,
// or null. The word need not end in a NUL.
const rtvar_keyword *find(const Vocabulary &v, const char *word, size_t n);

// The code of the word, or none.
inline int32_t code_of(const Vocabulary &v, const char *word, size_t n, int32_t none) {
    const rtvar_keyword *k = find(v, word, n);
    return k != nullptr ? k->code : none;
}

// The words of a coded attribute, read both ways.
struct WordTable {
    const rtvar_keyword *written;  // the word written for each code, in code order
    int16_t count;
    Vocabulary accepted;        // the words read back, synonyms included
    const char *const *titles;  // per written word, capitalised (or null)
    const char *const *lower;   // per written word, in lower case (or null)
};

// The position of a code among the written words, or -1. Inline: the
// VARFILE writer asks it for several fields of every variable.
inline int position_of(const WordTable &t, int64_t code) {
    // Most tables hold the codes 0..count-1 in order: their code is the position.
    if (code >= 0 && code < t.count && t.written[code].code == code) return static_cast<int>(code);
    for (int k = 0; k < t.count; ++k)
        if (t.written[k].code == code) return k;
    return -1;
}

// The written word of a code, or null when the table has none.
inline const char *word_of(const WordTable &t, int64_t code) {
    const int k = position_of(t, code);
    return k >= 0 ? t.written[k].keyword : nullptr;
}

inline constexpr double kUndefined = 1e35;

enum class Owner : uint8_t { Variable, Equation };

// What a value of the attribute is.
enum class Value : uint8_t { Real, Integer, Text, Word, Flag, Pointer, Pair, Status };

// Attribute flags.
inline constexpr uint8_t kSiAware = 1;     // held in the base unit; accessors convert with an in-SI flag
inline constexpr uint8_t kDifference = 2;  // takes the difference physical type (no offset)
inline constexpr uint8_t kReadOnly = 4;    // assignment refuses it

// One row: an attribute and its place in each context (-1 or 0: none).
struct Attribute {
    const char *name;
    Owner owner;
    Value value;
    uint8_t flags;
    int32_t record;      // record field code: a mask1 bit, or minus a mask2 bit (equations: mask1 only)
    int32_t caller_bit;  // the caller-side mask1 bit that stands for it
    int8_t assign;       // assignment code in its owner's vocabulary
    uint32_t modified1;  // modification bits an assignment ORs in
    uint32_t modified2;
    int32_t change;                // change code a write raises
    int8_t vmask;                  // variable print-mask flag
    int8_t emask;                  // equation print-mask flag
    int8_t varfile;                // VARFILE attribute
    int8_t xfile;                  // X-file attribute code
    const WordTable *words;        // the words of a coded attribute
    const WordTable *query_words;  // its words in a query
};

// The storage of a list column.
enum class Storage : uint8_t {
    Integer,
    Double,
    Boolean,
    Pointer,
    Wrapper,
    SparseInteger,
    SparseDouble,
    SparseString,
    SparseName,  // interned text that carries the list's prefixes
    SparsePointer
};

struct ListColumn {
    const char *name;
    Storage storage;
    double default_real;
    int64_t default_integer;
    int16_t row;
};

// A print-mask flag: its name (null when it has none) and its row.
struct PrintFlag {
    const char *name;
    int16_t row;
};

// How wide a VARFILE column is: one of the writer's widths, or fixed.
enum class Width : uint8_t { Name, Uom, Real, RealAtLeast8, Fixed };

// How a VARFILE field is written.
enum class Form : uint8_t {
    None,        // the name, which leads every record
    TypeName,    // the physical type's name
    UnitName,    // the display unit's name
    BaseName,    // the base unit's name
    ConnName,    // the connection type's name
    Display,     // a real, scaled, in display units
    Difference,  // a real, scaled, in display units as a difference
    Plain,       // a real as stored
    Word,        // a word of the attribute's table
    Text,        // free text
    Pair,        // the two modification masks
};

struct VarfileAttribute {
    const char *word;  // the header word
    int16_t row;
    bool derived;  // computed from others, never assigned
    bool read;     // in the default read mask
    Width width;
    int16_t fixed_width;  // with Width::Fixed
    Form form;
    uint32_t needs1, needs2;  // the record fields writing it reads
    bool whole_record;        // the writer fetches every field for it
};

enum class XKind : uint8_t { None, Name, Integer, Real, Pair };

struct XfileAttribute {
    int16_t row;
    XKind kind;
    const char *label;   // printed on restore
    const char *label2;  // the second word's label (modified masks)
    bool unscaled;       // held in the file times the internal scale
};

enum class QKind : uint8_t { None, Real, Text, Integer, Enumeration, Value };

struct QueryAttribute {
    int32_t id;  // the record's mask bit; minus a mask2 bit
    const char *name;
    QKind kind;
    int16_t row;
};

// An attribute of a query engine's equation, parameter or port record.
struct RecordAttribute {
    int32_t id;  // the record's mask bit
    const char *name;
    QKind kind;
    const WordTable *words;  // an enumeration's words, else null
};

}  // namespace zarn::attrcat

#include "attrcat/attrcat_data.h"

namespace zarn::attrcat {

// The list column of a row (variable or equation list), or null.
constexpr const char *column_of(int row) {
    for (const ListColumn &c : kListColumns)
        if (c.row == row) return c.name;
    for (const ListColumn &c : kEqnColumns)
        if (c.row == row) return c.name;
    return nullptr;
}

}  // namespace zarn::attrcat

#endif
