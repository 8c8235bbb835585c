// VARFILE round trips under the internal scale and the base unit: the reader
// holds what assignment would hold (in the base unit, divided by the scale),
// the writer writes what lookup would give, so a file read back into the
// same model leaves every number as it was; and every connection type with a
// word is written and read back without disturbing the record after it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "capture.h"
#include "varfile_fixture.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/varmask.h"

namespace zarn::test {
namespace {

constexpr double kUndefined = 1e35;

int unit_of(int ptype, const char *name) {
    int uom = 0;
    rtouom_ptype_locate(name, ptype, &uom);
    EXPECT_NE(uom, 0) << "type " << ptype << " has no unit " << name;
    return uom;
}

struct Variable {
    const char *name;
    const char *type;  // physical type, "" for none
    const char *display, *base;
    double scale;
    double value, lower, upper, init, step, target, threshold, slvscale;  // held numbers
};

// A list of the variables with their units, scales and held numbers.
rtvarlst_t *model(const std::vector<Variable> &vars) {
    rtvarlst_t *l = rtovarlst_create(static_cast<int32_t>(vars.size()));
    rtovarlst_set_nvar(l, static_cast<int32_t>(vars.size()));
    for (int32_t i = 1; i <= static_cast<int32_t>(vars.size()); ++i) {
        const Variable &v = vars[i - 1];
        rtovarlst_addvar(l, i, v.name);
        const int t = v.type[0] != '\0' ? pt_lookup(v.type) : 0;
        rtovarlst_set_physical_type(l, i, t);
        if (t != 0) {
            rtovarlst_set_var_uom(l, i, unit_of(t, v.display));
            rtovarlst_set_var_baseuom(l, i, unit_of(t, v.base));
        }
        rtovarlst_vec_scale(l)[i - 1] = v.scale;
        rtovarlst_set_var_value(l, i, v.value, 0);
        rtovarlst_set_var_lower(l, i, v.lower, 0);
        rtovarlst_set_var_upper(l, i, v.upper, 0);
        rtovarlst_set_var_initial(l, i, v.init, 0);
        rtovarlst_set_var_step_inbaseuom(l, i, v.step);
        rtovarlst_set_var_target_homo(l, i, v.target, 0);
        rtovarlst_set_var_threshold(l, i, v.threshold, 0);
        rtovarlst_set_var_slvscl(l, i, v.slvscale, 0);
    }
    return l;
}

// Reads text into l with the attributes that carry numbers.
void read_into(rtvarlst_t *l, const std::string &text) {
    RTVarFileIn in(text_pipe(text), l);
    in.Go();
}

void expect_same(double got, double want, const std::string &what) {
    if (want == kUndefined) {
        EXPECT_EQ(got, kUndefined) << what;
        return;
    }
    EXPECT_NEAR(got, want, 1e-7 * std::max(1.0, std::fabs(want))) << what;
}

TEST(VarfileScale, NumbersComeBackAsHeldUnderEveryScaleAndBaseUnit) {
    const std::vector<Variable> vars = {
        {"PLAIN", "", "", "", 1.0, 5, -3, 10, 4, 0.5, 6, 2, 1},
        {"UNDEF", "", "", "", kUndefined, 5, -3, 10, 4, 0.5, 6, 2, 1},
        {"TWICE", "", "", "", 2.0, 5, -3, 10, 4, 0.5, 6, 2, 1},
        {"TEMPF", "TEMPERATURE", "C", "F", 2.0, 40, 10, 100, 35, 1.5, 45, 50, 3},
        {"LENFT", "LENGTH", "METER", "FT", 4.0, 2.5, -1, 30, 2, 0.25, 3, 1, 2},
        {"ZERO", "LENGTH", "FT", "METER", 0.0, 2.5, -1, 30, 2, 0.25, 3, 1, 2},
        // Base units whose names an earlier type lists under another index.
        {"FLOWT", "FLOW", "TONS/HR", "TONS/HR", 1.0, 2, 0, 9, 1, 0.5, 3, 1, 1},
        {"POWKW", "POWER", "KW", "KW", 1.0, 2, 0, 9, 1, 0.5, 3, 1, 1},
    };
    rtvarlst_t *source = model(vars);
    const std::string text = write_out(source, {.name = 8, .real = 24, .page = 400, .uom = 6});
    std::vector<Variable> blank = vars;
    for (Variable &v : blank)
        v.value = v.lower = v.upper = v.init = v.step = v.target = v.threshold = v.slvscale = 0;
    rtvarlst_t *back = model(blank);
    HistoryCapture history;
    read_into(back, text);
    EXPECT_EQ(history.text(), "") << text;
    for (int32_t i = 1; i <= static_cast<int32_t>(vars.size()); ++i) {
        const std::string name = vars[i - 1].name;
        EXPECT_EQ(rtovarlst_inq_var_baseuom(back, i), rtovarlst_inq_var_baseuom(source, i))
            << name + ".BASEUOM";
        expect_same(rtovarlst_inq_var_value(back, i, 0), vars[i - 1].value, name + ".VALUE");
        expect_same(rtovarlst_inq_var_lower(back, i, 0), vars[i - 1].lower, name + ".LOWER");
        expect_same(rtovarlst_inq_var_upper(back, i, 0), vars[i - 1].upper, name + ".UPPER");
        expect_same(rtovarlst_inq_var_initial(back, i, 0), vars[i - 1].init, name + ".INIT");
        expect_same(rtovarlst_inq_var_step_inbaseuom(back, i), vars[i - 1].step, name + ".STEP");
        expect_same(rtovarlst_inq_var_target_homo(back, i, 0), vars[i - 1].target, name + ".TARGET");
        expect_same(rtovarlst_inq_var_threshold(back, i, 0), vars[i - 1].threshold, name + ".THRESHOLD");
        expect_same(rtovarlst_inq_var_slvscl(back, i, 0), vars[i - 1].slvscale, name + ".SCALE");
    }
    rtovarlst_destroy_c(&source);
    rtovarlst_destroy_c(&back);
}

TEST(VarfileScale, EveryNamedConnectionTypeRoundTripsAndOthersLeaveTheFieldOut) {
    struct Row {
        int32_t code;
        const char *word;  // what the field holds, "" when it is left out
    };
    const Row rows[] = {
        {0, "UNTYPED"},        {22, "TEMPERATURE"}, {148, "MOLEFL-LEN"},   {149, ""}, {500, ""}, {1000, ""},
        {1001, "AROM-FACTOR"}, {1026, "RON-CLEAR"}, {1065, "LE-COMPONENT"}};
    for (const Row &row : rows) {
        rtvarlst_t *l = rtovarlst_create(2);
        rtovarlst_set_nvar(l, 2);
        rtovarlst_addvar(l, 1, "A");
        rtovarlst_addvar(l, 2, "B");
        rtovarlst_set_var_conn_type(l, 1, row.code);
        rtovarlst_set_var_value(l, 2, 7, 0);
        const std::string text =
            write_out(l, {.name = 2, .real = 16, .page = 80, .uom = 4}, {A::NAME, A::CONN_TYPE, A::VALUE});
        const std::string header = "NAME,CONN_TYPE    ,VALUE           \n";
        const std::string first = row.word[0] != '\0' ? "A ," + std::string(row.word) : "A";
        EXPECT_EQ(text.substr(0, header.size() + first.size()), header + first) << "code " << row.code;
        rtvarlst_t *back = rtovarlst_create(2);
        rtovarlst_set_nvar(back, 2);
        rtovarlst_addvar(back, 1, "A");
        rtovarlst_addvar(back, 2, "B");
        HistoryCapture history;
        read_into(back, text);
        EXPECT_EQ(history.text(), "") << "code " << row.code;
        EXPECT_EQ(rtovarlst_inq_var_conn_type(back, 1), row.word[0] != '\0' ? row.code : 0)
            << "code " << row.code;
        EXPECT_EQ(rtovarlst_inq_var_value(back, 2, 0), 7.0) << "the record after code " << row.code;
        rtovarlst_destroy_c(&l);
        rtovarlst_destroy_c(&back);
    }
}

}  // namespace
}  // namespace zarn::test
