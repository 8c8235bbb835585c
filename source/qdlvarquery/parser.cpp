// Parsing a query: the process-wide state of the running parse, the parse
// entry, the keyword preprocessing, the scanner's number conversions and the
// actions that build the tree.
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <locale.h>

#include "platform/xalloc.h"
#include "qdlquery_parse.hpp"
#include "qdlvarquery/parser_core.h"
#include "qdlvarquery/qdlvarquery_internal.h"
#include "qdlvarquery/qdlvarquery_messages.h"
#include "zarnutils/stred.h"

int zqllex();

namespace zarn::qdlvarquery {

namespace {

// Longer texts do not fit the scanner's int lengths.
constexpr size_t kMaxText = INT_MAX / 2;

// The running parse: one at a time in the process.
struct State {
    IQDLQueryParserCallback *callback = nullptr;
    QDLQCompoundTest *root = nullptr;  // set when the whole text was read
    bool busy = false;
    bool out_of_memory = false;  // a token text or the parser stack could not be had
};

State g;

void report(const char *message) {
    try {
        g.callback->ReportError(message);
    } catch (...) {
        // The engine's own failure while reporting; the parse fails anyway.
    }
}

locale_t c_locale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

// The number in text (NUL-terminated), read the same in every locale.
double read_real(const char *text) {
    const locale_t c = c_locale();
    return c != static_cast<locale_t>(nullptr) ? strtod_l(text, nullptr, c) : std::strtod(text, nullptr);
}

// Calls one of the callback's create operations. The name and an owned
// literal are freed afterwards whatever happened; the engine is given its own
// copy of the literal record so that what it does to the record cannot change
// what is freed.
template <class Create>
IQDLQTest *create(char *name, QDLQLiteral *literal, bool owned, Create make) {
    char error[QDLQ_ERROR_BUFFER_SIZE];
    error[0] = '\0';
    QDLQLiteral given = *literal;
    IQDLQTest *test = nullptr;
    bool threw = false;
    try {
        test = make(name, given, error);
    } catch (...) {
        threw = true;
    }
    std::free(name);
    if (owned) free_literal(literal);
    if (test == nullptr) {
        error[sizeof error - 1] = '\0';
        report(threw ? msg::kEngineFailed : error);
    }
    return test;
}

}  // namespace

// Scanner side.

char *scan_text(const char *text, size_t len) {
    auto *copy = static_cast<char *>(zarn::xmalloc(len + 1));
    if (copy == nullptr) {
        g.out_of_memory = true;
        return nullptr;
    }
    std::memcpy(copy, text, len);
    copy[len] = '\0';
    return copy;
}

size_t name_length(const char *text) {
    size_t n = 0;
    while (text[n] != ' ' && text[n] != '\t' && text[n] != '(' && text[n] != '\0') ++n;
    return n;
}

void scan_integer(QDLQLiteral *out, const char *text, size_t len) {
    const char *p = text;
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') ++p;
    int64_t v = 0;
    for (; p < text + len; ++p) {
        v = v * 10 + (*p - '0');
        if (v > static_cast<int64_t>(INT32_MAX) + 1) break;
    }
    if (negative) v = -v;
    if (p == text + len && v >= INT32_MIN && v <= INT32_MAX) {
        out->kind = QDLQLiteral::INTEGER;
        out->integer = static_cast<int32_t>(v);
        return;
    }
    out->kind = QDLQLiteral::REAL;
    out->real = read_real(text);
}

void scan_real(QDLQLiteral *out, char *text, size_t len) {
    for (size_t k = 0; k < len; ++k) {
        if (text[k] == 'd' || text[k] == 'D') {
            text[k] = text[k] == 'd' ? 'e' : 'E';
            break;
        }
    }
    out->kind = QDLQLiteral::REAL;
    out->real = read_real(text);
}

// Parser side.

void *stack_alloc(size_t n) {
    void *p = zarn::xmalloc(n);
    if (p == nullptr) g.out_of_memory = true;
    return p;
}

void stack_free(void *p) { std::free(p); }

void syntax_error(const char *what) {
    if (g.out_of_memory) {
        report(msg::kNoMemory);
    } else if (std::strcmp(what, "memory exhausted") == 0) {
        report(msg::kStackOverflow);  // the stack reached its largest size
    } else {
        report(msg::kParseError);
    }
}

IQDLQTest *comparison(char *name, int32_t op, QDLQLiteral *literal) {
    return create(name, literal, true, [op](char *n, QDLQLiteral &l, char *error) {
        return g.callback->CreateTest(n, op, l, error);
    });
}

IQDLQTest *function(char *name, QDLQLiteral *literal) {
    // Without an argument the engine sees an empty text.
    char empty[1] = {'\0'};
    QDLQLiteral none;
    none.kind = QDLQLiteral::TEXT;
    none.text = empty;
    QDLQLiteral *argument = literal != nullptr ? literal : &none;
    return create(name, argument, literal != nullptr, [](char *n, QDLQLiteral &l, char *error) {
        return g.callback->CreateFunctionTest(n, l, error);
    });
}

QDLQCompoundTest *single(IQDLQTest *test) {
    auto *term = new QDLQCompoundTest(QDLQ_AND);
    if (term == nullptr || !term->AddTest(test)) {
        delete term;
        delete test;
        report(msg::kNoMemory);
        return nullptr;
    }
    return term;
}

QDLQCompoundTest *join(QDLQCompoundTest *left, int32_t op, QDLQCompoundTest *right) {
    // A single test (plain or in parentheses) takes the operator that follows it.
    if (left->Count() == 1 && left->Operator() == QDLQ_AND) left->SetOperator(op);
    if (left->Operator() == op) {
        if (left->AddTest(right)) return left;
        delete left;
        delete right;
        report(msg::kNoMemory);
        return nullptr;
    }
    auto *both = new QDLQCompoundTest(op);
    if (both != nullptr && both->AddTest(left)) {
        if (both->AddTest(right)) return both;
        delete both;  // and left with it
    } else {
        delete both;
        delete left;
    }
    delete right;
    report(msg::kNoMemory);
    return nullptr;
}

bool word_literal(char *word, QDLQLiteral *out) {
    if (word[0] != '%' && word[0] != '/' && stred_is_glob(word) != nullptr) {
        char *pattern = stred_glob_to_regexp(word);
        std::free(word);
        if (pattern == nullptr) {
            report(msg::kNoMemory);
            return false;
        }
        word = pattern;
    }
    out->kind = QDLQLiteral::TEXT;
    out->text = word;
    return true;
}

QDLQLiteral text_literal(char *text) {
    QDLQLiteral l;
    l.kind = QDLQLiteral::TEXT;
    l.text = text;
    return l;
}

void free_literal(QDLQLiteral *literal) {
    if (literal->kind == QDLQLiteral::TEXT) {
        std::free(literal->text);
        literal->text = nullptr;
    }
}

void accept_tree(QDLQCompoundTest *root) { g.root = root; }

// Entries.

IQDLQTest *parse(IQDLQueryParserCallback *callback, const char *text) {
    if (callback == nullptr) return nullptr;
    if (g.busy) {
        try {
            callback->ReportError(msg::kBusy);
        } catch (...) {
        }
        return nullptr;
    }
    g = State{};
    g.callback = callback;
    g.busy = true;
    // The scanner reads a copy ending in the two NUL bytes it wants.
    const size_t len = text != nullptr ? std::strlen(text) : 0;
    char *buffer = len <= kMaxText ? static_cast<char *>(zarn::xmalloc(len + 2)) : nullptr;
    QDLQCompoundTest *root = nullptr;
    if (len > kMaxText) {
        report(msg::kTooLong);
    } else if (buffer == nullptr) {
        report(msg::kNoMemory);
    } else {
        if (len > 0) std::memcpy(buffer, text, len);
        buffer[len] = buffer[len + 1] = '\0';
        if (!scanner_open(buffer, len + 2)) {
            report(msg::kNoMemory);
        } else {
            // The whole query may be reduced before what follows it turns out
            // wrong; that tree is the parser's to delete.
            if (zqlparse() == 0) {
                root = g.root;
            } else {
                delete g.root;
            }
            scanner_close();
        }
    }
    std::free(buffer);
    g = State{};
    return root;
}

char *preprocess(const char *text) {
    if (text == nullptr) return nullptr;
    char *copy = zarn::xstrdup(text);
    if (copy == nullptr) return nullptr;
    static const char *const kLower[] = {"and ", "or ", "not "};
    static const char *const kUpper[] = {"AND ", "OR ", "NOT "};
    for (int k = 0; k < 3; ++k) {
        const size_t n = std::strlen(kLower[k]);
        for (char *at = std::strstr(copy, kLower[k]); at != nullptr; at = std::strstr(at + n, kLower[k]))
            std::memcpy(at, kUpper[k], n);
    }
    return copy;
}

IQDLQTest *parse_query_text(IQDLQueryParserCallback *callback, const char *text) {
    if (callback == nullptr || text == nullptr || text[0] == '\0') return nullptr;
    char *copy = preprocess(text);
    if (copy == nullptr) {
        try {
            callback->ReportError(msg::kNoMemory);
        } catch (...) {
        }
        return nullptr;
    }
    IQDLQTest *root = parse(callback, copy);
    std::free(copy);
    return root;
}

long scan_only(const char *text) {
    if (text == nullptr || g.busy) return -1;
    const size_t len = std::strlen(text);
    if (len > kMaxText) return -1;
    auto *buffer = static_cast<char *>(zarn::xmalloc(len + 2));
    if (buffer == nullptr) return -1;
    std::memcpy(buffer, text, len);
    buffer[len] = buffer[len + 1] = '\0';
    long tokens = -1;
    if (scanner_open(buffer, len + 2)) {
        tokens = 0;
        for (int t = zqllex(); t != 0; t = zqllex()) {
            if (t == ZQL_NOMEM) {
                tokens = -1;
                break;
            }
            if (t == ZQL_NAME || t == ZQL_FUNCTION || t == ZQL_WORD || t == ZQL_TEXT) std::free(zqllval.text);
            ++tokens;
        }
        scanner_close();
    }
    std::free(buffer);
    g.out_of_memory = false;
    return tokens;
}

}  // namespace zarn::qdlvarquery
