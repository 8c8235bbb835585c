// Tag lists: aliases of variable names, propagated up the plant tree.
#include <cstdlib>
#include <cstring>

#include "platform/checked.h"
#include "platform/xalloc.h"
#include "platform/zassert.h"
#include "rtopipe/report.h"
#include "rttaglst/rttaglst_internal.h"
#include "rttaglst/rttaglst_messages.h"
#include "zarnutils/gllist.h"
#include "zarnutils/hashtable.h"
#include "zarnutils/rtcontext.h"
#include "zarnutils/rttaglst.h"
#include "zarnutils/rtsymtab.h"
#include "zarnutils/stred.h"

struct rtotaglst {
    HashTable *index;     // entries by alias; items point into `entries`
    int32_t capacity;     // slots in `entries`
    int32_t count;        // entries in use
    rtotag_t *entries;    // insertion order; tag k is entries[k - 1]
    const char *prefix;   // caller's text, put before texts copied to the parent
    rtotaglst *parent;    // NULL for a root
    gl_list_t *children;  // sub-plant lists, not owned
};

namespace {

namespace msg = zarn::rttaglst::msg;

// Slots allocated up front at most, whatever capacity a caller asks for.
constexpr int32_t kMaxInitialCapacity = 1 << 16;
using zarn::rtopipe::report;

uint32_t entry_hash(const void *item) { return hash_pjw(static_cast<const rtotag_t *>(item)->tagid); }
uint32_t entry_step(const void *item) { return hash_simple(static_cast<const rtotag_t *>(item)->tagid); }
// Stored aliases are interned, so equal stored texts are one pointer; probes are not.
int entry_compare(const void *a, const void *b) {
    const char *x = static_cast<const rtotag_t *>(a)->tagid, *y = static_cast<const rtotag_t *>(b)->tagid;
    return x == y ? 0 : std::strcmp(x, y);
}

// At most 40 characters and a legal model name.
bool legal_alias(const char *alias) {
    return std::strlen(alias) <= RTOTAGLST_MAX_ALIAS && stred_rtopt_name(alias) != 0;
}

// prefix + text, cut to RTOTAGLST_MAX_KEY characters, in a caller's buffer.
class Joined {
  public:
    Joined(const char *prefix, const char *text) {
        size_t n = 0;
        const char *const parts[2] = {prefix, text};
        for (const char *s : parts) {
            if (s == nullptr) continue;
            size_t len = std::strlen(s);
            if (len > RTOTAGLST_MAX_KEY - n) len = RTOTAGLST_MAX_KEY - n;
            std::memcpy(buf_ + n, s, len);
            n += len;
        }
        buf_[n] = '\0';
    }
    const char *c_str() const { return buf_; }

  private:
    char buf_[RTOTAGLST_MAX_KEY + 1];
};

rtotag_t *find_entry(rtotaglst *list, const char *alias) {
    if (list == nullptr || alias == nullptr) return nullptr;
    rtotag_t probe{alias, nullptr, 0};
    return static_cast<rtotag_t *>(hashFindItem(list->index, &probe));
}

// Re-enters every entry in use into an emptied index.
void rebuild_index(rtotaglst *list) {
    hashRemoveAll(list->index, nullptr);
    for (int32_t i = 0; i < list->count; ++i) hashAddItem(list->index, &list->entries[i]);
}

// Doubles the entry array; index items move with their entries.
bool grow(rtotaglst *list) {
    int32_t cap = 0;
    std::size_t bytes = 0;
    if (!zarn::checked_mul<int32_t>(list->capacity, 2, &cap) ||
        !zarn::byte_count(cap, sizeof(rtotag_t), &bytes))
        return false;
    auto *fresh = static_cast<rtotag_t *>(zarn::xmalloc(bytes));
    if (fresh == nullptr) return false;
    std::memcpy(fresh, list->entries, sizeof(rtotag_t) * static_cast<size_t>(list->count));
    HashTable *t = list->index;
    if (t->chained == 0) {
        for (uint32_t s = 0; s < t->size; ++s)
            if (t->slots[s] != nullptr)
                t->slots[s] = fresh + (static_cast<rtotag_t *>(t->slots[s]) - list->entries);
    }
    std::free(list->entries);
    list->entries = fresh;
    list->capacity = cap;
    if (t->chained != 0) rebuild_index(list);
    return true;
}

// Adds one entry and copies it to the ancestors: 0 added, 1 duplicate, -1 failed.
int add_entry(rtotaglst *list, const char *alias, const char *name, unsigned char inherited) {
    if (list->count == list->capacity && !grow(list)) {
        report(msg::kNoMemoryAdd, alias);
        return -1;
    }
    rtotag_t *slot = &list->entries[list->count];
    slot->tagid = rtsymtab_add(alias);
    slot->varid = rtsymtab_add(name != nullptr ? name : "");
    slot->inherited = inherited;
    void *stored =
        slot->tagid != nullptr && slot->varid != nullptr ? hashAddItem(list->index, slot) : nullptr;
    if (stored != slot) {
        if (stored != nullptr) return 1;
        report(msg::kNoMemoryAdd, alias);
        return -1;
    }
    ++list->count;
    if (list->parent != nullptr) {
        Joined key(list->prefix, alias), full(list->prefix, name);
        if (add_entry(list->parent, key.c_str(), full.c_str(), 1) == 1) report(msg::kDuplicateOnAdd, alias);
    }
    return 0;
}

// Withdraws the inherited entries prefix + key (for each of the n keys) from
// list, and in turn their copies from list's ancestors. Keys defined in the
// list stay. False (nothing changed at this level) when memory runs out.
bool withdraw(rtotaglst *list, const char *prefix, const char *const *keys, int32_t n) {
    if (list == nullptr || n <= 0 || list->count == 0) return true;
    auto *gone = static_cast<unsigned char *>(zarn::xcalloc(static_cast<size_t>(list->count), 1));
    auto *upward = static_cast<const char **>(zarn::xmalloc(sizeof(const char *) * static_cast<size_t>(n)));
    if (gone == nullptr || upward == nullptr) {
        std::free(gone);
        std::free(upward);
        return false;
    }
    int32_t nup = 0;
    for (int32_t i = 0; i < n; ++i) {
        Joined full(prefix, keys[i]);
        rtotag_t *e = find_entry(list, full.c_str());
        if (e == nullptr || e->inherited == 0) continue;
        const size_t at = static_cast<size_t>(e - list->entries);
        if (gone[at]) continue;
        gone[at] = 1;
        upward[nup++] = e->tagid;
    }
    bool ok = true;
    if (nup > 0) {
        int32_t kept = 0;
        for (int32_t i = 0; i < list->count; ++i)
            if (!gone[static_cast<size_t>(i)]) list->entries[kept++] = list->entries[i];
        list->count = kept;
        rebuild_index(list);
        ok = withdraw(list->parent, list->prefix, upward, nup);
    }
    std::free(gone);
    std::free(upward);
    return ok;
}

bool is_ancestor(const rtotaglst *maybe, const rtotaglst *of) {
    for (const rtotaglst *p = of; p != nullptr; p = p->parent)
        if (p == maybe) return true;
    return false;
}

void unlink_child(rtotaglst *parent, rtotaglst *child) {
    gl_list_t *kids = parent->children;
    for (gl_top(kids); !gl_end(kids); gl_next(kids)) {
        if (gl_get(kids) == child) {
            gl_unlinkcur(kids);
            return;
        }
    }
}

bool valid_index(rtotaglst *list, int32_t k, const char *text) {
    if (list != nullptr && k >= 1 && k <= list->count) return true;
    zarn::assert_report(text, msg::kSource, __LINE__);
    return false;
}

int print_entry(void *data, void *item) {
    if (rtosignal_ctrlc_pressed() != 0) return 1;
    auto *pipe = static_cast<rtopipe *>(data);
    const auto *e = static_cast<const rtotag_t *>(item);
    if (e->inherited != 0)
        rtoprintf(pipe, msg::kPrintInherited, e->tagid, e->varid);
    else
        rtoprintf(pipe, msg::kPrintDefined, e->tagid, e->varid);
    return 0;
}

}  // namespace

extern "C" {

rtotaglst_t *rtotaglst_create(int32_t capacity) {
    if (capacity < 1) capacity = 1;
    if (capacity > kMaxInitialCapacity) capacity = kMaxInitialCapacity;  // grows past it when needed
    auto *list = static_cast<rtotaglst *>(zarn::xcalloc(1, sizeof(rtotaglst)));
    if (list == nullptr) return nullptr;
    list->capacity = capacity;
    list->prefix = "";
    std::size_t bytes = 0;
    if (zarn::byte_count(capacity, sizeof(rtotag_t), &bytes))
        list->entries = static_cast<rtotag_t *>(zarn::xmalloc(bytes));
    list->index = hashCreate(static_cast<uint32_t>(capacity), entry_hash, entry_step, entry_compare, 0, 0);
    list->children = gl_create();
    if (list->entries == nullptr || list->index == nullptr || list->children == nullptr) {
        std::free(list->entries);
        hashDestroy(list->index, nullptr);
        gl_destroylist(list->children);
        std::free(list);
        return nullptr;
    }
    return list;
}

void rtotaglst_destroy(rtotaglst_t *list) {
    if (list == nullptr) return;
    if (list->parent != nullptr) {
        auto *keys = static_cast<const char **>(
            zarn::xmalloc(sizeof(const char *) * static_cast<size_t>(list->count > 0 ? list->count : 1)));
        bool ok = keys != nullptr;
        if (ok) {
            for (int32_t i = 0; i < list->count; ++i) keys[i] = list->entries[i].tagid;
            ok = withdraw(list->parent, list->prefix, keys, list->count);
            std::free(keys);
        }
        if (!ok) report("%s", msg::kNoMemoryDestroy);
        unlink_child(list->parent, list);
    }
    gl_list_t *kids = list->children;
    for (gl_top(kids); !gl_end(kids); gl_next(kids)) static_cast<rtotaglst *>(gl_get(kids))->parent = nullptr;
    gl_destroylist(kids);
    hashDestroy(list->index, nullptr);
    std::free(list->entries);
    std::free(list);
}

void rtotaglst_set_prefix(rtotaglst_t *list, const char *prefix) {
    if (list != nullptr) list->prefix = prefix != nullptr ? prefix : "";
}

void rtotaglst_link_parent(rtotaglst_t *parent, rtotaglst_t *child) {
    if (parent == nullptr || child == nullptr) {
        zarn::assert_report(msg::kLinkNull, msg::kSource, __LINE__);
        return;
    }
    if (child->parent == parent) return;
    if (child->parent != nullptr) {
        report("%s", msg::kAlreadyLinked);
        return;
    }
    if (is_ancestor(child, parent)) {
        report("%s", msg::kLinkBelowItself);
        return;
    }
    child->parent = parent;
    gl_addtoend(parent->children, child);
    for (int32_t i = 0; i < child->count; ++i) {
        const rtotag_t &e = child->entries[i];
        Joined key(child->prefix, e.tagid), full(child->prefix, e.varid);
        if (add_entry(parent, key.c_str(), full.c_str(), 1) == 1) report(msg::kDuplicateOnLink, e.tagid);
    }
}

int32_t rtotaglst_add_tag(rtotaglst_t *list, const char *alias, const char *name) {
    if (list == nullptr || alias == nullptr || !legal_alias(alias)) {
        report(msg::kBadAlias, alias != nullptr ? alias : "");
        return 0;
    }
    return add_entry(list, alias, name, 0) == 1 ? 1 : 0;
}

int32_t rtotaglst_none(rtotaglst_t *list) {
    if (list == nullptr) return 0;
    // Defined entries are withdrawn from the ancestors; their aliases are
    // gathered first so that nothing changes when memory runs out.
    auto *defined = static_cast<const char **>(
        zarn::xmalloc(sizeof(const char *) * static_cast<size_t>(list->count > 0 ? list->count : 1)));
    if (defined == nullptr) {
        report("%s", msg::kNoMemoryNone);
        return list->count;
    }
    int32_t kept = 0, ndefined = 0;
    for (int32_t i = 0; i < list->count; ++i) {
        if (list->entries[i].inherited != 0)
            list->entries[kept++] = list->entries[i];
        else
            defined[ndefined++] = list->entries[i].tagid;
    }
    list->count = kept;
    rebuild_index(list);
    if (!withdraw(list->parent, list->prefix, defined, ndefined)) report("%s", msg::kNoMemoryNone);
    std::free(defined);
    return list->count;
}

void rtotaglst_print(rtopipe *pipe, rtotaglst_t *list) {
    if (list == nullptr) return;
    hashDataIterate(list->index, pipe != nullptr ? pipe : rtHisDev, print_entry);
}

int32_t rtotaglst_inq_ntag(rtotaglst_t *list) { return list != nullptr ? list->count : 0; }

int32_t rtotaglst_lookup(rtotaglst_t *list, const char *alias) {
    const rtotag_t *e = find_entry(list, alias);
    return e != nullptr ? static_cast<int32_t>(e - list->entries) + 1 : 0;
}

const char *rtotaglst_inq_tagid(rtotaglst_t *list, int32_t k) {
    if (!valid_index(list, k, msg::kBadIndexTagid)) return nullptr;
    return list->entries[k - 1].tagid;
}

const char *rtotaglst_inq_varid(rtotaglst_t *list, int32_t k) {
    if (!valid_index(list, k, msg::kBadIndexVarid)) return nullptr;
    return list->entries[k - 1].varid;
}

rtotag_t *rtotaglst_inq_tag(rtotaglst_t *list, int32_t k) {
    if (!valid_index(list, k, msg::kBadIndexTag)) return nullptr;
    return &list->entries[k - 1];
}

const char *rtotaglst_search_tags(rtotaglst_t *list, const char *name) {
    const rtotag_t *e = find_entry(list, name);
    return e != nullptr ? e->varid : nullptr;
}

void rtotaglst_inq_by_tag(rtotaglst_t *list, const char *alias, char *name_out, int32_t *k_out) {
    int32_t k = 0;
    const char *name = zarn::rttaglst::find_tag(list, alias, &k);
    if (k_out != nullptr) *k_out = k;
    if (name_out == nullptr) return;
    if (name != nullptr)
        std::strcpy(name_out, name);
    else
        name_out[0] = '\0';
}

}  // extern "C"

namespace zarn::rttaglst {

const char *find_tag(rtotaglst_t *list, const char *alias, int32_t *k) {
    const rtotag_t *e = find_entry(list, alias);
    *k = e != nullptr ? static_cast<int32_t>(e - list->entries) + 1 : 0;
    return e != nullptr ? e->varid : nullptr;
}

}  // namespace zarn::rttaglst
