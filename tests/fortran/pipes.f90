! Writes through the history and report devices as solver code does: first to
! the terminal, then with a Fortran unit as the device, and reads the unit's
! file back. Then the run-time context's Fortran entries.
module pipes_c
  use, intrinsic :: iso_c_binding
  implicit none
  type(c_ptr), bind(C, name='rtHisDev') :: his_dev
  interface
    subroutine rtorep_set_repDev(p) bind(C, name='rtorep_set_repDev')
      import :: c_ptr
      type(c_ptr), value :: p
    end subroutine
    function rtodestroy(p) bind(C, name='rtodestroy')
      import :: c_ptr, c_int
      type(c_ptr), value :: p
      integer(c_int) :: rtodestroy
    end function
    function copyPipe(p) bind(C, name='copyPipe')
      import :: c_ptr
      type(c_ptr), value :: p
      type(c_ptr) :: copyPipe
    end function
  end interface
end module

program pipes
  use test_checks
  use pipes_c
  implicit none
  integer*8 RTOHIS_INQ_HOST_F, RTOSIGNAL_CTRLC_PRESSED_F, RTO_INQ_NOT_CORBA, i8
  character(len=8) :: probid
  type(c_ptr) :: saved, up
  character(len=80) :: got(10)
  ! One record per write; the newline of WRITELN is a record of its own.
  character(len=13), parameter :: expect(9) = [character(len=13) :: 'first', 'second record', '', '', &
                                               'third', '', '', 'fourth', 'fifth']
  integer :: ios, n

  call INIT_PIPE_4HOST_F(1_8)
  call RTOHIS_WRITELN('fortran says hello              ')
  call RTOHIS_FLUSH(); call check(RTOHIS_INQ_HOST_F() == 0, 'the terminal is no host pipe')

  open (21, file='pipes_unit.txt', status='replace', action='write')
  up = rtoPipe_fortran_output(21_c_int32_t)
  saved = copyPipe(his_dev)
  call rtohis_set_hisDev(up); call check(rtodestroy(up) == 1, 'the device takes its own reference')
  call RTOHIS_WRITE('first   ')
  call RTOHIS_WRITELN('second record    ')
  call RTOHIS_FLUSH()
  call rtorep_set_repDev(up)
  call RTOREP_WRITELN('third   ')
  call RTOREP_WRITE('fourth')
  call RTOREP_WRITESTR('fifth'//c_null_char)
  call RTOREP_FLUSH()
  call rtorep_set_repDev(c_null_ptr)
  call rtohis_set_hisDev(saved)
  n = rtodestroy(saved)
  close (21)
  open (22, file='pipes_unit.txt', status='old', action='read')
  n = 0
  do while (n < size(got))
    read (22, '(a)', iostat=ios) got(n + 1)
    if (ios /= 0) exit
    n = n + 1
  end do
  close (22, status='delete')
  call check(n == 9 .and. all(got(1:9) == expect), 'one record per write, trailing blanks dropped')

  ! Run-time context.
  call check(RTOSIGNAL_CTRLC_PRESSED_F() == 0, 'no Ctrl-C at the start')
  call RTOSIGNAL_S_CTRLC_F()
  call RTOSIGNAL_Q_CTRLC_F(i8); call check(RTOSIGNAL_CTRLC_PRESSED_F() == 1 .and. i8 == 1, 'Ctrl-C pending')
  call RTO_SET_MODE(2_8)
  call RTO_SET_MODE(9_8)
  call RTO_INQ_MODE(i8); call check(i8 == 2, 'an unknown mode leaves mode 2')
  call RTO_SET_MODE(0_8)
  call RTO_GETPROBID_F(probid)
  call check(RTO_INQ_NOT_CORBA() == 1 .and. probid == 'KFPxxx', 'run type, problem identifier')
  call RTOHIS_WRITELN('pipes: all checks passed')

end program
