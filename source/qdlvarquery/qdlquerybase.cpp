// What the engines share outside the template: build-error texts, the
// run-time reports, number lists, word lookups and query literals as values.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "attrcat/attrcat.h"
#include "qdlvarquery/qdlquery_internal.h"
#include "rtopipe/report.h"

namespace zarn::qdlvarquery {

IQDLQTest *refuse(char *error, const char *format, ...) {
    va_list ap;
    va_start(ap, format);
    std::vsnprintf(error, QDLQ_ERROR_BUFFER_SIZE, format, ap);
    va_end(ap);
    return nullptr;
}

void print_error(const char *message) {
    if (message == nullptr) return;
    const size_t n = std::strlen(message);
    zarn::rtopipe::report("%s%s", message, n > 0 && message[n - 1] == '\n' ? "" : "\n");
}

void report_run(const char *message) { zarn::rtopipe::report("%s", message); }

bool same_text(const char *a, const char *b) {
    for (;; ++a, ++b) {
        const unsigned char x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
        const unsigned char ux = x >= 'a' && x <= 'z' ? x - 'a' + 'A' : x;
        const unsigned char uy = y >= 'a' && y <= 'z' ? y - 'a' + 'A' : y;
        if (ux != uy) return false;
        if (x == '\0') return true;
    }
}

bool word_code(const attrcat::WordTable *words, const char *word, int32_t &code) {
    if (words == nullptr || word == nullptr) return false;
    // Every word of the tables is shorter than this; a longer one matches none.
    char upper[64];
    const size_t n = std::strlen(word);
    if (n >= sizeof upper) return false;
    for (size_t k = 0; k <= n; ++k)
        upper[k] = (word[k] >= 'a' && word[k] <= 'z') ? word[k] - 'a' + 'A' : word[k];
    const rtvar_keyword *k = attrcat::find(words->accepted, upper, n);
    if (k == nullptr) return false;
    code = k->code;
    return true;
}

const attrcat::RecordAttribute *record_attribute(const attrcat::RecordAttribute *table, int count,
                                                 int32_t id) {
    for (int k = 0; k < count; ++k)
        if (table[k].id == id) return &table[k];
    return nullptr;
}

int32_t record_id(const attrcat::Vocabulary &names, const char *name) {
    return name != nullptr ? attrcat::code_of(names, name, std::strlen(name), 0) : 0;
}

int kind_letter(attrcat::QKind kind) {
    switch (kind) {
        case attrcat::QKind::Real:
            return QDL_KIND_REAL;
        case attrcat::QKind::Text:
            return QDL_KIND_TEXT;
        case attrcat::QKind::Integer:
            return QDL_KIND_INTEGER;
        case attrcat::QKind::Enumeration:
            return QDL_KIND_ENUM;
        case attrcat::QKind::Value:
            return QDL_KIND_VALUE;
        default:
            return QDL_KIND_NONE;
    }
}

bool literal_value(const QDLQLiteral &literal, value_t &out) {
    switch (literal.kind) {
        case QDLQLiteral::BOOLEAN:
            value_assign_logical(&out, literal.boolean);
            return true;
        case QDLQLiteral::INTEGER:
            value_assign_int(&out, literal.integer);
            return true;
        case QDLQLiteral::REAL:
            value_assign_double(&out, literal.real, 0, 0);
            return true;
        case QDLQLiteral::TEXT:
            return literal.text != nullptr && value_assign_copy_of_string(&out, literal.text) != nullptr;
        default:
            return false;
    }
}

// Number lists.

NumberList::~NumberList() { std::free(items_); }

bool NumberList::Reserve(int32_t n) {
    if (n <= capacity_) return true;
    int64_t want = capacity_ < 16 ? 16 : static_cast<int64_t>(capacity_) * 2;
    if (want < n) want = n;
    if (want > INT32_MAX) want = INT32_MAX;
    auto *p = static_cast<int32_t *>(zarn::xrealloc(items_, static_cast<size_t>(want) * sizeof(int32_t)));
    if (p == nullptr) return false;
    items_ = p;
    capacity_ = static_cast<int32_t>(want);
    return true;
}

void NumberList::DropSorted(const NumberList &sorted) {
    int32_t kept = 0;
    for (int32_t k = 0; k < count_; ++k)
        if (!sorted.ContainsSorted(items_[k])) items_[kept++] = items_[k];
    count_ = kept;
}

bool NumberList::Assign(int32_t count, const int32_t *numbers) {
    if (count < 0) return false;
    if (count > 0) {
        auto *p = static_cast<int32_t *>(zarn::xmalloc(static_cast<size_t>(count) * sizeof(int32_t)));
        if (p == nullptr) return false;
        std::memcpy(p, numbers, static_cast<size_t>(count) * sizeof(int32_t));
        std::free(items_);
        items_ = p;
        capacity_ = count;
    }
    count_ = count;
    return true;
}

bool NumberList::SortedCopyOf(const NumberList &other) {
    if (!Assign(other.count_, other.items_)) return false;
    std::sort(items_, items_ + count_);
    return true;
}

bool NumberList::ContainsSorted(int32_t n) const { return std::binary_search(items_, items_ + count_, n); }

bool NumberList::Ascending() const { return std::is_sorted(items_, items_ + count_); }

bool NumberList::InsertInOrder(const NumberList &adds) {
    if (adds.count_ == 0) return true;
    const int64_t total = static_cast<int64_t>(count_) + adds.count_;
    if (total > INT32_MAX) return false;
    auto *merged = static_cast<int32_t *>(zarn::xmalloc(static_cast<size_t>(total) * sizeof(int32_t)));
    if (merged == nullptr) return false;
    if (Ascending() && adds.Ascending()) {
        std::merge(items_, items_ + count_, adds.items_, adds.items_ + adds.count_, merged);
    } else {
        // One at a time, before the first greater item: what an insertion
        // into a list kept in order does, also when the list is not.
        std::memcpy(merged, items_, static_cast<size_t>(count_) * sizeof(int32_t));
        int32_t n = count_;
        for (int32_t k = 0; k < adds.count_; ++k) {
            const int32_t x = adds.items_[k];
            int32_t at = 0;
            while (at < n && merged[at] <= x) ++at;
            std::memmove(merged + at + 1, merged + at, static_cast<size_t>(n - at) * sizeof(int32_t));
            merged[at] = x;
            ++n;
        }
    }
    std::free(items_);
    items_ = merged;
    count_ = capacity_ = static_cast<int32_t>(total);
    return true;
}

void NumberList::KeepFlagged(const unsigned char *flags) {
    int32_t kept = 0;
    for (int32_t k = 0; k < count_; ++k)
        if (flags[k] != 0) items_[kept++] = items_[k];
    count_ = kept;
}

bool NumberList::KeepFirstOfEach() {
    if (count_ < 2) return true;
    NumberList sorted;
    if (!sorted.SortedCopyOf(*this)) return false;
    if (std::adjacent_find(sorted.items_, sorted.items_ + count_) == sorted.items_ + count_) return true;
    // Repeats are rare (a candidate list that names an object twice): flag
    // each number's first place through a set of the numbers seen.
    auto *flags = static_cast<unsigned char *>(zarn::xmalloc(static_cast<size_t>(count_)));
    if (flags == nullptr) return false;
    QDLQObjectSet seen;
    for (int32_t k = 0; k < count_; ++k) {
        flags[k] = seen.Contains(items_[k]) ? 0 : 1;
        if (flags[k] != 0 && !seen.Insert(items_[k])) {
            std::free(flags);
            return false;
        }
    }
    KeepFlagged(flags);
    std::free(flags);
    return true;
}

}  // namespace zarn::qdlvarquery
