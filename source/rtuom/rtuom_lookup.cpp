// Lookups: types and units by name, names and information by pair, unit
// lists, built-in units and default units.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/checked.h"
#include "platform/xalloc.h"
#include "platform/zassert.h"
#include "rtopipe/report.h"
#include "rtuom/rtuom_internal.h"
#include "rtuom/rtuom_messages.h"

namespace zarn::rtuom {
namespace {

char g_unit_buffer[40];  // "$/" unit names
char g_type_buffer[16];  // "$/" type names and "bad_ptype"

void locate_impl(const char *unit, int *ptype_out, int *uom_out, bool loud) {
    if (ptype_out != nullptr) *ptype_out = 0;
    if (uom_out != nullptr) *uom_out = 0;
    if (!built()) {
        report("rtouom_locate", "%s", kNotBuilt);
        return;
    }
    if (unit == nullptr) unit = "";
    Place p = index_locate(unit);
    if (p.uom == 0 && unit[0] == '$' && unit[1] == '/') {
        p = index_find(unit + 2);
        p.ptype = -p.ptype;
    }
    if (p.uom == 0) {
        if (loud) report("rtouom_locate", kNotFound, unit);
        return;
    }
    if (ptype_out != nullptr) *ptype_out = p.ptype;
    if (uom_out != nullptr) *uom_out = p.uom;
}

void ptype_locate_impl(const char *unit, int ptype, int *uom_out, bool loud) {
    int found_type = 0, uom = 0;
    locate_impl(unit, &found_type, &uom, loud);
    if (uom != 0 && found_type != ptype) {
        // within a price type, the name without its first two characters
        const char *want = ptype >= 0 ? unit : std::strlen(unit) >= 2 ? unit + 2 : "";
        uom = type_valid(ptype) ? position_in(static_cast<int>(magnitude(ptype)), want) : 0;
    }
    if (uom_out != nullptr) *uom_out = uom;
}

// The entry of (ptype, uom) after the checks of rtouom_uom_name, or null after a report.
const rtouom_entry *checked_entry(const char *fn, int ptype, int uom) {
    if (!built()) {
        report(fn, "%s", kNotBuilt);
        return nullptr;
    }
    if (!type_valid(ptype)) {
        report(fn, kTypeBounds, ptype);
        return nullptr;
    }
    const long long p = magnitude(ptype);
    const int count = rtouom_count[p];
    const int use = uom == 0 ? rtouom_default_uom[p] : uom;
    if ((uom != 0 && !index_within(uom, count)) || !index_within(use, count)) {
        report(fn, kIndexBounds, uom);
        return nullptr;
    }
    return &rtouom_table[p][use - 1];
}

// 1 when uom is a built-in index of |ptype|; -1 after reporting a bad type.
int predefined_test(int ptype, int uom) {
    if (!type_valid(ptype)) {
        report("rtouom_force_predefined_units", kTypeBounds, ptype);
        return -1;
    }
    return index_within(uom, rtouom_npredefined[magnitude(ptype)]) ? 1 : 0;
}

}  // namespace

const char *price_unit_name(const char *name) {
    std::snprintf(g_unit_buffer, sizeof g_unit_buffer, "$/%.30s", name);
    return g_unit_buffer;
}

void uom_info_or_si(int ptype, int uom, double *mult, double *offset) {
    if (rtouom_uom_info(ptype, uom, mult, offset, nullptr) != nullptr) return;
    zarn::rtopipe::report("%s", kAssumeSI);
    if (mult != nullptr) *mult = 1.0;
    if (offset != nullptr) *offset = 0.0;
}

}  // namespace zarn::rtuom

using namespace zarn::rtuom;

extern "C" {

ZARN_API int pt_lookup(const char *name) {
    if (name == nullptr || name[0] == '\0') return -1;
    int lo = 0, hi = kTypeCount - 1;
    while (lo <= hi) {
        const int mid = (lo + hi) / 2;
        const int c = std::strcmp(name, kSortedTypes[mid].name);
        if (c == 0) return kSortedTypes[mid].number;
        if (c < 0)
            hi = mid - 1;
        else
            lo = mid + 1;
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
    if (!type_valid(ptype)) {
        std::snprintf(g_type_buffer, sizeof g_type_buffer, "%s", "bad_ptype");
        return g_type_buffer;
    }
    const long long p = magnitude(ptype);
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
        if (ptype < 0)
            std::snprintf(name, RTOUOM_MAX_NAME + 1, "$/%.30s", e->name);
        else
            std::snprintf(name, RTOUOM_MAX_NAME + 1, "%s", e->name);
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
    ZARN_ASSERT(list != nullptr, kListNull, kSource);
    if (list == nullptr) return -1;
    *list = nullptr;
    if (!type_valid(ptype)) {
        report("rtouom_get_uomlist", kTypeBounds, ptype);
        return -1;
    }
    const long long p = magnitude(ptype);
    const int count = rtouom_count[p];
    auto **names = static_cast<char **>(zarn::xcalloc(static_cast<size_t>(count) + 1, sizeof(char *)));
    if (names == nullptr) {
        assertion(kListMalloc, __LINE__);
        return -1;
    }
    for (int i = 0; i < count; ++i) {
        const char *src = rtouom_table[p][i].name;
        const size_t len = std::strlen(src) + (ptype < 0 ? 2 : 0) + 1;
        names[i] = static_cast<char *>(zarn::xmalloc(len));
        if (names[i] == nullptr) {
            assertion(kListMalloc, __LINE__);
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

ZARN_API int rtouom_predefined(int ptype, int uom) { return predefined_test(ptype, uom) == 1 ? 1 : 0; }

ZARN_API int rtouom_force_predefined_units(int ptype, int uom) {
    return predefined_test(ptype, uom) == 1 ? uom : 1;
}

ZARN_API int rtouom_get_default(int ptype) {
    if (ptype < 0 || ptype >= kTypeCount || rtouom_count[ptype] == 0) return 0;
    return rtouom_default_uom[ptype];
}

ZARN_API int rtouom_set_default(int ptype, int uom) {
    if (ptype < 0 || ptype >= kTypeCount) {
        zarn::rtopipe::report(kSetDefaultBounds, ptype);
        return -1;
    }
    const int count = rtouom_count[ptype];
    if (uom > count) return count;
    if (uom < 1) return -1;
    rtouom_default_uom[ptype] = uom;
    return uom - 1;
}

}  // extern "C"
