// Unit listings on a caller's pipe.
#include "platform/checked.h"
#include "platform/zassert.h"
#include "rtuom/rtuom_internal.h"
#include "rtuom/rtuom_messages.h"

using namespace zarn::rtuom;
using zarn::index_within;

extern "C" {

ZARN_API void rtouom_print_header(rtopipe *pipe) {
    rtoprintf(pipe, "%-*s %-*s    %-*s %-*s\n", 32, "", 12, "Physical", 12, "", 12, "");
    rtoprintf(pipe, "%-*s %-*s P/U %-*s %-*s\n", 32, "Name", 12, "Type", 12, "Multiplier", 12, "Offset");
    rtoprintf(pipe, "%.32s %.12s %.3s %.12s %.12s\n",
              "================================", "============", "===", "============", "============");
}

ZARN_API void rtouom_print_uom(rtopipe *pipe, int ptype, int uom) {
    constexpr const char *fn = "rtouom_print_uom";
    if (!type_valid(ptype)) {
        report(fn, kTypeBounds, ptype);
        return;
    }
    const long long p = magnitude(ptype);
    if (!index_within(uom, rtouom_count[p])) {
        report(fn, kIndexBounds, uom);
        return;
    }
    const rtouom_entry &e = rtouom_table[p][uom - 1];
    ZARN_ASSERT(e.ptype == p, kPrintMismatch, kSource);
    const char kind = uom <= rtouom_npredefined[p] ? 'P' : 'U';
    if (ptype < 0) {
        rtoprintf(pipe, "$/%-*s %-*s  %c  %-*g %-*g\n", 30, e.name, 12, kTypeNames[p], kind, 12,
                  1.0 / e.multiplier, 12, 0.0);
    } else {
        rtoprintf(pipe, "%-*s %-*s  %c  %-*g %-*g\n", 32, e.name, 12, kTypeNames[p], kind, 12, e.multiplier,
                  12, e.offset);
    }
}

}  // extern "C"
