// The four query engines: what each adds to the shared build rules (the
// variable engine's names, connection types, descriptions and functions; the
// parameter engine's IsModified), and the factory that makes them.
#include <algorithm>

#include "qdlvarquery/qdlquery_internal.h"
#include "varutl/varutl_internal.h"
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

// ---- answers from the columns ----

namespace {

// The codes kept in the status word.
enum class Field { kSpec, kMarked, kBound, kType, kPtype, kNone };

Field field_of(int32_t id) {
    switch (id) {
        case V::SPEC:
            return Field::kSpec;
        case V::MARKED:
            return Field::kMarked;
        case V::BOUND:
            return Field::kBound;
        case V::VARIABLE_TYPE:
            return Field::kType;
        case V::PHYSICAL_TYPE_ID:
            return Field::kPtype;
        default:
            return Field::kNone;
    }
}

template <Field F>
inline int32_t decode(int64_t word) {
    if constexpr (F == Field::kSpec) return zarn::varutl::spec(word);
    if constexpr (F == Field::kMarked) return (word & zarn::varutl::kMarked) != 0 ? 1 : 0;
    if constexpr (F == Field::kBound) return zarn::varutl::bound_type(word);
    if constexpr (F == Field::kType) return zarn::varutl::var_type(word);
    return zarn::varutl::physical_type(word);
}

int32_t decode(Field field, int64_t word) {
    switch (field) {
        case Field::kSpec:
            return decode<Field::kSpec>(word);
        case Field::kMarked:
            return decode<Field::kMarked>(word);
        case Field::kBound:
            return decode<Field::kBound>(word);
        case Field::kType:
            return decode<Field::kType>(word);
        default:
            return decode<Field::kPtype>(word);
    }
}

// Writes to out the numbers 1..n whose code passes and that pass rest
// (given the index and the status word); the count written. One loop per
// field and operator, so that the first test costs no branch of its own.
template <Field F, class Pass, class Rest>
int32_t scan_field(const int64_t *status, int32_t n, Pass pass, Rest rest, int32_t *out) {
    int32_t m = 0;
    for (int32_t k = 0; k < n; ++k) {
        const int64_t word = status[k];
        if (pass(decode<F>(word)) && rest(k, word)) out[m++] = k + 1;
    }
    return m;
}

template <Field F, class Rest>
int32_t scan_op(const int64_t *status, int32_t n, int32_t op, int32_t literal, Rest rest, int32_t *out) {
    switch (op) {
        case QDLQ_EQ:
            return scan_field<F>(
                status, n, [literal](int32_t x) { return x == literal; }, rest, out);
        case QDLQ_NE:
            return scan_field<F>(
                status, n, [literal](int32_t x) { return x != literal; }, rest, out);
        case QDLQ_LT:
            return scan_field<F>(
                status, n, [literal](int32_t x) { return x < literal; }, rest, out);
        case QDLQ_LE:
            return scan_field<F>(
                status, n, [literal](int32_t x) { return x <= literal; }, rest, out);
        case QDLQ_GT:
            return scan_field<F>(
                status, n, [literal](int32_t x) { return x > literal; }, rest, out);
        case QDLQ_GE:
            return scan_field<F>(
                status, n, [literal](int32_t x) { return x >= literal; }, rest, out);
        default:
            return 0;
    }
}

template <class Rest>
int32_t scan_codes(Field field, const int64_t *status, int32_t n, int32_t op, int32_t literal, Rest rest,
                   int32_t *out) {
    switch (field) {
        case Field::kSpec:
            return scan_op<Field::kSpec>(status, n, op, literal, rest, out);
        case Field::kMarked:
            return scan_op<Field::kMarked>(status, n, op, literal, rest, out);
        case Field::kBound:
            return scan_op<Field::kBound>(status, n, op, literal, rest, out);
        case Field::kType:
            return scan_op<Field::kType>(status, n, op, literal, rest, out);
        default:
            return scan_op<Field::kPtype>(status, n, op, literal, rest, out);
    }
}

}  // namespace

bool QDLVariableQuery::SelectCodes(int32_t id, int32_t op, int32_t literal, QDLQObjectSet &out) const {
    const Field field = field_of(id);
    if (field == Field::kNone || columns_.status == nullptr) return false;
    const int32_t n = std::min(count_, columns_.count);
    for (int32_t k = 1; k <= n; ++k)
        if (compares(decode(field, columns_.status[k - 1]), op, literal) && !out.Insert(k)) return false;
    return true;
}

// The tests under the AND at the root, sorted by how a scan answers them.
struct QDLVariableQuery::Plan {
    static constexpr int kMax = 16;
    struct Code {
        Field field;
        int32_t op, literal;
    } codes[kMax];
    struct Real {
        const double *column;
        Form form;
        int32_t op;
        double literal;
    } reals[kMax];
    int ncodes = 0, nreals = 0;
    QDLQObjectSet within;  // the common part of the sets of the tests that select
    bool bounded = false;  // some test selected
    bool exact = true;     // every test was answered; else objects are loaded
    double tolerance = 0.0;
};

void QDLVariableQuery::Gather(IQDLQTest *test, Plan &plan, bool select) {
    // An AND inside the AND (each single test has one of its own) adds its tests.
    auto *all = dynamic_cast<QDLQCompoundTest *>(test);
    if (all != nullptr && all->Operator() == QDLQ_AND && all->Count() > 0) {
        for (int32_t k = 0; k < all->Count(); ++k) Gather(all->TestAt(k), plan, select);
        return;
    }
    auto *code = dynamic_cast<QDLQTestInteger<V> *>(test);
    if (code != nullptr && !code->Negated() && field_of(code->Attribute()) != Field::kNone &&
        plan.ncodes < Plan::kMax) {
        plan.codes[plan.ncodes++] = {field_of(code->Attribute()), code->Operator(), code->Literal()};
        return;
    }
    auto *real = dynamic_cast<QDLQTestReal<V> *>(test);
    const double *column = real != nullptr ? column_of(columns_, real->Attribute()) : nullptr;
    if (column != nullptr && !real->Negated() && plan.nreals < Plan::kMax) {
        plan.reals[plan.nreals++] = {column, form_of(real->Attribute()), real->Operator(), real->Literal()};
        return;
    }
    QDLQObjectSet part;
    if (!select || !test->Select(part)) {
        plan.exact = false;
        return;
    }
    if (plan.bounded) {
        plan.within.KeepCommon(part);
    } else {
        plan.within.swap(part);
    }
    plan.bounded = true;
}

void QDLVariableQuery::Factors(int64_t word, size_t k, double &f, double &o) {
    const int32_t p = zarn::varutl::physical_type(word);
    // A type whose units are all SI shows every unit alike: its unit column
    // need not be read.
    if (!shown_.known || p != shown_.ptype) shown_ = Shown{p, units_convert(p), true};
    if (shown_.converts) {
        // The display unit as a loaded record reads it: the cell's low 32 bits.
        const int64_t uom = static_cast<int32_t>(columns_.uom[k]);
        if (uom != shown_.uom) {
            shown_.uom = uom;
            display_factors(p, shown_.uom, units_, shown_.f, shown_.o);
        }
    }
    f = shown_.f;
    o = shown_.o;
}

inline bool QDLVariableQuery::PassesCodes(const Plan &plan, int first, int64_t word) {
    for (int t = first; t < plan.ncodes; ++t)
        if (!compares(decode(plan.codes[t].field, word), plan.codes[t].op, plan.codes[t].literal))
            return false;
    return true;
}

[[gnu::always_inline]] inline bool QDLVariableQuery::PassesReal(const Plan &plan, int t, size_t k,
                                                                int64_t word) {
    const Plan::Real &r = plan.reals[t];
    const QDLVariableColumns &c = columns_;
    double f = 1.0, o = 0.0;
    if (r.form == Form::Scaled || r.form == Form::Difference) {
        // Most variables in a row share a type without unit conversion.
        if (!shown_.known || shown_.converts || zarn::varutl::physical_type(word) != shown_.ptype)
            Factors(word, k, f, o);
    }
    const int32_t number = static_cast<int32_t>(k) + 1;
    const double x = shown_real(c.list, number, r.form, r.column[k], c.intscale[k],
                                static_cast<int32_t>(c.baseuom[k]), true, f, o);
    return compares_real(x, r.op, r.literal, plan.tolerance);
}

bool QDLVariableQuery::Passes(const Plan &plan, int first, size_t k, int64_t word) {
    if (!PassesCodes(plan, first, word)) return false;
    for (int t = 0; t < plan.nreals; ++t)
        if (!PassesReal(plan, t, k, word)) return false;
    return true;
}

int32_t QDLVariableQuery::KeepReal(const Plan &plan, int t, int32_t *list, int32_t m) {
    constexpr int32_t kAhead = 16;  // numbers between a prefetch and its use
    const QDLVariableColumns &c = columns_;
    const double *column = plan.reals[t].column;
    int32_t kept = 0;
    for (int32_t i = 0; i < m; ++i) {
        if (i + kAhead < m) {
            const size_t ahead = static_cast<size_t>(list[i + kAhead]) - 1;
            __builtin_prefetch(column + ahead);
            __builtin_prefetch(c.intscale + ahead);
            __builtin_prefetch(c.baseuom + ahead);
        }
        const size_t k = static_cast<size_t>(list[i]) - 1;
        if (PassesReal(plan, t, k, c.status[k])) list[kept++] = list[i];
    }
    return kept;
}

bool QDLVariableQuery::Planned(Plan &plan, bool select) {
    auto *all = dynamic_cast<QDLQCompoundTest *>(Root());
    if (all == nullptr || all->Operator() != QDLQ_AND || all->Count() == 0 || columns_.list == nullptr)
        return false;
    for (int32_t k = 0; k < all->Count(); ++k) Gather(all->TestAt(k), plan, select);
    if (plan.ncodes == 0 && plan.nreals == 0 && !plan.bounded) return false;
    plan.tolerance = Tolerance();
    return true;
}

bool QDLVariableQuery::FlagListed(const NumberList &listed, unsigned char *keep) {
    Plan plan;
    if (!Planned(plan, false) || (plan.ncodes == 0 && plan.nreals == 0)) return false;
    const QDLVariableColumns &c = columns_;
    const int32_t n = std::min(count_, c.count);
    for (int32_t i = 0; i < listed.Count(); ++i) {
        const int32_t number = listed.At(i);
        const size_t k = static_cast<size_t>(number) - 1;
        const bool passed = number >= 1 && number <= n
                                ? Passes(plan, 0, k, c.status[k]) && (plan.exact || Test(number))
                                : Test(number);
        keep[i] = passed ? 1 : 0;
    }
    return true;
}

bool QDLVariableQuery::Scan(NumberList &out) {
    const QDLVariableColumns &c = columns_;
    Plan plan;
    if (!Planned(plan, true)) return false;
    const int32_t n = std::min(count_, c.count);
    int32_t *list = out.Room(plan.bounded ? plan.within.Count() : n);
    if (list == nullptr) {
        report_run(msg::kNoMemoryToRun);
        return true;
    }
    int32_t m = 0;
    if (plan.bounded) {
        for (int32_t i = 0; i < plan.within.Count(); ++i) {
            const int32_t number = plan.within.At(i);
            if (number < 1 || number > n) continue;
            const size_t k = static_cast<size_t>(number) - 1;
            if (Passes(plan, 0, k, c.status[k])) list[m++] = number;
        }
    } else if (plan.ncodes > 0) {
        // The first code test picks from every object in one pass, with the
        // other codes of the same word; each real then narrows what passed,
        // one column at a time.
        const auto rest = [&](int32_t, int64_t word) { return PassesCodes(plan, 1, word); };
        m = scan_codes(plan.codes[0].field, c.status, n, plan.codes[0].op, plan.codes[0].literal, rest, list);
        for (int t = 0; t < plan.nreals; ++t) m = KeepReal(plan, t, list, m);
    } else {
        for (int32_t k = 0; k < n; ++k)
            if (Passes(plan, 0, static_cast<size_t>(k), c.status[k])) list[m++] = k + 1;
    }
    if (!plan.exact) {
        int32_t kept = 0;
        for (int32_t i = 0; i < m; ++i)
            if (Test(list[i])) list[kept++] = list[i];
        m = kept;
    }
    out.Grow(m);
    return true;
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

void QDLVariableQuery::OnRunStart() {
    list_ = block_ != nullptr       ? block_->VariableList()
            : container_ != nullptr ? container_->VariableList()
                                    : nullptr;
    QDLVariableData::GetColumns(list_, columns_);
    // Only the list's variables can be loaded: no answer reaches further.
    if (count_ > columns_.count) count_ = columns_.count;
    shown_ = Shown{};  // the units table may have changed since the last run
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
