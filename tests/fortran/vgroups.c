/* For vgroups.f90: a limit on the size of the files this process writes, so
   that a transfer crossing it fails with an I/O status (SIGXFSZ ignored)
   instead of ending the program; and the limit lifted again. */
#include <signal.h>
#include <stdint.h>
#include <sys/resource.h>

static struct rlimit saved_limit;
static void (*saved_handler)(int);

/* 0 once files stop growing at bytes, else -1. */
int vgroups_limit_file_size(const int64_t *bytes) {
    if (getrlimit(RLIMIT_FSIZE, &saved_limit) != 0) return -1;
    struct rlimit limit = saved_limit;
    limit.rlim_cur = (rlim_t)*bytes;
    saved_handler = signal(SIGXFSZ, SIG_IGN);
    return setrlimit(RLIMIT_FSIZE, &limit);
}

/* 0 once the limit in force before the call above is back, else -1. */
int vgroups_lift_file_size_limit(void) {
    signal(SIGXFSZ, saved_handler);
    return setrlimit(RLIMIT_FSIZE, &saved_limit);
}
