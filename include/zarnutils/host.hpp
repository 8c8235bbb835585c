/*
 * The host's C++ interfaces and the library's classes that hold them: the COM
 * stand-ins (only the methods the library calls matter; the order of the
 * virtual methods follows COM so that a host object's layout is what it
 * expects), the pipe over a host stream, and the holder of a host wrapper.
 */
#ifndef ZARNUTILS_HOST_HPP
#define ZARNUTILS_HOST_HPP

#include "zarnutils/com.h"
#include "zarnutils/rtopipe.h"

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

/* Adapts a host IStream to a readable pipe; only the stream's Read is used. */
class ZARN_API rtopipestream {
public:
    explicit rtopipestream(IStream *stream);
    virtual ~rtopipestream();
    /* Makes the pipe once; returns 1. */
    int ConnectPipe();
    /* The pipe (NULL before ConnectPipe or after the pipe is destroyed). */
    rtopipe *Getrtopipe() const;
    /* Reads up to size bytes from the stream; -1 once the stream is gone. */
    int64_t RTOPipePull(char *buffer, size_t size);
    /* Called when the pipe is destroyed: forgets stream and pipe. */
    void OnRTOPipeDestroy();

private:
    IStream *stream_;
    rtopipe *pipe_;
};

/* Keeps one reference of a host wrapper (attribute dictionaries). Not
   copyable: one holder, one Release. */
class ZARN_API IWEXWrapperHolder {
public:
    IWEXWrapperHolder();
    ~IWEXWrapperHolder();
    IWEXWrapperHolder(const IWEXWrapperHolder &) = delete;
    IWEXWrapperHolder &operator=(const IWEXWrapperHolder &) = delete;
    /* The held wrapper, no reference added. */
    IWEXWrapper *GetWrapper() const;
    /* Releases the held wrapper and holds none. */
    void Release();
    /* AddRef on w, Release on the old one, then holds w. */
    void SetWrapper(IWEXWrapper *w);

private:
    IWEXWrapper *wrapper_;
};

#endif
