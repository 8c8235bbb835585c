// The units table's load and unload steps, offered to the library constructor.
#ifndef ZARN_RTUOM_RTUOM_LOAD_H
#define ZARN_RTUOM_RTUOM_LOAD_H

namespace zarn::rtuom {

// Builds the table at library load; destroys it at unload.
void load();
void unload();

}  // namespace zarn::rtuom

#endif
