// Target texts: the split of "name.ATTRIBUTE" at an attribute keyword of the
// catalogue, and the variable a target names.
#include <cstring>

#include "varassign/varassign_internal.h"
#include "zarnutils/varassign.h"

namespace zarn::varassign {

int keyword_row(const char *word, size_t n) {
    const int32_t code = ac::code_of(ac::kAssignWords, word, n, -1);
    return code >= 0 ? ac::kAssignRows[code] : ac::kNoRow;
}

void split_target(const char *text, Target *t) {
    const size_t whole = std::strlen(text);
    size_t len = whole;
    t->row = ac::kNoRow;
    if (const char *dot = std::strrchr(text, '.')) {
        const size_t at = static_cast<size_t>(dot - text);
        const int row = keyword_row(dot + 1, whole - at - 1);
        if (row != ac::kNoRow) {
            t->row = row;
            len = at;
        }
    }
    t->too_long = len > static_cast<size_t>(kNameMax);
    if (t->too_long) len = 0;
    std::memcpy(t->name, text, len);
    t->name[len] = '\0';
}

}  // namespace zarn::varassign

using namespace zarn::varassign;

extern "C" int32_t rtovarlst_variable_object(rtvarlst_t *list, const char *text) {
    if (list == nullptr || text == nullptr || rtovarlst_inq_nvar(list) == 0) return 0;
    Target t;
    split_target(text, &t);
    if (t.too_long) return 0;
    return rtovarlst__varname2index(list, t.name);
}
