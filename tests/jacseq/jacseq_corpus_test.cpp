// Replays every kept input of the Jacobian-sequence fuzz target: Jacobians,
// Hessians, equation lists and tag lists driven through call sequences with
// extreme arguments and checked against a model after every step.
#include <gtest/gtest.h>

#include "source_tree.h"

#define ZARN_FUZZ_CHECK(cond)       \
    do {                            \
        EXPECT_TRUE(cond) << #cond; \
    } while (0)
#include "../../fuzz/jacseq_one_input.h"

namespace {

TEST(JacobianSequenceFuzzCorpus, EveryKeptInputPasses) {
    zarn::fuzz::apiseq::quiet();
    EXPECT_GE(zarn::test::replay_corpus("jacseq", zarn::fuzz::jacseq::one_input), 8);
}

}  // namespace
