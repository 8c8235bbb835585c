// The variable-group file: the object's sizes in one unformatted record, then
// the group list and the row starts one integer to a record, on a unit the
// caller has opened for unformatted sequential transfers.
#include "numutil/numutil_internal.h"
#include "numutil/numutil_messages.h"
#include "platform/checked.h"
#include "platform/funit.h"
#include "rtopipe/report.h"

namespace zarn::numutil {
namespace {

using rtopipe::report;

inline long long ll(int64_t v) { return static_cast<long long>(v); }

// Bytes of a record of n integers: the data between two 4-byte length markers.
constexpr int64_t record_bytes(int64_t n) { return 8 * n + 8; }

// The caller's unit number, when it is a unit open for these transfers.
bool open_unit(const char *fn, int64_t unit, int32_t *out) {
    if (!fits_int32(unit) || unit < 0 || zarn_funit_is_unformatted_seq(static_cast<int32_t>(unit)) == 0) {
        report(msg::kBadUnit, fn, ll(unit));
        return false;
    }
    *out = static_cast<int32_t>(unit);
    return true;
}

// n records of one integer each from / to the block at b.
int put_each(int32_t unit, const int64_t *b, int64_t n) {
    for (int64_t i = 0; i < n; ++i) {
        const int stat = zarn_funit_write_ints(unit, &b[i], 1);
        if (stat != 0) return stat;
    }
    return 0;
}
int get_each(int32_t unit, int64_t *b, int64_t n) {
    for (int64_t i = 0; i < n; ++i) {
        const int stat = zarn_funit_read_ints(unit, &b[i], 1);
        if (stat != 0) return stat;
    }
    return 0;
}

}  // namespace

void vgrp_save(int64_t unit, int64_t g) {
    const char *fn = "u3vgrp_save_to_file";
    Groups grp{};
    int32_t u = 0;
    if (!open_groups(fn, g, &grp) || !open_unit(fn, unit, &u)) return;
    const int64_t head[4] = {grp.ngroups, grp.ncol, grp.nrow, grp.nnz};
    int stat = zarn_funit_write_ints(u, head, 4);
    if (stat == 0 && grp.list != nullptr) stat = put_each(u, grp.list, 2 * grp.ncol);
    if (stat == 0 && grp.start != nullptr) stat = put_each(u, grp.start, grp.nrow + 1);
    if (stat != 0) report(msg::kIoFailed, fn, ll(unit), stat);
}

int64_t vgrp_read(int64_t unit) {
    const char *fn = "u3vgrp_read_fm_file";
    int32_t u = 0;
    if (!open_unit(fn, unit, &u)) return 0;
    int64_t head[4] = {0, 0, 0, 0};
    int stat = zarn_funit_read_ints(u, head, 4);
    if (stat != 0) {
        report(msg::kIoFailed, fn, ll(unit), stat);
        return 0;
    }
    const int64_t ngroups = head[0], ncol = head[1], nrow = head[2], nnz = head[3];
    if (ngroups < 0 || ncol < 0 || nrow < 0 || nnz < 0) return 0;
    // Sizes the file cannot hold are refused before anything is allocated.
    int64_t records = 0, bytes = 0;
    const bool fits = checked_mul<int64_t>(ncol, 2, &records) &&
                      checked_add<int64_t>(records, nrow, &records) &&
                      checked_add<int64_t>(records, 1, &records) &&
                      checked_mul<int64_t>(records, record_bytes(1), &bytes) &&
                      checked_add<int64_t>(bytes, record_bytes(4), &bytes);
    if (!fits || zarn_funit_size(u) < bytes) {
        report(msg::kShortFile, fn, ll(unit), ll(ncol), ll(nrow));
        return 0;
    }
    int64_t g = vgrp_create(ncol, nrow, nnz);
    if (g == 0) return 0;
    Groups grp{};
    (void)open_groups(fn, g, &grp);
    grp.x[kVgrpGroups] = grp.ngroups = ngroups;
    stat = get_each(u, grp.list, 2 * ncol);
    if (stat == 0) stat = get_each(u, grp.start, nrow + 1);
    if (stat != 0) report(msg::kIoFailed, fn, ll(unit), stat);
    if (stat != 0 || !groups_consistent(fn, grp)) {
        vgrp_destroy(&g);
        return 0;
    }
    return g;
}

}  // namespace zarn::numutil
