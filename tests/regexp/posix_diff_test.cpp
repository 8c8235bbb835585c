// Match or no match must agree with the system's POSIX extended expressions
// on the syntax both share (no word anchors, no escapes).
#include <gtest/gtest.h>
#include <regex.h>

#include <cstdint>
#include <string>

#include "zarnutils/hsregexp.h"

namespace {

// Small deterministic generator so that a failure can be reproduced.
class Rng {
public:
    explicit Rng(uint64_t start) : state_(start) {}
    unsigned next(unsigned bound) {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<unsigned>((state_ >> 33) % bound);
    }

private:
    uint64_t state_;
};

std::string gen_set(Rng &rng) {
    std::string s = "[";
    if (rng.next(4) == 0) s += '^';
    int n = 1 + static_cast<int>(rng.next(3));
    for (int i = 0; i < n; ++i) {
        if (rng.next(4) == 0) {
            s += "a-c";
        } else {
            s += static_cast<char>('a' + rng.next(4));
        }
    }
    return s + "]";
}

std::string gen_pattern(Rng &rng, int depth, bool top);

std::string gen_atom(Rng &rng, int depth) {
    switch (rng.next(depth > 0 ? 8 : 6)) {
    case 0:
    case 1:
    case 2:
        return std::string(1, static_cast<char>('a' + rng.next(3)));
    case 3:
        return ".";
    case 4:
        return gen_set(rng);
    case 5:
        return std::string(1, "ab"[rng.next(2)]) + static_cast<char>('a' + rng.next(3));
    default:
        return "(" + gen_pattern(rng, depth - 1, false) + ")";
    }
}

// Anchors only at the ends of top-level branches: the system's matcher
// mishandles "^" inside repeated groups.
std::string gen_branch(Rng &rng, int depth, bool top) {
    std::string b;
    if (top && rng.next(8) == 0) b += '^';
    int pieces = 1 + static_cast<int>(rng.next(3));
    for (int i = 0; i < pieces; ++i) {
        b += gen_atom(rng, depth);
        unsigned r = rng.next(6);
        if (r == 0) b += '*';
        if (r == 1) b += '+';
        if (r == 2) b += '?';
    }
    if (top && rng.next(8) == 0) b += '$';
    return b;
}

std::string gen_pattern(Rng &rng, int depth, bool top) {
    std::string p = gen_branch(rng, depth, top);
    while (rng.next(4) == 0) p += "|" + gen_branch(rng, depth, top);
    return p;
}

TEST(RegexpPosix, AgreesOnGeneratedCorpus) {
    Rng rng(20240607);
    int compared = 0, matches = 0;
    for (int n = 0; n < 3000; ++n) {
        std::string pattern = gen_pattern(rng, 2, true);
        hs_regexp *ours = hs_regcomp(pattern.c_str());
        if (ours == nullptr) {
            // Only our refusals of empty repeats are expected.
            std::string err = hs_get_regerr();
            EXPECT_TRUE(err == "*+ operand could be empty" || err == "too many ()") << pattern << ": " << err;
            continue;
        }
        regex_t posix;
        ASSERT_EQ(regcomp(&posix, pattern.c_str(), REG_EXTENDED | REG_NOSUB), 0) << pattern;
        for (int k = 0; k < 25; ++k) {
            std::string subject;
            int len = static_cast<int>(rng.next(9));
            for (int i = 0; i < len; ++i) subject += static_cast<char>('a' + rng.next(4));
            int want = regexec(&posix, subject.c_str(), 0, nullptr, 0) == 0 ? 1 : 0;
            int got = hs_regexec(ours, subject.c_str());
            ASSERT_EQ(got, want) << "pattern " << pattern << " subject \"" << subject << "\"";
            ++compared;
            matches += got;
        }
        regfree(&posix);
        hs_regfree(ours);
    }
    // The corpus must exercise both outcomes in earnest.
    EXPECT_GT(compared, 40000);
    EXPECT_GT(matches, compared / 5);
    EXPECT_LT(matches, compared * 4 / 5);
}

}  // namespace
