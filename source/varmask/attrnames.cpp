// Header words of the VARFILE attributes, both ways.
#include <cstring>

#include "varmask/varmask_internal.h"
#include "zarnutils/varattrnames.hpp"

namespace zarn::varmask {

namespace {

constexpr int kAttributeCount = 28;
const char *const kAttributeNames[kAttributeCount] = {
    "NAME",  "PHYSICAL_TYPE", "UNITS",     "BASEUOM",      "VALUE",        "INIT",        "CHANGE",
    "LOWER", "UPPER",         "STEP",      "BOUND",        "SPEC",         "SSPEC",       "SCALE",
    "SBWEIGHT", "QUALITY",    "PARAM",     "TARGET",       "SHADOW_PRICE", "ACTIVE_BOUND", "DESCRIPTION",
    "MODIFIED", "RLOWER",     "RUPPER",    "VAR_TYPE",     "THRESHOLD",    "RAMPED",      "CONN_TYPE"};

const rtvar_keyword kAttributeWords[] = {
    {"AB", 19},        {"ACTIVE", 19},      {"ACTIVE_BOUND", 19}, {"BASEUOM", 3},   {"BOUND", 10},
    {"CHANGE", 6},     {"CONN_TYPE", 27},   {"DESCRIPTION", 20},  {"INIT", 5},      {"INITIAL", 5},
    {"LOWER", 7},      {"MODIFIED", 21},    {"NAME", 0},          {"PARAM", 16},    {"PARAM_HOMO", 16},
    {"PHYSICAL_TYPE", 1}, {"PT", 1},        {"QUALITY", 15},      {"RAMPED", 26},   {"RLOWER", 22},
    {"RUPPER", 23},    {"SBWEIGHT", 14},    {"SCALE", 13},        {"SHADOW", 18},   {"SHADOW_PRICE", 18},
    {"SP", 18},        {"SPEC", 11},        {"SSPEC", 12},        {"STEP", 9},      {"TARGET", 17},
    {"TARGET_HOMO", 17}, {"THRESHOLD", 25}, {"UNITS", 2},         {"UOM", 2},       {"UPPER", 8},
    {"VALUE", 4},      {"VAR_TYPE", 24},
};
constexpr int kAttributeWordCount = sizeof kAttributeWords / sizeof kAttributeWords[0];
static_assert(kAttributeWordCount == 37);

const LetterIndex &attribute_index() {
    static const LetterIndex index = build_index(kAttributeWords, kAttributeWordCount);
    return index;
}
const KeywordTable g_attribute_words{kAttributeWords, kAttributeWordCount, 2, 13, attribute_index};

}  // namespace

}  // namespace zarn::varmask

const char *RTVarAttributeNames::Name(int attribute) {
    using namespace zarn::varmask;
    return attribute >= 0 && attribute < kAttributeCount ? kAttributeNames[attribute] : "";
}

int RTVarAttributeNames::Value(const char *word) {
    using namespace zarn::varmask;
    return word ? code_of(g_attribute_words, word, std::strlen(word), -1) : -1;
}
