// Replacing every match of a regular expression inside a bounded buffer.
#include <cstring>

#include "platform/zassert.h"
#include "regexp/regprog.h"
#include "stred/stred_internal.h"
#include "zarnutils/stred.h"

using zarn::stred::kSource;
using zarn::stred::null_arg;

extern "C" ZARN_API int32_t stred_replace_regexp(char *s, int32_t maxLen, hs_regexp *prog,
                                                 const char *replacement) {
    if (null_arg(s, "stred_replace_regexp: str is NULL", __LINE__) ||
        null_arg(prog, "stred_replace_regexp: regexp is NULL", __LINE__) ||
        null_arg(replacement, "stred_replace_regexp: replacement is NULL", __LINE__)) {
        return 0;
    }
    if (maxLen < 0 || std::strlen(s) > static_cast<std::size_t>(maxLen)) {
        zarn::assert_report("stred_replace_regexp: str is longer than maxlength", kSource, __LINE__);
        return 0;
    }
    const std::size_t max = static_cast<std::size_t>(maxLen);
    const std::size_t rlen = std::strlen(replacement);
    std::size_t len = std::strlen(s);
    std::size_t pos = 0;                  // where the next search starts
    std::size_t after = SIZE_MAX;         // end of the last non-empty replacement
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
    if (null_arg(s, "stred_replace_regexps: str is NULL", __LINE__) ||
        null_arg(progs, "stred_replace_regexps: regexps is NULL", __LINE__) ||
        null_arg(replacements, "stred_replace_regexps: replacements is NULL", __LINE__)) {
        return 0;
    }
    if (gl_length(progs) != gl_length(replacements)) {
        zarn::assert_report("stred_replace_regexps: # of regexps != # of replacements", kSource, __LINE__);
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
