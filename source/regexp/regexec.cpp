// Matcher of compiled regular-expression programs.
//
// Backtracking runs on an explicit stack of choice points instead of
// recursion, so a long subject cannot overflow the machine stack. Group
// positions are set on the way forward and restored from the same stack when
// a choice is undone. Whether the rest of a match succeeds from a given node
// and subject position depends on nothing else, so once a search has taken
// many steps, failed (node, position) pairs are remembered in a bit set and
// never explored twice; this keeps pathological patterns polynomial.
#include <cstdlib>
#include <cstring>

#include "platform/xalloc.h"
#include "regexp/regexp_internal.h"

namespace zarn::regexp {
namespace {

// Steps after which failed states start being remembered.
constexpr unsigned long kMemoAfter = 1UL << 15;
// Largest remembered-state bit set (bits); bigger searches go without.
constexpr std::size_t kMemoMaxBits = std::size_t{1} << 28;

struct Frame {
    enum Kind : uint8_t { kAlternative, kRepeat, kRestore, kFailed };
    Kind kind;
    uint8_t slot;         // kRestore: 0-9 startp, 10-19 endp
    const uint8_t *node;  // kAlternative: next BRANCH; kRepeat: STAR/PLUS; kFailed: node
    const char *pos;      // subject position (kRestore: the old value)
    std::size_t count;    // kRepeat: next repeat count to try
    std::size_t min;      // kRepeat: fewest repeats allowed
};

// Growable stack kept between calls so that matching does not allocate.
class FrameStack {
  public:
    ~FrameStack() { std::free(data_); }
    void clear() { size_ = 0; }
    bool empty() const { return size_ == 0; }
    Frame pop() { return data_[--size_]; }
    bool push(const Frame &f) {
        if (size_ == capacity_ && !grow()) return false;
        data_[size_++] = f;
        return true;
    }

  private:
    bool grow() {
        std::size_t cap = capacity_ == 0 ? 256 : capacity_ * 2;
        void *mem = zarn::xrealloc(data_, cap * sizeof(Frame));
        if (mem == nullptr) return false;
        data_ = static_cast<Frame *>(mem);
        capacity_ = cap;
        return true;
    }
    Frame *data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

thread_local FrameStack t_stack;

enum Result { kNoMatch = 0, kMatch = 1, kError = -1 };

class Matcher {
  public:
    Matcher(hs_regexp *prog, const char *subject, bool notbol)
        : prog_(prog), program_(program_of(prog)), bol_(subject), notbol_(notbol) {}
    ~Matcher() {
        if (memo_ != nullptr) std::free(memo_);
    }

    // Tries the program with the match starting at `start`.
    Result try_at(const char *start) {
        if (stack_ != nullptr) stack_->clear();
        Result r = run(program_ + 1, start);
        if (r == kMatch) prog_->startp[0] = start;
        return r;
    }

  private:
    hs_regexp *prog_;
    const uint8_t *program_;
    const char *bol_;
    const char *eos_ = nullptr;    // end of the subject, found when first needed
    bool notbol_;                  // "^" matches nowhere
    FrameStack *stack_ = nullptr;  // this thread's stack, looked up when first needed
    unsigned long steps_ = 0;
    bool memo_tried_ = false;
    uint64_t *memo_ = nullptr;
    std::size_t memo_width_ = 0;  // program bytes: one row per subject position

    const char **slot_ref(uint8_t slot) {
        return slot < HS_NSUBEXP ? &prog_->startp[slot] : &prog_->endp[slot - HS_NSUBEXP];
    }

    bool push(const Frame &f) {
        if (stack_ == nullptr) {
            stack_ = &t_stack;
            stack_->clear();  // a successful search leaves its frames behind
        }
        return stack_->push(f);
    }

    const char *end() {
        if (eos_ == nullptr) eos_ = bol_ + std::strlen(bol_);
        return eos_;
    }

    Result error(const char *text) {
        set_error(text);
        return kError;
    }

    void start_memo() {
        memo_tried_ = true;
        std::size_t width = program_length(program_, static_cast<std::size_t>(kMaxProgram));
        std::size_t rows = static_cast<std::size_t>(end() - bol_) + 1;
        if (width == 0 || rows > kMemoMaxBits / width) return;
        std::size_t words = (width * rows + 63) / 64;
        memo_ = static_cast<uint64_t *>(zarn::xcalloc(words, sizeof(uint64_t)));
        memo_width_ = width;
    }

    std::size_t memo_index(const uint8_t *node, const char *pos) const {
        return static_cast<std::size_t>(pos - bol_) * memo_width_ + static_cast<std::size_t>(node - program_);
    }

    // With remembering on: true when (node, pos) is known to fail; otherwise
    // pushes the marker that records its failure when it is popped.
    bool known_failure(const uint8_t *node, const char *pos, bool &oom) {
        if (memo_ == nullptr) return false;
        std::size_t i = memo_index(node, pos);
        if ((memo_[i / 64] >> (i % 64)) & 1U) return true;
        if (!push(Frame{Frame::kFailed, 0, node, pos, 0, 0})) oom = true;
        return false;
    }

    // How many times the simple node matches from pos; SIZE_MAX on a bad node.
    static std::size_t repeat_count(const uint8_t *node, const char *pos, const char *eos) {
        const char *s = pos;
        const char *set = reinterpret_cast<const char *>(operand_of(node));
        switch (op_of(node)) {
            case ANY:
                return static_cast<std::size_t>(eos - pos);
            case EXACTLY:
                while (*s == *set && *s != '\0') ++s;
                break;
            case ANYOF:
                while (*s != '\0' && std::strchr(set, *s) != nullptr) ++s;
                break;
            case ANYBUT:
                while (*s != '\0' && std::strchr(set, *s) == nullptr) ++s;
                break;
            default:
                return SIZE_MAX;
        }
        return static_cast<std::size_t>(s - pos);
    }

    // Largest repeat count k in [min, from] after which the continuation can
    // start; false when there is none.
    static bool viable_count(const uint8_t *rep, const char *pos, std::size_t from, std::size_t min,
                             std::size_t &k) {
        const uint8_t *cont = next_node(rep);
        if (cont == nullptr || op_of(cont) != EXACTLY) {
            k = from;
            return from >= min;
        }
        char first = static_cast<char>(*operand_of(cont));
        for (std::size_t i = from + 1; i > min; --i) {
            if (pos[i - 1] == first) {
                k = i - 1;
                return true;
            }
        }
        return false;
    }

    Result run(const uint8_t *p, const char *s) {
        bool oom = false;
        for (;;) {
            if (p == nullptr) return error(msg::kCorruptedPointers);
            if (++steps_ > kMemoAfter && !memo_tried_) start_memo();
            const uint8_t *next = next_node(p);
            uint8_t op = op_of(p);
            switch (op) {
                case END:
                    prog_->endp[0] = s;
                    return kMatch;
                case BOL:
                    if (s != bol_ || notbol_) goto fail;
                    break;
                case EOL:
                    if (*s != '\0') goto fail;
                    break;
                case WORDA:
                    if (!is_word_char(static_cast<unsigned char>(*s))) goto fail;
                    if (s != bol_ && is_word_char(static_cast<unsigned char>(s[-1]))) goto fail;
                    break;
                case WORDZ:
                    if (is_word_char(static_cast<unsigned char>(*s))) goto fail;
                    break;
                case ANY:
                    if (*s == '\0') goto fail;
                    ++s;
                    break;
                case EXACTLY: {
                    const char *lit = reinterpret_cast<const char *>(operand_of(p));
                    if (*lit != *s) goto fail;
                    while (*lit != '\0') {
                        if (*lit != *s) goto fail;
                        ++lit;
                        ++s;
                    }
                    break;
                }
                case ANYOF:
                case ANYBUT: {
                    if (*s == '\0') goto fail;
                    bool in = std::strchr(reinterpret_cast<const char *>(operand_of(p)), *s) != nullptr;
                    if (in != (op == ANYOF)) goto fail;
                    ++s;
                    break;
                }
                case NOTHING:
                case BACK:
                    break;
                case BRANCH:
                    if (next != nullptr && op_of(next) == BRANCH) {
                        if (known_failure(p, s, oom)) goto fail;
                        if (oom || !push(Frame{Frame::kAlternative, 0, next, s, 0, 0})) {
                            return error(msg::kOutOfSpace);
                        }
                    }
                    next = operand_of(p);
                    break;
                case STAR:
                case PLUS: {
                    std::size_t min = op == PLUS ? 1 : 0;
                    if (known_failure(p, s, oom)) goto fail;
                    if (oom) return error(msg::kOutOfSpace);
                    std::size_t n =
                        repeat_count(operand_of(p), s, op_of(operand_of(p)) == ANY ? end() : nullptr);
                    if (n == SIZE_MAX) return error(msg::kInternalFoulup);
                    std::size_t k = 0;
                    if (n < min || !viable_count(p, s, n, min, k)) goto fail;
                    if (k > min && !push(Frame{Frame::kRepeat, 0, p, s, k - 1, min})) {
                        return error(msg::kOutOfSpace);
                    }
                    s += k;
                    break;
                }
                default: {
                    uint8_t slot;
                    if (op > OPEN && op < OPEN + HS_NSUBEXP) {
                        slot = static_cast<uint8_t>(op - OPEN);
                    } else if (op > CLOSE && op < CLOSE + HS_NSUBEXP) {
                        slot = static_cast<uint8_t>(op - CLOSE + HS_NSUBEXP);
                    } else {
                        return error(msg::kMemoryCorruption);
                    }
                    const char **ref = slot_ref(slot);
                    if (!push(Frame{Frame::kRestore, slot, nullptr, *ref, 0, 0})) {
                        return error(msg::kOutOfSpace);
                    }
                    *ref = s;
                    break;
                }
            }
            p = next;
            continue;

        fail:
            for (;;) {
                if (stack_ == nullptr || stack_->empty()) return kNoMatch;
                Frame f = stack_->pop();
                if (f.kind == Frame::kRestore) {
                    *slot_ref(f.slot) = f.pos;
                } else if (f.kind == Frame::kFailed) {
                    std::size_t i = memo_index(f.node, f.pos);
                    memo_[i / 64] |= uint64_t{1} << (i % 64);
                } else if (f.kind == Frame::kAlternative) {
                    p = f.node;
                    s = f.pos;
                    break;
                } else {
                    std::size_t k = 0;
                    if (!viable_count(f.node, f.pos, f.count, f.min, k)) continue;
                    if (k > f.min && !push(Frame{Frame::kRepeat, 0, f.node, f.pos, k - 1, f.min})) {
                        return error(msg::kOutOfSpace);
                    }
                    p = next_node(f.node);
                    s = f.pos + k;
                    break;
                }
            }
        }
    }
};

}  // namespace
}  // namespace zarn::regexp

namespace zarn::regexp {

int exec_from(hs_regexp *prog, const char *subject, const char *from, bool notbol) {
    if (prog == nullptr || subject == nullptr || from == nullptr) {
        set_error(msg::kNullParameter);
        return 0;
    }
    if (program_of(prog)[0] != HS_REGEXP_MAGIC) {
        set_error(msg::kCorruptedProgram);
        return 0;
    }
    if (prog->regmust != nullptr && std::strstr(from, prog->regmust) == nullptr) return 0;
    for (int i = 0; i < HS_NSUBEXP; ++i) prog->startp[i] = prog->endp[i] = nullptr;

    Matcher m(prog, subject, notbol);
    if (prog->reganch != 0) return from == subject && !notbol && m.try_at(subject) == kMatch ? 1 : 0;
    if (prog->regstart != 0) {
        for (const char *s = std::strchr(from, prog->regstart); s != nullptr;
             s = std::strchr(s + 1, prog->regstart)) {
            Result r = m.try_at(s);
            if (r != kNoMatch) return r == kMatch ? 1 : 0;
        }
        return 0;
    }
    for (const char *s = from;; ++s) {
        Result r = m.try_at(s);
        if (r != kNoMatch) return r == kMatch ? 1 : 0;
        if (*s == '\0') return 0;
    }
}

}  // namespace zarn::regexp

extern "C" ZARN_API int hs_regexec(hs_regexp *prog, const char *subject) {
    return zarn::regexp::exec_from(prog, subject, subject, false);
}
