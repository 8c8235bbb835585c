/*
 * Units of measure: the process-wide units table of 149 physical types, each
 * with an ordered list of units, and conversions between a value in a unit and
 * the same value in SI.
 *
 * A physical type is an int: 0..148 the built-in types (0 UNTYPED, 44
 * DIMENSIONLES), -p the price type of p (money per unit of p, written "$/"
 * and the name), -182 the SI marker and -181 the scaled-SI marker (values so
 * marked are returned unchanged by every conversion). A unit index is 1-based
 * within its type's list; 0 means the type's default unit; index 1 is always
 * the SI unit.
 *
 * The table is built when the library is loaded and destroyed when it is
 * unloaded. Every message goes to the history device rtHisDev, as the
 * function's prefix ("!! rtouom_pair2si: ") followed by the message. Names
 * returned for price units and price types live in shared buffers that the
 * next call of the same kind overwrites. Not thread-safe: callers serialise.
 */
#ifndef ZARNUTILS_RTUOM_H
#define ZARNUTILS_RTUOM_H

#include "zarnutils/rtopipe.h"
#include "zarnutils/zarn_api.h"

ZARN_BEGIN_DECLS

/* Number of built-in physical types; a type t is valid for table access when |t| < this. */
#define RTOUOM_NTYPES 149
/* Type code of a number already in SI, and of one already in scaled SI. */
#define RTOUOM_SI_MARKER (-182)
#define RTOUOM_SSI_MARKER (-181)
/* Longest unit name accepted by rtouom_add_uom. */
#define RTOUOM_MAX_NAME 32

/* One unit of one physical type. */
typedef struct rtouom_entry {
    const char *name;  /* unit name, exact case; built-in names are constant text */
    double multiplier; /* SI value of one unit */
    double offset;     /* SI value of the unit's zero */
    int ptype;         /* the type whose list holds the entry */
} rtouom_entry;

/*
 * The units tables, by physical type 0..148. Read-only for callers; the
 * library changes them through the functions below. A type's array is NULL
 * while the table is not built.
 */
ZARN_API extern rtouom_entry *rtouom_table[RTOUOM_NTYPES]; /* each type's units, index-1 based */
ZARN_API extern int rtouom_count[RTOUOM_NTYPES];           /* units in use, built-in and user */
ZARN_API extern int rtouom_npredefined[RTOUOM_NTYPES];     /* built-in units of each type */
ZARN_API extern int rtouom_default_uom[RTOUOM_NTYPES];     /* default unit index, 1 at load */
/* Read by assignment to demand a unit check of untyped values; 0 at load. */
ZARN_API extern int rtouom_strict_uom_checking;

/* ---- conversions: si = value*m + o for an ordinary type, value/m for a price type ---- */

/* value in (ptype, uom) to SI; uom 0 = default unit. Bad arguments: reported, value returned. */
ZARN_API double rtouom_pair2si(double value, int ptype, int uom);
/* SI to (ptype, uom). Bad arguments: reported, si returned. */
ZARN_API double rtouom_si2pair(double si, int ptype, int uom);
/* The same for differences: the offset is never applied. */
ZARN_API double rtouom_delta_pair2si(double value, int ptype, int uom);
ZARN_API double rtouom_delta_si2pair(double si, int ptype, int uom);
/*
 * *value = si in (ptype, uom) and *name = the unit's name ("$/" form, shared
 * buffer, for a price type); uom <= 0 = default unit. On failure *value = si
 * and *name = NULL. Either output may be NULL.
 */
ZARN_API void rtouom_rconv1(int ptype, int uom, double si, double *value, const char **name);
ZARN_API void rtouom_delta_rconv1(int ptype, int uom, double si, double *value, const char **name);
/*
 * From (to) the named unit. *ptype receives the unit's type, negated for a
 * "$/" name; on failure *ptype = 0 and the value comes back unchanged. The
 * name is matched exactly (case-sensitive), without the generic-type
 * re-resolution of rtouom_locate.
 */
ZARN_API double rtouom_uu2si(double value, int *ptype, const char *unit);
ZARN_API double rtouom_si2uu(double si, int *ptype, const char *unit);
/*
 * Type by name (pt_lookup), unit by name within it (rtouom_ptype_locate2); a
 * unit not listed gives index 0, the default unit. An unknown type name gives
 * -1, which the conversion takes as the price type of AREA.
 */
ZARN_API double rtouom_uu2siGivenAPhysicalType(double value, const char *ptypeName, const char *unit);
ZARN_API double rtouom_si2uuGivenAPhysicalType(double si, const char *ptypeName, const char *unit);

/* ---- lookup ---- */

/* Physical type number by exact name; -1 for NULL, "" or an unknown name. */
ZARN_API int pt_lookup(const char *name);
/*
 * (type, index) of a unit name: exact match in the unit-name index, a FLOW,
 * ENTHALPY or DENSITY unit re-resolved to MASS-FLOW, MOLE-ENTHALP,
 * MASS-ENTHALP or MASS-DENSITY when that type lists it, and "$/name" as the
 * price type of name's type. Both outputs 0 when not found (reported).
 */
ZARN_API void rtouom_locate(const char *unit, int *ptype, int *uom);
/* The same without the not-found message. */
ZARN_API void rtouom_locate2(const char *unit, int *ptype, int *uom);
/* *uom = index of unit within ptype, 0 when ptype does not list it. */
ZARN_API void rtouom_ptype_locate(const char *unit, int ptype, int *uom);
/* The same, silent. */
ZARN_API void rtouom_ptype_locate2(const char *unit, int ptype, int *uom);
/* The unit's name (owned by the table, or the shared unit-name buffer); NULL after a report. */
ZARN_API const char *rtouom_uom_name(int ptype, int uom);
/* The type's name; "$/" form (shared buffer) for a price type; "bad_ptype" when |ptype| >= 149. */
ZARN_API const char *rtouom_ptype_name(int ptype);
/*
 * Copies name (at least 33 bytes), multiplier and offset of (ptype, uom); a
 * price unit gives its "$/" name, 1/m and 0. On failure the outputs are 0 and
 * "" after a report. Any output may be NULL.
 */
ZARN_API void rtouom_inq_info_c(int ptype, int uom, double *mult, double *offset, char *name);
/* The same with a 16-character name field: blank-padded, cut, not terminated. */
ZARN_API void rtouom_inq_info_4a4_c(int ptype, int uom, double *mult, double *offset, char name[16]);
/* As rtouom_inq_info_c; *name and the result point at the name (NULL on failure). */
ZARN_API const char *rtouom_uom_info(int ptype, int uom, double *mult, double *offset, const char **name);
/*
 * *list = a new NULL-terminated array of private copies of every unit name of
 * |ptype| in index order ("$/" forms for a price type); returns their number,
 * 0 for a type without units, -1 after reporting a bad type (then *list =
 * NULL). Free with rtouom_destroy_uomlist.
 */
ZARN_API int rtouom_get_uomlist(int ptype, char ***list);
/* Frees a list of rtouom_get_uomlist; NULL is accepted. */
ZARN_API void rtouom_destroy_uomlist(char **list);
/* 1 when 1 <= uom <= the built-in count of |ptype|, else 0 (a bad type is reported). */
ZARN_API int rtouom_predefined(int ptype, int uom);
/* uom when built-in by the same test, else 1. */
ZARN_API int rtouom_force_predefined_units(int ptype, int uom);
/* Default unit index of ptype (0..148); 0 for a type outside that range or without units. */
ZARN_API int rtouom_get_default(int ptype);
/*
 * Makes uom the default of ptype when 1 <= uom <= count and returns uom - 1;
 * returns the count, changing nothing, when uom is above it; -1, changing
 * nothing, when uom < 1 or ptype is outside 0..148 (reported).
 */
ZARN_API int rtouom_set_default(int ptype, int uom);

/* ---- table changes ---- */

/*
 * Adds a user unit (name copied, at most 32 characters) to ptype (0..148) and
 * to every type equal to it (rtouom_ptype_equal) that does not list the name.
 * Returns the new unit's index in ptype, 0 after a report.
 */
ZARN_API int rtouom_add_uom(const char *unit, int ptype, double mult, double offset);
/* Sets the ambient pressure (Pa); every PRESSURE unit whose offset is the old ambient follows. */
ZARN_API void rtouom_modify_p_amb(double p);
/* Replaces mult and offset of ptype's first unit named unit (any case): 1 when found, else 0. */
ZARN_API int rtouom_modify_mult_offset(int ptype, const char *unit, double mult, double offset);
/* Builds the table from the built-in catalogue (destroying a table already built). */
ZARN_API void pt_init_units_table(void);
/* Frees user unit names, all arrays and the index; zeroes the counts. Defaults survive. */
ZARN_API void pt_destroy_units_table(void);

/* ---- printing to a caller's pipe ---- */

/* The three header lines of a unit listing. */
ZARN_API void rtouom_print_header(rtopipe *pipe);
/* One line for (ptype, uom), uom 1..count; 'P' for a built-in index, 'U' for a user one. */
ZARN_API void rtouom_print_uom(rtopipe *pipe, int ptype, int uom);

/* ---- compatibility of physical types ---- */

/* 1 when a and b are the same type or an equivalent pair (not transitive), else 0. */
ZARN_API int rtouom_ptype_equal(int a, int b);
/* Type of a + b in *out: 1 on success, 0 (and *out = 0) when the sum is not allowed. */
ZARN_API int rtouom_ptype_add(int a, int b, long long *out);
/* Type of a - b in *out: 1 on success, 0 (and *out = 0) when not allowed. */
ZARN_API int rtouom_ptype_sub(int a, int b, long long *out);
/* 1 when from = to, or from is UNTYPED and to is 1..148; else 0. */
ZARN_API int rtouom_coercion_allowed(int from, int to);
/* Type of a difference of two values of p: PDROP for PRESSURE, DELTA-T for TEMPERATURE, else p. */
ZARN_API int rtouom_delta_ptype(int p);

/*
 * Fortran entries: every argument by reference, integers 64-bit, each
 * character argument followed by its hidden length at the end of the list.
 */
ZARN_API double RTOUOM_PAIR2SI_F(const double *value, const int64_t *ptype, const int64_t *uom);
ZARN_API double RTOUOM_SI2PAIR_F(const double *si, const int64_t *ptype, const int64_t *uom);
ZARN_API double RTOUOM_DELTA_PAIR2SI_F(const double *value, const int64_t *ptype, const int64_t *uom);
ZARN_API double RTOUOM_DELTA_SI2PAIR_F(const double *si, const int64_t *ptype, const int64_t *uom);
/* name receives the default unit's name, blank when the conversion fails. */
ZARN_API void RTOUOM_DEF_RCONV1_F(const int64_t *ptype, const double *si, double *value, char *name,
                                  size_t name_len);
ZARN_API void RTOUOM_LOCATE_F(const char *unit, int64_t *ptype, int64_t *uom, size_t unit_len);
/* ptype is input. */
ZARN_API void RTOUOM_PTYPE_LOCATE_F(const char *unit, const int64_t *ptype, int64_t *uom, size_t unit_len);
ZARN_API int64_t RTOUOM_PREDEFINED_F(const int64_t *ptype, const int64_t *uom);
ZARN_API int64_t RTOUOM_FORCE_PREDEFINED_UNITS_F(const int64_t *ptype, const int64_t *uom);
ZARN_API int64_t RTOUOM_COERCION_ALLOWED_F(const int64_t *from, const int64_t *to);
ZARN_API int64_t RTOUOM_PTYPE_EQUAL_F(const int64_t *a, const int64_t *b);
ZARN_API int64_t RTOUOM_PTYPE_ADD_F(const int64_t *a, const int64_t *b, int64_t *out);
ZARN_API int64_t RTOUOM_PTYPE_SUB_F(const int64_t *a, const int64_t *b, int64_t *out);
ZARN_API int64_t RTOUOM_DELTA_PTYPE_F(const int64_t *ptype);
ZARN_API int64_t RTOUOM_GET_DEFAULT_F(const int64_t *ptype);
ZARN_API int64_t RTOUOM_SET_DEFAULT_F(const int64_t *ptype, const int64_t *uom);
ZARN_API void RTOUOM_INQ_INFO(const int64_t *ptype, const int64_t *uom, double *mult, double *offset,
                              char *name, size_t name_len);
/* name16 is a 16-character field without hidden length. */
ZARN_API void RTOUOM_INQ_INFO_4A4(const int64_t *ptype, const int64_t *uom, double *mult, double *offset,
                                  char *name16);
/* A bad pair also writes "BaseUom of the variable is invalid. Assume SI \n" and gives 1 and 0. */
ZARN_API void RTOUOM_UOM_INFO_F(const int64_t *ptype, const int64_t *uom, double *mult, double *offset);
/* Adds with the duplicate check; alsoEqual != 0 also adds to the equal types. */
ZARN_API int64_t RTOUOM_ADD_UOM2_F(const char *unit, const int64_t *ptype, const double *mult,
                                   const double *offset, const int64_t *alsoEqual, size_t unit_len);
/* noCheck != 0 skips the duplicate check. */
ZARN_API int64_t RTOUOM_ADD_UOM3_F(const char *unit, const int64_t *ptype, const double *mult,
                                   const double *offset, const int64_t *alsoEqual, const int64_t *noCheck,
                                   size_t unit_len);
/* Destroys and rebuilds the table: user units and changed multipliers are lost. */
ZARN_API void RTOUOM_RESET_UOM_F(void);
ZARN_API void RTOUOM_MODIFY_P_AMB_F(const double *p);
ZARN_API int64_t RTOUOM_MODIFY_MULT_OFFSET_F(const int64_t *ptype, const char *unit, const double *mult,
                                             const double *offset, size_t unit_len);
ZARN_API int64_t PT_LOOKUP_F(const char *name, size_t name_len);

ZARN_END_DECLS

#endif
