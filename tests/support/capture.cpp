// History and standard-error captures.
#include "capture.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace zarn::test {

HistoryCapture::HistoryCapture() : queue_(create_queue_rtopipe()), saved_(nullptr) {
    if (rtHisDev != nullptr) saved_ = copyPipe(rtHisDev);
    rtohis_set_hisDev(queue_);
}

HistoryCapture::~HistoryCapture() {
    rtohis_set_hisDev(saved_);
    if (saved_ != nullptr) rtodestroy(saved_);
    rtodestroy(queue_);
}

std::string HistoryCapture::text() { return drain(queue_); }

std::string drain(rtopipe *pipe) {
    std::string out;
    char buf[4096];
    for (;;) {
        int64_t n = rtoread(pipe, buf, sizeof buf);
        if (n <= 0) break;
        out.append(buf, static_cast<size_t>(n));
    }
    return out;
}

StderrCapture::StderrCapture() : saved_fd_(-1), file_fd_(-1), offset_(0) {
    std::fflush(stderr);
    char name[] = "/tmp/zarn-stderr-XXXXXX";
    file_fd_ = mkstemp(name);
    if (file_fd_ < 0) return;
    unlink(name);
    saved_fd_ = dup(STDERR_FILENO);
    dup2(file_fd_, STDERR_FILENO);
}

StderrCapture::~StderrCapture() {
    std::fflush(stderr);
    if (saved_fd_ >= 0) {
        dup2(saved_fd_, STDERR_FILENO);
        close(saved_fd_);
    }
    if (file_fd_ >= 0) close(file_fd_);
}

std::string StderrCapture::text() {
    std::fflush(stderr);
    std::string out;
    if (file_fd_ < 0) return out;
    char buf[4096];
    for (;;) {
        ssize_t n = pread(file_fd_, buf, sizeof buf, offset_);
        if (n <= 0) break;
        out.append(buf, static_cast<size_t>(n));
        offset_ += n;
    }
    return out;
}

}  // namespace zarn::test
