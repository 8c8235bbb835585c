// The profile a host can attach to a variable. The list owns it once attached
// and frees it with the item or the list; its interpolation and editing
// belong with the keyword tables and filters, not here.
#ifndef ZARN_RTVARLST_VARPROFILE_H
#define ZARN_RTVARLST_VARPROFILE_H

#include <vector>

#include "zarnutils/rtvarlst.h"

struct VarProfile {
    bool active = false;             // the profile is in use
    std::vector<ProfileItem> items;  // in insertion order
};

namespace zarn::rtvarlst {
// Frees a profile the list owns (NULL is a no-op).
inline void destroy_profile(VarProfile *p) { delete p; }
}  // namespace zarn::rtvarlst

#endif
