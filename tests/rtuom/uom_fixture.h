// Each test gets a freshly built table; table, defaults and history device are put back.
#ifndef ZARN_TESTS_RTUOM_UOM_FIXTURE_H
#define ZARN_TESTS_RTUOM_UOM_FIXTURE_H

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <string>
#include <utility>

#include "capture.h"
#include "rtuom/uomcatalog.h"
#include "zarnutils/rtuom.h"

namespace zarn::test {

class UomTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::copy(std::begin(rtouom_default_uom), std::end(rtouom_default_uom), saved_defaults_);
        RTOUOM_RESET_UOM_F();
    }
    void TearDown() override {
        RTOUOM_RESET_UOM_F();
        std::copy(std::begin(saved_defaults_), std::end(saved_defaults_), rtouom_default_uom);
    }

    HistoryCapture history_;

private:
    int saved_defaults_[RTOUOM_NTYPES] = {};
};

// Every type's count, default and entries, and where probe maps: equal digests, unchanged table.
inline std::string uom_digest(const char *probe) {
    std::string d;
    for (int t = 0; t < RTOUOM_NTYPES; ++t) {
        d += std::to_string(rtouom_count[t]) + "," + std::to_string(rtouom_default_uom[t]) + ":";
        for (int i = 0; i < rtouom_count[t]; ++i)
            d += std::string(rtouom_table[t][i].name) + std::to_string(rtouom_table[t][i].multiplier) +
                 std::to_string(rtouom_table[t][i].offset) + ",";
    }
    int p = -1, u = -1;
    rtouom_locate2(probe, &p, &u);
    return d + std::to_string(p) + "/" + std::to_string(u);
}

// A row of a call table: the call as written, what it gives back (through
// show), and the exact history text it writes (a trailing '*' matches a prefix).
struct Void {};
inline std::string show(Void) { return "-"; }
template <class N>
std::string show(N v) { return std::to_string(v); }
inline std::string show(const char *s) { return s != nullptr ? std::string("\"") + s + "\"" : "null"; }
template <class A, class B>
std::string show(std::pair<A, B> p) { return show(p.first) + "/" + show(p.second); }

struct Row {
    const char *call;
    std::function<std::string()> run;
    std::string result;
    std::string history;
    bool changes = false;  // the call may change the table
};

#define ROW(call, ...) ::zarn::test::Row{#call, [&] { return ::zarn::test::show(call); }, __VA_ARGS__}
#define V(call) ((call), ::zarn::test::Void{})

// The two bounds messages of fn, exactly as printed.
inline std::string type_bounds(const char *fn, long long v) {
    return std::string("!! ") + fn + ": Physical type is out of bounds (" + std::to_string(v) + ").\n";
}
inline std::string index_bounds(const char *fn, long long v) {
    return std::string("!! ") + fn + ": Unit index is out of bounds (" + std::to_string(v) + ").\n";
}

// Runs each row on a fresh table: result, history text, unchanged table unless the row says otherwise.
inline void run_rows(const Row *rows, size_t n, HistoryCapture &history) {
    for (size_t i = 0; i < n; ++i) {
        const Row &row = rows[i];
        SCOPED_TRACE(row.call);
        RTOUOM_RESET_UOM_F();
        const std::string before = uom_digest("PSIG");
        EXPECT_EQ(row.run(), row.result);
        const std::string said = history.text(), &want = row.history;
        if (!want.empty() && want.back() == '*') {
            EXPECT_EQ(said.rfind(want.substr(0, want.size() - 1), 0), 0u) << said.substr(0, 80);
            EXPECT_EQ(said.back(), '\n');
        } else {
            EXPECT_EQ(said, want);
        }
        if (!row.changes) {
            EXPECT_EQ(uom_digest("PSIG"), before);
        }
    }
}

}  // namespace zarn::test

#endif
