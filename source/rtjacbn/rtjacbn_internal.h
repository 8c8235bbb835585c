// Internals of the Jacobian: its operations table and its traits for the
// shared coordinate store.
#ifndef ZARN_RTJACBN_INTERNAL_H
#define ZARN_RTJACBN_INTERNAL_H

#include "rtjacbn/coord_core.h"
#include "rtjacbn/rtjacbn_messages.h"
#include "zarnutils/rtjacbn.h"

// The operations, in their fixed order. Indices are 1-based and in the
// Jacobian's own numbering; numbers travel as 64-bit values.
struct rt_jac_ops {
    rt_jac_t *(*parent)(rt_jac_t *j);
    void (*destroy)(rt_jac_t *j);
    void (*reset)(rt_jac_t *j, int32_t first, int32_t last);
    void (*set_nnz)(rt_jac_t *j, int32_t n);
    int32_t (*inq_nnz)(rt_jac_t *j);
    void (*resize)(rt_jac_t *j, int32_t capacity);
    int32_t (*inq_capacity)(rt_jac_t *j);
    void (*seteqn)(rt_jac_t *j, int32_t k, int64_t eqn);
    int64_t (*inqeqn)(rt_jac_t *j, int32_t k);
    void (*setvar)(rt_jac_t *j, int32_t k, int64_t var);
    int64_t (*inqvar)(rt_jac_t *j, int32_t k);
    void (*setval)(rt_jac_t *j, int32_t k, double value);
    double (*inqval)(rt_jac_t *j, int32_t k);
    int64_t *(*rowptr)(rt_jac_t *j);
    int64_t *(*colptr)(rt_jac_t *j);
    double *(*valptr)(rt_jac_t *j);
    int64_t (*rowoffset)(rt_jac_t *j);
    int64_t (*coloffset)(rt_jac_t *j);
    void (*relocate)(rt_jac_t *j, int32_t first_nz, int32_t var_shift, int32_t eqn_shift);
    // false when refused (the message is printed)
    bool (*move_items)(rt_jac_t *j, int32_t source, int32_t destination, int32_t count);
    void (*set_linear)(rt_jac_t *j, int32_t k, unsigned char flag);
    unsigned char (*inq_linear)(rt_jac_t *j, int32_t k);
};

namespace zarn::rtjacbn {

struct JacKind {
    using Base = rt_jac_t;
    using Head = rt_jac_head_t;
    using Emb = rt_jac_embedded_t;
    static constexpr int kAxes = 2;
    static constexpr bool kLinear = true;
    static const rt_jac_ops kHeadOps;
    static const rt_jac_ops kEmbOps;

    static int64_t *&numbers(Head *h, int a) { return a == kEqn ? h->irn : h->icn; }
    static uint32_t &offset(Emb *e, int a) { return a == kEqn ? e->eqnOffset : e->varOffset; }
    template <int A>
    static auto numbers_of(const rt_jac_ops *o) {
        return A == kEqn ? o->rowptr : o->colptr;
    }
    template <int A>
    static auto offset_of(const rt_jac_ops *o) {
        return A == kEqn ? o->rowoffset : o->coloffset;
    }

    static constexpr const char *kSource = msg::kSource;
    static constexpr const char *kCreateName = "rtojac_create";
    static constexpr const char *kCreateEmbeddedName = "rtojac_create_embedded";
    static constexpr const char *kRelocateName = "rtojac_embedded_relocate";
    static constexpr const char *kCreateNoMemory = msg::kCreateNoMemory;
    static constexpr const char *kCreateNoArrays = msg::kCreateNoArrays;
    static constexpr const char *kEmbParentSmall = msg::kEmbParentSmall;
    static constexpr const char *kEmbNoMemory = msg::kEmbNoMemory;
    static constexpr const char *kResizeFailed = msg::kResizeFailed;
    static constexpr const char *kHeadRelocate = msg::kHeadRelocate;
    static constexpr const char *kEmbRelocate = msg::kEmbRelocate;
    static constexpr const char *kHeadMoveNegative = msg::kHeadMoveNegative;
    static constexpr const char *kEmbMoveNegative = msg::kEmbMoveNegative;
    static constexpr const char *kHeadMoveBad = msg::kHeadMoveBad;
    static constexpr const char *kEmbMoveBad = msg::kEmbMoveBad;
};

using Jac = Core<JacKind>;

}  // namespace zarn::rtjacbn

#endif
