// Assertion line printed by internal consistency checks.
#include "platform/zassert.h"

#include <cstdio>

namespace zarn {

void assert_report(const char *text, const char *source, int line) {
    std::fprintf(stderr, "Assertion '%s' failed in %s:%d\n", text ? text : "", source ? source : "", line);
    std::fflush(stderr);
}

}  // namespace zarn
