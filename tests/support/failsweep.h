// Runs an operation once for each of its allocations, with that one failing.
#ifndef ZARN_TESTS_SUPPORT_FAILSWEEP_H
#define ZARN_TESTS_SUPPORT_FAILSWEEP_H

#include <functional>

#include "platform/xalloc.h"
#include "zarnutils/except.h"
#include "zarnutils/zarnmalloc.h"

namespace zarn::test {

// op() returns true when it succeeded. For n = 1, 2, ... the n-th allocation
// fails and failed(n, ok) checks the outcome, until op no longer reaches its
// n-th allocation; then op must have succeeded. Returns the allocations seen.
inline long fail_each_allocation(const std::function<bool()> &op,
                                 const std::function<void(long, bool)> &failed) {
    for (long n = 1;; ++n) {
        zarn::failalloc_set(n);
        const bool ok = op();
        if (zarn::failalloc_set(0) < n) {
            if (!ok) return -n;  // a failure with no allocation failing: the caller's EXPECT sees it
            return n - 1;
        }
        failed(n, ok);
    }
}

// Runs op with the n-th allocation failing (plex blocks counted too); true
// when the plex allocator's raise reached this handler. op must leave nothing
// behind that needs destroying when the raise passes through it.
inline bool raised_when_failing(long n, void (*op)()) {
    volatile bool raised = false;
    zarn::failalloc_set(n, false, true);
    ZARN_TRY
    op();
    ZARN_EXCEPT(rtmalloc_allocate_failed)
    raised = true;
    ZARN_END_TRY;
    zarn::failalloc_set(0);
    return raised;
}

}  // namespace zarn::test

#endif
