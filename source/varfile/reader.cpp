// Reading a VARFILE: the header and record state the parser fills, the
// processing of each record into a recorder, the reader class and the read
// mask.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <locale.h>

#include "attrcat/attrcat.h"
#include "platform/checked.h"
#include "platform/xalloc.h"
#include "rtopipe/report.h"
#include "varfile/reader_core.h"
#include "varfile/varfile_internal.h"
#include "varfile/varfile_messages.h"
#include "varfile_parse.hpp"
#include "zarnutils/varattrnames.hpp"

int zvflex_destroy();

namespace zarn::varfile {

namespace {

using A = RTVarDatabase;
namespace ac = zarn::attrcat;
constexpr int kAttributeCount = ZARN_VARFILE_ATTRIBUTE_COUNT;

// A growable byte buffer.
struct Bytes {
    char *p = nullptr;
    size_t used = 0, cap = 0;
    bool reserve(size_t n) {
        if (n <= cap) return true;
        size_t want = cap < 256 ? 256 : cap;
        while (want < n) want = want > SIZE_MAX / 2 ? n : want * 2;
        char *q = static_cast<char *>(zarn::xrealloc(p, want));
        if (q == nullptr) return false;
        p = q, cap = want;
        return true;
    }
    void release() {
        std::free(p);
        *this = Bytes{};
    }
};

// One field of the record being read; a text is an offset into the record's
// text buffer, which may move while the record grows.
struct Field {
    Kind kind;
    int32_t i;
    double r;
    size_t text;
};

struct ScanFailure {
    const char *what;
};

// Per column: the recorder takes its values; a text in it is kept for the
// record's end (only those are copied out of the scanner's buffer); its
// field is assigned in the record's loop (taken, and not the name, type or a
// unit, which go first).
constexpr uint8_t kTakes = 1, kKeepsText = 2, kAssigns = 4;

// The reader's process-wide state: one VARFILE is read at a time.
struct State {
    VarRecorder *rec = nullptr;
    ::rtopipe *pipe = nullptr;            // input of the running parse
    const ::rtopipe *buffered = nullptr;  // pipe whose unread input the scanner holds
    bool at_end = false;                  // the pipe has given its last byte
    bool ended = false;                   // the scanner has given its last token

    // The current header: per column its attribute (-1 unknown), whether the
    // recorder takes it, and the record's field.
    int32_t ncols = 0, cap = 0;
    int *attribute = nullptr;
    uint8_t *accepted = nullptr;  // kTakes, kKeepsText, kAssigns
    Field *fields = nullptr;
    int name_col = -1, ptype_col = -1, units_col = -1, baseuom_col = -1, spec_col = -1;
    bool file_units = false;
    bool bad = true;  // records under this header are ignored

    // The current record.
    int64_t nfields = 0;
    Bytes text;
    bool lost = false;  // a text could not be kept (reported)

    // Bytes read from the pipe and not yet handed to the scanner, which
    // may ask for fewer than a pipe gives at once.
    Bytes input;
    size_t input_at = 0;
};

State g;

void free_columns() {
    std::free(g.attribute), std::free(g.accepted), std::free(g.fields);
    g.attribute = nullptr, g.accepted = nullptr, g.fields = nullptr;
    g.ncols = g.cap = 0;
    g.text.release();
}

// The scanner's own blocks. When an allocation fails inside the generated
// scanner it stops and can lose track of a block; these are freed after it.
void *g_blocks[8];

void track(void *old, void *now) {
    for (void *&b : g_blocks)
        if (b == old) {
            b = now;
            return;
        }
}

void reset_scanner() {
    zvflex_destroy();
    for (void *&b : g_blocks) std::free(std::exchange(b, nullptr));
    g.input.release(), g.input_at = 0;
    g.buffered = nullptr, g.at_end = false;
}

bool grow_columns() {
    const int32_t want = g.cap == 0 ? 32 : (g.cap > INT32_MAX / 2 ? INT32_MAX : g.cap * 2);
    size_t a, f;
    if (want <= g.cap || !byte_count(want, sizeof(int), &a) || !byte_count(want, sizeof(Field), &f))
        return false;
    auto *attribute = static_cast<int *>(zarn::xrealloc(g.attribute, a));
    if (attribute != nullptr) g.attribute = attribute;
    auto *accepted = static_cast<uint8_t *>(zarn::xrealloc(g.accepted, static_cast<size_t>(want)));
    if (accepted != nullptr) g.accepted = accepted;
    auto *fields = static_cast<Field *>(zarn::xrealloc(g.fields, f));
    if (fields != nullptr) g.fields = fields;
    if (attribute == nullptr || accepted == nullptr || fields == nullptr) return false;
    g.cap = want;
    return true;
}

const char *text_of(const Field &f) { return g.text.p + f.text; }

// PHYSICAL_TYPE, BASEUOM or UNITS, which must be texts.
void assign_unit_word(int index, int col, const char *refusal) {
    if (col < 0 || !(g.accepted[col] & kTakes) || col >= g.nfields) return;
    const Field &f = g.fields[col];
    if (f.kind == Kind::Text) {
        g.rec->AssignString(index, A::VarAttribute(g.attribute[col]), text_of(f));
    } else if (f.kind != Kind::None) {
        zarn::rtopipe::report("%s", refusal);
    }
}

int clamp_int(int64_t v) { return v > INT32_MAX ? INT32_MAX : static_cast<int>(v); }

locale_t c_locale() {
    static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

// A token's text length: as scanned, or measured for a text too long to be
// counted in the token.
size_t length_of(const Tok &t) { return t.i >= 0 ? static_cast<size_t>(t.i) : std::strlen(t.text); }

// A number field's value: an integer that int32 holds, else a real.
Field number_field(char *text, size_t len, bool integer, size_t at) {
    const char *first = text[0] == '+' ? text + 1 : text;
    const char *end = text + len;
    if (integer) {
        int32_t v;
        if (std::from_chars(first, end, v).ec == std::errc{}) return Field{Kind::Integer, v, 0.0, at};
    }
    double v;
    auto read = std::from_chars(first, end, v);
    // A Fortran exponent letter (a real token holds at most one) reads as an "e".
    if (read.ptr != end && (*read.ptr == 'd' || *read.ptr == 'D')) {
        text[read.ptr - text] = *read.ptr == 'd' ? 'e' : 'E';
        read = std::from_chars(first, end, v);
    }
    if (read.ec != std::errc{}) {  // out of range: infinity or an underflow, as strtod gives them
        const locale_t c = c_locale();
        v = c != static_cast<locale_t>(nullptr) ? strtod_l(text, nullptr, c) : std::strtod(text, nullptr);
    }
    return Field{Kind::Real, 0, v, at};
}

}  // namespace

// Scanner side.

// Fills the scanner's buffer as far as the input goes, so that a very long
// token is rescanned only a few times as the buffer doubles. Where the
// scanner has room for a good block the pipe writes straight into it; a
// small request goes through the reader's own block, since some pipes
// cannot give a few bytes at a time.
size_t scan_input(char *buffer, size_t size) {
    constexpr size_t kRead = 1 << 16, kDirect = 1 << 12;
    size_t got = 0;
    while (got < size) {
        if (g.input_at == g.input.used) {
            g.input_at = g.input.used = 0;
            if (g.pipe == nullptr || g.at_end) break;
            if (size - got >= kDirect) {
                const size_t want = std::min(size - got, kRead);
                const int64_t n = rtoread(g.pipe, buffer + got, want);
                if (n <= 0) {
                    g.at_end = true;
                    break;
                }
                got += static_cast<uint64_t>(n) < want ? static_cast<size_t>(n) : want;
                continue;
            }
            if (!g.input.reserve(kRead)) scan_fatal("no memory for the input");
            const int64_t n = rtoread(g.pipe, g.input.p, kRead);
            if (n <= 0) {
                g.at_end = true;
                break;
            }
            g.input.used = static_cast<uint64_t>(n) < kRead ? static_cast<size_t>(n) : kRead;
        }
        const size_t n = std::min(size - got, g.input.used - g.input_at);
        std::memcpy(buffer + got, g.input.p + g.input_at, n);
        g.input_at += n, got += n;
    }
    return got;
}

void scan_fatal(const char *what) { throw ScanFailure{what}; }

void *scan_alloc(size_t n) {
    void *p = zarn::xmalloc(n);
    if (p != nullptr) track(nullptr, p);
    return p;
}

void *scan_realloc(void *p, size_t n) {
    void *q = zarn::xrealloc(p, n);
    if (q != nullptr) track(p, q);
    return q;
}

void scan_free(void *p) {
    if (p != nullptr) track(p, nullptr);
    std::free(p);
}

void scan_name(Tok *t, char *text, size_t len) {
    text[len] = '\0';  // a closing quote, or the end the scanner marked already
    t->kind = Kind::Text;
    t->raw = false;
    t->i = len <= INT32_MAX ? static_cast<int32_t>(len) : -1;
    t->text = text;
}

// A number's text is converted only where a record takes its column.
void scan_number(Tok *t, char *text, size_t len, bool integer) {
    t->kind = integer ? Kind::Integer : Kind::Real;
    t->raw = true;
    t->i = len <= INT32_MAX ? static_cast<int32_t>(len) : -1;
    t->text = text;
}

// The commas after the first, as many empty columns; a count past the
// largest int stays there.
void scan_commas(Tok *t, const char *text, size_t len) {
    size_t commas = 0;
    for (const char *c = text, *end = text + len;
         (c = static_cast<const char *>(std::memchr(c, ',', static_cast<size_t>(end - c)))) != nullptr; ++c)
        ++commas;
    t->i = commas - 1 < INT32_MAX ? static_cast<int32_t>(commas - 1) : INT32_MAX;
}

void scan_unexpected(char c) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x20 && u < 0x7f) {
        zarn::rtopipe::report(msg::kUnexpectedChar, c);
    } else {
        zarn::rtopipe::report(msg::kUnexpectedCode, static_cast<int>(static_cast<signed char>(c)));
    }
}

void scan_ended() { g.ended = true; }

void scan_unterminated() { zarn::rtopipe::report("%s", msg::kUnterminated); }

// Parser side.

void syntax_error(const char *what) {
    const bool stack = std::strcmp(what, "memory exhausted") == 0;
    zarn::rtopipe::report(msg::kSyntax, stack ? msg::kStackOverflow : msg::kParseError);
}

void header_begin() {
    g.ncols = 0;
    g.bad = false;
}

void header_word(Tok *word) {
    for (char *c = word->text; *c != '\0'; ++c)
        if (*c >= 'a' && *c <= 'z') *c = static_cast<char>(*c - 'a' + 'A');
    if (g.bad) return;  // no room for the columns (reported)
    if (g.ncols == g.cap && !grow_columns()) {
        zarn::rtopipe::report(msg::kNoMemory, "VARFILE reader");
        g.bad = true;
        return;
    }
    g.attribute[g.ncols++] = RTVarAttributeNames::Value(word->text);
}

void header_end() {
    g.name_col = g.ptype_col = g.units_col = g.baseuom_col = g.spec_col = -1;
    bool seen[kAttributeCount] = {};
    for (int c = 0; c < g.ncols; ++c) {
        const int a = g.attribute[c];
        g.accepted[c] = 0;
        if (a < 0 || a >= kAttributeCount) continue;
        if (seen[a]) g.bad = true;
        seen[a] = true;
        switch (a) {
            case A::NAME:
                g.name_col = c;
                break;
            case A::PHYSICAL_TYPE:
                g.ptype_col = c;
                break;
            case A::UNITS:
                g.units_col = c;
                break;
            case A::BASEUOM:
                g.baseuom_col = c;
                break;
            case A::SPEC:
                g.spec_col = c;
                break;
            default:
                break;
        }
        g.accepted[c] = g.rec->AcceptsAttribute(A::VarAttribute(a)) ? kTakes | kKeepsText : 0;
    }
    if (g.name_col < 0) g.bad = true;
    g.file_units = g.units_col >= 0 && !(g.accepted[g.units_col] & kTakes);
    for (int c = 0; c < g.ncols; ++c)
        if (g.accepted[c] & kTakes) g.accepted[c] |= kAssigns;
    for (const int c : {g.name_col, g.ptype_col, g.units_col, g.baseuom_col, g.spec_col})
        if (c >= 0) g.accepted[c] |= kKeepsText;
    for (const int c : {g.name_col, g.ptype_col, g.units_col, g.baseuom_col})
        if (c >= 0) g.accepted[c] &= static_cast<uint8_t>(~kAssigns);
    for (int c = 0; c < g.ncols; ++c) g.fields[c].kind = Kind::None;
    g.nfields = 0;
}

// Only the fields the last record wrote are cleared, so that short records
// under a very wide header cost no more than their own length.
void record_begin() {
    if (!g.bad)
        for (int64_t c = 0, n = std::min<int64_t>(g.nfields, g.ncols); c < n; ++c)
            g.fields[c].kind = Kind::None;
    g.nfields = 0;
    g.text.used = 0;
    g.lost = false;
}

void record_field(const Tok &t) {
    if (!g.bad && g.nfields < g.ncols) {
        Field &f = g.fields[g.nfields];
        if (t.raw) {
            f = g.accepted[g.nfields] & kTakes
                    ? number_field(t.text, length_of(t), t.kind == Kind::Integer, g.text.used)
                    : Field{t.kind, 0, 0.0, g.text.used};
            ++g.nfields;
            return;
        }
        f = Field{t.kind, 0, 0.0, g.text.used};
        if (t.kind == Kind::Text && (g.accepted[g.nfields] & kKeepsText)) {
            const size_t len = length_of(t);
            if (len < SIZE_MAX - g.text.used && g.text.reserve(g.text.used + len + 1)) {
                std::memcpy(g.text.p + g.text.used, t.text, len + 1);
                g.text.used += len + 1;
            } else if (!g.lost) {
                zarn::rtopipe::report(msg::kNoMemory, "VARFILE reader");
                g.lost = true;
            }
        }
    }
    ++g.nfields;
}

void record_skip(int32_t empty) { g.nfields += empty; }

void record_end() {
    if (g.bad || g.lost) return;
    const Field &name = g.fields[g.name_col];
    const bool named = g.name_col < g.nfields && name.kind == Kind::Text;
    if (g.nfields > g.ncols) {
        if (named) {
            zarn::rtopipe::report(msg::kMoreFieldsNamed, text_of(name), clamp_int(g.nfields), g.ncols);
        } else {
            zarn::rtopipe::report(msg::kMoreFields, clamp_int(g.nfields), g.ncols);
        }
        return;
    }
    if (!named) {
        zarn::rtopipe::report("%s", msg::kNameNotText);
        return;
    }
    const int index = g.rec->LookupVariable(text_of(name));
    if (index == 0) return;
    A::VarAttribute query;
    if (g.rec->QueryAttribute(&query)) {
        const bool spec = query == A::SPEC && g.spec_col >= 0 && g.spec_col < g.nfields &&
                          g.fields[g.spec_col].kind == Kind::Text;
        if (!spec || !g.rec->QueryMatches(index, A::SPEC, text_of(g.fields[g.spec_col]), 0, 0)) return;
    }
    // The type and unit first, so that the numbers are converted with them.
    assign_unit_word(index, g.ptype_col, msg::kUomNotText);
    assign_unit_word(index, g.baseuom_col, msg::kBaseUomNotText);
    assign_unit_word(index, g.units_col, msg::kUomNotText);
    // Under the file-unit rule a record without a unit text keeps each
    // variable's display unit.
    const char *unit = nullptr;
    if (g.file_units && g.units_col < g.nfields && g.fields[g.units_col].kind == Kind::Text)
        unit = text_of(g.fields[g.units_col]);
    for (int c = 0; c < g.nfields; ++c) {
        if (!(g.accepted[c] & kAssigns)) continue;
        const Field &f = g.fields[c];
        const auto a = A::VarAttribute(g.attribute[c]);
        switch (f.kind) {
            case Kind::Text:
                g.rec->AssignString(index, a, text_of(f));
                break;
            case Kind::Real:
                if (unit != nullptr) {
                    g.rec->AssignRealInUnit(index, a, f.r, unit);
                } else {
                    g.rec->AssignReal(index, a, f.r);
                }
                break;
            case Kind::Integer:
                if (unit != nullptr) {
                    g.rec->AssignIntegerInUnit(index, a, f.i, unit);
                } else {
                    g.rec->AssignInteger(index, a, f.i);
                }
                break;
            case Kind::None:
                break;
        }
    }
}

void parse_varfile(::rtopipe *pipe, VarRecorder *rec) {
    if (g.rec != nullptr) {
        zarn::rtopipe::report(msg::kBusy);
        return;
    }
    if (g.buffered != pipe) {
        // Another reader stopped early and left input in the scanner: that reader
        // resumes after it.
        if (g.buffered != nullptr) {
            const char *other = rtodesc(const_cast<::rtopipe *>(g.buffered));
            zarn::rtopipe::report(msg::kReadAheadDropped, other ? other : "another pipe");
        }
        reset_scanner();
    }
    g.buffered = pipe, g.pipe = pipe, g.rec = rec;
    g.ended = false, g.bad = true, g.ncols = 0;
    bool failed = false;
    try {
        zvfparse();
    } catch (const ScanFailure &f) {
        zarn::rtopipe::report(msg::kScannerFailed, f.what);
        failed = true;
    } catch (...) {
        reset_scanner(), free_columns();
        g.rec = nullptr, g.pipe = nullptr;
        throw;
    }
    // At the end of the input the next run starts afresh; after a parse
    // that stopped early the scanner keeps the rest of this pipe's input.
    if (g.ended || failed) reset_scanner();
    free_columns();
    g.rec = nullptr, g.pipe = nullptr;
}

void forget_input(const ::rtopipe *pipe) {
    if (pipe != nullptr && g.buffered == pipe && g.rec == nullptr) reset_scanner();
}

namespace {

gl_list_t *g_read_mask = nullptr;

}  // namespace

}  // namespace zarn::varfile

namespace vf = zarn::varfile;

gl_list_t *createReadVarFileMask(void) {
    gl_list_t *list = gl_create();
    for (int a = 0; list != nullptr && a < vf::kAttributeCount; ++a) {
        if (!vf::ac::kVarfile[a].read) continue;
        const uint32_t before = gl_length(list);
        gl_addtoend(list, reinterpret_cast<void *>(static_cast<intptr_t>(a)));
        if (gl_length(list) == before) {
            gl_destroylist(list);
            list = nullptr;
        }
    }
    if (list == nullptr) zarn::rtopipe::report(vf::msg::kNoMemory, "createReadVarFileMask");
    return list;
}

gl_list_t *get_readVarFile_mask(void) {
    if (vf::g_read_mask != nullptr && gl_length(vf::g_read_mask) > 0) return vf::g_read_mask;
    gl_destroylist(vf::g_read_mask);
    vf::g_read_mask = createReadVarFileMask();
    return vf::g_read_mask;
}

RTVarFileReader::RTVarFileReader(rtopipe *pipe, rtvarlst_t *list)
    : RTVarFileIO(list, WARNINGS), pipe_(pipe) {}

RTVarFileReader::~RTVarFileReader() {
    vf::forget_input(pipe_);
    if (pipe_ != nullptr) rtodestroy(pipe_);
}

int RTVarFileReader::SupportedAttribute(VarAttribute a) const {
    return a >= 0 && a < vf::kAttributeCount && !DerivedAttribute(a) ? 1 : 0;
}

void RTVarFileReader::Reset() {
    RTVarFileIO::Reset();
    AddSupportedAttributes();
}

void RTVarFileReader::AddSupportedAttributes() {
    for (int a = 0; a < vf::kAttributeCount; ++a)
        if (SupportedAttribute(VarAttribute(a))) AddAttribute(VarAttribute(a));
}

void RTVarFileReader::CopyReadMask(const char *who) {
    gl_list_t *mask = get_readVarFile_mask();
    gl_list_t *copy = mask != nullptr ? gl_copy(mask, gl_samedata) : nullptr;
    if (copy != nullptr) {
        gl_destroylist(attributes_);
        attributes_ = copy;
    } else {
        zarn::rtopipe::report(vf::msg::kNoMemory, who);
    }
}

bool RTVarFileReader::Read(VarRecorder &rec, const char *who) {
    if (pipe_ == nullptr) {
        zarn::rtopipe::report(vf::msg::kNoInput, who);
        return false;
    }
    vf::parse_varfile(pipe_, &rec);
    return true;
}

RTVarFileIn::RTVarFileIn(rtopipe *pipe, rtvarlst_t *list) : RTVarFileReader(pipe, list) {
    CopyReadMask("RTVarFileIn");
}

RTVarFileIn::~RTVarFileIn() = default;

void RTVarFileIn::Go() {
    AssignRecorder recorder(attributes_, list_, GetLevel(), this);
    Read(recorder, "RTVarFileIn");
}
