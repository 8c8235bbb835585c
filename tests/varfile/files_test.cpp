// Whole files read into variable lists: bad records among good ones, a large
// list written and read back, and the kept fuzz inputs.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#define ZARN_FUZZ_CHECK(cond) EXPECT_TRUE(cond) << #cond
#include "../../fuzz/varfile_one_input.h"
#include "varfile_fixture.h"
#include "zarnutils/rtuom.h"

using namespace zarn::test;
namespace fs = std::filesystem;

namespace {

fs::path source_dir() {
    const char *top = std::getenv("ZARN_SOURCE_DIR");
    return top != nullptr ? fs::path(top) : fs::path(__FILE__).parent_path() / ".." / "..";
}

std::string slurp(const fs::path &p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int unit(int ptype, const char *name) {
    int u = 0;
    rtouom_ptype_locate(name, ptype, &u);
    return u;
}

void read_into(rtvarlst_t *l, const std::string &text, const std::function<void(RTVarFileIn &)> &setup = {}) {
    rtopipe *q = create_queue_rtopipe();
    rtowrite(q, text.data(), text.size());
    RTVarFileIn in(q, l);
    if (setup) setup(in);
    in.Go();
}

TEST(VarfileFiles, BadRecordsAmongGoodOnes) {
    const int t = pt_lookup("TEMPERATURE");
    std::vector<V> vars;
    for (const char *n : {"G1", "G2", "G3", "G4", "G5", "G6", "G7", "G8", "B1", "B2", "B3", "B4"})
        vars.push_back({.name = n, .value = -1});
    vars.push_back({.name = "T1", .ptype = t, .uom = unit(t, "C"), .spec = 1, .value = -1});
    vars.push_back({.name = "T2", .ptype = t, .uom = unit(t, "K"), .value = -1});
    List l(vars);
    const std::string big(5 << 20, 'x');
    const std::string file = slurp(source_dir() / "tests" / "varfile" / "data" / "bad_records.txt") +
                             "NEW SECTION\nNAME,DESCRIPTION,VALUE\n//" + big + "\nG7,'" + big + "',7\n'" + big +
                             "',9\nG8,,8\n";
    HistoryCapture h;
    read_into(l, file);
    const std::string more = ".\nDouble check your commas, and remember that a record cannot end with an\nempty field.\n";
    const std::string parse = "!! ZARN EO parse error in VARFILE input\n";
    EXPECT_EQ(h.text(), "Variable B1 has more fields (5) than the header (4)" + more +
                            "Name is not a string in VARFILE.\n"
                            "!! rtouom_locate: Unable to locate a unit of measurement named: FURLONG\n"
                            "Unrecognized unit of measure FURLONG assigned to the UNITS attribute of T1\n"
                            "Unit of measure BAR has a different physical type than that of T2\n"
                            "Unrecognized symbol NOSUCH assigned to the SPEC attribute of G2\n"
                            "Ignoring unexpected character '@' in varfile\n"
                            "Unterminated identifier!\n" + parse + parse);
    const double want[] = {1, 2, 3, 4, 5, 6, 7, 8, -1, -1, -1, -1, 293.15, 30};
    for (int i = 1; i <= 14; ++i) EXPECT_NEAR(rtovarlst_inq_var_value(l, i, 1), want[i - 1], 1e-9) << vars[i - 1].name;
    EXPECT_EQ(varInqSpec(rtovarlst_inq_var_status(l, 1)), 1);
    EXPECT_EQ(varInqSpec(rtovarlst_inq_var_status(l, 13)), 0);
    EXPECT_EQ(varInqSpec(rtovarlst_inq_var_status(l, 2)), 0);
}

// A deterministic spread of every attribute the reader takes back.
struct Spread {
    uint64_t s = 88172645463325252ull;
    uint32_t next() { return static_cast<uint32_t>((s = s * 6364136223846793005ull + 1442695040888963407ull) >> 33); }
    double real(double lo, double hi) { return lo + (hi - lo) * next() / 4294967296.0; }
};

TEST(VarfileFiles, LargeListRoundTrip) {
    constexpr int n = 10000;
    const int t = pt_lookup("TEMPERATURE"), p = pt_lookup("PRESSURE");
    const int ptypes[] = {0, t, p};
    const int kTypes[] = {0, 3, 4, 5, 6, 7};  // no state or differential: they need a partner
    const int untyped = unit(0, "*");
    const int units[3][3] = {{untyped, untyped, untyped}, {unit(t, "C"), unit(t, "F"), unit(t, "K")},
                             {unit(p, "BAR"), unit(p, "PSI"), unit(p, "PA")}};
    Spread r;
    std::vector<std::string> names(n);
    std::vector<V> vars(n);
    for (int k = 0; k < n; ++k) {
        names[k] = k % 97 == 0 ? "Q " + std::to_string(k) : k % 101 == 0 ? std::string(60, 'L') + std::to_string(k)
                                                                        : "V" + std::to_string(k);
        const int kind = k % 3;
        const double lo = r.real(-50, 100), v = lo + r.real(1, 100);
        vars[k] = {.name = names[k].c_str(), .ptype = ptypes[kind], .uom = units[kind][k / 3 % 3],
                   .spec = static_cast<int>(r.next() % 8), .type = kTypes[r.next() % 6],
                   .bound = static_cast<int>(r.next() % 4), .value = v + 273.15, .init = r.real(-1e6, 1e6),
                   .lower = lo + 273.15, .upper = v + r.real(1, 50) + 273.15, .step = r.real(0.1, 10),
                   .m1 = r.next(), .m2 = r.next() % 3 == 0 ? r.next() : 0, .ramped = static_cast<int>(r.next() % 2),
                   .quality = static_cast<int>(r.next() % 4), .param = static_cast<int>(r.next() % 2)};
    }
    List a(vars);
    for (int i = 1; i <= n; ++i) {
        rtovarlst_set_var_slvscl(a, i, r.real(0.5, 20), 1), rtovarlst_set_var_sbweight(a, i, r.real(0, 5));
        rtovarlst_set_var_target_homo(a, i, r.real(-10, 10), 1), rtovarlst_set_var_threshold(a, i, r.real(0, 3), 1);
        const int kind = (i - 1) % 3;
        rtovarlst_set_var_conn_type(a, i, ptypes[kind]);
        if (kind != 0) rtovarlst_set_var_baseuom(a, i, units[kind][i % 2]);
    }
    std::vector<V> fresh(n);
    for (int k = 0; k < n; ++k) fresh[k] = {.name = names[k].c_str()};
    List b(fresh);
    HistoryCapture h;
    // Every column but the two whose words hold blanks, which a reader cannot take back.
    std::vector<int> columns;
    for (int c = A::NAME; c <= A::CONN_TYPE; ++c)
        if (c != A::DESCRIPTION && c != A::ACTIVE_BOUND) columns.push_back(c);
    const std::string file = write_out(a, {20, 16, 80, 12}, columns);
    read_into(b, file, [](RTVarFileIn &in) { in.AddAttribute(A::MODIFIED); });
    EXPECT_EQ(h.text(), "");
    rtvarinfo_t x, y;
    auto close = [](double u, double v) { return std::fabs(u - v) <= 1e-8 * std::max(std::fabs(u), std::fabs(v)); };
    int bad = 0;
    for (int i = 1; i <= n && bad < 5; ++i) {
        x.mask = y.mask = {RTVARINFO_ALL, RTVARINFO_ALL};
        rtovarlst_inq_var(a, i, &x, 1), rtovarlst_inq_var(b, i, &y, 1);
        const bool same =
            close(x.value, y.value) && close(x.init, y.init) && close(x.lower, y.lower) && close(x.upper, y.upper) &&
            close(x.step, y.step) && close(x.scale, y.scale) && close(x.sbweight, y.sbweight) &&
            close(x.target_homo, y.target_homo) && close(x.threshold, y.threshold) && x.status == y.status &&
            x.quality == y.quality && x.param_homo == y.param_homo && x.ramped == y.ramped && x.uom == y.uom &&
            x.baseuom == y.baseuom && x.conn_type == y.conn_type && x.modified.mask1 == y.modified.mask1 &&
            x.modified.mask2 == y.modified.mask2;
        if (!same) ++bad;
        EXPECT_TRUE(same) << names[i - 1];
    }
}

TEST(VarfileFiles, EveryKeptFuzzInputPasses) {
    HistoryCapture h;
    int replayed = 0;
    for (const auto &entry : fs::directory_iterator(source_dir() / "fuzz" / "corpus" / "varfile")) {
        const std::string bytes = slurp(entry.path());
        SCOPED_TRACE(entry.path().filename().string());
        zarn::fuzz::varfile_one_input(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size()), ++replayed;
    }
    EXPECT_GE(replayed, 4);
}

}  // namespace
