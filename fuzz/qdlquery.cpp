// libFuzzer target: arbitrary bytes parsed as a query text, with a callback
// that sometimes refuses a test (see qdlquery_one_input.h).
#include <cstddef>
#include <cstdint>

#define ZARN_FUZZ_CHECK(cond)          \
    do {                               \
        if (!(cond)) __builtin_trap(); \
    } while (0)
#include "qdlquery_one_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    zarn::fuzz::qdlquery::one_input(data, size);
    return 0;
}
