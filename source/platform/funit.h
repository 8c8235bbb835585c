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
}

#endif
