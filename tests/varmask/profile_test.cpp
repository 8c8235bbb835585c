// Variable profiles: interpolation at, between, before and after items, the
// failure code, item access and ownership by the variable list.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "capture.h"
#include "zarnutils/varprofile.hpp"

namespace {

VarProfile make(std::vector<ProfileItem> items) {
    VarProfile p;
    for (const ProfileItem &i : items) p.AddItem(i);
    return p;
}

TEST(VarmaskProfile, HistoryInterpolates) {
    const struct {
        const char *what;
        std::vector<ProfileItem> items;
        std::vector<double> x, y;
    } rows[] = {
        {"two items", {{0, 10}, {10, 20}}, {5, 0, 10, 20, -5, 2.5}, {15, 10, 20, 20, 0, 12.5}},
        {"one item", {{10, 20}}, {5, 10, 15, -1}, {10, 20, 20, -2}},
        {"later of equal positions", {{0, 10}, {10, 20}, {10, 30}}, {10, 5}, {30, 20}},
        {"negative positions are never lower", {{-5, 7}, {5, 17}}, {0, -2, 5, -6}, {0, -6.8, 17, 8.4}},
        {"order of insertion", {{10, 20}, {0, 10}}, {5}, {15}},
        {"neighbours within 1e-10 are one point", {{1, 4}, {1 + 5e-11, 8}}, {1 + 2e-11}, {4}},
        {"neighbours just apart", {{0, 0}, {2e-10, 1}}, {1e-10}, {0.5}},
    };
    for (const auto &r : rows) {
        VarProfile p = make(r.items);
        std::vector<double> y(r.x.size(), -99.0);
        ASSERT_EQ(p.GetHistory(static_cast<int32_t>(r.x.size()), r.x.data(), y.data()), S_OK) << r.what;
        for (size_t j = 0; j < y.size(); ++j) EXPECT_NEAR(y[j], r.y[j], 1e-9) << r.what << " at " << r.x[j];
    }
}

TEST(VarmaskProfile, HistoryFailsWithoutPointsOrItems) {
    VarProfile empty, one = make({{1, 2}});
    double x[2] = {1, 2}, y[2] = {-1, -1};
    EXPECT_EQ(static_cast<uint32_t>(empty.GetHistory(1, x, y)), 0x80004005u);
    for (int32_t n : {0, -1, INT32_MIN}) EXPECT_EQ(one.GetHistory(n, x, y), E_FAIL) << n;
    EXPECT_EQ(one.GetHistory(1, nullptr, y), E_FAIL);
    EXPECT_EQ(one.GetHistory(1, x, nullptr), E_FAIL);
    EXPECT_EQ(y[0] + y[1], -2.0);  // untouched
    EXPECT_EQ(one.GetHistory(1, x, y), S_OK);
    EXPECT_EQ(y[0] * 10 + y[1], 19.0);  // only n points written
}

TEST(VarmaskProfile, ItemsFlagAndCopies) {
    zarn::test::HistoryCapture his;
    VarProfile p = make({{1, 2}, {3, 4}});
    EXPECT_FALSE(p.Active());
    p.SetActive(true);
    VarProfile copy = p;
    p.SetActive(false), p.AddItem({5, 6});
    EXPECT_EQ(copy.Active() * 100 + copy.GetSize() * 10 + p.GetSize(), 123u);
    std::vector<ProfileItem> items = p.GetProfile();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[2].x * 10 + items[2].y + p.GetItemAt(1).y * 100, 456.0);
    for (uint32_t k : {3u, UINT32_MAX}) EXPECT_EQ(p.GetItemAt(k).x * 10 + p.GetItemAt(k).y, 0.0);
    EXPECT_EQ(his.text(), "!! VarProfile::GetItemAt: index 3 is not below the size 3\n"
                          "!! VarProfile::GetItemAt: index 3 is not below the size 3\n"
                          "!! VarProfile::GetItemAt: index 4294967295 is not below the size 3\n"
                          "!! VarProfile::GetItemAt: index 4294967295 is not below the size 3\n");
}

// The list owns the profile it is given and appends items to it.
TEST(VarmaskProfile, AttachedToAList) {
    rtvarlst_t *l = rtovarlst_create(2);
    rtovarlst_set_nvar(l, 2);
    rtovarlst_set_var_profile(l, 1, new VarProfile(make({{0, 10}})));
    const ProfileItem item{10, 20};
    rtovarlst_set_var_profile_item(l, 1, &item), rtovarlst_set_var_profile_item(l, 2, &item);
    rtovarlst_set_var_profile_item(l, 1, nullptr), rtovarlst_set_var_profile_item(nullptr, 1, &item);
    double x = 5, y = 0;
    ASSERT_EQ(rtovarlst_inq_var_profile(l, 1)->GetHistory(1, &x, &y), S_OK);
    EXPECT_EQ(y * 10 + rtovarlst_inq_var_profile(l, 1)->GetSize() + (rtovarlst_inq_var_profile(l, 2) != nullptr), 152.0);
    rtovarlst_set_var_profile(l, 1, new VarProfile);  // the old one dies here (ASan sees a leak otherwise)
    rtovarlst_destroy_c(&l);
}

}  // namespace
