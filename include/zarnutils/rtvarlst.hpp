// The host's block object, which the variable list tells of changed
// variables. C++ only; the C header rtvarlst.h names it as an opaque struct.
#ifndef ZARNUTILS_RTVARLST_HPP
#define ZARNUTILS_RTVARLST_HPP

#include "zarnutils/rtvarlst.h"

// The list only tells the block which variable changed and asks it for the
// object handed on with the change event; the block belongs to the host.
struct ZARN_API QDLEOBlock {
    // Variable absolute_index (1-based, in the head list) has changed.
    virtual void VariableChanged(int32_t absolute_index) = 0;
    // The object passed on with the change event, or NULL.
    virtual void *AssociatedObject() = 0;

  protected:
    ~QDLEOBlock() = default;
};

#endif
