// Pieces of the operator tests: values written as short texts, results shown
// as "<kind letter>:<printed form>", and a context that logs what it is asked.
#ifndef ZARN_TESTS_RTVALUE_OPS_FIXTURE_H
#define ZARN_TESTS_RTVALUE_OPS_FIXTURE_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "capture.h"
#include "fake_context.h"
#include "platform/xalloc.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/rtvalue.hpp"

namespace zarn::test {

// "K:text" (text up to ',' or ']'), "L:[a,b]". N: is its text read as a number
// (units in braces), A:1:2 a range, P a pipe over `pipe`, E the choices LOW and
// HIGH, X a zero bounded number, U nothing.
inline void Parse(const std::string &s, size_t &i, value_t *v, rtopipe *pipe) {
    value_init(v);
    const char k = s[i];
    i += (i + 1 < s.size() && s[i + 1] == ':') ? 2 : 1;
    if (k == 'L') {
        gl_list_t *l = gl_create();
        for (++i; s[i] != ']'; i += s[i] == ',') {
            auto *item = static_cast<value_t *>(std::calloc(1, sizeof(value_t)));
            Parse(s, i, item, pipe);
            gl_addtoend(l, item);
        }
        ++i;
        return value_assign_list(v, l);
    }
    const size_t end = std::min(s.find_first_of(",]", i), s.size());
    const std::string t = s.substr(i, end - i);
    i = end;
    static const char *const choices[] = {"LOW", "HIGH"};
    value_t str;
    value_init(&str);
    switch (k) {
    case 'N': value_assign_copy_of_string(&str, t.c_str()), value_coerce(&str, v, number_value, nullptr); break;
    case 'S': value_assign_copy_of_string(v, t.c_str()); break;
    case 'I': value_assign_copy_of_id(v, t.c_str()); break;
    case 'G': value_assign_glob(v, zarn::xstrdup(t.c_str())); break;
    case 'B': value_assign_logical(v, t == "1"); break;
    case 'P': value_assign_pipe(v, copyPipe(pipe)); break;
    case 'A': value_assign_range(v, std::atoi(t.c_str()), std::atoi(t.c_str() + t.find(':') + 1)); break;
    case 'E': value_assign_enum(v, gl_create()), value_setenum_size(v, 2), value_assign_enum_as_char(v, choices); break;
    case 'X': v->value_type = boundednumber_value; break;
    }
    value_destroy(&str);
}

// An owning value made from the text notation.
struct Val {
    value_t v;
    explicit Val(const std::string &text = "U", rtopipe *pipe = nullptr) {
        size_t i = 0;
        Parse(text, i, &v, pipe);
    }
    ~Val() { value_destroy(&v); }
    Val(const Val &) = delete;
    Val &operator=(const Val &) = delete;
};

inline std::string Shown(const value_t &v) {
    rtopipe *q = create_queue_rtopipe();
    value_print(q, &v);
    std::string s = drain(q);
    rtodestroy(q);
    return v.value_type ? std::string(1, "UNSIRGBPLAEX"[v.value_type]) + ":" + s : "U";
}

class OpsTest : public ::testing::Test {
protected:
    void SetUp() override { RTOUOM_RESET_UOM_F(); }
    void TearDown() override { zarn::failalloc_set(0); }
    HistoryCapture history_;
};

}  // namespace zarn::test

#endif
