// The attributes whose words come from the shared keyword tables:
// SPEC, BOUND and CONN_TYPE.
#include <cstring>

#include "rtopipe/report.h"
#include "varassign/varassign_internal.h"
#include "varassign/varassign_messages.h"
#include "zarnutils/varmask.h"
#include "zarnutils/varutl.h"

namespace zarn::varassign {

using zarn::rtopipe::report;

void assign_spec(rtvarlst_t *list, int32_t i, const char *target, const value_t *value) {
    value_t word;
    if (!word_of(value, &word, identifier_value, target)) return;
    const rtvar_keyword *k = rtvar_spec_lookup(word.u.text, std::strlen(word.u.text));
    if (k == nullptr) report(msg::kUnknownSpec, word.u.text);
    else rtovarlst_set_spec_value(list, i, k->code);  // stores and notifies only a change
    value_destroy(&word);
}

void assign_bound(rtvarlst_t *list, int32_t i, const char *target, const value_t *value) {
    value_t word;
    if (word_of(value, &word, identifier_value, target)) {
        const rtvar_keyword *k = rtvar_bound_lookup(word.u.text, std::strlen(word.u.text));
        if (k == nullptr) {
            report(msg::kUnknownBound, word.u.text);
        } else {
            int64_t status = rtovarlst_inq_var_status(list, i);
            varSetBoundType(k->code, &status);
            rtovarlst_set_var_status(list, i, status);
        }
        value_destroy(&word);
    }
    raise(list, i, RTOVARLST_CHG_BOUND_TYPE);
}

void set_conn_type_of_word(rtvarlst_t *list, int32_t i, const char *word) {
    const conn_type_keyword *k = conn_type_lookup(word, std::strlen(word));
    if (k != nullptr) rtovarlst_set_var_conn_type(list, i, k->code);  // the list keeps codes 0..1065 only
}

// An unknown connection type is ignored without a message.
void assign_conn_type(rtvarlst_t *list, int32_t i, const char *target, const value_t *value) {
    value_t word;
    if (!word_of(value, &word, identifier_value, target)) return;
    set_conn_type_of_word(list, i, word.u.text);
    value_destroy(&word);
}

void lookup_conn_type(rtvarlst_t *list, int32_t i, value_t *value) {
    const int32_t code = rtovarlst_inq_var_conn_type(list, i);
    if (code >= 0 && code <= RTOVARLST_MAX_CONN_TYPE && conn_type_string[code] != nullptr)
        value_assign_copy_of_id(value, conn_type_string[code]);
}

}  // namespace zarn::varassign
