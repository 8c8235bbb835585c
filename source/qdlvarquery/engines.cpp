// The four query engines: what each adds to the shared build rules (the
// variable engine's names, connection types, descriptions and functions; the
// parameter engine's IsModified), and the factory that makes them.
#include <algorithm>

#include "qdlvarquery/qdlquery_internal.h"
#include "zarnutils/stred.h"
#include "zarnutils/varutl.h"

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

// The codes kept in the status word, read for a whole column at a time.
int32_t bound_of(int64_t word) {
    int64_t b = 0;
    varInqBoundType(word, &b);
    return static_cast<int32_t>(b);
}

using Decoder = int32_t (*)(int64_t);

Decoder status_decoder(int32_t id) {
    switch (id) {
        case V::SPEC:
            return varInqSpec;
        case V::MARKED:
            return varInqMarked;
        case V::BOUND:
            return bound_of;
        case V::VARIABLE_TYPE:
            return varInqType;
        case V::PHYSICAL_TYPE_ID:
            return varInqPhysicalType;
        default:
            return nullptr;
    }
}

// The full column of a real attribute, or null.
const double *real_column(const QDLVariableColumns &c, int32_t id) {
    switch (id) {
        case V::VALUE:
            return c.value;
        case V::INITIAL:
            return c.init;
        case V::LOWER:
            return c.lower;
        case V::UPPER:
            return c.upper;
        case V::INTSCALE:
            return c.intscale;
        case V::SCALE:
            return c.scale;
        case V::SHADOW_PRICE:
            return c.shadow_price;
        default:
            return nullptr;
    }
}

// Keeps the members of set for which keep(n) holds; false, set unchanged,
// when memory is short.
template <class Keep>
bool keep_members(QDLQObjectSet &set, Keep keep) {
    QDLQObjectSet kept;
    for (int32_t k = 0; k < set.Count(); ++k) {
        const int32_t n = set.At(k);
        if (keep(n) && !kept.Insert(n)) return false;
    }
    set.swap(kept);
    return true;
}

// Inserts into out the numbers 1..n whose decoded status word passes.
template <class Pass>
bool scan_status(const int64_t *status, int32_t n, Decoder decode, Pass pass, QDLQObjectSet &out) {
    for (int32_t k = 1; k <= n; ++k)
        if (pass(decode(status[k - 1])) && !out.Insert(k)) return false;
    return true;
}

bool QDLVariableQuery::SelectCodes(int32_t id, int32_t op, int32_t literal, QDLQObjectSet &out) const {
    const Decoder decode = status_decoder(id);
    if (decode == nullptr || columns_.status == nullptr) return false;
    const int32_t n = std::min(count_, columns_.count);
    const int64_t *status = columns_.status;
    // One loop per operator, so that the comparison is no branch of its own.
    switch (op) {
        case QDLQ_EQ:
            return scan_status(
                status, n, decode, [literal](int32_t x) { return x == literal; }, out);
        case QDLQ_NE:
            return scan_status(
                status, n, decode, [literal](int32_t x) { return x != literal; }, out);
        case QDLQ_LT:
            return scan_status(
                status, n, decode, [literal](int32_t x) { return x < literal; }, out);
        case QDLQ_LE:
            return scan_status(
                status, n, decode, [literal](int32_t x) { return x <= literal; }, out);
        case QDLQ_GT:
            return scan_status(
                status, n, decode, [literal](int32_t x) { return x > literal; }, out);
        case QDLQ_GE:
            return scan_status(
                status, n, decode, [literal](int32_t x) { return x >= literal; }, out);
        default:
            return false;
    }
}

bool QDLVariableQuery::FilterCodes(int32_t id, int32_t op, int32_t literal, QDLQObjectSet &set) const {
    const Decoder decode = status_decoder(id);
    if (decode == nullptr || columns_.status == nullptr) return false;
    return keep_members(set, [&](int32_t n) {
        return n <= columns_.count && compares(decode(columns_.status[n - 1]), op, literal);
    });
}

bool QDLVariableQuery::FilterReals(int32_t id, int32_t op, double literal, QDLQObjectSet &set) {
    const QDLVariableColumns &c = columns_;
    const double *column = real_column(c, id);
    if (column == nullptr || c.status == nullptr || c.uom == nullptr || c.baseuom == nullptr ||
        c.intscale == nullptr)
        return false;
    const double tolerance = Tolerance();
    // Neighbours mostly share their type and display unit: their factors are kept.
    int64_t last_status = 0, last_uom = 0;
    double f = 1.0, o = 0.0;
    bool known = false;
    return keep_members(set, [&](int32_t n) {
        if (n > c.count) return false;
        const size_t k = static_cast<size_t>(n - 1);
        if (!known || c.status[k] != last_status || c.uom[k] != last_uom) {
            display_factors(varInqPhysicalType(c.status[k]), c.uom[k], units_, f, o);
            last_status = c.status[k], last_uom = c.uom[k], known = true;
        }
        const double x = shown_real(c.list, n, id, column[k], c.intscale[k], c.baseuom[k], true, f, o);
        return compares_real(x, op, literal, tolerance);
    });
}

bool QDLVariableQuery::TextColumn(int32_t id, int32_t &count) const {
    if (list_ == nullptr || (id != V::NAME && id != V::DESCRIPTION && id != V::CONN_TYPE)) return false;
    count = std::min(count_, columns_.count);
    return true;
}

// As a loaded record gives them: a variable without a name has the name "".
const char *QDLVariableQuery::TextAt(int32_t id, int32_t number) const {
    switch (id) {
        case V::NAME: {
            const char *name = rtovarlst_lookup_var_name(list_, number);
            return name != nullptr ? name : "";
        }
        case V::DESCRIPTION:
            return rtovarlst_inq_var_description(list_, number);
        case V::CONN_TYPE:
            return V::EnumToString(V::CONN_TYPE, rtovarlst_inq_var_conn_type(list_, number));
        default:
            return nullptr;
    }
}

bool QDLVariableQuery::Filter(IQDLQTest *test, QDLQObjectSet &set) {
    if (auto *all = dynamic_cast<QDLQCompoundTest *>(test)) {
        if (all->Operator() != QDLQ_AND) return false;
        bool every = true;
        for (int32_t k = 0; k < all->Count(); ++k)
            if (!Filter(all->TestAt(k), set)) every = false;
        return every;
    }
    if (auto *real = dynamic_cast<QDLQTestReal<V> *>(test))
        return !real->Negated() && FilterReals(real->Attribute(), real->Operator(), real->Literal(), set);
    if (auto *code = dynamic_cast<QDLQTestInteger<V> *>(test))
        return !code->Negated() && FilterCodes(code->Attribute(), code->Operator(), code->Literal(), set);
    return false;
}

void QDLVariableQuery::OnRunStart() {
    list_ = block_ != nullptr       ? block_->VariableList()
            : container_ != nullptr ? container_->VariableList()
                                    : nullptr;
    QDLVariableData::GetColumns(list_, columns_);
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
