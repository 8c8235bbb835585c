// A query engine stand-in: it counts the parser's calls, refuses names that
// begin with BAD, and makes leaves that print as the call that made them; a
// tree prints compactly, as in AND(VALUE 4 i:0, IsFixed(t:'')).
#ifndef ZARN_TESTS_QDLVARQUERY_QUERY_FAKE_H
#define ZARN_TESTS_QDLVARQUERY_QUERY_FAKE_H

#include <cstdio>
#include <cstring>
#include <string>

#include "zarnutils/qdlvarquery.hpp"

namespace zarn::test {

inline int g_live_leaves = 0;  // leaves made and not yet deleted

struct PrintedLeaf final : IQDLQTest {
    std::string text;
    explicit PrintedLeaf(std::string t) : text(std::move(t)) { ++g_live_leaves; }
    ~PrintedLeaf() override { --g_live_leaves; }
    IQDLQTest *Clone() const override { return nullptr; }  // not used by the parser
    void Negate() override {}
    bool Matches() override { return true; }
    bool Select(QDLQObjectSet &) override { return false; }
};

inline std::string printed(const IQDLQTest *t) {
    if (const auto *leaf = dynamic_cast<const PrintedLeaf *>(t)) return leaf->text;
    static const char *const kOps[] = {"AND", "OR", "NAND", "NOR"};
    const auto *c = static_cast<const QDLQCompoundTest *>(t);
    std::string s = std::string(kOps[c->Operator() - QDLQ_AND]) + "(";
    for (int32_t i = 0; i < c->Count(); ++i) s += (i > 0 ? ", " : "") + printed(c->TestAt(i));
    return s + ")";
}

struct RecordingCallback : IQDLQueryParserCallback {
    int calls = 0;
    std::string errors;  // "; "-separated
    IQDLQTest *Make(const char *name, const QDLQLiteral &l, std::string what, char *error) {
        char real[40] = "";
        if (l.kind == QDLQLiteral::REAL) std::snprintf(real, sizeof real, "r:%.17g", l.real);
        what += l.kind == QDLQLiteral::BOOLEAN   ? "b:" + std::to_string(l.boolean)
                : l.kind == QDLQLiteral::INTEGER ? "i:" + std::to_string(l.integer)
                : l.kind == QDLQLiteral::REAL    ? real
                                                 : "t:'" + std::string(l.text) + "'";
        ++calls;
        if (std::strncmp(name, "BAD", 3) == 0) {
            std::snprintf(error, QDLQ_ERROR_BUFFER_SIZE, "%s is not known", name);
            return nullptr;
        }
        auto *leaf = new PrintedLeaf(what);
        if (leaf == nullptr) std::snprintf(error, QDLQ_ERROR_BUFFER_SIZE, "no memory for a leaf");
        return leaf;
    }
    IQDLQTest *CreateTest(char *name, int32_t op, QDLQLiteral &literal, char *error) override {
        return Make(name, literal, std::string(name) + " " + std::to_string(op) + " ", error);
    }
    IQDLQTest *CreateFunctionTest(char *name, QDLQLiteral &literal, char *error) override {
        return Make(name, literal, std::string(name) + " ", error);
    }
    void ReportError(const char *message) override {
        errors += (errors.empty() ? "" : "; ") + std::string(message);
    }
};

}  // namespace zarn::test

#endif
