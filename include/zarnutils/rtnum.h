/*
 * Numbers with a physical type and a unit, and their arithmetic.
 *
 * A num holds an integer or a real, the physical type of rtuom.h, the unit
 * index it is shown in and the unit index its real is held in (1, SI, in the
 * ordinary case). Sums and differences keep a compatible type; products and
 * quotients take the type that the product and quotient tables give, and the
 * result's display unit follows the operands' (English in, English out).
 *
 * Failures are marked, not raised: a failed two-operand operation gives a
 * number with `undefined` set, type 0, unit 0 and base unit 1, and an
 * undefined operand propagates. Messages (type mismatches, missing table
 * rows, powers of typed numbers) go to the history device rtHisDev. Null
 * arguments are ignored (comparisons answer 0). Not thread-safe: the unit
 * names used to compose a product's unit live in shared buffers.
 */
#ifndef ZARNUTILS_RTNUM_H
#define ZARNUTILS_RTNUM_H

#include "zarnutils/rtopipe.h"
#include "zarnutils/zarn_api.h"

ZARN_BEGIN_DECLS

/* Result code of ptype_multiply and ptype_divide when no type fits. */
#define RTNUM_NO_TYPE 150

typedef struct num {
    int32_t ival;      /* the value when is_int is set */
    double rval;       /* the value when is_int is clear, held in (ptype, baseuom) */
    int16_t ptype;     /* physical type, price types and SI markers included */
    int16_t uom;       /* display unit index within ptype; 0 = the type's default */
    uint8_t is_int;    /* 1: an integer */
    uint8_t undefined; /* 1: the undefined result of a failed operation */
    int16_t baseuom;   /* unit index rval is held in; 1 (SI) in the ordinary case */
} num;

/*
 * Type of p1 * p2 and of p1 / p2. The unit indices matter only for ENTHALPY
 * and ENTROPY, whose units say whether the mole or the mass basis is meant.
 * RTNUM_NO_TYPE when the tables have no answer or a type is out of range.
 */
ZARN_API int ptype_multiply(int16_t p1, int16_t u1, int16_t p2, int16_t u2);
ZARN_API int ptype_divide(int16_t p1, int16_t u1, int16_t p2, int16_t u2);
/* Prints the product table, then the quotient table, one row a line. */
ZARN_API void ptype_dump(rtopipe *pipe);

/* Arithmetic into a separate result; a and b are not changed. */
ZARN_API void numAdd(const num *a, const num *b, num *result);
ZARN_API void numSub(const num *a, const num *b, num *result);
ZARN_API void numMult(const num *a, const num *b, num *result);
ZARN_API void numDiv(const num *a, const num *b, num *result);
/* a to the power b; both untyped or dimensionless; the result is a dimensionless real. */
ZARN_API void numPow(const num *a, const num *b, num *result);

/* 1 when a < b, a = b, a > b; 0 otherwise, for an undefined operand and after a type alert. */
ZARN_API int numLess(const num *a, const num *b);
ZARN_API int numEqual(const num *a, const num *b);
ZARN_API int numGreater(const num *a, const num *b);

/* In place. Negation and absolute value keep type and units. */
ZARN_API void numUminus(num *a);
ZARN_API void numAbs(num *a);
/*
 * In place, for an untyped or dimensionless a inside the function's domain:
 * the value becomes a dimensionless real. Otherwise only `undefined` is set.
 */
ZARN_API void numLog(num *a);
ZARN_API void numLog10(num *a);
ZARN_API void numSqrt(num *a);
ZARN_API void numExp(num *a);
ZARN_API void numCos(num *a);
ZARN_API void numSin(num *a);
ZARN_API void numTan(num *a);

/* The unit index a's real is held in when read as ptype: 1 unless baseuom is a unit of ptype. */
ZARN_API int numBaseUom(const num *a, int ptype);

ZARN_END_DECLS

#endif
