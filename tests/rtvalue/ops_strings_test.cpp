// String functions: positions from the start, from the end, zero and out of
// range; argument counts and kinds with their messages; long texts.
#include "ops_fixture.h"

namespace {

using namespace zarn::test;

using Fn = void (*)(value_t *, IValueContext *);

const std::string kSub = " argument to substr(str,pos[,len]) is not ";
const std::string kIdx = " argument to index(str,substr[,pos]) is not ";
const std::string kIns = " argument to insertstr(str,sstr,pos) is not ";
const std::string kRem = " argument to removestr(str,pos,len) is not ";

TEST_F(OpsTest, StringFunctionsByPosition) {
    const struct {
        Fn fn;
        const char *args, *result;
        std::string history;
    } rows[] = {
        {value_substr, "L:[S:HELLO,N:2,N:3]", "S:ELL", ""}, {value_substr, "L:[S:HELLO,N:-2]", "S:LO", ""},
        {value_substr, "L:[S:HELLO,N:5]", "S:O", ""}, {value_substr, "L:[S:HELLO,N:6]", "S:", ""},
        {value_substr, "L:[S:HELLO,N:-6,N:2]", "S:HE", ""}, {value_substr, "L:[S:HELLO,N:-2147483648]", "S:HELLO", ""},
        {value_substr, "L:[S:HELLO,S:2,N:0]", "S:", ""}, {value_substr, "L:[N:12345,N:-2,N:9]", "S:45", ""},
        {value_substr, "L:[S:HELLO,N:0]", "U", "The pos" + kSub + "valid\n"},
        {value_substr, "L:[S:HELLO,N:2.0]", "U", "The pos" + kSub + "valid\n"},
        {value_substr, "L:[S:HELLO,N:2,N:-1]", "U", "The len argument to substr(str,pos,len) is not valid\n"},
        {value_substr, "L:[E,N:1]", "U", "The str" + kSub + "a string\n"},
        {value_substr, "S:HELLO", "U", "Invalid number of arguments to substr(str,pos[,len])\n"},
        {value_index, "L:[S:ABAB,S:AB]", "N:3", ""}, {value_index, "L:[S:ABAB,S:AB,N:3]", "N:3", ""},
        {value_index, "L:[S:ABAB,S:AB,N:4]", "N:0", ""}, {value_index, "L:[S:ABAB,S:AB,N:0]", "N:3", ""},
        {value_index, "L:[S:AB,S:ABC]", "N:0", ""}, {value_index, "L:[S:ABC,S:,N:3]", "N:3", ""},
        {value_index, "L:[S:ABC,S:,N:4]", "N:0", ""}, {value_index, "L:[S:A1B,N:1]", "N:2", ""},
        {value_index, "L:[S:AB,S:B,N:-1]", "U", "The pos argument to index(str,substr,pos) is not valid\n"},
        {value_index, "L:[S:ABAB,E]", "U", "The substr" + kIdx + "valid\n"},
        {value_index, "L:[E,S:A]", "U", "The str" + kIdx + "a string\n"},
        {value_index, "L:[S:ABAB]", "U", "Invalid number of arguments to index(str,substr[,pos])\n"},
        {value_insertstr, "L:[S:ABC,S:X,N:2]", "S:AXBC", ""}, {value_insertstr, "L:[S:ABC,S:X,N:-1]", "S:ABXC", ""},
        {value_insertstr, "L:[S:ABC,S:X,N:9]", "S:ABCX", ""}, {value_insertstr, "L:[S:ABC,S:X,N:3]", "S:ABXC", ""},
        {value_insertstr, "L:[S:ABC,S:X,N:-3]", "S:XABC", ""}, {value_insertstr, "L:[S:ABC,N:5,N:-9]", "S:5ABC", ""},
        {value_insertstr, "L:[S:ABC,S:X,N:0]", "U", "The pos" + kIns + "valid\n"},
        {value_insertstr, "L:[S:ABC,E,N:1]", "U", "The sstr" + kIns + "valid\n"},
        {value_insertstr, "L:[E,S:X,N:1]", "U", "The str" + kIns + "a string\n"},
        {value_insertstr, "L:[S:ABC,S:X]", "U", "Invalid number of arguments to insertstr(str,sstr,pos)\n"},
        {value_removestr, "L:[S:ABCDE,N:2,N:2]", "S:ADE", ""}, {value_removestr, "L:[S:ABCDE,N:-1,N:5]", "S:ABCD", ""},
        {value_removestr, "L:[S:ABCDE,N:-5,N:1]", "S:BCDE", ""},
        {value_removestr, "L:[S:ABCDE,N:6,N:1]", "S:ABCDE", ""},
        {value_removestr, "L:[S:ABCDE,N:1,N:5]", "S:", ""},
        {value_removestr, "L:[S:ABCDE,N:0,N:1]", "U", "The pos" + kRem + "valid\n"},
        {value_removestr, "L:[S:ABCDE,N:1,N:1.5]", "U", "The len" + kRem + "valid\n"},
        {value_removestr, "L:[E,N:1,N:1]", "U", "The str" + kRem + "a string\n"},
        {value_removestr, "L:[S:ABCDE,N:2]", "U", "Invalid number of arguments to removestr(str,pos,len)\n"},
        {value_length, "N:1.5 {FT}", "N:8", ""}, {value_length, "L:[N:1,S:x]", "N:5", ""}, {value_length, "E", "U", ""},
    };
    for (const auto &row : rows) {
        Val v(row.args);
        row.fn(&v.v, nullptr);
        EXPECT_EQ(Shown(v.v), row.result) << row.args;
        EXPECT_EQ(history_.text(), row.history) << row.args;
    }
}

// A text of 10^5 characters goes through the string functions whole.
TEST_F(OpsTest, LongTexts) {
    const std::string a(99999, 'A'), big = a + "B";
    auto run = [&](Fn fn, const std::string &args) {
        Val v(args);
        fn(&v.v, nullptr);
        return Shown(v.v);
    };
    EXPECT_EQ(run(value_length, "S:" + big), "N:100000");
    EXPECT_EQ(run(value_index, "L:[S:" + big + ",S:B]"), "N:100000");
    EXPECT_EQ(run(value_index, "L:[S:" + big + ",S:" + a + "]"), "N:1");
    EXPECT_EQ(run(value_insertstr, "L:[S:" + big + ",S:" + big + ",N:-1]"), "S:" + a + big + "B");
    EXPECT_EQ(run(value_removestr, "L:[S:" + big + ",N:1,N:99999]"), "S:B");
    Val l("S:" + big), res;
    value_concat(&l.v, &l.v, &res.v, nullptr);
    EXPECT_EQ(Shown(res.v), "S:" + big + big);
    EXPECT_EQ(history_.text(), "");
}

}  // namespace
