// Substitution of the last match into a template text.
#include <cstring>

#include "regexp/regexp_internal.h"

using namespace zarn::regexp;

extern "C" ZARN_API void hs_regsub(const hs_regexp *prog, const char *source, char *dest) {
    if (prog == nullptr || source == nullptr || dest == nullptr) {
        set_error(msg::kNullParmToRegsub);
        return;
    }
    if (program_of(prog)[0] != HS_REGEXP_MAGIC) {
        set_error(msg::kDamagedRegexp);
        return;
    }
    char *out = dest;
    for (const char *in = source; *in != '\0';) {
        char c = *in++;
        int group = -1;
        if (c == '&') {
            group = 0;
        } else if (c == '\\' && *in >= '0' && *in <= '9') {
            group = *in++ - '0';
        } else if (c == '\\' && (*in == '\\' || *in == '&')) {
            c = *in++;
        }
        if (group < 0) {
            *out++ = c;
            continue;
        }
        const char *from = prog->startp[group];
        const char *to = prog->endp[group];
        if (from == nullptr || to == nullptr || to <= from) continue;
        std::size_t len = static_cast<std::size_t>(to - from);
        if (std::memchr(from, '\0', len) != nullptr) {
            // The subject changed since the match: its text is no longer whole.
            set_error(msg::kDamagedMatch);
            *out = '\0';
            return;
        }
        std::memcpy(out, from, len);
        out += len;
    }
    *out = '\0';
}
