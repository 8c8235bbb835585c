// The query engines' machinery: what a running test asks of its engine, the
// leaf tests, the executor template that the four engines share, and the
// engines themselves. Tests and benchmarks instantiate the template too.
#ifndef ZARN_QDLVARQUERY_QDLQUERY_INTERNAL_H
#define ZARN_QDLVARQUERY_QDLQUERY_INTERNAL_H

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "attrcat/attrcat.h"
#include "platform/xalloc.h"
#include "qdlvarquery/qdlvarquery_internal.h"
#include "qdlvarquery/qdlvarquery_messages.h"
#include "rtvarlst/rtvarlst_scale.h"
#include "zarnutils/hsregexp.h"
#include "zarnutils/qdlquery.hpp"
#include "rtopipe/report.h"
#include "zarnutils/rtvalue.h"

namespace zarn::qdlvarquery {

// ---- helpers (qdlquerybase.cpp) ----

// Writes a message of at most QDLQ_ERROR_BUFFER_SIZE bytes into error and
// gives NULL, for a create operation to return.
IQDLQTest *refuse(char *error, const char *format, ...) __attribute__((format(printf, 2, 3)));
// Prints a build error on the history device, adding a line end when it has none.
void print_error(const char *message);
// Prints one of the run-time reports.
void report_run(const char *message);

inline bool mask_has(const rtvarmask_t &m, int32_t id) { return rtvarinfo_mask_has(&m, id) != 0; }

// x op literal, exactly, for the six comparison operators (false for another code).
inline bool compares(int32_t x, int32_t op, int32_t literal) {
    switch (op) {
        case QDLQ_EQ:
            return x == literal;
        case QDLQ_NE:
            return x != literal;
        case QDLQ_LT:
            return x < literal;
        case QDLQ_LE:
            return x <= literal;
        case QDLQ_GT:
            return x > literal;
        case QDLQ_GE:
            return x >= literal;
        default:
            return false;
    }
}
inline void mask_add(rtvarmask_t &m, int32_t id) { rtvarinfo_mask_add(&m, id); }

// x op literal for reals: "=", "<>", "<=" and ">=" with the tolerance.
inline bool compares_real(double x, int32_t op, double literal, double tolerance) {
    switch (op) {
        case QDLQ_EQ:
            return x >= literal - tolerance && x <= literal + tolerance;
        case QDLQ_NE:
            return x > literal + tolerance || x < literal - tolerance;
        case QDLQ_LT:
            return x < literal;
        case QDLQ_LE:
            return x <= literal + tolerance;
        case QDLQ_GT:
            return x > literal;
        case QDLQ_GE:
            return x >= literal - tolerance;
        default:
            return false;
    }
}

// Whether a physical type has units, and whether one of them is not SI
// itself (vardata.cpp).
bool type_has_units(int32_t ptype);
bool units_convert(int32_t ptype);
// The display-unit factors of a type and display unit (0: the default),
// through cache (vardata.cpp): f = 1, o = 0 for a type without units.
void display_factors(int32_t ptype, int64_t uom, QDLVariableData::UnitFactors &cache, double &f, double &o);

// How a real attribute of a variable is held and shown.
enum class Form {
    Scaled,      // held times the internal scale, in the base unit; shown in the display unit
    Difference,  // the same as a difference (no offset)
    Held,        // a plain number, never converted
    Si,          // held times the internal scale (a shadow price): divided by it; shown in SI
    None,        // not a real attribute
};
Form form_of(int32_t id);  // vardata.cpp
// The full column of a real attribute, or NULL (vardata.cpp).
const double *column_of(const QDLVariableColumns &columns, int32_t id);

// A real attribute of variable index as a query sees it: the held number
// times the internal scale (when the attribute is held scaled), from the base
// unit to SI, then with factors f, o to the display unit (o only where the
// attribute is not a difference). Undefined stays undefined.
inline double shown_real(rtvarlst_t *list, int32_t index, Form form, double held, double intscale,
                         int64_t baseuom, bool display, double f, double o) {
    if (held == RTOVARLST_UNDEFINED || form == Form::Held || form == Form::None) return held;
    if (form == Form::Si) {
        const double si = baseuom == 1 ? held : zarn::rtvarlst::base_to_si(list, index, held, false);
        return si / zarn::rtvarlst::effective_scale(intscale);
    }
    const bool difference = form == Form::Difference;
    const double quantity = held * zarn::rtvarlst::effective_scale(intscale);
    const double si = baseuom == 1 ? quantity : zarn::rtvarlst::base_to_si(list, index, quantity, difference);
    if (!display) return si;
    return difference ? si * f : si * f + o;
}
inline double shown_real(rtvarlst_t *list, int32_t index, int32_t id, double held, double intscale,
                         int64_t baseuom, bool display, double f, double o) {
    return shown_real(list, index, form_of(id), held, intscale, baseuom, display, f, o);
}

// Texts equal ignoring the case of ASCII letters.
bool same_text(const char *a, const char *b);
// The code of word in an enumeration's words, upper-cased first (synonyms too).
bool word_code(const attrcat::WordTable *words, const char *word, int32_t &code);
// A record attribute of an id, or of a name (ignoring case), in a record table.
const attrcat::RecordAttribute *record_attribute(const attrcat::RecordAttribute *table, int count,
                                                 int32_t id);
int32_t record_id(const attrcat::Vocabulary &names, const char *name);
// The kind letter of a catalogue kind (QDL_KIND_NONE for None).
int kind_letter(attrcat::QKind kind);

// A value of a query literal; false when memory is short.
bool literal_value(const QDLQLiteral &literal, value_t &out);

// A growing array of object numbers (result lists, candidates).
class NumberList {
  public:
    NumberList() = default;
    ~NumberList();
    NumberList(const NumberList &) = delete;
    NumberList &operator=(const NumberList &) = delete;

    int32_t Count() const { return count_; }
    int32_t At(int32_t i) const { return i >= 0 && i < count_ ? items_[i] : 0; }
    const int32_t *Items() const { return items_; }
    bool Append(int32_t n) {  // false when memory is short
        if (count_ == capacity_ && (count_ == INT32_MAX || !Reserve(count_ + 1))) return false;
        items_[count_++] = n;
        return true;
    }
    // Room for n more numbers, to be written in place and then counted with
    // Grow; NULL when memory is short.
    int32_t *Room(int32_t n) {
        // Room for nothing still needs a block: NULL means that memory was short.
        return n >= 0 && n <= INT32_MAX - count_ && Reserve(count_ + n > 0 ? count_ + n : 1) ? items_ + count_
                                                                                             : nullptr;
    }
    void Grow(int32_t n) { count_ += n; }
    // Drops the numbers that the sorted list holds.
    void DropSorted(const NumberList &sorted);
    void Clear() { count_ = 0; }
    bool Assign(int32_t count, const int32_t *numbers);  // false, unchanged, when memory is short
    bool SortedCopyOf(const NumberList &other);          // this := other, sorted
    bool ContainsSorted(int32_t n) const;                // this list must be sorted
    bool Ascending() const;
    // Puts each number of adds, in its order, before the first item greater
    // than it (at the end when none is); false, unchanged, when memory is short.
    bool InsertInOrder(const NumberList &adds);
    // Keeps the items whose flag is set, in order.
    void KeepFlagged(const unsigned char *flags);
    // Drops every repeat of a number after its first place; false, unchanged,
    // when memory is short.
    bool KeepFirstOfEach();

  private:
    bool Reserve(int32_t n);
    int32_t *items_ = nullptr;
    int32_t count_ = 0;
    int32_t capacity_ = 0;
};

// ---- what a test asks of its engine while it runs ----

struct IQDLQueryContext {
    virtual double Tolerance() const = 0;
    virtual QDLEOCntr *Container() const = 0;
    virtual QDLEOBlock *Block() const = 0;
    virtual QDLVariableSource *VariableSource() const = 0;
    virtual int32_t CurrentObject() const = 0;   // the number of the object being tested
    virtual const char *NamePrefix() const = 0;  // the block's, for this run; NULL or "" for none
    // Adds to out, in ascending order, the objects whose code of the attribute
    // compares so with literal, read straight from the block's columns; false
    // when the engine cannot answer so for that attribute.
    virtual bool SelectCodes(int32_t id, int32_t op, int32_t literal, QDLQObjectSet &out) const = 0;
    // Whether the texts of the attribute can be read object by object
    // without loading (TextAt, for the objects 1..count); and one such text,
    // NULL when the object has none.
    virtual bool TextColumn(int32_t id, int32_t &count) const = 0;
    virtual const char *TextAt(int32_t id, int32_t number) const = 0;

  protected:
    ~IQDLQueryContext() = default;
};

// ---- leaf tests ----

// The common part of the leaf tests: the engine, its record, the attribute
// and the operator; Matches is the test's Evaluate, turned round by Negate.
template <class Test, class Data>
class QDLQTestBase : public IQDLQTest {
  public:
    IQDLQTest *Clone() const override {
        Test *copy = new Test(static_cast<const Test &>(*this));
        if (copy != nullptr && !copy->Complete()) {
            delete copy;
            return nullptr;
        }
        return copy;
    }
    void Negate() override { negated_ = !negated_; }
    bool Matches() override { return static_cast<Test *>(this)->Evaluate() != negated_; }
    bool Select(QDLQObjectSet &) override { return false; }
    // A copy that owns resources says here whether it got them all.
    bool Complete() const { return true; }
    int32_t Attribute() const { return attribute_; }
    int32_t Operator() const { return op_; }

  protected:
    QDLQTestBase(IQDLQueryContext *context, const Data *record, int32_t attribute, int32_t op)
        : context_(context), record_(record), attribute_(attribute), op_(op), negated_(false) {}
    IQDLQueryContext *context_;
    const Data *record_;
    int32_t attribute_;
    int32_t op_;
    bool negated_;
};

// A real attribute against a number; "=", "<>", "<=" and ">=" with the
// engine's tolerance.
template <class Data>
class QDLQTestReal : public QDLQTestBase<QDLQTestReal<Data>, Data> {
    using Base = QDLQTestBase<QDLQTestReal<Data>, Data>;

  public:
    QDLQTestReal(IQDLQueryContext *c, const Data *r, int32_t id, int32_t op, double literal)
        : Base(c, r, id, op), literal_(literal) {}
    bool Evaluate() const {
        double x = 0.0;
        return this->record_->GetValue(this->attribute_, x) &&
               compares_real(x, this->op_, literal_, this->context_->Tolerance());
    }
    bool Negated() const { return this->negated_; }
    double Literal() const { return literal_; }

  private:
    double literal_;
};

// An integer or enumeration attribute against a code, exactly.
template <class Data>
class QDLQTestInteger : public QDLQTestBase<QDLQTestInteger<Data>, Data> {
    using Base = QDLQTestBase<QDLQTestInteger<Data>, Data>;

  public:
    QDLQTestInteger(IQDLQueryContext *c, const Data *r, int32_t id, int32_t op, int32_t literal)
        : Base(c, r, id, op), literal_(literal) {}
    bool Evaluate() const {
        int32_t x = 0;
        return this->record_->GetValue(this->attribute_, x) && compares(x, this->op_, literal_);
    }
    bool Select(QDLQObjectSet &result) override {
        return !this->negated_ && this->context_->SelectCodes(this->attribute_, this->op_, literal_, result);
    }
    bool Negated() const { return this->negated_; }
    int32_t Literal() const { return literal_; }

  private:
    int32_t literal_;
};

// A text attribute against a text: a literal that begins with "%" or "/" is
// a regular expression (the rest of it), any other must equal the text
// ignoring case; an empty literal passes everything. With the name flag the
// block's prefix and the "." after it are taken off the text first, and a
// text without the prefix does not match. Only "<>" is inequality.
template <class Data>
class QDLQTestString : public QDLQTestBase<QDLQTestString<Data>, Data> {
    using Base = QDLQTestBase<QDLQTestString<Data>, Data>;

  public:
    // NULL after writing a message: no memory, or a pattern that does not compile.
    static QDLQTestString *Create(IQDLQueryContext *c, const Data *r, int32_t id, int32_t op,
                                  const char *text, bool name_flag, const char *attribute, char *error) {
        auto *test = new QDLQTestString(c, r, id, op, name_flag);
        if (test == nullptr) return nullptr;
        test->text_ = zarn::xstrdup(text);
        if (test->text_ == nullptr) {
            delete test;
            return static_cast<QDLQTestString *>(refuse(error, msg::kNoMemoryForTest, attribute));
        }
        if (text[0] == '%' || text[0] == '/') {
            test->pattern_ = hs_regcomp(text + 1);
            if (test->pattern_ == nullptr) {
                const char *why = hs_get_regerr();
                refuse(error, msg::kBadPattern, text, why != nullptr ? why : "");
                delete test;
                return nullptr;
            }
        }
        return test;
    }
    QDLQTestString(const QDLQTestString &other)
        : Base(other),
          text_(zarn::xstrdup(other.text_)),
          pattern_(nullptr),
          name_flag_(other.name_flag_),
          not_equal_(other.not_equal_) {
        if (other.pattern_ != nullptr) pattern_ = hs_regcopy(other.pattern_);
    }
    QDLQTestString &operator=(const QDLQTestString &) = delete;
    ~QDLQTestString() override {
        std::free(text_);
        hs_regfree(pattern_);
    }
    bool Complete() const { return text_ != nullptr && (pattern_ != nullptr || !IsPattern()); }
    bool Evaluate() const {
        if (text_[0] == '\0') return true;
        const char *s = nullptr;
        if (!this->record_->GetValue(this->attribute_, s) || s == nullptr) return false;
        return Compare(s) != not_equal_;
    }
    // The objects whose text passes, read without loading when the engine can.
    bool Select(QDLQObjectSet &result) override {
        int32_t n = 0;
        if (this->negated_ || !this->context_->TextColumn(this->attribute_, n)) return false;
        for (int32_t k = 1; k <= n; ++k) {
            const char *s = text_[0] != '\0' ? this->context_->TextAt(this->attribute_, k) : nullptr;
            const bool passes = text_[0] == '\0' || (s != nullptr && Compare(s) != not_equal_);
            if (passes && !result.Insert(k)) return false;
        }
        return true;
    }
    bool IsPattern() const { return text_ != nullptr && (text_[0] == '%' || text_[0] == '/'); }

  private:
    QDLQTestString(IQDLQueryContext *c, const Data *r, int32_t id, int32_t op, bool name_flag)
        : Base(c, r, id, op),
          text_(nullptr),
          pattern_(nullptr),
          name_flag_(name_flag),
          not_equal_(op == QDLQ_NE) {}
    bool Compare(const char *s) const {
        if (name_flag_) {
            const char *prefix = this->context_->NamePrefix();
            if (prefix != nullptr && prefix[0] != '\0') {
                const size_t n = std::strlen(prefix);
                if (std::strncmp(s, prefix, n) != 0) return false;
                s += n;
                if (*s == '.') ++s;
            }
        }
        return pattern_ != nullptr ? hs_regexec(pattern_, s) == 1 : same_text(text_, s);
    }
    char *text_;
    hs_regexp *pattern_;
    bool name_flag_;
    bool not_equal_;
};

// A value attribute against a value, by the value module's comparisons
// (values that do not compare make the test false).
template <class Data>
class QDLQTestRtValue : public QDLQTestBase<QDLQTestRtValue<Data>, Data> {
    using Base = QDLQTestBase<QDLQTestRtValue<Data>, Data>;

  public:
    static QDLQTestRtValue *Create(IQDLQueryContext *c, const Data *r, int32_t id, int32_t op,
                                   const QDLQLiteral &literal) {
        auto *test = new QDLQTestRtValue(c, r, id, op);
        if (test != nullptr && !literal_value(literal, test->literal_)) {
            delete test;
            return nullptr;
        }
        return test;
    }
    QDLQTestRtValue(const QDLQTestRtValue &other) : Base(other) {
        value_init(&literal_);
        value_copy(&other.literal_, &literal_);
    }
    QDLQTestRtValue &operator=(const QDLQTestRtValue &) = delete;
    ~QDLQTestRtValue() override { value_destroy(&literal_); }
    bool Complete() const { return literal_.value_type != undefined_value; }
    bool Evaluate() const {
        value_t x;
        value_init(&x);
        bool passes = false;
        if (this->record_->GetValue(this->attribute_, x)) passes = Compare(x);
        value_destroy(&x);
        return passes;
    }

  private:
    QDLQTestRtValue(IQDLQueryContext *c, const Data *r, int32_t id, int32_t op) : Base(c, r, id, op) {
        value_init(&literal_);
    }
    // True when the comparison answers TRUE.
    static bool answer(void (*compare)(const value_t *, const value_t *, value_t *, IValueContext *),
                       const value_t &a, const value_t &b) {
        value_t r;
        value_init(&r);
        compare(&a, &b, &r, nullptr);
        const bool yes = r.value_type == logical_value && r.u.logical != 0;
        value_destroy(&r);
        return yes;
    }
    bool Compare(const value_t &x) const {
        switch (this->op_) {
            case QDLQ_EQ:
                return answer(value_equal, x, literal_);
            case QDLQ_NE: {
                value_t r;
                value_init(&r);
                value_equal(&x, &literal_, &r, nullptr);
                const bool differ = r.value_type == logical_value && r.u.logical == 0;
                value_destroy(&r);
                return differ;
            }
            case QDLQ_LT:
                return answer(value_less, x, literal_);
            case QDLQ_LE:
                return answer(value_less, x, literal_) || answer(value_equal, x, literal_);
            case QDLQ_GT:
                return answer(value_greater, x, literal_);
            case QDLQ_GE:
                return answer(value_greater, x, literal_) || answer(value_equal, x, literal_);
            default:
                return false;
        }
    }
    value_t literal_;
};

// IsModified(attribute): the variable's modification record marks the
// attribute; with 0, marks anything at all.
class QDLQModifiedTest : public QDLQTestBase<QDLQModifiedTest, QDLVariableData> {
  public:
    QDLQModifiedTest(IQDLQueryContext *c, const QDLVariableData *r, int32_t attribute)
        : QDLQTestBase(c, r, attribute, QDLQ_EQ) {}
    bool Evaluate() const {
        QDLVariableData::CMask m{0u, 0u};
        if (!record_->GetValue(QDLVariableData::MODIFIED, m)) return false;
        if (attribute_ == 0) return m.mask1 != 0 || m.mask2 != 0;
        return record_->IsModified(attribute_);
    }
};

// InObjective(name): the object is one of the objective's variables, as the
// host listed them when the test was made. It answers Select with them.
class QDLQObjectiveTest : public QDLQTestBase<QDLQObjectiveTest, QDLVariableData> {
  public:
    QDLQObjectiveTest(IQDLQueryContext *c, const QDLVariableData *r) : QDLQTestBase(c, r, 0, QDLQ_EQ) {}
    QDLQObjectiveTest(const QDLQObjectiveTest &other) : QDLQTestBase(other) {
        complete_ = numbers_.InsertAll(other.numbers_);
    }
    bool Complete() const { return complete_; }
    bool Evaluate() const { return numbers_.Contains(context_->CurrentObject()); }
    bool Select(QDLQObjectSet &result) override { return !negated_ && result.InsertAll(numbers_); }
    QDLQObjectSet &Numbers() { return numbers_; }

  private:
    QDLQObjectSet numbers_;
    bool complete_ = true;
};

// IsFixed() and IsFree(): the variable's SPEC is fixed (or not) in
// the current problem mode; with a name, only the variable it names can pass.
class QDLQFixedTest : public QDLQTestBase<QDLQFixedTest, QDLVariableData> {
  public:
    enum { FIXED = 0, FREE = 1 };
    QDLQFixedTest(IQDLQueryContext *c, const QDLVariableData *r, int32_t flag, int32_t only)
        : QDLQTestBase(c, r, QDLVariableData::SPEC, QDLQ_EQ), flag_(flag), only_(only) {}
    bool Evaluate() const {
        if (only_ != 0 && context_->CurrentObject() != only_) return false;
        return record_->IsFixed() == (flag_ == FIXED);
    }

  private:
    int32_t flag_;
    int32_t only_;  // the one variable that may pass, 0 for any
};

// IsAlias(name): the variable is the one the alias (or name) stands for.
class QDLQAliasTest : public QDLQTestBase<QDLQAliasTest, QDLVariableData> {
  public:
    QDLQAliasTest(IQDLQueryContext *c, const QDLVariableData *r, int32_t number)
        : QDLQTestBase(c, r, 0, QDLQ_EQ), number_(number) {}
    bool Evaluate() const { return context_->CurrentObject() == number_; }

  private:
    int32_t number_;
};

// IsModified(attribute) of a parameter, as the host knows it.
class QDLParQModifiedTest : public QDLQTestBase<QDLParQModifiedTest, QDLParameterData> {
  public:
    QDLParQModifiedTest(IQDLQueryContext *c, const QDLParameterData *r, int32_t attribute)
        : QDLQTestBase(c, r, attribute, QDLQ_EQ) {}
    bool Evaluate() const {
        return record_->IsModified(context_->Container(), context_->Block(), attribute_);
    }
};

// ---- the executor ----

// One engine over a query class (which derives from it and may precede the
// build rules with its own) and a data record class. The query class names
// the kind of object it runs over (kObjectKind) and may override
// OnRunStart, LoadObject, BuildTest and BuildFunctionTest.
template <class Query, class Data>
class QDLQueryExecutor : public IQDLQueryContext, public IQDLQueryParserCallback, public IQDLQueryEngine {
  public:
    static void *operator new(size_t size) noexcept { return zarn::xmalloc(size); }
    static void operator delete(void *block) noexcept { std::free(block); }

    QDLQueryExecutor(QDLEOCntr *container, QDLEOBlock *block) : container_(container), block_(block) {}
    QDLQueryExecutor(const QDLQueryExecutor &) = delete;
    QDLQueryExecutor &operator=(const QDLQueryExecutor &) = delete;
    virtual ~QDLQueryExecutor() { delete root_; }

    // IQDLQueryContext
    double Tolerance() const override { return tolerance_; }
    QDLEOCntr *Container() const override { return container_; }
    QDLEOBlock *Block() const override { return block_; }
    QDLVariableSource *VariableSource() const override { return nullptr; }
    int32_t CurrentObject() const override { return current_; }
    const char *NamePrefix() const override { return prefix_; }
    bool SelectCodes(int32_t, int32_t, int32_t, QDLQObjectSet &) const override { return false; }
    bool TextColumn(int32_t, int32_t &) const override { return false; }
    const char *TextAt(int32_t, int32_t) const override { return nullptr; }

    // IQDLQueryParserCallback. A host that builds tests itself may leave out
    // the name: it counts as an empty one.
    IQDLQTest *CreateTest(char *name, int32_t op, QDLQLiteral &literal, char *error) override {
        char none[1] = {'\0'};
        return self()->BuildTest(name != nullptr ? name : none, op, literal, error);
    }
    IQDLQTest *CreateFunctionTest(char *name, QDLQLiteral &literal, char *error) override {
        char none[1] = {'\0'};
        return self()->BuildFunctionTest(name != nullptr ? name : none, literal, error);
    }
    void ReportError(const char *message) override {
        last_error_ = message;
        print_error(message);
    }

    // IQDLQueryEngine
    void Release() override {
        if (!Busy("Release")) delete self();
    }
    bool SetQueryText(const char *text) override {
        if (Busy("SetQueryText")) return false;
        delete root_;
        root_ = nullptr;
        mask_ = {0u, 0u};
        last_error_.Clear();
        busy_ = true;  // the engine's lookups call the host
        root_ = parse_query_text(this, text);
        busy_ = false;
        if (root_ == nullptr) mask_ = {0u, 0u};  // tests made before a refusal are gone
        return root_ != nullptr;
    }
    void Unused2() override {}
    bool SetCandidates(int32_t count, const int32_t *numbers) override {
        if (Busy("SetCandidates")) return false;
        if (numbers == nullptr) {
            restricted_ = false;
            candidates_.Clear();
            return true;
        }
        if (count < 0) {
            zarn::rtopipe::report(msg::kBadCandidateCount, static_cast<int>(count));
            return false;
        }
        if (!candidates_.Assign(count, numbers)) {
            zarn::rtopipe::report(msg::kNoMemoryForCandidates, static_cast<int>(count));
            return false;
        }
        restricted_ = true;
        return true;
    }
    void SetTolerance(double tolerance) override { tolerance_ = tolerance; }
    void Execute() override {
        if (Busy("Execute")) return;
        results_.Clear();
        if (root_ == nullptr) return;
        Guarded([&] { Collect(results_, nullptr); });
    }
    int32_t ExecuteMore() override {
        if (Busy("ExecuteMore")) return 0;
        if (results_.Count() == 0) {
            Execute();
            return results_.Count();
        }
        if (root_ == nullptr) return 0;
        int32_t added = 0;
        Guarded([&] {
            NumberList present, found;
            if (!present.SortedCopyOf(results_)) return report_run(msg::kNoMemoryToRun);
            Collect(found, &present);
            if (!found.KeepFirstOfEach() || !results_.InsertInOrder(found))
                return report_run(msg::kNoMemoryToRun);
            added = found.Count();
        });
        return added;
    }
    void Refine() override {
        if (Busy("Refine") || root_ == nullptr || results_.Count() == 0) return;
        const int32_t n = results_.Count();
        auto *keep = static_cast<unsigned char *>(zarn::xmalloc(static_cast<size_t>(n)));
        if (keep == nullptr) return report_run(msg::kNoMemoryToRun);
        std::memset(keep, 1, static_cast<size_t>(n));
        Guarded([&] {
            StartRun();
            if (self()->FlagListed(results_, keep)) return;
            for (int32_t i = n - 1; i >= 0; --i) keep[i] = Test(results_.At(i)) ? 1 : 0;
        });
        results_.KeepFlagged(keep);
        std::free(keep);
    }
    int32_t NumResults() override { return results_.Count(); }
    int32_t ResultAt(int32_t index) override { return results_.At(index); }
    void ClearResults() override {
        if (!Busy("ClearResults")) results_.Clear();
    }

    // The rules every engine shares: the attribute's kind says which test a
    // literal makes. An engine that looked the name up itself passes its id.
    IQDLQTest *BuildTest(char *name, int32_t op, QDLQLiteral &literal, char *error) {
        const int32_t id = Data::AttribId(name);
        if (id == 0) return refuse(error, msg::kUnknownAttribute, name);
        return BuildTestFor(id, name, op, literal, error);
    }
    IQDLQTest *BuildFunctionTest(char *name, QDLQLiteral &, char *error) {
        return refuse(error, msg::kUnknownFunction, name);
    }
    IQDLQTest *BuildTestFor(int32_t id, const char *name, int32_t op, QDLQLiteral &literal, char *error) {
        // A caller other than the parser may hand over a text literal without its text.
        const bool text = literal.kind == QDLQLiteral::TEXT && literal.text != nullptr;
        switch (Data::BaseType(id)) {
            case QDL_KIND_REAL:
                if (literal.kind == QDLQLiteral::INTEGER)
                    return Adopt(new QDLQTestReal<Data>(this, &record_, id, op, literal.integer), id, name,
                                 error);
                if (literal.kind == QDLQLiteral::REAL)
                    return Adopt(new QDLQTestReal<Data>(this, &record_, id, op, literal.real), id, name,
                                 error);
                return refuse(error, msg::kRealOnly, name);
            case QDL_KIND_TEXT:
                if (!text) return refuse(error, msg::kStringOnly, name);
                return MakeString(id, name, op, literal.text, false, error);
            case QDL_KIND_INTEGER:
                if (literal.kind != QDLQLiteral::INTEGER) return refuse(error, msg::kIntegerOnly, name);
                return Adopt(new QDLQTestInteger<Data>(this, &record_, id, op, literal.integer), id, name,
                             error);
            case QDL_KIND_ENUM: {
                int32_t code = 0;
                if (text) {
                    if (!Data::StringToEnum(id, literal.text, code))
                        return refuse(error, msg::kUnknownWord, literal.text);
                } else if (literal.kind == QDLQLiteral::INTEGER &&
                           Data::EnumToString(id, literal.integer) != nullptr) {
                    code = literal.integer;
                } else {
                    return refuse(error, msg::kValidEnumOnly, name);
                }
                return Adopt(new QDLQTestInteger<Data>(this, &record_, id, op, code), id, name, error);
            }
            case QDL_KIND_VALUE: {
                IQDLQTest *test = QDLQTestRtValue<Data>::Create(this, &record_, id, op, literal);
                if (test == nullptr) return refuse(error, msg::kStringOnly, name);
                return Adopt(test, id, name, error);
            }
            default:
                return refuse(error, msg::kInvalidAttribute);
        }
    }

    // The last message given to ReportError (NULL when the last text parsed).
    const char *LastError() const { return last_error_; }
    IQDLQTest *Root() const { return root_; }

  protected:
    // Hooks a query class may hide: set-up at the start of a run; the whole
    // answer of a run over every object, appended to an empty list without
    // loading objects one by one (false when it cannot answer so); and the
    // loading of one object into the record under the attribute mask.
    void OnRunStart() {}
    bool Scan(NumberList &) { return false; }
    // keep[i] set to whether object listed.At(i) passes, without loading
    // every object (false, keep untouched, when it cannot answer so).
    bool FlagListed(const NumberList &, unsigned char *) { return false; }
    bool LoadObject(int32_t number) {
        record_.mask = mask_;
        return record_.Load(container_, block_, number, true);
    }
    IQDLQTest *MakeString(int32_t id, const char *name, int32_t op, const char *text, bool name_flag,
                          char *error) {
        QDLQTestString<Data> *test =
            QDLQTestString<Data>::Create(this, &record_, id, op, text, name_flag, name, error);
        if (test == nullptr && error[0] == '\0') return refuse(error, msg::kNoMemoryForTest, name);
        return test != nullptr ? Adopt(test, id, name, error) : nullptr;
    }
    // A made test (NULL when memory was short), its attribute added to the mask.
    IQDLQTest *Adopt(IQDLQTest *test, int32_t id, const char *name, char *error) {
        if (test == nullptr) return refuse(error, msg::kNoMemoryForTest, name);
        if (id != 0) mask_add(mask_, id);
        return test;
    }

    QDLEOCntr *container_;
    QDLEOBlock *block_;
    rtvarmask_t mask_{0u, 0u};
    Data record_;
    int32_t count_ = 0;  // the objects of the block, for the run

    // Loads object number and tests it.
    bool Test(int32_t number) {
        current_ = number;
        return number >= 1 && number <= count_ && self()->LoadObject(number) && root_->Matches();
    }

  private:
    Query *self() { return static_cast<Query *>(this); }

    // Runs f; a host exception ends the run with a report.
    template <class F>
    void Guarded(F f) {
        busy_ = true;
        try {
            f();
        } catch (...) {
            report_run(msg::kHostFailed);
        }
        busy_ = false;
    }
    // A host that calls back into the engine from a load or a lookup would
    // pull the tree, the candidates or the results from under the run: such a
    // call is refused with a report.
    bool Busy(const char *operation) const {
        if (busy_) zarn::rtopipe::report(msg::kEngineBusy, operation);
        return busy_;
    }
    int32_t ObjectCount() const {
        const int32_t n = block_ != nullptr       ? block_->ObjectCount(Query::kObjectKind)
                          : container_ != nullptr ? container_->ObjectCount(Query::kObjectKind)
                                                  : 0;
        return n > 0 ? n : 0;
    }
    void StartRun() {
        count_ = ObjectCount();
        prefix_ = block_ != nullptr ? block_->NamePrefix() : nullptr;
        self()->OnRunStart();
    }
    // Appends to out the objects that pass, skipping those in the sorted list
    // skip. Candidates are tested one by one: a set answer would cost the
    // whole block.
    void Collect(NumberList &out, const NumberList *skip) {
        StartRun();
        if (!restricted_ && self()->Scan(out)) {
            if (skip != nullptr) out.DropSorted(*skip);
            return;
        }
        QDLQObjectSet set;
        const bool selected = !restricted_ && root_->Select(set);
        // passed: -1 when the object is still to be tested, else whether it passed.
        auto consider = [&](int32_t n, int passed) {
            if (skip != nullptr && skip->ContainsSorted(n)) return true;
            if (n < 1 || n > count_) return true;
            if (passed == 0 || (passed < 0 && !selected && !Test(n))) return true;
            if (out.Append(n)) return true;
            report_run(msg::kNoMemoryToRun);
            return false;
        };
        if (restricted_) {
            // The query class may answer for all candidates at once.
            const int32_t count = candidates_.Count();
            std::unique_ptr<unsigned char, decltype(&std::free)> flags(
                static_cast<unsigned char *>(zarn::xmalloc(static_cast<size_t>(count > 0 ? count : 1))),
                &std::free);
            const bool flagged = flags != nullptr && self()->FlagListed(candidates_, flags.get());
            for (int32_t k = 0; k < count; ++k)
                if (!consider(candidates_.At(k), flagged ? flags.get()[k] : -1)) return;
        } else if (selected) {
            for (int32_t k = 0; k < set.Count(); ++k)
                if (!consider(set.At(k), -1)) return;
        } else {
            for (int32_t n = 1; n <= count_; ++n)
                if (!consider(n, -1)) return;
        }
    }

    NumberList candidates_;
    bool restricted_ = false;
    IQDLQTest *root_ = nullptr;
    NumberList results_;
    double tolerance_ = 1e-6;
    int32_t current_ = 0;
    const char *prefix_ = nullptr;
    QDLString last_error_;
    bool busy_ = false;  // a run or a parse is under way
};

// ---- the four engines ----

class QDLVariableQuery : public QDLQueryExecutor<QDLVariableQuery, QDLVariableData> {
  public:
    static constexpr int32_t kObjectKind = QDL_VARIABLES;
    // Takes a reference to source (which may be NULL) for its life.
    QDLVariableQuery(QDLEOCntr *container, QDLEOBlock *block, QDLVariableSource *source);
    ~QDLVariableQuery() override;
    QDLVariableSource *VariableSource() const override { return source_; }

    IQDLQTest *BuildTest(char *name, int32_t op, QDLQLiteral &literal, char *error);
    IQDLQTest *BuildFunctionTest(char *name, QDLQLiteral &literal, char *error);
    IQDLQTest *MakeNameTest(int32_t id, const char *name, int32_t op, char *text, bool name_flag,
                            char *error);
    bool SelectCodes(int32_t id, int32_t op, int32_t literal, QDLQObjectSet &out) const override;
    bool TextColumn(int32_t id, int32_t &count) const override;
    const char *TextAt(int32_t id, int32_t number) const override;
    void OnRunStart();
    // An AND at the root: its tests of status-word codes and of reals with a
    // full column are read straight from the columns, its tests that can
    // select bound the objects, and only when some test can do neither are
    // the remaining objects loaded and tested.
    bool Scan(NumberList &out);
    // The same column tests over listed objects only: the tests that would
    // select from the whole block are left to loading the objects that pass
    // the columns.
    bool FlagListed(const NumberList &listed, unsigned char *keep);
    bool LoadObject(int32_t number) {
        record_.mask = mask_;
        return record_.Load(columns_, number, true);
    }

  private:
    struct Plan;
    // The plan of a scan when the root is an AND with a test the columns
    // answer; select: tests that can select from the whole block do so.
    bool Planned(Plan &plan, bool select);
    // Sorts a test of the AND at the root into plan.
    void Gather(IQDLQTest *test, Plan &plan, bool select);
    // Whether variable k + 1, with status word, passes the plan's column
    // tests from code test first on.
    bool Passes(const Plan &plan, int first, size_t k, int64_t word);
    // The code tests alone, and real test t alone, of the same.
    static bool PassesCodes(const Plan &plan, int first, int64_t word);
    bool PassesReal(const Plan &plan, int t, size_t k, int64_t word);
    // Keeps, of the m numbers in list, those whose variables pass real test
    // t of the plan, in their order; the count kept.
    int32_t KeepReal(const Plan &plan, int t, int32_t *list, int32_t m);
    // The display-unit factors of variable k + 1 for the reals a scan shows.
    void Factors(int64_t word, size_t k, double &f, double &o);

    QDLVariableSource *source_;
    rtvarlst_t *list_ = nullptr;    // the block's variables during a run
    QDLVariableColumns columns_{};  // and their columns
    QDLVariableData::UnitFactors units_;
    // The factors of the last variable a scan showed, by its type and unit.
    struct Shown {
        int32_t ptype = 0;
        bool converts = false;  // the type has a unit other than SI
        bool known = false;
        int64_t uom = -1;
        double f = 1.0, o = 0.0;
    } shown_;
};

class QDLEquationQuery : public QDLQueryExecutor<QDLEquationQuery, QDLEquationData> {
  public:
    static constexpr int32_t kObjectKind = QDL_EQUATIONS;
    using QDLQueryExecutor::QDLQueryExecutor;
    IQDLQTest *BuildTest(char *name, int32_t op, QDLQLiteral &literal, char *error);
    IQDLQTest *MakeNameTest(int32_t id, const char *name, int32_t op, char *text, bool name_flag,
                            char *error);
};

class QDLParameterQuery : public QDLQueryExecutor<QDLParameterQuery, QDLParameterData> {
  public:
    static constexpr int32_t kObjectKind = QDL_PARAMETERS;
    using QDLQueryExecutor::QDLQueryExecutor;
    IQDLQTest *BuildTest(char *name, int32_t op, QDLQLiteral &literal, char *error);
    IQDLQTest *BuildFunctionTest(char *name, QDLQLiteral &literal, char *error);
};

class QDLPortQuery : public QDLQueryExecutor<QDLPortQuery, QDLPortData> {
  public:
    static constexpr int32_t kObjectKind = QDL_PORTS;
    using QDLQueryExecutor::QDLQueryExecutor;
    IQDLQTest *BuildTest(char *name, int32_t op, QDLQLiteral &literal, char *error);
    IQDLQTest *MakeNameTest(int32_t id, const char *name, int32_t op, char *text, bool name_flag,
                            char *error);
};

}  // namespace zarn::qdlvarquery

#endif
