/*
 * Process-wide run-time context: numbered event callbacks, the Ctrl-C flag,
 * problem and run modes, the problem identifier, the use-Hessian switch and
 * the build's version texts.
 */
#ifndef ZARNUTILS_RTCONTEXT_H
#define ZARNUTILS_RTCONTEXT_H

#include "zarnutils/zarn_api.h"

ZARN_BEGIN_DECLS

/* Problem mode 0..3: selects which variable specs count as fixed or independent. */
ZARN_API extern int32_t rtopt_mode;
/* Run mode 0..2; its meaning is the host's. */
ZARN_API extern int32_t rtopt_run_mode;

/* Events. A callback takes three pointer-sized arguments. */
typedef intptr_t (*rtoevent_callback_t)(intptr_t a, intptr_t b, intptr_t c);

/* Counts a user; makes n enabled events when no table exists (returns n), else 0.
   0 also for n above 65536 or when memory is short (no table is made). */
ZARN_API int rtoevent_create_callbacks(int n);
/* Drops a user; the last one empties the table. */
ZARN_API void rtoevent_destroy_callbacks(void);
/* 1 when fn was appended; 0 for a bad event, a NULL fn or a duplicate. */
ZARN_API int rtoevent_set_callback(int event, rtoevent_callback_t fn);
/* 1 when fn was in the list and is removed, else 0. */
ZARN_API int rtoevent_unset_callback(int event, rtoevent_callback_t fn);
/* Sets the event's enabled flag and returns the previous one (0 for a bad event). */
ZARN_API int rtoevent_disable_callback(int enabled, int event);
/* Calls each callback in order; the last result, or 0 when nothing is called. */
ZARN_API intptr_t rtoevent_do_callback(int event, intptr_t a, intptr_t b, intptr_t c);

/* Ctrl-C. */
ZARN_API void rtosignal_intercept_ctrlc(void);
/* The severity when Ctrl-C is pending, else 0. */
ZARN_API int rtosignal_ctrlc_pressed(void);
ZARN_API void rtosignal_set_ctrlc(void);
ZARN_API void rtosignal_cancel_pending_ctrlc(void);
/* Ignored unless n > 0. */
ZARN_API void rtosignal_set_severity(int n);
ZARN_API int64_t RTOSIGNAL_CTRLC_PRESSED_F(void);
ZARN_API void RTOSIGNAL_Q_CTRLC_F(int64_t *out);
ZARN_API void RTOSIGNAL_S_CTRLC_F(void);

/* Modes and switches. Out-of-range values are ignored. */
ZARN_API void rto_set_mode_c(int m);
ZARN_API void rto_inq_mode_c(int *out);
ZARN_API void RTO_SET_MODE(const int64_t *m);
ZARN_API void RTO_INQ_MODE(int64_t *out);
ZARN_API void rto_set_run_mode_c(int m);
ZARN_API void rto_inq_run_mode_c(int *out);
/* Sets the run type, returns the previous one. */
ZARN_API int SetRTORunType(int t);
ZARN_API int GetRTORunType(void);
/* 1 when the run type is not 0. */
ZARN_API int64_t RTO_INQ_NOT_CORBA(void);
ZARN_API void rto_set_use_hessian_parameter(unsigned char b);
ZARN_API unsigned char rto_inq_use_hessian_parameter(void);

/* Problem identifier. */
/* Keeps an owned copy without trailing white space. */
ZARN_API void rto_setprobId(const char *text);
/* The identifier, or "KFPxxx" when none, empty, or beginning with white space. */
ZARN_API const char *rto_getprobId(void);
ZARN_API void rto_freeprobId(void);
/* Blank-padded copy of the identifier into a fixed-length field. */
ZARN_API void RTO_GETPROBID_F(char *buffer, size_t length);

/* Version texts fixed at build time. */
ZARN_API const char *rtoBuildNum(void);
ZARN_API const char *rtoBuildDate(void);
ZARN_API const char *rtoMajorVersion(void);
ZARN_API int rtoMinorVersion(void);
ZARN_API const char *rtoPatchNumber(void);
ZARN_API const char *rtoBuildUserName(void);
/* "major.minor.patch.build". */
ZARN_API const char *rtoFullVersion(void);

ZARN_END_DECLS

#endif
