// libFuzzer target: compile, match, substitute and replace on arbitrary bytes.
#include <cstddef>
#include <cstdint>

#define ZARN_FUZZ_CHECK(cond)          \
    do {                               \
        if (!(cond)) __builtin_trap(); \
    } while (0)
#include "regexp_one_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    zarn::fuzz::regexp_one_input(data, size);
    return 0;
}
