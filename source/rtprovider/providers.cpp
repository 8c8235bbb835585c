// The variable, equation and Jacobian providers: every call goes to the list
// operation of the same meaning, whose result is handed on as it is.
#include "zarnutils/rteqnlst.h"
#include "zarnutils/rtprovider.hpp"

VarProvider::~VarProvider() = default;
EqnProvider::~EqnProvider() = default;
DerivProvider::~DerivProvider() = default;

RTVarlstProvider::RTVarlstProvider(rtvarlst_t *list, double *lower, double *upper)
    : list_(list), lower_(lower), upper_(upper) {}
RTVarlstProvider::~RTVarlstProvider() = default;

int32_t RTVarlstProvider::Nvar() { return rtovarlst_inq_nvar(list_); }
double *RTVarlstProvider::ValueVec() { return rtovarlst_vec_value(list_); }
double *RTVarlstProvider::LowerBoundVec() { return lower_ != nullptr ? lower_ : rtovarlst_vec_lower(list_); }
double *RTVarlstProvider::UpperBoundVec() { return upper_ != nullptr ? upper_ : rtovarlst_vec_upper(list_); }
double *RTVarlstProvider::SolveScaleVec() { return rtovarlst_vec_solveScale(list_); }
double *RTVarlstProvider::PreScaleVec() { return rtovarlst_vec_scale(list_); }
double *RTVarlstProvider::ShadowPriceVec() { return rtovarlst_vec_shadow_price(list_); }
int64_t *RTVarlstProvider::StatusVec() { return rtovarlst_vec_status(list_); }
void RTVarlstProvider::VarName(int32_t i, char *buffer) { rtovarlst_inq_var_name(list_, i, buffer); }
void RTVarlstProvider::VarNames(int32_t first, int32_t last, int32_t width, char *buffer) {
    rtovarlst_names(list_, first, last, width, buffer);
}
int64_t *RTVarlstProvider::BaseuomVec() { return rtovarlst_vec_baseuom(list_); }
int64_t *RTVarlstProvider::BasicVec() { return rtovarlst_vec_basic(list_); }

RTEqnlstProvider::RTEqnlstProvider(rtattrdict_t *list) : list_(list) {}
RTEqnlstProvider::~RTEqnlstProvider() = default;

int32_t RTEqnlstProvider::Neqn() { return rtoeqnlst_inq_neqn(list_); }
double *RTEqnlstProvider::ResidualVec() { return rtoeqnlst_vec_residual(list_); }
double *RTEqnlstProvider::ScaleVec() { return rtoeqnlst_vec_scale(list_); }
int64_t *RTEqnlstProvider::StatusVec() { return rtoeqnlst_vec_status(list_); }
double *RTEqnlstProvider::ShadowPriceVec() { return rtoeqnlst_vec_shadow_price(list_); }
void RTEqnlstProvider::EqnName(int32_t i, char *buffer) { rtoeqnlst_inq_eqn_name(list_, i, buffer); }
void RTEqnlstProvider::EqnNames(int32_t first, int32_t last, int32_t width, char *buffer) {
    rtoeqnlst_names(list_, first, last, width, buffer);
}
int64_t *RTEqnlstProvider::BasicVec() { return rtoeqnlst_vec_basic(list_); }

RTJacProvider::~RTJacProvider() = default;

int32_t RTJacProvider::Nnz() { return rtojac_inq_nnz(jac_); }
int64_t *RTJacProvider::IrnVec() { return irn_.Elements(); }
int64_t *RTJacProvider::IcnVec() { return icn_.Elements(); }
double *RTJacProvider::ValueVec() { return rtojac_vec_bj(jac_); }
