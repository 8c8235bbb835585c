// A fake host model for the query engines: a block and a container over a
// real variable list, with equations, parameters and ports held as plain
// rows, a variable source that looks names up in the list, and counters of
// what the engines asked.
#ifndef ZARN_TESTS_SUPPORT_FAKE_MODEL_H
#define ZARN_TESTS_SUPPORT_FAKE_MODEL_H

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "zarnutils/qdlquery.hpp"
#include "zarnutils/rtvalue.h"

namespace zarn::test {

struct EquationRow {
    std::string name;
    double value, scale, shadow_price;
};

struct ParameterRow {
    std::string name, uom, description, physical_type;
    int32_t access, type;
    value_t value, lower, upper;    // owned by the fake
    std::vector<int32_t> modified;  // attribute ids the user changed
};

struct FakePort final : qdl_port {
    std::string name, stream;
    int32_t type = 0, direction = 0, basis = 0, phase = 0, sos = 0;
    const char *Name() override { return name.empty() ? nullptr : name.c_str(); }
    int32_t Type() override { return type; }
    int32_t Direction() override { return direction; }
    int32_t Basis() override { return basis; }
    int32_t Phase() override { return phase; }
    const char *Stream() override { return stream.empty() ? nullptr : stream.c_str(); }
    int32_t SpecialOrderedSet() override { return sos; }
};

// The objects of one block (or of the whole model, for the container).
struct FakeObjects {
    rtvarlst_t *list = nullptr;  // not owned
    std::string prefix;          // "" for none
    std::vector<EquationRow> equations;
    std::vector<ParameterRow> parameters;
    std::vector<FakePort> ports;
    int32_t extra_variables = 0;  // counted beyond the list's items
    int loads = 0;                // object loads asked of the host
    int count_calls = 0;
    int throw_after_loads = -1;  // throws on the load after that many (-1: never)
    std::vector<int32_t> committed;

    ~FakeObjects() {
        for (ParameterRow &p : parameters) {
            value_destroy(&p.value);
            value_destroy(&p.lower);
            value_destroy(&p.upper);
        }
    }
    void count_load() {
        if (throw_after_loads >= 0 && loads >= throw_after_loads) throw std::runtime_error("host failure");
        ++loads;
    }
    int32_t Count(int32_t kind) {
        ++count_calls;
        switch (kind) {
            case QDL_VARIABLES:
                return (list != nullptr ? rtovarlst_inq_nvar(list) : 0) + extra_variables;
            case QDL_EQUATIONS:
                return static_cast<int32_t>(equations.size());
            case QDL_PARAMETERS:
                return static_cast<int32_t>(parameters.size());
            case QDL_PORTS:
                return static_cast<int32_t>(ports.size());
            default:
                return 0;
        }
    }
    bool LoadEquation(int32_t n, QDLEquationData *r) {
        count_load();
        if (n < 1 || n > static_cast<int32_t>(equations.size())) return false;
        const EquationRow &e = equations[static_cast<size_t>(n - 1)];
        if (rtvarinfo_mask_has(&r->mask, QDLEquationData::NAME))
            r->SetValue(QDLEquationData::NAME, e.name.c_str());
        if (rtvarinfo_mask_has(&r->mask, QDLEquationData::VALUE))
            r->SetValue(QDLEquationData::VALUE, e.value);
        if (rtvarinfo_mask_has(&r->mask, QDLEquationData::SCALE))
            r->SetValue(QDLEquationData::SCALE, e.scale);
        if (rtvarinfo_mask_has(&r->mask, QDLEquationData::SHADOW_PRICE))
            r->SetValue(QDLEquationData::SHADOW_PRICE, e.shadow_price);
        return true;
    }
    bool CommitEquation(int32_t n, const QDLEquationData *r) {
        if (n < 1 || n > static_cast<int32_t>(equations.size())) return false;
        double x = 0.0;
        if (r->GetValue(QDLEquationData::VALUE, x)) equations[static_cast<size_t>(n - 1)].value = x;
        committed.push_back(n);
        return true;
    }
    bool LoadParameter(int32_t n, QDLParameterData *r) {
        count_load();
        if (n < 1 || n > static_cast<int32_t>(parameters.size())) return false;
        const ParameterRow &p = parameters[static_cast<size_t>(n - 1)];
        r->SetValue(QDLParameterData::NAME, p.name.c_str());
        if (!p.uom.empty()) r->SetValue(QDLParameterData::UOM, p.uom.c_str());
        if (!p.description.empty()) r->SetValue(QDLParameterData::DESCRIPTION, p.description.c_str());
        if (!p.physical_type.empty()) r->SetValue(QDLParameterData::PHYSICALTYPE, p.physical_type.c_str());
        r->SetValue(QDLParameterData::ACCESS, p.access);
        r->SetValue(QDLParameterData::TYPE, p.type);
        r->SetValue(QDLParameterData::VALUE, p.value);
        r->SetValue(QDLParameterData::LOWER, p.lower);
        r->SetValue(QDLParameterData::UPPER, p.upper);
        return true;
    }
    bool CommitParameter(int32_t n, const QDLParameterData *r) {
        if (n < 1 || n > static_cast<int32_t>(parameters.size())) return false;
        ParameterRow &p = parameters[static_cast<size_t>(n - 1)];
        r->GetValue(QDLParameterData::VALUE, p.value);
        committed.push_back(n);
        return true;
    }
    bool ParameterModified(int32_t n, int32_t attribute) {
        if (n < 1 || n > static_cast<int32_t>(parameters.size())) return false;
        for (int32_t a : parameters[static_cast<size_t>(n - 1)].modified)
            if (a == attribute) return true;
        return false;
    }
    qdl_port *Port(int32_t n) {
        count_load();
        if (n < 1 || n > static_cast<int32_t>(ports.size())) return nullptr;
        return &ports[static_cast<size_t>(n - 1)];
    }
    // Adds a parameter whose value, bounds and codes are given.
    void AddParameter(const char *name, const value_t &v, int32_t type, int32_t access) {
        ParameterRow p{name, "", "", "", access, type, {}, {}, {}, {}};
        value_init(&p.value);
        value_init(&p.lower);
        value_init(&p.upper);
        value_copy(&v, &p.value);
        parameters.push_back(p);
    }
};

struct FakeBlock final : QDLEOBlock {
    FakeObjects objects;
    std::vector<int32_t> changed;
    void VariableChanged(int32_t absolute_index) override { changed.push_back(absolute_index); }
    void *AssociatedObject() override { return nullptr; }
    const char *NamePrefix() override { return objects.prefix.empty() ? nullptr : objects.prefix.c_str(); }
    int32_t ObjectCount(int32_t kind) override { return objects.Count(kind); }
    rtvarlst_t *VariableList() override { return objects.list; }
    bool LoadEquation(int32_t n, QDLEquationData *r) override { return objects.LoadEquation(n, r); }
    bool CommitEquation(int32_t n, const QDLEquationData *r) override { return objects.CommitEquation(n, r); }
    bool LoadParameter(int32_t n, QDLParameterData *r) override { return objects.LoadParameter(n, r); }
    bool CommitParameter(int32_t n, const QDLParameterData *r) override {
        return objects.CommitParameter(n, r);
    }
    bool ParameterModified(int32_t n, int32_t a) override { return objects.ParameterModified(n, a); }
    qdl_port *Port(int32_t n) override { return objects.Port(n); }
};

// The variable source of a block: names through the list's lookup (aliases
// included), objectives from a table; counts its references.
struct FakeVariableSource final : QDLVariableSource {
    rtvarlst_t *list = nullptr;
    int refs = 1;  // the reference handed out with it
    QDLEOCntr *initialized_with = nullptr;
    std::map<std::string, std::vector<int32_t>> objectives;
    std::vector<std::string> lookups;
    bool throw_on_lookup = false;
    void Release() override { --refs; }
    void AddRef() override { ++refs; }
    void Initialize(QDLEOCntr *container) override { initialized_with = container; }
    int32_t Lookup(const char *name) override {
        lookups.push_back(name);
        if (throw_on_lookup) throw std::runtime_error("lookup failure");
        return list != nullptr ? rtovarlst__varname2index(list, name) : 0;
    }
    bool Load(int32_t index, QDLVariableData *record, bool) override {
        record->mask = {QDLVariableData::NAME, 0u};
        return record->Load(list, index, false);
    }
    bool ObjectiveVariables(const char *objective, QDLQObjectSet *out) override {
        auto it = objectives.find(objective);
        if (it == objectives.end()) return false;
        for (int32_t n : it->second) out->Insert(n);
        return true;
    }
    QDLResultSet *Query(const char *) override { return nullptr; }
};

// A container whose model is one set of objects, with a source for every block.
struct FakeContainer final : QDLEOCntr {
    FakeObjects objects;
    FakeVariableSource *source = nullptr;  // handed out with a reference; not owned
    std::vector<QDLEOBlock *> source_requests;
    int32_t ObjectCount(int32_t kind) override { return objects.Count(kind); }
    rtvarlst_t *VariableList() override { return objects.list; }
    bool LoadEquation(int32_t n, QDLEquationData *r) override { return objects.LoadEquation(n, r); }
    bool CommitEquation(int32_t n, const QDLEquationData *r) override { return objects.CommitEquation(n, r); }
    bool LoadParameter(int32_t n, QDLParameterData *r) override { return objects.LoadParameter(n, r); }
    bool CommitParameter(int32_t n, const QDLParameterData *r) override {
        return objects.CommitParameter(n, r);
    }
    bool ParameterModified(int32_t n, int32_t a) override { return objects.ParameterModified(n, a); }
    qdl_port *Port(int32_t n) override { return objects.Port(n); }
    QDLVariableSource *VariableSource(QDLEOBlock *block) override {
        source_requests.push_back(block);
        if (source != nullptr) source->AddRef();
        return source;
    }
};

}  // namespace zarn::test

#endif
