// Aggregation: a separate head with the same attributes folded into another
// head as a window, its values and windows moved along.
#include <cmath>
#include <cstring>

#include "rtattrdict/rtattrdict_internal.h"
#include "rtattrdict/rtattrdict_messages.h"
#include "rtopipe/report.h"

namespace zarn::rtattrdict {

namespace {

// Equal defaults of two descriptors of the same type.
bool same_default(const rtattrdesc_t *a, const rtattrdesc_t *b) {
    switch (a->type) {
        case RTATTR_DOUBLE:
        case RTATTR_SPARSE_DOUBLE:
            return !std::isnan(a->ddefault) && !std::isnan(b->ddefault) && a->ddefault == b->ddefault;
        case RTATTR_INTEGER:
        case RTATTR_SPARSE_INTEGER:
            return a->idefault == b->idefault;
        case RTATTR_STRING:
        case RTATTR_NAME:
        case RTATTR_SPARSE_STRING:
        case RTATTR_SPARSE_NAME:
            return std::strcmp(a->sdefault ? a->sdefault : "", b->sdefault ? b->sdefault : "") == 0;
        case RTATTR_POINTER:
        case RTATTR_SPARSE_POINTER:
            return a->vdefault == b->vdefault;
        case RTATTR_BOOLEAN:
        case RTATTR_SPARSE_BOOLEAN:
            return (a->bdefault != 0) == (b->bdefault != 0);
        default:
            return true;  // wrappers
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
                    default:
                        break;
                }
            }
            break;
        }
    }
}

}  // namespace
}  // namespace zarn::rtattrdict

using namespace zarn::rtattrdict;

extern "C" rtattrdict_t *rtattrdict_aggregate(rtattrdict_t *head, rtattrdict_t *other, int32_t start,
                                              const char *prefix) {
    if (!usable(head) || !usable(other) || start < 1) return nullptr;
    if (head->children == nullptr || other->children == nullptr) return nullptr;
    if (!is_head(head) || !is_head(other)) return nullptr;
    Head *h = as_head(head), *o = as_head(other);
    if (!same_attributes(h, o)) return nullptr;
    if (1 + height_below(other) > kMaxWindowDepth) {  // other's windows move one level down
        zarn::rtopipe::report(msg::kAggregateTooDeep, kMaxWindowDepth);
        return nullptr;
    }
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
