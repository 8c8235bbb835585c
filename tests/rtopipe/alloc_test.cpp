// Every allocation of every pipe kind fails once: no pipe, the message, nothing changed.
#include <gtest/gtest.h>

#include <string>

#include "capture.h"
#include "failsweep.h"
#include "zarnutils/host.hpp"

using zarn::test::drain;
using zarn::test::HistoryCapture;

namespace {

struct NoStream final : IStream {
    HRESULT QueryInterface(const void *, void **) override { return E_NOINTERFACE; }
    ULONG AddRef() override { return 1; }
    ULONG Release() override { return 1; }
    HRESULT Read(void *, ULONG, ULONG *) override { return E_FAIL; }
    HRESULT Write(const void *, ULONG, ULONG *) override { return E_FAIL; }
};

// A made pipe is destroyed at once: the sweep counts only its creation.
bool made(rtopipe *p) { return p != nullptr && rtodestroy(p) == 0; }

TEST(PipeAllocation, EveryFailureLeavesNoPipeAndSaysWhy) {
    HistoryCapture his;
    rtopipe *q = create_queue_rtopipe();
    rtowritestr(q, "kept");
    const std::string big(1500, 'b');
    gl_list_t *members = gl_create();  // the tee takes it over once made
    struct Row {
        const char *fn;
        std::function<bool()> op;
        long allocations;
    };
    const Row rows[] = {
        {"create_queue_rtopipe", [] { return made(create_queue_rtopipe()); }, 2},
        {"create_ascii_stream_rtopipe", [] { return made(create_ascii_stream_rtopipe(stdin, "in", 0)); }, 3},
        {"create_binary_stream_rtopipe", [] { return made(create_binary_stream_rtopipe(stdin, "in", 0)); }, 3},
        {"rtoPipe_fortran_output", [] { return made(rtoPipe_fortran_output(9)); }, 2},
        {"rtopipe_create_tee", [&] { return made(rtopipe_create_tee(members)); }, 1},
        {"rtopipestream::ConnectPipe",
         [] {
             NoStream s;
             rtopipestream owner(&s);
             owner.ConnectPipe();
             return made(owner.Getrtopipe());
         },
         1},
        // A write needing three new chunks: the queue keeps what it had.
        {"rtowrite", [&] { return rtowrite(q, big.data(), big.size()) == 1; }, 5},
    };
    for (const Row &row : rows) {
        const std::string text = std::string("!!") + row.fn + ": Unable to allocate memory for the pipe\n";
        long seen = zarn::test::fail_each_allocation(row.op, [&](long n, bool ok) {
            EXPECT_FALSE(ok) << row.fn << " allocation " << n;
            EXPECT_EQ(his.text(), text) << row.fn << " allocation " << n;
            EXPECT_EQ(drain(q), "kept");
            rtowritestr(q, "kept");
        });
        EXPECT_EQ(seen, row.allocations) << row.fn;
    }
    EXPECT_EQ(drain(q), "kept" + big);
    rtodestroy(q);
}

}  // namespace
