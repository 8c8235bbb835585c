// Each test gets a freshly built table; table, defaults and history device are put back.
#ifndef ZARN_TESTS_RTUOM_UOM_FIXTURE_H
#define ZARN_TESTS_RTUOM_UOM_FIXTURE_H

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "capture.h"
#include "rtuom/uomcatalog.h"
#include "zarnutils/rtuom.h"

namespace zarn::test {

class UomTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::copy_n(rtouom_default_uom, RTOUOM_NTYPES, saved_defaults_);
        RTOUOM_RESET_UOM_F();
    }
    void TearDown() override {
        RTOUOM_RESET_UOM_F();
        std::copy_n(saved_defaults_, RTOUOM_NTYPES, rtouom_default_uom);
    }
    HistoryCapture history_;
    int saved_defaults_[RTOUOM_NTYPES] = {};
};

// Every type's count, default and entries, and where probe maps: equal digests, unchanged table.
inline std::string uom_digest(const char *probe) {
    std::string d;
    for (int t = 0; t < RTOUOM_NTYPES; ++t) {
        d += std::to_string(rtouom_count[t]) + "," + std::to_string(rtouom_default_uom[t]) + ":";
        for (const rtouom_entry *e = rtouom_table[t]; e < rtouom_table[t] + rtouom_count[t]; ++e)
            d += e->name + std::to_string(e->multiplier) + std::to_string(e->offset) + ",";
    }
    int p = -1, u = -1;
    rtouom_locate2(probe, &p, &u);
    return d + std::to_string(p) + "/" + std::to_string(u);
}

// A result as text: numbers, "quoted" or null strings, a/b pairs.
inline std::string show(const std::string &s) { return s; }
inline std::string show(const char *s) { return s != nullptr ? std::string("\"") + s + "\"" : "null"; }
template <class N>
std::string show(N v) {
    return std::to_string(v);
}
template <class A, class B>
std::string show(std::pair<A, B> p) {
    return show(p.first) + "/" + show(p.second);
}

// The common result of f over vs, or "!=" and every result when they differ.
template <class T, class F>
std::string each(const std::vector<T> &vs, F f) {
    std::vector<std::string> r;
    std::string all = "!=";
    for (T v : vs) {
        r.push_back(show(f(v)));
        all += " " + r.back();
    }
    return std::count(r.begin(), r.end(), r[0]) == static_cast<std::ptrdiff_t>(r.size()) ? r[0] : all;
}

// What rtouom_<fn> reports refusing each value of vs in turn as a type ('T') or a unit index.
inline std::string says(const char *fn, char what, const std::vector<int> &vs) {
    std::string s;
    for (int v : vs)
        s += std::string("!! rtouom_") + fn + (what == 'T' ? ": Physical type" : ": Unit index") +
             " is out of bounds (" + std::to_string(v) + ").\n";
    return s;
}

// A named check: a body, the result it returns through show ("-" for none), the exact history text it
// writes (a '*' stands for the rest of its line). Given values, the body runs on each, as in each().
// The table stays as it was unless `changes`.
struct Row {
    template <class F>
    Row(const char *name, F body, std::string result, std::string history, bool changes = false)
        : name(name), result(result), history(history), changes(changes) {
        run = [body] {
            if constexpr (std::is_void_v<decltype(body())>) {
                body();
                return std::string("-");
            } else {
                return show(body());
            }
        };
    }
    template <class T, class F>
    Row(const char *name, const std::vector<T> &values, F body, std::string result, std::string history)
        : name(name), run([values, body] { return each(values, body); }), result(result), history(history) {}

    const char *name;
    std::function<std::string()> run;
    std::string result, history;
    bool changes = false;
};

// The history text with the rest of the line after a '*' in want replaced by that '*'.
inline std::string starred(const std::string &said, const std::string &want) {
    const size_t star = want.find('*');
    if (star == std::string::npos) return said;
    const size_t end = said.find('\n', std::min(star, said.size()));
    if (end == std::string::npos) return said;
    return said.substr(0, star) + "*" + said.substr(end);
}

// Each row on a fresh table; a failure names the row and what differed.
template <size_t N>
void run_rows(const Row (&rows)[N], HistoryCapture &history) {
    for (const Row &row : rows) {
        RTOUOM_RESET_UOM_F();
        const std::string before = uom_digest("PSIG");
        const std::string result = row.run();
        const std::string said = history.text();
        EXPECT_EQ(result, row.result) << row.name << ": result";
        EXPECT_EQ(starred(said, row.history), row.history) << row.name << ": history text";
        if (!row.changes) {
            const bool unchanged = uom_digest("PSIG") == before;  // the digest is too long to print
            EXPECT_TRUE(unchanged) << row.name << ": table changed";
        }
    }
}

}  // namespace zarn::test

#endif
