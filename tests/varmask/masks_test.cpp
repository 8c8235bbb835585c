// Print masks from lists of words, the default print list, and the VARFILE
// attribute words both ways.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <sstream>
#include <string>

#include "capture.h"
#include "failsweep.h"
#include "zarnutils/varattrnames.hpp"
#include "zarnutils/varmask.h"

namespace {

using zarn::test::HistoryCapture;

// The flag order, written out here so that the library is not its own oracle.
const char *const kVar[VMASK_SIZE] = {"NAME", "PHYSICAL_TYPE", "LOWER", "VALUE", "UPPER", "SCALE", "UNITS",
                                      "SPEC", "STEP", "SBWEIGHT", "SHADOW_PRICE", "ACTIVE_BOUND", "BASEUOM",
                                      "QUALITY", "INIT", "CHANGE", "BOUND", "PARAM", "TARGET", "DESCRIPTION",
                                      "MODIFIED", "VAR_TYPE", "THRESHOLD", "RAMPED", "CONN_TYPE"};
const char *const kEqn[EMASK_SIZE] = {"NAME", "VALUE", "SCALE", "CODE", "SHADOW_PRICE", "SHADOW_PRICE_SSI",
                                      "LINEARITY", "INCLUDED"};

template <typename T>
std::string shown(const T *mask, const char *const *names, int n) {
    std::string s;
    for (int f = 0; f < n; ++f) s += mask[f] == 0 ? "" : (s.empty() ? "" : ",") + std::string(names[f]);
    return s;
}

// A LIST value of the words as identifiers; a word starting with '"' becomes a STRING.
struct List {
    value_t v;
    explicit List(const char *words) {
        value_init(&v);
        gl_list_t *l = gl_create();
        std::istringstream in(words);
        for (std::string w; in >> w;) {
            value_t *item = static_cast<value_t *>(std::calloc(1, sizeof(value_t)));
            w[0] == '"' ? value_assign_copy_of_string(item, w.c_str() + 1) : value_assign_copy_of_id(item, w.c_str());
            gl_addtoend(l, item);
        }
        value_assign_list(&v, l);
    }
    ~List() { value_destroy(&v); }
};

// parse: 0 vmask_from_value, 1 vmask_from_value2, 2 emask_from_value; every flag starts at 1.
std::string parsed(int parse, const value_t *v) {
    int64_t vm[VMASK_SIZE];
    int32_t em[EMASK_SIZE];
    for (int f = 0; f < VMASK_SIZE; ++f) vm[f] = em[f % EMASK_SIZE] = 1;
    int got = parse == 0 ? vmask_from_value(vm, v) : parse == 1 ? vmask_from_value2(vm, v) : emask_from_value(em, v);
    return std::to_string(got) + " " + (parse == 2 ? shown(em, kEqn, EMASK_SIZE) : shown(vm, kVar, VMASK_SIZE));
}

TEST(VarmaskMasks, FromWords) {
    const struct {
        int parse;
        const char *words, *expect;
    } rows[] = {
        {0, "VALUE", "1 VALUE,UNITS"}, {0, "PARAM", "1 UNITS,PARAM,TARGET"}, {1, "PARAM", "1 PARAM,TARGET"},
        {1, "Target_Homo", "1 PARAM,TARGET"}, {0, "", "0 "}, {1, "", "1 "}, {0, "Lb", "1 LOWER,UNITS"},
        {0, "UB", "1 UPPER,UNITS"}, {0, "SCALE", "1 SCALE,UNITS"}, {0, "SB", "1 UNITS,STEP"},
        {0, "INITIAL", "1 UNITS,INIT"}, {0, "THRESHOLD", "1 UNITS,THRESHOLD"}, {1, "THRESHOLD VALS", "1 VALUE,THRESHOLD"},
        {0, "NAME PHYSICAL_TYPE SPECS SBWEIGHT SP ACTIVEBOUND BASEUOM QUALITY CHANGE BOUND DESCRIPTION MODIFIED "
            "VAR_TYPE RAMPED CONN_TYPE",
         "1 NAME,PHYSICAL_TYPE,SPEC,SBWEIGHT,SHADOW_PRICE,ACTIVE_BOUND,BASEUOM,QUALITY,CHANGE,BOUND,DESCRIPTION,"
         "MODIFIED,VAR_TYPE,RAMPED,CONN_TYPE"},
        {0, "UOM SHADOWPRICE AB", "1 UNITS,SHADOW_PRICE,ACTIVE_BOUND"},
        {0, "PARAM XYZ", "0 PARAM"},  // flags set before a bad item stay; no further rule
        {1, "VALUE value", "0 VALUE"}, {0, "NAME \"UPPER", "0 NAME"},
        {2, "", "1 "},
        {2, "NAME VAL EQNSCALE TYPE SHADOWPRICE SHADOW_SSI LINEARITY INCLUDED",
         "1 NAME,VALUE,SCALE,CODE,SHADOW_PRICE,SHADOW_PRICE_SSI,LINEARITY,INCLUDED"},
        {2, "Shadow_Price_Ssi VALUES SHADOW", "1 VALUE,SHADOW_PRICE,SHADOW_PRICE_SSI"},
        {2, "SHADOWPRICESSI SCALE VALS VALUE SHADOW_PRICE", "1 VALUE,SCALE,SHADOW_PRICE,SHADOW_PRICE_SSI"},
        {2, "TYPE LB", "0 CODE"}, {2, "NA", "0 "}, {2, "\"NAME", "0 "},
    };
    for (const auto &r : rows) {
        List list(r.words);
        EXPECT_EQ(parsed(r.parse, &list.v), r.expect) << r.parse << r.words;
    }
    List not_list("VALUE");
    for (int parse : {0, 1, 2}) {
        EXPECT_EQ(parsed(parse, static_cast<const value_t *>(not_list.v.u.list->head->data)), "0 ") << parse;
        EXPECT_EQ(parsed(parse, nullptr), "0 ") << parse;
    }
}

TEST(VarmaskMasks, SelectAndCopy) {
    for (int f = 0; f < VMASK_SIZE; ++f) EXPECT_STREQ(vmask_names[f], kVar[f]);
    for (int f = 0; f < 6; ++f) EXPECT_STREQ(emask_names[f], kEqn[f]);
    int64_t v[VMASK_SIZE], w[VMASK_SIZE] = {};
    vmask_select_default(v), vmask_copy(v, w), vmask_select_none(v);
    EXPECT_EQ(shown(w, kVar, VMASK_SIZE) + "|" + shown(v, kVar, VMASK_SIZE),
              "NAME,PHYSICAL_TYPE,LOWER,VALUE,UPPER,SCALE,UNITS,SPEC,CONN_TYPE|");
    int32_t e[EMASK_SIZE], d[EMASK_SIZE] = {};
    emask_select_print_default(e), emask_copy(e, d), emask_select_none(e);
    EXPECT_EQ(shown(d, kEqn, EMASK_SIZE) + "|" + shown(e, kEqn, EMASK_SIZE), "NAME,VALUE,SCALE,CODE,LINEARITY,INCLUDED|");
    // Null masks and sources are ignored.
    vmask_select_none(nullptr), vmask_select_default(nullptr), vmask_select_print_default(nullptr);
    vmask_copy(nullptr, w), vmask_copy(w, nullptr), emask_copy(nullptr, d), emask_select_none(nullptr);
    emask_select_print_default(nullptr);
    EXPECT_EQ(vmask_from_value(nullptr, nullptr) + vmask_from_value2(nullptr, nullptr) + emask_from_value(nullptr, nullptr), 0);
}

class PrintDefault : public ::testing::Test {
protected:
    void TearDown() override { drop(); }
    static void drop() {
        gl_destroy(g_printVar_mask, value_destroy_list_item);
        g_printVar_mask = nullptr;
    }
    std::string with_host_list(const char *words) {
        List host(words);
        g_printVar_mask = host.v.u.list;
        int64_t mask[VMASK_SIZE];
        vmask_select_print_default(mask);
        g_printVar_mask = nullptr;
        return shown(mask, kVar, VMASK_SIZE);
    }
    HistoryCapture his;
};

TEST_F(PrintDefault, MadeWhenAbsentOrEmpty) {
    drop();
    int64_t mask[VMASK_SIZE];
    vmask_select_print_default(mask);
    EXPECT_EQ(shown(mask, kVar, VMASK_SIZE), "NAME,LOWER,VALUE,UPPER,UNITS,SPEC");
    std::string names;
    for (gl_node_t *n = g_printVar_mask->head; n; n = n->next)
        names += std::to_string(static_cast<value_t *>(n->data)->value_type) + static_cast<value_t *>(n->data)->u.text;
    EXPECT_EQ(names, "3NAME3LOWER3VALUE3UPPER3UNITS3SPEC");
    drop();
    gl_list_t *empty = g_printVar_mask = gl_create();
    createPrintVarMask(), createPrintVarMask();  // the second keeps the full list
    EXPECT_TRUE(g_printVar_mask == empty && gl_length(empty) == 6);
    EXPECT_EQ(his.text(), "");
}

TEST_F(PrintDefault, NamesComparedExactly) {
    EXPECT_EQ(with_host_list("NAME PHYSICAL_TYPE LOWER VALUE UPPER SCALE UOM SPEC STEP SBWEIGHT SHADOW_PRICE "
                             "ACTIVE_BOUND BASEUOM QUALITY INITIAL CHANGE BOUND PARAM_HOMO TARGET_HOMO DESCRIPTION "
                             "CONN_TYPE THRESHOLD Name SP \"VALUE"),
              "NAME,PHYSICAL_TYPE,LOWER,VALUE,UPPER,SCALE,UNITS,SPEC,STEP,SBWEIGHT,SHADOW_PRICE,ACTIVE_BOUND,"
              "BASEUOM,QUALITY,INIT,CHANGE,BOUND,PARAM,TARGET,DESCRIPTION,CONN_TYPE");
    EXPECT_EQ(his.text(), "PRINT_VAR_MASK THRESHOLD is unknown: unable to make assignment\n"
                          "PRINT_VAR_MASK Name is unknown: unable to make assignment\n"
                          "PRINT_VAR_MASK SP is unknown: unable to make assignment\n"
                          "PRINT_VAR_MASK item is not an identifier: unable to make assignment\n");
    EXPECT_EQ(with_host_list("UNITS INIT PARAM TARGET"), "UNITS,INIT,PARAM,TARGET");
}

// Out of memory at any step: reported, and the list is as it was.
TEST_F(PrintDefault, AllocationFailures) {
    for (bool host_list : {false, true}) {
        long seen = zarn::test::fail_each_allocation(
            [&] {
                drop();
                gl_list_t *before = g_printVar_mask = host_list ? gl_create() : nullptr;
                createPrintVarMask();
                return g_printVar_mask != before || (before && gl_length(before) == 6);
            },
            [&](long n, bool ok) {
                if (host_list && n == 1) return;  // the test's own list
                EXPECT_TRUE(!ok && gl_length(g_printVar_mask) == 0) << n;
                std::string text = his.text();
                EXPECT_EQ(text.substr(text.find("!! create")), "!! createPrintVarMask: unable to allocate memory\n") << n;
            });
        EXPECT_GE(seen, 13);
    }
}

TEST(VarmaskAttributeNames, BothWays) {
    const char *const names[] = {"NAME", "PHYSICAL_TYPE", "UNITS", "BASEUOM", "VALUE", "INIT", "CHANGE",
                                 "LOWER", "UPPER", "STEP", "BOUND", "SPEC", "SSPEC", "SCALE", "SBWEIGHT",
                                 "QUALITY", "PARAM", "TARGET", "SHADOW_PRICE", "ACTIVE_BOUND", "DESCRIPTION",
                                 "MODIFIED", "RLOWER", "RUPPER", "VAR_TYPE", "THRESHOLD", "RAMPED", "CONN_TYPE"};
    for (int a = 0; a < 28; ++a)
        EXPECT_EQ(RTVarAttributeNames::Name(a) + std::to_string(RTVarAttributeNames::Value(names[a])), names[a] + std::to_string(a));
    for (int a : {-1, 28, INT_MIN, INT_MAX}) EXPECT_STREQ(RTVarAttributeNames::Name(a), "") << a;
    std::istringstream in("AB 19 ACTIVE 19 INITIAL 5 PARAM_HOMO 16 PT 1 SHADOW 18 SP 18 Sp 18 TARGET_HOMO 17 UOM 2 "
                          "Value 4 value -1 V -1 LB -1 PHYSICAL_TYPES -1 SB -1");
    std::string w;
    for (int a; in >> w >> a;) EXPECT_EQ(RTVarAttributeNames::Value(w.c_str()), a) << w;
    EXPECT_EQ(RTVarAttributeNames::Value("") + RTVarAttributeNames::Value(nullptr), -2);
}

}  // namespace
