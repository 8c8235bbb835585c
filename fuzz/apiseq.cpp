// libFuzzer target: sequences of attribute-dictionary and variable-list calls
// read from arbitrary bytes (see apiseq_one_input.h).
#include <cstddef>
#include <cstdint>

#define ZARN_FUZZ_CHECK(cond)          \
    do {                               \
        if (!(cond)) __builtin_trap(); \
    } while (0)
#include "apiseq_one_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    zarn::fuzz::apiseq::quiet();
    zarn::fuzz::apiseq::one_input(data, size);
    return 0;
}
