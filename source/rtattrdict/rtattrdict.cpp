// Public entry points of the attribute dictionary: checks, then dispatch.
#include <cstdint>

#include "rtattrdict/rtattrdict_internal.h"
#include "rtattrdict/rtattrdict_messages.h"
#include "rtopipe/report.h"
#include "zarnutils/rtsymtab.h"
#include "zarnutils/stred.h"

namespace zarn::rtattrdict {

bool legal_name(const char *name) { return stred_rtopt_name(name) != 0; }
const char *intern(const char *text) { return rtsymtab_add(text); }
const char *intern_empty() { return rtsymtab_empty(); }

namespace {

// Children of d, recursively, become empty windows just past d's end.
void zero_children(rtattrdict_t *d) {
    if (d->children == nullptr) return;
    for (gl_node_t *n = d->children->head; n != nullptr; n = n->next) {
        auto *c = static_cast<Embedded *>(n->data);
        c->base.size = 0;
        c->base.capacity = 0;
        c->start = d->size + 1;
        zero_children(&c->base);
    }
}

}  // namespace
}  // namespace zarn::rtattrdict

using namespace zarn::rtattrdict;

extern "C" {

void rtattrdict_destroy(rtattrdict_t *d) {
    if (usable(d)) d->ops->destroy(d);
}

void rtattrdict_empty_all(rtattrdict_t *d) {
    if (!usable(d)) return;
    d->ops->empty_all(d);
    zero_children(d);
}

void rtattrdict_resize(rtattrdict_t *d, int32_t size) {
    if (usable(d)) d->ops->resize(d, size);
}

void rtattrdict_change_capacity(rtattrdict_t *d, int32_t capacity) {
    if (usable(d)) d->ops->change_capacity(d, capacity);
}

void rtattrdict_relocate(rtattrdict_t *d, int32_t start) {
    if (usable(d)) d->ops->relocate(d, start);
}

void rtattrdict_move_items(rtattrdict_t *d, int32_t source, int32_t destination, int32_t count) {
    if (usable(d)) d->ops->move_elems(d, source, destination, count);
}

int32_t rtattrdict_add_items(rtattrdict_t *d, int32_t start, int32_t count, const char *const *names) {
    if (!usable(d)) return 0;
    char buf[kNameBuf] = "";
    return d->ops->additems(d, start, count, names, buf);
}

int32_t rtattrdict_add_group(rtattrdict_t *d, int32_t start, int32_t count, int32_t width,
                             const char *block) {
    if (!usable(d)) return 0;
    char buf[kNameBuf] = "";
    return d->ops->addgroup(d, start, count, width, block, buf);
}

// Last index of a range, kept within 32 bits so that a bad range reaches the
// range check of defunct, which reports it.
static int32_t range_last(int32_t start, int32_t count) {
    const int64_t last = static_cast<int64_t>(start) + count - 1;
    return last < INT32_MIN ? INT32_MIN : static_cast<int32_t>(last);
}

void rtattrdict_remove_items(rtattrdict_t *d, int32_t start, int32_t count) {
    if (!usable(d)) return;
    if (static_cast<int64_t>(start) + count - 1 > d->size) {
        zarn::rtopipe::report(msg::kRemoveTooMany);
        return;
    }
    d->ops->defunct(d, start, range_last(start, count));
}

void rtattrdict_delete_items(rtattrdict_t *d, int32_t start, int32_t count) {
    if (!usable(d)) return;
    if (static_cast<int64_t>(start) + count - 1 > d->size) {
        zarn::rtopipe::report(msg::kDeleteTooMany);
        return;
    }
    if (start < 1 || count <= 0) {  // an empty or misplaced range: reported, nothing moves
        d->ops->defunct(d, start, range_last(start, count));
        return;
    }
    d->ops->defunct(d, start, start + count - 1);
    const int32_t after = d->size - (start + count) + 1;
    if (after > 0) d->ops->move_elems(d, start + count, start, after);
    const int32_t size = d->size - count;
    d->ops->resize(d, size);
    d->ops->change_capacity(d, size);
    if (d->children != nullptr)
        for (gl_node_t *n = d->children->head; n != nullptr; n = n->next) {
            auto *c = static_cast<Embedded *>(n->data);
            if (c->start >= start) c->start -= count;
        }
}

int32_t rtattrdict_inq_num(const rtattrdict_t *d) { return d ? d->size : 0; }
int32_t rtattrdict_inq_capacity(const rtattrdict_t *d) { return d ? d->capacity : 0; }

rtattrdict_t *rtattrdict_embedded(rtattrdict_t *d) { return usable(d) ? d->ops->embedded(d) : nullptr; }

const char *rtattrdict_prefix(rtattrdict_t *d) { return usable(d) ? d->ops->prefix(d) : nullptr; }

int32_t rtattrdict_index(rtattrdict_t *d, const char *name) {
    if (!usable(d) || name == nullptr) return 0;
    char buf[kNameBuf];
    buf[0] = '\0';
    return d->ops->index(d, name, buf);
}

int32_t rtattrdict_safe_index(rtattrdict_t *d, int32_t i) { return usable(d) ? d->ops->safe_index(d, i) : 0; }
int32_t rtattrdict_absolute_index(rtattrdict_t *d, int32_t i) {
    return usable(d) ? d->ops->absolute_index(d, i) : 0;
}
const char *rtattrdict_name(rtattrdict_t *d, int32_t i) { return usable(d) ? d->ops->name(d, i) : nullptr; }

int32_t rtattrdict_checksum(rtattrdict_t *d, zarn_md5_ctx_t *ctx) {
    return (usable(d) && ctx != nullptr) ? d->ops->checksum(d, ctx) : 0;
}

int rtattrdict_okay(rtattrdict_t *d) { return usable(d) ? d->ops->okay(d) : 0; }

void rtattrdict_print_stats(rtattrdict_t *d) {
    if (!usable(d)) return;
    zarn::rtopipe::report(msg::kStatsBegin);
    d->ops->print_stats(d);
    zarn::rtopipe::report(msg::kStatsEnd);
}

HashTable *rtattrdict_attributes(rtattrdict_t *d) { return usable(d) ? d->ops->attributes(d) : nullptr; }

// ---- typed access ----

void rtattrdict_setd(rtattrdict_t *d, int32_t i, const char *name, double value) {
    if (usable(d)) d->ops->setd(d, i, name, value);
}
int rtattrdict_setd_return_modified(rtattrdict_t *d, int32_t i, const char *name, double value) {
    return usable(d) ? d->ops->setd(d, i, name, value) : 0;
}
double rtattrdict_getd(rtattrdict_t *d, int32_t i, const char *name) {
    return usable(d) ? d->ops->getd(d, i, name) : 0.0;
}
void rtattrdict_seti(rtattrdict_t *d, int32_t i, const char *name, int64_t value) {
    if (usable(d)) d->ops->seti(d, i, name, value);
}
int rtattrdict_seti_return_modified(rtattrdict_t *d, int32_t i, const char *name, int32_t value) {
    return usable(d) ? d->ops->seti(d, i, name, value) : 0;
}
int32_t rtattrdict_geti(rtattrdict_t *d, int32_t i, const char *name) {
    return usable(d) ? d->ops->geti(d, i, name) : 0;
}
void rtattrdict_setb(rtattrdict_t *d, int32_t i, const char *name, int value) {
    if (usable(d)) d->ops->setb(d, i, name, value);
}
int rtattrdict_setb_return_modified(rtattrdict_t *d, int32_t i, const char *name, int value) {
    return usable(d) ? d->ops->setb(d, i, name, value) : 0;
}
int rtattrdict_getb(rtattrdict_t *d, int32_t i, const char *name) {
    return usable(d) ? d->ops->getb(d, i, name) : 0;
}
void rtattrdict_sets(rtattrdict_t *d, int32_t i, const char *name, const char *text) {
    if (!usable(d)) return;
    char buf[kNameBuf];
    buf[0] = '\0';
    d->ops->sets(d, i, name, text, buf);
}
const char *rtattrdict_gets(rtattrdict_t *d, int32_t i, const char *name) {
    return usable(d) ? d->ops->gets(d, i, name, nullptr) : nullptr;
}
void rtattrdict_setv(rtattrdict_t *d, int32_t i, const char *name, void *value) {
    if (usable(d)) d->ops->setv(d, i, name, value);
}
int rtattrdict_setv_return_modified(rtattrdict_t *d, int32_t i, const char *name, void *value) {
    return usable(d) ? d->ops->setv(d, i, name, value) : 0;
}
void *rtattrdict_getv(rtattrdict_t *d, int32_t i, const char *name) {
    return usable(d) ? d->ops->getv(d, i, name) : nullptr;
}
void rtattrdict_setwrapper(rtattrdict_t *d, int32_t i, const char *name, IWEXWrapper *w) {
    if (usable(d)) d->ops->setwrapper(d, i, name, w);
}
int rtattrdict_setwrapper_return_modified(rtattrdict_t *d, int32_t i, const char *name, IWEXWrapper *w) {
    return usable(d) ? d->ops->setwrapper(d, i, name, w) : 0;
}
IWEXWrapper *rtattrdict_getwrapper(rtattrdict_t *d, int32_t i, const char *name) {
    return usable(d) ? d->ops->getwrapper(d, i, name) : nullptr;
}

double *rtattrdict_dvector(rtattrdict_t *d, const char *name) {
    return usable(d) ? d->ops->dvector(d, name) : nullptr;
}
const double *rtattrdict_dvector_ro(rtattrdict_t *d, const char *name) {
    return usable(d) ? d->ops->dvector_ro(d, name) : nullptr;
}
int64_t *rtattrdict_ivector(rtattrdict_t *d, const char *name) {
    return usable(d) ? d->ops->ivector(d, name) : nullptr;
}
const int64_t *rtattrdict_ivector_ro(rtattrdict_t *d, const char *name) {
    return usable(d) ? d->ops->ivector_ro(d, name) : nullptr;
}
unsigned char *rtattrdict_bvector(rtattrdict_t *d, const char *name) {
    return usable(d) ? d->ops->bvector(d, name) : nullptr;
}
const unsigned char *rtattrdict_bvector_ro(rtattrdict_t *d, const char *name) {
    return usable(d) ? d->ops->bvector_ro(d, name) : nullptr;
}
const char **rtattrdict_svector(rtattrdict_t *d, const char *name) {
    return usable(d) ? d->ops->svector(d, name) : nullptr;
}
const char *const *rtattrdict_svector_ro(rtattrdict_t *d, const char *name) {
    return usable(d) ? d->ops->svector_ro(d, name) : nullptr;
}
void **rtattrdict_vvector(rtattrdict_t *d, const char *name) {
    return usable(d) ? d->ops->vvector(d, name) : nullptr;
}
void *const *rtattrdict_vvector_ro(rtattrdict_t *d, const char *name) {
    return usable(d) ? d->ops->vvector_ro(d, name) : nullptr;
}

}  // extern "C"
