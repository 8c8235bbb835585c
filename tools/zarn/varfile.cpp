// zarn varfile: what a VARFILE holds, the variables of one that pass a query,
// and how a second file differs from the state a first one describes. The
// library's VARFILE readers and writer and its variable query engine do the
// work; attribute words come from the attribute catalogue.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "attrcat/attrcat.h"
#include "zarn.h"
#include "zarnutils/qdlquery.hpp"
#include "zarnutils/rtopipe.h"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/stred.h"
#include "zarnutils/varfile.hpp"

namespace zarn::cli {
namespace {

namespace cat = zarn::attrcat;
using Attribute = RTVarDatabase::VarAttribute;

// A bar is worth showing from this many bytes on.
constexpr uint64_t kProgressBytes = 1u << 20;
// The column widths a host writes with by default.
constexpr int kNameWidth = 20, kRealWidth = 16, kPageWidth = 132, kUomWidth = 12;
// The longest name the library's readers look up.
constexpr size_t kLongestName = 1024;

std::string base_name(const std::string &path) {
    const size_t slash = path.rfind('/');
    return path.substr(slash == std::string::npos ? 0 : slash + 1);
}

// ---- a file as the library's readers read it ----

// A pipe kind of zarn's own over an open file: it moves the progress bar as
// the reader takes the file in, and while a file is checked it ends the
// input at the library's first message, so that a file of binary garbage is
// not read (and complained about) to its end.
struct FileSource {
    rtopipe pipe;  // first: the library holds the record through it
    FILE *file;
    std::string name;
    Progress *bar;
    uint64_t done;
    bool stop_on_message;
    std::vector<std::string> *said;
};

int64_t source_read(rtopipe *pipe, char *buffer, size_t size) {
    auto *s = static_cast<FileSource *>(pipe->data);
    if (s->stop_on_message) {
        std::vector<std::string> lines = take_message_lines();
        if (!lines.empty()) {
            s->said->insert(s->said->end(), lines.begin(), lines.end());
            return 0;
        }
    }
    const size_t n = std::fread(buffer, 1, size, s->file);
    s->done += n;
    if (s->bar != nullptr) s->bar->update(s->done);
    return static_cast<int64_t>(n);
}

void source_destroy(rtopipe *pipe) {
    auto *s = static_cast<FileSource *>(pipe->data);
    std::fclose(s->file);
    delete s;
}

const char *source_describe(rtopipe *pipe) { return static_cast<FileSource *>(pipe->data)->name.c_str(); }

// A VARFILE on disk: the checks before any reading, and fresh pipes over it.
class Input {
  public:
    Input(const Call &call, const char *path) : call_(call), path_(path) {}

    // False after an error line when the path cannot be a VARFILE: missing,
    // a directory, unreadable, or cut short (a VARFILE's last line ends with
    // a line end).
    bool check() {
        struct stat st {};
        if (::stat(path_.c_str(), &st) != 0) return error(std::strerror(errno));
        if (S_ISDIR(st.st_mode)) return error("is a directory, not a VARFILE");
        size_ = static_cast<uint64_t>(st.st_size);
        FILE *f = std::fopen(path_.c_str(), "rb");
        if (f == nullptr) return error(std::strerror(errno));
        int last = '\n';
        if (size_ > 0 && std::fseek(f, -1, SEEK_END) == 0) last = std::fgetc(f);
        std::fclose(f);
        if (last != '\n') return error("truncated: the last line has no line end");
        return true;
    }

    // A new pipe reading the file from its start, owned by the reader it is
    // handed to; null after an error line.
    rtopipe *open(Progress *bar, bool stop_on_message) {
        FILE *f = std::fopen(path_.c_str(), "rb");
        if (f == nullptr) {
            error(std::strerror(errno));
            return nullptr;
        }
        auto *s = new FileSource{{}, f, path_, bar, 0, stop_on_message, &said_};
        s->pipe.read = source_read;
        s->pipe.destroy = source_destroy;
        s->pipe.describe = source_describe;
        s->pipe.data = s;
        s->pipe.refcount = 1;
        return &s->pipe;
    }

    // What the library said while reading the file, gathered from the pipe
    // and after the reading; cleared.
    std::vector<std::string> said() {
        std::vector<std::string> rest = take_message_lines();
        said_.insert(said_.end(), rest.begin(), rest.end());
        std::vector<std::string> all;
        all.swap(said_);
        return all;
    }

    // The error line of a file the reader complained about.
    bool refuse(const std::vector<std::string> &lines) {
        std::string why = "not a readable VARFILE: " + lines.front();
        if (lines.size() > 1) why += " (and " + std::to_string(lines.size() - 1) + " more messages)";
        return error(why);
    }

    bool error(const std::string &what) {
        fail(call_, path_ + ": " + what);
        return false;
    }

    // One line for fields the reader would not take, which leave the rest read.
    void warn(const std::vector<std::string> &lines) {
        std::string what = path_ + ": warning: " + lines.front();
        if (lines.size() > 1) what += " (and " + std::to_string(lines.size() - 1) + " more messages)";
        report(call_, what, kDone);
    }

    const std::string &path() const { return path_; }
    uint64_t size() const { return size_; }
    std::string bar_text(const char *doing) const {
        return std::string("zarn: ") + doing + " " + base_name(path_);
    }

  private:
    const Call &call_;
    std::string path_;
    uint64_t size_ = 0;
    std::vector<std::string> said_;
};

// ---- one pass over a file that assigns nothing ----

// What a pass over a file noted: the sections (headers that name an
// attribute), the records, the attributes the headers name, and the records
// whose name a list to look in lacks.
struct Shape {
    int64_t sections = 0, records = 0, unknown = 0;
    uint32_t noted = 0;  // bit 1 << attribute
    bool full = false;   // a list to fill could not grow
    bool names(int a) const { return (noted >> a & 1u) != 0; }
};

// Takes the records of a file through the library's reader without
// assigning anything. With a list to fill, every name not yet in it (in
// upper case, as readers look names up) becomes a new variable.
class Survey : public RTVarFileReader {
  public:
    enum Mode { kCount, kCollect, kLookUp };

    Survey(rtopipe *pipe, rtvarlst_t *list, Mode mode) : RTVarFileReader(pipe, nullptr), rec_(list, mode) {}
    void Go() override { Read(rec_, "zarn"); }
    const Shape &shape() const { return rec_.shape; }

  private:
    struct Recorder : VarRecorder {
        Recorder(rtvarlst_t *l, Mode m) : list(l), mode(m) {}

        // Asked for each attribute of a header, before its records.
        int AcceptsAttribute(Attribute a) override {
            if (a >= 0 && a < ZARN_VARFILE_ATTRIBUTE_COUNT) shape.noted |= 1u << a;
            if (!in_header) ++shape.sections;
            in_header = true;
            return 0;  // no field is wanted: records are only counted and named
        }
        int LookupVariable(const char *name) override {
            in_header = false;
            ++shape.records;
            if (mode == kCount) return 0;
            const size_t n = std::strlen(name);
            if (n > kLongestName) {
                shape.unknown += mode == kLookUp ? 1 : 0;
                return 0;
            }
            upper.assign(name, n);
            stred_upper_case(upper.data());
            const int32_t found = rtovarlst__varname2index(list, upper.c_str());
            if (mode == kLookUp && found == 0) ++shape.unknown;
            if (mode == kCollect && found == 0) add(upper.c_str());
            return 0;
        }
        void add(const char *name) {
            const int32_t count = rtovarlst_inq_nvar(list);
            if (count == rtovarlst_inq_capacity(list)) {
                const int32_t more = count < 1024 ? 1024 : count > INT32_MAX / 2 ? INT32_MAX : 2 * count;
                if (more > count) rtovarlst_resize(list, more);
                if (rtovarlst_inq_capacity(list) == count) {
                    shape.full = true;
                    return;
                }
            }
            rtovarlst_set_nvar(list, count + 1);
            rtovarlst_addvar(list, count + 1, name);
        }
        void AssignReal(int, Attribute, double) override {}
        void AssignInteger(int, Attribute, int) override {}
        void AssignString(int, Attribute, const char *) override {}
        void AssignRealInUnit(int, Attribute, double, const char *) override {}
        void AssignIntegerInUnit(int, Attribute, int, const char *) override {}
        int QueryAttribute(Attribute *) override { return 0; }
        int QueryMatches(int, Attribute, const char *, int, int) override { return 1; }

        rtvarlst_t *list;
        Mode mode;
        std::string upper;
        Shape shape;
        bool in_header = false;
    };
    Recorder rec_;
};

// One checking pass over a file; false after an error line when the library
// complained about the file.
bool survey(Input &file, Survey::Mode mode, rtvarlst_t *list, Shape *shape) {
    Progress bar(file.bar_text("checking"), file.size(), kProgressBytes);
    rtopipe *pipe = file.open(&bar, true);
    if (pipe == nullptr) return false;
    {
        Survey s(pipe, list, mode);
        s.Go();
        *shape = s.shape();
    }
    bar.done();
    const std::vector<std::string> said = file.said();
    if (!said.empty()) return file.refuse(said);
    if (shape->full) return file.error("too many variables for one list");
    return true;
}

// A variable list that owns itself.
struct List {
    rtvarlst_t *p = rtovarlst_create(0);
    List() = default;
    ~List() { rtovarlst_destroy_c(&p); }
    List(const List &) = delete;
    List &operator=(const List &) = delete;
};

// Makes a list of the file's names and reads the file's values into it, as a
// host reads a VARFILE back; false after an error line.
bool load(Input &file, List &list, Shape *shape) {
    if (list.p == nullptr) return file.error("no memory for a variable list");
    if (!file.check() || !survey(file, Survey::kCollect, list.p, shape)) return false;
    Progress bar(file.bar_text("reading"), file.size(), kProgressBytes);
    rtopipe *pipe = file.open(&bar, false);
    if (pipe == nullptr) return false;
    {
        RTVarFileIn in(pipe, list.p);
        in.AddAttribute(RTVarDatabase::MODIFIED);
        in.Go();
    }
    bar.done();
    const std::vector<std::string> said = file.said();
    if (!said.empty()) file.warn(said);
    return true;
}

// ---- the query engine over a list ----

// The model a variable query runs over: one list, no block, no equations,
// parameters or ports; names looked up in the list. It lives on the stack,
// so its references are not counted.
struct ListModel final : QDLEOCntr, QDLVariableSource {
    explicit ListModel(rtvarlst_t *l) : list(l) {}

    int32_t ObjectCount(int32_t kind) override {
        return kind == QDL_VARIABLES ? rtovarlst_inq_nvar(list) : 0;
    }
    rtvarlst_t *VariableList() override { return list; }
    bool LoadEquation(int32_t, QDLEquationData *) override { return false; }
    bool CommitEquation(int32_t, const QDLEquationData *) override { return false; }
    bool LoadParameter(int32_t, QDLParameterData *) override { return false; }
    bool CommitParameter(int32_t, const QDLParameterData *) override { return false; }
    bool ParameterModified(int32_t, int32_t) override { return false; }
    qdl_port *Port(int32_t) override { return nullptr; }
    QDLVariableSource *VariableSource(QDLEOBlock *) override { return this; }

    int32_t Lookup(const char *name) override { return rtovarlst__varname2index(list, name); }
    bool Load(int32_t, QDLVariableData *, bool) override { return false; }
    QDLResultSet *Query(const char *) override { return nullptr; }

    rtvarlst_t *list;
};

// The writer, writing only the variables chosen.
class ChosenOut : public RTVarFileOut {
  public:
    ChosenOut(rtopipe *pipe, rtvarlst_t *list, const std::vector<bool> &chosen)
        : RTVarFileOut(pipe, list, kNameWidth, kRealWidth, kPageWidth, kUomWidth), chosen_(chosen) {}
    int IncludeVar(int i) const override {
        return i >= 1 && static_cast<size_t>(i) <= chosen_.size() && chosen_[static_cast<size_t>(i) - 1] ? 1
                                                                                                         : 0;
    }

  private:
    const std::vector<bool> &chosen_;
};

// Standard output as a pipe that the writer fills in large pieces.
rtopipe *stdout_pipe() {
    rtopipe *out = create_ascii_stream_rtopipe(stdout, "standard output", 0);
    if (out != nullptr) rtosetflushlevel(out, RTOPIPE_FLUSH_NEVER);
    return out;
}

// ---- the commands ----

int info(const Call &call) {
    Input file(call, call.args[0]);
    Shape shape;
    if (!file.check() || !survey(file, Survey::kCount, nullptr, &shape)) return kBad;
    Progress bar(file.bar_text("listing"), file.size(), kProgressBytes);
    rtopipe *pipe = file.open(&bar, false);
    if (pipe == nullptr) return kBad;
    RTVarFileQry query(pipe);
    query.Go();
    bar.done();
    drop_messages();  // the file was checked above
    std::printf("file        %s\n", file.path().c_str());
    std::printf("size        %llu bytes\n", static_cast<unsigned long long>(file.size()));
    std::printf("sections    %lld\n", static_cast<long long>(shape.sections));
    std::printf("records     %lld\n", static_cast<long long>(shape.records));
    std::printf("attributes  %d\n", query.NumAttr());
    for (int k = 0; k < query.NumAttr(); ++k) {
        const cat::VarfileAttribute &a = cat::kVarfile[query.AttrAt(k)];
        const char *note = a.derived ? "written only, never read back"
                           : a.read  ? ""
                                     : "not read back by default";
        if (*note == '\0') {
            std::printf("  %s\n", a.word);
        } else {
            std::printf("  %-15s%s\n", a.word, note);
        }
    }
    std::printf("blocks      %d\n", query.NumBlocks());
    for (int k = 0; k < query.NumBlocks(); ++k) std::printf("  %s\n", query.BlockIDAt(k));
    if (shape.records == 0) return report(call, file.path() + ": holds no records", kNothing);
    return kDone;
}

int query(const Call &call) {
    Input file(call, call.args[0]);
    const char *text = call.args[1];
    // Refused before a long read: an empty query never builds.
    if (*text == '\0') return fail(call, "bad query '': it is empty");
    List list;
    Shape shape;
    if (!load(file, list, &shape)) return kBad;
    ListModel model(list.p);
    IQDLQueryEngine *engine = QDLQueryFactory::NewVariableQuery(&model, nullptr);
    if (engine == nullptr) return fail(call, "no memory for a query");
    drop_messages();
    if (!engine->SetQueryText(text)) {
        engine->Release();
        const std::string why = take_messages();
        return fail(call,
                    "bad query '" + std::string(text) + "': " + (why.empty() ? "it does not build" : why));
    }
    engine->Execute();
    const int32_t found = engine->NumResults();
    std::vector<bool> chosen(static_cast<size_t>(rtovarlst_inq_nvar(list.p)), false);
    for (int32_t k = 0; k < found; ++k) {
        const int32_t i = engine->ResultAt(k);
        if (i >= 1 && static_cast<size_t>(i) <= chosen.size()) chosen[static_cast<size_t>(i) - 1] = true;
    }
    engine->Release();
    const std::string during = take_messages();
    if (!during.empty()) return fail(call, "the query failed: " + during);
    if (found == 0) return report(call, "no variable of " + file.path() + " matches", kNothing);
    rtopipe *out = stdout_pipe();
    if (out == nullptr) return fail(call, "cannot write to standard output");
    {
        ChosenOut writer(out, list.p, chosen);
        // The columns the file has and a reader takes back.
        writer.ClearAttributes();
        for (int a = 0; a < ZARN_VARFILE_ATTRIBUTE_COUNT; ++a)
            if (a == RTVarDatabase::NAME ||
                (shape.names(a) && (cat::kVarfile[a].read || a == RTVarDatabase::MODIFIED)))
                writer.AddAttribute(Attribute(a));
        writer.Go();
    }
    std::fflush(stdout);
    const std::string failed = take_messages();
    if (!failed.empty()) return fail(call, failed);
    return kDone;
}

// The changed counts of a comparison report: the second field of each line
// after the report's headings.
int64_t changed_in(const std::string &text) {
    const size_t head = text.find("COMPARE VARFILE REPORT\n");
    if (head == std::string::npos) return 0;
    size_t at = head;
    for (int skip = 0; skip < 3 && at != std::string::npos; ++skip) at = text.find('\n', at + 1);
    int64_t changed = 0;
    while (at != std::string::npos && at + 1 < text.size()) {
        long long n = 0;
        if (std::sscanf(text.c_str() + at + 1, "%*s %lld", &n) == 1) changed += n;
        at = text.find('\n', at + 1);
    }
    return changed;
}

int compare(const Call &call) {
    Input first(call, call.args[0]);
    Input second(call, call.args[1]);
    List list;
    Shape shape;
    if (!load(first, list, &shape)) return kBad;
    Shape other;
    if (!second.check() || !survey(second, Survey::kLookUp, list.p, &other)) return kBad;
    rtopipe *report_pipe = create_queue_rtopipe();
    if (report_pipe == nullptr) return fail(call, "no memory for the report");
    Progress bar(second.bar_text("comparing"), second.size(), kProgressBytes);
    rtopipe *pipe = second.open(&bar, false);
    if (pipe == nullptr) {
        rtodestroy(report_pipe);
        return kBad;
    }
    {
        RTVarFileCmp cmp(pipe, report_pipe, list.p);
        if (call.option) cmp.SetLevel(RTVarDatabase::OutputLevel(2));
        cmp.Go();
    }
    bar.done();
    drop_messages();  // remarks on single fields; the report counts them
    std::string text;
    char buffer[65536];
    for (int64_t n; (n = rtoread(report_pipe, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    rtodestroy(report_pipe);
    // Records the comparer skipped are differences the report cannot show: said first.
    if (other.unknown > 0)
        std::printf("%lld %s of %s %s no variable of %s\n", static_cast<long long>(other.unknown),
                    other.unknown == 1 ? "record" : "records", second.path().c_str(),
                    other.unknown == 1 ? "names" : "name", first.path().c_str());
    std::fwrite(text.data(), 1, text.size(), stdout);
    return changed_in(text) > 0 || other.unknown > 0 ? kNothing : kDone;
}

const Command kCommands[] = {
    {"info", "FILE", "sections, records, attributes and blocks of a VARFILE",
     "Reads the whole file (one the reader complains about is refused) and prints\n"
     "its size, how many sections and records it has, each attribute its headers\n"
     "name (with a note for those a reader does not take back), and the blocks\n"
     "its variable names carry.\n"
     "\n"
     "example: zarn varfile info plant.var",
     1, 1, nullptr, info},
    {"query", "FILE QUERY", "the variables of a VARFILE that pass a query",
     "Reads the file into a variable list made from its names, runs the query over\n"
     "it and writes the variables that pass as a VARFILE, with the columns of the\n"
     "file that a reader takes back. The query is in the library's query language\n"
     "(docs/query.md): attribute comparisons joined by AND, OR and NOT. Exit 1\n"
     "when no variable passes.\n"
     "\n"
     "example: zarn varfile query plant.var 'SPEC = CONST AND VALUE > 0'",
     2, 2, nullptr, query},
    {"compare", "A B", "how B differs from the state that A describes",
     "Reads A into a variable list made from its names, then compares B with it\n"
     "and prints the library's comparison report: per attribute, how many fields\n"
     "differ and the relative and absolute difference. With --details every\n"
     "difference gets a line before the summary. Exit 1 when something differs or\n"
     "B names variables that A does not have.\n"
     "\n"
     "example: zarn varfile compare --details before.var after.var",
     2, 2, "--details", compare},
};

}  // namespace

const Family kVarfileFamily = {"varfile", "VARFILEs: the text form of a variable list's state", kCommands,
                               sizeof kCommands / sizeof kCommands[0]};

}  // namespace zarn::cli
