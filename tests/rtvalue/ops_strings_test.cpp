// String functions: positions from the start, from the end, zero and out of
// range; argument counts and kinds with their messages; long texts.
#include <string>

#include "ops_fixture.h"

namespace {

using namespace zarn::test;

using Fn = void (*)(value_t *, IValueContext *);

struct StrRow {
    Fn fn;
    const char *args;
    const char *result;
    const char *history;
};

const char kSubCount[] = "Invalid number of arguments to substr(str,pos[,len])\n";
const char kSubStr[] = "The str argument to substr(str,pos[,len]) is not a string\n";
const char kSubPos[] = "The pos argument to substr(str,pos[,len]) is not valid\n";
const char kSubLen[] = "The len argument to substr(str,pos,len) is not valid\n";
const char kIdxCount[] = "Invalid number of arguments to index(str,substr[,pos])\n";
const char kIdxStr[] = "The str argument to index(str,substr[,pos]) is not a string\n";
const char kIdxSub[] = "The substr argument to index(str,substr[,pos]) is not valid\n";
const char kIdxPos[] = "The pos argument to index(str,substr,pos) is not valid\n";
const char kInsCount[] = "Invalid number of arguments to insertstr(str,sstr,pos)\n";
const char kInsStr[] = "The str argument to insertstr(str,sstr,pos) is not a string\n";
const char kInsSub[] = "The sstr argument to insertstr(str,sstr,pos) is not valid\n";
const char kInsPos[] = "The pos argument to insertstr(str,sstr,pos) is not valid\n";
const char kRemCount[] = "Invalid number of arguments to removestr(str,pos,len)\n";
const char kRemStr[] = "The str argument to removestr(str,pos,len) is not a string\n";
const char kRemPos[] = "The pos argument to removestr(str,pos,len) is not valid\n";
const char kRemLen[] = "The len argument to removestr(str,pos,len) is not valid\n";

const StrRow kRows[] = {
    {value_substr, "L:[S:HELLO,N:2,N:3]", "S:ELL", ""},
    {value_substr, "L:[S:HELLO,N:-2]", "S:LO", ""},
    {value_substr, "L:[S:HELLO,N:5]", "S:O", ""},
    {value_substr, "L:[S:HELLO,N:6]", "S:", ""},
    {value_substr, "L:[S:HELLO,N:9]", "S:", ""},
    {value_substr, "L:[S:HELLO,N:-5,N:1]", "S:H", ""},
    {value_substr, "L:[S:HELLO,N:-6,N:2]", "S:HE", ""},
    {value_substr, "L:[S:HELLO,N:-2147483648]", "S:HELLO", ""},
    {value_substr, "L:[S:HELLO,N:2147483647]", "S:", ""},
    {value_substr, "L:[S:HELLO,N:2,N:0]", "S:", ""},
    {value_substr, "L:[S:HELLO,N:2,N:99]", "S:ELLO", ""},
    {value_substr, "L:[S:HELLO,S:2,S:1]", "S:E", ""},
    {value_substr, "L:[N:12345,N:-2]", "S:45", ""},
    {value_substr, "L:[L:[N:1,N:2],N:2,N:3]", "S:1,2", ""},
    {value_substr, "L:[S:HELLO,N:0]", "U", kSubPos},
    {value_substr, "L:[S:HELLO,N:2.0]", "U", kSubPos},
    {value_substr, "L:[S:HELLO,I:TWO]", "U", kSubPos},
    {value_substr, "L:[S:HELLO,N:2,N:-1]", "U", kSubLen},
    {value_substr, "L:[S:HELLO,N:1 {FT},N:1]", "U", kSubPos},
    {value_substr, "L:[E,N:1]", "U", kSubStr},
    {value_substr, "L:[S:HELLO]", "U", kSubCount},
    {value_substr, "L:[S:HELLO,N:1,N:1,N:1]", "U", kSubCount},
    {value_substr, "S:HELLO", "U", kSubCount},
    {value_index, "L:[S:ABAB,S:AB]", "N:3", ""},
    {value_index, "L:[S:ABAB,S:AB,N:3]", "N:3", ""},
    {value_index, "L:[S:ABAB,S:AB,N:4]", "N:0", ""},
    {value_index, "L:[S:ABAB,S:AB,N:0]", "N:3", ""},
    {value_index, "L:[S:AAA,S:AA]", "N:2", ""},
    {value_index, "L:[S:AB,S:ABC]", "N:0", ""},
    {value_index, "L:[S:ABC,S:]", "N:1", ""},
    {value_index, "L:[S:ABC,S:,N:3]", "N:3", ""},
    {value_index, "L:[S:ABC,S:,N:4]", "N:0", ""},
    {value_index, "L:[S:,S:]", "N:0", ""},
    {value_index, "L:[S:A1B,N:1]", "N:2", ""},
    {value_index, "L:[S:ABAB,S:AB,N:-1]", "U", kIdxPos},
    {value_index, "L:[S:ABAB,E]", "U", kIdxSub},
    {value_index, "L:[E,S:A]", "U", kIdxStr},
    {value_index, "L:[S:ABAB]", "U", kIdxCount},
    {value_insertstr, "L:[S:ABC,S:X,N:2]", "S:AXBC", ""},
    {value_insertstr, "L:[S:ABC,S:X,N:-1]", "S:ABXC", ""},
    {value_insertstr, "L:[S:ABC,S:X,N:9]", "S:ABCX", ""},
    {value_insertstr, "L:[S:ABC,S:X,N:4]", "S:ABCX", ""},
    {value_insertstr, "L:[S:ABC,S:X,N:3]", "S:ABXC", ""},
    {value_insertstr, "L:[S:ABC,S:X,N:1]", "S:XABC", ""},
    {value_insertstr, "L:[S:ABC,S:X,N:-3]", "S:XABC", ""},
    {value_insertstr, "L:[S:ABC,S:X,N:-9]", "S:XABC", ""},
    {value_insertstr, "L:[S:ABC,N:5,N:1]", "S:5ABC", ""},
    {value_insertstr, "L:[S:ABC,S:X,N:0]", "U", kInsPos},
    {value_insertstr, "L:[S:ABC,E,N:1]", "U", kInsSub},
    {value_insertstr, "L:[E,S:X,N:1]", "U", kInsStr},
    {value_insertstr, "L:[S:ABC,S:X]", "U", kInsCount},
    {value_removestr, "L:[S:ABCDE,N:2,N:2]", "S:ADE", ""},
    {value_removestr, "L:[S:ABCDE,N:-1,N:5]", "S:ABCD", ""},
    {value_removestr, "L:[S:ABCDE,N:-5,N:1]", "S:BCDE", ""},
    {value_removestr, "L:[S:ABCDE,N:1,N:5]", "S:", ""},
    {value_removestr, "L:[S:ABCDE,N:5,N:1]", "S:ABCD", ""},
    {value_removestr, "L:[S:ABCDE,N:6,N:1]", "S:ABCDE", ""},
    {value_removestr, "L:[S:ABCDE,N:1,N:0]", "S:ABCDE", ""},
    {value_removestr, "L:[S:ABCDE,N:0,N:1]", "U", kRemPos},
    {value_removestr, "L:[S:ABCDE,N:1,N:-1]", "U", kRemLen},
    {value_removestr, "L:[S:ABCDE,N:1,N:1.5]", "U", kRemLen},
    {value_removestr, "L:[E,N:1,N:1]", "U", kRemStr},
    {value_removestr, "L:[S:ABCDE,N:2]", "U", kRemCount},
    {value_length, "S:HELLO", "N:5", ""},
    {value_length, "S:", "N:0", ""},
    {value_length, "N:1.5 {FT}", "N:8", ""},
    {value_length, "L:[N:1,S:x]", "N:5", ""},
    {value_length, "E", "U", ""},
    {value_length, "U", "U", ""},
};

TEST_F(OpsTest, StringFunctionsByPosition) {
    for (const StrRow &row : kRows) {
        Val v(row.args);
        row.fn(&v.v, nullptr);
        EXPECT_EQ(Shown(v.v), row.result) << row.args;
        EXPECT_EQ(history_.text(), row.history) << row.args;
    }
}

// A text of 10^5 characters goes through every string function whole.
TEST_F(OpsTest, LongTexts) {
    const std::string a(99999, 'A');
    const std::string big = a + "B";
    auto run = [&](Fn fn, const std::string &args) {
        Val v(args);
        fn(&v.v, nullptr);
        return Shown(v.v);
    };
    EXPECT_EQ(run(value_length, "S:" + big), "N:100000");
    EXPECT_EQ(run(value_index, "L:[S:" + big + ",S:B]"), "N:100000");
    EXPECT_EQ(run(value_index, "L:[S:" + big + ",S:" + big + "]"), "N:1");
    EXPECT_EQ(run(value_index, "L:[S:" + big + ",S:" + a + "]"), "N:1");
    EXPECT_EQ(run(value_substr, "L:[S:" + big + ",N:-1]"), "S:B");
    EXPECT_EQ(run(value_insertstr, "L:[S:" + big + ",S:" + big + ",N:-1]"), "S:" + a + big + "B");
    EXPECT_EQ(run(value_removestr, "L:[S:" + big + ",N:1,N:99999]"), "S:B");
    Val l("S:" + big), r("S:" + big), res;
    value_concat(&l.v, &r.v, &res.v, nullptr);
    EXPECT_EQ(Shown(res.v), "S:" + big + big);
    EXPECT_EQ(history_.text(), "");
}

}  // namespace
