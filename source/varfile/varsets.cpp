// The sets of variable indices a processor includes or excludes.
#include "attrcat/attrcat.h"
#include "zarnutils/varfile.hpp"

RTVarDatabase::~RTVarDatabase() = default;
VarFilter::~VarFilter() = default;
RTVarSet::~RTVarSet() = default;

int RTVarDatabase::DerivedAttribute(VarAttribute a) {
    return a >= 0 && a < ZARN_VARFILE_ATTRIBUTE_COUNT && zarn::attrcat::kVarfile[a].derived ? 1 : 0;
}

RTSingletonVarSet::RTSingletonVarSet(int i) : index_(i) {}

int RTSingletonVarSet::Contains(rtvarlst_t *, int i) const { return i == index_; }

RTRangeVarSet::RTRangeVarSet(int lo, int hi) : lo_(lo), hi_(hi) {}

int RTRangeVarSet::Contains(rtvarlst_t *, int i) const { return lo_ <= i && i <= hi_; }

RTRegexpVarSet::RTRegexpVarSet(hs_regexp *re) : re_(re) {}

RTRegexpVarSet::~RTRegexpVarSet() { hs_regfree(re_); }

int RTRegexpVarSet::Contains(rtvarlst_t *list, int i) const {
    if (re_ == nullptr || list == nullptr || i < 1 || i > rtovarlst_inq_nvar(list)) return 0;
    const char *name = rtovarlst_lookup_var_name(list, i);
    return name != nullptr && hs_regexec(re_, name) != 0;
}
