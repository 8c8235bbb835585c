// Sibling header of the regexp module for string editors (stred): a search
// that resumes inside a subject that has been edited in place.
#ifndef ZARN_REGEXP_REGEXP_SEARCH_H
#define ZARN_REGEXP_REGEXP_SEARCH_H

#include "zarnutils/hsregexp.h"

namespace zarn::regexp {

// hs_regexec that begins its search at `from`, a position inside subject:
// the word anchors still see subject as the whole text; "^" matches at the
// start of subject unless notbol is set, and then nowhere.
int exec_from(hs_regexp *prog, const char *subject, const char *from, bool notbol);

}  // namespace zarn::regexp

#endif
