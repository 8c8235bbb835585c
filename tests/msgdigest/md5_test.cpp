// MD5 against the RFC 1321 suite, fed whole and in pieces of 1 and 7 bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "zarnutils/msgdigest.h"

namespace {

std::string md5(const std::string &text, size_t piece) {
    zarn_md5_ctx_t ctx;
    MD5Init(&ctx);
    for (size_t at = 0; at < text.size(); at += piece) MD5Update(&ctx, text.data() + at, static_cast<uint32_t>(std::min(piece, text.size() - at)));
    MD5Final(&ctx);
    char hex[33];
    for (int i = 0; i < 16; ++i) std::snprintf(hex + 2 * i, 3, "%02x", ctx.digest[i]);
    return hex;
}

TEST(Md5, Rfc1321VectorsWholeAndInPieces) {
    const std::pair<std::string, std::string> cases[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"}, {"a", "0cc175b9c0f1b6a831c399e269772661"}, {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890", "57edf4a22be3c955ac49da2e2107b67a"}};
    for (const auto &[text, digest] : cases)
        for (size_t piece : {text.size() + 1, size_t{1}, size_t{7}}) EXPECT_EQ(md5(text, piece), digest) << text << " by " << piece;
}

}  // namespace
