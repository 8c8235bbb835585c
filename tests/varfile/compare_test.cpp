// The comparer: a report worked out by hand from the counting rules, a file
// written from the list compared with the same list, and single fields.
#include <gtest/gtest.h>

#include "varfile_fixture.h"
#include "zarnutils/varattrnames.hpp"

using namespace zarn::test;

namespace {

constexpr int kTemperature = 22, kKelvin = 1, kCelsius = 4;

const std::string kTitle =
    "COMPARE VARFILE REPORT\n"
    "ATTRIBUTE      # Changed  Relative Difference  Absolute Difference\n"
    "============== ========== ==================== ===================\n";

std::string compare(rtvarlst_t *list, const std::string &file, int level,
                    const std::function<void(RTVarFileCmp &)> &setup = {}) {
    rtopipe *report = create_queue_rtopipe();
    {
        RTVarFileCmp cmp(text_pipe(file), report, list);
        cmp.SetLevel(A::OutputLevel(level));
        if (setup) setup(cmp);
        cmp.Go();
    }
    std::string text = drain(report);
    rtodestroy(report);
    return text;
}

// Without a report pipe nothing is read: the message, and the list as it was.
TEST(VarfileCompare, NoReportPipe) {
    HistoryCapture his;
    List l({{.name = "A", .value = 4}});
    RTVarFileCmp cmp(text_pipe("NAME,VALUE\nA,5\n"), nullptr, l);
    cmp.Go();
    EXPECT_EQ(his.text(), "!!RTVarFileCmp::Go: No report pipe\n");
    EXPECT_EQ(rtovarlst_inq_var_value(l, 1, 0), 4.0) << "the list as it was";
}

// A: VALUE 4 vs 5 and STEP 0.5 vs 0.25 differ (sums 1 over 307 and 0.25 over 0.5); UPPER 1e30
// vs 1e21 and B's LOWER -1e25 vs -1e22 lie beyond 1e20 on one side, so they are equal; A's
// SBWEIGHT is undefined (1e35) against 1.5. Words: an unknown QUALITY counts as 5 and an unknown
// PARAM as 1, which B holds; VAR_TYPE, DESCRIPTION, MODIFIED and SHADOW_PRICE always differ. D is
// not in the list.
TEST(VarfileCompare, ReportWorkedOutByHand) {
    List l({{.name = "A", .spec = 1, .bound = 2, .value = 4, .init = 2, .upper = 1e30, .step = 0.5},
            {.name = "B", .value = -3, .lower = -1e25, .quality = 5, .param = 1},
            {.name = "C", .ptype = kTemperature, .uom = kKelvin, .value = 300}});
    const std::string file =
        "NAME,VALUE,INIT,UPPER,LOWER,STEP,SPEC,BOUND\n"
        "A,5.0,2,1e21,,0.25,CONST,HARD\nB,-3,,,-1e22,,FIXED,SOFT2\nC,300\nD,1\n"
        "NEW SECTION\nNAME,PHYSICAL_TYPE,UNITS,QUALITY,PARAM,RAMPED,VAR_TYPE,DESCRIPTION\n"
        "A,,,GOOD,NO,YES,state,hot\nB,,,ugly,maybe,NO\nC,TEMPERATURE,K,BAD,YES\n"
        "NEW SECTION\nNAME,SHADOW_PRICE,MODIFIED,SBWEIGHT,CONN_TYPE\n"
        "A,2.5,6,1.5,PRESSURE\nB,,'1;0',,wire\nC,,,,UNTYPED\n";
    const std::string details =
        "A VALUE FILE = 5 CURRENT = 4\n"
        "A STEP FILE = 0.25 CURRENT = 0.5\n"
        "A BOUND FILE = HARD CURRENT = SOFT\n"
        "B SPEC FILE = FIXED CURRENT = CALC\n"
        "B BOUND FILE = SOFT2 CURRENT = HARD\n"
        "A RAMPED FILE = YES CURRENT = NO\n"
        "A VAR_TYPE FILE = state CURRENT = \n"
        "A DESCRIPTION FILE = hot CURRENT = \n"
        "C QUALITY FILE = BAD CURRENT = \n"
        "C PARAM FILE = YES CURRENT = \n"
        "A SHADOW_PRICE FILE = 2.5 CURRENT = 1e+35\n"
        "A MODIFIED FILE = 6 CURRENT = 0\n"
        "A SBWEIGHT FILE = 1.5 CURRENT = 1e+35\n"
        "A CONN_TYPE FILE = PRESSURE CURRENT = \n"
        "B MODIFIED FILE = 1;0 CURRENT = \n"
        "B CONN_TYPE FILE = wire CURRENT = \n";
    const std::string summary = kTitle +
                                "NAME                    0                    0                    0\n"
                                "PHYSICAL_TYPE           0                    0                    0\n"
                                "UNITS                   0                    0                    0\n"
                                "BASEUOM                 0                    0                    0\n"
                                "VALUE                   1     0.00325732899023                    1\n"
                                "INIT                    0                    0                    0\n"
                                "LOWER                   0                    0                    0\n"
                                "UPPER                   0                    0                    0\n"
                                "STEP                    1                  0.5                 0.25\n"
                                "BOUND                   2                    0                    0\n"
                                "SPEC                    1                    0                    0\n"
                                "SCALE                   0                    0                    0\n"
                                "SBWEIGHT                1                    1                1e+35\n"
                                "QUALITY                 1                    0                    0\n"
                                "PARAM                   1                    0                    0\n"
                                "TARGET                  0                    0                    0\n"
                                "SHADOW_PRICE            1                    0                    0\n"
                                "ACTIVE_BOUND            0                    0                    0\n"
                                "DESCRIPTION             1                    0                    0\n"
                                "MODIFIED                2                    0                    0\n"
                                "VAR_TYPE                1                    0                    0\n"
                                "THRESHOLD               0                    0                    0\n"
                                "RAMPED                  1                    0                    0\n"
                                "CONN_TYPE               2                    0                    0\n";
    const std::string messages =
        "Attempt to compare string value 'STATE' to the VAR_TYPE attribute of A\n"
        "Attempt to compare description string value 'HOT' to the DESCRIPTION attribute of A\n"
        "The description cannot be read back from a file\n"
        "Unrecognized symbol UGLY compared to the QUALITY attribute of B\n"
        "Unrecognized symbol MAYBE compared to the PARAM attribute of B\n"
        "Attempt to compare shadow price value '2.5' to the SHADOW_PRICE attribute of A\n"
        "The shadow price cannot be read back from a file\n"
        "Attempt to compare real value 6 with the MODIFIED attribute of A\n"
        "Attempt to compare string value '1;0' to the MODIFIED attribute of B\n"
        "Unrecognized connection type WIRE compared to the CONN_TYPE attribute of B\n";
    HistoryCapture h;
    EXPECT_EQ(compare(l, file, 2), details + summary);
    EXPECT_EQ(h.text(), messages);
    EXPECT_EQ(compare(l, file, 1), summary) << "no detail lines below level 2";
    EXPECT_EQ(h.text(), messages);
    EXPECT_EQ(compare(l, file, 0), summary) << "silent at level 0";
    EXPECT_EQ(h.text(), "");
}

// A file the writer made from the list (wide enough that every number reads back
// exactly) compared with that list: nothing differs. The attributes that always
// differ are left out of the file; a removed one has no line.
TEST(VarfileCompare, IdenticalStatesReportNothing) {
    List l({{.name = "T1",
             .ptype = kTemperature,
             .uom = kCelsius,
             .spec = 1,
             .bound = 3,
             .value = 300.1,
             .init = 290,
             .lower = 250,
             .upper = 1e30,
             .step = 5,
             .scale = 2},
            {.name = "P(1)", .ptype = 20, .uom = 2, .value = 101325, .lower = -1e30, .scale = 0.5},
            {.name = "U", .value = -7.25, .init = 1e-300, .ramped = 1, .quality = 3, .param = 1}});
    rtovarlst_set_var_sbweight(l, 1, 0.125);
    rtovarlst_set_var_target_homo(l, 2, 99.5, 1);
    rtovarlst_set_var_conn_type(l, 2, 1003);
    std::vector<int> written;
    for (int a = A::PHYSICAL_TYPE; a < ZARN_VARFILE_ATTRIBUTE_COUNT; ++a)
        if (a != A::SHADOW_PRICE && a != A::ACTIVE_BOUND && a != A::DESCRIPTION && a != A::MODIFIED &&
            a != A::VAR_TYPE)
            written.push_back(a);
    const std::string file = write_out(l, {.name = 8, .real = 32, .page = 200, .uom = 8}, written);
    std::string zeros = kTitle;
    for (int a = 0; a < ZARN_VARFILE_ATTRIBUTE_COUNT; ++a) {
        const std::string word = RTVarAttributeNames::Name(a);
        if (a != A::VALUE && !A::DerivedAttribute(A::VarAttribute(a)))
            zeros += word + B(24 - int(word.size())) + "0" + B(20) + "0" + B(20) + "0\n";
    }
    HistoryCapture h;
    const std::string differences = compare(l, file, 2, [](RTVarFileCmp &c) {
        c.RemoveAttribute(A::VALUE);
        c.AddAttribute(A::SPEC);
    });
    EXPECT_EQ(differences, zeros) << file;
    EXPECT_EQ(h.text(), "");
}

// Against C, shown in C and holding 273.15 K.
TEST(VarfileCompare, FieldsAFileSeldomGives) {
    List l({{.name = "C", .ptype = kTemperature, .uom = kCelsius, .value = 273.15}});
    HistoryCapture h;
    StatisticsRecorder rec(nullptr, l, 1, nullptr, nullptr);
    rec.AssignString(1, A::ACTIVE_BOUND, "lower");
    EXPECT_EQ(rec.ChangedCount(A::ACTIVE_BOUND), 1);
    EXPECT_EQ(h.text(),
              "Attempt to compare active bound string value 'LOWER' to the ACTIVE_BOUND attribute of C\n"
              "The active_bound cannot be read back from a file\n");
    rec.AssignString(1, A::PHYSICAL_TYPE, "Temp");
    EXPECT_EQ(h.text(), "Unrecognized physical type TEMP compared to the PHYSICAL_TYPE attribute of C\n");
    rec.AssignRealInUnit(1, A::VALUE, 273.15, "K");
    EXPECT_EQ(rec.ChangedCount(A::VALUE), 0) << "273.15 K is the 0 C held";
    EXPECT_NEAR(rec.MagnitudeSum(A::VALUE), 273.15, 1e-9) << "the current value in the record's unit";
    rec.AssignString(1, A::SPEC, nullptr);
    EXPECT_EQ(rec.ChangedCount(A::SPEC), 1) << "a missing text is an empty word, which is no SPEC";
    EXPECT_EQ(h.text(), "Unrecognized symbol  compared to the SPEC attribute of C\n");
    rec.AssignString(1, A::UNITS, "F");
    EXPECT_EQ(rec.ChangedCount(A::UNITS), 1) << "F, another unit of the type, against C";
    rec.AssignString(1, A::UNITS, "furlong");
    EXPECT_EQ(rec.ChangedCount(A::UNITS), 2) << "a word that is no unit";
    const std::string no_unit = "Unrecognized unit of measure FURLONG compared to the UNITS attribute of C\n";
    EXPECT_NE(h.text().find(no_unit), std::string::npos) << "a word that is no unit is reported";
    List area({{.name = "S", .ptype = 1, .uom = 3, .value = 1}});  // AREA: SQM, SQFT, SQM, ...
    StatisticsRecorder area_rec(nullptr, area, 1, nullptr, nullptr);
    area_rec.AssignString(1, A::UNITS, "SQM");
    EXPECT_EQ(area_rec.ChangedCount(A::UNITS), 0) << "SQM held at index 3 is the SQM the table finds at 1";
    List untyped({{.name = "U"}});
    StatisticsRecorder untyped_rec(nullptr, untyped, 0, nullptr, nullptr);
    untyped_rec.AssignString(1, A::UNITS, "furlong");
    EXPECT_EQ(untyped_rec.ChangedCount(A::UNITS), 1) << "a word that is no unit, for an untyped variable";
    for (int outside : {-1, int{ZARN_VARFILE_ATTRIBUTE_COUNT}}) {
        rec.AssignString(1, A::VarAttribute(outside), "K");
        EXPECT_EQ(h.text(), "") << "attribute " << outside << ": ignored";
    }
    List price({{.name = "P", .ptype = -1}});  // AREA's price type: -1, as an unknown type word's code
    StatisticsRecorder price_rec(nullptr, price, 0, nullptr, nullptr);
    price_rec.AssignString(1, A::PHYSICAL_TYPE, "NOSUCHTYPE");
    EXPECT_EQ(price_rec.ChangedCount(A::PHYSICAL_TYPE), 1) << "an unknown type word against price type -1";
}

}  // namespace
