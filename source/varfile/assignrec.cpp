// The assigning recorder: stores what a VARFILE reader hands it in the
// variable list, numbers converted from display units (or from the unit the
// record names) to SI and divided by the variable's internal scale.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "attrcat/attrcat.h"
#include "platform/xalloc.h"
#include "rtopipe/report.h"
#include "rtvarlst/rtvarlst_scale.h"
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

constexpr int kDisplayUnit = -1;            // store: the variable's own display unit
constexpr size_t kNameMax = ZARN_NAME_MAX;  // longest name a list holds

int ptype_of(rtvarlst_t *list, int i) { return varInqPhysicalType(rtovarlst_inq_var_status(list, i)); }

const char *name_of(rtvarlst_t *list, int i) {
    const char *name = rtovarlst_lookup_var_name(list, i);
    return name != nullptr ? name : "";
}

// The messages naming a text (or number), the attribute's header word and
// the variable; the format is a template argument so that it is checked.
template <const char *Format, typename T>
void refuse(int level, rtvarlst_t *list, T value, int a, int i) {
    if (level >= 1) zarn::rtopipe::report(Format, value, RTVarAttributeNames::Name(a), name_of(list, i));
}

// Unit lookups print the units table's own not-found line only at level 1 or
// more, so that a silent reader stays silent.
void locate(int level, const char *unit, int *ptype, int *uom) {
    if (level >= 1)
        rtouom_locate(unit, ptype, uom);
    else
        rtouom_locate2(unit, ptype, uom);
}

int locate_in(int level, const char *unit, int ptype) {
    int uom = 0;
    if (level >= 1)
        rtouom_ptype_locate(unit, ptype, &uom);
    else
        rtouom_ptype_locate2(unit, ptype, &uom);
    return uom;
}

// Is the unit listed under any physical type? Decides between two messages;
// the search among all types reports a unit it cannot find, at level 1 or more.
bool known_unit(int level, const char *unit) {
    int ptype = 0, uom = 0;
    locate(level, unit, &ptype, &uom);
    return uom != 0;
}

// Upper-case copy of the n characters of a text in a buffer that only grows
// (at least to a whole name); NULL when memory is short (reported).
const char *upper(char *&buffer, size_t &capacity, const char *text, size_t n) {
    if (n >= capacity) {
        const size_t want = n < kNameMax ? kNameMax + 1 : n + 1;
        char *grown = static_cast<char *>(zarn::xrealloc(buffer, want));
        if (grown == nullptr) {
            zarn::rtopipe::report(msg::kNoMemory, "AssignRecorder");
            return nullptr;
        }
        buffer = grown;
        capacity = want;
    }
    for (size_t k = 0; k < n; ++k) {
        const char c = text[k];
        buffer[k] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    }
    buffer[n] = '\0';
    return buffer;
}

// Stores x, given in unit `unit` of the variable's physical type (kDisplayUnit:
// its display unit), as attribute a of variable i.
void store(rtvarlst_t *list, int level, int i, A::VarAttribute a, double x, int unit) {
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
    : attributes_(attributes), list_(list), level_(level), filter_(filter) {}

AssignRecorder::~AssignRecorder() { std::free(buffer_); }

int AssignRecorder::AcceptsAttribute(Attribute a) {
    if (attributes_ == nullptr) return 0;
    for (const gl_node_t *node = attributes_->head; node != nullptr; node = node->next)
        if (reinterpret_cast<intptr_t>(node->data) == a) return 1;
    return 0;
}

int AssignRecorder::LookupVariable(const char *name) {
    unitText_[0] = '\0';  // a new record: its unit is looked up afresh
    if (name == nullptr || list_ == nullptr) return 0;
    const size_t n = strnlen(name, vf::kNameMax + 1);
    if (n > vf::kNameMax) return 0;
    const char *key = vf::upper(buffer_, capacity_, name, n);
    const int i = key != nullptr ? rtovarlst__varname2index(list_, key) : 0;
    return i > 0 && (filter_ == nullptr || filter_->IncludeVar(i)) ? i : 0;
}

void AssignRecorder::AssignReal(int i, Attribute a, double x) {
    if (i != 0 && list_ != nullptr) vf::store(list_, level_, i, a, x, vf::kDisplayUnit);
}

void AssignRecorder::AssignInteger(int i, Attribute a, int n) {
    if (i == 0 || list_ == nullptr) return;
    if (a == A::MODIFIED) {
        const rtvarmod_t m = vf::modified_of(n);
        rtovarlst_set_var_modified(list_, i, &m);
        return;
    }
    AssignReal(i, a, static_cast<double>(n));
}

void AssignRecorder::AssignString(int i, Attribute a, const char *text) {
    if (i == 0 || list_ == nullptr) return;
    if (text == nullptr) text = "";
    if (a == A::MODIFIED) {
        const rtvarmod_t m = vf::modified_of(text);
        rtovarlst_set_var_modified(list_, i, &m);
        return;
    }
    const size_t n = std::strlen(text);
    const char *word = vf::upper(buffer_, capacity_, text, n);
    if (word == nullptr) return;
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
                rtovarlst_set_var_conn_type(list_, i, p);
            }
            return;
        }
        case A::BASEUOM: {
            int p = 0, u = 0;
            vf::locate(level_, word, &p, &u);
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
        const size_t n = std::strlen(unit);
        const char *upper_unit = vf::upper(buffer_, capacity_, unit, n);
        if (upper_unit == nullptr) return;
        if (t != 0) u = vf::locate_in(level_, upper_unit, t);
        if (u == 0 && level_ >= 1) {
            if (vf::known_unit(level_, upper_unit))
                zarn::rtopipe::report(msg::kUnitOtherPtype, upper_unit, vf::name_of(list_, i));
            else
                zarn::rtopipe::report(msg::kUnitUnknown, unit, vf::name_of(list_, i));
        }
        if (u != 0 && n < sizeof unitText_) {
            std::memcpy(unitText_, unit, n + 1);
            unitType_ = t;
            unitFound_ = u;
        }
    }
    vf::store(list_, level_, i, a, x, u);
}

void AssignRecorder::AssignIntegerInUnit(int i, Attribute a, int n, const char *unit) {
    if (a == A::MODIFIED) return AssignInteger(i, a, n);
    AssignRealInUnit(i, a, static_cast<double>(n), unit);
}

int AssignRecorder::QueryAttribute(Attribute *) { return 0; }

int AssignRecorder::QueryMatches(int, Attribute, const char *, int, int) { return 1; }
