// Equation lists: shape, windows, names and records.
#include <gtest/gtest.h>

#include <cstring>

#include "eqnlst_fixture.h"
#include "failsweep.h"
#include "fakes.h"
#include "rtattrdict/rtattrdict_sibling.h"

using namespace zarn::test;

namespace {

const char *name(rtattrdict_t *l, int32_t i) { return rtoeqnlst_lookup_eqn_name(l, i); }

TEST(EqnList, ShapeWindowsNamesAndRecords) {
    run_hostile({
        {"the size may reach the capacity, not pass it nor go below 0",
         [] {
             World w;
             rtoeqnlst_set_neqn(w.list, 4);
             rtoeqnlst_set_neqn(w.list, 5);
             rtoeqnlst_set_neqn(w.list, -1);
             const int32_t kept = rtoeqnlst_inq_neqn(w.list);
             rtoeqnlst_set_neqn(w.list, 0);
             return line(kept, rtoeqnlst_inq_neqn(w.list));
         },
         "4 0|!! rtoeqnlst_set_neqn: size 5 exceeds capacity 4\n|"},
        {"a capacity below the size is refused; no list has any",
         [] {
             World w;
             rtoeqnlst_resize(w.list, 0);
             return line(rtoeqnlst_inq_capacity(w.list), rtoeqnlst_inq_capacity(nullptr));
         },
         "4 0|!!head_change_capacity: capacity 0 less than size 3 (not changed)\n|"},
        {"a move beyond the list is refused",
         [] {
             World w;
             rtoeqnlst_move_items(w.list, 2, 9, 1);
             return std::string();
         },
         "|!!head_move_elems: bad source or destination, source 2, dest 9, move size 1, list size 3|"},
        {"a window names through its prefix, numbers from 1 and moves",
         [] {
             World w;
             rtoeqnlst_addeqn(w.window, 1, "X");
             rtoeqnlst_relocate(w.window, 1);
             return line(name(w.list, 1), name(w.window, 1), rtoeqnlst__eqnname2index(w.window, "X"),
                         rtoeqnlst_absolute_index(w.window, 2));
         },
         "W.X X 1 2||"},
        {"a window is the child of its parent alone",
         [] {
             World w;
             return line(rtoeqnlst_parent_check(w.list, w.window), rtoeqnlst_parent_check(w.window, w.window),
                         rtoeqnlst_parent_check(nullptr, w.window));
         },
         "1 0 0||"},
        {"a window's name matches the same name further down a longer list",
         [] {
             World w;
             World other;
             rtoeqnlst_addeqn(other.list, 3, "W.EQ3");
             return line(rtoeqnlst_names_eq(other.window, 2, 2, w.list, 3, 3));
         },
         "1||"},
        {"ranges beyond the list or of other names differ; empty ones are equal unless one starts at 0",
         [] {
             World w;
             return line(rtoeqnlst_names_eq(w.list, 2, 4, w.list, 2, 4),
                         rtoeqnlst_names_eq(w.list, 1, 1, w.list, 2, 2),
                         rtoeqnlst_names_eq(w.list, 3, 2, w.list, 4, 3),
                         rtoeqnlst_names_eq(w.list, 0, -1, w.list, 1, 0));
         },
         "0 0 1 0||"},
        {"removed equations lose their names",
         [] {
             World w;
             rtoeqnlst_removeeqns(w.list, 2, 3);
             return line(name(w.list, 2), rtoeqnlst__eqnname2index(w.list, "EQ1"));
         },
         " 1||"},
        {"names of a range beyond the list: refused",
         [] {
             World w;
             char fields[11] = "**********";
             rtoeqnlst_names(w.list, 2, 4, 5, fields);
             return line(fields);
         },
         "**********|!!rtoeqnlst_names_c: Bad indices 2 4 3\n|"},
        {"names into fields of 5: the rest of a field kept, a long name cut",
         [] {
             World w;
             char fields[16] = "***************";
             rtoeqnlst_addeqn(w.list, 3, "LONGNAME");
             rtoeqnlst_names(w.list, 1, 3, 5, fields);
             return line(fields);
         },
         "EQ1**EQ2**LONGN|Truncating equation name 'LONGNAME' to 5 characters\n|"},
        {"a process variable named through a window, a block pointer from a negative integer; a COM wrapper "
         "held, then let go",
         [] {
             World w;
             CountingWrapper wrapper;
             rtoeqnlst_set_eqn_proc_var(w.window, 1, "T");
             rtoeqnlst_set_eqn_comWrapper(w.list, 2, &wrapper);
             rtoeqnlst_set_eqn_blockptr_int(w.list, 2, -2);
             const std::string held = line(rtoeqnlst_inq_eqn_proc_var(w.list, 2),
                                           rtoeqnlst_inq_eqn_comWrapper(w.list, 2) == &wrapper, wrapper.refs,
                                           rtoeqnlst_vec_blockptr(w.list)[1] == reinterpret_cast<void *>(-2));
             rtoeqnlst_set_eqn_comWrapper(w.list, 2, nullptr);
             return line(held.c_str(), wrapper.refs);
         },
         "W.T 1 1 1 0||"},
        {"records without a name or a process variable: name said, a one-letter one cleared, none stored",
         [] {
             World w;
             rtoeqnlst_set_eqn_proc_var(w.list, 1, "V");
             eqninfo in{};
             in.mask.mask1 = EQNINFO_SCALE;
             in.scale = 3.0;
             rtoeqnlst_initialize_eqn(w.list, 1, &in);
             rtoeqnlst_initialize_eqn(w.list, 2, &in);
             const rtattr_t *procvar = zarn::rtattrdict::lookup_attr(w.list, "PROCVAR");
             return line(name(w.list, 1), rtoeqnlst_inq_eqn_scale(w.list, 1),
                         std::strlen(rtoeqnlst_inq_eqn_proc_var(w.list, 1)),
                         zarn::rtattrdict::sparse_cell(w.list, 2, procvar) == nullptr);
         },
         "EQ1 3 0 1|rtoeqnlst_initialize_eqn: You must set the eqation name.\n"
         "rtoeqnlst_initialize_eqn: You must set the eqation name.\n|"},
        {"a record read or written without a list or a record: each said",
         [] {
             World w;
             eqninfo record{};
             rtoeqnlst_inq_eqn(nullptr, 1, &record);
             rtoeqnlst_initialize_eqn(w.list, 1, nullptr);
             return std::string();
         },
         "||A(rtoeqnlst_inq_eqn: eqnlst is NULL)A(rtoeqnlst_inq_eqn: eqninfo pointer is NULL)"},
        {"the symbol statistics are the dictionary's",
         [] {
             World w(2);
             rtoeqnlst_printsymbolstats(w.list);
             return std::string();
         },
         "|****************Begin attribute dictionary statistics****************\n"
         "Head attribute dictionary\n       Size: 2\nNon-defunct: 2\n Attributes: 10\n     Sparse: 1\n"
         "Attribute hash table statistics\nMapping hash table statistics\n"
         "****************End attribute dictionary statistics****************\n|"},
        {"the digest is fed every name",
         [] {
             World w;
             zarn_md5_ctx_t ctx;
             MD5Init(&ctx);
             const int32_t fed = rtoeqnlst_compute_md(w.list, &ctx);
             MD5Final(&ctx);
             return line(fed);
         },
         "3||"},
        {"a record initialised: the meant fields written, GROUP and BASIC kept, the rest defaulted",
         [] {
             World w;
             rtoeqnlst_set_eqn_basic(w.list, 2, 5);
             rtoeqnlst_vec_group(w.list)[1] = 6;
             rtoeqnlst_set_eqn_shadow_price(w.list, 2, 8.0);
             rtoeqnlst_vec_blockptr(w.list)[1] = &w;
             eqninfo in{}, out;
             std::memset(&out, 1, sizeof out);  // stale bytes in every field the reading must fill
             in.mask.mask1 = EQNINFO_NAME | EQNINFO_RESIDUAL | EQNINFO_STATUS | EQNINFO_PROCVAR;
             std::strcpy(in.name, "BAL");
             in.residual = 0.5;
             in.status = 3;
             in.proc_var = "V";
             rtoeqnlst_initialize_eqn(w.list, 2, &in);
             out.mask.mask1 = 0x1FF;
             rtoeqnlst_inq_eqn(w.list, 2, &out);
             eqninfo status_only{};
             status_only.mask.mask1 = EQNINFO_STATUS;
             rtoeqnlst_inq_eqn(w.list, 2, &status_only);
             return line(out.name, out.residual, out.scale, out.status, out.group, out.proc_var,
                         out.blockptr == nullptr, out.basic, out.shadow_price, status_only.group,
                         rtoeqnlst_vec_basic(w.list)[1]);
         },
         "BAL 0.5 1 3 6 V 1 5 0 0 5||"},
    });
}

TEST(EqnList, CreationUnderEveryAllocationFailingGivesAWholeListOrNone) {
    HistoryCapture his;
    uint32_t columns = 0;
    const long seen = fail_each_allocation(
        [&columns] {
            rtattrdict_t *l = rtoeqnlst_create(5);
            const bool made = l != nullptr;
            columns = made ? hashNum(rtattrdict_attributes(l)) : 0;
            rtoeqnlst_destroy(&l);
            return made;
        },
        [&columns](long n, bool made) {
            if (made) {
                EXPECT_EQ(columns, 10u) << "allocation " << n << " failed: a list without all its columns";
            }
        });
    EXPECT_GT(seen, 0) << "no allocation seen";
}

}  // namespace
