// libFuzzer target: arbitrary bytes read as an X-file (see xfile_one_input.h).
#include <cstddef>
#include <cstdint>

#include "zarnutils/rtopipe.h"

#define ZARN_FUZZ_CHECK(cond)          \
    do {                               \
        if (!(cond)) __builtin_trap(); \
    } while (0)
#include "xfile_one_input.h"

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    rtoPipeIOInitialize(0);
    rtohis_set_hisDev(nowherePipe);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    zarn::fuzz::xfile_one_input(data, size);
    return 0;
}
