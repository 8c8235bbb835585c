// Shared helpers of the numerical-utility tests: blocks by plex index, status words, the problem mode,
// and a capture of the Fortran standard output unit.
#ifndef ZARN_TESTS_NUMUTIL_FIXTURE_H
#define ZARN_TESTS_NUMUTIL_FIXTURE_H

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "capture.h"
#include "zarnutils/numutil.h"
#include "zarnutils/rtcontext.h"
#include "zarnutils/zarnmalloc.h"

namespace zarn::test {

using V = std::vector<int64_t>;
using S = std::string;
constexpr int64_t kFree = 0, kConst = 1, kIndep = 2, kInitial = 7;  // variable specs
constexpr int64_t kExcluded = 0x1, kObjective = 0xA;                // equation words

inline int64_t int_block(const V &v) {
    const int64_t n = static_cast<int64_t>(v.size()), b = RTO_HUGEIMALLOC(&n);
    std::copy(v.begin(), v.end(), ZARN_ib0 + b);
    return b;
}
inline V ints(int64_t block, int64_t n) { return V(ZARN_ib0 + block, ZARN_ib0 + block + n); }
inline V perm_of(int64_t block) { return ints(block + 1, ZARN_ib0[block] - 3); }

// While alive, file descriptor 1 goes to a file; check results only after it is gone, or a failure report
// lands in it.
class StdoutCapture {
  public:
    StdoutCapture() {
        std::fflush(stdout);
        saved_ = dup(1);
        char name[] = "/tmp/zarn-stdout-XXXXXX";
        file_ = mkstemp(name);
        unlink(name);
        dup2(file_, 1);
    }
    ~StdoutCapture() {
        dup2(saved_, 1);
        close(saved_);
        close(file_);
    }
    S text() {
        S out(static_cast<size_t>(lseek(file_, 0, SEEK_END)), '\0');
        return out.substr(0, static_cast<size_t>(pread(file_, out.data(), out.size(), 0)));
    }

  private:
    int saved_, file_ = -1;
};

// Problem mode 0 (every variable class as documented for mode 0) for the life of the guard.
struct ModeGuard {
    int32_t saved = rtopt_mode;
    ModeGuard() { rtopt_mode = 0; }
    ~ModeGuard() { rtopt_mode = saved; }
};

}  // namespace zarn::test

#endif
