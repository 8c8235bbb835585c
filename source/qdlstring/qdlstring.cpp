// The owned text and its two orders.
#include "zarnutils/qdlstring.hpp"

#include <array>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/xalloc.h"
#include "qdlstring/qdlstring_messages.h"
#include "rtopipe/report.h"

namespace {

constexpr int ascii_lower(int c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; }

// An upper-case letter stays and anything else is lower-cased, which leaves
// it as it is: the orders below are by byte value.
constexpr int normalise(int c) { return c >= 'A' && c <= 'Z' ? c : ascii_lower(c); }

// The collation table, one entry per byte, fixed when the library is loaded.
constexpr std::array<int, 256> make_table() {
    std::array<int, 256> t{};
    for (int c = 0; c < 256; ++c) t[static_cast<size_t>(c)] = normalise(c);
    return t;
}
constexpr std::array<int, 256> kCollation = make_table();

int collate(const char *p) { return kCollation[static_cast<unsigned char>(*p)]; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// A malloc'd copy of at most n characters of text (all when n is 0).
char *copy_of(const char *text, size_t n) {
    const size_t len = n == 0 ? std::strlen(text) : strnlen(text, n);
    if (len == SIZE_MAX) return nullptr;
    auto *copy = static_cast<char *>(zarn::xmalloc(len + 1));
    if (copy == nullptr) {
        zarn::rtopipe::report(zarn::qdlstring::msg::kNoMemory, len);
        return nullptr;
    }
    std::memcpy(copy, text, len);
    copy[len] = '\0';
    return copy;
}

int clamp_int(long long v) {
    if (v > INT_MAX) return INT_MAX;
    if (v < -INT_MAX) return -INT_MAX;
    return static_cast<int>(v);
}

// The difference of two digit runs as numbers: exact when both have at most
// 18 significant digits (then clamped to int), else INT_MAX with the sign of
// the comparison.
int run_difference(const char *a, size_t na, const char *b, size_t nb) {
    while (na > 0 && *a == '0') ++a, --na;
    while (nb > 0 && *b == '0') ++b, --nb;
    if (na <= 18 && nb <= 18) {
        long long va = 0, vb = 0;
        for (size_t k = 0; k < na; ++k) va = va * 10 + (a[k] - '0');
        for (size_t k = 0; k < nb; ++k) vb = vb * 10 + (b[k] - '0');
        return clamp_int(va - vb);
    }
    if (na != nb) return na > nb ? INT_MAX : -INT_MAX;
    const int d = std::memcmp(a, b, na);
    return d == 0 ? 0 : (d > 0 ? INT_MAX : -INT_MAX);
}

// A digit of one text against the character c of the other: the digit goes
// after the end of a text, a quote, or a minus sign that starts a number.
bool digit_goes_after(const char *c) {
    return *c == '\0' || *c == '"' || *c == '\'' || (*c == '-' && is_digit(c[1]));
}

// Shared start of both comparisons: missing texts and the same pointer.
bool decided_by_pointers(const char *a, const char *b, int *result) {
    if (a == b) return *result = 0, true;
    if (a == nullptr) return *result = -1, true;
    if (b == nullptr) return *result = 1, true;
    return false;
}

}  // namespace

QDLString::QDLString() : text_(nullptr) {}
QDLString::QDLString(const char *text) : text_(text != nullptr ? copy_of(text, 0) : nullptr) {}
QDLString::QDLString(const QDLString &other) : QDLString(other.text_) {}
QDLString::~QDLString() { std::free(text_); }

QDLString &QDLString::operator=(const char *text) {
    Copy(text, 0);
    return *this;
}

QDLString &QDLString::operator=(const QDLString &other) {
    Copy(other.text_, 0);
    return *this;
}

bool QDLString::CopyContentsFrom(const QDLString &other) { return Copy(other.text_, 0); }

bool QDLString::Copy(const char *text, size_t n) {
    // The new copy is made before the old text goes: text may be this one's own.
    char *copy = nullptr;
    if (text != nullptr) {
        copy = copy_of(text, n);
        if (copy == nullptr) return false;
    }
    std::free(text_);
    text_ = copy;
    return true;
}

void QDLString::Clear() {
    std::free(text_);
    text_ = nullptr;
}

void QDLString::Attach(QDLString &other) {
    if (&other == this) return;
    std::free(text_);
    text_ = std::exchange(other.text_, nullptr);
}

void QDLString::Attach(char *text) {
    if (text == text_) return;
    std::free(text_);
    text_ = text;
}

char *QDLString::Detach() { return std::exchange(text_, nullptr); }

void QDLString::Detach(QDLString &other) {
    if (&other == this) return;
    std::free(other.text_);
    other.text_ = std::exchange(text_, nullptr);
}

void QDLString::swap(QDLString &other) { std::swap(text_, other.text_); }

size_t QDLString::Length() const { return text_ != nullptr ? std::strlen(text_) : 0; }

bool QDLString::operator==(const QDLString &other) const { return s_AlphabeticDiff(text_, other.text_) == 0; }
bool QDLString::operator==(const char *text) const { return s_AlphabeticDiff(text_, text) == 0; }
bool QDLString::operator<(const QDLString &other) const { return s_AlphabeticDiff(text_, other.text_) < 0; }
bool QDLString::operator<(const char *text) const { return s_AlphabeticDiff(text_, text) < 0; }

int QDLString::Compare(const char *text, bool natural) const {
    return natural ? s_AlphaNumericDiff(text_, text) : s_AlphabeticDiff(text_, text);
}

char *QDLString::s_StringCopy(const char *text, size_t n) {
    return text != nullptr ? copy_of(text, n) : nullptr;
}

char *QDLString::s_NewString(size_t n, char ch) {
    if (n == SIZE_MAX) {
        zarn::rtopipe::report(zarn::qdlstring::msg::kNoMemory, n);
        return nullptr;
    }
    auto *text = static_cast<char *>(zarn::xmalloc(n + 1));
    if (text == nullptr) {
        zarn::rtopipe::report(zarn::qdlstring::msg::kNoMemory, n);
        return nullptr;
    }
    std::memset(text, ch, n);
    text[n] = '\0';
    return text;
}

int QDLString::s_AlphabeticDiff(const char *a, const char *b, size_t *position) {
    if (position != nullptr) *position = 0;
    int result;
    if (decided_by_pointers(a, b, &result)) return result;
    size_t i = 0;
    for (;; ++i) {
        const int d = collate(a + i) - collate(b + i);
        if (d != 0 || a[i] == '\0') {
            result = d;
            break;
        }
    }
    if (position != nullptr) *position = i;
    return result;
}

int QDLString::s_AlphaNumericDiff(const char *a, const char *b, size_t *position) {
    if (position != nullptr) *position = 0;
    int result;
    if (decided_by_pointers(a, b, &result)) return result;
    const char *p = a, *q = b;
    for (;;) {
        if (*p == '\0') {
            result = -static_cast<unsigned char>(*q);
            break;
        }
        const bool dp = is_digit(*p), dq = is_digit(*q);
        if (!dp && !dq) {
            result = collate(p) - collate(q);
            if (result != 0) break;
            ++p, ++q;
            continue;
        }
        if (dp && dq) {
            size_t na = 0, nb = 0;
            while (is_digit(p[na])) ++na;
            while (is_digit(q[nb])) ++nb;
            const bool negative = p > a && p[-1] == '-';
            result = run_difference(p, na, q, nb);
            if (negative) result = -result;
            if (result == 0) result = clamp_int(static_cast<long long>(na) - static_cast<long long>(nb));
            if (result != 0) break;
            p += na, q += nb;
            continue;
        }
        if (dp) {
            result = digit_goes_after(q) ? 1 : -1;
        } else {
            result = digit_goes_after(p) ? -1 : 1;
        }
        break;
    }
    if (position != nullptr) *position = static_cast<size_t>(p - a);
    return result;
}

int QDLString::s_NormaliseChar(int c) { return normalise(c); }
