// I/O unit numbers: the table of units 60..99 handed out to X-files, the
// search for a unit that is not open, and shared sequential text files.
#include <climits>

#include "platform/checked.h"
#include "platform/funit.h"
#include "xfile/xfile_internal.h"

namespace zarn::xfile {

namespace {

struct UnitTable {
    bool used[kUnits] = {};
    int last = 0;  // slot (1..40) handed out last; the search starts after it
};
UnitTable &table() {
    static UnitTable t;
    return t;
}

bool in_table(int64_t unit) { return unit >= kFirstUnit && unit < kFirstUnit + kUnits; }

bool is_open(int64_t unit) { return fits_int32(unit) && zarn_funit_is_open(static_cast<int32_t>(unit)) != 0; }

}  // namespace

int64_t get_unit() {
    UnitTable &t = table();
    for (int tries = 0; tries < kUnits; ++tries) {
        const int slot = (t.last + tries) % kUnits + 1;
        if (t.used[slot - 1]) continue;
        // A unit the caller opened itself is kept out of the table's hands.
        t.used[slot - 1] = true;
        if (!is_open(kFirstUnit - 1 + slot)) {
            t.last = slot;
            return kFirstUnit - 1 + slot;
        }
    }
    return -1;
}

void free_unit(int64_t unit) {
    if (in_table(unit)) table().used[unit - kFirstUnit] = false;
}

bool handed_out(int64_t unit) { return in_table(unit) && table().used[unit - kFirstUnit]; }

void reserve_unit(int64_t unit) {
    if (in_table(unit)) table().used[unit - kFirstUnit] = true;
}

int64_t lowest_free(int64_t first, int64_t last) {
    // Fortran units are non-negative default integers.
    const int64_t lo = first < 0 ? 0 : first;
    const int64_t hi = last > INT32_MAX ? INT32_MAX : last;
    for (int64_t u = lo; u <= hi; ++u)
        if (!is_open(u)) return u;
    return -1;
}

int share_open(std::string_view name, int64_t *unit, bool fresh) {
    if (name.empty() || unit == nullptr) return RTXFILE_STATUS_BAD;
    const int32_t already = zarn_funit_unit_of_file(name.data(), name.size());
    if (already >= 0) {
        *unit = already;
        return 0;
    }
    const int64_t given = *unit;
    int64_t chosen;
    if (fresh && given >= 0) {
        if (!fits_int32(given)) return RTXFILE_STATUS_NO_UNIT;
        chosen = given;
        if (is_open(chosen)) zarn_funit_close(static_cast<int32_t>(chosen));
    } else {
        // |given| without overflow: the lowest int64 is far beyond the last unit.
        const int64_t from = given == INT64_MIN ? INT64_MAX : (given < 0 ? -given : given);
        chosen = lowest_free(from, 99);
        if (chosen < 0) {
            *unit = -1;
            return RTXFILE_STATUS_NO_UNIT;
        }
    }
    const auto u = static_cast<int32_t>(chosen);
    *unit = chosen;
    if (!fresh) {
        const int append = given > 0 && zarn_funit_exists(name.data(), name.size()) ? 1 : 0;
        return zarn_funit_open_shared(u, name.data(), name.size(), append);
    }
    // Open, delete, open again: the file starts empty.
    int st = zarn_funit_open_shared(u, name.data(), name.size(), 0);
    if (st != 0) return st;
    st = zarn_funit_close_delete(u);
    if (st != 0) return st;
    return zarn_funit_open_shared(u, name.data(), name.size(), 0);
}

}  // namespace zarn::xfile
