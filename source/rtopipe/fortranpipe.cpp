// Fortran unit pipe: each write becomes one formatted record on the unit.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/funit.h"
#include "platform/xalloc.h"
#include "rtopipe/rtopipe_internal.h"

namespace {

struct UnitData {
    int32_t unit;
    char text[32];  // the description, made once
};

int unit_write(rtopipe *p, const char *bytes, size_t length) {
    auto *d = static_cast<UnitData *>(p->data);
    // Everything from the first NUL on is blanked; short records stay on the stack.
    char local[1024];
    local[0] = ' ';
    char *copy = length <= sizeof local ? local : static_cast<char *>(zarn::xmalloc(length));
    if (copy == nullptr) return -1;
    if (length > 0) std::memcpy(copy, bytes, length);
    if (void *nul = length > 0 ? std::memchr(copy, '\0', length) : nullptr)
        std::memset(nul, ' ', length - static_cast<size_t>(static_cast<char *>(nul) - copy));
    int stat = zarn_funit_write_record(d->unit, copy, length);
    if (copy != local) std::free(copy);
    return stat == 0 ? 1 : -1;
}

int unit_flush(rtopipe *p) { return zarn_funit_flush(static_cast<UnitData *>(p->data)->unit) == 0 ? 1 : 0; }

const char *unit_describe(rtopipe *p) { return static_cast<UnitData *>(p->data)->text; }

void unit_destroy(rtopipe *p) {
    std::free(p->data);
    std::free(p);
}

}  // namespace

extern "C" rtopipe *rtoPipe_fortran_output(int32_t unit) {
    auto *d = static_cast<UnitData *>(zarn::xmalloc(sizeof(UnitData)));
    rtopipe *p = d ? zarn::rtopipe::make(unit_write, nullptr, unit_destroy, unit_flush, unit_describe, d,
                                         RTOPIPE_FLUSH_NEVER)
                   : nullptr;
    if (p == nullptr) {
        std::free(d);
        return zarn::rtopipe::no_memory("rtoPipe_fortran_output");
    }
    d->unit = unit;
    std::snprintf(d->text, sizeof d->text, "*FORTRAN unit %d*", unit);
    return p;
}
