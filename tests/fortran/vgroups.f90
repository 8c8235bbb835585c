! Variable groups as a solver driver uses them from Fortran: group a pattern,
! run the finite-difference loop by reverse communication against linear and
! nonlinear models, and keep the groups in an unformatted sequential file.
module vgroups_checks
  implicit none
  ! A 5 x 6 pattern ordered by row, with a column offset of 10 as a window would have it.
  integer(8), parameter :: ncol = 6, nrow = 5, nnz = 12, coloff = 10
  integer(8), parameter :: rows(nnz) = [1_8, 1_8, 2_8, 2_8, 2_8, 3_8, 3_8, 4_8, 4_8, 5_8, 5_8, 5_8]
  integer(8), parameter :: cols(nnz) = coloff + [1_8, 2_8, 2_8, 3_8, 6_8, 3_8, 4_8, 4_8, 5_8, 1_8, 5_8, 6_8]
  real(8), parameter :: vals(nnz) = [2d0, -1d0, 3d0, 0.5d0, 4d0, -2d0, 1.5d0, 7d0, -3d0, 1d0, 2.5d0, -0.25d0]
contains
  subroutine check(ok, what)
    logical, intent(in) :: ok
    character(*), intent(in) :: what
    if (.not. ok) error stop 'FAILED: '//what
  end subroutine check

  ! f = A x for the pattern's values.
  subroutine linear(x, f)
    real(8), intent(in) :: x(ncol)
    real(8), intent(out) :: f(nrow)
    integer :: k
    f = 0d0
    do k = 1, int(nnz)
      f(rows(k)) = f(rows(k)) + vals(k)*x(cols(k) - coloff)
    end do
  end subroutine linear

  ! f_i = sum over the row of vals(k) * sin(x_j) * x_j**2, so df_i/dx_j = vals(k) * (cos(x_j) x_j**2 + 2 x_j sin(x_j)).
  subroutine nonlinear(x, f, jac)
    real(8), intent(in) :: x(ncol)
    real(8), intent(out) :: f(nrow), jac(nnz)
    integer :: k
    real(8) :: xj
    f = 0d0
    do k = 1, int(nnz)
      xj = x(cols(k) - coloff)
      f(rows(k)) = f(rows(k)) + vals(k)*sin(xj)*xj**2
      jac(k) = vals(k)*(cos(xj)*xj**2 + 2d0*xj*sin(xj))
    end do
  end subroutine nonlinear

  ! Runs the loop from the start; model 1 linear, 2 nonlinear. Returns the number of evaluations.
  integer function drive(ig, model, x, relstep, jac) result(evals)
    integer(8), intent(in) :: ig
    integer, intent(in) :: model
    real(8), intent(inout) :: x(ncol)
    real(8), intent(in) :: relstep
    real(8), intent(out) :: jac(nnz)
    integer(8) :: status(ncol), state, ierr
    real(8) :: typical(ncol), minstep(4), f(nrow), f0(nrow), x0(ncol), exact(nnz)
    ! Physical types 0, 1, 2, -2 (a price type), 3, 0 packed as p + 256 in bits 4-12.
    status = ishft([256_8, 257_8, 258_8, 254_8, 259_8, 256_8], 4)
    typical = 1d0
    minstep = [1d-3, 1d-2, 1d-1, 1d0]
    x0 = x
    jac = -99d0
    state = 0
    evals = 0
    call U3NJAC_COMPUTE(ig, x, typical, status, f, coloff, cols, minstep, relstep, jac, state, ierr)
    call check(ierr == 0 .and. state == 1, 'U3NJAC_COMPUTE start')
    do while (state == 1)
      if (model == 1) then
        call linear(x, f)
      else
        call nonlinear(x, f, exact)
      end if
      if (evals == 0) f0 = f
      evals = evals + 1
      call U3NJAC_COMPUTE(ig, x, typical, status, f, coloff, cols, minstep, relstep, jac, state, ierr)
      call check(ierr == 0, 'U3NJAC_COMPUTE step')
    end do
    call check(state == 2, 'loop ends in state 2')
    call check(all(x == x0), 'variables restored')
    call check(all(f == f0), 'residuals restored')
  end function drive
end module vgroups_checks

program vgroups
  use iso_c_binding, only: c_ptr, c_loc, c_f_pointer
  use vgroups_checks
  implicit none
  integer(8), target :: anchor(1)
  common /zplex/ anchor
  bind(C, name='ZARN_PLEX') :: /zplex/
  ! The integer view of the anchor, so that iplex(ip) is element 1 of the block at ip.
  type(c_ptr), volatile :: at
  integer(8), pointer, contiguous :: iplex(:)
  integer(8) :: ig, ig2, ierr, zero, usefixed, unit, status(ncol), k
  real(8) :: x(ncol), jac(nnz), exact(nnz), f(nrow), err1, err2
  integer :: evals, ios

  at = c_loc(anchor)
  call c_f_pointer(at, iplex, [1])
  zero = 0
  usefixed = 0
  status = 0
  call U3VGRP_CREATE(ncol, nrow, nnz, ig)
  call U3VGRP_COMPUTE(rows, cols, status, zero, coloff, usefixed, ig, ierr)
  call check(ierr == 0, 'U3VGRP_COMPUTE')

  ! Linear model: the entries of A to rounding. Groups {1,3}, {2,4}, {5}, {6}: one evaluation each
  ! and one at the start.
  x = [1d0, -2d0, 0.5d0, 3d0, 0d0, 1d-4]
  evals = drive(ig, 1, x, 1d-6, jac)
  call check(evals == 5, 'one evaluation per group')
  call check(all(abs(jac - vals) <= 1d-6*max(1d0, abs(vals))), 'linear model reproduces A')

  ! Nonlinear model: forward differences are first order, so a step ten times smaller
  ! divides the largest error by about ten.
  x = [1d0, -2d0, 0.5d0, 3d0, 1.5d0, -0.7d0]
  call nonlinear(x, f, exact)
  evals = drive(ig, 2, x, 1d-3, jac)
  err1 = maxval(abs(jac - exact))
  evals = drive(ig, 2, x, 1d-4, jac)
  err2 = maxval(abs(jac - exact))
  call check(err1 < 3d-1 .and. err2 < 3d-2, 'nonlinear model close to the analytic Jacobian')
  call check(err1/err2 > 5d0 .and. err1/err2 < 20d0, 'error falls with the step')

  ! Save and read back through a real unit.
  unit = 41
  open (unit=41, file='vgroups.grp', form='unformatted', access='sequential', status='replace', iostat=ios)
  call check(ios == 0, 'open group file')
  call U3VGRP_SAVE_TO_FILE(unit, ig)
  rewind (41)
  call U3VGRP_READ_FM_FILE(unit, ig2)
  call check(ig2 /= 0, 'U3VGRP_READ_FM_FILE')
  call check(all(iplex(ig2:ig2 + 3) == iplex(ig:ig + 3)), 'sizes and group count read back')
  call check(all(iplex(iplex(ig2 + 4):iplex(ig2 + 4) + 2*ncol - 1) == &
                 iplex(iplex(ig + 4):iplex(ig + 4) + 2*ncol - 1)), &
             'group list read back')
  call check(all(iplex(iplex(ig2 + 6):iplex(ig2 + 6) + nrow) == iplex(iplex(ig + 6):iplex(ig + 6) + nrow)), &
             'row starts read back')
  call U3VGRP_DESTROY(ig2)
  call check(ig2 == 0, 'U3VGRP_DESTROY')
  close (41, status='delete')

  ! A first record with a negative count reads as nothing, and so does one announcing sizes the file
  ! cannot hold: in both cases the next record is the one after that first record.
  open (unit=41, file='vgroups.grp', form='unformatted', access='sequential', status='replace')
  write (41) -1_8, ncol, nrow, nnz
  do k = 1, 2*ncol + nrow + 1
    write (41) 7_8
  end do
  write (41) 0_8, 1000000_8, nrow, nnz
  write (41) 9_8
  rewind (41)
  call U3VGRP_READ_FM_FILE(unit, ig2)
  read (41) k
  call check(ig2 == 0 .and. k == 7, 'negative count reads as nothing')
  do k = 2, 2*ncol + nrow + 1
    read (41)
  end do
  call U3VGRP_READ_FM_FILE(unit, ig2)
  read (41) k
  call check(ig2 == 0 .and. k == 9, 'a file too short is refused')
  close (41, status='delete')

  call U3VGRP_DESTROY(ig)
  print '(a)', 'vgroups: all calls behaved'
end program vgroups
