// The units table: the exported arrays, their build from the catalogue and
// their destruction, at library load and unload and on request.
#include <cstdlib>

#include "platform/xalloc.h"
#include "rtuom/rtuom_internal.h"
#include "rtuom/rtuom_messages.h"

extern "C" {
ZARN_API rtouom_entry *rtouom_table[RTOUOM_NTYPES];
ZARN_API int rtouom_count[RTOUOM_NTYPES];
ZARN_API int rtouom_npredefined[RTOUOM_NTYPES];
ZARN_API int rtouom_default_uom[RTOUOM_NTYPES];
ZARN_API int rtouom_strict_uom_checking = 0;
}

namespace zarn::rtuom {
namespace {

constexpr double kStandardAmbient = 101325.0;
double g_ambient = kStandardAmbient;
bool g_defaults_set = false;  // defaults are 1 once, then survive rebuilds

// Every type's array at its exact size, filled from the catalogue.
bool build_arrays() {
    for (int t = 0; t < kTypeCount; ++t) {
        const CatalogSpan span = kCatalogSpans[t];
        rtouom_npredefined[t] = span.count;
        auto *array =
            static_cast<rtouom_entry *>(xmalloc(sizeof(rtouom_entry) * static_cast<size_t>(span.count)));
        if (array == nullptr) return false;
        for (int i = 0; i < span.count; ++i) {
            const CatalogUnit &u = kCatalogUnits[span.first + i];
            array[i] = rtouom_entry{u.name, u.multiplier, u.offset, t};
        }
        rtouom_table[t] = array;
        rtouom_count[t] = span.count;
    }
    return true;
}

}  // namespace

double ambient_pressure() { return g_ambient; }
void set_ambient_pressure(double p) { g_ambient = p; }

void load() { pt_init_units_table(); }
void unload() { pt_destroy_units_table(); }

}  // namespace zarn::rtuom

using namespace zarn::rtuom;

extern "C" {

// A build that runs short of memory reports it and leaves no table at all.
ZARN_API void pt_init_units_table(void) {
    pt_destroy_units_table();
    if (!g_defaults_set) {
        for (int &d : rtouom_default_uom) d = 1;
        g_defaults_set = true;
    }
    if (!build_arrays() || !index_build()) {
        assertion(kTableMalloc, __LINE__);
        pt_destroy_units_table();
        return;
    }
    g_ambient = kStandardAmbient;
}

ZARN_API void pt_destroy_units_table(void) {
    index_destroy();
    for (int t = 0; t < kTypeCount; ++t) {
        if (rtouom_table[t] != nullptr) {
            for (int i = rtouom_npredefined[t]; i < rtouom_count[t]; ++i)
                std::free(const_cast<char *>(rtouom_table[t][i].name));
            std::free(rtouom_table[t]);
        }
        rtouom_table[t] = nullptr;
        rtouom_count[t] = 0;
    }
}

}  // extern "C"
