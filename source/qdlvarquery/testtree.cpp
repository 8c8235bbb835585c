// The nodes of the test tree that do not depend on an engine: the test
// interface's allocation, compound tests and the sets that Select fills.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/xalloc.h"
#include "zarnutils/qdlvarquery.hpp"

namespace {

bool is_logic(int32_t op) { return op >= QDLQ_AND && op <= QDLQ_NOR; }

// The next capacity for at least n entries of a growing array, or 0 when it
// cannot grow (the byte count must fit in size_t and the count in int32_t).
int32_t grown(int32_t capacity, int32_t n) {
    if (n <= capacity) return capacity;
    int64_t want = capacity < 4 ? 4 : static_cast<int64_t>(capacity) * 2;
    if (want < n) want = n;
    if (want > INT32_MAX) want = INT32_MAX;
    return static_cast<int32_t>(want);
}

}  // namespace

// Object sets.

QDLQObjectSet::QDLQObjectSet() : numbers_(nullptr), count_(0), capacity_(0) {}
QDLQObjectSet::~QDLQObjectSet() { std::free(numbers_); }

bool QDLQObjectSet::Reserve(int32_t n) {
    if (n <= capacity_) return true;
    const int32_t want = grown(capacity_, n);
    auto *p = static_cast<int32_t *>(zarn::xrealloc(numbers_, static_cast<size_t>(want) * sizeof(int32_t)));
    if (p == nullptr) return false;
    numbers_ = p, capacity_ = want;
    return true;
}

int32_t QDLQObjectSet::At(int32_t i) const { return i >= 0 && i < count_ ? numbers_[i] : 0; }

bool QDLQObjectSet::Contains(int32_t number) const {
    return std::binary_search(numbers_, numbers_ + count_, number);
}

bool QDLQObjectSet::Insert(int32_t number) {
    // Numbers met in ascending order (a scan of a column) go to the end at once.
    if (count_ == 0 || numbers_[count_ - 1] < number) {
        if (count_ == INT32_MAX || !Reserve(count_ + 1)) return false;
        numbers_[count_++] = number;
        return true;
    }
    int32_t *at = std::lower_bound(numbers_, numbers_ + count_, number);
    if (at != numbers_ + count_ && *at == number) return true;
    const ptrdiff_t k = at - numbers_;
    if (count_ == INT32_MAX || !Reserve(count_ + 1)) return false;
    std::memmove(numbers_ + k + 1, numbers_ + k, static_cast<size_t>(count_ - k) * sizeof(int32_t));
    numbers_[k] = number;
    ++count_;
    return true;
}

bool QDLQObjectSet::InsertAll(const QDLQObjectSet &other) {
    if (&other == this || other.count_ == 0) return true;
    // Merged into a new block, so that a failure leaves this set as it was.
    const int64_t most = static_cast<int64_t>(count_) + other.count_;
    const int32_t cap = most > INT32_MAX ? INT32_MAX : static_cast<int32_t>(most);
    auto *merged = static_cast<int32_t *>(zarn::xmalloc(static_cast<size_t>(cap) * sizeof(int32_t)));
    if (merged == nullptr) return false;
    int32_t *end =
        std::set_union(numbers_, numbers_ + count_, other.numbers_, other.numbers_ + other.count_, merged);
    std::free(numbers_);
    numbers_ = merged, capacity_ = cap, count_ = static_cast<int32_t>(end - merged);
    return true;
}

void QDLQObjectSet::KeepCommon(const QDLQObjectSet &other) {
    if (&other == this) return;
    int32_t *end = std::set_intersection(numbers_, numbers_ + count_, other.numbers_,
                                         other.numbers_ + other.count_, numbers_);
    count_ = static_cast<int32_t>(end - numbers_);
}

void QDLQObjectSet::Clear() { count_ = 0; }

void QDLQObjectSet::swap(QDLQObjectSet &other) {
    std::swap(numbers_, other.numbers_);
    std::swap(count_, other.count_);
    std::swap(capacity_, other.capacity_);
}

// The test interface.

IQDLQTest::~IQDLQTest() = default;

void *IQDLQTest::operator new(size_t size) noexcept { return zarn::xmalloc(size); }
void IQDLQTest::operator delete(void *block) noexcept { std::free(block); }

// Compound tests.

QDLQCompoundTest::QDLQCompoundTest(int32_t op) : op_(op), count_(0), capacity_(0), tests_(nullptr) {}

QDLQCompoundTest::~QDLQCompoundTest() {
    for (int32_t i = 0; i < count_; ++i) delete tests_[i];
    std::free(tests_);
}

IQDLQTest *QDLQCompoundTest::Clone() const {
    auto *copy = new QDLQCompoundTest(op_);
    if (copy == nullptr) return nullptr;
    for (int32_t i = 0; i < count_; ++i) {
        IQDLQTest *child = tests_[i]->Clone();
        if (child == nullptr || !copy->AddTest(child)) {
            delete child;
            delete copy;
            return nullptr;
        }
    }
    return copy;
}

void QDLQCompoundTest::Negate() {
    switch (op_) {
        case QDLQ_AND:
            op_ = QDLQ_NAND;
            break;
        case QDLQ_NAND:
            op_ = QDLQ_AND;
            break;
        case QDLQ_OR:
            op_ = QDLQ_NOR;
            break;
        case QDLQ_NOR:
            op_ = QDLQ_OR;
            break;
        default:
            break;
    }
}

bool QDLQCompoundTest::Matches() {
    if (count_ == 0 || !is_logic(op_)) return false;
    for (int32_t i = 0; i < count_; ++i) {
        const bool passes = tests_[i]->Matches();
        switch (op_) {
            case QDLQ_AND:
                if (!passes) return false;
                break;
            case QDLQ_OR:
                if (passes) return true;
                break;
            case QDLQ_NAND:
                if (!passes) return true;
                break;
            default:  // QDLQ_NOR
                if (passes) return false;
                break;
        }
    }
    // No child decided: AND and NOR pass, OR and NAND do not.
    return op_ == QDLQ_AND || op_ == QDLQ_NOR;
}

bool QDLQCompoundTest::Select(QDLQObjectSet &result) {
    if (count_ == 0) return true;
    if (op_ == QDLQ_OR) {
        for (int32_t i = 0; i < count_; ++i)
            if (!tests_[i]->Select(result)) return false;
        return true;
    }
    if (op_ != QDLQ_AND) return false;
    QDLQObjectSet working, next;
    if (!tests_[0]->Select(working)) return false;
    for (int32_t i = 1; i < count_ && working.Count() > 0; ++i) {
        next.Clear();
        if (!tests_[i]->Select(next)) return false;
        working.KeepCommon(next);
    }
    return result.InsertAll(working);
}

bool QDLQCompoundTest::SetOperator(int32_t op) {
    if (!is_logic(op)) return false;
    op_ = op;
    return true;
}

IQDLQTest *QDLQCompoundTest::TestAt(int32_t i) const { return i >= 0 && i < count_ ? tests_[i] : nullptr; }

bool QDLQCompoundTest::AddTest(IQDLQTest *test) {
    if (test == nullptr || test == this || count_ == INT32_MAX) return false;
    if (count_ == capacity_) {
        const int32_t want = grown(capacity_, count_ + 1);
        auto *p = static_cast<IQDLQTest **>(
            zarn::xrealloc(tests_, static_cast<size_t>(want) * sizeof(IQDLQTest *)));
        if (p == nullptr) return false;
        tests_ = p, capacity_ = want;
    }
    tests_[count_++] = test;
    return true;
}
