// Variable records: one call reads, writes or initialises the fields a mask names.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <regex>
#include <sstream>

#include "platform/xalloc.h"
#include "zarnutils/varprofile.hpp"
#include "varlst_fixture.h"

using namespace zarn::test;

namespace {

constexpr int64_t kState = 69984,
                  kFixedState =
                      69985;  // a temperature, (22 + 256) << 4, of type STATE, 1 << 16; fixed: spec 1
RecordingBlock g_old, g_new;  // also the connection managers
// A new value for every field (BASEUOM with high bits that writers drop); what initialisation gives an
// untyped item.
const rtvarinfo_t kFresh{{0, 0},
                         "NEW",
                         60,
                         70,
                         10,
                         100,
                         2,
                         3,
                         4,
                         5,
                         6,
                         2,
                         kFixedState,
                         2,
                         {3, 4},
                         &g_new,
                         3 + (int64_t{1} << 32),
                         &g_new,
                         1,
                         7,
                         "new",
                         6,
                         nullptr,
                         8,
                         0,
                         2,
                         22,
                         9};
const rtvarinfo_t kUntyped{{0, 0}, "NEW",   1, 1e35,    -1e20, 1e20, 1e35, 1, 1,       1e35, 1e35, 0, 0, 0,
                           {0, 0}, nullptr, 1, nullptr, 0,     1e35, "",   0, nullptr, 1e35, 0,    0, 0, 0};

// The mask of the fields named: the names of mask1's bits 0..30, then of mask2's ("all": both halves full).
rtvarmask_t mask(const std::string &names) {
    static const std::string bits =
        " name value lower upper step intscale scale sbweight status init units bound_type marked related "
        "modified "
        "conn_mgr active_bound shadow_price quality baseuom physical_type blockptr param_homo target_homo "
        "description "
        "var_type profile threshold ramped change spec | bit1 uom - conn_type basic ";
    rtvarmask_t m = rtvarinfo_mask_from_int(names == "all" ? RTVARINFO_ALL : 0);
    std::istringstream in(names);
    auto code = [](long k) { return k < 31 ? int32_t{1} << k : -(int32_t{1} << (k - 32)); };
    for (std::string w; in >> w && w != "all";)
        rtvarinfo_mask_add(&m, code(std::count(bits.begin(), bits.begin() + bits.find(" " + w + " "), ' ')));
    return m;
}

// "field=value " for every field of b that differs from a; pointers as 0, old, new or p (another).
std::string diff(const rtvarinfo_t &a, const rtvarinfo_t &b) {
    auto d = [](double v) {
        char t[32];
        std::snprintf(t, sizeof t, "%.9g", v);
        return std::string(t);
    };
    auto p = [](const void *q) -> std::string {
        return !q ? "0" : q == &g_old ? "old" : q == &g_new ? "new" : "p";
    };
    auto m = [](rtvarmod_t x) { return std::to_string(x.mask1) + ";" + std::to_string(x.mask2); };
    std::string s;
    // clang-format off
#define ZF(f, k) s += k(a.f) == k(b.f) ? "" : #f "=" + k(b.f) + " ";
    ZF(name, std::string)
    ZF(value, d)
    ZF(init, d)
    ZF(lower, d)
    ZF(upper, d)
    ZF(step, d)
    ZF(intscale, d)
    ZF(scale, d)
    ZF(sbweight, d)
    ZF(shadow_price, d)
    ZF(quality, d)
    ZF(status, d)
    ZF(related, d)
    ZF(modified, m)
    ZF(conn_mgr, p)
    ZF(baseuom, d)
    ZF(blockptr, p)
    ZF(param_homo, d)
    ZF(target_homo, d)
    ZF(description, std::string)
    ZF(active_bound, d)
    ZF(profile, p)
    ZF(threshold, d)
    ZF(ramped, d)
    ZF(uom, d)
    ZF(conn_type, d)
    ZF(basic, d)
#undef ZF
    // clang-format on
    return s;
}

// X1: a STATE temperature held in F at 50, its fields unlike kFresh's; X2: algebraic, 7 in its RELATED
// column; X3..X5 untyped, X4 shown in F, X5 held in F.
rtvarlst_t *old_items() {
    rtvarlst_t *l = named_list(5);
    rtovarlst_set_var_status(l, 1, kState);
    rtovarlst_set_var_related(l, 1, 1);
    rtovarlst_set_var_related(l, 2, 7);
    rtovarlst_set_var_baseuom(l, 1, 2);
    rtovarlst_set_var_value(l, 1, 50, 0);
    rtovarlst_set_var_step_inbaseuom(l, 1, 1);
    rtovarlst_set_var_ramped(l, 1, 5);
    rtovarlst_set_var_uom(l, 1, 1);
    rtovarlst_set_var_connMgr(l, 1, &g_old);
    rtovarlst_set_var_blockptr(l, 1, &g_old);
    rtovarlst_set_var_description(l, 1, "old");
    rtovarlst_set_var_profile(l, 1, new VarProfile);
    rtovarlst_set_var_uom(l, 4, 2);
    rtovarlst_set_var_baseuom(l, 5, 2);
    return l;
}

// A case: 's' sets X1, 'q' inquires item i, 'n' initialises it, 'x' makes the bad calls below, 'a'
// initialises X1 and sets X2 of fresh lists with each allocation failing in turn, all with kFresh asking the
// fields named, LOWER/VALUE/UPPER replaced. Shown: X1's bound and value events | history and assertion lines
// | what an inquiry filled, an initialised item's departures from kUntyped or what the failing allocations
// printed (repeats once), and how X1 changed (read with the in-SI flag).
struct Row {
    char op;
    int32_t i;
    const char *fields;
    unsigned char si;
    std::string out;
    double lo = 10, v = 60, up = 100;
};
void check(const std::vector<Row> &rows) {
    const std::regex events("X1:(8|256|1024)( )|[^ ]+:[0-9]+ "),
        assertion("Assertion '([^\n]*)' failed in source/rtvarlst/rtvarlst:[0-9]+\n"),
        read_only("The [A-Z_]+ attribute of a variable is read-only\n"), repeats("(.+\n)\\1+"),
        written("\\|X2,new,[^,]*,[^,]*,60.0+,70.0+,10.0+,");
    for (const auto &row : rows) {
        rtvarlst_t *l = old_items();
        rtvarinfo_t before = kFresh, after = kFresh, r = kFresh;
        before.mask = after.mask = mask("all");
        r.mask = mask(row.fields);
        r.lower = row.lo;
        r.value = row.v;
        r.upper = row.up;
        rtovarlst_inq_var(l, 1, &before, row.si);
        ChangeTap tap;
        StderrCapture err;
        HistoryCapture his;  // what the operation reports
        EXPECT_EQ(row.op == 's' ? rtovarlst_set_var(l, 1, &r, row.si) : 0, 0);
        if (row.op == 'n') {
            rtovarlst_initialize_var(l, row.i, &r, row.si);
            r.mask = mask("all");
        }
        if (row.op == 'q' || row.op == 'n') rtovarlst_inq_var(l, row.i, &r, row.op == 'q' ? row.si : 0);
        if (row.op == 'x') {
            rtovarlst_inq_var(nullptr, 1, &r, 1);
            rtovarlst_inq_var(l, 1, nullptr, 0);
            rtovarlst_set_var(nullptr, 1, &r, 0);
            rtovarlst_set_var(l, 0, nullptr, 1);
            rtovarlst_initialize_var(nullptr, 1, &r, 0);
            rtovarlst_initialize_var(l, 0, &r, 0);
            rtovarlst_initialize_var(l, 1, nullptr, 0);
            r.related = 0;
            rtovarlst_set_var(l, 1, &r, 0);
            r.name[0] = '\0';
            rtovarlst_initialize_var(l, 1, &r, 0);
        }
        std::string texts;
        for (long n = row.op == 'a' ? 0 : 1, total = 0; n <= total; ++n) {
            rtvarlst_t *f = named_list(2);
            zarn::failalloc_set(n);
            rtovarlst_initialize_var(f, 1, &r, 1);
            rtovarlst_set_var(f, 2, &r, 1);
            total = n ? total : zarn::failalloc_count();
            zarn::failalloc_set(0);
            texts += std::regex_replace(his.text(), read_only, "") + err.text() +
                     (std::regex_search(dump(f), written) ? "" : "lost ");
            rtovarlst_destroy_c(&f);
        }
        rtovarlst_inq_var(l, 1, &after, row.si);
        const std::string gave =
            row.op == 'n' ? diff(kUntyped, r)
            : row.op != 'q'
                ? std::regex_replace(texts, repeats, "$1")
                : diff(kFresh, r) +
                      (r.description == rtovarlst_inq_var_description(l, row.i) ? "(own text)" : "");
        EXPECT_EQ(std::regex_replace(tap.take(), events, "$1$2") + "|" + his.text() +
                      std::regex_replace(err.text(), assertion, "A($1)") + "|" + gave + diff(before, after),
                  row.out)
            << row.op << " " << row.fields;
        rtovarlst_destroy_c(&l);
    }
}

TEST(VarRecord, WritesInquiriesAndInitialisations) {
    const std::string only =
                          "The NAME attribute of a variable is read-only\nThe INTSCALE attribute of a "
                          "variable is read-only\n"
                          "The SHADOW_PRICE attribute of a variable is read-only\nThe ACTIVE_BOUND attribute "
                          "of a variable is read-only\n|",
                      q = "A(rtovarlst_query: ", s = "A(rtovarlst_set_var: ",
                      n = "A(rtovarlst_initialize_var: ";
    check(
        {{'s', 1, "lower value", 0, "1024 8 ||value=60 lower=55 ", 55},
         {'s', 1, "lower value", 0, "8 1024 ||value=55 lower=50 ", 50, 55},
         {'s', 1, "upper value", 0, "256 1024 ||value=40 upper=50 ", 10, 40, 50},
         {'s', 1, "upper value", 0, "1024 256 ||value=40 upper=45 ", 10, 40, 45},
         {'s', 1, "lower value", 1, "8 1024 ||value=282 lower=280 ", 280, 282},  // X1 at 283.15 K
         {'s', 1, "all", 0,
          "256 8 1024 |" + only +
              "value=60 init=70 lower=10 upper=100 step=2 scale=4 sbweight=5 quality=2 status=69985 "
              "related=2 "
              "modified=3;4 baseuom=3 blockptr=new param_homo=1 target_homo=7 description=new threshold=8 "
              "ramped=0 uom=2 conn_type=22 basic=9 "},
         {'s', 1,
          "name intscale shadow_price active_bound conn_mgr profile units bound_type marked physical_type "
          "var_type change spec bit1",
          0, "|" + only},
         {'s', 1,
          "lower upper init step scale sbweight status modified blockptr target_homo threshold ramped "
          "conn_type",
          1,
          "8 256 ||init=70 "
          "lower=10 upper=100 step=2 scale=4 sbweight=5 status=69985 modified=3;4 blockptr=new target_homo=7 "
          "threshold=8 ramped=0 conn_type=22 "},
         {'x', 1, "related", 0,
          "|!! rtovarlst_set_var_type: State variable must specify non-zero offset to differential variable\n"
          "rtovarlst_initialize_var: Initialization failed, a variable must define its NAME attribute.\n" +
              q + "varlst is NULL)" + q + "varinfo pointer is NULL)" + s + "varlst is NULL)" + s +
              "index is 0)" + s + "varinfo pointer is NULL)" + n + "varlst is NULL)" + n + "index is 0)" + n +
              "varinfo pointer is NULL)|"},
         {'a', 1, "all", 1, "||!!attribute dictionary: unable to allocate a sparse record\n"},
         {'q', 1, "value step spec uom", 1, "||value=283.15 step=255.927778 status=69984 uom=1 "},
         {'q', 2, "name related modified basic", 0, "||name=X2 status=0 related=0 modified=0;0 basic=0 "},
         {'q', 1,
          "value var_type units ramped description conn_mgr blockptr profile bound_type marked physical_type "
          "change bit1",
          0,
          "||value=50 status=69984 conn_mgr=old blockptr=old description=old profile=p ramped=1 uom=1 (own "
          "text)"},
         {'n', 3, "name related", 1, "||"},
         {'n', 4, "status related baseuom", 0,
          "||value=460.67 intscale=0.555555556 status=69985 related=2 baseuom=3 uom=2 "},
         {'n', 5, "value lower init step status", 1,
          "||value=212 init=-333.67 lower=32 upper=1.8e+20 step=-456.07 scale=1.8 status=69985 ", 273.15,
          373.15},
         {'n', 5, "value lower init step status", 0,
          "||value=373.15 init=70 lower=273.15 upper=1.8e+20 step=-456.07 scale=1.8 status=69985 ", 273.15,
          373.15},
         {'n', 3,
          "intscale value modified scale sbweight quality active_bound target_homo param_homo description "
          "threshold ramped blockptr uom conn_type basic",
          1,
          "||value=60 lower=-3.33333333e+19 upper=3.33333333e+19 intscale=3 scale=4 sbweight=5 quality=2 "
          "modified=3;4 param_homo=1 target_homo=7 "
          "description=new active_bound=6 uom=2 conn_type=22 basic=9 "}});
}

}  // namespace

// A window's record holds the cells of its head's item for the same
// variable: item j of a window at start s is the parent's item s + j - 1,
// one level down or two, read as held or in SI (the items are held in SI).
TEST(VarRecord, AWindowReadsTheCellsOfItsHeadsItem) {
    rtvarlst_t *head = rtovarlst_create(6);
    rtovarlst_set_nvar(head, 6);
    for (int32_t k = 1; k <= 6; ++k) {
        rtovarlst_set_var_lower(head, k, -100.0 * k, 0);
        rtovarlst_set_var_upper(head, k, 100.0 * k, 0);
        rtovarlst_set_var_value(head, k, 10.0 * k, 0);
        rtovarlst_set_var_initial(head, k, 20.0 * k, 0);
        rtovarlst_set_var_shadow_price(head, k, 30.0 * k, 0);
        rtovarlst_set_var_slvscl(head, k, 40.0 * k, 0);
        rtovarlst_set_var_threshold(head, k, 50.0 * k, 0);
    }
    rtvarlst_t *outer = rtovarlst_create_sublist(head, 3);
    rtvarlst_t *inner = rtovarlst_create_sublist(outer, 2);
    const struct {
        const char *name;
        rtvarlst_t *list;
        int32_t first;  // the head's item behind the window's item 1
    } windows[] = {{"a window at item 3", outer, 3}, {"a window at its item 2", inner, 4}};
    for (const auto &w : windows) {
        for (unsigned char in_si : {0, 1}) {
            for (int32_t j = 1; w.first + j - 1 <= 6; ++j) {
                const double k = w.first + j - 1;
                rtvarinfo_t r{};
                r.mask = rtvarinfo_mask_from_int(RTVARINFO_ALL);
                rtovarlst_inq_var(w.list, j, &r, in_si);
                const std::string where = std::string(w.name) + ", item " + std::to_string(j) +
                                          (in_si != 0 ? ", in SI" : ", as held");
                EXPECT_EQ(r.value, 10.0 * k) << where << ": VALUE";
                EXPECT_EQ(r.init, 20.0 * k) << where << ": INIT";
                EXPECT_EQ(r.lower, -100.0 * k) << where << ": LOWER";
                EXPECT_EQ(r.upper, 100.0 * k) << where << ": UPPER";
                EXPECT_EQ(r.shadow_price, 30.0 * k) << where << ": SHADOW_PRICE";
                EXPECT_EQ(r.scale, 40.0 * k) << where << ": SCALE";
                EXPECT_EQ(r.threshold, 50.0 * k) << where << ": THRESHOLD";
                EXPECT_EQ(r.baseuom, 1) << where << ": BASEUOM";
            }
        }
    }
    rtovarlst_delete_sublist(&inner);
    rtovarlst_delete_sublist(&outer);
    rtovarlst_destroy_c(&head);
}
