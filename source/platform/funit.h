// C side of the Fortran unit shim (funit.f90): the caller's gfortran units.
#ifndef ZARN_PLATFORM_FUNIT_H
#define ZARN_PLATFORM_FUNIT_H

#include <cstddef>
#include <cstdint>

extern "C" {
// One formatted record of len bytes; 0 on success, else the Fortran I/O status.
int zarn_funit_write_record(int32_t unit, const char *buf, std::size_t len);
// action 0 read, 1 write (replacing), 2 append; 0 on success.
int zarn_funit_open_seq(int32_t unit, const char *name, std::size_t namelen, int32_t action);
int zarn_funit_close(int32_t unit);
int zarn_funit_flush(int32_t unit);
int zarn_funit_is_open(int32_t unit);
int32_t zarn_funit_free_unit(int32_t first);

// Unformatted direct-access files of 2048-byte records (512 little-endian
// 32-bit words). how: 0 existing, read only; 1 new or existing, read and
// write; 2 existing, read and write. 0 on success, else the I/O status.
int zarn_funit_open_direct(int32_t unit, const char *name, std::size_t namelen, int32_t how);
// Record rec (1-based) into / from 512 words; 0 on success, ZARN_FUNIT_NOT_OPEN
// when the unit is not connected, ZARN_FUNIT_SHORT for rec < 1, else the I/O
// status. A record the file holds only in part reads padded: check the size.
int zarn_funit_read_direct(int32_t unit, int64_t rec, int32_t *words);
int zarn_funit_write_direct(int32_t unit, int64_t rec, const int32_t *words);
// The descriptor of the file connected to unit, or -1, once the run-time has
// written out its own buffer for the unit. Records moved through it bypass
// the run-time's buffer: a caller doing so does all its transfers on the unit
// that way while it holds the unit.
int zarn_funit_descriptor(int32_t unit);
// Bytes in the file connected to unit, or -1.
int64_t zarn_funit_size(int32_t unit);
// The unit a named file is connected to, or -1.
int32_t zarn_funit_unit_of_file(const char *name, std::size_t namelen);
// 1 when the named file exists.
int zarn_funit_exists(const char *name, std::size_t namelen);
// Formatted sequential, status 'unknown'; at the end of the file when append is 1.
int zarn_funit_open_shared(int32_t unit, const char *name, std::size_t namelen, int32_t append);
// Closes the unit and deletes its file.
int zarn_funit_close_delete(int32_t unit);
}

constexpr int ZARN_FUNIT_NOT_OPEN = 9901;
constexpr int ZARN_FUNIT_SHORT = -1;

#endif
