/*
 * Values of the command language: a tagged record of one of twelve kinds
 * (numbers with units, texts, identifiers, patterns, booleans, pipes, lists,
 * ranges, enumerations, bounded numbers), made, copied, printed, validated,
 * coerced between kinds and freed here; and named parameters holding them.
 *
 * A value owns everything its contents point to (texts, lists and their
 * items, the enumeration's choices, one reference to its pipe). A value whose
 * bytes are all zero is UNDEFINED; every destroy ends there. Functions that
 * rewrite their argument leave UNDEFINED when the kinds do not fit; only the
 * cases documented per function write a message, to the history device
 * rtHisDev. An invalid value passed in (bad tag, null text) prints an
 * assertion line on standard error and leaves the target as it was.
 *
 * ctx is the host's evaluation context (rtvalue.hpp) through which
 * identifiers reach model names and parameters; it may be NULL, and
 * identifiers are then plain text. Not thread-safe: callers serialise.
 */
#ifndef ZARNUTILS_RTVALUE_H
#define ZARNUTILS_RTVALUE_H

#include "zarnutils/gllist.h"
#include "zarnutils/hashtable.h"
#include "zarnutils/rtnum.h"
#include "zarnutils/rtopipe.h"
#include "zarnutils/zarn_api.h"

ZARN_BEGIN_DECLS

/* The kinds; the numbers are part of the interface. */
enum value_type_code {
    undefined_value = 0,
    number_value = 1,
    string_value = 2,
    identifier_value = 3,
    regexp_value = 4,
    glob_value = 5,
    logical_value = 6,
    pipe_value = 7,
    list_value = 8,
    range_value = 9,
    enum_value = 10,
    boundednumber_value = 11
};

typedef struct value_t {
    union {
        num number;            /* number_value */
        char *text;            /* string, identifier, regexp and glob values: owned, never NULL */
        unsigned char logical; /* logical_value: 0 or 1 */
        rtopipe *pipe;         /* pipe_value: one counted reference */
        gl_list_t *list;       /* list_value: owned list of owned value_t * items */
        struct {
            int32_t low, high;
        } range; /* range_value */
        struct {
            int32_t index;      /* current choice, 0-based */
            int32_t nchoices;   /* number of choices */
            gl_list_t *choices; /* owned list of STRING value_t * items */
        } enumeration;          /* enum_value */
        struct {
            num value, lower, upper;
        } bounded; /* boundednumber_value: integer when value.is_int is set */
    } u;
    int value_type; /* a value_type_code */
} value_t;

/* The host's evaluation context (C++ interface in rtvalue.hpp); opaque in C. */
typedef struct IValueContext IValueContext;

/* ---- making, copying and freeing ---- */

/* v becomes UNDEFINED without freeing anything. */
ZARN_API void value_init(value_t *v);
/* Frees v's contents and makes it UNDEFINED. */
ZARN_API void value_destroy(value_t *v);
/* Destroys v and frees the record (a heap value or list item); NULL is ignored. */
ZARN_API void value_destroy_list_item(void *v);
/* 1 when v is a valid value of its kind, else 0; lists (with enumeration
   choices) nest at most 1000 levels, and every item is a valid value. */
ZARN_API int value_okay(const value_t *v);
/* A new heap STRING: copy != 0 stores a copy of text, else takes text. NULL on failure. */
ZARN_API value_t *value_create_from_string(char *text, int copy);
/* A new heap INTEGER of type DIMENSIONLES. NULL on failure. */
ZARN_API value_t *value_create_from_int(int i);

/* The kind with text, taking ownership of text (freed when v is invalid). */
ZARN_API void value_assign_string(value_t *v, char *text);
ZARN_API void value_assign_id(value_t *v, char *text);
ZARN_API void value_assign_regexp(value_t *v, char *text);
ZARN_API void value_assign_glob(value_t *v, char *text);
/* The kind with a private copy of text; returns the copy (owned by v), NULL on failure. */
ZARN_API char *value_assign_copy_of_string(value_t *v, const char *text);
ZARN_API char *value_assign_copy_of_id(value_t *v, const char *text);
/* A number, *n copied. */
ZARN_API void value_assign_number(value_t *v, const num *n);
/* A REAL held in SI: rval = x, the given type and display unit, base unit 1. Returns 1. */
ZARN_API int value_assign_double(value_t *v, double x, int ptype, int uom);
/* An INTEGER of type DIMENSIONLES, display unit 0. */
ZARN_API void value_assign_int(value_t *v, int i);
/* BOOLEAN: 1 when i is non-zero. */
ZARN_API void value_assign_logical(value_t *v, int i);
/* PIPE, taking over the caller's reference (released when the call is refused). */
ZARN_API void value_assign_pipe(value_t *v, rtopipe *pipe);
/* LIST, taking the list of value_t * items; a list with a null or invalid item,
   or nested beyond 1000 levels, is refused and destroyed with its items. */
ZARN_API void value_assign_list(value_t *v, gl_list_t *list);
ZARN_API void value_assign_range(value_t *v, int low, int high);
/* ENUMERATION over a list of STRING values (taken), index 0; an empty list or
   one with a null or invalid item is refused and destroyed. */
ZARN_API void value_assign_enum(value_t *v, gl_list_t *list);
/* Sets the number of choices of an ENUMERATION. */
ZARN_API void value_setenum_size(value_t *v, int n);
/* An ENUMERATION of STRING copies of the first n texts, n being v's number of choices. */
ZARN_API void value_assign_enum_as_char(value_t *v, const char *const *texts);
/* Current choice by 0-based index (ignored outside 0..n-1) or by text ignoring case. */
ZARN_API void value_enum_setvalue_asInt(value_t *v, int i);
ZARN_API void value_enum_setvalue_asString(value_t *v, const char *text);
ZARN_API int value_enum_getvalue_asInt(const value_t *v);
/* The current choice's text, owned by v; NULL when there is none. */
ZARN_API const char *value_enum_getvalue_asString(const value_t *v);
/* Bounded numbers: the value inside [lower, upper]; bounds drag the value along. */
ZARN_API void boundednumSetValAsInt(value_t *v, int i);
ZARN_API void boundednumSetValAsReal(value_t *v, double x);
ZARN_API void boundednumSetLowerAsInt(value_t *v, int i);
ZARN_API void boundednumSetLowerAsReal(value_t *v, double x);
ZARN_API void boundednumSetUpperAsInt(value_t *v, int i);
ZARN_API void boundednumSetUpperAsReal(value_t *v, double x);
/* dst becomes an independent deep copy of src (a pipe gets one more reference). */
ZARN_API void value_copy(const value_t *src, value_t *dst);
/* Writes v's printed form to pipe. */
ZARN_API void value_print(rtopipe *pipe, const value_t *v);

/* ---- value functions: the result replaces v ---- */

ZARN_API void value_head(value_t *v);
ZARN_API void value_tail(value_t *v);
ZARN_API void value_list_num(value_t *v);
/* v = [list, n]: the n-th item, 1-based. */
ZARN_API void value_elem(value_t *v);
/* v = [list, n, x]: list with its n-th item replaced by x. */
ZARN_API void value_repl_elem(value_t *v);
ZARN_API void value_tolower(value_t *v, IValueContext *ctx);
ZARN_API void value_toupper(value_t *v, IValueContext *ctx);
/* A STRING upper-cased, parameters expanded, made an IDENTIFIER; UNDEFINED when not a model name. */
ZARN_API void value_string2id(value_t *v, IValueContext *ctx);
ZARN_API void value_id2string(value_t *v, IValueContext *ctx);
/* A number rounded (halves away from zero) in its display unit to a DIMENSIONLES INTEGER. */
ZARN_API void value_int(value_t *v, IValueContext *ctx);
/* The IDENTIFIER naming v's kind. */
ZARN_API void value_typeof(value_t *v, IValueContext *ctx);
/* [path, mode word], a STRING or an IDENTIFIER becomes a PIPE over the opened file. */
ZARN_API void value_openfile(value_t *v);
ZARN_API void value_openbinary(value_t *v);
/* A LIST of PIPEs becomes one PIPE writing to all of them. */
ZARN_API void value_opentee(value_t *v);
/* BOOLEAN: v is a STRING naming a file that opens for reading. */
ZARN_API void value_existfile(value_t *v, IValueContext *ctx);
/* A STRING with the description of v coerced to PIPE. */
ZARN_API void value_devinfo(value_t *v, IValueContext *ctx);
/* Closes the file stream of every file pipe of the library (standard input, output
 * and error excepted), whoever opened it, and returns how many it closed. The
 * pipes stay valid until destroyed: they read as at their end and refuse writes.
 * Streams a host opened with fopen and never gave to a pipe are not reachable. */
ZARN_API int value_close_all_files_opened_by_rtvalue(void);
/* A new text (caller frees) with a number's STRING form; NULL for other kinds. */
ZARN_API char *number_value_to_char(const value_t *v, IValueContext *ctx);

/* ---- coercion and dereferencing ---- */

/* result = src converted to kind; src unchanged; result must not be src. */
ZARN_API void value_coerce(const value_t *src, value_t *result, int kind, IValueContext *ctx);
/* An IDENTIFIER replaced by the value the context resolves it to. */
ZARN_API void value_deref(value_t *v, IValueContext *ctx);

/* ---- operators: (left, right, result, ctx); result must differ from both operands ---- */

/* Both operands coerced to numbers, then numAdd .. numPow; UNDEFINED when either is not one. */
ZARN_API void value_add(const value_t *left, const value_t *right, value_t *result, IValueContext *ctx);
ZARN_API void value_subtract(const value_t *left, const value_t *right, value_t *result, IValueContext *ctx);
ZARN_API void value_mult(const value_t *left, const value_t *right, value_t *result, IValueContext *ctx);
ZARN_API void value_divide(const value_t *left, const value_t *right, value_t *result, IValueContext *ctx);
ZARN_API void value_power(const value_t *left, const value_t *right, value_t *result, IValueContext *ctx);
/* v coerced to a number and transformed in place; UNDEFINED when not a number. */
ZARN_API void value_negate(value_t *v, IValueContext *ctx);
ZARN_API void value_abs(value_t *v, IValueContext *ctx);
ZARN_API void value_log(value_t *v, IValueContext *ctx);
ZARN_API void value_log10(value_t *v, IValueContext *ctx);
ZARN_API void value_cos(value_t *v, IValueContext *ctx);
ZARN_API void value_sin(value_t *v, IValueContext *ctx);
ZARN_API void value_tan(value_t *v, IValueContext *ctx);
ZARN_API void value_sqrt(value_t *v, IValueContext *ctx);
ZARN_API void value_exp(value_t *v, IValueContext *ctx);
/* BOOLEAN logic; AND and OR do not look at right when left decides. */
ZARN_API void value_not(const value_t *v, value_t *result, IValueContext *ctx);
ZARN_API void value_and(const value_t *left, const value_t *right, value_t *result, IValueContext *ctx);
ZARN_API void value_or(const value_t *left, const value_t *right, value_t *result, IValueContext *ctx);
/* Lists appended, identifiers joined (with a GLOB tail: a GLOB), else the two STRING forms joined. */
ZARN_API void value_concat(const value_t *left, const value_t *right, value_t *result, IValueContext *ctx);
/* "#": left number shown in the unit named by right; the stored value does not change. */
ZARN_API void value_change_uom(const value_t *left, const value_t *right, value_t *result,
                               IValueContext *ctx);
/* "##": an untyped number read in the unit named by the STRING right, or a typed one stripped by "*". */
ZARN_API void value_coerce_uom(const value_t *left, const value_t *right, value_t *result,
                               IValueContext *ctx);
/* BOOLEAN comparisons; UNDEFINED when the kinds do not compare. */
ZARN_API void value_less(const value_t *left, const value_t *right, value_t *result, IValueContext *ctx);
ZARN_API void value_greater(const value_t *left, const value_t *right, value_t *result, IValueContext *ctx);
ZARN_API void value_equal(const value_t *left, const value_t *right, value_t *result, IValueContext *ctx);
/* A copy of the n-th item (1-based) of a LIST; n a number (a REAL is truncated). */
ZARN_API void value_offset(const value_t *list, const value_t *n, value_t *result, IValueContext *ctx);

/* ---- string functions: v holds the result; positions are 1-based, negative from the end ---- */

/* The INTEGER length of v's STRING form. */
ZARN_API void value_length(value_t *v, IValueContext *ctx);
/* v = [str, pos] or [str, pos, len]. */
ZARN_API void value_substr(value_t *v, IValueContext *ctx);
/* v = [str, sub] or [str, sub, pos]: the last occurrence of sub starting at pos or later, 0 when none. */
ZARN_API void value_index(value_t *v, IValueContext *ctx);
/* v = [str, sstr, pos]. */
ZARN_API void value_insertstr(value_t *v, IValueContext *ctx);
/* v = [str, pos, len]. */
ZARN_API void value_removestr(value_t *v, IValueContext *ctx);

/* ---- asking the model: v becomes a LIST of IDENTIFIERs ---- */

/* BOOLEAN: v is an IDENTIFIER the context says is defined. */
ZARN_API void value_defined(value_t *v, IValueContext *ctx);
/* The variables of the block named by the IDENTIFIER v; UNDEFINED when v is not one. */
ZARN_API void value_variables(value_t *v, IValueContext *ctx);
/* The attributes of the object named by the IDENTIFIER v; UNDEFINED when v is not one. */
ZARN_API void value_attributes(value_t *v, IValueContext *ctx);
/* The variables matching the query text of v. */
ZARN_API void value_query_variables(value_t *v, IValueContext *ctx);
/* Spec groups, measurements, connections, aliases of the variables named by v (a name, glob or list). */
ZARN_API void value_specgroups_by_var(value_t *v, IValueContext *ctx);
ZARN_API void value_measurements_by_var(value_t *v, IValueContext *ctx);
ZARN_API void value_connections_by_var(value_t *v, IValueContext *ctx);
ZARN_API void value_aliases_by_var(value_t *v, IValueContext *ctx);
/* v replaced by the model's active and inactive connections, spec groups, measurements. */
ZARN_API void value_active_conn(value_t *v, IValueContext *ctx);
ZARN_API void value_inactive_conn(value_t *v, IValueContext *ctx);
ZARN_API void value_active_specgroups(value_t *v, IValueContext *ctx);
ZARN_API void value_inactive_specgroups(value_t *v, IValueContext *ctx);
ZARN_API void value_active_meas(value_t *v, IValueContext *ctx);
ZARN_API void value_inactive_meas(value_t *v, IValueContext *ctx);
/*
 * Appends "name=N" for every name of v, joined by " or ", to *text (*capacity
 * bytes, *position used; NULL, 0, 0 to start), growing it. 1 on success; 0
 * when an item has no text form or memory is short: the text is then freed
 * and *text, *capacity set to NULL, 0.
 */
ZARN_API int value_build_names_query(const value_t *v, char **text, size_t *position, size_t *capacity);
ZARN_API void value_destroy_names_query(char *text);

/* ---- parameters ---- */

/* Accessors of a linked parameter; handle is the context's AccessorHandle (NULL without one). */
typedef void (*param_setter_fn)(const value_t *value, void *handle);
typedef void (*param_getter_fn)(value_t *result, void *handle);
/* Callback of param_iterate: non-zero stops the walk. It may define and
   undefine parameters; name stays readable until it returns. */
typedef int (*param_visit_fn)(void *arg, const char *name);

/* which = 0: the global table with P_AMB and DATE; else a new empty local table. */
ZARN_API HashTable *param_init(int which);
/* NULL: the global table; else that local table. */
ZARN_API void param_destroy(HashTable *table);
ZARN_API void param_set(const char *name, const value_t *value, HashTable *local, IValueContext *ctx);
ZARN_API void param_define_local(const char *name, HashTable *local, IValueContext *ctx);
ZARN_API void param_undef(const char *name, HashTable *local);
ZARN_API void param_read(const char *name, value_t *result, HashTable *local, IValueContext *ctx);
/* 1 when found; *isLocal = 1 when found in the local table (isLocal may be NULL). */
ZARN_API int param_defined(const char *name, HashTable *local, int *isLocal);
ZARN_API int param_read_only(const char *name, HashTable *local);
ZARN_API int param_linked(const char *name, HashTable *local);
ZARN_API void param_create_linked(const char *name, int readOnly, int type, param_setter_fn setter,
                                  param_getter_fn getter);
ZARN_API void param_show(rtopipe *pipe, HashTable *local);
ZARN_API int param_num_defined(HashTable *local);
ZARN_API int param_iterate(void *arg, HashTable *local, param_visit_fn visit);
/* Copies the n-th name (1-based; below 1 the first) into buffer (room for the name). */
ZARN_API void param_inq_name(HashTable *local, int n, char *buffer);
/* text with &NAME and &<name> replaced by parameter values (from the context, or
   the global table when ctx is NULL); caller frees; NULL on failure. */
ZARN_API char *rtidex_expand_params(const char *text, IValueContext *ctx);

ZARN_END_DECLS

#endif
