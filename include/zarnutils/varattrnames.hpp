// The attribute words of the VARFILE header line: the name of each of the 28
// variable attributes (the VARFILE processors' attribute enumeration, 0..27),
// and the attribute a word names, header words and their synonyms alike.
#ifndef ZARNUTILS_VARATTRNAMES_HPP
#define ZARNUTILS_VARATTRNAMES_HPP

#include "zarnutils/zarn_api.h"

class ZARN_API RTVarAttributeNames {
  public:
    // The header word of an attribute 0..27 (constant text); "" for any other.
    static const char *Name(int attribute);
    // The attribute a word names, or -1. The word must be 2-13 characters
    // long and start with an upper-case letter; the rest may be any case.
    // Accepts the 28 header words and AB, ACTIVE, INITIAL, PARAM_HOMO, PT,
    // SHADOW, SP, TARGET_HOMO and UOM. A null word gives -1.
    static int Value(const char *word);
};

#endif
