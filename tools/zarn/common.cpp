// What every zarn command shares: error lines, the library's messages kept
// off standard output, argument parsing, number printing, the progress bar.
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "zarn.h"
#include "zarnutils/rtopipe.h"

namespace zarn::cli {

int fail(const Call &call, const std::string &message) { return report(call, message, kBad); }

int report(const Call &call, const std::string &message, int status) {
    std::fprintf(stderr, "%s: %s\n", call.name.c_str(), message.c_str());
    return status;
}

void capture_messages() {
    rtopipe *queue = create_queue_rtopipe();
    if (queue == nullptr) return;  // the messages stay on standard output
    rtohis_set_hisDev(queue);
    rtodestroy(queue);  // the device holds its own reference
}

namespace {

// A message line without its "!!" marks and the "function: " that names the
// reporting function.
std::string plain(std::string line) {
    size_t start = line.find_first_not_of("! ");
    line = start == std::string::npos ? std::string() : line.substr(start);
    const size_t colon = line.find(": ");
    if (colon != std::string::npos && line.find(' ') > colon) line = line.substr(colon + 2);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) line.pop_back();
    return line;
}

}  // namespace

std::vector<std::string> take_message_lines() {
    std::string all;
    char buffer[4096];
    for (int64_t n; (n = rtoread(rtHisDev, buffer, sizeof buffer)) > 0;)
        all.append(buffer, static_cast<size_t>(n));
    std::vector<std::string> lines;
    size_t from = 0;
    while (from < all.size()) {
        size_t end = all.find('\n', from);
        if (end == std::string::npos) end = all.size();
        std::string line = plain(all.substr(from, end - from));
        if (!line.empty()) lines.push_back(std::move(line));
        from = end + 1;
    }
    return lines;
}

std::string take_messages() {
    std::string joined;
    for (const std::string &line : take_message_lines()) joined += (joined.empty() ? "" : "; ") + line;
    return joined;
}

void drop_messages() { take_messages(); }

void release_messages() { rtohis_set_hisDev(stdoutPipe); }

bool parse_number(const char *text, double *out) {
    if (text == nullptr || *text == '\0') return false;
    char *end = nullptr;
    errno = 0;
    const double v = std::strtod(text, &end);
    if (*end != '\0' || errno == ERANGE || !std::isfinite(v)) return false;
    *out = v;
    return true;
}

bool parse_integer(const char *text, int64_t *out) {
    if (text == nullptr || *text == '\0') return false;
    char *end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text, &end, 10);
    if (*end != '\0' || errno == ERANGE) return false;
    *out = v;
    return true;
}

std::string number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.15g", v);
    return text;
}

// ---- progress ----

namespace {

constexpr int kBarWidth = 30;

void erase_line(size_t width) {
    std::fprintf(stderr, "\r%*s\r", static_cast<int>(width), "");
    std::fflush(stderr);
}

}  // namespace

Progress::Progress(const std::string &what, uint64_t total, uint64_t threshold)
    : what_(what), total_(total), enabled_(total >= threshold && total > 0 && isatty(STDERR_FILENO) == 1) {}

Progress::~Progress() { done(); }

void Progress::update(uint64_t done) {
    if (!enabled_) return;
    if (done > total_) done = total_;
    const int percent = static_cast<int>(done * 100 / total_);
    if (percent == shown_) return;
    shown_ = percent;
    const int filled = percent * kBarWidth / 100;
    std::fprintf(stderr, "\r%s [%.*s%*s] %3d%%", what_.c_str(), filled, "##############################",
                 kBarWidth - filled, "", percent);
    std::fflush(stderr);
}

void Progress::done() {
    if (!enabled_ || shown_ < 0) return;
    erase_line(what_.size() + kBarWidth + 8);
    shown_ = -1;
}

}  // namespace zarn::cli
