// Resumable regular-expression search over the names of a numbered collection.
#include <cstdlib>
#include <cstring>

#include "platform/zassert.h"
#include "platform/xalloc.h"
#include "regexp/regexp_internal.h"

// A cursor or limit is a pair (item, position); position 0 is the bare name
// when bare names are searched, the others are the suffixes in order.
struct rtregex {
    hs_regexp *prog;         // pattern (not owned unless destroyed with _all)
    rtregex_name_fn nameOf;  // name source
    void *collection;        // passed to nameOf
    int32_t count;           // items 1..count
    bool cursorSet;          // false: the search has ended
    int32_t cursorItem;      // last position tested (item 0: before the first)
    int32_t cursorPos;
    bool limitSet;  // true: items after limitItem are not searched
    int32_t limitItem;
    int32_t limitPos;
    const char *const *suffixes;  // NULL-terminated, or NULL
    int32_t positions;            // positions per item
    int bareNames;                // nonzero: position 0 is the bare name
    int32_t maxLength;            // characters the name buffer holds
    char *buffer;                 // maxLength + 1 bytes
};

namespace msg = zarn::regexp::msg;

namespace {

// Copies at most max characters of text to dest and terminates it.
void copy_cut(char *dest, const char *text, std::size_t max) {
    std::size_t n = std::strlen(text);
    if (n > max) n = max;
    std::memcpy(dest, text, n);
    dest[n] = '\0';
}

bool within_limit(const rtregex *r) {
    if (!r->limitSet) return true;
    return r->cursorItem < r->limitItem || (r->cursorItem == r->limitItem && r->cursorPos <= r->limitPos);
}

}  // namespace

extern "C" ZARN_API rtregex *rtregex_create(hs_regexp *prog, void *collection, int32_t count,
                                            rtregex_name_fn nameOf, int32_t maxLength, int bareNames,
                                            const char *const *suffixes) {
    if (prog == nullptr || nameOf == nullptr || count < 0) return nullptr;
    if (maxLength < 0) maxLength = 0;
    auto *r = static_cast<rtregex *>(zarn::xcalloc(1, sizeof(rtregex)));
    if (r == nullptr) return nullptr;
    r->buffer = static_cast<char *>(zarn::xcalloc(static_cast<std::size_t>(maxLength) + 1, 1));
    if (r->buffer == nullptr) {
        std::free(r);
        return nullptr;
    }
    int32_t nsuffix = 0;
    if (suffixes != nullptr) {
        while (suffixes[nsuffix] != nullptr) ++nsuffix;
    }
    r->prog = prog;
    r->nameOf = nameOf;
    r->collection = collection;
    r->count = count;
    r->suffixes = suffixes;
    r->bareNames = bareNames != 0;
    r->positions = nsuffix + (r->bareNames ? 1 : 0);
    r->maxLength = maxLength;
    r->cursorSet = true;
    r->cursorItem = 0;
    r->cursorPos = r->positions > 0 ? r->positions - 1 : 0;
    return r;
}

extern "C" ZARN_API int32_t rtregex_limit_search(rtregex *search, int32_t first, int32_t last) {
    if (search == nullptr) {
        zarn::assert_report(msg::kLimitNullSearch, msg::kSearchSource, __LINE__);
        return 4;
    }
    if (first < 1) first = 1;
    search->limitSet = true;
    search->limitItem = last;
    search->limitPos = search->positions > 0 ? search->positions - 1 : 0;
    search->cursorSet = true;
    search->cursorItem = first - 1;
    search->cursorPos = search->positions > 0 ? search->positions - 1 : 0;
    return 4;
}

extern "C" ZARN_API int32_t rtregex_match(rtregex *r, char *out, int32_t *withSuffix) {
    if (r == nullptr) {
        zarn::assert_report(msg::kMatchNullSearch, msg::kSearchSource, __LINE__);
        return 0;
    }
    if (out == nullptr || withSuffix == nullptr) {
        zarn::assert_report(msg::kMatchNullOutput, msg::kSearchSource, __LINE__);
        return 0;
    }
    *withSuffix = 0;
    if (!r->cursorSet) return 0;
    // Step past the position tested last.
    if (r->cursorPos + 1 < r->positions) {
        ++r->cursorPos;
    } else {
        if (r->cursorItem == INT32_MAX) return 0;
        ++r->cursorItem;
        r->cursorPos = 0;
    }
    const std::size_t max = static_cast<std::size_t>(r->maxLength);
    while (within_limit(r) && r->cursorItem <= r->count) {
        const char *name = r->nameOf(r->collection, r->cursorItem);
        if (name == nullptr) {
            r->cursorSet = false;
            return 0;
        }
        copy_cut(r->buffer, name, max);
        std::size_t stem = std::strlen(r->buffer);
        if (r->bareNames && r->cursorPos == 0) {
            if (hs_regexec(r->prog, r->buffer) != 0) {
                std::memcpy(out, r->buffer, stem + 1);
                return r->cursorItem;
            }
            ++r->cursorPos;
        }
        while (r->cursorPos < r->positions && within_limit(r)) {
            const char *suffix = r->suffixes[r->cursorPos - (r->bareNames ? 1 : 0)];
            // name + "." + suffix, cut to the buffer.
            std::size_t n = stem;
            if (n < max) r->buffer[n++] = '.';
            r->buffer[n] = '\0';
            copy_cut(r->buffer + n, suffix, max - n);
            int hit = hs_regexec(r->prog, r->buffer);
            if (hit != 0) {
                std::memcpy(out, r->buffer, std::strlen(r->buffer) + 1);
                *withSuffix = 1;
                return r->cursorItem;
            }
            r->buffer[stem] = '\0';
            ++r->cursorPos;
        }
        if (r->cursorItem == INT32_MAX) break;
        ++r->cursorItem;
        r->cursorPos = 0;
    }
    return 0;
}

extern "C" ZARN_API void rtregex_destroy(rtregex *search) {
    if (search == nullptr) return;
    std::memset(search->buffer, 0, static_cast<std::size_t>(search->maxLength) + 1);
    std::free(search->buffer);
    std::free(search);
}

extern "C" ZARN_API void rtregex_destroy_all(rtregex *search) {
    if (search == nullptr) return;
    hs_regfree(search->prog);
    search->prog = nullptr;
    rtregex_destroy(search);
}
