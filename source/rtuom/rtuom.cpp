// The units table: build and destroy, conversions, lookup, user units, printing.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

#include "platform/libinit.h"
#include "platform/zassert.h"
#include "rtuom/rtuom_internal.h"
#include "rtuom/uomcatalog.h"
#include "zarnutils/hashtable.h"
#include "zarnutils/rtopipe.h"

extern "C" {
ZARN_API rtouom_entry *rtouom_table[RTOUOM_NTYPES];
ZARN_API int rtouom_count[RTOUOM_NTYPES];
ZARN_API int rtouom_npredefined[RTOUOM_NTYPES];
ZARN_API int rtouom_default_uom[RTOUOM_NTYPES];
ZARN_API int rtouom_strict_uom_checking = 0;
}

ZARN_NEEDS_LIBINIT(rtuom);

namespace zarn::rtuom {
namespace {

constexpr const char *kSource = "source/rtuom/rtuom";
constexpr int kIndexSlots = 1043;
constexpr double kStandardAmbient = 101325.0;

constexpr const char *kNotBuilt = "UOM table has not been initialized.\n";
constexpr const char *kTypeBounds = "Physical type is out of bounds (%i).\n";
constexpr const char *kIndexBounds = "Unit index is out of bounds (%i).\n";
constexpr const char *kNoUnits = "There are no UOMs defined for physical type %i.\n";
constexpr const char *kNotFound = "Unable to locate a unit of measurement named: %s\n";

HashTable *g_index = nullptr;      // unit name -> entry; null while not built
double g_ambient = kStandardAmbient;
bool g_defaults_set = false;       // defaults are 1 once, then survive rebuilds
char g_unit_buffer[40];            // "$/" unit names
char g_type_buffer[16];            // "$/" type names and "bad_ptype"

// Generic types re-resolved by rtouom_locate, found by name at each build.
int g_flow = -1, g_mass_flow = -1, g_enthalpy = -1, g_mole_enthalp = -1;
int g_mass_enthalp = -1, g_density = -1, g_mass_density = -1;
int g_pressure = -1;

// Where each unit of FLOW, ENTHALPY and DENSITY resolves to, worked out once per
// change of the table so that a lookup by name stays one hash probe.
struct Resolved {
    int ptype, uom;
};
// Plain arrays, not vectors: the table outlives static destructors at unload.
struct ResolvedList {
    Resolved *items;
    int size;
};
ResolvedList g_resolved_flow, g_resolved_enthalpy, g_resolved_density;

// Writes "!! <fn>: " and then the message to the history device.
__attribute__((format(printf, 2, 3))) void report(const char *fn, const char *format, ...) {
    char text[2048];
    va_list ap;
    va_start(ap, format);
    std::vsnprintf(text, sizeof text, format, ap);
    va_end(ap);
    rtoprintf(rtHisDev, "!! %s: ", fn);
    rtoprintf(rtHisDev, "%s", text);
}

// The SI-to-unit directions print prefix and message as one text.
__attribute__((format(printf, 2, 3))) void report_joined(const char *fn, const char *format, ...) {
    char text[2048];
    va_list ap;
    va_start(ap, format);
    std::vsnprintf(text, sizeof text, format, ap);
    va_end(ap);
    rtoprintf(rtHisDev, "!! %s: %s", fn, text);
}

const char *safe(const char *s) { return s != nullptr ? s : ""; }

// |ptype| without overflow, for the bounds tests.
long long magnitude(int ptype) { return ptype < 0 ? -static_cast<long long>(ptype) : ptype; }

bool is_marker(int ptype) { return ptype == RTOUOM_SI_MARKER || ptype == RTOUOM_SSI_MARKER; }

// ---- unit-name index: a chained hash table of entries keyed by name ----

uint32_t entry_hash(const void *item) { return hash_pjw(static_cast<const rtouom_entry *>(item)->name); }

int entry_compare(const void *a, const void *b) {
    return std::strcmp(static_cast<const rtouom_entry *>(a)->name, static_cast<const rtouom_entry *>(b)->name);
}

rtouom_entry probe_for(const char *name) {
    rtouom_entry probe{};
    probe.name = name;
    return probe;
}

// Registers e unless its name is already present (the first registration wins).
void index_register(rtouom_entry *e) {
    if (g_index != nullptr) hashAddItem(g_index, e);
}

// Removes whatever entry the name maps to.
void index_remove(const char *name) {
    if (g_index == nullptr) return;
    rtouom_entry probe = probe_for(name);
    hashRemoveItem(g_index, &probe);
}

int position_of(const rtouom_entry *e) { return static_cast<int>(e - rtouom_table[e->ptype]) + 1; }

// Index of the first unit of type t named exactly name, or 0.
int first_exact(int t, const char *name) {
    for (int i = 0; i < rtouom_count[t]; ++i)
        if (std::strcmp(rtouom_table[t][i].name, name) == 0) return i + 1;
    return 0;
}

// A unit of a generic type is re-resolved to the specific type that lists its
// name (ignoring case; the last such unit wins): FLOW to MASS-FLOW, ENTHALPY to
// MOLE-ENTHALP and then MASS-ENTHALP, DENSITY to MASS-DENSITY.
Resolved re_resolve(int type, int uom) {
    Resolved r{type, uom};
    const char *name = rtouom_table[type][uom - 1].name;
    auto step = [&](int from, int to) {
        if (r.ptype != from || from < 0 || to < 0) return;
        for (int i = 0; i < rtouom_count[to]; ++i) {
            if (strcasecmp(rtouom_table[to][i].name, name) == 0) r = Resolved{to, i + 1};
        }
    };
    step(g_flow, g_mass_flow);
    step(g_enthalpy, g_mole_enthalp);
    step(g_enthalpy, g_mass_enthalp);
    step(g_density, g_mass_density);
    return r;
}

void clear_resolved(ResolvedList &list) {
    std::free(list.items);
    list = ResolvedList{nullptr, 0};
}

// Without memory for a list, lookups fall back to the unresolved pair.
void refresh_resolved() {
    auto fill = [](ResolvedList &out, int type) {
        clear_resolved(out);
        if (type < 0 || rtouom_count[type] == 0) return;
        out.items = static_cast<Resolved *>(std::malloc(sizeof(Resolved) * static_cast<size_t>(rtouom_count[type])));
        if (out.items == nullptr) {
            assert_report("uom table malloc", kSource, __LINE__);
            return;
        }
        out.size = rtouom_count[type];
        for (int i = 1; i <= out.size; ++i) out.items[i - 1] = re_resolve(type, i);
    };
    fill(g_resolved_flow, g_flow);
    fill(g_resolved_enthalpy, g_enthalpy);
    fill(g_resolved_density, g_density);
}

void locate_impl(const char *unit, int *ptype_out, int *uom_out, bool loud) {
    int ptype = 0, uom = 0;
    if (ptype_out != nullptr) *ptype_out = 0;
    if (uom_out != nullptr) *uom_out = 0;
    if (g_index == nullptr) {
        report("rtouom_locate", "%s", kNotBuilt);
        return;
    }
    if (unit == nullptr) unit = "";
    if (rtouom_entry *e = index_find(unit)) {
        ptype = e->ptype;
        uom = position_of(e);
        const ResolvedList *resolved = ptype == g_flow       ? &g_resolved_flow
                                       : ptype == g_enthalpy ? &g_resolved_enthalpy
                                       : ptype == g_density  ? &g_resolved_density
                                                             : nullptr;
        if (resolved != nullptr && uom <= resolved->size) {
            const Resolved r = resolved->items[uom - 1];
            ptype = r.ptype;
            uom = r.uom;
        }
    } else if (unit[0] == '$' && unit[1] == '/' && (e = index_find(unit + 2)) != nullptr) {
        ptype = -e->ptype;
        uom = position_of(e);
    } else {
        if (loud) report("rtouom_locate", kNotFound, unit);
        return;
    }
    if (ptype_out != nullptr) *ptype_out = ptype;
    if (uom_out != nullptr) *uom_out = uom;
}

void ptype_locate_impl(const char *unit, int ptype, int *uom_out, bool loud) {
    int found_type = 0, uom = 0;
    locate_impl(unit, &found_type, &uom, loud);
    if (uom != 0 && found_type != ptype) {
        uom = 0;
        long long p = magnitude(ptype);
        const char *want = unit;
        if (ptype < 0) want = std::strlen(unit) >= 2 ? unit + 2 : "";
        if (p < kTypeCount && g_index != nullptr) uom = first_exact(static_cast<int>(p), want);
    }
    if (uom_out != nullptr) *uom_out = uom;
}

// The direction and kind of a pair conversion.
enum class Direction { ToSI, FromSI };

double convert(double x, int ptype, const rtouom_entry &e, Direction dir, bool delta) {
    const double m = e.multiplier;
    if (ptype < 0) return dir == Direction::ToSI ? x / m : x * m;
    const double o = delta ? 0.0 : e.offset;
    return dir == Direction::ToSI ? x * m + o : (x - o) / m;
}

// The checked pair conversions; fn names the caller in messages.
double pair_convert(const char *fn, double x, int ptype, int uom, Direction dir, bool delta) {
    const bool joined = dir == Direction::FromSI;
    if (g_index == nullptr) {
        if (!joined) {
            report(fn, "%s", kNotBuilt);
            return x;
        }
        report_joined(fn, "%s", kNotBuilt);
    }
    if (is_marker(ptype)) return x;
    const long long p = magnitude(ptype);
    if (p >= kTypeCount) {
        if (joined) report_joined(fn, kTypeBounds, ptype);
        else report(fn, kTypeBounds, ptype);
        return x;
    }
    const int count = rtouom_count[p];
    int use = uom == 0 ? rtouom_default_uom[p] : uom;
    if (uom < 0 || uom > count || use < 1 || use > count) {
        if (joined) report_joined(fn, kIndexBounds, uom);
        else report(fn, kIndexBounds, uom);
        return x;
    }
    return convert(x, ptype, rtouom_table[p][use - 1], dir, delta);
}

const char *price_unit_name(const char *name) {
    std::snprintf(g_unit_buffer, sizeof g_unit_buffer, "$/%.30s", name);
    return g_unit_buffer;
}

void rconv1_impl(const char *fn, int ptype, int uom, double si, double *value, const char **name, bool delta) {
    if (value != nullptr) *value = si;
    if (name != nullptr) *name = nullptr;
    if (g_index == nullptr) {
        report(fn, "%s", kNotBuilt);
        return;
    }
    if (is_marker(ptype)) return;
    const long long p = magnitude(ptype);
    if (p >= kTypeCount) {
        report(fn, kTypeBounds, ptype);
        return;
    }
    const int count = rtouom_count[p];
    if (uom <= 0) {
        if (count == 0) {
            report(fn, kNoUnits, ptype);
            return;
        }
        uom = rtouom_default_uom[p];
    }
    if (uom < 1 || uom > count) {
        report(fn, kIndexBounds, uom);
        return;
    }
    const rtouom_entry &e = rtouom_table[p][uom - 1];
    if (value != nullptr) *value = convert(si, ptype, e, Direction::FromSI, delta);
    if (name != nullptr) *name = ptype < 0 ? price_unit_name(e.name) : e.name;
}

// Finds a unit by its exact name or its "$/" form; type negated for the latter.
const rtouom_entry *by_name(const char *fn, const char *unit, int *ptype) {
    if (ptype != nullptr) *ptype = 0;
    if (g_index == nullptr) {
        report(fn, "%s", kNotBuilt);
        return nullptr;
    }
    unit = safe(unit);
    if (rtouom_entry *e = index_find(unit)) {
        if (ptype != nullptr) *ptype = e->ptype;
        return e;
    }
    if (unit[0] == '$' && unit[1] == '/') {
        if (rtouom_entry *e = index_find(unit + 2)) {
            if (ptype != nullptr) *ptype = -e->ptype;
            return e;
        }
    }
    report(fn, kNotFound, unit);
    return nullptr;
}

// The entry of (ptype, uom) after the checks of rtouom_uom_name, or null after a report.
const rtouom_entry *checked_entry(const char *fn, int ptype, int uom) {
    if (g_index == nullptr) {
        report(fn, "%s", kNotBuilt);
        return nullptr;
    }
    const long long p = magnitude(ptype);
    if (p >= kTypeCount) {
        report(fn, kTypeBounds, ptype);
        return nullptr;
    }
    const int count = rtouom_count[p];
    const int use = uom == 0 ? rtouom_default_uom[p] : uom;
    if (uom < 0 || uom > count || count == 0 || use < 1 || use > count) {
        report(fn, kIndexBounds, uom);
        return nullptr;
    }
    return &rtouom_table[p][use - 1];
}

// Registers every entry of every type in order, the first of each name winning.
void register_all() {
    for (int t = 0; t < kTypeCount; ++t)
        for (int i = 0; i < rtouom_count[t]; ++i) index_register(&rtouom_table[t][i]);
}

void find_generic_types() {
    g_flow = pt_lookup("FLOW");
    g_mass_flow = pt_lookup("MASS-FLOW");
    g_enthalpy = pt_lookup("ENTHALPY");
    g_mole_enthalp = pt_lookup("MOLE-ENTHALP");
    g_mass_enthalp = pt_lookup("MASS-ENTHALP");
    g_density = pt_lookup("DENSITY");
    g_mass_density = pt_lookup("MASS-DENSITY");
    g_pressure = pt_lookup("PRESSURE");
}

// Appends one unit to type t, keeping the index valid while the array moves.
bool append_unit(int t, const char *unit, double mult, double offset) {
    for (int i = 0; i < rtouom_count[t]; ++i) index_remove(rtouom_table[t][i].name);
    const int count = rtouom_count[t];
    bool ok = true;
    char *copy = static_cast<char *>(std::malloc(std::strlen(unit) + 1));
    if (copy == nullptr) {
        assert_report("rtouom_add_uom malloc", kSource, __LINE__);
        ok = false;
    } else {
        auto *grown = static_cast<rtouom_entry *>(
            std::realloc(rtouom_table[t], sizeof(rtouom_entry) * static_cast<size_t>(count + 1)));
        if (grown == nullptr) {
            assert_report("rtouom_add_uom realloc", kSource, __LINE__);
            std::free(copy);
            ok = false;
        } else {
            std::strcpy(copy, unit);
            rtouom_table[t] = grown;
            grown[count] = rtouom_entry{copy, mult, offset, t};
            rtouom_count[t] = count + 1;
            index_register(&grown[count]);
        }
    }
    for (int i = 0; i < count; ++i) index_register(&rtouom_table[t][i]);
    return ok;
}

}  // namespace

rtouom_entry *index_find(const char *name) {
    if (g_index == nullptr || name == nullptr) return nullptr;
    rtouom_entry probe = probe_for(name);
    return static_cast<rtouom_entry *>(hashFindItem(g_index, &probe));
}

bool built() { return g_index != nullptr; }

double ambient_pressure() { return g_ambient; }

void load() { pt_init_units_table(); }

void unload() { pt_destroy_units_table(); }

int add_unit(const char *unit, int ptype, double mult, double offset, bool also_equal, bool no_check) {
    constexpr const char *fn = "rtouom_add_uom";
    if (g_index == nullptr) {
        report(fn, "%s", kNotBuilt);
        return 0;
    }
    if (ptype < 0 || ptype >= kTypeCount) {
        report(fn, kTypeBounds, ptype);
        return 0;
    }
    if (unit == nullptr || unit[0] == '\0') {
        report(fn, "a unit of measurement needs a name.\n");
        return 0;
    }
    if (std::strlen(unit) > RTOUOM_MAX_NAME) {
        report(fn, "unit name {%s} exceeds the maximum of %i.\n", unit, RTOUOM_MAX_NAME);
        return 0;
    }
    if (!no_check) {
        const rtouom_entry *e = index_find(unit);
        if ((e != nullptr && e->ptype == ptype) || first_exact(ptype, unit) != 0) {
            report(fn, "A unit of measurement named: %s already exists\n", unit);
            return 0;
        }
    }
    if (!append_unit(ptype, unit, mult, offset)) return 0;
    const int result = rtouom_count[ptype];
    if (also_equal) {
        for (int t = 0; t < kTypeCount; ++t) {
            if (t == ptype || !rtouom_ptype_equal(t, ptype) || first_exact(t, unit) != 0) continue;
            append_unit(t, unit, mult, offset);
        }
    }
    refresh_resolved();
    return result;
}

}  // namespace zarn::rtuom

using namespace zarn::rtuom;

extern "C" {

// ---- build and destroy ----

ZARN_API void pt_init_units_table(void) {
    if (g_index != nullptr || rtouom_table[0] != nullptr) pt_destroy_units_table();
    if (!g_defaults_set) {
        for (int t = 0; t < kTypeCount; ++t) rtouom_default_uom[t] = 1;
        g_defaults_set = true;
    }
    for (int t = 0; t < kTypeCount; ++t) {
        const CatalogSpan span = kCatalogSpans[t];
        rtouom_npredefined[t] = span.count;
        rtouom_count[t] = 0;
        auto *array = static_cast<rtouom_entry *>(std::malloc(sizeof(rtouom_entry) * static_cast<size_t>(span.count)));
        rtouom_table[t] = array;
        if (array == nullptr) {
            zarn::assert_report("uom table malloc", kSource, __LINE__);
            continue;
        }
        for (int i = 0; i < span.count; ++i) {
            const CatalogUnit &u = kCatalogUnits[span.first + i];
            array[i] = rtouom_entry{u.name, u.multiplier, u.offset, t};
        }
        rtouom_count[t] = span.count;
    }
    find_generic_types();
    g_index = hashCreate(kIndexSlots, entry_hash, nullptr, entry_compare, 1, 0);
    if (g_index == nullptr) zarn::assert_report("uom table malloc", kSource, __LINE__);
    register_all();
    refresh_resolved();
    g_ambient = kStandardAmbient;
}

ZARN_API void pt_destroy_units_table(void) {
    for (int t = 0; t < kTypeCount; ++t) {
        if (rtouom_table[t] != nullptr) {
            for (int i = rtouom_npredefined[t]; i < rtouom_count[t]; ++i)
                std::free(const_cast<char *>(rtouom_table[t][i].name));
            std::free(rtouom_table[t]);
        }
        rtouom_table[t] = nullptr;
        rtouom_count[t] = 0;
    }
    hashDestroy(g_index, nullptr);
    g_index = nullptr;
    clear_resolved(g_resolved_flow);
    clear_resolved(g_resolved_enthalpy);
    clear_resolved(g_resolved_density);
}

// ---- conversions ----

ZARN_API double rtouom_pair2si(double value, int ptype, int uom) {
    // the common case first: a built table, an ordinary type, an explicit index
    if (static_cast<unsigned>(ptype) < static_cast<unsigned>(kTypeCount) && g_index != nullptr &&
        static_cast<unsigned>(uom) - 1u < static_cast<unsigned>(rtouom_count[ptype])) {
        const rtouom_entry &e = rtouom_table[ptype][uom - 1];
        return value * e.multiplier + e.offset;
    }
    return pair_convert("rtouom_pair2si", value, ptype, uom, Direction::ToSI, false);
}

ZARN_API double rtouom_si2pair(double si, int ptype, int uom) {
    if (static_cast<unsigned>(ptype) < static_cast<unsigned>(kTypeCount) && g_index != nullptr &&
        static_cast<unsigned>(uom) - 1u < static_cast<unsigned>(rtouom_count[ptype])) {
        const rtouom_entry &e = rtouom_table[ptype][uom - 1];
        return (si - e.offset) / e.multiplier;
    }
    return pair_convert("rtouom_si2pair", si, ptype, uom, Direction::FromSI, false);
}

ZARN_API double rtouom_delta_pair2si(double value, int ptype, int uom) {
    return pair_convert("rtouom_delta_pair2si", value, ptype, uom, Direction::ToSI, true);
}

ZARN_API double rtouom_delta_si2pair(double si, int ptype, int uom) {
    return pair_convert("rtouom_delta_si2pair", si, ptype, uom, Direction::FromSI, true);
}

ZARN_API void rtouom_rconv1(int ptype, int uom, double si, double *value, const char **name) {
    rconv1_impl("rtouom_rconv1", ptype, uom, si, value, name, false);
}

ZARN_API void rtouom_delta_rconv1(int ptype, int uom, double si, double *value, const char **name) {
    rconv1_impl("rtouom_delta_rconv1", ptype, uom, si, value, name, true);
}

ZARN_API double rtouom_uu2si(double value, int *ptype, const char *unit) {
    int t = 0;
    const rtouom_entry *e = by_name("rtouom_uu2si", unit, &t);
    if (ptype != nullptr) *ptype = t;
    return e == nullptr ? value : convert(value, t, *e, Direction::ToSI, false);
}

ZARN_API double rtouom_si2uu(double si, int *ptype, const char *unit) {
    int t = 0;
    const rtouom_entry *e = by_name("rtouom_si2uu", unit, &t);
    if (ptype != nullptr) *ptype = t;
    return e == nullptr ? si : convert(si, t, *e, Direction::FromSI, false);
}

ZARN_API double rtouom_uu2siGivenAPhysicalType(double value, const char *ptypeName, const char *unit) {
    const int ptype = pt_lookup(ptypeName);
    int uom = 0;
    rtouom_ptype_locate2(unit, ptype, &uom);
    return rtouom_pair2si(value, ptype, uom);
}

ZARN_API double rtouom_si2uuGivenAPhysicalType(double si, const char *ptypeName, const char *unit) {
    const int ptype = pt_lookup(ptypeName);
    int uom = 0;
    rtouom_ptype_locate2(unit, ptype, &uom);
    return rtouom_si2pair(si, ptype, uom);
}

// ---- lookup ----

ZARN_API int pt_lookup(const char *name) {
    if (name == nullptr || name[0] == '\0') return -1;
    int lo = 0, hi = kTypeCount - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int c = std::strcmp(name, kSortedTypes[mid].name);
        if (c == 0) return kSortedTypes[mid].number;
        if (c < 0) hi = mid - 1;
        else lo = mid + 1;
    }
    return -1;
}

ZARN_API void rtouom_locate(const char *unit, int *ptype, int *uom) { locate_impl(unit, ptype, uom, true); }

ZARN_API void rtouom_locate2(const char *unit, int *ptype, int *uom) { locate_impl(unit, ptype, uom, false); }

ZARN_API void rtouom_ptype_locate(const char *unit, int ptype, int *uom) {
    ptype_locate_impl(unit, ptype, uom, true);
}

ZARN_API void rtouom_ptype_locate2(const char *unit, int ptype, int *uom) {
    ptype_locate_impl(unit, ptype, uom, false);
}

ZARN_API const char *rtouom_uom_name(int ptype, int uom) {
    const rtouom_entry *e = checked_entry("rtouom_uom_name", ptype, uom);
    if (e == nullptr) return nullptr;
    return ptype < 0 ? price_unit_name(e->name) : e->name;
}

ZARN_API const char *rtouom_ptype_name(int ptype) {
    const long long p = magnitude(ptype);
    if (p >= kTypeCount) {
        std::snprintf(g_type_buffer, sizeof g_type_buffer, "%s", "bad_ptype");
        return g_type_buffer;
    }
    if (ptype >= 0) return kTypeNames[p];
    std::snprintf(g_type_buffer, sizeof g_type_buffer, "$/%.10s", kTypeNames[p]);
    return g_type_buffer;
}

ZARN_API const char *rtouom_uom_info(int ptype, int uom, double *mult, double *offset, const char **name) {
    if (mult != nullptr) *mult = 0.0;
    if (offset != nullptr) *offset = 0.0;
    if (name != nullptr) *name = nullptr;
    const rtouom_entry *e = checked_entry("rtouom_uom_info", ptype, uom);
    if (e == nullptr) return nullptr;
    const char *text = ptype < 0 ? price_unit_name(e->name) : e->name;
    if (mult != nullptr) *mult = ptype < 0 ? 1.0 / e->multiplier : e->multiplier;
    if (offset != nullptr) *offset = ptype < 0 ? 0.0 : e->offset;
    if (name != nullptr) *name = text;
    return text;
}

ZARN_API void rtouom_inq_info_c(int ptype, int uom, double *mult, double *offset, char *name) {
    if (mult != nullptr) *mult = 0.0;
    if (offset != nullptr) *offset = 0.0;
    if (name != nullptr) name[0] = '\0';
    const rtouom_entry *e = checked_entry("rtouom_inq_info_c", ptype, uom);
    if (e == nullptr) return;
    if (name != nullptr) {
        if (ptype < 0) std::snprintf(name, RTOUOM_MAX_NAME + 1, "$/%.30s", e->name);
        else std::snprintf(name, RTOUOM_MAX_NAME + 1, "%s", e->name);
    }
    if (mult != nullptr) *mult = ptype < 0 ? 1.0 / e->multiplier : e->multiplier;
    if (offset != nullptr) *offset = ptype < 0 ? 0.0 : e->offset;
}

ZARN_API void rtouom_inq_info_4a4_c(int ptype, int uom, double *mult, double *offset, char name[16]) {
    char full[RTOUOM_MAX_NAME + 1];
    rtouom_inq_info_c(ptype, uom, mult, offset, full);
    if (name == nullptr) return;
    const size_t n = std::strlen(full);
    for (size_t i = 0; i < 16; ++i) name[i] = i < n ? full[i] : ' ';
}

ZARN_API int rtouom_get_uomlist(int ptype, char ***list) {
    ZARN_ASSERT(list != nullptr, "rtouom_get_uomlist", kSource);
    if (list == nullptr) return -1;
    *list = nullptr;
    const long long p = magnitude(ptype);
    if (p >= kTypeCount) {
        report("rtouom_get_uomlist", kTypeBounds, ptype);
        return -1;
    }
    const int count = rtouom_count[p];
    auto **names = static_cast<char **>(std::calloc(static_cast<size_t>(count) + 1, sizeof(char *)));
    if (names == nullptr) {
        zarn::assert_report("rtouom_get_uomlist malloc", kSource, __LINE__);
        return -1;
    }
    for (int i = 0; i < count; ++i) {
        const char *src = rtouom_table[p][i].name;
        const size_t len = std::strlen(src) + (ptype < 0 ? 2 : 0) + 1;
        names[i] = static_cast<char *>(std::malloc(len));
        if (names[i] == nullptr) {
            zarn::assert_report("rtouom_get_uomlist malloc", kSource, __LINE__);
            rtouom_destroy_uomlist(names);
            return -1;
        }
        std::snprintf(names[i], len, ptype < 0 ? "$/%s" : "%s", src);
    }
    *list = names;
    return count;
}

ZARN_API void rtouom_destroy_uomlist(char **list) {
    if (list == nullptr) return;
    for (char **p = list; *p != nullptr; ++p) std::free(*p);
    std::free(list);
}

ZARN_API int rtouom_predefined(int ptype, int uom) {
    const long long p = magnitude(ptype);
    if (p >= kTypeCount) {
        report("rtouom_force_predefined_units", kTypeBounds, ptype);
        return 0;
    }
    return uom >= 1 && uom <= rtouom_npredefined[p] ? 1 : 0;
}

ZARN_API int rtouom_force_predefined_units(int ptype, int uom) {
    const long long p = magnitude(ptype);
    if (p >= kTypeCount) {
        report("rtouom_force_predefined_units", kTypeBounds, ptype);
        return 1;
    }
    return uom >= 1 && uom <= rtouom_npredefined[p] ? uom : 1;
}

ZARN_API int rtouom_get_default(int ptype) {
    if (ptype < 0 || ptype >= kTypeCount || rtouom_count[ptype] == 0) return 0;
    return rtouom_default_uom[ptype];
}

ZARN_API int rtouom_set_default(int ptype, int uom) {
    if (ptype < 0 || ptype >= kTypeCount) {
        rtoprintf(rtHisDev, "!!! rtouom_set_default: physical type out of bounds %i\n", ptype);
        return -1;
    }
    const int count = rtouom_count[ptype];
    if (uom > count) return count;
    if (uom < 1) return -1;
    rtouom_default_uom[ptype] = uom;
    return uom - 1;
}

// ---- table changes ----

ZARN_API int rtouom_add_uom(const char *unit, int ptype, double mult, double offset) {
    return add_unit(unit, ptype, mult, offset, true, false);
}

ZARN_API void rtouom_modify_p_amb(double p) {
    if (g_pressure >= 0) {
        for (int i = 0; i < rtouom_count[g_pressure]; ++i) {
            rtouom_entry &e = rtouom_table[g_pressure][i];
            if (e.offset == g_ambient) e.offset = p;
        }
    }
    g_ambient = p;
}

ZARN_API int rtouom_modify_mult_offset(int ptype, const char *unit, double mult, double offset) {
    if (g_index == nullptr) {
        report("rtouom_uu2si", "%s", kNotBuilt);
        return 0;
    }
    if (ptype < 0 || ptype >= kTypeCount) {
        report("rtouom_modify_mult_offset", kTypeBounds, ptype);
        return 0;
    }
    if (unit == nullptr) return 0;
    for (int i = 0; i < rtouom_count[ptype]; ++i) {
        rtouom_entry &e = rtouom_table[ptype][i];
        if (strcasecmp(e.name, unit) == 0) {
            e.multiplier = mult;
            e.offset = offset;
            return 1;
        }
    }
    return 0;
}

// ---- printing ----

ZARN_API void rtouom_print_header(rtopipe *pipe) {
    rtoprintf(pipe, "%-*s %-*s    %-*s %-*s\n", 32, "", 12, "Physical", 12, "", 12, "");
    rtoprintf(pipe, "%-*s %-*s P/U %-*s %-*s\n", 32, "Name", 12, "Type", 12, "Multiplier", 12, "Offset");
    rtoprintf(pipe, "%.32s %.12s %.3s %.12s %.12s\n", "================================",
              "============", "===", "============", "============");
}

ZARN_API void rtouom_print_uom(rtopipe *pipe, int ptype, int uom) {
    constexpr const char *fn = "rtouom_print_uom";
    const long long p = magnitude(ptype);
    if (p >= kTypeCount) {
        report(fn, kTypeBounds, ptype);
        return;
    }
    if (uom < 1 || uom > rtouom_count[p]) {
        report(fn, kIndexBounds, uom);
        return;
    }
    const rtouom_entry &e = rtouom_table[p][uom - 1];
    ZARN_ASSERT(e.ptype == p, "rtouom_print_uom: physical type mismatch", kSource);
    const char kind = uom <= rtouom_npredefined[p] ? 'P' : 'U';
    if (ptype < 0) {
        rtoprintf(pipe, "$/%-*s %-*s  %c  %-*g %-*g\n", 30, e.name, 12, kTypeNames[p], kind, 12,
                  1.0 / e.multiplier, 12, 0.0);
    } else {
        rtoprintf(pipe, "%-*s %-*s  %c  %-*g %-*g\n", 32, e.name, 12, kTypeNames[p], kind, 12, e.multiplier,
                  12, e.offset);
    }
}

}  // extern "C"
