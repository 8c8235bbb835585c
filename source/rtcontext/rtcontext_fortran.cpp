// The upper-case Fortran twins of the rtcontext entry points: each dereferences its
// arguments, converts text fields and calls the C function.
#include <csignal>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include "platform/checked.h"
#include "platform/fargs.h"
#include "platform/ftext.h"
#include "platform/xalloc.h"
#include "zarnutils/gllist.h"
#include "zarnutils/rtcontext.h"

ZARN_FORTRAN(int64_t, RTOSIGNAL_CTRLC_PRESSED_F, rtosignal_ctrlc_pressed_f_, (void)) {
    return rtosignal_ctrlc_pressed();
}

ZARN_FORTRAN(void, RTOSIGNAL_Q_CTRLC_F, rtosignal_q_ctrlc_f_, (int64_t * out)) {
    zarn::fortran::store(out, rtosignal_ctrlc_pressed());
}

ZARN_FORTRAN(void, RTOSIGNAL_S_CTRLC_F, rtosignal_s_ctrlc_f_, (void)) { rtosignal_set_ctrlc(); }

// An absent mode is out of range, so nothing changes.
ZARN_FORTRAN(void, RTO_SET_MODE, rto_set_mode_, (const int64_t *m)) {
    rto_set_mode_c(m != nullptr ? zarn::fortran::narrow(m) : -1);
}

ZARN_FORTRAN(void, RTO_INQ_MODE, rto_inq_mode_, (int64_t * out)) {
    int mode = 0;
    rto_inq_mode_c(&mode);
    zarn::fortran::store(out, mode);
}

ZARN_FORTRAN(int64_t, RTO_INQ_NOT_CORBA, rto_inq_not_corba_, (void)) { return GetRTORunType() != 0 ? 1 : 0; }

ZARN_FORTRAN(void, RTO_GETPROBID_F, rto_getprobid_f_, (char *buffer, size_t length)) {
    zarn::ftext_store(buffer, length, rto_getprobId());
}
