// One process-wide pattern for the re_comp / re_exec pair.
#include "regexp/regexp_internal.h"

namespace {
hs_regexp *g_kept = nullptr;
}  // namespace

using namespace zarn::regexp;

extern "C" ZARN_API const char *re_comp(const char *pattern) {
    clear_error();
    hs_regexp *prog = hs_regcomp(pattern);
    if (prog == nullptr) return hs_get_regerr();
    hs_regfree(g_kept);
    g_kept = prog;
    return nullptr;
}

extern "C" ZARN_API int re_exec(const char *subject) {
    clear_error();
    if (g_kept == nullptr) return -1;
    return hs_regexec(g_kept, subject);
}

extern "C" ZARN_API void re_free(void) {
    hs_regfree(g_kept);
    g_kept = nullptr;
}
