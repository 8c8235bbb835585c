// Solver data providers: abstract views of a model's variables, equations
// and Jacobian for solvers written against interfaces, and the classes that
// serve them from a variable list, an equation list and a Jacobian. C++ only
// (see docs/providers.md for a solver's use of them).
//
// Vectors handed out are the lists' own contiguous columns, not copies:
// element k - 1 belongs to item (nonzero) k, and a solver reads and writes
// them in place. They stay valid while the list keeps its capacity; a resize
// may move them. A provider does not own what it wraps, which must outlive
// it. A NULL list or Jacobian gives a count of 0 and NULL vectors; names
// follow the list's rules (buffers of ZARN_NAME_BUF bytes, messages on the
// history device rtHisDev).
//
// The virtual operations keep the order in which they are declared here,
// destructor first: callers built against this header depend on it.
#ifndef ZARNUTILS_RTPROVIDER_HPP
#define ZARNUTILS_RTPROVIDER_HPP

#include <cstdint>

#include "zarnutils/rtattrdict.h"
#include "zarnutils/rthessbn.h"
#include "zarnutils/rtjacbn.h"
#include "zarnutils/rtvarlst.h"
#include "zarnutils/zarn_api.h"

// The variables of a model.
class ZARN_API VarProvider {
  public:
    virtual ~VarProvider();
    virtual int32_t Nvar() = 0;
    virtual double *ValueVec() = 0;
    virtual double *LowerBoundVec() = 0;
    virtual double *UpperBoundVec() = 0;
    virtual double *SolveScaleVec() = 0;  // the scale the solver uses (SLVSCALE)
    virtual double *PreScaleVec() = 0;    // the internal scale the values are divided by (SCALE)
    virtual double *ShadowPriceVec() = 0;
    virtual int64_t *StatusVec() = 0;  // variable status words
    // The name of variable i (1-based) into buffer, "" when it has none.
    virtual void VarName(int32_t i, char *buffer) = 0;
    // The names of variables first..last into consecutive fields of width bytes.
    virtual void VarNames(int32_t first, int32_t last, int32_t width, char *buffer) = 0;
    virtual int64_t *BaseuomVec() = 0;  // the unit index each variable is stored in
    virtual int64_t *BasicVec() = 0;

  protected:
    VarProvider() = default;
    VarProvider(const VarProvider &) = default;
    VarProvider &operator=(const VarProvider &) = default;
};

// The variables of a variable list. The bounds may be replaced: a lower or
// upper vector given at construction (the caller's, at least Nvar long) is
// handed out instead of the list's LOWER or UPPER column.
class ZARN_API RTVarlstProvider : public VarProvider {
  public:
    explicit RTVarlstProvider(rtvarlst_t *list, double *lower = nullptr, double *upper = nullptr);
    ~RTVarlstProvider() override;
    int32_t Nvar() override;
    double *ValueVec() override;
    double *LowerBoundVec() override;
    double *UpperBoundVec() override;
    double *SolveScaleVec() override;
    double *PreScaleVec() override;
    double *ShadowPriceVec() override;
    int64_t *StatusVec() override;
    void VarName(int32_t i, char *buffer) override;
    void VarNames(int32_t first, int32_t last, int32_t width, char *buffer) override;
    int64_t *BaseuomVec() override;
    int64_t *BasicVec() override;

  private:
    rtvarlst_t *list_;
    double *lower_;
    double *upper_;
};

// The equations of a model.
class ZARN_API EqnProvider {
  public:
    virtual ~EqnProvider();
    virtual int32_t Neqn() = 0;
    virtual double *ResidualVec() = 0;
    virtual double *ScaleVec() = 0;
    virtual int64_t *StatusVec() = 0;  // equation status words
    virtual double *ShadowPriceVec() = 0;
    // As VarProvider::VarName and VarNames.
    virtual void EqnName(int32_t i, char *buffer) = 0;
    virtual void EqnNames(int32_t first, int32_t last, int32_t width, char *buffer) = 0;
    virtual int64_t *BasicVec() = 0;

  protected:
    EqnProvider() = default;
    EqnProvider(const EqnProvider &) = default;
    EqnProvider &operator=(const EqnProvider &) = default;
};

// The equations of an equation list (its attribute dictionary).
class ZARN_API RTEqnlstProvider : public EqnProvider {
  public:
    explicit RTEqnlstProvider(rtattrdict_t *list);
    ~RTEqnlstProvider() override;
    int32_t Neqn() override;
    double *ResidualVec() override;
    double *ScaleVec() override;
    int64_t *StatusVec() override;
    double *ShadowPriceVec() override;
    void EqnName(int32_t i, char *buffer) override;
    void EqnNames(int32_t first, int32_t last, int32_t width, char *buffer) override;
    int64_t *BasicVec() override;

  private:
    rtattrdict_t *list_;
};

// The first derivatives of a model in coordinate form: for nonzero k, its
// equation (row) IrnVec()[k - 1], variable (column) IcnVec()[k - 1] and value
// ValueVec()[k - 1].
class ZARN_API DerivProvider {
  public:
    virtual ~DerivProvider();
    virtual int32_t Nnz() = 0;
    virtual int64_t *IrnVec() = 0;
    virtual int64_t *IcnVec() = 0;
    virtual double *ValueVec() = 0;

  protected:
    DerivProvider() = default;
    DerivProvider(const DerivProvider &) = default;
    DerivProvider &operator=(const DerivProvider &) = default;
};

// The local row or column numbers of a Jacobian, made once by its
// constructor. Without an offset on that axis they are the Jacobian's own
// array (Copied() 0), which follows later changes of it; a window with an
// offset gets a new block of capacity numbers whose first nnz are its own
// less the offset (Copied() 1), a picture of the Jacobian at construction,
// freed by the destructor. A NULL Jacobian gives no elements and plex index
// 0; a copy the plex allocator cannot give raises rtmalloc_allocate_failed
// (except.h) out of the constructor.
class ZARN_API RTJacPatternVector {
  public:
    RTJacPatternVector(const RTJacPatternVector &) = delete;
    RTJacPatternVector &operator=(const RTJacPatternVector &) = delete;
    int32_t Copied() const;     // 1 for a block of its own, 0 for the Jacobian's array
    int64_t PlexIndex() const;  // the numbers' plex index (zarnmalloc.h), 0 for none
    int64_t *Elements() const;  // the numbers, NULL for none

  protected:
    RTJacPatternVector() = default;
    ~RTJacPatternVector();
    void Hold(int64_t plex, bool copied);  // takes the numbers the copy rule gave

  private:
    friend class RTJacProvider;  // makes both of its patterns before holding either
    int32_t copy_ = 0;
    int64_t plex_ = 0;
    int64_t *elements_ = nullptr;
};

// The equation numbers of a Jacobian's nonzeros.
class ZARN_API RTJacIrn : public RTJacPatternVector {
  public:
    explicit RTJacIrn(rt_jac_t *jac);
};

// The variable numbers of a Jacobian's nonzeros.
class ZARN_API RTJacIcn : public RTJacPatternVector {
  public:
    explicit RTJacIcn(rt_jac_t *jac);
};

// The same for a Hessian's three number arrays, each with its own offset.
class ZARN_API RTHessPatternVector {
  public:
    RTHessPatternVector(const RTHessPatternVector &) = delete;
    RTHessPatternVector &operator=(const RTHessPatternVector &) = delete;
    int32_t Copied() const;
    int64_t PlexIndex() const;
    int64_t *Elements() const;

  protected:
    RTHessPatternVector() = default;
    ~RTHessPatternVector();
    void Hold(int64_t plex, bool copied);

  private:
    int32_t copy_ = 0;
    int64_t plex_ = 0;
    int64_t *elements_ = nullptr;
};

// Equation numbers.
class ZARN_API RTHessIrn : public RTHessPatternVector {
  public:
    explicit RTHessIrn(rt_hess_t *hess);
};

// First variable numbers.
class ZARN_API RTHessIcn : public RTHessPatternVector {
  public:
    explicit RTHessIcn(rt_hess_t *hess);
};

// Second variable numbers.
class ZARN_API RTHessIcn2 : public RTHessPatternVector {
  public:
    explicit RTHessIcn2(rt_hess_t *hess);
};

// The nonzeros of a Jacobian, with its row and column pattern vectors made
// at construction (see RTJacPatternVector for when they are copies). When the
// column copy raises, the row copy already made is freed first.
class ZARN_API RTJacProvider : public DerivProvider {
  public:
    explicit RTJacProvider(rt_jac_t *jac);
    ~RTJacProvider() override;
    int32_t Nnz() override;
    int64_t *IrnVec() override;
    int64_t *IcnVec() override;
    double *ValueVec() override;

  private:
    rt_jac_t *jac_;
    RTJacIrn irn_;
    RTJacIcn icn_;
};

#endif
