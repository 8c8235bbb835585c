// Internals of the VARFILE processors: the reader's entry, the writer's output
// buffer and the text forms of the fields.
#ifndef ZARN_VARFILE_VARFILE_INTERNAL_H
#define ZARN_VARFILE_VARFILE_INTERNAL_H

#include <cstddef>
#include <cstring>

#include "zarnutils/rtopipe.h"
#include "zarnutils/varfile.hpp"

namespace zarn::varfile {

// The process-wide list of all attributes each new writer copies.
gl_list_t *write_mask();

// Reads the whole pipe as a VARFILE and hands every record to rec. The
// scanner and parser state is process-wide: one parse at a time.
void parse_varfile(::rtopipe *pipe, VarRecorder *rec);
// Drops what the scanner kept of pipe's input after a parse that ended early.
void forget_input(const ::rtopipe *pipe);

// Collects output and hands it to the pipe in large writes. After the first
// failed write it drops everything, so nothing follows the failure.
class Sink {
  public:
    explicit Sink(::rtopipe *pipe) : pipe_(pipe) {}
    // The short pieces of a record go straight into the buffer while it has
    // room; the rest takes the flushing path.
    void put(const char *bytes, size_t n) {
        if (n > kSize - used_) {
            put_flushing(bytes, n);
            return;
        }
        std::memcpy(buf_ + used_, bytes, n);
        used_ += n;
    }
    void put(char c) {
        if (used_ == kSize) flush();
        buf_[used_++] = c;
    }
    void blanks(size_t n) {
        // A fixed-size copy is a couple of stores; what lies past n is
        // overwritten by what follows or never flushed.
        if (n <= kBlankRun && kBlankRun <= kSize - used_) {
            std::memcpy(buf_ + used_, kBlanks, kBlankRun);
            used_ += n;
            return;
        }
        blanks_flushing(n);
    }
    // Writes what is buffered; false once a write has failed.
    bool flush();
    bool failed() const { return failed_; }

  private:
    static constexpr size_t kSize = 1 << 16;
    static constexpr size_t kBlankRun = 32;
    static constexpr char kBlanks[kBlankRun + 1] = "                                ";
    void put_flushing(const char *bytes, size_t n);
    void blanks_flushing(size_t n);
    ::rtopipe *pipe_;
    size_t used_ = 0;
    bool failed_ = false;
    char buf_[kSize];
};

// Writes v as "%*.*e" with width w and precision w - 8 would (a negative
// precision meaning 6), right-aligned.
void put_real(Sink &out, int w, double v);

// Room format_real needs beyond the precision.
inline constexpr size_t kRealExtra = 16;
// Writes v at text as "%.*e" with this precision (0 or more) would, text
// having precision + kRealExtra bytes; returns the end (no terminator).
char *format_real(char *text, double v, int precision);

// The printed form of a units-table name, kept for the next variable of the
// same type and unit: the table does not change while a file is written.
struct TableName {
    bool known;  // false until a name was looked up
    int ptype, uom;
    const char *text;
    size_t length;
    bool quote;
};

// The fields of one variable, and the names its neighbours are likely to share.
// The reals of info are the numbers the list holds (in the base unit, divided
// by the internal scale).
struct Record {
    rtvarinfo_t info;
    rtvarlst_t *list;  // the list and index the record was read from
    int32_t index;
    double scale;  // the internal scale the reals are multiplied by
    int ptype;     // from the status word, when fetched
    int uom;       // display unit, when fetched
    int baseuom;   // base unit, when fetched
    TableName type_name, unit_name, base_name, conn_name;
};

// The fetch-mask codes of an attribute: what it needs, but the whole record
// for the attributes without a rule of their own. The units a run converts
// with come from the record when this mask of the whole run holds them.
void add_fetch(rtvarmask_t *mask, int attribute);
// Only what writing the attribute reads from the record.
void add_needs(rtvarmask_t *mask, int attribute);

// True when the attribute's value is missing (a blank field).
bool missing(const Record &r, int attribute);

// Writes the field of a column that is not missing; true when a word was
// wider than the column (the next field goes on a continuation line).
bool put_field(Sink &out, Record &r, int attribute, int width);

}  // namespace zarn::varfile

#endif
