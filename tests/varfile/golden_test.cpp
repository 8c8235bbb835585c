// Three small variable lists written with the default, narrow and wide widths
// and compared with files written by hand from the format rules.
#include <gtest/gtest.h>

#include "source_tree.h"
#include "varfile_fixture.h"

using namespace zarn::test;

namespace {

constexpr int kT = 22, kF = 2, kC = 4;
constexpr uint32_t kMin = 0x80000000u, kMax = 0x7FFFFFFFu;

struct Case {
    const char *file;
    std::vector<V> vars;
    std::initializer_list<int> attributes;
};

const Case kCases[] = {
    {"plant",  // typed and untyped variables, a long name, a quoted name, blank bounds
     {{.name = "FEED.T", .ptype = kT, .uom = kF, .spec = 1, .value = 300, .lower = 273.15, .upper = 373.15},
      {.name = "X", .value = 2.5, .upper = 10},
      {.name = "REACTOR_SECTION_2_OUTLET_TEMP", .ptype = kT, .uom = kC, .value = 350},
      {.name = "S(1)", .uom = 1, .spec = 2, .value = 0, .lower = -1e20, .upper = 1e20}},
     {A::PHYSICAL_TYPE, A::UNITS, A::VALUE, A::LOWER, A::UPPER, A::SPEC}},
    {"records",  // missing middle and trailing columns, MODIFIED zero and not, RAMPED, a scale
     {{.name = "A", .value = 1, .init = 0.5, .m1 = 6, .ramped = 1},
      {.name = "B", .value = 3, .m2 = 5},
      {.name = "C"},
      {.name = "D", .value = 1.5, .init = 1, .scale = 2, .m1 = kMax * 2 + 1, .m2 = 7},
      {.name = "E", .value = 2, .init = 2, .m1 = kMin, .m2 = kMax, .ramped = 1}},
     {A::VALUE, A::INIT, A::CHANGE, A::MODIFIED, A::RAMPED}},
    {"words",  // keywords, relaxed bounds and descriptions, some wider than their columns
     {{.name = "P1",
       .spec = 3,
       .type = 1,
       .bound = 1,
       .value = 5,
       .lower = 6,
       .upper = 5.5,
       .step = 1,
       .quality = 2,
       .param = 1,
       .desc = "feed temperature"},
      {.name = "P2", .spec = 2, .type = 64, .value = 10, .lower = 0, .upper = 100, .step = 2},
      {.name = "P3", .bound = 3, .lower = 1, .quality = 9, .desc = "x"},
      {.name = "P4",
       .spec = 7,
       .type = 4,
       .bound = 2,
       .value = 1,
       .quality = 3,
       .param = 1,
       .desc = "last one"}},
     {A::SPEC, A::SSPEC, A::BOUND, A::QUALITY, A::PARAM, A::VAR_TYPE, A::STEP, A::RLOWER, A::RUPPER,
      A::DESCRIPTION}}};

std::string expected(const std::string &name) {
    const std::string text = slurp(source_tree() / "tests/varfile/data" / name);
    EXPECT_FALSE(text.empty()) << "no golden file " << name;
    return text;
}

TEST(VarfileGolden, ThreeListsAtThreeWidths) {
    HistoryCapture history;
    const std::pair<const char *, Widths> widths[] = {
        {"default", {20, 16, 132, 12}}, {"narrow", {8, 11, 30, 6}}, {"wide", {30, 20, 200, 16}}};
    for (const Case &c : kCases) {
        List l(c.vars);
        for (const auto &[suffix, w] : widths) {
            const std::string file = std::string(c.file) + "_" + suffix + ".txt";
            EXPECT_EQ(write_out(l, w, c.attributes), expected(file)) << file;
        }
    }
    EXPECT_EQ(history.text(), "");
}

}  // namespace
