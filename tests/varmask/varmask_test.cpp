// Keyword tables, attribute names, print masks, variable filters and profiles.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "capture.h"
#include "failsweep.h"
#include "zarnutils/hsregexp.h"
#include "zarnutils/rtcontext.h"
#include "zarnutils/varattrnames.hpp"
#include "zarnutils/varmask.h"
#include "zarnutils/varprofile.hpp"
#include "zarnutils/varutl.h"

namespace {

std::vector<std::string> split(const char *s) {
    std::istringstream in(s);
    return {std::istream_iterator<std::string>(in), {}};
}
template <const rtvar_keyword *(*Lookup)(const char *, size_t)>
std::string code(const std::string &w) {
    const rtvar_keyword *k = Lookup(w.data(), w.size());
    return k ? std::to_string(k->code) : "-";
}
std::string attribute(const std::string &w) {
    const int a = RTVarAttributeNames::Value(w.c_str());
    return std::to_string(a) + RTVarAttributeNames::Name(a);
}

// "word result" pairs, "-": not found. The first letter must be upper case; the length counts, not a NUL.
TEST(Varmask, KeywordsAndAttributeNames) {
    const std::pair<std::string (*)(const std::string &), const char *> rows[] = {
        {code<rtvar_spec_lookup>, "CALC 0 Fixed 1 fixed - fIXED - IndePendent 2 RECON 6 RECONX - _FIXED -"},
        {code<rtvar_bound_lookup>, "HARD 0 RELAXED 1 SOFT2 3 soft - RELAX - RELAXEDX -"},
        {code<conn_type_lookup>, "UA 50 Temperature 22 AROM-FACTOR 1001 NPLUS2A-BY-VOL 1018 RON - U -"},
        {attribute,
         "AB 19ACTIVE_BOUND ACTIVE 19ACTIVE_BOUND INITIAL 5INIT PARAM_HOMO 16PARAM PT 1PHYSICAL_TYPE"},
        {attribute, "SHADOW 18SHADOW_PRICE Sp 18SHADOW_PRICE TARGET_HOMO 17TARGET UOM 2UNITS value -1 LB -1"},
    };
    for (const auto &[f, pairs] : rows)
        for (auto w = split(pairs); w.size() > 1; w.erase(w.begin(), w.begin() + 2))
            EXPECT_EQ(f(w[0]), w[1]) << w[0];
    const std::vector<std::string> names = split(
        "NAME PHYSICAL_TYPE UNITS BASEUOM VALUE INIT CHANGE LOWER UPPER STEP "
        "BOUND SPEC SSPEC SCALE SBWEIGHT QUALITY PARAM TARGET SHADOW_PRICE ACTIVE_BOUND DESCRIPTION MODIFIED "
        "RLOWER "
        "RUPPER VAR_TYPE THRESHOLD RAMPED CONN_TYPE");
    for (int a = 0; a < 28; ++a) EXPECT_EQ(attribute(names[a]), std::to_string(a) + names[a]);
    EXPECT_EQ(RTVarAttributeNames::Name(28) + attribute("") + RTVarAttributeNames::Name(INT32_MIN) +
                  std::to_string(RTVarAttributeNames::Value(nullptr)),
              "-1-1");
    EXPECT_EQ(rtvar_spec_lookup("FIXEDLY", 5)->code * 10 + rtvar_bound_lookup("SOFT2", 4)->code, 12);
    for (auto [name, f] : {std::pair{"spec", &rtvar_spec_lookup},
                           {"bound", rtvar_bound_lookup},
                           {"conn type", conn_type_lookup}}) {
        EXPECT_EQ(f(nullptr, 5), nullptr) << name;
        EXPECT_EQ(f("FIXED", 0), nullptr) << name;
        EXPECT_EQ(f("HARD", SIZE_MAX), nullptr) << name;
        EXPECT_EQ(f("\xc3\x89TAT", 5), nullptr) << name;
    }
    EXPECT_EQ(std::string(conn_type_string[148]) + conn_type_string[149] + conn_type_string[1000],
              "MOLEFL-LEN");
    int found_again = 0;  // every name by code finds its code again
    for (int c = 0; c < CONN_TYPE_COUNT; ++c)
        found_again += code<conn_type_lookup>(conn_type_string[c]) == std::to_string(c);
    EXPECT_EQ(found_again, 214);
}

// The flag orders, written out here so that the library is not its own oracle.
const std::vector<std::string> kVar = split(
    "NAME PHYSICAL_TYPE LOWER VALUE UPPER SCALE UNITS SPEC STEP SBWEIGHT "
    "SHADOW_PRICE ACTIVE_BOUND BASEUOM QUALITY INIT CHANGE BOUND PARAM TARGET DESCRIPTION MODIFIED VAR_TYPE "
    "THRESHOLD RAMPED CONN_TYPE");
const std::vector<std::string> kEqn =
    split("NAME VALUE SCALE CODE SHADOW_PRICE SHADOW_PRICE_SSI LINEARITY INCLUDED");

template <typename T>
std::string shown(const T *mask, const std::vector<std::string> &names) {
    std::string s;
    for (size_t f = 0; f < names.size(); ++f) s += mask[f] == 0 ? "" : (s.empty() ? "" : ",") + names[f];
    return s;
}

// how: 0 vmask_from_value, 1 vmask_from_value2, 2 emask_from_value, 3-5 the same of the first item alone,
// 6 vmask_select_print_default with the words as print list. The words are IDENTIFIERs ('"' first: a STRING).
std::string mask_of(int how, const char *words) {
    value_t v;
    value_init(&v);
    value_assign_list(&v, gl_create());
    for (const std::string &w : split(words)) {
        auto *item = static_cast<value_t *>(std::calloc(1, sizeof(value_t)));
        w[0] == '"' ? value_assign_copy_of_string(item, &w[1]) : value_assign_copy_of_id(item, w.c_str());
        gl_addtoend(v.u.list, item);
    }
    const value_t *arg = how / 3 == 1 ? static_cast<const value_t *>(v.u.list->head->data) : &v;
    int64_t vm[VMASK_SIZE];
    int32_t em[EMASK_SIZE];
    for (int f = 0; f < VMASK_SIZE; ++f) vm[f] = em[f % EMASK_SIZE] = 1;
    int ok = 1;
    if (how == 6) {
        g_printVar_mask = v.u.list;
        vmask_select_print_default(vm);
        g_printVar_mask = nullptr;
    } else {
        ok = how % 3 == 0   ? vmask_from_value(vm, arg)
             : how % 3 == 1 ? vmask_from_value2(vm, arg)
                            : emask_from_value(em, arg);
    }
    value_destroy(&v);
    return std::to_string(ok) + " " + (how % 3 == 2 ? shown(em, kEqn) : shown(vm, kVar));
}

TEST(Varmask, Masks) {
    zarn::test::HistoryCapture his;
    const std::tuple<int, const char *, const char *> rows[] = {
        {0, "VALUE", "1 VALUE,UNITS"},
        {0, "PARAM", "1 UNITS,PARAM,TARGET"},
        {1, "PARAM", "1 PARAM,TARGET"},
        {1, "Target_Homo", "1 PARAM,TARGET"},
        {0, "", "0 "},
        {1, "", "1 "},
        {2, "", "1 "},
        {0, "Lb", "1 LOWER,UNITS"},
        {0, "SB", "1 UNITS,STEP"},
        {0, "THRESHOLD", "1 UNITS,THRESHOLD"},
        {1, "THRESHOLD VALS", "1 VALUE,THRESHOLD"},
        {1, "VALUE value", "0 VALUE"},
        {0, "NAME \"UPPER", "0 NAME"},
        {0, "UOM SPECS SHADOWPRICE AB RAMPED", "1 UNITS,SPEC,SHADOW_PRICE,ACTIVE_BOUND,RAMPED"},
        {2, "TYPE LB", "0 CODE"},
        {3, "VALUE", "0 "},
        {4, "VALUE", "0 "},
        {5, "NAME", "0 "},
        {2, "NAME VAL EQNSCALE TYPE SHADOWPRICE SHADOW_SSI",
         "1 NAME,VALUE,SCALE,CODE,SHADOW_PRICE,SHADOW_PRICE_SSI"},
        {2, "Shadow_Price_Ssi LINEARITY INCLUDED SHADOW",
         "1 SHADOW_PRICE,SHADOW_PRICE_SSI,LINEARITY,INCLUDED"},
        {6, "", "1 NAME,LOWER,VALUE,UPPER,UNITS,SPEC"},
        {6, "UOM INITIAL PARAM_HOMO", "1 UNITS,INIT,PARAM"},
        {6, "NAME SCALE STEP BASEUOM TARGET_HOMO CONN_TYPE THRESHOLD \"VALUE",
         "1 NAME,SCALE,STEP,BASEUOM,TARGET,CONN_TYPE"},
    };
    for (const auto &[how, words, expect] : rows) EXPECT_EQ(mask_of(how, words), expect) << how << words;
    EXPECT_EQ(his.text(),
              "PRINT_VAR_MASK THRESHOLD is unknown: unable to make assignment\n"
              "PRINT_VAR_MASK item is not an identifier: unable to make assignment\n");
    int64_t v[VMASK_SIZE], w[VMASK_SIZE] = {};
    vmask_select_default(v);
    vmask_copy(v, w);
    vmask_select_none(v);
    int32_t e[EMASK_SIZE], d[EMASK_SIZE] = {};
    emask_select_print_default(e);
    emask_copy(e, d);
    emask_select_none(e);
    EXPECT_EQ(shown(w, kVar) + "|" + shown(v, kVar) + "|" + shown(d, kEqn) + "|" + shown(e, kEqn),
              "NAME,PHYSICAL_TYPE,LOWER,VALUE,UPPER,SCALE,UNITS,SPEC,CONN_TYPE||NAME,VALUE,SCALE,CODE,"
              "LINEARITY,INCLUDED|");
    vmask_select_none(nullptr);
    vmask_select_default(nullptr);
    vmask_copy(nullptr, w);
    vmask_copy(w, nullptr);
    emask_copy(nullptr, d);
    emask_copy(d, nullptr);
    emask_select_none(nullptr);
    emask_select_print_default(nullptr);
    EXPECT_EQ(vmask_from_value(nullptr, nullptr) + vmask_from_value2(v, nullptr) +
                  emask_from_value(nullptr, nullptr),
              0);
    const auto make = [] {
        gl_destroy(g_printVar_mask, value_destroy_list_item);
        g_printVar_mask = nullptr;
        createPrintVarMask();
        return gl_length(g_printVar_mask) == 6;
    };
    // Each failed allocation is reported and leaves the list empty.
    const long seen = zarn::test::fail_each_allocation(make, [&](long n, bool ok) {
        const std::string text = his.text();
        EXPECT_EQ(text.substr(text.find("!! create")), "!! createPrintVarMask: unable to allocate memory\n")
            << n;
        EXPECT_FALSE(ok) << n;
        EXPECT_EQ(gl_length(g_printVar_mask), 0u) << n;
    });
    EXPECT_GE(seen, 13);
    gl_destroy(g_printVar_mask, value_destroy_list_item);
    g_printVar_mask = nullptr;
}

// One digit per filter. Name "": the field filled with FEEDFEED... without terminator; null: no record.
TEST(Varmask, Filters) {
    const vfilter_fn filters[] = {vfilter_always_true,   vfilter_var_is_fixed,
                                  vfilter_regexp_match,  vfilter_fixed_regexp_match,
                                  vfilter_active_bounds, vfilter_regexp_match_with_active_bounds};
    hs_regexp *re = hs_regcomp("^FEED");
    const std::tuple<int32_t, int32_t, int32_t, const char *, hs_regexp *, const char *> rows[] = {
        {0, VAR_CONST, 0, "FEED.T", re, "111100"}, {0, VAR_CONST, 1, "OUT.T", re, "110000"},
        {0, VAR_CALC, 1, "FEED.P", re, "101011"},  {0, VAR_CALC, -1, "OUT.P", re, "100010"},
        {0, VAR_CALC, 0, "FEED.F", re, "101000"},  {0, VAR_MEAS, 2, "FEED.X", re, "101011"},
        {1, VAR_MEAS, 2, "FEED.X", re, "111100"},  {0, VAR_CONST, 1, "FEED", nullptr, "110000"},
        {0, VAR_CALC, 1, "", re, "100010"},        {0, 0, 0, nullptr, re, "000000"},
    };
    const int32_t saved = rtopt_mode;
    for (const auto &[mode, spec, active_bound, name, pattern, expect] : rows) {
        rtvarinfo_t rec{};
        rtopt_mode = mode;
        varSetSpec(&rec.status, spec);
        rec.active_bound = active_bound;
        for (size_t i = 0; i < sizeof rec.name; ++i) rec.name[i] = name && *name ? 0 : "FEED"[i % 4];
        if (name) std::memcpy(rec.name, name, std::strlen(name));
        std::string got;
        for (vfilter_fn f : filters) got += std::to_string(f(name ? &rec : nullptr, pattern));
        EXPECT_EQ(got, expect) << (name ? name : "null") << " mode " << mode;
    }
    rtopt_mode = saved;
    hs_regfree(re);
}

TEST(Varmask, Profiles) {
    const struct {
        std::vector<ProfileItem> items;
        std::vector<double> x, y;
    } rows[] = {
        {{{0, 10}, {10, 20}}, {5, 0, 10, 20, -5, 2.5}, {15, 10, 20, 20, 0, 12.5}},
        {{{10, 20}}, {5, 10, 15, -1}, {10, 20, 20, -2}},
        {{{10, 20}, {0, 10}}, {5}, {15}},
        {{{0, 10}, {10, 20}, {10, 30}}, {10, 5}, {30, 20}},        // the later of equal positions
        {{{-5, 7}, {5, 17}}, {0, -2, 5, -6}, {0, -6.8, 17, 8.4}},  // negative positions are never lower
        {{{1, 4}, {1 + 5e-11, 8}}, {1 + 2e-11}, {4}},              // 1e-10 apart or less: one point
        {{{0, 0}, {2e-10, 1}}, {1e-10}, {0.5}},
    };
    VarProfile p;
    for (const auto &r : rows) {
        p = VarProfile();
        for (const ProfileItem &i : r.items) p.AddItem(i);
        std::vector<double> y(r.x.size() + 1, -1);  // only n points written
        ASSERT_EQ(p.GetHistory(static_cast<int32_t>(r.x.size()), r.x.data(), y.data()), S_OK);
        for (size_t j = 0; j <= r.x.size(); ++j)
            EXPECT_NEAR(y[j], j < r.y.size() ? r.y[j] : -1, 1e-9) << r.x[0];
    }
    double x = 1, y = -1;  // no positions, a missing array or an empty profile: E_FAIL, nothing written
    for (int32_t n : {0, INT32_MIN}) EXPECT_EQ(p.GetHistory(n, &x, &y), E_FAIL) << n;
    EXPECT_EQ(p.GetHistory(1, nullptr, &y), E_FAIL);
    EXPECT_EQ(p.GetHistory(1, &x, nullptr), E_FAIL);
    EXPECT_EQ(y, -1);
    EXPECT_EQ(static_cast<uint32_t>(VarProfile().GetHistory(1, &x, &y)), 0x80004005u);
    zarn::test::HistoryCapture his;
    p.SetActive(!VarProfile().Active());
    VarProfile copy = p;
    p.AddItem({5, 6});
    EXPECT_EQ(p.GetItemAt(2).x * 1000 + copy.Active() * 100 + copy.GetSize() * 10 + p.GetProfile().size(),
              5123.0);
    EXPECT_EQ(p.GetItemAt(3).y, 0.0);
    EXPECT_EQ(his.text(), "!! VarProfile::GetItemAt: index 3 is not below the size 3\n");
    rtvarlst_t *l = rtovarlst_create(2);  // appends to the profile the list owns; nothing where there is none
    rtovarlst_set_nvar(l, 2);
    rtovarlst_set_var_profile(l, 1, new VarProfile(copy));
    rtovarlst_set_var_profile_item(l, 1, &rows[0].items[0]);
    rtovarlst_set_var_profile_item(l, 2, &rows[0].items[0]);
    EXPECT_EQ(rtovarlst_inq_var_profile(l, 1)->GetSize() * 10 + (rtovarlst_inq_var_profile(l, 2) != nullptr),
              30u);
    rtovarlst_destroy_c(&l);
}

}  // namespace
