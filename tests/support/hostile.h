// Hostile-caller tables: each row makes one call with extreme arguments and
// says what the caller gets back, as "result|history text|assertion texts".
#ifndef ZARN_TESTS_SUPPORT_HOSTILE_H
#define ZARN_TESTS_SUPPORT_HOSTILE_H

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <regex>
#include <string>
#include <vector>

#include "capture.h"

namespace zarn::test {

struct HostileRow {
    const char *call;                  // the call as a caller would write it
    std::function<std::string()> run;  // makes it; returns what the caller sees
    std::string expect;                // "result|history|A(text)..."
};

// A text result as the caller sees it.
inline std::string shown(const char *s) { return s != nullptr ? std::string(s) : std::string("NULL"); }

// The parts joined in the order written: braced lists are evaluated left to
// right, so a row may make several calls in sequence.
inline std::string seq(std::initializer_list<std::string> parts) {
    std::string out;
    for (const std::string &p : parts) out += p;
    return out;
}

// Runs every row with the history device and standard error captured.
// Assertion lines are shown as A(text); their source names and lines are
// checked by each module's message table.
inline void run_hostile(const std::vector<HostileRow> &rows) {
    static const std::regex sanitizer_note("==[0-9]+==WARNING: AddressSanitizer failed to allocate[^\n]*\n");
    static const std::regex assertion("Assertion '([^\n]*?)' failed in [^:\n]*:[0-9]+\n");
    HistoryCapture his;
    for (const HostileRow &row : rows) {
        std::string got;
        {
            StderrCapture err;
            got = row.run();
            // A sanitizer's note on a refused allocation is not the library's output.
            const std::string text = std::regex_replace(err.text(), sanitizer_note, "");
            got += "|" + his.text() + "|" + std::regex_replace(text, assertion, "A($1)");
        }
        EXPECT_EQ(got, row.expect) << row.call;
    }
}

}  // namespace zarn::test

#endif
