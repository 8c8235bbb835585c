/*
 * The plain C part of the host's COM conventions: result codes and counts.
 * The interfaces themselves are C++ and live in zarnutils/host.hpp.
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

#endif
