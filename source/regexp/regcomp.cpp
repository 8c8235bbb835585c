// Compiler of regular expressions into node programs.
//
// The pattern is parsed twice by the same recursive-descent code: the first
// pass only counts bytes, so that the record can be allocated at its exact
// size; the second writes the nodes. Errors are found by the first pass.
#include <cstdlib>
#include <cstring>

#include "platform/xalloc.h"
#include "regexp/regexp_internal.h"

namespace zarn::regexp {
namespace {

// What a parsed piece can do, used to refuse empty repeats and to choose
// fast repeat nodes and the `regmust` hint.
enum Flag : int {
    kWorst = 0,     // nothing known
    kHasWidth = 1,  // never matches the empty string
    kSimple = 2,    // one character wide: fit for STAR and PLUS
    kSpStart = 4,   // begins with "*" or "?"
};

constexpr const char *kMeta = "^$.[()|?+*\\";

inline bool is_repeat(char c) { return c == '*' || c == '+' || c == '?'; }

class Compiler {
  public:
    Compiler(const char *pattern, uint8_t *code) : parse_(pattern), code_(code) {}

    // Parses the whole pattern; false after an error (error text set).
    bool run(int &flags) {
        emit_byte(HS_REGEXP_MAGIC);
        return parse_alternatives(false, flags) >= 0;
    }
    long size() const { return size_; }

  private:
    const char *parse_;  // current position in the pattern
    int groups_ = 1;     // next group number
    uint8_t *code_;      // program under construction; nullptr while measuring
    long size_ = 0;      // bytes emitted (or counted) so far

    long fail(const char *text) {
        set_error(text);
        return -1;
    }

    void emit_byte(uint8_t c) {
        if (code_ != nullptr) code_[size_] = c;
        ++size_;
    }

    long emit_node(uint8_t op) {
        long at = size_;
        if (code_ != nullptr) {
            code_[at] = op;
            code_[at + 1] = 0;
            code_[at + 2] = 0;
        }
        size_ += kNodeSize;
        return at;
    }

    // Puts a node in front of the operand that starts at `at`; nothing links
    // into that operand yet, so the shift breaks no offset.
    void insert_node(uint8_t op, long at) {
        if (code_ != nullptr) {
            std::memmove(code_ + at + kNodeSize, code_ + at, static_cast<std::size_t>(size_ - at));
            code_[at] = op;
            code_[at + 1] = 0;
            code_[at + 2] = 0;
        }
        size_ += kNodeSize;
    }

    // Links the last node of the chain starting at `node` to `target`.
    void set_tail(long node, long target) {
        if (code_ == nullptr) return;
        long scan = node;
        for (const uint8_t *n = next_node(code_ + scan); n != nullptr; n = next_node(code_ + scan)) {
            scan = n - code_;
        }
        long off = op_of(code_ + scan) == BACK ? scan - target : target - scan;
        code_[scan + 1] = static_cast<uint8_t>((off >> 8) & 0xff);
        code_[scan + 2] = static_cast<uint8_t>(off & 0xff);
    }

    // For a BRANCH node, links the tail of its operand chain to `target`.
    void set_operand_tail(long node, long target) {
        if (code_ == nullptr || op_of(code_ + node) != BRANCH) return;
        set_tail(node + static_cast<long>(kNodeSize), target);
    }

    // pattern: branch ("|" branch)*, inside a group when `group` is true.
    long parse_alternatives(bool group, int &flags) {
        flags = kHasWidth;
        long head = -1;
        int number = 0;
        if (group) {
            if (groups_ >= HS_NSUBEXP) return fail(msg::kTooManyGroups);
            number = groups_++;
            head = emit_node(static_cast<uint8_t>(OPEN + number));
        }
        for (;;) {
            int bflags = 0;
            long branch = parse_branch(bflags);
            if (branch < 0) return -1;
            if (head >= 0) {
                set_tail(head, branch);
            } else {
                head = branch;
            }
            if ((bflags & kHasWidth) == 0) flags &= ~kHasWidth;
            flags |= bflags & kSpStart;
            if (*parse_ != '|') break;
            ++parse_;
        }
        long ender = emit_node(group ? static_cast<uint8_t>(CLOSE + number) : static_cast<uint8_t>(END));
        set_tail(head, ender);
        if (code_ != nullptr) {
            for (long b = head;;) {
                set_operand_tail(b, ender);
                const uint8_t *n = next_node(code_ + b);
                if (n == nullptr) break;
                b = n - code_;
            }
        }
        if (group) {
            if (*parse_ != ')') return fail(msg::kUnmatchedParen);
            ++parse_;
        } else if (*parse_ != '\0') {
            return fail(*parse_ == ')' ? msg::kUnmatchedParen : msg::kJunkOnEnd);
        }
        return head;
    }

    // branch: piece*, always headed by a BRANCH node.
    long parse_branch(int &flags) {
        flags = kWorst;
        long head = emit_node(BRANCH);
        long chain = -1;
        while (*parse_ != '\0' && *parse_ != '|' && *parse_ != ')') {
            int pflags = 0;
            long latest = parse_piece(pflags);
            if (latest < 0) return -1;
            flags |= pflags & kHasWidth;
            if (chain < 0) {
                flags |= pflags & kSpStart;
            } else {
                set_tail(chain, latest);
            }
            chain = latest;
        }
        if (chain < 0) emit_node(NOTHING);
        return head;
    }

    // piece: atom optionally followed by one repetition operator.
    long parse_piece(int &flags) {
        int aflags = 0;
        long atom = parse_atom(aflags);
        if (atom < 0) return -1;
        char op = *parse_;
        if (!is_repeat(op)) {
            flags = aflags;
            return atom;
        }
        if ((aflags & kHasWidth) == 0 && op != '?') return fail(msg::kEmptyOperand);
        flags = op != '+' ? (kWorst | kSpStart) : (kWorst | kHasWidth);

        if (op == '*' && (aflags & kSimple) != 0) {
            insert_node(STAR, atom);
        } else if (op == '*') {
            // x* as (x BACK | NOTHING): loop while x matches.
            insert_node(BRANCH, atom);
            set_operand_tail(atom, emit_node(BACK));
            set_operand_tail(atom, atom);
            set_tail(atom, emit_node(BRANCH));
            set_tail(atom, emit_node(NOTHING));
        } else if (op == '+' && (aflags & kSimple) != 0) {
            insert_node(PLUS, atom);
        } else if (op == '+') {
            // x+ as x (BACK | NOTHING): one x, then loop.
            long loop = emit_node(BRANCH);
            set_tail(atom, loop);
            set_tail(emit_node(BACK), atom);
            set_tail(loop, emit_node(BRANCH));
            set_tail(atom, emit_node(NOTHING));
        } else {
            // x? as (x | NOTHING).
            insert_node(BRANCH, atom);
            set_tail(atom, emit_node(BRANCH));
            long empty = emit_node(NOTHING);
            set_tail(atom, empty);
            set_operand_tail(atom, empty);
        }
        ++parse_;
        if (is_repeat(*parse_)) return fail(msg::kNestedRepeat);
        return atom;
    }

    long parse_set() {
        long node;
        if (*parse_ == '^') {
            node = emit_node(ANYBUT);
            ++parse_;
        } else {
            node = emit_node(ANYOF);
        }
        int prev = -1;
        if (*parse_ == ']' || *parse_ == '-') {
            prev = static_cast<unsigned char>(*parse_);
            emit_byte(static_cast<uint8_t>(*parse_++));
        }
        while (*parse_ != '\0' && *parse_ != ']') {
            if (*parse_ != '-') {
                prev = static_cast<unsigned char>(*parse_);
                emit_byte(static_cast<uint8_t>(*parse_++));
                continue;
            }
            ++parse_;
            if (*parse_ == ']' || *parse_ == '\0') {
                prev = '-';
                emit_byte('-');
                continue;
            }
            // The start of the range is already in the set.
            int hi = static_cast<unsigned char>(*parse_);
            if (prev > hi) return fail(msg::kInvalidRange);
            for (int c = prev + 1; c <= hi; ++c) emit_byte(static_cast<uint8_t>(c));
            prev = hi;
            ++parse_;
        }
        if (*parse_ != ']') return fail(msg::kUnmatchedBracket);
        ++parse_;
        emit_byte(0);
        return node;
    }

    long parse_atom(int &flags) {
        flags = kWorst;
        char c = *parse_;
        if (c == '\0' || c == '|' || c == ')') return fail(msg::kInternalUrp);
        ++parse_;
        switch (c) {
            case '^':
                return emit_node(BOL);
            case '$':
                return emit_node(EOL);
            case '.':
                flags = kHasWidth | kSimple;
                return emit_node(ANY);
            case '[':
                flags = kHasWidth | kSimple;
                return parse_set();
            case '(': {
                int gflags = 0;
                long node = parse_alternatives(true, gflags);
                if (node < 0) return -1;
                flags = gflags & (kHasWidth | kSpStart);
                return node;
            }
            case '?':
            case '+':
            case '*':
                return fail(msg::kRepeatFollowsNothing);
            case '\\': {
                char e = *parse_;
                if (e == '\0') return fail(msg::kTrailingBackslash);
                ++parse_;
                if (e == '<') return emit_node(WORDA);
                if (e == '>') return emit_node(WORDZ);
                flags = kHasWidth | kSimple;
                long node = emit_node(EXACTLY);
                emit_byte(static_cast<uint8_t>(e));
                emit_byte(0);
                return node;
            }
            default: {
                --parse_;
                std::size_t len = std::strcspn(parse_, kMeta);
                // A repeat applies to the last character of a run alone.
                if (len > 1 && is_repeat(parse_[len])) --len;
                flags = kHasWidth | (len == 1 ? kSimple : 0);
                long node = emit_node(EXACTLY);
                for (std::size_t i = 0; i < len; ++i) emit_byte(static_cast<uint8_t>(*parse_++));
                emit_byte(0);
                return node;
            }
        }
    }
};

// Sets regstart, reganch and regmust from the finished program.
void set_hints(hs_regexp *prog, int flags) {
    prog->regstart = 0;
    prog->reganch = 0;
    prog->regmust = nullptr;
    prog->regmlen = 0;
    const uint8_t *scan = program_of(prog) + 1;  // first top-level BRANCH
    const uint8_t *after = next_node(scan);
    if (after == nullptr || op_of(after) != END) return;  // several alternatives
    scan = operand_of(scan);
    if (op_of(scan) == EXACTLY) {
        prog->regstart = static_cast<char>(*operand_of(scan));
    } else if (op_of(scan) == BOL) {
        prog->reganch = 1;
    }
    if ((flags & kSpStart) == 0) return;
    const char *longest = nullptr;
    std::size_t len = 0;
    for (; scan != nullptr; scan = next_node(scan)) {
        if (op_of(scan) != EXACTLY) continue;
        const char *text = reinterpret_cast<const char *>(operand_of(scan));
        std::size_t n = std::strlen(text);
        if (n >= len) {
            longest = text;
            len = n;
        }
    }
    prog->regmust = longest;
    prog->regmlen = static_cast<int32_t>(len);
}

}  // namespace

std::size_t program_length(const uint8_t *program, std::size_t limit) {
    if (limit < 1 || program[0] != HS_REGEXP_MAGIC) return 0;
    std::size_t at = 1;
    while (at + kNodeSize <= limit) {
        uint8_t op = program[at];
        bool known =
            op <= WORDZ || (op > OPEN && op < OPEN + HS_NSUBEXP) || (op > CLOSE && op < CLOSE + HS_NSUBEXP);
        if (!known) return 0;
        at += kNodeSize;
        if (op == END) return at;
        if (op == EXACTLY || op == ANYOF || op == ANYBUT) {
            const void *nul = std::memchr(program + at, 0, limit - at);
            if (nul == nullptr) return 0;
            at = static_cast<std::size_t>(static_cast<const uint8_t *>(nul) - program) + 1;
        }
    }
    return 0;
}

}  // namespace zarn::regexp

using namespace zarn::regexp;

extern "C" ZARN_API hs_regexp *hs_regcomp(const char *pattern) {
    if (pattern == nullptr) {
        set_error(msg::kNullArgument);
        return nullptr;
    }
    int flags = 0;
    Compiler measure(pattern, nullptr);
    if (!measure.run(flags)) return nullptr;
    if (measure.size() >= kMaxProgram) {
        set_error(msg::kTooBig);
        return nullptr;
    }
    std::size_t bytes = offsetof(hs_regexp, program) + static_cast<std::size_t>(measure.size());
    auto *prog = static_cast<hs_regexp *>(zarn::xmalloc(bytes));
    if (prog == nullptr) {
        set_error(msg::kOutOfSpace);
        return nullptr;
    }
    for (int i = 0; i < HS_NSUBEXP; ++i) prog->startp[i] = prog->endp[i] = nullptr;
    Compiler emit(pattern, program_of(prog));
    if (!emit.run(flags)) {  // cannot differ from the measuring pass
        std::free(prog);
        return nullptr;
    }
    set_hints(prog, flags);
    return prog;
}

extern "C" ZARN_API void hs_regfree(hs_regexp *prog) { std::free(prog); }

extern "C" ZARN_API hs_regexp *hs_regcopy(const hs_regexp *prog) {
    if (prog == nullptr) {
        set_error(msg::kNullArgument);
        return nullptr;
    }
    std::size_t len = program_length(program_of(prog), static_cast<std::size_t>(kMaxProgram));
    if (len == 0) {
        set_error(msg::kCorruptedProgram);
        return nullptr;
    }
    std::size_t bytes = offsetof(hs_regexp, program) + len;
    auto *copy = static_cast<hs_regexp *>(zarn::xmalloc(bytes));
    if (copy == nullptr) {
        set_error(msg::kOutOfSpace);
        return nullptr;
    }
    std::memcpy(copy, prog, bytes);
    for (int i = 0; i < HS_NSUBEXP; ++i) copy->startp[i] = copy->endp[i] = nullptr;
    // regmust points into the program: move it to the copy's program.
    if (prog->regmust != nullptr) {
        auto from = reinterpret_cast<const uint8_t *>(prog->regmust) - program_of(prog);
        copy->regmust = reinterpret_cast<const char *>(program_of(copy) + from);
    }
    return copy;
}
