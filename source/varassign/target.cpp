// Target texts: the attribute keywords, the split of "name.ATTRIBUTE", and
// the variable a target names.
#include <cstring>

#include "varassign/varassign_internal.h"
#include "zarnutils/varassign.h"

namespace zarn::varassign {

namespace {

struct Keyword {
    const char *text;
    int code;
};

// The attribute keywords, alphabetical; several spellings share a code.
constexpr Keyword kKeywords[] = {
    {"AB", kActiveBound},      {"ACTIVE", kActiveBound},     {"ACTIVEBOUND", kActiveBound},
    {"ACTIVE_BOUND", kActiveBound}, {"BASEUOM", kBaseUom},   {"BLOCKPTR", kBlockPtr},
    {"BOUND", kBound},         {"BOUND_TYPE", kBound},       {"CHANGE", kChange},
    {"CONN_TYPE", kConnType},  {"DESCRIPTION", kDescription}, {"INIT", kInit},
    {"INITIAL", kInit},        {"INTSCALE", kIntScale},      {"LB", kLower},
    {"LOWER", kLower},         {"MARKED", kMarked},          {"MODIFIED", kModified},
    {"PARAM", kParam},         {"PARAM_HOMO", kParam},       {"PHYSICAL_TYPE", kPhysicalType},
    {"QUALITY", kQuality},     {"RAMPED", kRamped},          {"SB", kSbWeight},
    {"SBWEIGHT", kSbWeight},   {"SCALE", kScale},            {"SHADOW", kShadowPrice},
    {"SHADOWPRICE", kShadowPrice}, {"SHADOW_PRICE", kShadowPrice}, {"SP", kShadowPrice},
    {"SPEC", kSpec},           {"SPECS", kSpec},             {"STEP", kStep},
    {"TARGET", kTarget},       {"TARGET_HOMO", kTarget},     {"THRESHOLD", kThreshold},
    {"UB", kUpper},            {"UNIT", kUnits},             {"UNITS", kUnits},
    {"UOM", kUnits},           {"UPPER", kUpper},            {"VAL", kValue},
    {"VALS", kValue},          {"VALUE", kValue},            {"VALUES", kValue},
    {"VAR_TYPE", kVarType},
};

constexpr size_t kShortest = 2, kLongest = 13;

char fold(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

int keyword_code(const char *word, size_t n) {
    if (n < kShortest || n > kLongest || word[0] < 'A' || word[0] > 'Z') return kNone;
    for (const Keyword &k : kKeywords) {
        size_t j = 0;
        while (j < n && k.text[j] != '\0' && fold(word[j]) == k.text[j]) ++j;
        if (j == n && k.text[j] == '\0') return k.code;
    }
    return kNone;
}

void split_target(const char *text, Target *t) {
    const size_t whole = std::strlen(text);
    size_t len = whole;
    t->code = kNone;
    if (const char *dot = std::strrchr(text, '.')) {
        const size_t at = static_cast<size_t>(dot - text);
        const int code = keyword_code(dot + 1, whole - at - 1);
        if (code != kNone) {
            t->code = code;
            len = at;
        }
    }
    t->too_long = len > static_cast<size_t>(kNameMax);
    if (t->too_long) len = 0;
    std::memcpy(t->name, text, len);
    t->name[len] = '\0';
}

}  // namespace zarn::varassign

using namespace zarn::varassign;

extern "C" int32_t rtovarlst_variable_object(rtvarlst_t *list, const char *text) {
    if (list == nullptr || text == nullptr || rtovarlst_inq_nvar(list) == 0) return 0;
    Target t;
    split_target(text, &t);
    if (t.too_long) return 0;
    return rtovarlst__varname2index(list, t.name);
}
