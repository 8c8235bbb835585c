// The built-in units catalogue: type names and each type's units in index order.
// The data lives in uomcatalog.cpp, written by scripts/gen_uomcatalog.py.
#ifndef ZARN_RTUOM_UOMCATALOG_H
#define ZARN_RTUOM_UOMCATALOG_H

namespace zarn::rtuom {

inline constexpr int kTypeCount = 149;     // built-in physical types 0..148
inline constexpr int kCatalogSize = 1386;  // built-in unit entries of all types

// One built-in unit: name, SI value of one unit, SI value of its zero.
struct CatalogUnit {
    const char *name;
    double multiplier;
    double offset;
};

// Where a type's units sit in kCatalogUnits.
struct CatalogSpan {
    int first;
    int count;
};

// A type name with its number, for lookup by bisection.
struct SortedType {
    const char *name;
    int number;
};

extern const char *const kTypeNames[kTypeCount];      // by number
extern const SortedType kSortedTypes[kTypeCount];     // ascending byte order
extern const CatalogUnit kCatalogUnits[kCatalogSize];  // type 0 first, then 1, ...
extern const CatalogSpan kCatalogSpans[kTypeCount];   // by number

}  // namespace zarn::rtuom

#endif
