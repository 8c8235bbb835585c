// History and report devices, fixed-length texts, tees, rtoprintf, and set-up.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "capture.h"
#include "zarnutils/rtopipe.h"

using zarn::test::drain;
using zarn::test::HistoryCapture;
using zarn::test::StderrCapture;

namespace {

TEST(HistoryDevice, FixedLengthTexts) {
    HistoryCapture his;
    char name[128];
    std::memset(name, ' ', sizeof name);
    std::memcpy(name, "REACTOR.FEED.TEMP", 17);
    RTOHIS_WRITELN(name, sizeof name);
    EXPECT_EQ(his.text(), "REACTOR.FEED.TEMP\n");

    char with_nul[16] = "abc  ";  // NUL inside the field: text used as it stands
    std::memset(with_nul + 6, 'Z', 9);
    RTOHIS_WRITE(with_nul, sizeof with_nul);
    EXPECT_EQ(his.text(), "abc  ");

    char absent[8] = {0, 0, 0, 0, 'x', 'y', 'z', 'w'};
    RTOHIS_WRITELN(absent, sizeof absent);
    EXPECT_EQ(his.text(), "\n");

    RTOHIS_WRITE("   ", 3);  // all blanks: nothing
    RTOHIS_WRITE("tail", 4);
    EXPECT_EQ(his.text(), "tail");
    EXPECT_EQ(RTOHIS_INQ_HOST_F(), 0);
}

TEST(HistoryDevice, MissingDevicesComplainOnStderr) {
    HistoryCapture his;
    rtohis_set_hisDev(nullptr);
    EXPECT_EQ(rtHisDev, nullptr);
    EXPECT_EQ(his.pipe()->refcount, 1);  // the device's reference was given back
    rtopipe *saved_rep = rtRepDev ? copyPipe(rtRepDev) : nullptr;
    rtorep_set_repDev(nullptr);
    {
        StderrCapture err;
        RTOHIS_WRITELN("x", 1);
        RTOHIS_WRITE("x", 1);
        RTOREP_WRITELN("x", 1);
        RTOREP_WRITE("x", 1);
        RTOREP_WRITESTR("x");
        RTOHIS_FLUSH();
        RTOREP_FLUSH();
        EXPECT_EQ(RTOHIS_INQ_HOST_F(), 0);
        EXPECT_EQ(err.text(),
                  "!!rtohis__writeln: NULL history device\n"
                  "!!rtohis__write: NULL history device\n"
                  "!!rtorep__writeln: NULL report device\n"
                  "!!rtorep__write: NULL report device\n"
                  "!!rtorep__writestr: NULL report device\n");
    }
    rtorep_set_repDev(saved_rep);
    if (saved_rep) rtodestroy(saved_rep);
}

TEST(ReportDevice, HoldsItsOwnReference) {
    rtopipe *saved = rtRepDev ? copyPipe(rtRepDev) : nullptr;
    rtopipe *q = create_queue_rtopipe();
    rtorep_set_repDev(q);
    EXPECT_EQ(q->refcount, 2);
    rtorep_set_repDev(q);  // already the device: no change
    EXPECT_EQ(q->refcount, 2);
    RTOREP_WRITELN("line    ", 8);
    RTOREP_WRITE("more", 4);
    RTOREP_WRITESTR("  kept  ");
    EXPECT_EQ(drain(q), "line\nmore  kept  ");
    rtorep_set_repDev(nullptr);
    EXPECT_EQ(q->refcount, 1);
    rtodestroy(q);
    rtorep_set_repDev(saved);
    if (saved) rtodestroy(saved);
}

rtopipe *host_named(const char *text) {
    rtopipe *q = create_queue_rtopipe();
    static const char *desc;
    desc = text;
    q->describe = [](rtopipe *) { return desc; };
    return q;
}

TEST(HistoryDevice, HostRecognisedByDescription) {
    rtopipe *q = host_named("WEXSimulationMsgs");
    EXPECT_EQ(rtohis_inq_host(q), 1);
    HistoryCapture his;
    rtohis_set_hisDev(q);
    EXPECT_EQ(RTOHIS_INQ_HOST_F(), 1);
    rtohis_set_hisDev(his.pipe());
    rtodestroy(q);
    q = host_named("host terminal output pipe");
    EXPECT_EQ(rtohis_inq_host(q), 1);
    rtodestroy(q);
    q = host_named("host terminal output pipe ");
    EXPECT_EQ(rtohis_inq_host(q), 0);
    rtodestroy(q);
    EXPECT_EQ(rtohis_inq_host(nullptr), 0);
}

// A pipe whose writes and flushes fail, counting what reaches it.
struct Failing {
    int writes = 0, flushes = 0, destroys = 0;
};
Failing g_failing;

rtopipe *failing_pipe() {
    rtopipe *p = create_queue_rtopipe();
    p->write = [](rtopipe *, const char *, size_t) {
        ++g_failing.writes;
        return -1;
    };
    p->flush = [](rtopipe *) {
        ++g_failing.flushes;
        return 0;
    };
    return p;
}

TEST(TeePipe, FansOutAndReportsAnyFailure) {
    g_failing = {};
    rtopipe *a = create_queue_rtopipe();
    rtopipe *bad = failing_pipe();
    rtopipe *c = create_queue_rtopipe();
    copyPipe(a);
    copyPipe(c);
    gl_list_t *list = gl_create();
    gl_addtoend(list, a);
    gl_addtoend(list, bad);
    gl_addtoend(list, c);
    rtopipe *tee = rtopipe_create_tee(list);
    EXPECT_STREQ(rtodesc(tee), "<tee pipe>");
    EXPECT_EQ(rtowritestr(tee, "both"), -1);  // one member failed...
    EXPECT_EQ(drain(a), "both");               // ...but every member was written
    EXPECT_EQ(drain(c), "both");
    EXPECT_EQ(g_failing.writes, 1);
    EXPECT_EQ(rtoflush(tee), 0);
    EXPECT_EQ(g_failing.flushes, 1);
    EXPECT_EQ(rtodestroy(tee), 0);
    EXPECT_EQ(a->refcount, 1);  // the tee gave back its references
    EXPECT_EQ(c->refcount, 1);
    rtodestroy(a);
    rtodestroy(c);

    // All members good: 1 from write and flush.
    rtopipe *d = create_queue_rtopipe();
    gl_list_t *one = gl_create();
    gl_addtoend(one, copyPipe(d));
    rtopipe *tee2 = rtopipe_create_tee(one);
    EXPECT_EQ(rtowritestr(tee2, "ok"), 1);
    EXPECT_EQ(rtoflush(tee2), 1);
    rtodestroy(tee2);
    EXPECT_EQ(drain(d), "ok");
    rtodestroy(d);
    EXPECT_EQ(rtopipe_create_tee(nullptr), nullptr);
}

TEST(Rtoprintf, FormatsAndReportsOverruns) {
    HistoryCapture his;
    EXPECT_EQ(rtoprintf(rtHisDev, "%s=%d %.2f\n", "n", 42, 2.5), 1);
    EXPECT_EQ(his.text(), "n=42 2.50\n");
    StderrCapture err;
    std::string big(25000, 'q');
    rtoprintf(rtHisDev, "%s", big.c_str());
    std::string first = err.text();
    EXPECT_EQ(first.rfind("Assertion 'rtoprintf: Overran it's buffer' failed in source/rtopipe/rtoprintf:", 0), 0u)
        << first;
    EXPECT_EQ(first.back(), '\n');
    std::string got = his.text();
    EXPECT_EQ(got.size(), 20479u);  // cut to the buffer, never beyond it
    rtoprintf(rtHisDev, "a%cb", 0);
    std::string e = err.text();
    EXPECT_EQ(e.rfind("Assertion 'rtoprintf: count != strlen' failed in source/rtopipe/rtoprintf:", 0), 0u) << e;
    EXPECT_EQ(his.text(), "a");
}

TEST(PipeIO, QueuesWhenNotInteractiveAndTerminateRestores) {
    // The test process starts with the standard pipes; history and output are one pipe.
    rtopipe *out0 = stdoutPipe;
    EXPECT_STREQ(rtodesc(out0), "TERMINAL");
    EXPECT_EQ(rtHisDev, out0);
    EXPECT_STREQ(rtodesc(stdinPipe), "KEYBOARD");

    EXPECT_EQ(rtoPipeIOInitialize(0), 1);
    EXPECT_STREQ(rtodesc(stdinPipe), "*queue pipe*");
    EXPECT_STREQ(rtodesc(stdoutPipe), "*queue pipe*");
    EXPECT_NE(stdinPipe, stdoutPipe);
    EXPECT_EQ(rtHisDev, stdoutPipe);
    EXPECT_EQ(stdoutPipe->refcount, 2);
    rtopipe *out = stdoutPipe;
    EXPECT_EQ(rtoPipeIOInitialize(1), 1);  // later calls only count
    int64_t again = 1;
    INIT_PIPE_4HOST_F(&again);
    EXPECT_EQ(stdoutPipe, out);
    rtoprintf(rtHisDev, "message\n");
    EXPECT_EQ(drain(stdoutPipe), "message\n");
    rtoPipeIOTerminate();
    EXPECT_EQ(stdoutPipe, out0);
    EXPECT_EQ(rtHisDev, out0);
    EXPECT_EQ(out0->refcount, 2);
    int64_t zero = 0;
    INIT_PIPE_4HOST_F(&zero);  // initialises again after a terminate
    EXPECT_STREQ(rtodesc(stdoutPipe), "*queue pipe*");
    rtoPipeIOTerminate();
}

TEST(PipeIO, Prompt) {
    EXPECT_STREQ(rtoprompt(), "ZARN>");
    std::string longer(300, 'p');
    rto_set_prompt(longer.c_str());
    EXPECT_EQ(std::string(rtoprompt()), longer.substr(0, 255));
    rto_set_prompt("SIM> ");
    EXPECT_STREQ(rtoprompt(), "SIM> ");
    rto_set_prompt("ZARN>");
}

}  // namespace
