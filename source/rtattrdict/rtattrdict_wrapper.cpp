// The holder that keeps one reference of a host wrapper for C++ callers.
#include "zarnutils/com.h"
#include "zarnutils/rtattrdict.hpp"
#include "zarnutils/rtattrdict.h"

IWEXWrapperHolder::IWEXWrapperHolder() : wrapper_(nullptr) {}

IWEXWrapperHolder::~IWEXWrapperHolder() {
    if (wrapper_ != nullptr) wrapper_->Release();
}

IWEXWrapper *IWEXWrapperHolder::GetWrapper() const { return wrapper_; }

void IWEXWrapperHolder::Release() {
    if (wrapper_ != nullptr) wrapper_->Release();
    wrapper_ = nullptr;
}

void IWEXWrapperHolder::SetWrapper(IWEXWrapper *w) {
    if (w != nullptr) w->AddRef();
    if (wrapper_ != nullptr) wrapper_->Release();
    wrapper_ = w;
}
