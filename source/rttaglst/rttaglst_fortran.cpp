// Fortran entry points of the tag lists: dereference, convert texts, forward.
#include <cstring>

#include "platform/ftext.h"
#include "zarnutils/rttaglst.h"

namespace {
inline rtotaglst_t *handle(rtotaglst_t **list) { return list != nullptr ? *list : nullptr; }
}  // namespace

ZARN_FORTRAN(rtotaglst_t *, RTOTAGLST_CREATE_F, rtotaglst_create_f_, (const int64_t *capacity)) {
    int64_t c = capacity != nullptr ? *capacity : 1;
    if (c > INT32_MAX) c = INT32_MAX;
    return rtotaglst_create(static_cast<int32_t>(c));
}

ZARN_FORTRAN(void, RTOTAGLST_DESTROY_F, rtotaglst_destroy_f_, (rtotaglst_t **list)) {
    if (list == nullptr) return;
    rtotaglst_destroy(*list);
    *list = nullptr;
}

ZARN_FORTRAN(int64_t, RTOTAGLST_NONE_F, rtotaglst_none_f_, (rtotaglst_t **list)) {
    return rtotaglst_none(handle(list));
}

ZARN_FORTRAN(void, RTOTAGLST_PRINT_F, rtotaglst_print_f_, (rtopipe **pipe, rtotaglst_t **list)) {
    rtotaglst_print(pipe != nullptr ? *pipe : nullptr, handle(list));
}

ZARN_FORTRAN(int64_t, RTOTAGLST_INQ_NTAG_F, rtotaglst_inq_ntag_f_, (rtotaglst_t **list)) {
    return rtotaglst_inq_ntag(handle(list));
}

ZARN_FORTRAN(int64_t, RTOTAGLST_ADD_TAG_F, rtotaglst_add_tag_f_,
             (rtotaglst_t **list, const char *alias, const char *name, size_t alias_length,
              size_t name_length)) {
    zarn::FText a(alias, alias_length), n(name, name_length);
    return rtotaglst_add_tag(handle(list), a.c_str(), n.c_str());
}

ZARN_FORTRAN(int64_t, RTOTAGLST_LOOKUP_F, rtotaglst_lookup_f_,
             (rtotaglst_t **list, const char *alias, size_t alias_length)) {
    zarn::FText a(alias, alias_length);
    return rtotaglst_lookup(handle(list), a.c_str());
}

ZARN_FORTRAN(void, RTOTAGLST_INQ_BY_TAG_F, rtotaglst_inq_by_tag_f_,
             (rtotaglst_t **list, const char *alias, char *name_out, int64_t *k_out, size_t alias_length,
              size_t name_out_length)) {
    zarn::FText a(alias, alias_length);
    rtotaglst_t *l = handle(list);
    const int32_t k = rtotaglst_lookup(l, a.c_str());
    if (k_out != nullptr) *k_out = k;
    zarn::ftext_store(name_out, name_out_length, k > 0 ? rtotaglst_inq_varid(l, k) : "");
}
