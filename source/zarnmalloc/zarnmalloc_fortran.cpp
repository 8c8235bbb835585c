// The upper-case Fortran twins of the zarnmalloc entry points: each dereferences its
// arguments, converts text fields and calls the C function.
#include "zarnutils/zarnmalloc.h"
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "platform/checked.h"
#include "platform/fargs.h"
#include "platform/packtext.h"
#include "platform/xalloc.h"
#include "rtopipe/report.h"
#include "zarnmalloc/zarnmalloc_internal.h"
#include "zarnmalloc/zarnmalloc_messages.h"

using namespace zarn::zarnmalloc;
using zarn::fortran::deref;
using zarn::rtopipe::report;

ZARN_FORTRAN(int64_t, RTO_MALLOC_INIT, rto_malloc_init_, (double *d, int64_t *i, char *c, size_t c_len)) {
    const uintptr_t da = addr(d), ia = addr(i), ca = addr(c);
    if ((g_double_anchor != 0 && g_double_anchor != da) || (g_int_anchor != 0 && g_int_anchor != ia) ||
        (g_char_anchor != 0 && g_char_anchor != ca)) {
        for (const char *text : msg::kInitTwice) report("%s", text);
        return 1;
    }
    g_double_anchor = da;
    g_int_anchor = ia;
    g_char_anchor = ca;
    ZARN_b0 = reinterpret_cast<double *>(da - 8u);
    ZARN_ib0 = reinterpret_cast<int64_t *>(ia - 8u);
    ZARN_cb0 = reinterpret_cast<char *>(ca - 1u);
    return 0;
}

ZARN_FORTRAN(int64_t, U3PLG_RTO_MALLOC_INIT, u3plg_rto_malloc_init_,
             (double *d, int64_t *i, char *c, size_t c_len)) {
    return RTO_MALLOC_INIT(d, i, c, c_len);
}

ZARN_FORTRAN(int64_t, FORTRAN_MALLOC_INIT, fortran_malloc_init_, (void)) {
    return RTO_MALLOC_INIT(ZARN_PLEX, reinterpret_cast<int64_t *>(ZARN_PLEX),
                           reinterpret_cast<char *>(ZARN_PLEX), 1);
}

ZARN_FORTRAN(int64_t, U3PLG_FORTRAN_MALLOC_INIT, u3plg_fortran_malloc_init_, (void)) {
    return FORTRAN_MALLOC_INIT();
}

ZARN_FORTRAN(int64_t, RTO_DMALLOC, rto_dmalloc_, (const int32_t *n)) {
    return dmalloc(Kind::Double, deref(n, int32_t{-1}));
}

ZARN_FORTRAN(int64_t, RTO_HUGEDMALLOC, rto_hugedmalloc_, (const int64_t *n)) {
    return dmalloc(Kind::HugeDouble, deref(n, int64_t{-1}));
}

ZARN_FORTRAN(int64_t, RTO_DREALLOC, rto_drealloc_, (const int64_t *p, const int32_t *n)) {
    return drealloc(Kind::Double, deref(p), deref(n, int32_t{-1}));
}

ZARN_FORTRAN(int64_t, RTO_HUGEDREALLOC, rto_hugedrealloc_, (const int64_t *p, const int64_t *n)) {
    return drealloc(Kind::HugeDouble, deref(p), deref(n, int64_t{-1}));
}

ZARN_FORTRAN(void, RTO_DFREE, rto_dfree_, (int64_t * p)) {
    if (p == nullptr || *p == 0) return;
    char *first = reinterpret_cast<char *>(element_addr(ZARN_b0, *p, 8u));
    std::free(first - static_cast<unsigned char>(first[-1]));
    *p = 0;
}

ZARN_FORTRAN(int64_t, RTO_IMALLOC, rto_imalloc_, (const int32_t *n)) {
    return imalloc(Kind::Int, deref(n, int32_t{-1}));
}

ZARN_FORTRAN(int64_t, RTO_HUGEIMALLOC, rto_hugeimalloc_, (const int64_t *n)) {
    return imalloc(Kind::HugeInt, deref(n, int64_t{-1}));
}

ZARN_FORTRAN(int64_t, RTO_IREALLOC, rto_irealloc_, (const int64_t *p, const int32_t *n)) {
    return irealloc(Kind::Int, deref(p), deref(n, int32_t{-1}));
}

ZARN_FORTRAN(int64_t, RTO_HUGEIREALLOC, rto_hugeirealloc_, (const int64_t *p, const int64_t *n)) {
    return irealloc(Kind::HugeInt, deref(p), deref(n, int64_t{-1}));
}

ZARN_FORTRAN(void, RTO_IFREE, rto_ifree_, (int64_t * p)) {
    if (p == nullptr || *p == 0) return;
    std::free(reinterpret_cast<void *>(element_addr(ZARN_ib0, *p, 8u)));
    *p = 0;
}

ZARN_FORTRAN(int64_t, RTO_CMALLOC, rto_cmalloc_, (const int32_t *n)) {
    return cmalloc(deref(n, int32_t{-1}));
}

ZARN_FORTRAN(int64_t, RTO_CREALLOC, rto_crealloc_, (const int64_t *p, const int32_t *n)) {
    return crealloc(deref(p), deref(n, int32_t{-1}));
}

ZARN_FORTRAN(void, RTO_CFREE, rto_cfree_, (int64_t * p)) {
    if (p == nullptr || *p == 0) return;
    std::free(reinterpret_cast<void *>(element_addr(ZARN_cb0, *p, 1u)));
    *p = 0;
}

ZARN_FORTRAN(int64_t, RTO_DPTR2PLEX, rto_dptr2plex_, (double *const *q)) {
    return rto_dptr2plex_c(q != nullptr ? *q : nullptr);
}

ZARN_FORTRAN(int64_t, RTO_IPTR2PLEX, rto_iptr2plex_, (int64_t *const *q)) {
    return rto_iptr2plex_c(q != nullptr ? *q : nullptr);
}

ZARN_FORTRAN(void, RTO_I42STR, rto_i42str_,
             (char *text, const int64_t *ints, const int32_t *n, size_t text_len)) {
    if (text == nullptr || ints == nullptr) return;
    zarn::unpack_text(text, ints, clamp_len(n, text_len), 4);
}

ZARN_FORTRAN(void, U3PLG_RTO_I42STR, u3plg_rto_i42str_,
             (char *text, const int64_t *ints, const int32_t *n, size_t text_len)) {
    RTO_I42STR(text, ints, n, text_len);
}

ZARN_FORTRAN(void, RTO_STR2I4, rto_str2i4_,
             (int64_t * ints, const char *text, const int32_t *n, size_t text_len)) {
    if (text == nullptr || ints == nullptr) return;
    zarn::pack_text(ints, text, clamp_len(n, text_len), 4);
}

ZARN_FORTRAN(void, U3PLG_RTO_STR2I4, u3plg_rto_str2i4_,
             (int64_t * ints, const char *text, const int32_t *n, size_t text_len)) {
    RTO_STR2I4(ints, text, n, text_len);
}

ZARN_FORTRAN(void, RTO_R82STR, rto_r82str_,
             (char *text, const double *src, const int32_t *n, size_t text_len)) {
    if (text == nullptr || src == nullptr) return;
    std::memmove(text, src, clamp_len(n, text_len));
}

ZARN_FORTRAN(void, U3PLG_RTO_R82STR, u3plg_rto_r82str_,
             (char *text, const double *src, const int32_t *n, size_t text_len)) {
    RTO_R82STR(text, src, n, text_len);
}

ZARN_FORTRAN(void, RTO_STR2R8, rto_str2r8_,
             (double *dest, const char *text, const int32_t *n, size_t text_len)) {
    if (dest == nullptr || text == nullptr) return;
    std::memmove(dest, text, clamp_len(n, text_len));
}

ZARN_FORTRAN(void, GETFUNCPTR_F, getfuncptr_f_, (void (*func)(void), int64_t *out)) {
    if (out != nullptr) *out = static_cast<int64_t>(reinterpret_cast<intptr_t>(func));
}
