// Resident-set figures of the running benchmark program, from /proc.
#ifndef ZARN_BENCH_MEMORY_H
#define ZARN_BENCH_MEMORY_H

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace zarn::bench {

// A "VmRSS:"-style line of /proc/self/status, in bytes; 0 when unreadable.
inline double status_bytes(const char *key) {
    FILE *f = std::fopen("/proc/self/status", "r");
    if (f == nullptr) return 0;
    char line[256];
    double kib = 0;
    const size_t n = std::strlen(key);
    while (std::fgets(line, sizeof line, f) != nullptr)
        if (std::strncmp(line, key, n) == 0) kib = std::strtod(line + n, nullptr);
    std::fclose(f);
    return kib * 1024.0;
}

// Resident set now.
inline double resident_now() { return status_bytes("VmRSS:"); }

// The resident set's high-water mark since the program started or since the
// last reset_peak().
inline double resident_peak() { return status_bytes("VmHWM:"); }

// Starts a new high-water mark at the present resident set; false when the
// kernel does not offer it (the mark then counts from the start).
inline bool reset_peak() {
    FILE *f = std::fopen("/proc/self/clear_refs", "w");
    if (f == nullptr) return false;
    const bool ok = std::fputs("5", f) >= 0;
    return std::fclose(f) == 0 && ok;
}

// Reads a whole variable from the environment for a smaller run (profiling
// under valgrind), else the given count.
inline int count_from_env(const char *name, int otherwise) {
    const char *v = std::getenv(name);
    const long n = v != nullptr ? std::strtol(v, nullptr, 10) : 0;
    return n > 0 && n <= otherwise ? static_cast<int>(n) : otherwise;
}

}  // namespace zarn::bench

#endif
