/*
 * The host's stream interfaces and the pipe over a host stream: the COM
 * stand-ins (only the methods the library calls matter; the order of the
 * virtual methods follows COM so that a host object's layout is what it
 * expects). The wrapper interface of dictionaries is in rtattrdict.hpp.
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

#endif
