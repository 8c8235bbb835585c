! A first Fortran program: solver-style messages through the history device.
program fortran_history
  implicit none
  external RTOHIS_WRITELN, RTOHIS_FLUSH, INIT_PIPE_4HOST_F
  integer*8 iflag
  character(len=64) :: line
  integer :: it
  double precision :: resid

  iflag = 1
  call INIT_PIPE_4HOST_F(iflag)
  call RTOHIS_WRITELN('Fortran solver driver started')
  resid = 1.0d0
  do it = 1, 4
    resid = resid * 1.0d-3
    write (line, '(A,I3,A,ES10.3)') 'iteration', it, '  residual', resid
    call RTOHIS_WRITELN(line)
  end do
  call RTOHIS_FLUSH()
end program
