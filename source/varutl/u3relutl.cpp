// Equation status word: inclusion, math type, sign, pre-connections and flags.
#include <cmath>

#include "platform/zassert.h"
#include "rtopipe/report.h"
#include "varutl/varutl_messages.h"
#include "zarnutils/varutl.h"

namespace {

constexpr const char *kSource = zarn::varutl::msg::kAssertSource;

constexpr int64_t kExcludedBit = 0x1;
constexpr int64_t kMathMask = 0xE;
constexpr int kMathShift = 1;
constexpr int64_t kSignMask = 0x30;
constexpr int kSignShift = 4;
constexpr int64_t kTf = 0x100000;
constexpr int64_t kPf = 0x200000;
constexpr int64_t kLinear = 0x400000;

// Where one pre-connection lives in the word.
struct Precon {
    int spec_shift;            // 4 bits: spec + 1
    int conn_shift;            // 3 bits: connection state
    const char *const *texts;  // the four assertion texts
};
constexpr Precon kPrecon1 = {6, 14, zarn::varutl::msg::kPrecon1};
constexpr Precon kPrecon2 = {10, 17, zarn::varutl::msg::kPrecon2};

inline void set_bit(int64_t *word, int64_t bit, bool on) {
    if (word == nullptr) return;
    *word = on ? (*word | bit) : (*word & ~bit);
}

void get_precon(const Precon &p, int32_t word, int64_t *spec, int64_t *conn) {
    const int64_t w = static_cast<uint32_t>(word);
    if (spec != nullptr) *spec = ((w >> p.spec_shift) & 0xF) - 1;
    if (conn != nullptr) *conn = (w >> p.conn_shift) & 0x7;
}

// Each failed check prints its own line; any failure leaves the word as it was.
void set_precon(const Precon &p, int64_t *word, int32_t spec, int32_t conn) {
    bool ok = true;
    if (spec < VAR_CALC) ok = false, zarn::assert_report(p.texts[0], kSource, __LINE__);
    if (spec > VAR_INITIAL) ok = false, zarn::assert_report(p.texts[1], kSource, __LINE__);
    if (conn < VAR_NOT_CONNECTED) ok = false, zarn::assert_report(p.texts[2], kSource, __LINE__);
    if (conn > VAR_CONNECTED_PARAM) ok = false, zarn::assert_report(p.texts[3], kSource, __LINE__);
    if (!ok || word == nullptr) return;
    const int64_t mask = (int64_t{0xF} << p.spec_shift) | (int64_t{0x7} << p.conn_shift);
    *word = (*word & ~mask) | (static_cast<int64_t>(spec + 1) << p.spec_shift) |
            (static_cast<int64_t>(conn) << p.conn_shift);
}

}  // namespace

extern "C" {

void u3incr_c(int64_t *word) { set_bit(word, kExcludedBit, false); }
void u3uncr_c(int64_t *word) { set_bit(word, kExcludedBit, true); }
int32_t u3rinc_c(int32_t word) { return (word & kExcludedBit) == 0 ? 1 : 0; }

int32_t u3rgmt_c(int32_t word) { return static_cast<int32_t>((word & kMathMask) >> kMathShift); }

void u3rpmt_c(int64_t *word, int32_t type) {
    if (type < EQN_EQUALITY || type > EQN_OBJ_FUNC) {
        zarn::rtopipe::report(zarn::varutl::msg::kMathTypeRange, type);
        return;
    }
    if (word != nullptr) *word = (*word & ~kMathMask) | (static_cast<int64_t>(type) << kMathShift);
}

double u3rgsn_c(int32_t word) {
    switch ((word & kSignMask) >> kSignShift) {
        case 1:
            return -1.0;
        case 2:
            return 1.0;
        default:
            return 0.0;
    }
}

void u3rpsn_c(int64_t *word, double value) {
    if (word == nullptr) return;
    int64_t code = 0;
    if (value < 0.0)
        code = 1;
    else if (value > 0.0)
        code = 2;
    *word = (*word & ~kSignMask) | (code << kSignShift);
}

int32_t u3rgln_c(int32_t word) { return (word & kLinear) != 0 ? 1 : 0; }
void u3rpln_c(int64_t *word, int32_t flag) { set_bit(word, kLinear, flag != 0); }
int32_t u3rgtf_c(int32_t word) { return (word & kTf) != 0 ? 1 : 0; }
void u3rptf_c(int64_t *word, int32_t flag) { set_bit(word, kTf, flag != 0); }
int32_t u3rgpf_c(int32_t word) { return (word & kPf) != 0 ? 1 : 0; }
void u3rppf_c(int64_t *word, int32_t flag) { set_bit(word, kPf, flag != 0); }

void u3r_get_precon1_c(int32_t word, int64_t *spec, int64_t *conn) { get_precon(kPrecon1, word, spec, conn); }
void u3r_get_precon2_c(int32_t word, int64_t *spec, int64_t *conn) { get_precon(kPrecon2, word, spec, conn); }
void u3r_set_precon1_c(int64_t *word, int32_t spec, int32_t conn) { set_precon(kPrecon1, word, spec, conn); }
void u3r_set_precon2_c(int64_t *word, int32_t spec, int32_t conn) { set_precon(kPrecon2, word, spec, conn); }

double u3rmserr_c(int32_t n, const double *resid, const int64_t *words) {
    if (n <= 0 || resid == nullptr || words == nullptr) return 0.0;
    double sum = 0.0;
    for (int32_t i = 0; i < n; ++i) {
        const int64_t w = words[i];
        if ((w & kExcludedBit) == 0 && (w & kMathMask) == 0) sum += resid[i] * resid[i];
    }
    return std::sqrt(sum);
}

}  // extern "C"
