/* A first host: sets up the pipes, sends messages and a report through them,
 * and collects a copy of the history in a queue with a tee. */
#include <stdio.h>
#include <string.h>

#include <zarnutils/zarnutils.h>

static intptr_t on_change(intptr_t a, intptr_t b, intptr_t c) {
    rtoprintf(rtHisDev, "  event 18: variable %ld changed (code %ld)\n", (long)a, (long)b);
    (void)c;
    return 1;
}

int main(void) {
    /* Once, before any other pipe call: commands from the console, output and
     * history to the terminal (messages reach standard output even without it). */
    rtoPipeIOInitialize(1);
    rtoprintf(rtHisDev, "zarnutils %s: history device is %s\n", rtoFullVersion(), rtodesc(rtHisDev));

    /* Keep a copy of everything said: the history device becomes a tee of the
     * terminal and a queue. */
    rtopipe *copy = create_queue_rtopipe();
    gl_list_t *members = gl_create();
    gl_addtoend(members, copyPipe(stdoutPipe));
    gl_addtoend(members, copyPipe(copy));
    rtopipe *tee = rtopipe_create_tee(members);
    rtohis_set_hisDev(tee);
    rtodestroy(tee);

    rtoevent_create_callbacks(20);
    rtoevent_set_callback(18, on_change);
    rtoevent_do_callback(18, 42, 3, 0);
    rtoprintf(rtHisDev, "!!example: a message as the library reports failures\n");

    rtorep_set_repDev(stdoutPipe);
    RTOREP_WRITESTR("report: problem ");
    RTOREP_WRITESTR(rto_getprobId());
    RTOREP_WRITESTR("\n");

    rtohis_set_hisDev(stdoutPipe);
    char buf[4096];
    int64_t n = rtoread(copy, buf, sizeof buf);
    printf("the queue kept %lld bytes of history\n", (long long)n);
    rtodestroy(copy);
    rtorep_set_repDev(NULL);
    rtoevent_destroy_callbacks();
    rtoPipeIOTerminate();
    return 0;
}
