// Variable groups for finite-difference Jacobians: columns that share no row
// are perturbed together. The object, the grouping, the counting sort under
// it and the report of the groups.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "numutil/numutil_internal.h"
#include "numutil/numutil_messages.h"
#include "platform/checked.h"
#include "platform/xalloc.h"
#include "rtopipe/report.h"
#include "zarnutils/varutl.h"
#include "zarnutils/zarnmalloc.h"

namespace zarn::numutil {
namespace {

using rtopipe::report;

inline long long ll(int64_t v) { return static_cast<long long>(v); }

// v right-aligned in `width` columns at out, NUL-terminated; a number wider
// than that fills the columns with '*'. Returns width.
int put_field(char *out, int width, int64_t v) {
    char digits[24];
    const int n = std::snprintf(digits, sizeof digits, "%*lld", width, ll(v));
    if (n > width)
        std::memset(out, '*', static_cast<std::size_t>(width));
    else
        std::memcpy(out, digits, static_cast<std::size_t>(width));
    out[width] = '\0';
    return width;
}

// The block at plex index p, or null for 0.
inline int64_t *block_or_null(int64_t p) { return p != 0 ? ints_at(p) : nullptr; }

// i - offset as a 1-based index within 1..size, or 0 when it is outside.
inline int64_t shifted(int64_t i, int64_t offset, int64_t size) {
    int64_t r = 0;
    if (__builtin_sub_overflow(i, offset, &r) || !index_within(r, size)) return 0;
    return r;
}

// Working arrays of the grouping, from the C heap (never a raise).
struct Work {
    int64_t *colstart = nullptr;  // ncol + 1: first entry of each column in colrows, then the count
    int64_t *colrows = nullptr;   // nnz: rows of the unmarked nonzeros, by column
    int64_t *group = nullptr;     // ncol + 1: -1 not grouped, 0 candidate, else its group
    int64_t *flag = nullptr;      // ncol + 1: the column that last flagged a group; later the list offsets
    bool get(int64_t ncol, int64_t nnz) {
        const auto bytes = [](int64_t n) { return static_cast<std::size_t>(n) * sizeof(int64_t); };
        colstart = static_cast<int64_t *>(xmalloc(bytes(ncol + 1)));
        colrows = static_cast<int64_t *>(xmalloc(bytes(nnz > 0 ? nnz : 1)));
        group = static_cast<int64_t *>(xmalloc(bytes(ncol + 1)));
        flag = static_cast<int64_t *>(xcalloc(static_cast<std::size_t>(ncol + 1), sizeof(int64_t)));
        return colstart != nullptr && colrows != nullptr && group != nullptr && flag != nullptr;
    }
    ~Work() {
        std::free(colstart);
        std::free(colrows);
        std::free(group);
        std::free(flag);
    }
};

// Sizes the work and the object's blocks can hold without overflow.
bool sizes_fit(int64_t ncol, int64_t nrow, int64_t nnz) {
    std::size_t bytes = 0;
    return ncol < INT64_MAX / 2 - 2 && nrow < INT64_MAX - 2 && byte_count(2 * ncol + 2, 8u, &bytes) &&
           byte_count(nrow + 2, 8u, &bytes) && byte_count(nnz + 1, 8u, &bytes);
}

// Input of the grouping: 1-based indices after the offsets, and the marks.
struct Pattern {
    int64_t ncol, nrow, nnz;
    const int64_t *rows, *cols;
    int64_t rowoffset, coloffset;
    // Marked nonzeros take no part; a column with none unmarked is not grouped.
    const int64_t *marks;       // per nonzero, or null
    const bool *fixed_columns;  // per column (0-based), or null
    int64_t row(int64_t k) const { return rows[k] - rowoffset; }
    int64_t col(int64_t k) const { return cols[k] - coloffset; }
    bool marked(int64_t k) const {
        if (marks != nullptr && marks[k] != 0) return true;
        return fixed_columns != nullptr && fixed_columns[col(k) - 1];
    }
};

// Every column lies within 1..ncol after its offset: else 2. Rows within
// 1..nrow and never decreasing: else 3. Nothing is changed either way.
int64_t check_pattern(const char *fn, const Pattern &pat) {
    for (int64_t k = 0; k < pat.nnz; ++k) {
        if (shifted(pat.cols[k], pat.coloffset, pat.ncol) == 0) {
            report(msg::kIndexRange, fn, ll(pat.cols[k]), ll(k + 1), ll(pat.ncol));
            return 2;
        }
    }
    int64_t last = 1;
    for (int64_t k = 0; k < pat.nnz; ++k) {
        const int64_t r = shifted(pat.rows[k], pat.rowoffset, pat.nrow);
        if (r == 0) {
            report(msg::kIndexRange, fn, ll(pat.rows[k]), ll(k + 1), ll(pat.nrow));
            return 3;
        }
        if (r < last) {
            report(msg::kRowOrder, fn, ll(pat.rows[k]), ll(k + 1), ll(pat.rows[k - 1]));
            return 3;
        }
        last = r;
    }
    return 0;
}

// Counting sort core: out lists value(k) for the kept k grouped by key(k)
// (0..n-1), in order of k within a key; start (n + 1 entries) ends with the
// first position (0-based) of every key, and the number kept.
template <class Key, class Value, class Keep>
void counting_sort(int64_t n, int64_t nnz, Key key, Value value, Keep keep, int64_t *out, int64_t *start) {
    for (int64_t i = 0; i <= n; ++i) start[i] = 0;
    for (int64_t k = 0; k < nnz; ++k) {
        if (keep(k)) ++start[key(k) + 1];
    }
    for (int64_t i = 1; i <= n; ++i) start[i] += start[i - 1];
    for (int64_t k = 0; k < nnz; ++k) {
        if (keep(k)) out[start[key(k)]++] = value(k);
    }
    // Filling moved each start one key up: move them back.
    for (int64_t i = n - 1; i > 0; --i) start[i] = start[i - 1];
    start[0] = 0;
}

// The grouping proper on a checked pattern; fills the row starts and the
// group list and returns the number of groups.
int64_t group_columns(const Pattern &pat, Work &w, int64_t *rowstart, int64_t *list) {
    const int64_t ncol = pat.ncol, nrow = pat.nrow, nnz = pat.nnz;
    int64_t *group = w.group;  // 1-based by column
    for (int64_t c = 1; c <= ncol; ++c) group[c] = -1;
    for (int64_t k = 0; k < nnz; ++k) {
        if (!pat.marked(k)) group[pat.col(k)] = 0;
    }

    // Row starts (1-based positions): rows are in order, so counts suffice.
    for (int64_t r = 0; r <= nrow; ++r) rowstart[r] = 0;
    for (int64_t k = 0; k < nnz; ++k) ++rowstart[pat.row(k) - 1];
    int64_t pos = 1;
    for (int64_t r = 0; r <= nrow; ++r) {
        const int64_t next = pos + rowstart[r];
        rowstart[r] = pos;
        pos = next;
    }

    // The unmarked nonzeros by column; colstart[c - 1] .. colstart[c] - 1.
    counting_sort(
        ncol, nnz, [&](int64_t k) { return pat.col(k) - 1; }, [&](int64_t k) { return pat.row(k); },
        [&](int64_t k) { return !pat.marked(k); }, w.colrows, w.colstart);

    // Each candidate joins the lowest group no column of its rows is in.
    int64_t ngroups = 0;
    int64_t *flag = w.flag;  // flag[h] == c: group h is taken for column c
    for (int64_t c = 1; c <= ncol; ++c) {
        if (group[c] != 0) continue;
        for (int64_t p = w.colstart[c - 1]; p < w.colstart[c]; ++p) {
            const int64_t r = w.colrows[p];
            for (int64_t q = rowstart[r - 1] - 1; q < rowstart[r] - 1; ++q) {
                if (pat.marked(q)) continue;
                const int64_t h = group[pat.col(q)];
                if (h > 0) flag[h] = c;
            }
        }
        int64_t h = 1;
        while (h <= ngroups && flag[h] == c) ++h;
        group[c] = h;
        if (h > ngroups) ngroups = h;
    }

    // Group list: count, then members; flag[h] becomes the slot of group h's count.
    for (int64_t h = 1; h <= ngroups; ++h) flag[h] = 0;
    for (int64_t c = 1; c <= ncol; ++c) {
        if (group[c] > 0) ++flag[group[c]];
    }
    int64_t slot = 0;
    for (int64_t h = 1; h <= ngroups; ++h) {
        const int64_t count = flag[h];
        list[slot] = count;
        flag[h] = slot + 1;  // where the next member goes
        slot += count + 1;
    }
    for (int64_t c = 1; c <= ncol; ++c) {
        if (group[c] > 0) list[flag[group[c]]++] = c;
    }
    for (int64_t i = slot; i < 2 * ncol; ++i) list[i] = 0;
    return ngroups;
}

// Runs the grouping when the pattern checks; the error code.
int64_t kpr_checked(const char *fn, const Pattern &pat, int64_t *rowstart, int64_t *list, int64_t *ngroups) {
    const int64_t bad = check_pattern(fn, pat);
    if (bad != 0) return bad;
    Work w;
    if (!w.get(pat.ncol, pat.nnz)) {
        report(msg::kNoMemory, fn, ll(pat.ncol + pat.nnz));
        return 4;
    }
    *ngroups = group_columns(pat, w, rowstart, list);
    return 0;
}

}  // namespace

bool open_groups(const char *fn, int64_t g, Groups *out) {
    if (g == 0) {
        report(msg::kNoBlock, fn);
        return false;
    }
    int64_t *x = ints_at(g);
    for (int64_t e : {kVgrpNcol, kVgrpNrow, kVgrpNnz}) {
        if (x[e] < 0) {
            report(msg::kBadCount, fn, ll(x[e]));
            return false;
        }
    }
    *out = Groups{g,
                  x,
                  x[kVgrpNcol],
                  x[kVgrpNrow],
                  x[kVgrpNnz],
                  x[kVgrpGroups],
                  block_or_null(x[kVgrpGroupList]),
                  block_or_null(x[kVgrpRowStart])};
    return true;
}

namespace {

// The sizes and the group list alone, which is all the report reads.
bool group_list_sound(const Groups &grp) {
    bool ok = grp.list != nullptr && sizes_fit(grp.ncol, grp.nrow, grp.nnz) && grp.ngroups >= 0 &&
              grp.ngroups <= grp.ncol;
    // Each group: a count of at least one, then increasing columns in 1..ncol.
    int64_t slot = 0;
    for (int64_t h = 0; ok && h < grp.ngroups; ++h) {
        ok = slot < 2 * grp.ncol;
        if (!ok) break;
        const int64_t count = grp.list[slot];
        ok = count >= 1 && count <= 2 * grp.ncol - slot - 1;
        for (int64_t i = 1; ok && i <= count; ++i) {
            const int64_t c = grp.list[slot + i];
            ok = index_within(c, grp.ncol) && (i == 1 || c > grp.list[slot + i - 1]);
        }
        slot += count + 1;
    }
    return ok;
}

}  // namespace

bool groups_consistent(const char *fn, const Groups &grp) {
    bool ok = grp.start != nullptr && group_list_sound(grp);
    // Row starts: from 1, never decreasing, the last nnz + 1.
    if (ok) ok = grp.start[0] == 1 && grp.start[grp.nrow] == grp.nnz + 1;
    for (int64_t r = 0; ok && r < grp.nrow; ++r) ok = grp.start[r] <= grp.start[r + 1];
    if (!ok) report(msg::kInconsistent, fn, ll(grp.g));
    return ok;
}

int64_t vgrp_create(int64_t ncol, int64_t nrow, int64_t nnz) {
    const char *fn = "u3vgrp_create";
    for (int64_t n : {ncol, nrow, nnz}) {
        if (n < 0) {
            report(msg::kBadCount, fn, ll(n));
            return 0;
        }
    }
    if (ncol < 1 || nrow < 1 || nnz < 1) return 0;
    if (!sizes_fit(ncol, nrow, nnz)) {
        report(msg::kBadCount, fn, ll(ncol > nrow ? ncol : nrow));
        return 0;
    }
    const int64_t list = new_int_block(fn, 2 * ncol);
    const int64_t start = new_int_block(fn, nrow + 1);
    const int64_t g = new_int_block(fn, kVgrpLength);
    int64_t *x = ints_at(g);
    std::memset(x, 0, kVgrpLength * sizeof(int64_t));
    x[kVgrpNcol] = ncol;
    x[kVgrpNrow] = nrow;
    x[kVgrpNnz] = nnz;
    x[kVgrpGroupList] = list;
    x[kVgrpRowStart] = start;
    std::memset(ints_at(list), 0, static_cast<std::size_t>(2 * ncol) * sizeof(int64_t));
    // Until computed: every row empty but the last, which holds every nonzero.
    int64_t *s = ints_at(start);
    for (int64_t r = 0; r < nrow; ++r) s[r] = 1;
    s[nrow] = nnz + 1;
    return g;
}

void vgrp_destroy(int64_t *g) {
    if (g == nullptr || *g == 0) return;
    int64_t *x = ints_at(*g);
    RTO_IFREE(&x[kVgrpRowStart]);
    RTO_IFREE(&x[kVgrpGroupList]);
    RTO_IFREE(g);
}

int64_t vgrp_compute(const int64_t *rows, const int64_t *cols, const int64_t *status, int64_t rowoffset,
                     int64_t coloffset, int64_t usefixed, int64_t g) {
    const char *fn = "u3vgrp_compute";
    Groups grp{};
    if (!open_groups(fn, g, &grp)) return 1;
    if (grp.nnz == 0) return 0;
    if (rowoffset < 0 || coloffset < 0) {
        report(msg::kNegativeOffset, fn, ll(rowoffset), ll(coloffset));
        return 1;
    }
    if (rows == nullptr || cols == nullptr || (usefixed != 0 && status == nullptr)) {
        report(msg::kMissingArray, fn);
        return 1;
    }
    if (grp.list == nullptr || grp.start == nullptr || !sizes_fit(grp.ncol, grp.nrow, grp.nnz)) {
        report(msg::kInconsistent, fn, ll(g));
        return 1;
    }
    // The grouping writes the object's row starts and group list while it still reads the pattern.
    for (const int64_t *in : {rows, cols}) {
        if (overlap(in, grp.nnz, grp.start, grp.nrow + 1, 8) ||
            overlap(in, grp.nnz, grp.list, 2 * grp.ncol, 8)) {
            report(msg::kOverlap, fn);
            return 1;
        }
    }
    bool *fixed = nullptr;
    if (usefixed != 0) {
        fixed = static_cast<bool *>(xmalloc(static_cast<std::size_t>(grp.ncol) + 1));
        if (fixed == nullptr) {
            report(msg::kNoMemory, fn, ll(grp.ncol));
            return 4;
        }
        for (int64_t c = 0; c < grp.ncol; ++c) fixed[c] = varIsFixed(status[c]) != 0;
    }
    const Pattern pat{grp.ncol, grp.nrow, grp.nnz, rows, cols, rowoffset, coloffset, nullptr, fixed};
    int64_t ngroups = 0;
    const int64_t err = kpr_checked(fn, pat, grp.start, grp.list, &ngroups);
    std::free(fixed);
    if (err == 0) grp.x[kVgrpGroups] = ngroups;
    return err;
}

int64_t kpr(int64_t ncol, int64_t nrow, int64_t nnz, const int64_t *rows, const int64_t *cols,
            const int64_t *marks, int64_t *rowstart, int64_t *grouplist, int64_t *ngroups) {
    const char *fn = "u3_kpr";
    for (int64_t n : {ncol, nrow, nnz}) {
        if (n < 0) {
            report(msg::kBadCount, fn, ll(n));
            return 1;
        }
    }
    if (!sizes_fit(ncol, nrow, nnz)) {
        report(msg::kBadCount, fn, ll(ncol > nrow ? ncol : nrow));
        return 1;
    }
    if ((nnz > 0 && (rows == nullptr || cols == nullptr)) || rowstart == nullptr ||
        (ncol > 0 && grouplist == nullptr) || ngroups == nullptr) {
        report(msg::kMissingArray, fn);
        return 1;
    }
    // The outputs are written through; none may share memory with another array.
    const bool shared =
        overlap(rowstart, nrow + 1, grouplist, 2 * ncol, 8) || overlap(rowstart, nrow + 1, rows, nnz, 8) ||
        overlap(rowstart, nrow + 1, cols, nnz, 8) || overlap(grouplist, 2 * ncol, rows, nnz, 8) ||
        overlap(grouplist, 2 * ncol, cols, nnz, 8) ||
        (marks != nullptr &&
         (overlap(rowstart, nrow + 1, marks, nnz, 8) || overlap(grouplist, 2 * ncol, marks, nnz, 8)));
    if (shared) {
        report(msg::kOverlap, fn);
        return 1;
    }
    const Pattern pat{ncol, nrow, nnz, rows, cols, 0, 0, marks, nullptr};
    return kpr_checked(fn, pat, rowstart, grouplist, ngroups);
}

bool bksort(int64_t n, int64_t nnz, const int64_t *keys, int64_t *order, int64_t *work) {
    const char *fn = "u3_bksort";
    if (n < 0 || nnz < 0 || n == INT64_MAX) {
        report(msg::kBadCount, fn, ll(n < 0 || n == INT64_MAX ? n : nnz));
        return false;
    }
    if (work == nullptr || (nnz > 0 && (keys == nullptr || order == nullptr))) {
        report(msg::kMissingArray, fn);
        return false;
    }
    if (overlap(order, nnz, keys, nnz, 8) || overlap(order, nnz, work, n + 1, 8) ||
        overlap(keys, nnz, work, n + 1, 8)) {
        report(msg::kOverlap, fn);
        return false;
    }
    for (int64_t k = 0; k < nnz; ++k) {
        if (!index_within(keys[k], n)) {
            report(msg::kIndexRange, fn, ll(keys[k]), ll(k + 1), ll(n));
            return false;
        }
    }
    counting_sort(
        n, nnz, [&](int64_t k) { return keys[k] - 1; }, [](int64_t k) { return k + 1; },
        [](int64_t) { return true; }, order, work);
    for (int64_t i = 0; i <= n; ++i) ++work[i];  // 1-based positions
    return true;
}

void vgrp_report(int64_t g, int64_t offset) {
    if (g == 0 || offset < 0) return;
    const char *fn = "u3vgrp_report_by_idx";
    Groups grp{};
    if (!open_groups(fn, g, &grp) || grp.ngroups <= 0 || grp.list == nullptr) return;
    if (!group_list_sound(grp)) {  // the row starts may be missing: the report does not read them
        report(msg::kInconsistent, fn, ll(grp.g));
        return;
    }
    // 32 columns of indent and six members of seven columns each.
    char line[32 + msg::kReportPerLine * 8];
    int used = std::snprintf(line, sizeof line, "%s", msg::kReportCount);
    used += put_field(line + used, msg::kReportCountWidth, grp.ngroups);
    report("%s\n", line);
    int64_t slot = 0;
    for (int64_t h = 1; h <= grp.ngroups; ++h) {
        const int64_t count = grp.list[slot];
        used = std::snprintf(line, sizeof line, "%s", msg::kReportGroup);
        used += put_field(line + used, msg::kReportGroupWidth, h);
        used += std::snprintf(line + used, sizeof line - static_cast<std::size_t>(used), "%s",
                              msg::kReportGroupTail);
        for (int64_t i = 1; i <= count; ++i) {
            if (i > 1 && (i - 1) % msg::kReportPerLine == 0) {
                report("%s\n", line);
                used = std::snprintf(line, sizeof line, "%s", msg::kReportIndent);
            }
            // Indices plus the offset; one beyond 64 bits is too wide anyway.
            int64_t shown = 0;
            if (__builtin_add_overflow(grp.list[slot + i], offset, &shown)) shown = INT64_MAX;
            line[used++] = ' ';
            used += put_field(line + used, msg::kReportMemberWidth, shown);
        }
        report("%s\n", line);
        slot += count + 1;
    }
    report(" \n");
}

}  // namespace zarn::numutil
