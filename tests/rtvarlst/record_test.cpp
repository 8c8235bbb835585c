// Variable records: one call reads, writes or initialises the fields a mask names;
// writes keep the bounds around the value, initialisation fills in the defaults.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <regex>
#include <set>

#include "platform/xalloc.h"
#include "zarnutils/varprofile.hpp"
#include "varlst_fixture.h"
#include "zarnutils/varutl.h"

using namespace zarn::test;

namespace {

constexpr int32_t kTemperature = 22, kFahrenheit = 2;
RecordingBlock g_old_block, g_new_block;
int g_old_mgr, g_new_mgr;

int64_t word(int32_t type, int32_t spec = 0) {
    int64_t w = 0;
    varSetPhysicalType(&w, kTemperature), varSetType(type, &w), varSetSpec(&w, spec);
    return w;
}

// Every field, "|"-separated: NAME DESCRIPTION VALUE INIT LOWER UPPER STEP INTSCALE SCALE SBWEIGHT SHADOW_PRICE TARGET_HOMO
// THRESHOLD QUALITY STATUS RELATED MODIFIED(2) BASEUOM PARAM_HOMO ACTIVE_BOUND RAMPED UOM CONN_TYPE BASIC CONN_MGR BLOCKPTR VAR_PROFILE.
std::string fields(const rtvarinfo_t &r) {
    auto ptr = [](const void *p) { return !p ? "0" : p == &g_new_block || p == &g_new_mgr ? "new" : "p"; };
    char b[1400];
    std::snprintf(b, sizeof b, "%s|%s|%.9g|%.9g|%.9g|%.9g|%.9g|%.9g|%.9g|%.9g|%.9g|%.9g|%.9g|%d|%lld|%d|%u|%u|%lld|%d|%d|%d|%lld|%d|%lld|%s|%s|%s",
                  r.name, r.description ? r.description : "-", r.value, r.init, r.lower, r.upper, r.step, r.intscale, r.scale,
                  r.sbweight, r.shadow_price, r.target_homo, r.threshold, r.quality, static_cast<long long>(r.status), r.related,
                  r.modified.mask1, r.modified.mask2, static_cast<long long>(r.baseuom), r.param_homo, r.active_bound, r.ramped,
                  static_cast<long long>(r.uom), r.conn_type, static_cast<long long>(r.basic), ptr(r.conn_mgr), ptr(r.blockptr), ptr(r.profile));
    return b;
}

// A record whose every field reads -1 (texts "?"), so that what an inquiry fills shows.
rtvarinfo_t sentinel(uint32_t mask1, uint32_t mask2 = 0) {
    rtvarinfo_t r{{mask1, mask2}, "?"};
    r.value = r.init = r.lower = r.upper = r.step = r.intscale = r.scale = r.sbweight = r.shadow_price = r.target_homo = r.threshold = -1;
    r.quality = r.related = r.param_homo = r.active_bound = r.conn_type = -1, r.status = r.baseuom = r.uom = r.basic = -1;
    r.ramped = 0xFF, r.modified = {9, 9}, r.description = "?";
    return r;
}

// Item 1: a STATE temperature held in F, every attribute set one by one; item 2: algebraic with 7 in its RELATED column.
rtvarlst_t *old_items() {
    rtvarlst_t *l = named_list(2);
    rtovarlst_set_var_status(l, 1, word(VAR_TYPE_STATE)), rtovarlst_set_var_related(l, 1, 1), rtovarlst_set_var_related(l, 2, 7);
    rtovarlst_set_var_baseuom(l, 1, kFahrenheit), rtovarlst_set_var_value(l, 1, 50, 0), rtovarlst_set_var_initial(l, 1, 32, 0);
    rtovarlst_set_var_lower(l, 1, 0, 0), rtovarlst_set_var_upper(l, 1, 212, 0), rtovarlst_set_var_step_inbaseuom(l, 1, 1);
    rtovarlst_set_var_slvscl(l, 1, 9, 0), rtovarlst_set_var_sbweight(l, 1, 0.5), rtovarlst_set_var_shadow_price(l, 1, 2.5, 0);
    rtovarlst_set_var_target_homo(l, 1, 3.5, 0), rtovarlst_set_var_threshold(l, 1, 4.5, 0), rtovarlst_set_var_quality(l, 1, 1);
    rtovarlst_set_var_modified_string(l, 1, "1;1"), rtovarlst_set_var_active_bound(l, 1, 2), rtovarlst_set_var_ramped(l, 1, 5);
    rtovarlst_set_var_uom(l, 1, 1), rtovarlst_set_var_conn_type(l, 1, 5), rtovarlst_set_var_basic(l, 1, 7);
    rtovarlst_set_var_connMgr(l, 1, &g_old_mgr), rtovarlst_set_var_blockptr(l, 1, &g_old_block);
    rtovarlst_set_var_description(l, 1, "old"), rtovarlst_set_var_profile(l, 1, new VarProfile);
    return l;
}

TEST(VarRecord, MaskCodesAddressTheirHalf) {
    const struct { int32_t v; uint32_t mask1, mask2; } rows[] = {
        {RTVARINFO_VALUE, 2, 0}, {RTVARINFO_BASIC, 0, 16}, {RTVARINFO_ALL, 0x7FFFFFFF, 0x7FFFFFFF}, {INT32_MIN, 0, 0x80000000u}, {0, 0, 0}};
    for (const auto &row : rows) {
        const rtvarmask_t m = rtvarinfo_mask_from_int(row.v);
        EXPECT_TRUE(m.mask1 == row.mask1 && m.mask2 == row.mask2 && rtvarinfo_mask_has(&m, row.v) == (row.v != 0)) << row.v;
    }
    rtvarmask_t m{0, 0};
    rtvarinfo_mask_add(&m, RTVARINFO_VALUE), rtvarinfo_mask_add(&m, RTVARINFO_UOM), rtvarinfo_mask_add(&m, RTVARINFO_CONN_TYPE);
    EXPECT_TRUE(m.mask1 == 2 && m.mask2 == 10 && !rtvarinfo_mask_has(&m, RTVARINFO_BASIC) && !rtvarinfo_mask_has(&m, RTVARINFO_LOWER));
}

TEST(VarRecord, ValueAndBoundsAreWrittenInsideEachOther) {
    // Current value (F, stored), fields asked, new LOWER/VALUE/UPPER, in SI; the change events in order.
    const int32_t lv = RTVARINFO_LOWER | RTVARINFO_VALUE, uv = RTVARINFO_UPPER | RTVARINFO_VALUE, luv = lv | uv;
    const struct { double now; int32_t mask; double lo, v, up; unsigned char si; const char *events; } rows[] = {
        {3, lv, 5, 6, -1, 0, "1024 8 "}, {7, lv, 5, 6, -1, 0, "8 1024 "}, {5, lv, 5, 6, -1, 0, "8 1024 "},
        {3, uv, -1, 6, 10, 0, "256 1024 "}, {5, uv, -1, 2, 5, 0, "256 1024 "}, {5, uv, -1, 2, 4, 0, "1024 256 "},
        {10, luv, 1, 2, 3, 0, "8 1024 256 "}, {10, luv, 20, 25, 30, 0, "256 1024 8 "}, {10, luv & ~RTVARINFO_VALUE, 20, -1, 30, 1, "8 256 "},
        {10, RTVARINFO_VALUE, -1, 25, -1, 0, "1024 "}, {40, lv, 275, 280, -1, 1, "8 1024 "}, {40, uv, -1, 270, 275, 1, "1024 256 "}};  // 40 F: 277.6 K
    for (const auto &row : rows) {
        ChangeTap tap;
        rtvarlst_t *l = old_items();
        rtovarlst_set_var_value(l, 1, row.now, 0), tap.take();
        rtvarinfo_t r = sentinel(row.mask), back = r;
        r.lower = row.lo, r.value = row.v, r.upper = row.up;
        EXPECT_EQ(rtovarlst_set_var(l, 1, &r, row.si), 0);
        EXPECT_EQ(std::regex_replace(tap.take(), std::regex("X1:"), ""), row.events) << row.now << " " << row.mask;
        rtovarlst_inq_var(l, 1, &back, row.si);
        EXPECT_EQ(fields(back), fields(r));
        rtovarlst_destroy_c(&l);
    }
}

TEST(VarRecord, ReadOnlyFieldsMissingArgumentsAndRefusedRelations) {
    const struct { std::function<void(rtvarlst_t *, rtvarinfo_t &)> run; const char *out; } rows[] = {
        {[](rtvarlst_t *l, rtvarinfo_t &r) { r.mask.mask1 = RTVARINFO_NAME | RTVARINFO_INTSCALE | RTVARINFO_SHADOW_PRICE | RTVARINFO_ACTIVE_BOUND, rtovarlst_set_var(l, 1, &r, 0); },
         "The NAME attribute of a variable is read-only\nThe INTSCALE attribute of a variable is read-only\n"
         "The SHADOW_PRICE attribute of a variable is read-only\nThe ACTIVE_BOUND attribute of a variable is read-only\n|"},
        {[](rtvarlst_t *, rtvarinfo_t &r) { rtovarlst_inq_var(nullptr, 1, &r, 1), rtovarlst_inq_var(nullptr, 1, nullptr, 0); },
         "|A(rtovarlst_query: varlst is NULL)A(rtovarlst_query: varlst is NULL)A(rtovarlst_query: varinfo pointer is NULL)"},
        {[](rtvarlst_t *l, rtvarinfo_t &r) {
             EXPECT_EQ(rtovarlst_set_var(nullptr, 1, &r, 0) + rtovarlst_set_var(l, 0, &r, 0) + rtovarlst_set_var(nullptr, 0, nullptr, 1), 0);
         }, "|A(rtovarlst_set_var: varlst is NULL)A(rtovarlst_set_var: index is 0)A(rtovarlst_set_var: varlst is NULL)"
            "A(rtovarlst_set_var: index is 0)A(rtovarlst_set_var: varinfo pointer is NULL)"},
        {[](rtvarlst_t *l, rtvarinfo_t &r) { rtovarlst_initialize_var(nullptr, 1, &r, 0), rtovarlst_initialize_var(l, 0, &r, 0), rtovarlst_initialize_var(l, 1, nullptr, 0); },
         "|A(rtovarlst_initialize_var: varlst is NULL)A(rtovarlst_initialize_var: index is 0)A(rtovarlst_initialize_var: varinfo pointer is NULL)"},
        {[](rtvarlst_t *l, rtvarinfo_t &r) { r.name[0] = '\0', rtovarlst_initialize_var(l, 1, &r, 0); },
         "rtovarlst_initialize_var: Initialization failed, a variable must define its NAME attribute.\n|"},
        {[](rtvarlst_t *l, rtvarinfo_t &r) { r.mask.mask1 = RTVARINFO_RELATED, r.status = word(VAR_TYPE_STATE), rtovarlst_set_var(l, 1, &r, 0); },
         "!! rtovarlst_set_var_type: State variable must specify non-zero offset to differential variable\n|"},
        {[](rtvarlst_t *l, rtvarinfo_t &r) { r.mask.mask1 = RTVARINFO_RELATED, r.related = 4, rtovarlst_set_var(l, 2, &r, 0); },
         "!! rtovarlst_set_var_type: Non zero relation given for algebraic variable type\n|"}};
    for (const auto &row : rows) {
        rtvarlst_t *l = named_list(2);
        const std::string before = dump(l);
        rtvarinfo_t r{{0, 0}, "N"};
        std::string got;
        {
            StderrCapture err;
            HistoryCapture his;
            row.run(l, r);
            got = his.text() + "|" + std::regex_replace(err.text(), std::regex("Assertion '([^\n]*)' failed in source/rtvarlst/rtvarlst:[0-9]+\n"), "A($1)");
        }
        EXPECT_EQ(got, row.out);
        EXPECT_EQ(dump(l), before) << row.out;
        rtovarlst_destroy_c(&l);
    }
}

TEST(VarRecord, InquiryFillsOnlyTheAskedFieldsWithTheListsOwnPointers) {
    const struct { int32_t i; uint32_t mask1, mask2; unsigned char si; const char *shown; } rows[] = {
        {1, RTVARINFO_VALUE | RTVARINFO_STEP, 0, 0, "?|?|50|-1|-1|-1|1|-1|-1|-1|-1|-1|-1|-1|-1|-1|9|9|-1|-1|-1|255|-1|-1|-1|0|0|0"},
        {1, RTVARINFO_VALUE | RTVARINFO_STEP, 0, 1, "?|?|283.15|-1|-1|-1|255.927778|-1|-1|-1|-1|-1|-1|-1|-1|-1|9|9|-1|-1|-1|255|-1|-1|-1|0|0|0"},
        {1, RTVARINFO_RELATED | RTVARINFO_RAMPED | RTVARINFO_UNITS, 0, 0, "?|?|-1|-1|-1|-1|-1|-1|-1|-1|-1|-1|-1|-1|69984|1|9|9|-1|-1|-1|1|1|-1|-1|0|0|0"},
        {2, RTVARINFO_RELATED | RTVARINFO_MODIFIED, 0, 0, "?|?|-1|-1|-1|-1|-1|-1|-1|-1|-1|-1|-1|-1|0|0|0|0|-1|-1|-1|255|-1|-1|-1|0|0|0"},
        {1, RTVARINFO_SPEC, 2, 0, "?|?|-1|-1|-1|-1|-1|-1|-1|-1|-1|-1|-1|-1|69984|-1|9|9|-1|-1|-1|255|1|-1|-1|0|0|0"},
        {2, RTVARINFO_VAR_TYPE | RTVARINFO_NAME, 16, 0, "X2|?|-1|-1|-1|-1|-1|-1|-1|-1|-1|-1|-1|-1|0|-1|9|9|-1|-1|-1|255|-1|-1|0|0|0|0"},
        {1, RTVARINFO_BOUND_TYPE | RTVARINFO_MARKED | RTVARINFO_PHYSICAL_TYPE | RTVARINFO_CHANGE, 1, 1,
         "?|?|-1|-1|-1|-1|-1|-1|-1|-1|-1|-1|-1|-1|-1|-1|9|9|-1|-1|-1|255|-1|-1|-1|0|0|0"}};
    rtvarlst_t *l = old_items();
    for (const auto &row : rows) {
        rtvarinfo_t r = sentinel(row.mask1, row.mask2);
        rtovarlst_inq_var(l, row.i, &r, row.si);
        EXPECT_EQ(fields(r), row.shown) << row.i << " " << row.mask1 << " " << row.mask2;
    }
    rtvarinfo_t r = sentinel(RTVARINFO_DESCRIPTION | RTVARINFO_CONN_MGR | RTVARINFO_BLOCKPTR | RTVARINFO_VAR_PROFILE);
    rtovarlst_inq_var(l, 1, &r, 0);
    EXPECT_TRUE(r.description == rtovarlst_inq_var_description(l, 1) && r.conn_mgr == &g_old_mgr && r.blockptr == &g_old_block &&
                r.profile == rtovarlst_inq_var_profile(l, 1) && r.profile != nullptr);
    rtovarlst_destroy_c(&l);
}

TEST(VarRecord, SetWritesExactlyTheAskedWritableFields) {
    rtvarinfo_t fresh{{0, 0}, "NEW", 60, 70, 10, 100, 2, 3, 4, 5, 6, 2, word(VAR_TYPE_STATE, VAR_CONST), 2, {3, 4}, &g_new_mgr,
                      3 + (int64_t{1} << 32), &g_new_block, 1, 7, "new", 6, nullptr, 8, 0, 2, 22, 9};
    const char *const names[] = {"NAME", "DESCRIPTION", "VALUE", "INIT", "LOWER", "UPPER", "STEP", "INTSCALE", "SCALE", "SBWEIGHT",
                                 "SHADOW_PRICE", "TARGET_HOMO", "THRESHOLD", "QUALITY", "STATUS", "RELATED", "MOD1", "MOD2", "BASEUOM",
                                 "PARAM_HOMO", "ACTIVE_BOUND", "RAMPED", "UOM", "CONN_TYPE", "BASIC", "CONN_MGR", "BLOCKPTR", "VAR_PROFILE"};
    const std::string all = "DESCRIPTION VALUE INIT LOWER UPPER STEP SCALE SBWEIGHT TARGET_HOMO THRESHOLD QUALITY STATUS RELATED MOD1 MOD2 ";
    const std::string tail = "PARAM_HOMO RAMPED UOM CONN_TYPE BASIC BLOCKPTR ";
    const struct { uint32_t mask1, mask2; unsigned char si; std::string changed; } rows[] = {
        {0x7FFFFFFF, 0x7FFFFFFF, 0, all + "BASEUOM " + tail}, {0x7FFFFFFF & ~uint32_t{RTVARINFO_BASEUOM}, 0x7FFFFFFF, 1, all + tail},
        {RTVARINFO_NAME | RTVARINFO_INTSCALE | RTVARINFO_SHADOW_PRICE | RTVARINFO_ACTIVE_BOUND | RTVARINFO_CONN_MGR | RTVARINFO_VAR_PROFILE |
             RTVARINFO_UNITS | RTVARINFO_BOUND_TYPE | RTVARINFO_MARKED | RTVARINFO_PHYSICAL_TYPE | RTVARINFO_VAR_TYPE | RTVARINFO_CHANGE | RTVARINFO_SPEC, 1, 0, ""},
        {RTVARINFO_VALUE, 0, 0, "VALUE "}, {RTVARINFO_INIT, 0, 1, "INIT "}, {RTVARINFO_LOWER, 0, 0, "LOWER "}, {RTVARINFO_UPPER, 0, 0, "UPPER "},
        {RTVARINFO_STEP, 0, 1, "STEP "}, {RTVARINFO_SCALE, 0, 0, "SCALE "}, {RTVARINFO_SBWEIGHT, 0, 0, "SBWEIGHT "}, {RTVARINFO_QUALITY, 0, 0, "QUALITY "},
        {RTVARINFO_STATUS, 0, 0, "STATUS "}, {RTVARINFO_RELATED, 0, 0, "RELATED "}, {RTVARINFO_MODIFIED, 0, 0, "MOD1 MOD2 "},
        {RTVARINFO_BASEUOM, 0, 0, "BASEUOM "}, {RTVARINFO_BLOCKPTR, 0, 0, "BLOCKPTR "}, {RTVARINFO_PARAM_HOMO, 0, 0, "PARAM_HOMO "},
        {RTVARINFO_TARGET_HOMO, 0, 1, "TARGET_HOMO "}, {RTVARINFO_DESCRIPTION, 0, 0, "DESCRIPTION "}, {0, 2, 0, "UOM "},
        {RTVARINFO_RAMPED, 0, 0, "RAMPED "}, {RTVARINFO_THRESHOLD, 0, 1, "THRESHOLD "}, {0, 8, 0, "CONN_TYPE "}, {0, 16, 0, "BASIC "}};
    for (const auto &row : rows) {
        rtvarlst_t *l = old_items();
        rtvarinfo_t before = sentinel(0x7FFFFFFF, 0x7FFFFFFF), after = before, asked = fresh;
        rtovarlst_inq_var(l, 1, &before, row.si);
        asked.mask = {row.mask1, row.mask2};
        {
            HistoryCapture his;
            rtovarlst_set_var(l, 1, &asked, row.si);
        }
        rtovarlst_inq_var(l, 1, &after, row.si);
        const std::string b = fields(before), a = fields(after), f = fields(fresh);
        std::string changed;
        for (size_t k = 0, pb = 0, pa = 0, pf = 0; k < 28; ++k) {
            auto next = [](const std::string &s, size_t &p) { size_t e = s.find('|', p); std::string t = s.substr(p, e - p); p = e + 1; return t; };
            const std::string x = next(b, pb), y = next(a, pa), z = next(f, pf);
            if (x == y) continue;
            changed += std::string(names[k]) + " ";
            EXPECT_EQ(y, k == 18 ? "3" : z) << names[k];  // BASEUOM: its low 32 bits
        }
        EXPECT_EQ(changed, row.changed) << row.mask1 << " " << row.mask2;
        rtovarlst_destroy_c(&l);
    }
}

TEST(VarRecord, InitialisationDefaultsAndUnits) {
    const int64_t state = word(VAR_TYPE_STATE);
    const int32_t most = RTVARINFO_MODIFIED | RTVARINFO_SCALE | RTVARINFO_SBWEIGHT | RTVARINFO_QUALITY | RTVARINFO_ACTIVE_BOUND | RTVARINFO_TARGET_HOMO |
                         RTVARINFO_PARAM_HOMO | RTVARINFO_DESCRIPTION | RTVARINFO_THRESHOLD | RTVARINFO_RAMPED | RTVARINFO_BLOCKPTR,
                  reals = RTVARINFO_VALUE | RTVARINFO_LOWER | RTVARINFO_INIT | RTVARINFO_STEP | RTVARINFO_STATUS;
    // Unit and base unit the item had, fields asked, status word, in SI; then every field as stored.
    const struct { int32_t uom, base; uint32_t mask1, mask2; int64_t status; unsigned char si; const char *shown; } rows[] = {
        {0, 1, RTVARINFO_NAME, 0, 0, 1, "N||1|1e+35|-1e+20|1e+20|1e+35|1|1|1e+35|1e+35|1e+35|1e+35|0|0|0|0|0|1|0|0|0|0|0|0|0|0|0"},
        {0, 1, RTVARINFO_STATUS | RTVARINFO_RELATED, 0, state, 0, "N||1|1e+35|-1e+20|1e+20|1e+35|1|1|1e+35|1e+35|1e+35|1e+35|0|69984|3|0|0|1|0|0|0|0|0|0|0|0|0"},
        {0, 1, RTVARINFO_RELATED, 0, state, 0, "N||1|1e+35|-1e+20|1e+20|1e+35|1|1|1e+35|1e+35|1e+35|1e+35|0|0|0|0|0|1|0|0|0|0|0|0|0|0|0"},
        {kFahrenheit, 1, RTVARINFO_STATUS, 0, state, 0, "N||460.67|1e+35|-1e+20|1e+20|1e+35|0.555555556|1|1e+35|1e+35|1e+35|1e+35|0|69984|0|0|0|1|0|0|0|2|0|0|0|0|0"},
        {0, 1, RTVARINFO_INTSCALE | RTVARINFO_STATUS, 0, state, 0, "N||0.25|1e+35|-2.5e+19|2.5e+19|1e+35|4|1|1e+35|1e+35|1e+35|1e+35|0|69984|0|0|0|1|0|0|0|0|0|0|0|0|0"},
        {0, 1, RTVARINFO_VALUE | RTVARINFO_STATUS | RTVARINFO_BASEUOM, 0, state, 1, "N||300|1e+35|-1e+20|1e+20|1e+35|1|1|1e+35|1e+35|1e+35|1e+35|0|69984|0|0|0|2|0|0|0|0|0|0|0|0|0"},
        {0, kFahrenheit, reals, 0, state, 1, "N||212|32|32|1.8e+20|-459.67|1|1.8|1e+35|1e+35|1e+35|1e+35|0|69984|0|0|0|1|0|0|0|0|0|0|0|0|0"},
        {0, kFahrenheit, reals, 0, state, 0, "N||373.15|273.15|273.15|1.8e+20|-459.67|1|1.8|1e+35|1e+35|1e+35|1e+35|0|69984|0|0|0|1|0|0|0|0|0|0|0|0|0"},
        {0, 1, most, 2 | 8 | 16, 0, 1, "N|d|1|1e+35|-1e+20|1e+20|1e+35|1|2|4|1e+35|7|1e+35|2|0|0|3|4|1|1|6|0|3|22|9|0|0|0"}};
    for (const auto &row : rows) {
        rtvarlst_t *l = named_list(2);
        rtovarlst_set_var_uom(l, 2, row.uom), rtovarlst_set_var_baseuom(l, 2, row.base);
        rtvarinfo_t r{{row.mask1, row.mask2}, "N", row.base == 1 ? 300 : 373.15, 273.15, 273.15, 0, 0, 4, 2, 4, 0, 2, row.status, 3, {3, 4},
                      &g_new_mgr, 2, &g_new_block, 1, 7, "d", 6, nullptr, 5, 1, 3, 22, 9};
        rtovarlst_initialize_var(l, 2, &r, row.si);
        rtvarinfo_t got = sentinel(0x7FFFFFFF, 0x7FFFFFFF);
        rtovarlst_inq_var(l, 2, &got, 0);
        EXPECT_EQ(fields(got), row.shown) << row.mask1;
        rtovarlst_destroy_c(&l);
    }
}

// Each allocation of a full initialisation and of a full write failing in turn: the failing attribute keeps
// its old value with the dictionary's message, the others are written, nothing leaks.
TEST(VarRecord, EachAllocationFailsInTurn) {
    const rtvarinfo_t r{{0x7FFFFFFF, 0x7FFFFFFF}, "NEW", 1, 2, 0, 3, 0.5, 1, 1, 4, 5, 2, word(VAR_TYPE_STATE), 2, {3, 4}, nullptr, 1,
                        &g_new_block, 1, 7, "new", 6, nullptr, 8, 1, 0, 22, 9};
    std::set<std::string> texts;
    for (long n = 0, total = 1; n <= total; ++n) {
        rtvarlst_t *l = named_list(2);
        HistoryCapture his;
        StderrCapture err;
        zarn::failalloc_set(n);
        rtovarlst_initialize_var(l, 1, &r, 1), rtovarlst_set_var(l, 2, &r, 1);
        if (n == 0) total = zarn::failalloc_count();
        zarn::failalloc_set(0);
        texts.insert(std::regex_replace(his.text(), std::regex("The [A-Z_]+ attribute of a variable is read-only\n"), "") + err.text());
        rtvarinfo_t got = sentinel(0x7FFFFFFF, 0x7FFFFFFF);
        rtovarlst_inq_var(l, 2, &got, 1);
        EXPECT_EQ(fields(got).substr(0, 12), "X2|new|1|2|0") << n;
        rtovarlst_destroy_c(&l);
    }
    EXPECT_EQ(texts, (std::set<std::string>{"", "!!attribute dictionary: unable to allocate a sparse record\n"}));
}

}  // namespace
