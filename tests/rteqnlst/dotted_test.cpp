// Equations in the command language: the keyword rules of dotted names,
// assignment and lookup of every attribute with their messages.
#include <gtest/gtest.h>

#include <string>

#include "eqnlst_fixture.h"
#include "zarnutils/varutl.h"

using namespace zarn::test;

namespace {

// Equations EQ1, A.B.C, EQ1.type (a name that ends in a word that is no keyword), a residual of 2.5 on EQ1.
struct Model {
    ListGuard g{rtoeqnlst_create(4)};
    Model() {
        rtoeqnlst_set_neqn(g.list, 4);
        rtoeqnlst_addeqn(g.list, 1, "EQ1");
        rtoeqnlst_addeqn(g.list, 2, "A.B.C");
        rtoeqnlst_addeqn(g.list, 3, "EQ1.TYPES");
        rtoeqnlst_addeqn(g.list, 4, "B.INCLUDED");
        rtoeqnlst_vec_residual(g.list)[0] = 2.5;
    }
    rtattrdict_t *list() const { return g.list; }
};

TEST(EqnDottedNames, KeywordRulesDecideWhichEquationIsMeant) {
    Model m;
    const std::string long_name(1030, 'X');
    struct Row {
        std::string text;
        int32_t index;
    };
    const Row rows[] = {
        {"EQ1", 1},
        {"EQ1.TYPE", 1},
        {"EQ1.Type", 1},   // after the first letter any case
        {"EQ1.type", 0},   // a lower-case first letter is no keyword: the whole text is the name
        {"EQ1.TYPES", 3},  // no keyword: the whole text
        {"A.B.C", 2},      // the last part is no keyword
        {"A.B.C.EQNSCALE", 2},
        {"A.B.C.SCALE", 0},       // SCALE is a print-mask word, not a dotted-name keyword
        {"EQ1.SHADOW_PRICE", 1},  // twelve characters, the longest keyword
        {"EQ1.LINEARITY", 1},
        {"EQ1.INCLUDED", 1},
        {"B.INCLUDED", 0},  // the keyword is split off: equation B
        {"EQ1.", 0},
        {".TYPE", 0},  // an empty name
        {long_name, 0},
        {long_name + ".TYPE", 0},
        {"", 0},
    };
    for (const Row &r : rows)
        EXPECT_EQ(rtoeqnlst_equation_object(m.list(), r.text.c_str()), r.index) << r.text.substr(0, 40);
}

TEST(EqnDottedNames, NameOfExactlyTheLongestLengthIsUsedWhole) {
    ListGuard g{rtoeqnlst_create(1)};
    rtoeqnlst_set_neqn(g.list, 1);
    const std::string name(1024, 'N');
    rtoeqnlst_addeqn(g.list, 1, name.c_str());
    EXPECT_EQ(rtoeqnlst_equation_object(g.list, name.c_str()), 1);
    EXPECT_EQ(rtoeqnlst_equation_object(g.list, (name + ".TYPE").c_str()), 1);
    EXPECT_EQ(rtoeqnlst_equation_object(g.list, (name + "N").c_str()), 0);
}

TEST(EqnDottedNames, NoListOrNoTextIsNoEquation) {
    Model m;
    EXPECT_EQ(rtoeqnlst_equation_object(nullptr, "EQ1"), 0);
    EXPECT_EQ(rtoeqnlst_equation_object(m.list(), nullptr), 0);
}

// One assignment: EQ1's status word before, the value, the state it leaves
// on EQ1 and what the history shows.
struct Assignment {
    const char *target;
    int32_t status_before;
    const char *value;
    const char *history;
    int32_t status;  // EQ1's status word after the assignment
    double scale;    // EQ1's scale after the assignment
};

TEST(EqnAssign, EveryAttributeAndItsMessages) {
    const Assignment rows[] = {
        {"EQ1.INCLUDED", 0, "b:0", "", 1, 1e35},
        {"EQ1.Included", 1, "b:1", "", 0, 1e35},
        {"EQ1.INCLUDED", 0, "i:0", "", 1, 1e35},    // a number is true when not zero
        {"EQ1.INCLUDED", 1, "s:NO", "", 0, 1e35},   // a STRING is true when not empty
        {"EQ1.INCLUDED", 1, "d:YES", "", 1, 1e35},  // an IDENTIFIER without a context is no logical: nothing
        {"EQ1.EQNSCALE", 0, "r:0.5", "", 0, 0.5},
        {"EQ1.EQNSCALE", 0, "i:4", "", 0, 4.0},
        {"EQ1.EQNSCALE", 0, "s:2.5", "", 0, 2.5},
        {"EQ1.EQNSCALE", 0, "d:BIG", "", 0, 1e35},  // no number: nothing
        {"EQ1.TYPE", 0, "d:leq", "", 2 << 1, 1e35},
        {"EQ1.TYPE", 1, "d:Obj_Func", "", (5 << 1) | 1, 1e35},
        {"EQ1.TYPE", 3 << 1, "d:equality", "", 0, 1e35},
        {"EQ1.TYPE", 0, "s:GT", "", 0, 1e35},  // a STRING does not become an identifier: nothing
        {"EQ1.TYPE", 0, "d:GE", "", 0, 1e35},  // no math type: nothing
        {"EQ1.LINEARITY", 0, "d:linear", "", 0x400000, 1e35},
        {"EQ1.LINEARITY", 0x400000, "d:NONLINEAR", "", 0, 1e35},
        {"EQ1.LINEARITY", 0, "d:LINEARLY", "", 0, 1e35},
        {"EQ1", 0, "r:1.5", "Assignment to read-only value: EQ1 = 1.5 {*}\n", 0, 1e35},
        {"EQ1.SHADOW_PRICE", 0, "i:2", "Assignment to read-only value: EQ1.SHADOW_PRICE = 2\n", 0, 1e35},
        {"EQ9.TYPE", 0, "d:LT", "Invalid equation name in assignment: EQ9.TYPE = LT\n", 0, 1e35},
        {"EQ1.type", 0, "d:LT", "Invalid equation name in assignment: EQ1.type = LT\n", 0, 1e35},
    };
    for (const Assignment &r : rows) {
        HistoryCapture his;
        Model m;
        rtoeqnlst_set_eqn_status(m.list(), 1, r.status_before);
        value_t v = make_value(r.value);
        rtoeqnlst_assign_value(m.list(), r.target, &v);
        EXPECT_EQ(his.text(), r.history) << r.target << " = " << r.value;
        EXPECT_EQ(rtoeqnlst_inq_eqn_status(m.list(), 1), r.status) << r.target << " = " << r.value;
        EXPECT_EQ(rtoeqnlst_inq_eqn_scale(m.list(), 1), r.scale) << r.target << " = " << r.value;
        EXPECT_EQ(rtoeqnlst_inq_eqn_value(m.list(), 1), 2.5) << r.target << " = " << r.value;
        value_destroy(&v);
    }
}

TEST(EqnAssign, LinearityNonlinearClearsTheFlagOnly) {
    Model m;
    rtoeqnlst_set_eqn_status(m.list(), 1, 0x400000 | (3 << 1) | 1);
    value_t v = make_value("d:Nonlinear");
    rtoeqnlst_assign_value(m.list(), "EQ1.LINEARITY", &v);
    EXPECT_EQ(rtoeqnlst_inq_eqn_status(m.list(), 1), (3 << 1) | 1);
    value_destroy(&v);
}

TEST(EqnAssign, TypeKeepsTheOtherFieldsOfTheWord) {
    Model m;
    rtoeqnlst_set_eqn_status(m.list(), 1, 0x400000 | 0x30 | 1);
    value_t v = make_value("d:GEQ");
    rtoeqnlst_assign_value(m.list(), "EQ1.TYPE", &v);
    EXPECT_EQ(rtoeqnlst_inq_eqn_status(m.list(), 1), 0x400000 | 0x30 | (4 << 1) | 1);
    value_destroy(&v);
}

TEST(EqnAssign, ThroughAWindowTheNameIsTheWindows) {
    ListGuard head{rtoeqnlst_create(2)};
    rtoeqnlst_set_neqn(head.list, 2);
    ListGuard w{rtoeqnlst_create_embedded(1, head.list, "U.", 2)};
    rtoeqnlst_set_neqn(w.list, 1);
    rtoeqnlst_addeqn(w.list, 1, "E");
    value_t v = make_value("r:3");
    rtoeqnlst_assign_value(w.list, "E.EQNSCALE", &v);
    EXPECT_EQ(rtoeqnlst_inq_eqn_scale(head.list, 2), 3.0);
    rtoeqnlst_assign_value(head.list, "U.E.EQNSCALE", &v);
    EXPECT_EQ(rtoeqnlst_inq_eqn_scale(head.list, 2), 3.0);
    value_destroy(&v);
}

TEST(EqnAssign, EmptyListOrOverlongNameDoesNothing) {
    HistoryCapture his;
    ListGuard empty{rtoeqnlst_create(2)};
    Model m;
    value_t v = make_value("b:0");
    rtoeqnlst_assign_value(empty.list, "EQ1.INCLUDED", &v);
    rtoeqnlst_assign_value(m.list(), (std::string(1100, 'E') + ".TYPES").c_str(), &v);
    EXPECT_EQ(his.text(), "");
    EXPECT_EQ(rtoeqnlst_inq_neqn_active(m.list()), 4);
    value_destroy(&v);
}

TEST(EqnAssign, MissingArgumentsPrintTheirAssertionLines) {
    Model m;
    value_t v = make_value("b:0");
    struct Row {
        rtattrdict_t *list;
        const char *target;
        const value_t *value;
        const char *line;
    };
    const Row rows[] = {
        {nullptr, "EQ1.INCLUDED", &v, "!!rtoeqnlst_assign_value: NULL eqnlst"},
        {m.list(), "EQ1.INCLUDED", nullptr, "!!rtoeqnlst_assign_value: NULL value pointer"},
        {m.list(), nullptr, &v, "!!rtoeqnlst_assign_value: NULL name pointer"},
    };
    for (const Row &r : rows) {
        StderrCapture err;
        rtoeqnlst_assign_value(r.list, r.target, r.value);
        EXPECT_EQ(
            err.text().substr(0, 60),
            (std::string("Assertion '") + r.line + "' failed in source/rteqnlst/rteqnlst:").substr(0, 60));
    }
    EXPECT_EQ(rtoeqnlst_inq_neqn_active(m.list()), 4);
    value_destroy(&v);
}

TEST(EqnLookup, EveryAttributeAsAValue) {
    HistoryCapture his;
    Model m;
    rtoeqnlst_set_eqn_status(m.list(), 1, 0x400000 | (2 << 1));
    rtoeqnlst_set_eqn_scale(m.list(), 1, 0.125);
    rtoeqnlst_set_eqn_shadow_price(m.list(), 1, -4.0);
    rtoeqnlst_set_eqn_status(m.list(), 2, 1 | (5 << 1));
    struct Row {
        const char *target;
        const char *shown;  // kind:printed
    };
    const Row rows[] = {
        {"EQ1", "1:2.5 {*}"},  // a plain number: no unit
        {"EQ1.EQNSCALE", "1:0.125 {*}"},
        {"EQ1.SHADOW_PRICE", "1:-4 {*}"},
        {"EQ1.INCLUDED", "6:TRUE"},
        {"EQ1.TYPE", "3:LEQ"},
        {"EQ1.LINEARITY", "3:linear"},
        {"A.B.C", "0:!!!UNDEFINED!!!"},  // residual not set: empty
        {"A.B.C.INCLUDED", "6:FALSE"},
        {"A.B.C.TYPE", "3:OBJ_FUNC"},
        {"A.B.C.LINEARITY", "3:nonlinear"},
        {"A.B.C.EQNSCALE", "0:!!!UNDEFINED!!!"},
        {"NOSUCH", "1:0 {*}"},  // no equation: the accessors' zero
        {"NOSUCH.TYPE", "3:EQUALITY"},
    };
    for (const Row &r : rows) {
        value_t v = make_value("s:old");
        rtoeqnlst_lookup_value(m.list(), r.target, &v);
        EXPECT_EQ(shown(his, v), r.shown) << r.target;
        value_destroy(&v);
    }
}

TEST(EqnLookup, AssignedTypeReadsBackInUpperCase) {
    HistoryCapture his;
    Model m;
    value_t in = make_value("d:leq");
    rtoeqnlst_assign_value(m.list(), "EQ1.TYPE", &in);
    value_t out = make_value("u:");
    rtoeqnlst_lookup_value(m.list(), "EQ1.TYPE", &out);
    EXPECT_EQ(shown(his, out), "3:LEQ");
    value_destroy(&in);
    value_destroy(&out);
}

TEST(EqnLookup, NotANumberIsANumber) {
    HistoryCapture his;
    Model m;
    rtoeqnlst_vec_residual(m.list())[0] = std::nan("");
    value_t out = make_value("u:");
    rtoeqnlst_lookup_value(m.list(), "EQ1", &out);
    EXPECT_EQ(out.value_type, number_value);
    EXPECT_TRUE(std::isnan(out.u.number.rval));
    value_destroy(&out);
}

TEST(EqnLookup, MathTypeWithoutAWordGivesNothing) {
    HistoryCapture his;
    Model m;
    rtoeqnlst_set_eqn_status(m.list(), 1, 7 << 1);
    value_t out = make_value("s:old");
    rtoeqnlst_lookup_value(m.list(), "EQ1.TYPE", &out);
    EXPECT_EQ(out.value_type, undefined_value);
}

TEST(EqnLookup, ValueIsEmptiedEvenWhenNothingIsFound) {
    HistoryCapture his;
    ListGuard empty{rtoeqnlst_create(1)};
    Model m;
    const std::string long_name(1100, 'E');
    struct Row {
        const char *what;
        rtattrdict_t *list;
        const char *target;
    };
    const Row rows[] = {
        {"empty list", empty.list, "EQ1"},
        {"no list", nullptr, "EQ1"},
        {"no name", m.list(), nullptr},
        {"name too long", m.list(), long_name.c_str()},
    };
    for (const Row &r : rows) {
        value_t v = make_value("s:old");
        rtoeqnlst_lookup_value(r.list, r.target, &v);
        EXPECT_EQ(v.value_type, undefined_value) << r.what;
    }
    rtoeqnlst_lookup_value(m.list(), "EQ1", nullptr);  // nowhere to put it: nothing
    EXPECT_EQ(his.text(), "");
}

}  // namespace
