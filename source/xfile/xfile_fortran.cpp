// The X-file's upper-case entry points: dereference, convert texts, forward.
#include <cstring>

#include "platform/fargs.h"
#include "platform/ftext.h"
#include "xfile/xfile_internal.h"

namespace xf = zarn::xfile;
using zarn::fortran::deref;
using zarn::fortran::store;

namespace {

inline rtvarlst_t *handle(rtvarlst_t **list) { return list != nullptr ? *list : nullptr; }

// One variable's words into the Fortran outputs.
void store_variable(const xf::VarWords &v, int st, int64_t *index, char *name, int64_t *ints, double *reals,
                    int64_t *eof, int64_t *status, size_t name_len) {
    store(status, st == 1 ? 0 : st);
    store(eof, st == 1 ? 1 : 0);
    if (st != 0) return;
    const xf::Layout &l = xf::state().layout;
    store(index, v.index);
    if (l.names && name != nullptr)
        zarn::ftext_store(name, name_len, std::string_view(v.name, RTXFILE_NAME_LEN));
    for (int k = 0; ints != nullptr && k < l.nints; ++k) ints[k] = v.ints[k];
    for (int k = 0; reals != nullptr && k < l.nreals; ++k) reals[k] = v.reals[k];
}

}  // namespace

ZARN_FORTRAN(int64_t, RTXFILE_OPEN, rtxfile_open_,
             (const char *name, const int64_t *digest, const int64_t *mode, const int64_t *flags,
              int64_t *by_name, size_t name_len)) {
    return xf::open(zarn::ftext_view(name, name_len), digest, deref(mode, int64_t{-1}), flags, by_name);
}

ZARN_FORTRAN(void, RTXFILE_CLOSE, rtxfile_close_, (const int64_t *unit)) {
    xf::close(deref(unit, int64_t{-1}));
}

ZARN_FORTRAN(void, RTXFILE_SAVE_VARIABLE, rtxfile_save_variable_,
             (const int64_t *unit, rtvarlst_t **list, const int64_t *first, const int64_t *last,
              const int64_t *flags)) {
    xf::save(deref(unit, int64_t{-1}), handle(list), deref(first), deref(last), flags);
}

ZARN_FORTRAN(int64_t, RTXFILE_RESTORE_EXCEPT, rtxfile_restore_except_,
             (const int64_t *unit, rtvarlst_t **list, const int64_t *select, const int64_t *by_name,
              const int64_t *nsub, const char *patterns, const char *replacements, const int64_t *use_except,
              const int64_t *except, const int64_t *skip_fixed, size_t pattern_len, size_t replacement_len)) {
    const xf::Subs subs{deref(nsub), patterns, replacements, pattern_len, replacement_len};
    const xf::Except ex{deref(use_except) != 0, except, deref(skip_fixed) != 0};
    return xf::restore(deref(unit, int64_t{-1}), handle(list), select, deref(by_name) != 0, subs, ex);
}

ZARN_FORTRAN(int64_t, RTXFILE_RESTORE_VARIABLE, rtxfile_restore_variable_,
             (const int64_t *unit, rtvarlst_t **list, const int64_t *select, const int64_t *by_name,
              const int64_t *nsub, const char *patterns, const char *replacements, size_t pattern_len,
              size_t replacement_len)) {
    const xf::Subs subs{deref(nsub), patterns, replacements, pattern_len, replacement_len};
    return xf::restore(deref(unit, int64_t{-1}), handle(list), select, deref(by_name) != 0, subs,
                       xf::Except{});
}

ZARN_FORTRAN(void, RTXFILE_UPDATE_VARIABLE, rtxfile_update_variable_,
             (const int64_t *unit, rtvarlst_t **list, const int64_t *flags)) {
    xf::update(deref(unit, int64_t{-1}), handle(list), flags);
}

ZARN_FORTRAN(int64_t, RTXFILE_QUERY, rtxfile_query_,
             (const int64_t *unit, int64_t *flags, rtxfile_name_callback callback)) {
    return xf::query(deref(unit, int64_t{-1}), flags, callback);
}

ZARN_FORTRAN(void, RTO_OPENRD_XFILE_F, rto_openrd_xfile_f_,
             (const int64_t *unit, const char *name, int64_t *magic, int64_t *digest, int64_t *flags,
              int64_t *first, int64_t *last, int64_t *status, size_t name_len)) {
    xf::Header h;
    const int st = xf::open_read(deref(unit, int64_t{-1}), zarn::ftext_view(name, name_len), &h);
    store(status, st);
    if (st != 0) return;
    store(magic, h.magic);
    for (int k = 0; digest != nullptr && k < RTXFILE_NDIGEST; ++k) digest[k] = h.digest[k];
    for (int k = 0; flags != nullptr && k < RTXFILE_NFLAGS; ++k) flags[k] = h.flags[k];
    store(first, h.first);
    store(last, h.last);
}

ZARN_FORTRAN(void, RTO_READ_XFILE_F, rto_read_xfile_f_,
             (const int64_t *unit, int64_t *index, char *name, int64_t *ints, double *reals, int64_t *eof,
              int64_t *status, size_t name_len)) {
    xf::VarWords v;
    const int st = xf::attached(deref(unit, int64_t{-1}), xf::kReading) ? xf::read_variable(&v, true)
                                                                        : RTXFILE_STATUS_BAD;
    store_variable(v, st, index, name, ints, reals, eof, status, name_len);
}

ZARN_FORTRAN(void, RTO_READ_XREC_F, rto_read_xrec_f_,
             (const int64_t *unit, const int64_t *n, int64_t *index, char *name, int64_t *ints, double *reals,
              int64_t *eof, int64_t *status, size_t name_len)) {
    xf::VarWords v;
    const int st = xf::read_nth(deref(unit, int64_t{-1}), deref(n), &v);
    store_variable(v, st, index, name, ints, reals, eof, status, name_len);
}

ZARN_FORTRAN(void, RTO_CLOSE_XFILE_F, rto_close_xfile_f_, (const int64_t *unit, int64_t *status)) {
    store(status, xf::finish_and_close(deref(unit, int64_t{-1})));
}

ZARN_FORTRAN(void, RTO_GETIOC, rto_getioc_, (int64_t * unit, int64_t *error)) {
    // Without a place for the unit none is taken.
    const int64_t u = unit != nullptr ? xf::get_unit() : -1;
    store(unit, u);
    store(error, u < 0 ? 1 : 0);
}

ZARN_FORTRAN(void, RTO_FREIOC, rto_freioc_, (const int64_t *unit)) { xf::free_unit(deref(unit)); }

ZARN_FORTRAN(void, RTO_RESIOC, rto_resioc_, (const int64_t *unit)) { xf::reserve_unit(deref(unit)); }

ZARN_FORTRAN(int64_t, RTO_OPFUNT, rto_opfunt_, (const int64_t *first, const int64_t *last)) {
    return xf::lowest_free(deref(first), deref(last, int64_t{-1}));
}

ZARN_FORTRAN(void, RTO_SHARE_OPEN, rto_share_open_,
             (const char *name, int64_t *unit, int64_t *status, size_t name_len)) {
    store(status, xf::share_open(zarn::ftext_view(name, name_len), unit, false));
}

ZARN_FORTRAN(void, RTO_SHARE_OPENEW, rto_share_openew_,
             (const char *name, int64_t *unit, int64_t *status, size_t name_len)) {
    store(status, xf::share_open(zarn::ftext_view(name, name_len), unit, true));
}

ZARN_FORTRAN(void, RTO_FLUSH_UNIT, rto_flush_unit_, (const int64_t *unit)) { (void)unit; }
