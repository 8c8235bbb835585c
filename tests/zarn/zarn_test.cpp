// zarn as a user runs it: the installed-style binary on X-files and VARFILEs the library writes here,
// its standard output, standard error and exit status; the progress bar on a terminal and nowhere else.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "capture.h"
#include "source_tree.h"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/varfile.hpp"
#include "zarnutils/xfile.h"

namespace {

struct Result {
    int status;
    std::string out, err;
};

// Runs zarn; standard error goes to a pipe, or to a pseudo-terminal when `terminal`.
Result run(const std::vector<std::string> &args, bool terminal = false) {
    int out[2], err[2];
    EXPECT_EQ(pipe(out), 0);
    if (terminal) {
        EXPECT_EQ(openpty(&err[0], &err[1], nullptr, nullptr, nullptr), 0);
    } else {
        EXPECT_EQ(pipe(err), 0);
    }
    std::vector<char *> argv{const_cast<char *>(ZARN_TOOL)};
    for (const std::string &a : args) argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, ZARN_TOOL, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    // Both streams at once: a child that fills one pipe while the other is read would never end.
    Result r{-1, "", ""};
    pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string *into[2] = {&r.out, &r.err};
    char buffer[65536];
    for (int open_streams = 2; open_streams > 0;) {
        poll(fds, 2, -1);
        for (int k = 0; k < 2; ++k) {
            if (fds[k].fd < 0 || fds[k].revents == 0) continue;
            const ssize_t n = read(fds[k].fd, buffer, sizeof buffer);
            if (n > 0) {
                into[k]->append(buffer, static_cast<size_t>(n));
            } else {  // the end, or EIO from a terminal whose other side closed
                close(fds[k].fd);
                fds[k].fd = -1;
                --open_streams;
            }
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return r;
}

// Saves variables 1..n of a list with the given X-file codes.
void save(const std::string &path, rtvarlst_t *list, std::initializer_list<int> codes) {
    int64_t flags[RTXFILE_NFLAGS] = {}, digest[RTXFILE_NDIGEST] = {}, mode = RTXFILE_CREATE, by_name = 0,
            first = 1;
    for (int c : codes) flags[c - 1] = 1;
    RTOVARLST_NAME_DIGEST_F(&list, digest);
    int64_t unit = RTXFILE_OPEN(path.c_str(), digest, &mode, flags, &by_name, path.size());
    int64_t last = rtovarlst_inq_nvar(list);
    if (last > 0) RTXFILE_SAVE_VARIABLE(&unit, &list, &first, &last, flags);
    RTXFILE_CLOSE(&unit);
}

rtvarlst_t *named(const std::vector<std::string> &names) {
    const auto n = static_cast<int32_t>(names.size());
    rtvarlst_t *l = rtovarlst_create(n);
    rtovarlst_set_nvar(l, n);
    for (int32_t k = 1; k <= n; ++k) rtovarlst_addvar(l, k, names[k - 1].c_str());
    return l;
}

// Writes a VARFILE of the list with the library's writer: the given attributes, names 20 wide, numbers
// 16 wide, units 12 wide, on pages of the given width.
void write_varfile(const std::string &path, rtvarlst_t *list, std::initializer_list<int> attributes,
                   int page = 132) {
    rtopipe *file = create_ascii_stream_rtopipe(std::fopen(path.c_str(), "w"), path.c_str(), 1);
    RTVarFileOut out(file, list, 20, 16, page, 12);
    out.ClearAttributes();
    for (int a : attributes) out.AddAttribute(RTVarDatabase::VarAttribute(a));
    out.Go();
}

// A small plant: two typed variables of block FEED and two untyped ones, values in SI.
rtvarlst_t *plant() {
    rtvarlst_t *l = named({"FEED.BLK.T", "FEED.BLK.P", "X", "Y(1)"});
    rtovarlst_set_physical_type(l, 1, 22);  // TEMPERATURE
    rtovarlst_set_var_uom(l, 1, 2);         // F
    rtovarlst_set_spec(l, 1, 1);            // CONST
    rtovarlst_set_var_value(l, 1, 300.0, 1);
    rtovarlst_set_var_lower(l, 1, 250.0, 1);
    rtovarlst_set_physical_type(l, 2, 20);  // PRESSURE
    rtovarlst_set_var_uom(l, 2, 3);         // ATM
    rtovarlst_set_var_value(l, 2, 202650.0, 1);
    rtovarlst_set_var_value(l, 3, 2.5, 1);
    rtovarlst_set_spec(l, 4, 1);
    rtovarlst_set_var_value(l, 4, -1.0, 1);
    return l;
}

using VF = RTVarDatabase;

class Zarn : public ::testing::Test {
  protected:
    // The files of every case: written once by the library, removed at the end.
    static void SetUpTestSuite() {
        zarn::test::HistoryCapture quiet;
        dir_ = "/tmp/zarn_cli_" + std::to_string(getpid());
        mkdir(dir_.c_str(), 0700);
        rtvarlst_t *pair = named({"A.T", "B.P"});
        rtovarlst_set_physical_type(pair, 1, 22);  // TEMPERATURE
        rtovarlst_set_var_uom(pair, 1, 2);         // F
        rtovarlst_set_spec(pair, 1, 1);            // CONST
        rtovarlst_set_var_quality(pair, 1, 2);     // OVERRIDE
        rtovarlst_set_var_conn_type(pair, 1, 1003);
        rtovarlst_set_var_value(pair, 1, 300.0, 0);
        rtovarlst_set_physical_type(pair, 2, 20);  // PRESSURE
        rtovarlst_set_var_uom(pair, 2, 13);        // PSIG
        rtovarlst_set_var_value(pair, 2, 2.5, 0);
        save(dir_ + "/pair.xf", pair, {1, 2, 4, 7, 8, 14, 25});
        save(dir_ + "/unnamed.xf", pair, {4});
        rtovarlst_destroy_c(&pair);
        rtvarlst_t *none = named({});
        save(dir_ + "/empty.xf", none, {1, 4});
        rtovarlst_destroy_c(&none);
        std::vector<std::string> many;
        for (int k = 1; k <= 100000; ++k) many.push_back("V" + std::to_string(k));
        rtvarlst_t *big = named(many);
        save(dir_ + "/big.xf", big, {4});  // 1.2 MB: long enough for a progress bar
        save(dir_ + "/long.xf", big, {1, 4});
        rtovarlst_destroy_c(&big);
        EXPECT_EQ(truncate((dir_ + "/long.xf").c_str(), 3 * RTXFILE_RECORD_BYTES), 0);
        std::string noise(4096, '\0');
        for (size_t k = 0; k < noise.size(); ++k) noise[k] = static_cast<char>(k * 7919 % 251);
        std::ofstream(dir_ + "/noise.xf", std::ios::binary) << noise;
        std::ofstream(dir_ + "/short.xf", std::ios::binary) << noise.substr(0, 100);
        write_varfiles();
    }
    static void write_varfiles() {
        rtvarlst_t *p = plant();
        write_varfile(dir_ + "/plant.var", p, {VF::NAME, VF::PHYSICAL_TYPE, VF::UNITS, VF::VALUE, VF::SPEC});
        // Pages too narrow for more than two columns beside the name: three sections.
        write_varfile(dir_ + "/narrow.var", p,
                      {VF::NAME, VF::VALUE, VF::LOWER, VF::SPEC, VF::BOUND, VF::CHANGE}, 60);
        // The untyped variables only, so that numbers read back unchanged, then with two changes.
        rtvarlst_t *u = named({"X", "Y(1)"});
        rtovarlst_set_var_value(u, 1, 2.5, 1);
        rtovarlst_set_var_value(u, 2, -1.0, 1);
        write_varfile(dir_ + "/before.var", u, {VF::NAME, VF::VALUE, VF::SPEC});
        rtovarlst_set_var_value(u, 1, 3.5, 1);
        rtovarlst_set_spec(u, 2, 1);
        write_varfile(dir_ + "/after.var", u, {VF::NAME, VF::VALUE, VF::SPEC});
        rtvarlst_t *more = named({"X", "Y(1)", "Z"});
        write_varfile(dir_ + "/more.var", more, {VF::NAME, VF::VALUE, VF::SPEC});
        rtovarlst_destroy_c(&more);
        rtovarlst_destroy_c(&u);
        std::vector<std::string> many;
        for (int k = 1; k <= 20000; ++k)
            many.push_back("B" + std::to_string(k % 3) + ".BLK.V" + std::to_string(k));
        rtvarlst_t *big = named(many);
        for (int32_t k = 1; k <= 20000; ++k) {
            rtovarlst_set_var_value(big, k, k * 0.5, 1);
            rtovarlst_set_var_lower(big, k, -k * 1.0, 1);
            rtovarlst_set_var_upper(big, k, k * 2.0, 1);
        }
        write_varfile(dir_ + "/big.var", big, {VF::NAME, VF::VALUE, VF::LOWER, VF::UPPER});  // 1.4 MB
        rtovarlst_destroy_c(&big);
        const std::string text = zarn::test::slurp(dir_ + "/plant.var");
        // Cut inside the second record.
        std::ofstream(dir_ + "/cut.var", std::ios::binary) << text.substr(0, text.find('\n') + 30);
        std::string noise(4096, '\0');
        for (size_t k = 0; k < noise.size(); ++k) noise[k] = static_cast<char>(k * 7919 % 251);
        std::ofstream(dir_ + "/noise.var", std::ios::binary) << noise << '\n';
        std::ofstream(dir_ + "/header.var", std::ios::binary) << text.substr(0, text.find('\n') + 1);
        std::ofstream(dir_ + "/blank.var", std::ios::binary) << "";
        rtovarlst_destroy_c(&p);
    }
    static void TearDownTestSuite() {
        for (const char *f : {"pair", "unnamed", "empty", "big", "long", "noise", "short"})
            std::remove((dir_ + "/" + f + ".xf").c_str());
        for (const char *f :
             {"plant", "narrow", "before", "after", "more", "big", "cut", "noise", "header", "blank"})
            std::remove((dir_ + "/" + f + ".var").c_str());
        rmdir(dir_.c_str());
    }
    static std::string dir_;
};
std::string Zarn::dir_;

// "{d}" in a case stands for the folder of the files.
std::string expand(std::string s, const std::string &dir) {
    for (size_t at; (at = s.find("{d}")) != std::string::npos;) s.replace(at, 3, dir);
    return s;
}

struct Case {
    std::vector<std::string> args;
    int status;
    std::string out;  // exact, or what the output starts with when `prefix`
    std::string err;  // exact
    bool prefix = false;
};

const Case kCases[] = {
    // units
    {{"units", "convert", "212", "F", "C"}, 0, "212 F = 100 C\n", ""},
    {{"units", "convert", "0", "PSIG"}, 0, "0 PSIG = 101325 N/SQM\n", ""},
    {{"units", "convert", "--difference", "10", "C", "F"}, 0, "10 C = 18 F\n", ""},
    {{"units", "convert", "1", "$/KG", "$/LB"}, 0, "1 $/KG = 0.45359237 $/LB\n", ""},
    {{"units", "types"},
     0,
     "TYPE NAME           UNITS SI UNIT\n   0 UNTYPED            1 *\n   1 AREA",
     "",
     true},
    {{"units", "convert", "1", "F", "PSIA"},
     2,
     "",
     "zarn units convert: 'F' (TEMPERATURE) and 'PSIA' (PRESSURE) measure different quantities\n"},
    {{"units", "convert", "1", "FURLONG"},
     2,
     "",
     "zarn units convert: unknown unit 'FURLONG' (zarn units list TYPE shows a type's units)\n"},
    {{"units", "list", "$/UNTYPED"},
     2,
     "",
     "zarn units list: unknown physical type '$/UNTYPED' (zarn units types lists them)\n"},
    // X-files written above
    {{"xfile", "info", "{d}/pair.xf"},
     0,
     "file        {d}/pair.xf\nsize        4096 bytes\nversion     2004\ndigest      "
     "34ef83d3f686235312d6339515a42667\n"
     "first       1\nlast        2\nvariables   2\nattributes  7\n   1 NAME\n   2 PHYSICAL_TYPE  physical "
     "type\n"
     "   4 VALUE          value\n   7 UNITS          UOM\n   8 SPEC           spec\n  14 QUALITY        "
     "quality\n"
     "  25 CONN_TYPE      connection type\n",
     ""},
    {{"xfile", "names", "{d}/pair.xf"}, 0, "A.T\nB.P\n", ""},
    {{"xfile", "dump", "{d}/pair.xf"},
     0,
     "1 A.T\n  spec              CONST (1)\n  quality           OVERRIDE (2)\n  UOM               F (2)\n"
     "  physical type     TEMPERATURE (22)\n  connection type   API (1003)\n  value             300\n"
     "2 B.P\n  spec              CALC (0)\n  quality           GOOD (0)\n  UOM               PSIG (13)\n"
     "  physical type     PRESSURE (20)\n  connection type   UNTYPED (0)\n  value             2.5\n",
     ""},
    {{"xfile", "dump", "{d}/unnamed.xf"}, 0, "1\n  value             300\n2\n  value             2.5\n", ""},
    {{"xfile", "names", "{d}/unnamed.xf"},
     1,
     "",
     "zarn xfile names: {d}/unnamed.xf: holds no names (saved without the NAME attribute)\n"},
    {{"xfile", "dump", "{d}/empty.xf"}, 1, "", "zarn xfile dump: {d}/empty.xf: holds no variables\n"},
    {{"xfile", "info", "{d}/long.xf"},
     2,
     "",
     "zarn xfile info: {d}/long.xf: truncated: the file ends after 29 variables, before its end mark\n"},
    {{"xfile", "dump", "{d}/noise.xf"},
     2,
     "",
     "zarn xfile dump: {d}/noise.xf: not an X-file: its header is damaged (the flag count does not fit the "
     "record)\n"},
    {{"xfile", "names", "{d}/short.xf"},
     2,
     "",
     "zarn xfile names: {d}/short.xf: too short for an X-file (100 bytes; the header alone takes 2048)\n"},
    {{"xfile", "info", "{d}/missing.xf"},
     2,
     "",
     "zarn xfile info: {d}/missing.xf: No such file or directory\n"},
    {{"xfile", "info", "{d}"}, 2, "", "zarn xfile info: {d}: is a directory, not an X-file\n"},
    // VARFILEs written above
    {{"varfile", "info", "{d}/plant.var"},
     0,
     "file        {d}/plant.var\nsize        355 bytes\nsections    1\nrecords     4\nattributes  5\n"
     "  NAME\n  PHYSICAL_TYPE\n  UNITS\n  VALUE\n  SPEC\nblocks      1\n  FEED\n",
     ""},
    {{"varfile", "info", "{d}/narrow.var"},
     0,
     "file        {d}/narrow.var\nsize        480 bytes\nsections    2\nrecords     8\nattributes  6\n"
     "  NAME\n  VALUE\n  CHANGE         written only, never read back\n  LOWER\n  BOUND\n  SPEC\n"
     "blocks      1\n  FEED\n",
     ""},
    {{"varfile", "info", "{d}/blank.var"},
     1,
     "file        {d}/blank.var\nsize        0 bytes\nsections    0\nrecords     0\nattributes  0\n"
     "blocks      0\n",
     "zarn varfile info: {d}/blank.var: holds no records\n"},
    {{"varfile", "query", "{d}/plant.var", "SPEC = CONST"},
     0,
     "NAME                ,PHYSICAL_TYPE,UNITS       ,VALUE           ,SPEC \n"
     "FEED.BLK.T          ,TEMPERATURE  ,F           ,  8.03300000e+01,CONST\n"
     "'Y(1)'              ,UNTYPED      ,'*'         , -1.00000000e+00,CONST\n",
     ""},
    // The two sections of a variable meet again in one record; the derived CHANGE is left out.
    {{"varfile", "query", "{d}/narrow.var", "VALUE < 0 OR NAME = FEED.*"},
     0,
     "NAME                ,VALUE           ,LOWER           ,BOUND  ,SPEC \n"
     "FEED.BLK.T          ,  8.03300000e+01, -9.67000000e+00,HARD   ,CONST\n"
     "FEED.BLK.P          ,  2.00000000e+00,                ,HARD   ,CALC \n"
     "'Y(1)'              , -1.00000000e+00,                ,HARD   ,CONST\n",
     ""},
    {{"varfile", "query", "{d}/plant.var", "VALUE > 1000"},
     1,
     "",
     "zarn varfile query: no variable of {d}/plant.var matches\n"},
    {{"varfile", "compare", "{d}/before.var", "{d}/before.var"}, 0, "COMPARE VARFILE REPORT\n", "", true},
    // The report is the library's; what zarn adds is the status it reads from the counts.
    {{"varfile", "compare", "{d}/before.var", "{d}/after.var"}, 1, "COMPARE VARFILE REPORT\n", "", true},
    {{"varfile", "compare", "--details", "{d}/before.var", "{d}/after.var"},
     1,
     "X VALUE FILE = 3.5 CURRENT = 2.5\nY(1) SPEC FILE = CONST CURRENT = CALC\nCOMPARE VARFILE REPORT\n",
     "",
     true},
    {{"varfile", "compare", "{d}/before.var", "{d}/more.var"},
     1,
     "1 record of {d}/more.var names no variable of {d}/before.var\nCOMPARE VARFILE REPORT\n",
     "",
     true},
    // bad VARFILEs
    {{"varfile", "info", "{d}/cut.var"},
     2,
     "",
     "zarn varfile info: {d}/cut.var: truncated: the last line has no line end\n"},
    {{"varfile", "info", "{d}/noise.var"},
     2,
     "",
     "zarn varfile info: {d}/noise.var: not a readable VARFILE: Ignoring unexpected character (0) in varfile "
     "(and 4 more messages)\n"},
    {{"varfile", "compare", "{d}/before.var", "{d}/noise.var"},
     2,
     "",
     "zarn varfile compare: {d}/noise.var: not a readable VARFILE: Ignoring unexpected character (0) in "
     "varfile (and 4 more messages)\n"},
    {{"varfile", "info", "{d}/header.var"},
     2,
     "",
     "zarn varfile info: {d}/header.var: not a readable VARFILE: ZARN EO parse error in VARFILE input\n"},
    {{"varfile", "compare", "{d}/missing.var", "{d}/after.var"},
     2,
     "",
     "zarn varfile compare: {d}/missing.var: No such file or directory\n"},
    {{"varfile", "query", "{d}", "VALUE > 0"},
     2,
     "",
     "zarn varfile query: {d}: is a directory, not a VARFILE\n"},
    // bad queries
    {{"varfile", "query", "{d}/plant.var", "VALUE >"},
     2,
     "",
     "zarn varfile query: bad query 'VALUE >': parse error\n"},
    {{"varfile", "query", "{d}/plant.var", "COLOUR = RED"},
     2,
     "",
     "zarn varfile query: bad query 'COLOUR = RED': COLOUR is not a recognised variable attribute\n"},
    {{"varfile", "query", "{d}/plant.var", ""}, 2, "", "zarn varfile query: bad query '': it is empty\n"},
    {{"varfile", "compare", "--help"}, 0, "usage: zarn varfile compare A B\n", "", true},
    // usage
    {{}, 2, "", "zarn: no command given (zarn --help lists them)\n"},
    {{"frobnicate"}, 2, "", "zarn: unknown command 'frobnicate' (zarn --help lists them)\n"},
    {{"xfile", "info"}, 2, "", "zarn xfile info: expects FILE (--help for more)\n"},
    {{"units", "convert", "--bogus", "1", "F"},
     2,
     "",
     "zarn units convert: unknown option '--bogus' (--help for more)\n"},
    {{"units", "convert", "--help"}, 0, "usage: zarn units convert VALUE FROM [TO]\n", "", true},
};

TEST_F(Zarn, OutputsAndExitStatusOfEachCase) {
    for (const Case &c : kCases) {
        std::vector<std::string> args;
        std::string what = "zarn";
        for (const std::string &a : c.args) {
            args.push_back(expand(a, dir_));
            what += " " + args.back();
        }
        const Result r = run(args);
        const std::string out = expand(c.out, dir_);
        EXPECT_EQ(r.status, c.status) << what;
        EXPECT_EQ(c.prefix ? r.out.substr(0, out.size()) : r.out, out) << what;
        EXPECT_EQ(r.err, expand(c.err, dir_)) << what;
    }
}

// A long run draws a bar on a terminal, which is erased at the end, and nothing when standard error is a
// pipe; what goes to standard output is the same either way.
TEST_F(Zarn, ProgressBarOnlyOnATerminal) {
    struct Long {
        std::vector<std::string> args;
        std::string holds;  // a line of what it prints
    };
    const Long runs[] = {
        {{"xfile", "info", dir_ + "/big.xf"}, "variables   100000\n"},
        // the names of block B1 from V10000 to V10009 that are in it (k % 3 == 1)
        {{"varfile", "query", dir_ + "/big.var", "NAME = B1.BLK.V1000?"}, "B1.BLK.V10009       ,"},
    };
    for (const Long &l : runs) {
        const std::string what = l.args[0] + " " + l.args[1];
        const Result piped = run(l.args);
        const Result shown = run(l.args, true);
        EXPECT_EQ(piped.status, 0) << what;
        EXPECT_EQ(piped.err, "") << what;
        EXPECT_NE(piped.out.find(l.holds), std::string::npos) << what << ": " << piped.out;
        EXPECT_EQ(shown.out, piped.out) << what;
        EXPECT_NE(shown.err.find("] 100%"), std::string::npos)
            << what << ": no full bar on the terminal: " << shown.err;
        EXPECT_TRUE(shown.err.ends_with('\r')) << what << ": the bar is left on the terminal: " << shown.err;
    }
}

}  // namespace
