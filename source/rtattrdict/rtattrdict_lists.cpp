// The pieces the variable and equation lists share on top of a dictionary.
#include "rtattrdict/rtattrdict_lists.h"

#include <climits>
#include <cstring>

#include "zarnutils/except.h"
#include "zarnutils/stred.h"
#include "zarnutils/zarnmalloc.h"

namespace zarn::rtattrdict {

rtattrdict_t *create_or_null(int32_t capacity, const rtattrdesc_t *table, int allow_resize) {
    rtattrdict_t *volatile d = nullptr;
    ZARN_TRY
    d = rtattrdict_create(capacity, table, allow_resize);
    ZARN_EXCEPT(rtmalloc_allocate_failed)
    d = nullptr;
    ZARN_END_TRY;
    return d;
}

bool declares_all(rtattrdict_t *d, const rtattrdesc_t *table) {
    uint32_t declared = 1;  // NAME
    for (const rtattrdesc_t *c = table; c->type != RTATTR_END; ++c) ++declared;
    return hashNum(rtattrdict_attributes(d)) == declared;
}

bool change_capacity_caught(rtattrdict_t *d, int32_t capacity) {
    volatile bool done = false;
    ZARN_TRY
    rtattrdict_change_capacity(d, capacity);
    done = true;
    ZARN_EXCEPT(rtmalloc_allocate_failed)
    done = false;
    ZARN_END_TRY;
    return done;
}

Fields names_to_fields(rtattrdict_t *d, int32_t first, int32_t last, int32_t width, char *block,
                       void (*truncated)(const char *name, int32_t width)) {
    if (d == nullptr || block == nullptr || first == 0 || last == 0 || width <= 0) return Fields::kSkipped;
    const int32_t n = d->size;
    if (first < 1 || first > n || last < 1 || last > n) return Fields::kBadRange;
    for (int32_t k = first; k <= last; ++k) {
        const char *name = rtattrdict_name(d, k);
        if (name == nullptr) name = "";
        char *field = block + static_cast<size_t>(k - first) * static_cast<size_t>(width);
        size_t len = std::strlen(name);
        if (len > static_cast<size_t>(width)) {
            truncated(name, width);
            len = static_cast<size_t>(width);
        }
        std::memcpy(field, name, len);
    }
    return Fields::kWritten;
}

bool names_equal(rtattrdict_t *d1, int32_t i1, rtattrdict_t *d2, int32_t i2, int32_t count) {
    for (int32_t k = 0; k < count; ++k) {
        const char *a = rtattrdict_name(d1, i1 + k);
        const char *b = rtattrdict_name(d2, i2 + k);
        if (a == b) continue;
        if (std::strcmp(a ? a : "", b ? b : "") != 0) return false;
    }
    return true;
}

bool copy_name(rtattrdict_t *d, int32_t i, char *buffer) {
    buffer[0] = '\0';
    const char *name = d != nullptr ? rtattrdict_name(d, i) : nullptr;
    if (name == nullptr || name[0] == '\0') return false;
    // Only the name and its terminator: the rest of the caller's buffer is left alone.
    const size_t n = strnlen(name, kNameMax);
    std::memcpy(buffer, name, n);
    buffer[n] = '\0';
    return true;
}

int32_t span(int32_t first, int32_t last) {
    const int64_t n = static_cast<int64_t>(last) - first + 1;
    return n > INT32_MAX ? INT32_MAX : (n < INT32_MIN ? INT32_MIN : static_cast<int32_t>(n));
}

PackedName::PackedName(const int64_t *words, int64_t n) {
    if (words != nullptr) stred_i4_to_string(text, sizeof text, words, n);
    stred_remove_trailing_blanks(text);
}

PackedName::PackedName(const double *words, int64_t n) {
    if (words != nullptr) stred_r8_to_string(text, sizeof text, words, n);
    stred_remove_trailing_blanks(text);
}

int64_t plex_of(const double *column) { return column != nullptr ? rto_dptr2plex_c(column) : 0; }

int64_t plex_of(const int64_t *column) { return column != nullptr ? rto_iptr2plex_c(column) : 0; }

}  // namespace zarn::rtattrdict
