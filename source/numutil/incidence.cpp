// Incidence counts of a Jacobian's rows and columns, renumbering of kept
// entries, the objective's row and the nonzeros of one row.
#include "numutil/numutil_internal.h"
#include "numutil/numutil_messages.h"
#include "platform/checked.h"
#include "rtopipe/report.h"
#include "zarnutils/varutl.h"

namespace zarn::numutil {
namespace {

using rtopipe::report;

constexpr int32_t kObjective = 5;

// Common checks of a count block over nnz nonzeros; false after a message.
bool check_counts(const char *fn, int64_t size, const int64_t *status, const int64_t *rows,
                  const int64_t *cols, int64_t nnz) {
    if (size < 0 || nnz < 0) {
        report(msg::kBadCount, fn, static_cast<long long>(size < 0 ? size : nnz));
        return false;
    }
    if (nnz > 0 && (status == nullptr || rows == nullptr || cols == nullptr)) {
        report(msg::kMissingArray, fn);
        return false;
    }
    return true;
}

// Every entry of idx that is positive lies within 1..size.
bool positive_within(const char *fn, const int64_t *idx, int64_t nnz, int64_t size) {
    for (int64_t k = 0; k < nnz; ++k) {
        if (idx[k] > size) {
            report(msg::kIndexRange, fn, static_cast<long long>(idx[k]), static_cast<long long>(k + 1),
                   static_cast<long long>(size));
            return false;
        }
    }
    return true;
}

// A new zeroed block of size counts, or 0.
int64_t zeroed_block(const char *fn, int64_t size) {
    const int64_t b = new_int_block(fn, size);
    if (b == 0) return 0;
    int64_t *x = ints_at(b);
    for (int64_t i = 0; i < size; ++i) x[i] = 0;
    return b;
}

}  // namespace

int64_t rel_incidence(int64_t neqn, const int64_t *varstatus, const int64_t *rows, const int64_t *cols,
                      int64_t nnz) {
    const char *fn = "u3map_rel_incidence";
    if (!check_counts(fn, neqn, varstatus, rows, cols, nnz)) return 0;
    if (!positive_within(fn, rows, nnz, neqn)) return 0;
    const int64_t b = zeroed_block(fn, neqn);
    if (b == 0) return 0;
    int64_t *count = ints_at(b);
    for (int64_t k = 0; k < nnz; ++k) {
        if (rows[k] >= 1 && cols[k] >= 1 && varIsFixed(varstatus[cols[k] - 1]) == 0) {
            ++count[rows[k] - 1];
        }
    }
    return b;
}

int64_t var_incidence(int64_t nvar, const int64_t *eqnstatus, const int64_t *rows, const int64_t *cols,
                      int64_t nnz) {
    const char *fn = "u3map_var_incidence";
    if (!check_counts(fn, nvar, eqnstatus, rows, cols, nnz)) return 0;
    if (!positive_within(fn, cols, nnz, nvar)) return 0;
    const int64_t b = zeroed_block(fn, nvar);
    if (b == 0) return 0;
    int64_t *count = ints_at(b);
    for (int64_t k = 0; k < nnz; ++k) {
        if (cols[k] >= 1 && rows[k] >= 1 && u3rinc_c(static_cast<int32_t>(eqnstatus[rows[k] - 1])) != 0) {
            ++count[cols[k] - 1];
        }
    }
    return b;
}

void remap(int64_t n, int64_t limit, int64_t block, int64_t *flags) {
    const char *fn = "u3remap";
    if (n < 0) {
        report(msg::kBadCount, fn, static_cast<long long>(n));
        return;
    }
    if (n == 0) return;
    if (block == 0) {
        report(msg::kNoBlock, fn);
        return;
    }
    if (flags == nullptr) {
        report(msg::kMissingArray, fn);
        return;
    }
    int64_t *x = ints_at(block);
    if (overlap(flags, n, x, n, sizeof(int64_t))) {
        report(msg::kOverlap, fn);
        return;
    }
    int64_t next = 0;
    for (int64_t i = 0; i < n; ++i) {
        flags[i] = x[i] <= limit ? 1 : 0;
        x[i] = flags[i] == 1 ? ++next : 0;
    }
}

int64_t find_objective(int64_t neqn, const int64_t *eqnstatus) {
    if (neqn < 0) {
        report(msg::kBadCount, "usr3_fndobj", static_cast<long long>(neqn));
        return 0;
    }
    if (neqn > 0 && eqnstatus == nullptr) {
        report(msg::kMissingArray, "usr3_fndobj");
        return 0;
    }
    for (int64_t i = 0; i < neqn; ++i) {
        const auto w = static_cast<int32_t>(eqnstatus[i]);
        if (u3rinc_c(w) != 0 && u3rgmt_c(w) == kObjective) return i + 1;
    }
    return 0;
}

int64_t nonzeros_in_row(int64_t row, const int64_t *rows, int64_t nnz, int64_t *count) {
    const char *fn = "nz_in_row";
    *count = 0;
    if (nnz < 0) {
        report(msg::kBadCount, fn, static_cast<long long>(nnz));
        return 0;
    }
    if (nnz > 0 && rows == nullptr) {
        report(msg::kMissingArray, fn);
        return 0;
    }
    int64_t found = 0;
    for (int64_t k = 0; k < nnz; ++k) found += rows[k] == row ? 1 : 0;
    const int64_t b = new_int_block(fn, found);
    if (b == 0) return 0;
    int64_t *list = ints_at(b);
    int64_t at = 0;
    for (int64_t k = 0; k < nnz && at < found; ++k) {
        if (rows[k] == row) list[at++] = k + 1;
    }
    *count = found;
    return b;
}

}  // namespace zarn::numutil
