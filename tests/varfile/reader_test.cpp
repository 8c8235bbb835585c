// The reader's tokens, grammar and record processing, seen through a
// recorder that writes down every call, and its bad pipes and memory.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "capture.h"
#include "platform/xalloc.h"
#include "varfile/varfile_internal.h"
#include "zarnutils/varattrnames.hpp"

using namespace zarn::test;
using A = RTVarDatabase;

namespace {

// Writes each call as one line; variables X1, X2 and "A B" exist.
struct Log : VarRecorder {
    std::string calls;
    int refused = -1;  // an attribute it does not take
    int query = -1;    // the attribute it filters on, and the text that passes
    const char *passes = "";
    void put(int i, Attribute a, const std::string &what) {
        calls += std::to_string(i) + " " + RTVarAttributeNames::Name(a) + " " + what + "\n";
    }
    static std::string num(double x) {
        char b[32];
        std::snprintf(b, sizeof b, "%.17g", x);
        return b;
    }
    int AcceptsAttribute(Attribute a) override { return a != refused; }
    int LookupVariable(const char *name) override {
        static const std::map<std::string, int> known{{"X1", 1}, {"X2", 2}, {"A B", 3}};
        auto it = known.find(name);
        return it == known.end() ? 0 : it->second;
    }
    void AssignReal(int i, Attribute a, double x) override { put(i, a, "r " + num(x)); }
    void AssignInteger(int i, Attribute a, int n) override { put(i, a, "i " + std::to_string(n)); }
    void AssignString(int i, Attribute a, const char *t) override { put(i, a, "s " + std::string(t)); }
    void AssignRealInUnit(int i, Attribute a, double x, const char *u) override { put(i, a, "r " + num(x) + " " + u); }
    void AssignIntegerInUnit(int i, Attribute a, int n, const char *u) override {
        put(i, a, "i " + std::to_string(n) + " " + u);
    }
    int QueryAttribute(Attribute *a) override { return query >= 0 ? (*a = Attribute(query), 1) : 0; }
    int QueryMatches(int, Attribute, const char *text, int x, int y) override {
        return x == 0 && y == 0 && std::strcmp(text, passes) == 0;
    }
};

rtopipe *text_pipe(const std::string &text) {
    rtopipe *q = create_queue_rtopipe();
    rtowrite(q, text.data(), text.size());
    return q;
}

// A pipe that gives one byte per read.
int64_t trickle_read(rtopipe *p, char *buffer, size_t size) {
    auto *rest = static_cast<std::string *>(p->data);
    if (rest->empty() || size == 0) return 0;
    buffer[0] = (*rest)[0];
    rest->erase(0, 1);
    return 1;
}

const std::string kMore = ".\nDouble check your commas, and remember that a record cannot end with an\nempty field.\n";
const std::string kParse = "!! ZARN EO parse error in VARFILE input\n";

struct Row {
    std::string file, calls, history;
    int refused = -1, query = -1;
    const char *passes = "";
};

TEST(VarfileReader, TokensGrammarAndRecords) {
    const Row rows[] = {
        // Type and unit go first, whatever their column; numbers by kind.
        {"NAME, VALUE, UNITS\nX1, 10.0, C\n", "1 UNITS s C\n1 VALUE r 10\n", ""},
        {"name,value,PT,init\nX1,7,TEMPERATURE,-8\n", "1 PHYSICAL_TYPE s TEMPERATURE\n1 VALUE i 7\n1 INIT i -8\n", ""},
        {"NAME,VALUE,UNITS\nX1, 10.0, C\nX2,3,\n\nK\n", "1 VALUE r 10 C\n2 VALUE i 3 K\n", "", A::UNITS},
        {"NAME,VALUE,UNITS\nX1,4\nX2,5,6\n", "1 VALUE i 4\n2 VALUE i 5\n", "", A::UNITS},
        {"NAME,VALUE,LOWER\nX1, , 5.0\n7,,,\n,\n6", "1 LOWER r 5\n", "Line in varfile has more fields (5) than the header (3)" + kMore},
        {"NAME,VALUE\nX1, 1.0,\nX2, 2.0", "", "Variable X1 has more fields (4) than the header (2)" + kMore},
        {"NAME,FOO,VALUE,F\nX1,Z,3,4\nX3,1,2,3\n", "1 VALUE i 3\n", ""},
        {"NAME,VALUE,LOWER\nX1,1,2\nNEW SECTION\nNAME\nX1\nNEW SECTION\nNAME,VALUE,LOWER\nX1,,3",
         "1 VALUE i 1\n1 LOWER i 2\n1 LOWER i 3\n", ""},
        {"NAME,VALUE\nX1,1\nNEW \t\n SECTION\nNAME,LOWER\nX1,2\nNEW section\n",
         "1 VALUE i 1\n1 LOWER i 2\n", ""},
        // Numbers and names at the token boundaries.
        {"NAME,VALUE\nX1,1.5D+03 X1,2.5d-1 X1,1e2 X1,.5 X1,5. X1,+7 X1,-0\n",
         "1 VALUE r 1500\n1 VALUE r 0.25\n1 VALUE r 100\n1 VALUE r 0.5\n1 VALUE r 5\n1 VALUE i 7\n1 VALUE i 0\n", ""},
        {"NAME,VALUE\nX1,2147483647 X1,-2147483648 X1,2147483648 X1,-2147483649 X1,1e400\n",
         "1 VALUE i 2147483647\n1 VALUE i -2147483648\n1 VALUE r 2147483648\n1 VALUE r -2147483649\n1 VALUE r inf\n", ""},
        {"NAME,DESCRIPTION\nX1,12abc X1,1-2 X1,5.x X1,-a X1,_b X1,a$./:_+-9\n",
         "1 DESCRIPTION s 12abc\n1 DESCRIPTION s 1-2\n1 DESCRIPTION s 5.x\n1 DESCRIPTION s a\n1 DESCRIPTION s b\n"
         "1 DESCRIPTION s a$./:_+-9\n",
         "Ignoring unexpected character '-' in varfile\nIgnoring unexpected character '_' in varfile\n"},
        {"NAME,VALUE\n'A B', 1.0\n'X1\n,2 ''X2',3 //X2,4\n X2,'5\x01\xff", "3 VALUE r 1\n1 VALUE i 2\n2 VALUE i 3\n2 VALUE i 5\n",
         "Unterminated identifier!\nIgnoring unexpected character ''' in varfile\nIgnoring unexpected character "
         "''' in varfile\nIgnoring unexpected character (1) in varfile\nIgnoring unexpected character (-1) in varfile\n"},
        // Bad records: skipped one by one, the good ones kept.
        {"NAME,VALUE\n5, 1.0\nX2,3", "2 VALUE i 3\n", "Name is not a string in VARFILE.\n"},
        {"NAME,PHYSICAL_TYPE,BASEUOM,UNITS,VALUE\nX1,5,6.5,7,1\nX2,,,,2\n", "1 VALUE i 1\n2 VALUE i 2\n",
         "UOM field is not a string in VARFILE.\nBASEUOM field is not a string in VARFILE.\n"
         "UOM field is not a string in VARFILE.\n"},
        {"NAME,VALUE\nX1,1,\nNEW SECTION\nNAME,LOWER\nX2,2\nX1,3,\n", "2 LOWER i 2\n", kParse + kParse},
        {"NAME,VALUE\nX1,1,\nNEW SECTION 5\nNAME,VALUE\nX2,2", "", kParse},
        {"NAME,VALUE\n", "", kParse},
        {"NAME,,VALUE\nX1,1\n", "", kParse},
        {"// nothing\n  \n", "", ""},
        // A recorder that filters on SPEC passes the records whose text it matches.
        {"NAME,SPEC,VALUE\nX1,FIXED,1\nX2,FREE,2\nX1,3\n", "1 SPEC s FIXED\n1 VALUE i 1\n", "", -1, A::SPEC, "FIXED"},
        {"NAME,SPEC,VALUE\nX1,FIXED,1\n", "", "", -1, A::VALUE, "FIXED"},
        {"NAME,VALUE\nX1,1\n", "", "", -1, A::SPEC, "FIXED"},
    };
    HistoryCapture h;
    for (const Row &r : rows) {
        Log log;
        log.refused = r.refused, log.query = r.query, log.passes = r.passes;
        rtopipe *q = text_pipe(r.file);
        zarn::varfile::parse_varfile(q, &log);
        EXPECT_EQ(log.calls, r.calls) << r.file;
        EXPECT_EQ(h.text(), r.history) << r.file;
        zarn::varfile::forget_input(q);
        rtodestroy(q);
    }
}

// Input arriving a byte at a time splits every token across reads; a second
// parse over the same pipe after an unrecoverable error reads on from there.
TEST(VarfileReader, ReadsAndRuns) {
    HistoryCapture h;
    std::string rest = "NAME,VALUE\nX1,1.5e1\nNEW\n\nSECTION\n'name' , 'lower'\nX2, 2 // X1,3\nX1,4";
    rtopipe trickle{nullptr, trickle_read, nullptr, nullptr, nullptr, &rest, 1, 0};
    Log log;
    zarn::varfile::parse_varfile(&trickle, &log);
    EXPECT_EQ(log.calls, "1 VALUE r 15\n2 LOWER i 2\n1 LOWER i 4\n");
    rtopipe *q = text_pipe("NEW SECTION 5\nNAME,VALUE\nX1,1\n");
    Log first, second;
    zarn::varfile::parse_varfile(q, &first);
    zarn::varfile::parse_varfile(q, &second);
    EXPECT_EQ(first.calls + "|" + second.calls, "|1 VALUE i 1\n");
    EXPECT_EQ(h.text(), kParse);
    // A pipe destroyed after an early stop leaves nothing behind for the next one.
    rtowritestr(q, "NAME,,VALUE\nX1,5\n");
    zarn::varfile::parse_varfile(q, &first);
    zarn::varfile::forget_input(q);
    rtodestroy(q);
    rtopipe *r = text_pipe("NAME,VALUE\nX2,6\n");
    zarn::varfile::parse_varfile(r, &second);
    EXPECT_EQ(second.calls, "1 VALUE i 1\n2 VALUE i 6\n");
    EXPECT_EQ(h.text(), kParse);
    rtodestroy(r);
}

// A failed allocation anywhere ends the parse or the record with a message;
// nothing leaks.
TEST(VarfileReader, ShortMemory) {
    HistoryCapture h;
    const std::string file = "NAME,VALUE,A1,A2,A3,A4,A5,A6,A7,A8,A9,B1,B2,B3,B4,B5,B6,B7,B8,B9,C1,C2,C3,C4,C5,C6,C7,C8,C9,"
                             "D1,D2,D3,D4\nX1,1\nX2,3,'" + std::string(300, 'n') + "'\n";
    long count = 0;
    for (long n = 0; n == 0 || n <= count; ++n) {
        rtopipe *q = text_pipe(file);
        Log log;
        zarn::failalloc_set(n);
        zarn::varfile::parse_varfile(q, &log);
        if (n == 0) count = zarn::failalloc_count();
        zarn::failalloc_set(0);
        rtodestroy(q);
        EXPECT_EQ(log.calls == "1 VALUE i 1\n2 VALUE i 3\n", n == 0) << n << h.text();
        const std::string said = h.text();
        EXPECT_EQ(said.rfind("!!VARFILE reader: ", 0) == 0, n > 0) << n << said;
    }
    EXPECT_GT(count, 8);
}

}  // namespace
