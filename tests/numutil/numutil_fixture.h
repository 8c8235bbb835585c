// Shared helpers of the numerical-utility tests: blocks by plex index, status
// words, and a capture of the Fortran standard output unit.
#ifndef ZARN_TESTS_NUMUTIL_FIXTURE_H
#define ZARN_TESTS_NUMUTIL_FIXTURE_H

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "zarnutils/numutil.h"
#include "zarnutils/rtcontext.h"
#include "zarnutils/zarnmalloc.h"

namespace zarn::test {

// Status words.
constexpr int64_t kFree = 0;          // VAR_CALC
constexpr int64_t kConst = 1;         // VAR_CONST: fixed in every mode
constexpr int64_t kIndep = 2;         // fixed in modes 0 and 1 only
constexpr int64_t kInitial = 7;       // fixed for varIsFixed in every mode
constexpr int64_t kExcluded = 0x1;    // equation not included
constexpr int64_t kObjective = 0xA;   // math type 5

// A new integer block holding v; the caller frees it.
inline int64_t int_block(const std::vector<int64_t> &v) {
    const int64_t n = static_cast<int64_t>(v.size());
    const int64_t b = RTO_HUGEIMALLOC(&n);
    for (size_t i = 0; i < v.size(); ++i) ZARN_ib0[b + static_cast<int64_t>(i)] = v[i];
    return b;
}

inline std::vector<int64_t> ints(int64_t block, int64_t n) {
    return std::vector<int64_t>(ZARN_ib0 + block, ZARN_ib0 + block + n);
}
inline std::vector<double> reals(int64_t block, int64_t n) {
    return std::vector<double>(ZARN_b0 + block, ZARN_b0 + block + n);
}

// p(1..n) of a permutation block.
inline std::vector<int64_t> perm_of(int64_t block) {
    const int64_t n = ZARN_ib0[block] - 3;
    return ints(block + 1, n);
}

// While alive, file descriptor 1 (the Fortran standard output unit) goes to a file.
class StdoutCapture {
public:
    StdoutCapture() {
        std::fflush(stdout);
        char name[] = "/tmp/zarn-stdout-XXXXXX";
        file_ = mkstemp(name);
        unlink(name);
        saved_ = dup(1);
        dup2(file_, 1);
    }
    ~StdoutCapture() {
        std::fflush(stdout);
        dup2(saved_, 1);
        close(saved_);
        close(file_);
    }
    StdoutCapture(const StdoutCapture &) = delete;
    StdoutCapture &operator=(const StdoutCapture &) = delete;
    std::string text() {
        std::fflush(stdout);
        std::string out;
        char buf[4096];
        ssize_t got;
        while ((got = pread(file_, buf, sizeof buf, offset_)) > 0) {
            out.append(buf, static_cast<size_t>(got));
            offset_ += got;
        }
        return out;
    }

private:
    int file_ = -1;
    int saved_ = -1;
    off_t offset_ = 0;
};

// Sets the problem mode for the life of the object.
class ModeGuard {
public:
    explicit ModeGuard(int32_t mode) : saved_(rtopt_mode) { rtopt_mode = mode; }
    ~ModeGuard() { rtopt_mode = saved_; }

private:
    int32_t saved_;
};

}  // namespace zarn::test

#endif
