// History and standard-error captures.
#include "capture.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace zarn::test {

namespace {
// Reads fd from *offset to its end.
std::string read_from(int fd, long *offset) {
    std::string out;
    char buf[4096];
    for (;;) {
        ssize_t n = pread(fd, buf, sizeof buf, *offset);
        if (n <= 0) break;
        out.append(buf, static_cast<size_t>(n));
        *offset += n;
    }
    return out;
}
}  // namespace

HistoryCapture::HistoryCapture() : pipe_(nullptr), saved_(nullptr), fd_(-1), offset_(0) {
    FILE *file = std::tmpfile();
    if (file != nullptr) {
        fd_ = fileno(file);
        pipe_ = create_ascii_stream_rtopipe(file, "history", 1);
    }
    if (rtHisDev != nullptr) saved_ = copyPipe(rtHisDev);
    rtohis_set_hisDev(pipe_);
}

HistoryCapture::~HistoryCapture() {
    rtohis_set_hisDev(saved_);
    if (saved_ != nullptr) rtodestroy(saved_);
    if (pipe_ != nullptr) rtodestroy(pipe_);
}

std::string HistoryCapture::text() {
    if (pipe_ == nullptr) return {};
    rtoflush(pipe_);
    return read_from(fd_, &offset_);
}

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
    if (file_fd_ < 0) return {};
    return read_from(file_fd_, &offset_);
}

}  // namespace zarn::test
