! Writes through the history and report devices as solver code does: first to
! the terminal, then with a Fortran unit as the device, and reads the unit's
! file back. Then the run-time context's Fortran entries.
module pipes_c
  use, intrinsic :: iso_c_binding
  implicit none
  type(c_ptr), bind(C, name='rtHisDev') :: his_dev
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
    subroutine rtorep_set_repDev(p) bind(C, name='rtorep_set_repDev')
      import :: c_ptr
      type(c_ptr), value :: p
    end subroutine
    subroutine rtosignal_cancel_pending_ctrlc() bind(C, name='rtosignal_cancel_pending_ctrlc')
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
  use pipes_c
  implicit none
  integer*8 RTOHIS_INQ_HOST_F, RTOSIGNAL_CTRLC_PRESSED_F, RTO_INQ_NOT_CORBA
  external RTOHIS_WRITELN, RTOHIS_WRITE, RTOHIS_FLUSH, RTOHIS_INQ_HOST_F
  external RTOREP_WRITELN, RTOREP_WRITE, RTOREP_WRITESTR, RTOREP_FLUSH, INIT_PIPE_4HOST_F
  external RTOSIGNAL_CTRLC_PRESSED_F, RTOSIGNAL_Q_CTRLC_F, RTOSIGNAL_S_CTRLC_F
  external RTO_SET_MODE, RTO_INQ_MODE, RTO_INQ_NOT_CORBA, RTO_GETPROBID_F
  integer*8 :: i8
  character(len=8) :: probid
  type(c_ptr) :: saved, up
  character(len=32) :: msg
  character(len=80) :: line
  character(len=80) :: expect(9)
  integer :: ios, n, rc

  call INIT_PIPE_4HOST_F(1_8)
  msg = 'fortran says hello'
  call RTOHIS_WRITELN(msg)
  call RTOHIS_FLUSH()
  if (RTOHIS_INQ_HOST_F() /= 0) error stop 'terminal taken for a host pipe'

  open (21, file='pipes_unit.txt', status='replace', action='write')
  up = rtoPipe_fortran_output(21_c_int32_t)
  saved = copyPipe(his_dev)
  call rtohis_set_hisDev(up)
  rc = rtodestroy(up)
  if (rc /= 1) error stop 'device did not take its own reference'

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
  rc = rtodestroy(saved)
  close (21)

  ! One record per write; the newline of WRITELN is a record of its own.
  expect(1) = 'first'
  expect(2) = 'second record'
  expect(3) = ''
  expect(4) = ''
  expect(5) = 'third'
  expect(6) = ''
  expect(7) = ''
  expect(8) = 'fourth'
  expect(9) = 'fifth'
  open (22, file='pipes_unit.txt', status='old', action='read')
  n = 0
  do
    read (22, '(A)', iostat=ios) line
    if (ios /= 0) exit
    n = n + 1
    if (n > 9) error stop 'too many records'
    if (line /= expect(n)) then
      print *, 'record ', n, ': [', trim(line), ']'
      error stop 'record differs'
    end if
  end do
  close (22, status='delete')
  if (n /= 9) then
    print *, 'records read: ', n
    error stop 'wrong record count'
  end if
  ! Run-time context.
  call RTOSIGNAL_S_CTRLC_F()
  call RTOSIGNAL_Q_CTRLC_F(i8)
  if (RTOSIGNAL_CTRLC_PRESSED_F() /= 1 .or. i8 /= 1) error stop 'Ctrl-C not pending'
  call rtosignal_cancel_pending_ctrlc()
  if (RTOSIGNAL_CTRLC_PRESSED_F() /= 0) error stop 'Ctrl-C still pending'
  call RTO_SET_MODE(2_8)
  call RTO_SET_MODE(9_8)
  call RTO_INQ_MODE(i8)
  if (i8 /= 2) error stop 'mode not 2'
  call RTO_SET_MODE(0_8)
  if (RTO_INQ_NOT_CORBA() /= 1) error stop 'run type'
  call RTO_GETPROBID_F(probid)
  if (probid /= 'KFPxxx') error stop 'problem identifier'
  call RTOHIS_WRITELN('pipes: all checks passed')
end program
