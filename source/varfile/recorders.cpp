// The pieces every recorder uses: names, texts and units looked up the
// same way whether a record is assigned or compared.
#include "varfile/recorders.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/xalloc.h"
#include "varfile/varfile_messages.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/varutl.h"

namespace zarn::varfile {

const char *name_of(rtvarlst_t *list, int i) {
    const char *name = rtovarlst_lookup_var_name(list, i);
    return name != nullptr ? name : "";
}

int ptype_of(rtvarlst_t *list, int i) { return varInqPhysicalType(rtovarlst_inq_var_status(list, i)); }

void locate(int level, const char *unit, int *ptype, int *uom) {
    if (level >= 1)
        rtouom_locate(unit, ptype, uom);
    else
        rtouom_locate2(unit, ptype, uom);
}

int locate_in(int level, const char *unit, int ptype) {
    int uom = 0;
    if (level >= 1)
        rtouom_ptype_locate(unit, ptype, &uom);
    else
        rtouom_ptype_locate2(unit, ptype, &uom);
    return uom;
}

bool known_unit(int level, const char *unit) {
    int ptype = 0, uom = 0;
    locate(level, unit, &ptype, &uom);
    return uom != 0;
}

const char *upper(char *&buffer, size_t &capacity, const char *text, size_t n, const char *who) {
    if (n >= capacity) {
        const size_t want = n < kNameMax ? kNameMax + 1 : n + 1;
        char *grown = static_cast<char *>(zarn::xrealloc(buffer, want));
        if (grown == nullptr) {
            zarn::rtopipe::report(msg::kNoMemory, who);
            return nullptr;
        }
        buffer = grown;
        capacity = want;
    }
    char *out = buffer;  // a local, so that the stores need not reload it
    if (n < 8) {
        for (size_t k = 0; k < n; ++k) {
            const char c = text[k];
            out[k] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        }
    } else {
        // Eight bytes at a time, the last eight overlapping: a byte's top bit
        // marks it a lower-case letter when its low seven bits reach 'a' and
        // not past 'z' and it is ASCII; the mark shifted down is the bit that
        // makes it upper case.
        constexpr uint64_t kOnes = 0x0101010101010101u, kTops = 0x8080808080808080u;
        for (size_t k = 0;; k += 8) {
            if (k > n - 8) k = n - 8;
            uint64_t w;
            std::memcpy(&w, text + k, 8);
            const uint64_t low = w & ~kTops;
            const uint64_t lower = (low + (0x80 - 'a') * kOnes) & ~(low + (0x7f - 'z') * kOnes) & ~w & kTops;
            w ^= lower >> 2;
            std::memcpy(out + k, &w, 8);
            if (k == n - 8) break;
        }
    }
    out[n] = '\0';
    return out;
}

bool in_list(const gl_list_t *attributes, int a) {
    if (attributes == nullptr) return false;
    for (const gl_node_t *node = attributes->head; node != nullptr; node = node->next)
        if (reinterpret_cast<intptr_t>(node->data) == a) return true;
    return false;
}

int find_variable(rtvarlst_t *list, const VarFilter *filter, const char *name, char *&buffer,
                  size_t &capacity, const char *who) {
    if (name == nullptr || list == nullptr) return 0;
    const size_t n = strnlen(name, kNameMax + 1);
    if (n > kNameMax) return 0;
    const char *key = upper(buffer, capacity, name, n, who);
    const int i = key != nullptr ? rtovarlst__varname2index(list, key) : 0;
    return i > 0 && (filter == nullptr || filter->IncludeVar(i)) ? i : 0;
}

bool record_unit(int level, rtvarlst_t *list, int i, const char *unit, char *&buffer, size_t &capacity,
                 const char *who, int *uom) {
    const int t = ptype_of(list, i);
    const char *upper_unit = upper(buffer, capacity, unit, std::strlen(unit), who);
    if (upper_unit == nullptr) return false;
    *uom = t != 0 ? locate_in(level, upper_unit, t) : 0;
    if (*uom == 0 && level >= 1) {
        if (known_unit(level, upper_unit))
            zarn::rtopipe::report(msg::kUnitOtherPtype, upper_unit, name_of(list, i));
        else
            zarn::rtopipe::report(msg::kUnitUnknown, unit, name_of(list, i));
    }
    return true;
}

}  // namespace zarn::varfile
