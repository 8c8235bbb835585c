// The variable engine over 320 variables of a real list: each query against a
// plain loop over the rows, however it runs, and every message of the engine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture.h"
#include "fake_model.h"
#include "zarnutils/rtcontext.h"
#include "zarnutils/rttaglst.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/varutl.h"

using namespace zarn::test;

namespace {

using Numbers = std::vector<int32_t>;

constexpr double kUndef = 1e35;
const std::string kPrefix = "B1";

// One variable: as made (reals in SI, the rest as codes), and as a query sees
// it (reals in the display unit, the name without the block's prefix).
struct VarRow {
    std::string name, description;  // "" for no description
    int32_t spec, ptype, uom, baseuom, var_type, marked, bound, conn_type, quality;
    double intscale;  // kUndef for none (counts as 1)
    double value, init, slvscale;
    double shadow;  // in SI, as the query reads it
    uint32_t modified1, modified2;
    double shown_value, shown_scale, change;
    std::string stripped;
    bool in_block;
};

// A quantity in SI as the list holds it: in the base unit, divided by the scale.
double held_of(const VarRow &r, double si, bool difference) {
    if (si == kUndef) return kUndef;
    const double base = r.baseuom == 1 ? si
                        : difference   ? rtouom_delta_si2pair(si, r.ptype, r.baseuom)
                                       : rtouom_si2pair(si, r.ptype, r.baseuom);
    return r.intscale == kUndef ? base : base / r.intscale;
}

// A shadow price as the list holds it: in the base unit, times the scale.
double held_shadow_of(const VarRow &r) {
    if (r.shadow == kUndef) return kUndef;
    const double quantity = r.intscale == kUndef ? r.shadow : r.shadow * r.intscale;
    return r.baseuom == 1 ? quantity : rtouom_si2pair(quantity, r.ptype, r.baseuom);
}

double shown_of(const VarRow &r, double si, bool difference) {
    if (si == kUndef) return kUndef;
    return difference ? rtouom_delta_si2pair(si, r.ptype, r.uom) : rtouom_si2pair(si, r.ptype, r.uom);
}

// The row of variable k follows simple rules of k; a few untyped variables
// sit at the edges of the default tolerance.
VarRow make_row(int32_t k) {
    VarRow r{};
    r.name = k % 40 == 7 ? "OTHER.Y" + std::to_string(k)
                         : kPrefix + ".S" + std::to_string(k % 9) + ".X(" + std::to_string(k) + ")";
    r.spec = k % 8;
    const int32_t types[] = {0, 20, 22, 17}, pressure[] = {0, 3, 5}, temperature[] = {0, 4, 2},
                  length[] = {0, 2, 4};
    r.ptype = types[k % 4];
    r.uom = r.ptype == 20   ? pressure[k % 3]
            : r.ptype == 22 ? temperature[k % 3]
            : r.ptype == 17 ? length[k % 3]
                            : 0;
    // Type 60's units differ from SI by an offset alone.
    if (k % 40 == 21) {
        r.ptype = 60;
        r.uom = 2;
    }
    r.baseuom = k % 3 == 0 && r.ptype != 0 ? 2 : 1;
    r.intscale = k % 5 == 0 ? 2.5 : kUndef;
    r.value = ((k * 37) % 41) - 20.0 + 0.25;
    const double edges[] = {0, 1.0000005, 1.00001, 0.999999999, 1.0, 0.9999985, 1.0000015};
    if (k % 4 == 0 && k <= 24) r.value = edges[k / 4];  // untyped variables
    r.init = k % 3 == 0 ? kUndef : r.value - 0.5 * (k % 4);
    r.slvscale = 1.0 + k % 3;
    r.shadow = k % 6 == 5 ? kUndef : ((k * 13) % 17) - 8.0 + 0.5;
    r.var_type = k % 10 == 1 ? 3 : k % 25 == 4 ? 64 : 0;
    r.marked = k % 3 == 0 ? 1 : 0;
    r.bound = k % 4;                    // HARD, RELAXED, SOFT, SOFT2
    r.conn_type = k % 7 == 2 ? 20 : 0;  // PRESSURE, else UNTYPED
    r.quality = k % 5 == 1 ? 1 : 0;     // BAD, else GOOD
    if (k % 10 == 0) r.description = "Feed temperature " + std::to_string(k);
    r.modified1 = k % 6 == 1 ? 2u : k % 6 == 2 ? 256u : 0u;
    r.modified2 = k % 6 == 3 ? 2u : 0u;
    r.shown_value = shown_of(r, r.value, false);
    r.shown_scale = shown_of(r, r.slvscale, true);
    r.change = r.init == kUndef ? kUndef : r.shown_value - shown_of(r, r.init, false);
    r.in_block = r.name.compare(0, kPrefix.size(), kPrefix) == 0;
    if (r.in_block) r.stripped = r.name.substr(kPrefix.size() + 1);
    return r;
}

// The list, the block and the container over it, and the variable engine;
// the alias FEED stands for variable 10.
struct VariableModel {
    std::vector<VarRow> rows;
    rtvarlst_t *list = nullptr;
    rtotaglst_t *tags = rtotaglst_create(4);
    FakeBlock block;
    FakeContainer container;
    FakeVariableSource source;
    IQDLQueryEngine *engine = nullptr;
    int32_t saved_mode = rtopt_mode;

    explicit VariableModel(int32_t n) {
        rtopt_mode = 0;
        list = rtovarlst_create(n);
        rtovarlst_set_nvar(list, n);
        for (int32_t k = 1; k <= n; ++k) {
            rows.push_back(make_row(k));
            const VarRow &r = rows.back();
            rtovarlst_addvar(list, k, r.name.c_str());
            int64_t word = 0;
            varSetSpec(&word, r.spec);
            varSetPhysicalType(&word, r.ptype);
            varSetType(r.var_type, &word);
            varSetMarked(static_cast<unsigned char>(r.marked), &word);
            varSetBoundType(r.bound, &word);
            rtovarlst_set_var_status(list, k, word);
            rtovarlst_set_var_uom(list, k, r.uom);
            rtovarlst_set_var_conn_type(list, k, r.conn_type);
            rtovarlst_set_var_quality(list, k, r.quality);
            rtovarlst_set_var_baseuom(list, k, r.baseuom);
            rtovarlst_vec_scale(list)[k - 1] = r.intscale;
            rtovarlst_set_var_value(list, k, held_of(r, r.value, false), 0);
            rtovarlst_set_var_initial(list, k, held_of(r, r.init, false), 0);
            rtovarlst_set_var_slvscl(list, k, held_of(r, r.slvscale, true), 0);
            rtovarlst_set_var_shadow_price(list, k, held_shadow_of(r), 0);
            if (!r.description.empty()) rtovarlst_set_var_description(list, k, r.description.c_str());
            const rtvarmod_t m{r.modified1, r.modified2};
            if (m.mask1 != 0 || m.mask2 != 0) rtovarlst_set_var_modified(list, k, &m);
        }
        rtotaglst_add_tag(tags, "FEED", rows[9].name.c_str());
        rtovarlst_set_taglst(list, tags);
        block.objects.list = source.list = list;
        block.objects.prefix = kPrefix;
        source.objectives["OBJ"] = {3, 30, 300, 0, n + 5};
        container.source = &source;
        engine = QDLQueryFactory::NewVariableQuery(&container, &block);
    }
    ~VariableModel() {
        engine->Release();
        rtovarlst_destroy_c(&list);
        rtotaglst_destroy(tags);
        rtopt_mode = saved_mode;
    }
    VariableModel(const VariableModel &) = delete;
    VariableModel &operator=(const VariableModel &) = delete;

    Numbers Results() const {
        Numbers out;
        for (int32_t i = 0; i < engine->NumResults(); ++i) out.push_back(engine->ResultAt(i));
        return out;
    }
    // The engine's results after Execute; {-1} when the text does not build.
    Numbers Run(const char *text) {
        if (!engine->SetQueryText(text)) return {-1};
        engine->Execute();
        return Results();
    }
    // The numbers of the rows that pass, in order.
    Numbers Expected(bool (*pass)(const VarRow &)) const {
        Numbers out;
        for (size_t k = 0; k < rows.size(); ++k)
            if (pass(rows[k])) out.push_back(static_cast<int32_t>(k + 1));
        return out;
    }
};

constexpr int32_t kVariables = 320;
constexpr double kTol = 1e-6;

struct QueryRow {
    const char *name;
    const char *text;
    bool (*pass)(const VarRow &);
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

bool named(const VarRow &r, const char *pattern) { return r.in_block && glob(pattern, r.stripped.c_str()); }

// clang-format off
const QueryRow kQueries[] = {
    // Reals: "=", "<>", "<=" and ">=" with the tolerance; display units, scales, differences.
    {"value_equal", "VALUE = 1", [](const VarRow &r) { return near(r.shown_value, 1); }},
    {"value_not_equal", "VALUE <> 1", [](const VarRow &r) { return !near(r.shown_value, 1); }},
    {"value_less", "VALUE < 1", [](const VarRow &r) { return r.shown_value < 1; }},
    {"value_less_or_equal", "VALUE <= 1", [](const VarRow &r) { return r.shown_value <= 1 + kTol; }},
    {"value_greater_or_equal", "VALUE >= 1", [](const VarRow &r) { return r.shown_value >= 1 - kTol; }},
    {"solver_scale_difference", "SCALE > 2.5", [](const VarRow &r) { return r.shown_scale > 2.5; }},
    {"change", "CHANGE > 1", [](const VarRow &r) { return r.change > 1; }},
    // A shadow price is read in SI, not in the display unit.
    {"shadow_price_in_si", "SHADOW_PRICE > 1", [](const VarRow &r) { return r.shadow > 1; }},
    // Texts, integers.
    // PSIA is unit 2 of pressure (20); K is the default unit of temperature (22).
    {"base_unit_less_as_equal", "BASEUOM < PSIA",
     [](const VarRow &r) { return r.ptype == 20 && r.baseuom == 2; }},
    {"description_glob_keeps_case", "DESCRIPTION = Feed*",
     [](const VarRow &r) { return r.description.rfind("Feed", 0) == 0; }},
    // Enumerations.
    {"spec_word", "SPEC = CONST", [](const VarRow &r) { return r.spec == 1; }},
    {"codes_less_first", "VARIABLE_TYPE < 3 AND PHYSICAL_TYPE_ID >= 20",
     [](const VarRow &r) { return r.var_type < 3 && r.ptype >= 20; }},
    {"code_greater", "VARIABLE_TYPE > 3 AND MARKED = 0",
     [](const VarRow &r) { return r.var_type > 3 && r.marked == 0; }},
    {"code_not_equal", "SPEC <> CONST", [](const VarRow &r) { return r.spec != 1; }},
    {"codes_at_most_and_at_least", "PHYSICAL_TYPE_ID <= 20 AND BOUND >= SOFT",
     [](const VarRow &r) { return r.ptype <= 20 && r.bound >= 2; }},
    {"bound_at_least", "BOUND >= SOFT", [](const VarRow &r) { return r.bound >= 2; }},
    {"connection_word", "CONN_TYPE = pressure", [](const VarRow &r) { return r.conn_type == 20; }},
    {"quality_word_not_in_the_status_word", "QUALITY = BAD", [](const VarRow &r) { return r.quality == 1; }},
    // Names: the block's prefix taken off first.
    {"name_glob", "NAME = S1.*", [](const VarRow &r) { return named(r, "S1.*"); }},
    {"code_without_match_or_name", "SPEC > INITIAL OR NAME = S1.*",
     [](const VarRow &r) { return named(r, "S1.*"); }},
    {"name_regex_slash", "NAME = '/X\\(3[0-9]\\)$'", [](const VarRow &r) { return named(r, "*X(3?)"); }},
    {"name_empty_passes", "NAME = '' AND SPEC = 7", [](const VarRow &r) { return r.spec == 7; }},
    // Functions.
    {"modified_any", "IsModified()",
     [](const VarRow &r) { return r.modified1 != 0 || r.modified2 != 0; }},
    {"modified_unit", "IsModified(UOM)",
     [](const VarRow &r) { return (r.modified1 & 1024u) != 0 || (r.modified2 & 2u) != 0; }},
    {"objective", "InObjective(OBJ)",
     [](const VarRow &r) {
         return r.name == "B1.S3.X(3)" || r.name == "B1.S3.X(30)" || r.name == "B1.S3.X(300)";
     }},
    {"objective_and_names", "InObjective(OBJ) AND NAME = '/0\\)$'",
     [](const VarRow &r) { return r.name == "B1.S3.X(30)" || r.name == "B1.S3.X(300)"; }},
    {"fixed", "IsFixed()", [](const VarRow &r) { return fixed(r.spec); }},
    {"free", "IsFree()", [](const VarRow &r) { return !fixed(r.spec); }},
    {"alias", "IsAlias(FEED)", [](const VarRow &r) { return r.name == "B1.S1.X(10)"; }},
    // Compounds: sets from columns, narrowed by reals, loads for the rest.
    {"codes_then_text", "MARKED = 1 AND UOM = K AND VALUE < 5",
     [](const VarRow &r) { return r.marked == 1 && r.ptype == 22 && r.uom == 0 && r.shown_value < 5; }},
    {"code_then_two_reals", "SPEC <> CONST AND VALUE > 0 AND SCALE < 2.5",
     [](const VarRow &r) { return r.spec != 1 && r.shown_value > 0 && r.shown_scale < 2.5; }},
};
// clang-format on

class VariableEngine : public ::testing::Test {
  protected:
    VariableModel model{kVariables};
};

// The whole block is scanned; candidates and refined results are tested one by one.
TEST_F(VariableEngine, QueryTableMatchesALoopOverTheRowsHoweverItRuns) {
    HistoryCapture history;
    // More real and code tests than a scan plans for: the rest are loaded and tested.
    std::string seventeen_tests = "VALUE > 0 AND MARKED >= 0";
    for (int k = 1; k < 17; ++k) seventeen_tests += " AND VALUE > 0 AND MARKED >= 0";
    const Numbers positive = model.Expected([](const VarRow &r) { return r.shown_value > 0; });
    EXPECT_EQ(model.Run(seventeen_tests.c_str()), positive) << "seventeen real and code tests under one AND";
    Numbers all;
    for (int32_t k = 1; k <= kVariables; ++k) all.push_back(k);
    for (const QueryRow &q : kQueries) {
        const Numbers expected = model.Expected(q.pass);
        ASSERT_TRUE(model.engine->SetCandidates(0, nullptr));
        EXPECT_EQ(model.Run(q.text), expected) << q.name << ": " << q.text;
        ASSERT_TRUE(model.engine->SetCandidates(kVariables, all.data()));
        EXPECT_EQ(model.Run(q.text), expected) << q.name << ": over candidates";
        ASSERT_EQ(model.Run("SPEC <> CALC OR SPEC = CALC"), all) << "every candidate passes";
        ASSERT_TRUE(model.engine->SetQueryText(q.text));
        model.engine->Refine();
        EXPECT_EQ(model.Results(), expected) << q.name << ": every variable refined";
    }
    EXPECT_EQ(history.text(), "");
}

// A unit cell is read as its low 32 bits, as the record reader does, whether
// the columns answer a query or each variable is loaded (the OR form).
TEST_F(VariableEngine, UnitCellsCountByTheirLow32Bits) {
    int64_t *uom = rtovarlst_vec_uom(model.list), *baseuom = rtovarlst_vec_baseuom(model.list);
    for (int32_t k = 0; k < kVariables; ++k) {
        uom[k] += int64_t{1} << 32;
        baseuom[k] += int64_t{1} << 32;
    }
    for (const QueryRow &q : kQueries) {
        const Numbers expected = model.Expected(q.pass);
        EXPECT_EQ(model.Run(q.text), expected) << q.name << ": " << q.text;
        const std::string twice = std::string(q.text) + " OR " + q.text;
        EXPECT_EQ(model.Run(twice.c_str()), expected) << q.name << ": loaded";
    }
}

// A block that counts more objects than its list holds: no answer names one
// the list cannot load.
TEST_F(VariableEngine, AnswersStopAtTheListsLastVariable) {
    model.block.objects.extra_variables = 10;
    EXPECT_EQ(model.Run("InObjective(OBJ)"), (Numbers{3, 30, 300})) << "325 is counted but not held";
    EXPECT_EQ(model.Run("InObjective(OBJ) OR InObjective(OBJ)"), (Numbers{3, 30, 300})) << "the same, loaded";
}

// A block whose variables are a window that the list was then cut under:
// each path of the engine answers only the variables that still have cells.
TEST_F(VariableEngine, AWindowPastItsCutListAnswersOnlyTheVariablesWithCells) {
    constexpr int32_t kStart = kVariables - 9;  // the window holds the last 10 variables
    rtvarlst_t *window = rtovarlst_create_sublist(model.list, kStart);
    model.block.objects.list = window;
    model.source.list = window;
    rtovarlst_set_nvar(model.list, kStart + 1);  // two of them keep their cells
    rtovarlst_resize(model.list, kStart + 1);
    const QueryRow rows[] = {
        {"a code scan", "SPEC <> CONST", [](const VarRow &r) { return r.spec != 1; }},
        {"a real test alone", "VALUE > -1e30", [](const VarRow &) { return true; }},
        {"codes joined by OR", "SPEC = CONST OR SPEC <> CONST", [](const VarRow &) { return true; }},
    };
    for (const QueryRow &row : rows) {
        Numbers expected;
        for (int32_t k = 0; k < 2; ++k)
            if (row.pass(model.rows[static_cast<size_t>(kStart - 1 + k)])) expected.push_back(k + 1);
        EXPECT_EQ(model.Run(row.text), expected) << row.name;
    }
    rtovarlst_delete_sublist(&window);
    model.block.objects.list = model.list;
}

TEST_F(VariableEngine, ToleranceAppliesWhenTheQueryRuns) {
    ASSERT_TRUE(model.engine->SetCandidates(4, Numbers{4, 8, 12, 16}.data()));
    ASSERT_TRUE(model.engine->SetQueryText("VALUE = 1"));
    model.engine->SetTolerance(0.001);
    model.engine->Execute();
    EXPECT_EQ(model.engine->NumResults(), 4) << "1.00001 is within 0.001";
    model.engine->SetTolerance(0.0);
    EXPECT_EQ(model.Run("VALUE >= 1"), (Numbers{4, 8, 16})) << ">= with no tolerance keeps 1.0 itself";
}

struct MessageRow {
    const char *text;
    const char *message;  // as printed on the history device
};

// clang-format off
const MessageRow kMessages[] = {
    {"MODIFIED = 1", "Cannot test Modified attribute directly use the IsModified() function\n"},
    {"NAME > A", "Only equality and inequality tests are supported on names\n"},
    {"CONN_TYPE <= A", "Only equality and inequality tests are supported on names\n"},
    {"DESCRIPTION <> 2.5", "Can only compare names with strings\n"},
    {"VALUE = A", "Can only compare VALUE with real values\n"},
    {"UOM = 3", "Can only compare UOM with string values\n"},
    {"MARKED = 1.5", "Can only compare MARKED with integer values\n"},
    {"SPEC = FOO", "Unrecognised enumeration value FOO\n"},
    {"QUALITY = 7", "Can only compare QUALITY with valid enumeration values\n"},
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
    {"NAME = '%x['", "%X[ is not a valid regular expression: unmatched []\n"},
};
// clang-format on

TEST_F(VariableEngine, EveryBuildMessageAndNoTreeAfterIt) {
    HistoryCapture history;
    for (const MessageRow &m : kMessages) {
        EXPECT_EQ(model.Run(m.text), Numbers{-1}) << m.text;
        EXPECT_EQ(history.text(), m.message) << m.text;
        model.engine->Execute();
        EXPECT_EQ(model.engine->NumResults(), 0) << m.text;
    }
    EXPECT_FALSE(model.engine->SetQueryText(""));
    EXPECT_FALSE(model.engine->SetQueryText(nullptr));
    EXPECT_EQ(history.text(), "") << "an empty text is refused silently";
    const Numbers kept = model.Run("SPEC = FIXED");
    ASSERT_FALSE(kept.empty());
    EXPECT_FALSE(model.engine->SetQueryText("BLOCKPTR = 1"));
    EXPECT_EQ(model.engine->ExecuteMore(), 0) << "results held, no tree: nothing added";
    EXPECT_EQ(model.Results(), kept) << "results held, no tree: the results kept";
}

}  // namespace
