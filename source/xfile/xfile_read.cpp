// Restoring variables from an X-file by index or by name, listing its names,
// and the low-level reads used by Fortran callers.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/checked.h"
#include "platform/ftext.h"
#include "platform/funit.h"
#include "platform/xalloc.h"
#include "rtopipe/report.h"
#include "rtvarlst/rtvarlst_restore.h"
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

// The list's index for a variable of the file, 0 when there is none. By
// name, the item at the file's index moved by the shift of the last name
// found is tried first: a list that gained or lost variables since the save
// keeps most of them in runs.
int32_t target_of(rtvarlst_t *list, int32_t n, int32_t index, const char *field, bool by_name,
                  const Compiled &c, int64_t *unmatched, int64_t *shift) {
    if (!by_name) {
        if (index_within(index, n)) return index;
        ++*unmatched;
        return 0;
    }
    char name[kMaxName + 1];
    const std::string_view text = ftext_view(field, RTXFILE_NAME_LEN);
    if (!text.empty()) std::memcpy(name, text.data(), text.size());
    name[text.size()] = '\0';
    std::size_t len = text.size();
    if (c.n > 0) {
        for (int64_t k = 0; k < c.n; ++k) stred_replace_regexp(name, kMaxName, c.progs[k], c.replacements[k]);
        len = std::strlen(name);
    }
    const int64_t guess = index + *shift;
    const int32_t t = len > 0 ? zarn::rtvarlst::name_index(
                                    list, name, len, fits_int32(guess) ? static_cast<int32_t>(guess) : 0)
                              : 0;
    if (t != 0) *shift = static_cast<int64_t>(t) - index;
    if (t == 0 && c.n == 0 && !never_counted(name)) ++*unmatched;  // the name as saved
    return t;
}

using zarn::rtvarlst::Quiet;
using zarn::rtvarlst::Restored;

// The list's attribute that a code of the file restores into (the scale,
// which is never restored, has none).
bool quiet_of(int code, Quiet *q) {
    struct Pair {
        int code;
        Quiet what;
    };
    static constexpr Pair kPairs[] = {
        {RTXFILE_SPEC, Quiet::kSpec},
        {RTXFILE_BASEUOM, Quiet::kBaseUom},
        {RTXFILE_QUALITY, Quiet::kQuality},
        {RTXFILE_MODIFIED, Quiet::kModifiedMask},
        {RTXFILE_UOM, Quiet::kUom},
        {RTXFILE_PHYSICAL_TYPE, Quiet::kPhysicalType},
        {RTXFILE_CONN_TYPE, Quiet::kConnType},
        {RTXFILE_BOUND_TYPE, Quiet::kBoundType},
        {RTXFILE_PARAM_HOMO, Quiet::kParamHomo},
        {RTXFILE_RAMPED, Quiet::kRamped},
        {RTXFILE_LOWER, Quiet::kLower},
        {RTXFILE_VALUE, Quiet::kValue},
        {RTXFILE_UPPER, Quiet::kUpper},
        {RTXFILE_STEP, Quiet::kStep},
        {RTXFILE_INITIAL, Quiet::kInitial},
        {RTXFILE_SBWEIGHT, Quiet::kSbWeight},
        {RTXFILE_TARGET_HOMO, Quiet::kTargetHomo},
        {RTXFILE_THRESHOLD, Quiet::kThreshold},
    };
    for (const Pair &p : kPairs)
        if (p.code == code) {
            *q = p.what;
            return true;
        }
    return false;
}

// The selected attributes of the file's layout, in file order (the integers
// first), each with its first word among the variable's words after the
// name, and the record they are read into for the list: worked out once a
// restore.
struct Chosen {
    struct Entry {
        Quiet what;
        bool second;  // the second modified-mask word
    };
    int n = 0, ints = 0;  // entries, and of them integers
    Entry entries[RTXFILE_MAX_INT_WORDS + RTXFILE_MAX_REALS] = {};
    Restored values;  // where each lies among a variable's words after the name
    int words = 0;    // those words
};

Chosen choose(const Layout &l, const int64_t *select) {
    Chosen c;
    if (select == nullptr) return c;
    Restored &r = c.values;
    c.words = l.nints + 2 * l.nreals;
    Quiet q{};
    for (int k = 0; k < l.nints; ++k)
        if (select[l.ints[k].code - 1] != 0 && quiet_of(l.ints[k].code, &q)) {
            const bool second = (r.given & zarn::rtvarlst::bit(q)) != 0;  // only the masks come twice
            c.entries[c.n++] = {q, second};
            (second ? r.second_offset : r.offset[static_cast<int>(q)]) = static_cast<int16_t>(k);
            r.given |= zarn::rtvarlst::bit(q);
            r.second_given = r.second_given || second;
        }
    c.ints = c.n;
    for (int k = 0; k < l.nreals; ++k)
        if (select[l.reals[k].code - 1] != 0 && quiet_of(l.reals[k].code, &q)) {
            c.entries[c.n++] = {q, false};
            r.offset[static_cast<int>(q)] = static_cast<int16_t>(l.nints + 2 * k);
            r.given |= zarn::rtvarlst::bit(q);
            if (zarn::attrcat::kXfile[l.reals[k].code].unscaled) r.per_scale |= zarn::rtvarlst::bit(q);
        }
    return c;
}

// A variable through the list's writers, in file order, each of which tells
// the listeners of its change. The internal scale is read before the first
// real, after the integers' writers have run.
void apply(rtvarlst_t *list, int32_t t, const Chosen &chosen) {
    // Listeners run between the writers: the values are read from a copy,
    // whatever they do to the stream's buffer.
    int32_t kept[kMaxVariableWords];
    std::memcpy(kept, chosen.values.words, static_cast<std::size_t>(chosen.words) * sizeof kept[0]);
    Restored r = chosen.values;
    r.words = kept;
    double scale = 1.0;
    for (int k = 0; k < chosen.n; ++k) {
        const Chosen::Entry &e = chosen.entries[k];
        if (k == chosen.ints) scale = zarn::rtvarlst::effective_scale(list, t);
        const int32_t i = k >= chosen.ints ? 0 : e.second ? r.second_mask() : r.code(e.what);
        const double d = k < chosen.ints ? 0.0 : r.real(e.what);
        const double x =
            (r.per_scale & zarn::rtvarlst::bit(e.what)) != 0 && d != RTOVARLST_UNDEFINED ? d / scale : d;
        switch (e.what) {
            case Quiet::kSpec:
                rtovarlst_set_spec_value(list, t, i);
                break;
            case Quiet::kBaseUom:
                rtovarlst_set_var_baseuom(list, t, i);
                break;
            case Quiet::kQuality:
                rtovarlst_set_var_quality(list, t, i);
                break;
            case Quiet::kModifiedMask:
                rtovarlst_set_var_modified_mask(list, t, i);
                break;
            case Quiet::kUom:
                rtovarlst_set_var_uom(list, t, i);
                break;
            case Quiet::kPhysicalType:
                rtovarlst_set_physical_type(list, t, i);
                break;
            case Quiet::kConnType:
                rtovarlst_set_var_conn_type(list, t, i);
                break;
            case Quiet::kBoundType: {
                int64_t status = rtovarlst_inq_var_status(list, t);
                varSetBoundType(i, &status);
                rtovarlst_set_var_status(list, t, status);
                break;
            }
            case Quiet::kParamHomo:
                rtovarlst_set_var_param_homo(list, t, i);
                break;
            case Quiet::kRamped:
                rtovarlst_set_var_ramped(list, t, i);
                break;
            case Quiet::kLower:
                rtovarlst_set_var_lower(list, t, x, 0);
                break;
            case Quiet::kValue:
                rtovarlst_set_var_value(list, t, x, 0);
                break;
            case Quiet::kUpper:
                rtovarlst_set_var_upper(list, t, x, 0);
                break;
            case Quiet::kStep:
                rtovarlst_set_var_step_inbaseuom(list, t, x);
                break;
            case Quiet::kInitial:
                rtovarlst_set_var_initial(list, t, x, 0);
                break;
            case Quiet::kSbWeight:
                rtovarlst_set_var_sbweight(list, t, x);
                break;
            case Quiet::kTargetHomo:
                rtovarlst_set_var_target_homo(list, t, x, 0);
                break;
            case Quiet::kThreshold:
                rtovarlst_set_var_threshold(list, t, x, 0);
                break;
        }
    }
}

// Walks the stream once to its end word, reading only each variable's index,
// so that a damaged stream is refused before the list is touched. Returns the
// count, or -1 (message printed).
int64_t count_variables() {
    State &s = state();
    const int rest = s.layout.words() - 1;
    int mapped_status = 0;
    const int64_t mapped = count_by_index_words(rest + 1, RTXFILE_MAX_VARIABLES, &mapped_status);
    if (mapped >= 0) return mapped;
    if (mapped_status != 0) {
        report(msg::kRestoreRead);
        return -1;
    }
    int64_t count = 0;
    while (count < RTXFILE_MAX_VARIABLES) {
        int32_t index = 0;
        int st = get(&index);
        if (st == 0 && index < 0) break;
        if (st == 0 && s.pos + rest <= kWords) {
            s.pos += rest;
        } else if (st == 0) {
            st = skip(rest);
        }
        if (st != 0) {
            report(msg::kRestoreRead);
            return -1;
        }
        ++count;
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
    const int64_t count = count_variables();
    if (count < 0) {
        release(&c);
        return 0;
    }
    // Second pass from the first variable on: find each target and apply.
    s.record = 1;
    s.pos = kWords;
    const int32_t n = rtovarlst_inq_nvar(list);
    int64_t unmatched = 0, shift = 0;
    Chosen chosen = choose(s.layout, select);
    const int name_words = s.layout.names ? kNameWords : 0;
    int32_t scratch[kMaxVariableWords];
    for (int64_t k = 0; k < count; ++k) {
        int32_t index = 0;
        const int32_t *words = nullptr;
        if (next_variable(&index, &words, scratch) != 0) {
            report(msg::kRestoreRead);
            release(&c);
            return 0;
        }
        // The name field's bytes are the words' bytes in order (little-endian words).
        const char *name = reinterpret_cast<const char *>(words);
        const int32_t t = target_of(list, n, index, name, by_name, c, &unmatched, &shift);
        if (!index_within(t, n)) continue;
        if (except.use && except.entries != nullptr && except.entries[t - 1] != 0) continue;
        if (except.skip_fixed && varIsFixed(rtovarlst_inq_var_status(list, t)) != 0) continue;
        if (chosen.n == 0) continue;
        // A variable nobody hears of is written in one call; one with a
        // listener goes through the writers, which tell it of each change as
        // it happens, and so does one the call leaves to them.
        chosen.values.words = words + name_words;
        if (!zarn::rtvarlst::store_unheard(list, t, chosen.values)) apply(list, t, chosen);
    }
    release(&c);
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
