// Console output of Google Benchmark, then one line per pair of runs: the
// library's ns per operation, the baseline's, and library / baseline.
#ifndef ZARN_BENCH_PAIR_REPORTER_H
#define ZARN_BENCH_PAIR_REPORTER_H

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace zarn::bench {

struct Pair {
    const char *label;     // what is compared
    const char *library;   // benchmark name (up to any '/') of the library's run
    const char *baseline;  // benchmark name of the baseline's run
};

class PairReporter : public benchmark::ConsoleReporter {
  public:
    explicit PairReporter(std::vector<Pair> pairs) : pairs_(std::move(pairs)) {}

    void ReportRuns(const std::vector<Run> &runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs) {
            if (r.error_occurred || r.iterations == 0) continue;
            std::string name = r.benchmark_name().substr(0, r.benchmark_name().find('/'));
            ns_[name] = per_op(r);
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-40s %12s %12s %8s\n", "", "library ns", "baseline ns", "ratio");
        for (const Pair &p : pairs_) {
            auto a = ns_.find(p.library), b = ns_.find(p.baseline);
            if (a == ns_.end() || b == ns_.end() || b->second <= 0) continue;
            std::printf("%-40s %12.2f %12.2f %8.2f\n", p.label, a->second, b->second, a->second / b->second);
        }
    }

    // ns per operation of a run: its "ns_per_op" counter, else from its item
    // rate, else its CPU time per iteration.
    static double per_op(const Run &r) {
        auto c = r.counters.find("ns_per_op");
        if (c != r.counters.end()) return c->second.value;
        auto ips = r.counters.find("items_per_second");
        if (ips != r.counters.end() && ips->second.value > 0) return 1e9 / ips->second.value;
        return r.GetAdjustedCPUTime();
    }

  private:
    std::vector<Pair> pairs_;
    std::map<std::string, double> ns_;
};

}  // namespace zarn::bench

#endif
