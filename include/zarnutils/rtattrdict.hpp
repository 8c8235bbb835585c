/*
 * The host's wrapper object that wrapper attributes of a dictionary hold, and
 * the holder that keeps one reference of it. C++ only.
 */
#ifndef ZARNUTILS_RTATTRDICT_HPP
#define ZARNUTILS_RTATTRDICT_HPP

#include "zarnutils/host.hpp"
#include "zarnutils/rtattrdict.h"

/* The host's wrapper object held by wrapper attributes of a dictionary. */
struct ZARN_API IWEXWrapper : IUnknown {
    /* The element's 1-based index in the head dictionary, as last set. */
    virtual HRESULT GetIndex(int32_t *index) = 0;
    /* Tells the wrapper its element's new 1-based index in the head dictionary. */
    virtual HRESULT SetIndex(int32_t index) = 0;

  protected:
    ~IWEXWrapper() = default;
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
