// libFuzzer target: sequences of Jacobian, Hessian, equation-list and
// tag-list calls read from arbitrary bytes (see jacseq_one_input.h).
#include <cstddef>
#include <cstdint>

#include <cstdio>

// A failed check names itself before the trap, so a crash report says what broke.
#define ZARN_FUZZ_CHECK(cond)                                                               \
    do {                                                                                    \
        if (!(cond)) {                                                                      \
            std::fprintf(stderr, "check failed: %s at %s:%d\n", #cond, __FILE__, __LINE__); \
            __builtin_trap();                                                               \
        }                                                                                   \
    } while (0)
#include "jacseq_one_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    zarn::fuzz::apiseq::quiet();
    zarn::fuzz::jacseq::one_input(data, size);
    return 0;
}
