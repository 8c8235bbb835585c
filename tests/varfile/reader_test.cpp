// The reader's tokens, grammar and record processing, seen through a recorder
// that writes down every call, the input given whole and a byte at a time; pipes
// read again, short memory; bad records among good ones; the kept fuzz inputs.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#define ZARN_FUZZ_CHECK(cond) EXPECT_TRUE(cond) << #cond
#include "../../fuzz/varfile_one_input.h"
#include "platform/xalloc.h"
#include "source_tree.h"
#include "varfile/varfile_internal.h"
#include "varfile_fixture.h"
#include "zarnutils/varattrnames.hpp"

using namespace zarn::test;
namespace vf = zarn::varfile;

namespace {

// Writes each call as one line; variables Xn (n) and "A B" (3) exist. It may refuse
// one attribute, and filter on one attribute passing one text.
struct Log : VarRecorder {
    std::string calls;
    int refused = -1, query = -1;
    const char *passes = "";
    void put(int i, Attribute a, const std::string &what, const char *unit = nullptr) {
        calls += std::to_string(i) + " " + RTVarAttributeNames::Name(a) + " " + what + (unit ? " " : "");
        calls += (unit ? unit : "") + std::string("\n");
    }
    static std::string num(double x) {
        char b[32];
        std::snprintf(b, sizeof b, "r %.17g", x);
        return b;
    }
    static std::string num(int n) { return "i " + std::to_string(n); }
    int AcceptsAttribute(Attribute a) override { return a != refused; }
    int LookupVariable(const char *n) override {
        return *n == 'X' ? std::atoi(n + 1) : std::strcmp(n, "A B") ? 0 : 3;
    }
    void AssignReal(int i, Attribute a, double x) override { put(i, a, num(x)); }
    void AssignInteger(int i, Attribute a, int n) override { put(i, a, num(n)); }
    void AssignString(int i, Attribute a, const char *t) override { put(i, a, std::string("s ") + t); }
    void AssignRealInUnit(int i, Attribute a, double x, const char *u) override { put(i, a, num(x), u); }
    void AssignIntegerInUnit(int i, Attribute a, int n, const char *u) override { put(i, a, num(n), u); }
    int QueryAttribute(Attribute *a) override {
        if (query < 0) return 0;
        *a = Attribute(query);
        return 1;
    }
    int QueryMatches(int, Attribute, const char *t, int x, int y) override {
        return !x && !y && !std::strcmp(t, passes);
    }
};

// A pipe that gives one byte per read, so that every token is split across reads.
int64_t trickle_read(rtopipe *p, char *buffer, size_t size) {
    auto *rest = static_cast<std::string *>(p->data);
    if (rest->empty() || size == 0) return 0;
    buffer[0] = (*rest)[0];
    rest->erase(0, 1);
    return 1;
}

const std::string kMore =
    ".\nDouble check your commas, and remember that a record cannot end with an\n"
    "empty field.\n";
const std::string kParse = "!! ZARN EO parse error in VARFILE input\n";
const std::string kOdd = "Ignoring unexpected character ", kIn = " in varfile\n";

TEST(VarfileReader, TokensGrammarAndRecords) {
    struct Row {
        std::string file, calls, said = "";
        int refused = -1, query = -1;
        const char *passes = "";
    };
    const Row rows[] = {
        // Type and unit go first, whatever their column; numbers by kind.
        {"NAME, VALUE, UNITS\nX1, 10.0, C\n", "1 UNITS s C\n1 VALUE r 10\n"},
        {"name,value,PT,init\nX1,7,TEMPERATURE,-8\n",
         "1 PHYSICAL_TYPE s TEMPERATURE\n1 VALUE i 7\n1 INIT i -8\n"},
        {"NAME,VALUE,UNITS\nX1, 10.0, C\nX2,3,\n\nK\n", "1 VALUE r 10 C\n2 VALUE i 3 K\n", "", A::UNITS},
        {"NAME,VALUE,UNITS\nX1,4\nX2,5,6\n", "1 VALUE i 4\n2 VALUE i 5\n", "", A::UNITS},
        {"NAME,VALUE,LOWER\nX1, , 5.0\n7,,,\n,\n6", "1 LOWER r 5\n",
         "Line in varfile has more fields (5) than the header (3)" + kMore},
        {"NAME,VALUE\nX1, 1.0,\nX2, 2.0", "", "Variable X1 has more fields (4) than the header (2)" + kMore},
        {"NAME,FOO,VALUE,F\nX1,Z,3,4\nY3,1,2,3\n", "1 VALUE i 3\n"},
        {"NAME,VALUE,LOWER\nX1,1,2\nNEW SECTION\nNAME\nX1\nNEW SECTION\nNAME,VALUE,LOWER\nX1,,3",
         "1 VALUE i 1\n1 LOWER i 2\n1 LOWER i 3\n"},
        {"NAME,VALUE\nX1,1.5e1\nNEW \t\n SECTION\n'name' , 'lower'\nX2, 2 // X1,3\nX1,4\nNEW section\n",
         "1 VALUE r 15\n2 LOWER i 2\n1 LOWER i 4\n"},
        // Numbers and names at the token boundaries.
        {"NAME,VALUE\nX1,1.5D+03 X1,2.5d-1 X1,1e2 X1,.5 X1,5. X1,+7 X1,-0\n",
         "1 VALUE r 1500\n1 VALUE r 0.25\n1 VALUE r 100\n1 VALUE r 0.5\n1 VALUE r 5\n1 VALUE i 7\n"
         "1 VALUE i 0\n"},
        {"NAME,VALUE\nX1,2147483647 X1,-2147483648 X1,2147483648 X1,-2147483649 X1,1e400\n",
         "1 VALUE i 2147483647\n1 VALUE i -2147483648\n1 VALUE r 2147483648\n1 VALUE r -2147483649\n"
         "1 VALUE r inf\n"},
        {"NAME,DESCRIPTION\nX1,12abc X1,1-2 X1,5.x X1,-a X1,_b X1,a$./:_+-9\n",
         "1 DESCRIPTION s 12abc\n1 DESCRIPTION s 1-2\n1 DESCRIPTION s 5.x\n1 DESCRIPTION s a\n"
         "1 DESCRIPTION s b\n1 DESCRIPTION s a$./:_+-9\n",
         kOdd + "'-'" + kIn + kOdd + "'_'" + kIn},
        {"NAME,DESCRIPTION\nX1,+1e X1,-.5d+ X1,+.x X1,1.5e+ NEW SE X1,NEW\tSECTIO\n",
         "1 DESCRIPTION i 1\n1 DESCRIPTION r -0.5\n1 DESCRIPTION s x\n1 DESCRIPTION s 1.5e+\n1 DESCRIPTION s "
         "NEW\n",
         kOdd + "'+'" + kIn + kOdd + "'.'" + kIn},
        {"NAME,VALUE\n'A B', 1.0\n'X1\n,2 ''X2',3 //X2,4\n X2,'5\x01\xff",
         "3 VALUE r 1\n1 VALUE i 2\n2 VALUE i 3\n2 VALUE i 5\n",
         "Unterminated identifier!\n" + kOdd + "'''" + kIn + kOdd + "'''" + kIn + kOdd + "(1)" + kIn + kOdd +
             "(-1)" + kIn},
        // Bad records: skipped one by one, the good ones kept.
        {"NAME,PHYSICAL_TYPE,BASEUOM,UNITS,VALUE\nX1,5,6.5,7,1\nX2,,,,2\n", "1 VALUE i 1\n2 VALUE i 2\n",
         "UOM field is not a string in VARFILE.\nBASEUOM field is not a string in VARFILE.\n"
         "UOM field is not a string in VARFILE.\n"},
        {"NAME,VALUE\nX1,1,\nNEW SECTION\nNAME,LOWER\nX2,2\nX1,3,\n", "2 LOWER i 2\n", kParse + kParse},
        {"NAME,VALUE\nX1,1,\nNEW SECTION 5\nNAME,VALUE\nX2,2", "", kParse},
        {"NAME,VALUE\n", "", kParse},
        {"NAME,,VALUE\nX1,1\n", "", kParse},
        {"NAME, ? ,VALUE\nX1,1\n", "", kOdd + "'?'" + kIn + kParse},
        {"NAME,5\nX1,1\n", "", kParse},
        // Commas that a dropped character or a comment splits still count one column each.
        {"NAME,VALUE,LOWER,UPPER\nX1, ? ,//c\n, 5\n", "1 UPPER i 5\n", kOdd + "'?'" + kIn},
        {"// nothing\n  \n", ""},
        // A recorder that filters on SPEC passes the records whose text it matches.
        {"NAME,SPEC,VALUE\nX1,FIXED,1\nX2,FREE,2\nX1,3\n", "1 SPEC s FIXED\n1 VALUE i 1\n", "", -1, A::SPEC,
         "FIXED"},
        {"NAME,SPEC,VALUE\nX1,FIXED,1\n", "", "", -1, A::VALUE, "FIXED"},
        {"NAME,VALUE\nX1,1\n", "", "", -1, A::SPEC, "FIXED"}};
    HistoryCapture h;
    for (const Row &r : rows)
        for (bool trickling : {false, true}) {
            Log log;
            log.refused = r.refused;
            log.query = r.query;
            log.passes = r.passes;
            std::string rest = r.file;
            rtopipe trickle{nullptr, trickle_read, nullptr, nullptr, nullptr, &rest, 1, 0};
            rtopipe *q = trickling ? &trickle : text_pipe(r.file);
            vf::parse_varfile(q, &log);
            vf::forget_input(q);
            EXPECT_EQ(log.calls, r.calls) << r.file;
            EXPECT_EQ(h.text(), r.said) << r.file;
            if (!trickling) rtodestroy(q);
        }
}

// A second parse over the same pipe after an unrecoverable error reads on from
// there; a pipe destroyed after an early stop leaves nothing behind.
TEST(VarfileReader, Runs) {
    HistoryCapture h;
    Log first, second;
    rtopipe *q = text_pipe("NEW SECTION 5\nNAME,VALUE\nX1,1\n"), *r = text_pipe("NAME,VALUE\nX2,6\n");
    vf::parse_varfile(q, &first);
    vf::parse_varfile(q, &second);
    EXPECT_EQ(first.calls + "|" + second.calls, "|1 VALUE i 1\n");
    rtowritestr(q, "NAME,,VALUE\nX1,5\n");
    vf::parse_varfile(q, &first);
    vf::forget_input(q);
    rtodestroy(q);
    vf::parse_varfile(r, &second);
    rtodestroy(r);
    EXPECT_EQ(second.calls, "1 VALUE i 1\n2 VALUE i 6\n");
    EXPECT_EQ(h.text(), kParse + kParse);
    // Another reader in between takes the scanner: what the first had read ahead is dropped, and said so.
    Log stopped, other;
    rtopipe *a = text_pipe("NAME,,VALUE\nX1,5\nNEW SECTION NAME,VALUE\nX3,7\n"),
            *b = text_pipe("NAME,VALUE\nX2,8\n");
    vf::parse_varfile(a, &stopped);
    vf::parse_varfile(b, &other);
    vf::parse_varfile(a, &stopped);
    EXPECT_EQ(stopped.calls + "|" + other.calls, "|2 VALUE i 8\n");
    EXPECT_EQ(h.text(), kParse + "!!RTVarFileIn::Go: The input read ahead from *queue pipe* is dropped\n");
    rtodestroy(a);
    rtodestroy(b);
}

// A recorder that starts another parse from inside its first assignment.
struct ReadsAnotherFile : Log {
    Log inner;
    void AssignInteger(int i, Attribute a, int n) override {
        if (calls.empty()) {
            rtopipe *other = text_pipe("NAME,VALUE\nX9,9\n");
            vf::parse_varfile(other, &inner);
            rtodestroy(other);
        }
        Log::AssignInteger(i, a, n);
    }
};

// A parse started while another runs is refused with a message; the running one goes on.
TEST(VarfileReader, OneParseAtATime) {
    HistoryCapture h;
    ReadsAnotherFile outer;
    rtopipe *q = text_pipe("NAME,VALUE\nX1,1\nX2,2\n");
    vf::parse_varfile(q, &outer);
    rtodestroy(q);
    EXPECT_EQ(outer.calls, "1 VALUE i 1\n2 VALUE i 2\n") << "the running parse";
    EXPECT_EQ(outer.inner.calls, "") << "the parse started inside it";
    EXPECT_EQ(h.text(), "!!VARFILE reader: another file is being read; this one is not\n");
}

// A recorder that throws out of its first assignment.
struct ThrowsOnce : Log {
    bool thrown = false;
    void AssignInteger(int i, Attribute a, int n) override {
        if (!thrown) {
            thrown = true;
            throw std::runtime_error("host refused the value");
        }
        Log::AssignInteger(i, a, n);
    }
};

// A reader that parses into any recorder.
struct PlainReader : RTVarFileReader {
    explicit PlainReader(rtopipe *pipe) : RTVarFileReader(pipe, nullptr) {}
    void Go() override {}
    using RTVarFileReader::Read;
};

// An exception from the recorder passes out of the reader and leaves it as a
// finished run does: the next parse of another pipe starts afresh, with no
// message about the first.
TEST(VarfileReader, ExceptionFromTheRecorderResetsTheScanner) {
    HistoryCapture h;
    ThrowsOnce throwing;
    {
        PlainReader first(text_pipe("NAME,VALUE\nX1,1\nX2,2\n"));
        EXPECT_THROW(first.Read(throwing, "PlainReader"), std::runtime_error);
        Log again;
        first.Read(again, "PlainReader");
        EXPECT_EQ(again.calls, "")
            << "the same reader's next read resumed the input read before the exception";
    }
    rtopipe *second = text_pipe("NAME,VALUE\nX3,3\n");
    Log after;
    vf::parse_varfile(second, &after);
    EXPECT_EQ(after.calls, "3 VALUE i 3\n") << "the parse after the exception";
    EXPECT_EQ(h.text(), "") << "no reader is busy and no read-ahead was left behind";
    rtodestroy(second);
}

// A failed allocation anywhere ends the parse or the record with a message;
// nothing leaks.
TEST(VarfileReader, ShortMemory) {
    HistoryCapture h;
    std::string file = "NAME,VALUE";  // more columns than the first allocation holds
    for (int c = 0; c < 31; ++c) file += ",C" + std::to_string(c);
    file += "\nX1,1\nX2,3,'" + std::string(300, 'n') + "'\n";
    long count = 0;
    for (long n = 0; n == 0 || n <= count; ++n) {
        rtopipe *q = text_pipe(file);
        Log log;
        zarn::failalloc_set(n);
        vf::parse_varfile(q, &log);
        if (n == 0) count = zarn::failalloc_count();
        zarn::failalloc_set(0);
        rtodestroy(q);
        EXPECT_EQ(log.calls == "1 VALUE i 1\n2 VALUE i 3\n", n == 0) << n << h.text();
        const std::string said = h.text();
        EXPECT_EQ(said.rfind("!!VARFILE reader: ", 0) == 0, n > 0) << n << said;
    }
    EXPECT_GT(count, 8);
}

TEST(VarfileFiles, BadRecordsAmongGoodOnes) {
    const int t = pt_lookup("TEMPERATURE");
    int c = 0, k = 0;
    rtouom_ptype_locate("C", t, &c);
    rtouom_ptype_locate("K", t, &k);
    std::vector<V> vars;
    for (const char *n : {"G1", "G2", "G3", "G4", "G5", "G6", "G7", "G8", "B1", "B2", "B3", "B4"})
        vars.push_back({.name = n, .value = -1});
    vars.push_back({.name = "T1", .ptype = t, .uom = c, .spec = 1, .value = -1});
    vars.push_back({.name = "T2", .ptype = t, .uom = k, .value = -1});
    List l(vars);
    const std::string big(5 << 20, 'x');
    HistoryCapture h;
    RTVarFileIn(text_pipe(slurp(source_tree() / "tests/varfile/data/bad_records.txt") +
                          "NEW SECTION\nNAME,DESCRIPTION,VALUE\n//" + big + "\nG7,'" + big + "',7\n'" + big +
                          "',9\nG8,,8\n"),
                l)
        .Go();
    EXPECT_EQ(h.text(), "Variable B1 has more fields (5) than the header (4)" + kMore +
                            "Name is not a string in VARFILE.\n"
                            // Once from the search within the type, once from the search among all.
                            "!! rtouom_locate: Unable to locate a unit of measurement named: FURLONG\n"
                            "!! rtouom_locate: Unable to locate a unit of measurement named: FURLONG\n"
                            "Unrecognized unit of measure FURLONG assigned to the UNITS attribute of T1\n"
                            "Unit of measure BAR has a different physical type than that of T2\n"
                            "Unrecognized symbol NOSUCH assigned to the SPEC attribute of G2\n" +
                            kOdd + "'@'" + kIn + "Unterminated identifier!\n" + kParse + kParse);
    const double want[] = {1, 2, 3, 4, 5, 6, 7, 8, -1, -1, -1, -1, 293.15, 30};
    for (int i = 1; i <= 14; ++i) EXPECT_NEAR(rtovarlst_inq_var_value(l, i, 1), want[i - 1], 1e-9) << i;
    auto spec = [&](int i) { return varInqSpec(rtovarlst_inq_var_status(l, i)); };
    EXPECT_EQ(std::vector<int>({spec(1), spec(2), spec(13)}), std::vector<int>({1, 0, 0}));
}

TEST(VarfileFiles, EveryKeptFuzzInputPasses) {
    HistoryCapture h;
    EXPECT_GE(replay_corpus("varfile", zarn::fuzz::varfile_one_input), 4);
}

}  // namespace
