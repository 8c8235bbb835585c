// Host stream pipe: reads a host IStream through a pipe.
#include <cstdlib>

#include "rtopipe/rtopipe_internal.h"
#include "rtopipe/rtopipe_messages.h"
#include "rtopipe/report.h"
#include "zarnutils/host.hpp"

namespace {

int64_t stream_read(rtopipe *p, char *buffer, size_t size) {
    auto *owner = static_cast<rtopipestream *>(p->data);
    if (owner == nullptr) return -1;
    return owner->RTOPipePull(buffer, size);
}

const char *stream_describe(rtopipe *) { return "streamrtopipe"; }

void stream_destroy(rtopipe *p) {
    auto *owner = static_cast<rtopipestream *>(p->data);
    if (owner != nullptr) owner->OnRTOPipeDestroy();
    std::free(p);
}

}  // namespace

rtopipestream::rtopipestream(IStream *stream) : stream_(stream), pipe_(nullptr) {
    if (stream_ != nullptr) stream_->AddRef();
}

rtopipestream::~rtopipestream() {
    // The pipe may outlive this object: cut its link so its read fails cleanly.
    if (pipe_ != nullptr) pipe_->data = nullptr;
    if (stream_ != nullptr) stream_->Release();
}

int rtopipestream::ConnectPipe() {
    if (pipe_ == nullptr) {
        pipe_ = zarn::rtopipe::make(nullptr, stream_read, stream_destroy, nullptr, stream_describe, this,
                                    RTOPIPE_FLUSH_NEVER);
        if (pipe_ == nullptr) zarn::rtopipe::no_memory("rtopipestream::ConnectPipe");
    }
    return 1;
}

rtopipe *rtopipestream::Getrtopipe() const { return pipe_; }

int64_t rtopipestream::RTOPipePull(char *buffer, size_t size) {
    if (stream_ == nullptr) return -1;
    ULONG want = size > 0xffffffffu ? 0xffffffffu : static_cast<ULONG>(size);
    ULONG got = 0;
    HRESULT hr = stream_->Read(buffer, want, &got);
    if (FAILED(hr)) {
        zarn::rtopipe::report(zarn::rtopipe::msg::kStreamPull);
        if (pipe_ != nullptr) zarn::rtopipe::set_status(pipe_);
        return 0;
    }
    return static_cast<int64_t>(got);
}

void rtopipestream::OnRTOPipeDestroy() {
    if (stream_ != nullptr) stream_->Release();
    stream_ = nullptr;
    pipe_ = nullptr;
}
