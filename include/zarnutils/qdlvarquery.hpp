// The query language (docs/query.md): the literal of a comparison, the
// operator codes, the tree of tests a parsed query becomes, and the callback
// through which the parser asks a query engine to build each test.
//
// Ownership: a compound test owns its children and deletes them; the tree
// belongs to whoever parsed the text. Names and literals handed to the
// callback belong to the parser, which frees them after the call.
// Test nodes are allocated with the library's allocator: `new` of a test gives
// NULL when memory is short instead of throwing.
// Single-threaded: one parse at a time in the process.
#ifndef ZARNUTILS_QDLVARQUERY_HPP
#define ZARNUTILS_QDLVARQUERY_HPP

#include <cstddef>
#include <cstdint>

#include "zarnutils/zarn_api.h"

// Comparison operators (0-5) and the operators of compound tests (6-9).
enum QDLQOperator : int32_t {
    QDLQ_EQ = 0,    // "="
    QDLQ_NE = 1,    // "<>"
    QDLQ_LT = 2,    // "<"
    QDLQ_LE = 3,    // "<="
    QDLQ_GT = 4,    // ">"
    QDLQ_GE = 5,    // ">="
    QDLQ_AND = 6,   // every child passes
    QDLQ_OR = 7,    // one child passes
    QDLQ_NAND = 8,  // not every child passes
    QDLQ_NOR = 9    // no child passes
};

// The literal on the right of a comparison or inside a function call.
struct QDLQLiteral {
    enum Kind : int32_t { BOOLEAN = 0, INTEGER = 1, REAL = 2, TEXT = 3 };
    Kind kind;
    union {
        uint8_t boolean;  // 0 or 1
        int32_t integer;
        double real;
        char *text;  // NUL-terminated; owned by the literal's maker (see the callback)
    };
};

// Size of the error buffer the parser hands to the callback's create operations.
inline constexpr size_t QDLQ_ERROR_BUFFER_SIZE = 512;

// A set of object numbers in ascending order, each at most once; the answer of
// IQDLQTest::Select. Operations that grow it return false when memory is
// short and leave it as it was.
class ZARN_API QDLQObjectSet {
  public:
    QDLQObjectSet();
    ~QDLQObjectSet();
    QDLQObjectSet(const QDLQObjectSet &) = delete;
    QDLQObjectSet &operator=(const QDLQObjectSet &) = delete;

    int32_t Count() const { return count_; }
    int32_t At(int32_t i) const;  // the i-th smallest (from 0); 0 when i is out of range
    bool Contains(int32_t number) const;
    bool Insert(int32_t number);                  // true also when already present
    bool InsertAll(const QDLQObjectSet &other);   // union
    void KeepCommon(const QDLQObjectSet &other);  // intersection
    void Clear();
    void swap(QDLQObjectSet &other);

  private:
    bool Reserve(int32_t n);
    int32_t *numbers_;
    int32_t count_;
    int32_t capacity_;
};

// A node of the test tree. Leaf tests are made by the engines; they refer to
// their engine for the object being tested.
class ZARN_API IQDLQTest {
  public:
    virtual ~IQDLQTest();
    virtual IQDLQTest *Clone() const = 0;  // a deep copy; NULL when memory is short
    virtual void Negate() = 0;             // becomes its own opposite
    virtual bool Matches() = 0;            // the engine's current object passes
    // Adds the objects that pass to result; false when the test cannot be
    // answered as a set (result may then hold part of an answer).
    virtual bool Select(QDLQObjectSet &result) = 0;

    static void *operator new(size_t size) noexcept;  // NULL when memory is short
    static void operator delete(void *block) noexcept;
};

// AND, OR, NAND or NOR over an ordered list of owned child tests. Another code
// is kept but makes Matches and Select false.
class ZARN_API QDLQCompoundTest : public IQDLQTest {
  public:
    explicit QDLQCompoundTest(int32_t op);
    ~QDLQCompoundTest() override;
    QDLQCompoundTest(const QDLQCompoundTest &) = delete;
    QDLQCompoundTest &operator=(const QDLQCompoundTest &) = delete;

    IQDLQTest *Clone() const override;
    void Negate() override;  // AND and NAND swap, OR and NOR swap
    // In order, stopping at the first child that decides; false with no child.
    bool Matches() override;
    // AND: the intersection of the children's sets; OR: their union, added
    // straight into result; true and nothing added with no child; false for
    // NAND, NOR, or when a child cannot select.
    bool Select(QDLQObjectSet &result) override;

    int32_t Operator() const { return op_; }
    bool SetOperator(int32_t op);  // false, and unchanged, for a code other than 6-9
    int32_t Count() const { return count_; }
    IQDLQTest *TestAt(int32_t i) const;  // from 0; NULL when out of range
    // Appends and takes ownership; false (the caller keeps test) for NULL, for
    // the compound itself, or when memory is short.
    bool AddTest(IQDLQTest *test);

  private:
    int32_t op_;
    int32_t count_;
    int32_t capacity_;
    IQDLQTest **tests_;
};

// Implemented by a query engine: builds the leaf tests of a query while it is
// parsed. The operations occupy the first slots of the virtual table in this
// order. The name, the literal and its text stay the parser's: the engine may
// change them in place (to upper-case a text, say) but must copy what it
// keeps; the parser frees them after the call. A create operation that cannot
// build its test returns NULL after writing a NUL-terminated message of at most
// QDLQ_ERROR_BUFFER_SIZE bytes into error; the parse then stops and hands that
// message to ReportError.
class ZARN_API IQDLQueryParserCallback {
  public:
    // name op literal, op one of QDLQ_EQ ... QDLQ_GE.
    virtual IQDLQTest *CreateTest(char *name, int32_t op, QDLQLiteral &literal, char *error) = 0;
    // name(literal); a call without argument passes an empty TEXT literal.
    virtual IQDLQTest *CreateFunctionTest(char *name, QDLQLiteral &literal, char *error) = 0;
    // Why the parse failed: a syntax error, the create operation's message, ...
    virtual void ReportError(const char *message) = 0;

  protected:
    ~IQDLQueryParserCallback() = default;
};

#endif
