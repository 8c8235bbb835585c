// The attributes whose values are codes with words (SPEC, BOUND, QUALITY,
// PARAM, RAMPED, VAR_TYPE, CONN_TYPE): the word's code and the store of a
// code, shared by assignment by name and the VARFILE reader.
#ifndef ZARN_VARMASK_CODED_H
#define ZARN_VARMASK_CODED_H

#include <cstddef>
#include <cstdint>

#include "zarnutils/rtvarlst.h"

namespace zarn::varmask {

// True for a catalogue row whose values are codes read from words.
bool is_coded(int row);

// The code of a word of the row's table (n characters, the table's rule), or -1.
int32_t coded_word(int row, const char *word, size_t n);

// Stores a code the row's table gave into variable i: the status word for
// SPEC and BOUND (no notification), the type with the variable's current
// partner offset for VAR_TYPE, a connection type 0..1065 only.
void store_coded(rtvarlst_t *list, int32_t i, int row, int32_t code);

// The code variable i holds now for a coded row (RAMPED as 0 or 1); -1 for
// a row that is not coded.
int64_t coded_value(rtvarlst_t *list, int32_t i, int row);

}  // namespace zarn::varmask

#endif
