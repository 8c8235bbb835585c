// Internals of assignment and lookup by name: the attribute codes, the
// target split, and the helpers the assignment and lookup files share.
#ifndef ZARN_VARASSIGN_INTERNAL_H
#define ZARN_VARASSIGN_INTERNAL_H

#include <cstdint>

#include "attrcat/attrcat.h"
#include "rtvarlst/rtvarlst_scale.h"
#include "zarnutils/rtvalue.h"
#include "zarnutils/rtvarlst.h"

namespace zarn::varassign {

namespace ac = zarn::attrcat;

// Longest name part; one more is too long.
inline constexpr int kNameMax = ZARN_NAME_MAX;

// A target split into its name part (a private copy) and the attribute row.
struct Target {
    char name[kNameMax + 1];
    int row;        // the catalogue row of the keyword suffix, ac::kNoRow without one (VALUE)
    bool too_long;  // the name part has 1025 characters or more (name is then empty)
};

// Row of an attribute keyword (2-13 characters, first one A-Z, any case), or ac::kNoRow.
int keyword_row(const char *word, size_t n);

// Splits text at its last "." into target.
void split_target(const char *text, Target *target);

// The internal scale of item i as a divisor (the variable list's one rule).
inline double scale_of(rtvarlst_t *list, int32_t i) { return zarn::rtvarlst::effective_scale(list, i); }

// The display unit of a difference type: one beyond the type's units is its default (0).
int display_uom(int ptype, int uom);

// Raises change event 18 for item i with code, naming the variable.
void raise(rtvarlst_t *list, int32_t i, int32_t code);

// Writes "<head><printed value><tail with target>" on the history device.
void report_with_value(const char *head, const value_t *value, const char *tail, ...)
    __attribute__((format(printf, 3, 4)));

// Real attributes: coercion to a number, units, scale, store (row of the attribute).
void assign_real(rtvarlst_t *list, int32_t i, int row, const char *target, const value_t *value);

// The attributes whose values are codes read from words (SPEC, BOUND,
// QUALITY, PARAM, RAMPED, VAR_TYPE, CONN_TYPE).
void assign_coded(rtvarlst_t *list, int32_t i, int row, const char *target, const value_t *value);
// Sets the connection type when word is a connection-type keyword; else nothing.
void set_conn_type_of_word(rtvarlst_t *list, int32_t i, const char *word);

// The value converted to kind in out (UNDEFINED and false when it does not convert).
bool coerce(const value_t *value, value_t *out, int kind);
// "Assignment type mismatch.  You cannot assign <value> to <target>".
void mismatch(const value_t *value, const char *target);
// The coerced word of an attribute, or the mismatch message and false; the
// caller destroys word.
bool word_of(const value_t *value, value_t *word, int kind, const char *target);

}  // namespace zarn::varassign

#endif
