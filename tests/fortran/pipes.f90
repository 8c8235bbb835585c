! Writes through the history device as solver code does: first to the terminal,
! then with a Fortran unit as the device, and reads the unit's file back.
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
  integer*8 RTOHIS_INQ_HOST_F
  external RTOHIS_WRITELN, RTOHIS_WRITE, RTOHIS_FLUSH, RTOHIS_INQ_HOST_F
  type(c_ptr) :: saved, up
  character(len=32) :: msg
  character(len=80) :: line
  character(len=80) :: expect(4)
  integer :: ios, n, rc

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
  call rtohis_set_hisDev(saved)
  rc = rtodestroy(saved)
  close (21)

  ! One record per write; the newline of WRITELN is a record of its own.
  expect(1) = 'first'
  expect(2) = 'second record'
  expect(3) = ''
  expect(4) = ''
  open (22, file='pipes_unit.txt', status='old', action='read')
  n = 0
  do
    read (22, '(A)', iostat=ios) line
    if (ios /= 0) exit
    n = n + 1
    if (n > 4) error stop 'too many records'
    if (line /= expect(n)) then
      print *, 'record ', n, ': [', trim(line), ']'
      error stop 'record differs'
    end if
  end do
  close (22, status='delete')
  if (n /= 4) then
    print *, 'records read: ', n
    error stop 'wrong record count'
  end if
  call RTOHIS_WRITELN('pipes: all checks passed')
end program
