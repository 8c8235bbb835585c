// The attribute catalogue walked context by context against the documented
// tables: names, codes and order, so that a row typed wrong fails here.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "attrcat/attrcat.h"
#include "zarnutils/rteqnlst.h"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/xfile.h"

namespace ac = zarn::attrcat;

namespace {

struct WordCode {
    const char *word;
    int code;
};

// Every word of a vocabulary with its code, as a map.
std::map<std::string, int> words_of(const ac::Vocabulary &v) {
    std::map<std::string, int> out;
    for (int e = 0; e < v.count; ++e) out[v.words[e].keyword] = v.words[e].code;
    return out;
}

std::map<std::string, int> expected_map(const std::vector<WordCode> &table) {
    std::map<std::string, int> out;
    for (const WordCode &w : table) out[w.word] = w.code;
    return out;
}

// Each documented word is found by the one lookup, in upper case and with
// the letters after the first in lower case.
void expect_lookups(const ac::Vocabulary &v, const std::vector<WordCode> &table, const char *context) {
    for (const WordCode &w : table) {
        EXPECT_EQ(ac::code_of(v, w.word, std::strlen(w.word), -99), w.code) << context << " word " << w.word;
        if (v.match == ac::Match::Exact) continue;
        std::string mixed = w.word;
        for (size_t k = 1; k < mixed.size(); ++k) mixed[k] = static_cast<char>(std::tolower(mixed[k]));
        EXPECT_EQ(ac::code_of(v, mixed.data(), mixed.size(), -99), w.code) << context << " word " << mixed;
    }
}

}  // namespace

TEST(AttributeCatalogue, VarfileAttributesInHeaderOrderWithDerivedAndReadFlags) {
    const char *const names[] = {
        "NAME",     "PHYSICAL_TYPE", "UNITS",  "BASEUOM",  "VALUE",        "INIT",         "CHANGE",
        "LOWER",    "UPPER",         "STEP",   "BOUND",    "SPEC",         "SSPEC",        "SCALE",
        "SBWEIGHT", "QUALITY",       "PARAM",  "TARGET",   "SHADOW_PRICE", "ACTIVE_BOUND", "DESCRIPTION",
        "MODIFIED", "RLOWER",        "RUPPER", "VAR_TYPE", "THRESHOLD",    "RAMPED",       "CONN_TYPE"};
    ASSERT_EQ(ZARN_VARFILE_ATTRIBUTE_COUNT, 28);
    const std::set<int> derived = {6, 12, 22, 23};
    const std::set<int> not_read = {6, 12, 18, 19, 20, 21, 22, 23};
    for (int a = 0; a < ZARN_VARFILE_ATTRIBUTE_COUNT; ++a) {
        EXPECT_STREQ(ac::kVarfile[a].word, names[a]) << "attribute " << a;
        EXPECT_EQ(ac::kVarfile[a].derived, derived.count(a) == 1) << names[a] << " derived";
        EXPECT_EQ(ac::kVarfile[a].read, not_read.count(a) == 0) << names[a] << " in the default read mask";
        EXPECT_EQ(ac::kRows[ac::kVarfile[a].row].varfile, a) << names[a] << " row points back";
    }
}

TEST(AttributeCatalogue, VarfileHeaderWordsAreTheNamesAndTheirNineSynonyms) {
    std::vector<WordCode> table = {{"AB", 19},         {"ACTIVE", 19},      {"INITIAL", 5},
                                   {"PARAM_HOMO", 16}, {"PT", 1},           {"SHADOW", 18},
                                   {"SP", 18},         {"TARGET_HOMO", 17}, {"UOM", 2}};
    for (int a = 0; a < ZARN_VARFILE_ATTRIBUTE_COUNT; ++a) table.push_back({ac::kVarfile[a].word, a});
    EXPECT_EQ(words_of(ac::kVarfileWords), expected_map(table));
    expect_lookups(ac::kVarfileWords, table, "VARFILE");
    EXPECT_EQ(ac::kVarfileWords.min_len, 2);
    EXPECT_EQ(ac::kVarfileWords.max_len, 13);
}

TEST(AttributeCatalogue, VarfileColumnWidthsFollowTheWriterRules) {
    struct Row {
        int attribute;
        ac::Width rule;
        int fixed;
    };
    const Row rows[] = {
        {0, ac::Width::Name, 0},          {1, ac::Width::Fixed, 13},  {2, ac::Width::Uom, 0},
        {3, ac::Width::Uom, 0},           {4, ac::Width::Real, 0},    {9, ac::Width::Real, 0},
        {10, ac::Width::Fixed, 7},        {11, ac::Width::Fixed, 5},  {12, ac::Width::Fixed, 5},
        {14, ac::Width::RealAtLeast8, 0}, {15, ac::Width::Fixed, 10}, {16, ac::Width::Fixed, 5},
        {19, ac::Width::Fixed, 22},       {20, ac::Width::Name, 0},   {21, ac::Width::Real, 0},
        {24, ac::Width::Fixed, 15},       {26, ac::Width::Fixed, 5},  {27, ac::Width::Fixed, 13}};
    for (const Row &r : rows) {
        EXPECT_EQ(ac::kVarfile[r.attribute].width, r.rule) << ac::kVarfile[r.attribute].word;
        if (r.rule == ac::Width::Fixed) {
            EXPECT_EQ(ac::kVarfile[r.attribute].fixed_width, r.fixed) << ac::kVarfile[r.attribute].word;
        }
    }
}

TEST(AttributeCatalogue, PrintMaskFlagsNamesAndWords) {
    const char *const names[] = {"NAME",         "PHYSICAL_TYPE", "LOWER",     "VALUE",   "UPPER",
                                 "SCALE",        "UNITS",         "SPEC",      "STEP",    "SBWEIGHT",
                                 "SHADOW_PRICE", "ACTIVE_BOUND",  "BASEUOM",   "QUALITY", "INIT",
                                 "CHANGE",       "BOUND",         "PARAM",     "TARGET",  "DESCRIPTION",
                                 "MODIFIED",     "VAR_TYPE",      "THRESHOLD", "RAMPED",  "CONN_TYPE"};
    ASSERT_EQ(VMASK_SIZE, 25);
    for (int f = 0; f < VMASK_SIZE; ++f) EXPECT_STREQ(ac::kVmaskFlags[f].name, names[f]) << "flag " << f;
    const std::vector<WordCode> words = {{"NAME", 0},
                                         {"PHYSICAL_TYPE", 1},
                                         {"LB", 2},
                                         {"LOWER", 2},
                                         {"VAL", 3},
                                         {"VALS", 3},
                                         {"VALUE", 3},
                                         {"VALUES", 3},
                                         {"UB", 4},
                                         {"UPPER", 4},
                                         {"SCALE", 5},
                                         {"UNIT", 6},
                                         {"UNITS", 6},
                                         {"UOM", 6},
                                         {"SPEC", 7},
                                         {"SPECS", 7},
                                         {"SB", 8},
                                         {"STEP", 8},
                                         {"SBWEIGHT", 9},
                                         {"SHADOW", 10},
                                         {"SHADOWPRICE", 10},
                                         {"SHADOW_PRICE", 10},
                                         {"SP", 10},
                                         {"AB", 11},
                                         {"ACTIVE", 11},
                                         {"ACTIVEBOUND", 11},
                                         {"ACTIVE_BOUND", 11},
                                         {"BASEUOM", 12},
                                         {"QUALITY", 13},
                                         {"INIT", 14},
                                         {"INITIAL", 14},
                                         {"CHANGE", 15},
                                         {"BOUND", 16},
                                         {"PARAM", 17},
                                         {"PARAM_HOMO", 17},
                                         {"TARGET", 18},
                                         {"TARGET_HOMO", 18},
                                         {"DESCRIPTION", 19},
                                         {"MODIFIED", 20},
                                         {"VAR_TYPE", 21},
                                         {"THRESHOLD", 22},
                                         {"RAMPED", 23},
                                         {"CONN_TYPE", 24}};
    ASSERT_EQ(words.size(), 43u);
    EXPECT_EQ(words_of(ac::kVmaskWords), expected_map(words));
    expect_lookups(ac::kVmaskWords, words, "print mask");
}

TEST(AttributeCatalogue, PrintDefaultNamesAreComparedExactly) {
    const std::vector<WordCode> names = {
        {"NAME", 0},          {"PHYSICAL_TYPE", 1}, {"LOWER", 2},        {"VALUE", 3},
        {"UPPER", 4},         {"SCALE", 5},         {"UNITS", 6},        {"UOM", 6},
        {"SPEC", 7},          {"STEP", 8},          {"SBWEIGHT", 9},     {"SHADOW_PRICE", 10},
        {"ACTIVE_BOUND", 11}, {"BASEUOM", 12},      {"QUALITY", 13},     {"INIT", 14},
        {"INITIAL", 14},      {"CHANGE", 15},       {"BOUND", 16},       {"PARAM", 17},
        {"PARAM_HOMO", 17},   {"TARGET", 18},       {"TARGET_HOMO", 18}, {"DESCRIPTION", 19},
        {"CONN_TYPE", 24}};
    EXPECT_EQ(words_of(ac::kPrintNames), expected_map(names));
    EXPECT_EQ(ac::code_of(ac::kPrintNames, "Value", 5, -1), -1) << "a print name is compared byte for byte";
}

TEST(AttributeCatalogue, EquationPrintMaskFlagsAndWords) {
    const char *const names[] = {"NAME", "VALUE", "SCALE", "CODE", "SHADOW_PRICE", "SHADOW_PRICE_SSI"};
    ASSERT_EQ(EMASK_SIZE, 8);
    for (int f = 0; f < 6; ++f) EXPECT_STREQ(ac::kEmaskFlags[f].name, names[f]) << "flag " << f;
    const std::vector<WordCode> words = {{"NAME", 0},
                                         {"VAL", 1},
                                         {"VALS", 1},
                                         {"VALUE", 1},
                                         {"VALUES", 1},
                                         {"EQNSCALE", 2},
                                         {"SCALE", 2},
                                         {"TYPE", 3},
                                         {"SHADOW", 4},
                                         {"SHADOWPRICE", 4},
                                         {"SHADOW_PRICE", 4},
                                         {"SHADOWPRICESSI", 5},
                                         {"SHADOW_PRICE_SSI", 5},
                                         {"SHADOW_SSI", 5},
                                         {"LINEARITY", 6},
                                         {"INCLUDED", 7}};
    EXPECT_EQ(words_of(ac::kEmaskWords), expected_map(words));
    EXPECT_EQ(ac::kEmaskWords.min_len, 3);
    EXPECT_EQ(ac::kEmaskWords.max_len, 16);
}

TEST(AttributeCatalogue, AssignmentKeywordsCodesAndModificationBits) {
    const std::vector<WordCode> words = {{"VAL", 1},
                                         {"VALS", 1},
                                         {"VALUE", 1},
                                         {"VALUES", 1},
                                         {"LB", 2},
                                         {"LOWER", 2},
                                         {"UB", 3},
                                         {"UPPER", 3},
                                         {"STEP", 4},
                                         {"INTSCALE", 5},
                                         {"SCALE", 6},
                                         {"SB", 7},
                                         {"SBWEIGHT", 7},
                                         {"SPEC", 8},
                                         {"SPECS", 8},
                                         {"INIT", 9},
                                         {"INITIAL", 9},
                                         {"UNIT", 10},
                                         {"UNITS", 10},
                                         {"UOM", 10},
                                         {"BOUND", 11},
                                         {"BOUND_TYPE", 11},
                                         {"MARKED", 12},
                                         {"MODIFIED", 14},
                                         {"AB", 16},
                                         {"ACTIVE", 16},
                                         {"ACTIVEBOUND", 16},
                                         {"ACTIVE_BOUND", 16},
                                         {"SHADOW", 17},
                                         {"SHADOWPRICE", 17},
                                         {"SHADOW_PRICE", 17},
                                         {"SP", 17},
                                         {"QUALITY", 18},
                                         {"BASEUOM", 19},
                                         {"PHYSICAL_TYPE", 20},
                                         {"BLOCKPTR", 21},
                                         {"PARAM", 22},
                                         {"PARAM_HOMO", 22},
                                         {"TARGET", 23},
                                         {"TARGET_HOMO", 23},
                                         {"DESCRIPTION", 24},
                                         {"VAR_TYPE", 25},
                                         {"THRESHOLD", 27},
                                         {"RAMPED", 28},
                                         {"CHANGE", 29},
                                         {"CONN_TYPE", 34}};
    ASSERT_EQ(words.size(), 46u);
    EXPECT_EQ(words_of(ac::kAssignWords), expected_map(words));
    expect_lookups(ac::kAssignWords, words, "assignment");
    EXPECT_EQ(ac::code_of(ac::kAssignWords, "value", 5, -1), -1)
        << "a lower-case first letter is never a keyword";

    struct Bits {
        int code;
        uint32_t mask1, mask2;
    };
    const Bits bits[] = {{1, 2, 0},           {2, 4, 0},          {3, 8, 0},          {4, 16, 0},
                         {6, 32, 0},          {7, 128, 0},        {8, 256, 0},        {9, 512, 0},
                         {10, 1024, 2},       {11, 2048, 0},      {12, 4096, 0},      {18, 0x40000, 0},
                         {19, 0x80000, 0},    {20, 0x100000, 8},  {22, 0x400000, 0},  {23, 0x800000, 0},
                         {24, 0x1000000, 0},  {25, 0x2000000, 0}, {27, 0x8000000, 0}, {28, 0x10000000, 0},
                         {29, 0x20000000, 0}, {34, 0, 8},         {5, 0, 0},          {14, 0, 0},
                         {16, 0, 0},          {17, 0, 0},         {21, 0, 0}};
    for (const Bits &b : bits) {
        const ac::Attribute &row = ac::kRows[ac::kAssignRows[b.code]];
        EXPECT_EQ(row.assign, b.code) << "code " << b.code;
        EXPECT_EQ(row.modified1, b.mask1) << "code " << b.code << " mask1";
        EXPECT_EQ(row.modified2, b.mask2) << "code " << b.code << " mask2";
    }
}

TEST(AttributeCatalogue, ChangeCodesOfTheWriters) {
    const std::pair<int, int32_t> changes[] = {
        {ac::kRowBound, RTOVARLST_CHG_BOUND_TYPE},   {ac::kRowChange, RTOVARLST_CHG_CHANGE},
        {ac::kRowInit, RTOVARLST_CHG_INIT},          {ac::kRowLower, RTOVARLST_CHG_LOWER},
        {ac::kRowSbweight, RTOVARLST_CHG_SBWEIGHT},  {ac::kRowScale, RTOVARLST_CHG_SLVSCALE},
        {ac::kRowUnits, RTOVARLST_CHG_UOM},          {ac::kRowUpper, RTOVARLST_CHG_UPPER},
        {ac::kRowSpec, RTOVARLST_CHG_SPEC},          {ac::kRowValue, RTOVARLST_CHG_VALUE},
        {ac::kRowStep, RTOVARLST_CHG_STEP},          {ac::kRowMarked, RTOVARLST_CHG_MARKED},
        {ac::kRowQuality, RTOVARLST_CHG_QUALITY},    {ac::kRowPhysicalType, RTOVARLST_CHG_PHYSICAL_TYPE},
        {ac::kRowBaseuom, RTOVARLST_CHG_BASEUOM},    {ac::kRowParam, RTOVARLST_CHG_PARAM_HOMO},
        {ac::kRowTarget, RTOVARLST_CHG_TARGET_HOMO}, {ac::kRowRamped, RTOVARLST_CHG_RAMPED},
        {ac::kRowThreshold, RTOVARLST_CHG_THRESHOLD}};
    for (const auto &[row, code] : changes) EXPECT_EQ(ac::kRows[row].change, code) << ac::kRows[row].name;
}

TEST(AttributeCatalogue, RecordFieldCodesMatchTheRecordMasks) {
    const std::pair<int, int32_t> fields[] = {{ac::kRowName, RTVARINFO_NAME},
                                              {ac::kRowValue, RTVARINFO_VALUE},
                                              {ac::kRowLower, RTVARINFO_LOWER},
                                              {ac::kRowUpper, RTVARINFO_UPPER},
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

TEST(AttributeCatalogue, ListColumnsInDeclarationOrderWithStorageAndDefaults) {
    struct Column {
        const char *name;
        ac::Storage storage;
        bool undefined;  // a real column whose default is 1e35
        int64_t integer;
    };
    using S = ac::Storage;
    const Column columns[] = {{"ACTIVE_BOUND", S::SparseInteger, false, 0},
                              {"BASEUOM", S::Integer, false, 1},
                              {"BASIC", S::Integer, false, 0},
                              {"BLOCKPTR", S::SparsePointer, false, 0},
                              {"COMWRAPPER", S::Wrapper, false, 0},
                              {"CONN_MGR", S::Pointer, false, 0},
                              {"CONN_TYPE", S::Integer, false, 0},
                              {"DESCRIPTION", S::SparseString, false, 0},
                              {"INIT", S::Double, true, 0},
                              {"LOWER", S::Double, true, 0},
                              {"MODIFIED", S::Pointer, false, 0},
                              {"PARAM_HOMO", S::Boolean, false, 0},
                              {"QUALITY", S::SparseInteger, false, 0},
                              {"RAMPED", S::SparseInteger, false, 0},
                              {"RELATED", S::SparseInteger, false, 0},
                              {"SBWEIGHT", S::SparseDouble, true, 0},
                              {"SCALE", S::Double, true, 0},
                              {"SHADOW_PRICE", S::Double, true, 0},
                              {"SLVSCALE", S::Double, true, 0},
                              {"STATUS", S::Integer, false, 0},
                              {"STEP", S::SparseDouble, true, 0},
                              {"TARGET_HOMO", S::SparseDouble, true, 0},
                              {"THRESHOLD", S::Double, true, 0},
                              {"UOM", S::Integer, false, 0},
                              {"UPPER", S::Double, true, 0},
                              {"VALUE", S::Double, true, 0},
                              {"VAR_PROFILE", S::SparsePointer, false, 0}};
    ASSERT_EQ(ac::kListColumnCount, 27);
    for (int k = 0; k < ac::kListColumnCount; ++k) {
        const ac::ListColumn &c = ac::kListColumns[k];
        EXPECT_STREQ(c.name, columns[k].name) << "column " << k;
        EXPECT_EQ(c.storage, columns[k].storage) << columns[k].name;
        if (columns[k].undefined) {
            EXPECT_EQ(c.default_real, 1e35) << columns[k].name;
        }
        EXPECT_EQ(c.default_integer, columns[k].integer) << columns[k].name;
    }
    EXPECT_STREQ(ac::column_of(ac::kRowScale), "SLVSCALE") << "the user's SCALE is the solver scale column";
    EXPECT_STREQ(ac::column_of(ac::kRowIntscale), "SCALE") << "INTSCALE is the internal scale column";
}

TEST(AttributeCatalogue, XfileCodesLabelsAndOrders) {
    struct Code {
        int code;
        ac::XKind kind;
        const char *label;
        bool unscaled;
    };
    using K = ac::XKind;
    const Code codes[] = {{RTXFILE_NAME, K::Name, nullptr, false},
                          {2, K::Integer, "  physical type", false},
                          {3, K::Real, "  lower", true},
                          {4, K::Real, "  value", true},
                          {5, K::Real, "  upper", true},
                          {6, K::Real, "  scale", false},
                          {7, K::Integer, "  UOM", false},
                          {8, K::Integer, "  spec", false},
                          {9, K::Real, "  step", true},
                          {10, K::Real, "  SBWeight", false},
                          {13, K::Integer, "  baseuom", false},
                          {14, K::Integer, "  quality", false},
                          {15, K::Real, "  initial", true},
                          {17, K::Integer, "  bound type", false},
                          {18, K::Integer, "  homotopy param", false},
                          {19, K::Real, "  homotopy target", true},
                          {21, K::Pair, "  modified-mask1", false},
                          {23, K::Real, "  threshold", false},
                          {24, K::Integer, "  ramped", false},
                          {25, K::Integer, "  connection type", false}};
    for (const Code &c : codes) {
        const ac::XfileAttribute &x = ac::kXfile[c.code];
        EXPECT_EQ(x.kind, c.kind) << "code " << c.code;
        if (c.label != nullptr) {
            EXPECT_STREQ(x.label, c.label) << "code " << c.code;
        }
        EXPECT_EQ(x.unscaled, c.unscaled) << "code " << c.code;
        EXPECT_EQ(ac::kRows[x.row].xfile, c.code) << "code " << c.code << " row points back";
    }
    EXPECT_STREQ(ac::kXfile[21].label2, "  modified-mask2");
    for (int empty : {11, 12, 16, 20, 22}) EXPECT_EQ(ac::kXfile[empty].row, ac::kNoRow) << "code " << empty;
    EXPECT_EQ(std::vector<int>(std::begin(ac::kXfileIntOrder), std::end(ac::kXfileIntOrder)),
              (std::vector<int>{8, 13, 14, 21, 7, 2, 25, 17, 18, 24}));
    EXPECT_EQ(std::vector<int>(std::begin(ac::kXfileRealOrder), std::end(ac::kXfileRealOrder)),
              (std::vector<int>{6, 3, 4, 5, 9, 15, 10, 19, 23}));
    EXPECT_EQ(std::vector<int>(std::begin(ac::kXfileLabelOrder), std::end(ac::kXfileLabelOrder)),
              (std::vector<int>{8, 13, 14, 21, 7, 2, 25, 17, 18, 6, 3, 4, 5, 9, 15, 10, 19, 23, 24}));
}

TEST(AttributeCatalogue, QueryAttributeIdsNamesAndKinds) {
    struct Query {
        int32_t id;
        const char *name;
        ac::QKind kind;
    };
    using K = ac::QKind;
    const Query queries[] = {{1, "NAME", K::Text},
                             {2, "VALUE", K::Real},
                             {4, "LOWER", K::Real},
                             {8, "UPPER", K::Real},
                             {16, "STEP", K::Real},
                             {32, "INTSCALE", K::Real},
                             {64, "SCALE", K::Real},
                             {128, "SBWEIGHT", K::Real},
                             {512, "INITIAL", K::Real},
                             {1024, "UOM", K::Text},
                             {2048, "BOUND", K::Enumeration},
                             {4096, "MARKED", K::Integer},
                             {16384, "MODIFIED", K::Real},
                             {65536, "ACTIVE_BOUND", K::Enumeration},
                             {131072, "SHADOW_PRICE", K::Real},
                             {262144, "QUALITY", K::Enumeration},
                             {524288, "BASEUOM", K::Text},
                             {1048576, "PHYSICAL_TYPE_ID", K::Integer},
                             {2097152, "BLOCKPTR", K::None},
                             {4194304, "PARAM_HOMO", K::Enumeration},
                             {8388608, "TARGET_HOMO", K::Real},
                             {16777216, "DESCRIPTION", K::Text},
                             {33554432, "VARIABLE_TYPE", K::Enumeration},
                             {67108864, "VAR_PROFILE", K::None},
                             {134217728, "THRESHOLD", K::Real},
                             {268435456, "RAMPED", K::Integer},
                             {536870912, "CHANGE", K::Real},
                             {1073741824, "SPEC", K::Enumeration},
                             {-1, "PHYSICAL_TYPE", K::Text},
                             {-2, "UOM_ID", K::Integer},
                             {-4, "NUMBER", K::Integer},
                             {-8, "CONN_TYPE", K::Enumeration}};
    std::map<int32_t, const ac::QueryAttribute *> by_id;
    for (const ac::QueryAttribute &q : ac::kQuery) by_id[q.id] = &q;
    ASSERT_EQ(by_id.size(), std::size(queries));
    for (const Query &q : queries) {
        ASSERT_EQ(by_id.count(q.id), 1u) << q.name;
        EXPECT_STREQ(by_id[q.id]->name, q.name) << "id " << q.id;
        EXPECT_EQ(by_id[q.id]->kind, q.kind) << q.name;
        EXPECT_EQ(ac::code_of(ac::kQueryWords, q.name, std::strlen(q.name), 0), q.id) << q.name;
    }
    const std::vector<WordCode> aliases = {{"UNITS", 1024},          {"PARAM", 4194304},
                                           {"HOMO_PARAM", 4194304},  {"TARGET", 8388608},
                                           {"HOMO_TARGET", 8388608}, {"homo_target", 8388608}};
    for (const WordCode &a : aliases)
        EXPECT_EQ(ac::code_of(ac::kQueryWords, a.word, std::strlen(a.word), 0), a.code) << a.word;
}

TEST(AttributeCatalogue, WordTablesReadBothWays) {
    struct Table {
        const char *name;
        const ac::WordTable &table;
        std::vector<WordCode> written;
        std::vector<WordCode> also;
    };
    const Table tables[] = {
        {"spec",
         ac::kSpec,
         {{"CALC", 0},
          {"CONST", 1},
          {"INDEP", 2},
          {"MEAS", 3},
          {"PARAM", 4},
          {"OPTIM", 5},
          {"RECON", 6},
          {"INITIAL", 7}},
         {{"FREE", 0}, {"FIXED", 1}, {"INDEPENDENT", 2}}},
        {"bound", ac::kBound, {{"HARD", 0}, {"RELAXED", 1}, {"SOFT", 2}, {"SOFT2", 3}}, {}},
        {"quality", ac::kQuality, {{"GOOD", 0}, {"BAD", 1}, {"OVERRIDE", 2}, {"BADIGNORE", 3}}, {}},
        {"yes/no", ac::kYesNo, {{"NO", 0}, {"YES", 1}}, {}},
        {"variable type",
         ac::kVarType,
         {{"ALGEBRAIC", 0},
          {"STATE", 1},
          {"DIFFERENTIAL", 2},
          {"DISCRETE", 3},
          {"DISCRETE-ESLACK", 4},
          {"BINARY", 5},
          {"PARTIAL-INTEGER", 6},
          {"SEMI-CONTINUOUS", 7},
          {"SEMI-CONTINUOUS-INTEGER", 64}},
         {{"INTEGER", 3}}},
        {"active bound",
         ac::kActiveBound,
         {{"NOT AT BOUNDS", 0},
          {"STEP LOWER", 1},
          {"STEP UPPER", 2},
          {"EXCEEDED STEP LOWER", 3},
          {"EXCEEDED STEP UPPER", 4},
          {"LOWER", 5},
          {"UPPER", 6},
          {"EXCEEDED LOWER", 7},
          {"EXCEEDED UPPER", 8},
          {"SOFT LOWER", 9},
          {"SOFT UPPER", 10},
          {"EXCEEDED SOFT LOWER", 11},
          {"EXCEEDED SOFT UPPER", 12},
          {"RELAXED LOWER", 13},
          {"RELAXED UPPER", 14},
          {"EXCEEDED RELAXED LOWER", 15},
          {"EXCEEDED RELAXED UPPER", 16},
          {"PINCHED", 17}},
         {}},
    };
    for (const Table &t : tables) {
        ASSERT_EQ(t.table.count, static_cast<int>(t.written.size())) << t.name;
        for (size_t k = 0; k < t.written.size(); ++k) {
            EXPECT_STREQ(t.table.written[k].keyword, t.written[k].word) << t.name << " position " << k;
            EXPECT_STREQ(ac::word_of(t.table, t.written[k].code), t.written[k].word) << t.name;
        }
        std::vector<WordCode> accepted = t.written;
        accepted.insert(accepted.end(), t.also.begin(), t.also.end());
        EXPECT_EQ(words_of(t.table.accepted), expected_map(accepted)) << t.name;
    }
    EXPECT_EQ(ac::word_of(ac::kVarType, 8), nullptr) << "a code between 7 and 64 has no word";
    EXPECT_STREQ(ac::kSpec.titles[7], "Initial");
    EXPECT_STREQ(ac::kVarType.lower[8], "semi-continuous-integer");
    EXPECT_EQ(ac::kSpec.accepted.min_len, 4);
    EXPECT_EQ(ac::kSpec.accepted.max_len, 11);
    EXPECT_EQ(ac::kBound.accepted.max_len, 7);
    EXPECT_EQ(ac::code_of(ac::kQuality.accepted, "good", 4, -1), -1) << "quality words are compared exactly";
}

TEST(AttributeCatalogue, QueryEnumerationWordsUseUnderscores) {
    EXPECT_STREQ(ac::word_of(*ac::kRows[ac::kRowVarType].query_words, 3), "INTEGER");
    EXPECT_STREQ(ac::word_of(*ac::kRows[ac::kRowVarType].query_words, 4), "DISCRETE_ESLACK");
    EXPECT_STREQ(ac::word_of(*ac::kRows[ac::kRowActiveBound].query_words, 0), "NOT_AT_BOUNDS");
    EXPECT_STREQ(ac::word_of(*ac::kRows[ac::kRowActiveBound].query_words, 3), "EXCEEDED_STEP_LOWER");
    EXPECT_STREQ(ac::word_of(*ac::kRows[ac::kRowActiveBound].query_words, 4), "EXCEEDED_STEP_UPPER");
    EXPECT_EQ(ac::kRows[ac::kRowActiveBound].query_words->count, 18);
    EXPECT_STREQ(ac::word_of(*ac::kRows[ac::kRowSpec].query_words, 6), "RECON");
}

TEST(AttributeCatalogue, ConnectionTypePropertiesFrom1001) {
    ASSERT_EQ(ac::kConnProperty.count, 65);
    EXPECT_STREQ(ac::word_of(ac::kConnProperty, 1001), "AROM-FACTOR");
    EXPECT_STREQ(ac::word_of(ac::kConnProperty, 1026), "RON-CLEAR");
    EXPECT_STREQ(ac::word_of(ac::kConnProperty, 1065), "LE-COMPONENT");
    for (int k = 0; k < ac::kConnProperty.count; ++k)
        EXPECT_EQ(ac::kConnProperty.written[k].code, 1001 + k) << ac::kConnProperty.written[k].keyword;
}

TEST(AttributeCatalogue, LookupRefusesOnLengthAndFirstLetterBeforeComparing) {
    EXPECT_EQ(ac::find(ac::kBound.accepted, "SOFT2XYZ", 8), nullptr)
        << "eight letters: beyond the bound words";
    EXPECT_NE(ac::find(ac::kBound.accepted, "SOFT2XYZ", 5), nullptr) << "only the given length counts";
    EXPECT_EQ(ac::find(ac::kSpec.accepted, "fixed", 5), nullptr) << "lower-case first letter";
    EXPECT_NE(ac::find(ac::kSpec.accepted, "Fixed", 5), nullptr);
    EXPECT_EQ(ac::find(ac::kSpec.accepted, "FIXE", 4), nullptr)
        << "the start of a keyword is not the keyword";
    EXPECT_EQ(ac::find(ac::kSpec.accepted, nullptr, 4), nullptr);
    EXPECT_EQ(ac::find(ac::kAssignWords, "_VALUE", 6), nullptr);
}

TEST(AttributeCatalogue, EquationColumnsInDeclarationOrderWithTheirRecordBits) {
    struct Column {
        const char *name;
        ac::Storage storage;
        double real;  // the default of a real column
        ac::Row row;
        int32_t bit;  // the record's field bit
    };
    using S = ac::Storage;
    const Column columns[] = {
        {"COMWRAPPER", S::Wrapper, 0.0, ac::kRowEqnComwrapper, 0},
        {"RESIDUAL", S::Double, 1e35, ac::kRowEqnValue, EQNINFO_RESIDUAL},
        {"SCALE", S::Double, 1e35, ac::kRowEqnScale, EQNINFO_SCALE},
        {"STATUS", S::Integer, 0.0, ac::kRowEqnStatus, EQNINFO_STATUS},
        {"GROUP", S::Integer, 0.0, ac::kRowEqnGroup, EQNINFO_GROUP},
        {"PROCVAR", S::SparseName, 0.0, ac::kRowEqnProcvar, EQNINFO_PROCVAR},
        {"BLOCKPTR", S::Pointer, 0.0, ac::kRowEqnBlockptr, EQNINFO_BLOCKPTR},
        {"BASIC", S::Integer, 0.0, ac::kRowEqnBasic, EQNINFO_BASIC},
        {"SHADOW_PRICE", S::Double, 1e35, ac::kRowEqnShadowPrice, EQNINFO_SHADOW_PRICE}};
    ASSERT_EQ(ac::kEqnColumnCount, 9);
    for (int k = 0; k < ac::kEqnColumnCount; ++k) {
        const ac::ListColumn &c = ac::kEqnColumns[k];
        EXPECT_STREQ(c.name, columns[k].name) << "column " << k;
        EXPECT_EQ(c.storage, columns[k].storage) << c.name;
        EXPECT_EQ(c.default_real, columns[k].real) << c.name;
        EXPECT_EQ(c.default_integer, 0) << c.name;
        EXPECT_EQ(c.row, columns[k].row) << c.name;
        EXPECT_EQ(ac::kRows[c.row].record, columns[k].bit) << c.name;
    }
    EXPECT_EQ(ac::kRows[ac::kRowEqnName].record, EQNINFO_NAME);
}

TEST(AttributeCatalogue, EquationDottedNameKeywordsAndTheirWords) {
    const std::vector<WordCode> table = {
        {"INCLUDED", 0}, {"EQNSCALE", 1}, {"SHADOW_PRICE", 2}, {"TYPE", 3}, {"LINEARITY", 4}};
    EXPECT_EQ(words_of(ac::kEqnAssignWords), expected_map(table));
    expect_lookups(ac::kEqnAssignWords, table, "equation keyword");
    EXPECT_EQ(ac::kEqnAssignWords.min_len * 100 + ac::kEqnAssignWords.max_len, 412) << "4 to 12 characters";
    const ac::Row rows[] = {ac::kRowEqnIncluded, ac::kRowEqnScale, ac::kRowEqnShadowPrice, ac::kRowEqnCode,
                            ac::kRowEqnLinearity};
    for (int code = 0; code < 5; ++code) EXPECT_EQ(ac::kEqnAssignRows[code], rows[code]) << "code " << code;
    EXPECT_EQ(ac::kEqnAssignDefault, ac::kRowEqnValue) << "no keyword: the residual";
    for (ac::Row row : {ac::kRowEqnValue, ac::kRowEqnShadowPrice, ac::kRowEqnScale, ac::kRowEqnCode})
        EXPECT_EQ((ac::kRows[row].flags & ac::kReadOnly) != 0,
                  row == ac::kRowEqnValue || row == ac::kRowEqnShadowPrice)
            << ac::kRows[row].name;
    const char *const types[] = {"EQUALITY", "LT", "LEQ", "GT", "GEQ", "OBJ_FUNC"};
    ASSERT_EQ(ac::kRows[ac::kRowEqnCode].words, &ac::kMathType);
    for (int code = 0; code < 6; ++code) EXPECT_STREQ(ac::word_of(ac::kMathType, code), types[code]);
    EXPECT_EQ(ac::code_of(ac::kMathType.accepted, "Leq", 3, -1), -1) << "assignment upper-cases first";
    ASSERT_EQ(ac::kRows[ac::kRowEqnLinearity].words, &ac::kLinearity);
    EXPECT_EQ(ac::code_of(ac::kLinearity.accepted, "LINEAR", 6, -1), 1);
    EXPECT_STREQ(ac::kLinearity.lower[ac::position_of(ac::kLinearity, 0)], "nonlinear");
}
