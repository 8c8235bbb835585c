/*
 * Variable lists: every variable of a model with its name and some thirty
 * attributes, stored column by column in an attribute dictionary.
 *
 * Items are addressed by a 1-based index within the list; a sublist is a
 * window onto a run of its parent's items and numbers them from 1 again.
 * The real attributes (VALUE, INIT, LOWER, UPPER, STEP, SHADOW_PRICE,
 * TARGET_HOMO, THRESHOLD, SLVSCALE) are stored in the variable's base unit,
 * the pair (physical type of the status word, BASEUOM); accessors with an
 * in_si argument convert from or to SI when it is non-zero and BASEUOM is not 1.
 * The real value 1e35 means undefined (or an infinite bound).
 *
 * A NULL list makes a reader return its neutral value (1e35 for reals, 0 for
 * integers and pointers, 1 for BASEUOM, 99999999 for STATUS, RELATED and
 * QUALITY) and a writer do nothing. An index outside 1..n reaches the
 * dictionary: getters give their zero value, setters report the access on
 * the history device rtHisDev. All messages go to rtHisDev; assertion lines
 * to standard error.
 *
 * Writers that change an attribute tell the variable's host block object
 * (BLOCKPTR) and raise event 18 of the run-time context with the variable's
 * name, the change code (RTOVARLST_CHG_*) and the block's associated object.
 *
 * Upper-case twins serve Fortran callers: the list is passed as the address
 * of its handle, indices, integers and flags as 32-bit integers (only bit 0
 * of a flag counts), reals as doubles; each character argument adds its
 * length, by value, at the end of the list.
 */
#ifndef ZARNUTILS_RTVARLST_H
#define ZARNUTILS_RTVARLST_H

#include "zarnutils/zarn_api.h"
#include "zarnutils/msgdigest.h"
#include "zarnutils/rtattrdict.h"
#include "zarnutils/rttaglst.h"

ZARN_BEGIN_DECLS

/* The undefined real, and the neutral integer of STATUS, RELATED, QUALITY. */
#define RTOVARLST_UNDEFINED 1e35
#define RTOVARLST_NEUTRAL_INT 99999999

/* Event of the run-time context raised by writers that notify. */
#define RTOVARLST_CHANGE_EVENT 18

/* Change codes (one bit each). */
#define RTOVARLST_CHG_BOUND_TYPE 1
#define RTOVARLST_CHG_CHANGE 2
#define RTOVARLST_CHG_INIT 4
#define RTOVARLST_CHG_LOWER 8
#define RTOVARLST_CHG_SBWEIGHT 16
#define RTOVARLST_CHG_SLVSCALE 32
#define RTOVARLST_CHG_UOM 128
#define RTOVARLST_CHG_UPPER 256
#define RTOVARLST_CHG_SPEC 512
#define RTOVARLST_CHG_VALUE 1024
#define RTOVARLST_CHG_STEP 2048
#define RTOVARLST_CHG_MARKED 4096
#define RTOVARLST_CHG_QUALITY 8192
#define RTOVARLST_CHG_PHYSICAL_TYPE 16384
#define RTOVARLST_CHG_BLOCK_ONLY 32768 /* tells the block, raises no event */
#define RTOVARLST_CHG_BASEUOM 0x10000
#define RTOVARLST_CHG_PARAM_HOMO 0x20000
#define RTOVARLST_CHG_TARGET_HOMO 0x40000
#define RTOVARLST_CHG_RAMPED 0x80000
#define RTOVARLST_CHG_THRESHOLD 0x100000

/* Highest connection-type code. */
#define RTOVARLST_MAX_CONN_TYPE 1065

/* A variable list. The list owns the record and its dictionary. */
typedef struct rtvarlst {
    rtattrdict_t *dictionary; /* head for a list of its own, embedded for a sublist */
    rtotaglst_t *aliases;     /* attached alias list or NULL; not owned */
} rtvarlst_t;

/* Modification record: which attributes a user changed. Owned by the list. */
typedef struct rtvarmod {
    uint32_t mask1; /* first mask */
    uint32_t mask2; /* second mask; negative codes address it */
} rtvarmod_t;

/* One point of a variable's profile. */
typedef struct ProfileItem {
    double x; /* time or position */
    double y; /* value there */
} ProfileItem;

/* Host objects and profiles, opaque to C. */
struct QDLEOBlock;
struct VarProfile;
struct IWEXWrapper;

/* ---- Lifecycle and shape ---- */

/* A new empty list with a head dictionary of that capacity; NULL when memory runs out. */
ZARN_API rtvarlst_t *rtovarlst_create(int32_t capacity);
/* With a parent: an empty window of that capacity at the parent's item start,
   with a name prefix (NULL: none), not resizable; NULL when the parent is too
   small. Without a parent: rtovarlst_create(capacity). */
ZARN_API rtvarlst_t *rtovarlst_create_embedded(int32_t capacity, rtvarlst_t *parent, const char *prefix,
                                               int32_t start);
/* A window over the parent's items start..n (size and capacity n - start + 1), no prefix. */
ZARN_API rtvarlst_t *rtovarlst_create_sublist(rtvarlst_t *parent, int32_t start);
/* Destroys a sublist without touching the parent's items; *list becomes NULL. */
ZARN_API void rtovarlst_delete_sublist(rtvarlst_t **list);
/* Frees every item's profile and modification record, destroys the dictionary
   (a window resets the parent's items it covers) and the record; *list becomes
   NULL. The alias list is detached, not destroyed. NULL is a no-op. */
ZARN_API void rtovarlst_destroy_c(rtvarlst_t **list);
/* 1 when list's dictionary is a window of parent's dictionary, else 0. */
ZARN_API int32_t rtovarlst_parent_check(rtvarlst_t *parent, rtvarlst_t *list);
ZARN_API int32_t rtovarlst_inq_nvar(rtvarlst_t *list);
ZARN_API int32_t rtovarlst_inq_capacity(rtvarlst_t *list);
/* Changes the capacity; negative capacities are ignored. */
ZARN_API void rtovarlst_resize(rtvarlst_t *list, int32_t capacity);
/* Sets the item count (0..capacity; negative ignored). Dropped items lose
   their profiles and modification records. */
ZARN_API void rtovarlst_set_nvar(rtvarlst_t *list, int32_t n);
/* Moves count items from source to destination (overlap allowed). */
ZARN_API void rtovarlst_move_items(rtvarlst_t *list, int32_t source, int32_t destination, int32_t count);
/* Moves a window to a new start in its parent. */
ZARN_API void rtovarlst_relocate(rtvarlst_t *list, int32_t start);
/* Index of item i in the parent's numbering; 0 for a NULL list. */
ZARN_API int32_t rtovarlst_super_index(rtvarlst_t *list, int32_t i);
/* Index of item i in the head at the top of the chain; 0 for a NULL list. */
ZARN_API int32_t rtovarlst_absolute_index(rtvarlst_t *list, int32_t i);
/* Dictionary statistics between two banner lines on rtHisDev. */
ZARN_API void rtovarlst_printsymbolstats(rtvarlst_t *list);
/* Attaches the alias list once (not owned); a second one is refused with a message. */
ZARN_API void rtovarlst_set_taglst(rtvarlst_t *list, rtotaglst_t *tags);
ZARN_API rtotaglst_t *rtovarlst_inq_taglst(rtvarlst_t *list);
/* Feeds the names in index order to ctx; returns the number of names. */
ZARN_API int32_t rtovarlst_compute_md(rtvarlst_t *list, zarn_md5_ctx_t *ctx);

/* ---- Names ---- */

/* Index of a name or alias; 0 when absent. */
ZARN_API int32_t rtovarlst__varname2index(rtvarlst_t *list, const char *name);
/* rtovarlst_variable_object ("name" or "name.ATTRIBUTE" to an index): varassign.h. */
/* The stored name (belongs to the list), or NULL. */
ZARN_API const char *rtovarlst_lookup_var_name(rtvarlst_t *list, int32_t i);
/* Copies the name into buffer (at least 1025 bytes); "" and a message when there is none. */
ZARN_API void rtovarlst_inq_var_name(rtvarlst_t *list, int32_t i, char *buffer);
/* Names item i. */
ZARN_API void rtovarlst_addvar(rtvarlst_t *list, int32_t i, const char *name);
/* Names items first..last from consecutive fixed-width fields of width bytes. */
ZARN_API void rtovarlst_addvars(rtvarlst_t *list, int32_t first, int32_t last, int32_t width,
                                const char *names);
/* Writes the names of first..last into consecutive fields of width bytes; a
   shorter name leaves the rest of its field as it was, a longer one is cut. */
ZARN_API void rtovarlst_names(rtvarlst_t *list, int32_t first, int32_t last, int32_t width, char *buffer);
/* 1 when both inclusive ranges have the same length, lie in their lists and hold equal names. */
ZARN_API int32_t rtovarlst_names_eq(rtvarlst_t *list1, int32_t first1, int32_t last1, rtvarlst_t *list2,
                                    int32_t first2, int32_t last2);

/* ---- Per-attribute access (reals in the base unit, or SI when in_si) ---- */

ZARN_API double rtovarlst_inq_var_value(rtvarlst_t *list, int32_t i, int in_si);
/* Notifies RTOVARLST_CHG_VALUE when the stored value changed. */
ZARN_API void rtovarlst_set_var_value(rtvarlst_t *list, int32_t i, double v, int in_si);
/* 1e35 is never converted. */
ZARN_API double rtovarlst_inq_var_initial(rtvarlst_t *list, int32_t i, int in_si);
ZARN_API void rtovarlst_set_var_initial(rtvarlst_t *list, int32_t i, double v, int in_si);
ZARN_API double rtovarlst_inq_var_lower(rtvarlst_t *list, int32_t i, int in_si);
/* Notifies RTOVARLST_CHG_LOWER when changed. */
ZARN_API void rtovarlst_set_var_lower(rtvarlst_t *list, int32_t i, double v, int in_si);
ZARN_API double rtovarlst_inq_var_upper(rtvarlst_t *list, int32_t i, int in_si);
/* Notifies RTOVARLST_CHG_UPPER when changed. */
ZARN_API void rtovarlst_set_var_upper(rtvarlst_t *list, int32_t i, double v, int in_si);
/* STEP in SI / as stored. */
ZARN_API double rtovarlst_inq_var_step(rtvarlst_t *list, int32_t i);
ZARN_API double rtovarlst_inq_var_step_inbaseuom(rtvarlst_t *list, int32_t i);
ZARN_API void rtovarlst_set_var_step(rtvarlst_t *list, int32_t i, double v);
/* Stores only when the value differs from the stored one. */
ZARN_API void rtovarlst_set_var_step_inbaseuom(rtvarlst_t *list, int32_t i, double v);
/* Internal scale (never converted). */
ZARN_API double rtovarlst_inq_var_scale(rtvarlst_t *list, int32_t i);
/* Solver scale: difference conversion; the writer notifies RTOVARLST_CHG_SLVSCALE when changed. */
ZARN_API double rtovarlst_inq_var_slvscl(rtvarlst_t *list, int32_t i, int in_si);
ZARN_API void rtovarlst_set_var_slvscl(rtvarlst_t *list, int32_t i, double v, int in_si);
/* Never converted. */
ZARN_API double rtovarlst_inq_var_sbweight(rtvarlst_t *list, int32_t i);
ZARN_API void rtovarlst_set_var_sbweight(rtvarlst_t *list, int32_t i, double v);
ZARN_API double rtovarlst_inq_var_shadow_price(rtvarlst_t *list, int32_t i, int in_si);
ZARN_API void rtovarlst_set_var_shadow_price(rtvarlst_t *list, int32_t i, double v, int in_si);
/* Active-bound code 0..17; the writer stores only when different. */
ZARN_API int32_t rtovarlst_inq_var_active_bound(rtvarlst_t *list, int32_t i);
ZARN_API void rtovarlst_set_var_active_bound(rtvarlst_t *list, int32_t i, int32_t code);
/* The whole status word. */
ZARN_API int64_t rtovarlst_inq_var_status(rtvarlst_t *list, int32_t i);
ZARN_API void rtovarlst_set_var_status(rtvarlst_t *list, int32_t i, int64_t word);
/* Offset to the partner state or differential variable. */
ZARN_API int32_t rtovarlst_inq_var_related(rtvarlst_t *list, int32_t i);
ZARN_API void rtovarlst_set_var_related(rtvarlst_t *list, int32_t i, int32_t related);
/* Host connection manager, stored as given (not owned). */
ZARN_API void *rtovarlst_inq_var_connMgr(rtvarlst_t *list, int32_t i);
ZARN_API void rtovarlst_set_var_connMgr(rtvarlst_t *list, int32_t i, void *manager);
/* Automation wrapper; the cell holds one reference. */
ZARN_API struct IWEXWrapper *rtovarlst_inq_var_comWrapper(rtvarlst_t *list, int32_t i);
ZARN_API void rtovarlst_set_var_comWrapper(rtvarlst_t *list, int32_t i, struct IWEXWrapper *wrapper);
/* Profile, owned by the list from the call on: a profile it replaces is
   deleted, and so is one it cannot store (NULL list, index outside the list). */
ZARN_API struct VarProfile *rtovarlst_inq_var_profile(rtvarlst_t *list, int32_t i);
ZARN_API void rtovarlst_set_var_profile(rtvarlst_t *list, int32_t i, struct VarProfile *profile);
/* Appends a copy of item to variable i's profile when both exist. */
ZARN_API void rtovarlst_set_var_profile_item(rtvarlst_t *list, int32_t i, const ProfileItem *item);
/* Quality codes 0-3 (words in docs/attributes.md); the writer always notifies RTOVARLST_CHG_QUALITY. */
ZARN_API int32_t rtovarlst_inq_var_quality(rtvarlst_t *list, int32_t i);
ZARN_API void rtovarlst_set_var_quality(rtvarlst_t *list, int32_t i, int32_t quality);
/* Display unit index. */
ZARN_API int32_t rtovarlst_inq_var_uom(rtvarlst_t *list, int32_t i);
ZARN_API void rtovarlst_set_var_uom(rtvarlst_t *list, int32_t i, int32_t uom);
/* Storage unit index (1 = SI); stored numbers are not converted. */
ZARN_API int32_t rtovarlst_inq_var_baseuom(rtvarlst_t *list, int32_t i);
ZARN_API void rtovarlst_set_var_baseuom(rtvarlst_t *list, int32_t i, int32_t uom);
/* The writer always notifies RTOVARLST_CHG_THRESHOLD; 1e35 is never converted. */
ZARN_API double rtovarlst_inq_var_threshold(rtvarlst_t *list, int32_t i, int in_si);
ZARN_API void rtovarlst_set_var_threshold(rtvarlst_t *list, int32_t i, double v, int in_si);
/* 1 = ramped; the writer ignores index 0 and always notifies RTOVARLST_CHG_RAMPED. */
ZARN_API int32_t rtovarlst_inq_var_ramped(rtvarlst_t *list, int32_t i);
ZARN_API void rtovarlst_set_var_ramped(rtvarlst_t *list, int32_t i, int32_t ramped);
/* Host block object (not owned); a NULL block is not stored. */
ZARN_API struct QDLEOBlock *rtovarlst_inq_var_blockptr(rtvarlst_t *list, int32_t i);
ZARN_API void rtovarlst_set_var_blockptr(rtvarlst_t *list, int32_t i, struct QDLEOBlock *block);
ZARN_API void rtovarlst_set_var_blockptr_int(rtvarlst_t *list, int32_t i, int64_t block);
/* Homotopy parameter flag; the writer always notifies RTOVARLST_CHG_PARAM_HOMO. */
ZARN_API int32_t rtovarlst_inq_var_param_homo(rtvarlst_t *list, int32_t i);
ZARN_API void rtovarlst_set_var_param_homo(rtvarlst_t *list, int32_t i, int32_t flag);
/* Clears the flag of every item (no notification). */
ZARN_API void rtovarlst_clear_var_param_homo(rtvarlst_t *list);
/* Homotopy target; the writer always notifies RTOVARLST_CHG_TARGET_HOMO. */
ZARN_API double rtovarlst_inq_var_target_homo(rtvarlst_t *list, int32_t i, int in_si);
ZARN_API void rtovarlst_set_var_target_homo(rtvarlst_t *list, int32_t i, double v, int in_si);
/* Free text; the reader gives the list's copy ("" when none) or NULL. */
ZARN_API const char *rtovarlst_inq_var_description(rtvarlst_t *list, int32_t i);
ZARN_API void rtovarlst_set_var_description(rtvarlst_t *list, int32_t i, const char *text);
/* Connection type 0..1065; other codes, index 0 or beyond n are ignored. */
ZARN_API int32_t rtovarlst_inq_var_conn_type(rtvarlst_t *list, int32_t i);
ZARN_API void rtovarlst_set_var_conn_type(rtvarlst_t *list, int32_t i, int32_t code);
/* A code kept for the host; index 0 is ignored. */
ZARN_API int32_t rtovarlst_inq_var_basic(rtvarlst_t *list, int32_t i);
ZARN_API void rtovarlst_set_var_basic(rtvarlst_t *list, int32_t i, int32_t code);
/* The marked bit of the status word. */
ZARN_API int32_t rtovarlst_inq_var_marked(rtvarlst_t *list, int32_t i);
ZARN_API void rtovarlst_set_var_marked(rtvarlst_t *list, int32_t i, int32_t flag);

/* ---- Change notification ---- */

/* Tells item i's block (if any) and raises event with name, code and the
   block's associated object; code RTOVARLST_CHG_BLOCK_ONLY raises no event. */
ZARN_API void rtovarlst_inq_blockptr_docallback(rtvarlst_t *list, int32_t i, int32_t event, const char *name,
                                                int32_t code);

/* ---- Status-word helpers (NULL list, index 0 or beyond n: nothing, readers 0) ---- */

ZARN_API void rtovarlst_set_spec(rtvarlst_t *list, int32_t i, int32_t spec);
ZARN_API int32_t rtovarlst_inq_spec(rtvarlst_t *list, int32_t i);
/* As rtovarlst_set_spec when the variable's spec changes, then notifies RTOVARLST_CHG_SPEC. */
ZARN_API void rtovarlst_set_spec_value(rtvarlst_t *list, int32_t i, int32_t spec);
/* spec := CONST, CALC, OPTIM, INITIAL. */
ZARN_API void rtovarlst_fix_var(rtvarlst_t *list, int32_t i);
ZARN_API void rtovarlst_free_var(rtvarlst_t *list, int32_t i);
ZARN_API void rtovarlst_var_independent(rtvarlst_t *list, int32_t i);
ZARN_API void rtovarlst_var_fix_initially(rtvarlst_t *list, int32_t i);
ZARN_API void rtovarlst_set_physical_type(rtvarlst_t *list, int32_t i, int32_t ptype);
ZARN_API int32_t rtovarlst_inq_physical_type(rtvarlst_t *list, int32_t i);
/* Type field, and RELATED into *related (when not NULL); 99999999 for a bad list or index. */
ZARN_API int32_t rtovarlst_inq_var_type(rtvarlst_t *list, int32_t i, int32_t *related);
/* Sets the type and RELATED; STATE and DIFFERENTIAL need a non-zero related,
   ALGEBRAIC a zero one. */
ZARN_API void rtovarlst_set_var_type(rtvarlst_t *list, int32_t i, int32_t type, int32_t related);
/* Number of items of that type. */
ZARN_API int32_t rtovarlst_inq_num_var_type(rtvarlst_t *list, int32_t type);
/* Counts the items neither fixed nor independent in the current mode: STATE, DIFFERENTIAL, others. */
ZARN_API void rtovarlst_inq_num_var_type_state_diff_other(rtvarlst_t *list, int32_t *state, int32_t *diff,
                                                          int32_t *other);

/* ---- Type helpers (inquiries: 1 when of that type, 0 otherwise or for a bad list or index) ---- */

ZARN_API void rtovarlst_set_var_as_algebraic(rtvarlst_t *list, int32_t i);
ZARN_API void rtovarlst_set_var_as_state(rtvarlst_t *list, int32_t i, int32_t related);
ZARN_API void rtovarlst_set_var_as_differential(rtvarlst_t *list, int32_t i, int32_t related);
ZARN_API void rtovarlst_set_var_as_integer(rtvarlst_t *list, int32_t i);
ZARN_API void rtovarlst_set_var_as_discrete_eqnslack(rtvarlst_t *list, int32_t i);
/* VALUE := value, LOWER := 0, UPPER := 1, then BINARY. */
ZARN_API void rtovarlst_set_var_as_binary(rtvarlst_t *list, int32_t i, double value, int in_si);
/* VALUE := value, STEP := step, then PARTIAL-INTEGER. */
ZARN_API void rtovarlst_set_var_as_partial_integer(rtvarlst_t *list, int32_t i, double value, double step,
                                                   int in_si);
/* VALUE, LOWER, UPPER, STEP, then SEMI-CONTINUOUS (resp. -INTEGER). */
ZARN_API void rtovarlst_set_var_as_semi_continuous(rtvarlst_t *list, int32_t i, double value, double step,
                                                   double lower, double upper, int in_si);
ZARN_API void rtovarlst_set_var_as_semi_continuous_integer(rtvarlst_t *list, int32_t i, double value,
                                                           double step, double lower, double upper,
                                                           int in_si);
ZARN_API int32_t rtovarlst_inq_var_algebraic(rtvarlst_t *list, int32_t i);
ZARN_API int32_t rtovarlst_inq_var_state(rtvarlst_t *list, int32_t i);
ZARN_API int32_t rtovarlst_inq_var_differential(rtvarlst_t *list, int32_t i);
ZARN_API int32_t rtovarlst_inq_var_integer(rtvarlst_t *list, int32_t i);
ZARN_API int32_t rtovarlst_inq_var_discrete_eqnslack(rtvarlst_t *list, int32_t i);
/* Also VALUE truncated toward zero into *ivalue (saturated to the 32-bit range). */
ZARN_API int32_t rtovarlst_inq_var_binary(rtvarlst_t *list, int32_t i, int32_t *ivalue, int in_si);
ZARN_API int32_t rtovarlst_inq_var_partial_integer(rtvarlst_t *list, int32_t i, double *value, double *step,
                                                   int in_si);
ZARN_API int32_t rtovarlst_inq_var_semi_continuous(rtvarlst_t *list, int32_t i, double *value, double *step,
                                                   double *lower, double *upper, int in_si);
ZARN_API int32_t rtovarlst_inq_var_semi_continuous_integer(rtvarlst_t *list, int32_t i, int32_t *value,
                                                           double *step, double *lower, double *upper,
                                                           int in_si);

/* ---- Modification record ---- */

/* The record (belongs to the list) or NULL. */
ZARN_API const rtvarmod_t *rtovarlst_inq_var_modified(rtvarlst_t *list, int32_t i);
/* The mask; 0 without a record. */
ZARN_API uint32_t rtovarlst_inq_var_modified_mask1(rtvarlst_t *list, int32_t i);
ZARN_API uint32_t rtovarlst_inq_var_modified_mask2(rtvarlst_t *list, int32_t i);
/* Writes "mask1;mask2" (signed decimal, at most 24 bytes with the NUL) when a record exists. */
ZARN_API void rtovarlst_inq_var_modified_string(rtvarlst_t *list, int32_t i, char *buffer);
/* Stores a copy of *record (NULL: no record). */
ZARN_API void rtovarlst_set_var_modified(rtvarlst_t *list, int32_t i, const rtvarmod_t *record);
/* Parses "mask1;mask2". */
ZARN_API void rtovarlst_set_var_modified_string(rtvarlst_t *list, int32_t i, const char *text);
/* m > 0 replaces mask1, m < 0 replaces mask2 with m itself, m = 0 keeps both. */
ZARN_API void rtovarlst_set_var_modified_mask(rtvarlst_t *list, int32_t i, int32_t m);
/* ORs *pair into the record (or stores it when there was none). */
ZARN_API void rtovarlst_set_var_attribs_modified(rtvarlst_t *list, int32_t i, const rtvarmod_t *pair);

/* ---- Process-wide assignment flags ---- */

ZARN_API void rtovarlst_set_changed_attribute(int32_t code);
ZARN_API int32_t rtovarlst_inq_changed_attribute(void);
/* Store a flag and return the previous one. */
ZARN_API unsigned char rtovarlst_set_user_assignment(unsigned char flag);
ZARN_API unsigned char rtovarlst_set_manipulate_assignment(unsigned char flag);
ZARN_API unsigned char rtovarlst_inq_user_assignment(void);
ZARN_API unsigned char rtovarlst_inq_manipulate_assignment(void);

/* ---- Column vectors: element k-1 is item k; valid until the next capacity change ---- */

ZARN_API double *rtovarlst_vec_value(rtvarlst_t *list);
ZARN_API double *rtovarlst_vec_scale(rtvarlst_t *list);
ZARN_API double *rtovarlst_vec_solveScale(rtvarlst_t *list);
ZARN_API double *rtovarlst_vec_shadow_price(rtvarlst_t *list);
ZARN_API double *rtovarlst_vec_lower(rtvarlst_t *list);
ZARN_API double *rtovarlst_vec_upper(rtvarlst_t *list);
ZARN_API double *rtovarlst_vec_initial(rtvarlst_t *list);
ZARN_API int64_t *rtovarlst_vec_status(rtvarlst_t *list);
ZARN_API int64_t *rtovarlst_vec_baseuom(rtvarlst_t *list);
ZARN_API int64_t *rtovarlst_vec_uom(rtvarlst_t *list);
ZARN_API int64_t *rtovarlst_vec_basic(rtvarlst_t *list);
/* The pointer column CONN_GROUP, which exists only when a caller added it. */
ZARN_API void **rtovarlst_vec_connGroup(rtvarlst_t *list);

/* ---- Bulk operations ---- */

/* INIT := VALUE and SHADOW_PRICE := 1e35 for every item. */
ZARN_API void rtovarlst_presolve(rtvarlst_t *list);
/* VALUE := INIT for every item whose INIT is defined. */
ZARN_API void rtovarlst_copyinittovalue(rtvarlst_t *list);
/* Frees profiles and records of first..last, then resets those items. */
ZARN_API void rtovarlst_removevars(rtvarlst_t *list, int32_t first, int32_t last);
/* *newlist := a new list holding copies of items first..last (no host pointers,
   profiles or records); the caller destroys it. */
ZARN_API void rtovarlst_extract(rtvarlst_t *list, int32_t first, int32_t last, rtvarlst_t **newlist);
/* Copies item i of src onto item j of dst (not the name, no host pointers). */
ZARN_API void rtovarlst_copy_var(rtvarlst_t *src, int32_t i, rtvarlst_t *dst, int32_t j);

/* ---- Variable records ---- */

/*
 * A variable record ("varinfo") carries many attributes of one variable at
 * once, with a mask of the fields meant. The mask is the same pair as the
 * modification record. A field code is signed: a positive code c is meant
 * when mask1 & c is set, a negative code -c when mask2 & c is set.
 */
typedef rtvarmod_t rtvarmask_t;

/* Field codes of the record. */
#define RTVARINFO_NAME 1
#define RTVARINFO_VALUE 2
#define RTVARINFO_LOWER 4
#define RTVARINFO_UPPER 8
#define RTVARINFO_STEP 16
#define RTVARINFO_INTSCALE 32 /* the SCALE column (internal scale), read-only */
#define RTVARINFO_SCALE 64    /* the SLVSCALE column (the user's scale) */
#define RTVARINFO_SBWEIGHT 128
#define RTVARINFO_STATUS 256
#define RTVARINFO_INIT 512
#define RTVARINFO_RELATED 8192
#define RTVARINFO_MODIFIED 16384
#define RTVARINFO_CONN_MGR 32768
#define RTVARINFO_ACTIVE_BOUND 0x10000 /* read-only */
#define RTVARINFO_SHADOW_PRICE 0x20000 /* read-only */
#define RTVARINFO_QUALITY 0x40000
#define RTVARINFO_BASEUOM 0x80000
#define RTVARINFO_BLOCKPTR 0x200000
#define RTVARINFO_PARAM_HOMO 0x400000
#define RTVARINFO_TARGET_HOMO 0x800000
#define RTVARINFO_DESCRIPTION 0x1000000
#define RTVARINFO_VAR_PROFILE 0x4000000
#define RTVARINFO_THRESHOLD 0x8000000
#define RTVARINFO_RAMPED 0x10000000
#define RTVARINFO_UOM (-2)       /* mask2 bit 2 */
#define RTVARINFO_CONN_TYPE (-8) /* mask2 bit 8 */
#define RTVARINFO_BASIC (-16)    /* mask2 bit 16 */
/* Caller-side codes: attributes inside the status word or derived from
   others. Inquiry fills UOM for UNITS and STATUS for VAR_TYPE and SPEC;
   the record operations do not act on the others. */
#define RTVARINFO_UNITS 1024
#define RTVARINFO_BOUND_TYPE 2048
#define RTVARINFO_MARKED 4096
#define RTVARINFO_PHYSICAL_TYPE 0x100000
#define RTVARINFO_VAR_TYPE 0x2000000
#define RTVARINFO_CHANGE 0x20000000
#define RTVARINFO_SPEC 0x40000000
/* As an integer mask: every field (both halves 0x7FFFFFFF). */
#define RTVARINFO_ALL 0x7FFFFFFF

/* Size of the NAME field: 1024 characters and the terminator. */
#define RTVARINFO_NAME_SIZE ZARN_NAME_BUF

/* The record; fields in this order. The caller owns it and may place fields
   of its own after these; the list never keeps a pointer to it. */
typedef struct rtvarinfo {
    rtvarmask_t mask; /* which fields are meant */
    char name[RTVARINFO_NAME_SIZE];
    double value;
    double init;
    double lower;
    double upper;
    double step;
    double intscale; /* SCALE column */
    double scale;    /* SLVSCALE column */
    double sbweight;
    double shadow_price;
    int32_t quality;
    int64_t status; /* the variable status word */
    int32_t related;
    rtvarmod_t modified; /* the modification record */
    void *conn_mgr;
    int64_t baseuom; /* writers use the low 32 bits */
    struct QDLEOBlock *blockptr;
    int32_t param_homo; /* 0 or 1 */
    double target_homo;
    const char *description; /* inquiry: the list's own text, not a copy */
    int32_t active_bound;
    struct VarProfile *profile;
    double threshold;
    unsigned char ramped; /* 0 or 1 */
    int64_t uom;          /* writers use the low 32 bits */
    int32_t conn_type;
    int64_t basic;
} rtvarinfo_t;

/* 1 when the field of that code is meant. */
static inline int rtvarinfo_mask_has(const rtvarmask_t *m, int32_t code) {
    return code >= 0 ? (m->mask1 & (uint32_t)code) != 0 : (m->mask2 & (0u - (uint32_t)code)) != 0;
}

/* Adds a field code to the right half. */
static inline void rtvarinfo_mask_add(rtvarmask_t *m, int32_t code) {
    if (code >= 0)
        m->mask1 |= (uint32_t)code;
    else
        m->mask2 |= 0u - (uint32_t)code;
}

/* An integer as a mask: a positive value in mask1, the magnitude of a
   negative one in mask2, RTVARINFO_ALL in both. */
static inline rtvarmask_t rtvarinfo_mask_from_int(int32_t v) {
    rtvarmask_t m = {0u, 0u};
    if (v == RTVARINFO_ALL) {
        m.mask1 = m.mask2 = (uint32_t)RTVARINFO_ALL;
    } else {
        rtvarinfo_mask_add(&m, v);
    }
    return m;
}

/* Fills the meant fields of *info from item i (reals in SI when in_si). */
ZARN_API void rtovarlst_inq_var(rtvarlst_t *list, int32_t i, rtvarinfo_t *info, unsigned char in_si);
/* Writes the meant fields into item i, keeping LOWER <= VALUE <= UPPER at
   every step when the new values are consistent; NAME, INTSCALE,
   SHADOW_PRICE and ACTIVE_BOUND are read-only. Returns 0. */
ZARN_API int32_t rtovarlst_set_var(rtvarlst_t *list, int32_t i, const rtvarinfo_t *info, unsigned char in_si);
/* Names item i (just made room for) and initialises it from the meant
   fields, with defaults for the others. */
ZARN_API void rtovarlst_initialize_var(rtvarlst_t *list, int32_t i, const rtvarinfo_t *info,
                                       unsigned char in_si);

/* ---- Fortran twins ---- */

ZARN_API int32_t RTOVARLST_INQ_NVAR_F(rtvarlst_t **list);
ZARN_API int32_t RTOVARLST_INQ_CAPACITY_F(rtvarlst_t **list);
ZARN_API void RTOVARLST_RESIZE_F(rtvarlst_t **list, const int32_t *capacity);
ZARN_API void RTOVARLST_SET_NVAR_F(rtvarlst_t **list, const int32_t *n);
ZARN_API int32_t RTOVARLST_SUPER_INDEX_F(rtvarlst_t **list, const int32_t *i);
ZARN_API int32_t RTOVARLST_VARNAME2INDEX(rtvarlst_t **list, const char *name, size_t name_len);
ZARN_API void RTOVARLST_INQ_VAR_NAME_F(rtvarlst_t **list, const int32_t *i, char *field, size_t field_len);
ZARN_API void RTOVARLST_INQ_VAR_MODIFIED_STRING_F(rtvarlst_t **list, const int32_t *i, char *field,
                                                  size_t field_len);
ZARN_API double RTOVARLST_INQ_VAR_VALUE_F(rtvarlst_t **list, const int32_t *i, const int32_t *in_si);
ZARN_API void RTOVARLST_SET_VAR_VALUE_F(rtvarlst_t **list, const int32_t *i, const double *v,
                                        const int32_t *in_si);
ZARN_API void RTOVARLST_SET_VAR_LOWER_F(rtvarlst_t **list, const int32_t *i, const double *v,
                                        const int32_t *in_si);
ZARN_API void RTOVARLST_SET_VAR_UPPER_F(rtvarlst_t **list, const int32_t *i, const double *v,
                                        const int32_t *in_si);
ZARN_API void RTOVARLST_SET_VAR_SLVSCL_F(rtvarlst_t **list, const int32_t *i, const double *v,
                                         const int32_t *in_si);
ZARN_API void RTOVARLST_SET_VAR_INITIAL_F(rtvarlst_t **list, const int32_t *i, const double *v,
                                          const int32_t *in_si);
ZARN_API void RTOVARLST_SET_VAR_TARGET_HOMO_F(rtvarlst_t **list, const int32_t *i, const double *v,
                                              const int32_t *in_si);
ZARN_API double RTOVARLST_INQ_VAR_TARGET_HOMO_F(rtvarlst_t **list, const int32_t *i, const int32_t *in_si);
ZARN_API double RTOVARLST_INQ_VAR_STEP_F(rtvarlst_t **list, const int32_t *i);
ZARN_API double RTOVARLST_INQ_VAR_STEP_INBASEUOM_F(rtvarlst_t **list, const int32_t *i);
ZARN_API void RTOVARLST_SET_VAR_STEP_F(rtvarlst_t **list, const int32_t *i, const double *v);
ZARN_API void RTOVARLST_SET_VAR_STEP_INBASEUOM_F(rtvarlst_t **list, const int32_t *i, const double *v);
/* THRESHOLD in SI. */
ZARN_API double RTOVARLST_INQ_VAR_THRESHOLD_F(rtvarlst_t **list, const int32_t *i);
ZARN_API void RTOVARLST_SET_VAR_THRESHOLD_F(rtvarlst_t **list, const int32_t *i, const double *v);
ZARN_API double RTOVARLST_INQ_VAR_SCALE_F(rtvarlst_t **list, const int32_t *i);
ZARN_API double RTOVARLST_INQ_VAR_SBWEIGHT_F(rtvarlst_t **list, const int32_t *i);
ZARN_API void RTOVARLST_SET_VAR_SBWEIGHT_F(rtvarlst_t **list, const int32_t *i, const double *v);
ZARN_API int32_t RTOVARLST_INQ_VAR_UOM_F(rtvarlst_t **list, const int32_t *i);
ZARN_API void RTOVARLST_SET_VAR_UOM_F(rtvarlst_t **list, const int32_t *i, const int32_t *uom);
/* Checked change of the display unit; notifies RTOVARLST_CHG_UOM when it changes. */
ZARN_API void RTOVARLST_SET_UOM_VALUE_F(rtvarlst_t **list, const int32_t *i, const int32_t *uom);
ZARN_API void RTOVARLST_SET_SPEC_VALUE_F(rtvarlst_t **list, const int32_t *i, const int32_t *spec);
ZARN_API void RTOVARLST_SET_PHYSICAL_TYPE_F(rtvarlst_t **list, const int32_t *i, const int32_t *ptype);
ZARN_API void RTOVARLST_SET_VAR_CONN_TYPE_F(rtvarlst_t **list, const int32_t *i, const int32_t *code);
ZARN_API int32_t RTOVARLST_INQ_VAR_CONN_TYPE_F(rtvarlst_t **list, const int32_t *i);
ZARN_API void RTOVARLST_SET_VAR_QUALITY_F(rtvarlst_t **list, const int32_t *i, const int32_t *quality);
ZARN_API int32_t RTOVARLST_INQ_VAR_QUALITY_F(rtvarlst_t **list, const int32_t *i);
ZARN_API void RTOVARLST_SET_VAR_PARAM_HOMO_F(rtvarlst_t **list, const int32_t *i, const int32_t *flag);
/* 99999999 for a NULL list. */
ZARN_API int32_t RTOVARLST_INQ_VAR_PARAM_HOMO_F(rtvarlst_t **list, const int32_t *i);
ZARN_API void RTOVARLST_SET_VAR_RAMPED_F(rtvarlst_t **list, const int32_t *i, const int32_t *ramped);
ZARN_API int32_t RTOVARLST_INQ_VAR_RAMPED_F(rtvarlst_t **list, const int32_t *i);
ZARN_API void RTOVARLST_SET_VAR_MODIFIED_MASK_F(rtvarlst_t **list, const int32_t *i, const int32_t *m);
ZARN_API int32_t RTOVARLST_INQ_VAR_MODIFIED_MASK1_F(rtvarlst_t **list, const int32_t *i);
ZARN_API int32_t RTOVARLST_INQ_VAR_MODIFIED_MASK2_F(rtvarlst_t **list, const int32_t *i);
/* Converts v between SI and item i's base unit with the list's rules. */
ZARN_API double RTOVARLST_VALUEINSI2BASEUOM_F(rtvarlst_t **list, const int32_t *i, const double *v);
ZARN_API double RTOVARLST_VALUEINBASEUOM2SI_F(rtvarlst_t **list, const int32_t *i, const double *v);
/* Plex index (ZARN_b0 / ZARN_ib0) of a column's element 1 into *out; 0 for a NULL list. */
ZARN_API void RTOVARLST_ZARN_LBX(rtvarlst_t **list, int64_t *out);
ZARN_API void RTOVARLST_ZARN_LBXLB(rtvarlst_t **list, int64_t *out);
ZARN_API void RTOVARLST_ZARN_LBXUB(rtvarlst_t **list, int64_t *out);
ZARN_API void RTOVARLST_ZARN_LBXSCL(rtvarlst_t **list, int64_t *out);
ZARN_API void RTOVARLST_ZARN_LBXSOLVSCL(rtvarlst_t **list, int64_t *out);
ZARN_API void RTOVARLST_ZARN_LBXINIT(rtvarlst_t **list, int64_t *out);
ZARN_API void RTOVARLST_ZARN_LBXSHADOW(rtvarlst_t **list, int64_t *out);
ZARN_API void RTOVARLST_ZARN_LBXSTAT(rtvarlst_t **list, int64_t *out);
ZARN_API void RTOVARLST_ZARN_LBXBASEUOM(rtvarlst_t **list, int64_t *out);
ZARN_API void RTOVARLST_NAMES_F(rtvarlst_t **list, const int32_t *first, const int32_t *last,
                                const int32_t *width, char *buffer, size_t buffer_len);
ZARN_API void RTOVARLST_ADDVAR_F(rtvarlst_t **list, const int32_t *i, const char *name, size_t name_len);
/* Name packed four characters to each 8-byte word (low half) / eight to each word. */
ZARN_API void RTOVARLST_ADDVAR_I4_F(rtvarlst_t **list, const int32_t *i, const int64_t *words,
                                    const int32_t *n);
ZARN_API void RTOVARLST_ADDVAR_R8_F(rtvarlst_t **list, const int32_t *i, const double *words,
                                    const int32_t *n);
ZARN_API void RTOVARLST_SET_VAR_DECSRIPTION_I4_F(rtvarlst_t **list, const int32_t *i, const int64_t *words,
                                                 const int32_t *n);
ZARN_API void RTOVARLST_SET_VAR_DECSRIPTION_R8_F(rtvarlst_t **list, const int32_t *i, const double *words,
                                                 const int32_t *n);
/* Field and its length come first; no description gives an all-blank field. */
ZARN_API void RTOVARLST_INQ_VAR_DESCRIPTION_F(char *field, size_t field_len, rtvarlst_t **list,
                                              const int32_t *i);
ZARN_API void RTOVARLST_SET_VAR_BLOCKPTR_INT_F(rtvarlst_t **list, const int32_t *i, const int64_t *block);
/* Moves *n bytes (overlap allowed). */
ZARN_API void MEMMOVE_F(void *dst, const void *src, const int64_t *n);

ZARN_END_DECLS

#endif
