// Restoring variables from an X-file by index or by name, listing its names,
// and the low-level reads used by Fortran callers.
#include <cstdlib>
#include <cstring>

#include "platform/checked.h"
#include "platform/ftext.h"
#include "platform/funit.h"
#include "platform/xalloc.h"
#include "rtopipe/report.h"
#include "rtvarlst/rtvarlst_scale.h"
#include "xfile/xfile_internal.h"
#include "xfile/xfile_messages.h"
#include "zarnutils/hsregexp.h"
#include "zarnutils/stred.h"
#include "zarnutils/varutl.h"

namespace zarn::xfile {

using zarn::rtopipe::report;

namespace {

constexpr int kMaxName = ZARN_NAME_MAX;  // longest name a substitution may produce

// Compiled substitution patterns with their replacement texts.
struct Compiled {
    hs_regexp **progs = nullptr;
    char **replacements = nullptr;
    int64_t n = 0;
};

void release(Compiled *c) {
    for (int64_t k = 0; k < c->n; ++k) {
        hs_regfree(c->progs[k]);
        std::free(c->replacements[k]);
    }
    std::free(c->progs);
    std::free(c->replacements);
    *c = Compiled{};
}

// False (with the message) when a pattern does not compile or memory runs out.
bool compile(const Subs &subs, Compiled *c) {
    if (subs.n <= 0) return true;
    std::size_t bytes = 0;
    // The fields lie at k * length within the caller's arrays: the last offset must exist.
    if (subs.patterns == nullptr || subs.replacements == nullptr ||
        !byte_count(subs.n, sizeof(void *), &bytes) || !byte_count(subs.n, subs.pattern_len, &bytes) ||
        !byte_count(subs.n, subs.replacement_len, &bytes)) {
        report(msg::kRestorePattern, "(none)");
        return false;
    }
    c->progs = static_cast<hs_regexp **>(xcalloc(static_cast<std::size_t>(subs.n), sizeof(hs_regexp *)));
    c->replacements = static_cast<char **>(xcalloc(static_cast<std::size_t>(subs.n), sizeof(char *)));
    if (c->progs == nullptr || c->replacements == nullptr) {
        report(msg::kRestoreMemory, static_cast<long long>(subs.n));
        std::free(c->progs);
        std::free(c->replacements);
        *c = Compiled{};
        return false;
    }
    for (int64_t k = 0; k < subs.n; ++k) {
        FText pattern(subs.patterns + static_cast<std::size_t>(k) * subs.pattern_len, subs.pattern_len);
        FText replacement(subs.replacements + static_cast<std::size_t>(k) * subs.replacement_len,
                          subs.replacement_len);
        c->progs[k] = hs_regcomp(pattern.c_str());
        c->replacements[k] = xstrdup(replacement.c_str());
        c->n = k + 1;
        if (c->progs[k] == nullptr) {
            report(msg::kRestorePattern, pattern.c_str());
            release(c);
            return false;
        }
        if (c->replacements[k] == nullptr) {
            report(msg::kRestoreMemory, static_cast<long long>(subs.n));
            release(c);
            return false;
        }
    }
    return true;
}

bool never_counted(const char *name) {
    return std::strstr(name, "ZFLOW") != nullptr || std::strstr(name, "ZFRAC") != nullptr;
}

// The list's index for a variable of the file, 0 when there is none.
int32_t target_of(rtvarlst_t *list, int32_t n, const VarWords &v, bool by_name, const Compiled &c,
                  int64_t *unmatched) {
    if (!by_name) {
        if (index_within(v.index, n)) return v.index;
        ++*unmatched;
        return 0;
    }
    char name[kMaxName + 1];
    const std::string_view text = ftext_view(v.name, RTXFILE_NAME_LEN);
    if (!text.empty()) std::memcpy(name, text.data(), text.size());
    name[text.size()] = '\0';
    char original[RTXFILE_NAME_LEN + 1];
    std::memcpy(original, name, text.size() + 1);
    for (int64_t k = 0; k < c.n; ++k) stred_replace_regexp(name, kMaxName, c.progs[k], c.replacements[k]);
    const int32_t t = name[0] != '\0' ? rtovarlst__varname2index(list, name) : 0;
    if (t == 0 && c.n == 0 && !never_counted(original)) ++*unmatched;
    return t;
}

void apply(rtvarlst_t *list, int32_t t, const VarWords &v, const Layout &l, const int64_t *select) {
    auto selected = [&](Field f) { return select != nullptr && select[f.code - 1] != 0; };
    for (int k = 0; k < l.nints; ++k) {
        const Field f = l.ints[k];
        if (!selected(f)) continue;
        const int32_t w = v.ints[k];
        switch (f.code) {
            case RTXFILE_SPEC:
                rtovarlst_set_spec_value(list, t, w);
                break;
            case RTXFILE_BASEUOM:
                rtovarlst_set_var_baseuom(list, t, w);
                break;
            case RTXFILE_QUALITY:
                rtovarlst_set_var_quality(list, t, w);
                break;
            case RTXFILE_MODIFIED:
                rtovarlst_set_var_modified_mask(list, t, w);
                break;
            case RTXFILE_UOM:
                rtovarlst_set_var_uom(list, t, w);
                break;
            case RTXFILE_PHYSICAL_TYPE:
                rtovarlst_set_physical_type(list, t, w);
                break;
            case RTXFILE_CONN_TYPE:
                rtovarlst_set_var_conn_type(list, t, w);
                break;
            case RTXFILE_BOUND_TYPE: {
                int64_t status = rtovarlst_inq_var_status(list, t);
                varSetBoundType(w, &status);
                rtovarlst_set_var_status(list, t, status);
                break;
            }
            case RTXFILE_PARAM_HOMO:
                rtovarlst_set_var_param_homo(list, t, w);
                break;
            case RTXFILE_RAMPED:
                rtovarlst_set_var_ramped(list, t, w);
                break;
            default:
                break;
        }
    }
    // Every real the file holds unscaled is divided by the variable's internal
    // scale at restore time (the list's one rule); an undefined one stays so.
    const double scale = zarn::rtvarlst::effective_scale(list, t);
    for (int k = 0; k < l.nreals; ++k) {
        const Field f = l.reals[k];
        if (!selected(f)) continue;
        const double x = zarn::attrcat::kXfile[f.code].unscaled && v.reals[k] != RTOVARLST_UNDEFINED
                             ? v.reals[k] / scale
                             : v.reals[k];
        switch (f.code) {
            case RTXFILE_LOWER:
                rtovarlst_set_var_lower(list, t, x, 0);
                break;
            case RTXFILE_VALUE:
                rtovarlst_set_var_value(list, t, x, 0);
                break;
            case RTXFILE_UPPER:
                rtovarlst_set_var_upper(list, t, x, 0);
                break;
            case RTXFILE_STEP:
                rtovarlst_set_var_step_inbaseuom(list, t, x);
                break;
            case RTXFILE_INITIAL:
                rtovarlst_set_var_initial(list, t, x, 0);
                break;
            case RTXFILE_SBWEIGHT:
                rtovarlst_set_var_sbweight(list, t, x);
                break;
            case RTXFILE_TARGET_HOMO:
                rtovarlst_set_var_target_homo(list, t, x, 0);
                break;
            case RTXFILE_THRESHOLD:
                rtovarlst_set_var_threshold(list, t, x, 0);
                break;
            default:
                break;  // scale is never restored
        }
    }
}

// Walks the stream once to find every variable's target, so that a damaged
// stream is refused before the list is touched. Returns the count, or -1
// (message printed).
int64_t resolve_all(rtvarlst_t *list, bool by_name, const Compiled &c, int32_t **targets,
                    int64_t *unmatched) {
    const int32_t n = rtovarlst_inq_nvar(list);
    int64_t count = 0, room = 0;
    VarWords v;
    while (count < RTXFILE_MAX_VARIABLES) {
        const int st = read_variable(&v, by_name);
        if (st == 1) break;
        if (st != 0) {
            report(msg::kRestoreRead);
            return -1;
        }
        if (count == room) {
            const int64_t grown = room == 0 ? 1024 : room * 2;
            std::size_t bytes = 0;
            void *p = byte_count(grown, sizeof(int32_t), &bytes) ? xrealloc(*targets, bytes) : nullptr;
            if (p == nullptr) {
                report(msg::kRestoreMemory, static_cast<long long>(grown));
                return -1;
            }
            *targets = static_cast<int32_t *>(p);
            room = grown;
        }
        (*targets)[count++] = target_of(list, n, v, by_name, c, unmatched);
    }
    return count;
}

}  // namespace

int64_t restore(int64_t unit, rtvarlst_t *list, const int64_t *select, bool by_name, const Subs &subs,
                const Except &except) {
    State &s = state();
    if (!attached(unit, kReading)) {
        report(msg::kNotOpen, "rtxfile_restore_variable", static_cast<long long>(unit));
        return 0;
    }
    Header h;
    if (read_header(&h) != 0 || h.magic != RTXFILE_MAGIC) {
        report(msg::kRestoreRead);
        return 0;
    }
    if (by_name && h.flags[RTXFILE_NAME - 1] == 0) {
        report(msg::kNoNames1);
        report(msg::kNoNames2);
        return 0;
    }
    report(msg::kSavedWith);
    for (int8_t code : zarn::attrcat::kXfileLabelOrder) {
        if (h.flags[code - 1] == 0) continue;
        const zarn::attrcat::XfileAttribute &x = zarn::attrcat::kXfile[code];
        report("%s\n", x.label);
        if (x.label2 != nullptr) report("%s\n", x.label2);
    }

    Compiled c;
    if (!compile(subs, &c)) return 0;
    int32_t *targets = nullptr;
    int64_t unmatched = 0;
    const int64_t count = resolve_all(list, by_name, c, &targets, &unmatched);
    release(&c);
    if (count < 0) {
        std::free(targets);
        return 0;
    }
    // Second pass from the first variable on: apply.
    s.record = 1;
    s.pos = kWords;
    const int32_t n = rtovarlst_inq_nvar(list);
    VarWords v;
    for (int64_t k = 0; k < count; ++k) {
        if (read_variable(&v, false) != 0) {
            report(msg::kRestoreRead);
            std::free(targets);
            return 0;
        }
        const int32_t t = targets[k];
        if (!index_within(t, n)) continue;
        if (except.use && except.entries != nullptr && except.entries[t - 1] != 0) continue;
        if (except.skip_fixed && varIsFixed(rtovarlst_inq_var_status(list, t)) != 0) continue;
        apply(list, t, v, s.layout, select);
    }
    std::free(targets);
    return -unmatched;
}

int64_t query(int64_t unit, int64_t *flags, rtxfile_name_callback callback) {
    if (!attached(unit, kReading)) {
        report(msg::kNotOpen, "rtxfile_query", static_cast<long long>(unit));
        return 1;
    }
    Header h;
    if (read_header(&h) != 0 || h.magic != RTXFILE_MAGIC) {
        report(msg::kQueryRead);
        return 1;
    }
    if (flags != nullptr)
        for (int k = 0; k < kFlags; ++k) flags[k] = h.flags[k];
    if (h.flags[RTXFILE_NAME - 1] == 0) return 1;
    if (callback == nullptr) return 0;
    VarWords v;
    for (int64_t count = 0; count < RTXFILE_MAX_VARIABLES; ++count) {
        const int st = read_variable(&v, true);
        if (st == 1) break;
        if (st != 0) {
            report(msg::kQueryRead);
            return 1;
        }
        if (ftext_absent(v.name, RTXFILE_NAME_LEN)) {
            callback(nullptr);
        } else if (std::memchr(v.name, '\0', RTXFILE_NAME_LEN) != nullptr) {
            callback(v.name);
        } else {
            char name[RTXFILE_NAME_LEN + 1];
            const std::string_view text = ftext_view(v.name, RTXFILE_NAME_LEN);
            if (!text.empty()) std::memcpy(name, text.data(), text.size());
            name[text.size()] = '\0';
            callback(name);
        }
    }
    return 0;
}

int open_read(int64_t unit, std::string_view name, Header *h) {
    State &s = state();
    s.mode = kNone;
    s.unit = -1;
    if (unit < 0 || !fits_int32(unit)) return RTXFILE_STATUS_NO_UNIT;
    if (name.empty() || path_kind(name) == PathKind::kDirectory) return RTXFILE_STATUS_BAD;
    const auto u = static_cast<int32_t>(unit);
    int st = zarn_funit_open_direct(u, name.data(), name.size(), 0);
    if (st != 0) return st;
    attach_for_reading(u, kReading);
    st = read_header(h);
    if (st != 0) {
        s.unit = -1;
        s.mode = kNone;
        zarn_funit_close(u);
        return st;
    }
    return 0;
}

int read_nth(int64_t unit, int64_t n, VarWords *v) {
    State &s = state();
    if (!attached(unit, kReading) || n < 1) return RTXFILE_STATUS_BAD;
    int64_t offset = 0;
    if (!checked_mul<int64_t>(n - 1, s.layout.words(), &offset)) return RTXFILE_STATUS_BAD;
    const int64_t rec = 2 + offset / kWords;
    const int at = static_cast<int>(offset % kWords);
    if (at == 0) {
        // The next word read loads record rec.
        s.record = rec - 1;
        s.pos = kWords;
    } else {
        const int st = read_record(rec);
        if (st != 0) return st;
        s.record = rec;
        s.pos = at;
    }
    return read_variable(v, true);
}

}  // namespace zarn::xfile
