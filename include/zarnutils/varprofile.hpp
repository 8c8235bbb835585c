// The time profile a host can attach to a variable: an active flag and a
// sequence of (x, y) points in the order they were added, from which values
// at other positions are interpolated. The host creates it with new and hands
// it to rtovarlst_set_var_profile; from then on the list owns it and deletes
// it with the item or the list.
#ifndef ZARNUTILS_VARPROFILE_HPP
#define ZARNUTILS_VARPROFILE_HPP

#include <vector>

#include "zarnutils/com.h"
#include "zarnutils/rtvarlst.h"

struct ZARN_API VarProfile {
  public:
    bool Active() const;  // false at construction
    void SetActive(bool flag);
    // Appends a copy of item (std::bad_alloc when memory is short).
    void AddItem(const ProfileItem &item);
    uint32_t GetSize() const;
    // A copy of item k, 0-based; k at or past the size is reported and gives (0, 0).
    ProfileItem GetItemAt(uint32_t k) const;
    std::vector<ProfileItem> GetProfile() const;
    // For each j < n, y[j] is interpolated at x[j] between the nearest item at
    // or before it (else (0, 0)) and the nearest at or after it (else the
    // first of them alone). Equal positions: the later item counts. S_OK, or
    // E_FAIL (0x80004005) when n <= 0, an array is null or there is no item.
    HRESULT GetHistory(int32_t n, const double *x, double *y) const;

  private:
    bool active_ = false;
    std::vector<ProfileItem> items_;  // in insertion order
};

#endif
