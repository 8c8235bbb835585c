// Equation lists: shape and capacity, windows with prefixes, names in and
// out (fixed-width fields, ranges compared, the digest), the typed accessors
// and columns, and whole-equation records.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "eqnlst_fixture.h"
#include "failsweep.h"
#include "fakes.h"
#include "rtattrdict/rtattrdict_sibling.h"
#include "zarnutils/msgdigest.h"
#include "zarnutils/varutl.h"

using namespace zarn::test;

namespace {

std::string name_of(rtattrdict_t *l, int32_t i) {
    const char *n = rtoeqnlst_lookup_eqn_name(l, i);
    return n != nullptr ? n : "(null)";
}

TEST(EqnListShape, NewListHasNoEquationsAndDefaultsOnceSized) {
    ListGuard g{rtoeqnlst_create(4)};
    EXPECT_EQ(rtoeqnlst_inq_neqn(g.list), 0);
    EXPECT_EQ(rtoeqnlst_inq_capacity(g.list), 4);
    rtoeqnlst_set_neqn(g.list, 4);
    EXPECT_EQ(rtoeqnlst_inq_eqn_value(g.list, 4), 1e35);
    EXPECT_EQ(rtoeqnlst_inq_eqn_scale(g.list, 4), 1e35);
    EXPECT_EQ(rtoeqnlst_inq_eqn_shadow_price(g.list, 4), 1e35);
    EXPECT_EQ(rtoeqnlst_inq_eqn_status(g.list, 4), 0);
    EXPECT_EQ(rtoeqnlst_inq_eqn_group(g.list, 4), 0);
    EXPECT_EQ(rtoeqnlst_inq_eqn_basic(g.list, 4), 0);
    EXPECT_EQ(rtoeqnlst_inq_eqn_blockptr(g.list, 4), nullptr);
    EXPECT_STREQ(rtoeqnlst_inq_eqn_proc_var(g.list, 4), "");
    EXPECT_EQ(rtoeqnlst_inq_eqn_comWrapper(g.list, 4), nullptr);
    EXPECT_EQ(rtoeqnlst_inq_neqn_active(g.list), 4);  // a zero status word is included
}

// Whether a new list came back whole (every column there), not at all, or in part.
enum class Made { kNone, kWhole, kPartial };

Made make_list() {
    rtattrdict_t *l = rtoeqnlst_create(5);
    Made made = Made::kNone;
    if (l != nullptr) {
        const bool whole = hashNum(rtattrdict_attributes(l)) == 10 && rtoeqnlst_vec_residual(l) != nullptr &&
                           rtoeqnlst_vec_status(l) != nullptr && rtoeqnlst_vec_blockptr(l) != nullptr;
        made = whole ? Made::kWhole : Made::kPartial;
    }
    rtoeqnlst_destroy(&l);
    return made;
}

TEST(EqnListShape, CreationUnderEveryAllocationFailingGivesAWholeListOrNone) {
    HistoryCapture his;
    int none = 0;
    Made made = Made::kNone;
    const long seen = fail_each_allocation(
        [&made] {
            made = make_list();
            return made == Made::kWhole;
        },
        [&made, &none](long n, bool) {
            EXPECT_NE(made, Made::kPartial) << "allocation " << n << " failed";
            if (made == Made::kNone) ++none;
        });
    EXPECT_GT(seen, 5);
    EXPECT_GT(none, 0) << "some allocation a list cannot do without";
    his.text();
}

TEST(EqnListShape, NineColumnsAndNameGiveTheDocumentedAttributeIndex) {
    ListGuard g{rtoeqnlst_create(1)};
    EXPECT_EQ(hashNum(rtattrdict_attributes(g.list)), 10u);
    EXPECT_EQ(rtattrdict_attributes(g.list)->size, 53u);
}

TEST(EqnListShape, SizeBeyondCapacityIsRefusedWithItsMessage) {
    HistoryCapture his;
    ListGuard g{rtoeqnlst_create(10)};
    rtoeqnlst_set_neqn(g.list, 10);  // exactly the capacity is allowed
    rtoeqnlst_set_neqn(g.list, 11);
    EXPECT_EQ(rtoeqnlst_inq_neqn(g.list), 10);
    EXPECT_EQ(his.text(), "!! rtoeqnlst_set_neqn: size 11 exceeds capacity 10\n");
}

TEST(EqnListShape, NegativeSizesAndCapacitiesAreIgnored) {
    HistoryCapture his;
    ListGuard g{equations(3, 5)};
    rtoeqnlst_set_neqn(g.list, -1);
    rtoeqnlst_resize(g.list, -7);
    EXPECT_EQ(rtoeqnlst_inq_neqn(g.list), 3);
    EXPECT_EQ(rtoeqnlst_inq_capacity(g.list), 5);
    EXPECT_EQ(his.text(), "");
}

TEST(EqnListShape, ResizeChangesCapacityNotSizeAndKeepsEverything) {
    ListGuard g{equations(3)};
    rtoeqnlst_set_eqn_scale(g.list, 3, 4.0);
    rtoeqnlst_resize(g.list, 50);
    EXPECT_EQ(rtoeqnlst_inq_capacity(g.list), 50);
    EXPECT_EQ(rtoeqnlst_inq_neqn(g.list), 3);
    EXPECT_EQ(rtoeqnlst_inq_eqn_scale(g.list, 3), 4.0);
    EXPECT_EQ(rtoeqnlst__eqnname2index(g.list, "EQ3"), 3);
}

TEST(EqnListShape, ShrinkingTheSizeResetsTheDroppedEquations) {
    ListGuard g{equations(3)};
    rtoeqnlst_set_eqn_shadow_price(g.list, 3, 2.0);
    rtoeqnlst_set_neqn(g.list, 2);
    rtoeqnlst_set_neqn(g.list, 3);
    EXPECT_EQ(name_of(g.list, 3), "");
    EXPECT_EQ(rtoeqnlst_inq_eqn_shadow_price(g.list, 3), 1e35);
}

TEST(EqnListShape, MoveItemsCarriesNamesAndValues) {
    ListGuard g{equations(4)};
    rtoeqnlst_set_eqn_scale(g.list, 1, 9.0);
    rtoeqnlst_move_items(g.list, 1, 3, 1);
    EXPECT_EQ(name_of(g.list, 3), "EQ1");
    EXPECT_EQ(rtoeqnlst_inq_eqn_scale(g.list, 3), 9.0);
    EXPECT_EQ(rtoeqnlst__eqnname2index(g.list, "EQ1"), 3);
    EXPECT_EQ(name_of(g.list, 1), "");
}

TEST(EqnListWindows, PrefixedSublistNamesThroughItsPrefix) {
    ListGuard head{equations(6)};
    ListGuard sub{rtoeqnlst_create_embedded(3, head.list, "FLASH.", 4)};
    ASSERT_NE(sub.list, nullptr);
    rtoeqnlst_set_neqn(sub.list, 3);
    rtoeqnlst_addeqn(sub.list, 1, "MASS");
    EXPECT_EQ(name_of(head.list, 4), "FLASH.MASS");
    EXPECT_EQ(name_of(sub.list, 1), "MASS");
    EXPECT_EQ(rtoeqnlst__eqnname2index(sub.list, "MASS"), 1);
    EXPECT_EQ(rtoeqnlst__eqnname2index(head.list, "FLASH.MASS"), 4);
    EXPECT_EQ(rtoeqnlst__eqnname2index(sub.list, "EQ5"), 0);  // EQ5 is not FLASH.EQ5
}

TEST(EqnListWindows, SublistIndicesParentAndColumns) {
    ListGuard head{equations(6)};
    ListGuard sub{rtoeqnlst_create_embedded(2, head.list, "", 3)};
    rtoeqnlst_set_neqn(sub.list, 2);
    ListGuard inner{rtoeqnlst_create_embedded(1, sub.list, "B.", 2)};
    rtoeqnlst_set_neqn(inner.list, 1);
    EXPECT_EQ(rtoeqnlst_absolute_index(inner.list, 1), 4);
    EXPECT_EQ(rtoeqnlst_absolute_index(sub.list, 2), 4);
    EXPECT_EQ(rtoeqnlst_parent_check(head.list, sub.list), 1);
    EXPECT_EQ(rtoeqnlst_parent_check(sub.list, inner.list), 1);
    EXPECT_EQ(rtoeqnlst_parent_check(head.list, inner.list), 0);  // a grandparent is not the parent
    EXPECT_EQ(rtoeqnlst_parent_check(sub.list, head.list), 0);
    EXPECT_EQ(rtoeqnlst_vec_residual(sub.list) - rtoeqnlst_vec_residual(head.list), 2);
    EXPECT_EQ(rtoeqnlst_vec_status(inner.list) - rtoeqnlst_vec_status(head.list), 3);
    rtoeqnlst_set_eqn_scale(inner.list, 1, 7.5);
    EXPECT_EQ(rtoeqnlst_inq_eqn_scale(head.list, 4), 7.5);
    EXPECT_EQ(rtoeqnlst_inq_eqn_scale(sub.list, 2), 7.5);
}

TEST(EqnListWindows, EmbeddedWithoutParentIsAHeadOfItsOwn) {
    ListGuard own{rtoeqnlst_create_embedded(3, nullptr, "P.", 9)};
    ASSERT_NE(own.list, nullptr);
    EXPECT_EQ(rtoeqnlst_inq_capacity(own.list), 3);
    EXPECT_EQ(rtattrdict_embedded(own.list), nullptr);
}

TEST(EqnListWindows, WindowBeyondTheParentIsRefused) {
    HistoryCapture his;
    ListGuard head{equations(4)};
    EXPECT_EQ(rtoeqnlst_create_embedded(3, head.list, "", 3), nullptr);
    EXPECT_EQ(his.text(), "!! rtattrdict_create_embedded: parent too small (4) for embedded (3)\n");
}

TEST(EqnListWindows, DestroyingAWindowResetsWhatItCoversAndClearsTheHandle) {
    ListGuard head{equations(4)};
    rtattrdict_t *w = rtoeqnlst_create_embedded(2, head.list, "", 2);
    rtoeqnlst_set_neqn(w, 2);
    rtoeqnlst_destroy(&w);
    EXPECT_EQ(w, nullptr);
    EXPECT_EQ(name_of(head.list, 2), "");
    EXPECT_EQ(name_of(head.list, 3), "");
    EXPECT_EQ(name_of(head.list, 4), "EQ4");
    rtoeqnlst_destroy(&w);  // a cleared handle is a no-op
    rtoeqnlst_destroy(nullptr);
}

TEST(EqnListNames, AddEqnUsesTheNameRules) {
    HistoryCapture his;
    ListGuard g{equations(3)};
    rtoeqnlst_addeqn(g.list, 2, "eq2");
    rtoeqnlst_addeqn(g.list, 3, "EQ1");
    EXPECT_EQ(name_of(g.list, 2), "");
    EXPECT_EQ(name_of(g.list, 3), "EQ1");
    EXPECT_EQ(rtoeqnlst__eqnname2index(g.list, "EQ1"), 1);  // the first holder keeps the name
    EXPECT_EQ(his.text(),
              "Unable to process illegal equation/variable name 'eq2'\n"
              "Duplicate name in dictionary 'EQ1' (changing name)\n");
}

TEST(EqnListNames, AddEqnsNamesARunFromFixedWidthFields) {
    ListGuard g{rtoeqnlst_create(4)};
    rtoeqnlst_set_neqn(g.list, 4);
    EXPECT_EQ(rtoeqnlst_addeqns(g.list, 2, 4, 6, "AB    CD.E  F(1)  "), 3);
    EXPECT_EQ(name_of(g.list, 2), "AB");
    EXPECT_EQ(name_of(g.list, 3), "CD.E");
    EXPECT_EQ(name_of(g.list, 4), "F(1)");
    EXPECT_EQ(rtoeqnlst_addeqns(g.list, 3, 2, 6, "XX    "), 0);  // an empty range names nothing
    EXPECT_EQ(rtoeqnlst_addeqns(g.list, 1, 1, 0, "XX    "), 0);
    EXPECT_EQ(name_of(g.list, 1), "");
}

TEST(EqnListNames, RemoveEqnsResetsTheRangeInPlace) {
    ListGuard g{equations(4)};
    rtoeqnlst_set_eqn_scale(g.list, 2, 3.0);
    rtoeqnlst_removeeqns(g.list, 2, 3);
    EXPECT_EQ(rtoeqnlst_inq_neqn(g.list), 4);
    EXPECT_EQ(name_of(g.list, 2), "");
    EXPECT_EQ(rtoeqnlst_inq_eqn_scale(g.list, 2), 1e35);
    EXPECT_EQ(rtoeqnlst__eqnname2index(g.list, "EQ4"), 4);
}

TEST(EqnListNames, InquiryCopiesTheNameOrGivesEmpty) {
    ListGuard g{equations(2, 3)};
    rtoeqnlst_set_neqn(g.list, 3);
    char buffer[EQNINFO_NAME_SIZE];
    std::strcpy(buffer, "junk");
    rtoeqnlst_inq_eqn_name(g.list, 2, buffer);
    EXPECT_STREQ(buffer, "EQ2");
    rtoeqnlst_inq_eqn_name(g.list, 3, buffer);  // unnamed
    EXPECT_STREQ(buffer, "");
    std::strcpy(buffer, "junk");
    rtoeqnlst_inq_eqn_name(g.list, 9, buffer);  // beyond the list
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(rtoeqnlst_lookup_eqn_name(g.list, 9), nullptr);
}

TEST(EqnListNames, NamesGoIntoFixedWidthFieldsWithoutTerminators) {
    HistoryCapture his;
    ListGuard g{equations(3)};
    rtoeqnlst_addeqn(g.list, 3, "LONGNAME");
    char fields[16] = "***************";
    rtoeqnlst_names(g.list, 1, 3, 5, fields);
    EXPECT_EQ(std::string(fields), "EQ1**EQ2**LONGN");  // short names leave the rest of their field
    EXPECT_EQ(his.text(), "Truncating equation name 'LONGNAME' to 5 characters\n");
}

TEST(EqnListNames, NameAsLongAsItsFieldIsNotCut) {
    HistoryCapture his;
    ListGuard g{equations(1)};
    char fields[5] = "****";
    rtoeqnlst_names(g.list, 1, 1, 3, fields);
    EXPECT_EQ(std::string(fields), "EQ1*");
    EXPECT_EQ(his.text(), "");
}

TEST(EqnListNames, NamesRefusesRangesOutsideTheList) {
    HistoryCapture his;
    ListGuard g{equations(3)};
    char fields[16] = "***************";
    rtoeqnlst_names(g.list, 2, 4, 5, fields);
    rtoeqnlst_names(g.list, -1, 2, 5, fields);
    rtoeqnlst_names(g.list, 0, 2, 5, fields);  // a zero does nothing, silently
    rtoeqnlst_names(g.list, 1, 2, 0, fields);
    rtoeqnlst_names(g.list, 3, 2, 5, fields);  // reversed: nothing
    EXPECT_EQ(std::string(fields), "***************");
    EXPECT_EQ(his.text(),
              "!!rtoeqnlst_names_c: Bad indices 2 4 3\n"
              "!!rtoeqnlst_names_c: Bad indices -1 2 3\n");
}

TEST(EqnListNames, RangesOfNamesCompared) {
    ListGuard a{equations(4)};
    ListGuard b{equations(5)};
    ListGuard head{equations(3)};
    rtoeqnlst_addeqn(b.list, 1, "ZZ");
    rtattrdict_t *w = rtoeqnlst_create_embedded(1, head.list, "P.", 3);
    rtoeqnlst_set_neqn(w, 1);
    rtoeqnlst_addeqn(w, 1, "EQ2");
    struct Row {
        const char *what;
        rtattrdict_t *l1;
        int32_t first1, last1;
        rtattrdict_t *l2;
        int32_t first2, last2;
        int32_t equal;
    };
    const Row rows[] = {
        {"one equal name", a.list, 2, 2, b.list, 2, 2, 1},
        {"equal runs", a.list, 2, 4, b.list, 2, 4, 1},
        {"a run with one name different", a.list, 1, 4, b.list, 1, 4, 0},
        {"lengths differ", a.list, 2, 3, b.list, 2, 4, 0},
        {"last beyond the first list", a.list, 3, 5, b.list, 3, 5, 0},
        {"first below 1", a.list, 0, 1, b.list, 0, 1, 0},
        {"shifted runs", a.list, 1, 1, b.list, 2, 2, 0},
        {"no first list", nullptr, 1, 1, b.list, 1, 1, 0},
        {"names as seen from a window", w, 1, 1, a.list, 2, 2, 1},
        {"empty runs of equal length", a.list, 3, 2, b.list, 4, 3, 1},
        {"empty runs, one beyond its list", a.list, 6, 5, b.list, 4, 3, 0},
    };
    for (const Row &r : rows)
        EXPECT_EQ(rtoeqnlst_names_eq(r.l1, r.first1, r.last1, r.l2, r.first2, r.last2), r.equal) << r.what;
    rtoeqnlst_destroy(&w);
}

TEST(EqnListNames, DigestIsTheNamesInOrder) {
    ListGuard g{equations(3)};
    rtoeqnlst_addeqn(g.list, 2, "AB");
    zarn_md5_ctx_t got, want;
    MD5Init(&got);
    MD5Init(&want);
    MD5Update(&want, "EQ1ABEQ3", 8);
    EXPECT_EQ(rtoeqnlst_compute_md(g.list, &got), 3);
    MD5Final(&got);
    MD5Final(&want);
    EXPECT_EQ(std::memcmp(got.digest, want.digest, sizeof got.digest), 0);
    EXPECT_EQ(rtoeqnlst_compute_md(g.list, nullptr), 0);
}

TEST(EqnListNames, StatisticsAreTheDictionarys) {
    HistoryCapture his;
    ListGuard g{equations(2)};
    rtoeqnlst_printsymbolstats(g.list);
    const std::string text = his.text();
    EXPECT_TRUE(text.starts_with("****************Begin attribute dictionary statistics****************\n"))
        << text;
    EXPECT_NE(text.find("       Size: 2\n"), std::string::npos) << text;
}

TEST(EqnListAttributes, EveryAccessorReadsWhatItsWriterStored) {
    ListGuard g{equations(2)};
    CountingWrapper wrapper;
    int block = 0;
    rtoeqnlst_set_eqn_scale(g.list, 2, 0.25);
    rtoeqnlst_set_eqn_shadow_price(g.list, 2, -3.5);
    rtoeqnlst_set_eqn_status(g.list, 2, 0x400001);
    rtoeqnlst_set_eqn_basic(g.list, 2, -4);
    rtoeqnlst_set_eqn_blockptr(g.list, 2, &block);
    rtoeqnlst_set_eqn_proc_var(g.list, 2, "FEED.T");
    rtoeqnlst_set_eqn_comWrapper(g.list, 2, &wrapper);
    EXPECT_EQ(rtoeqnlst_inq_eqn_scale(g.list, 2), 0.25);
    EXPECT_EQ(rtoeqnlst_inq_eqn_shadow_price(g.list, 2), -3.5);
    EXPECT_EQ(rtoeqnlst_inq_eqn_status(g.list, 2), 0x400001);
    EXPECT_EQ(rtoeqnlst_inq_eqn_basic(g.list, 2), -4);
    EXPECT_EQ(rtoeqnlst_inq_eqn_blockptr(g.list, 2), &block);
    EXPECT_STREQ(rtoeqnlst_inq_eqn_proc_var(g.list, 2), "FEED.T");
    EXPECT_EQ(rtoeqnlst_inq_eqn_comWrapper(g.list, 2), &wrapper);
    EXPECT_EQ(wrapper.refs, 1);
    // Equation 1 kept its defaults.
    EXPECT_EQ(rtoeqnlst_inq_eqn_scale(g.list, 1), 1e35);
    EXPECT_EQ(rtoeqnlst_inq_eqn_basic(g.list, 1), 0);
    rtoeqnlst_set_eqn_comWrapper(g.list, 2, nullptr);
    EXPECT_EQ(wrapper.refs, 0);
}

TEST(EqnListAttributes, BlockPointerFromAnIntegerIsSignExtended) {
    ListGuard g{equations(1)};
    rtoeqnlst_set_eqn_blockptr_int(g.list, 1, -2);
    EXPECT_EQ(reinterpret_cast<intptr_t>(rtoeqnlst_inq_eqn_blockptr(g.list, 1)), -2);
}

TEST(EqnListAttributes, ProcessVariableCarriesTheWindowsPrefix) {
    ListGuard head{equations(2)};
    ListGuard w{rtoeqnlst_create_embedded(1, head.list, "U1.", 2)};
    rtoeqnlst_set_neqn(w.list, 1);
    rtoeqnlst_set_eqn_proc_var(w.list, 1, "T");
    EXPECT_STREQ(rtoeqnlst_inq_eqn_proc_var(head.list, 2), "U1.T");
    EXPECT_STREQ(rtoeqnlst_inq_eqn_proc_var(w.list, 1), "T");
}

TEST(EqnListAttributes, WritesBeyondTheListAreReportedByTheDictionary) {
    HistoryCapture his;
    ListGuard g{equations(2)};
    rtoeqnlst_set_eqn_scale(g.list, 3, 1.0);
    rtoeqnlst_set_eqn_basic(g.list, 0, 1);
    EXPECT_EQ(rtoeqnlst_inq_eqn_scale(g.list, 3), 0.0);
    EXPECT_EQ(his.text(),
              "!!head_setd: Access beyond size limited 3 2\n"
              "!!head_seti: Access beyond size limited 0 2\n");
}

TEST(EqnListAttributes, ColumnsHoldEquationKInCellKMinusOne) {
    ListGuard g{equations(3)};
    rtoeqnlst_vec_residual(g.list)[2] = 5.0;
    rtoeqnlst_vec_scale(g.list)[0] = 2.0;
    rtoeqnlst_vec_shadow_price(g.list)[1] = 3.0;
    rtoeqnlst_vec_status(g.list)[2] = 1;
    rtoeqnlst_vec_group(g.list)[0] = 12;
    rtoeqnlst_vec_basic(g.list)[1] = 7;
    int block = 0;
    rtoeqnlst_vec_blockptr(g.list)[2] = &block;
    EXPECT_EQ(rtoeqnlst_inq_eqn_value(g.list, 3), 5.0);
    EXPECT_EQ(rtoeqnlst_inq_eqn_scale(g.list, 1), 2.0);
    EXPECT_EQ(rtoeqnlst_inq_eqn_shadow_price(g.list, 2), 3.0);
    EXPECT_EQ(rtoeqnlst_inq_eqn_status(g.list, 3), 1);
    EXPECT_EQ(rtoeqnlst_inq_eqn_group(g.list, 1), 12);
    EXPECT_EQ(rtoeqnlst_inq_eqn_basic(g.list, 2), 7);
    EXPECT_EQ(rtoeqnlst_inq_eqn_blockptr(g.list, 3), &block);
}

// Every field a record can carry, as text.
std::string fields(const eqninfo &r) {
    return std::string(r.name) + "|" + std::to_string(r.residual) + "|" + std::to_string(r.scale) + "|" +
           std::to_string(r.status) + "|" + std::to_string(r.group) + "|" +
           (r.proc_var ? r.proc_var : "(null)") + "|" +
           std::to_string(reinterpret_cast<intptr_t>(r.blockptr)) + "|" + std::to_string(r.basic) + "|" +
           std::to_string(r.shadow_price);
}

eqninfo blank_record(uint32_t mask) {
    eqninfo r{};
    r.mask.mask1 = mask;
    std::strcpy(r.name, "-");
    r.residual = r.scale = r.shadow_price = -9.0;
    r.status = r.group = r.basic = -9;
    r.proc_var = "-";
    r.blockptr = reinterpret_cast<void *>(intptr_t{-9});
    return r;
}

TEST(EqnListRecords, InquiryFillsOnlyTheMeantFields) {
    ListGuard g{equations(2)};
    rtoeqnlst_vec_residual(g.list)[1] = 0.5;
    rtoeqnlst_set_eqn_scale(g.list, 2, 2.0);
    rtoeqnlst_set_eqn_status(g.list, 2, 3);
    rtoeqnlst_vec_group(g.list)[1] = 4;
    rtoeqnlst_set_eqn_proc_var(g.list, 2, "V");
    rtoeqnlst_set_eqn_blockptr_int(g.list, 2, 6);
    rtoeqnlst_set_eqn_basic(g.list, 2, 7);
    rtoeqnlst_set_eqn_shadow_price(g.list, 2, 8.0);
    struct Row {
        uint32_t mask;
        const char *want;
    };
    const Row rows[] = {
        {0, "-|-9.000000|-9.000000|-9|-9|-|-9|-9|-9.000000"},
        {EQNINFO_NAME, "EQ2|-9.000000|-9.000000|-9|-9|-|-9|-9|-9.000000"},
        {EQNINFO_RESIDUAL | EQNINFO_SCALE, "-|0.500000|2.000000|-9|-9|-|-9|-9|-9.000000"},
        {EQNINFO_STATUS | EQNINFO_GROUP, "-|-9.000000|-9.000000|3|4|-|-9|-9|-9.000000"},
        {EQNINFO_PROCVAR | EQNINFO_BLOCKPTR, "-|-9.000000|-9.000000|-9|-9|V|6|-9|-9.000000"},
        {EQNINFO_BASIC | EQNINFO_SHADOW_PRICE, "-|-9.000000|-9.000000|-9|-9|-|-9|7|8.000000"},
    };
    for (const Row &r : rows) {
        eqninfo record = blank_record(r.mask);
        rtoeqnlst_inq_eqn(g.list, 2, &record);
        EXPECT_EQ(fields(record), r.want) << "mask " << r.mask;
    }
}

TEST(EqnListRecords, InitialisationTakesMeantFieldsAndDefaultsTheRest) {
    HistoryCapture his;
    ListGuard g{equations(2)};
    int block = 0;
    rtoeqnlst_set_eqn_basic(g.list, 1, 5);
    rtoeqnlst_vec_group(g.list)[0] = 6;
    rtoeqnlst_set_eqn_proc_var(g.list, 1, "OLD");
    rtoeqnlst_set_eqn_blockptr(g.list, 1, &block);
    eqninfo record = blank_record(EQNINFO_NAME);
    std::strcpy(record.name, "BAL");
    rtoeqnlst_initialize_eqn(g.list, 1, &record);
    EXPECT_EQ(name_of(g.list, 1), "BAL");
    EXPECT_EQ(rtoeqnlst_inq_eqn_value(g.list, 1), 0.0);
    EXPECT_EQ(rtoeqnlst_inq_eqn_scale(g.list, 1), 1.0);
    EXPECT_EQ(rtoeqnlst_inq_eqn_status(g.list, 1), 0);
    EXPECT_EQ(rtoeqnlst_inq_eqn_group(g.list, 1), 6);  // not meant: kept
    EXPECT_STREQ(rtoeqnlst_inq_eqn_proc_var(g.list, 1), "");
    EXPECT_EQ(rtoeqnlst_inq_eqn_blockptr(g.list, 1), nullptr);
    EXPECT_EQ(rtoeqnlst_inq_eqn_shadow_price(g.list, 1), 0.0);
    EXPECT_EQ(rtoeqnlst_inq_eqn_basic(g.list, 1), 5);  // never touched
    EXPECT_EQ(his.text(), "");
}

TEST(EqnListRecords, InitialisationRoundTripsThroughInquiry) {
    ListGuard g{equations(2)};
    eqninfo in = blank_record(0x1FF);
    std::strcpy(in.name, "ENERGY");
    in.residual = 1.5;
    in.scale = 100.0;
    in.status = 0x400004;
    in.group = 3;
    in.proc_var = "DUTY";
    in.blockptr = &in;
    in.basic = 1;  // BASIC is not set by initialisation
    in.shadow_price = -2.0;
    rtoeqnlst_initialize_eqn(g.list, 2, &in);
    eqninfo out = blank_record(0x1FF);
    rtoeqnlst_inq_eqn(g.list, 2, &out);
    in.basic = 0;
    EXPECT_EQ(fields(out), fields(in));
}

TEST(EqnListRecords, InitialisationWithoutANameSaysSoAndGoesOn) {
    HistoryCapture his;
    ListGuard g{equations(1)};
    eqninfo record = blank_record(EQNINFO_SCALE);
    record.scale = 3.0;
    rtoeqnlst_initialize_eqn(g.list, 1, &record);
    EXPECT_EQ(his.text(), "rtoeqnlst_initialize_eqn: You must set the eqation name.\n");
    EXPECT_EQ(name_of(g.list, 1), "EQ1");
    EXPECT_EQ(rtoeqnlst_inq_eqn_scale(g.list, 1), 3.0);
}

TEST(EqnListRecords, InitialisationLeavesAnEquationWithoutProcessVariableWithoutSparseRecord) {
    ListGuard g{equations(1)};
    eqninfo record = blank_record(EQNINFO_NAME);
    std::strcpy(record.name, "EQ1");
    rtoeqnlst_initialize_eqn(g.list, 1, &record);
    const rtattr_t *procvar = zarn::rtattrdict::lookup_attr(g.list, "PROCVAR");
    ASSERT_NE(procvar, nullptr);
    EXPECT_EQ(zarn::rtattrdict::sparse_cell(g.list, 1, procvar), nullptr);
}

TEST(EqnListRecords, MissingListOrRecordPrintsTheAssertionLine) {
    StderrCapture err;
    eqninfo record = blank_record(0x1FF);
    ListGuard g{equations(1)};
    rtoeqnlst_inq_eqn(nullptr, 1, &record);
    rtoeqnlst_initialize_eqn(nullptr, 1, &record);
    rtoeqnlst_inq_eqn(g.list, 1, nullptr);
    rtoeqnlst_initialize_eqn(g.list, 1, nullptr);
    const std::string text = err.text();
    const std::string list_line =
        "Assertion 'rtoeqnlst_inq_eqn: eqnlst is NULL' failed in source/rteqnlst/rteqnlst:";
    const std::string record_line =
        "Assertion 'rtoeqnlst_inq_eqn: eqninfo pointer is NULL' failed in source/rteqnlst/rteqnlst:";
    EXPECT_EQ(text.find(list_line), 0u) << text;
    EXPECT_NE(text.find(list_line, 1), std::string::npos) << text;
    EXPECT_NE(text.find(record_line), std::string::npos) << text;
    EXPECT_EQ(fields(record), "-|-9.000000|-9.000000|-9|-9|-|-9|-9|-9.000000");
    EXPECT_EQ(name_of(g.list, 1), "EQ1");
}

}  // namespace
