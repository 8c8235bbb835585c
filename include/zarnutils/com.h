/*
 * Minimal stand-ins for the host's COM interfaces. Only the methods the library
 * calls are given bodies to implement; the order of the virtual methods follows
 * the COM interfaces so that the layout of a host object is what it expects.
 */
#ifndef ZARNUTILS_COM_H
#define ZARNUTILS_COM_H

#include "zarnutils/zarn_api.h"

typedef int32_t HRESULT;
typedef uint32_t ULONG;

#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_FAIL ((HRESULT)0x80004005u)
#define E_NOINTERFACE ((HRESULT)0x80004002u)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

#ifdef __cplusplus
struct ZARN_API IUnknown {
    virtual HRESULT QueryInterface(const void *iid, void **object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
protected:
    ~IUnknown() = default;
};

struct ZARN_API ISequentialStream : IUnknown {
    /* Reads up to size bytes; *read receives the count. */
    virtual HRESULT Read(void *buffer, ULONG size, ULONG *read) = 0;
    virtual HRESULT Write(const void *buffer, ULONG size, ULONG *written) = 0;
protected:
    ~ISequentialStream() = default;
};

struct ZARN_API IStream : ISequentialStream {
protected:
    ~IStream() = default;
};

/* The host's wrapper object held by wrapper attributes of a dictionary. */
struct ZARN_API IWEXWrapper : IUnknown {
    /* The element's 1-based index in the head dictionary, as last set. */
    virtual HRESULT GetIndex(int32_t *index) = 0;
    /* Tells the wrapper its element's new 1-based index in the head dictionary. */
    virtual HRESULT SetIndex(int32_t index) = 0;
protected:
    ~IWEXWrapper() = default;
};
#endif

#endif
