// One input of the VARFILE reader's fuzz target, shared with the corpus
// replay test: the first byte picks the reader's set-up (level, attribute
// list, the file's own units, included variables), the rest is read as a
// VARFILE into a small list of typed and untyped variables. The includer
// defines ZARN_FUZZ_CHECK(cond) for what a failed check does.
#ifndef ZARN_FUZZ_VARFILE_ONE_INPUT_H
#define ZARN_FUZZ_VARFILE_ONE_INPUT_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "zarnutils/rtuom.h"
#include "zarnutils/varfile.hpp"
#include "zarnutils/varutl.h"

namespace zarn::fuzz {

inline const char *kVarfileNames[] = {"T1", "P.BLK1", "X", "A B", "F"};
inline constexpr int32_t kVarfileVars = 5;

inline rtvarlst_t *varfile_list() {
    rtvarlst_t *l = rtovarlst_create(kVarfileVars);
    rtovarlst_set_nvar(l, kVarfileVars);
    const int ptypes[] = {pt_lookup("TEMPERATURE"), pt_lookup("PRESSURE"), 0, 0, pt_lookup("TEMPERATURE")};
    for (int32_t k = 1; k <= kVarfileVars; ++k) {
        rtvarinfo_t r{};
        r.mask = {RTVARINFO_NAME | RTVARINFO_STATUS | RTVARINFO_VALUE, 0};
        varSetPhysicalType(&r.status, ptypes[k - 1] > 0 ? ptypes[k - 1] : 0);
        r.value = k;
        std::strcpy(r.name, kVarfileNames[k - 1]);
        rtovarlst_initialize_var(l, k, &r, 1);
    }
    return l;
}

inline void varfile_one_input(const uint8_t *data, size_t size) {
    static rtvarlst_t *list = varfile_list();
    if (size < 1) return;
    const uint8_t opt = data[0];
    rtopipe *q = create_queue_rtopipe();
    if (q == nullptr) return;
    rtowrite(q, reinterpret_cast<const char *>(data + 1), size - 1);
    {
        RTVarFileIn in(q, list);
        in.SetLevel(opt & 1 ? RTVarDatabase::WARNINGS : RTVarDatabase::SILENT);
        if (opt & 2) in.Reset();  // every attribute it can read, MODIFIED among them
        if (opt & 4) in.RemoveAttribute(RTVarDatabase::UNITS);  // numbers in the file's units
        if (opt & 8) in.ExcludeVariable(1 + opt / 16 % kVarfileVars);
        in.Go();
        if (opt & 128) in.Go();  // a second run reads nothing more
    }
    // The list keeps its shape and names whatever the file held.
    ZARN_FUZZ_CHECK(rtovarlst_inq_nvar(list) == kVarfileVars);
    for (int32_t k = 1; k <= kVarfileVars; ++k)
        ZARN_FUZZ_CHECK(rtovarlst__varname2index(list, kVarfileNames[k - 1]) == k);
}

}  // namespace zarn::fuzz

#endif
