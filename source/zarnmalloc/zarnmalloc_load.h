// The load step of the plex blocks, for the library's load-time initialiser.
#ifndef ZARN_ZARNMALLOC_LOAD_H
#define ZARN_ZARNMALLOC_LOAD_H

namespace zarn::zarnmalloc {

// Gives the exported data blocks their first elements and sets the anchors.
// A host program that declares a block as a common block may hold its own
// zero-filled copy that the library's references bind to (some linkers make no
// copy of the library's initial data), so the values are also written at load.
void load();

}  // namespace zarn::zarnmalloc

#endif
