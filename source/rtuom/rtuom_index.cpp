// The unit-name index and the growth of the types' arrays by user units.
//
// The index keeps, per distinct name, the types that list it ("holders") with
// each holder's first index. Which unit a name maps to follows the rule of the
// table: the first registration wins, and appending to a type t registers t's
// names again, so afterwards each of them maps to t's first unit of that name
// (the new unit itself when it repeats a name of t). Instead of redoing that
// for every name of t at each append, each type remembers when it was last
// appended to, and a lookup picks the holder whose type was appended to most
// recently after it came to list the name. An append therefore costs the same
// whatever the number of units already in the type.
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "platform/checked.h"
#include "platform/xalloc.h"
#include "rtuom/rtuom_internal.h"
#include "rtuom/rtuom_messages.h"
#include "zarnutils/hashtable.h"

namespace zarn::rtuom {
namespace {

constexpr uint32_t kIndexSlots = 1043;

// The specific types that FLOW, ENTHALPY and DENSITY units move to.
constexpr int kSpecific[] = {kMassFlow, kMoleEnthalp, kMassEnthalp, kMassDensity};
constexpr int kSpecificCount = 4;

// Names equal but for case: the last index of each specific type listing one.
struct FoldRecord {
    const char *name;
    int last[kSpecificCount];
};

struct Holder {
    int ptype;        // a type that lists the name
    int first;        // its first index of that name
    long long since;  // the append that brought the name into the type; 0 when built in
};

struct NameRecord {
    const char *name;  // the text of the first unit of this name
    Holder *holders;   // in the order the types came to list the name
    int count, capacity;
    FoldRecord *fold;
};

HashTable *g_names = nullptr;
HashTable *g_folds = nullptr;
long long g_clock = 0;             // appends since the build
long long g_appended[kTypeCount];  // when each type was last appended to; 0: never
int g_last_added[kTypeCount];      // the index that append gave
int g_capacity[kTypeCount];        // entries each type's array holds

uint32_t name_hash(const void *item) { return hash_pjw(static_cast<const NameRecord *>(item)->name); }
int name_compare(const void *a, const void *b) {
    return std::strcmp(static_cast<const NameRecord *>(a)->name, static_cast<const NameRecord *>(b)->name);
}
uint32_t fold_hash(const void *item) {
    uint32_t h = 0;
    for (const char *s = static_cast<const FoldRecord *>(item)->name; *s != '\0'; ++s)
        h = h * 31u + static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(*s)));
    return h;
}
int fold_compare(const void *a, const void *b) {
    return strcasecmp(static_cast<const FoldRecord *>(a)->name, static_cast<const FoldRecord *>(b)->name);
}

NameRecord *find_record(const char *name) {
    if (g_names == nullptr || name == nullptr) return nullptr;
    NameRecord probe{name, nullptr, 0, 0, nullptr};
    return static_cast<NameRecord *>(hashFindItem(g_names, &probe));
}

FoldRecord *find_fold(const char *name) {
    FoldRecord probe{name, {}};
    return static_cast<FoldRecord *>(hashFindItem(g_folds, &probe));
}

void release_record(void *item) {
    auto *r = static_cast<NameRecord *>(item);
    std::free(r->holders);
    std::free(r);
}

const Holder *holder_of(const NameRecord *r, int t) {
    for (int i = 0; i < r->count; ++i)
        if (r->holders[i].ptype == t) return &r->holders[i];
    return nullptr;
}

int specific_slot(int t) {
    for (int k = 0; k < kSpecificCount; ++k)
        if (kSpecific[k] == t) return k;
    return -1;
}

// Room for `more` holders; false when memory is short.
bool reserve_holders(NameRecord *r, int more) {
    int need = 0;
    if (!checked_add(r->count, more, &need)) return false;
    if (need <= r->capacity) return true;
    size_t bytes = 0;
    if (!byte_count(need, sizeof(Holder), &bytes)) return false;
    auto *grown = static_cast<Holder *>(xrealloc(r->holders, bytes));
    if (grown == nullptr) return false;
    r->holders = grown;
    r->capacity = need;
    return true;
}

// The record of name with room for `holders` more, made (with its case-folded
// partner) when new; null, with nothing changed, when memory is short.
NameRecord *record_for(const char *name, int holders) {
    if (NameRecord *r = find_record(name)) return reserve_holders(r, holders) ? r : nullptr;
    auto *r = static_cast<NameRecord *>(xmalloc(sizeof(NameRecord)));
    if (r == nullptr) return nullptr;
    *r = NameRecord{name, nullptr, 0, 0, find_fold(name)};
    FoldRecord *fold = nullptr;
    if (!reserve_holders(r, holders) ||
        (r->fold == nullptr && (fold = static_cast<FoldRecord *>(xmalloc(sizeof(FoldRecord)))) == nullptr)) {
        release_record(r);
        return nullptr;
    }
    if (fold != nullptr) {
        *fold = FoldRecord{name, {}};
        if (hashAddItem(g_folds, fold) != fold) {
            std::free(fold);
            release_record(r);
            return nullptr;
        }
        r->fold = fold;
    }
    if (hashAddItem(g_names, r) != r) {
        if (fold != nullptr) std::free(hashRemoveItem(g_folds, fold));
        release_record(r);
        return nullptr;
    }
    return r;
}

// Files unit `index` of type t (already in the array) under its name.
void enter(NameRecord *r, int t, int index, long long since) {
    if (holder_of(r, t) == nullptr) r->holders[r->count++] = Holder{t, index, since};
    const int k = specific_slot(t);
    if (k >= 0) r->fold->last[k] = index;
}

}  // namespace

bool index_build() {
    g_names = hashCreate(kIndexSlots, name_hash, nullptr, name_compare, 0, 0);
    g_folds = hashCreate(kIndexSlots, fold_hash, nullptr, fold_compare, 0, 0);
    g_clock = 0;
    for (int t = 0; t < kTypeCount; ++t) {
        g_appended[t] = 0;
        g_last_added[t] = 0;
        g_capacity[t] = rtouom_count[t];
    }
    if (g_names == nullptr || g_folds == nullptr) return false;
    // Types in order, units in order: the first registration of a name wins.
    for (int t = 0; t < kTypeCount; ++t) {
        for (int i = 1; i <= rtouom_count[t]; ++i) {
            NameRecord *r = record_for(rtouom_table[t][i - 1].name, 1);
            if (r == nullptr) return false;
            enter(r, t, i, 0);
        }
    }
    return true;
}

void index_destroy() {
    hashDestroy(g_names, release_record);
    g_names = nullptr;
    hashDestroy(g_folds, std::free);
    g_folds = nullptr;
}

bool built() { return g_names != nullptr; }

namespace {
// The place a name's record gives: the holder whose type had the latest append
// that registered the name, else its first holder.
Place place_of(const NameRecord *r, const char *name) {
    if (r == nullptr || r->count == 0) return Place{0, 0};
    const Holder *latest = nullptr;
    for (int i = 0; i < r->count; ++i) {
        const Holder &h = r->holders[i];
        if (g_appended[h.ptype] > h.since &&
            (latest == nullptr || g_appended[h.ptype] > g_appended[latest->ptype]))
            latest = &h;
    }
    if (latest == nullptr) return Place{r->holders[0].ptype, r->holders[0].first};
    // That append registered its own new unit first when it repeated the name.
    const int t = latest->ptype, added = g_last_added[t];
    if (added > 0 && std::strcmp(rtouom_table[t][added - 1].name, name) == 0) return Place{t, added};
    return Place{t, latest->first};
}
}  // namespace

Place index_find(const char *name) { return place_of(find_record(name), name); }

Place index_locate(const char *name) {
    const NameRecord *r = find_record(name);
    Place p = place_of(r, name);
    if (p.uom == 0) return p;
    const FoldRecord *fold = r->fold;
    auto move = [&](int from, int k) {
        if (p.ptype == from && fold->last[k] > 0) p = Place{kSpecific[k], fold->last[k]};
    };
    move(kFlow, 0);
    move(kEnthalpy, 1);
    move(kEnthalpy, 2);
    move(kDensity, 3);
    return p;
}

int position_in(int t, const char *name) {
    const NameRecord *r = find_record(name);
    const Holder *h = r != nullptr ? holder_of(r, t) : nullptr;
    return h != nullptr ? h->first : 0;
}

// Appends one unit to each of the n types: all or, after an assertion line,
// none. Memory comes first (array room, name copies, index records); only
// then does anything change.
bool append_units(const int *types, int n, const char *unit, double mult, double offset) {
    char *copies[kTypeCount] = {};
    const char *failed = nullptr;
    for (int j = 0; j < n && failed == nullptr; ++j) {
        const int t = types[j];
        if (rtouom_count[t] == g_capacity[t]) {
            int room = 0;
            size_t bytes = 0;
            if (!checked_mul(g_capacity[t] < 4 ? 4 : g_capacity[t], 2, &room) ||
                !byte_count(room, sizeof(rtouom_entry), &bytes)) {
                failed = kAddRealloc;
                break;
            }
            auto *grown = static_cast<rtouom_entry *>(xrealloc(rtouom_table[t], bytes));
            if (grown == nullptr) {
                failed = kAddRealloc;
                break;
            }
            rtouom_table[t] = grown;
            g_capacity[t] = room;
        }
        copies[j] = xstrdup(unit);
        if (copies[j] == nullptr) failed = kAddMalloc;
    }
    NameRecord *r = failed == nullptr ? record_for(copies[0], n) : nullptr;
    if (r == nullptr) {
        for (int j = 0; j < n; ++j) std::free(copies[j]);
        assertion(failed != nullptr ? failed : kAddMalloc, __LINE__);
        return false;
    }
    for (int j = 0; j < n; ++j) {
        const int t = types[j], index = rtouom_count[t] + 1;
        rtouom_table[t][index - 1] = rtouom_entry{copies[j], mult, offset, t};
        rtouom_count[t] = index;
        g_appended[t] = ++g_clock;
        g_last_added[t] = index;
        enter(r, t, index, g_clock);
    }
    return true;
}

}  // namespace zarn::rtuom
