// Tag lists: aliases of variable names, propagated up the plant tree.
#include <cstdlib>
#include <cstring>
#include <new>
#include <string_view>
#include <vector>

#include "platform/zassert.h"
#include "rttaglst/tagtext.h"
#include "zarnutils/gllist.h"
#include "zarnutils/hashtable.h"
#include "zarnutils/rtcontext.h"
#include "zarnutils/rttaglst.h"

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

constexpr const char *kSource = "source/rttaglst/rttaglst";

using zarn::rttaglst::drop_text;
using zarn::rttaglst::keep_text;

uint32_t entry_hash(const void *item) { return hash_pjw(static_cast<const rtotag_t *>(item)->tagid); }
uint32_t entry_step(const void *item) { return hash_simple(static_cast<const rtotag_t *>(item)->tagid); }
int entry_compare(const void *a, const void *b) {
    return std::strcmp(static_cast<const rtotag_t *>(a)->tagid, static_cast<const rtotag_t *>(b)->tagid);
}

// prefix + text, cut to RTOTAGLST_MAX_KEY characters, in a caller's buffer.
class Joined {
public:
    Joined(const char *prefix, const char *text) {
        size_t n = 0;
        for (const char *s : {prefix, text}) {
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
    if (list->capacity > INT32_MAX / 2) return false;
    const int32_t cap = list->capacity * 2;
    auto *fresh = static_cast<rtotag_t *>(std::malloc(sizeof(rtotag_t) * static_cast<size_t>(cap)));
    if (fresh == nullptr) return false;
    std::memcpy(fresh, list->entries, sizeof(rtotag_t) * static_cast<size_t>(list->count));
    HashTable *t = list->index;
    if (t->chained == 0) {
        for (uint32_t s = 0; s < t->size; ++s)
            if (t->slots[s] != nullptr) t->slots[s] = fresh + (static_cast<rtotag_t *>(t->slots[s]) - list->entries);
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
        rtoprintf(rtHisDev, "!!rtotaglst_add_tag: Unable to allocate memory for alias %s\n", alias);
        return -1;
    }
    rtotag_t *slot = &list->entries[list->count];
    slot->tagid = keep_text(alias);
    slot->varid = keep_text(name != nullptr ? name : "");
    slot->inherited = inherited;
    void *stored = slot->tagid != nullptr && slot->varid != nullptr ? hashAddItem(list->index, slot) : nullptr;
    if (stored != slot) {
        drop_text(slot->tagid);
        drop_text(slot->varid);
        if (stored != nullptr) return 1;
        rtoprintf(rtHisDev, "!!rtotaglst_add_tag: Unable to allocate memory for alias %s\n", alias);
        return -1;
    }
    ++list->count;
    if (list->parent != nullptr) {
        Joined key(list->prefix, alias), full(list->prefix, name);
        if (add_entry(list->parent, key.c_str(), full.c_str(), 1) == 1)
            rtoprintf(rtHisDev, "Duplicate definition of alias %s in the one scope.\n", alias);
    }
    return 0;
}

// Withdraws the inherited entries prefix + key (for each key) from list, and
// in turn their copies from list's ancestors. Keys defined in the list stay.
void withdraw(rtotaglst *list, const char *prefix, const std::vector<const char *> &keys) {
    if (list == nullptr || keys.empty()) return;
    std::vector<unsigned char> gone(static_cast<size_t>(list->count), 0);
    std::vector<rtotag_t> removed;
    for (const char *k : keys) {
        Joined full(prefix, k);
        rtotag_t *e = find_entry(list, full.c_str());
        if (e == nullptr || e->inherited == 0) continue;
        const size_t at = static_cast<size_t>(e - list->entries);
        if (gone[at]) continue;
        gone[at] = 1;
        removed.push_back(*e);
    }
    if (removed.empty()) return;
    int32_t kept = 0;
    for (int32_t i = 0; i < list->count; ++i)
        if (!gone[static_cast<size_t>(i)]) list->entries[kept++] = list->entries[i];
    list->count = kept;
    rebuild_index(list);
    std::vector<const char *> upward;
    upward.reserve(removed.size());
    for (const rtotag_t &e : removed) upward.push_back(e.tagid);
    withdraw(list->parent, list->prefix, upward);
    for (const rtotag_t &e : removed) {
        drop_text(e.tagid);
        drop_text(e.varid);
    }
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
    zarn::assert_report(text, kSource, __LINE__);
    return false;
}

int print_entry(void *data, void *item) {
    if (rtosignal_ctrlc_pressed() != 0) return 1;
    auto *pipe = static_cast<rtopipe *>(data);
    const auto *e = static_cast<const rtotag_t *>(item);
    if (e->inherited != 0)
        rtoprintf(pipe, "%-12s %-40.40s (from subplant or superplant)\n", e->tagid, e->varid);
    else
        rtoprintf(pipe, "%-12s %-40.40s\n", e->tagid, e->varid);
    return 0;
}

}  // namespace

extern "C" {

rtotaglst_t *rtotaglst_create(int32_t capacity) {
    if (capacity < 1) capacity = 1;
    auto *list = static_cast<rtotaglst *>(std::calloc(1, sizeof(rtotaglst)));
    if (list == nullptr) return nullptr;
    list->capacity = capacity;
    list->prefix = "";
    list->entries = static_cast<rtotag_t *>(std::malloc(sizeof(rtotag_t) * static_cast<size_t>(capacity)));
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
        try {
            std::vector<const char *> keys;
            keys.reserve(static_cast<size_t>(list->count));
            for (int32_t i = 0; i < list->count; ++i) keys.push_back(list->entries[i].tagid);
            withdraw(list->parent, list->prefix, keys);
        } catch (const std::bad_alloc &) {
            rtoprintf(rtHisDev, "!!rtotaglst_destroy: Unable to allocate memory to withdraw aliases\n");
        }
        unlink_child(list->parent, list);
    }
    gl_list_t *kids = list->children;
    for (gl_top(kids); !gl_end(kids); gl_next(kids)) static_cast<rtotaglst *>(gl_get(kids))->parent = nullptr;
    gl_destroylist(kids);
    hashDestroy(list->index, nullptr);
    for (int32_t i = 0; i < list->count; ++i) {
        drop_text(list->entries[i].tagid);
        drop_text(list->entries[i].varid);
    }
    std::free(list->entries);
    std::free(list);
}

void rtotaglst_set_prefix(rtotaglst_t *list, const char *prefix) {
    if (list != nullptr) list->prefix = prefix != nullptr ? prefix : "";
}

void rtotaglst_link_parent(rtotaglst_t *parent, rtotaglst_t *child) {
    if (parent == nullptr || child == nullptr) {
        zarn::assert_report("rtotaglst_link_parent: NULL parent or child", kSource, __LINE__);
        return;
    }
    if (child->parent == parent) return;
    if (child->parent != nullptr) {
        rtoprintf(rtHisDev, "!!rtotaglst_link_parent: child already linked to a parent\n");
        return;
    }
    if (is_ancestor(child, parent)) {
        rtoprintf(rtHisDev, "!!rtotaglst_link_parent: a list cannot be linked below itself\n");
        return;
    }
    child->parent = parent;
    gl_addtoend(parent->children, child);
    for (int32_t i = 0; i < child->count; ++i) {
        const rtotag_t &e = child->entries[i];
        Joined key(child->prefix, e.tagid), full(child->prefix, e.varid);
        if (add_entry(parent, key.c_str(), full.c_str(), 1) == 1)
            rtoprintf(rtHisDev, "Duplicate definition of alias %s in the same scope.\n", e.tagid);
    }
}

int32_t rtotaglst_add_tag(rtotaglst_t *list, const char *alias, const char *name) {
    if (list == nullptr || alias == nullptr || !zarn::rttaglst::legal_alias(alias)) {
        rtoprintf(rtHisDev,
                  "Bad alias name '%s'.  Alias names must be 40 characters or less, must start\n"
                  "with A-Z, and contain only letters (A-Z), digits (0-9) and underbar (_).\n",
                  alias != nullptr ? alias : "");
        return 0;
    }
    return add_entry(list, alias, name, 0) == 1 ? 1 : 0;
}

int32_t rtotaglst_none(rtotaglst_t *list) {
    if (list == nullptr) return 0;
    try {
        std::vector<rtotag_t> defined;
        int32_t kept = 0;
        for (int32_t i = 0; i < list->count; ++i) {
            if (list->entries[i].inherited != 0) list->entries[kept++] = list->entries[i];
            else defined.push_back(list->entries[i]);
        }
        list->count = kept;
        rebuild_index(list);
        std::vector<const char *> keys;
        keys.reserve(defined.size());
        for (const rtotag_t &e : defined) keys.push_back(e.tagid);
        withdraw(list->parent, list->prefix, keys);
        for (const rtotag_t &e : defined) {
            drop_text(e.tagid);
            drop_text(e.varid);
        }
    } catch (const std::bad_alloc &) {
        rtoprintf(rtHisDev, "!!rtotaglst_none: Unable to allocate memory to withdraw aliases\n");
        rebuild_index(list);
    }
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
    if (!valid_index(list, k, "Illegal index passed to rtotaglst_inq_tagid")) return nullptr;
    return list->entries[k - 1].tagid;
}

const char *rtotaglst_inq_varid(rtotaglst_t *list, int32_t k) {
    if (!valid_index(list, k, "Illegal index passed to rtotaglst_inq_varid")) return nullptr;
    return list->entries[k - 1].varid;
}

rtotag_t *rtotaglst_inq_tag(rtotaglst_t *list, int32_t k) {
    if (!valid_index(list, k, "Illegal index passed to rtotaglst_inq_tag")) return nullptr;
    return &list->entries[k - 1];
}

const char *rtotaglst_search_tags(rtotaglst_t *list, const char *name) {
    const rtotag_t *e = find_entry(list, name);
    return e != nullptr ? e->varid : nullptr;
}

void rtotaglst_inq_by_tag(rtotaglst_t *list, const char *alias, char *name_out, int32_t *k_out) {
    const rtotag_t *e = find_entry(list, alias);
    if (k_out != nullptr) *k_out = e != nullptr ? static_cast<int32_t>(e - list->entries) + 1 : 0;
    if (name_out == nullptr) return;
    if (e != nullptr) std::strcpy(name_out, e->varid);
    else name_out[0] = '\0';
}

}  // extern "C"
