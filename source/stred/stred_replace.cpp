// Replacing every match of a regular expression inside a bounded buffer.
#include <cstdlib>
#include <cstring>

#include "platform/checked.h"
#include "platform/ftext.h"
#include "platform/xalloc.h"
#include "platform/zassert.h"
#include "regexp/regexp_search.h"
#include "stred/stred_internal.h"
#include "zarnutils/stred.h"

namespace msg = zarn::stred::msg;
using zarn::stred::kSource;
using zarn::stred::null_arg;

extern "C" ZARN_API int32_t stred_replace_regexp(char *s, int32_t maxLen, hs_regexp *prog,
                                                 const char *replacement) {
    if (null_arg(s, msg::kStredReplaceRegexpStrIsNULL, __LINE__) ||
        null_arg(prog, msg::kStredReplaceRegexpRegexpIsNULL, __LINE__) ||
        null_arg(replacement, msg::kStredReplaceRegexpReplacementIsNULL, __LINE__)) {
        return 0;
    }
    if (maxLen < 0 || std::strlen(s) > static_cast<std::size_t>(maxLen)) {
        zarn::assert_report(msg::kStredReplaceRegexpStrIsLongerThanMaxlength, kSource, __LINE__);
        return 0;
    }
    const std::size_t max = static_cast<std::size_t>(maxLen);
    const std::size_t rlen = std::strlen(replacement);
    std::size_t len = std::strlen(s);
    std::size_t pos = 0;           // where the next search starts
    std::size_t after = SIZE_MAX;  // end of the last non-empty replacement
    int32_t count = 0;
    // Once the text has been edited its start is no longer the one "^" means.
    while (pos <= len && zarn::regexp::exec_from(prog, s, s + pos, count > 0) != 0) {
        std::size_t from = static_cast<std::size_t>(prog->startp[0] - s);
        std::size_t to = static_cast<std::size_t>(prog->endp[0] - s);
        if (from == to && from == after) {
            // No empty match right behind a replaced one: step over a character.
            pos = from + 1;
            after = SIZE_MAX;
            continue;
        }
        // Fit prefix + replacement + tail into max: the tail gives way first.
        std::size_t keep_rep = rlen;
        std::size_t keep_tail = len - to;
        if (from + keep_rep > max) {
            keep_rep = max - from;
            keep_tail = 0;
        } else if (from + keep_rep + keep_tail > max) {
            keep_tail = max - from - keep_rep;
        }
        std::memmove(s + from + keep_rep, s + to, keep_tail);
        std::memcpy(s + from, replacement, keep_rep);
        len = from + keep_rep + keep_tail;
        s[len] = '\0';
        ++count;
        if (keep_rep < rlen) break;  // the buffer is full
        if (from == to) {
            pos = from + keep_rep + 1;
            after = SIZE_MAX;
        } else {
            pos = from + keep_rep;
            after = pos;
        }
    }
    return count;
}

extern "C" ZARN_API int32_t stred_replace_regexps(char *s, int32_t maxLen, gl_list_t *progs,
                                                  gl_list_t *replacements) {
    if (null_arg(s, msg::kStredReplaceRegexpsStrIsNULL, __LINE__) ||
        null_arg(progs, msg::kStredReplaceRegexpsRegexpsIsNULL, __LINE__) ||
        null_arg(replacements, msg::kStredReplaceRegexpsReplacementsIsNULL, __LINE__)) {
        return 0;
    }
    if (gl_length(progs) != gl_length(replacements)) {
        zarn::assert_report(msg::kStredReplaceRegexpsNOfRegexpsNeNOfReplacements, kSource, __LINE__);
        return 0;
    }
    int32_t total = 0;
    gl_node_t *r = replacements->head;
    for (gl_node_t *p = progs->head; p != nullptr && r != nullptr; p = p->next, r = r->next) {
        total += stred_replace_regexp(s, maxLen, static_cast<hs_regexp *>(p->data),
                                      static_cast<const char *>(r->data));
    }
    return total;
}

namespace zarn::stred {

int64_t replace_in_field(char *s, std::size_t sLen, const char *patterns, std::size_t patternLen,
                         const char *replacements, std::size_t replacementLen, int64_t n) {
    if (s == nullptr || (n > 0 && (patterns == nullptr || replacements == nullptr))) return 0;
    // n fields of each kind must be addressable: a count whose fields would
    // span more than memory holds is refused before any is read.
    std::size_t span = 0;
    if (n > 0 && (!byte_count(n, patternLen, &span) || !byte_count(n, replacementLen, &span))) return 0;
    if (ftext_absent(s, sLen)) return 0;  // an absent field is left as it is
    // The field's text with room for the whole field, so replacements may grow it.
    const std::size_t room = sLen < INT32_MAX ? sLen : INT32_MAX;
    auto *work = static_cast<char *>(xmalloc(room + 1));
    if (work == nullptr) return 0;
    const std::string_view text = ftext_view(s, sLen);
    const std::size_t len = text.size() < room ? text.size() : room;
    if (len > 0) std::memcpy(work, text.data(), len);
    work[len] = '\0';
    int64_t total = 0;
    for (int64_t i = 0; i < n; ++i) {
        const auto at = static_cast<std::size_t>(i);
        FText pattern(patterns + at * patternLen, patternLen);
        FText replacement(replacements + at * replacementLen, replacementLen);
        hs_regexp *prog = hs_regcomp(pattern.c_str());
        if (prog == nullptr) {
            std::free(work);
            return -1;
        }
        total += stred_replace_regexp(work, static_cast<int32_t>(room), prog, replacement.c_str());
        hs_regfree(prog);
    }
    ftext_store(s, sLen, work);
    std::free(work);
    return total;
}

}  // namespace zarn::stred
