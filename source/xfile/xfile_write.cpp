// Opening, saving, updating in place and closing an X-file.
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>

#include "platform/checked.h"
#include "platform/funit.h"
#include "rtopipe/report.h"
#include "rtvarlst/rtvarlst_restore.h"
#include "xfile/xfile_internal.h"
#include "xfile/xfile_messages.h"
#include "zarnutils/varutl.h"

namespace zarn::xfile {

using zarn::rtopipe::report;

PathKind path_kind(std::string_view name) {
    std::string path(name);
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return PathKind::kMissing;
    if (S_ISDIR(st.st_mode)) return PathKind::kDirectory;
    // No write bit for anyone counts as read-only even for a privileged caller.
    if ((st.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0) return PathKind::kReadOnlyFile;
    return PathKind::kFile;
}

namespace {

int open_unit(int32_t unit, std::string_view name, int how) {
    return zarn_funit_open_direct(unit, name.data(), name.size(), how);
}

// A refused open: the unit is closed and released.
int64_t give_up(int32_t unit) {
    zarn_funit_close(unit);
    free_unit(unit);
    return 0;
}

bool digest_matches(const Header &h, const int64_t *digest) {
    if (digest == nullptr) return false;
    for (int k = 0; k < kDigest; ++k)
        if (digest[k] != h.digest[k]) return false;
    return true;
}

using zarn::rtvarlst::Saved;

// The integer word of a field of a variable (update replaces SPEC by whether
// the variable is fixed).
int32_t int_word(const Saved &v, Field f, bool updating) {
    switch (f.code) {
        case RTXFILE_SPEC:
            return updating ? (varIsFixed(v.status) ? 1 : 0) : varInqSpec(v.status);
        case RTXFILE_BASEUOM:
            return v.baseuom;
        case RTXFILE_QUALITY:
            return v.quality;
        case RTXFILE_MODIFIED:
            return static_cast<int32_t>(f.part == 0 ? v.mask1 : v.mask2);
        case RTXFILE_UOM:
            return v.uom;
        case RTXFILE_PHYSICAL_TYPE:
            return varInqPhysicalType(v.status);
        case RTXFILE_CONN_TYPE:
            return v.conn_type;
        case RTXFILE_BOUND_TYPE: {
            int64_t bt = 0;
            varInqBoundType(v.status, &bt);
            return static_cast<int32_t>(bt);
        }
        case RTXFILE_PARAM_HOMO:
            return v.param_homo;
        case RTXFILE_RAMPED:
            return v.ramped;
        default:
            return 0;
    }
}

// The number the list holds for a real field of a variable.
double held_value(const Saved &v, Field f) {
    switch (f.code) {
        case RTXFILE_SCALE:
            return v.scale;
        case RTXFILE_LOWER:
            return v.lower;
        case RTXFILE_VALUE:
            return v.value;
        case RTXFILE_UPPER:
            return v.upper;
        case RTXFILE_STEP:
            return v.step;
        case RTXFILE_INITIAL:
            return v.initial;
        case RTXFILE_SBWEIGHT:
            return v.sbweight;
        case RTXFILE_TARGET_HOMO:
            return v.target_homo;
        case RTXFILE_THRESHOLD:
            return v.threshold;
        default:
            return 0.0;
    }
}

// The real of a field as the file holds it: the fields held unscaled are
// multiplied by the internal scale (the list's one rule); an undefined
// number stays undefined.
double real_value(const Saved &v, Field f) {
    const double x = held_value(v, f);
    return zarn::attrcat::kXfile[f.code].unscaled && x != RTOVARLST_UNDEFINED ? x * v.effective_scale : x;
}

void split(double v, int32_t *lo, int32_t *hi) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    *lo = static_cast<int32_t>(static_cast<uint32_t>(bits & 0xFFFFFFFFu));
    *hi = static_cast<int32_t>(static_cast<uint32_t>(bits >> 32));
}

// The 128-byte blank-padded name as 32 little-endian words.
void name_words(rtvarlst_t *list, int32_t i, int32_t words[kNameWords]) {
    unsigned char field[RTXFILE_NAME_LEN];
    std::memset(field, ' ', sizeof field);
    const char *name = rtovarlst_lookup_var_name(list, i);
    if (name != nullptr) {
        const size_t n = strnlen(name, sizeof field);
        std::memcpy(field, name, n);
    }
    std::memcpy(words, field, sizeof field);  // little-endian words hold the bytes in order
}

// The variable's words are gathered first and go to the stream in one piece.
int save_one(rtvarlst_t *list, int32_t i) {
    const Layout &l = state().layout;
    int32_t w[1 + kNameWords + RTXFILE_MAX_INT_WORDS + 2 * RTXFILE_MAX_REALS];
    int n = 0;
    w[n++] = i;
    if (l.names) {
        name_words(list, i, w + n);
        n += kNameWords;
    }
    Saved v;
    zarn::rtvarlst::load_saved(list, i, &v);
    for (int k = 0; k < l.nints; ++k) w[n++] = int_word(v, l.ints[k], false);
    for (int k = 0; k < l.nreals; ++k) {
        split(real_value(v, l.reals[k]), &w[n], &w[n + 1]);
        n += 2;
    }
    return put_words(w, n);
}

int64_t open_create(int32_t unit, const int64_t *digest, const int64_t *flags) {
    State &s = state();
    Header h;
    h.magic = RTXFILE_MAGIC;
    h.first = h.last = -1;
    // Digest values are byte values; anything else is kept as its low word.
    for (int k = 0; k < kDigest; ++k) h.digest[k] = digest ? static_cast<int32_t>(digest[k]) : 0;
    for (int k = 0; k < kFlags; ++k) h.flags[k] = flags && flags[k] != 0 ? 1 : 0;
    h.version = RTXFILE_VERSION;
    forget_records(unit);
    s.unit = unit;
    s.mode = kWriting;
    encode_header(h, s.buf);
    if (write_record(1) != 0 || flush_records() != 0) {
        report(msg::kOpenWrite);
        s.unit = -1;
        return give_up(unit);
    }
    // Codes without an attribute were written as 0: read the header as a reader would.
    for (int k = 0; k < kFlags; ++k) h.flags[k] = s.buf[kFlagsAt + k];
    s.header = h;
    s.layout = layout_of(h.flags);
    s.version = h.version;
    s.record = 2;
    s.pos = 0;
    std::memset(s.buf, 0, sizeof s.buf);
    s.cur = s.buf;
    s.first = s.last = -1;
    s.mode = kWriting;
    return unit;
}

}  // namespace

int64_t open(std::string_view name, const int64_t *digest, int64_t mode, const int64_t *flags,
             int64_t *by_name) {
    State &s = state();
    s.mode = kNone;
    s.unit = -1;
    if (mode < kReading || mode > kUpdating) {
        report(msg::kBadMode, static_cast<long long>(mode));
        return 0;
    }
    if (name.empty()) {
        report(msg::kNoName);
        return 0;
    }
    const std::string path(name);
    const PathKind kind = path_kind(name);
    if (kind == PathKind::kDirectory) {
        report(msg::kDirectory, path.c_str());
        return 0;
    }
    if (mode == kUpdating && kind == PathKind::kReadOnlyFile) {
        report(msg::kReadOnly, path.c_str());
        return 0;
    }
    const int64_t got = get_unit();
    if (got < 0) {
        report(msg::kNoUnit);
        return 0;
    }
    const auto unit = static_cast<int32_t>(got);
    const int how = mode == kReading ? 0 : (mode == kWriting ? 1 : 2);
    int st = open_unit(unit, name, how);
    if (st != 0) {
        report(msg::kOpenFailed, path.c_str(), st);
        return give_up(unit);
    }
    if (mode == kWriting) return open_create(unit, digest, flags);

    attach_for_reading(unit, kNone);
    Header h;
    st = read_header(&h);
    if (st != 0 && st != RTXFILE_STATUS_BAD) {
        report(msg::kOpenHeader);
        s.unit = -1;
        return give_up(unit);
    }
    const bool matched = digest_matches(h, digest);
    const bool magic = h.magic == RTXFILE_MAGIC;
    if (mode == kReading) {
        if (!magic) {
            report(msg::kNotSaveFile);
        } else if (st != 0) {
            report(msg::kOpenHeader);
        } else {
            if (by_name != nullptr) *by_name = matched ? 0 : 1;
            report(matched ? msg::kMatchedDigest : msg::kByName);
            s.mode = kReading;
            return unit;
        }
        s.unit = -1;
        return give_up(unit);
    }

    // Update: the checks come first, so that a refused file is left as it was.
    const char *refusal = nullptr;
    if (!matched) {
        refusal = msg::kUpdateNotMatched;
    } else if (!magic) {
        refusal = msg::kNotSaveFile;
    } else if (st != 0) {
        refusal = msg::kOpenHeader;
    } else {
        for (int k = 1; k < kFlags && refusal == nullptr; ++k)
            if (flags != nullptr && flags[k] != 0 && h.flags[k] == 0 && has_attribute(k + 1))
                refusal = msg::kUpdateMissing;
    }
    if (refusal == nullptr) {
        h.version = RTXFILE_VERSION;
        encode_header(h, s.buf);
        if (write_record(1) != 0 || flush_records() != 0) refusal = msg::kOpenWrite;
    }
    if (refusal != nullptr) {
        report("%s", refusal);
        s.unit = -1;
        return give_up(unit);
    }
    s.header = h;
    s.version = h.version;
    s.layout = layout_of(h.flags);
    s.record = 1;
    s.pos = kWords;
    s.mode = kUpdating;
    return unit;
}

int finish_and_close(int64_t unit) {
    State &s = state();
    // A unit of the table that a later open left behind is still closed;
    // other units that are not the X-file are not ours to close.
    if (!attached(unit, -1))
        return handed_out(unit) ? zarn_funit_close(static_cast<int32_t>(unit)) : RTXFILE_STATUS_BAD;
    if (s.mode == kWriting) {
        int st = put(-1);
        if (st == 0) st = write_record(s.record);
        if (st == 0) st = read_record(1);
        if (st == 0) {
            s.buf[1] = s.first;
            s.buf[2] = s.last;
            st = write_record(1);
        }
        if (st == 0) st = flush_records();
        if (st != 0) report(msg::kSaveWrite);
    } else if (s.mode == kUpdating) {
        if (write_record(s.record) != 0 || flush_records() != 0) report(msg::kUpdateIO);
    }
    forget_records(-1);
    s.unit = -1;
    return zarn_funit_close(static_cast<int32_t>(unit));
}

void close(int64_t unit) {
    finish_and_close(unit);
    free_unit(unit);
}

void save(int64_t unit, rtvarlst_t *list, int64_t first, int64_t last, const int64_t *flags) {
    State &s = state();
    if (!attached(unit, kWriting)) {
        report(msg::kNotOpen, "rtxfile_save_variable", static_cast<long long>(unit));
        return;
    }
    // The attributes are those of the open, so that every variable has the same words.
    (void)flags;
    const int64_t n = rtovarlst_inq_nvar(list);
    if (first < 1 || last < 1 || first > n || last > n) {
        report(msg::kSaveRange);
        return;
    }
    for (int64_t i = first; i <= last; ++i) {
        if (save_one(list, static_cast<int32_t>(i)) != 0) {
            report(msg::kSaveWrite);
            return;
        }
        if (s.first == -1) s.first = static_cast<int32_t>(i);
        s.last = static_cast<int32_t>(i);
    }
    if (flush_records() != 0) report(msg::kSaveWrite);
}

namespace {

// The walk of update; false after its message.
bool update_walk(int64_t unit, rtvarlst_t *list, const int64_t *flags) {
    State &s = state();
    if (!attached(unit, kUpdating)) {
        report(msg::kNotOpen, "rtxfile_update_variable", static_cast<long long>(unit));
        return false;
    }
    Header h;
    if (read_header(&h) != 0 || h.magic != RTXFILE_MAGIC) {
        report(msg::kUpdateHeader);
        return false;
    }
    const int64_t n = rtovarlst_inq_nvar(list);
    if (h.first > n || h.last > n) {
        report(msg::kUpdateMismatch);
        return false;
    }
    if (h.first == -1 && h.last == -1) return true;  // nothing was saved
    // The header's range is the file's word: the file must hold that many variables.
    const Layout &l = s.layout;
    const int64_t count = static_cast<int64_t>(h.last) - h.first + 1;
    const int64_t records = s.records;
    int64_t words = 0;
    if (h.first < 1 || count < 1 || !checked_mul<int64_t>(count, l.words(), &words) ||
        1 + (words + 1 + kWords - 1) / kWords > records) {
        report(msg::kUpdateHeader);
        return false;
    }
    auto wanted = [&](Field f) { return flags != nullptr && flags[f.code - 1] != 0; };
    for (int32_t i = h.first; i <= h.last; ++i) {
        int32_t w;
        int st = get(&w);
        if (st != 0 || w != i) {
            report(msg::kUpdateIO);
            return false;
        }
        if (l.names && skip(kNameWords) != 0) {
            report(msg::kUpdateIO);
            return false;
        }
        Saved v;
        zarn::rtvarlst::load_saved(list, i, &v);
        for (int k = 0; k < l.nints; ++k) {
            if (get(&w) != 0) {
                report(msg::kUpdateIO);
                return false;
            }
            if (wanted(l.ints[k])) replace_last(int_word(v, l.ints[k], true));
        }
        for (int k = 0; k < l.nreals; ++k) {
            int32_t lo, hi;
            split(real_value(v, l.reals[k]), &lo, &hi);
            const bool put_it = wanted(l.reals[k]);
            if (get(&w) != 0) {
                report(msg::kUpdateIO);
                return false;
            }
            if (put_it) replace_last(lo);
            if (get(&w) != 0) {
                report(msg::kUpdateIO);
                return false;
            }
            if (put_it) replace_last(hi);
        }
    }
    return true;
}

}  // namespace

void update(int64_t unit, rtvarlst_t *list, const int64_t *flags) {
    const bool walked = update_walk(unit, list, flags);
    if (flush_records() != 0 && walked) report(msg::kUpdateIO);
}

}  // namespace zarn::xfile
