// Equation lists: shape, windows, names, attributes, records and careless
// callers, as tables of calls on a list EQ1..EQ3 with a window "W." over 2..3.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "eqnlst_fixture.h"
#include "failsweep.h"
#include "fakes.h"
#include "platform/xalloc.h"
#include "rtattrdict/rtattrdict_sibling.h"

using namespace zarn::test;

namespace {

const char *name(rtattrdict_t *l, int32_t i) { return rtoeqnlst_lookup_eqn_name(l, i); }
double ptr(const void *p) { return static_cast<double>(reinterpret_cast<intptr_t>(p)); }

TEST(EqnList, ShapeWindowsAndNames) {
    run_rows({
        {"size up to the capacity; negative sizes and capacities ignored; capacity grows",
         [](World &w) {
             for (int32_t n : {4, 5, -1}) rtoeqnlst_set_neqn(w.list, n);
             rtoeqnlst_resize(w.list, -1);
             rtoeqnlst_resize(w.list, 0);
             rtoeqnlst_relocate(w.list, 1);
             rtoeqnlst_move_items(w.list, 2, 9, 1);
             const std::string before = line(rtoeqnlst_inq_neqn(w.list), rtoeqnlst_inq_capacity(w.list));
             rtoeqnlst_resize(w.list, 50);
             return line(before, rtoeqnlst_inq_capacity(w.list), rtoeqnlst__eqnname2index(w.list, "EQ3"));
         },
         "4 4 50 3|!! rtoeqnlst_set_neqn: size 5 exceeds capacity 4\n"
         "!!head_change_capacity: capacity 0 less than size 4 (not changed)\n"
         "!! head_relocate: relocate is not allowed for a head list\n"
         "!!head_move_elems: bad source or destination, source 2, dest 9, move size 1, list size 4|"},
        {"a window names through its prefix, numbers from 1, knows its parent",
         [](World &w) {
             rtoeqnlst_addeqn(w.window, 1, "X");
             return line(name(w.list, 2), name(w.window, 1), rtoeqnlst__eqnname2index(w.window, "X"),
                         rtoeqnlst_parent_check(w.list, w.window), rtoeqnlst_parent_check(w.window, w.list),
                         rtoeqnlst_parent_check(w.window, w.window),
                         rtoeqnlst_parent_check(nullptr, w.window), rtoeqnlst_absolute_index(w.window, 2),
                         rtoeqnlst_vec_status(w.window) - rtoeqnlst_vec_status(w.list));
         },
         "W.X X 1 1 0 0 0 3 1||"},
        {"without a parent a window is a head of its own",
         [](World &) {
             rtattrdict_t *own = rtoeqnlst_create_embedded(2, nullptr, "P.", 9);
             const std::string got = line(rtoeqnlst_inq_capacity(own), rtattrdict_embedded(own) == nullptr);
             rtoeqnlst_destroy(&own);
             return line(got, own == nullptr);
         },
         "2 1 1||"},
        {"a run named from fixed-width fields; an empty run or no width names nothing; removal resets",
         [](World &w) {
             const int32_t named = rtoeqnlst_addeqns(w.list, 1, 3, 6, "AB    CD.E  F(1)  ");
             const int32_t reversed = rtoeqnlst_addeqns(w.list, 3, 2, 6, "XX    ");
             const int32_t no_width = rtoeqnlst_addeqns(w.list, 1, 1, 0, "XX");
             const std::string got = line(named, name(w.list, 1), name(w.list, 3), reversed, no_width);
             rtoeqnlst_removeeqns(w.list, 2, 3);
             return line(got, name(w.list, 2), rtoeqnlst__eqnname2index(w.list, "AB"));
         },
         "3 AB F(1) 0 0  1||"},
        {"names into fixed-width fields: short ones leave the rest, long ones are cut, bad ranges refused",
         [](World &w) {
             char fields[16] = "***************", exact[5] = "****", copy[EQNINFO_NAME_SIZE] = "junk";
             rtoeqnlst_addeqn(w.list, 3, "LONGNAME");
             rtoeqnlst_names(w.list, 1, 3, 5, fields);
             rtoeqnlst_names(w.list, 1, 1, 3, exact);
             rtoeqnlst_names(w.list, 2, 4, 5, fields);
             rtoeqnlst_names(w.list, 0, 2, 5, fields);
             rtoeqnlst_inq_eqn_name(w.list, 5, copy);
             return line(fields, exact, copy, name(w.list, 5));
         },
         "EQ1**EQ2**LONGN EQ1*  NULL|Truncating equation name 'LONGNAME' to 5 characters\n"
         "!!rtoeqnlst_names_c: Bad indices 2 4 3\n|"},
        {"ranges of names compared: equal, first or last different, across lists, empty, lengths, beyond, "
         "below 1, no list, against a shorter list; the digest",
         [](World &w) {
             World other;
             rtattrdict_t *l = w.list, *o = other.list;
             rtoeqnlst_addeqn(o, 3, "W.EQ3");  // its window sees EQ3
             zarn_md5_ctx_t ctx;
             MD5Init(&ctx);
             const int32_t fed = rtoeqnlst_compute_md(l, &ctx);
             MD5Final(&ctx);
             return line(rtoeqnlst_names_eq(l, 2, 3, l, 2, 3), rtoeqnlst_names_eq(l, 1, 2, l, 2, 3),
                         rtoeqnlst_names_eq(l, 2, 3, o, 2, 3), rtoeqnlst_names_eq(l, 1, 2, o, 1, 2),
                         rtoeqnlst_names_eq(l, 3, 2, l, 4, 3), rtoeqnlst_names_eq(l, 0, -1, l, 1, 0),
                         rtoeqnlst_names_eq(l, 1, 3, l, 1, 4), rtoeqnlst_names_eq(l, 2, 4, l, 2, 4),
                         rtoeqnlst_names_eq(l, 0, 1, l, 0, 1), rtoeqnlst_names_eq(nullptr, 1, 1, l, 1, 1),
                         rtoeqnlst_names_eq(other.window, 2, 2, l, 3, 3), fed,
                         rtoeqnlst_compute_md(l, nullptr));
         },
         "1 0 0 1 1 0 0 0 0 0 1 3 0||"},
    });
}

TEST(EqnList, AttributesColumnsAndRecords) {
    run_rows({
        {"a new equation's defaults",
         [](World &w) {
             rtoeqnlst_set_neqn(w.list, 4);
             rtattrdict_t *l = w.list;
             return line(rtoeqnlst_inq_eqn_value(l, 4), rtoeqnlst_inq_eqn_scale(l, 4),
                         rtoeqnlst_inq_eqn_shadow_price(l, 4), rtoeqnlst_inq_eqn_status(l, 4),
                         rtoeqnlst_inq_eqn_group(l, 4), rtoeqnlst_inq_eqn_basic(l, 4),
                         ptr(rtoeqnlst_inq_eqn_blockptr(l, 4)), rtoeqnlst_inq_eqn_proc_var(l, 4),
                         ptr(rtoeqnlst_inq_eqn_comWrapper(l, 4)), rtoeqnlst_inq_neqn_active(l));
         },
         "1e+35 1e+35 1e+35 0 0 0 0  0 4||"},
        {"every reader gives what its writer or column stored",
         [](World &w) {
             CountingWrapper wrapper;
             rtoeqnlst_set_eqn_scale(w.list, 2, 0.25);
             rtoeqnlst_set_eqn_shadow_price(w.list, 2, -3.5);
             rtoeqnlst_set_eqn_status(w.list, 2, 0x400001);
             rtoeqnlst_set_eqn_basic(w.list, 2, -4);
             rtoeqnlst_set_eqn_proc_var(w.window, 1, "T");
             rtoeqnlst_set_eqn_blockptr_int(w.list, 2, -2);
             rtoeqnlst_set_eqn_comWrapper(w.list, 2, &wrapper);
             rtoeqnlst_vec_residual(w.list)[2] = 5.0;
             rtoeqnlst_vec_group(w.list)[2] = 12;
             rtoeqnlst_vec_blockptr(w.list)[2] = &wrapper;
             const std::string got =
                 line(rtoeqnlst_inq_eqn_scale(w.list, 2), rtoeqnlst_inq_eqn_shadow_price(w.list, 2),
                      rtoeqnlst_inq_eqn_status(w.list, 2), rtoeqnlst_inq_eqn_basic(w.list, 2),
                      rtoeqnlst_inq_eqn_proc_var(w.list, 2), rtoeqnlst_inq_eqn_proc_var(w.window, 1),
                      ptr(rtoeqnlst_inq_eqn_blockptr(w.list, 2)),
                      rtoeqnlst_inq_eqn_comWrapper(w.list, 2) == &wrapper, rtoeqnlst_inq_eqn_value(w.list, 3),
                      rtoeqnlst_inq_eqn_group(w.list, 3), rtoeqnlst_inq_eqn_blockptr(w.list, 3) == &wrapper,
                      rtoeqnlst_vec_scale(w.list)[1], rtoeqnlst_vec_shadow_price(w.list)[1],
                      rtoeqnlst_vec_basic(w.list)[1], wrapper.refs);
             rtoeqnlst_set_eqn_comWrapper(w.list, 2, nullptr);
             rtoeqnlst_set_eqn_scale(w.list, 4, 1.0);
             return line(got, wrapper.refs);
         },
         "0.25 -3.5 4194305 -4 W.T T -2 1 5 12 1 0.25 -3.5 -4 1 0|!!head_setd: Access beyond size limited 4 "
         "3\n|"},
        {"a record: inquiry of the meant fields; initialisation of the meant fields, defaults for the "
         "rest, GROUP unless meant and BASIC kept",
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
                 r.residual = -9.0;
                 rtoeqnlst_inq_eqn(w.list, i, &r);
                 got = line(got, r.name, r.residual, r.scale, r.status, r.group, r.proc_var, r.blockptr == &a,
                            r.basic, r.shadow_price);
             }
             eqninfo part{};
             part.mask.mask1 = EQNINFO_STATUS;
             part.residual = -9.0;
             rtoeqnlst_inq_eqn(w.list, 1, &part);
             return line(got, part.status, part.residual, part.group, part.name);
         },
         " BAL 0 2 3 6 V 0 5 0 EB 0.5 1 0 4  1 0 8 3 -9 0 ||"},
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
         "||A(rtoeqnlst_inq_eqn: eqnlst is NULL)A(rtoeqnlst_inq_eqn: eqnlst is NULL)"
         "A(rtoeqnlst_inq_eqn: eqninfo pointer is NULL)"},
    });
}

TEST(EqnList, CarelessCallers) {
    static const int64_t kMin64 = INT64_MIN, kMax64 = INT64_MAX;
    run_rows({
        {"extreme sizes, capacities, indices and ranges",
         [](World &w) {
             char field[8] = "*******";
             rtoeqnlst_set_neqn(w.list, INT32_MAX);
             zarn::failalloc_set(1, true);
             rtoeqnlst_resize(w.list, INT32_MAX);
             zarn::failalloc_set(0);
             rtoeqnlst_names(w.list, INT32_MIN, INT32_MAX, 4, field);
             rtattrdict_t *own = rtoeqnlst_create(INT32_MIN);
             const std::string got =
                 line(rtoeqnlst_inq_capacity(own), rtoeqnlst_inq_capacity(w.list), field,
                      rtoeqnlst_absolute_index(w.window, INT32_MAX),
                      rtoeqnlst_names_eq(w.list, 1, INT32_MIN, w.list, INT32_MAX, INT32_MIN));
             rtoeqnlst_destroy(&own);
             return got;
         },
         "0 4 ******* 2147483647 0|!! rtoeqnlst_set_neqn: size 2147483647 exceeds capacity 4\n"
         "!!head_change_capacity: unable to allocate 2147483647 elements (not changed)\n"
         "!!rtoeqnlst_names_c: Bad indices -2147483648 2147483647 3\n|"},
        {"the Fortran twins at the 64-bit extremes",
         [](World &w) {
             char field[4] = {'*', '*', '*', '*'};
             RTOEQNLST_SET_NEQN_F(&w.list, &kMin64);
             RTOEQNLST_RESIZE_F(&w.list, &kMin64);
             RTOEQNLST_INQ_EQN_NAME_F(&w.list, &kMax64, field, sizeof field);
             RTOEQNLST_ADDEQN_I4_F(&w.list, &kMax64, nullptr, &kMax64);
             return line(std::string(field, 4), RTOEQNLST_ABSOLUTE_INDEX_F(&w.window, &kMax64),
                         RTOEQNLST_INQ_NEQN_F(&w.list), RTOEQNLST_INQ_CAPACITY_F(&w.list));
         },
         "     2147483647 3 4|!!head_sets: Access beyond size limited 2147483647 3\n|"},
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
         "!!head_ivector: Unknown integer attribute STATUS\n!!head_ivector: Unknown integer attribute "
         "STATUS\n"
         "!!head_ivector: Unknown integer attribute STATUS\n!!head_ivector: Unknown integer attribute "
         "STATUS\n|"},
        {"no list: zero values and no effect, silently",
         [](World &) {
             rtattrdict_t *none = nullptr;
             int64_t plex = -1;
             rtoeqnlst_set_neqn(none, 1);
             rtoeqnlst_addeqn(none, 1, "EQ1");
             rtoeqnlst_set_eqn_scale(none, 1, 1.0);
             rtoeqnlst_destroy(&none);
             rtoeqnlst_destroy(nullptr);
             RTOEQNLST_ZARN_LBE(&none, &plex);
             return line(rtoeqnlst_inq_neqn(none), rtoeqnlst_inq_neqn_active(none),
                         rtoeqnlst_inq_eqn_value(none, 1), rtoeqnlst__eqnname2index(none, "EQ1"),
                         rtoeqnlst_vec_residual(none) == nullptr, rtoeqnlst_inq_eqn_proc_var(none, 1), plex);
         },
         "0 0 0 0 1 NULL 0||"},
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
