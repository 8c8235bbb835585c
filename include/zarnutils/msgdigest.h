/*
 * MD5 in three steps, as the host's platform offers it: MD5Init, any number of
 * MD5Update calls, then MD5Final, which leaves the digest at the end of the
 * context. Always finish a started context with MD5Final: it releases what
 * MD5Init took.
 */
#ifndef ZARNUTILS_MSGDIGEST_H
#define ZARNUTILS_MSGDIGEST_H

#include "zarnutils/zarn_api.h"

ZARN_BEGIN_DECLS

/* 104 bytes, ending in the 16-byte digest. */
typedef struct zarn_md5_ctx {
    void *impl;                 /* the running digest; NULL before MD5Init and after MD5Final */
    unsigned char reserved[80]; /* unused; keeps the platform's context size */
    unsigned char digest[16];   /* the result, valid after MD5Final */
} zarn_md5_ctx_t;

/* Starts a context; ctx may hold garbage. A context already started and not
   finished cannot be told from garbage: what it holds is lost. */
ZARN_API void MD5Init(zarn_md5_ctx_t *ctx);
/* Feeds length bytes; a context not started with MD5Init is left alone. */
ZARN_API void MD5Update(zarn_md5_ctx_t *ctx, const void *bytes, uint32_t length);
/* Writes the digest into ctx->digest and ends the context. */
ZARN_API void MD5Final(zarn_md5_ctx_t *ctx);

ZARN_END_DECLS

#endif
