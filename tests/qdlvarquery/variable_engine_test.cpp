// The variable engine over a block of 320 variables on a real variable list:
// each query text against the numbers a plain loop over the rows picks (every
// attribute kind, operator, enumeration, name pattern and function), the same
// answers when every object is loaded, and every message of the engine.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "capture.h"
#include "variable_model.h"

using namespace zarn::test;

namespace {

constexpr int32_t kVariables = 320;
constexpr double kTol = 1e-6;

struct QueryRow {
    const char *name;
    const char *text;
    std::function<bool(const VarRow &, const Seen &)> pass;
};

// The glob rule: "*" any run, "?" one character, the rest exactly, the whole text.
bool glob(const char *p, const char *s) {
    if (*p == '\0') return *s == '\0';
    if (*p == '*') return glob(p + 1, s) || (*s != '\0' && glob(p, s + 1));
    return *s != '\0' && (*p == '?' || *p == *s) && glob(p + 1, s + 1);
}

bool near(double x, double l) { return x >= l - kTol && x <= l + kTol; }

// The SPEC words fixed in problem mode 0.
bool fixed(int32_t spec) { return spec != 0 && spec != 3; }

bool named(const Seen &s, const char *pattern) { return s.in_block && glob(pattern, s.stripped.c_str()); }

// clang-format off
const QueryRow kQueries[] = {
    // Reals: "=", "<>", "<=" and ">=" with the tolerance; display units, scales, differences.
    {"value_greater", "VALUE > 0", [](const VarRow &, const Seen &s) { return s.value > 0; }},
    {"value_equal", "VALUE = 1", [](const VarRow &, const Seen &s) { return near(s.value, 1); }},
    {"value_not_equal", "VALUE <> 1", [](const VarRow &, const Seen &s) { return !near(s.value, 1); }},
    {"value_less", "VALUE < 1", [](const VarRow &, const Seen &s) { return s.value < 1; }},
    {"value_less_or_equal", "VALUE <= 1", [](const VarRow &, const Seen &s) { return s.value <= 1 + kTol; }},
    {"value_greater_or_equal", "VALUE >= 1", [](const VarRow &, const Seen &s) { return s.value >= 1 - kTol; }},
    {"lower", "LOWER < -5", [](const VarRow &, const Seen &s) { return s.lower < -5; }},
    {"upper", "UPPER < 5", [](const VarRow &, const Seen &s) { return s.upper < 5; }},
    {"step_difference", "STEP > 10 AND STEP < 1e30",
     [](const VarRow &, const Seen &s) { return s.step > 10 && s.step < 1e30; }},
    {"solver_scale_difference", "SCALE > 2.5", [](const VarRow &, const Seen &s) { return s.slvscale > 2.5; }},
    {"internal_scale_held", "INTSCALE = 2.5", [](const VarRow &r, const Seen &) { return r.intscale == 2.5; }},
    {"shadow_price_si", "SHADOW_PRICE < 0", [](const VarRow &r, const Seen &) { return r.shadow < 0; }},
    {"change", "CHANGE > 1", [](const VarRow &, const Seen &s) { return s.change > 1; }},
    // Texts, integers.
    {"display_unit", "units = atm", [](const VarRow &, const Seen &s) { return s.uom == "ATM"; }},
    {"base_unit", "BASEUOM = PSIA", [](const VarRow &, const Seen &s) { return s.baseuom == "PSIA"; }},
    {"physical_type_glob", "PHYSICAL_TYPE = TEMP*", [](const VarRow &r, const Seen &) { return r.ptype == 22; }},
    {"description_glob_keeps_case", "DESCRIPTION = Feed*",
     [](const VarRow &r, const Seen &) { return r.description.rfind("Feed", 0) == 0; }},
    {"description_whole_text_any_case", "DESCRIPTION = 'FLOW OF B1 15'",
     [](const VarRow &r, const Seen &) { return r.description == "flow of B1 15"; }},
    {"marked", "MARKED = 1", [](const VarRow &r, const Seen &) { return r.marked == 1; }},
    {"physical_type_id", "PHYSICAL_TYPE_ID = 20", [](const VarRow &r, const Seen &) { return r.ptype == 20; }},
    {"display_unit_index", "UOM_ID = 3", [](const VarRow &r, const Seen &) { return r.uom == 3; }},
    // Enumerations by word and by code.
    {"spec_word", "SPEC = CONST", [](const VarRow &r, const Seen &) { return r.spec == 1; }},
    {"spec_code", "SPEC = 1", [](const VarRow &r, const Seen &) { return r.spec == 1; }},
    {"spec_synonym_any_case", "spec = fixed", [](const VarRow &r, const Seen &) { return r.spec == 1; }},
    {"spec_order_of_codes", "SPEC > OPTIM", [](const VarRow &r, const Seen &) { return r.spec > 5; }},
    {"codes_less_or_equal_and_at_least", "SPEC >= RECON AND BOUND <= SOFT AND MARKED < 1",
     [](const VarRow &r, const Seen &) { return r.spec >= 6 && r.bound <= 2 && r.marked < 1; }},
    {"codes_less_first", "VARIABLE_TYPE < 3 AND PHYSICAL_TYPE_ID >= 20",
     [](const VarRow &r, const Seen &) { return r.var_type < 3 && r.ptype >= 20; }},
    {"codes_at_most_first", "PHYSICAL_TYPE_ID <= 17 AND SPEC <= PARAM",
     [](const VarRow &r, const Seen &) { return r.ptype <= 17 && r.spec <= 4; }},
    {"codes_either", "SPEC = CONST OR MARKED = 1",
     [](const VarRow &r, const Seen &) { return r.spec == 1 || r.marked == 1; }},
    {"bound", "BOUND = SOFT2", [](const VarRow &r, const Seen &) { return r.bound == 3; }},
    {"quality_word", "QUALITY = BAD", [](const VarRow &r, const Seen &) { return r.quality == 1; }},
    {"active_bound_code_3", "ACTIVE_BOUND = EXCEEDED_STEP_LOWER",
     [](const VarRow &r, const Seen &) { return r.active_bound == 3; }},
    {"param_synonym", "PARAM = YES", [](const VarRow &r, const Seen &) { return r.param_homo == 1; }},
    {"variable_type_word", "VARIABLE_TYPE = INTEGER", [](const VarRow &r, const Seen &) { return r.var_type == 3; }},
    {"connection_type_upper_cased", "CONN_TYPE = api",
     [](const VarRow &r, const Seen &) { return r.conn_type == 1003; }},
    {"connection_type_glob", "CONN_TYPE = *FLOW* OR CONN_TYPE = AROM*",
     [](const VarRow &r, const Seen &) { return r.conn_type == 9 || r.conn_type == 1001; }},
    // Names: the block's prefix taken off first.
    {"name_glob", "NAME = S1.*", [](const VarRow &, const Seen &s) { return named(s, "S1.*"); }},
    {"name_text_upper_cased", "NAME = 's1.x(10)'", [](const VarRow &, const Seen &s) { return named(s, "S1.X(10)"); }},
    {"name_regex", "NAME = '%^S[12]\\.X\\(1'",
     [](const VarRow &, const Seen &s) { return named(s, "S1.X(1*") || named(s, "S2.X(1*"); }},
    {"name_regex_slash", "NAME = '/X\\(3[0-9]\\)$'", [](const VarRow &, const Seen &s) { return named(s, "*X(3?)"); }},
    {"name_not", "NAME <> S1.*", [](const VarRow &, const Seen &s) { return !named(s, "S1.*"); }},
    {"name_outside_the_block_differs", "NAME <> OTHER.*", [](const VarRow &, const Seen &) { return true; }},
    {"name_empty_passes", "NAME = '' AND SPEC = 7", [](const VarRow &r, const Seen &) { return r.spec == 7; }},
    // Functions.
    {"modified_any", "IsModified()",
     [](const VarRow &r, const Seen &) { return r.modified1 != 0 || r.modified2 != 0; }},
    {"modified_spec_assignment_bit", "ISMODIFIED(SPEC)",
     [](const VarRow &r, const Seen &) { return r.modified1 == 256u; }},
    {"modified_units_second_mask", "ismodified(uom)", [](const VarRow &r, const Seen &) { return r.modified2 == 2u; }},
    {"objective", "InObjective(OBJ)",
     [](const VarRow &r, const Seen &) {
         return r.name == "B1.S3.X(3)" || r.name == "B1.S3.X(30)" || r.name == "B1.S3.X(300)";
     }},
    {"not_objective", "NOT InObjective(obj)",
     [](const VarRow &r, const Seen &) {
         return r.name != "B1.S3.X(3)" && r.name != "B1.S3.X(30)" && r.name != "B1.S3.X(300)";
     }},
    {"fixed", "IsFixed()", [](const VarRow &r, const Seen &) { return fixed(r.spec); }},
    {"free", "IsFree()", [](const VarRow &r, const Seen &) { return !fixed(r.spec); }},
    {"fixed_by_alias", "IsFixed(TOP)", [](const VarRow &r, const Seen &) { return r.name == "B1.S0.X(9)"; }},
    {"alias", "IsAlias(FEED)", [](const VarRow &r, const Seen &) { return r.name == "B1.S1.X(10)"; }},
    // Compounds: sets from columns, narrowed by reals, loads for the rest.
    {"codes_then_reals", "SPEC = FIXED AND VALUE > 0",
     [](const VarRow &r, const Seen &s) { return r.spec == 1 && s.value > 0; }},
    {"codes_then_lower_in_display_units", "BOUND = HARD AND LOWER < -5 AND INITIAL < 0",
     [](const VarRow &r, const Seen &s) { return r.bound == 0 && s.lower < -5 && s.init < 0; }},
    {"codes_then_nested", "SPEC = CONST AND (VALUE > 0 AND MARKED = 1)",
     [](const VarRow &r, const Seen &s) { return r.spec == 1 && s.value > 0 && r.marked == 1; }},
    {"codes_then_or", "SPEC = CONST AND (VALUE > 0 OR MARKED = 1)",
     [](const VarRow &r, const Seen &s) { return r.spec == 1 && (s.value > 0 || r.marked == 1); }},
    {"codes_then_text", "MARKED = 1 AND UOM = K AND VALUE < 5",
     [](const VarRow &r, const Seen &s) { return r.marked == 1 && s.uom == "K" && s.value < 5; }},
    {"names_then_codes_and_reals", "NAME = S1.* AND VALUE > 0 AND SPEC <> CALC",
     [](const VarRow &r, const Seen &s) { return named(s, "S1.*") && s.value > 0 && r.spec != 0; }},
    {"two_name_sets", "NAME = S1.* AND NAME = '%1\\)$'",
     [](const VarRow &, const Seen &s) { return named(s, "S1.*") && named(s, "*1)"); }},
    {"names_or_codes", "NAME = S1.* OR QUALITY = BAD",
     [](const VarRow &r, const Seen &s) { return named(s, "S1.*") || r.quality == 1; }},
    {"not_or", "NOT (SPEC = CALC OR SPEC = MEAS)",
     [](const VarRow &r, const Seen &) { return r.spec != 0 && r.spec != 3; }},
};
// clang-format on

class VariableEngine : public ::testing::Test {
  protected:
    VariableModel model{kVariables};
};

TEST_F(VariableEngine, QueryTableMatchesALoopOverTheRows) {
    HistoryCapture history;
    for (const QueryRow &q : kQueries) {
        const std::vector<int32_t> expected = model.Expected(q.pass);
        EXPECT_EQ(model.Run(q.text), expected) << q.name << ": " << q.text;
        EXPECT_GT(expected.size(), 0u) << q.name << " selects nothing and tests little";
    }
    EXPECT_EQ(history.text(), "");
}

TEST_F(VariableEngine, SameAnswersOverCandidatesAndWhenRefined) {
    // Candidates, and results being refined, are tested one by one (from the
    // columns where the tests allow); the whole block is scanned.
    std::vector<int32_t> all;
    for (int32_t k = 1; k <= kVariables; ++k) all.push_back(k);
    for (const QueryRow &q : kQueries) {
        ASSERT_TRUE(model.engine->SetCandidates(0, nullptr));
        const std::vector<int32_t> whole_block = model.Run(q.text);
        ASSERT_TRUE(model.engine->SetCandidates(kVariables, all.data()));
        EXPECT_EQ(model.Run(q.text), whole_block) << q.name << ": over candidates";
        model.engine->Refine();
        EXPECT_EQ(model.engine->NumResults(), static_cast<int32_t>(whole_block.size()))
            << q.name << ": refined by itself";
        ASSERT_TRUE(model.engine->SetQueryText("SPEC <> CALC OR SPEC = CALC"));
        model.engine->Execute();
        ASSERT_EQ(model.engine->NumResults(), kVariables) << "every candidate passes";
        ASSERT_TRUE(model.engine->SetQueryText(q.text));
        model.engine->Refine();
        std::vector<int32_t> refined;
        for (int32_t i = 0; i < model.engine->NumResults(); ++i) refined.push_back(model.engine->ResultAt(i));
        EXPECT_EQ(refined, whole_block) << q.name << ": every variable refined";
    }
}

TEST_F(VariableEngine, ToleranceAppliesWhenTheQueryRuns) {
    ASSERT_TRUE(model.engine->SetCandidates(4, std::vector<int32_t>{4, 8, 12, 16}.data()));
    EXPECT_EQ(model.Run("VALUE = 1"), (std::vector<int32_t>{4, 12, 16})) << "1.00001 is beyond 1e-6";
    model.engine->SetTolerance(0.001);
    model.engine->Execute();
    EXPECT_EQ(model.engine->NumResults(), 4) << "and within 0.001";
    model.engine->SetTolerance(0.0);
    EXPECT_EQ(model.Run("VALUE <= 1"), (std::vector<int32_t>{12, 16}));
}

struct MessageRow {
    const char *text;
    const char *message;  // as printed on the history device
};

// clang-format off
const MessageRow kMessages[] = {
    {"FOO = 1", "FOO is not a recognised variable attribute\n"},
    {"MODIFIED = 1", "Cannot test Modified attribute directly use the IsModified() function\n"},
    {"NAME > A", "Only equality and inequality tests are supported on names\n"},
    {"CONN_TYPE <= A", "Only equality and inequality tests are supported on names\n"},
    {"DESCRIPTION <> 2.5", "Can only compare names with strings\n"},
    {"VALUE = A", "Can only compare VALUE with real values\n"},
    {"UOM = 3", "Can only compare UOM with string values\n"},
    {"MARKED = 1.5", "Can only compare MARKED with integer values\n"},
    {"SPEC = FOO", "Unrecognised enumeration value FOO\n"},
    {"QUALITY = 7", "Can only compare QUALITY with valid enumeration values\n"},
    {"QUALITY = TRUE", "Can only compare QUALITY with valid enumeration values\n"},
    {"BLOCKPTR = 1", "Invalid attribute\n"},
    {"IsModified(3)", "IsModified function expects a string argument\n"},
    {"IsModified(FOO)", "FOO is not a recognised variable attribute\n"},
    {"InObjective(1)", "InObjective function expects a string argument\n"},
    {"InObjective(NOPE)", "Unable to get information for objective NOPE\n"},
    {"IsFixed(NOPE)", "Unable to get information for IsFixed Function Test NOPE\n"},
    {"IsFree(nope)", "Unable to get information for IsFreee Function Test NOPE\n"},
    {"IsFixed(2)", "IsFixed function expects a string argument\n"},
    {"IsFree(TRUE)", "IsFree function expects a string argument\n"},
    {"IsAlias(NOPE)", "Unable to get information for alias test NOPE\n"},
    {"IsAlias(1.5)", "InAlias function expects a string argument\n"},
    {"IsFoo()", "Invalid function\n"},
    {"VALUE >", "parse error\n"},
    {"NAME = '%x['", "%X[ is not a valid regular expression: unmatched []\n"},
    {"VALUE > 0 AND FOO = 1 AND BAR = 2", "FOO is not a recognised variable attribute\n"},
};
// clang-format on

TEST_F(VariableEngine, EveryBuildMessageAndNoTreeAfterIt) {
    HistoryCapture history;
    for (const MessageRow &m : kMessages) {
        EXPECT_EQ(model.Run(m.text), std::vector<int32_t>{-1}) << m.text;
        EXPECT_EQ(history.text(), m.message) << m.text;
        model.engine->Execute();
        EXPECT_EQ(model.engine->NumResults(), 0) << m.text;
    }
    EXPECT_FALSE(model.engine->SetQueryText(""));
    EXPECT_FALSE(model.engine->SetQueryText(nullptr));
    EXPECT_EQ(history.text(), "") << "an empty text is refused silently";
}

}  // namespace
