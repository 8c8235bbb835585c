// Internals of the X-file: the one open file's state, its word stream over
// 2048-byte records, the per-variable layout and the entry points' bodies.
#ifndef ZARN_XFILE_INTERNAL_H
#define ZARN_XFILE_INTERNAL_H

#include <cstdint>
#include <string_view>

#include "attrcat/attrcat.h"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/xfile.h"

namespace zarn::xfile {

constexpr int kWords = RTXFILE_RECORD_WORDS;
constexpr int kFlags = RTXFILE_NFLAGS;
constexpr int kDigest = RTXFILE_NDIGEST;
constexpr int kNameWords = RTXFILE_NAME_LEN / 4;
constexpr int kFlagsAt = 21;  // header word of the first flag; word 20 counts them
constexpr int kFirstUnit = 60;
constexpr int kUnits = 40;

// A code the catalogue gives no attribute is never present, whatever a file says.
inline bool has_attribute(int code) {
    return code >= 1 && code <= kFlags && zarn::attrcat::kXfile[code].row != zarn::attrcat::kNoRow;
}

// One attribute word (or real) of a variable, in file order: its attribute
// code and, for the modified masks, which of the two words.
struct Field {
    int8_t code;
    int8_t part;
};

// The words of one variable, fixed by the header's flags.
struct Layout {
    bool names = false;
    int nints = 0;   // integer words
    int nreals = 0;  // reals (two words each)
    Field ints[RTXFILE_MAX_INT_WORDS] = {};
    Field reals[RTXFILE_MAX_REALS] = {};
    int words() const { return 1 + (names ? kNameWords : 0) + nints + 2 * nreals; }
};
Layout layout_of(const int32_t flags[kFlags]);

// Header record as read (flags normalised to 0/1, old-version rules applied).
struct Header {
    int32_t magic = 0;
    int32_t first = 0, last = 0;
    int32_t digest[kDigest] = {};
    int32_t flags[kFlags] = {};
    int32_t version = 0;
};

// Records move between the file and memory in blocks of up to this many, one
// system call a block, on the unit's own descriptor: the per-record cost of a
// run-time transfer statement is paid once a block instead.
constexpr int kBlockRecords = 64;

// The records of the open file held in memory: a window of consecutive
// records read ahead, or written behind until the window is left, the call
// that wrote them ends, or the file is closed. Never more than one block, so
// memory does not grow with the file.
struct Block {
    int32_t unit = -1;   // unit whose records these are; -1: none held
    int fd = -1;         // that unit's descriptor
    int64_t first = 0;   // record number of the first record held
    int count = 0;       // records held, from first on
    int dirty_from = 0;  // positions [dirty_from, dirty_to) are still to be written
    int dirty_to = 0;
    int32_t words[kBlockRecords * RTXFILE_RECORD_WORDS];
};

// Mode of the open file.
enum Mode : int { kNone = -1, kReading = 0, kWriting = 1, kUpdating = 2 };

// The state of the one X-file open at a time.
struct State {
    int mode = kNone;
    int32_t unit = -1;   // -1 once closed (mode stays as it was)
    int64_t record = 0;  // record whose contents are in buf
    int pos = 0;         // words of buf consumed or filled (0..512)
    int32_t first = -1;  // first and last index written since the open
    int32_t last = -1;
    int32_t version = 0;  // version word of the last header read
    int64_t records = 0;  // whole records in the file when reading or updating
    Header header;        // last header read or written
    Layout layout;        // per-variable words of that header
    int32_t buf[kWords] = {};
    // The words of the current record as the readers see them: buf, or when
    // the file is only read, the record where it lies in the block (no copy).
    const int32_t *cur = buf;
    Block block;  // records moved in blocks under buf
};
// One per process, constant-initialised: the stream's word calls reach it without a guard.
extern State g_state;
inline State &state() { return g_state; }

// True when unit is the open X-file and its mode is `mode` (-1: any).
bool attached(int64_t unit, int mode);

// ---- Records and the word stream (0 or the I/O status) ----
// Attaches the opened unit for reading or updating: counts the file's whole records.
void attach_for_reading(int32_t unit, int mode);
// Record rec into or out of buf, through the block; 0 or the I/O status.
int read_record(int64_t rec);
int write_record(int64_t rec);
// Writes the records still held to the file; 0 or the I/O status. Every entry
// that writes ends with it, so that between calls the file holds every
// record written, as with one transfer a record.
int flush_records();
// Counts the variables of the stream up to its end word (at most limit),
// looking only at each variable's index word in a small window of the file
// mapped at a time: no copy, nothing held that grows with the file. -1 with a
// non-zero status when the stream ends first, -1 with status 0 when the
// system cannot map the file (count by reading then).
int64_t count_by_index_words(int words_per_variable, int64_t limit, int *status);
// Drops the records held (none dirty: flushed first) as unit's file is attached or closed.
void forget_records(int32_t unit);
// Reads record 1 into h and leaves the stream before record 2. RTXFILE_STATUS_BAD
// for a flag count the record cannot hold.
int read_header(Header *h);
void encode_header(const Header &h, int32_t words[kWords]);
int next_record();  // moves to the next record (writing back first when updating)

inline int get(int32_t *w) {
    State &s = state();
    if (s.pos == kWords) {
        int st = next_record();
        if (st != 0) return st;
    }
    *w = s.cur[s.pos++];
    return 0;
}
int next_write();  // writes the full buffer and starts the next record
inline int put(int32_t w) {
    State &s = state();
    if (s.pos == kWords) {
        int st = next_write();
        if (st != 0) return st;
    }
    s.buf[s.pos++] = w;
    return 0;
}
int skip(int n);
int put_words(const int32_t *src, int n);  // n words, as put() one by one
int take(int32_t *dst, int n);             // the next n words
// Overwrites the word last read (update mode).
inline void replace_last(int32_t w) { state().buf[state().pos - 1] = w; }

// Words of one variable after its index, at most.
constexpr int kMaxVariableWords = kNameWords + RTXFILE_MAX_INT_WORDS + 2 * RTXFILE_MAX_REALS;

// The next variable of the stream: 0 with its index and *words at the words
// after the index (name, integers, reals), read in place when the variable
// lies in the record held, else gathered into scratch (kMaxVariableWords);
// 1 at the end word, else the I/O status.
int next_variable(int32_t *index, const int32_t **words, int32_t *scratch);

// One variable as read from the stream.
struct VarWords {
    int32_t index = 0;
    char name[RTXFILE_NAME_LEN] = {};
    int32_t ints[RTXFILE_MAX_INT_WORDS] = {};
    double reals[RTXFILE_MAX_REALS] = {};
};
// 0 and the variable, 1 at the end word, else the I/O status. Without
// with_fields the integer and real words are passed over, not decoded.
int read_variable(VarWords *v, bool with_name, bool with_fields = true);

// ---- Entry bodies ----
int64_t open(std::string_view name, const int64_t *digest, int64_t mode, const int64_t *flags,
             int64_t *by_name);
void close(int64_t unit);
int finish_and_close(int64_t unit);
void save(int64_t unit, rtvarlst_t *list, int64_t first, int64_t last, const int64_t *flags);

struct Subs {
    int64_t n = 0;
    const char *patterns = nullptr, *replacements = nullptr;
    size_t pattern_len = 0, replacement_len = 0;
};
struct Except {
    bool use = false;
    const int64_t *entries = nullptr;
    bool skip_fixed = false;
};
int64_t restore(int64_t unit, rtvarlst_t *list, const int64_t *select, bool by_name, const Subs &subs,
                const Except &except);
void update(int64_t unit, rtvarlst_t *list, const int64_t *flags);
int64_t query(int64_t unit, int64_t *flags, rtxfile_name_callback callback);

// What a path names, checked before a Fortran open (which accepts directories).
enum class PathKind { kMissing, kFile, kReadOnlyFile, kDirectory };
PathKind path_kind(std::string_view name);
int open_read(int64_t unit, std::string_view name, Header *h);
int read_nth(int64_t unit, int64_t n, VarWords *v);

// ---- Units ----
int64_t get_unit();
void free_unit(int64_t unit);
void reserve_unit(int64_t unit);
bool handed_out(int64_t unit);  // a unit of 60..99 marked in use
int64_t lowest_free(int64_t first, int64_t last);
int share_open(std::string_view name, int64_t *unit, bool fresh);

}  // namespace zarn::xfile

#endif
