// Typed reading and writing of attribute values, and whole-column vectors.
#include <cstring>

#include "rtattrdict/rtattrdict_internal.h"
#include "rtattrdict/rtattrdict_messages.h"
#include "rtopipe/report.h"

namespace zarn::rtattrdict {

namespace {

// The words one kind of access puts into the shared message texts.
struct KindText {
    const char *set;      // setter operation, e.g. "setd"
    const char *get;      // getter operation
    const char *vector;   // vector operation; NULL when the kind has none
    const char *type;     // type word of "Unknown <type> attribute"
    const char *article;  // "" or "an " before the type in "Not <type> attribute"
};

const KindText kDouble = {"setd", "getd", "dvector", "double", ""};
const KindText kInteger = {"seti", "geti", "ivector", "integer", ""};
const KindText kBoolean = {"setb", "getb", "bvector", "boolean", ""};
const KindText kString = {"sets", "gets", "svector", "string", ""};
const KindText kPointer = {"setv", "getv", "vvector", "void", ""};
const KindText kWrapper = {"setwrapper", "getwrapper", nullptr, "IWEXWrapper", "an "};

const char *shown(const char *attr) { return attr ? attr : "(null)"; }
void set_beyond(const KindText &t, int32_t i, int32_t size) {
    zarn::rtopipe::report(msg::kHeadBeyond, t.set, i, size);
}
void emb_beyond(const KindText &t, int32_t i, int32_t size) {
    zarn::rtopipe::report(msg::kEmbBeyond, t.set, i, size);
}
void unknown(const char *op, const KindText &t, const char *attr) {
    zarn::rtopipe::report(msg::kUnknownAttr, op, t.type, shown(attr));
}
void set_not(const KindText &t, const char *attr) {
    zarn::rtopipe::report(msg::kNotAttr, t.set, t.article, t.type, shown(attr));
}
void get_not(const KindText &t, const char *attr) {
    zarn::rtopipe::report(msg::kNotAttr, t.get, t.article, t.type, shown(attr));
}

// Finds an attribute for a setter: checks the index, then the name.
rtattr_t *setter_attr(rtattrdict_t *d, int32_t i, const char *attr, const KindText &t) {
    if (i < 1 || i > d->size) {
        set_beyond(t, i, d->size);
        return nullptr;
    }
    rtattr_t *a = find_attr(as_head(d), attr);
    if (a == nullptr) unknown(t.set, t, attr);
    return a;
}

rtattr_t *getter_attr(rtattrdict_t *d, int32_t i, const char *attr, const KindText &t) {
    if (i < 1 || i > d->size) return nullptr;
    rtattr_t *a = find_attr(as_head(d), attr);
    if (a == nullptr) unknown(t.get, t, attr);
    return a;
}

// The element's sparse slot of an attribute, creating the record when asked.
SparseSlot *slot_of(Head *h, int32_t i, rtattr_t *a, bool create) {
    auto *rec = static_cast<SparseSlot *>(h->sparse[i - 1]);
    if (rec == nullptr) {
        if (!create) return nullptr;
        rec = new_sparse(h);
        if (rec == nullptr) {
            zarn::rtopipe::report(msg::kSparseNoMemory);
            return nullptr;
        }
        h->sparse[i - 1] = rec;
    }
    return &rec[a->where.slot];
}

template <typename T>
int store(T &cell, T value) {
    if (cell == value) return 0;
    cell = value;
    return 1;
}

// Forwards an embedded access to its parent, or reports an index beyond its size.
template <typename R, typename F>
R forward_set(rtattrdict_t *d, int32_t i, const KindText &t, F &&call) {
    if (i < 1 || i > d->size) {
        emb_beyond(t, i, d->size);
        return R{};
    }
    rtattrdict_t *p = as_emb(d)->parent;
    return call(p, parent_index(d, i));
}

template <typename R, typename F>
R forward_get(rtattrdict_t *d, int32_t i, F &&call) {
    if (i < 1 || i > d->size) return R{};
    rtattrdict_t *p = as_emb(d)->parent;
    return call(p, parent_index(d, i));
}

template <typename T>
T *dense_vector(rtattrdict_t *d, const char *attr, const KindText &t, int32_t type, int32_t type2 = -1) {
    rtattr_t *a = find_attr(as_head(d), attr);
    if (a == nullptr) {
        unknown(t.vector, t, attr);
        return nullptr;
    }
    if (a->desc->type != type && a->desc->type != type2) {
        zarn::rtopipe::report(msg::kNotFullAttr, t.vector, t.type, shown(attr));
        return nullptr;
    }
    return static_cast<T *>(a->where.column);
}

template <typename T, typename F>
T *window_vector(rtattrdict_t *d, F &&parent_vector) {
    rtattrdict_t *p = as_emb(d)->parent;
    T *v = parent_vector(p);
    return v ? v + (as_emb(d)->start - 1) : nullptr;
}

}  // namespace

// ---- doubles ----

int head_setd(rtattrdict_t *d, int32_t i, const char *attr, double v) {
    rtattr_t *a = setter_attr(d, i, attr, kDouble);
    if (a == nullptr) return 0;
    if (a->desc->type == RTATTR_DOUBLE) return store(static_cast<double *>(a->where.column)[i - 1], v);
    if (a->desc->type == RTATTR_SPARSE_DOUBLE) {
        SparseSlot *s = slot_of(as_head(d), i, a, true);
        return s ? store(s->d, v) : 0;
    }
    set_not(kDouble, attr);
    return 0;
}

double head_getd(rtattrdict_t *d, int32_t i, const char *attr) {
    rtattr_t *a = getter_attr(d, i, attr, kDouble);
    if (a == nullptr) return 0.0;
    if (a->desc->type == RTATTR_DOUBLE) return static_cast<double *>(a->where.column)[i - 1];
    if (a->desc->type == RTATTR_SPARSE_DOUBLE) {
        SparseSlot *s = slot_of(as_head(d), i, a, false);
        return s ? s->d : a->desc->ddefault;
    }
    get_not(kDouble, attr);
    return 0.0;
}

int emb_setd(rtattrdict_t *d, int32_t i, const char *attr, double v) {
    return forward_set<int>(d, i, kDouble,
                            [&](rtattrdict_t *p, int32_t k) { return p->ops->setd(p, k, attr, v); });
}

double emb_getd(rtattrdict_t *d, int32_t i, const char *attr) {
    return forward_get<double>(d, i, [&](rtattrdict_t *p, int32_t k) { return p->ops->getd(p, k, attr); });
}

// ---- integers ----

int head_seti(rtattrdict_t *d, int32_t i, const char *attr, int64_t v) {
    rtattr_t *a = setter_attr(d, i, attr, kInteger);
    if (a == nullptr) return 0;
    if (a->desc->type == RTATTR_INTEGER) return store(static_cast<int64_t *>(a->where.column)[i - 1], v);
    if (a->desc->type == RTATTR_SPARSE_INTEGER) {
        SparseSlot *s = slot_of(as_head(d), i, a, true);
        if (s == nullptr) return 0;
        if (static_cast<int64_t>(s->i) == v) return 0;
        s->i = static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v)));
        return 1;
    }
    set_not(kInteger, attr);
    return 0;
}

int32_t head_geti(rtattrdict_t *d, int32_t i, const char *attr) {
    rtattr_t *a = getter_attr(d, i, attr, kInteger);
    if (a == nullptr) return 0;
    if (a->desc->type == RTATTR_INTEGER)
        return static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t *>(a->where.column)[i - 1]));
    if (a->desc->type == RTATTR_SPARSE_INTEGER) {
        SparseSlot *s = slot_of(as_head(d), i, a, false);
        return s ? s->i : a->desc->idefault;
    }
    get_not(kInteger, attr);
    return 0;
}

int emb_seti(rtattrdict_t *d, int32_t i, const char *attr, int64_t v) {
    return forward_set<int>(d, i, kInteger,
                            [&](rtattrdict_t *p, int32_t k) { return p->ops->seti(p, k, attr, v); });
}

int32_t emb_geti(rtattrdict_t *d, int32_t i, const char *attr) {
    return forward_get<int32_t>(d, i, [&](rtattrdict_t *p, int32_t k) { return p->ops->geti(p, k, attr); });
}

// ---- booleans ----

int head_setb(rtattrdict_t *d, int32_t i, const char *attr, int v) {
    rtattr_t *a = setter_attr(d, i, attr, kBoolean);
    if (a == nullptr) return 0;
    unsigned char b = v != 0 ? 1 : 0;
    if (a->desc->type == RTATTR_BOOLEAN)
        return store(static_cast<unsigned char *>(a->where.column)[i - 1], b);
    if (a->desc->type == RTATTR_SPARSE_BOOLEAN) {
        SparseSlot *s = slot_of(as_head(d), i, a, true);
        return s ? store(s->b, b) : 0;
    }
    set_not(kBoolean, attr);
    return 0;
}

int head_getb(rtattrdict_t *d, int32_t i, const char *attr) {
    rtattr_t *a = getter_attr(d, i, attr, kBoolean);
    if (a == nullptr) return 0;
    if (a->desc->type == RTATTR_BOOLEAN) return static_cast<unsigned char *>(a->where.column)[i - 1];
    if (a->desc->type == RTATTR_SPARSE_BOOLEAN) {
        SparseSlot *s = slot_of(as_head(d), i, a, false);
        return s ? s->b : a->desc->bdefault;
    }
    get_not(kBoolean, attr);
    return 0;
}

int emb_setb(rtattrdict_t *d, int32_t i, const char *attr, int v) {
    return forward_set<int>(d, i, kBoolean,
                            [&](rtattrdict_t *p, int32_t k) { return p->ops->setb(p, k, attr, v); });
}

int emb_getb(rtattrdict_t *d, int32_t i, const char *attr) {
    return forward_get<int>(d, i, [&](rtattrdict_t *p, int32_t k) { return p->ops->getb(p, k, attr); });
}

// ---- pointers ----

int head_setv(rtattrdict_t *d, int32_t i, const char *attr, void *v) {
    rtattr_t *a = setter_attr(d, i, attr, kPointer);
    if (a == nullptr) return 0;
    if (a->desc->type == RTATTR_POINTER) return store(static_cast<void **>(a->where.column)[i - 1], v);
    if (a->desc->type == RTATTR_SPARSE_POINTER) {
        SparseSlot *s = slot_of(as_head(d), i, a, true);
        return s ? store(s->v, v) : 0;
    }
    set_not(kPointer, attr);
    return 0;
}

void *head_getv(rtattrdict_t *d, int32_t i, const char *attr) {
    rtattr_t *a = getter_attr(d, i, attr, kPointer);
    if (a == nullptr) return nullptr;
    if (a->desc->type == RTATTR_POINTER) return static_cast<void **>(a->where.column)[i - 1];
    if (a->desc->type == RTATTR_SPARSE_POINTER) {
        SparseSlot *s = slot_of(as_head(d), i, a, false);
        return s ? s->v : a->desc->vdefault;
    }
    get_not(kPointer, attr);
    return nullptr;
}

int emb_setv(rtattrdict_t *d, int32_t i, const char *attr, void *v) {
    return forward_set<int>(d, i, kPointer,
                            [&](rtattrdict_t *p, int32_t k) { return p->ops->setv(p, k, attr, v); });
}

void *emb_getv(rtattrdict_t *d, int32_t i, const char *attr) {
    return forward_get<void *>(d, i, [&](rtattrdict_t *p, int32_t k) { return p->ops->getv(p, k, attr); });
}

// ---- wrappers ----

int head_setwrapper(rtattrdict_t *d, int32_t i, const char *attr, IWEXWrapper *w) {
    rtattr_t *a = setter_attr(d, i, attr, kWrapper);
    if (a == nullptr) return 0;
    if (a->desc->type != RTATTR_WRAPPER) {
        set_not(kWrapper, attr);
        return 0;
    }
    IWEXWrapper *&cell = static_cast<IWEXWrapper **>(a->where.column)[i - 1];
    if (cell == w) return 0;
    if (w != nullptr) w->AddRef();
    if (cell != nullptr) cell->Release();
    cell = w;
    return 1;
}

IWEXWrapper *head_getwrapper(rtattrdict_t *d, int32_t i, const char *attr) {
    rtattr_t *a = getter_attr(d, i, attr, kWrapper);
    if (a == nullptr) return nullptr;
    if (a->desc->type != RTATTR_WRAPPER) {
        get_not(kWrapper, attr);
        return nullptr;
    }
    return static_cast<IWEXWrapper **>(a->where.column)[i - 1];
}

int emb_setwrapper(rtattrdict_t *d, int32_t i, const char *attr, IWEXWrapper *w) {
    return forward_set<int>(d, i, kWrapper,
                            [&](rtattrdict_t *p, int32_t k) { return p->ops->setwrapper(p, k, attr, w); });
}

IWEXWrapper *emb_getwrapper(rtattrdict_t *d, int32_t i, const char *attr) {
    return forward_get<IWEXWrapper *>(
        d, i, [&](rtattrdict_t *p, int32_t k) { return p->ops->getwrapper(p, k, attr); });
}

// ---- strings ----

void head_sets(rtattrdict_t *d, int32_t i, const char *attr, const char *text, char *buf) {
    Head *h = as_head(d);
    rtattr_t *a = setter_attr(d, i, attr, kString);
    if (a == nullptr) return;
    const int32_t type = a->desc->type;
    const bool name_kind = type == RTATTR_NAME || type == RTATTR_SPARSE_NAME;
    if (!name_kind && type != RTATTR_STRING && type != RTATTR_SPARSE_STRING) {
        set_not(kString, attr);
        return;
    }
    if (text == nullptr) text = "";
    if (name_kind) {
        size_t have = std::strlen(buf);
        if (text[0] == '\0') {
            buf[0] = '\0';
        } else {
            size_t len = std::strlen(text);
            size_t room = static_cast<size_t>(kNameMax) - have;
            if (len > room) len = room;
            std::memcpy(buf + have, text, len);
            buf[have + len] = '\0';
        }
    } else {
        size_t len = std::strlen(text);
        if (len > static_cast<size_t>(kNameMax)) len = kNameMax;
        std::memcpy(buf, text, len);
        buf[len] = '\0';
    }
    switch (type) {
        case RTATTR_STRING:
            static_cast<const char **>(a->where.column)[i - 1] = intern(text);
            break;
        case RTATTR_NAME:
            if (a != h->name_attr) {
                static_cast<const char **>(a->where.column)[i - 1] = intern(buf);
                break;
            }
            index_remove(h, i);
            names(h)[i - 1] = intern_empty();
            if (!legal_name(buf)) {
                zarn::rtopipe::report(msg::kIllegalName, buf);
                break;
            }
            names(h)[i - 1] = intern(buf);
            if (!index_add(h, i)) zarn::rtopipe::report(msg::kDuplicate, buf, msg::kWhyRenaming);
            break;
        default: {  // sparse string or name
            SparseSlot *s = slot_of(h, i, a, true);
            if (s != nullptr) s->s = intern(buf);
            break;
        }
    }
}

const char *head_gets(rtattrdict_t *d, int32_t i, const char *attr, int *name_kind) {
    rtattr_t *a = getter_attr(d, i, attr, kString);
    if (a == nullptr) return nullptr;
    const int32_t type = a->desc->type;
    if (name_kind) *name_kind = (type == RTATTR_NAME || type == RTATTR_SPARSE_NAME) ? 1 : 0;
    if (type == RTATTR_STRING || type == RTATTR_NAME)
        return static_cast<const char **>(a->where.column)[i - 1];
    if (type == RTATTR_SPARSE_STRING || type == RTATTR_SPARSE_NAME) {
        SparseSlot *s = slot_of(as_head(d), i, a, false);
        return s ? s->s : default_text(a->desc);
    }
    get_not(kString, attr);
    return nullptr;
}

void emb_sets(rtattrdict_t *d, int32_t i, const char *attr, const char *text, char *buf) {
    if (i < 1 || i > d->size) {
        emb_beyond(kString, i, d->size);
        return;
    }
    const char *prefix = as_emb(d)->prefix;
    size_t plen = std::strlen(prefix), blen = std::strlen(buf);
    if (plen > 0) {  // an overlong prefix is cut, not reported
        if (plen > static_cast<size_t>(kNameMax)) plen = kNameMax;
        if (plen + blen > static_cast<size_t>(kNameMax)) blen = kNameMax - plen;
        std::memmove(buf + plen, buf, blen);
        std::memcpy(buf, prefix, plen);
        buf[plen + blen] = '\0';
    }
    rtattrdict_t *p = as_emb(d)->parent;
    p->ops->sets(p, parent_index(d, i), attr, text, buf);
}

const char *emb_gets(rtattrdict_t *d, int32_t i, const char *attr, int *name_kind) {
    if (i < 1 || i > d->size) return nullptr;
    rtattrdict_t *p = as_emb(d)->parent;
    int kind = 0;
    const char *s = p->ops->gets(p, parent_index(d, i), attr, &kind);
    if (name_kind) *name_kind = kind;
    if (s == nullptr || !kind || s[0] == '\0') return s;
    size_t skip = std::strlen(as_emb(d)->prefix), len = std::strlen(s);
    return s + (skip < len ? skip : len);
}

// ---- vectors ----

double *head_dvector(rtattrdict_t *d, const char *attr) {
    return dense_vector<double>(d, attr, kDouble, RTATTR_DOUBLE);
}
int64_t *head_ivector(rtattrdict_t *d, const char *attr) {
    return dense_vector<int64_t>(d, attr, kInteger, RTATTR_INTEGER);
}
unsigned char *head_bvector(rtattrdict_t *d, const char *attr) {
    return dense_vector<unsigned char>(d, attr, kBoolean, RTATTR_BOOLEAN);
}
const char **head_svector(rtattrdict_t *d, const char *attr) {
    return dense_vector<const char *>(d, attr, kString, RTATTR_STRING, RTATTR_NAME);
}
void **head_vvector(rtattrdict_t *d, const char *attr) {
    return dense_vector<void *>(d, attr, kPointer, RTATTR_POINTER);
}

double *emb_dvector(rtattrdict_t *d, const char *attr) {
    return window_vector<double>(d, [&](rtattrdict_t *p) { return p->ops->dvector(p, attr); });
}
int64_t *emb_ivector(rtattrdict_t *d, const char *attr) {
    return window_vector<int64_t>(d, [&](rtattrdict_t *p) { return p->ops->ivector(p, attr); });
}
unsigned char *emb_bvector(rtattrdict_t *d, const char *attr) {
    return window_vector<unsigned char>(d, [&](rtattrdict_t *p) { return p->ops->bvector(p, attr); });
}
const char **emb_svector(rtattrdict_t *d, const char *attr) {
    return window_vector<const char *>(d, [&](rtattrdict_t *p) { return p->ops->svector(p, attr); });
}
void **emb_vvector(rtattrdict_t *d, const char *attr) {
    return window_vector<void *>(d, [&](rtattrdict_t *p) { return p->ops->vvector(p, attr); });
}

const double *shared_dvector_ro(rtattrdict_t *d, const char *attr) { return d->ops->dvector(d, attr); }
const int64_t *shared_ivector_ro(rtattrdict_t *d, const char *attr) { return d->ops->ivector(d, attr); }
const char *const *shared_svector_ro(rtattrdict_t *d, const char *attr) { return d->ops->svector(d, attr); }
void *const *shared_vvector_ro(rtattrdict_t *d, const char *attr) { return d->ops->vvector(d, attr); }
const unsigned char *shared_bvector_ro(rtattrdict_t *d, const char *attr) { return d->ops->bvector(d, attr); }

int32_t shared_checksum(rtattrdict_t *d, zarn_md5_ctx_t *ctx) {
    int32_t offset = 0;
    Head *h = top(d, &offset);
    const size_t skip = std::strlen(d->ops->prefix(d));
    const char **cells = names(h) + offset;
    const int32_t named = held_elements(d);  // a window past its cut head has no names beyond
    for (int32_t k = 0; k < named; ++k) {
        const char *s = cells[k];
        size_t len = std::strlen(s);
        size_t from = skip < len ? skip : len;
        MD5Update(ctx, s + from, static_cast<uint32_t>(len - from));
    }
    return d->size;
}

}  // namespace zarn::rtattrdict
