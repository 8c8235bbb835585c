// Variable lists: change notification and the process-wide assignment flags.
#include "rtvarlst/rtvarlst_internal.h"
#include "zarnutils/rtcontext.h"

namespace zarn::rtvarlst {

namespace {

// Process-wide assignment state, for one thread at a time.
int32_t g_changed_attribute = 0;
unsigned char g_user_assignment = 0;
unsigned char g_manipulate_assignment = 0;
}  // namespace

void notify(rtvarlst_t *list, int32_t i, int32_t code) {
    const char *name = rtattrdict_name(list->dictionary, i);
    rtovarlst_inq_blockptr_docallback(list, i, RTOVARLST_CHANGE_EVENT, name ? name : "", code);
}
}  // namespace zarn::rtvarlst

using namespace zarn::rtvarlst;

extern "C" {

void rtovarlst_inq_blockptr_docallback(rtvarlst_t *list, int32_t i, int32_t event, const char *name,
                                       int32_t code) {
    if (list == nullptr) return;
    void *handle = nullptr;
    QDLEOBlock *block = in_range(list, i) ? block_of(list, i) : nullptr;
    if (block != nullptr) {
        const int32_t absolute = rtattrdict_absolute_index(list->dictionary, i);
        g_changed_attribute = code;
        block->VariableChanged(absolute);
        handle = block->AssociatedObject();
    }
    if (code == RTOVARLST_CHG_BLOCK_ONLY) return;
    rtoevent_do_callback(event, reinterpret_cast<intptr_t>(name), code, reinterpret_cast<intptr_t>(handle));
}
/* ---- Assignment flags ---- */

void rtovarlst_set_changed_attribute(int32_t code) { g_changed_attribute = code; }

int32_t rtovarlst_inq_changed_attribute(void) { return g_changed_attribute; }

unsigned char rtovarlst_set_user_assignment(unsigned char flag) {
    unsigned char old = g_user_assignment;
    g_user_assignment = flag;
    return old;
}

unsigned char rtovarlst_set_manipulate_assignment(unsigned char flag) {
    unsigned char old = g_manipulate_assignment;
    g_manipulate_assignment = flag;
    return old;
}

unsigned char rtovarlst_inq_user_assignment(void) { return g_user_assignment; }

unsigned char rtovarlst_inq_manipulate_assignment(void) { return g_manipulate_assignment; }
}  // extern "C"
