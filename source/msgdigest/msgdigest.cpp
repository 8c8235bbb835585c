// The platform's three-step MD5, backed by libcrypto's EVP interface.
#include <openssl/evp.h>

#include <cstring>

#include "platform/zassert.h"
#include "zarnutils/msgdigest.h"

static_assert(sizeof(zarn_md5_ctx_t) == 104, "the MD5 context keeps the platform's size");

namespace {
constexpr const char *kSource = "source/msgdigest/msgdigest";
}

extern "C" {

void MD5Init(zarn_md5_ctx_t *ctx) {
    if (ctx == nullptr) return;
    std::memset(ctx, 0, sizeof *ctx);
    EVP_MD_CTX *md = EVP_MD_CTX_new();
    if (md == nullptr || EVP_DigestInit_ex(md, EVP_md5(), nullptr) != 1) {
        zarn::assert_report("msgdigest::MD5Init  Could not locate function MD5Init in libcrypto", kSource, __LINE__);
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
