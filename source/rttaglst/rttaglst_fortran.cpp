// Fortran entry points of the tag lists: dereference, convert texts, forward.
#include "platform/fargs.h"
#include "platform/ftext.h"
#include "rttaglst/rttaglst_internal.h"
#include "zarnutils/rttaglst.h"

using zarn::fortran::handle;

ZARN_FORTRAN(rtotaglst_t *, RTOTAGLST_CREATE_F, rtotaglst_create_f_, (const int64_t *capacity)) {
    return rtotaglst_create(capacity != nullptr ? zarn::fortran::narrow(capacity) : 1);
}

ZARN_FORTRAN(void, RTOTAGLST_DESTROY_F, rtotaglst_destroy_f_, (rtotaglst_t * *list)) {
    if (list == nullptr) return;
    rtotaglst_destroy(*list);
    *list = nullptr;
}

ZARN_FORTRAN(int64_t, RTOTAGLST_NONE_F, rtotaglst_none_f_, (rtotaglst_t * *list)) {
    return rtotaglst_none(handle(list));
}

ZARN_FORTRAN(void, RTOTAGLST_PRINT_F, rtotaglst_print_f_, (rtopipe * *pipe, rtotaglst_t **list)) {
    rtotaglst_print(handle(pipe), handle(list));
}

ZARN_FORTRAN(int64_t, RTOTAGLST_INQ_NTAG_F, rtotaglst_inq_ntag_f_, (rtotaglst_t * *list)) {
    return rtotaglst_inq_ntag(handle(list));
}

ZARN_FORTRAN(int64_t, RTOTAGLST_ADD_TAG_F, rtotaglst_add_tag_f_,
             (rtotaglst_t * *list, const char *alias, const char *name, size_t alias_length,
              size_t name_length)) {
    zarn::FText a(alias, alias_length), n(name, name_length);
    return rtotaglst_add_tag(handle(list), a.c_str(), n.c_str());
}

ZARN_FORTRAN(int64_t, RTOTAGLST_LOOKUP_F, rtotaglst_lookup_f_,
             (rtotaglst_t * *list, const char *alias, size_t alias_length)) {
    zarn::FText a(alias, alias_length);
    return rtotaglst_lookup(handle(list), a.c_str());
}

ZARN_FORTRAN(void, RTOTAGLST_INQ_BY_TAG_F, rtotaglst_inq_by_tag_f_,
             (rtotaglst_t * *list, const char *alias, char *name_out, int64_t *k_out, size_t alias_length,
              size_t name_out_length)) {
    zarn::FText a(alias, alias_length);
    int32_t k = 0;
    const char *name = zarn::rttaglst::find_tag(handle(list), a.c_str(), &k);
    zarn::fortran::store(k_out, k);
    zarn::ftext_store(name_out, name_out_length, name != nullptr ? name : "");
}
