// A fake host model for the query engines: a block and a container over a
// real variable list, with equations, parameters and ports held as plain
// rows, and a variable source that looks names up in the list.
#ifndef ZARN_TESTS_SUPPORT_FAKE_MODEL_H
#define ZARN_TESTS_SUPPORT_FAKE_MODEL_H

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "zarnutils/qdlquery.hpp"
#include "zarnutils/rtvalue.h"

namespace zarn::test {

// A text literal as the parser hands it to an engine's callback.
inline QDLQLiteral text_literal(char *text) {
    QDLQLiteral literal{};
    literal.kind = QDLQLiteral::TEXT;
    literal.text = text;
    return literal;
}

struct EquationRow {
    std::string name;
    double value, scale, shadow_price;
};

struct ParameterRow {
    std::string name, uom;
    int32_t type, access;
    value_t value;                  // owned by the fake
    std::vector<int32_t> modified;  // attribute ids the user changed
};

struct FakePort final : qdl_port {
    std::string name, stream;  // "" for none
    int32_t type = 0, direction = 0, basis = 0, phase = 0, sos = 0;
    const char *Name() override { return name.empty() ? nullptr : name.c_str(); }
    int32_t Type() override { return type; }
    int32_t Direction() override { return direction; }
    int32_t Basis() override { return basis; }
    int32_t Phase() override { return phase; }
    const char *Stream() override { return stream.empty() ? nullptr : stream.c_str(); }
    int32_t SpecialOrderedSet() override { return sos; }
};

// The objects of one block, or of the whole model for the container.
struct FakeObjects {
    rtvarlst_t *list = nullptr;  // not owned
    std::string prefix;          // "" for none
    std::vector<EquationRow> equations;
    std::vector<ParameterRow> parameters;
    std::vector<FakePort> ports;
    int32_t extra_variables = 0;        // counted beyond (or, negative, short of) the list's items
    int loads = 0;                      // equations, parameters and ports loaded
    int throw_after_loads = -1;         // the load after that many throws; -1: none
    std::function<void()> during_load;  // the host's own work in each load
    std::vector<int32_t> committed;     // the numbers of the records written back

    ~FakeObjects() {
        for (ParameterRow &p : parameters) value_destroy(&p.value);
    }
    bool Known(int32_t n, size_t count) {
        if (throw_after_loads >= 0 && loads >= throw_after_loads) throw std::runtime_error("host failure");
        ++loads;
        if (during_load) during_load();
        return n >= 1 && static_cast<size_t>(n) <= count;
    }
    int32_t Count(int32_t kind) {
        switch (kind) {
            case QDL_VARIABLES:
                return (list != nullptr ? rtovarlst_inq_nvar(list) : 0) + extra_variables;
            case QDL_EQUATIONS:
                return static_cast<int32_t>(equations.size());
            case QDL_PARAMETERS:
                return static_cast<int32_t>(parameters.size());
            default:
                return static_cast<int32_t>(ports.size());
        }
    }
    // Fills only the attributes the record asks for.
    bool LoadEquation(int32_t n, QDLEquationData *r) {
        if (!Known(n, equations.size())) return false;
        const EquationRow &e = equations[static_cast<size_t>(n - 1)];
        const auto asked = [r](int32_t id) { return rtvarinfo_mask_has(&r->mask, id) != 0; };
        if (asked(QDLEquationData::NAME)) r->SetValue(QDLEquationData::NAME, e.name.c_str());
        if (asked(QDLEquationData::VALUE)) r->SetValue(QDLEquationData::VALUE, e.value);
        if (asked(QDLEquationData::SCALE)) r->SetValue(QDLEquationData::SCALE, e.scale);
        if (asked(QDLEquationData::SHADOW_PRICE)) r->SetValue(QDLEquationData::SHADOW_PRICE, e.shadow_price);
        return true;
    }
    bool LoadParameter(int32_t n, QDLParameterData *r) {
        if (!Known(n, parameters.size())) return false;
        const ParameterRow &p = parameters[static_cast<size_t>(n - 1)];
        r->SetValue(QDLParameterData::NAME, p.name.c_str());
        if (!p.uom.empty()) r->SetValue(QDLParameterData::UOM, p.uom.c_str());
        r->SetValue(QDLParameterData::TYPE, p.type);
        r->SetValue(QDLParameterData::ACCESS, p.access);
        r->SetValue(QDLParameterData::VALUE, p.value);
        return true;
    }
    // Takes a record back: notes its number, true for a known object.
    bool Commit(int32_t n, size_t count) {
        committed.push_back(n);
        return n >= 1 && static_cast<size_t>(n) <= count;
    }
    bool ParameterModified(int32_t n, int32_t attribute) {
        if (n < 1 || static_cast<size_t>(n) > parameters.size()) return false;
        for (int32_t a : parameters[static_cast<size_t>(n - 1)].modified)
            if (a == attribute) return true;
        return false;
    }
    qdl_port *Port(int32_t n) {
        return Known(n, ports.size()) ? &ports[static_cast<size_t>(n - 1)] : nullptr;
    }
    void AddParameter(const char *name, const value_t &v, int32_t type, int32_t access) {
        ParameterRow p{name, "", type, access, {}, {}};
        value_init(&p.value);
        value_copy(&v, &p.value);
        parameters.push_back(p);
    }
};

struct FakeBlock final : QDLEOBlock {
    FakeObjects objects;
    void VariableChanged(int32_t) override {}
    void *AssociatedObject() override { return nullptr; }
    const char *NamePrefix() override { return objects.prefix.empty() ? nullptr : objects.prefix.c_str(); }
    int32_t ObjectCount(int32_t kind) override { return objects.Count(kind); }
    rtvarlst_t *VariableList() override { return objects.list; }
    bool LoadEquation(int32_t n, QDLEquationData *r) override { return objects.LoadEquation(n, r); }
    bool CommitEquation(int32_t n, const QDLEquationData *) override {
        return objects.Commit(n, objects.equations.size());
    }
    bool LoadParameter(int32_t n, QDLParameterData *r) override { return objects.LoadParameter(n, r); }
    bool CommitParameter(int32_t n, const QDLParameterData *) override {
        return objects.Commit(n, objects.parameters.size());
    }
    bool ParameterModified(int32_t n, int32_t a) override { return objects.ParameterModified(n, a); }
    qdl_port *Port(int32_t n) override { return objects.Port(n); }
};

// A block's variable source: names (and aliases) through the list's lookup,
// objectives from a table; it counts its references.
struct FakeVariableSource final : QDLVariableSource {
    rtvarlst_t *list = nullptr;
    int refs = 1;  // the owner's
    QDLEOCntr *initialized_with = nullptr;
    std::map<std::string, std::vector<int32_t>> objectives;
    bool throw_on_lookup = false, throw_on_initialize = false;
    std::function<void()> during_lookup;  // the host's own work in each lookup
    void Release() override { --refs; }
    void AddRef() override { ++refs; }
    void Initialize(QDLEOCntr *container) override {
        if (throw_on_initialize) throw std::runtime_error("initialize failure");
        initialized_with = container;
    }
    int32_t Lookup(const char *name) override {
        if (throw_on_lookup) throw std::runtime_error("lookup failure");
        if (during_lookup) during_lookup();
        return list != nullptr ? rtovarlst__varname2index(list, name) : 0;
    }
    bool Load(int32_t, QDLVariableData *, bool) override { return false; }
    bool ObjectiveVariables(const char *objective, QDLQObjectSet *out) override {
        auto it = objectives.find(objective);
        if (it == objectives.end()) return false;
        for (int32_t n : it->second) out->Insert(n);
        return true;
    }
    QDLResultSet *Query(const char *) override { return nullptr; }
};

// A container over one set of objects that hands out its source for every block.
struct FakeContainer final : QDLEOCntr {
    FakeObjects objects;
    FakeVariableSource *source = nullptr;  // not owned
    QDLEOBlock *asked_for = nullptr;       // the block of the last source request
    int32_t ObjectCount(int32_t kind) override { return objects.Count(kind); }
    rtvarlst_t *VariableList() override { return objects.list; }
    bool LoadEquation(int32_t n, QDLEquationData *r) override { return objects.LoadEquation(n, r); }
    bool CommitEquation(int32_t n, const QDLEquationData *) override {
        return objects.Commit(n, objects.equations.size());
    }
    bool LoadParameter(int32_t n, QDLParameterData *r) override { return objects.LoadParameter(n, r); }
    bool CommitParameter(int32_t n, const QDLParameterData *) override {
        return objects.Commit(n, objects.parameters.size());
    }
    bool ParameterModified(int32_t n, int32_t a) override { return objects.ParameterModified(n, a); }
    qdl_port *Port(int32_t n) override { return objects.Port(n); }
    QDLVariableSource *VariableSource(QDLEOBlock *block) override {
        asked_for = block;
        if (source != nullptr) source->AddRef();
        return source;
    }
};

}  // namespace zarn::test

#endif
