// Comparing a VARFILE with the variable list: the recorder that counts, per
// attribute, the fields that differ from the current state and sums the
// differences, and the reader that writes the summary.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "attrcat/attrcat.h"
#include "rtopipe/report.h"
#include "varfile/recorders.h"
#include "varfile/varfile_messages.h"
#include "varmask/coded.h"
#include "zarnutils/rtuom.h"
#include "zarnutils/varattrnames.hpp"
#include "zarnutils/varfile.hpp"
#include "zarnutils/varutl.h"

namespace zarn::varfile {

namespace {

using A = RTVarDatabase;
namespace ac = zarn::attrcat;
namespace vm = zarn::varmask;

constexpr char kWho[] = "StatisticsRecorder";
constexpr double kHuge = 1e20;  // numbers at least this large on the same side count as equal

// How the word of a coded attribute compares with the variable's code: the
// code an unrecognised word stands for (kAlwaysChanged: none, it always
// differs), and whether a detail line shows the current word.
struct CodedRule {
    int attribute;
    int32_t unknown;
    bool shows_word;
};
constexpr int32_t kAlwaysChanged = -1;
constexpr CodedRule kCodedRules[] = {
    {A::BOUND, kAlwaysChanged, true},
    {A::SPEC, kAlwaysChanged, true},
    {A::QUALITY, 5, false},
    {A::PARAM, 1, false},
    {A::RAMPED, 0, true},
    {A::CONN_TYPE, kAlwaysChanged, false},
};

const CodedRule *coded_rule(int a) {
    for (const CodedRule &r : kCodedRules)
        if (r.attribute == a) return &r;
    return nullptr;
}

// The attributes compared as numbers: those the writer writes as a number
// and a file can give back.
bool compared_as_number(int a) {
    const ac::VarfileAttribute &v = ac::kVarfile[a];
    const bool number =
        v.form == ac::Form::Display || v.form == ac::Form::Difference || v.form == ac::Form::Plain;
    return number && !v.derived && a != A::SHADOW_PRICE;
}

const char *or_empty(const char *text) { return text != nullptr ? text : ""; }

// The unit variable i shows its numbers in: a variable without one uses
// its type's default.
int display_unit(rtvarlst_t *list, int i, int ptype) {
    const int held = rtovarlst_inq_var_uom(list, i);
    return held != 0 ? held : rtouom_get_default(ptype);
}

// A unit word not found within a typed variable's physical type.
void unit_not_in_type(int level, rtvarlst_t *list, int i, int a, const char *word) {
    if (known_unit(level, word)) {
        if (level >= 1) zarn::rtopipe::report(msg::kOtherPtype, word, name_of(list, i));
    } else {
        refuse<msg::kCmpBadUom>(level, list, word, a, i);
    }
}

// Does a UNITS or BASEUOM word differ from the variable's unit `held`? For a
// typed variable a unit of its type spelled like the held one is the same
// (the table repeats names); an untyped one must name the held unit itself.
bool unit_differs(int level, rtvarlst_t *list, int i, int a, const char *word, int ptype, int held) {
    if (ptype != 0) {
        const int u = locate_in(level, word, ptype);
        if (u == 0) {
            unit_not_in_type(level, list, i, a, word);
            return true;
        }
        if (a == A::UNITS && u == held) return false;
        const char *name = rtouom_uom_name(ptype, held);
        return name == nullptr || std::strcmp(name, word) != 0;
    }
    int p = 0, u = 0;
    locate(level, word, &p, &u);
    if (u == 0) {
        refuse<msg::kCmpBadUom>(level, list, word, a, i);
        return true;
    }
    return p != ptype || u != held;
}

// Does the upper-case word differ from variable i's current setting of a?
// An unrecognised word differs; the messages say why.
bool text_differs(int level, rtvarlst_t *list, int i, int a, const char *word) {
    switch (a) {
        case A::PHYSICAL_TYPE: {
            const int code = pt_lookup(word);
            if (code >= 0) return code != ptype_of(list, i);
            refuse<msg::kCmpBadPtype>(level, list, word, a, i);
            return true;  // -1 names no type here, though it is AREA's price type
        }
        case A::UNITS: {
            const int t = ptype_of(list, i);
            return unit_differs(level, list, i, a, word, t, display_unit(list, i, t));
        }
        case A::BASEUOM:
            return unit_differs(level, list, i, a, word, ptype_of(list, i),
                                rtovarlst_inq_var_baseuom(list, i));
        case A::ACTIVE_BOUND:
            refuse<msg::kCmpActiveBound>(level, list, word, a, i);
            if (level >= 1) zarn::rtopipe::report(msg::kActiveBoundWhy);
            return true;
        case A::DESCRIPTION:
            refuse<msg::kCmpDescription>(level, list, word, a, i);
            if (level >= 1) zarn::rtopipe::report(msg::kDescriptionWhy);
            return true;
        default:
            break;
    }
    const CodedRule *rule = coded_rule(a);
    if (rule == nullptr) {
        refuse<msg::kCmpString>(level, list, word, a, i);
        return true;
    }
    const int row = ac::kVarfile[a].row;
    int32_t code = vm::coded_word(row, word, std::strlen(word));
    if (a == A::CONN_TYPE && code > RTOVARLST_MAX_CONN_TYPE) code = -1;
    if (code < 0) {
        if (a == A::CONN_TYPE)
            refuse<msg::kCmpBadConnType>(level, list, word, a, i);
        else
            refuse<msg::kCmpBadSymbol>(level, list, word, a, i);
        if (rule->unknown == kAlwaysChanged) return true;
        code = rule->unknown;
    }
    return code != vm::coded_value(list, i, row);
}

// The current setting a detail line shows beside the file's text.
const char *current_text(rtvarlst_t *list, int i, int a) {
    const int t = ptype_of(list, i);
    if (a == A::UNITS) return or_empty(rtouom_uom_name(t, display_unit(list, i, t)));
    if (a == A::BASEUOM) return or_empty(rtouom_uom_name(t, rtovarlst_inq_var_baseuom(list, i)));
    const CodedRule *rule = coded_rule(a);
    if (rule == nullptr || !rule->shows_word) return "";
    const int row = ac::kVarfile[a].row;
    return or_empty(ac::word_of(*ac::kRows[row].words, vm::coded_value(list, i, row)));
}

// What a difference is reported with: the variable's list, the level and
// the report pipe of its detail line.
struct Context {
    rtvarlst_t *list;
    int level;
    ::rtopipe *report;
};

// One more difference of attribute a (the count stops at its largest
// value); at level 2 or more a detail line with the file's value and the
// current one.
void count(const Context &cx, int32_t &changed, int i, int a, double file, double current) {
    if (changed < INT32_MAX) ++changed;
    if (cx.level >= 2 && cx.report != nullptr)
        rtoprintf(cx.report, msg::kCmpNumberDetail, name_of(cx.list, i), RTVarAttributeNames::Name(a), file,
                  current);
}

void count(const Context &cx, int32_t &changed, int i, int a, const char *file, const char *current) {
    if (changed < INT32_MAX) ++changed;
    if (cx.level >= 2 && cx.report != nullptr)
        rtoprintf(cx.report, msg::kCmpTextDetail, name_of(cx.list, i), RTVarAttributeNames::Name(a), file,
                  current);
}

}  // namespace

}  // namespace zarn::varfile

namespace vf = zarn::varfile;
namespace msg = zarn::varfile::msg;
using A = RTVarDatabase;

StatisticsRecorder::StatisticsRecorder(const gl_list_t *attributes, rtvarlst_t *list, int level,
                                       const VarFilter *filter, rtopipe *report)
    : attributes_(attributes), list_(list), level_(level), filter_(filter), report_(report) {}

StatisticsRecorder::~StatisticsRecorder() { std::free(buffer_); }

int StatisticsRecorder::AcceptsAttribute(Attribute a) { return vf::in_list(attributes_, a) ? 1 : 0; }

int StatisticsRecorder::LookupVariable(const char *name) {
    return vf::find_variable(list_, filter_, name, buffer_, capacity_, vf::kWho);
}

// A number, given in `unit` of the variable's physical type, against the
// one the writer would write now.
void StatisticsRecorder::AssignRealInUnit(int i, Attribute a, double f, const char *unit) {
    if (i == 0 || list_ == nullptr || vf::attribute_bit(a) == 0) return;
    int u = vf::kDisplayUnit;
    // No unit text in the record: the number is in the variable's display unit.
    if (unit != nullptr && unit[0] != '\0' &&
        !vf::record_unit(level_, list_, i, unit, buffer_, capacity_, vf::kWho, &u))
        return;
    const vf::Context cx{list_, level_, report_};
    if (a == A::SHADOW_PRICE) {
        vf::refuse<msg::kCmpShadowPrice>(level_, list_, f, a, i);
        if (level_ >= 1) zarn::rtopipe::report(msg::kShadowPriceWhy);
        return vf::count(cx, changed_[a], i, a, f, vf::written_number(list_, i, a, u));
    }
    if (!vf::compared_as_number(a)) {
        vf::refuse<msg::kCmpReal>(level_, list_, f, a, i);
        return vf::count(cx, changed_[a], i, a, f, 0.0);
    }
    const double c = vf::written_number(list_, i, a, u);
    magnitude_[a] += std::fabs(c);
    if (f == c || (f >= vf::kHuge && c >= vf::kHuge) || (f <= -vf::kHuge && c <= -vf::kHuge)) return;
    difference_[a] += std::fabs(c - f);
    vf::count(cx, changed_[a], i, a, f, c);
}

void StatisticsRecorder::AssignReal(int i, Attribute a, double x) { AssignRealInUnit(i, a, x, nullptr); }

void StatisticsRecorder::AssignInteger(int i, Attribute a, int n) {
    AssignRealInUnit(i, a, static_cast<double>(n), nullptr);
}

void StatisticsRecorder::AssignString(int i, Attribute a, const char *text) {
    if (i == 0 || list_ == nullptr || vf::attribute_bit(a) == 0) return;
    if (text == nullptr) text = "";
    const char *word = vf::upper(buffer_, capacity_, text, std::strlen(text), vf::kWho);
    if (word == nullptr || !vf::text_differs(level_, list_, i, a, word)) return;
    vf::count({list_, level_, report_}, changed_[a], i, a, text,
              level_ >= 2 ? vf::current_text(list_, i, a) : "");
}

void StatisticsRecorder::AssignIntegerInUnit(int i, Attribute a, int n, const char *unit) {
    AssignRealInUnit(i, a, static_cast<double>(n), unit);
}

int StatisticsRecorder::QueryAttribute(Attribute *) { return 0; }

int StatisticsRecorder::QueryMatches(int, Attribute, const char *, int, int) { return 1; }

int32_t StatisticsRecorder::ChangedCount(Attribute a) const { return vf::attribute_bit(a) ? changed_[a] : 0; }

double StatisticsRecorder::MagnitudeSum(Attribute a) const {
    return vf::attribute_bit(a) ? magnitude_[a] : 0.0;
}

double StatisticsRecorder::DifferenceSum(Attribute a) const {
    return vf::attribute_bit(a) ? difference_[a] : 0.0;
}

RTVarFileCmp::RTVarFileCmp(rtopipe *pipe, rtopipe *report, rtvarlst_t *list)
    : RTVarFileReader(pipe, list), report_(report) {
    AddSupportedAttributes();
}

RTVarFileCmp::~RTVarFileCmp() = default;

void RTVarFileCmp::Go() {
    if (report_ == nullptr) {
        zarn::rtopipe::report(msg::kNoReport);
        return;
    }
    StatisticsRecorder recorder(attributes_, list_, GetLevel(), this, report_);
    if (!Read(recorder, "RTVarFileCmp")) return;
    rtowritestr(report_, msg::kCmpTitle);
    for (int a = 0; a < ZARN_VARFILE_ATTRIBUTE_COUNT; ++a) {
        const auto attribute = VarAttribute(a);
        if (!SupportedAttribute(attribute) || !vf::in_list(attributes_, a)) continue;
        const double sum = recorder.DifferenceSum(attribute), magnitude = recorder.MagnitudeSum(attribute);
        rtoprintf(report_, msg::kCmpRow, RTVarAttributeNames::Name(a),
                  static_cast<int>(recorder.ChangedCount(attribute)),
                  sum / (magnitude != 0.0 ? magnitude : 1.0), sum);
    }
}
