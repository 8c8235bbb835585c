// A fixture that gives each test a freshly built units table and puts the
// table, its defaults and the history device back afterwards.
#ifndef ZARN_TESTS_RTUOM_UOM_FIXTURE_H
#define ZARN_TESTS_RTUOM_UOM_FIXTURE_H

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>

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

// Counts, names, multipliers and offsets of every type, the defaults, and
// where probe maps: equal digests mean an unchanged table.
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

}  // namespace zarn::test

#endif
