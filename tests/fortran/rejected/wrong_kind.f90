! Must not compile: the module declares the mode of RTXFILE_OPEN as a 64-bit
! integer, and a default (32-bit) integer is passed. The test expects
! gfortran's type-mismatch error for this call.
program wrong_kind
  use, intrinsic :: iso_c_binding
  use zarnutils
  implicit none
  integer(c_int64_t) :: digest(16) = 0, flags(25) = 0, by_name, unit
  integer :: mode = 1
  unit = RTXFILE_OPEN('state.xf', digest, mode, flags, by_name)
end program wrong_kind
