// The four query engines: what each adds to the shared build rules (the
// variable engine's names, connection types, descriptions and functions; the
// parameter engine's IsModified), and the factory that makes them.
#include "qdlvarquery/qdlquery_internal.h"
#include "zarnutils/stred.h"

namespace zarn::qdlvarquery {

namespace {

using V = QDLVariableData;

bool is_text(const QDLQLiteral &literal) {
    return literal.kind == QDLQLiteral::TEXT && literal.text != nullptr;
}

// The engines that treat NAME as a name: "=" or "<>" with a text, upper-cased.
template <class Engine>
IQDLQTest *name_test(Engine &engine, int32_t id, char *name, int32_t op, QDLQLiteral &literal, bool name_flag,
                     char *error) {
    if (op != QDLQ_EQ && op != QDLQ_NE) return refuse(error, msg::kNamesEqualityOnly);
    if (!is_text(literal)) return refuse(error, msg::kNamesStringsOnly);
    return engine.MakeNameTest(id, name, op, literal.text, name_flag, error);
}

}  // namespace

// ---- variables ----

QDLVariableQuery::QDLVariableQuery(QDLEOCntr *container, QDLEOBlock *block, QDLVariableSource *source)
    : QDLQueryExecutor(container, block), source_(source) {
    if (source_ != nullptr) source_->AddRef();
}

QDLVariableQuery::~QDLVariableQuery() {
    if (source_ != nullptr) source_->Release();
}

void QDLVariableQuery::OnRunStart() {
    list_ = block_ != nullptr       ? block_->VariableList()
            : container_ != nullptr ? container_->VariableList()
                                    : nullptr;
}

IQDLQTest *QDLVariableQuery::MakeNameTest(int32_t id, const char *name, int32_t op, char *text,
                                          bool name_flag, char *error) {
    if (id != V::DESCRIPTION) stred_upper_case(text);
    return MakeString(id, name, op, text, name_flag, error);
}

IQDLQTest *QDLVariableQuery::BuildTest(char *name, int32_t op, QDLQLiteral &literal, char *error) {
    const int32_t id = V::AttribId(name);
    if (id == 0) return refuse(error, msg::kNotVariableAttribute, name);
    if (id == V::MODIFIED) return refuse(error, msg::kModifiedDirect);
    if (id == V::NAME || id == V::CONN_TYPE || id == V::DESCRIPTION)
        return name_test(*this, id, name, op, literal, id == V::NAME, error);
    return BuildTestFor(id, name, op, literal, error);
}

IQDLQTest *QDLVariableQuery::BuildFunctionTest(char *name, QDLQLiteral &literal, char *error) {
    stred_upper_case(name);
    const bool text = is_text(literal);
    if (text) stred_upper_case(literal.text);
    if (std::strcmp(name, "ISMODIFIED") == 0) {
        if (!text) return refuse(error, msg::kIsModifiedString);
        int32_t id = 0;
        if (literal.text[0] != '\0') {
            id = V::AttribId(literal.text);
            if (id == 0) return refuse(error, msg::kNotVariableAttribute, literal.text);
        }
        return Adopt(new QDLQModifiedTest(this, &record_, id), V::MODIFIED, name, error);
    }
    if (std::strcmp(name, "INOBJECTIVE") == 0) {
        if (!text) return refuse(error, msg::kInObjectiveString);
        QDLQObjectSet numbers;
        if (source_ == nullptr || !source_->ObjectiveVariables(literal.text, &numbers))
            return refuse(error, msg::kObjectiveInfo, literal.text);
        auto *test = new QDLQObjectiveTest(this, &record_);
        if (test == nullptr) return refuse(error, msg::kNoMemoryForTest, name);
        test->Numbers().swap(numbers);
        return test;
    }
    const bool fixed = std::strcmp(name, "ISFIXED") == 0;
    if (fixed || std::strcmp(name, "ISFREE") == 0) {
        if (!text) return refuse(error, fixed ? msg::kIsFixedString : msg::kIsFreeString);
        int32_t only = 0;
        if (literal.text[0] != '\0') {
            only = source_ != nullptr ? source_->Lookup(literal.text) : 0;
            if (only == 0) return refuse(error, fixed ? msg::kFixedInfo : msg::kFreeInfo, literal.text);
        }
        const int32_t flag = fixed ? QDLQFixedTest::FIXED : QDLQFixedTest::FREE;
        return Adopt(new QDLQFixedTest(this, &record_, flag, only), V::SPEC, name, error);
    }
    if (std::strcmp(name, "ISALIAS") == 0) {
        if (!text) return refuse(error, msg::kInAliasString);
        const int32_t number = source_ != nullptr ? source_->Lookup(literal.text) : 0;
        if (number == 0) return refuse(error, msg::kAliasInfo, literal.text);
        return Adopt(new QDLQAliasTest(this, &record_, number), 0, name, error);
    }
    return refuse(error, msg::kInvalidFunction);
}

// ---- equations ----

IQDLQTest *QDLEquationQuery::MakeNameTest(int32_t id, const char *name, int32_t op, char *text,
                                          bool name_flag, char *error) {
    stred_upper_case(text);
    return MakeString(id, name, op, text, name_flag, error);
}

IQDLQTest *QDLEquationQuery::BuildTest(char *name, int32_t op, QDLQLiteral &literal, char *error) {
    const int32_t id = QDLEquationData::AttribId(name);
    if (id == 0) return refuse(error, msg::kNotEquationAttribute, name);
    if (id == QDLEquationData::NAME) return name_test(*this, id, name, op, literal, true, error);
    return BuildTestFor(id, name, op, literal, error);
}

// ---- parameters ----

IQDLQTest *QDLParameterQuery::BuildTest(char *name, int32_t op, QDLQLiteral &literal, char *error) {
    const int32_t id = QDLParameterData::AttribId(name);
    if (id == 0) return refuse(error, msg::kNotParameterAttribute, name);
    return BuildTestFor(id, name, op, literal, error);
}

IQDLQTest *QDLParameterQuery::BuildFunctionTest(char *name, QDLQLiteral &literal, char *error) {
    stred_upper_case(name);
    if (std::strcmp(name, "ISMODIFIED") != 0) return refuse(error, msg::kInvalidFunction);
    if (!is_text(literal)) return refuse(error, msg::kIsModifiedString);
    const int32_t id = QDLParameterData::AttribId(literal.text);
    if (id == 0) return refuse(error, msg::kNotParameterAttribute, literal.text);
    return Adopt(new QDLParQModifiedTest(this, &record_, id), 0, name, error);
}

// ---- ports ----

IQDLQTest *QDLPortQuery::MakeNameTest(int32_t id, const char *name, int32_t op, char *text, bool name_flag,
                                      char *error) {
    stred_upper_case(text);
    return MakeString(id, name, op, text, name_flag, error);
}

IQDLQTest *QDLPortQuery::BuildTest(char *name, int32_t op, QDLQLiteral &literal, char *error) {
    const int32_t id = QDLPortData::AttribId(name);
    if (id == 0) return refuse(error, msg::kNotPortAttribute, name);
    if (id == QDLPortData::NAME) return name_test(*this, id, name, op, literal, true, error);
    return BuildTestFor(id, name, op, literal, error);
}

}  // namespace zarn::qdlvarquery

// ---- the factory ----

using namespace zarn::qdlvarquery;

IQDLQueryEngine *QDLQueryFactory::NewVariableQuery(QDLEOCntr *container, QDLEOBlock *block) {
    QDLVariableSource *source = nullptr;
    try {
        source = container != nullptr ? container->VariableSource(block) : nullptr;
        if (source != nullptr) source->Initialize(container);
    } catch (...) {
        if (source != nullptr) source->Release();
        report_run(msg::kHostFailedMaking);
        return nullptr;
    }
    IQDLQueryEngine *engine = new QDLVariableQuery(container, block, source);
    // The engine holds its own reference; the one handed to us goes back.
    if (source != nullptr) source->Release();
    return engine;
}

IQDLQueryEngine *QDLQueryFactory::NewEquationQuery(QDLEOCntr *container, QDLEOBlock *block) {
    return new QDLEquationQuery(container, block);
}

IQDLQueryEngine *QDLQueryFactory::NewParameterQuery(QDLEOCntr *container, QDLEOBlock *block) {
    return new QDLParameterQuery(container, block);
}

IQDLQueryEngine *QDLQueryFactory::NewPortQuery(QDLEOCntr *container, QDLEOBlock *block) {
    return new QDLPortQuery(container, block);
}
