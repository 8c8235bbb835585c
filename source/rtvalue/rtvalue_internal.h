// Internals shared by the value and parameter files.
#ifndef ZARN_RTVALUE_RTVALUE_INTERNAL_H
#define ZARN_RTVALUE_RTVALUE_INTERNAL_H

#include <cstddef>

#include "zarnutils/rtvalue.hpp"

namespace zarn::rtvalue {

inline constexpr char kSource[] = "source/rtvalue/rtvalue";
inline constexpr int kKinds = 12;
// Lists (and enumerations holding lists) nest at most this many levels; a
// deeper value is not valid. Every walk over items recurses at most this deep.
inline constexpr int kMaxDepth = 1000;

// Prints the assertion line with text formatted over fn; returns cond.
bool check(bool cond, const char *text, const char *fn, int line);
#define RTVALUE_CHECK(cond, text, fn) ::zarn::rtvalue::check((cond), (text), (fn), __LINE__)

// An assertion of a text with no argument.
void fail_assert(const char *text, int line);

inline bool is_text_kind(int k) {
    return k == string_value || k == identifier_value || k == regexp_value || k == glob_value;
}

// Zeroes v: the UNDEFINED value.
void clear(value_t *v);
// Frees v's contents; v must be valid. v is UNDEFINED afterwards. Nested
// items are freed in one pass, without recursion and without validating again.
void release(value_t *v);
// Frees a list of heap items and every value nested in them, in one pass; null
// and invalid items are skipped (their records freed).
void destroy_items(gl_list_t *list);

// Why the items under v cannot be valid: none, a bad item (null, invalid, or a
// list whose length or tail is wrong), or nesting beyond kMaxDepth.
enum class TreeFault { None, BadItem, TooDeep };
TreeFault tree_fault(const value_t *v);
// Deep copy of a valid src into an UNDEFINED dst; false (dst UNDEFINED) when memory is short.
bool copy_into(const value_t *src, value_t *dst);
// A heap copy of src, or null.
value_t *heap_copy(const value_t *src);
// Moves src into dst (dst released first); src becomes UNDEFINED.
void move_into(value_t *src, value_t *dst);
// Reports a failed allocation of fn on the history device.
void out_of_memory(const char *fn);

// The number's value in its display unit (from its base unit through SI).
double display_value(const num &n);
// The display unit's name as printed: "*" untyped, "UNITLESS" dimensionless;
// valid until the next call into the units table.
const char *display_unit(const num &n);

// A growing text on the library's allocator; ok turns false for good when memory runs short.
struct TextBuf {
    char *p = nullptr;
    std::size_t len = 0, cap = 0;
    bool ok = true;
    TextBuf() = default;
    TextBuf(const TextBuf &) = delete;
    TextBuf &operator=(const TextBuf &) = delete;
    ~TextBuf();
    void add(const char *s, std::size_t n);
    void add(const char *s);
    // The text (the caller frees it), or null when memory ran short.
    char *take();
};

// A STRING value's text, or null.
inline const char *text_of(const value_t &v) { return is_text_kind(v.value_type) ? v.u.text : nullptr; }

// Validates the operands and the result of the operator fn; false after the assertion.
bool operands_ok(const value_t *left, const value_t *right, const value_t *result, const char *fn, int line);
#define RTVALUE_OPERANDS(l, r, res, fn) ::zarn::rtvalue::operands_ok((l), (r), (res), (fn), __LINE__)

// v coerced to kind into the UNDEFINED out; true when out is of that kind
// (out may hold something else, such as the STRING of a list: release it).
inline bool coerce_to(const value_t &v, value_t *out, int kind, IValueContext *ctx) {
    value_coerce(&v, out, kind, ctx);
    return out->value_type == kind;
}

// The value of the global parameter name into the UNDEFINED out; nothing (and
// no message) when there is none or the name is not valid.
void global_parameter(const char *name, value_t *out);

// The i-th (0-based) item of a list, or null.
value_t *list_item(const gl_list_t *list, uint32_t i);

}  // namespace zarn::rtvalue

#endif
