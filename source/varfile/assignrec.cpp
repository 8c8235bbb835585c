// The assigning recorder: stores what a VARFILE reader hands it in the
// variable list, numbers converted from display units (or from the unit the
// record names) to SI and divided by the variable's internal scale.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "attrcat/attrcat.h"
#include "rtopipe/report.h"
#include "rtvarlst/rtvarlst_scale.h"
#include "varfile/recorders.h"
#include "varfile/varfile_messages.h"
#include "varmask/coded.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/varattrnames.hpp"
#include "zarnutils/varfile.hpp"
#include "zarnutils/varmask.h"
#include "zarnutils/varutl.h"

namespace zarn::varfile {

namespace {

using A = RTVarDatabase;

constexpr char kWho[] = "AssignRecorder";

// Stores x, given in unit `unit` of the variable's physical type (kDisplayUnit:
// its display unit), as attribute a of variable i, unless the recorder
// refuses numbers for a.
void store(rtvarlst_t *list, int level, uint32_t refused, int i, A::VarAttribute a, double x, int unit) {
    if ((refused & attribute_bit(a)) != 0) return refuse<msg::kRealRefused>(level, list, x, a, i);
    switch (a) {
        case A::VALUE:
        case A::INIT:
        case A::LOWER:
        case A::UPPER:
        case A::TARGET:
        case A::THRESHOLD:
        case A::STEP:
        case A::SCALE:
            break;  // converted below
        case A::SBWEIGHT:
            rtovarlst_set_var_sbweight(list, i, x);
            return;
        case A::SHADOW_PRICE:
            refuse<msg::kShadowPrice>(level, list, x, a, i);
            if (level >= 1) zarn::rtopipe::report(msg::kShadowPriceWhy);
            return;
        case A::RLOWER:
        case A::RUPPER:
            return;
        default:
            refuse<msg::kRealRefused>(level, list, x, a, i);
            return;
    }
    // The number as assignment would hold it: to SI, to the base unit, then
    // divided by the internal scale.
    const int t = ptype_of(list, i);
    const int u = unit == kDisplayUnit ? rtovarlst_inq_var_uom(list, i) : unit;
    const bool difference = a == A::STEP || a == A::SCALE;
    const double si = difference ? rtouom_delta_pair2si(x, t, u) : rtouom_pair2si(x, t, u);
    const double v =
        zarn::rtvarlst::si_to_base(list, i, si, a == A::SCALE) / zarn::rtvarlst::effective_scale(list, i);
    switch (a) {
        case A::VALUE:
            rtovarlst_set_var_value(list, i, v, 0);
            break;
        case A::INIT:
            rtovarlst_set_var_initial(list, i, v, 0);
            break;
        case A::LOWER:
            rtovarlst_set_var_lower(list, i, v, 0);
            break;
        case A::UPPER:
            rtovarlst_set_var_upper(list, i, v, 0);
            break;
        case A::TARGET:
            rtovarlst_set_var_target_homo(list, i, v, 0);
            break;
        case A::THRESHOLD:
            rtovarlst_set_var_threshold(list, i, v, 0);
            break;
        case A::STEP:
            rtovarlst_set_var_step_inbaseuom(list, i, v);
            break;
        default:
            rtovarlst_set_var_slvscl(list, i, v, 0);
            break;  // SCALE
    }
}

// The MODIFIED mask of an integer: n >= 0 is the first word, n < 0 gives -n
// as the second.
rtvarmod_t modified_of(int n) {
    if (n >= 0) return {static_cast<uint32_t>(n), 0};
    return {0, 0u - static_cast<uint32_t>(n)};
}

// "a;b": both parts as decimal integers, a missing part 0.
rtvarmod_t modified_of(const char *text) {
    const char *semicolon = std::strchr(text, ';');
    const long first = std::strtol(text, nullptr, 10);
    const long second = semicolon != nullptr ? std::strtol(semicolon + 1, nullptr, 10) : 0;
    return {static_cast<uint32_t>(first), static_cast<uint32_t>(second)};
}

}  // namespace

}  // namespace zarn::varfile

namespace vf = zarn::varfile;
namespace vm = zarn::varmask;
namespace ac = zarn::attrcat;
namespace msg = zarn::varfile::msg;
using A = RTVarDatabase;

VarRecorder::~VarRecorder() = default;

AssignRecorder::AssignRecorder(const gl_list_t *attributes, rtvarlst_t *list, int level,
                               const VarFilter *filter)
    : AssignRecorder(attributes, list, level, filter, Rules{0, 0, true}) {}

AssignRecorder::AssignRecorder(const gl_list_t *attributes, rtvarlst_t *list, int level,
                               const VarFilter *filter, const Rules &rules)
    : attributes_(attributes), list_(list), level_(level), filter_(filter), rules_(rules) {}

AssignRecorder::~AssignRecorder() { std::free(buffer_); }

int AssignRecorder::AcceptsAttribute(Attribute a) { return vf::in_list(attributes_, a) ? 1 : 0; }

int AssignRecorder::LookupVariable(const char *name) {
    unitText_[0] = '\0';  // a new record: its unit is looked up afresh
    return vf::find_variable(list_, filter_, name, buffer_, capacity_, vf::kWho);
}

void AssignRecorder::AssignReal(int i, Attribute a, double x) {
    if (i != 0 && list_ != nullptr)
        vf::store(list_, level_, rules_.refusedNumbers, i, a, x, vf::kDisplayUnit);
}

void AssignRecorder::AssignInteger(int i, Attribute a, int n) {
    if (i == 0 || list_ == nullptr) return;
    if (a == A::MODIFIED && (rules_.refusedNumbers & vf::attribute_bit(a)) == 0) {
        const rtvarmod_t m = vf::modified_of(n);
        rtovarlst_set_var_modified(list_, i, &m);
        return;
    }
    AssignReal(i, a, static_cast<double>(n));
}

void AssignRecorder::AssignString(int i, Attribute a, const char *text) {
    if (i == 0 || list_ == nullptr) return;
    if (text == nullptr) text = "";
    const bool refused = (rules_.refusedTexts & vf::attribute_bit(a)) != 0;
    if (a == A::MODIFIED && !refused) {
        const rtvarmod_t m = vf::modified_of(text);
        rtovarlst_set_var_modified(list_, i, &m);
        return;
    }
    const size_t n = std::strlen(text);
    const char *word = vf::upper(buffer_, capacity_, text, n, vf::kWho);
    if (word == nullptr) return;
    if (refused) return vf::refuse<msg::kStringRefused>(level_, list_, word, a, i);
    int64_t status = rtovarlst_inq_var_status(list_, i);
    switch (a) {
        case A::PHYSICAL_TYPE: {
            const int code = pt_lookup(word);
            if (code < 0) return vf::refuse<msg::kBadPtype>(level_, list_, word, a, i);
            varSetPhysicalType(&status, code);
            rtovarlst_set_var_status(list_, i, status);
            return;
        }
        case A::UNITS: {
            const int t = varInqPhysicalType(status);
            int p = t, u = 0;
            if (t != 0)
                u = vf::locate_in(level_, word, t);
            else
                vf::locate(level_, word, &p, &u);
            if (u == 0 && t != 0 && vf::known_unit(level_, word)) {
                if (level_ >= 1) zarn::rtopipe::report(msg::kOtherPtype, word, vf::name_of(list_, i));
                return;
            }
            if (u == 0) return vf::refuse<msg::kBadUom>(level_, list_, word, a, i);
            rtovarlst_set_var_uom(list_, i, u);
            if (t == 0) {
                varSetPhysicalType(&status, p);
                rtovarlst_set_var_status(list_, i, status);
                if (rules_.unitSetsConnType) rtovarlst_set_var_conn_type(list_, i, p);
            }
            return;
        }
        case A::BASEUOM: {
            // A unit of the variable's own type keeps its index there: the
            // table repeats names across types, and the first type that lists
            // a name may number it otherwise, which would change the unit of
            // every number read after it.
            const int t = varInqPhysicalType(status);
            int p = 0, u = t != 0 ? vf::locate_in(0, word, t) : 0;
            if (u == 0) vf::locate(level_, word, &p, &u);
            if (u == 0) return vf::refuse<msg::kBadBaseUom>(level_, list_, word, a, i);
            rtovarlst_set_var_baseuom(list_, i, u);
            return;
        }
        case A::SSPEC:
            return;
        case A::ACTIVE_BOUND:
            vf::refuse<msg::kActiveBound>(level_, list_, word, a, i);
            if (level_ >= 1) zarn::rtopipe::report(msg::kActiveBoundWhy);
            return;
        case A::DESCRIPTION:
            vf::refuse<msg::kDescription>(level_, list_, word, a, i);
            if (level_ >= 1) zarn::rtopipe::report(msg::kDescriptionWhy);
            return;
        default:
            break;
    }
    const int row = a >= 0 && a < ZARN_VARFILE_ATTRIBUTE_COUNT ? ac::kVarfile[a].row : int{ac::kNoRow};
    if (!vm::is_coded(row)) return vf::refuse<msg::kStringRefused>(level_, list_, word, a, i);
    const int32_t code = vm::coded_word(row, word, n);
    if (code >= 0) return vm::store_coded(list_, i, row, code);
    switch (a) {
        case A::BOUND:
        case A::SPEC:
            return vf::refuse<msg::kBadSymbol>(level_, list_, word, a, i);
        case A::QUALITY:
            return vf::refuse<msg::kBadQuality>(level_, list_, word, a, i);
        case A::PARAM:
            return vf::refuse<msg::kBadParam>(level_, list_, word, a, i);
        case A::CONN_TYPE:
            return vf::refuse<msg::kBadConnType>(level_, list_, word, a, i);
        default:
            return vf::refuse<msg::kBadValue>(level_, list_, word, a, i);  // VAR_TYPE, RAMPED
    }
}

void AssignRecorder::AssignRealInUnit(int i, Attribute a, double x, const char *unit) {
    if (i == 0 || list_ == nullptr) return;
    // No unit text in the record: the number is in the variable's display unit.
    if (unit == nullptr || unit[0] == '\0') return AssignReal(i, a, x);
    const int t = vf::ptype_of(list_, i);
    int u = 0;
    if (t == unitType_ && std::strcmp(unit, unitText_) == 0) {
        u = unitFound_;
    } else {
        if (!vf::record_unit(level_, list_, i, unit, buffer_, capacity_, vf::kWho, &u)) return;
        const size_t n = std::strlen(unit);
        if (u != 0 && n < sizeof unitText_) {
            std::memcpy(unitText_, unit, n + 1);
            unitType_ = t;
            unitFound_ = u;
        }
    }
    vf::store(list_, level_, rules_.refusedNumbers, i, a, x, u);
}

void AssignRecorder::AssignIntegerInUnit(int i, Attribute a, int n, const char *unit) {
    if (a == A::MODIFIED) return AssignInteger(i, a, n);
    AssignRealInUnit(i, a, static_cast<double>(n), unit);
}

int AssignRecorder::QueryAttribute(Attribute *) { return 0; }

int AssignRecorder::QueryMatches(int, Attribute, const char *, int, int) { return 1; }
