// The word stream of an X-file: 512-word records, the header, one variable's words.
#include <cstring>

#include "platform/funit.h"
#include "xfile/xfile_internal.h"

static_assert(RTXFILE_STATUS_NOT_OPEN == ZARN_FUNIT_NOT_OPEN);
static_assert(RTXFILE_STATUS_SHORT == ZARN_FUNIT_SHORT);

namespace zarn::xfile {

State &state() {
    static State s;
    return s;
}

bool attached(int64_t unit, int mode) {
    const State &s = state();
    return s.unit >= 0 && unit == s.unit && (mode < 0 || s.mode == mode);
}

Layout layout_of(const int32_t flags[kFlags]) {
    namespace ac = zarn::attrcat;
    Layout l;
    l.names = flags[RTXFILE_NAME - 1] != 0;
    for (int8_t code : ac::kXfileIntOrder) {
        if (flags[code - 1] == 0) continue;
        const int parts = ac::kXfile[code].kind == ac::XKind::Pair ? 2 : 1;
        for (int p = 0; p < parts; ++p) l.ints[l.nints++] = Field{code, static_cast<int8_t>(p)};
    }
    for (int8_t code : ac::kXfileRealOrder)
        if (flags[code - 1] != 0) l.reals[l.nreals++] = Field{code, 0};
    return l;
}

void attach_for_reading(int32_t unit, int mode) {
    State &s = state();
    s.unit = unit;
    s.mode = mode;
    const int64_t bytes = zarn_funit_size(unit);
    s.records = bytes > 0 ? bytes / RTXFILE_RECORD_BYTES : 0;
}

int read_record(int64_t rec) {
    State &s = state();
    // Only whole records count: the run-time would pad a cut one.
    if (s.mode != kWriting && rec > s.records) return RTXFILE_STATUS_SHORT;
    return zarn_funit_read_direct(s.unit, rec, s.buf);
}
int write_record(int64_t rec) { return zarn_funit_write_direct(state().unit, rec, state().buf); }

int read_header(Header *h) {
    State &s = state();
    int st = read_record(1);
    if (st != 0) return st;
    s.record = 1;
    s.pos = kWords;
    const int32_t *w = s.buf;
    *h = Header{};
    h->magic = w[0];
    h->first = w[1];
    h->last = w[2];
    for (int k = 0; k < kDigest; ++k) h->digest[k] = w[4 + k];
    // The flag count comes from the file: the flags and the version word after
    // them must lie within the record.
    const int32_t n = w[20];
    if (n < 0 || n > kWords - 1 - kFlagsAt) return RTXFILE_STATUS_BAD;
    for (int k = 0; k < n && k < kFlags; ++k)
        h->flags[k] = (w[kFlagsAt + k] != 0 && has_attribute(k + 1)) ? 1 : 0;
    h->version = w[kFlagsAt + n];
    // Older files never restore physical type or unit of measure.
    if (h->version != RTXFILE_VERSION) {
        h->flags[RTXFILE_PHYSICAL_TYPE - 1] = 0;
        h->flags[RTXFILE_UOM - 1] = 0;
    }
    s.version = h->version;
    s.header = *h;
    s.layout = layout_of(h->flags);
    return 0;
}

void encode_header(const Header &h, int32_t words[kWords]) {
    std::memset(words, 0, sizeof(int32_t) * kWords);
    words[0] = h.magic;
    words[1] = h.first;
    words[2] = h.last;
    words[3] = 32;
    for (int k = 0; k < kDigest; ++k) words[4 + k] = h.digest[k];
    words[20] = kFlags;
    for (int k = 0; k < kFlags; ++k) words[kFlagsAt + k] = (h.flags[k] != 0 && has_attribute(k + 1)) ? 1 : 0;
    words[kFlagsAt + kFlags] = h.version;
}

int next_record() {
    State &s = state();
    if (s.mode == kUpdating && s.record > 1) {
        int st = write_record(s.record);
        if (st != 0) return st;
    }
    int st = read_record(s.record + 1);
    if (st != 0) return st;
    ++s.record;
    s.pos = 0;
    return 0;
}

int next_write() {
    State &s = state();
    int st = write_record(s.record);
    if (st != 0) return st;
    ++s.record;
    s.pos = 0;
    std::memset(s.buf, 0, sizeof s.buf);
    return 0;
}

int skip(int n) {
    State &s = state();
    while (n > 0) {
        if (s.pos == kWords) {
            int st = next_record();
            if (st != 0) return st;
        }
        int take = kWords - s.pos < n ? kWords - s.pos : n;
        s.pos += take;
        n -= take;
    }
    return 0;
}

int take(int32_t *dst, int n) {
    State &s = state();
    while (n > 0) {
        if (s.pos == kWords) {
            int st = next_record();
            if (st != 0) return st;
        }
        const int k = kWords - s.pos < n ? kWords - s.pos : n;
        std::memcpy(dst, s.buf + s.pos, sizeof(int32_t) * static_cast<size_t>(k));
        dst += k;
        s.pos += k;
        n -= k;
    }
    return 0;
}

int read_variable(VarWords *v, bool with_name) {
    const Layout &l = state().layout;
    int st = get(&v->index);
    if (st != 0) return st;
    if (v->index < 0) return 1;
    int32_t w[kNameWords + RTXFILE_MAX_INT_WORDS + 2 * RTXFILE_MAX_REALS];
    const int32_t *at = w;
    if (l.names && !with_name) {
        if ((st = skip(kNameWords)) != 0) return st;
        st = take(w, l.nints + 2 * l.nreals);
    } else {
        st = take(w, l.words() - 1);
    }
    if (st != 0) return st;
    if (l.names && with_name) {
        for (int k = 0; k < kNameWords; ++k) {
            const uint32_t u = static_cast<uint32_t>(at[k]);
            for (int b = 0; b < 4; ++b) v->name[4 * k + b] = static_cast<char>((u >> (8 * b)) & 0xFF);
        }
        at += kNameWords;
    }
    for (int k = 0; k < l.nints; ++k) v->ints[k] = *at++;
    for (int k = 0; k < l.nreals; ++k, at += 2) {
        const uint64_t bits = static_cast<uint64_t>(static_cast<uint32_t>(at[0])) |
                              (static_cast<uint64_t>(static_cast<uint32_t>(at[1])) << 32);
        std::memcpy(&v->reals[k], &bits, sizeof bits);
    }
    return 0;
}

}  // namespace zarn::xfile
