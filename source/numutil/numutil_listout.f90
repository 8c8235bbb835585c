! List-directed records and raw text on the Fortran standard output unit (named
! zarn_funit_* so that the export map keeps them inside the library), so
! that the library's output and a Fortran caller's share one unit and order.
module zarn_numutil_listout
  use, intrinsic :: iso_c_binding
  use, intrinsic :: iso_fortran_env, only: output_unit
  implicit none
  private
  public :: zarn_funit_list_text, zarn_funit_list_int, zarn_funit_put_raw
contains

  ! One list-directed record holding the text.
  subroutine zarn_funit_list_text(text, len) bind(C, name='zarn_funit_list_text')
    character(kind=c_char), intent(in) :: text(*)
    integer(c_size_t), value :: len
    character(len=len) :: line
    integer :: i
    do i = 1, int(len)
      line(i:i) = text(i)
    end do
    write (output_unit, *) line
    flush (output_unit)
  end subroutine

  ! One list-directed record: the label, then a 64-bit integer.
  subroutine zarn_funit_list_int(label, len, value) bind(C, name='zarn_funit_list_int')
    character(kind=c_char), intent(in) :: label(*)
    integer(c_size_t), value :: len
    integer(c_int64_t), value :: value
    character(len=len) :: line
    integer :: i
    do i = 1, int(len)
      line(i:i) = label(i)
    end do
    write (output_unit, *) line, value
    flush (output_unit)
  end subroutine

  ! The bytes as they are, with no record end (terminal control sequences).
  subroutine zarn_funit_put_raw(text, len) bind(C, name='zarn_funit_put_raw')
    character(kind=c_char), intent(in) :: text(*)
    integer(c_size_t), value :: len
    character(len=len) :: line
    integer :: i
    do i = 1, int(len)
      line(i:i) = text(i)
    end do
    write (output_unit, '(A)', advance='no') line
    flush (output_unit)
  end subroutine

end module
