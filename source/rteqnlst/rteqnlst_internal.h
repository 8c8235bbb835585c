// Internals of the equation list: its columns from the attribute catalogue
// and the split of dotted names.
#ifndef ZARN_RTEQNLST_INTERNAL_H
#define ZARN_RTEQNLST_INTERNAL_H

#include <cstddef>
#include <cstdint>

#include "attrcat/attrcat.h"
#include "rtattrdict/rtattrdict_sibling.h"
#include "zarnutils/rteqnlst.h"

namespace zarn::rteqnlst {

namespace ac = zarn::attrcat;

// Column names.
inline constexpr const char *kComWrapper = ac::column_of(ac::kRowEqnComwrapper);
inline constexpr const char *kResidual = ac::column_of(ac::kRowEqnValue);
inline constexpr const char *kScale = ac::column_of(ac::kRowEqnScale);
inline constexpr const char *kStatus = ac::column_of(ac::kRowEqnStatus);
inline constexpr const char *kGroup = ac::column_of(ac::kRowEqnGroup);
inline constexpr const char *kProcVar = ac::column_of(ac::kRowEqnProcvar);
inline constexpr const char *kBlockPtr = ac::column_of(ac::kRowEqnBlockptr);
inline constexpr const char *kBasic = ac::column_of(ac::kRowEqnBasic);
inline constexpr const char *kShadowPrice = ac::column_of(ac::kRowEqnShadowPrice);

// The column table every head list declares (ends with type 0).
extern const rtattrdesc_t *const kColumns;

// Codes of a dotted name beyond the keywords' own (0 and up).
inline constexpr int kCodeNone = -1;     // no keyword: the whole text names the equation
inline constexpr int kCodeTooLong = -2;  // no dot and too long for a name, or the last dot beyond a name

// A dotted name split into its equation name (a private copy) and keyword code.
struct Dotted {
    char name[rtattrdict::kNameBuf];
    int code;  // a keyword's code, kCodeNone or kCodeTooLong (name then empty)
};

// Splits text at its last "." when what follows is a keyword.
void split_dotted(const char *text, Dotted *out);

}  // namespace zarn::rteqnlst

#endif
