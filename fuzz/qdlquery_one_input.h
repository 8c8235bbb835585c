// One input of the query parser's fuzz target, shared with the corpus replay
// test. The first byte picks the set-up: bit 0 the engine's path (keyword
// preprocessing, empty text refused) instead of the bare parse, bit 1 a
// callback that refuses every name with an odd first byte, bits 2-4 the create
// call (1-7) that the callback refuses, 0 for none. The rest, up to its first
// NUL, is the query text. The includer defines ZARN_FUZZ_CHECK(cond).
#ifndef ZARN_FUZZ_QDLQUERY_ONE_INPUT_H
#define ZARN_FUZZ_QDLQUERY_ONE_INPUT_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "qdlvarquery/qdlvarquery_internal.h"
#include "zarnutils/qdlvarquery.hpp"

namespace zarn::fuzz::qdlquery {

inline int g_live_leaves = 0;  // leaf tests made and not yet deleted

struct Leaf final : IQDLQTest {
    bool negated = false;
    Leaf() { ++g_live_leaves; }
    Leaf(const Leaf &other) : IQDLQTest(), negated(other.negated) { ++g_live_leaves; }
    ~Leaf() override { --g_live_leaves; }
    IQDLQTest *Clone() const override { return new Leaf(*this); }
    void Negate() override { negated = !negated; }
    bool Matches() override { return !negated; }
    bool Select(QDLQObjectSet &result) override { return negated ? false : result.Insert(1); }
};

struct Callback final : IQDLQueryParserCallback {
    int calls = 0, made = 0, reports = 0;
    int refuse_at = 0;        // this create call is refused (1-based; 0 none)
    bool refuse_odd = false;  // names with an odd first byte are refused
    int refused_call = 0;     // the call that was refused

    IQDLQTest *Make(char *name, QDLQLiteral &literal, char *error) {
        ++calls;
        ZARN_FUZZ_CHECK(name != nullptr && name[0] != '\0');
        ZARN_FUZZ_CHECK(literal.kind >= QDLQLiteral::BOOLEAN && literal.kind <= QDLQLiteral::TEXT);
        if (literal.kind == QDLQLiteral::BOOLEAN) {
            ZARN_FUZZ_CHECK(literal.boolean <= 1);
        }
        if (literal.kind == QDLQLiteral::TEXT) {
            ZARN_FUZZ_CHECK(literal.text != nullptr);
            // The engine may change the texts in place.
            for (char *p = literal.text; *p != '\0'; ++p)
                if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
        }
        name[0] = name[0] == 'x' ? 'X' : name[0];
        if (calls == refuse_at || (refuse_odd && (static_cast<unsigned char>(name[0]) & 1) != 0)) {
            refused_call = calls;
            std::snprintf(error, QDLQ_ERROR_BUFFER_SIZE, "%s is refused", name);
            return nullptr;
        }
        auto *leaf = new Leaf;
        if (leaf == nullptr) {
            std::snprintf(error, QDLQ_ERROR_BUFFER_SIZE, "no memory");
            return nullptr;
        }
        ++made;
        return leaf;
    }
    IQDLQTest *CreateTest(char *name, int32_t op, QDLQLiteral &literal, char *error) override {
        ZARN_FUZZ_CHECK(op >= QDLQ_EQ && op <= QDLQ_GE);
        return Make(name, literal, error);
    }
    IQDLQTest *CreateFunctionTest(char *name, QDLQLiteral &literal, char *error) override {
        return Make(name, literal, error);
    }
    void ReportError(const char *message) override {
        ZARN_FUZZ_CHECK(message != nullptr);
        ++reports;
    }
};

// The leaves under t, or -1 when a compound is empty or has no logic operator.
inline long count_leaves(const IQDLQTest *t) {
    const auto *c = dynamic_cast<const QDLQCompoundTest *>(t);
    if (c == nullptr) return dynamic_cast<const Leaf *>(t) != nullptr ? 1 : -1;
    if (c->Count() == 0 || c->Operator() < QDLQ_AND || c->Operator() > QDLQ_NOR) return -1;
    long n = 0;
    for (int32_t i = 0; i < c->Count(); ++i) {
        const long k = count_leaves(c->TestAt(i));
        if (k < 0) return -1;
        n += k;
    }
    return n;
}

inline void one_input(const uint8_t *data, size_t size) {
    if (size < 1) return;
    const uint8_t opt = data[0];
    const std::string text(reinterpret_cast<const char *>(data + 1), size - 1);
    const bool engine_path = (opt & 1) != 0;
    Callback cb;
    cb.refuse_odd = (opt & 2) != 0;
    cb.refuse_at = opt >> 2 & 7;
    IQDLQTest *root = engine_path ? zarn::qdlvarquery::parse_query_text(&cb, text.c_str())
                                  : zarn::qdlvarquery::parse(&cb, text.c_str());
    if (root == nullptr) {
        // One report, except for the empty text the engine refuses unparsed.
        const bool refused_unparsed = engine_path && text.c_str()[0] == '\0';
        ZARN_FUZZ_CHECK(cb.reports == (refused_unparsed ? 0 : 1));
        // A refusal stops the parse: no create call after it.
        if (cb.refused_call != 0) {
            ZARN_FUZZ_CHECK(cb.calls == cb.refused_call);
        }
    } else {
        ZARN_FUZZ_CHECK(cb.reports == 0);
        ZARN_FUZZ_CHECK(cb.refused_call == 0);
        // Every test made is in the tree once.
        ZARN_FUZZ_CHECK(count_leaves(root) == cb.made);
        ZARN_FUZZ_CHECK(cb.made == cb.calls);
        IQDLQTest *copy = root->Clone();
        ZARN_FUZZ_CHECK(copy != nullptr);
        if (copy != nullptr) {
            ZARN_FUZZ_CHECK(count_leaves(copy) == cb.made);
            ZARN_FUZZ_CHECK(copy->Matches() == root->Matches());
            delete copy;
        }
        delete root;
    }
    // Whether or not a tree was made, every leaf is gone now.
    ZARN_FUZZ_CHECK(g_live_leaves == 0);
    g_live_leaves = 0;
}

}  // namespace zarn::fuzz::qdlquery

#endif
