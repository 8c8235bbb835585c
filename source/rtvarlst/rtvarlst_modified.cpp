// Variable lists: the per-variable modification record the list owns.
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/xalloc.h"
#include "rtvarlst/rtvarlst_internal.h"

namespace zarn::rtvarlst {

namespace {

// Keeps a modification record: an existing one is overwritten in place, a
// missing one allocated, and a null pair frees it.
void store_record(rtvarlst_t *list, int32_t i, const rtvarmod_t *pair) {
    void **p = cell<void *>(list, kColModified, i);
    if (p == nullptr) {
        rtattrdict_setv(list->dictionary, i, kModified, nullptr);  // reports the bad index
        return;
    }
    if (pair != nullptr && *p != nullptr) {
        *static_cast<rtvarmod_t *>(*p) = *pair;
        return;
    }
    rtvarmod_t *fresh = nullptr;
    if (pair != nullptr) {
        fresh = static_cast<rtvarmod_t *>(zarn::xmalloc(sizeof(rtvarmod_t)));
        if (fresh == nullptr) return;  // the old record stays
        *fresh = *pair;
    }
    std::free(*p);
    *p = fresh;
}

const rtvarmod_t *record_of(rtvarlst_t *list, int32_t i) {
    if (list == nullptr) return nullptr;
    void *const *p = cell<void *>(list, kColModified, i);
    return p ? static_cast<const rtvarmod_t *>(*p) : nullptr;
}
}  // namespace
}  // namespace zarn::rtvarlst

using namespace zarn::rtvarlst;

extern "C" {

/* ---- Modification record ---- */

const rtvarmod_t *rtovarlst_inq_var_modified(rtvarlst_t *list, int32_t i) { return record_of(list, i); }

uint32_t rtovarlst_inq_var_modified_mask1(rtvarlst_t *list, int32_t i) {
    const rtvarmod_t *r = record_of(list, i);
    return r ? r->mask1 : 0;
}

uint32_t rtovarlst_inq_var_modified_mask2(rtvarlst_t *list, int32_t i) {
    const rtvarmod_t *r = record_of(list, i);
    return r ? r->mask2 : 0;
}

void rtovarlst_inq_var_modified_string(rtvarlst_t *list, int32_t i, char *buffer) {
    const rtvarmod_t *r = record_of(list, i);
    if (r == nullptr || buffer == nullptr) return;
    std::snprintf(buffer, 24, "%" PRId32 ";%" PRId32, static_cast<int32_t>(r->mask1),
                  static_cast<int32_t>(r->mask2));
}

void rtovarlst_set_var_modified(rtvarlst_t *list, int32_t i, const rtvarmod_t *record) {
    if (list != nullptr) store_record(list, i, record);
}

void rtovarlst_set_var_modified_string(rtvarlst_t *list, int32_t i, const char *text) {
    if (list == nullptr || text == nullptr) return;
    rtvarmod_t pair;
    pair.mask1 = static_cast<uint32_t>(std::strtoll(text, nullptr, 10));
    const char *semi = std::strchr(text, ';');
    pair.mask2 = semi ? static_cast<uint32_t>(std::strtoll(semi + 1, nullptr, 10)) : 0u;
    store_record(list, i, &pair);
}

void rtovarlst_set_var_modified_mask(rtvarlst_t *list, int32_t i, int32_t m) {
    if (list == nullptr) return;
    const rtvarmod_t *old = record_of(list, i);
    rtvarmod_t pair = old ? *old : rtvarmod_t{0, 0};
    if (m > 0) pair.mask1 = static_cast<uint32_t>(m);
    if (m < 0) pair.mask2 = static_cast<uint32_t>(m);
    store_record(list, i, &pair);
}

void rtovarlst_set_var_attribs_modified(rtvarlst_t *list, int32_t i, const rtvarmod_t *pair) {
    if (list == nullptr || pair == nullptr) return;
    const rtvarmod_t *old = record_of(list, i);
    rtvarmod_t merged = *pair;
    if (old != nullptr) {
        merged.mask1 |= old->mask1;
        merged.mask2 |= old->mask2;
    }
    store_record(list, i, &merged);
}
}  // extern "C"
