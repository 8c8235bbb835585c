// The blocks of the coordinate stores. A plex block's allocation failure is
// caught here and raised again by the store once it has freed what it made,
// so that a caller's handler sees the allocator's raise and no block leaks.
#include "rtjacbn/coord_core.h"

#include "platform/xalloc.h"
#include "zarnutils/except.h"
#include "zarnutils/rteqnlst.h"

namespace zarn::rtjacbn {

namespace {

// Where the last caught raise of the plex allocator came from.
struct Raised {
    const char *file;
    int line;
};
Raised g_raised = {nullptr, 0};

}  // namespace

void raise_again() { CII_Except_raise(&rtmalloc_allocate_failed, g_raised.file, g_raised.line); }

bool int_block(int64_t **cells, int32_t n) {
    const bool fresh = *cells == nullptr;
    const int64_t old = fresh ? 0 : rto_iptr2plex_c(*cells);
    volatile bool ok = false;
    volatile int64_t p = 0;
    ZARN_TRY
    p = fresh ? RTO_IMALLOC(&n) : RTO_IREALLOC(&old, &n);
    ok = true;
    ZARN_EXCEPT(rtmalloc_allocate_failed)
    ok = false;
    g_raised = {zarn_except_frame_.file, zarn_except_frame_.line};
    ZARN_END_TRY;
    if (!ok) return false;
    *cells = &ZARN_ib0[p];
    return true;
}

bool double_block(double **cells, int32_t n) {
    const bool fresh = *cells == nullptr;
    const int64_t old = fresh ? 0 : rto_dptr2plex_c(*cells);
    volatile bool ok = false;
    volatile int64_t p = 0;
    ZARN_TRY
    p = fresh ? RTO_DMALLOC(&n) : RTO_DREALLOC(&old, &n);
    ok = true;
    ZARN_EXCEPT(rtmalloc_allocate_failed)
    ok = false;
    g_raised = {zarn_except_frame_.file, zarn_except_frame_.line};
    ZARN_END_TRY;
    if (!ok) return false;
    *cells = &ZARN_b0[p];
    return true;
}

bool byte_block(unsigned char **cells, int32_t n) {
    const size_t bytes = n > 0 ? static_cast<size_t>(n) : 1;
    void *block = *cells != nullptr ? xrealloc(*cells, bytes) : xcalloc(bytes, 1);
    if (block == nullptr) return false;
    *cells = static_cast<unsigned char *>(block);
    return true;
}

void free_int_block(int64_t *cells) {
    if (cells == nullptr) return;
    int64_t p = rto_iptr2plex_c(cells);
    RTO_IFREE(&p);
}

void free_double_block(double *cells) {
    if (cells == nullptr) return;
    int64_t p = rto_dptr2plex_c(cells);
    RTO_DFREE(&p);
}

int re_exec_name(rtvarlst_t *varlst, int32_t i) {
    const char *name = varlst != nullptr ? rtovarlst_lookup_var_name(varlst, i) : nullptr;
    return re_exec(name != nullptr ? name : "");
}

int re_exec_name(rtattrdict_t *eqnlst, int32_t i) {
    const char *name = rtoeqnlst_lookup_eqn_name(eqnlst, i);
    return re_exec(name != nullptr ? name : "");
}

int regexp_passes(hs_regexp *prog, const char *name) { return prog != nullptr ? hs_regexec(prog, name) : 0; }

int name_passes(const char *given, const char *name) {
    return given != nullptr && std::strcmp(given, name) == 0 ? 1 : 0;
}

}  // namespace zarn::rtjacbn
