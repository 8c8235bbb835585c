/*
 * The plain C part of the host's COM conventions: result codes and counts,
 * and the automation types the query engines' parameter records exchange
 * with a host: VARIANT, BSTR and one-dimensional SAFEARRAY, with the few
 * operations the library uses, all inline here (nothing of this is exported).
 * The interfaces themselves are C++ and live in zarnutils/host.hpp.
 *
 * A BSTR is a UTF-16 text that owns its block: a 32-bit byte count stands
 * just before the first character and a NUL after the last; NULL is the
 * empty text. A VARIANT owns its BSTR or array; VariantClear frees them.
 * The operations allocate with malloc and give NULL when it fails.
 */
#ifndef ZARNUTILS_COM_H
#define ZARNUTILS_COM_H

#include <stdlib.h>
#include <string.h>

#include "zarnutils/zarn_api.h"

typedef int32_t HRESULT;
typedef uint32_t ULONG;

#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_FAIL ((HRESULT)0x80004005u)
#define E_NOINTERFACE ((HRESULT)0x80004002u)
#define E_INVALIDARG ((HRESULT)0x80070057u)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

typedef uint16_t VARTYPE;
typedef uint16_t OLECHAR; /* one UTF-16 code unit */
typedef OLECHAR *BSTR;
typedef int16_t VARIANT_BOOL;

#define VARIANT_TRUE ((VARIANT_BOOL)-1)
#define VARIANT_FALSE ((VARIANT_BOOL)0)

/* The variant types used here; VT_ARRAY is combined with an element type. */
#define VT_EMPTY ((VARTYPE)0)
#define VT_NULL ((VARTYPE)1)
#define VT_I4 ((VARTYPE)3)
#define VT_R8 ((VARTYPE)5)
#define VT_BSTR ((VARTYPE)8)
#define VT_BOOL ((VARTYPE)11)
#define VT_ARRAY ((VARTYPE)0x2000)

/* The array holds BSTRs that it owns. */
#define FADF_BSTR ((uint16_t)0x0100)

typedef struct SAFEARRAYBOUND {
    ULONG cElements; /* number of elements */
    int32_t lLbound; /* index of the first */
} SAFEARRAYBOUND;

/* Field order as in COM; only one-dimensional arrays are made here. */
typedef struct SAFEARRAY {
    uint16_t cDims;              /* dimensions: 1 */
    uint16_t fFeatures;          /* FADF_BSTR when the elements are owned BSTRs */
    ULONG cbElements;            /* size of one element */
    ULONG cLocks;                /* locks held (not used here) */
    void *pvData;                /* the elements */
    SAFEARRAYBOUND rgsabound[1]; /* the bounds */
} SAFEARRAY;

typedef struct VARIANT {
    VARTYPE vt; /* which member holds the value */
    uint16_t wReserved1, wReserved2, wReserved3;
    union {
        int32_t lVal;         /* VT_I4 */
        double dblVal;        /* VT_R8 */
        VARIANT_BOOL boolVal; /* VT_BOOL */
        BSTR bstrVal;         /* VT_BSTR: owned */
        SAFEARRAY *parray;    /* VT_ARRAY | element type: owned */
    };
} VARIANT;

/* ---- BSTR ---- */

/* A new BSTR of len units copied from s (s may be NULL: zeros); NULL when memory is short. */
static inline BSTR SysAllocStringLen(const OLECHAR *s, ULONG len) {
    if (len > (ULONG)0x3FFFFFF0u) return NULL;
    unsigned char *block = (unsigned char *)malloc(sizeof(ULONG) + ((size_t)len + 1) * sizeof(OLECHAR));
    if (block == NULL) return NULL;
    const ULONG bytes = len * (ULONG)sizeof(OLECHAR);
    memcpy(block, &bytes, sizeof bytes);
    BSTR text = (BSTR)(block + sizeof(ULONG));
    if (s != NULL) {
        memcpy(text, s, (size_t)len * sizeof(OLECHAR));
    } else {
        memset(text, 0, (size_t)len * sizeof(OLECHAR));
    }
    text[len] = 0;
    return text;
}

/* Units in the text (0 for NULL). */
static inline ULONG SysStringLen(BSTR s) {
    ULONG bytes = 0;
    if (s != NULL) memcpy(&bytes, (unsigned char *)s - sizeof(ULONG), sizeof bytes);
    return bytes / (ULONG)sizeof(OLECHAR);
}

/* Frees a BSTR; NULL is accepted. */
static inline void SysFreeString(BSTR s) {
    if (s != NULL) free((unsigned char *)s - sizeof(ULONG));
}

/* ---- one-dimensional safe arrays of VT_I4, VT_R8 or VT_BSTR ---- */

static inline ULONG zarn_com_element_size(VARTYPE vt) {
    return vt == VT_I4     ? (ULONG)sizeof(int32_t)
           : vt == VT_R8   ? (ULONG)sizeof(double)
           : vt == VT_BSTR ? (ULONG)sizeof(BSTR)
                           : 0u;
}

/* A new array of count zeroed elements from index lbound; NULL for another
   element type or when memory is short. */
static inline SAFEARRAY *SafeArrayCreateVector(VARTYPE vt, int32_t lbound, ULONG count) {
    const ULONG size = zarn_com_element_size(vt);
    if (size == 0 || count > (ULONG)0x0FFFFFFFu) return NULL;
    SAFEARRAY *a = (SAFEARRAY *)malloc(sizeof(SAFEARRAY));
    if (a == NULL) return NULL;
    a->pvData = calloc(count > 0 ? count : 1, size);
    if (a->pvData == NULL) {
        free(a);
        return NULL;
    }
    a->cDims = 1;
    a->fFeatures = vt == VT_BSTR ? FADF_BSTR : (uint16_t)0;
    a->cbElements = size;
    a->cLocks = 0;
    a->rgsabound[0].cElements = count;
    a->rgsabound[0].lLbound = lbound;
    return a;
}

/* Frees the array and the BSTRs it owns; NULL is accepted. */
static inline HRESULT SafeArrayDestroy(SAFEARRAY *a) {
    if (a == NULL) return S_OK;
    if ((a->fFeatures & FADF_BSTR) != 0) {
        BSTR *items = (BSTR *)a->pvData;
        for (ULONG k = 0; k < a->rgsabound[0].cElements; ++k) SysFreeString(items[k]);
    }
    free(a->pvData);
    free(a);
    return S_OK;
}

/* ---- VARIANT ---- */

static inline void VariantInit(VARIANT *v) {
    if (v != NULL) memset(v, 0, sizeof *v);
}

/* Frees what v owns and makes it VT_EMPTY. */
static inline HRESULT VariantClear(VARIANT *v) {
    if (v == NULL) return E_INVALIDARG;
    if (v->vt == VT_BSTR) {
        SysFreeString(v->bstrVal);
    } else if ((v->vt & VT_ARRAY) != 0) {
        SafeArrayDestroy(v->parray);
    }
    memset(v, 0, sizeof *v);
    return S_OK;
}

#endif
