! What every Fortran test program shares: the check that stops the program
! with the name of what failed, and the calls that send the history pipe to a
! Fortran unit.
module test_checks
  use, intrinsic :: iso_c_binding, only: c_int32_t, c_ptr
  implicit none
  interface
    function rtoPipe_fortran_output(unit) bind(C, name='rtoPipe_fortran_output')
      import :: c_int32_t, c_ptr
      integer(c_int32_t), value :: unit
      type(c_ptr) :: rtoPipe_fortran_output
    end function
    subroutine rtohis_set_hisDev(p) bind(C, name='rtohis_set_hisDev')
      import :: c_ptr
      type(c_ptr), value :: p
    end subroutine
  end interface
contains
  subroutine check(ok, what)
    logical, intent(in) :: ok
    character(*), intent(in) :: what
    if (.not. ok) error stop 'FAILED: '//what
  end subroutine check
end module test_checks
