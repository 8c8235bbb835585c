// Every text the X-file module prints on the history device.
#ifndef ZARN_XFILE_MESSAGES_H
#define ZARN_XFILE_MESSAGES_H

namespace zarn::xfile::msg {

// Open.
inline constexpr char kNotSaveFile[] =
    "!! rtxfile_open: The file appears not to have been created with the save variables command\n";
inline constexpr char kMatchedDigest[] = "Matched message digest, restoring values by index\n";
inline constexpr char kByName[] = "Restoring values by name\n";
inline constexpr char kUpdateNotMatched[] =
    "!! rtxfile_open: Update operation not allowed on file not matched by index\n";
// documented as is ("Attemping")
inline constexpr char kUpdateMissing[] =
    "!! rtxfile_open: Attemping update with attributes not currently in file\n";
inline constexpr char kBadMode[] = "!! rtxfile_open: Unknown mode %lld (0 read, 1 create, 2 update)\n";
inline constexpr char kNoUnit[] = "!! rtxfile_open: No free I/O unit in 60..99\n";
inline constexpr char kNoName[] = "!! rtxfile_open: No file name given\n";
inline constexpr char kDirectory[] = "!! rtxfile_open: %.1024s is a directory, not an X file\n";
inline constexpr char kReadOnly[] = "!! rtxfile_open: %.1024s is read-only and cannot be updated\n";
inline constexpr char kOpenFailed[] = "!! rtxfile_open: Unable to open %.1024s (I/O status %d)\n";
inline constexpr char kOpenHeader[] = "!! rtxfile_open: Problem reading Header record\n";
inline constexpr char kOpenWrite[] = "!! rtxfile_open: Problem writing Header record\n";

// Save.
inline constexpr char kSaveRange[] = "!! rtxfile_save_variable: Variable subscript is out of range\n";
inline constexpr char kSaveWrite[] = "!! rtxfile_save_variable: Problem writing X file\n";

// Restore.
inline constexpr char kNoNames1[] =
    "Variables in this file were not saved with the NAME attribute, and cannot\n";
inline constexpr char kNoNames2[] = "be restored into the current configuration.\n";
// documented as is (two blanks before "with")
inline constexpr char kSavedWith[] = "Variables in this file were saved  with the following attributes:\n";
inline constexpr char kRestoreRead[] = "!! rtxfile_restore_variable: Problem reading X file\n";
inline constexpr char kRestoreMemory[] =
    "!! rtxfile_restore_variable: Unable to allocate memory for %lld variables\n";
inline constexpr char kRestorePattern[] = "!! rtxfile_restore_variable: Bad substitution pattern '%.1024s'\n";

// Update.
inline constexpr char kUpdateHeader[] = "!! rtxfile_update_variable: Problem reading Header record\n";
// documented as is ("There current")
inline constexpr char kUpdateMismatch[] =
    "!! rtxfile_update_variable: There current variable list and x-file being updated are mismatched.\n";
inline constexpr char kUpdateIO[] = "!! rtxfile_update_variable: Problem updating X file\n";

// Query.
inline constexpr char kQueryRead[] = "!! rtxfile_query: Problem reading X file\n";

// Any entry given a unit that is not the X file open in the mode it needs.
inline constexpr char kNotOpen[] = "!! %s: No X file is open on unit %lld for this operation\n";

}  // namespace zarn::xfile::msg

#endif
