! Unformatted sequential records of 64-bit integers on a caller's unit, for
! the variable-group file (named zarn_funit_* so that the export map keeps
! them inside the library). Every transfer reports its status instead of
! stopping the program.
module zarn_numutil_seqio
  use, intrinsic :: iso_c_binding
  implicit none
  private
  public :: zarn_funit_write_ints, zarn_funit_read_ints, zarn_funit_is_unformatted_seq
contains

  ! One record of count integers; the I/O status (0 = written).
  function zarn_funit_write_ints(unit, values, count) result(stat) bind(C, name='zarn_funit_write_ints')
    integer(c_int32_t), value :: unit
    integer(c_int64_t), value :: count
    integer(c_int64_t), intent(in) :: values(count)
    integer(c_int) :: stat
    integer :: ios
    write (unit, iostat=ios) values
    stat = ios
  end function

  ! One record into count integers; the I/O status (0 = read, < 0 at the end).
  function zarn_funit_read_ints(unit, values, count) result(stat) bind(C, name='zarn_funit_read_ints')
    integer(c_int32_t), value :: unit
    integer(c_int64_t), value :: count
    integer(c_int64_t), intent(out) :: values(count)
    integer(c_int) :: stat
    integer :: ios
    read (unit, iostat=ios) values
    stat = ios
  end function

  ! 1 when the unit is connected for unformatted sequential transfers, else 0.
  function zarn_funit_is_unformatted_seq(unit) result(res) bind(C, name='zarn_funit_is_unformatted_seq')
    integer(c_int32_t), value :: unit
    integer(c_int) :: res
    logical :: op
    character(len=16) :: form, access
    integer :: ios
    res = 0
    inquire (unit=unit, opened=op, form=form, access=access, iostat=ios)
    if (ios /= 0 .or. .not. op) return
    if (form == 'UNFORMATTED' .and. access == 'SEQUENTIAL') res = 1
  end function

end module
