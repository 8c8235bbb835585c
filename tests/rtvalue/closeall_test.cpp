// Closing every file stream of the library under the pipes that hold them.
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "zarnutils/rtopipe.h"
#include "zarnutils/rtvalue.h"

namespace {

TEST(CloseAllFiles, ClosesFileStreamsAndLeavesTheirPipesSafe) {
    std::string a = testing::TempDir() + "closeall_a.txt", b = testing::TempDir() + "closeall_b.txt";
    rtopipe *pa = create_ascii_stream_rtopipe(std::fopen(a.c_str(), "w"), a.c_str(), 1);
    rtopipe *pb = create_binary_stream_rtopipe(std::fopen(b.c_str(), "w+"), b.c_str(), 1);
    rtopipe *po = create_ascii_stream_rtopipe(stdout, "stdout", 0);  // a standard stream is never closed
    ASSERT_TRUE(pa && pb && po);
    ASSERT_EQ(rtowritestr(pa, "kept\n"), 1);

    EXPECT_EQ(value_close_all_files_opened_by_rtvalue(), 2);
    EXPECT_EQ(value_close_all_files_opened_by_rtvalue(), 0);  // nothing left open

    // The text written before the close reached the file; the pipes now refuse
    // writes, read as ended, and are destroyed without closing twice.
    char buf[16] = {};
    FILE *f = std::fopen(a.c_str(), "r");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(std::fread(buf, 1, sizeof buf - 1, f), 5u);
    std::fclose(f);
    EXPECT_STREQ(buf, "kept\n");
    EXPECT_NE(rtowritestr(pa, "lost"), 1);
    EXPECT_EQ(rtoread(pb, buf, sizeof buf), 0);
    EXPECT_NE(rtostatus(pb), 0);
    rtodestroy(pa);
    rtodestroy(pb);
    rtodestroy(po);
    std::remove(a.c_str());
    std::remove(b.c_str());
}

}  // namespace
