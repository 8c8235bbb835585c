// The query and substitution readers and the file query: what each assigning
// recorder stores where they differ, files of good and bad records, attributes
// and blocks found; and what every reader shares (pipe, attributes, exceptions).
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "platform/xalloc.h"
#include "varfile_fixture.h"
#include "zarnutils/varattrnames.hpp"

using namespace zarn::test;

namespace {

// What a recorder may change of variable 1: value, threshold, MODIFIED, status, unit, ramped, connection.
std::vector<double> state(rtvarlst_t *l) {
    const rtvarmod_t *m = rtovarlst_inq_var_modified(l, 1);
    return {rtovarlst_inq_var_value(l, 1, 1),
            rtovarlst_inq_var_threshold(l, 1, 1),
            m ? double(m->mask1) : -1,
            m ? double(m->mask2) : -1,
            double(rtovarlst_inq_var_status(l, 1)),
            double(rtovarlst_inq_var_uom(l, 1)),
            double(rtovarlst_inq_var_ramped(l, 1)),
            double(rtovarlst_inq_var_conn_type(l, 1))};
}

// How a recorder takes a call: stores what the plain recorder stores (without the
// connection type), writes what the plain recorder writes instead, or refuses plainly.
enum Outcome { kStores, kStoresNoConn, kExplains, kRefuses };

TEST(VarfileVariants, WhereTheAssigningRecordersDiffer) {
    struct Row {
        A::VarAttribute a;
        char kind;
        const char *value;
        Outcome plain, query, subs;
    };
    const Row rows[] = {{A::VALUE, 'r', "3", kStores, kStores, kStores},
                        {A::THRESHOLD, 'r', "5", kStores, kRefuses, kRefuses},
                        {A::SHADOW_PRICE, 'r', "2.5", kExplains, kExplains, kRefuses},
                        {A::MODIFIED, 'i', "6", kStores, kRefuses, kStores},
                        {A::UNITS, 's', "psia", kStores, kStoresNoConn, kStoresNoConn},
                        {A::ACTIVE_BOUND, 's', "lower", kExplains, kExplains, kRefuses},
                        {A::DESCRIPTION, 's', "hot", kExplains, kExplains, kRefuses},
                        {A::MODIFIED, 's', "6;1", kStores, kRefuses, kRefuses},
                        {A::VAR_TYPE, 's', "binary", kStores, kRefuses, kRefuses},
                        {A::RAMPED, 's', "yes", kStores, kRefuses, kRefuses},
                        {A::CONN_TYPE, 's', "pressure", kStores, kStores, kRefuses}};
    HistoryCapture h;
    for (const Row &r : rows) {
        const std::vector<V> vars = {{.name = "U", .value = 1}};
        List before(vars), p(vars), q(vars), s(vars);
        AssignRecorder plain(nullptr, p, 1, nullptr);
        AssignRecorderWithQuery query(nullptr, q, 1, nullptr, nullptr, -1);
        AssignRecorderWithSubs subs(nullptr, s, 1, nullptr, nullptr, nullptr);
        const std::tuple<VarRecorder *, rtvarlst_t *, Outcome> recorders[] = {
            {&plain, p, r.plain}, {&query, q, r.query}, {&subs, s, r.subs}};
        std::string upper = r.value, explained;
        std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
        const std::string refusal =
            std::string("Attempt to assign ") +
            (r.kind == 's' ? "string value '" + upper + "'" : std::string("real value ") + r.value) +
            " to the " + RTVarAttributeNames::Name(r.a) + " attribute of U\n";
        for (const auto &[rec, list, outcome] : recorders) {
            SCOPED_TRACE(std::string(RTVarAttributeNames::Name(r.a)) + " " + r.value + " by outcome " +
                         std::to_string(outcome));
            if (r.kind == 'r') rec->AssignReal(1, r.a, std::atof(r.value));
            if (r.kind == 'i') rec->AssignInteger(1, r.a, std::atoi(r.value));
            if (r.kind == 's') rec->AssignString(1, r.a, r.value);
            const std::string said = h.text();
            if (rec == &plain) explained = said;
            EXPECT_EQ(said, outcome == kRefuses ? refusal : outcome == kExplains ? explained : "");
            std::vector<double> want =
                outcome == kStores || outcome == kStoresNoConn ? state(p) : state(before);
            if (outcome == kStoresNoConn) want.back() = state(before).back();
            EXPECT_EQ(state(list), want);
        }
        EXPECT_EQ(state(p) == state(before), r.plain != kStores) << "the plain recorder stores it";
    }
}

std::vector<double> values(rtvarlst_t *l) {
    std::vector<double> v;
    for (int i = 1; i <= rtovarlst_inq_nvar(l); ++i) v.push_back(rtovarlst_inq_var_value(l, i, 1));
    return v;
}

gl_list_t *texts(std::initializer_list<const char *> words) {
    gl_list_t *list = gl_create();
    for (const char *w : words) gl_addtoend(list, strdup(w));
    return list;
}

const std::string kMore =
    ".\nDouble check your commas, and remember that a record cannot end with an\nempty field.\n";

// Only records whose SPEC is a queried word and the variable's SPEC now are
// read: not X2 (CALC now), X3 (FIXED not asked; INITIAL not its spec), X5 (no SPEC text).
TEST(VarfileVariants, QueryReaderOverGoodAndBadRecords) {
    const std::string file =
        "NAME,SPEC,VALUE,THRESHOLD\nX1,CONST,1,10\nX2,CONST,2\nX3,FIXED,3\nx4,const,4\nX5,,5\n"
        "X5,7,5\nX6,CONST,6\nX3,CONST,3,4,5\nX3,INITIAL,3\nNEW SECTION\nNAME,VALUE\nX3,9\n";
    const std::vector<V> vars = {{.name = "X1", .spec = 1, .value = -1},
                                 {.name = "X2", .value = -1},
                                 {.name = "X3", .spec = 1, .value = -1},
                                 {.name = "X4", .spec = 1, .value = -1},
                                 {.name = "X5", .spec = 1, .value = -1}};
    HistoryCapture h;
    List l(vars), on_value(vars);
    RTVarFileInQuery in(text_pipe(file), l);
    EXPECT_EQ(in.SetQuery(A::SPEC, texts({"initial"})), 1);
    EXPECT_EQ(in.SetQuery(A::VALUE, nullptr), 0) << "a missing list changes nothing";
    EXPECT_EQ(in.SetQuery(A::SPEC, texts({"Const", "INITIAL"})), 1) << "the list before is freed";
    in.Go();
    EXPECT_EQ(values(l), std::vector<double>({1, -1, -1, 4, -1}));
    EXPECT_EQ(h.text(),
              "Attempt to assign real value 10 to the THRESHOLD attribute of X1\n"
              "Variable X3 has more fields (5) than the header (4)" +
                  kMore);
    RTVarFileInQuery value_query(text_pipe(file), on_value);
    value_query.SetQuery(A::VALUE, texts({"CONST"}));
    value_query.Go();
    EXPECT_EQ(values(on_value), std::vector<double>(5, -1)) << "a query on another attribute passes nothing";
    gl_list_t *words = texts({"CONST"});
    AssignRecorderWithQuery listed(nullptr, l, 1, nullptr, words, A::SPEC),
        unlisted(nullptr, l, 1, nullptr, nullptr, A::SPEC);
    EXPECT_EQ(listed.QueryMatches(1, A::SPEC, "CONST", 0, 0), 1);
    EXPECT_EQ(listed.QueryMatches(1, A::VALUE, "CONST", 0, 0), 0) << "only SPEC texts pass";
    EXPECT_EQ(listed.QueryMatches(1, A::SPEC, "", 0, 0), 0);
    EXPECT_EQ(unlisted.QueryMatches(1, A::SPEC, "CONST", 0, 0), 0) << "no list passes nothing";
    gl_destroy(words, std::free);
}

// Names rewritten at their leading part; a name without the old prefix is no variable's.
TEST(VarfileVariants, SubstitutionReaderOverGoodAndBadRecords) {
    const std::string longest = "B2." + std::string(1021, 'N');  // as long as a name can be
    const std::string records =
        "'B1." + std::string(1021, 'N') + "',8\n'B1." + std::string(1022, 'N') + "',9\n";
    HistoryCapture h;
    List l({{.name = "B2.X", .value = -1},
            {.name = "B2.Y", .value = -1},
            {.name = "X", .value = -1},
            {.name = "C1.X", .value = -1},
            {.name = "B2", .value = -1},
            {.name = "B2X", .value = -1},
            {.name = longest.c_str(), .value = -1}});
    RTVarFileInWithSubs(
        text_pipe("NAME,VALUE\nB1.X,1\nb1.y,2\nC1.X,3\nB1,4\nB1X,5\nX,6\nB1.X,1,2\n" + records), l, "b1",
        "b2")
        .Go();
    EXPECT_EQ(values(l), std::vector<double>({1, 2, -1, -1, 4, 5, 8}));
    EXPECT_EQ(h.text(), "Variable B1.X has more fields (3) than the header (2)" + kMore);
    RTVarFileInWithSubs(text_pipe("NAME,VALUE\nB1.X,7\nB1,8\nB1X,9\nC1.X,9\n"), l, "B1", nullptr).Go();
    EXPECT_EQ(values(l), std::vector<double>({1, 2, 7, -1, 4, 5, 8}))
        << "the old prefix and the character after it go";
    RTVarFileInWithSubs(text_pipe("NAME,VALUE\nC1.X,10\nX,11\n"), l, nullptr, "B2.").Go();
    EXPECT_EQ(values(l), std::vector<double>({11, 2, 7, -1, 4, 5, 8}))
        << "a new prefix alone is put in front";
}

std::vector<std::string> blocks(const RTVarFileQry &q) {
    std::vector<std::string> b;
    for (int k = 0; k < q.NumBlocks(); ++k) b.push_back(q.BlockIDAt(k));
    return b;
}

// Header words of every section, a bad header's too; blocks of the names read (not
// those under a bad header), each once, sorted; many blocks in no order.
TEST(VarfileVariants, FileQueryListsAttributesAndBlocks) {
    RTVarFileQry q(
        text_pipe("NAME,VALUE,UNITS\nA.BLK.X,1,K\nb.blk.z,2\nA.Blk.Y,3\nW,4\n'.BLK',5\nNEW SECTION\n"
                  "name,pt,bound\nC.BLKX.BLK.Q\nNEW SECTION\nNAME,UOM,TARGET,UNITS\nZ.BLK.Q\n"
                  "NEW SECTION\nNAME,SP,FOO\nK.BLK,1\n"));
    q.Go();
    std::vector<int> found;
    for (int k = -1; k <= q.NumAttr(); ++k) found.push_back(q.AttrAt(k));
    EXPECT_EQ(found, std::vector<int>({-1, A::NAME, A::PHYSICAL_TYPE, A::UNITS, A::VALUE, A::BOUND, A::TARGET,
                                       A::SHADOW_PRICE, -1}));
    EXPECT_EQ(blocks(q), std::vector<std::string>({"", "A", "B", "C", "K"}));
    EXPECT_EQ(q.BlockIDAt(-1), nullptr);
    EXPECT_EQ(q.BlockIDAt(5), nullptr);
    std::string file = "NAME\n";
    std::vector<std::string> want;
    for (int k = 0; k < 500; ++k) file += "N" + std::to_string(k * 7 % 150) + ".BLK.V\n";
    for (int k = 0; k < 150; ++k) want.push_back("N" + std::to_string(k));
    std::sort(want.begin(), want.end());
    RTVarFileQry many(text_pipe(file));
    many.Go(), many.Go();
    EXPECT_EQ(blocks(many), want);
    EXPECT_EQ(many.NumAttr(), 1) << "a second Go keeps what the first found";
    EXPECT_EQ(blocks(q).size(), 5u) << "a reader keeps its own blocks";
    QueryRecorder recorder;
    recorder.Collect(true);
    EXPECT_EQ(recorder.LookupVariable("A.BLK.X"), 0) << "no record is processed further";
    recorder.Collect(false);
    EXPECT_EQ(recorder.LookupVariable("B.BLK.X"), 0) << "nor when not collecting";
}

// A pipe that counts its destruction and throws from its read.
struct Probe {
    int destroyed = 0;
    rtopipe pipe{nullptr, read, destroy, nullptr, nullptr, this, 1, 0};
    static int64_t read(rtopipe *, char *, size_t) { throw std::runtime_error("read failed"); }
    static void destroy(rtopipe *p) { ++static_cast<Probe *>(p->data)->destroyed; }
};

// Every reader: level 1, a missing pipe reported,
// its pipe destroyed once, an exception from the pipe passed on with the parser left free.
TEST(VarfileVariants, WhatEveryReaderShares) {
    rtopipe *report = create_queue_rtopipe();
    using Make = std::function<RTVarFileIO *(rtopipe *, rtvarlst_t *)>;
    const std::pair<std::string, Make> readers[] = {
        {"RTVarFileIn", [](rtopipe *p, rtvarlst_t *l) { return new RTVarFileIn(p, l); }},
        {"RTVarFileCmp", [&](rtopipe *p, rtvarlst_t *l) { return new RTVarFileCmp(p, report, l); }},
        {"RTVarFileInQuery", [](rtopipe *p, rtvarlst_t *l) { return new RTVarFileInQuery(p, l); }},
        {"RTVarFileInWithSubs",
         [](rtopipe *p, rtvarlst_t *l) { return new RTVarFileInWithSubs(p, l, "A", "B"); }},
        {"RTVarFileQry", [](rtopipe *p, rtvarlst_t *) { return new RTVarFileQry(p); }}};
    List l({{.name = "X", .value = 1}});
    HistoryCapture h;
    for (const auto &[name, make] : readers) {
        SCOPED_TRACE(name);
        Probe probe;
        std::unique_ptr<RTVarFileIO> r(make(&probe.pipe, l));
        EXPECT_EQ(r->GetLevel(), 1);
        EXPECT_THROW(r->Go(), std::runtime_error);
        r.reset();
        EXPECT_EQ(probe.destroyed, 1);
        RTVarFileIn(text_pipe("NAME,VALUE\nX,2\n"), l).Go();
        EXPECT_EQ(rtovarlst_inq_var_value(l, 1, 1), 2) << "the parser is free again";
        rtovarlst_set_var_value(l, 1, 1, 1);
        std::unique_ptr<RTVarFileIO>(make(nullptr, l))->Go();
        EXPECT_EQ(h.text(), "!!" + name + "::Go: No input pipe\n");
    }
    RTVarFileCmp(text_pipe("NAME,VALUE\nX,2\n"), nullptr, l).Go();
    EXPECT_EQ(h.text(), "!!RTVarFileCmp::Go: No report pipe\n");
    EXPECT_EQ(drain(report), "");
    rtodestroy(report);
}

// Short memory in a file query and a substitution reader: every failure reported, nothing leaks.
TEST(VarfileVariants, ShortMemory) {
    std::string file = "NAME,VALUE\n";
    for (int k = 0; k < 100; ++k) file += "N" + std::to_string(k) + ".BLK.V,1\n";
    HistoryCapture h;
    StderrCapture quiet;  // a queue pipe that could not be made complains there
    long count = 0;
    for (long n = 0; n == 0 || n <= count; ++n) {
        List l({{.name = "B.X", .value = 1}, {.name = "X", .value = 1}});
        zarn::failalloc_set(n);
        RTVarFileQry q(text_pipe(file));
        q.Go();
        RTVarFileInWithSubs(text_pipe("NAME,VALUE\nA.X,2\n"), l, "a", "b").Go();
        if (n == 0) count = zarn::failalloc_count();
        zarn::failalloc_set(0);
        const bool whole = q.NumAttr() == 2 && q.NumBlocks() == 100 && rtovarlst_inq_var_value(l, 1, 1) == 2;
        EXPECT_TRUE(whole || n > 0);
        EXPECT_EQ(rtovarlst_inq_var_value(l, 2, 1), 1)
            << "a prefix that could not be copied is not taken as none";
        EXPECT_EQ(h.text().find("!!") != std::string::npos, n > 0) << "every failure is reported: " << n;
    }
    EXPECT_GT(count, 100);
}

}  // namespace
