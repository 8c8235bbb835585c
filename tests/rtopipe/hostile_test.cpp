// Every exported entry of the pipes as a careless caller would call it: extreme integers, NULL for
// every pointer, huge and unterminated texts, set-up and shut-down out of order.
#include <gtest/gtest.h>
#include <climits>
#include <cstring>
#include <string>
#include <utility>
#include "hostile.h"
#include "zarnutils/gllist.h"
#include "zarnutils/rtopipe.h"
using zarn::test::seq;
static std::string n(int64_t v) { return std::to_string(v) + " "; }
static std::string desc_then_destroy(rtopipe *p) {
    return p == nullptr ? "NULL " : seq({"'", rtodesc(p), "' ", n(rtodestroy(p))});
}
TEST(PipeHostileCaller, EveryEntryWithExtremeArguments) {
    const std::string huge(100000, 'h'), padded = "v" + std::string(99999, ' '),
                                         dead = "Request to copy NULL or deallocated pipe\n";
    const std::string null_write = "!!!rtowrite: NULL buffer with a non-zero length!\n",
                      null_read = "!!!rtoread: NULL buffer with a non-zero size!\n";
    const std::string no_write = "!!!rtowrite: Pipe does not support writing!\n",
                      no_read = "!!!rtoread: Pipe does not support reading!\n";
    char buf[8] = "zzzzzzz", field[16];
    std::memset(field, 'f', sizeof field);  // a fixed-length field without NUL or blanks
    rtopipe *q = create_queue_rtopipe();
    rtowritestr(q, "abc");
    zarn::test::run_hostile(
        {{"rtowrite/rtowritestr",
          [&] {
              return seq({n(rtowrite(nullptr, "x", 1)), n(rtowrite(q, nullptr, 1)),
                          n(rtowrite(q, nullptr, SIZE_MAX)), n(rtowrite(q, nullptr, 0)),
                          n(rtowritestr(q, nullptr))});
          },
          "-1 -1 -1 1 1 ||" + no_write + null_write + null_write},
         {"rtoread",
          [&] {
              return seq({n(rtoread(nullptr, buf, 8)), n(rtoread(q, nullptr, SIZE_MAX)),
                          n(rtoread(q, nullptr, 0)), n(rtoread(nowherePipe, nullptr, 8))});
          },
          "0 -1 0 -1 ||" + no_read + null_read + null_read},
         {"rtoread_trim",
          [&] {
              return seq({n(rtoread_trim(q, nullptr, 8)), n(rtoread_trim(q, buf, 0)),
                          n(rtoread_trim(nullptr, buf, 8)), n(buf[0])});
          },
          "-1 0 0 0 ||" + null_read + no_read},
         {"rtoflush/rtodestroy/copyPipe/collapseJustPipe(NULL)",
          [] {
              collapseJustPipe(nullptr);
              return seq({n(rtoflush(nullptr)), n(rtodestroy(nullptr)), n(copyPipe(nullptr) == nullptr)});
          },
          "0 -1 1 |" + dead + "|"},
         {"rtointeractive/rtostatus/rtoflushlevel/rtodesc(NULL)",
          [] {
              return seq({n(rtointeractive(nullptr)), n(rtostatus(nullptr)), n(rtoflushlevel(nullptr)),
                          n(!rtodesc(nullptr))});
          },
          "0 1 0 1 ||"},
         {"rtosetflushlevel(NULL / INT_MIN / INT_MAX / -1): two bits",
          [&] {
              return seq({n(rtosetflushlevel(nullptr, 1)), n(rtosetflushlevel(q, INT_MIN)),
                          n(rtoflushlevel(q)), n(q->flags & ~RTOPIPE_FLUSH_MASK),
                          n(rtosetflushlevel(q, INT_MAX)), n(rtoflushlevel(q)), n(rtosetflushlevel(q, -1)),
                          n(rtoflushlevel(q)), n(rtosetflushlevel(q, 0))});
          },
          "0 0 0 0 0 3 3 3 3 ||"},
         {"rtoprintf(NULL pipe / NULL format)",
          [&] {
              return seq({n(rtoprintf(nullptr, "%s", "lost\n")), n(rtoprintf(q, nullptr))});
          },
          "-1 -1 ||lost\n!!!rtoprintf: NULL format!\n"},
         {"pipe makers",
          [] {
              return seq({desc_then_destroy(create_ascii_stream_rtopipe(nullptr, "x", 1)),
                          desc_then_destroy(create_binary_stream_rtopipe(nullptr, nullptr, INT_MIN)),
                          desc_then_destroy(create_ascii_stream_rtopipe(stdin, nullptr, INT_MAX)),
                          desc_then_destroy(create_async_pipe(nullptr)),
                          desc_then_destroy(rtopipe_create_tee(nullptr)),
                          desc_then_destroy(rtoPipe_fortran_output(INT_MIN)),
                          desc_then_destroy(rtoPipe_fortran_output(INT_MAX))});
          },
          "NULL NULL '' 0 '*standard input*' 0 NULL '*FORTRAN unit -2147483648*' 0 '*FORTRAN unit "
          "2147483647*' 0 ||"},
         {"write to rtoPipe_fortran_output(-1)",
          [] {
              rtopipe *p = rtoPipe_fortran_output(-1);
              return seq({n(rtowritestr(p, "x")), n(rtodestroy(p))});
          },
          "-1 0 ||"},
         {"rto_set_prompt(NULL / 10^5)",
          [&] {
              rto_set_prompt(nullptr);
              const std::string cleared = n(std::strlen(rtoprompt()));
              rto_set_prompt(huge.c_str());
              const std::string capped = n(std::strlen(rtoprompt()));
              return seq({cleared, capped});
          },
          "0 255 ||"},
         {"rtohis_set_hisDev(dead pipe) keeps the device",
          [&] {
              rtopipe *his = rtHisDev, gone = *q;
              gone.refcount = 0;
              rtohis_set_hisDev(&gone);
              return n(rtHisDev == his);
          },
          "1 |" + dead + "|"},
         {"RTOHIS_* with NULL, unterminated and 10^5 padded",
          [&] {
              RTOHIS_WRITELN(nullptr, SIZE_MAX);
              RTOHIS_WRITE(field, sizeof field);
              RTOHIS_WRITE(padded.data(), padded.size());
              RTOHIS_FLUSH();
              return n(RTOHIS_INQ_HOST_F()) + n(rtohis_inq_host(nullptr));
          },
          "0 0 |\n" + std::string(16, 'f') + "v|"},
         {"RTOREP_* without a device, then NULL to one",
          [&] {
              rtorep_set_repDev(nullptr);
              rtorep_set_repDev(nullptr);
              RTOREP_WRITELN(nullptr, 0);
              RTOREP_WRITE(nullptr, SIZE_MAX);
              RTOREP_WRITESTR(nullptr);
              RTOREP_FLUSH();
              rtorep_set_repDev(q);
              RTOREP_WRITESTR(nullptr);
              rtorep_set_repDev(nullptr);
              return n(rtRepDev == nullptr) + n(q->refcount);
          },
          "1 1 ||!!rtorep__writeln: NULL report device\n!!rtorep__write: NULL report "
          "device\n!!rtorep__writestr: NULL report device\n"}});
    EXPECT_EQ(zarn::test::drain(q), "abc");
    EXPECT_EQ(rtodestroy(q), 0);
    rto_set_prompt("ZARN>");
}
TEST(PipeHostileCaller, SetUpSequences) {
    static const int64_t kMin = LLONG_MIN;
    rtoPipeIOTerminate();  // before any set-up: back to the standard pipes
    rtopipe *terminal = stdoutPipe;
    EXPECT_EQ(seq({rtodesc(terminal), " ", n(rtHisDev == terminal), n(terminal->refcount)}), "TERMINAL 1 2 ");
    for (const int64_t *flag : {static_cast<const int64_t *>(nullptr), &kMin}) {
        INIT_PIPE_4HOST_F(flag);  // absent: 0; LLONG_MIN is non-zero: interactive, never narrowed to 0
        rtopipe *out = stdoutPipe;
        EXPECT_EQ(seq({n(rtoPipeIOInitialize(INT_MIN)), n(stdoutPipe == out), rtodesc(out)}),
                  flag == nullptr ? "1 1 *queue pipe*" : "1 1 TERMINAL");  // a second call only counts
        rtoPipeIOTerminate();
        rtoPipeIOTerminate();
        EXPECT_EQ(n(stdoutPipe == terminal) + n(rtHisDev == terminal), "1 1 ");
    }
}
// A caller's pipe kind runs caller code inside a write, read or flush: that code may drop the last reference
// of the pipe being called (here a tee over it); the pipe lives until the call returns, and the rest of the
// tee's members are still served.
static rtopipe *g_tee = nullptr;
TEST(PipeHostileCaller, APipeOutlivesTheCallThatDropsIt) {
    rtopipe dropper{};
    dropper.write = [](rtopipe *, const char *, size_t) {
        rtodestroy(std::exchange(g_tee, nullptr));
        return 1;
    };
    dropper.flush = [](rtopipe *) {
        rtodestroy(std::exchange(g_tee, nullptr));
        return 1;
    };
    dropper.destroy = [](rtopipe *) {};
    dropper.refcount = 1;
    const struct {
        const char *rule;
        int (*call)(rtopipe *);
    } rows[] = {
        {"a write", [](rtopipe *t) { return rtowritestr(t, "x"); }},
        {"a flush", [](rtopipe *t) { return rtoflush(t); }},
    };
    for (const auto &r : rows) {
        rtopipe *q = create_queue_rtopipe();
        gl_list_t *members = gl_create();
        gl_addtoend(members, copyPipe(&dropper));
        gl_addtoend(members, copyPipe(q));
        g_tee = rtopipe_create_tee(members);
        EXPECT_EQ(seq({n(r.call(g_tee)), n(g_tee == nullptr), n(dropper.refcount), n(q->refcount)}),
                  "1 1 1 1 ")
            << r.rule;
        rtodestroy(q);
    }
}
