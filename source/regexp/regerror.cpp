// The engine's last error text, shared by the whole process.
#include <cstring>

#include "regexp/regexp_internal.h"

namespace zarn::regexp {
namespace {
char g_error[kErrorSize];
}  // namespace

void set_error(const char *text) {
    std::size_t n = std::strlen(text);
    if (n > kErrorSize - 1) n = kErrorSize - 1;
    std::memcpy(g_error, text, n);
    g_error[n] = '\0';
}

void clear_error() { g_error[0] = '\0'; }

}  // namespace zarn::regexp

extern "C" ZARN_API const char *hs_get_regerr(void) {
    using zarn::regexp::g_error;
    return g_error[0] != '\0' ? g_error : nullptr;
}
