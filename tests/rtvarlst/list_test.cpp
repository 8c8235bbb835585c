// Variable lists: shape, sublists, names, aliases, fixed-width fields and bulk operations.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "capture.h"
#include "fakes.h"
#include "rtvarlst/varprofile.h"
#include "varlst_fixture.h"
#include "zarnutils/msgdigest.h"
#include "zarnutils/rttaglst.h"
#include "zarnutils/rtvarlst.h"

using zarn::test::HistoryCapture;
using zarn::test::named_list;
using zarn::test::RecordingBlock;
using zarn::test::StderrCapture;

namespace {

TEST(VarListShape, NewListDefaultsAndCapacityLimit) {
    HistoryCapture his;
    rtvarlst_t *l = rtovarlst_create(10);
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(rtovarlst_inq_nvar(l), 0);
    EXPECT_EQ(rtovarlst_inq_capacity(l), 10);
    rtovarlst_set_nvar(l, 10);
    for (int32_t k = 1; k <= 10; ++k) {
        EXPECT_EQ(rtovarlst_inq_var_value(l, k, 0), 1e35);
        EXPECT_EQ(rtovarlst_inq_var_status(l, k), 0);
        EXPECT_EQ(rtovarlst_inq_var_baseuom(l, k), 1);
        EXPECT_EQ(rtovarlst_inq_var_uom(l, k), 0);
        EXPECT_EQ(rtovarlst_inq_var_sbweight(l, k), 1e35);
        EXPECT_EQ(rtovarlst_inq_var_quality(l, k), 0);
    }
    rtovarlst_set_nvar(l, 11);
    EXPECT_EQ(his.text(), "!!rtovarlst_set_nvar: size 11 exceeds capacity 10\n");
    EXPECT_EQ(rtovarlst_inq_nvar(l), 10);
    rtovarlst_set_nvar(l, -1);
    EXPECT_EQ(rtovarlst_inq_nvar(l), 10);
    rtovarlst_resize(l, -5);
    EXPECT_EQ(rtovarlst_inq_capacity(l), 10);
    // Growing the capacity keeps values that are already there.
    rtovarlst_set_var_value(l, 10, 4.5, 0);
    rtovarlst_resize(l, 20);
    EXPECT_EQ(rtovarlst_inq_capacity(l), 20);
    EXPECT_EQ(rtovarlst_inq_var_value(l, 10, 0), 4.5);
    rtovarlst_set_nvar(l, 20);
    EXPECT_EQ(rtovarlst_inq_var_value(l, 20, 0), 1e35);
    EXPECT_EQ(his.text(), "");
    rtovarlst_destroy_c(&l);
    EXPECT_EQ(l, nullptr);
}

TEST(VarListSublist, WindowIndicesPrefixesAndDeletion) {
    HistoryCapture his;
    rtvarlst_t *top = named_list(6);
    rtvarlst_t *sub = rtovarlst_create_sublist(top, 3);
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(rtovarlst_inq_nvar(sub), 4);
    EXPECT_EQ(rtovarlst_inq_capacity(sub), 4);
    EXPECT_EQ(rtovarlst_parent_check(top, sub), 1);
    EXPECT_EQ(rtovarlst_parent_check(sub, top), 0);
    EXPECT_EQ(rtovarlst_parent_check(nullptr, sub), 0);
    EXPECT_STREQ(rtovarlst_lookup_var_name(sub, 1), "X3");
    EXPECT_EQ(rtovarlst__varname2index(sub, "X5"), 3);
    EXPECT_EQ(rtovarlst__varname2index(sub, "X2"), 0);  // before the window
    EXPECT_EQ(rtovarlst_super_index(sub, 2), 4);
    EXPECT_EQ(rtovarlst_absolute_index(sub, 2), 4);
    // Values written through the window land in the parent's items.
    rtovarlst_set_var_value(sub, 2, 7.0, 0);
    EXPECT_EQ(rtovarlst_inq_var_value(top, 4, 0), 7.0);
    EXPECT_EQ(rtovarlst_vec_value(sub), rtovarlst_vec_value(top) + 2);

    // A window of a window with a prefix.
    rtvarlst_t *inner = rtovarlst_create_embedded(2, sub, "B1.", 2);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(rtovarlst_inq_nvar(inner), 0);
    rtovarlst_set_nvar(inner, 2);
    rtovarlst_addvar(inner, 1, "T");
    EXPECT_STREQ(rtovarlst_lookup_var_name(top, 4), "B1.T");
    EXPECT_STREQ(rtovarlst_lookup_var_name(inner, 1), "T");
    EXPECT_EQ(rtovarlst__varname2index(inner, "T"), 1);
    EXPECT_EQ(rtovarlst_super_index(inner, 1), 2);
    EXPECT_EQ(rtovarlst_absolute_index(inner, 1), 4);
    rtovarlst_set_nvar(inner, 3);  // beyond its capacity
    EXPECT_EQ(his.text(), "!!rtovarlst_set_nvar: size 3 exceeds capacity 2\n");
    rtovarlst_delete_sublist(&inner);
    EXPECT_EQ(inner, nullptr);
    EXPECT_STREQ(rtovarlst_lookup_var_name(top, 4), "B1.T");  // the parent's items survive

    rtovarlst_delete_sublist(&sub);
    EXPECT_EQ(rtovarlst_inq_var_value(top, 4, 0), 7.0);
    EXPECT_EQ(rtovarlst_inq_nvar(top), 6);

    EXPECT_EQ(rtovarlst_create_sublist(top, 8), nullptr);  // two past the end
    EXPECT_EQ(his.text(), "!! rtovarlst_create_sublist: bad start 8 (6 vars in parent)\n");
    rtvarlst_t *empty = rtovarlst_create_sublist(top, 7);  // just past the end: an empty window
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(rtovarlst_inq_nvar(empty), 0);
    rtovarlst_delete_sublist(&empty);
    // Destroying a window (not deleting it) resets the parent's items it covers.
    rtvarlst_t *w = rtovarlst_create_sublist(top, 5);
    rtovarlst_destroy_c(&w);
    EXPECT_STREQ(rtovarlst_lookup_var_name(top, 5), "");
    EXPECT_STREQ(rtovarlst_lookup_var_name(top, 4), "B1.T");
    // Without a parent the embedded form makes a list of its own.
    rtvarlst_t *own = rtovarlst_create_embedded(3, nullptr, "P.", 9);
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(rtovarlst_inq_capacity(own), 3);
    rtovarlst_destroy_c(&own);
    rtovarlst_destroy_c(&top);
}

TEST(VarListNames, InquiryMessagesAndChecksum) {
    HistoryCapture his;
    rtvarlst_t *l = named_list(3, 5);
    rtovarlst_set_nvar(l, 4);
    char buf[1025];
    std::strcpy(buf, "junk");
    rtovarlst_inq_var_name(l, 2, buf);
    EXPECT_STREQ(buf, "X2");
    std::strcpy(buf, "junk");
    rtovarlst_inq_var_name(l, 4, buf);  // in range, unnamed
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(his.text(), "!! Unable to find name for variable 4\n");
    rtovarlst_inq_var_name(l, 9, buf);
    EXPECT_EQ(his.text(), "!! Unable to find name for variable 9\n!! Index out of bounds (4 vars in list)\n");
    rtovarlst_addvar(l, 4, "x4");  // lower case is not a legal name
    EXPECT_EQ(his.text(), "Unable to process illegal equation/variable name 'x4'\n");

    // addvars from fixed-width fields (trailing blanks dropped).
    rtovarlst_addvars(l, 3, 4, 6, "AB    CD.E  ");
    EXPECT_STREQ(rtovarlst_lookup_var_name(l, 3), "AB");
    EXPECT_STREQ(rtovarlst_lookup_var_name(l, 4), "CD.E");
    EXPECT_EQ(rtovarlst__varname2index(l, "X3"), 0);

    zarn_md5_ctx_t a, b;
    MD5Init(&a);
    EXPECT_EQ(rtovarlst_compute_md(l, &a), 4);
    MD5Final(&a);
    MD5Init(&b);
    const char text[] = "X1X2ABCD.E";
    MD5Update(&b, text, sizeof text - 1);
    MD5Final(&b);
    EXPECT_EQ(std::memcmp(a.digest, b.digest, sizeof a.digest), 0);
    EXPECT_EQ(rtovarlst_compute_md(nullptr, &a), 0);

    rtovarlst_printsymbolstats(l);
    const std::string stats = his.text();
    EXPECT_EQ(stats.rfind("====Begin variable symbol table statistics====\n", 0), 0u);
    EXPECT_NE(stats.find("Head attribute dictionary\n       Size: 4\n"), std::string::npos);
    const std::string end = "=====End variable symbol table statistics=====\n";
    ASSERT_GE(stats.size(), end.size());
    EXPECT_EQ(stats.substr(stats.size() - end.size()), end);
    rtovarlst_destroy_c(&l);
}

TEST(VarListNames, AliasLookupThroughAttachedTagList) {
    HistoryCapture his;
    rtvarlst_t *l = named_list(3);
    rtovarlst_addvar(l, 2, "B1.TEMP");
    rtotaglst_t *tags = rtotaglst_create(2);
    ASSERT_EQ(rtotaglst_add_tag(tags, "T", "B1.TEMP"), 0);
    ASSERT_EQ(rtotaglst_add_tag(tags, "GONE", "NOSUCH"), 0);
    EXPECT_EQ(rtovarlst__varname2index(l, "T"), 0);  // nothing attached yet
    rtovarlst_set_taglst(l, tags);
    EXPECT_EQ(rtovarlst_inq_taglst(l), tags);
    EXPECT_EQ(rtovarlst__varname2index(l, "T"), 2);
    EXPECT_EQ(rtovarlst__varname2index(l, "B1.TEMP"), 2);
    EXPECT_EQ(rtovarlst__varname2index(l, "GONE"), 0);  // alias of an unknown name
    EXPECT_EQ(rtovarlst_variable_object(l, "T.VALUE"), 2);
    EXPECT_EQ(rtovarlst_variable_object(l, "T"), 2);
    rtotaglst_t *other = rtotaglst_create(1);
    rtovarlst_set_taglst(l, other);
    EXPECT_EQ(his.text(), "!! rtovarlst_set_taglst: variable list already has tag list\n");
    EXPECT_EQ(rtovarlst_inq_taglst(l), tags);
    rtovarlst_destroy_c(&l);  // detaches, does not destroy
    EXPECT_EQ(rtotaglst_lookup(tags, "T"), 1);
    rtotaglst_destroy(tags);
    rtotaglst_destroy(other);
}

TEST(VarListNames, VariableObjectSplitsAKeywordSuffix) {
    rtvarlst_t *l = named_list(2);
    rtovarlst_addvar(l, 1, "B1.T");
    rtovarlst_addvar(l, 2, "X");
    EXPECT_EQ(rtovarlst_variable_object(l, "B1.T"), 1);        // T is no keyword
    EXPECT_EQ(rtovarlst_variable_object(l, "B1.T.VALUE"), 1);
    EXPECT_EQ(rtovarlst_variable_object(l, "B1.T.Upper"), 1);  // case ignored after an upper-case start
    EXPECT_EQ(rtovarlst_variable_object(l, "X.SCALE"), 2);
    EXPECT_EQ(rtovarlst_variable_object(l, "X.SHADOW_PRICE"), 2);
    EXPECT_EQ(rtovarlst_variable_object(l, "X.value"), 0);  // a lower-case suffix is part of the name
    EXPECT_EQ(rtovarlst_variable_object(l, "X.VALUES2"), 0);
    EXPECT_EQ(rtovarlst_variable_object(l, ".VALUE"), 0);   // no name
    EXPECT_EQ(rtovarlst_variable_object(l, ""), 0);
    EXPECT_EQ(rtovarlst_variable_object(l, nullptr), 0);
    std::string longname(1025, 'A');
    EXPECT_EQ(rtovarlst_variable_object(l, (longname + ".VALUE").c_str()), 0);
    rtvarlst_t *empty = rtovarlst_create(4);
    EXPECT_EQ(rtovarlst_variable_object(empty, "X"), 0);
    rtovarlst_destroy_c(&empty);
    rtovarlst_destroy_c(&l);
}

TEST(VarListNames, NamesIntoFixedWidthFields) {
    HistoryCapture his;
    rtvarlst_t *l = named_list(3);
    rtovarlst_addvar(l, 2, "LONGNAME");
    char buf[16];
    std::memset(buf, '*', sizeof buf);
    rtovarlst_names(l, 1, 3, 5, buf);
    EXPECT_EQ(std::string(buf, 15), "X1***LONGNX3***");  // short names leave the rest of the field alone
    EXPECT_EQ(buf[15], '*');
    EXPECT_EQ(his.text(), "Truncating variable name 'LONGNAME' to 5 characters\n");
    rtovarlst_names(l, 0, 3, 5, buf);
    rtovarlst_names(l, 1, 3, 0, buf);
    rtovarlst_names(l, 1, 1, 2, buf);  // a name exactly as long as its field is not cut
    EXPECT_EQ(buf[0], 'X');
    EXPECT_EQ(his.text(), "");
    rtovarlst_names(l, 2, 4, 5, buf);
    EXPECT_EQ(his.text(), "!! rtovarlst_names: Bad indices 2 4 3\n");
    rtovarlst_names(l, -1, 2, 5, buf);
    EXPECT_EQ(his.text(), "!! rtovarlst_names: Bad indices -1 2 3\n");
    std::memset(buf, '*', sizeof buf);
    rtovarlst_names(l, 3, 2, 5, buf);  // first > last: nothing
    EXPECT_EQ(std::string(buf, 16), std::string(16, '*'));
    EXPECT_EQ(his.text(), "");
    rtovarlst_destroy_c(&l);
}

TEST(VarListNames, NameRangesCompare) {
    rtvarlst_t *a = named_list(4);
    rtvarlst_t *b = named_list(5);
    rtovarlst_addvar(b, 1, "ZZ");
    EXPECT_EQ(rtovarlst_names_eq(a, 2, 2, b, 2, 2), 1);
    EXPECT_EQ(rtovarlst_names_eq(a, 2, 4, b, 2, 4), 1);
    EXPECT_EQ(rtovarlst_names_eq(a, 1, 4, b, 1, 4), 0);  // ZZ differs
    EXPECT_EQ(rtovarlst_names_eq(a, 2, 3, b, 2, 4), 0);  // lengths differ
    EXPECT_EQ(rtovarlst_names_eq(a, 3, 5, b, 3, 5), 0);  // beyond list a
    EXPECT_EQ(rtovarlst_names_eq(a, 0, 1, b, 0, 1), 0);
    EXPECT_EQ(rtovarlst_names_eq(a, 1, 1, b, 2, 2), 0);
    EXPECT_EQ(rtovarlst_names_eq(nullptr, 1, 1, b, 1, 1), 0);
    // Equal text in a differently prefixed window compares equal.
    rtvarlst_t *top = named_list(3);
    rtvarlst_t *w = rtovarlst_create_embedded(1, top, "P.", 3);
    rtovarlst_set_nvar(w, 1);
    rtovarlst_addvar(w, 1, "X2");
    EXPECT_EQ(rtovarlst_names_eq(w, 1, 1, a, 2, 2), 1);
    rtovarlst_delete_sublist(&w);
    rtovarlst_destroy_c(&top);
    rtovarlst_destroy_c(&a);
    rtovarlst_destroy_c(&b);
}

TEST(VarListBulk, ExtractCopiesValuesAndNamesButNoHostPointers) {
    HistoryCapture his;
    RecordingBlock block;
    rtvarlst_t *l = named_list(6);
    for (int32_t k = 1; k <= 6; ++k) {
        rtovarlst_set_var_value(l, k, 10.0 * k, 0);
        rtovarlst_set_var_blockptr(l, k, &block);
        rtovarlst_set_var_profile(l, k, new VarProfile);
    }
    rtovarlst_set_var_step_inbaseuom(l, 4, 0.5);
    rtovarlst_set_var_quality(l, 5, 2);
    rtovarlst_set_var_description(l, 3, "feed");
    rtovarlst_set_var_param_homo(l, 4, 1);
    rtovarlst_set_var_status(l, 5, 0x1234);
    rtovarlst_set_var_modified_mask(l, 3, 8);
    rtovarlst_set_var_connMgr(l, 3, &block);

    rtvarlst_t *out = nullptr;
    rtovarlst_extract(l, 3, 5, &out);
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(rtovarlst_inq_nvar(out), 3);
    EXPECT_EQ(rtovarlst_inq_capacity(out), 3);
    EXPECT_STREQ(rtovarlst_lookup_var_name(out, 1), "X3");
    EXPECT_STREQ(rtovarlst_lookup_var_name(out, 3), "X5");
    EXPECT_EQ(rtovarlst__varname2index(out, "X4"), 2);
    EXPECT_EQ(rtovarlst_inq_var_value(out, 2, 0), 40.0);
    EXPECT_EQ(rtovarlst_inq_var_step_inbaseuom(out, 2), 0.5);
    EXPECT_EQ(rtovarlst_inq_var_step_inbaseuom(out, 1), 1e35);
    EXPECT_EQ(rtovarlst_inq_var_quality(out, 3), 2);
    EXPECT_STREQ(rtovarlst_inq_var_description(out, 1), "feed");
    EXPECT_EQ(rtovarlst_inq_var_param_homo(out, 2), 1);
    EXPECT_EQ(rtovarlst_inq_var_status(out, 3), 0x1234);
    for (int32_t k = 1; k <= 3; ++k) {
        EXPECT_EQ(rtovarlst_inq_var_blockptr(out, k), nullptr);
        EXPECT_EQ(rtovarlst_inq_var_profile(out, k), nullptr);
        EXPECT_EQ(rtovarlst_inq_var_modified(out, k), nullptr);
        EXPECT_EQ(rtovarlst_inq_var_connMgr(out, k), nullptr);
    }
    // Bad ranges make nothing.
    rtvarlst_t *none = nullptr;
    rtovarlst_extract(l, 0, 2, &none);
    rtovarlst_extract(l, 5, 7, &none);
    EXPECT_EQ(none, nullptr);
    his.text();
    rtovarlst_destroy_c(&out);
    rtovarlst_destroy_c(&l);  // frees the six profiles and the record (checked under the sanitizer)
}

TEST(VarListBulk, RemoveVarsKeepsOtherItemsOwnedRecords) {
    HistoryCapture his;
    rtvarlst_t *l = named_list(4);
    VarProfile *kept = new VarProfile;
    rtovarlst_set_var_profile(l, 1, kept);
    rtovarlst_set_var_profile(l, 2, new VarProfile);
    rtovarlst_set_var_profile(l, 3, new VarProfile);
    for (int32_t k = 1; k <= 4; ++k) rtovarlst_set_var_modified_mask(l, k, k);
    rtovarlst_removevars(l, 2, 3);
    EXPECT_EQ(rtovarlst_inq_var_profile(l, 1), kept);
    EXPECT_EQ(rtovarlst_inq_var_modified_mask1(l, 1), 1u);
    EXPECT_EQ(rtovarlst_inq_var_modified_mask1(l, 4), 4u);
    EXPECT_EQ(rtovarlst_inq_var_modified(l, 2), nullptr);
    EXPECT_EQ(rtovarlst_inq_var_profile(l, 3), nullptr);
    EXPECT_STREQ(rtovarlst_lookup_var_name(l, 2), "");
    EXPECT_EQ(rtovarlst__varname2index(l, "X3"), 0);
    EXPECT_EQ(rtovarlst_inq_nvar(l), 4);  // items keep their places
    rtovarlst_removevars(l, 3, 9);
    EXPECT_EQ(his.text(), "!!rtattrdict_remove_items: removing too many elements\n");
    EXPECT_EQ(rtovarlst_inq_var_modified_mask1(l, 4), 4u);
    // Profile items go to the attached profile; replacing a profile frees the old one.
    ProfileItem item{1.0, 2.0};
    rtovarlst_set_var_profile_item(l, 1, &item);
    rtovarlst_set_var_profile_item(l, 2, &item);  // no profile: nothing
    ASSERT_EQ(kept->items.size(), 1u);
    EXPECT_EQ(kept->items[0].y, 2.0);
    rtovarlst_set_var_profile(l, 1, new VarProfile);
    // Shrinking the list frees what the dropped items owned.
    rtovarlst_set_nvar(l, 1);
    rtovarlst_set_nvar(l, 4);
    EXPECT_EQ(rtovarlst_inq_var_modified(l, 4), nullptr);
    rtovarlst_destroy_c(&l);
}

TEST(VarListBulk, CopyVarPresolveAndCopyInitToValue) {
    StderrCapture err;
    rtvarlst_t *a = named_list(3);
    rtvarlst_t *b = named_list(2);
    rtovarlst_set_var_value(a, 1, 5.0, 0);
    rtovarlst_set_var_upper(a, 1, 9.0, 0);
    rtovarlst_set_var_step_inbaseuom(a, 1, 0.25);
    rtovarlst_set_var_step_inbaseuom(b, 2, 7.0);
    rtovarlst_set_var_quality(b, 2, 3);
    rtovarlst_set_var_modified_mask(a, 1, 2);
    rtovarlst_copy_var(a, 1, b, 2);
    EXPECT_EQ(rtovarlst_inq_var_value(b, 2, 0), 5.0);
    EXPECT_EQ(rtovarlst_inq_var_upper(b, 2, 0), 9.0);
    EXPECT_EQ(rtovarlst_inq_var_step_inbaseuom(b, 2), 0.25);
    EXPECT_EQ(rtovarlst_inq_var_quality(b, 2), 3);  // source at its default: target kept
    EXPECT_STREQ(rtovarlst_lookup_var_name(b, 2), "X2");
    EXPECT_EQ(rtovarlst_inq_var_modified(b, 2), nullptr);
    rtovarlst_copy_var(a, 4, b, 1);  // out of range: nothing
    rtovarlst_copy_var(a, 1, b, 3);
    EXPECT_EQ(rtovarlst_inq_var_value(b, 1, 0), 1e35);

    rtovarlst_set_var_value(a, 2, 6.0, 0);
    rtovarlst_set_var_shadow_price(a, 2, 3.0, 0);
    rtovarlst_presolve(a);
    EXPECT_EQ(rtovarlst_inq_var_initial(a, 1, 0), 5.0);
    EXPECT_EQ(rtovarlst_inq_var_initial(a, 2, 0), 6.0);
    EXPECT_EQ(rtovarlst_inq_var_initial(a, 3, 0), 1e35);
    EXPECT_EQ(rtovarlst_inq_var_shadow_price(a, 2, 0), 1e35);
    rtovarlst_set_var_value(a, 1, 8.0, 0);
    rtovarlst_set_var_value(a, 3, 4.0, 0);
    rtovarlst_copyinittovalue(a);
    EXPECT_EQ(rtovarlst_inq_var_value(a, 1, 0), 5.0);
    EXPECT_EQ(rtovarlst_inq_var_value(a, 3, 0), 4.0);  // INIT undefined: VALUE kept
    EXPECT_EQ(err.text(), "");
    rtovarlst_destroy_c(&a);
    rtovarlst_destroy_c(&b);
}

TEST(VarListBulk, MoveItemsFreesOverwrittenRecords) {
    rtvarlst_t *l = named_list(4);
    rtovarlst_set_var_modified_mask(l, 1, 11);
    rtovarlst_set_var_modified_mask(l, 3, 33);
    rtovarlst_set_var_profile(l, 3, new VarProfile);
    rtovarlst_move_items(l, 1, 3, 1);  // item 3's own records die, item 1's move
    EXPECT_EQ(rtovarlst_inq_var_modified_mask1(l, 3), 11u);
    EXPECT_EQ(rtovarlst_inq_var_profile(l, 3), nullptr);
    EXPECT_EQ(rtovarlst_inq_var_modified(l, 1), nullptr);
    EXPECT_STREQ(rtovarlst_lookup_var_name(l, 3), "X1");
    rtovarlst_destroy_c(&l);
}

// Items that die up to the last item, or right after a moved run, lose their
// records; that the records are freed, not dropped, the ASan leak check sees.
TEST(VarListBulk, RecordsOfDyingItemsAreReleased) {
    for (auto op : {+[](rtvarlst_t *l) { rtovarlst_removevars(l, 2, 3); },
                    +[](rtvarlst_t *l) { rtovarlst_move_items(l, 1, 2, 2); }}) {
        rtvarlst_t *l = named_list(3);
        rtovarlst_set_var_modified_mask(l, 3, 5);
        rtovarlst_set_var_profile(l, 3, new VarProfile);
        op(l);
        EXPECT_EQ(rtovarlst_inq_var_modified(l, 3), nullptr);
        EXPECT_EQ(rtovarlst_inq_var_profile(l, 3), nullptr);
        rtovarlst_destroy_c(&l);
    }
}

}  // namespace
