// Words and codes of the coded attributes, and the one store of a code.
#include "varmask/coded.h"

#include "varmask/varmask_internal.h"
#include "zarnutils/varutl.h"

namespace zarn::varmask {

namespace ac = zarn::attrcat;

bool is_coded(int row) {
    return row == ac::kRowConnType || (row >= 0 && row < ac::kRowCount && ac::kRows[row].words);
}

int32_t coded_word(int row, const char *word, size_t n) {
    if (row == ac::kRowConnType) return ac::code_of(conn_words(), word, n, -1);
    if (!is_coded(row)) return -1;
    return ac::code_of(ac::kRows[row].words->accepted, word, n, -1);
}

void store_coded(rtvarlst_t *list, int32_t i, int row, int32_t code) {
    int64_t status = rtovarlst_inq_var_status(list, i);
    switch (row) {
        case ac::kRowSpec:
            varSetSpec(&status, code);
            rtovarlst_set_var_status(list, i, status);
            break;
        case ac::kRowBound:
            varSetBoundType(code, &status);
            rtovarlst_set_var_status(list, i, status);
            break;
        case ac::kRowQuality:
            rtovarlst_set_var_quality(list, i, code);
            break;
        case ac::kRowParam:
            rtovarlst_set_var_param_homo(list, i, code);
            break;
        case ac::kRowRamped:
            rtovarlst_set_var_ramped(list, i, code);
            break;
        case ac::kRowVarType:
            rtovarlst_set_var_type(list, i, code, rtovarlst_inq_var_related(list, i));
            break;
        case ac::kRowConnType:
            if (code <= RTOVARLST_MAX_CONN_TYPE) rtovarlst_set_var_conn_type(list, i, code);
            break;
        default:
            break;
    }
}

int64_t coded_value(rtvarlst_t *list, int32_t i, int row) {
    switch (row) {
        case ac::kRowSpec:
            return varInqSpec(rtovarlst_inq_var_status(list, i));
        case ac::kRowBound: {
            int64_t bound = 0;
            varInqBoundType(rtovarlst_inq_var_status(list, i), &bound);
            return bound;
        }
        case ac::kRowQuality:
            return rtovarlst_inq_var_quality(list, i);
        case ac::kRowParam:
            return rtovarlst_inq_var_param_homo(list, i);
        case ac::kRowRamped:
            return rtovarlst_inq_var_ramped(list, i) != 0 ? 1 : 0;
        case ac::kRowVarType:
            return varInqType(rtovarlst_inq_var_status(list, i));
        case ac::kRowConnType:
            return rtovarlst_inq_var_conn_type(list, i);
        default:
            return -1;
    }
}

}  // namespace zarn::varmask
