// The attribute catalogue's one keyword lookup under each comparison rule, its
// reading of codes back into words, the rows each context points back to, and
// the entries no writer, reader or message of another module shows.
#include <gtest/gtest.h>

#include <cstring>
#include <iterator>
#include <string>
#include <utility>

#include "attrcat/attrcat.h"
#include "zarnutils/rteqnlst.h"
#include "zarnutils/rtvarlst.h"

namespace ac = zarn::attrcat;

TEST(AttributeCatalogue, LookupFollowsTheRuleOfItsVocabulary) {
    constexpr int32_t kNotFound = -99;
    const struct {
        const char *name;
        const ac::Vocabulary &vocabulary;
        const char *word;
        size_t length;
        int32_t code;
    } rows[] = {
        {"keyword rule: as written", ac::kSpec.accepted, "FIXED", 5, 1},
        {"keyword rule: the rest in lower case", ac::kSpec.accepted, "Fixed", 5, 1},
        {"keyword rule: a lower-case first letter", ac::kSpec.accepted, "fixed", 5, kNotFound},
        {"the start of a keyword", ac::kSpec.accepted, "FIXE", 4, kNotFound},
        {"only the given length counts", ac::kBound.accepted, "SOFT2XYZ", 5, 3},
        {"longer than every word", ac::kBound.accepted, "SOFT2XYZ", 8, kNotFound},
        {"words that differ in the second letter", ac::kVmaskWords, "SP", 2, 10},
        {"a first character that is no letter", ac::kAssignWords, "_VALUE", 6, kNotFound},
        {"exact rule: as written", ac::kQuality.accepted, "GOOD", 4, 0},
        {"exact rule: another case", ac::kQuality.accepted, "Good", 4, kNotFound},
        {"any-case rule: all in lower case", ac::kQueryWords, "homo_target", 11, 8388608},
    };
    for (const auto &row : rows)
        EXPECT_EQ(ac::code_of(row.vocabulary, row.word, row.length, kNotFound), row.code) << row.name;
    EXPECT_EQ(ac::find(ac::kSpec.accepted, nullptr, 4), nullptr) << "no word";
}

TEST(AttributeCatalogue, CodesReadBackAsTheirWrittenWords) {
    const struct {
        const char *name;
        const ac::WordTable &table;
        int64_t code;
        const char *word;  // null: the code has none
    } rows[] = {
        {"a code at its own position", ac::kBound, 3, "SOFT2"},
        {"one past the last position", ac::kBound, 4, nullptr},
        {"a negative code", ac::kBound, -1, nullptr},
        {"a code beyond the positions", ac::kVarType, 64, "SEMI-CONTINUOUS-INTEGER"},
        {"a code between the written codes", ac::kVarType, 8, nullptr},
        {"codes that start at 1001", ac::kConnProperty, 1001, "AROM-FACTOR"},
    };
    for (const auto &row : rows) EXPECT_STREQ(ac::word_of(row.table, row.code), row.word) << row.name;
}

TEST(AttributeCatalogue, ListColumnsOfRows) {
    const struct {
        const char *name;
        ac::Row row;
        const char *column;  // null: the row has none
    } rows[] = {
        {"the user's scale is the solver scale column", ac::kRowScale, "SLVSCALE"},
        {"the internal scale", ac::kRowIntscale, "SCALE"},
        {"an equation row", ac::kRowEqnValue, "RESIDUAL"},
        {"a row without a column", ac::kRowNumber, nullptr},
    };
    for (const auto &row : rows) EXPECT_STREQ(ac::column_of(row.row), row.column) << row.name;
}

TEST(AttributeCatalogue, EachContextNamesARowThatNamesItBack) {
    for (int a = 0; a < ZARN_VARFILE_ATTRIBUTE_COUNT; ++a)
        EXPECT_EQ(ac::kRows[ac::kVarfile[a].row].varfile, a) << "VARFILE attribute " << ac::kVarfile[a].word;
    for (int code = 0; code < static_cast<int>(std::size(ac::kXfile)); ++code) {
        if (ac::kXfile[code].row == ac::kNoRow) continue;
        EXPECT_EQ(ac::kRows[ac::kXfile[code].row].xfile, code) << "X-file code " << code;
    }
    for (int code = 0; code < ac::kAssignCodeCount; ++code) {
        if (ac::kAssignRows[code] == ac::kNoRow) continue;
        EXPECT_EQ(ac::kRows[ac::kAssignRows[code]].assign, code) << "assignment code " << code;
    }
    for (int k = 0; k < ac::kEqnColumnCount; ++k)
        EXPECT_STREQ(ac::column_of(ac::kEqnColumns[k].row), ac::kEqnColumns[k].name)
            << "equation column " << k;
}

TEST(AttributeCatalogue, PrintMaskFlagNames) {
    const char *const variable[] = {"NAME",         "PHYSICAL_TYPE", "LOWER",     "VALUE",   "UPPER",
                                    "SCALE",        "UNITS",         "SPEC",      "STEP",    "SBWEIGHT",
                                    "SHADOW_PRICE", "ACTIVE_BOUND",  "BASEUOM",   "QUALITY", "INIT",
                                    "CHANGE",       "BOUND",         "PARAM",     "TARGET",  "DESCRIPTION",
                                    "MODIFIED",     "VAR_TYPE",      "THRESHOLD", "RAMPED",  "CONN_TYPE"};
    ASSERT_EQ(std::size(variable), static_cast<size_t>(VMASK_SIZE));
    for (int f = 0; f < VMASK_SIZE; ++f)
        EXPECT_STREQ(ac::kVmaskFlags[f].name, variable[f]) << "variable flag " << f;
    const char *const equation[] = {"NAME", "VALUE", "SCALE", "CODE", "SHADOW_PRICE", "SHADOW_PRICE_SSI"};
    for (int f = 0; f < static_cast<int>(std::size(equation)); ++f)
        EXPECT_STREQ(ac::kEmaskFlags[f].name, equation[f]) << "equation flag " << f;
}

// The restore report names the attributes a file holds with these labels, in this order.
TEST(AttributeCatalogue, XfileLabelsInTheOrderRestoreReportsThem) {
    std::string labels;
    for (int8_t code : ac::kXfileLabelOrder) {
        labels += ac::kXfile[code].label;
        if (ac::kXfile[code].label2 != nullptr) labels += ac::kXfile[code].label2;
    }
    EXPECT_EQ(labels,
              "  spec  baseuom  quality  modified-mask1  modified-mask2  UOM  physical type  connection type"
              "  bound type  homotopy param  scale  lower  value  upper  step  initial  SBWeight"
              "  homotopy target  threshold  ramped")
        << "restore's labels";
}

// A query names the words of an enumeration with underscores for blanks and hyphens.
TEST(AttributeCatalogue, QueryEnumerationWordsUseUnderscores) {
    const struct {
        ac::Row row;
        int64_t code;
        const char *word;
    } rows[] = {
        {ac::kRowVarType, 3, "INTEGER"},
        {ac::kRowVarType, 4, "DISCRETE_ESLACK"},
        {ac::kRowActiveBound, 0, "NOT_AT_BOUNDS"},
        {ac::kRowActiveBound, 3, "EXCEEDED_STEP_LOWER"},
        {ac::kRowSpec, 6, "RECON"},
    };
    for (const auto &row : rows)
        EXPECT_STREQ(ac::word_of(*ac::kRows[row.row].query_words, row.code), row.word)
            << ac::kRows[row.row].name << " code " << row.code;
}

// The record masks are public constants: each row must name the bit its record uses.
TEST(AttributeCatalogue, RecordFieldCodesMatchTheRecordMasks) {
    const std::pair<int, int32_t> fields[] = {{ac::kRowName, RTVARINFO_NAME},
                                              {ac::kRowValue, RTVARINFO_VALUE},
                                              {ac::kRowStep, RTVARINFO_STEP},
                                              {ac::kRowIntscale, RTVARINFO_INTSCALE},
                                              {ac::kRowScale, RTVARINFO_SCALE},
                                              {ac::kRowSbweight, RTVARINFO_SBWEIGHT},
                                              {ac::kRowStatus, RTVARINFO_STATUS},
                                              {ac::kRowInit, RTVARINFO_INIT},
                                              {ac::kRowRelated, RTVARINFO_RELATED},
                                              {ac::kRowModified, RTVARINFO_MODIFIED},
                                              {ac::kRowConnMgr, RTVARINFO_CONN_MGR},
                                              {ac::kRowActiveBound, RTVARINFO_ACTIVE_BOUND},
                                              {ac::kRowShadowPrice, RTVARINFO_SHADOW_PRICE},
                                              {ac::kRowQuality, RTVARINFO_QUALITY},
                                              {ac::kRowBaseuom, RTVARINFO_BASEUOM},
                                              {ac::kRowBlockptr, RTVARINFO_BLOCKPTR},
                                              {ac::kRowParam, RTVARINFO_PARAM_HOMO},
                                              {ac::kRowTarget, RTVARINFO_TARGET_HOMO},
                                              {ac::kRowDescription, RTVARINFO_DESCRIPTION},
                                              {ac::kRowVarProfile, RTVARINFO_VAR_PROFILE},
                                              {ac::kRowThreshold, RTVARINFO_THRESHOLD},
                                              {ac::kRowRamped, RTVARINFO_RAMPED},
                                              {ac::kRowUnits, RTVARINFO_UOM},
                                              {ac::kRowConnType, RTVARINFO_CONN_TYPE},
                                              {ac::kRowBasic, RTVARINFO_BASIC}};
    for (const auto &[row, code] : fields) EXPECT_EQ(ac::kRows[row].record, code) << ac::kRows[row].name;
    const std::pair<int, int32_t> caller[] = {
        {ac::kRowUnits, RTVARINFO_UNITS},      {ac::kRowBound, RTVARINFO_BOUND_TYPE},
        {ac::kRowMarked, RTVARINFO_MARKED},    {ac::kRowPhysicalType, RTVARINFO_PHYSICAL_TYPE},
        {ac::kRowVarType, RTVARINFO_VAR_TYPE}, {ac::kRowChange, RTVARINFO_CHANGE},
        {ac::kRowSpec, RTVARINFO_SPEC}};
    for (const auto &[row, bit] : caller) EXPECT_EQ(ac::kRows[row].caller_bit, bit) << ac::kRows[row].name;
}

TEST(AttributeCatalogue, EquationColumnsCarryTheirRecordBits) {
    const std::pair<ac::Row, int32_t> fields[] = {
        {ac::kRowEqnValue, EQNINFO_RESIDUAL},  {ac::kRowEqnScale, EQNINFO_SCALE},
        {ac::kRowEqnStatus, EQNINFO_STATUS},   {ac::kRowEqnGroup, EQNINFO_GROUP},
        {ac::kRowEqnProcvar, EQNINFO_PROCVAR}, {ac::kRowEqnBlockptr, EQNINFO_BLOCKPTR},
        {ac::kRowEqnBasic, EQNINFO_BASIC},     {ac::kRowEqnShadowPrice, EQNINFO_SHADOW_PRICE},
        {ac::kRowEqnName, EQNINFO_NAME}};
    for (const auto &[row, bit] : fields) EXPECT_EQ(ac::kRows[row].record, bit) << ac::kRows[row].name;
}

TEST(AttributeCatalogue, QueryAliasesOfVariableAttributes) {
    const struct {
        const char *word;
        int32_t id;
    } aliases[] = {{"UNITS", RTVARINFO_UNITS},
                   {"PARAM", RTVARINFO_PARAM_HOMO},
                   {"HOMO_PARAM", RTVARINFO_PARAM_HOMO},
                   {"TARGET", RTVARINFO_TARGET_HOMO},
                   {"HOMO_TARGET", RTVARINFO_TARGET_HOMO}};
    for (const auto &alias : aliases)
        EXPECT_EQ(ac::code_of(ac::kQueryWords, alias.word, std::strlen(alias.word), 0), alias.id)
            << alias.word;
}
