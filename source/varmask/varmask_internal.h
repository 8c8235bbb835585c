// Internals of the variable vocabularies: the connection-type keywords, the
// one table that joins the units catalogue's type names with the property
// names of the attribute catalogue.
#ifndef ZARN_VARMASK_VARMASK_INTERNAL_H
#define ZARN_VARMASK_VARMASK_INTERNAL_H

#include "attrcat/attrcat.h"
#include "zarnutils/varmask.h"

namespace zarn::varmask {

// The connection-type keywords, sorted and indexed on first use.
const attrcat::Vocabulary &conn_words();

}  // namespace zarn::varmask

#endif
