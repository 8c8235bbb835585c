// Public entry points of the attribute dictionary: checks, then dispatch.
#include <cinttypes>
#include <cstdint>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "rtattrdict/rtattrdict_internal.h"
#include "zarnutils/rtopipe.h"
#include "zarnutils/rtsymtab.h"
#include "zarnutils/stred.h"

namespace zarn::attrdict {

bool legal_name(const char *name) { return stred_rtopt_name(name) != 0; }
const char *intern(const char *text) { return rtsymtab_add(text); }
const char *intern_empty() { return rtsymtab_empty(); }

namespace {

bool usable(const rtattrdict_t *d) { return d != nullptr && d->ops != nullptr; }

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

// Equal defaults of two descriptors of the same type.
bool same_default(const rtattrdesc_t *a, const rtattrdesc_t *b) {
    switch (a->type) {
        case RTATTR_DOUBLE:
        case RTATTR_SPARSE_DOUBLE:
            return !std::isnan(a->ddefault) && !std::isnan(b->ddefault) && a->ddefault == b->ddefault;
        case RTATTR_INTEGER:
        case RTATTR_SPARSE_INTEGER: return a->idefault == b->idefault;
        case RTATTR_STRING:
        case RTATTR_NAME:
        case RTATTR_SPARSE_STRING:
        case RTATTR_SPARSE_NAME:
            return std::strcmp(a->sdefault ? a->sdefault : "", b->sdefault ? b->sdefault : "") == 0;
        case RTATTR_POINTER:
        case RTATTR_SPARSE_POINTER: return a->vdefault == b->vdefault;
        case RTATTR_BOOLEAN:
        case RTATTR_SPARSE_BOOLEAN: return (a->bdefault != 0) == (b->bdefault != 0);
        default: return true;  // wrappers
    }
}

bool same_attributes(Head *a, Head *b) {
    if (hashNum(a->attributes) != hashNum(b->attributes)) return false;
    for (uint32_t n = 0; n < a->nattrs; ++n) {
        const rtattrdesc_t *da = a->attrs[n]->desc;
        rtattr_t *other = find_attr(b, da->name);
        if (other == nullptr || other->desc->type != da->type || !same_default(da, other->desc)) return false;
    }
    return true;
}

// Copies one attribute of the separate head `from` into window w of the same size.
void copy_attribute(rtattrdict_t *w, Head *from, rtattr_t *src) {
    const rtattrdesc_t *desc = src->desc;
    const char *name = desc->name;
    const int32_t n = from->base.size;
    int32_t offset = 0;
    Head *to = top(w, &offset);
    rtattr_t *dst = find_attr(to, name);
    if (dst == nullptr) return;
    switch (desc->type) {
        case RTATTR_DOUBLE:
        case RTATTR_INTEGER:
        case RTATTR_STRING:
        case RTATTR_POINTER:
        case RTATTR_BOOLEAN: {
            size_t cb = desc->type == RTATTR_BOOLEAN ? 1 : 8;
            std::memcpy(static_cast<char *>(dst->where.column) + offset * cb, src->where.column,
                        static_cast<size_t>(n) * cb);
            break;
        }
        case RTATTR_WRAPPER: {
            // The references move with the cells; each wrapper learns its new place.
            auto **s = static_cast<IWEXWrapper **>(src->where.column);
            auto **t = static_cast<IWEXWrapper **>(dst->where.column) + offset;
            for (int32_t k = 0; k < n; ++k) {
                if (t[k] != nullptr) t[k]->Release();
                t[k] = s[k];
                s[k] = nullptr;
                if (t[k] != nullptr) t[k]->SetIndex(offset + k + 1);
            }
            break;
        }
        case RTATTR_NAME: {
            char buf[kNameBuf];
            for (int32_t k = 1; k <= n; ++k) {
                const char *s = static_cast<const char **>(src->where.column)[k - 1];
                if (s[0] == '\0' && src == from->name_attr) continue;
                buf[0] = '\0';
                w->ops->sets(w, k, name, s, buf);
            }
            break;
        }
        default: {  // sparse: only values that differ from the default
            if (from->sparse == nullptr) break;
            for (int32_t k = 1; k <= n; ++k) {
                auto *rec = static_cast<SparseSlot *>(from->sparse[k - 1]);
                if (rec == nullptr) continue;
                const SparseSlot &s = rec[src->where.slot];
                char buf[kNameBuf];
                switch (desc->type) {
                    case RTATTR_SPARSE_DOUBLE:
                        if (!(s.d == desc->ddefault)) w->ops->setd(w, k, name, s.d);
                        break;
                    case RTATTR_SPARSE_INTEGER:
                        if (s.i != desc->idefault) w->ops->seti(w, k, name, s.i);
                        break;
                    case RTATTR_SPARSE_STRING:
                    case RTATTR_SPARSE_NAME:
                        if (s.s != default_text(desc)) {
                            buf[0] = '\0';
                            w->ops->sets(w, k, name, s.s, buf);
                        }
                        break;
                    case RTATTR_SPARSE_POINTER:
                        if (s.v != desc->vdefault) w->ops->setv(w, k, name, s.v);
                        break;
                    case RTATTR_SPARSE_BOOLEAN:
                        if (s.b != desc->bdefault) w->ops->setb(w, k, name, s.b);
                        break;
                    default: break;
                }
            }
            break;
        }
    }
}

}  // namespace
}  // namespace zarn::attrdict

using namespace zarn::attrdict;

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

int32_t rtattrdict_add_group(rtattrdict_t *d, int32_t start, int32_t count, int32_t width, const char *block) {
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
        rtoprintf(rtHisDev, "!!rtattrdict_remove_items: removing too many elements\n");
        return;
    }
    d->ops->defunct(d, start, range_last(start, count));
}

void rtattrdict_delete_items(rtattrdict_t *d, int32_t start, int32_t count) {
    if (!usable(d)) return;
    if (static_cast<int64_t>(start) + count - 1 > d->size) {
        rtoprintf(rtHisDev, "!!rtattrdict_delete_items: deleting too many elements\n");
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
    rtoprintf(rtHisDev, "****************Begin attribute dictionary statistics****************\n");
    d->ops->print_stats(d);
    rtoprintf(rtHisDev, "****************End attribute dictionary statistics****************\n");
}

HashTable *rtattrdict_attributes(rtattrdict_t *d) { return usable(d) ? d->ops->attributes(d) : nullptr; }

rtattrdict_t *rtattrdict_aggregate(rtattrdict_t *head, rtattrdict_t *other, int32_t start, const char *prefix) {
    if (!usable(head) || !usable(other) || start < 1) return nullptr;
    if (head->children == nullptr || other->children == nullptr) return nullptr;
    if (!is_head(head) || !is_head(other)) return nullptr;
    Head *h = as_head(head), *o = as_head(other);
    if (!same_attributes(h, o)) return nullptr;
    rtattrdict_t *w = rtattrdict_create_embedded(head, start, other->size, prefix, 1);
    if (w == nullptr) return nullptr;
    w->ops->resize(w, other->size);
    for (uint32_t n = 0; n < o->nattrs; ++n) copy_attribute(w, o, o->attrs[n]);
    for (gl_node_t *n = other->children->head; n != nullptr; n = n->next) {
        auto *c = static_cast<Embedded *>(n->data);
        c->parent = w;
        gl_addtoend(w->children, c);
    }
    gl_destroylist(other->children);
    other->children = gl_create();  // the windows now belong to w
    other->ops->destroy(other);
    return w;
}

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
int32_t rtattrdict_geti(rtattrdict_t *d, int32_t i, const char *name) { return usable(d) ? d->ops->geti(d, i, name) : 0; }
void rtattrdict_setb(rtattrdict_t *d, int32_t i, const char *name, int value) {
    if (usable(d)) d->ops->setb(d, i, name, value);
}
int rtattrdict_setb_return_modified(rtattrdict_t *d, int32_t i, const char *name, int value) {
    return usable(d) ? d->ops->setb(d, i, name, value) : 0;
}
int rtattrdict_getb(rtattrdict_t *d, int32_t i, const char *name) { return usable(d) ? d->ops->getb(d, i, name) : 0; }
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
void *rtattrdict_getv(rtattrdict_t *d, int32_t i, const char *name) { return usable(d) ? d->ops->getv(d, i, name) : nullptr; }
void rtattrdict_setwrapper(rtattrdict_t *d, int32_t i, const char *name, IWEXWrapper *w) {
    if (usable(d)) d->ops->setwrapper(d, i, name, w);
}
int rtattrdict_setwrapper_return_modified(rtattrdict_t *d, int32_t i, const char *name, IWEXWrapper *w) {
    return usable(d) ? d->ops->setwrapper(d, i, name, w) : 0;
}
IWEXWrapper *rtattrdict_getwrapper(rtattrdict_t *d, int32_t i, const char *name) {
    return usable(d) ? d->ops->getwrapper(d, i, name) : nullptr;
}

double *rtattrdict_dvector(rtattrdict_t *d, const char *name) { return usable(d) ? d->ops->dvector(d, name) : nullptr; }
const double *rtattrdict_dvector_ro(rtattrdict_t *d, const char *name) {
    return usable(d) ? d->ops->dvector_ro(d, name) : nullptr;
}
int64_t *rtattrdict_ivector(rtattrdict_t *d, const char *name) { return usable(d) ? d->ops->ivector(d, name) : nullptr; }
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
void **rtattrdict_vvector(rtattrdict_t *d, const char *name) { return usable(d) ? d->ops->vvector(d, name) : nullptr; }
void *const *rtattrdict_vvector_ro(rtattrdict_t *d, const char *name) {
    return usable(d) ? d->ops->vvector_ro(d, name) : nullptr;
}

}  // extern "C"

IWEXWrapperHolder::IWEXWrapperHolder() : wrapper_(nullptr) {}

IWEXWrapperHolder::~IWEXWrapperHolder() {
    if (wrapper_ != nullptr) wrapper_->Release();
}

IWEXWrapper *IWEXWrapperHolder::GetWrapper() const { return wrapper_; }

void IWEXWrapperHolder::Release() {
    if (wrapper_ != nullptr) wrapper_->Release();
    wrapper_ = nullptr;
}

void IWEXWrapperHolder::SetWrapper(IWEXWrapper *w) {
    if (w != nullptr) w->AddRef();
    if (wrapper_ != nullptr) wrapper_->Release();
    wrapper_ = w;
}
