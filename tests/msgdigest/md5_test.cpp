// MD5 against RFC 1321 vectors fed whole and byte by byte; NULL and out-of-order calls.
#include <gtest/gtest.h>
#include <string>
#include "zarnutils/msgdigest.h"
static std::string md5(const std::string &text, size_t piece) {
    zarn_md5_ctx_t c;
    MD5Init(&c);
    for (size_t at = 0; at < text.size(); at += piece)
        MD5Update(&c, text.data() + at, uint32_t(std::min(piece, text.size() - at)));
    MD5Update(&c, nullptr, UINT32_MAX);
    MD5Final(&c);
    MD5Final(&c);  // NULL bytes ignored; the digest stays after the end
    std::string h;
    for (unsigned char b : c.digest) {
        h += "0123456789abcdef"[b >> 4];
        h += "0123456789abcdef"[b & 15];
    }
    return h;
}
TEST(Md5, VectorsWholeAndByteByByteAndHostileCalls) {
    for (auto [text, digest] : {std::pair<std::string, std::string>{"", "d41d8cd98f00b204e9800998ecf8427e"},
                                {"abc", "900150983cd24fb0d6963f7d28e17f72"},
                                {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"}})
        EXPECT_EQ(md5(text, text.size() + 1) + md5(text, 1), digest + digest)
            << text;                                                  // whole, then byte by byte
    zarn_md5_ctx_t ctx{nullptr, {0x5a, 0x5b}, {0x5c}}, before = ctx;  // never started: left alone
    MD5Init(nullptr);
    MD5Update(nullptr, "x", UINT32_MAX);
    MD5Final(nullptr);
    MD5Update(&ctx, "abc", 3);
    MD5Final(&ctx);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(&ctx), sizeof ctx),
              std::string(reinterpret_cast<char *>(&before), sizeof ctx));
}
