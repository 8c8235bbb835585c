// Case changes, packed-text unpacking and the name rules of the command language.
#include <cctype>
#include <cstring>
#include <initializer_list>
#include <string>

#include "platform/checked.h"
#include "platform/packtext.h"
#include "platform/xalloc.h"
#include "platform/zassert.h"
#include "stred/stred_internal.h"
#include "zarnutils/stred.h"

namespace zarn::stred {

bool null_arg(const void *p, const char *text, int line) {
    if (p != nullptr) return false;
    zarn::assert_report(text, kSource, line);
    return true;
}

}  // namespace zarn::stred

namespace {

namespace msg = zarn::stred::msg;
using zarn::stred::null_arg;

inline bool is_upper(unsigned char c) { return c >= 'A' && c <= 'Z'; }
inline bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }

// Characters that may follow the first one of a model name.
bool model_name_char(unsigned char c) {
    if (c == ' ' || is_upper(c) || is_digit(c)) return true;
    return c != 0 && std::strchr("$()*+,-./:;<=>[]_{}", c) != nullptr;
}

}  // namespace

extern "C" ZARN_API void stred_upper_case(char *s) {
    if (null_arg(s, msg::kStredUpperCaseStrIsNULL, __LINE__)) return;
    for (; *s != '\0'; ++s) {
        if (*s >= 'a' && *s <= 'z') *s = static_cast<char>(*s - 'a' + 'A');
    }
}

extern "C" ZARN_API void stred_lower_case(char *s) {
    if (null_arg(s, msg::kStredLowerCaseStrIsNULL, __LINE__)) return;
    for (; *s != '\0'; ++s) {
        if (is_upper(static_cast<unsigned char>(*s))) *s = static_cast<char>(*s - 'A' + 'a');
    }
}

extern "C" ZARN_API void stred_upper_case_list(gl_list_t *list) {
    if (null_arg(list, msg::kStredUpperCaseListListIsNULL, __LINE__)) return;
    for (gl_node_t *n = list->head; n != nullptr; n = n->next) {
        if (n->data != nullptr) stred_upper_case(static_cast<char *>(n->data));
    }
}

namespace {

// Copies min(per * n, destLen - 1) characters packed `per` to each 8-byte
// element and terminates. The count is clamped before it is multiplied.
void unpack(char *dest, int64_t destLen, const void *words, int64_t n, int per) {
    if (destLen < 1) return;
    int64_t want = 0;
    if (n > 0 && (!zarn::checked_mul<int64_t>(n, per, &want) || want > destLen - 1)) want = destLen - 1;
    zarn::unpack_text(dest, words, static_cast<std::size_t>(want), static_cast<std::size_t>(per));
    dest[want] = '\0';
}

}  // namespace

extern "C" ZARN_API void stred_i4_to_string(char *dest, int64_t destLen, const int64_t *words, int64_t n) {
    if (null_arg(dest, msg::kStredI4ToStringDestIsNULL, __LINE__)) return;
    if (n > 0 && null_arg(words, msg::kStredI4ToStringWordsIsNULL, __LINE__)) {
        if (destLen > 0) dest[0] = '\0';
        return;
    }
    unpack(dest, destLen, words, n, 4);
}

extern "C" ZARN_API void stred_r8_to_string(char *dest, int64_t destLen, const double *words, int64_t n) {
    if (null_arg(dest, msg::kStredR8ToStringDestIsNULL, __LINE__)) return;
    if (n > 0 && null_arg(words, msg::kStredR8ToStringWordsIsNULL, __LINE__)) {
        if (destLen > 0) dest[0] = '\0';
        return;
    }
    unpack(dest, destLen, words, n, 8);
}

extern "C" ZARN_API void stred_remove_trailing_blanks(char *s) {
    if (null_arg(s, msg::kStredRemoveTrailingBlanksStrIsNULL, __LINE__)) return;
    std::size_t n = std::strlen(s);
    while (n > 0 && std::isspace(static_cast<unsigned char>(s[n - 1])) != 0) --n;
    s[n] = '\0';
}

extern "C" ZARN_API int stred_valid_name(const char *s) {
    if (null_arg(s, msg::kStredValidNameStrIsNULL, __LINE__)) return 0;
    if (!is_upper(static_cast<unsigned char>(s[0]))) return 0;
    for (const char *p = s + 1; *p != '\0'; ++p) {
        auto c = static_cast<unsigned char>(*p);
        if (!is_upper(c) && !is_digit(c) && c != '_' && c != '-') return 0;
    }
    return 1;
}

extern "C" ZARN_API const char *stred_is_glob(const char *s) {
    if (null_arg(s, msg::kStredIsGlobStrIsNULL, __LINE__)) return nullptr;
    return std::strpbrk(s, "*?");
}

extern "C" ZARN_API int stred_rtopt_name(const char *s) {
    if (null_arg(s, msg::kStredRtoptNameStrIsNULL, __LINE__)) return 0;
    auto first = static_cast<unsigned char>(s[0]);
    if (!is_upper(first) && !is_digit(first) && first != '$') return 0;
    for (const char *p = s + 1; *p != '\0'; ++p) {
        if (!model_name_char(static_cast<unsigned char>(*p))) return 0;
    }
    return 1;
}

extern "C" ZARN_API int stred_rtopt_object(const char *s) {
    if (null_arg(s, msg::kStredRtoptObjectStrIsNULL, __LINE__)) return 0;
    return std::strchr(s, '.') == nullptr && stred_rtopt_name(s) != 0 ? 1 : 0;
}

extern "C" ZARN_API int stred_special_id(const char *s) {
    if (null_arg(s, msg::kStredSpecialIdStrIsNULL, __LINE__)) return 0;
    if (is_digit(static_cast<unsigned char>(s[0]))) return 1;
    return std::strpbrk(s, "* ;/=,()[]{}<>") != nullptr ? 1 : 0;
}

extern "C" ZARN_API int stred_self_string(const char *s) {
    if (null_arg(s, msg::kStredSelfStringStrIsNULL, __LINE__)) return 0;
    if (std::strncmp(s, "SELF", 4) != 0) return 0;
    if (s[4] == '\0') return 1;
    if (s[4] != '.' || s[5] == '\0') return 0;
    return std::strchr(s + 5, '.') == nullptr ? 1 : 0;
}

extern "C" ZARN_API int stred_IsNumeric(const char *s) {
    if (null_arg(s, msg::kStredIsNumericStrIsNULL, __LINE__)) return 0;
    if (*s == '\0') return 0;
    for (; *s != '\0'; ++s) {
        if (!is_digit(static_cast<unsigned char>(*s))) return 0;
    }
    return 1;
}

extern "C" ZARN_API int stred_caseless_cmp(const char *a, const char *b) {
    if (null_arg(a, msg::kStredCaselessCmpFirstStrIsNULL, __LINE__)) return b == nullptr ? 0 : -1;
    if (null_arg(b, msg::kStredCaselessCmpSecondStrIsNULL, __LINE__)) return 1;
    for (;; ++a, ++b) {
        int ca = std::toupper(static_cast<unsigned char>(*a));
        int cb = std::toupper(static_cast<unsigned char>(*b));
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
}

extern "C" ZARN_API int stred_matching_name(const char *name, gl_list_t *patterns) {
    if (patterns == nullptr || patterns->head == nullptr) return 1;
    if (null_arg(name, msg::kStredMatchingNameNameIsNULL, __LINE__)) return 0;
    for (gl_node_t *n = patterns->head; n != nullptr; n = n->next) {
        auto *prog = static_cast<hs_regexp *>(n->data);
        if (prog != nullptr && hs_regexec(prog, name) != 0) return 1;
    }
    return 0;
}

extern "C" ZARN_API char *stred_glob_to_regexp(const char *glob) {
    if (null_arg(glob, msg::kStredGlobToRegexpGlobIsNULL, __LINE__)) return nullptr;
    // Each glob character takes at most two; "%^" and "$" and the terminator four.
    auto *out = static_cast<char *>(zarn::xmalloc(2 * std::strlen(glob) + 4));
    if (out == nullptr) return nullptr;
    char *w = out;
    *w++ = '%';
    *w++ = '^';
    for (const char *p = glob; *p != '\0'; ++p) {
        if (*p == '*') {
            *w++ = '.';
            *w++ = '*';
        } else if (*p == '?') {
            *w++ = '.';
        } else {
            if (std::strchr("$()+.[\\]^|", *p) != nullptr) *w++ = '\\';
            *w++ = *p;
        }
    }
    *w++ = '$';
    *w = '\0';
    return out;
}

extern "C" ZARN_API char *stred_replace_self(const char *name, const char *self) {
    if (null_arg(name, msg::kStredReplaceSelfNameIsNULL, __LINE__)) return nullptr;
    bool is_self = std::strncmp(name, "SELF", 4) == 0 && (name[4] == '\0' || name[4] == '.');
    if (self == nullptr || !is_self) {
        std::size_t n = std::strlen(name) + 1;
        auto *copy = static_cast<char *>(zarn::xmalloc(n));
        if (copy != nullptr) std::memcpy(copy, name, n);
        return copy;
    }
    std::size_t a = std::strlen(self);
    std::size_t b = std::strlen(name + 4);
    auto *out = static_cast<char *>(zarn::xmalloc(a + b + 1));
    if (out == nullptr) return nullptr;
    std::memcpy(out, self, a);
    std::memcpy(out + a, name + 4, b + 1);
    return out;
}

namespace {

// name itself, or a copy of it in own when it shares a byte with one of the
// output parts (each kMaxPart + 1 bytes long).
const char *outside_outputs(const char *name, std::string &own, std::initializer_list<const char *> outputs) {
    const std::size_t n = std::strlen(name) + 1;
    for (const char *out : outputs) {
        if (zarn::stred::overlaps(name, n, out, zarn::stred::kMaxPart + 1)) {
            own.assign(name, n - 1);
            return own.c_str();
        }
    }
    return name;
}

}  // namespace

extern "C" ZARN_API int dissect_block_name(const char *name, char *block, char *attribute) {
    if (null_arg(block, msg::kDissectBlockNameBlockIsNULL, __LINE__) ||
        null_arg(attribute, msg::kDissectBlockNameAttributeIsNULL, __LINE__)) {
        return 0;
    }
    if (null_arg(name, msg::kDissectBlockNameNameIsNULL, __LINE__)) {
        block[0] = attribute[0] = '\0';
        return 0;
    }
    std::string own_name;  // a name inside an output is read before the outputs are written
    name = outside_outputs(name, own_name, {block, attribute});
    block[0] = '\0';
    attribute[0] = '\0';
    const char *dot = std::strrchr(name, '.');
    if (dot == nullptr) return 0;
    std::size_t nb = static_cast<std::size_t>(dot - name);
    std::size_t na = std::strlen(dot + 1);
    if (nb < 1 || nb > zarn::stred::kMaxPart || na < 1 || na > zarn::stred::kMaxPart) return 0;
    std::memcpy(block, name, nb);
    block[nb] = '\0';
    std::memcpy(attribute, dot + 1, na + 1);
    return 1;
}

extern "C" ZARN_API int dissect_port_name(const char *name, char *block, char *port, char *attribute) {
    if (null_arg(block, msg::kDissectPortNameBlockIsNULL, __LINE__) ||
        null_arg(port, msg::kDissectPortNamePortIsNULL, __LINE__) ||
        null_arg(attribute, msg::kDissectPortNameAttributeIsNULL, __LINE__)) {
        return 0;
    }
    if (null_arg(name, msg::kDissectPortNameNameIsNULL, __LINE__)) {
        block[0] = port[0] = attribute[0] = '\0';
        return 0;
    }
    std::string own_name;
    name = outside_outputs(name, own_name, {block, port, attribute});
    block[0] = port[0] = attribute[0] = '\0';
    std::size_t len = std::strlen(name);
    // Find ".STR" that ends the name or is followed by "." and an attribute
    // without further ".".
    const char *str = nullptr;
    const char *attr = name + len;
    bool hasAttr = false;
    if (len >= 4 && std::strcmp(name + len - 4, ".STR") == 0) {
        str = name + len - 4;
    } else {
        const char *last = std::strrchr(name, '.');
        if (last != nullptr && last - name >= 4 && std::strncmp(last - 4, ".STR", 4) == 0) {
            str = last - 4;
            attr = last + 1;
            hasAttr = true;
        }
    }
    if (str == nullptr) return 0;
    // The port is the part before ".STR"; the block everything before that.
    const char *port_dot = nullptr;
    for (const char *p = str - 1; p >= name; --p) {
        if (*p == '.') {
            port_dot = p;
            break;
        }
    }
    if (port_dot == nullptr) return 0;
    std::size_t nb = static_cast<std::size_t>(port_dot - name);
    std::size_t np = static_cast<std::size_t>(str - port_dot - 1);
    std::size_t na = std::strlen(attr);
    constexpr std::size_t max = zarn::stred::kMaxPart;
    if (nb < 1 || nb > max || np < 1 || np > max || na > max) return 0;
    if (hasAttr && na == 0) return 0;
    std::memcpy(block, name, nb);
    block[nb] = '\0';
    std::memcpy(port, port_dot + 1, np);
    port[np] = '\0';
    std::memcpy(attribute, attr, na + 1);
    return 1;
}

extern "C" ZARN_API char *stred_bad_spec_name(const char *name, char *out) {
    if (null_arg(name, msg::kStredBadSpecNameNameIsNULL, __LINE__) ||
        null_arg(out, msg::kStredBadSpecNameOutIsNULL, __LINE__)) {
        return out;
    }
    const char *dot = std::strrchr(name, '.');
    std::size_t head = dot == nullptr ? 0 : static_cast<std::size_t>(dot - name) + 1;
    std::size_t tail = std::strlen(name + head);
    std::memmove(out + head + 4, name + head, tail + 1);  // out may be name itself
    std::memmove(out, name, head);
    std::memcpy(out + head, "AS__", 4);
    return out;
}
