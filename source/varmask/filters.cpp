// Predicates that pick variables from their records, of one callback type so
// that a caller can choose among them.
#include <cstring>

#include "zarnutils/hsregexp.h"
#include "zarnutils/varmask.h"
#include "zarnutils/varutl.h"

namespace {

bool fixed(const rtvarinfo_t *record) { return varIsFixed(record->status) != 0; }

// A name without its terminator is never matched (nor read past its field).
bool name_matches(const rtvarinfo_t *record, void *regexp) {
    if (!regexp || !std::memchr(record->name, '\0', sizeof record->name)) return false;
    return hs_regexec(static_cast<hs_regexp *>(regexp), record->name) != 0;
}

bool active_unfixed(const rtvarinfo_t *record) { return !fixed(record) && record->active_bound != 0; }

}  // namespace

int vfilter_always_true(const rtvarinfo_t *record, void *) { return record ? 1 : 0; }

int vfilter_var_is_fixed(const rtvarinfo_t *record, void *) { return record && fixed(record) ? 1 : 0; }

int vfilter_regexp_match(const rtvarinfo_t *record, void *regexp) {
    return record && name_matches(record, regexp) ? 1 : 0;
}

int vfilter_fixed_regexp_match(const rtvarinfo_t *record, void *regexp) {
    return record && fixed(record) && name_matches(record, regexp) ? 1 : 0;
}

int vfilter_active_bounds(const rtvarinfo_t *record, void *) {
    return record && active_unfixed(record) ? 1 : 0;
}

int vfilter_regexp_match_with_active_bounds(const rtvarinfo_t *record, void *regexp) {
    return record && active_unfixed(record) && name_matches(record, regexp) ? 1 : 0;
}
