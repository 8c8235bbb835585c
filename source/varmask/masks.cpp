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

namespace ac = zarn::attrcat;

namespace {

// The attributes a listing prints when the host has chosen none.
constexpr int kDefaultPrintFlags[] = {VMASK_NAME,  VMASK_LOWER, VMASK_VALUE,
                                      VMASK_UPPER, VMASK_UNITS, VMASK_SPEC};

// The flag of an IDENTIFIER item in a vocabulary, or -1.
int item_flag(const ac::Vocabulary &table, const void *data) {
    const value_t *item = static_cast<const value_t *>(data);
    if (!item || item->value_type != identifier_value || !item->u.text) return -1;
    return ac::code_of(table, item->u.text, std::strlen(item->u.text), -1);
}

bool is_list(const value_t *value) { return value && value->value_type == list_value && value->u.list; }

// Steps shared by both parses: flags from the items, then PARAM and TARGET
// together. Returns false at the first bad item.
bool parse_var_items(int64_t *mask, const value_t *value) {
    for (const gl_node_t *node = value->u.list->head; node; node = node->next) {
        int flag = item_flag(ac::kVmaskWords, node->data);
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
    for (int flag : kDefaultPrintFlags) {
        value_t *v = new_identifier(ac::kVmaskFlags[flag].name);
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

// The names come from the catalogue's constant rows, so the arrays are
// filled before any code runs.
#define ZARN_VMASK_NAME_OF(flag) ac::kVmaskFlags[flag].name,
const char *const vmask_names[VMASK_SIZE] = {ZARN_VMASK_FLAGS(ZARN_VMASK_NAME_OF)};
#undef ZARN_VMASK_NAME_OF

const char *const emask_names[6] = {
    ac::kEmaskFlags[EMASK_NAME].name,         ac::kEmaskFlags[EMASK_VALUE].name,
    ac::kEmaskFlags[EMASK_SCALE].name,        ac::kEmaskFlags[EMASK_CODE].name,
    ac::kEmaskFlags[EMASK_SHADOW_PRICE].name, ac::kEmaskFlags[EMASK_SHADOW_PRICE_SSI].name};

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
        const int flag = ac::code_of(ac::kPrintNames, item->u.text, std::strlen(item->u.text), -1);
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
        int flag = item_flag(ac::kEmaskWords, node->data);
        if (flag < 0) return 0;
        mask[flag] = 1;
    }
    return 1;
}

void emask_copy(const int32_t *src, int32_t *dst) {
    if (src && dst) std::memmove(dst, src, EMASK_SIZE * sizeof *dst);
}
