// Pieces of the operator tests: values written as short texts, the result as
// "<kind letter>:<printed form>", and a context that records what it is asked.
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

// Kind letters by value_type, for writing values and reading results.
inline constexpr char kLetters[] = "UNSIRGBPLAEX";

inline value_t *NewValue() { return static_cast<value_t *>(std::calloc(1, sizeof(value_t))); }

// Parses one value at s[i]: "K:text" up to the next ',' or ']' at this level, or
// "L:[a,b]". N: reads its text as a number (units in braces); A:1:2 is a range;
// P a pipe over shared_pipe; E [LOW, HIGH]; X a zero bounded number; U nothing.
inline void Parse(const std::string &s, size_t &i, value_t *v, rtopipe *shared_pipe) {
    value_init(v);
    const char k = s[i];
    i += (i + 1 < s.size() && s[i + 1] == ':') ? 2 : 1;
    if (k == 'L') {
        gl_list_t *l = gl_create();
        for (++i; s[i] != ']'; i += s[i] == ',') {
            value_t *item = NewValue();
            Parse(s, i, item, shared_pipe);
            gl_addtoend(l, item);
        }
        ++i;
        return value_assign_list(v, l);
    }
    const size_t end = s.find_first_of(",]", i);
    const std::string t = s.substr(i, end == std::string::npos ? std::string::npos : end - i);
    i = end == std::string::npos ? s.size() : end;
    switch (k) {
    case 'N': {
        value_t str;
        value_init(&str);
        value_assign_copy_of_string(&str, t.c_str());
        value_coerce(&str, v, number_value, nullptr);
        return value_destroy(&str);
    }
    case 'S': value_assign_copy_of_string(v, t.c_str()); return;
    case 'I': value_assign_copy_of_id(v, t.c_str()); return;
    case 'R': value_assign_regexp(v, zarn::xstrdup(t.c_str())); return;
    case 'G': value_assign_glob(v, zarn::xstrdup(t.c_str())); return;
    case 'B': value_assign_logical(v, t == "1"); return;
    case 'P': value_assign_pipe(v, copyPipe(shared_pipe)); return;
    case 'A': value_assign_range(v, std::atoi(t.c_str()), std::atoi(t.c_str() + t.find(':') + 1)); return;
    case 'E': {
        static const char *const choices[] = {"LOW", "HIGH"};
        value_assign_enum(v, gl_create());
        value_setenum_size(v, 2);
        return value_assign_enum_as_char(v, choices);
    }
    case 'X': v->value_type = boundednumber_value; return;
    default: return;
    }
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
    const int k = v.value_type;
    return std::string(1, k >= 0 && k < 12 ? kLetters[k] : '?') + (k ? ":" + s : "");
}

// A context over a table of names; every call it gets is logged as "Op(arg) ".
struct RecordingContext final : IValueContext, QDLVariableSource, QDLResultSet {
    std::map<std::string, std::string> objects;       // Resolve: name -> value notation
    std::map<std::string, std::vector<std::string>> answers;  // by operation name
    std::vector<std::string> variables;                // Load: by index from 0
    std::vector<int32_t> selected;                     // what a query selects
    QDLBlockRecord block{1, 0};
    bool has_block = false, filled = true;
    std::string log;

    void note(const std::string &s) { log += s + " "; }
    bool fill(const char *op, const char *arg, QDLStringVector *out) {
        note(std::string(op) + "(" + (arg ? arg : "") + ")");
        for (const std::string &n : answers[op]) out->names.push_back(n);
        return filled;
    }
    void Reserved0() override {}
    void Reserved5() override {}
    void Reserved8() override {}
    void Resolve(const char *name, value_t *out) override {
        note(std::string("Resolve(") + name + ")");
        auto it = objects.find(name);
        if (it == objects.end()) return;
        size_t i = 0;
        value_destroy(out);
        Parse(it->second, i, out, nullptr);
    }
    void TypeOf(const char *, value_t *) override {}
    bool BlockVariables(const char *name, QDLBlockRecord *b) override {
        note(std::string("BlockVariables(") + name + ")");
        *b = block;
        return has_block;
    }
    QDLVariableSource *Variables() override { return this; }
    bool IsDefined(const char *name) override { return objects.count(name) > 0; }
    void ParameterValue(const char *, value_t *) override {}
    bool SpecGroupsByVar(const char *q, QDLStringVector *o) override { return fill("SpecGroupsByVar", q, o); }
    bool MeasurementsByVar(const char *q, QDLStringVector *o) override { return fill("MeasurementsByVar", q, o); }
    bool ConnectionsByVar(const char *q, QDLStringVector *o) override { return fill("ConnectionsByVar", q, o); }
    bool AliasesByVar(const char *q, QDLStringVector *o) override { return fill("AliasesByVar", q, o); }
    bool ActiveConnections(QDLStringVector *o) override { return fill("ActiveConnections", nullptr, o); }
    bool InactiveConnections(QDLStringVector *o) override { return fill("InactiveConnections", nullptr, o); }
    bool ActiveSpecGroups(QDLStringVector *o) override { return fill("ActiveSpecGroups", nullptr, o); }
    bool InactiveSpecGroups(QDLStringVector *o) override { return fill("InactiveSpecGroups", nullptr, o); }
    bool ActiveMeasurements(QDLStringVector *o) override { return fill("ActiveMeasurements", nullptr, o); }
    bool InactiveMeasurements(QDLStringVector *o) override { return fill("InactiveMeasurements", nullptr, o); }
    void *AccessorHandle() override { return nullptr; }
    void Attributes(const char *name, QDLStringVector *o) override { fill("Attributes", name, o); }
    // the variable source
    bool Load(int32_t index, QDLVariableData *record, bool names) override {
        note("Load(" + std::to_string(index) + (names ? ",true)" : ",false)"));
        if (index < 0 || index >= static_cast<int32_t>(variables.size())) return false;
        std::snprintf(record->name, sizeof record->name, "%s", variables[index].c_str());
        return true;
    }
    QDLResultSet *Query(const char *text) override {
        note(std::string("Query(") + text + ")");
        return selected.empty() ? nullptr : this;
    }
    // the result set
    void Release() override { note("Release"); }
    int32_t Count() override { return static_cast<int32_t>(selected.size()); }
    int32_t At(int32_t i) override { return selected[static_cast<size_t>(i)]; }
};

class OpsTest : public ::testing::Test {
protected:
    void SetUp() override { RTOUOM_RESET_UOM_F(); }
    void TearDown() override {
        zarn::failalloc_set(0);
        RTOUOM_RESET_UOM_F();
    }
    HistoryCapture history_;
};

}  // namespace zarn::test

#endif
