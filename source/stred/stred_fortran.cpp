// Fortran entry points of the string editors: fixed-length fields in and out.
#include "platform/fargs.h"
#include "platform/ftext.h"
#include "stred/stred_internal.h"
#include "zarnutils/stred.h"

using zarn::fortran::deref;

ZARN_FORTRAN(int64_t, STRED_REPLACE_REGEXPS_F, stred_replace_regexps_f_,
             (char *s, const char *patterns, const char *replacements, const int64_t *n, size_t sLen,
              size_t patternLen, size_t replacementLen)) {
    return zarn::stred::replace_in_field(s, sLen, patterns, patternLen, replacements, replacementLen,
                                         deref(n));
}

ZARN_FORTRAN(int64_t, STRED_REPLACE_REGEXP_F, stred_replace_regexp_f_,
             (char *s, const char *pattern, const char *replacement, size_t sLen, size_t patternLen,
              size_t replacementLen)) {
    return zarn::stred::replace_in_field(s, sLen, pattern, patternLen, replacement, replacementLen, 1);
}

ZARN_FORTRAN(int64_t, STRSTR_F, strstr_f_, (const char *s, const char *t, size_t sLen, size_t tLen)) {
    return zarn::ftext_view(s, sLen).find(zarn::ftext_view(t, tLen)) != std::string_view::npos ? 1 : 0;
}
