#include <gtest/gtest.h>
#include "zarnutils/gllist.h"
TEST(GlList, Placeholder) { gl_list_t *l = gl_create(); EXPECT_EQ(gl_length(l), 0u); gl_destroylist(l); }
