// Captures of the history device and of standard error for assertions on messages.
#ifndef ZARN_TESTS_SUPPORT_CAPTURE_H
#define ZARN_TESTS_SUPPORT_CAPTURE_H

#include <string>

#include "zarnutils/rtopipe.h"

namespace zarn::test {

// While alive, the history device is a file pipe over an unlinked temporary
// file, whose writes allocate nothing, so that tests which make allocations
// fail still see every message; text() gives what was written.
class HistoryCapture {
  public:
    HistoryCapture();
    ~HistoryCapture();
    HistoryCapture(const HistoryCapture &) = delete;
    HistoryCapture &operator=(const HistoryCapture &) = delete;
    // Everything written since the last call.
    std::string text();
    rtopipe *pipe() const { return pipe_; }

  private:
    rtopipe *pipe_;
    rtopipe *saved_;
    int fd_;
    long offset_;
};

// While alive, file descriptor 2 goes to a temporary file.
class StderrCapture {
  public:
    StderrCapture();
    ~StderrCapture();
    StderrCapture(const StderrCapture &) = delete;
    StderrCapture &operator=(const StderrCapture &) = delete;
    // Everything written since the last call.
    std::string text();

  private:
    int saved_fd_;
    int file_fd_;
    long offset_;
};

// Reads every byte a pipe has now (queues: until empty).
std::string drain(rtopipe *pipe);

}  // namespace zarn::test

#endif
