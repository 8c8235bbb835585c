// A fixture that gives each test a freshly built units table and puts the
// table, its defaults and the history device back afterwards.
#ifndef ZARN_TESTS_RTUOM_UOM_FIXTURE_H
#define ZARN_TESTS_RTUOM_UOM_FIXTURE_H

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "capture.h"
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

}  // namespace zarn::test

#endif
