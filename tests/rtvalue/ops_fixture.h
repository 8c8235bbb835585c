// Pieces of the operator tests: values written as short texts, results shown
// as "<kind letter>:<printed form>", and a context that logs what it is asked.
#ifndef ZARN_TESTS_RTVALUE_OPS_FIXTURE_H
#define ZARN_TESTS_RTVALUE_OPS_FIXTURE_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "capture.h"
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

// A context over a table of names, which is also the variable source and
// the result set of its queries; every call is logged as "Op(arg) ".
struct RecordingContext final : IValueContext, QDLVariableSource, QDLResultSet {
    std::map<std::string, std::string> objects;               // Resolve: name -> notation
    std::map<std::string, std::vector<std::string>> answers;  // by operation
    std::vector<std::string> variables;                       // Load, by index from 0
    std::vector<int32_t> selected;                            // what a query selects
    QDLBlockRecord block{1, 0};
    bool filled = true;
    std::string log;

    bool fill(const std::string &op, const char *arg, QDLStringVector *out) {
        log += op + "(" + (arg ? arg : "") + ") ";
        for (const std::string &n : answers[op]) out->names.push_back(n);
        return filled;
    }
    void Reserved0() override {}
    void Reserved5() override {}
    void Reserved8() override {}
    void Resolve(const char *name, value_t *out) override {
        log += std::string("Resolve(") + name + ") ";
        size_t i = 0;
        if (objects.count(name)) Parse(objects[name], i, out, nullptr);
    }
    void TypeOf(const char *, value_t *) override {}
    bool BlockVariables(const char *name, QDLBlockRecord *b) override {
        *b = block;
        return fill("BlockVariables", name, nullptr);
    }
    QDLVariableSource *Variables() override { return this; }
    bool IsDefined(const char *name) override { return objects.count(name) > 0; }
    void ParameterValue(const char *, value_t *) override {}
#define ZARN_FILL_BY(op) \
    bool op(const char *q, QDLStringVector *o) override { return fill(#op, q, o); }
#define ZARN_FILL(op) \
    bool op(QDLStringVector *o) override { return fill(#op, nullptr, o); }
    ZARN_FILL_BY(SpecGroupsByVar) ZARN_FILL_BY(MeasurementsByVar) ZARN_FILL_BY(ConnectionsByVar)
    ZARN_FILL_BY(AliasesByVar) ZARN_FILL(ActiveConnections) ZARN_FILL(InactiveConnections)
    ZARN_FILL(ActiveSpecGroups) ZARN_FILL(InactiveSpecGroups) ZARN_FILL(ActiveMeasurements)
    ZARN_FILL(InactiveMeasurements)
#undef ZARN_FILL_BY
#undef ZARN_FILL
    void *AccessorHandle() override { return nullptr; }
    void Attributes(const char *name, QDLStringVector *o) override { fill("Attributes", name, o); }
    bool Load(int32_t index, QDLVariableData *record, bool names) override {
        log += "Load(" + std::to_string(index) + (names ? ",true) " : ",false) ");
        if (index < 0 || index >= static_cast<int32_t>(variables.size())) return false;
        std::snprintf(record->name, sizeof record->name, "%s", variables[index].c_str());
        return true;
    }
    QDLResultSet *Query(const char *text) override {
        log += std::string("Query(") + text + ") ";
        return selected.empty() ? nullptr : this;
    }
    void Release() override { log += "Release "; }
    int32_t Count() override { return static_cast<int32_t>(selected.size()); }
    int32_t At(int32_t i) override { return selected[static_cast<size_t>(i)]; }
};

class OpsTest : public ::testing::Test {
protected:
    void SetUp() override { RTOUOM_RESET_UOM_F(); }
    void TearDown() override { zarn::failalloc_set(0); }
    HistoryCapture history_;
};

}  // namespace zarn::test

#endif
