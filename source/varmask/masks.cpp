// Print masks of variable and equation listings, and the process-wide list
// of attributes printed by default.
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/xalloc.h"
#include "rtopipe/report.h"
#include "varmask/varmask_internal.h"
#include "varmask/varmask_messages.h"

namespace zarn::varmask {

namespace {

// Words of the variable print mask and their flags (here SB is STEP).
const rtvar_keyword kVarWords[] = {
    {"AB", VMASK_ACTIVE_BOUND},     {"ACTIVE", VMASK_ACTIVE_BOUND},   {"ACTIVEBOUND", VMASK_ACTIVE_BOUND},
    {"ACTIVE_BOUND", VMASK_ACTIVE_BOUND}, {"BASEUOM", VMASK_BASEUOM}, {"BOUND", VMASK_BOUND},
    {"CHANGE", VMASK_CHANGE},       {"CONN_TYPE", VMASK_CONN_TYPE},   {"DESCRIPTION", VMASK_DESCRIPTION},
    {"INIT", VMASK_INIT},           {"INITIAL", VMASK_INIT},          {"LB", VMASK_LOWER},
    {"LOWER", VMASK_LOWER},         {"MODIFIED", VMASK_MODIFIED},     {"NAME", VMASK_NAME},
    {"PARAM", VMASK_PARAM},         {"PARAM_HOMO", VMASK_PARAM},      {"PHYSICAL_TYPE", VMASK_PHYSICAL_TYPE},
    {"QUALITY", VMASK_QUALITY},     {"RAMPED", VMASK_RAMPED},         {"SB", VMASK_STEP},
    {"SBWEIGHT", VMASK_SBWEIGHT},   {"SCALE", VMASK_SCALE},           {"SHADOW", VMASK_SHADOW_PRICE},
    {"SHADOWPRICE", VMASK_SHADOW_PRICE}, {"SHADOW_PRICE", VMASK_SHADOW_PRICE}, {"SP", VMASK_SHADOW_PRICE},
    {"SPEC", VMASK_SPEC},           {"SPECS", VMASK_SPEC},            {"STEP", VMASK_STEP},
    {"TARGET", VMASK_TARGET},       {"TARGET_HOMO", VMASK_TARGET},    {"THRESHOLD", VMASK_THRESHOLD},
    {"UB", VMASK_UPPER},            {"UNIT", VMASK_UNITS},            {"UNITS", VMASK_UNITS},
    {"UOM", VMASK_UNITS},           {"UPPER", VMASK_UPPER},           {"VAL", VMASK_VALUE},
    {"VALS", VMASK_VALUE},          {"VALUE", VMASK_VALUE},           {"VALUES", VMASK_VALUE},
    {"VAR_TYPE", VMASK_VAR_TYPE},
};
constexpr int kVarWordCount = sizeof kVarWords / sizeof kVarWords[0];
static_assert(kVarWordCount == 43);

const rtvar_keyword kEqnWords[] = {
    {"EQNSCALE", EMASK_SCALE},           {"INCLUDED", EMASK_INCLUDED},
    {"LINEARITY", EMASK_LINEARITY},      {"NAME", EMASK_NAME},
    {"SCALE", EMASK_SCALE},              {"SHADOW", EMASK_SHADOW_PRICE},
    {"SHADOWPRICE", EMASK_SHADOW_PRICE}, {"SHADOWPRICESSI", EMASK_SHADOW_PRICE_SSI},
    {"SHADOW_PRICE", EMASK_SHADOW_PRICE}, {"SHADOW_PRICE_SSI", EMASK_SHADOW_PRICE_SSI},
    {"SHADOW_SSI", EMASK_SHADOW_PRICE_SSI}, {"TYPE", EMASK_CODE},
    {"VAL", EMASK_VALUE},                {"VALS", EMASK_VALUE},
    {"VALUE", EMASK_VALUE},              {"VALUES", EMASK_VALUE},
};
constexpr int kEqnWordCount = sizeof kEqnWords / sizeof kEqnWords[0];
static_assert(kEqnWordCount == 16);

const LetterIndex &var_index() {
    static const LetterIndex index = build_index(kVarWords, kVarWordCount);
    return index;
}
const LetterIndex &eqn_index() {
    static const LetterIndex index = build_index(kEqnWords, kEqnWordCount);
    return index;
}
const KeywordTable g_var_words{kVarWords, kVarWordCount, 2, 13, var_index};
const KeywordTable g_eqn_words{kEqnWords, kEqnWordCount, 3, 16, eqn_index};

// The names g_printVar_mask may hold, compared exactly.
const struct {
    const char *name;
    int flag;
} kPrintNames[] = {
    {"NAME", VMASK_NAME},       {"PHYSICAL_TYPE", VMASK_PHYSICAL_TYPE}, {"LOWER", VMASK_LOWER},
    {"VALUE", VMASK_VALUE},     {"UPPER", VMASK_UPPER},                 {"SCALE", VMASK_SCALE},
    {"UNITS", VMASK_UNITS},     {"UOM", VMASK_UNITS},                   {"SPEC", VMASK_SPEC},
    {"STEP", VMASK_STEP},       {"SBWEIGHT", VMASK_SBWEIGHT},           {"SHADOW_PRICE", VMASK_SHADOW_PRICE},
    {"ACTIVE_BOUND", VMASK_ACTIVE_BOUND}, {"BASEUOM", VMASK_BASEUOM},   {"QUALITY", VMASK_QUALITY},
    {"INIT", VMASK_INIT},       {"INITIAL", VMASK_INIT},                {"CHANGE", VMASK_CHANGE},
    {"BOUND", VMASK_BOUND},     {"PARAM", VMASK_PARAM},                 {"PARAM_HOMO", VMASK_PARAM},
    {"TARGET", VMASK_TARGET},   {"TARGET_HOMO", VMASK_TARGET},          {"DESCRIPTION", VMASK_DESCRIPTION},
    {"CONN_TYPE", VMASK_CONN_TYPE},
};

const char *const kDefaultPrintNames[] = {"NAME", "LOWER", "VALUE", "UPPER", "UNITS", "SPEC"};

// The flag of an IDENTIFIER item in a table, or -1.
int item_flag(const KeywordTable &table, const void *data) {
    const value_t *item = static_cast<const value_t *>(data);
    if (!item || item->value_type != identifier_value || !item->u.text) return -1;
    return code_of(table, item->u.text, std::strlen(item->u.text), -1);
}

bool is_list(const value_t *value) { return value && value->value_type == list_value && value->u.list; }

// Steps shared by both parses: flags from the items, then PARAM and TARGET
// together. Returns false at the first bad item.
bool parse_var_items(int64_t *mask, const value_t *value) {
    for (const gl_node_t *node = value->u.list->head; node; node = node->next) {
        int flag = item_flag(g_var_words, node->data);
        if (flag < 0) return false;
        mask[flag] = 1;
    }
    if (mask[VMASK_TARGET] || mask[VMASK_PARAM]) mask[VMASK_TARGET] = mask[VMASK_PARAM] = 1;
    return true;
}

value_t *new_identifier(const char *name) {
    value_t *v = static_cast<value_t *>(zarn::xmalloc(sizeof(value_t)));
    if (!v) return nullptr;
    value_init(v);
    if (!value_assign_copy_of_id(v, name)) {
        std::free(v);
        return nullptr;
    }
    return v;
}

// A new list of the default names, or null when memory is short.
gl_list_t *default_print_list() {
    gl_list_t *list = gl_create();
    if (!list) return nullptr;
    for (const char *name : kDefaultPrintNames) {
        value_t *v = new_identifier(name);
        uint32_t before = gl_length(list);
        if (v) gl_addtoend(list, v);
        if (!v || gl_length(list) == before) {
            value_destroy_list_item(v);
            gl_destroy(list, value_destroy_list_item);
            return nullptr;
        }
    }
    return list;
}

}  // namespace

}  // namespace zarn::varmask

using namespace zarn::varmask;

const char *const vmask_names[VMASK_SIZE] = {
    "NAME",    "PHYSICAL_TYPE", "LOWER",  "VALUE",  "UPPER",        "SCALE",       "UNITS",
    "SPEC",    "STEP",          "SBWEIGHT", "SHADOW_PRICE", "ACTIVE_BOUND", "BASEUOM", "QUALITY",
    "INIT",    "CHANGE",        "BOUND",  "PARAM",  "TARGET",       "DESCRIPTION", "MODIFIED",
    "VAR_TYPE", "THRESHOLD",    "RAMPED", "CONN_TYPE"};

const char *const emask_names[6] = {"NAME", "VALUE", "SCALE", "CODE", "SHADOW_PRICE", "SHADOW_PRICE_SSI"};

gl_list_t *g_printVar_mask = nullptr;

void createPrintVarMask(void) {
    if (g_printVar_mask && gl_length(g_printVar_mask) > 0) return;
    gl_list_t *fresh = default_print_list();
    if (!fresh) {
        zarn::rtopipe::report(msg::kPrintVarNoMemory);
        return;
    }
    if (!g_printVar_mask) {
        g_printVar_mask = fresh;
        return;
    }
    // An empty list the host made keeps its address: it takes the new nodes.
    std::swap(*g_printVar_mask, *fresh);
    gl_destroylist(fresh);
}

void vmask_select_none(int64_t *mask) {
    if (mask) std::memset(mask, 0, VMASK_SIZE * sizeof *mask);
}

void vmask_select_default(int64_t *mask) {
    if (!mask) return;
    for (int f = 0; f < VMASK_SIZE; ++f) mask[f] = (f <= VMASK_SPEC || f == VMASK_CONN_TYPE) ? 1 : 0;
}

void vmask_select_print_default(int64_t *mask) {
    if (!mask) return;
    vmask_select_none(mask);
    createPrintVarMask();
    if (!g_printVar_mask) return;
    for (const gl_node_t *node = g_printVar_mask->head; node; node = node->next) {
        const value_t *item = static_cast<const value_t *>(node->data);
        if (!item || item->value_type != identifier_value || !item->u.text) {
            zarn::rtopipe::report(msg::kPrintVarNotName);
            continue;
        }
        int flag = -1;
        for (const auto &p : kPrintNames) {
            if (std::strcmp(p.name, item->u.text) == 0) flag = p.flag;
        }
        if (flag < 0)
            zarn::rtopipe::report(msg::kPrintVarUnknown, item->u.text);
        else
            mask[flag] = 1;
    }
}

int vmask_from_value(int64_t *mask, const value_t *value) {
    if (!mask) return 0;
    vmask_select_none(mask);
    if (!is_list(value) || gl_length(value->u.list) == 0) return 0;
    if (!parse_var_items(mask, value)) return 0;
    // Attributes printed in units bring the units column along.
    for (int f : {VMASK_LOWER, VMASK_VALUE, VMASK_UPPER, VMASK_SCALE, VMASK_STEP, VMASK_INIT, VMASK_TARGET,
                  VMASK_THRESHOLD}) {
        if (mask[f]) mask[VMASK_UNITS] = 1;
    }
    return 1;
}

int vmask_from_value2(int64_t *mask, const value_t *value) {
    if (!mask) return 0;
    vmask_select_none(mask);
    return is_list(value) && parse_var_items(mask, value) ? 1 : 0;
}

void vmask_copy(const int64_t *src, int64_t *dst) {
    if (src && dst) std::memmove(dst, src, VMASK_SIZE * sizeof *dst);
}

void emask_select_none(int32_t *mask) {
    if (mask) std::memset(mask, 0, EMASK_SIZE * sizeof *mask);
}

void emask_select_print_default(int32_t *mask) {
    if (!mask) return;
    for (int f = 0; f < EMASK_SIZE; ++f)
        mask[f] = (f == EMASK_SHADOW_PRICE || f == EMASK_SHADOW_PRICE_SSI) ? 0 : 1;
}

int emask_from_value(int32_t *mask, const value_t *value) {
    if (!mask) return 0;
    emask_select_none(mask);
    if (!is_list(value)) return 0;
    for (const gl_node_t *node = value->u.list->head; node; node = node->next) {
        int flag = item_flag(g_eqn_words, node->data);
        if (flag < 0) return 0;
        mask[flag] = 1;
    }
    return 1;
}

void emask_copy(const int32_t *src, int32_t *dst) {
    if (src && dst) std::memmove(dst, src, EMASK_SIZE * sizeof *dst);
}
