/*
 * Status words: the packed integers held in the STATUS column of every
 * variable and every equation.
 *
 * The functions are pure bit operations on caller-owned words: readers take
 * the word by value, writers take its address. A writer given an
 * out-of-range code prints a message on the history device (rtHisDev) and
 * leaves the word as it was. The classification tests (varIsFixed and
 * friends) read the problem mode rtopt_mode (0..3; any other mode answers 0).
 *
 * Variable status word (low 32 bits of a 64-bit integer):
 *   bits 0-3   spec code (VAR_CALC .. VAR_INITIAL)
 *   bits 4-12  physical type p, stored as p + 256 (0 = none), |p| <= 255
 *   bits 13-15 connection state (VAR_NOT_CONNECTED .. VAR_CONNECTED_PARAM)
 *   bits 16-19 variable type (VAR_TYPE_*); codes 16..64 keep their high
 *              bits in bits 29-31, so that every accepted code round-trips
 *   bit 20 torn, bits 21-22 bound type, bit 23 instrument, bit 24 measured,
 *   bit 25 excluded, bit 26 marked, bit 27 linear, bit 28 active
 *
 * Equation status word:
 *   bit 0 not included, bits 1-3 math type, bits 4-5 sign,
 *   bits 6-9 / 10-13 first / second pre-connection spec + 1 (0 = none),
 *   bits 14-16 / 17-19 first / second pre-connection connection state,
 *   bit 20 TF flag, bit 21 PF flag, bit 22 linear
 *
 * Upper-case twins serve Fortran callers: every argument by address, words
 * as 64-bit integers, integer and flag inputs as 32-bit integers, integer
 * outputs as 64-bit integers.
 */
#ifndef ZARNUTILS_VARUTL_H
#define ZARNUTILS_VARUTL_H

#include "zarnutils/zarn_api.h"

ZARN_BEGIN_DECLS

/* Spec codes (bits 0-3 of the variable status word). */
#define VAR_CALC 0
#define VAR_CONST 1
#define VAR_INDEP 2
#define VAR_MEAS 3
#define VAR_PARAM 4
#define VAR_OPTIM 5
#define VAR_RECON 6
#define VAR_INITIAL 7

/* Connection states: 0 and 4 are named; 1..3 belong to the callers. */
#define VAR_NOT_CONNECTED 0
#define VAR_CONNECTED_PARAM 4

/* Variable types. */
#define VAR_TYPE_ALGEBRAIC 0
#define VAR_TYPE_STATE 1
#define VAR_TYPE_DIFFERENTIAL 2
#define VAR_TYPE_DISCRETE 3 /* also "INTEGER" */
#define VAR_TYPE_DISCRETE_ESLACK 4
#define VAR_TYPE_BINARY 5
#define VAR_TYPE_PARTIAL_INTEGER 6
#define VAR_TYPE_SEMI_CONTINUOUS 7
#define VAR_TYPE_SEMI_CONTINUOUS_INTEGER 64

/* Bound types. */
#define VAR_BOUND_HARD 0
#define VAR_BOUND_RELAXED 1
#define VAR_BOUND_SOFT 2
#define VAR_BOUND_SOFT2 3

/* Equation math types. */
#define EQN_EQUALITY 0
#define EQN_LT 1
#define EQN_LEQ 2
#define EQN_GT 3
#define EQN_GEQ 4
#define EQN_OBJ_FUNC 5

/* ---- Variable status word: spec ---- */

/* Bits 0-3. */
ZARN_API int32_t varInqSpec(int64_t word);
/* spec must be 0..7. */
ZARN_API void varSetSpec(int64_t *word, int32_t spec);
/* spec := VAR_CONST / VAR_CALC / VAR_INDEP / VAR_INITIAL. */
ZARN_API void varFix(int64_t *word);
ZARN_API void varFree(int64_t *word);
ZARN_API void varMakeIndependent(int64_t *word);
ZARN_API void varFixInitially(int64_t *word);
/* 0 or 1 for its spec code under the current problem mode. */
ZARN_API int32_t varIsFixed(int64_t word);
/* As varIsFixed, but VAR_INITIAL never counts as fixed. */
ZARN_API int32_t varIsFixedOrInitial(int64_t word);
ZARN_API int32_t varIsIndependent(int64_t word);
/* Display name ("Calc" .. "Initial"); "Unknown" outside 0..7. A constant text. */
ZARN_API const char *varSpecId(int32_t spec);

/* ---- Physical type, connection state, variable type ---- */

/* Signed physical type; 0 when none. */
ZARN_API int32_t varInqPhysicalType(int64_t word);
/* |ptype| must be <= 255. */
ZARN_API void varSetPhysicalType(int64_t *word, int32_t ptype);
ZARN_API int32_t varInqConnected(int64_t word);
/* state must be 0..4. */
ZARN_API void varSetConnected(int64_t *word, int32_t state);
/* The variable type code (0..64). */
ZARN_API int32_t varInqType(int64_t word);
/* type must be 0..64. Note the order: type first. */
ZARN_API void varSetType(int32_t type, int64_t *word);
/* 1 when the type is the one named, else 0. */
ZARN_API int32_t varTypeIsAlgebraic(int64_t word);
ZARN_API int32_t varTypeIsState(int64_t word);
ZARN_API int32_t varTypeIsDifferential(int64_t word);
ZARN_API int32_t varTypeIsDiscrete(int64_t word);
ZARN_API int32_t varTypeIsInteger(int64_t word); /* same test as varTypeIsDiscrete */
ZARN_API int32_t varTypeIsDiscreteEqnSlack(int64_t word);
ZARN_API int32_t varTypeIsBinary(int64_t word);
ZARN_API int32_t varTypeIsPartialInteger(int64_t word);
ZARN_API int32_t varTypeIsSemiContinuous(int64_t word);
ZARN_API int32_t varTypeIsSemiContinuousInteger(int64_t word);
/* Text name of a type code ("ALGEBRAIC", "DISCRETE", ...); NULL for a code
   without a name. A constant text. */
ZARN_API const char *varTypeId(int32_t type);
/* Type code of a name, compared exactly ("INTEGER" gives 3); -1 when unknown
   or NULL. */
ZARN_API int32_t varTypeCode(const char *name);

/* ---- Bound type ---- */

/* Writes bits 21-22 to *out (nothing when out is NULL). */
ZARN_API void varInqBoundType(int64_t word, int64_t *out);
/* bound type must be 0..3. Note the order: bound type first. */
ZARN_API void varSetBoundType(int32_t bound_type, int64_t *word);
ZARN_API int32_t varBoundTypeIsSoft(int64_t word);
ZARN_API int32_t varBoundTypeIsSoft2(int64_t word);

/* ---- One-bit flags ---- */

/* Set the bit when flag is non-zero, clear it otherwise. */
ZARN_API void varSetInstrument(int64_t *word, int32_t flag);
ZARN_API void varSetMeasured(int64_t *word, int32_t flag);
ZARN_API void varSetExcluded(int64_t *word, int32_t flag);
ZARN_API void varSetLinear(int64_t *word, int32_t flag);
/* The bit, 0 or 1. */
ZARN_API int32_t varIsInstrument(int64_t word);
ZARN_API int32_t varIsMeasured(int64_t word);
ZARN_API int32_t varIsExcluded(int64_t word);
ZARN_API int32_t varIsLinear(int64_t word);
/* Byte flag first, then the word. */
ZARN_API void varSetMarked(unsigned char flag, int64_t *word);
ZARN_API void varSetTorn(unsigned char flag, int64_t *word);
ZARN_API void varSetActive(unsigned char flag, int64_t *word);
ZARN_API int32_t varInqMarked(int64_t word);
ZARN_API int32_t varInqTorn(int64_t word);
ZARN_API int32_t varInqActive(int64_t word);

/* ---- Degrees of freedom and effective bounds ---- */

/*
 * Change of the fixed and independent counts when word a's spec code
 * becomes that of b, for each of the four problem modes at once:
 * out1[m] = fixed(a, m) - fixed(b, m), out2[m] = indep(b, m) - indep(a, m).
 * Does not read rtopt_mode.
 */
ZARN_API void varDofDecDelta(int64_t a, int64_t b, int32_t out1[4], int32_t out2[4]);

/*
 * Effective bounds of a variable with value x, reference r (1e35: use x),
 * bounds lower/upper and step: use_step switches the step window on,
 * use_soft lets the SOFT and SOFT2 bound types act (else they act as HARD).
 * Each flag buffer (at least two bytes) receives " " (as given), "S" (limited
 * by the step window) or "R" (relaxed to the value).
 */
ZARN_API void varInqBoundInfo(int64_t word, double x, double r, double lower, double upper, double step,
                              int32_t use_step, int32_t use_soft, double *eff_lower, char *lower_flag,
                              double *eff_upper, char *upper_flag);

/* ---- Equation status word ---- */

/* Include (clear bit 0) / exclude (set bit 0). */
ZARN_API void u3incr_c(int64_t *word);
ZARN_API void u3uncr_c(int64_t *word);
/* 1 when included, else 0. */
ZARN_API int32_t u3rinc_c(int32_t word);
/* Math type 0..5. */
ZARN_API int32_t u3rgmt_c(int32_t word);
/* type must be 0..5. */
ZARN_API void u3rpmt_c(int64_t *word, int32_t type);
/* -1.0, +1.0 or 0.0. */
ZARN_API double u3rgsn_c(int32_t word);
/* Records the sign of value (zero: none). */
ZARN_API void u3rpsn_c(int64_t *word, double value);
/* Linear, TF and PF flags: readers give 0 or 1; a non-zero flag sets. */
ZARN_API int32_t u3rgln_c(int32_t word);
ZARN_API void u3rpln_c(int64_t *word, int32_t flag);
ZARN_API int32_t u3rgtf_c(int32_t word);
ZARN_API void u3rptf_c(int64_t *word, int32_t flag);
ZARN_API int32_t u3rgpf_c(int32_t word);
ZARN_API void u3rppf_c(int64_t *word, int32_t flag);
/* Pre-connections: spec -1 when none was recorded. */
ZARN_API void u3r_get_precon1_c(int32_t word, int64_t *spec, int64_t *conn);
ZARN_API void u3r_get_precon2_c(int32_t word, int64_t *spec, int64_t *conn);
/* spec 0..7 and conn 0..4; a value out of range prints an assertion line
   on standard error and leaves the word unchanged. */
ZARN_API void u3r_set_precon1_c(int64_t *word, int32_t spec, int32_t conn);
ZARN_API void u3r_set_precon2_c(int64_t *word, int32_t spec, int32_t conn);
/* Root of the sum of squares of resid[i] over the included equalities
   among the n words (no division by n); 0.0 for n <= 0. */
ZARN_API double u3rmserr_c(int32_t n, const double *resid, const int64_t *words);

/* ---- Fortran twins ---- */

ZARN_API void U3INCR(int64_t *word);
ZARN_API void U3UNCR(int64_t *word);
ZARN_API int32_t U3RINC(const int64_t *word);
ZARN_API int32_t U3RGMT(const int64_t *word);
ZARN_API void U3RPMT(int64_t *word, const int32_t *type);
ZARN_API double U3RGSN(const int64_t *word);
ZARN_API void U3RPSN(int64_t *word, const double *value);
ZARN_API int32_t U3RGTF(const int64_t *word);
ZARN_API void U3RPTF(int64_t *word, const int32_t *flag);
ZARN_API int32_t U3RGLN(const int64_t *word);
ZARN_API void U3RPLN(int64_t *word, const int32_t *flag);
ZARN_API int32_t U3RGPF(const int64_t *word);
ZARN_API void U3RPPF(int64_t *word, const int32_t *flag);
ZARN_API void U3R_GET_PRECON1(const int64_t *word, int64_t *spec, int64_t *conn);
ZARN_API void U3R_SET_PRECON1(int64_t *word, const int32_t *spec, const int32_t *conn);
ZARN_API void U3R_GET_PRECON2(const int64_t *word, int64_t *spec, int64_t *conn);
ZARN_API void U3R_SET_PRECON2(int64_t *word, const int32_t *spec, const int32_t *conn);
ZARN_API double U3RMSERR(const int32_t *n, const double *resid, const int64_t *words);
ZARN_API void U3FXV(int64_t *word);
ZARN_API void U3UFXV(int64_t *word);
ZARN_API void U3V_INDEPENDENT(int64_t *word);
ZARN_API int32_t U3V_GET_SPEC(const int64_t *word);
ZARN_API void U3V_SET_SPEC(int64_t *word, const int32_t *spec);
ZARN_API int32_t U3VFXD(const int64_t *word);
ZARN_API int32_t U3V_IS_INDEPENDENT(const int64_t *word);
ZARN_API void U3VGPT(const int64_t *word, int64_t *out);
ZARN_API void U3VPPT(int64_t *word, const int32_t *ptype);
ZARN_API int32_t U3V_GET_CONNECTED(const int64_t *word);
ZARN_API void U3V_SET_CONNECTED(int64_t *word, const int32_t *state);
ZARN_API void U3V_GET_BNDTYP(const int64_t *word, int64_t *out);
ZARN_API void U3V_SET_BNDTYP(const int32_t *bound_type, int64_t *word);
/* Bound type 0 / 1 / 2 / 3, no range check needed. */
ZARN_API void U3V_HARD(int64_t *word);
ZARN_API void U3V_RELAX(int64_t *word);
ZARN_API void U3V_SOFT(int64_t *word);
ZARN_API void U3V_SOFT2(int64_t *word);
ZARN_API int32_t U3V_IS_HARD(const int64_t *word);
ZARN_API int32_t U3V_IS_RELAX(const int64_t *word);
ZARN_API int32_t U3V_IS_SOFT(const int64_t *word);
ZARN_API int32_t U3V_IS_SOFT2(const int64_t *word);
ZARN_API void U3V_SET_INSTRUMENT(int64_t *word, const int32_t *flag);
ZARN_API int32_t U3V_IS_INSTRUMENT(const int64_t *word);
ZARN_API void U3V_SET_MEASURED(int64_t *word, const int32_t *flag);
ZARN_API int32_t U3V_IS_MEASURED(const int64_t *word);
ZARN_API void U3V_SET_EXCLUDED(int64_t *word, const int32_t *flag);
ZARN_API int32_t U3V_IS_EXCLUDED(const int64_t *word);
ZARN_API void U3V_SET_LINEAR(int64_t *word, const int32_t *flag);
ZARN_API int32_t U3V_IS_LINEAR(const int64_t *word);

ZARN_END_DECLS

#endif
