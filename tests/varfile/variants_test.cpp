// The query and substitution readers over files of good and bad records, the
// file query's attributes and blocks, and readers short of memory.
#include <gtest/gtest.h>

#include "platform/xalloc.h"
#include "varfile_fixture.h"

using namespace zarn::test;

namespace {

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
        "X5,7,5\nX6,CONST,6\nX3,CONST,3,4,5\nX3,INITIAL,3\nNEW SECTION\nNAME,VALUE\nX3,9\n"
        "NEW SECTION\nNAME,SPEC,UNITS\nX1,CONST,ATM\n";
    HistoryCapture h;
    List l({{.name = "X1", .spec = 1, .value = -1},
            {.name = "X2", .value = -1},
            {.name = "X3", .spec = 1, .value = -1},
            {.name = "X4", .spec = 1, .value = -1},
            {.name = "X5", .spec = 1, .value = -1}});
    RTVarFileInQuery in(text_pipe(file), l);
    in.SetQuery(A::SPEC, texts({"initial"}));  // freed when replaced
    in.SetQuery(A::SPEC, texts({"Const", "INITIAL"}));
    EXPECT_EQ(in.SetQuery(A::SPEC, nullptr), 0) << "a missing list keeps the one before";
    in.Go();
    EXPECT_EQ(values(l), std::vector<double>({1, -1, -1, 4, -1}));
    EXPECT_EQ(varInqPhysicalType(rtovarlst_inq_var_status(l, 1)), 20) << "X1 typed by its unit";
    EXPECT_EQ(rtovarlst_inq_var_conn_type(l, 1), 0) << "the unit leaves X1's connection type alone";
    EXPECT_EQ(h.text(),
              "Attempt to assign real value 10 to the THRESHOLD attribute of X1\n"
              "Variable X3 has more fields (5) than the header (4)" +
                  kMore);
    gl_list_t *words = texts({"CONST"});
    AssignRecorderWithQuery recorder(nullptr, l, 1, nullptr, words, A::SPEC);
    EXPECT_EQ(recorder.QueryMatches(1, A::VALUE, "CONST", 0, 0), 0) << "only SPEC texts pass";
    recorder.AssignInteger(1, A::MODIFIED, 6);
    EXPECT_EQ(h.text(), "Attempt to assign real value 6 to the MODIFIED attribute of X1\n");
    gl_destroy(words, std::free);
    List on_value({{.name = "X1", .spec = 1, .value = -1}});
    RTVarFileInQuery value_query(text_pipe(file), on_value);
    value_query.SetQuery(A::VALUE, texts({"CONST"}));
    value_query.Go();
    EXPECT_EQ(values(on_value), std::vector<double>({-1})) << "a query on another attribute passes nothing";
}

// Names rewritten at their leading part; a name without the old prefix is no variable's.
TEST(VarfileVariants, SubstitutionReaderOverGoodAndBadRecords) {
    const std::string longest = "B2." + std::string(1021, 'N');  // as long as a name can be
    HistoryCapture h;
    List l({{.name = "B2.X", .value = -1},
            {.name = "B2.Y", .value = -1},
            {.name = "X", .value = -1},
            {.name = "C1.X", .value = -1},
            {.name = "B2", .value = -1},
            {.name = "B2X", .value = -1},
            {.name = longest.c_str(), .value = -1}});
    const std::string records =
        "'B1." + std::string(1021, 'N') + "',8\n'B1." + std::string(1022, 'N') + "',9\n";
    RTVarFileInWithSubs(text_pipe("NAME,VALUE\nB1.X,1\nb1.y,2\nC1.X,3\nB1,4\nB1X,5\nX,6\nB1.X,1,2\n" +
                                  records + "NEW SECTION\nNAME,CONN_TYPE\nB1.X,pressure\n"),
                        l, "b1", "b2")
        .Go();
    EXPECT_EQ(values(l), std::vector<double>({1, 2, -1, -1, 4, 5, 8}));
    EXPECT_EQ(h.text(), "Variable B1.X has more fields (3) than the header (2)" + kMore +
                            "Attempt to assign string value 'PRESSURE' to the CONN_TYPE attribute of B2.X\n");
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
// those under a bad header), each once, sorted.
TEST(VarfileVariants, FileQueryListsAttributesAndBlocks) {
    RTVarFileQry q(
        text_pipe("NAME,VALUE,UNITS\nA.BLK.X,1,K\nb.blk.z,2\nA.Blk.Y,3\nW,4\n'.BLK',5\nNEW SECTION\n"
                  "name,pt,bound\nC.BLKX.BLK.Q\nNEW SECTION\nNAME,UOM,TARGET,UNITS\nZ.BLK.Q\n"
                  "NEW SECTION\nNAME,SP,FOO\nK.BLK,1\n"));
    q.Go();
    std::vector<int> found;
    for (int k = 0; k < q.NumAttr(); ++k) found.push_back(q.AttrAt(k));
    EXPECT_EQ(found, std::vector<int>({A::NAME, A::PHYSICAL_TYPE, A::UNITS, A::VALUE, A::BOUND, A::TARGET,
                                       A::SHADOW_PRICE}));
    EXPECT_EQ(blocks(q), std::vector<std::string>({"", "A", "B", "C", "K"}));
    q.Go();
    EXPECT_EQ(q.NumAttr(), 7) << "a second Go keeps what the first found";
    QueryRecorder recorder;
    recorder.Collect(true);
    EXPECT_EQ(recorder.LookupVariable("A.BLK.X"), 0) << "no record is processed further";
    EXPECT_EQ(recorder.LookupVariable("PLAIN"), 0) << "nor one without a block";
    recorder.Collect(false);
    EXPECT_EQ(recorder.LookupVariable("B.BLK.X"), 0) << "nor when not collecting";
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
        if (n == 0) {  // nothing failed: all of it read
            EXPECT_EQ(q.NumAttr(), 2);
            EXPECT_EQ(q.NumBlocks(), 100);
            EXPECT_EQ(rtovarlst_inq_var_value(l, 1, 1), 2);
        }
        EXPECT_EQ(rtovarlst_inq_var_value(l, 2, 1), 1)
            << "a prefix that could not be copied is not taken as none";
        EXPECT_EQ(h.text().find("!!") != std::string::npos, n > 0) << "every failure is reported: " << n;
    }
    EXPECT_GT(count, 100);
}

}  // namespace
