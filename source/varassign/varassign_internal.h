// Internals of assignment and lookup by name: the attribute codes, the
// target split, and the helpers the assignment and lookup files share.
#ifndef ZARN_VARASSIGN_INTERNAL_H
#define ZARN_VARASSIGN_INTERNAL_H

#include <cstdint>

#include "zarnutils/rtvalue.h"
#include "zarnutils/rtvarlst.h"

namespace zarn::varassign {

// Attribute codes of the keyword table; they also select the modification bits.
enum Attr : int {
    kNone = -1,  // no suffix: VALUE
    kValue = 1, kLower = 2, kUpper = 3, kStep = 4, kIntScale = 5, kScale = 6, kSbWeight = 7, kSpec = 8,
    kInit = 9, kUnits = 10, kBound = 11, kMarked = 12, kModified = 14, kActiveBound = 16, kShadowPrice = 17,
    kQuality = 18, kBaseUom = 19, kPhysicalType = 20, kBlockPtr = 21, kParam = 22, kTarget = 23,
    kDescription = 24, kVarType = 25, kThreshold = 27, kRamped = 28, kChange = 29, kConnType = 34,
};

// Longest name part; one more is too long.
inline constexpr int kNameMax = 1024;

// A target split into its name part (a private copy) and attribute code.
struct Target {
    char name[kNameMax + 1];
    int code;       // an Attr, kNone without a keyword suffix
    bool too_long;  // the name part has 1025 characters or more (name is then empty)
};

// Code of an attribute keyword (2-13 characters, first one A-Z, any case), or kNone.
int keyword_code(const char *word, size_t n);

// Splits text at its last "." into target.
void split_target(const char *text, Target *target);

// The internal scale of item i as a divisor: an undefined or zero scale is 1.
double scale_of(rtvarlst_t *list, int32_t i);

// The display unit of a difference type: one beyond the type's units is its default (0).
int display_uom(int ptype, int uom);

// Raises change event 18 for item i with code, naming the variable.
void raise(rtvarlst_t *list, int32_t i, int32_t code);

// Writes "<head><printed value><tail with target>" on the history device.
void report_with_value(const char *head, const value_t *value, const char *tail, ...)
    __attribute__((format(printf, 3, 4)));

// Real attributes: coercion to a number, units, scale, store (code is an Attr).
void assign_real(rtvarlst_t *list, int32_t i, int code, const char *target, const value_t *value);

// The attributes whose words come from the shared keyword tables.
void assign_spec(rtvarlst_t *list, int32_t i, const char *target, const value_t *value);
void assign_bound(rtvarlst_t *list, int32_t i, const char *target, const value_t *value);
void assign_conn_type(rtvarlst_t *list, int32_t i, const char *target, const value_t *value);
// Sets the connection type when word is a connection-type keyword; else nothing.
void set_conn_type_of_word(rtvarlst_t *list, int32_t i, const char *word);
// value (UNDEFINED) receives the connection-type keyword of item i, when 0..1065.
void lookup_conn_type(rtvarlst_t *list, int32_t i, value_t *value);

// The value converted to kind in out (UNDEFINED and false when it does not convert).
bool coerce(const value_t *value, value_t *out, int kind);
// "Assignment type mismatch.  You cannot assign <value> to <target>".
void mismatch(const value_t *value, const char *target);
// The coerced word of an attribute, or the mismatch message and false; the
// caller destroys word.
bool word_of(const value_t *value, value_t *word, int kind, const char *target);

}  // namespace zarn::varassign

#endif
