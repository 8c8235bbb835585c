// Every exported entry of the pipes called as a careless caller would: extreme
// integers, NULL for every pointer, huge and unterminated texts, calls out of order.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "capture.h"
#include "zarnutils/rtopipe.h"

using zarn::test::HistoryCapture;
using zarn::test::StderrCapture;

namespace {

const std::string kHuge(100000, 'h');
const char kNullWrite[] = "!!!rtowrite: NULL buffer with a non-zero length!\n";
const char kNullRead[] = "!!!rtoread: NULL buffer with a non-zero size!\n";
const char kNoWrite[] = "!!!rtowrite: Pipe does not support writing!\n";
const char kNoRead[] = "!!!rtoread: Pipe does not support reading!\n";
const char kDead[] = "Request to copy NULL or deallocated pipe\n";

// What the caller gets: the result, the history text, the standard-error text.
struct Row {
    const char *call;
    std::function<int64_t(rtopipe *q)> run;  // q: a fresh queue holding "abc"
    int64_t result;
    std::string his, err;
};

int64_t made_then_destroyed(rtopipe *p) { return p == nullptr ? -9 : rtodestroy(p); }

TEST(PipeHostileCaller, EveryEntryWithExtremeArguments) {
    char buf[8] = "zzzzzzz";
    char field[16];
    std::memset(field, 'f', sizeof field);  // a fixed-length field without NUL or blanks
    const Row rows[] = {
        {"rtowrite(NULL pipe)", [](rtopipe *) { return rtowrite(nullptr, "x", 1); }, -1, "", kNoWrite},
        {"rtowrite(q, NULL, 1), (q, NULL, SIZE_MAX)", [](rtopipe *q) { return rtowrite(q, nullptr, 1) + rtowrite(q, nullptr, SIZE_MAX); }, -2, "",
         std::string(kNullWrite) + kNullWrite},
        {"rtowrite(q, NULL, 0)", [](rtopipe *q) { return rtowrite(q, nullptr, 0); }, 1, "", ""},
        {"rtowritestr(q, NULL)", [](rtopipe *q) { return rtowritestr(q, nullptr); }, 1, "", ""},
        {"rtowritestr(q, 10^5)", [](rtopipe *q) { return rtowritestr(q, kHuge.c_str()); }, 1, "", ""},
        {"rtoread(NULL pipe)", [&](rtopipe *) { return rtoread(nullptr, buf, 8); }, 0, "", kNoRead},
        {"rtoread(q, NULL, SIZE_MAX)", [](rtopipe *q) { return rtoread(q, nullptr, SIZE_MAX); }, -1, "", kNullRead},
        {"rtoread(q, NULL, 0)", [](rtopipe *q) { return rtoread(q, nullptr, 0); }, 0, "", ""},
        {"rtoread(nowhere, NULL, 8)", [](rtopipe *) { return rtoread(nowherePipe, nullptr, 8); }, -1, "", kNullRead},
        {"rtoread_trim(q, NULL, 8)", [](rtopipe *q) { return rtoread_trim(q, nullptr, 8); }, -1, "", kNullRead},
        {"rtoread_trim(q, buf, 0)", [&](rtopipe *q) { return rtoread_trim(q, buf, 0); }, 0, "", ""},
        {"rtoread_trim(NULL)", [&](rtopipe *) { return rtoread_trim(nullptr, buf, 8) + (buf[0] == '\0'); }, 1, "", kNoRead},
        {"rtoflush(NULL), rtodestroy(NULL)", [](rtopipe *) { return rtoflush(nullptr) * 10 + rtodestroy(nullptr); }, -1, "", ""},
        {"copyPipe(NULL)", [](rtopipe *) { return copyPipe(nullptr) == nullptr; }, 1, kDead, ""},
        {"collapseJustPipe(NULL)", [](rtopipe *) { collapseJustPipe(nullptr); return 0; }, 0, "", ""},
        {"rtointeractive/rtostatus/rtoflushlevel/rtodesc(NULL)",
         [](rtopipe *) { return rtointeractive(nullptr) * 100 + rtostatus(nullptr) * 10 + rtoflushlevel(nullptr) + !rtodesc(nullptr); }, 11, "", ""},
        {"rtosetflushlevel(NULL, 1)", [](rtopipe *) { return rtosetflushlevel(nullptr, 1); }, 0, "", ""},
        {"rtosetflushlevel(q, INT_MIN) keeps two bits",
         [](rtopipe *q) { return rtosetflushlevel(q, INT_MIN) * 10 + rtoflushlevel(q) + (q->flags & ~RTOPIPE_FLUSH_MASK); }, 0, "", ""},
        {"rtosetflushlevel(q, INT_MAX)", [](rtopipe *q) { return rtosetflushlevel(q, INT_MAX) * 10 + rtoflushlevel(q); }, 3, "", ""},
        {"rtosetflushlevel(q, -1)", [](rtopipe *q) { return rtosetflushlevel(q, -1) * 10 + rtoflushlevel(q); }, 3, "", ""},
        {"rtoprintf(NULL pipe)", [](rtopipe *) { return rtoprintf(nullptr, "%s", "lost\n"); }, -1, "", "lost\n"},
        {"rtoprintf(q, NULL format)", [](rtopipe *q) { return rtoprintf(q, nullptr); }, -1, "", "!!!rtoprintf: NULL format!\n"},
        {"create_*_stream_rtopipe(NULL file)",
         [](rtopipe *) { return (create_ascii_stream_rtopipe(nullptr, "x", 1) == nullptr) + (create_binary_stream_rtopipe(nullptr, nullptr, INT_MIN) == nullptr); }, 2, "", ""},
        {"create_ascii_stream_rtopipe(stdin, NULL name, INT_MAX)",
         [](rtopipe *) {
             rtopipe *p = create_ascii_stream_rtopipe(stdin, nullptr, 0);
             return (std::string(rtodesc(p)) == "") + rtodestroy(p);
         }, 1, "", ""},
        {"create_async_pipe(NULL)", [](rtopipe *) { return made_then_destroyed(create_async_pipe(nullptr)); }, 0, "", ""},
        {"rtoPipe_fortran_output(INT_MIN, INT_MAX)",
         [](rtopipe *) {
             rtopipe *a = rtoPipe_fortran_output(INT_MIN), *b = rtoPipe_fortran_output(INT_MAX);
             int64_t r = std::string(rtodesc(a)) == "*FORTRAN unit -2147483648*" && std::string(rtodesc(b)) == "*FORTRAN unit 2147483647*";
             return r + rtodestroy(a) + rtodestroy(b);
         }, 1, "", ""},
        {"write to rtoPipe_fortran_output(-1)",
         [](rtopipe *) {
             rtopipe *p = rtoPipe_fortran_output(-1);
             int64_t r = rtowritestr(p, "x");
             return r * 10 + rtodestroy(p);
         }, -10, "", ""},
        {"rtopipe_create_tee(NULL)", [](rtopipe *) { return rtopipe_create_tee(nullptr) == nullptr; }, 1, "", ""},
        {"rto_set_prompt(NULL), (10^5)",
         [](rtopipe *) { rto_set_prompt(nullptr); size_t n = std::strlen(rtoprompt()); rto_set_prompt(kHuge.c_str()); return n + std::strlen(rtoprompt()); }, 255, "", ""},
        {"rtohis_set_hisDev(dead pipe) keeps the device",
         [](rtopipe *q) { rtopipe *his = rtHisDev, dead = *q; dead.refcount = 0; rtohis_set_hisDev(&dead); return rtHisDev == his; }, 1, kDead, ""},
        {"rtorep_set_repDev(NULL) twice", [](rtopipe *) { rtorep_set_repDev(nullptr); rtorep_set_repDev(nullptr); return rtRepDev == nullptr; }, 1, "", ""},
        {"RTOHIS_WRITELN(NULL, SIZE_MAX)", [](rtopipe *) { RTOHIS_WRITELN(nullptr, SIZE_MAX); return 0; }, 0, "\n", ""},
        {"RTOHIS_WRITE(unterminated, 16)", [&](rtopipe *) { RTOHIS_WRITE(field, sizeof field); return 0; }, 0, std::string(16, 'f'), ""},
        {"RTOHIS_WRITE(10^5 blank-padded)",
         [](rtopipe *) { std::string t = "v" + std::string(99999, ' '); RTOHIS_WRITE(t.data(), t.size()); return 0; }, 0, "v", ""},
        {"RTOREP_* without a device",
         [](rtopipe *) { RTOREP_WRITELN(nullptr, 0); RTOREP_WRITE(nullptr, SIZE_MAX); RTOREP_WRITESTR(nullptr); RTOREP_FLUSH(); return 0; }, 0, "",
         "!!rtorep__writeln: NULL report device\n!!rtorep__write: NULL report device\n"
         "!!rtorep__writestr: NULL report device\n"},
        {"RTOREP_WRITESTR(NULL) to a device",
         [](rtopipe *q) { rtorep_set_repDev(q); RTOREP_WRITESTR(nullptr); rtorep_set_repDev(nullptr); return q->refcount; }, 1, "", ""},
        {"RTOHIS_FLUSH, RTOHIS_INQ_HOST_F, rtohis_inq_host(NULL)", [](rtopipe *) { RTOHIS_FLUSH(); return RTOHIS_INQ_HOST_F() + rtohis_inq_host(nullptr); }, 0, "", ""},
    };
    HistoryCapture his;
    for (const Row &row : rows) {
        rtopipe *q = create_queue_rtopipe();
        rtowritestr(q, "abc");
        StderrCapture err;
        EXPECT_EQ(row.run(q), row.result) << row.call;
        EXPECT_EQ(his.text(), row.his) << row.call;
        EXPECT_EQ(err.text(), row.err) << row.call;
        EXPECT_EQ(rtodestroy(q), 0) << row.call;
    }
    rto_set_prompt("ZARN>");
}

// Set-up and shut-down out of order, twice, and again after the end.
TEST(PipeHostileCaller, SetUpSequences) {
    static const int64_t kMin = LLONG_MIN;
    rtoPipeIOTerminate();  // before any set-up: back to the standard pipes
    rtopipe *terminal = stdoutPipe;
    EXPECT_STREQ(rtodesc(terminal), "TERMINAL");
    EXPECT_EQ(rtHisDev, terminal);
    EXPECT_EQ(terminal->refcount, 2);
    for (const int64_t *flag : {static_cast<const int64_t *>(nullptr), &kMin}) {
        INIT_PIPE_4HOST_F(flag);  // absent: 0; LLONG_MIN is non-zero: interactive, never narrowed to 0
        rtopipe *out = stdoutPipe;
        EXPECT_EQ(rtoPipeIOInitialize(INT_MIN), 1);  // a second call only counts
        EXPECT_EQ(stdoutPipe, out);
        EXPECT_STREQ(rtodesc(out), flag == nullptr ? "*queue pipe*" : "TERMINAL");
        rtoPipeIOTerminate();
        rtoPipeIOTerminate();
        EXPECT_EQ(stdoutPipe, terminal);
        EXPECT_EQ(rtHisDev, terminal);
    }
}

}  // namespace
