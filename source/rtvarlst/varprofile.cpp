// A variable's time profile and its interpolation.
#include <cinttypes>
#include <cmath>

#include "rtopipe/report.h"
#include "rtvarlst/rtvarlst_messages.h"
#include "zarnutils/varprofile.hpp"

namespace {

// No lower neighbour: the origin; no upper one: a position beyond any item.
constexpr double kUndefinedPosition = 1e35;
// Neighbours closer than this are one point: no interpolation.
constexpr double kSamePosition = 1e-10;

}  // namespace

bool VarProfile::Active() const { return active_; }

void VarProfile::SetActive(bool flag) { active_ = flag; }

void VarProfile::AddItem(const ProfileItem &item) { items_.push_back(item); }

uint32_t VarProfile::GetSize() const { return static_cast<uint32_t>(items_.size()); }

ProfileItem VarProfile::GetItemAt(uint32_t k) const {
    if (k >= items_.size()) {
        zarn::rtopipe::report(zarn::rtvarlst::msg::kProfileIndex, k, GetSize());
        return ProfileItem{0.0, 0.0};
    }
    return items_[k];
}

std::vector<ProfileItem> VarProfile::GetProfile() const { return items_; }

HRESULT VarProfile::GetHistory(int32_t n, const double *x, double *y) const {
    if (n <= 0 || !x || !y || items_.empty()) return E_FAIL;
    for (int32_t j = 0; j < n; ++j) {
        const double t = x[j];
        ProfileItem lower{0.0, 0.0}, upper{kUndefinedPosition, 0.0};
        for (const ProfileItem &p : items_) {
            if (t >= p.x && p.x >= lower.x) lower = p;
            if (p.x >= t && upper.x >= p.x) upper = p;
        }
        y[j] = lower.y;
        if (std::fabs(upper.x - lower.x) > kSamePosition)
            y[j] += (upper.y - lower.y) * (t - lower.x) / (upper.x - lower.x);
    }
    return S_OK;
}
