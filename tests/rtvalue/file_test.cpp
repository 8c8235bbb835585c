// Files and tees as pipe values, file existence and pipe descriptions.
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "value_fixture.h"

namespace {

using namespace zarn::test;

class FileValueTest : public ValueTest {
protected:
    void SetUp() override {
        ValueTest::SetUp();
        char tmpl[] = "/tmp/rtvalue_XXXXXX";
        dir_ = mkdtemp(tmpl);
        old_ = getcwd(nullptr, 0);
        ASSERT_EQ(chdir(dir_.c_str()), 0);
    }
    void TearDown() override {
        EXPECT_EQ(chdir(old_), 0);
        free(old_);
        EXPECT_EQ(std::system(("rm -rf " + dir_).c_str()), 0);
        ValueTest::TearDown();
    }
    static std::string Slurp(const char *path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return in ? s.str() : "(missing)";
    }
    static void Put(const char *path, const char *text) { std::ofstream(path) << text; }
    std::string dir_;
    char *old_ = nullptr;
};

TEST_F(FileValueTest, ListFormOpensWithTheModeWord) {
    Put("a.txt", "old");
    struct Row {
        Fn open;
        value_t *path;
        const char *mode;
        const char *text;  // written when a pipe results
        const char *file, *content, *message;
    } rows[] = {
        {value_openfile, Str("out.txt"), "WRITE", "hi", "out.txt", "hi", ""},
        {value_openfile, Str("a.txt"), "READWRITE", "new", "a.txt", "new", ""},  // truncates like WRITE
        {value_openfile, Str("a.txt"), "APPEND", "+", "a.txt", "new+", ""},
        {value_openfile, Str("a.txt"), "BINARY_APPEND", "b", "a.txt", "new+b", ""},
        {value_openfile, Str("out.txt"), "write", nullptr, "out.txt", "hi", ""},
        {value_openfile, Str("no/such"), "READ", nullptr, "", "", "Unable to open file no/such for READ: No such file or directory\n"},
        {value_openfile, Id("MIXED.TXT"), "WRITE", "m", "mixed.txt", "m", ""},  // created under the lower-case name
        {value_openfile, Id("NO/SUCH"), "READ", nullptr, "", "", "Unable to open file: No such file or directory\n"},
        {value_openfile, Int(1), "WRITE", nullptr, "", "", ""},
        {value_openbinary, Str("bin.dat"), "WRITE", "\x01", "bin.dat", "\x01", ""},
        {value_openbinary, Str("bin.dat"), "BINARY_WRITE", nullptr, "bin.dat", "\x01", ""},
        {value_openbinary, Str("no/such"), "READ", nullptr, "", "",
         "Unable to open binary file no/such for READ: No such file or directory\n"},
    };
    for (const Row &r : rows) {
        V v;
        Take(&v.v, ListOf({r.path, Id(r.mode)}));
        r.open(&v.v);
        EXPECT_EQ(history_.text(), r.message) << r.mode;
        ASSERT_EQ(v.kind(), r.text ? pipe_value : undefined_value) << r.mode;
        if (r.text) rtowritestr(v.v.u.pipe, r.text), value_destroy(&v.v);
        if (*r.file) {
            EXPECT_EQ(Slurp(r.file), r.content) << r.mode;
        }
    }
    Put("data.txt", "x");  // an identifier finds an existing file whatever its case
    V in;
    Take(&in.v, ListOf({Id("DATA.TXT"), Id("READ")}));
    value_openfile(&in.v);
    ASSERT_EQ(in.kind(), pipe_value);
    char buf[8] = "";
    EXPECT_EQ(rtoread(in.v.u.pipe, buf, sizeof buf), 1);
    EXPECT_EQ(buf[0], 'x');
    V s;
    Take(&s.v, ListOf({Str("x"), Str("WRITE")}));  // a STRING mode word is refused
    value_openfile(&s.v);
    EXPECT_EQ(s.kind(), undefined_value);
}

TEST_F(FileValueTest, SingleNamesAreOpenedForWriting) {
    Put("exists.txt", "data");
    struct Row {
        Fn open;
        value_t *v;
        int kind_after;
        const char *message;
    } rows[] = {
        {value_openfile, Str("s.txt"), pipe_value, ""}, {value_openfile, Id("ID.TXT"), pipe_value, ""},
        {value_openfile, Str("no/such"), undefined_value, "Unable to open file no/such for WRITE: No such file or directory\n"},
        {value_openfile, Id("NO/SUCH"), undefined_value, "Unable to open file: No such file or directory\n"},
        {value_openfile, Bool(1), undefined_value, ""}, {value_openbinary, Bool(1), logical_value, ""},
        {value_openbinary, Str("no/such"), string_value, "Unable to open file no/such for WRITE: No such file or directory\n"},
        {value_openbinary, ListOf({Str("x")}), undefined_value, ""},
    };
    for (const Row &r : rows) {
        r.open(r.v);
        EXPECT_EQ(r.v->value_type, r.kind_after);
        EXPECT_EQ(history_.text(), r.message);
        value_destroy_list_item(r.v);
    }
    EXPECT_EQ(Slurp("id.txt"), "");

    FakeContext ctx;
    struct Exist {
        value_t *v;
        const char *want, *message;
    } exists[] = {{Str("exists.txt"), "TRUE", ""}, {Str("nope.txt"), "FALSE", "File \"nope.txt\" does not exist\n"},
                  {Int(3), "FALSE", ""}};
    for (const Exist &e : exists) {
        value_existfile(e.v, &ctx);
        EXPECT_EQ(Printed(e.v), e.want);
        EXPECT_EQ(history_.text(), e.message);
        value_destroy_list_item(e.v);
    }
}

TEST_F(FileValueTest, TeesAndDescriptions) {
    rtopipe *a = create_queue_rtopipe(), *b = create_queue_rtopipe();
    V t;
    Take(&t.v, ListOf({PipeOf(a), PipeOf(b)}));
    value_opentee(&t.v);
    ASSERT_EQ(t.kind(), pipe_value);
    rtowritestr(t.v.u.pipe, "both");
    rtoflush(t.v.u.pipe);
    EXPECT_EQ(drain(a), "both");
    EXPECT_EQ(drain(b), "both");
    V mixed;
    Take(&mixed.v, ListOf({PipeOf(a), Str("x")}));
    value_opentee(&mixed.v);
    EXPECT_EQ(mixed.kind(), undefined_value);

    FakeContext ctx;
    ctx.set(ctx.objects, "DEV", PipeOf(a));
    V d, s, id;
    value_assign_pipe(&d.v, copyPipe(a));
    value_devinfo(&d.v, nullptr);
    EXPECT_EQ(d.kind(), string_value);
    EXPECT_EQ(Text(d.v), rtodesc(a));
    value_assign_copy_of_string(&s.v, "x");
    value_devinfo(&s.v, &ctx);
    EXPECT_EQ(s.kind(), undefined_value);
    value_assign_copy_of_id(&id.v, "DEV");
    value_devinfo(&id.v, &ctx);
    EXPECT_EQ(Text(id.v), rtodesc(a));
    rtodestroy(a);
    rtodestroy(b);
}

}  // namespace
