// The writer's widths and messages, the default 28 columns, number forms,
// relaxed bounds, quoting, variable sets, and bad pipes, lists and memory.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <functional>

#include "platform/xalloc.h"
#include "varfile_fixture.h"
#include "zarnutils/rtcontext.h"

using namespace zarn::test;

namespace {

std::string B(int n) { return std::string(static_cast<size_t>(n), ' '); }

TEST(VarfileWriter, PageWidthWideningMessages) {
    const std::string uom = "Increasing page width to %d because it is not big enough for a UOM.\n";
    auto m = [](std::string f, int w) { return f.replace(f.find("%d"), 2, std::to_string(w)); };
    const std::string real = "Increasing page width to %d because it is not big enough for a real value.\n";
    struct Row { int name, real, page; std::string history; };
    const Row rows[] = {{20, 16, 10, m(uom, 32) + m(real, 37)}, {20, 16, 32, m(uom, 32) + m(real, 37)},
                        {20, 16, 33, m(real, 37)}, {20, 16, 37, m(real, 37)}, {20, 16, 38, ""},
                        {20, 5, 10, m(uom, 32)}, {INT_MAX, INT_MIN, INT_MIN, m(uom, 32779)}, {-5, 40, 0, m(uom, 12) + m(real, 41)}};
    HistoryCapture h;
    rtvarlst_t *l = make_list({{.name = "V", .value = 1}});
    for (const Row &r : rows) {
        RTVarFileOut w(nullptr, l, r.name, r.real, r.page, 12);
        EXPECT_EQ(h.text(), r.history) << r.name << " " << r.real << " " << r.page;
    }
    // Widened to 37: two BOUND columns (8 each) fit beside the name, a third does not.
    EXPECT_EQ(write_out(l, 20, 16, 10, 12, {A::BOUND, A::BOUND, A::BOUND}),
              "NAME" + B(16) + ",BOUND  ,BOUND  \nV" + B(19) + ",HARD   ,HARD   \n\nNEW SECTION\nNAME" + B(16) +
                  ",BOUND  \nV" + B(19) + ",HARD   \n");
    // SBWEIGHT keeps a width of 8 under narrower numbers.
    EXPECT_EQ(write_out(l, 1, 5, 80, 1, {A::SBWEIGHT, A::SPEC}), "NAME,SBWEIGHT,SPEC \nV," + B(8) + ",CALC \n");
    // SSPEC as problem mode 2 sees INDEP, CONST and MEAS.
    rtvarlst_t *specs = make_list({{.name = "I", .spec = 2}, {.name = "C", .spec = 1}, {.name = "M", .spec = 3}});
    rto_set_mode_c(2);
    EXPECT_EQ(write_out(specs, 1, 10, 80, 1, {A::SSPEC}), "NAME,SSPEC\nI,INDEP\nC,CONST\nM,CONST\n");
    rto_set_mode_c(0);
    rtovarlst_destroy_c(&specs);
    rtovarlst_destroy_c(&l);
}

TEST(VarfileWriter, DefaultColumnsInFourSections) {
    HistoryCapture h;
    rtvarlst_t *l = make_list({{.name = "T1", .ptype = 22, .uom = 2, .value = 300, .init = 290, .lower = 273.15, .step = 5}});
    const std::string n = "NAME" + B(16), t = "T1" + B(18), blank = "," + B(16);
    EXPECT_EQ(write_out(l, 20, 16, 132, 12),
              n + ",PHYSICAL_TYPE,UNITS       ,BASEUOM     ,VALUE           ,INIT            ,CHANGE          ,LOWER           \n" +
              t + ",TEMPERATURE  ,F           ,K           ,  8.03300000e+01,  6.23300000e+01,  1.80000000e+01,  3.20000000e+01\n"
              "\nNEW SECTION\n" +
              n + ",UPPER           ,STEP            ,BOUND  ,SPEC ,SSPEC,SCALE           ,SBWEIGHT        ,QUALITY   ,PARAM\n" +
              t + blank + ",  9.00000000e+00,HARD   ,CALC ,CALC ,  1.80000000e+00" + blank + ",GOOD      ,NO   \n"
              "\nNEW SECTION\n" +
              n + ",TARGET          ,SHADOW_PRICE    ,ACTIVE_BOUND          ,DESCRIPTION         ,MODIFIED        ,RLOWER          \n" +
              t + blank + blank + ",NOT AT BOUNDS         ,Description Is Missing,\n" + B(99) + B(16) + ",  7.13300000e+01\n"
              "\nNEW SECTION\n" +
              n + ",RUPPER          ,VAR_TYPE       ,THRESHOLD       ,RAMPED,CONN_TYPE    \n" +
              t + ",  8.93300000e+01,ALGEBRAIC      " + blank + "," + B(5) + ",UNTYPED      \n");
    EXPECT_EQ(h.text(), "");
    rtovarlst_destroy_c(&l);
    // Units read in an earlier section still convert the solver scale of a later one.
    l = make_list({{.name = "T1", .ptype = 22, .uom = 2}, {.name = "T2", .ptype = 22, .uom = 4}});
    EXPECT_EQ(write_out(l, 2, 10, 13, 4, {A::UNITS, A::SCALE}),
              "NAME,UNITS\nT1,F   \nT2,C   \n\nNEW SECTION\nNAME,SCALE     \nT1,  1.80e+00\nT2,  1.00e+00\n");
    EXPECT_EQ(h.text(), "Increasing page width to 14 because it is not big enough for a UOM.\n");
    rtovarlst_destroy_c(&l);
}

// One VALUE (or RLOWER, RUPPER) field of an untyped variable, as the column writes it.
TEST(VarfileWriter, NumberFormsAndMissingBounds) {
    struct Row { int width; V v; int attribute; const char *field; };
    const Row rows[] = {
        {16, {.name = "A", .value = -1.5e-300}, A::VALUE, "-1.50000000e-300"}, {8, {.name = "A", .value = 1}, A::VALUE, "   1e+00"},
        {5, {.name = "A", .value = 1}, A::VALUE, "1.000000e+00"}, {16, {.name = "A", .value = NAN}, A::VALUE, "             nan"},
        {9, {.name = "A", .value = -INFINITY}, A::VALUE, "     -inf"}, {16, {.name = "A", .value = 1e35 * (1 + 1e-15)}, A::VALUE, "  1.00000000e+35"},
        {10, {.name = "A", .lower = -1e20}, A::LOWER, ""}, {10, {.name = "A", .lower = -9e19}, A::LOWER, " -9.00e+19"},
        {10, {.name = "A", .lower = -6e19, .scale = 2}, A::LOWER, ""}, {10, {.name = "A", .upper = 1e20}, A::UPPER, ""},
        {10, {.name = "A", .upper = 6e19, .scale = 1.5}, A::UPPER, "  9.00e+19"}, {10, {.name = "A", .step = -1e20}, A::STEP, ""},
        {10, {.name = "A", .step = -2, .scale = 3}, A::STEP, " -6.00e+00"}, {10, {.name = "A", .value = 2, .init = 3, .scale = 2}, A::CHANGE, " -2.00e+00"},
        {10, {.name = "A", .value = 2}, A::CHANGE, ""}, {10, {.name = "A", .init = 2}, A::CHANGE, ""},
        // Relaxed bounds: the step window, the value for a RELAXED bound beyond it, else the bound.
        {10, {.name = "A", .value = 5, .step = -1}, A::RLOWER, "  4.00e+00"}, {10, {.name = "A", .value = 5}, A::RLOWER, ""},
        {10, {.name = "A", .step = 1}, A::RLOWER, ""}, {10, {.name = "A", .value = 5, .lower = 1, .step = 1}, A::RLOWER, "  4.00e+00"},
        {10, {.name = "A", .bound = 1, .value = 5, .lower = 7, .step = 1}, A::RLOWER, "  5.00e+00"},
        {10, {.name = "A", .value = 5, .lower = 7, .step = 1}, A::RLOWER, "  7.00e+00"}, {10, {.name = "A", .lower = 7}, A::RLOWER, "  7.00e+00"},
        {10, {.name = "A", .value = 5, .lower = 4, .step = 1}, A::RLOWER, "  4.00e+00"},
        {10, {.name = "A", .value = 5, .step = -1}, A::RUPPER, "  6.00e+00"}, {10, {.name = "A", .value = 5}, A::RUPPER, ""},
        {10, {.name = "A", .value = 5, .upper = 9, .step = 1}, A::RUPPER, "  6.00e+00"},
        {10, {.name = "A", .bound = 1, .value = 5, .upper = 3, .step = 1}, A::RUPPER, "  5.00e+00"},
        {10, {.name = "A", .value = 5, .upper = 3, .step = 1}, A::RUPPER, "  3.00e+00"}, {10, {.name = "A", .upper = 3}, A::RUPPER, "  3.00e+00"},
        {10, {.name = "A", .value = 5, .upper = 6, .step = 1}, A::RUPPER, "  6.00e+00"}};
    for (const Row &r : rows) {
        rtvarlst_t *l = make_list({r.v});
        const std::string out = write_out(l, 1, r.width, 200, 1, {r.attribute});
        const std::string want = *r.field ? std::string("A,") + r.field + "\n" : "A\n";
        EXPECT_EQ(out.substr(out.find('\n') + 1), want) << r.width << " " << r.attribute;
        rtovarlst_destroy_c(&l);
    }
}

TEST(VarfileWriter, QuotingHelpers) {
    for (const char *s : {"*", " ", ";", "=", ",", "(", ")", "[", "]", "{", "}", "<", ">", "&", "a b", "x*"})
        EXPECT_TRUE(RTVarFileIO::SpecialChars(s) && RTVarFileIO::PrintedLength(s) == static_cast<int>(strlen(s)) + 2) << s;
    for (const char *s : {"", "A.B", "x'y", "a-b_c/d", "$\"#%!?"})
        EXPECT_TRUE(!RTVarFileIO::SpecialChars(s) && RTVarFileIO::PrintedLength(s) == static_cast<int>(strlen(s))) << s;
    EXPECT_EQ(RTVarFileIO::SpecialChars(nullptr) + RTVarFileIO::PrintedLength(nullptr), 0);
    rtopipe *q = create_queue_rtopipe();
    for (const char *s : {"a b", "AB", "'", "&"}) RTVarFileIO::WriteString(q, s);
    RTVarFileIO::WriteString(q, nullptr);
    EXPECT_EQ(drain(q), "'a b'AB''&'");
    rtodestroy(q);
}

TEST(VarfileWriter, AttributeListAndMessages) {
    HistoryCapture h;
    rtvarlst_t *l = make_list({{.name = "V", .value = 1}});
    RTVarFileOut w(create_queue_rtopipe(), l, 2, 10, 80, 4);
    for (int a : {28, -1, INT_MIN, 27, 0}) EXPECT_EQ(w.SupportedAttribute(static_cast<A::VarAttribute>(a)), a == 27 || a == 0) << a;
    for (int a = -1; a <= 28; ++a) EXPECT_EQ(A::DerivedAttribute(static_cast<A::VarAttribute>(a)), a == 6 || a == 12 || a == 22 || a == 23) << a;
    EXPECT_EQ(w.GetLevel(), 1);
    w.ClearAttributes();
    for (int a : std::initializer_list<int>{A::VALUE, 28, A::NAME, A::VALUE, -1, A::SPEC}) w.AddAttribute(static_cast<A::VarAttribute>(a));
    EXPECT_EQ(h.text(), "Attempt to add unsupported attribute to variable report 28\n"
                        "Attempt to add unsupported attribute to variable report -1\n");
    w.SetLevel(A::SILENT);
    w.AddAttribute(static_cast<A::VarAttribute>(99));
    EXPECT_EQ(w.GetLevel(), 0);
    EXPECT_EQ(h.text(), "");
    rtopipe *q = create_queue_rtopipe();
    {
        RTVarFileOut v(copyPipe(q), l, 2, 10, 80, 4);
        v.ClearAttributes();
        for (int a : std::initializer_list<int>{A::VALUE, A::VALUE, A::NAME, A::SPEC}) v.AddAttribute(static_cast<A::VarAttribute>(a));
        v.Go();
        v.RemoveAttribute(A::VALUE);
        v.Go();
        v.Reset();  // all 28 again, the first sections of which fit only VALUE
        v.RemoveAttribute(A::NAME), v.Go();
        v.ClearAttributes(), v.Go();  // no columns: nothing at all
    }
    const std::string out = drain(q);
    EXPECT_TRUE(out.ends_with(",UNTYPED      \n")) << out;
    EXPECT_EQ(out.substr(0, 102), "NAME,VALUE     ,VALUE     ,SPEC \nV ,  1.00e+00,  1.00e+00,CALC \nNAME,SPEC \nV ,CALC \n"
                                      "NAME,PHYSICAL_TYPE");
    rtodestroy(q);
    rtovarlst_destroy_c(&l);
}

TEST(VarfileWriter, VariableSets) {
    std::vector<V> vars;
    for (const char *n : {"F1", "F2", "G1", "G2", "F3"}) vars.push_back({.name = n});
    rtvarlst_t *l = make_list(vars);
    auto names = [&](const std::function<void(RTVarFileOut &)> &setup) {
        rtopipe *q = create_queue_rtopipe();
        {
            RTVarFileOut w(copyPipe(q), l, 2, 10, 80, 4);
            w.ClearAttributes(), w.AddAttribute(A::SPEC), setup(w), w.Go();
        }
        std::string s = drain(q), got;
        rtodestroy(q);
        for (size_t p = s.find('\n'); p != std::string::npos && p + 1 < s.size(); p = s.find('\n', p + 1)) got += s.substr(p + 1, 2);
        return got;
    };
    EXPECT_EQ(names([](RTVarFileOut &) {}), "F1F2G1G2F3");
    EXPECT_EQ(names([](RTVarFileOut &w) { w.ClearIncluded(); }), "");
    EXPECT_EQ(names([](RTVarFileOut &w) { w.ClearIncluded(), w.IncludeVariable(4), w.IncludeRange(2, 2), w.IncludeRange(5, 3); }), "F2G2");
    EXPECT_EQ(names([](RTVarFileOut &w) { w.ExcludeRange(2, 4), w.ExcludeVariable(1); }), "F3");
    EXPECT_EQ(names([](RTVarFileOut &w) { w.ExcludeRange(2, 4), w.ClearExcluded(), w.ExcludeVariable(0), w.ExcludeVariable(6); }), "F1F2G1G2F3");
    EXPECT_EQ(names([](RTVarFileOut &w) { w.ClearIncluded(), w.IncludeRegexp(hs_regcomp("^F")), w.ExcludeRegexp(hs_regcomp("2")); }), "F1F3");
    EXPECT_EQ(names([](RTVarFileOut &w) { w.IncludeRange(INT_MIN, INT_MAX), w.ExcludeRegexp(hs_regcomp("G")); }), "F1F2F3");
    // The default range is taken at Reset: a variable added later is not written until the next one.
    rtopipe *q = create_queue_rtopipe();
    {
        RTVarFileOut w(copyPipe(q), l, 2, 10, 80, 4);
        w.ClearAttributes(), w.AddAttribute(A::SPEC);
        rtovarlst_resize(l, 6), rtovarlst_set_nvar(l, 6), rtovarlst_addvar(l, 6, "H1");
        w.Go();
        EXPECT_EQ(drain(q).find("H1"), std::string::npos);
        w.Reset(), w.ClearAttributes(), w.AddAttribute(A::SPEC), w.Go();
        EXPECT_NE(drain(q).find("H1"), std::string::npos);
    }
    rtodestroy(q);
    HistoryCapture h;
    RTVarFileOut w(nullptr, l, 2, 10, 80, 4);
    w.IncludeRegexp(nullptr), w.ExcludeRegexp(nullptr);
    EXPECT_EQ(h.text(), "!!RTVarFileIO::IncludeRegexp: No regular expression given\n!!RTVarFileIO::ExcludeRegexp: No regular expression given\n");
    rtovarlst_destroy_c(&l);
}

// A pipe whose write fails from the n-th call on; it counts the calls.
struct FailingPipe {
    static inline int calls = 0, fail_from = 0;
    static int write(rtopipe *, const char *, size_t) { return ++calls >= fail_from ? -1 : 1; }
    static const char *describe(rtopipe *) { return "failing pipe"; }
    static void destroy(rtopipe *) {}
};

TEST(VarfileWriter, BadPipesListsAndMemory) {
    HistoryCapture h;
    std::vector<std::string> names;
    for (int k = 0; k < 3000; ++k) names.push_back("A_RATHER_LONG_VARIABLE_NAME_" + std::to_string(k));
    std::vector<V> many;
    for (const std::string &n : names) many.push_back({.name = n.c_str(), .value = 1});
    rtvarlst_t *l = make_list(many);
    RTVarFileOut(nullptr, l, 20, 16, 132, 12).Go();
    RTVarFileOut(create_queue_rtopipe(), nullptr, 20, 16, 132, 12).Go();
    EXPECT_EQ(h.text(), "!!RTVarFileOut::Go: No output pipe\n!!RTVarFileOut::Go: No variable list\n");
    // A full device and a closed descriptor: reported by the pipe and the writer, no more writes.
    FILE *full = std::fopen("/dev/full", "w");
    ASSERT_NE(full, nullptr);
    RTVarFileOut(create_ascii_stream_rtopipe(full, "/dev/full", 1), l, 20, 16, 132, 12).Go();
    EXPECT_EQ(h.text(), "genericFileStreamPush: No space left on device on file /dev/full\n"
                        "!!RTVarFileOut::Go: Writing to /dev/full failed; the output stops here\n");
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    FILE *gone = fdopen(fds[1], "w");
    close(fds[0]), close(fds[1]);
    RTVarFileOut(create_ascii_stream_rtopipe(gone, "closed", 0), l, 20, 16, 132, 12).Go();
    std::fclose(gone);
    EXPECT_NE(h.text().find("!!RTVarFileOut::Go: Writing to closed failed; the output stops here\n"), std::string::npos);
    rtopipe failing = {FailingPipe::write, nullptr, FailingPipe::destroy, nullptr, FailingPipe::describe, nullptr, 1, 0};
    FailingPipe::fail_from = 2;
    RTVarFileOut(&failing, l, 20, 16, 132, 12).Go();
    EXPECT_EQ(FailingPipe::calls, 2);
    EXPECT_EQ(h.text(), "!!RTVarFileOut::Go: Writing to failing pipe failed; the output stops here\n");
    // Ctrl-C before the run: nothing written, no message; the pipe's flush level comes back.
    FILE *tmp = std::tmpfile();
    rtopipe *f = create_ascii_stream_rtopipe(tmp, "tmp", 0);
    rtosetflushlevel(f, 2);
    rtosignal_set_ctrlc();
    {
        RTVarFileOut w(copyPipe(f), l, 20, 16, 132, 12);
        w.Go();
        rtosignal_cancel_pending_ctrlc();
    }
    EXPECT_EQ(std::ftell(tmp), 0);
    EXPECT_EQ(rtoflushlevel(f), 2);
    rtodestroy(f);
    std::fclose(tmp);
    EXPECT_EQ(h.text(), "");
    rtovarlst_destroy_c(&l);
}

TEST(VarfileWriter, AllocationFailures) {
    HistoryCapture h;
    rtvarlst_t *l = make_list({{.name = "V", .value = 1}});
    rtopipe *q = create_queue_rtopipe();
    {
        RTVarFileOut w(copyPipe(q), l, 2, 10, 80, 4);
        w.ClearAttributes(), w.AddAttribute(A::SPEC);
        zarn::failalloc_set(1);
        w.AddAttribute(A::VALUE);
        zarn::failalloc_set(1);
        w.IncludeVariable(1);
        zarn::failalloc_set(1);
        w.ClearIncluded();
        zarn::failalloc_set(1);
        w.Go();
        zarn::failalloc_set(0);
        EXPECT_EQ(drain(q), "");
        w.Go();
        EXPECT_EQ(drain(q), "NAME,SPEC \nV ,CALC \n");
    }
    zarn::failalloc_set(1);
    EXPECT_EQ(createWriteVarFileMask(), nullptr);
    zarn::failalloc_set(0);
    EXPECT_EQ(h.text(), "!!RTVarFileIO::AddAttribute: Unable to allocate memory\n!!RTVarFileIO: Unable to allocate memory\n"
                        "!!RTVarFileIO::ClearIncluded: Unable to allocate memory\n!!RTVarFileOut::Go: Unable to allocate memory\n"
                        "!!createWriteVarFileMask: Unable to allocate memory\n");
    gl_list_t *mask = createWriteVarFileMask();
    ASSERT_EQ(gl_length(mask), 28u);
    EXPECT_EQ(reinterpret_cast<intptr_t>(mask->head->data) + reinterpret_cast<intptr_t>(mask->tail->data), 27);
    gl_destroylist(mask);
    rtodestroy(q);
    rtovarlst_destroy_c(&l);
}

}  // namespace
