// Replays every kept input of the API-sequence fuzz target: dictionaries and
// variable lists driven through call sequences with extreme arguments.
#include <gtest/gtest.h>

#include "source_tree.h"

#define ZARN_FUZZ_CHECK(cond) EXPECT_TRUE(cond) << #cond
#include "../../fuzz/apiseq_one_input.h"

namespace {

TEST(ApiSequenceFuzzCorpus, EveryKeptInputPasses) {
    zarn::fuzz::apiseq::quiet();
    EXPECT_GE(zarn::test::replay_corpus("apiseq", zarn::fuzz::apiseq::one_input), 8);
}

}  // namespace
