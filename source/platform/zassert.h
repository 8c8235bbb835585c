// Internal consistency checks that report and carry on.
#ifndef ZARN_PLATFORM_ZASSERT_H
#define ZARN_PLATFORM_ZASSERT_H

namespace zarn {

// Prints "Assertion '<text>' failed in <source>:<line>" on standard error.
void assert_report(const char *text, const char *source, int line);

}  // namespace zarn

// Checks cond; on failure reports `text` under the documented source name.
#define ZARN_ASSERT(cond, text, source)                                 \
    do {                                                                \
        if (!(cond)) ::zarn::assert_report((text), (source), __LINE__); \
    } while (0)

#endif
