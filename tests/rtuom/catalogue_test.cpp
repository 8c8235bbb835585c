// The built-in catalogue as the table holds it after a build: counts, the rows
// whose values are fixed, and consistency checks over every entry that catch
// a wrong constant or a misread name.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "rtuom/uomcatalog.h"
#include "zarnutils/rtuom.h"

namespace {

// Unit counts of types 0..148 in catalogue order.
constexpr int kExpectedCounts[149] = {
    1,  7,  4,  7,  4,  16, 7,  12, 3,  45, 50, 33, 40, 22, 4,  8,  19, 12, 9,  14, 37, 6,  5,  14, 10,
    10, 9,  23, 8,  9,  15, 9,  3,  15, 4,  5,  4,  7,  10, 18, 12, 11, 8,  5,  5,  5,  6,  4,  3,  7,
    8,  9,  11, 16, 7,  23, 3,  12, 10, 7,  4,  8,  6,  10, 7,  5,  3,  3,  5,  3,  10, 5,  5,  3,  7,
    20, 6,  37, 3,  6,  11, 3,  11, 3,  6,  4,  6,  10, 7,  8,  1,  1,  1,  6,  1,  1,  1,  1,  1,  1,
    20, 4,  12, 12, 15, 16, 12, 12, 15, 17, 3,  3,  5,  4,  4,  5,  9,  3,  4,  16, 8,  5,  8,  4,  4,
    3,  10, 5,  6,  15, 5,  3,  3,  3,  5,  13, 8,  10, 12, 5,  5,  4,  40, 7,  10, 7,  16, 10, 11};

constexpr int kHead = 33, kDesignPres = 93, kVflowRpm = 100, kMoleCycl = 103;

bool close(double a, double b, double rel = 1e-13) {
    return std::fabs(a - b) <= rel * std::max(std::fabs(a), std::fabs(b)) + 1e-300;
}

const rtouom_entry &entry(int t, int i) { return rtouom_table[t][i - 1]; }

TEST(UomCatalogue, CountsAndSIUnitsAfterBuild) {
    int total = 0;
    for (int t = 0; t < RTOUOM_NTYPES; ++t) {
        SCOPED_TRACE(rtouom_ptype_name(t));
        ASSERT_NE(rtouom_table[t], nullptr);
        EXPECT_EQ(rtouom_count[t], kExpectedCounts[t]);
        EXPECT_EQ(rtouom_npredefined[t], kExpectedCounts[t]);
        EXPECT_EQ(entry(t, 1).multiplier, 1.0);
        EXPECT_EQ(entry(t, 1).offset, 0.0);
        for (int i = 1; i <= rtouom_count[t]; ++i) {
            EXPECT_EQ(entry(t, i).ptype, t);
            EXPECT_LE(std::strlen(entry(t, i).name), 32u);
            EXPECT_NE(entry(t, i).multiplier, 0.0) << entry(t, i).name;
        }
        total += rtouom_count[t];
    }
    EXPECT_EQ(total, 1386);
    EXPECT_EQ(rtouom_count[0], 1);
    EXPECT_STREQ(entry(0, 1).name, "*");
    EXPECT_EQ(rtouom_count[10], 50);
    EXPECT_STREQ(entry(10, 50).name, "KTONNE/OPER-YEAR");
    EXPECT_STREQ(entry(20, 37).name, "BARA");
    EXPECT_STREQ(entry(148, 11).name, "MLBMOL/HR-FT");
    for (int t : {90, 91, 92, 94, 95, 96, 97, 98, 99}) EXPECT_STREQ(entry(t, 1).name, "BASE-UNITS");
}

TEST(UomCatalogue, TypeNamesAndLookupByName) {
    EXPECT_STREQ(rtouom_ptype_name(0), "UNTYPED");
    EXPECT_STREQ(rtouom_ptype_name(20), "PRESSURE");
    EXPECT_STREQ(rtouom_ptype_name(44), "DIMENSIONLES");
    EXPECT_STREQ(rtouom_ptype_name(93), "DESIGN-PRES");
    EXPECT_STREQ(rtouom_ptype_name(148), "MOLEFL-LEN");
    for (int t = 0; t < RTOUOM_NTYPES; ++t) {
        const char *name = rtouom_ptype_name(t);
        EXPECT_LE(std::strlen(name), 12u);
        EXPECT_EQ(pt_lookup(name), t) << name;
    }
    // the sorted copy is strictly ascending in byte order, so bisection finds every name
    for (int i = 1; i < RTOUOM_NTYPES; ++i)
        EXPECT_LT(std::strcmp(zarn::rtuom::kSortedTypes[i - 1].name, zarn::rtuom::kSortedTypes[i].name), 0);
    EXPECT_EQ(pt_lookup("MASS-FLOW"), 10);
    EXPECT_EQ(pt_lookup("USR-DUMMY3"), -1);
    EXPECT_EQ(pt_lookup("mass-flow"), -1);
    EXPECT_EQ(pt_lookup("MASS-FLO"), -1);
    EXPECT_EQ(pt_lookup("MASS-FLOWS"), -1);
    EXPECT_EQ(pt_lookup(""), -1);
    EXPECT_EQ(pt_lookup(nullptr), -1);
    EXPECT_EQ(pt_lookup("ACCELERATION"), 132);  // first in byte order
    EXPECT_EQ(pt_lookup("WORK"), 52);           // last in byte order
}

TEST(UomCatalogue, FixedRowsAreExact) {
    struct Row {
        int type, index;
        const char *name;
        double mult, offset;
    };
    const Row rows[] = {
        {1, 2, "SQFT", 0.09290304, 0},
        {17, 2, "FT", 0.3048, 0},
        {18, 2, "LB", 0.45359237, 0},
        {9, 2, "LB/HR", 0.000125997880555556, 0},
        {5, 2, "BTU", 1055.05585262, 0},
        {6, 2, "BTU/LBMOL", 2326, 0},
        {7, 2, "BTU/LBMOL-R", 4186.8, 0},
        {32, 2, "DEG", 0.0174532925199433, 0},
        {22, 2, "F", 0.555555555555556, 255.372222222222},
        {22, 4, "C", 1, 273.15},
        {22, 5, "R", 0.555555555555556, 0},
        {31, 2, "DELTA-F", 0.555555555555556, 0},
        {20, 2, "PSIA", 6894.75729316836, 0},
        {20, 13, "PSIG", 6894.75729316836, 101325},
        {20, 26, "MMHG-VAC", -133.322368421053, 101325},
        {93, 2, "PSIG", 6894.75729316836, 0},
        {60, 2, "LN(1/HR)", 1, -8.1886891244442},
        {60, 4, "LN(1/MIN)", 1, -4.0943445622221},
        {24, 10, "OPER-YEAR", 31557600, -99999},
        {9, 37, "KG/OPER-YEAR", 3.16880878140289e-08, -99999},
        {85, 2, "PERCENT", 0.01, 0},
        {54, 2, "$/SQFT", 10.7639104167097, 0},
        {119, 2, "$/HR", 0.000277777777777778, 0},
        {5, 16, "MMKCAL", 4184100000, 0},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_STREQ(entry(r.type, r.index).name, r.name);
        EXPECT_EQ(entry(r.type, r.index).multiplier, r.mult);
        EXPECT_EQ(entry(r.type, r.index).offset, r.offset);
    }
}

TEST(UomCatalogue, NonZeroOffsetsOnlyInTheKnownGroups) {
    const std::set<std::string> gauge = {"PSIG", "ATMG", "BARG", "KG/SQCMG", "PAG", "KPAG",
                                         "MPAG", "MBARG", "IN-WATER-G", "IN-WATER-60F-G",
                                         "MM-WATER-G", "MM-WATER-60F-G"};
    const std::set<std::string> vacuum = {"MMHG-VAC", "IN-HG-VAC", "IN-WATER-VAC", "IN-WATER-60F-VAC"};
    int oper_year = 0, pressure = 0, other = 0;
    std::set<int> oper_year_types;
    for (int t = 0; t < RTOUOM_NTYPES; ++t) {
        for (int i = 1; i <= rtouom_count[t]; ++i) {
            const rtouom_entry &e = entry(t, i);
            const std::string name = e.name;
            const bool ends_oper_year = name.size() >= 9 && name.compare(name.size() - 9, 9, "OPER-YEAR") == 0;
            if (ends_oper_year) {
                ++oper_year;
                oper_year_types.insert(t);
                EXPECT_EQ(e.offset, -99999.0) << name;
                // the per-year multiplier: the plain YEAR unit of the same name
                std::string per_year = name.substr(0, name.size() - 9) + "YEAR";
                if (per_year == "YEAR") {
                    EXPECT_EQ(e.multiplier, entry(24, 6).multiplier);
                }
                for (int j = 1; j <= rtouom_count[t]; ++j) {
                    if (per_year == entry(t, j).name) {
                        EXPECT_EQ(e.multiplier, entry(t, j).multiplier) << name;
                    }
                }
            } else if (t == 20 && (gauge.count(name) || vacuum.count(name))) {
                ++pressure;
                EXPECT_EQ(e.offset, 101325.0) << name;
                EXPECT_EQ(e.multiplier < 0, vacuum.count(name) == 1) << name;
            } else if (e.offset != 0.0) {
                ++other;
                EXPECT_TRUE((t == 22 && (name == "F" || name == "C")) || t == 60) << name;
            }
        }
    }
    EXPECT_EQ(oper_year, 31);
    EXPECT_EQ(oper_year_types, (std::set<int>{9, 10, 11, 12, 24, 59, 62, 63, 119, 142}));
    EXPECT_EQ(pressure, 16);
    EXPECT_EQ(other, 5);  // F, C and the three LN(1/HR), LN(1/HR), LN(1/MIN)
    // DESIGN-PRES units carry no offset at all
    for (int i = 1; i <= rtouom_count[kDesignPres]; ++i) EXPECT_EQ(entry(kDesignPres, i).offset, 0.0);
}

// A name listed by several types means the same unit in each, except where the
// catalogue gives it another meaning: lengths read as heads in HEAD, and the
// gauge names of DESIGN-PRES, which carry no ambient offset.
TEST(UomCatalogue, SameNameSameUnitAcrossTypes) {
    const std::set<std::pair<int, std::string>> exceptions = {
        {kHead, "FT"}, {kHead, "METER"}, {kHead, "MFT"}, {kDesignPres, "PSIG"}, {kDesignPres, "BARG"}};
    std::map<std::string, const rtouom_entry *> first;
    int shared = 0;
    for (int t = 0; t < RTOUOM_NTYPES; ++t) {
        for (int i = 1; i <= rtouom_count[t]; ++i) {
            const rtouom_entry &e = entry(t, i);
            if (exceptions.count({t, e.name})) {
                EXPECT_NE(e.multiplier + e.offset, first.at(e.name)->multiplier + first.at(e.name)->offset)
                    << e.name << " in " << t << " no longer differs";
                continue;
            }
            auto [it, inserted] = first.emplace(e.name, &e);
            if (inserted) continue;
            ++shared;
            EXPECT_EQ(e.multiplier, it->second->multiplier) << e.name << " in types " << it->second->ptype << ", " << t;
            EXPECT_EQ(e.offset, it->second->offset) << e.name << " in types " << it->second->ptype << ", " << t;
        }
    }
    EXPECT_GT(shared, 350);
}

// Compound names agree with their parts: A-B/C-D/E is A*B/(C*D)/E, where each
// part is a unit of the table (first occurrence) or one of a few symbols.
class CompoundReader {
public:
    CompoundReader() {
        for (int t = 0; t < RTOUOM_NTYPES; ++t) {
            if (t == kHead || t == kDesignPres) continue;
            for (int i = 1; i <= rtouom_count[t]; ++i) parts_.emplace(entry(t, i).name, entry(t, i).multiplier);
        }
        const auto of = [&](const char *name) { return parts_.at(name); };
        parts_["S"] = of("SEC");
        parts_["M"] = of("METER");
        parts_["G"] = of("GM");
        parts_["W"] = of("WATT");
        parts_["N"] = of("NEWTON");
        parts_["TONS"] = of("TON");
        parts_["L-TONS"] = of("L-TON");
        parts_["ML-TONS"] = 1e3 * of("L-TON");
        parts_["MML-TONS"] = 1e6 * of("L-TON");
        parts_["K"] = of("DELTA-K");
        parts_["C"] = of("DELTA-C");
        parts_["F"] = of("DELTA-F");
        parts_["R"] = of("DELTA-R");
        parts_["SQSEC"] = 1;
        parts_["S2"] = 1;
        for (const char *one : {"1", "NO", "$", "CYCLE", "OP", "ITEM", "KG_DRY", "LB_DRY"}) parts_[one] = 1;
        parts_["KG_DRY"] = of("KG");
        parts_["LB_DRY"] = of("LB");
        parts_["1E6"] = 1e6;
        parts_["1E9"] = 1e9;
        parts_["K$"] = 1e3;
        parts_["MM$"] = 1e6;
    }

    // Value of a compound name, or false when a part is not known.
    bool read(const std::string &name, double *value) const {
        std::vector<std::string> segments;
        size_t start = 0;
        for (size_t slash; (slash = name.find('/', start)) != std::string::npos; start = slash + 1)
            segments.push_back(name.substr(start, slash - start));
        segments.push_back(name.substr(start));
        if (segments.size() < 2) return false;
        double v = 1;
        for (size_t s = 0; s < segments.size(); ++s) {
            double seg;
            if (!product(segments[s], &seg)) return false;
            v = s == 0 ? seg : v / seg;
        }
        *value = v;
        return true;
    }

private:
    bool product(const std::string &segment, double *value) const {
        std::vector<std::string> toks;
        size_t start = 0;
        for (size_t dash; (dash = segment.find('-', start)) != std::string::npos; start = dash + 1)
            toks.push_back(segment.substr(start, dash - start));
        toks.push_back(segment.substr(start));
        double v = 1;
        for (size_t i = 0; i < toks.size();) {
            size_t j = toks.size();
            for (; j > i; --j) {
                std::string key = toks[i];
                for (size_t k = i + 1; k < j; ++k) key += "-" + toks[k];
                auto it = parts_.find(key);
                if (it != parts_.end()) {
                    v *= it->second;
                    break;
                }
            }
            if (j == i) return false;
            i = j;
        }
        *value = v;
        return true;
    }

    std::map<std::string, double> parts_;
};

TEST(UomCatalogue, CompoundNamesAgreeWithTheirParts) {
    // Names that do not mean the product of their parts: kilogram-force, the
    // calorie written C, rates reused as amounts per cycle, radians per second,
    // a transfer coefficient written as flux per concentration.
    const std::set<std::string> exceptions = {
        "KG/SQCM", "SQCM/KG", "C-CM/SEC-SQCM-K", "MMSCFH/CYCLE", "MMSCMH/CYCLE", "SCMH/CYCLE",
        "MMSCFD/CYCLE", "SCFM/CYCLE", "RAD/SEC", "KG/S-SQM-KG/CUM", "LB/HR-SQF-LB/CUF", "GM/S-SQCM-GM/CC"};
    CompoundReader reader;
    int checked = 0;
    for (int t = 0; t < RTOUOM_NTYPES; ++t) {
        if (t == kHead || t == kDesignPres || t == kVflowRpm) continue;
        for (int i = 1; i <= rtouom_count[t]; ++i) {
            const rtouom_entry &e = entry(t, i);
            const std::string name = e.name;
            if (name.find('(') != std::string::npos || exceptions.count(name)) continue;
            double expected;
            if (!reader.read(name, &expected)) continue;
            ++checked;
            EXPECT_TRUE(close(e.multiplier, expected, 2e-14)) << name << " in type " << t << ": " << e.multiplier
                                                              << " vs parts " << expected;
        }
    }
    EXPECT_GT(checked, 900);
    // The exceptions do differ from the literal reading (else they need not be listed).
    double literal;
    ASSERT_TRUE(reader.read("KG/SQCM", &literal));
    EXPECT_NEAR(entry(20, 8).multiplier / literal, 9.80665, 1e-12);
    ASSERT_TRUE(reader.read("MMSCFH/CYCLE", &literal));
    EXPECT_NE(entry(kMoleCycl, 4).multiplier, literal);
}

TEST(UomCatalogue, RelatedTypesShareTheirUnits) {
    // SHORT-LENGTH repeats LENGTH; VOLUME-GFLOW repeats VOLUME-FLOW.
    for (auto [a, b] : {std::pair{17, 138}, std::pair{12, 142}}) {
        ASSERT_EQ(rtouom_count[a], rtouom_count[b]);
        for (int i = 1; i <= rtouom_count[a]; ++i) {
            EXPECT_STREQ(entry(a, i).name, entry(b, i).name);
            EXPECT_EQ(entry(a, i).multiplier, entry(b, i).multiplier);
        }
    }
    // VFLOW-RPM is VOLUME-FLOW per RPM: the same multipliers for the first 20.
    for (int i = 1; i <= rtouom_count[kVflowRpm]; ++i) {
        EXPECT_EQ(std::string(entry(kVflowRpm, i).name), std::string(entry(12, i).name) + "/RPM");
        EXPECT_EQ(entry(kVflowRpm, i).multiplier, entry(12, i).multiplier);
    }
    // HEAD lengths are heads: length times standard gravity.
    EXPECT_TRUE(close(entry(kHead, 6).multiplier, 0.3048 * 9.80665));  // FT
    EXPECT_TRUE(close(entry(kHead, 5).multiplier, entry(kHead, 15).multiplier));  // INCH, INCH-HEAD
    EXPECT_TRUE(close(entry(kHead, 2).multiplier, entry(kHead, 13).multiplier));  // FT-LBF/LB, FT-HEAD
}

TEST(UomCatalogue, EveryEntryRoundTripsThroughSI) {
    const double values[] = {-1e3, -1.0, 0.0, 0.5, 1.0, 123.456, 1e6};
    for (int t = 0; t < RTOUOM_NTYPES; ++t) {
        for (int i = 1; i <= rtouom_count[t]; ++i) {
            const rtouom_entry &e = entry(t, i);
            // the rounding left after subtracting the offset scales with |offset / multiplier|
            const double spread = std::fabs(e.offset / e.multiplier);
            for (double v : values) {
                const double tol = 1e-13 * (std::fabs(v) + spread) + 1e-300;
                EXPECT_NEAR(rtouom_si2pair(rtouom_pair2si(v, t, i), t, i), v, tol) << e.name << " " << t;
                EXPECT_NEAR(rtouom_delta_si2pair(rtouom_delta_pair2si(v, t, i), t, i), v, 1e-13 * std::fabs(v))
                    << e.name;
                if (t > 0) {
                    EXPECT_NEAR(rtouom_si2pair(rtouom_pair2si(v, -t, i), -t, i), v, 1e-13 * std::fabs(v)) << e.name;
                }
            }
            EXPECT_EQ(rtouom_pair2si(1.0, t, i), e.multiplier + e.offset);
            EXPECT_EQ(rtouom_delta_pair2si(1.0, t, i), e.multiplier);
        }
    }
}

}  // namespace
