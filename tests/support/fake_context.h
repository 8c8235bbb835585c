// A fake evaluation context for the value functions that ask the model.
#ifndef ZARN_TESTS_SUPPORT_FAKE_CONTEXT_H
#define ZARN_TESTS_SUPPORT_FAKE_CONTEXT_H

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "platform/xalloc.h"
#include "zarnutils/rtvalue.hpp"

namespace zarn::test {

// An evaluation context over tables of named values and parameters, which is
// also the variable source and the result set of its queries; the model calls
// are logged as "Op(arg) ", parameter and handle requests counted.
struct RecordingContext final : IValueContext, QDLVariableSource, QDLResultSet {
    std::map<std::string, value_t> objects, params;           // Resolve, ParameterValue: copies of these
    std::map<std::string, std::string> kinds;                 // TypeOf: an IDENTIFIER text
    std::map<std::string, std::vector<std::string>> answers;  // by operation
    std::vector<std::string> variables;                       // Load, by index from 0
    std::vector<int32_t> selected;                            // what a query selects
    QDLBlockRecord block{1, 0};
    bool filled = true;
    std::string log;
    int param_calls = 0, handles = 0;
    bool garbage = false;  // Resolve hands back a value with a bad tag

    ~RecordingContext() {
        for (auto *m : {&objects, &params})
            for (auto &kv : *m) value_destroy(&kv.second);
    }
    // Moves a heap value into m under name and frees the record.
    static void set(std::map<std::string, value_t> &m, const char *name, value_t *heap) {
        auto [it, fresh] = m.try_emplace(name);
        if (fresh) value_init(&it->second);
        value_destroy(&it->second);
        it->second = *heap;
        std::free(heap);
    }
    static void lookup(std::map<std::string, value_t> &m, const char *name, value_t *out) {
        if (auto it = m.find(name); it != m.end()) value_copy(&it->second, out);
    }
    // name stands for a copy of v.
    void define(const char *name, const value_t &v) {
        value_init(&objects[name]);
        value_copy(&v, &objects[name]);
    }

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
        garbage ? void(out->value_type = 99) : lookup(objects, name, out);
    }
    void TypeOf(const char *name, value_t *out) override {
        if (auto it = kinds.find(name); it != kinds.end())
            value_assign_id(out, zarn::xstrdup(it->second.c_str()));
    }
    bool BlockVariables(const char *name, QDLBlockRecord *b) override {
        *b = block;
        return fill("BlockVariables", name, nullptr);
    }
    QDLVariableSource *Variables() override { return this; }
    bool IsDefined(const char *name) override { return objects.count(name) > 0; }
    void ParameterValue(const char *name, value_t *out) override {
        ++param_calls;
        lookup(params, name, out);
    }
    // clang-format off
#define ZARN_FILL_BY(op) \
    bool op(const char *q, QDLStringVector *o) override { return fill(#op, q, o); }
#define ZARN_FILL(op) \
    bool op(QDLStringVector *o) override { return fill(#op, nullptr, o); }
    ZARN_FILL_BY(SpecGroupsByVar)
    ZARN_FILL_BY(MeasurementsByVar)
    ZARN_FILL_BY(ConnectionsByVar)
    ZARN_FILL_BY(AliasesByVar)
    ZARN_FILL(ActiveConnections)
    ZARN_FILL(InactiveConnections)
    ZARN_FILL(ActiveSpecGroups)
    ZARN_FILL(InactiveSpecGroups)
    ZARN_FILL(ActiveMeasurements)
    ZARN_FILL(InactiveMeasurements)
#undef ZARN_FILL_BY
#undef ZARN_FILL
    // clang-format on
    void *AccessorHandle() override {
        ++handles;
        return this;
    }
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

}  // namespace zarn::test

#endif
