// What the variable and equation lists share on top of their dictionaries:
// the column table made from the attribute catalogue, creation and capacity
// changes that survive a failed column allocation, names written into and
// compared over runs of elements, names packed in Fortran words, and the
// plex index of a column.
#ifndef ZARN_RTATTRDICT_LISTS_H
#define ZARN_RTATTRDICT_LISTS_H

#include <array>
#include <cstddef>
#include <cstdint>

#include "attrcat/attrcat.h"
#include "rtattrdict/rtattrdict_sibling.h"
#include "zarnutils/rtattrdict.h"

namespace zarn::rtattrdict {

// The dictionary type of a catalogue column's storage.
constexpr int32_t type_of(attrcat::Storage s) {
    switch (s) {
        case attrcat::Storage::Integer:
            return RTATTR_INTEGER;
        case attrcat::Storage::Double:
            return RTATTR_DOUBLE;
        case attrcat::Storage::Boolean:
            return RTATTR_BOOLEAN;
        case attrcat::Storage::Pointer:
            return RTATTR_POINTER;
        case attrcat::Storage::Wrapper:
            return RTATTR_WRAPPER;
        case attrcat::Storage::SparseInteger:
            return RTATTR_SPARSE_INTEGER;
        case attrcat::Storage::SparseDouble:
            return RTATTR_SPARSE_DOUBLE;
        case attrcat::Storage::SparseString:
            return RTATTR_SPARSE_STRING;
        case attrcat::Storage::SparseName:
            return RTATTR_SPARSE_NAME;
        case attrcat::Storage::SparsePointer:
            return RTATTR_SPARSE_POINTER;
    }
    return RTATTR_END;
}

// The descriptor table of a list's catalogue columns, in their order, ended
// by type 0. The dictionary keeps pointers into it: keep it in static storage.
template <std::size_t N>
constexpr std::array<rtattrdesc_t, N + 1> column_table(const attrcat::ListColumn (&columns)[N]) {
    std::array<rtattrdesc_t, N + 1> t{};
    for (std::size_t k = 0; k < N; ++k) {
        const attrcat::ListColumn &c = columns[k];
        t[k] = {
            c.name, type_of(c.storage), c.default_real, static_cast<int32_t>(c.default_integer), nullptr, 0,
            nullptr};
    }
    t[N] = {nullptr, RTATTR_END, 0.0, 0, nullptr, 0, nullptr};
    return t;
}

// rtattrdict_create, or NULL when a column cannot be allocated (the plex
// allocator raises; the raise stops here).
rtattrdict_t *create_or_null(int32_t capacity, const rtattrdesc_t *table, int allow_resize);

// True when the head d holds every attribute of the table and NAME (an
// attribute whose allocation failed is left out).
bool declares_all(rtattrdict_t *d, const rtattrdesc_t *table);

// rtattrdict_change_capacity; false when a column allocation raised, which
// leaves the capacity as it was.
bool change_capacity_caught(rtattrdict_t *d, int32_t capacity);

// What writing names into fixed-width fields did.
enum class Fields { kSkipped, kBadRange, kWritten };

// Writes the names of elements first..last of d (as seen from d) into
// consecutive fields of width bytes, without terminators. A shorter name fills
// the start of its field and leaves the rest as it was; a longer one is cut
// to the field and `truncated` is told (name, width). A zero first, last or
// width (or a width below zero, or no block) writes nothing (kSkipped); a first
// or last outside 1..size writes nothing (kBadRange, for the caller to report);
// first > last writes nothing.
Fields names_to_fields(rtattrdict_t *d, int32_t first, int32_t last, int32_t width, char *block,
                       void (*truncated)(const char *name, int32_t width));

// True when the count names from element i1 of d1 on equal those from i2 of
// d2, position by position (the same interned string or equal text). Both runs
// must lie within their dictionaries; count 0 or less compares nothing.
bool names_equal(rtattrdict_t *d1, int32_t i1, rtattrdict_t *d2, int32_t i2, int32_t count);

// Copies element i's name (as seen from d) into a buffer of kNameBuf bytes;
// the buffer becomes "" when the element has none. True when it has one.
bool copy_name(rtattrdict_t *d, int32_t i, char *buffer);

// Elements in first..last, in 64 bits and kept within int32_t: a span too
// long for any dictionary stays too long, an empty or reversed one stays below 1.
int32_t span(int32_t first, int32_t last);

// A name packed into n words (four characters in the low half of each
// integer, eight in each double), unpacked and stripped of trailing blanks.
struct PackedName {
    char text[kNameBuf] = "";
    PackedName(const int64_t *words, int64_t n);
    PackedName(const double *words, int64_t n);
};

// The plex index of a column's first cell; 0 for no column.
int64_t plex_of(const double *column);
int64_t plex_of(const int64_t *column);

}  // namespace zarn::rtattrdict

#endif
