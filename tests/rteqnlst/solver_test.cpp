// Inclusion, the residual norm, the largest values and dotted names of equations.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <regex>

#include "eqnlst_fixture.h"
#include "platform/xalloc.h"
#include "zarnutils/numutil.h"

using namespace zarn::test;

namespace {

enum Keys { kResidual, kPrice, kWeighted };
constexpr int64_t kOut = 1;  // the excluded bit

// A list's residuals, shadow prices and status words, kept beside it.
struct Columns {
    std::vector<double> r, p;
    std::vector<int64_t> s;
    void put(rtattrdict_t *l) const {
        rtoeqnlst_set_neqn(l, static_cast<int32_t>(r.size()));
        std::copy(r.begin(), r.end(), rtoeqnlst_vec_residual(l));
        std::copy(p.begin(), p.end(), rtoeqnlst_vec_shadow_price(l));
        std::copy(s.begin(), s.end(), rtoeqnlst_vec_status(l));
    }
};

std::string joined(const std::vector<int32_t> &v) {
    std::string text;
    for (int32_t k : v) text += (text.empty() ? "" : " ") + str(k);
    return text;
}

// A largest-value list by its definition: the range's keys sorted by SLATEC_DSORT
// with their indices, then the first n included equations.
std::string the_long_way(const Columns &c, int32_t first, int32_t last, int32_t n, Keys keys) {
    std::vector<double> key, index;
    for (int32_t k = first; k <= std::min<int32_t>(last, static_cast<int32_t>(c.r.size())); ++k) {
        const double r = c.r[k - 1], p = c.p[k - 1];
        double x = keys == kResidual ? std::fabs(r) : p == 1e35 ? -1.0 : std::fabs(p);
        if (keys == kWeighted && p != 1e35) x = r == 1e35 ? -1.0 : std::fabs(p * r);
        key.push_back(x);
        index.push_back(k);
    }
    const int64_t m = static_cast<int64_t>(key.size()), descending = -2;
    SLATEC_DSORT(key.data(), index.data(), &m, &descending);
    std::vector<int32_t> out(static_cast<size_t>(n), 0);
    size_t filled = 0;
    for (size_t j = 0; j < key.size() && filled < out.size(); ++j)
        if ((c.s[static_cast<size_t>(index[j]) - 1] & kOut) == 0)
            out[filled++] = static_cast<int32_t>(index[j]);
    return joined(out);
}

std::string listed(rtattrdict_t *l, int32_t first, int32_t last, int32_t n, Keys keys) {
    std::vector<int32_t> out(static_cast<size_t>(n), -7);
    if (keys == kResidual)
        rtoeqnlst_inq_max_residuals(l, first, last, n, 1, out.data());
    else
        rtoeqnlst_inq_max_shadow_prices(l, first, last, n, keys == kWeighted, out.data());
    return joined(out);
}

TEST(EqnSolver, InclusionNormAndLargestResidualsAtTheEdges) {
    World w;
    rtoeqnlst_resize(w.list, 8);  // room beyond the 4 equations
    Columns{{3.0, 3.0, 4.0, 5.0}, {}, {kOut, 0, 0, 2 << 1}}.put(w.list);
    rtoeqnlst_vec_residual(w.list)[4] = 20.0;
    const auto norm = [](rtattrdict_t *list, int32_t first, int32_t last) {
        double x = -1.0;
        rtoeqnlst_norm(list, first, last, &x);
        return line(x);
    };
    run_hostile({
        {"the last equation excluded and included again; an index beyond the list, at 0 or of no list: "
         "nothing; no list counts no equations",
         [&] {
             rtoeqnlst_in_exclude_equation(w.list, 4, 0);
             const int32_t without_last = rtoeqnlst_inq_neqn_active(w.list);
             rtoeqnlst_in_exclude_equation(w.list, 4, 1);
             rtoeqnlst_in_exclude_equation(w.list, 5, 0);
             rtoeqnlst_in_exclude_equation(w.list, 0, 0);
             rtoeqnlst_in_exclude_equation(nullptr, 1, 0);
             return line(without_last, rtoeqnlst_inq_neqn_active(w.list), rtoeqnlst_inq_neqn_active(nullptr),
                         rtoeqnlst_inq_neqn(nullptr));
         },
         "2 3 0 0||A(rtoeqnlst_in_exclude_equation: pos<=0)A(rtoeqnlst_in_exclude_equation: eqnlst is 0)"},
        {"the norm of the whole list without the excluded and the objective",
         [&] { return norm(w.list, 1, 4); }, "5||"},
        {"the norm of one equation", [&] { return norm(w.list, 2, 2); }, "3||"},
        {"the norm of an empty range", [&] { return norm(w.list, 3, 2); }, "0||"},
        {"the norm beyond the equations, within the capacity", [&] { return norm(w.list, 3, 5); }, "1e+35||"},
        {"the norm from 0", [&] { return norm(w.list, 0, 2); }, "1e+35||A(rtoeqnlst_norm: start<=0)"},
        {"the norm of no list", [&] { return norm(nullptr, 1, 1); }, "1e+35||A(rtoeqnlst_norm: eqnlst is 0)"},
        {"the largest residuals of a range clipped to the list",
         [&] { return listed(w.list, 0, 99, 2, kResidual); },
         "4 3||A(rtoeqnlst_inq_max_residuals: start<=0)"},
        {"the largest of no list, of no places and into no array: each said",
         [&] {
             int32_t out[1] = {7};
             rtoeqnlst_inq_max_residuals(w.list, 1, 4, 0, 1, out);
             rtoeqnlst_inq_max_residuals(w.list, 1, 4, 1, 1, nullptr);
             rtoeqnlst_inq_max_shadow_prices(w.list, 1, 4, 1, 0, nullptr);
             const int32_t untouched = out[0];
             rtoeqnlst_inq_max_residuals(nullptr, 1, 4, 1, 1, out);
             return line(untouched, out[0]);
         },
         "7 0||A(rtoeqnlst_inq_max_residuals: nres<=0)A(rtoeqnlst_inq_max_residuals: NULL index array)"
         "A(rtoeqnlst_inq_max_shadow_prices: NULL index array)A(rtoeqnlst_inq_max_residuals: eqnlst is 0)"},
        {"the largest residuals and the active count of a dictionary without status words: none",
         [] {
             const rtattrdesc_t residual_only[] = {{"RESIDUAL", RTATTR_DOUBLE, 9.0, 0, nullptr, 0, nullptr},
                                                   {}};
             rtattrdict_t *d = rtattrdict_create(2, residual_only, 0);
             rtattrdict_resize(d, 2);
             const std::string top = listed(d, 1, 2, 1, kResidual);
             const int32_t active = rtoeqnlst_inq_neqn_active(d);
             rtattrdict_destroy(d);
             return line(top.c_str(), active);
         },
         "0 0|!!head_ivector: Unknown integer attribute STATUS\n!!head_ivector: Unknown integer attribute "
         "STATUS\n|"},
        // Last: it cuts the list.
        {"a window whose head was cut under it: the whole-list calls see only the equation with cells",
         [&] {
             rtattrdict_t *window = rtoeqnlst_create_embedded(3, w.list, nullptr, 2);  // equations 2..4
             rtoeqnlst_set_neqn(window, 3);
             rtoeqnlst_set_neqn(w.list, 2);
             rtoeqnlst_resize(w.list, 2);
             rtoeqnlst_in_exclude_equation(window, 3, 0);
             const std::string result = line(rtoeqnlst_inq_neqn_active(window), norm(window, 1, 3).c_str(),
                                             listed(window, 1, 3, 2, kResidual).c_str());
             rtoeqnlst_destroy(&window);
             return result;
         },
         "1 3 1 0||"},
    });
}

TEST(EqnSolver, LargestValuesAgreeWithTheSortOverTiesAndNaN) {
    std::mt19937 rng(20240531);
    const auto below = [&rng](int32_t bound) {
        return static_cast<int32_t>(rng() % static_cast<uint32_t>(bound));
    };
    for (int trial = 0; trial < 400; ++trial) {
        const int32_t size = 1 + below(300);
        const int32_t distinct = 1 + below(60);  // few values: many ties
        Columns c;
        for (int32_t k = 0; k < size; ++k) {
            const int32_t pick = below(40);
            const double v = (below(distinct) - distinct / 2) * 0.5;
            c.r.push_back(pick == 0 ? 1e35 : pick == 1 ? std::nan("") : v);
            c.p.push_back(pick == 2 ? 1e35 : v * 0.25 + 1.0);
            c.s.push_back(below(4) == 0 ? kOut : 0);
        }
        World w(size);
        c.put(w.list);
        const int32_t first = below(size) + 1;
        const int32_t last = first + below(size);
        const int32_t n = 1 + below(12);
        for (Keys keys : {kResidual, kPrice, kWeighted})
            EXPECT_EQ(listed(w.list, first, last, n, keys), the_long_way(c, first, last, n, keys))
                << "trial " << trial << " keys " << keys << " range " << first << ".." << last << " n " << n;
    }
}

TEST(EqnSolver, OnlyTheFullSortNeedsMemory) {
    HistoryCapture his;
    World w(1028);
    double *residual = rtoeqnlst_vec_residual(w.list);
    for (int32_t k = 0; k < 1028; ++k) residual[k] = k;
    const auto top_without_memory = [&](int32_t n, long failing) {
        zarn::failalloc_set(failing);
        const std::string top = listed(w.list, 1, 1028, n, kResidual);
        zarn::failalloc_set(0);
        return top + "|" + his.text();
    };
    EXPECT_EQ(top_without_memory(2, 1), "1028 1027|") << "distinct keys: the selection alone, no memory";
    std::vector<int32_t> top255;
    for (int32_t k = 1028; k > 1028 - 255; --k) top255.push_back(k);
    EXPECT_EQ(top_without_memory(255, 1), joined(top255) + "|") << "255 places, the most the selection keeps";
    for (long failing : {1L, 2L})  // the keys' array, then the indices'
        EXPECT_EQ(top_without_memory(256, failing),
                  joined(std::vector<int32_t>(256, 0)) +
                      "|!! rtoeqnlst_inq_max_residuals: not enough memory to sort 1028 equations\n")
            << "256 places, beyond the selection: allocation " << failing << " of the sort failed";
}

struct Dotted : World {
    Dotted() : World(4) {
        rtoeqnlst_addeqn(list, 2, "A.B.C");
        rtoeqnlst_addeqn(list, 3, "EQ1.TYPES");
        rtoeqnlst_addeqn(list, 4, "B.INCLUDED");
        rtoeqnlst_vec_residual(list)[0] = 2.5;
    }
};

TEST(EqnDottedNames, KeywordRulesDecideWhichEquationIsMeant) {
    Dotted d;
    const std::string longest(1024, 'N');
    rtoeqnlst_addeqn(d.list, 2, longest.c_str());
    const std::pair<const char *, int32_t> rows[] = {
        {"EQ1.TYPES", 3},
        {"B.INCLUDED", 0},
        {longest.c_str(), 2},
        {nullptr, 0},
    };
    for (const auto &[text, index] : rows) EXPECT_EQ(rtoeqnlst_equation_object(d.list, text), index) << text;
    EXPECT_EQ(rtoeqnlst_equation_object(nullptr, "EQ1"), 0) << "no list";
}

// "i:5" INTEGER, "r:2.5" plain REAL, "d:text" IDENTIFIER.
value_t make(const std::string &spec) {
    value_t v;
    value_init(&v);
    const std::string t = spec.substr(2);
    if (spec[0] == 'i') value_assign_int(&v, std::stoi(t));
    if (spec[0] == 'r') value_assign_double(&v, std::stod(t), 0, 0);
    if (spec[0] == 'd') value_assign_copy_of_id(&v, t.c_str());
    return v;
}

TEST(EqnDottedNames, AssignmentOfEveryAttributeAndItsMessages) {
    struct Case {
        const char *target;
        int64_t before;  // EQ1's status word
        const char *value;
        const char *want;  // "status scale|history"
    };
    const Case cases[] = {
        {"EQ1.INCLUDED", 0, "i:0", "1 1e+35|"},
        {"EQ1.Included", 1, "i:3", "0 1e+35|"},    // a number: true unless 0
        {"EQ1.INCLUDED", 1, "d:YES", "1 1e+35|"},  // an IDENTIFIER without a context is no logical
        {"EQ1.EQNSCALE", 0, "r:0.5", "0 0.5|"},
        {"EQ1.EQNSCALE", 0, "i:4", "0 4|"},
        {"EQ1.EQNSCALE", 0, "d:BIG", "0 1e+35|"},
        {"EQ1.TYPE", 0, "d:leq", "4 1e+35|"},
        {"EQ1.TYPE", 7, "d:equality", "1 1e+35|"},  // the type cleared, the excluded bit kept
        {"EQ1.LINEARITY", 1, "d:linear", "4194305 1e+35|"},
        {"EQ1.LINEARITY", 0x400000, "d:NonLinear", "0 1e+35|"},
        {"EQ1.LINEARITY", 0x400000, "i:1", "4194304 1e+35|"},  // no word
        {"EQ1", 0, "r:1.5", "0 1e+35|Assignment to read-only value: EQ1 = 1.5 {*}\n"},
        {"EQ1.type", 0, "d:LT", "0 1e+35|Invalid equation name in assignment: EQ1.type = LT\n"},
    };
    HistoryCapture his;
    StderrCapture err;  // no assertion line either
    for (const Case &c : cases) {
        Dotted d;
        rtoeqnlst_set_eqn_status(d.list, 1, c.before);
        value_t v = make(c.value);
        rtoeqnlst_assign_value(d.list, c.target, &v);
        EXPECT_EQ(line(rtoeqnlst_inq_eqn_status(d.list, 1), rtoeqnlst_inq_eqn_scale(d.list, 1)) + "|" +
                      his.text() + err.text(),
                  c.want)
            << c.target << " = " << c.value;
        value_destroy(&v);
    }
    World empty(0);
    value_t one = make("i:1");
    rtoeqnlst_assign_value(empty.list, "EQ1.INCLUDED", &one);
    EXPECT_EQ(his.text() + err.text(), "") << "an empty list takes no assignment, silently";
    rtoeqnlst_assign_value(nullptr, "EQ1.INCLUDED", &one);
    rtoeqnlst_assign_value(empty.list, "EQ1.INCLUDED", nullptr);
    rtoeqnlst_assign_value(empty.list, nullptr, &one);
    const std::regex line_number(":[0-9]+\n");
    EXPECT_EQ(std::regex_replace(err.text(), line_number, "\n"),
              "Assertion '!!rtoeqnlst_assign_value: NULL eqnlst' failed in source/rteqnlst/rteqnlst\n"
              "Assertion '!!rtoeqnlst_assign_value: NULL value pointer' failed in source/rteqnlst/rteqnlst\n"
              "Assertion '!!rtoeqnlst_assign_value: NULL name pointer' failed in source/rteqnlst/rteqnlst\n")
        << "no list, no value, no name: each said on standard error";
}

TEST(EqnDottedNames, LookupOfEveryAttribute) {
    HistoryCapture his;
    Dotted d;
    rtoeqnlst_set_eqn_status(d.list, 1, 0x400000 | (2 << 1));
    rtoeqnlst_set_eqn_scale(d.list, 1, 0.125);
    rtoeqnlst_set_eqn_shadow_price(d.list, 1, -4.0);
    rtoeqnlst_set_eqn_status(d.list, 2, 1);
    rtoeqnlst_set_eqn_status(d.list, 3, 7 << 1);
    const std::string too_long(2048, 'N');
    const std::string long_plain_dotted = std::string(1020, 'N') + ".NOKEYWORD";
    const std::pair<const char *, const char *> rows[] = {
        {"EQ1", "1:2.5 {*}"},  // a plain number
        {"EQ1.EQNSCALE", "1:0.125 {*}"},
        {"EQ1.SHADOW_PRICE", "1:-4 {*}"},
        {"EQ1.TYPE", "3:LEQ"},
        {"EQ1.LINEARITY", "3:linear"},
        {"A.B.C", "0:!!!UNDEFINED!!!"},  // not set
        {"A.B.C.INCLUDED", "6:FALSE"},
        {"A.B.C.TYPE", "3:EQUALITY"},             // the first word of its table
        {"EQ1.TYPES.TYPE", "0:!!!UNDEFINED!!!"},  // math type 7 has no word
        {"NOSUCH", "1:0 {*}"},                    // no equation: the readers' zero values
        {too_long.c_str(), "0:!!!UNDEFINED!!!"},
        {long_plain_dotted.c_str(), "1:0 {*}"},  // its dot within a name's room: a name, not refused
        {nullptr, "0:!!!UNDEFINED!!!"},
    };
    for (const auto &[target, want] : rows) {
        value_t v = make("i:7");
        rtoeqnlst_lookup_value(d.list, target, &v);
        value_print(his.pipe(), &v);
        EXPECT_EQ(str(v.value_type) + ":" + his.text(), want) << target;
        value_destroy(&v);
    }
}

}  // namespace
