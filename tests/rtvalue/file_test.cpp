// Files and tees as pipe values, file existence, pipe descriptions, and closing every file stream
// of the library under the pipes that hold them.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "failsweep.h"
#include "value_fixture.h"

namespace {

using namespace zarn::test;

std::string Slurp(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return in ? s.str() : "(missing)";
}

class FileValueTest : public ValueTest {
  protected:
    void SetUp() override {
        ValueTest::SetUp();
        char tmpl[] = "/tmp/rtvalue_XXXXXX";
        dir_ = mkdtemp(tmpl);
        old_ = std::filesystem::current_path();
        std::filesystem::current_path(dir_);
    }
    void TearDown() override {
        std::filesystem::current_path(old_);
        std::filesystem::remove_all(dir_);
        ValueTest::TearDown();
    }
    std::filesystem::path dir_, old_;
};

// {function, argument, text written when a pipe results, file read afterwards, result, message}; the
// result is "pipe" or the printed value, then "|" and the file's content.
TEST_F(FileValueTest, OpensTeesExistenceAndDescriptions) {
    std::ofstream("a.txt") << "old";
    std::ofstream("exists.txt") << "data";
    std::ofstream("data.txt") << "x";
    rtopipe *a = create_queue_rtopipe(), *b = create_queue_rtopipe();
    RecordingContext ctx;
    ctx.set(ctx.objects, "DEV", PipeOf(a));
    auto L = [](value_t *path, const char *mode) { return ListOf({path, Id(mode)}); };
    const std::string none = ": No such file or directory\n", desc = rtodesc(a), U = "!!!UNDEFINED!!!";
    void (*const OF)(value_t *, IValueContext *) = [](value_t *v, IValueContext *) { value_openfile(v); };
    void (*const OB)(value_t *, IValueContext *) = [](value_t *v, IValueContext *) { value_openbinary(v); };
    const struct {
        void (*fn)(value_t *, IValueContext *);
        value_t *v;
        const char *write, *file;
        std::string want, message;
    } rows[] = {
#define NOCTX(f) [](value_t *v, IValueContext *) { f(v); }
        {OF, L(Str("out.txt"), "WRITE"), "hi", "out.txt", "pipe|hi", ""},
        {OF, L(Str("out.txt"), "write"), 0, "out.txt", U + "|hi", ""},
        {OF, L(Str("a.txt"), "READWRITE"), "new", "a.txt", "pipe|new", ""},  // truncates like WRITE
        {OF, L(Str("a.txt"), "APPEND"), "+", "a.txt", "pipe|new+", ""},
        {OF, L(Str("a.txt"), "BINARY_APPEND"), "b", "a.txt", "pipe|new+b", ""},
        {OF, ListOf({Str("out.txt"), Str("WRITE")}), 0, "out.txt", U + "|hi", ""},
        {OF, L(Int(1), "WRITE"), 0, "", U, ""},
        {OF, L(Str("no/such"), "READ"), 0, "", U, "Unable to open file no/such for READ" + none},
        {OF, L(Id("MIXED.TXT"), "WRITE"), "m", "mixed.txt", "pipe|m",
         ""},  // created under the lower-case name
        {OF, L(Id("NO/SUCH"), "READ"), 0, "", U, "Unable to open file" + none},
        {OB, L(Str("bin.dat"), "WRITE"), "\x01", "bin.dat", "pipe|\x01", ""},
        {OB, L(Str("bin.dat"), "BINARY_WRITE"), 0, "bin.dat", U + "|\x01", ""},
        {OB, L(Str("no/such"), "READ"), 0, "", U, "Unable to open binary file no/such for READ" + none},
        {OF, Str("s.txt"), "s", "s.txt", "pipe|s", ""},
        {OF, Id("ID.TXT"), 0, "id.txt", "pipe|", ""},  // a single name: for writing
        {OF, Str("no/such"), 0, "", U, "Unable to open file no/such for WRITE" + none},
        {OF, Bool(1), 0, "", U, ""},
        {OF, Id("NO/SUCH"), 0, "", U, "Unable to open file" + none},
        {OB, Bool(1), 0, "", "TRUE", ""},
        {OB, ListOf({Str("x")}), 0, "", U, ""},
        {OB, Str("no/such"), 0, "", "no/such", "Unable to open file no/such for WRITE" + none},
        {NOCTX(value_opentee), ListOf({PipeOf(a), PipeOf(b)}), "both", "", "pipe", ""},
        {NOCTX(value_opentee), ListOf({PipeOf(a), Str("x")}), 0, "", U, ""},
#undef NOCTX
        {value_existfile, Str("exists.txt"), 0, "", "TRUE", ""},
        {value_existfile, Int(3), 0, "", "FALSE", ""},
        {value_existfile, Str("nope.txt"), 0, "", "FALSE", "File \"nope.txt\" does not exist\n"},
        {value_devinfo, PipeOf(a), 0, "", desc, ""},
        {value_devinfo, Str("x"), 0, "", U, ""},
        {value_devinfo, Id("DEV"), 0, "", desc, ""},
    };
    for (const auto &r : rows) {
        r.fn(r.v, r.fn == value_devinfo && r.v->value_type == pipe_value ? nullptr : &ctx);
        EXPECT_EQ(history_.text(), r.message) << &r - rows;
        if (r.v->value_type == pipe_value && r.write) {
            rtowritestr(r.v->u.pipe, r.write);
            rtoflush(r.v->u.pipe);
        }
        std::string got = r.v->value_type == pipe_value && r.fn != value_devinfo ? "pipe" : Printed(r.v);
        value_destroy_list_item(r.v);
        EXPECT_EQ(got + (*r.file ? "|" + Slurp(r.file) : ""), r.want) << &r - rows;
    }
    EXPECT_EQ(drain(a) + drain(b), "bothboth");
    V in;  // an identifier finds an existing file whatever its case
    Take(&in.v, ListOf({Id("DATA.TXT"), Id("READ")}));
    value_openfile(&in.v);
    char buf[8] = "";
    ASSERT_EQ(in.kind(), pipe_value);
    EXPECT_EQ(rtoread(in.v.u.pipe, buf, sizeof buf) * 1000 + buf[0], 1000 + 'x');
    V lost;  // no memory to look the identifier's file up: said so, and no pipe
    Take(&lost.v, ListOf({Id("DATA.TXT"), Id("READ")}));
    zarn::failalloc_set(1);
    value_openfile(&lost.v);
    zarn::failalloc_set(0);
    EXPECT_NE(lost.kind(), pipe_value);
    EXPECT_EQ(history_.text(), "Unable to allocate memory!\n");
    rtodestroy(a);
    rtodestroy(b);
}

// Not under the fixture: its history capture is a file stream too.
int OpenDescriptors() {
    int n = 0;
    for (const auto &entry : std::filesystem::directory_iterator("/proc/self/fd"))
        n += entry.exists() ? 1 : 0;
    return n;
}

// A file that opens while there is no memory for its pipe is closed again: no descriptor is left behind.
TEST_F(FileValueTest, AFileWithoutMemoryForItsPipeIsClosedAgain) {
    const int before = OpenDescriptors();
    std::vector<value_t *> names;  // made beforehand: the sweep fails only the opens' own allocations
    for (int k = 0; k < 64; ++k) names.push_back(Str("out.txt"));
    size_t next = 0;
    const long allocations = fail_each_allocation(
        [&] {
            value_t *v = names.at(next++);
            value_openfile(v);
            return v->value_type == pipe_value;
        },
        [&](long n, bool made) {
            EXPECT_FALSE(made) << "a pipe with allocation " << n << " failing";
            EXPECT_EQ(OpenDescriptors(), before) << "descriptors with allocation " << n << " failing";
        });
    EXPECT_GT(allocations, 0) << "no pipe with every allocation served";
    for (value_t *v : names) Consumed(v);
    EXPECT_EQ(OpenDescriptors(), before) << "descriptors once the pipe is destroyed";
}

TEST(CloseAllFiles, ClosesFileStreamsAndLeavesTheirPipesSafe) {
    const std::string a = testing::TempDir() + "closeall_a.txt", b = testing::TempDir() + "closeall_b.txt";
    rtopipe *pa = create_ascii_stream_rtopipe(std::fopen(a.c_str(), "w"), a.c_str(), 1);
    rtopipe *pb = create_binary_stream_rtopipe(std::fopen(b.c_str(), "w+"), b.c_str(), 1);
    rtopipe *po = create_ascii_stream_rtopipe(stdout, "stdout", 0);  // a standard stream is never closed
    ASSERT_NE(pa, nullptr);
    ASSERT_NE(pb, nullptr);
    ASSERT_NE(po, nullptr);
    ASSERT_EQ(rtowritestr(pa, "kept\n"), 1);
    EXPECT_EQ(value_close_all_files_opened_by_rtvalue() * 10 + value_close_all_files_opened_by_rtvalue(), 20);
    // The text reached the file; the pipes now refuse writes, read as ended, and are destroyed without
    // closing twice.
    char buf[16] = {};
    EXPECT_EQ(Slurp(a), "kept\n");
    EXPECT_NE(rtowritestr(pa, "lost"), 1);
    EXPECT_EQ(rtoread(pb, buf, sizeof buf), 0);
    EXPECT_NE(rtostatus(pb), 0);
    rtodestroy(pa);
    rtodestroy(pb);
    rtodestroy(po);
    std::remove(a.c_str());
    std::remove(b.c_str());
}

}  // namespace
