// zarn xfile: the header, the names and the values of an X-file, read with the
// library's low-level X-file reader. Which attribute each word of a variable
// holds, and its name, label and words, come from the attribute catalogue.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "attrcat/attrcat.h"
#include "zarn.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/varmask.h"
#include "zarnutils/xfile.h"

namespace zarn::cli {
namespace {

namespace cat = zarn::attrcat;

// A bar is worth showing from this many bytes on.
constexpr uint64_t kProgressBytes = 1u << 20;

// One word of a variable: the attribute code it belongs to and, for the
// modified masks, which of the two it is.
struct Slot {
    int code;
    int part;
};

// The words of every variable of a file, fixed by its flags, in file order.
struct Layout {
    bool names = false;
    std::vector<Slot> ints;
    std::vector<int> reals;
    uint64_t bytes() const { return 4u * (1 + (names ? 32 : 0) + ints.size() + 2 * reals.size()); }
};

Layout layout_of(const int64_t flags[RTXFILE_NFLAGS]) {
    Layout l;
    l.names = flags[RTXFILE_NAME - 1] != 0;
    for (int8_t code : cat::kXfileIntOrder) {
        if (flags[code - 1] == 0) continue;
        l.ints.push_back({code, 0});
        if (cat::kXfile[code].kind == cat::XKind::Pair) l.ints.push_back({code, 1});
    }
    for (int8_t code : cat::kXfileRealOrder)
        if (flags[code - 1] != 0) l.reals.push_back(code);
    return l;
}

struct Variable {
    int64_t index = 0;
    char name[RTXFILE_NAME_LEN + 1] = {};
    int64_t ints[RTXFILE_MAX_INT_WORDS] = {};
    double reals[RTXFILE_MAX_REALS] = {};

    // The name up to its first NUL, without trailing blanks.
    std::string text() const {
        std::string s(name, strnlen(name, RTXFILE_NAME_LEN));
        while (!s.empty() && s.back() == ' ') s.pop_back();
        return s;
    }
};

// An X-file open for reading on a unit of the library's table.
class Reader {
  public:
    Reader(const Call &call, const char *path) : call_(call), path_(path) {}
    ~Reader() { close(); }
    Reader(const Reader &) = delete;
    Reader &operator=(const Reader &) = delete;

    // Reads the header; false after an error line.
    bool open() {
        struct stat st {};
        if (::stat(path_.c_str(), &st) != 0) return error(std::strerror(errno));
        if (S_ISDIR(st.st_mode)) return error("is a directory, not an X-file");
        size_ = static_cast<uint64_t>(st.st_size);
        if (size_ < RTXFILE_RECORD_BYTES)
            return error("too short for an X-file (" + std::to_string(size_) +
                         " bytes; the header alone takes " + std::to_string(RTXFILE_RECORD_BYTES) + ")");
        int64_t error_flag = 0;
        RTO_GETIOC(&unit_, &error_flag);
        if (error_flag != 0) {
            unit_ = -1;
            return error("no free I/O unit");
        }
        int64_t status = 0;
        RTO_OPENRD_XFILE_F(&unit_, path_.c_str(), &magic_, digest_, flags_, &first_, &last_, &status,
                           path_.size());
        drop_messages();
        if (status == RTXFILE_STATUS_BAD)
            return error("not an X-file: its header is damaged (the flag count does not fit the record)");
        if (status != 0) return error("cannot be read (I/O status " + std::to_string(status) + ")");
        opened_ = true;
        if (magic_ != RTXFILE_MAGIC) return error("not an X-file: the first word is not the X-file mark");
        version_ = RTO_INQ_XFILE_VERSION_F();
        layout_ = layout_of(flags_);
        return true;
    }

    // The next variable: 1, 0 at the end mark, -1 after an error line.
    int next(Variable *v) {
        int64_t eof = 0, status = 0;
        RTO_READ_XFILE_F(&unit_, &v->index, v->name, v->ints, v->reals, &eof, &status, RTXFILE_NAME_LEN);
        if (status == RTXFILE_STATUS_SHORT) {
            error("truncated: the file ends after " + std::to_string(count_) +
                  " variables, before its end mark");
            return -1;
        }
        if (status != 0) {
            error("read error (I/O status " + std::to_string(status) + ")");
            return -1;
        }
        if (eof != 0) return 0;
        ++count_;
        return 1;
    }

    // Reads every variable, calling each(v) on it, with a progress bar; true at the end mark.
    template <class F>
    bool each(F each) {
        const size_t slash = path_.rfind('/');
        Progress bar("zarn: reading " + path_.substr(slash == std::string::npos ? 0 : slash + 1), size_,
                     kProgressBytes);
        Variable v;
        for (int got; (got = next(&v)) != 0;) {
            if (got < 0) return false;
            each(v);
            bar.update(RTXFILE_RECORD_BYTES + count_ * layout_.bytes());
        }
        bar.update(size_);
        return true;
    }

    const Layout &layout() const { return layout_; }
    const int64_t *digest() const { return digest_; }
    const int64_t *flags() const { return flags_; }
    int64_t first() const { return first_; }
    int64_t last() const { return last_; }
    int64_t version() const { return version_; }
    uint64_t size() const { return size_; }
    uint64_t count() const { return count_; }
    const std::string &path() const { return path_; }

  private:
    bool error(const std::string &what) {
        fail(call_, path_ + ": " + what);
        return false;
    }
    void close() {
        if (unit_ < 0) return;
        int64_t status = 0;
        if (opened_) RTO_CLOSE_XFILE_F(&unit_, &status);
        RTO_FREIOC(&unit_);
        unit_ = -1;
        drop_messages();
    }

    const Call &call_;
    std::string path_;
    int64_t unit_ = -1;
    bool opened_ = false;
    uint64_t size_ = 0;
    int64_t magic_ = 0, first_ = 0, last_ = 0, version_ = 0;
    int64_t digest_[RTXFILE_NDIGEST] = {};
    int64_t flags_[RTXFILE_NFLAGS] = {};
    Layout layout_;
    uint64_t count_ = 0;
};

// ---- what an attribute's word means ----

std::string trimmed_label(const char *label) {
    std::string s = label != nullptr ? label : "";
    return s.substr(s.find_first_not_of(' ') == std::string::npos ? s.size() : s.find_first_not_of(' '));
}

// A name and its code, or the code alone when it has no name.
std::string coded(const char *word, int64_t code) {
    if (word == nullptr || *word == '\0') return std::to_string(code);
    return std::string(word) + " (" + std::to_string(code) + ")";
}

// How the catalogue shows an integer attribute of a variable: the written form
// of its VARFILE column (a physical type, a unit, a connection type, a word).
std::string integer_text(int code, int64_t v, int64_t ptype) {
    const cat::Attribute &row = cat::kRows[cat::kXfile[code].row];
    const cat::Form form = row.varfile >= 0 ? cat::kVarfile[row.varfile].form : cat::Form::Plain;
    switch (form) {
        case cat::Form::TypeName:
            return coded(v >= 0 && v < RTOUOM_NTYPES ? rtouom_ptype_name(static_cast<int>(v)) : nullptr, v);
        case cat::Form::UnitName:
        case cat::Form::BaseName: {
            const bool known = ptype >= 0 && ptype < RTOUOM_NTYPES && v >= 1 && v <= rtouom_count[ptype];
            return coded(known ? rtouom_uom_name(static_cast<int>(ptype), static_cast<int>(v)) : nullptr, v);
        }
        case cat::Form::ConnName:
            return coded(v >= 0 && v < CONN_TYPE_COUNT ? conn_type_string[v] : nullptr, v);
        case cat::Form::Word:
            return coded(row.words != nullptr ? cat::word_of(*row.words, v) : nullptr, v);
        default:
            return std::to_string(v);
    }
}

std::string hex_digest(const int64_t *digest) {
    bool bytes = true;
    for (int k = 0; k < RTXFILE_NDIGEST; ++k) bytes = bytes && digest[k] >= 0 && digest[k] <= 255;
    std::string out;
    char text[24];
    for (int k = 0; k < RTXFILE_NDIGEST; ++k) {
        // A digest written elsewhere may hold other numbers: then they are shown as they are.
        if (bytes)
            std::snprintf(text, sizeof text, "%02x", static_cast<unsigned>(digest[k]));
        else
            std::snprintf(text, sizeof text, "%s%lld", k == 0 ? "" : " ", static_cast<long long>(digest[k]));
        out += text;
    }
    return out;
}

// ---- the commands ----

int info(const Call &call) {
    Reader file(call, call.args[0]);
    if (!file.open() || !file.each([](const Variable &) {})) return kBad;
    std::printf("file        %s\n", file.path().c_str());
    std::printf("size        %llu bytes\n", static_cast<unsigned long long>(file.size()));
    std::printf("version     %lld\n", static_cast<long long>(file.version()));
    std::printf("digest      %s\n", hex_digest(file.digest()).c_str());
    std::printf("first       %lld\n", static_cast<long long>(file.first()));
    std::printf("last        %lld\n", static_cast<long long>(file.last()));
    std::printf("variables   %llu\n", static_cast<unsigned long long>(file.count()));
    int present = 0;
    for (int code = 1; code <= RTXFILE_NFLAGS; ++code) present += file.flags()[code - 1] != 0;
    std::printf("attributes  %d\n", present);
    for (int code = 1; code <= RTXFILE_NFLAGS; ++code) {
        if (file.flags()[code - 1] == 0) continue;
        const cat::XfileAttribute &x = cat::kXfile[code];
        std::string label = trimmed_label(x.label);
        if (x.label2 != nullptr) label += ", " + trimmed_label(x.label2);
        std::string line =
            "  " + std::string(code < 10 ? " " : "") + std::to_string(code) + " " + cat::kRows[x.row].name;
        if (!label.empty()) line += std::string(line.size() < 20 ? 20 - line.size() : 1, ' ') + label;
        std::printf("%s\n", line.c_str());
    }
    return kDone;
}

int names(const Call &call) {
    Reader file(call, call.args[0]);
    if (!file.open()) return kBad;
    if (!file.layout().names)
        return report(call, file.path() + ": holds no names (saved without the NAME attribute)", kNothing);
    if (!file.each([](const Variable &v) { std::printf("%s\n", v.text().c_str()); })) return kBad;
    if (file.count() == 0) return report(call, file.path() + ": holds no variables", kNothing);
    return kDone;
}

// One variable as the restore listing labels its attributes.
void print_variable(const Layout &layout, const Variable &v) {
    std::string head = std::to_string(v.index);
    if (layout.names) head += " " + v.text();
    std::printf("%s\n", head.c_str());
    // The words by code, for the units that need the physical type.
    int64_t by_code[RTXFILE_NFLAGS + 1][2] = {};
    bool held[RTXFILE_NFLAGS + 1] = {};
    for (size_t k = 0; k < layout.ints.size(); ++k) {
        by_code[layout.ints[k].code][layout.ints[k].part] = v.ints[k];
        held[layout.ints[k].code] = true;
    }
    double real_by_code[RTXFILE_NFLAGS + 1] = {};
    for (size_t k = 0; k < layout.reals.size(); ++k) {
        real_by_code[layout.reals[k]] = v.reals[k];
        held[layout.reals[k]] = true;
    }
    const int64_t ptype = held[RTXFILE_PHYSICAL_TYPE] ? by_code[RTXFILE_PHYSICAL_TYPE][0] : -1;
    for (int8_t code : cat::kXfileLabelOrder) {
        if (!held[code]) continue;
        const cat::XfileAttribute &x = cat::kXfile[code];
        if (x.kind == cat::XKind::Real) {
            const double r = real_by_code[code];
            std::printf("%-20s%s%s\n", x.label, number(r).c_str(),
                        r == cat::kUndefined ? " (undefined)" : "");
        } else if (x.kind == cat::XKind::Pair) {
            std::printf("%-20s%lld\n", x.label, static_cast<long long>(by_code[code][0]));
            std::printf("%-20s%lld\n", x.label2, static_cast<long long>(by_code[code][1]));
        } else {
            std::printf("%-20s%s\n", x.label, integer_text(code, by_code[code][0], ptype).c_str());
        }
    }
}

int dump(const Call &call) {
    Reader file(call, call.args[0]);
    if (!file.open()) return kBad;
    const Layout &layout = file.layout();
    if (!file.each([&layout](const Variable &v) { print_variable(layout, v); })) return kBad;
    if (file.count() == 0) return report(call, file.path() + ": holds no variables", kNothing);
    return kDone;
}

const Command kCommands[] = {
    {"info", "FILE", "header, attributes, first and last index, version",
     "Reads the whole file (a damaged or truncated one is reported) and prints its\n"
     "size, format version, name digest, the first and last variable index saved,\n"
     "how many variables it holds, and each attribute present: its X-file code,\n"
     "the catalogue's attribute name and the label a restore prints.\n"
     "\n"
     "example: zarn xfile info state.xf",
     1, 1, nullptr, info},
    {"names", "FILE", "the variable names, one a line",
     "Exit 1 when the file was saved without names or holds no variables.\n"
     "\n"
     "example: zarn xfile names state.xf | grep REACTOR",
     1, 1, nullptr, names},
    {"dump", "FILE", "every variable's saved values, like the restore listing",
     "For each variable: its index and name, then one line per attribute in the\n"
     "order a restore lists them, with the restore's labels. Coded values show\n"
     "their word and code (CONST (1), TEMPERATURE (22)); reals are the numbers\n"
     "the file holds (in the variable's base unit, times its internal scale).\n"
     "\n"
     "example: zarn xfile dump state.xf | less",
     1, 1, nullptr, dump},
};

}  // namespace

const Family kXfileFamily = {"xfile", "X-files: binary saves of variable attributes", kCommands,
                             sizeof kCommands / sizeof kCommands[0]};

}  // namespace zarn::cli
