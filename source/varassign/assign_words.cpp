// The attributes whose values are codes read from words: SPEC, BOUND,
// QUALITY, PARAM, RAMPED, VAR_TYPE and CONN_TYPE.
#include <cstring>

#include "rtopipe/report.h"
#include "varassign/varassign_internal.h"
#include "varassign/varassign_messages.h"
#include "varmask/coded.h"

namespace zarn::varassign {

namespace {

namespace vm = zarn::varmask;
using zarn::rtopipe::report;

// The valid variable-type words, each written word followed by the words
// that read as the same type.
void report_var_types(const char *word) {
    report(msg::kUnknownVarType, word);
    report("%s", msg::kValidVarTypes);
    const ac::WordTable &t = ac::kVarType;
    for (int k = 0; k < t.count; ++k) {
        report("%s\n", t.written[k].keyword);
        for (int e = 0; e < t.accepted.count; ++e) {
            const rtvar_keyword &w = t.accepted.words[e];
            if (w.code == t.written[k].code && std::strcmp(w.keyword, t.written[k].keyword) != 0)
                report("%s\n", w.keyword);
        }
    }
}

// An unknown connection type is ignored without a message.
void report_unknown(int row, const char *word) {
    switch (row) {
        case ac::kRowSpec:
            report(msg::kUnknownSpec, word);
            break;
        case ac::kRowBound:
            report(msg::kUnknownBound, word);
            break;
        case ac::kRowQuality:
            report(msg::kUnknownQuality, word);
            break;
        case ac::kRowParam:
            report(msg::kUnknownParam, word);
            break;
        case ac::kRowRamped:
            report(msg::kUnknownRamped, word);
            break;
        case ac::kRowVarType:
            report_var_types(word);
            break;
        default:
            break;
    }
}

}  // namespace

void assign_coded(rtvarlst_t *list, int32_t i, int row, const char *target, const value_t *value) {
    value_t word;
    if (word_of(value, &word, identifier_value, target)) {
        const int32_t code = vm::coded_word(row, word.u.text, std::strlen(word.u.text));
        if (code < 0)
            report_unknown(row, word.u.text);
        else if (row == ac::kRowSpec)
            rtovarlst_set_spec_value(list, i, code);  // stores and notifies only a change
        else
            vm::store_coded(list, i, row, code);
        value_destroy(&word);
    }
    // A bound-type assignment tells the host whatever came of it.
    if (row == ac::kRowBound) raise(list, i, ac::kRows[row].change);
}

void set_conn_type_of_word(rtvarlst_t *list, int32_t i, const char *word) {
    const int32_t code = vm::coded_word(ac::kRowConnType, word, std::strlen(word));
    if (code >= 0) vm::store_coded(list, i, ac::kRowConnType, code);
}

}  // namespace zarn::varassign
