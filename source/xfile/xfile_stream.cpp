// The word stream of an X-file: 512-word records moved in blocks, the header,
// one variable's words.
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

#include "platform/funit.h"
#include "rtvarlst/rtvarlst_restore.h"
#include "xfile/xfile_internal.h"

static_assert(RTXFILE_STATUS_NOT_OPEN == ZARN_FUNIT_NOT_OPEN);
static_assert(RTXFILE_STATUS_SHORT == ZARN_FUNIT_SHORT);
// The file's words are little-endian; blocks are moved as the host holds them.
static_assert(std::endian::native == std::endian::little);

namespace zarn::xfile {

constinit State g_state{};

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
    forget_records(unit);
    s.unit = unit;
    s.mode = mode;
    const int64_t bytes = zarn_funit_size(unit);
    s.records = bytes > 0 ? bytes / RTXFILE_RECORD_BYTES : 0;
}

namespace {

constexpr size_t kRecordBytes = RTXFILE_RECORD_BYTES;

void forget(Block *b, int32_t unit) {
    b->unit = unit;
    b->fd = -1;
    b->first = 0;
    b->count = b->dirty_from = b->dirty_to = 0;
}

// The block of the current unit: one held for another unit is dropped.
// Nothing of it is dirty then: every writing call ends with a flush.
void follow_unit(Block *b, int32_t unit) {
    if (b->unit != unit) forget(b, unit);
}

// The unit's descriptor, asked for before every system call: a unit the
// caller closed is not transferred on (as a run-time statement would refuse
// it), and one opened again is followed.
int descriptor(Block *b) {
    b->fd = zarn_funit_descriptor(b->unit);
    return b->fd;
}

// An I/O status for a failed system call: the error number, never 0.
int failure() { return errno != 0 ? errno : EIO; }

int write_dirty(Block *b) {
    if (b->dirty_to <= b->dirty_from) return 0;
    const char *at = reinterpret_cast<const char *>(b->words + static_cast<size_t>(b->dirty_from) * kWords);
    size_t left = static_cast<size_t>(b->dirty_to - b->dirty_from) * kRecordBytes;
    off_t offset = static_cast<off_t>(b->first - 1 + b->dirty_from) * static_cast<off_t>(kRecordBytes);
    b->dirty_from = b->dirty_to = 0;
    if (descriptor(b) < 0) return ZARN_FUNIT_NOT_OPEN;
    while (left > 0) {
        const ssize_t n = ::pwrite(b->fd, at, left, offset);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return failure();
        at += n;
        left -= static_cast<size_t>(n);
        offset += n;
    }
    return 0;
}

// Reads up to a block from record rec on; a record the file holds only in
// part reads padded with zeros, as the run-time would give it.
int load(Block *b, int64_t rec) {
    char *at = reinterpret_cast<char *>(b->words);
    const size_t want = sizeof b->words;
    size_t got = 0;
    b->count = 0;
    if (descriptor(b) < 0) return ZARN_FUNIT_NOT_OPEN;
    while (got < want) {
        const ssize_t n =
            ::pread(b->fd, at + got, want - got,
                    static_cast<off_t>(rec - 1) * static_cast<off_t>(kRecordBytes) + static_cast<off_t>(got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return failure();
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    if (got == 0) return RTXFILE_STATUS_SHORT;
    const size_t records = (got + kRecordBytes - 1) / kRecordBytes;
    std::memset(at + got, 0, records * kRecordBytes - got);
    b->first = rec;
    b->count = static_cast<int>(records);
    return 0;
}

}  // namespace

void forget_records(int32_t unit) { forget(&state().block, unit); }

namespace {

// A window of the file's records mapped for reading; unmapped when moved or done.
struct Window {
    const char *base = nullptr;  // mapping of file records [first, first + count), 0-based
    size_t bytes = 0;
    int64_t first = 0, count = 0;
    ~Window() { drop(); }
    void drop() {
        if (base != nullptr) ::munmap(const_cast<char *>(base), bytes);
        base = nullptr;
    }
    // Maps up to `want` records from 0-based record r on (r rounded down to a
    // page); false when the system refuses.
    bool map(int fd, int64_t r, int64_t want, int64_t records) {
        drop();
        static const int64_t per_page = std::max<int64_t>(1, ::sysconf(_SC_PAGESIZE) / kRecordBytes);
        first = r - r % per_page;
        count = std::min(want, records - first);
        bytes = static_cast<size_t>(count) * kRecordBytes;
        void *m = ::mmap(nullptr, bytes, PROT_READ, MAP_SHARED, fd, static_cast<off_t>(first) * kRecordBytes);
        if (m == MAP_FAILED) return false;
        base = static_cast<const char *>(m);
        return true;
    }
    // Word w of 0-based file record r, which the window holds.
    const char *at(int64_t r, int64_t w) const {
        return base + static_cast<size_t>(r - first) * kRecordBytes + static_cast<size_t>(w) * 4;
    }
    int32_t word(int64_t r, int64_t w) const {
        int32_t v;
        std::memcpy(&v, at(r, w), sizeof v);
        return v;
    }
};

}  // namespace

int64_t count_by_index_words(int words_per_variable, int64_t limit, int *status) {
    State &s = state();
    Block &b = s.block;
    follow_unit(&b, s.unit);
    *status = 0;
    if (descriptor(&b) < 0) {
        *status = ZARN_FUNIT_NOT_OPEN;
        return -1;
    }
    // A window of 2 MiB: what is mapped at once stays small whatever the file.
    constexpr int64_t kWindowRecords = 1024;
    constexpr int64_t kPrefetchVariables = 16;  // how far ahead the walk asks for index words
    // Only records the file holds now are mapped (touching a page past its end
    // would end the process): a file cut since the open reads as ending there.
    struct stat st {};
    if (::fstat(b.fd, &st) != 0) return -1;  // status 0: count by reading
    const int64_t records = std::min<int64_t>(s.records, st.st_size / static_cast<int64_t>(kRecordBytes));
    const int64_t stream_words = records > 1 ? (records - 1) * kWords : 0;
    Window win;
    int64_t count = 0, p = 0;  // p: the stream word of the next index
    while (count < limit) {
        if (p >= stream_words) {
            *status = RTXFILE_STATUS_SHORT;
            return -1;
        }
        const int64_t r = 1 + p / kWords;  // 0-based file record holding word p
        if (win.base == nullptr || r >= win.first + win.count) {
            if (!win.map(b.fd, r, kWindowRecords, records)) return -1;  // status 0: not counted this way
        }
        // The walk strides a variable at a time: the index words some
        // variables ahead are asked for now, so that their lines are on the way.
        const int64_t ahead = p + kPrefetchVariables * static_cast<int64_t>(words_per_variable);
        const int64_t ahead_record = 1 + ahead / kWords;
        if (ahead < stream_words && ahead_record < win.first + win.count)
            __builtin_prefetch(win.at(ahead_record, ahead % kWords));
        if (win.word(r, p % kWords) < 0) break;
        if (p + words_per_variable - 1 >= stream_words) {
            *status = RTXFILE_STATUS_SHORT;
            return -1;
        }
        ++count;
        p += words_per_variable;
    }
    return count;
}

int flush_records() {
    State &s = state();
    Block &b = s.block;
    if (b.unit != s.unit) return 0;
    return write_dirty(&b);
}

int read_record(int64_t rec) {
    State &s = state();
    // Only whole records count: the run-time would pad a cut one.
    if (s.mode != kWriting && rec > s.records) return RTXFILE_STATUS_SHORT;
    if (s.unit < 0) return ZARN_FUNIT_NOT_OPEN;
    if (rec < 1) return RTXFILE_STATUS_SHORT;
    Block &b = s.block;
    follow_unit(&b, s.unit);
    int st = 0;
    if (rec < b.first || rec >= b.first + b.count) {
        if ((st = write_dirty(&b)) != 0 || (st = load(&b, rec)) != 0) return st;
    }
    const int32_t *held = b.words + static_cast<size_t>(rec - b.first) * kWords;
    if (s.mode == kReading) {
        s.cur = held;
    } else {
        std::memcpy(s.buf, held, sizeof s.buf);
        s.cur = s.buf;
    }
    return 0;
}

int write_record(int64_t rec) {
    State &s = state();
    if (s.unit < 0) return ZARN_FUNIT_NOT_OPEN;
    if (rec < 1) return RTXFILE_STATUS_SHORT;
    Block &b = s.block;
    follow_unit(&b, s.unit);
    int st = 0;
    // A record within the block or right after its last one joins it; any
    // other starts a new block once the held records are written.
    if (b.count == 0 || rec < b.first || rec > b.first + b.count || rec >= b.first + kBlockRecords) {
        if ((st = write_dirty(&b)) != 0) return st;
        b.first = rec;
        b.count = 0;
    }
    const int at = static_cast<int>(rec - b.first);
    std::memcpy(b.words + static_cast<size_t>(at) * kWords, s.buf, sizeof s.buf);
    if (at == b.count) ++b.count;
    if (b.dirty_to <= b.dirty_from) {
        b.dirty_from = at;
        b.dirty_to = at + 1;
    } else {
        b.dirty_from = at < b.dirty_from ? at : b.dirty_from;
        b.dirty_to = at + 1 > b.dirty_to ? at + 1 : b.dirty_to;
    }
    return 0;
}

int read_header(Header *h) {
    State &s = state();
    int st = read_record(1);
    if (st != 0) return st;
    s.record = 1;
    s.pos = kWords;
    const int32_t *w = s.cur;
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
    s.cur = s.buf;
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

int put_words(const int32_t *src, int n) {
    State &s = state();
    while (n > 0) {
        if (s.pos == kWords) {
            int st = next_write();
            if (st != 0) return st;
        }
        const int k = kWords - s.pos < n ? kWords - s.pos : n;
        std::memcpy(s.buf + s.pos, src, sizeof(int32_t) * static_cast<size_t>(k));
        src += k;
        s.pos += k;
        n -= k;
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
        std::memcpy(dst, s.cur + s.pos, sizeof(int32_t) * static_cast<size_t>(k));
        dst += k;
        s.pos += k;
        n -= k;
    }
    return 0;
}

int next_variable(int32_t *index, const int32_t **words, int32_t *scratch) {
    State &s = state();
    int st = get(index);
    if (st != 0) return st;
    if (*index < 0) return 1;
    const int rest = s.layout.words() - 1;
    if (s.pos + rest <= kWords) {  // the whole variable is in this record: read it in place
        *words = s.cur + s.pos;
        s.pos += rest;
        return 0;
    }
    if ((st = take(scratch, rest)) != 0) return st;
    *words = scratch;
    return 0;
}

int read_variable(VarWords *v, bool with_name, bool with_fields) {
    const Layout &l = state().layout;
    int32_t scratch[kMaxVariableWords];
    const int32_t *at = nullptr;
    const int st = next_variable(&v->index, &at, scratch);
    if (st != 0) return st;
    if (l.names && with_name)
        std::memcpy(v->name, at, RTXFILE_NAME_LEN);  // little-endian words hold the bytes in order
    if (l.names) at += kNameWords;
    if (!with_fields) return 0;
    for (int k = 0; k < l.nints; ++k) v->ints[k] = *at++;
    for (int k = 0; k < l.nreals; ++k, at += 2) v->reals[k] = zarn::rtvarlst::real_in_words(at);
    return 0;
}

}  // namespace zarn::xfile
