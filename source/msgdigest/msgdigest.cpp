// The platform's three-step MD5, backed by libcrypto's EVP interface.
#include <openssl/evp.h>

#include <cstring>

#include "msgdigest/msgdigest_messages.h"
#include "platform/zassert.h"
#include "zarnutils/msgdigest.h"

static_assert(sizeof(zarn_md5_ctx_t) == 104, "the MD5 context keeps the platform's size");

namespace msg = zarn::msgdigest::msg;

extern "C" {

void MD5Init(zarn_md5_ctx_t *ctx) {
    if (ctx == nullptr) return;
    std::memset(ctx, 0, sizeof *ctx);
    EVP_MD_CTX *md = EVP_MD_CTX_new();
    const bool started = md != nullptr && EVP_DigestInit_ex(md, EVP_md5(), nullptr) == 1;
    ZARN_ASSERT(started, msg::kNoInit, msg::kSource);
    if (!started) {
        EVP_MD_CTX_free(md);
        return;
    }
    ctx->impl = md;
}

void MD5Update(zarn_md5_ctx_t *ctx, const void *bytes, uint32_t length) {
    if (ctx == nullptr || ctx->impl == nullptr || (bytes == nullptr && length > 0)) return;
    EVP_DigestUpdate(static_cast<EVP_MD_CTX *>(ctx->impl), bytes, length);
}

void MD5Final(zarn_md5_ctx_t *ctx) {
    if (ctx == nullptr || ctx->impl == nullptr) return;
    auto *md = static_cast<EVP_MD_CTX *>(ctx->impl);
    unsigned int n = 0;
    EVP_DigestFinal_ex(md, ctx->digest, &n);
    EVP_MD_CTX_free(md);
    ctx->impl = nullptr;
}

}  // extern "C"
