// Copies of local numbers, both variables renumbered, records and filters
// that take either variable, and the Hessian's own texts (tests/rtjacbn runs
// the other operations). A head of capacity 6 with 5 nonzeros and a window
// over nonzeros 3..4 (first variable 3, first second variable 5, first
// equation 2).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "capture.h"
#include "failsweep.h"
#include "platform/xalloc.h"
#include "rthessbn/rthessbn_sibling.h"
#include "zarnutils/rteqnlst.h"
#include "zarnutils/rthessbn.h"
#include "zarnutils/zarnmalloc.h"

namespace {

using zarn::rtjacbn::Pattern;
using zarn::test::HistoryCapture;
using zarn::test::StderrCapture;

struct World {
    rt_hess_t *head = rtohess_create(6);
    rt_hess_t *win = nullptr;
    World() {
        rtohess_set_nnz(head, 5);
        win = rtohess_create_embedded(2, head, 3, 5, 2, 3);
        rtohess_set_nnz(win, 2);
    }
    ~World() {
        rtohess_destroy(&win);
        rtohess_destroy(&head);
    }
};

// Readings joined by blanks.
template <class... T>
std::string line(T... parts) {
    std::string out;
    ((out += (out.empty() ? "" : " ") + std::to_string(parts)), ...);
    return out;
}

// The first n cells of a pattern's block, and whether it is a copy.
std::string cells(const Pattern &p, int n) {
    std::string out = p.copied ? "copy" : "own";
    for (int k = 0; k < n; ++k) out += " " + std::to_string(ZARN_ib0[p.plex + k]);
    return out;
}

TEST(Hessian, LocalNumberVectorsAreTheOwnArrayOrACopy) {
    World w;
    rtohess_set_nz_coord(w.win, 1, 1, 2, 3);
    rtohess_set_nz_coord(w.win, 2, 4, 5, 6);
    rtohess_set_nz_value(w.win, 2, 2.5);
    Pattern copies[] = {zarn::rthessbn::row_pattern(w.win, false),
                        zarn::rthessbn::column2_pattern(w.win, false),
                        zarn::rthessbn::column_pattern(w.head, true)};
    EXPECT_EQ(cells(copies[0], 2) + " | " + cells(copies[1], 2) + " | " + cells(copies[2], 5),
              "copy 1 4 | copy 3 6 | copy 0 0 4 7 0")
        << "each axis less its offset; the head copied when asked";
    const auto *h = reinterpret_cast<const rt_hess_head_t *>(w.head);
    EXPECT_EQ(line(h->icn[2], h->icn2[2]), "4 7") << "the head's first and second variable arrays";
    double value = 0.0;
    rtohess_inq_nz_value(w.win, 2, &value);
    EXPECT_EQ(line(value, rtohess_vec_hessianvalues(w.win)[1]), "2.500000 2.500000")
        << "the window's value, read and in its array";
    rtohess_renumber(w.win, 1, 2, 3, 10, 9, 0);
    rtohess_renumber_vars_in_range(w.win, 2, 2, 15, 16, 1);
    EXPECT_EQ(line(rtohess_inq_nz_eqnnum(w.win, 2), rtohess_inq_nz_varnum(w.win, 1),
                   rtohess_inq_nz_varnum2(w.win, 1), rtohess_inq_nz_varnum(w.win, 2),
                   rtohess_inq_nz_varnum2(w.win, 2)),
              "4 2 13 16 17")
        << "both variables renumbered, each against the threshold or range; the equation kept";
    for (Pattern &p : copies) RTO_IFREE(&p.plex);
}

TEST(Hessian, LineageShapeAndHandles) {
    World w;
    rt_hess_t *parent = nullptr;
    rtohess_parent(w.win, &parent);
    EXPECT_EQ(parent, w.head);
    EXPECT_EQ(rtohess_parent_check(w.head, w.win), 1) << "the window's own parent";
    EXPECT_EQ(rtohess_parent_check(w.win, w.head), 0) << "a head has no parent";
    EXPECT_EQ(line(rtohess_size(w.head), rtohess_capacity(w.head)), "5 6") << "the head's size and capacity";
    const auto *e = reinterpret_cast<const rt_hess_embedded_t *>(w.win);
    EXPECT_EQ(line(e->varOffset, e->var2Offset, e->eqnOffset, e->nzOffset), "2 4 1 2")
        << "the window's offset fields, each in its place";
    EXPECT_EQ(line(rtohess_inq_nnz(nullptr), rtohess_inq_capacity(nullptr), rtohess_size(nullptr),
                   rtohess_capacity(nullptr), rtohess_inq_nz_varnum2(nullptr, 1), rtohess_rowoffset(nullptr),
                   rtohess_coloffset(nullptr), rtohess_col2offset(nullptr)),
              "0 0 0 0 0 0 0 0")
        << "a missing Hessian's counts, second variable and offsets";
    rtohess_destroy(&w.win);
    EXPECT_EQ(w.win, nullptr) << "destroying clears the handle";
}

// A filter's answer for one record and the answer it should give.
struct FilterRow {
    const char *what;
    int got;
    int expect;
};

TEST(Hessian, RecordsSearchesAndFiltersTakeEitherVariable) {
    World w;
    rtvarlst_t *vars = rtovarlst_create(9);
    rtattrdict_t *eqns = rtoeqnlst_create(9);
    rtovarlst_set_nvar(vars, 9);
    rtoeqnlst_set_neqn(eqns, 9);
    for (int32_t k = 1; k <= 9; ++k) {
        rtovarlst_addvar(vars, k, ("X" + std::to_string(k)).c_str());
        rtoeqnlst_addeqn(eqns, k, ("E" + std::to_string(k)).c_str());
    }
    rtohess_set_nz_coord(w.head, 1, 1, 2, 3);
    rtohess_set_nz_value(w.head, 1, 0.5);
    rtohess_set_nz_coord(w.head, 2, 4, 3, 5);
    rt_hess_nz rec;
    std::memset(&rec, 'x', sizeof rec);
    rec.mask = RT_HESS_NZ_EQNNAME | RT_HESS_NZ_VARNAMES | RT_HESS_NZ_VALUE;
    rtohess_inq_nz(vars, eqns, w.head, 1, &rec);
    EXPECT_EQ(std::string(rec.eqnname) + " " + rec.varname + " " + rec.var2name + " " +
                  line(rec.var2num, rec.value),
              "E1 X2 X3 3 0.500000");
    EXPECT_EQ(line(rec.eqnname[ZARN_NAME_MAX], rec.varname[ZARN_NAME_MAX], rec.var2name[ZARN_NAME_MAX]),
              "0 0 0")
        << "each name field's last byte cleared";
    ASSERT_EQ(re_comp("^X3$"), nullptr);
    EXPECT_EQ(line(rtohess_match_var_regexp(w.head, vars, 0), rtohess_match_var_regexp(w.head, vars, 1)),
              "1 2")
        << "X3 as the second variable of nonzero 1, the first of nonzero 2";
    ASSERT_EQ(re_comp("^E4$"), nullptr);
    EXPECT_EQ(rtohess_match_eqn_regexp(w.head, eqns, 0), 2);
    hs_regexp *x3 = hs_regcomp("X3"), *e1 = hs_regcomp("E1");
    const FilterRow filters[] = {
        {"var regexp, second variable", rtohess_filter_var_match_regexp(&rec, x3), 1},
        {"var name, first variable", rtohess_filter_var_match_name(&rec, "X2"), 1},
        {"var name, none given", rtohess_filter_var_match_name(&rec, nullptr), 0},
        {"var index, second variable", rtohess_filter_var_match_index(&rec, 3), 1},
        {"var index, neither variable", rtohess_filter_var_match_index(&rec, 9), 0},
        {"eqn regexp", rtohess_filter_eqn_match_regexp(&rec, e1), 1},
        {"eqn regexp without a record", rtohess_filter_eqn_match_regexp(nullptr, e1), 0},
        {"eqn name", rtohess_filter_eqn_match_name(&rec, "E1"), 1},
        {"eqn name, none given", rtohess_filter_eqn_match_name(&rec, nullptr), 0},
        {"eqn index", rtohess_filter_eqn_match_index(&rec, 1), 1},
        {"always", rtohess_filter_always_true(nullptr, nullptr), 1},
    };
    for (const FilterRow &f : filters) EXPECT_EQ(f.got, f.expect) << f.what;
    hs_regfree(x3);
    hs_regfree(e1);
    rtoeqnlst_destroy(&eqns);
    rtovarlst_destroy_c(&vars);
}

TEST(Hessian, OwnTexts) {
    HistoryCapture his;
    std::string errors;
    {
        StderrCapture err;
        World w;
        rtohess_set_nz_varnum2(w.head, 6, 1);
        rtohess_inq_nz_varnum2(w.head, 0);
        rtohess_set_nz_coord(w.win, 3, 1, 1, 1);
        rtohess_inq_nz_varnum2(w.win, 3);
        EXPECT_EQ(rtohess_create_embedded(4, w.head, 1, 1, 1, 3), nullptr);
        rtohess_relocate(w.head, 1, 0, 0);
        rtohess_relocate(w.win, 5, 0, 0);
        rtohess_move_items(w.head, 1, 2, -1);
        rtohess_move_items(w.head, 4, 1, 3);
        rtohess_move_items(w.win, 1, 2, -1);
        rtohess_move_items(w.win, 2, 1, 2);
        rt_hess_nz untouched{};
        untouched.eqnnum = 7;
        rtohess_inq_nz(nullptr, nullptr, nullptr, 1, &untouched);
        rtohess_inq_nz(nullptr, nullptr, w.head, 1, nullptr);
        EXPECT_EQ(untouched.eqnnum, 7) << "a missing Hessian leaves the record as it was";
        EXPECT_EQ(line(rtohess_match_var_regexp(nullptr, nullptr, 0),
                       rtohess_match_eqn_regexp(nullptr, nullptr, 0)),
                  "0 0")
            << "searches without a Hessian find nothing";
        zarn::failalloc_set(1);
        EXPECT_EQ(rtohess_create(3), nullptr) << "no head record";
        zarn::failalloc_set(0);
        EXPECT_TRUE(zarn::test::raised_when_failing(5, [] { rtohess_create(3); }))
            << "no values, after three number blocks";
        errors = err.text();
    }
    std::string text = his.text();
    for (size_t at; (at = text.find("!! rto_")) != std::string::npos;)  // the plex allocator's own report
        text.erase(at, text.find("!!", at + 2) - at);
    EXPECT_EQ(
        text,
        "!!head_setvar2: Index out of bounds 6 5\n!!head_inqvar2: Index out of bounds 0 5\n"
        "!!embed_seteqn: Index out of bounds 3 2\n!!embed_setvar: Index out of bounds 3 2\n"
        "!!embed_setvar2: Index out of bounds 3 2\n!!embed_inqvar2: Index out of bounds 3 2\n"
        "!!rtohess_create_embedded: Parent (sized for 5 nonzeros out of 6) is not big enough for embedded "
        "Hessian 4\n!! rtohess_head_relocate: relocate is not allowed for a head list\n"
        "!!rtohess_embedded_relocate: parent is not big enough\n!! rtohess_move_items: size < 0 (-1)\n"
        "!!rtohess_head_move_items: bad source or destination, source 4, dest 1, move size 3, list size 5"
        "!! rtohess_embed_move_items: size < 0 (-1)\n"
        "!!rtohess_embed_move_items: bad source or destination, source 2, dest 1, move size 2, list size 2\n"
        "!!rtohess_create: Unable to allocate memory for hessian\n");
    for (const char *a :
         {"rtohess_inq_nz: hessian is NULL", "rtohess_inq_nz: nonzero record is NULL",
          "rtohess_match_var_regexp: hessian is NULL", "rtohess_match_eqn_regexp: hessian is NULL"})
        EXPECT_NE(errors.find(std::string("Assertion '") + a + "' failed in source/rthessbn/rthess:"),
                  std::string::npos)
            << a;
}

}  // namespace
