// Variable lists: creation, windows, names and the bulk operations.
#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/checked.h"
#include "platform/xalloc.h"
#include "platform/zassert.h"
#include "rtattrdict/rtattrdict_lists.h"
#include "rtopipe/report.h"
#include "rtvarlst/rtvarlst_held.h"
#include "rtvarlst/rtvarlst_internal.h"
#include "rtvarlst/rtvarlst_messages.h"
#include "zarnutils/varprofile.hpp"
#include "zarnutils/zarnmalloc.h"

namespace zarn::rtvarlst {

namespace {

// The columns every list declares, in the catalogue's order; NAME is the
// dictionary's own. The dictionary keeps pointers to these descriptors.
constexpr auto kColumnTable = zarn::rtattrdict::column_table(ac::kListColumns);

}  // namespace

const rtattrdesc_t *const kColumns = kColumnTable.data();

namespace {

// Names of the directly reached columns, in Col order.
constexpr const char *kColNames[kColCount] = {
    kValue,  kInit,    kLower, kUpper, kScale,    kSlvScale, kShadowPrice, kThreshold,
    kStatus, kBaseUom, kUom,   kBasic, kConnType, kModified, kConnMgr,     kParamHomo};

// Finds the attribute records of the direct columns at the head; false when
// the head lacks any column (one left out when memory ran short).
bool bind_columns(VarList *l) {
    if (!zarn::rtattrdict::declares_all(l->head, kColumns)) return false;
    for (int c = 0; c < kColCount; ++c) {
        l->cols[c] = zarn::rtattrdict::lookup_attr(l->head, kColNames[c]);
        if (l->cols[c] == nullptr) return false;
    }
    for (int s = 0; s < kSparseCount; ++s) {
        l->sparse[s] = zarn::rtattrdict::lookup_attr(l->head, kSparseNames[s]);
        if (l->sparse[s] == nullptr) return false;
    }
    l->blockptr = zarn::rtattrdict::lookup_attr(l->head, kBlockPtr);
    return l->blockptr != nullptr && l->blockptr->desc->type == RTATTR_SPARSE_POINTER;
}

VarList *new_record() { return static_cast<VarList *>(zarn::xcalloc(1, sizeof(VarList))); }

// Items in first..last, kept within int32_t.
using zarn::rtattrdict::span;

const char *name_or_empty(rtvarlst_t *list, int32_t i) {
    const char *n = rtattrdict_name(list->dictionary, i);
    return n ? n : "";
}

// Frees what the list owns for the items in head cells first..last (1-based):
// the profile and the modification record.
void release_cells(rtvarlst_t *list, int32_t first, int32_t last) {
    VarList *l = as_list(list);
    void **modified = zarn::rtattrdict::column_base<void *>(l->cols[kColModified]);
    for (int32_t k = first; k <= last; ++k) {
        zarn::rtattrdict::SparseSlot *profile =
            zarn::rtattrdict::sparse_cell(l->head, k, l->sparse[kSpVarProfile]);
        if (profile != nullptr && profile->v != nullptr) {
            delete static_cast<VarProfile *>(profile->v);
            profile->v = nullptr;
        }
        std::free(modified[k - 1]);
        modified[k - 1] = nullptr;
    }
}

// A move of count items from src to dst, numbered so that item k is head
// cell base + k, kills the items it lands on that are not its own: frees
// what the list owns for them.
void release_overwritten(rtvarlst_t *list, int64_t base, int64_t src, int64_t dst, int64_t count) {
    for (int64_t k = dst; k < dst + count; ++k)
        if (k < src || k >= src + count) {
            const auto at = static_cast<int32_t>(base + k);
            release_cells(list, at, at);
        }
}

// What the list owns in head cells first..last: modification records and
// profiles, each array sorted. Each array has room for `room`: the cells first
// looked at, which a later look cannot exceed, since no move makes records.
struct Owned {
    void **records, **profiles;
    std::size_t room, nrecords = 0, nprofiles = 0;
};

void collect_owned(rtvarlst_t *list, int32_t first, int32_t last, Owned &out) {
    VarList *l = as_list(list);
    void *const *modified = zarn::rtattrdict::column_base<void *>(l->cols[kColModified]);
    for (int32_t k = first; k <= last; ++k) {
        if (modified[k - 1] != nullptr && out.nrecords < out.room)
            out.records[out.nrecords++] = modified[k - 1];
        const zarn::rtattrdict::SparseSlot *p =
            zarn::rtattrdict::sparse_cell(l->head, k, l->sparse[kSpVarProfile]);
        if (p != nullptr && p->v != nullptr && out.nprofiles < out.room) out.profiles[out.nprofiles++] = p->v;
    }
    std::sort(out.records, out.records + out.nrecords);
    std::sort(out.profiles, out.profiles + out.nprofiles);
}

// A window's capacity is cells of its head: changing it moves the head's later
// items, and shrinking it drops its spare cells' items. Frees what the list
// owned for the items no longer in the head.
void change_window_capacity(rtvarlst_t *list, int32_t capacity) {
    VarList *l = as_list(list);
    // Every cell of the head's columns: those beyond its size may hold what a
    // window left there gave them.
    const int32_t first = zarn::rtattrdict::head_offset(list->dictionary) + 1, last = l->head->capacity;
    const std::size_t cells = first <= last ? static_cast<std::size_t>(last - first + 1) : 0;
    auto **room = static_cast<void **>(zarn::xmalloc(std::max<std::size_t>(cells, 1) * 4 * sizeof(void *)));
    if (room == nullptr) {
        zarn::rtopipe::report(msg::kResizeNoMemory);
        return;
    }
    Owned before{room, room + cells, cells}, after{room + 2 * cells, room + 3 * cells, cells};
    collect_owned(list, first, last, before);
    zarn::rtattrdict::change_capacity_caught(list->dictionary, capacity);
    collect_owned(list, first, l->head->capacity, after);  // the head may have grown
    for (std::size_t i = 0; i < before.nrecords; ++i)
        if (!std::binary_search(after.records, after.records + after.nrecords, before.records[i]))
            std::free(before.records[i]);
    for (std::size_t i = 0; i < before.nprofiles; ++i)
        if (!std::binary_search(after.profiles, after.profiles + after.nprofiles, before.profiles[i]))
            delete static_cast<VarProfile *>(before.profiles[i]);
    std::free(room);
}

}  // namespace

void release_items(rtvarlst_t *list, int32_t first, int32_t last) {
    if (list == nullptr) return;
    if (first < 1) first = 1;
    if (last > held(list)) last = held(list);
    if (first > last) return;
    const int32_t offset = zarn::rtattrdict::head_offset(list->dictionary);
    release_cells(list, offset + first, offset + last);
}

int32_t held_items(rtvarlst_t *list) { return list != nullptr ? held(list) : 0; }

}  // namespace zarn::rtvarlst

using namespace zarn::rtvarlst;

extern "C" {

rtvarlst_t *rtovarlst_create(int32_t capacity) {
    if (capacity < 0) capacity = 0;
    VarList *l = new_record();
    if (l == nullptr) return nullptr;
    rtattrdict_t *d = zarn::rtattrdict::create_or_null(capacity, kColumns, 1);
    if (d == nullptr) {
        std::free(l);
        return nullptr;
    }
    l->dictionary = d;
    l->head = d;
    if (!bind_columns(l)) {
        rtattrdict_destroy(d);
        std::free(l);
        return nullptr;
    }
    return l;
}

rtvarlst_t *rtovarlst_create_embedded(int32_t capacity, rtvarlst_t *parent, const char *prefix,
                                      int32_t start) {
    if (parent == nullptr) return rtovarlst_create(capacity);
    if (start < 1 || capacity < 0) {
        zarn::rtopipe::report(msg::kEmbBadStart, start, capacity);
        return nullptr;
    }
    VarList *l = new_record();
    if (l == nullptr) return nullptr;
    rtattrdict_t *d = rtattrdict_create_embedded(parent->dictionary, start, capacity, prefix, 0);
    if (d == nullptr) {
        std::free(l);
        return nullptr;
    }
    l->dictionary = d;
    l->head = as_list(parent)->head;
    std::memcpy(l->cols, as_list(parent)->cols, sizeof l->cols);
    std::memcpy(l->sparse, as_list(parent)->sparse, sizeof l->sparse);
    l->blockptr = as_list(parent)->blockptr;
    return l;
}

rtvarlst_t *rtovarlst_create_sublist(rtvarlst_t *parent, int32_t start) {
    if (parent == nullptr) {
        zarn::rtopipe::report(msg::kNoParent);
        return nullptr;
    }
    // start is checked before it takes part in any arithmetic
    if (start < 1 || start > static_cast<int64_t>(parent->dictionary->size) + 1) {
        zarn::rtopipe::report(msg::kSublistBadStart, start, parent->dictionary->size);
        return nullptr;
    }
    const int32_t n = parent->dictionary->size - start + 1;
    rtvarlst_t *l = rtovarlst_create_embedded(n, parent, "", start);
    if (l != nullptr) rtattrdict_resize(l->dictionary, n);
    return l;
}

void rtovarlst_delete_sublist(rtvarlst_t **list) {
    if (list == nullptr || *list == nullptr) return;
    // Size 0 first: the parent's items must survive the window.
    (*list)->dictionary->size = 0;
    rtovarlst_destroy_c(list);
}

void rtovarlst_destroy_c(rtvarlst_t **list) {
    if (list == nullptr || *list == nullptr) return;
    rtvarlst_t *l = *list;
    // A head's cells beyond its size are no items, but a window left beyond
    // the size may have given them records.
    if (zarn::rtattrdict::is_head(l->dictionary))
        release_cells(l, 1, l->dictionary->capacity);
    else
        release_items(l, 1, l->dictionary->size);
    l->aliases = nullptr;
    rtattrdict_destroy(l->dictionary);
    std::free(as_list(l));
    *list = nullptr;
}

int32_t rtovarlst_parent_check(rtvarlst_t *parent, rtvarlst_t *list) {
    if (parent == nullptr || list == nullptr) return 0;
    return rtattrdict_embedded(list->dictionary) == parent->dictionary ? 1 : 0;
}

int32_t rtovarlst_inq_nvar(rtvarlst_t *list) { return list ? list->dictionary->size : 0; }

int32_t rtovarlst_inq_capacity(rtvarlst_t *list) { return list ? list->dictionary->capacity : 0; }

void rtovarlst_resize(rtvarlst_t *list, int32_t capacity) {
    if (list == nullptr || capacity < 0) return;
    rtattrdict_t *d = list->dictionary;
    // A head's capacity never drops an item: it refuses to go below its size.
    // The cells it gives up may hold what a window beyond its size gave them.
    if (d->ops == nullptr || zarn::rtattrdict::is_head(d)) {
        if (d->ops != nullptr && capacity >= d->size && capacity < d->capacity)
            release_cells(list, capacity + 1, d->capacity);
        zarn::rtattrdict::change_capacity_caught(d, capacity);
        return;
    }
    change_window_capacity(list, capacity);
}

void rtovarlst_set_nvar(rtvarlst_t *list, int32_t n) {
    if (list == nullptr || n < 0) return;
    rtattrdict_t *d = list->dictionary;
    if (n > d->capacity) {
        zarn::rtopipe::report(msg::kSetNvarBeyond, n, d->capacity);
        return;
    }
    if (n < d->size) release_items(list, n + 1, d->size);
    rtattrdict_resize(d, n);
}

void rtovarlst_move_items(rtvarlst_t *list, int32_t source, int32_t destination, int32_t count) {
    if (list == nullptr) return;
    // The dictionary checks the move at every level: a window left beyond its
    // shrunk head is refused there, and then nothing may be freed.
    if (zarn::rtattrdict::moves(list->dictionary, source, destination, count)) {
        release_overwritten(list, zarn::rtattrdict::head_offset(list->dictionary), source, destination,
                            count);
    }
    rtattrdict_move_items(list->dictionary, source, destination, count);
}

void rtovarlst_relocate(rtvarlst_t *list, int32_t start) {
    if (list == nullptr) return;
    rtattrdict_t *d = list->dictionary;
    if (zarn::rtattrdict::relocate_moves(d, start)) {
        // The window's items move in its parent, whose item k is head cell base + k.
        const int64_t from = zarn::rtattrdict::window_start(d);
        release_overwritten(list, zarn::rtattrdict::head_offset(d) - (from - 1), from, start, d->size);
    }
    rtattrdict_relocate(d, start);
}

int32_t rtovarlst_super_index(rtvarlst_t *list, int32_t i) {
    if (list == nullptr) return 0;
    return zarn::rtattrdict::parent_index(list->dictionary, i);
}

int32_t rtovarlst_absolute_index(rtvarlst_t *list, int32_t i) {
    return list ? rtattrdict_absolute_index(list->dictionary, i) : 0;
}

void rtovarlst_printsymbolstats(rtvarlst_t *list) {
    if (list == nullptr) return;
    zarn::rtopipe::report(msg::kStatsBegin);
    rtattrdict_print_stats(list->dictionary);
    zarn::rtopipe::report(msg::kStatsEnd);
}

void rtovarlst_set_taglst(rtvarlst_t *list, rtotaglst_t *tags) {
    if (list == nullptr) return;
    if (list->aliases != nullptr) {
        zarn::rtopipe::report(msg::kTagsAttached);
        return;
    }
    list->aliases = tags;
}

rtotaglst_t *rtovarlst_inq_taglst(rtvarlst_t *list) { return list ? list->aliases : nullptr; }

int32_t rtovarlst_compute_md(rtvarlst_t *list, zarn_md5_ctx_t *ctx) {
    if (list == nullptr || ctx == nullptr) return 0;
    return rtattrdict_checksum(list->dictionary, ctx);
}

int32_t rtovarlst__varname2index(rtvarlst_t *list, const char *name) {
    if (list == nullptr || name == nullptr) return 0;
    if (list->aliases != nullptr) {
        const char *target = rtotaglst_search_tags(list->aliases, name);
        if (target != nullptr) name = target;
    }
    return rtattrdict_index(list->dictionary, name);
}

const char *rtovarlst_lookup_var_name(rtvarlst_t *list, int32_t i) {
    if (list == nullptr) {
        zarn::assert_report(msg::kAssertLookupNull, msg::kSource, __LINE__);
        return nullptr;
    }
    return rtattrdict_name(list->dictionary, i);
}

void rtovarlst_inq_var_name(rtvarlst_t *list, int32_t i, char *buffer) {
    if (buffer == nullptr) return;
    buffer[0] = '\0';
    if (list == nullptr || zarn::rtattrdict::copy_name(list->dictionary, i, buffer)) return;
    zarn::rtopipe::report(msg::kNoName, i);
    if (i < 1 || i > list->dictionary->size) zarn::rtopipe::report(msg::kOutOfBounds, list->dictionary->size);
}

void rtovarlst_addvar(rtvarlst_t *list, int32_t i, const char *name) {
    if (list == nullptr) return;
    const char *names[1] = {name ? name : ""};
    rtattrdict_add_items(list->dictionary, i, 1, names);
}

void rtovarlst_addvars(rtvarlst_t *list, int32_t first, int32_t last, int32_t width, const char *names) {
    if (list == nullptr || names == nullptr || width <= 0 || last < first) return;
    rtattrdict_add_group(list->dictionary, first, span(first, last), width, names);
}

void rtovarlst_names(rtvarlst_t *list, int32_t first, int32_t last, int32_t width, char *buffer) {
    if (list == nullptr) return;
    const auto truncated = [](const char *name, int32_t w) {
        zarn::rtopipe::report(msg::kTruncating, name, w);
    };
    if (zarn::rtattrdict::names_to_fields(list->dictionary, first, last, width, buffer, truncated) ==
        zarn::rtattrdict::Fields::kBadRange)
        zarn::rtopipe::report(msg::kNamesBad, first, last, list->dictionary->size);
}

int32_t rtovarlst_names_eq(rtvarlst_t *list1, int32_t first1, int32_t last1, rtvarlst_t *list2,
                           int32_t first2, int32_t last2) {
    if (list1 == nullptr || list2 == nullptr) return 0;
    if (first1 < 1 || first2 < 1 || last1 < first1 || last2 < first2) return 0;
    if (last1 - first1 != last2 - first2) return 0;
    if (last1 > list1->dictionary->size || last2 > list2->dictionary->size) return 0;
    return zarn::rtattrdict::names_equal(list1->dictionary, first1, list2->dictionary, first2,
                                         last1 - first1 + 1);
}

void rtovarlst_presolve(rtvarlst_t *list) {
    if (list == nullptr) return;
    double *value = rtovarlst_vec_value(list);
    double *init = rtovarlst_vec_initial(list);
    double *shadow = rtovarlst_vec_shadow_price(list);
    if (value == nullptr || init == nullptr || shadow == nullptr) {
        zarn::assert_report(msg::kAssertPresolve, msg::kSource, __LINE__);
        return;
    }
    const size_t n = static_cast<size_t>(held(list));
    if (n == 0) return;
    std::memcpy(init, value, n * sizeof(double));
    for (size_t k = 0; k < n; ++k) shadow[k] = RTOVARLST_UNDEFINED;
}

void rtovarlst_copyinittovalue(rtvarlst_t *list) {
    if (list == nullptr) return;
    double *value = rtovarlst_vec_value(list);
    double *init = rtovarlst_vec_initial(list);
    if (value == nullptr || init == nullptr) {
        zarn::assert_report(msg::kAssertCopyInit, msg::kSource, __LINE__);
        return;
    }
    const int32_t n = held(list);
    for (int32_t k = 0; k < n; ++k)
        if (init[k] != RTOVARLST_UNDEFINED) value[k] = init[k];
}

void rtovarlst_removevars(rtvarlst_t *list, int32_t first, int32_t last) {
    if (list == nullptr) return;
    // A bad range goes on to the dictionary, which reports it.
    if (first >= 1 && first <= last && last <= list->dictionary->size) release_items(list, first, last);
    rtattrdict_remove_items(list->dictionary, first, span(first, last));
}

}  // extern "C"

namespace {

// Copies one column of src items i..i+count-1 onto dst items j..: full columns
// always, sparse ones only where the value is not the column's default; host
// pointers, wrappers and owned records never.
void copy_column(const rtattrdesc_t *c, rtvarlst_t *src, int32_t i, rtvarlst_t *dst, int32_t j,
                 int32_t count) {
    rtattrdict_t *s = src->dictionary, *t = dst->dictionary;
    const size_t n = static_cast<size_t>(count);
    switch (c->type) {
        case RTATTR_DOUBLE: {
            double *a = rtattrdict_dvector(s, c->name), *b = rtattrdict_dvector(t, c->name);
            if (a && b) std::memmove(b + j - 1, a + i - 1, n * sizeof(double));
            break;
        }
        case RTATTR_INTEGER: {
            int64_t *a = rtattrdict_ivector(s, c->name), *b = rtattrdict_ivector(t, c->name);
            if (a && b) std::memmove(b + j - 1, a + i - 1, n * sizeof(int64_t));
            break;
        }
        case RTATTR_STRING:
            for (int32_t k = 0; k < count; ++k)
                rtattrdict_sets(t, j + k, c->name, rtattrdict_gets(s, i + k, c->name));
            break;
        case RTATTR_BOOLEAN: {
            unsigned char *a = rtattrdict_bvector(s, c->name), *b = rtattrdict_bvector(t, c->name);
            if (a && b) std::memmove(b + j - 1, a + i - 1, n);
            break;
        }
        case RTATTR_SPARSE_DOUBLE:
            for (int32_t k = 0; k < count; ++k) {
                double v = rtattrdict_getd(s, i + k, c->name);
                if (!(v == c->ddefault)) rtattrdict_setd(t, j + k, c->name, v);
            }
            break;
        case RTATTR_SPARSE_INTEGER:
            for (int32_t k = 0; k < count; ++k) {
                int32_t v = rtattrdict_geti(s, i + k, c->name);
                if (v != c->idefault) rtattrdict_seti(t, j + k, c->name, v);
            }
            break;
        case RTATTR_SPARSE_STRING:
            for (int32_t k = 0; k < count; ++k) {
                const char *v = rtattrdict_gets(s, i + k, c->name);
                const char *def = c->sdefault ? c->sdefault : "";
                if (v != nullptr && std::strcmp(v, def) != 0) rtattrdict_sets(t, j + k, c->name, v);
            }
            break;
        case RTATTR_SPARSE_BOOLEAN:
            for (int32_t k = 0; k < count; ++k) {
                int v = rtattrdict_getb(s, i + k, c->name);
                if ((v != 0) != (c->bdefault != 0)) rtattrdict_setb(t, j + k, c->name, v);
            }
            break;
        default:  // pointers and wrappers belong to the host or to the item
            break;
    }
}

}  // namespace

extern "C" {

void rtovarlst_extract(rtvarlst_t *list, int32_t first, int32_t last, rtvarlst_t **newlist) {
    if (list == nullptr || newlist == nullptr || first == 0 || last == 0) return;
    const int32_t n = held(list);
    if (first < 1 || last < first || last > n) {
        zarn::rtopipe::report(msg::kExtractBad, first, last, n);
        return;
    }
    const int32_t count = last - first + 1;
    rtvarlst_t *out = rtovarlst_create(count);
    if (out == nullptr) return;
    rtovarlst_set_nvar(out, count);
    for (const rtattrdesc_t *c = kColumns; c->type != RTATTR_END; ++c)
        copy_column(c, list, first, out, 1, count);
    for (int32_t k = 0; k < count; ++k) {
        const char *name = name_or_empty(list, first + k);
        if (name[0] != '\0') rtattrdict_add_items(out->dictionary, k + 1, 1, &name);
    }
    *newlist = out;
}

void rtovarlst_copy_var(rtvarlst_t *src, int32_t i, rtvarlst_t *dst, int32_t j) {
    if (!in_range(src, i) || !in_range(dst, j)) return;
    for (const rtattrdesc_t *c = kColumns; c->type != RTATTR_END; ++c) copy_column(c, src, i, dst, j, 1);
}

}  // extern "C"
