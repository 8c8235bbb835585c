// Equation lists: shape, windows, names, attributes, records and careless callers.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "eqnlst_fixture.h"
#include "failsweep.h"
#include "fakes.h"
#include "rtattrdict/rtattrdict_sibling.h"

using namespace zarn::test;

namespace {

const char *name(rtattrdict_t *l, int32_t i) { return rtoeqnlst_lookup_eqn_name(l, i); }

TEST(EqnList, ShapeWindowsAndNames) {
    run_rows({
        {"the size may reach the capacity, not pass it",
         [](World &w) {
             rtoeqnlst_set_neqn(w.list, 4);
             rtoeqnlst_set_neqn(w.list, 5);
             return line(rtoeqnlst_inq_neqn(w.list));
         },
         "4|!! rtoeqnlst_set_neqn: size 5 exceeds capacity 4\n|"},
        {"a capacity below the size is refused",
         [](World &w) {
             rtoeqnlst_resize(w.list, 0);
             return line(rtoeqnlst_inq_capacity(w.list));
         },
         "4|!!head_change_capacity: capacity 0 less than size 3 (not changed)\n|"},
        {"a capacity that cannot be allocated is refused",
         [](World &w) {
             zarn::failalloc_set(1, true);
             rtoeqnlst_resize(w.list, INT32_MAX);
             zarn::failalloc_set(0);
             return line(rtoeqnlst_inq_capacity(w.list));
         },
         "4|!!head_change_capacity: unable to allocate 2147483647 elements (not changed)\n|"},
        {"a move beyond the list is refused",
         [](World &w) {
             rtoeqnlst_move_items(w.list, 2, 9, 1);
             return std::string();
         },
         "|!!head_move_elems: bad source or destination, source 2, dest 9, move size 1, list size 3|"},
        {"a window names through its prefix and numbers from 1",
         [](World &w) {
             rtoeqnlst_addeqn(w.window, 1, "X");
             return line(name(w.list, 2), name(w.window, 1), rtoeqnlst__eqnname2index(w.window, "X"),
                         rtoeqnlst_absolute_index(w.window, 2),
                         rtoeqnlst_vec_status(w.window) - rtoeqnlst_vec_status(w.list));
         },
         "W.X X 1 3 1||"},
        {"a window is the child of its parent alone",
         [](World &w) {
             return line(rtoeqnlst_parent_check(w.list, w.window), rtoeqnlst_parent_check(w.window, w.list),
                         rtoeqnlst_parent_check(w.window, w.window),
                         rtoeqnlst_parent_check(nullptr, w.window));
         },
         "1 0 0 0||"},
        {"without a parent a window is a head of its own",
         [](World &) {
             rtattrdict_t *own = rtoeqnlst_create_embedded(2, nullptr, "P.", 9);
             const std::string capacity = line(rtoeqnlst_inq_capacity(own));
             rtoeqnlst_destroy(&own);
             return line(capacity, own == nullptr);
         },
         "2 1||"},
        {"a reversed run or no width names nothing",
         [](World &w) {
             return line(rtoeqnlst_addeqns(w.list, 3, 2, 6, "XX    "),
                         rtoeqnlst_addeqns(w.list, 1, 1, 0, "XX"));
         },
         "0 0||"},
        {"removed equations lose their names",
         [](World &w) {
             rtoeqnlst_removeeqns(w.list, 2, 3);
             return line(name(w.list, 2), rtoeqnlst__eqnname2index(w.list, "EQ1"));
         },
         " 1||"},
        {"names into fields: the rest of a field kept, a long name cut",
         [](World &w) {
             char fields[16] = "***************", exact[5] = "****";
             rtoeqnlst_addeqn(w.list, 3, "LONGNAME");
             rtoeqnlst_names(w.list, 1, 3, 5, fields);
             rtoeqnlst_names(w.list, 1, 1, 3, exact);
             return line(fields, exact);
         },
         "EQ1**EQ2**LONGN EQ1*|Truncating equation name 'LONGNAME' to 5 characters\n|"},
        {"names of a range beyond the list: refused",
         [](World &w) {
             char fields[11] = "**********";
             rtoeqnlst_names(w.list, 2, 4, 5, fields);
             return line(fields);
         },
         "**********|!!rtoeqnlst_names_c: Bad indices 2 4 3\n|"},
        {"the digest is fed every name; without a digest nothing",
         [](World &w) {
             zarn_md5_ctx_t ctx;
             MD5Init(&ctx);
             const int32_t fed = rtoeqnlst_compute_md(w.list, &ctx);
             MD5Final(&ctx);
             return line(fed, rtoeqnlst_compute_md(w.list, nullptr));
         },
         "3 0||"},
    });
}

TEST(EqnList, RangesOfNamesCompared) {
    World w, other;
    rtoeqnlst_addeqn(other.list, 3, "W.EQ3");  // its window sees EQ3
    struct Case {
        const char *what;
        rtattrdict_t *list1;
        int32_t first1, last1;
        rtattrdict_t *list2;
        int32_t first2, last2, want;
    };
    const Case cases[] = {
        {"the same range", w.list, 2, 3, w.list, 2, 3, 1},
        {"the last names differ", w.list, 2, 3, other.list, 2, 3, 0},
        {"two empty ranges", w.list, 3, 2, w.list, 4, 3, 1},
        {"different lengths", w.list, 1, 2, w.list, 1, 3, 0},
        {"beyond the list", w.list, 2, 4, w.list, 2, 4, 0},
        {"an empty range from 0", w.list, 0, -1, w.list, 1, 0, 0},
        {"no list", nullptr, 1, 1, w.list, 1, 1, 0},
        {"a window against a longer list", other.window, 2, 2, w.list, 3, 3, 1},
    };
    for (const Case &c : cases)
        EXPECT_EQ(rtoeqnlst_names_eq(c.list1, c.first1, c.last1, c.list2, c.first2, c.last2), c.want)
            << c.what;
}

TEST(EqnList, AttributesAndRecords) {
    run_rows({
        {"the setters write the columns, the readers read them",
         [](World &w) {
             CountingWrapper wrapper;
             rtoeqnlst_set_eqn_basic(w.list, 2, -4);
             rtoeqnlst_set_eqn_blockptr_int(w.list, 2, -2);
             rtoeqnlst_set_eqn_proc_var(w.window, 1, "T");
             rtoeqnlst_set_eqn_comWrapper(w.list, 2, &wrapper);
             rtoeqnlst_vec_scale(w.list)[2] = 0.5;
             const std::string got =
                 line(rtoeqnlst_vec_basic(w.list)[1],
                      rtoeqnlst_vec_blockptr(w.list)[1] == reinterpret_cast<void *>(-2),
                      rtoeqnlst_inq_eqn_proc_var(w.list, 2), rtoeqnlst_inq_eqn_proc_var(w.window, 1),
                      rtoeqnlst_inq_eqn_scale(w.list, 3), rtoeqnlst_inq_eqn_comWrapper(w.list, 2) == &wrapper,
                      wrapper.refs);
             rtoeqnlst_set_eqn_comWrapper(w.list, 2, nullptr);
             return line(got, wrapper.refs);
         },
         "-4 1 W.T T 0.5 1 1 0||"},
        {"initialisation: the meant fields, defaults for the rest, GROUP unless meant and BASIC kept",
         [](World &w) {
             rtoeqnlst_set_eqn_basic(w.list, 1, 5);
             rtoeqnlst_vec_group(w.list)[0] = 6;
             rtoeqnlst_set_eqn_proc_var(w.list, 2, "OLD");
             eqninfo a{}, b{};
             a.mask.mask1 = EQNINFO_NAME | EQNINFO_SCALE | EQNINFO_STATUS | EQNINFO_PROCVAR;
             std::strcpy(a.name, "BAL");
             a.scale = 2.0;
             a.status = 3;
             a.proc_var = "V";
             b.mask.mask1 =
                 EQNINFO_NAME | EQNINFO_RESIDUAL | EQNINFO_GROUP | EQNINFO_BLOCKPTR | EQNINFO_SHADOW_PRICE;
             std::strcpy(b.name, "EB");
             b.residual = 0.5;
             b.group = 4;
             b.blockptr = &a;
             b.shadow_price = 8.0;
             rtoeqnlst_initialize_eqn(w.list, 1, &a);
             rtoeqnlst_initialize_eqn(w.list, 2, &b);
             std::string got;
             for (int32_t i : {1, 2}) {
                 eqninfo r{};
                 r.mask.mask1 = 0x1FF;
                 rtoeqnlst_inq_eqn(w.list, i, &r);
                 got = line(got, r.name, r.residual, r.scale, r.status, r.group, r.proc_var, r.blockptr == &a,
                            r.basic, r.shadow_price);
             }
             return got;
         },
         " BAL 0 2 3 6 V 0 5 0 EB 0.5 1 0 4  1 0 8||"},
        {"an inquiry fills the meant fields only",
         [](World &w) {
             rtoeqnlst_set_eqn_status(w.list, 1, 3);
             rtoeqnlst_vec_group(w.list)[0] = 6;
             eqninfo part{};
             part.mask.mask1 = EQNINFO_STATUS;
             part.residual = -9.0;
             rtoeqnlst_inq_eqn(w.list, 1, &part);
             return line(part.status, part.residual, part.group, part.name);
         },
         "3 -9 0 ||"},
        {"initialisation without a name says so and goes on; no process variable, no sparse record",
         [](World &w) {
             eqninfo r{};
             r.mask.mask1 = EQNINFO_SCALE;
             r.scale = 3.0;
             rtoeqnlst_initialize_eqn(w.list, 1, &r);
             const rtattr_t *procvar = zarn::rtattrdict::lookup_attr(w.list, "PROCVAR");
             return line(name(w.list, 1), rtoeqnlst_inq_eqn_scale(w.list, 1),
                         zarn::rtattrdict::sparse_cell(w.list, 1, procvar) == nullptr);
         },
         "EQ1 3 1|rtoeqnlst_initialize_eqn: You must set the eqation name.\n|"},
        {"no list or no record: assertion lines",
         [](World &w) {
             eqninfo r{};
             r.mask.mask1 = 0x1FF;
             rtoeqnlst_inq_eqn(nullptr, 1, &r);
             rtoeqnlst_initialize_eqn(nullptr, 1, &r);
             rtoeqnlst_inq_eqn(w.list, 1, nullptr);
             return line(r.name);
         },
         "||A(rtoeqnlst_inq_eqn: eqnlst is NULL)"
         "A(rtoeqnlst_inq_eqn: eqnlst is NULL)"
         "A(rtoeqnlst_inq_eqn: eqninfo pointer is NULL)"},
    });
}

TEST(EqnList, CarelessCallers) {
    run_rows({
        {"a dictionary with a residual column only: the dictionary reports, nothing is touched",
         [](World &) {
             static const rtattrdesc_t kResidualOnly[] = {
                 {"RESIDUAL", RTATTR_DOUBLE, 1.0, 0, nullptr, 0, nullptr},
                 {nullptr, RTATTR_END, 0.0, 0, nullptr, 0, nullptr}};
             rtattrdict_t *d = rtattrdict_create(2, kResidualOnly, 0);
             rtattrdict_resize(d, 2);
             double norm = 0.0;
             int32_t top[1] = {-7};
             rtoeqnlst_norm(d, 1, 2, &norm);
             rtoeqnlst_inq_max_residuals(d, 1, 2, 1, 0, top);
             rtoeqnlst_in_exclude_equation(d, 1, 0);
             const std::string got = line(norm, top[0], rtoeqnlst_inq_neqn_active(d));
             rtattrdict_destroy(d);
             return got;
         },
         "1e+35 0 0|"
         "!!head_ivector: Unknown integer attribute STATUS\n"
         "!!head_ivector: Unknown integer attribute STATUS\n"
         "!!head_ivector: Unknown integer attribute STATUS\n"
         "!!head_ivector: Unknown integer attribute STATUS\n|"},
        {"no list: zero values and no effect, silently",
         [](World &) {
             rtoeqnlst_set_neqn(nullptr, 1);
             rtoeqnlst_destroy(nullptr);
             return line(rtoeqnlst_inq_neqn(nullptr), rtoeqnlst_inq_neqn_active(nullptr),
                         rtoeqnlst_inq_capacity(nullptr));
         },
         "0 0 0||"},
    });
}

TEST(EqnList, CreationUnderEveryAllocationFailingGivesAWholeListOrNone) {
    HistoryCapture his;
    bool whole = false;
    int none = 0;
    fail_each_allocation(
        [&whole] {
            rtattrdict_t *l = rtoeqnlst_create(5);
            whole = l != nullptr && hashNum(rtattrdict_attributes(l)) == 10;
            const bool made = l != nullptr;
            rtoeqnlst_destroy(&l);
            return made;
        },
        [&whole, &none](long n, bool made) {
            EXPECT_TRUE(!made || whole) << "allocation " << n << " failed: a list without all its columns";
            none += made ? 0 : 1;
        });
    EXPECT_GT(none, 0);
}

}  // namespace
