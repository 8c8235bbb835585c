// MD5 wrappers against the RFC 1321 test suite.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "zarnutils/msgdigest.h"

namespace {

std::string hex(const unsigned char *d) {
    char out[33];
    for (int i = 0; i < 16; ++i) std::snprintf(out + 2 * i, 3, "%02x", d[i]);
    return out;
}

std::string md5_in_pieces(const std::string &text, size_t piece) {
    zarn_md5_ctx_t ctx;
    MD5Init(&ctx);
    for (size_t at = 0; at < text.size(); at += piece)
        MD5Update(&ctx, text.data() + at, static_cast<uint32_t>(std::min(piece, text.size() - at)));
    MD5Final(&ctx);
    EXPECT_EQ(ctx.impl, nullptr);
    return hex(ctx.digest);
}

TEST(Md5, Rfc1321VectorsWholeAndInPieces) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto &[text, digest] : cases) {
        EXPECT_EQ(md5_in_pieces(text, text.size() + 1), digest) << text;
        EXPECT_EQ(md5_in_pieces(text, 1), digest) << text;
        EXPECT_EQ(md5_in_pieces(text, 7), digest) << text;
    }
}

TEST(Md5, UnstartedOrFinishedContextIsLeftAlone) {
    zarn_md5_ctx_t ctx;
    std::memset(&ctx, 0, sizeof ctx);
    MD5Update(&ctx, "abc", 3);  // never started: nothing happens
    MD5Final(&ctx);
    EXPECT_EQ(hex(ctx.digest), std::string(32, '0'));
    MD5Init(&ctx);
    MD5Update(&ctx, "abc", 3);
    MD5Final(&ctx);
    MD5Final(&ctx);             // a second Final keeps the digest
    MD5Update(&ctx, "x", 1);
    EXPECT_EQ(hex(ctx.digest), "900150983cd24fb0d6963f7d28e17f72");
    MD5Init(nullptr);
    MD5Update(nullptr, "x", 1);
    MD5Final(nullptr);
}

}  // namespace
