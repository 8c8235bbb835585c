// The writer's widths and messages, number forms, quoting, attribute lists,
// variable sets, and bad pipes, callers and memory.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cmath>

#include "platform/xalloc.h"
#include "varfile/varfile_internal.h"
#include "varfile_fixture.h"
#include "zarnutils/rtcontext.h"

using namespace zarn::test;

namespace {

std::string U(int w) {
    return "Increasing page width to " + std::to_string(w) + " because it is not big enough for a UOM.\n";
}
std::string R(int w) {
    return "Increasing page width to " + std::to_string(w) +
           " because it is not big enough for a real value.\n";
}

// The writer's buffer: a run of blanks that starts when it is exactly full
// goes out after what filled it.
TEST(VarfileWriter, BlanksAfterAnExactlyFullBuffer) {
    constexpr size_t kBuffer = 1 << 16;  // the writer's buffer
    rtopipe *q = create_queue_rtopipe();
    const std::string full(kBuffer, 'x');
    {
        zarn::varfile::Sink out(q);
        out.put(full.data(), full.size());
        out.blanks(40);
        EXPECT_TRUE(out.flush());
    }
    EXPECT_EQ(drain(q), full + std::string(40, ' '));
    rtodestroy(q);
}

TEST(VarfileWriter, WidthsAndColumns) {
    struct Row {
        int name, real, page;
        std::string history;
    };
    const Row rows[] = {{20, 16, 32, U(32) + R(37)},
                        {20, 16, 33, R(37)},
                        {20, 16, 37, R(37)},
                        {20, 16, 38, ""},
                        {INT_MAX, INT_MIN, INT_MIN, U(32779)},
                        {-5, 40, 0, U(12) + R(41)}};
    HistoryCapture h;
    List l({{.name = "V", .value = 1}});
    for (const Row &r : rows) {
        RTVarFileOut out(nullptr, l, r.name, r.real, r.page, 12);
        EXPECT_EQ(h.text(), r.history) << r.name << " " << r.real << " " << r.page;
    }
    EXPECT_EQ(write_out(l, {20, 16, 10, 12}, {A::BOUND, A::BOUND, A::BOUND}),
              "NAME" + B(16) + ",BOUND  ,BOUND  \nV" + B(19) + ",HARD   ,HARD   \n\nNEW SECTION\nNAME" +
                  B(16) + ",BOUND  \nV" + B(19) + ",HARD   \n");
    EXPECT_EQ(write_out(l, {1, 5, 16, 1}, {A::SBWEIGHT, A::SPEC}),
              "NAME,SBWEIGHT,SPEC \nV," + B(8) + ",CALC \n");
    List specs({{.name = "I", .spec = 2}, {.name = "C", .spec = 1}, {.name = "M", .spec = 3}});
    rto_set_mode_c(2);
    EXPECT_EQ(write_out(specs, {1, 10, 80, 1}, {A::SSPEC}), "NAME,SSPEC\nI,INDEP\nC,CONST\nM,CONST\n");
    rto_set_mode_c(0);
    // Units read in an earlier section still convert the solver scale of a later one.
    List two({{.name = "T1", .ptype = 22, .uom = 2}, {.name = "T2", .ptype = 22, .uom = 4}});
    EXPECT_EQ(write_out(two, {2, 10, 13, 4}, {A::UNITS, A::SCALE}),
              "NAME,UNITS\nT1,F   \nT2,C   \n\nNEW SECTION\nNAME,SCALE     \nT1,  1.80e+00\nT2,  1.00e+00\n");
    // RAMPED asks for the whole record, so the type behind the unit names is read too.
    EXPECT_EQ(write_out(two, {2, 10, 80, 4}, {A::UNITS, A::RAMPED}), "NAME,UNITS,RAMPED\nT1,F   \nT2,C   \n");
    // Price units share one text buffer: each column of each record has its own name.
    List prices({{.name = "P1", .ptype = -22, .uom = 2}, {.name = "P2", .ptype = -22, .uom = 4}});
    EXPECT_EQ(write_out(prices, {2, 10, 80, 4}, {A::PHYSICAL_TYPE, A::UNITS, A::BASEUOM}),
              "NAME,PHYSICAL_TYPE,UNITS,BASEUOM\nP1,$/TEMPERATUR ,$/F ,$/K \nP2,$/TEMPERATUR ,$/C ,$/K \n");
    EXPECT_EQ(h.text(), U(32) + R(37) + U(14));
}

// One field of an untyped variable named A, as its column writes it.
TEST(VarfileWriter, NumberFormsAndMissingBounds) {
    struct Row {
        int width;
        V v;
        int attribute;
        const char *field;
    };
    const Row rows[] = {{16, {.value = -1.5e-300}, A::VALUE, "-1.50000000e-300"},
                        {8, {.value = 1}, A::VALUE, "   1e+00"},
                        {5, {.value = 1}, A::VALUE, "1.000000e+00"},
                        {16, {.value = NAN}, A::VALUE, "             nan"},
                        {9, {.value = -INFINITY}, A::VALUE, "     -inf"},
                        {16, {.value = M * (1 + 1e-15)}, A::VALUE, "  1.00000000e+35"},
                        {10, {.lower = -6e19, .scale = 2}, A::LOWER, ""},
                        {10, {.lower = -9e19}, A::LOWER, " -9.00e+19"},
                        {10, {.upper = 1e20}, A::UPPER, ""},
                        {10, {.step = -2, .scale = 3}, A::STEP, " -6.00e+00"},
                        {10, {.ptype = 22, .uom = 2, .value = 300, .init = 290}, A::CHANGE, "  1.80e+01"},
                        {10, {.value = 2, .init = 3, .scale = 2}, A::CHANGE, " -2.00e+00"},
                        {10, {.value = 2}, A::CHANGE, ""},
                        {10, {.value = 5, .step = -1}, A::RLOWER, "  4.00e+00"},
                        {10, {.value = 5}, A::RLOWER, ""},
                        {10, {.value = 5, .lower = 1, .step = 1}, A::RLOWER, "  4.00e+00"},
                        {10, {.lower = 7}, A::RLOWER, "  7.00e+00"},
                        {10, {.value = 5, .lower = 7, .step = 1}, A::RLOWER, "  7.00e+00"},
                        {10, {.value = 5, .step = -1}, A::RUPPER, "  6.00e+00"},
                        {10, {.bound = 1, .value = 5, .upper = 3, .step = 1}, A::RUPPER, "  5.00e+00"}};
    for (const Row &r : rows) {
        const std::string out = write_out(List({r.v}), {1, r.width, 200, 1}, {r.attribute});
        EXPECT_EQ(out.substr(out.find('\n') + 1), *r.field ? std::string("A,") + r.field + "\n" : "A\n")
            << r.field;
    }
}

TEST(VarfileWriter, QuotingAndAttributes) {
    for (const char *s : {"*", " ", ";", "=", ",",   "(",  ")", "[",   "]",   "{",
                          "}", "<", ">", "&", "a b", "x*", "",  "A.B", "x'y", "$\"#%!?"}) {
        const int quoted = *s && !std::strpbrk(s, ".'$");  // the last four need no quotes
        EXPECT_EQ(RTVarFileIO::SpecialChars(s), quoted) << s;
        EXPECT_EQ(RTVarFileIO::PrintedLength(s), int(strlen(s)) + 2 * quoted) << s;
    }
    EXPECT_EQ(RTVarFileIO::SpecialChars(nullptr) + RTVarFileIO::PrintedLength(nullptr), 0);
    rtopipe *q = create_queue_rtopipe();
    for (const char *s : {"a b", "AB", "'", "&", static_cast<const char *>(nullptr)})
        RTVarFileIO::WriteString(q, s);
    EXPECT_EQ(drain(q), "'a b'AB''&'");
    rtodestroy(q);
    HistoryCapture h;
    List l({{.name = "V", .value = 1}});
    RTVarFileOut w(nullptr, l, 2, 10, 80, 4);
    for (int a : {28, -1, INT_MIN, INT_MAX, 27, 0})
        EXPECT_EQ(w.SupportedAttribute(A::VarAttribute(a)), a == 27 || a == 0) << a;
    for (int a = -1; a <= 28; ++a)
        EXPECT_EQ(A::DerivedAttribute(A::VarAttribute(a)), a == 6 || a == 12 || a == 22 || a == 23) << a;
    EXPECT_EQ(w.GetLevel(), 1);
    for (int a : {28, INT_MIN, INT_MAX}) w.AddAttribute(A::VarAttribute(a));
    EXPECT_EQ(
        h.text(),
        "Attempt to add unsupported attribute to variable report 28\nAttempt to add unsupported attribute to "
        "variable report -2147483648\nAttempt to add unsupported attribute to variable report 2147483647\n");
    w.SetLevel(A::SILENT);
    w.AddAttribute(A::VarAttribute(-1));
    EXPECT_EQ(w.GetLevel() + h.text().size(), 0u);
    const std::string out = write_out(l, {}, {A::VALUE, A::VALUE, A::NAME, A::SPEC}, [](W v) {
        v.Go();
        v.RemoveAttribute(A::VALUE);
        v.Go();
        v.Reset();
        v.RemoveAttribute(A::NAME);
        v.Go();
        v.ClearAttributes();
    });
    EXPECT_EQ(out.substr(0, 102),
              "NAME,VALUE     ,VALUE     ,SPEC \nV ,  1.00e+00,  1.00e+00,CALC \nNAME,SPEC \nV ,CALC \n"
              "NAME,PHYSICAL_TYPE");
    EXPECT_TRUE(out.ends_with(",UNTYPED      \n")) << out;
}

// The first two letters of every line after the first: the names a writer so set up writes.
std::string names(rtvarlst_t *l, const std::function<void(W)> &setup) {
    const std::string s = write_out(l, {}, {A::SPEC}, setup);
    std::string got;
    for (size_t p = s.find('\n'); p != std::string::npos && p + 1 < s.size(); p = s.find('\n', p + 1))
        got += s.substr(p + 1, 2);
    return got;
}

TEST(VarfileWriter, VariableSetsAndHostileIndices) {
    List l({{.name = "F1"}, {.name = "F2"}, {.name = "G1"}, {.name = "G2"}, {.name = "F3"}});
    const struct {
        const char *what;
        std::function<void(W)> setup;
        const char *want;
    } sets[] = {{"variable 4 and the range 2..2 only; the range 5..3 is empty",
                 [](W w) {
                     w.ClearIncluded();
                     w.IncludeVariable(4);
                     w.IncludeRange(2, 2);
                     w.IncludeRange(5, 3);
                 },
                 "F2G2"},
                {"all but the range 2..4 and variable 1",
                 [](W w) {
                     w.ExcludeRange(2, 4);
                     w.ExcludeVariable(1);
                 },
                 "F3"},
                {"an exclusion cleared",
                 [](W w) {
                     w.ExcludeRange(2, 4);
                     w.ClearExcluded();
                 },
                 "F1F2G1G2F3"},
                {"names starting with F only, but none with a 2",
                 [](W w) {
                     w.ClearIncluded();
                     w.IncludeRegexp(hs_regcomp("^F"));
                     w.ExcludeRegexp(hs_regcomp("2"));
                 },
                 "F1F3"},
                {"every index from INT_MIN to INT_MAX, but no name with a G",
                 [](W w) {
                     w.IncludeRange(INT_MIN, INT_MAX);
                     w.ExcludeRegexp(hs_regcomp("G"));
                 },
                 "F1F2F3"}};
    for (const auto &set : sets) {
        const std::string written = names(l, set.setup);
        EXPECT_EQ(written, set.want) << set.what;
    }
    const std::pair<std::function<void(W, int)>, const char *> hostile[] = {
        {[](W w, int i) {
             w.ClearIncluded();
             w.IncludeVariable(i);
         },
         ""},
        {[](W w, int i) {
             w.ClearIncluded();
             w.IncludeRange(i, i);
             w.IncludeRange(i, INT_MIN);
         },
         ""},
        {[](W w, int i) { w.ExcludeVariable(i); }, "F1F2G1G2F3"},
        {[](W w, int i) {
             w.ExcludeRange(i, i);
             w.ExcludeRange(INT_MAX, i);
         },
         "F1F2G1G2F3"}};
    for (const auto &[op, want] : hostile)
        EXPECT_EQ(names(l,
                        [&](W w) {
                            for (int i : {INT_MIN, -1, 0, 6, INT_MAX}) op(w, i);
                        }),
                  want);
    // The default range is taken at Reset: a variable added later waits for the next one.
    const std::string before_and_after_reset = names(l, [&](W w) {
        rtovarlst_resize(l, 6);
        rtovarlst_set_nvar(l, 6);
        rtovarlst_addvar(l, 6, "H1");
        w.Go();
        w.Reset();
        w.ClearAttributes();
        w.AddAttribute(A::SPEC);
    });
    EXPECT_EQ(before_and_after_reset, "F1F2G1G2F3NAF1F2G1G2F3H1");
    HistoryCapture h;
    RTVarFileOut(nullptr, l, 2, 10, 80, 4).IncludeRegexp(nullptr);
    RTVarFileOut(nullptr, l, 2, 10, 80, 4).ExcludeRegexp(nullptr);
    EXPECT_EQ(h.text(),
              "!!RTVarFileIO::IncludeRegexp: No regular expression given\n!!RTVarFileIO::ExcludeRegexp: No "
              "regular expression given\n");
}

// A pipe whose write fails from the second call on; it counts the calls.
int calls = 0;
int fail_second(rtopipe *, const char *, size_t) { return ++calls >= 2 ? -1 : 1; }
const char *failing(rtopipe *) { return "failing pipe"; }

TEST(VarfileWriter, BadPipesAndMemory) {
    HistoryCapture h;
    std::vector<std::string> names(3000);
    std::vector<V> many;
    for (std::string &n : names) {
        n = "A_RATHER_LONG_VARIABLE_NAME_" + std::to_string(many.size());
        many.push_back({.name = n.c_str()});
    }
    List l(many);
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    FILE *full = std::fopen("/dev/full", "w"), *gone = fdopen(fds[1], "w");
    close(fds[0]);
    close(fds[1]);
    rtopipe bad = {fail_second, nullptr, [](rtopipe *) {}, nullptr, failing, nullptr, 1, 0};
    const char *stops = " failed; the output stops here\n";
    const std::pair<rtopipe *, std::string> pipes[] = {
        {nullptr, "!!RTVarFileOut::Go: No output pipe\n"},
        {create_ascii_stream_rtopipe(full, "/dev/full", 1),
         "genericFileStreamPush: No space left on device on file "
         "/dev/full\n!!RTVarFileOut::Go: Writing to /dev/full" +
             std::string(stops)},
        {create_ascii_stream_rtopipe(gone, "closed", 0),
         "!!RTVarFileOut::Go: Writing to closed" + std::string(stops)},
        {&bad, "!!RTVarFileOut::Go: Writing to failing pipe" + std::string(stops)}};
    for (const auto &[pipe, message] : pipes) {
        RTVarFileOut(pipe, l, 20, 16, 132, 12).Go();
        EXPECT_TRUE(h.text().ends_with(message)) << message;
    }
    EXPECT_EQ(calls, 2);
    std::fclose(gone);
    RTVarFileOut(create_queue_rtopipe(), nullptr, 20, 16, 132, 12).Go();
    EXPECT_EQ(h.text(), "!!RTVarFileOut::Go: No variable list\n");
    // Ctrl-C before the run: nothing written, no message; the pipe's flush level comes back.
    FILE *tmp = std::tmpfile();
    rtopipe *f = create_ascii_stream_rtopipe(tmp, "tmp", 0);
    rtosetflushlevel(f, 2);
    rtosignal_set_ctrlc();
    RTVarFileOut(copyPipe(f), l, 20, 16, 132, 12).Go();
    rtosignal_cancel_pending_ctrlc();
    EXPECT_EQ(std::ftell(tmp) + rtoflushlevel(f) + h.text().size(), 2u);
    rtodestroy(f);
    std::fclose(tmp);
    // Each failed allocation leaves the writer as it was.
    const std::pair<std::function<void(W)>, const char *> memory[] = {
        {[](W w) { w.AddAttribute(A::VALUE); }, "!!RTVarFileIO::AddAttribute: Unable to allocate memory\n"},
        {[](W w) { w.IncludeVariable(1); }, "!!RTVarFileIO: Unable to allocate memory\n"},
        {[](W w) { w.ClearIncluded(); }, "!!RTVarFileIO::ClearIncluded: Unable to allocate memory\n"},
        {[](W w) { w.Go(); }, "!!RTVarFileOut::Go: Unable to allocate memory\n"}};
    List one({{.name = "V", .value = 1}});
    for (const auto &[op, message] : memory) {
        const std::string written = write_out(one, {}, {A::SPEC}, [&](W w) {
            zarn::failalloc_set(1);
            op(w);
            zarn::failalloc_set(0);
        });
        EXPECT_EQ(written, "NAME,SPEC \nV ,CALC \n") << message;
        EXPECT_EQ(h.text(), message);
    }
    zarn::failalloc_set(1);
    EXPECT_EQ(createWriteVarFileMask(), nullptr);
    zarn::failalloc_set(0);
    EXPECT_EQ(h.text(), "!!createWriteVarFileMask: Unable to allocate memory\n");
    gl_list_t *mask = createWriteVarFileMask();
    ASSERT_EQ(gl_length(mask), 28u);
    EXPECT_EQ(reinterpret_cast<intptr_t>(mask->head->data) + reinterpret_cast<intptr_t>(mask->tail->data),
              27);
    gl_destroylist(mask);
}

}  // namespace
