// Equation lists: creation, windows, names, the typed accessors and columns,
// and whole-equation records.
#include <cstring>

#include "platform/zassert.h"
#include "rtattrdict/rtattrdict_lists.h"
#include "rteqnlst/rteqnlst_internal.h"
#include "rteqnlst/rteqnlst_messages.h"
#include "rtopipe/report.h"
#include "zarnutils/varutl.h"

namespace zarn::rteqnlst {

namespace {

// The columns in the catalogue's order; NAME is the dictionary's own. The
// dictionary keeps pointers to these descriptors.
constexpr auto kColumnTable = rtattrdict::column_table(ac::kEqnColumns);

void report_truncated(const char *name, int32_t width) { rtopipe::report(msg::kTruncating, name, width); }

// A list and a record to work on; else the assertion line of the missing one.
bool record_call_ok(const rtattrdict_t *list, const eqninfo *record) {
    if (list == nullptr)
        zarn::assert_report(msg::kAssertRecordList, msg::kSource, __LINE__);
    else if (record == nullptr)
        zarn::assert_report(msg::kAssertRecordNull, msg::kSource, __LINE__);
    return list != nullptr && record != nullptr;
}

}  // namespace

const rtattrdesc_t *const kColumns = kColumnTable.data();

}  // namespace zarn::rteqnlst

using namespace zarn::rteqnlst;
namespace dict = zarn::rtattrdict;

extern "C" {

// ---- lifecycle and shape ----

rtattrdict_t *rtoeqnlst_create(int32_t capacity) {
    rtattrdict_t *d = dict::create_or_null(capacity, kColumns, 0);
    if (d != nullptr && !dict::declares_all(d, kColumns)) {
        rtattrdict_destroy(d);
        return nullptr;
    }
    return d;
}

rtattrdict_t *rtoeqnlst_create_embedded(int32_t capacity, rtattrdict_t *parent, const char *prefix,
                                        int32_t start) {
    if (parent == nullptr) return rtoeqnlst_create(capacity);
    return rtattrdict_create_embedded(parent, start, capacity, prefix, 0);
}

void rtoeqnlst_destroy(rtattrdict_t **list) {
    if (list == nullptr) return;
    rtattrdict_destroy(*list);
    *list = nullptr;
}

int32_t rtoeqnlst_parent_check(rtattrdict_t *parent, rtattrdict_t *list) {
    if (parent == nullptr || list == nullptr) return 0;
    return rtattrdict_embedded(list) == parent ? 1 : 0;
}

int32_t rtoeqnlst_absolute_index(rtattrdict_t *list, int32_t i) { return rtattrdict_absolute_index(list, i); }

int32_t rtoeqnlst_inq_neqn(rtattrdict_t *list) { return list ? list->size : 0; }

void rtoeqnlst_set_neqn(rtattrdict_t *list, int32_t n) {
    if (list == nullptr || n < 0) return;
    if (n > list->capacity) {
        zarn::rtopipe::report(msg::kSetNeqnBeyond, n, list->capacity);
        return;
    }
    rtattrdict_resize(list, n);
}

int32_t rtoeqnlst_inq_capacity(rtattrdict_t *list) { return list ? list->capacity : 0; }

void rtoeqnlst_resize(rtattrdict_t *list, int32_t n) {
    if (n >= 0) dict::change_capacity_caught(list, n);
}

void rtoeqnlst_move_items(rtattrdict_t *list, int32_t source, int32_t destination, int32_t count) {
    rtattrdict_move_items(list, source, destination, count);
}

void rtoeqnlst_relocate(rtattrdict_t *list, int32_t start) { rtattrdict_relocate(list, start); }

void rtoeqnlst_printsymbolstats(rtattrdict_t *list) { rtattrdict_print_stats(list); }

int32_t rtoeqnlst_compute_md(rtattrdict_t *list, zarn_md5_ctx_t *ctx) {
    return rtattrdict_checksum(list, ctx);
}

// ---- names ----

void rtoeqnlst_addeqn(rtattrdict_t *list, int32_t i, const char *name) {
    rtattrdict_sets(list, i, "NAME", name);
}

int32_t rtoeqnlst_addeqns(rtattrdict_t *list, int32_t first, int32_t last, int32_t width, const char *block) {
    if (width <= 0 || last < first) return 0;
    return rtattrdict_add_group(list, first, dict::span(first, last), width, block);
}

void rtoeqnlst_removeeqns(rtattrdict_t *list, int32_t first, int32_t last) {
    rtattrdict_remove_items(list, first, dict::span(first, last));
}

const char *rtoeqnlst_lookup_eqn_name(rtattrdict_t *list, int32_t i) { return rtattrdict_name(list, i); }

void rtoeqnlst_inq_eqn_name(rtattrdict_t *list, int32_t i, char *buffer) {
    if (buffer != nullptr) dict::copy_name(list, i, buffer);
}

int32_t rtoeqnlst__eqnname2index(rtattrdict_t *list, const char *name) {
    return rtattrdict_index(list, name);
}

void rtoeqnlst_names(rtattrdict_t *list, int32_t first, int32_t last, int32_t width, char *block) {
    if (dict::names_to_fields(list, first, last, width, block, report_truncated) == dict::Fields::kBadRange)
        zarn::rtopipe::report(msg::kNamesBad, first, last, list->size);
}

int32_t rtoeqnlst_names_eq(rtattrdict_t *list1, int32_t first1, int32_t last1, rtattrdict_t *list2,
                           int32_t first2, int32_t last2) {
    if (list1 == nullptr || list2 == nullptr) return 0;
    // In 64 bits: any two int32_t differences compare without overflow.
    const int64_t length1 = static_cast<int64_t>(last1) - first1;
    const int64_t length2 = static_cast<int64_t>(last2) - first2;
    if (length1 != length2 || first1 < 1 || first2 < 1) return 0;
    if (last1 > list1->size || last2 > list2->size) return 0;
    if (length1 < 0) return 1;  // empty ranges: no name differs
    return dict::names_equal(list1, first1, list2, first2, static_cast<int32_t>(length1 + 1)) ? 1 : 0;
}

// ---- attributes ----

double rtoeqnlst_inq_eqn_value(rtattrdict_t *list, int32_t i) { return rtattrdict_getd(list, i, kResidual); }

double rtoeqnlst_inq_eqn_scale(rtattrdict_t *list, int32_t i) { return rtattrdict_getd(list, i, kScale); }

void rtoeqnlst_set_eqn_scale(rtattrdict_t *list, int32_t i, double scale) {
    rtattrdict_setd(list, i, kScale, scale);
}

double rtoeqnlst_inq_eqn_shadow_price(rtattrdict_t *list, int32_t i) {
    return rtattrdict_getd(list, i, kShadowPrice);
}

void rtoeqnlst_set_eqn_shadow_price(rtattrdict_t *list, int32_t i, double price) {
    rtattrdict_setd(list, i, kShadowPrice, price);
}

int32_t rtoeqnlst_inq_eqn_status(rtattrdict_t *list, int32_t i) { return rtattrdict_geti(list, i, kStatus); }

void rtoeqnlst_set_eqn_status(rtattrdict_t *list, int32_t i, int64_t status) {
    rtattrdict_seti(list, i, kStatus, status);
}

int32_t rtoeqnlst_inq_eqn_group(rtattrdict_t *list, int32_t i) { return rtattrdict_geti(list, i, kGroup); }

int32_t rtoeqnlst_inq_eqn_basic(rtattrdict_t *list, int32_t i) { return rtattrdict_geti(list, i, kBasic); }

void rtoeqnlst_set_eqn_basic(rtattrdict_t *list, int32_t i, int64_t basic) {
    rtattrdict_seti(list, i, kBasic, basic);
}

void *rtoeqnlst_inq_eqn_blockptr(rtattrdict_t *list, int32_t i) {
    return rtattrdict_getv(list, i, kBlockPtr);
}

void rtoeqnlst_set_eqn_blockptr(rtattrdict_t *list, int32_t i, void *block) {
    rtattrdict_setv(list, i, kBlockPtr, block);
}

void rtoeqnlst_set_eqn_blockptr_int(rtattrdict_t *list, int32_t i, int32_t block) {
    rtoeqnlst_set_eqn_blockptr(list, i, reinterpret_cast<void *>(static_cast<intptr_t>(block)));
}

const char *rtoeqnlst_inq_eqn_proc_var(rtattrdict_t *list, int32_t i) {
    return rtattrdict_gets(list, i, kProcVar);
}

void rtoeqnlst_set_eqn_proc_var(rtattrdict_t *list, int32_t i, const char *name) {
    rtattrdict_sets(list, i, kProcVar, name);
}

IWEXWrapper *rtoeqnlst_inq_eqn_comWrapper(rtattrdict_t *list, int32_t i) {
    return rtattrdict_getwrapper(list, i, kComWrapper);
}

void rtoeqnlst_set_eqn_comWrapper(rtattrdict_t *list, int32_t i, IWEXWrapper *wrapper) {
    rtattrdict_setwrapper(list, i, kComWrapper, wrapper);
}

double *rtoeqnlst_vec_residual(rtattrdict_t *list) { return rtattrdict_dvector(list, kResidual); }

double *rtoeqnlst_vec_scale(rtattrdict_t *list) { return rtattrdict_dvector(list, kScale); }

double *rtoeqnlst_vec_shadow_price(rtattrdict_t *list) { return rtattrdict_dvector(list, kShadowPrice); }

int64_t *rtoeqnlst_vec_status(rtattrdict_t *list) { return rtattrdict_ivector(list, kStatus); }

int64_t *rtoeqnlst_vec_group(rtattrdict_t *list) { return rtattrdict_ivector(list, kGroup); }

int64_t *rtoeqnlst_vec_basic(rtattrdict_t *list) { return rtattrdict_ivector(list, kBasic); }

void **rtoeqnlst_vec_blockptr(rtattrdict_t *list) { return rtattrdict_vvector(list, kBlockPtr); }

// ---- records ----

void rtoeqnlst_inq_eqn(rtattrdict_t *list, int32_t i, eqninfo *record) {
    if (!record_call_ok(list, record)) return;
    const uint32_t m = record->mask.mask1;
    if (m & EQNINFO_NAME) dict::copy_name(list, i, record->name);
    if (m & EQNINFO_RESIDUAL) record->residual = rtoeqnlst_inq_eqn_value(list, i);
    if (m & EQNINFO_SCALE) record->scale = rtoeqnlst_inq_eqn_scale(list, i);
    if (m & EQNINFO_STATUS) record->status = rtoeqnlst_inq_eqn_status(list, i);
    if (m & EQNINFO_GROUP) record->group = rtoeqnlst_inq_eqn_group(list, i);
    if (m & EQNINFO_PROCVAR) record->proc_var = rtoeqnlst_inq_eqn_proc_var(list, i);
    if (m & EQNINFO_BLOCKPTR) record->blockptr = rtoeqnlst_inq_eqn_blockptr(list, i);
    if (m & EQNINFO_SHADOW_PRICE) record->shadow_price = rtoeqnlst_inq_eqn_shadow_price(list, i);
    if (m & EQNINFO_BASIC) record->basic = rtoeqnlst_inq_eqn_basic(list, i);
}

void rtoeqnlst_initialize_eqn(rtattrdict_t *list, int32_t i, const eqninfo *record) {
    if (!record_call_ok(list, record)) return;
    const uint32_t m = record->mask.mask1;
    if (m & EQNINFO_NAME)
        rtoeqnlst_addeqn(list, i, record->name);
    else
        zarn::rtopipe::report("%s", msg::kInitNoName);
    rtattrdict_setd(list, i, kResidual, (m & EQNINFO_RESIDUAL) ? record->residual : 0.0);
    rtattrdict_setd(list, i, kScale, (m & EQNINFO_SCALE) ? record->scale : 1.0);
    rtattrdict_seti(list, i, kStatus, (m & EQNINFO_STATUS) ? record->status : 0);
    if (m & EQNINFO_GROUP) rtattrdict_seti(list, i, kGroup, record->group);
    // No process variable is the column's default: an equation that has none
    // is left without a sparse record.
    if (m & EQNINFO_PROCVAR) {
        rtattrdict_sets(list, i, kProcVar, record->proc_var);
    } else {
        const char *old = rtattrdict_gets(list, i, kProcVar);
        if (old != nullptr && old[0] != '\0') rtattrdict_sets(list, i, kProcVar, "");
    }
    rtattrdict_setv(list, i, kBlockPtr, (m & EQNINFO_BLOCKPTR) ? record->blockptr : nullptr);
    rtattrdict_setd(list, i, kShadowPrice, (m & EQNINFO_SHADOW_PRICE) ? record->shadow_price : 0.0);
}

}  // extern "C"
