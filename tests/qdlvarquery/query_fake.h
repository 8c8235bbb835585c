// A query engine stand-in that writes down every call of the parser and
// builds leaves that print what they were made from, and the compact printed
// form of a test tree: AND(VALUE 4 i:0, IsFixed(t:'')).
#ifndef ZARN_TESTS_QDLVARQUERY_QUERY_FAKE_H
#define ZARN_TESTS_QDLVARQUERY_QUERY_FAKE_H

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "zarnutils/qdlvarquery.hpp"

namespace zarn::test {

inline int g_live_leaves = 0;  // leaves made and not yet deleted

inline std::string literal_text(const QDLQLiteral &l) {
    char buffer[64];
    switch (l.kind) {
        case QDLQLiteral::BOOLEAN:
            return "b:" + std::to_string(l.boolean);
        case QDLQLiteral::INTEGER:
            return "i:" + std::to_string(l.integer);
        case QDLQLiteral::REAL:
            std::snprintf(buffer, sizeof buffer, "r:%.17g", l.real);
            return buffer;
        case QDLQLiteral::TEXT:
            return "t:'" + std::string(l.text) + "'";
    }
    return "?";
}

// A leaf that prints as the call that made it; it passes or selects as told.
struct PrintedLeaf final : IQDLQTest {
    std::string text;
    bool negated = false;
    explicit PrintedLeaf(std::string t) : text(std::move(t)) { ++g_live_leaves; }
    PrintedLeaf(const PrintedLeaf &other) : IQDLQTest(), text(other.text), negated(other.negated) {
        ++g_live_leaves;
    }
    ~PrintedLeaf() override { --g_live_leaves; }
    IQDLQTest *Clone() const override { return new PrintedLeaf(*this); }
    void Negate() override { negated = !negated; }
    bool Matches() override { return !negated; }
    bool Select(QDLQObjectSet &) override { return false; }
};

inline std::string printed(const IQDLQTest *t) {
    if (t == nullptr) return "null";
    if (const auto *leaf = dynamic_cast<const PrintedLeaf *>(t))
        return (leaf->negated ? "!" : "") + leaf->text;
    const auto *c = dynamic_cast<const QDLQCompoundTest *>(t);
    if (c == nullptr) return "?";
    static const char *const kOps[] = {"AND", "OR", "NAND", "NOR"};
    const int32_t op = c->Operator();
    std::string s = op >= QDLQ_AND && op <= QDLQ_NOR ? kOps[op - QDLQ_AND] : "op" + std::to_string(op);
    s += "(";
    for (int32_t i = 0; i < c->Count(); ++i) s += (i > 0 ? ", " : "") + printed(c->TestAt(i));
    return s + ")";
}

// Writes "test NAME op literal", "function NAME literal" and "error message"
// lines. Names beginning with BAD are refused with "<name> is not known".
struct RecordingCallback : IQDLQueryParserCallback {
    std::vector<std::string> calls;
    std::vector<std::string> errors;
    bool upper_case_texts = false;  // changes the texts handed in, as an engine may

    IQDLQTest *Make(const std::string &what, const char *name, QDLQLiteral &literal, char *error) {
        calls.push_back(what);
        if (upper_case_texts && literal.kind == QDLQLiteral::TEXT)
            for (char *p = literal.text; *p != '\0'; ++p)
                if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
        if (std::strncmp(name, "BAD", 3) == 0) {
            std::snprintf(error, QDLQ_ERROR_BUFFER_SIZE, "%s is not known", name);
            return nullptr;
        }
        auto *leaf = new PrintedLeaf(what.substr(what.find(' ') + 1));
        if (leaf == nullptr) std::snprintf(error, QDLQ_ERROR_BUFFER_SIZE, "no memory for a leaf");
        return leaf;
    }
    IQDLQTest *CreateTest(char *name, int32_t op, QDLQLiteral &literal, char *error) override {
        const std::string what =
            "test " + std::string(name) + " " + std::to_string(op) + " " + literal_text(literal);
        return Make(what, name, literal, error);
    }
    IQDLQTest *CreateFunctionTest(char *name, QDLQLiteral &literal, char *error) override {
        const std::string what = "function " + std::string(name) + "(" + literal_text(literal) + ")";
        return Make(what, name, literal, error);
    }
    void ReportError(const char *message) override { errors.push_back(message); }
};

}  // namespace zarn::test

#endif
