// Pattern vectors: a Jacobian's or Hessian's local numbers on one axis, by
// the copy rule the Fortran wrappers follow (the store's own array, or a
// block of numbers less the offset that the vector owns).
#include "rthessbn/rthessbn_sibling.h"
#include "rtjacbn/rtjacbn_sibling.h"
#include "zarnutils/except.h"
#include "zarnutils/rtprovider.hpp"
#include "zarnutils/zarnmalloc.h"

namespace {

int64_t *address(int64_t plex) { return plex != 0 ? ZARN_ib0 + plex : nullptr; }

// Frees the block only when it is the vector's own.
void release(int32_t copy, int64_t plex) {
    if (copy != 0 && plex != 0) RTO_IFREE(&plex);
}

}  // namespace

void RTJacPatternVector::Hold(int64_t plex, bool copied) {
    copy_ = copied ? 1 : 0;
    plex_ = plex;
    elements_ = address(plex);
}
RTJacPatternVector::~RTJacPatternVector() { release(copy_, plex_); }
int32_t RTJacPatternVector::Copied() const { return copy_; }
int64_t RTJacPatternVector::PlexIndex() const { return plex_; }
int64_t *RTJacPatternVector::Elements() const { return elements_; }

RTJacIrn::RTJacIrn(rt_jac_t *jac) {
    const zarn::rtjacbn::Pattern p = zarn::rtjacbn::row_pattern(jac, false);
    Hold(p.plex, p.copied);
}
RTJacIcn::RTJacIcn(rt_jac_t *jac) {
    const zarn::rtjacbn::Pattern p = zarn::rtjacbn::column_pattern(jac, false);
    Hold(p.plex, p.copied);
}

// Both patterns are made before either is held, so that when the column copy
// raises, the row copy already made is freed before the raise goes on.
RTJacProvider::RTJacProvider(rt_jac_t *jac) : jac_(jac), irn_(nullptr), icn_(nullptr) {
    const zarn::rtjacbn::Pattern rows = zarn::rtjacbn::row_pattern(jac, false);
    zarn::rtjacbn::Pattern columns{};
    ZARN_TRY
    columns = zarn::rtjacbn::column_pattern(jac, false);
    ZARN_ELSE
    release(rows.copied ? 1 : 0, rows.plex);
    CII_Except_raise(zarn_except_frame_.exception, zarn_except_frame_.file, zarn_except_frame_.line);
    ZARN_END_TRY;
    irn_.Hold(rows.plex, rows.copied);
    icn_.Hold(columns.plex, columns.copied);
}

void RTHessPatternVector::Hold(int64_t plex, bool copied) {
    copy_ = copied ? 1 : 0;
    plex_ = plex;
    elements_ = address(plex);
}
RTHessPatternVector::~RTHessPatternVector() { release(copy_, plex_); }
int32_t RTHessPatternVector::Copied() const { return copy_; }
int64_t RTHessPatternVector::PlexIndex() const { return plex_; }
int64_t *RTHessPatternVector::Elements() const { return elements_; }

RTHessIrn::RTHessIrn(rt_hess_t *hess) {
    const zarn::rtjacbn::Pattern p = zarn::rthessbn::row_pattern(hess, false);
    Hold(p.plex, p.copied);
}
RTHessIcn::RTHessIcn(rt_hess_t *hess) {
    const zarn::rtjacbn::Pattern p = zarn::rthessbn::column_pattern(hess, false);
    Hold(p.plex, p.copied);
}
RTHessIcn2::RTHessIcn2(rt_hess_t *hess) {
    const zarn::rtjacbn::Pattern p = zarn::rthessbn::column2_pattern(hess, false);
    Hold(p.plex, p.copied);
}
