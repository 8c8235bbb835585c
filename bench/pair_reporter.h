// Console output of Google Benchmark, then one line per pair of runs (the
// library's ns per operation, the baseline's, and library / baseline) and
// one per figure (a measured number such as bytes per variable). With
// ZARN_BENCH_RESULTS naming a folder, pairs and figures are also written to
// <folder>/<program>.pairs.json, which scripts/bench_goals.py compares with
// bench/goals.json. With --benchmark_repetitions each side counts with its
// fastest repetition (a shared machine only ever slows a run down).
#ifndef ZARN_BENCH_PAIR_REPORTER_H
#define ZARN_BENCH_PAIR_REPORTER_H

#include <benchmark/benchmark.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
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

    // A figure to print and record with the pairs; add it before the runs end.
    void figure(const std::string &label, double value) { figures_.emplace_back(label, value); }

    void ReportRuns(const std::vector<Run> &runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &r : runs) {
            if (r.error_occurred || r.iterations == 0 || r.run_type != Run::RT_Iteration) continue;
            std::string name = r.benchmark_name().substr(0, r.benchmark_name().find('/'));
            const double ns = per_op(r);
            auto seen = ns_.find(name);
            if (seen == ns_.end() || ns < seen->second) ns_[name] = ns;
        }
    }

    void Finalize() override {
        ConsoleReporter::Finalize();
        std::string json = "{\n  \"pairs\": [";
        const char *sep = "\n";
        std::printf("\n%-40s %12s %12s %8s\n", "", "library ns", "baseline ns", "ratio");
        for (const Pair &p : pairs_) {
            auto a = ns_.find(p.library), b = ns_.find(p.baseline);
            if (a == ns_.end() || b == ns_.end() || b->second <= 0) continue;
            const double ratio = a->second / b->second;
            std::printf("%-40s %12.2f %12.2f %8.2f\n", p.label, a->second, b->second, ratio);
            json += sep +
                    entry(p.label, {{"library_ns", a->second}, {"baseline_ns", b->second}, {"ratio", ratio}});
            sep = ",\n";
        }
        json += "\n  ],\n  \"figures\": [";
        sep = "\n";
        for (const auto &[label, value] : figures_) {
            std::printf("%-60s %12.1f\n", label.c_str(), value);
            json += sep + entry(label, {{"value", value}});
            sep = ",\n";
        }
        json += "\n  ]\n}\n";
        save(json);
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
    // Labels are the programs' own texts: plain characters, but quoted with care.
    static std::string entry(const std::string &label, std::vector<std::pair<const char *, double>> fields) {
        std::string out = "    {\"label\": \"";
        for (char c : label) {
            if (c == '"' || c == '\\') out += '\\';
            out += c;
        }
        out += '"';
        for (const auto &[key, value] : fields) {
            char number[64];
            std::snprintf(number, sizeof number, "%.6g", value);
            out += std::string(", \"") + key + "\": " + number;
        }
        return out + "}";
    }

    static void save(const std::string &json) {
        const char *folder = std::getenv("ZARN_BENCH_RESULTS");
        if (folder == nullptr || folder[0] == '\0') return;
        const std::string path = std::string(folder) + "/" + program() + ".pairs.json";
        std::ofstream out(path);
        out << json;
        if (!out) std::fprintf(stderr, "pair_reporter: cannot write %s\n", path.c_str());
    }

    // The running program's file name.
    static std::string program() { return program_invocation_short_name; }

    std::vector<Pair> pairs_;
    std::vector<std::pair<std::string, double>> figures_;
    std::map<std::string, double> ns_;
};

}  // namespace zarn::bench

#endif
