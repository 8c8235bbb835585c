// Raising to handler frames, and the uncaught-exception abort.
#include <gtest/gtest.h>

#include "zarnutils/except.h"

namespace {

const CII_Except_T kFirst = {"first failure"};
const CII_Except_T kSecond = {"second failure"};
const CII_Except_T kNoReason = {nullptr};

void raise_first() { CII_Except_raise(&kFirst, "here.c", 12); }

TEST(Except, HandlerReceivesExceptionFileAndLine) {
    volatile int handled = 0;
    CII_Except_Frame *before = CII_Except_stack;
    ZARN_TRY
        raise_first();
    ZARN_EXCEPT(kFirst)
        handled = 1;
        EXPECT_STREQ(zarn_except_frame_.file, "here.c");
        EXPECT_EQ(zarn_except_frame_.line, 12);
        EXPECT_EQ(CII_Except_stack, before);  // the frame was popped by the raise
    ZARN_END_TRY;
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(CII_Except_stack, before);
}

TEST(Except, NormalExitPopsFrameAndUnmatchedGoesOutward) {
    CII_Except_Frame *before = CII_Except_stack;
    volatile int body = 0, inner = 0, outer = 0, other = 0;
    ZARN_TRY
        ZARN_TRY
            body = 1;
        ZARN_EXCEPT(kFirst)
            inner = 1;
        ZARN_END_TRY;
        ZARN_TRY
            CII_Except_raise(&kSecond, nullptr, 0);
        ZARN_EXCEPT(kFirst)
            inner = 1;
        ZARN_END_TRY;
    ZARN_EXCEPT(kFirst)
        outer = 1;
    ZARN_ELSE
        other = 1;
        EXPECT_EQ(zarn_except_frame_.exception, &kSecond);
    ZARN_END_TRY;
    EXPECT_EQ(body, 1);
    EXPECT_EQ(inner, 0);
    EXPECT_EQ(outer, 0);
    EXPECT_EQ(other, 1);
    EXPECT_EQ(CII_Except_stack, before);
}

using ExceptDeathTest = ::testing::Test;

TEST_F(ExceptDeathTest, UncaughtRaiseAbortsWithReasonAndPlace) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(CII_Except_raise(&kFirst, "alloc.c", 42),
                 "^Uncaught exception first failure raised at alloc\\.c:42\naborting\\.\\.\\.\n$");
    // Without a file, no "raised at" part; without a reason, the address.
    EXPECT_DEATH(CII_Except_raise(&kFirst, nullptr, 7), "^Uncaught exception first failure\\s*aborting\\.\\.\\.\n$");
    EXPECT_DEATH(CII_Except_raise(&kNoReason, "x.c", 0), "^Uncaught exception at 0x0x[0-9a-f]+aborting\\.\\.\\.\n$");
}

}  // namespace
