// Fortran entry points of the equation list: dereference, convert texts, forward.
#include "platform/fargs.h"
#include "platform/ftext.h"
#include "rtattrdict/rtattrdict_lists.h"
#include "zarnutils/rteqnlst.h"

using zarn::fortran::deref;
using zarn::fortran::narrow;
using zarn::fortran::store;

namespace {

inline rtattrdict_t *handle(rtattrdict_t **list) { return zarn::fortran::handle(list); }

}  // namespace

ZARN_FORTRAN(int64_t, RTOEQNLST_ABSOLUTE_INDEX_F, rtoeqnlst_absolute_index_f_,
             (rtattrdict_t * *list, const int64_t *i)) {
    return rtoeqnlst_absolute_index(handle(list), narrow(i));
}

ZARN_FORTRAN(int64_t, RTOEQNLST_INQ_NEQN_F, rtoeqnlst_inq_neqn_f_, (rtattrdict_t * *list)) {
    return rtoeqnlst_inq_neqn(handle(list));
}

ZARN_FORTRAN(int64_t, RTOEQNLST_INQ_CAPACITY_F, rtoeqnlst_inq_capacity_f_, (rtattrdict_t * *list)) {
    return rtoeqnlst_inq_capacity(handle(list));
}

ZARN_FORTRAN(void, RTOEQNLST_SET_NEQN_F, rtoeqnlst_set_neqn_f_, (rtattrdict_t * *list, const int64_t *n)) {
    rtoeqnlst_set_neqn(handle(list), narrow(n));
}

ZARN_FORTRAN(void, RTOEQNLST_RESIZE_F, rtoeqnlst_resize_f_, (rtattrdict_t * *list, const int64_t *n)) {
    rtoeqnlst_resize(handle(list), narrow(n));
}

ZARN_FORTRAN(int64_t, RTOEQNLST_EQNNAME2INDEX, rtoeqnlst_eqnname2index_,
             (rtattrdict_t * *list, const char *name, size_t name_len)) {
    zarn::FText n(name, name_len);  // absent: "", no equation
    return rtoeqnlst__eqnname2index(handle(list), n.c_str());
}

ZARN_FORTRAN(void, RTOEQNLST_INQ_EQN_NAME_F, rtoeqnlst_inq_eqn_name_f_,
             (rtattrdict_t * *list, const int64_t *i, char *name, size_t name_len)) {
    char buffer[EQNINFO_NAME_SIZE];
    rtoeqnlst_inq_eqn_name(handle(list), narrow(i), buffer);
    zarn::ftext_store(name, name_len, buffer);
}

ZARN_FORTRAN(void, RTOEQNLST_ADDEQN_F, rtoeqnlst_addeqn_f_,
             (rtattrdict_t * *list, const int64_t *i, const char *name, size_t name_len)) {
    zarn::FText n(name, name_len);
    rtoeqnlst_addeqn(handle(list), narrow(i), n.c_str());
}

ZARN_FORTRAN(void, RTOEQNLST_ADDEQN_I4_F, rtoeqnlst_addeqn_i4_f_,
             (rtattrdict_t * *list, const int64_t *i, const int64_t *words, const int64_t *n)) {
    rtoeqnlst_addeqn(handle(list), narrow(i), zarn::rtattrdict::PackedName(words, deref(n)).text);
}

ZARN_FORTRAN(void, RTOEQNLST_ADDEQN_R8_F, rtoeqnlst_addeqn_r8_f_,
             (rtattrdict_t * *list, const int64_t *i, const double *words, const int64_t *n)) {
    rtoeqnlst_addeqn(handle(list), narrow(i), zarn::rtattrdict::PackedName(words, deref(n)).text);
}

ZARN_FORTRAN(int64_t, RTOEQNLST_ADDEQNS_F, rtoeqnlst_addeqns_f_,
             (rtattrdict_t * *list, const int64_t *first, const int64_t *last, const int64_t *width,
              const char *block, size_t block_len)) {
    (void)block_len;  // the length of one element; the fields are `width` bytes
    return rtoeqnlst_addeqns(handle(list), narrow(first), narrow(last), narrow(width), block);
}

ZARN_FORTRAN(void, RTOEQNLST_NAMES_F, rtoeqnlst_names_f_,
             (rtattrdict_t * *list, const int64_t *first, const int64_t *last, const int64_t *width,
              char *block, size_t block_len)) {
    (void)block_len;  // the length of one element; the fields are `width` bytes
    rtoeqnlst_names(handle(list), narrow(first), narrow(last), narrow(width), block);
}

ZARN_FORTRAN(void, RTOEQNLST_SET_EQN_BLOCKPTR_INT_F, rtoeqnlst_set_eqn_blockptr_int_f_,
             (rtattrdict_t * *list, const int64_t *i, const int64_t *block)) {
    // The pointer is the C int's bit pattern: the low 32 bits, sign-extended.
    rtoeqnlst_set_eqn_blockptr_int(handle(list), narrow(i), static_cast<int32_t>(deref(block)));
}

ZARN_FORTRAN(void, RTOEQNLST_ZARN_LBE, rtoeqnlst_zarn_lbe_, (rtattrdict_t * *list, int64_t *out)) {
    store(out, zarn::rtattrdict::plex_of(rtoeqnlst_vec_residual(handle(list))));
}

ZARN_FORTRAN(void, RTOEQNLST_ZARN_LBESCL, rtoeqnlst_zarn_lbescl_, (rtattrdict_t * *list, int64_t *out)) {
    store(out, zarn::rtattrdict::plex_of(rtoeqnlst_vec_scale(handle(list))));
}

ZARN_FORTRAN(void, RTOEQNLST_ZARN_LBESTAT, rtoeqnlst_zarn_lbestat_, (rtattrdict_t * *list, int64_t *out)) {
    store(out, zarn::rtattrdict::plex_of(rtoeqnlst_vec_status(handle(list))));
}

ZARN_FORTRAN(void, RTOEQNLST_ZARN_LBEGROUP, rtoeqnlst_zarn_lbegroup_, (rtattrdict_t * *list, int64_t *out)) {
    store(out, zarn::rtattrdict::plex_of(rtoeqnlst_vec_group(handle(list))));
}
