// Typed attribute access, vectors through windows, wrappers, checksum, aggregation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <cstdio>
#include <string>
#include <vector>

#include "capture.h"
#include "platform/xalloc.h"
#include "fakes.h"
#include "zarnutils/rtattrdict.h"

using zarn::test::CountingWrapper;
using zarn::test::HistoryCapture;

namespace {

const rtattrdesc_t kDesc[] = {
    {"VALUE", RTATTR_DOUBLE, 0.0, 0, nullptr, 0, nullptr},
    {"STATUS", RTATTR_INTEGER, 0.0, 0, nullptr, 0, nullptr},
    {"UNIT", RTATTR_STRING, 0.0, 0, nullptr, 0, nullptr},
    {"PORT", RTATTR_NAME, 0.0, 0, nullptr, 0, nullptr},
    {"OWNER", RTATTR_POINTER, 0.0, 0, nullptr, 0, nullptr},
    {"FIXED", RTATTR_BOOLEAN, 0.0, 0, nullptr, 0, nullptr},
    {"WRAP", RTATTR_WRAPPER, 0.0, 0, nullptr, 0, nullptr},
    {"SHADOW", RTATTR_SPARSE_DOUBLE, -1.0, 0, nullptr, 0, nullptr},
    {"TAG", RTATTR_SPARSE_INTEGER, 0.0, 5, nullptr, 0, nullptr},
    {"NOTE", RTATTR_SPARSE_STRING, 0.0, 0, "none", 0, nullptr},
    {"LINK", RTATTR_SPARSE_NAME, 0.0, 0, nullptr, 0, nullptr},
    {"PTR", RTATTR_SPARSE_POINTER, 0.0, 0, nullptr, 0, nullptr},
    {"FLAG", RTATTR_SPARSE_BOOLEAN, 0.0, 0, nullptr, 1, nullptr},
    {nullptr, 0, 0.0, 0, nullptr, 0, nullptr},
};

TEST(AttrAccess, ChangeFlagsAndKinds) {
    HistoryCapture his;
    rtattrdict_t *d = rtattrdict_create(4, kDesc, 0);
    rtattrdict_resize(d, 4);
    EXPECT_EQ(rtattrdict_setd_return_modified(d, 1, "VALUE", 2.5), 1);
    EXPECT_EQ(rtattrdict_setd_return_modified(d, 1, "VALUE", 2.5), 0);
    EXPECT_EQ(rtattrdict_setd_return_modified(d, 1, "VALUE", NAN), 1);
    EXPECT_EQ(rtattrdict_setd_return_modified(d, 1, "VALUE", NAN), 1);  // NaN never equals itself
    EXPECT_TRUE(std::isnan(rtattrdict_getd(d, 1, "VALUE")));

    EXPECT_EQ(rtattrdict_seti_return_modified(d, 2, "STATUS", -1), 1);
    EXPECT_EQ(rtattrdict_ivector(d, "STATUS")[1], -1);  // sign-extended into 64 bits
    EXPECT_EQ(rtattrdict_geti(d, 2, "STATUS"), -1);
    rtattrdict_seti(d, 3, "STATUS", (int64_t{1} << 40) + 9);
    EXPECT_EQ(rtattrdict_ivector(d, "STATUS")[2], (int64_t{1} << 40) + 9);
    EXPECT_EQ(rtattrdict_geti(d, 3, "STATUS"), 9);  // the low half

    EXPECT_EQ(rtattrdict_setb_return_modified(d, 1, "FIXED", 7), 1);
    EXPECT_EQ(rtattrdict_getb(d, 1, "FIXED"), 1);
    EXPECT_EQ(rtattrdict_setb_return_modified(d, 1, "FIXED", 3), 0);  // still 1

    int owner = 0;
    EXPECT_EQ(rtattrdict_setv_return_modified(d, 4, "OWNER", &owner), 1);
    EXPECT_EQ(rtattrdict_setv_return_modified(d, 4, "OWNER", &owner), 0);
    EXPECT_EQ(rtattrdict_getv(d, 4, "OWNER"), &owner);

    rtattrdict_sets(d, 1, "UNIT", "KG/HR");
    char again[] = "KG/HR";
    EXPECT_EQ(rtattrdict_gets(d, 1, "UNIT"), rtattrdict_gets(d, 1, "UNIT"));
    rtattrdict_sets(d, 2, "UNIT", again);
    EXPECT_EQ(rtattrdict_gets(d, 1, "UNIT"), rtattrdict_gets(d, 2, "UNIT"));  // interned: one pointer
    EXPECT_EQ(his.text(), "");

    // Wrong kinds and unknown names.
    rtattrdict_setd(d, 1, "STATUS", 1.0);
    rtattrdict_seti(d, 1, "NOPE", 1);
    rtattrdict_setb(d, 5, "FIXED", 1);
    rtattrdict_sets(d, 1, "VALUE", "x");
    rtattrdict_setv(d, 1, "FIXED", nullptr);
    rtattrdict_setwrapper(d, 1, "OWNER", nullptr);
    EXPECT_EQ(his.text(),
              "!!head_setd: Not double attribute STATUS\n"
              "!!head_seti: Unknown integer attribute NOPE\n"
              "!!head_setb: Access beyond size limited 5 4\n"
              "!!head_sets: Not string attribute VALUE\n"
              "!!head_setv: Not void attribute FIXED\n"
              "!!head_setwrapper: Not an IWEXWrapper attribute OWNER\n");
    EXPECT_EQ(rtattrdict_getd(d, 9, "VALUE"), 0.0);  // silent outside the size
    EXPECT_EQ(rtattrdict_getd(d, 1, "UNIT"), 0.0);
    EXPECT_EQ(rtattrdict_geti(d, 1, "X"), 0);
    EXPECT_EQ(rtattrdict_gets(d, 1, "FIXED"), nullptr);
    EXPECT_EQ(rtattrdict_getwrapper(d, 1, "VALUE"), nullptr);
    EXPECT_EQ(his.text(),
              "!!head_getd: Not double attribute UNIT\n"
              "!!head_geti: Unknown integer attribute X\n"
              "!!head_gets: Not string attribute FIXED\n"
              "!!head_getwrapper: Not an IWEXWrapper attribute VALUE\n");
    EXPECT_EQ(rtattrdict_dvector(d, "SHADOW"), nullptr);
    EXPECT_EQ(rtattrdict_svector(d, "NOTE"), nullptr);
    EXPECT_EQ(rtattrdict_bvector(d, "NONE"), nullptr);
    EXPECT_EQ(his.text(),
              "!!head_dvector: Not full double attribute SHADOW\n"
              "!!head_svector: Not full string attribute NOTE\n"
              "!!head_bvector: Unknown boolean attribute NONE\n");
    rtattrdict_destroy(d);
}

TEST(AttrAccess, SparseRecordsAppearOnFirstWrite) {
    rtattrdict_t *d = rtattrdict_create(3, kDesc, 0);
    rtattrdict_resize(d, 3);
    zarn::failalloc_set(0);  // counts allocations: a sparse record is one
    const long before = zarn::failalloc_count();
    EXPECT_EQ(rtattrdict_getd(d, 2, "SHADOW"), -1.0);
    EXPECT_EQ(rtattrdict_geti(d, 2, "TAG"), 5);
    EXPECT_STREQ(rtattrdict_gets(d, 2, "NOTE"), "none");
    EXPECT_EQ(rtattrdict_getb(d, 2, "FLAG"), 1);
    EXPECT_EQ(zarn::failalloc_count(), before);  // reading made nothing
    EXPECT_EQ(rtattrdict_seti_return_modified(d, 2, "TAG", 5), 0);  // default already
    EXPECT_EQ(zarn::failalloc_count(), before + 1);  // but the write made the record
    EXPECT_EQ(rtattrdict_setd_return_modified(d, 2, "SHADOW", 4.0), 1);
    EXPECT_EQ(rtattrdict_getd(d, 2, "SHADOW"), 4.0);
    EXPECT_STREQ(rtattrdict_gets(d, 2, "NOTE"), "none");
    EXPECT_EQ(rtattrdict_getb(d, 2, "FLAG"), 1);
    EXPECT_EQ(rtattrdict_seti_return_modified(d, 2, "TAG", -70000), 1);
    EXPECT_EQ(rtattrdict_geti(d, 2, "TAG"), -70000);
    EXPECT_EQ(rtattrdict_setb_return_modified(d, 2, "FLAG", 0), 1);
    rtattrdict_sets(d, 2, "NOTE", "hot");
    EXPECT_STREQ(rtattrdict_gets(d, 2, "NOTE"), "hot");
    int x;
    rtattrdict_setv(d, 2, "PTR", &x);
    EXPECT_EQ(rtattrdict_getv(d, 2, "PTR"), &x);
    EXPECT_EQ(zarn::failalloc_count(), before + 1);  // one record for all of them
    rtattrdict_remove_items(d, 2, 1);
    EXPECT_EQ(rtattrdict_getd(d, 2, "SHADOW"), -1.0);
    EXPECT_EQ(rtattrdict_geti(d, 2, "TAG"), 5);
    rtattrdict_destroy(d);
}

TEST(AttrAccess, WindowsTranslateIndicesVectorsAndNames) {
    HistoryCapture his;
    rtattrdict_t *d = rtattrdict_create(8, kDesc, 0);
    rtattrdict_resize(d, 8);
    rtattrdict_t *w = rtattrdict_create_embedded(d, 3, 4, "SUB.", 0);
    rtattrdict_resize(w, 4);
    rtattrdict_sets(w, 2, "NAME", "X");
    EXPECT_STREQ(rtattrdict_gets(d, 4, "NAME"), "SUB.X");
    EXPECT_STREQ(rtattrdict_gets(w, 2, "NAME"), "X");
    EXPECT_EQ(rtattrdict_index(w, "X"), 2);
    rtattrdict_sets(w, 3, "PORT", "P1");   // name kind: carries the prefix
    rtattrdict_sets(w, 3, "UNIT", "KG");   // plain: does not
    rtattrdict_sets(w, 3, "LINK", "L");    // sparse name kind
    rtattrdict_sets(w, 3, "NOTE", "N");    // sparse plain
    EXPECT_STREQ(rtattrdict_gets(d, 5, "PORT"), "SUB.P1");
    EXPECT_STREQ(rtattrdict_gets(w, 3, "PORT"), "P1");
    EXPECT_STREQ(rtattrdict_gets(d, 5, "UNIT"), "KG");
    EXPECT_STREQ(rtattrdict_gets(d, 5, "LINK"), "SUB.L");
    EXPECT_STREQ(rtattrdict_gets(w, 3, "LINK"), "L");
    EXPECT_STREQ(rtattrdict_gets(d, 5, "NOTE"), "N");

    rtattrdict_sets(w, 1, "NAME", "");
    EXPECT_EQ(his.text(), "Unable to process illegal equation/variable name ''\n");
    rtattrdict_sets(w, 4, "NAME", "X");
    EXPECT_EQ(his.text(), "Duplicate name in dictionary 'SUB.X' (changing name)\n");
    rtattrdict_sets(w, 2, "NAME", "Y");  // renaming frees X for the other holder's re-add
    EXPECT_EQ(rtattrdict_index(w, "Y"), 2);

    double *hv = rtattrdict_dvector(d, "VALUE");
    double *wv = rtattrdict_dvector(w, "VALUE");
    EXPECT_EQ(wv, hv + 2);
    EXPECT_EQ(rtattrdict_dvector_ro(w, "VALUE"), wv);
    wv[0] = 9.0;
    EXPECT_EQ(rtattrdict_getd(d, 3, "VALUE"), 9.0);
    rtattrdict_setd(w, 4, "VALUE", 4.0);
    EXPECT_EQ(hv[5], 4.0);
    EXPECT_EQ(rtattrdict_ivector(w, "STATUS"), rtattrdict_ivector(d, "STATUS") + 2);
    EXPECT_EQ(rtattrdict_bvector_ro(w, "FIXED"), rtattrdict_bvector(d, "FIXED") + 2);
    EXPECT_EQ(rtattrdict_svector(w, "NAME")[1], rtattrdict_gets(d, 4, "NAME"));
    EXPECT_EQ(rtattrdict_vvector(w, "OWNER"), rtattrdict_vvector(d, "OWNER") + 2);
    rtattrdict_seti(w, 5, "STATUS", 1);
    rtattrdict_sets(w, 5, "UNIT", "x");
    EXPECT_EQ(his.text(), "!!embedded_seti: Access beyond size limited 5 4\n!!embedded_sets: Access beyond size limited 5 4\n");
    rtattrdict_destroy(w);
    rtattrdict_destroy(d);
}

TEST(AttrAccess, WrapperReferencesBalance) {
    CountingWrapper a, b;
    rtattrdict_t *d = rtattrdict_create(3, kDesc, 0);
    rtattrdict_resize(d, 3);
    EXPECT_EQ(rtattrdict_setwrapper_return_modified(d, 1, "WRAP", &a), 1);
    EXPECT_EQ(a.refs, 1);
    EXPECT_EQ(rtattrdict_setwrapper_return_modified(d, 1, "WRAP", &a), 0);
    EXPECT_EQ(a.refs, 1);
    EXPECT_EQ(rtattrdict_getwrapper(d, 1, "WRAP"), &a);
    EXPECT_EQ(a.refs, 1);  // no reference for a read
    rtattrdict_setwrapper(d, 1, "WRAP", &b);
    EXPECT_EQ(a.refs, 0);
    EXPECT_EQ(b.refs, 1);
    rtattrdict_setwrapper(d, 2, "WRAP", &a);
    rtattrdict_setwrapper(d, 3, "WRAP", &a);
    EXPECT_EQ(a.refs, 2);
    rtattrdict_remove_items(d, 3, 1);
    EXPECT_EQ(a.refs, 1);
    rtattrdict_change_capacity(d, 50);  // columns move; references do not change
    EXPECT_EQ(rtattrdict_getwrapper(d, 2, "WRAP"), &a);
    EXPECT_EQ(a.refs, 1);
    rtattrdict_destroy(d);
    EXPECT_EQ(a.refs, 0);
    EXPECT_EQ(b.refs, 0);

    IWEXWrapperHolder holder;
    EXPECT_EQ(holder.GetWrapper(), nullptr);
    holder.SetWrapper(&a);
    holder.SetWrapper(&a);  // setting the one held is safe
    EXPECT_EQ(a.refs, 1);
    holder.SetWrapper(&b);
    EXPECT_EQ(a.refs, 0);
    EXPECT_EQ(b.refs, 1);
    holder.Release();
    EXPECT_EQ(b.refs, 0);
    holder.Release();
    EXPECT_EQ(b.refs, 0);
    {
        IWEXWrapperHolder scoped;
        scoped.SetWrapper(&a);
    }
    EXPECT_EQ(a.refs, 0);
}

std::string md5_hex(const zarn_md5_ctx_t &ctx) {
    char out[33];
    for (int i = 0; i < 16; ++i) std::snprintf(out + 2 * i, 3, "%02x", ctx.digest[i]);
    return out;
}

TEST(AttrChecksum, WindowDigestIsItsNamesWithoutPrefix) {
    rtattrdict_t *d = rtattrdict_create(6, kDesc, 0);
    rtattrdict_resize(d, 6);
    rtattrdict_t *w = rtattrdict_create_embedded(d, 2, 3, "U1.", 0);
    rtattrdict_resize(w, 3);
    const char *names[] = {"FEED", "PROD", "T"};
    rtattrdict_add_items(w, 1, 3, names);
    zarn_md5_ctx_t a, b;
    MD5Init(&a);
    EXPECT_EQ(rtattrdict_checksum(w, &a), 3);
    MD5Final(&a);
    MD5Init(&b);
    MD5Update(&b, "FEEDPRODT", 9);
    MD5Final(&b);
    EXPECT_EQ(md5_hex(a), md5_hex(b));
    MD5Init(&a);
    EXPECT_EQ(rtattrdict_checksum(d, &a), 6);
    MD5Final(&a);
    MD5Init(&b);
    MD5Update(&b, "U1.FEEDU1.PRODU1.T", 18);
    MD5Final(&b);
    EXPECT_EQ(md5_hex(a), md5_hex(b));
    rtattrdict_destroy(w);
    rtattrdict_destroy(d);
}

TEST(AttrAggregate, FoldsASeparateHeadIntoAWindow) {
    CountingWrapper wr;
    rtattrdict_t *head = rtattrdict_create(10, kDesc, 1);
    rtattrdict_resize(head, 10);
    rtattrdict_t *sub = rtattrdict_create(3, kDesc, 1);
    rtattrdict_resize(sub, 3);
    const char *names[] = {"A", "B", "C"};
    rtattrdict_add_items(sub, 1, 3, names);
    rtattrdict_setd(sub, 2, "VALUE", 7.5);
    rtattrdict_sets(sub, 3, "PORT", "P");
    rtattrdict_seti(sub, 1, "TAG", 11);
    rtattrdict_setwrapper(sub, 2, "WRAP", &wr);
    rtattrdict_t *inner = rtattrdict_create_embedded(sub, 2, 1, nullptr, 1);
    rtattrdict_resize(inner, 1);

    const rtattrdesc_t other[] = {{"VALUE", RTATTR_DOUBLE, 1.0, 0, nullptr, 0, nullptr},
                                  {nullptr, 0, 0.0, 0, nullptr, 0, nullptr}};
    rtattrdict_t *odd = rtattrdict_create(1, other, 1);
    EXPECT_EQ(rtattrdict_aggregate(head, odd, 1, "X."), nullptr);  // attribute sets differ
    rtattrdict_destroy(odd);
    rtattrdesc_t flipped[std::size(kDesc)];
    std::copy(std::begin(kDesc), std::end(kDesc), flipped);
    flipped[12].bdefault = 0;  // FLAG: same type, another default
    odd = rtattrdict_create(1, flipped, 1);
    rtattrdict_t *folded = rtattrdict_aggregate(head, odd, 1, "X.");
    EXPECT_EQ(folded, nullptr);
    rtattrdict_destroy(folded != nullptr ? folded : odd);

    rtattrdict_t *w = rtattrdict_aggregate(head, sub, 4, "S.");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(rtattrdict_inq_num(w), 3);
    EXPECT_EQ(rtattrdict_index(head, "S.B"), 5);
    EXPECT_EQ(rtattrdict_index(w, "C"), 3);
    EXPECT_EQ(rtattrdict_getd(head, 5, "VALUE"), 7.5);
    EXPECT_STREQ(rtattrdict_gets(head, 6, "PORT"), "S.P");
    EXPECT_EQ(rtattrdict_geti(head, 4, "TAG"), 11);
    EXPECT_EQ(rtattrdict_getwrapper(head, 5, "WRAP"), &wr);
    EXPECT_EQ(wr.refs, 1);
    EXPECT_EQ(wr.index, 5);
    EXPECT_EQ(rtattrdict_embedded(inner), w);
    EXPECT_STREQ(rtattrdict_name(inner, 1), "B");
    EXPECT_EQ(rtattrdict_okay(inner), 1);
    rtattrdict_destroy(inner);
    rtattrdict_destroy(w);
    rtattrdict_destroy(head);
    EXPECT_EQ(wr.refs, 0);
}

}  // namespace
