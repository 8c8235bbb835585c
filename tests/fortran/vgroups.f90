! Variable groups from Fortran: the finite-difference loop and the group file.
module vgroups_checks
  use, intrinsic :: iso_c_binding
  use test_checks
  implicit none
  ! A 5 x 6 pattern ordered by row, its columns offset by 10 as in a window.
  integer(8), parameter :: ncol = 6, nrow = 5, nnz = 12, coloff = 10
  integer(8), parameter :: rows(nnz) = [1, 1, 2, 2, 2, 3, 3, 4, 4, 5, 5, 5]
  integer(8), parameter :: cols(nnz) = coloff + [1, 2, 2, 3, 6, 3, 4, 4, 5, 1, 5, 6]
  real(8), parameter :: vals(nnz) = [2d0, -1d0, 3d0, 0.5d0, 4d0, -2d0, 1.5d0, 7d0, -3d0, 1d0, 2.5d0, -0.25d0]
  integer(8), parameter :: status(ncol) = 4096  ! physical type 0: p + 256 in bits 4-12
  ! Column 3's small typical magnitude keeps its step relative to its value.
  real(8), parameter :: typical(ncol) = [1d0, 1d0, 1d-4, 1d0, 1d0, 1d0], minstep(1) = 1d-3
  real(8), parameter :: at_linear(ncol) = [1d0, -2d0, 0.5d0, 3d0, 0d0, 1d-4]
  interface
    ! In vgroups.c.
    integer(c_int) function vgroups_limit_file_size(bytes) bind(C)
      import :: c_int, c_int64_t
      integer(c_int64_t), intent(in) :: bytes
    end function
    integer(c_int) function vgroups_lift_file_size_limit() bind(C)
      import :: c_int
    end function
  end interface
contains
  ! f_i = sum over row i of vals(k) x_j**power; jac gets the analytic entries.
  subroutine model(power, x, f, jac)
    integer, intent(in) :: power
    real(8), intent(in) :: x(ncol)
    real(8), intent(out) :: f(nrow), jac(nnz)
    integer :: k
    f = 0d0
    do k = 1, int(nnz)
      f(rows(k)) = f(rows(k)) + vals(k)*x(cols(k) - coloff)**power
      jac(k) = vals(k)*power*x(cols(k) - coloff)**(power - 1)
    end do
  end subroutine model

  ! Runs the loop at start; the largest error against the analytic Jacobian, relative above 1.
  real(8) function drive(ig, power, start, relstep) result(worst)
    integer(8), intent(in) :: ig
    integer, intent(in) :: power
    real(8), intent(in) :: start(ncol), relstep
    integer(8) :: state, ierr
    real(8) :: x(ncol), f(nrow), f0(nrow), jac(nnz), exact(nnz), moved(nnz)
    integer :: evals
    x = start
    call model(power, x, f0, exact)
    jac = -99d0
    state = 0
    evals = 0
    do
      call U3NJAC_COMPUTE(ig, x, typical, status, f, coloff, cols, minstep, relstep, jac, state, ierr)
      call check(ierr == 0, 'U3NJAC_COMPUTE')
      if (state /= 1) exit
      call model(power, x, f, moved)
      evals = evals + 1
    end do
    call check(state == 2, 'loop ends in state 2')
    call check(evals == 5, 'one evaluation at the start and one per group')
    call check(all(x == start), 'variables restored')
    call check(all(f == f0), 'residuals restored')
    worst = maxval(abs(jac - exact)/max(1d0, abs(exact)))
  end function drive
end module vgroups_checks

program vgroups
  use vgroups_checks
  implicit none
  integer(8) :: ig, ig2, ierr, k, j
  integer(8), parameter :: damaged_count(4) = [-1, 1, 1, 0], damaged_records(4) = 2*ncol + nrow + [1, 0, 2, 2]
  character(*), parameter :: damage(4) = [character(17) :: 'negative count', 'four bytes short', &
                                          'list does not fit', 'row starts from 7']
  real(8) :: err1, err2
  character(100) :: reported
  integer(8) :: order(5), work(4)
  character(*), parameter :: report_lines(4) = [character(45) :: &
                             ' Group    1 contains variables:    101    103', &
                             ' Group    2 contains variables:    102    104', &
                             ' Group    3 contains variables:    105', ' Group    4 contains variables:    106']

  ! Positions grouped by key, in increasing position within a key; work ends
  ! with where each key starts in order, then nnz + 1.
  call U3_BKSORT(3_8, 5_8, [2_8, 1_8, 2_8, 3_8, 1_8], order, work)
  call check(all(order == [2, 5, 1, 3, 4]), 'U3_BKSORT order')
  call check(all(work == [1, 3, 5, 6]), 'U3_BKSORT key starts')
  call U3_BKSORT(3_8, 5_8, [2_8, 1_8, 4_8, 3_8, 1_8], order, work)
  call check(all(order == [2, 5, 1, 3, 4]) .and. all(work == [1, 3, 5, 6]), 'U3_BKSORT: a key past n writes nothing')

  ! The file holds the object before and after its groups are computed.
  open (unit=41, file='vgroups.grp', form='unformatted', access='sequential', status='replace')
  call U3VGRP_CREATE(ncol, nrow, nnz, ig)
  call U3VGRP_SAVE_TO_FILE(41_8, ig)
  call U3VGRP_COMPUTE(rows, cols, status, 0_8, coloff, 0_8, ig, ierr)
  err1 = drive(ig, 1, at_linear, 1d-6)
  call check(err1 <= 1d-6, 'linear model reproduces A')

  ! First order: a tenth of the step, a tenth of the error.
  err1 = drive(ig, 3, [1d0, -2d0, 0.5d0, 3d0, 1.5d0, -0.7d0], 1d-3)
  err2 = drive(ig, 3, [1d0, -2d0, 0.5d0, 3d0, 1.5d0, -0.7d0], 1d-4)
  call check(err2 < 2d-4, 'cubic model within twice the step of the analytic Jacobian')
  call check(err1/err2 > 8d0 .and. err1/err2 < 12d0, 'error falls with the step')

  ! Saved and read back, the groups give the same Jacobian.
  call U3VGRP_SAVE_TO_FILE(41_8, ig)
  write (41) 7_8
  rewind (41)
  call U3VGRP_READ_FM_FILE(41_8, ig2)
  call check(ig2 /= 0, 'an object without groups read back')
  call U3VGRP_DESTROY(ig2)
  call U3VGRP_READ_FM_FILE(41_8, ig2)
  read (41) k
  call check(k == 7, 'the group file ends after the row starts')
  err1 = drive(ig2, 1, at_linear, 1d-6)
  call check(err1 <= 1d-6, 'groups read back')
  call U3VGRP_DESTROY(ig2)
  call check(ig2 == 0, 'U3VGRP_DESTROY')

  ! Damaged files read as nothing and leave the unit at a record of 7; history goes to unit 42.
  open (42, status='scratch')
  call rtohis_set_hisDev(rtoPipe_fortran_output(42_c_int32_t))
  ! Nothing but one object, saved and read without a message.
  rewind (41)
  call U3VGRP_SAVE_TO_FILE(41_8, ig)
  endfile (41)
  rewind (41)
  call U3VGRP_READ_FM_FILE(41_8, ig2)
  call check(ig2 /= 0, 'a file of exactly one object read')
  call U3VGRP_DESTROY(ig2)
  ! Files stop at the 40-byte sizes record: the list's first record is refused
  ! (seen with an 8-byte buffer only).
  rewind (41)
  call check(vgroups_limit_file_size(40_8) == 0, 'file size limited')
  call U3VGRP_SAVE_TO_FILE(41_8, ig)
  call check(vgroups_lift_file_size_limit() == 0, 'file size limit lifted')
  ! An empty file: not even the sizes can be read.
  rewind (41)
  endfile (41)
  rewind (41)
  call U3VGRP_READ_FM_FILE(41_8, ig2)
  call check(ig2 == 0, 'an empty file')
  do j = 1, 4
    rewind (41)
    write (41) damaged_count(j), ncol, nrow, nnz
    do k = 1, damaged_records(j)
      write (41) 7_8
    end do
    if (j == 2) write (41) 7
    rewind (41)
    call U3VGRP_READ_FM_FILE(41_8, ig2)
    read (41) k
    call check(ig2 == 0 .and. k == 7, damage(j))
  end do
  close (41, status='delete')
  call U3VGRP_REPORT_BY_IDX(ig, 100_8)
  call RTOHIS_FLUSH()
  rewind (42)
  read (42, '(a)') reported
  ! 27: EFBIG, a write past the limit.
  call check(reported == '!! u3vgrp_save_to_file: transfer on unit 41 failed (status 27)', &
             'refused write reported')
  ! Each message is followed by a blank record.
  read (42, '(/a)') reported
  call check(reported == '!! u3vgrp_read_fm_file: transfer on unit 41 failed (status -1)', &
             'empty file reported')
  read (42, '(/a)') reported
  call check(reported == &
             '!! u3vgrp_read_fm_file: the file on unit 41 is too short for 6 columns and 5 rows', &
             'short file reported')
  ! The report follows the other damaged files' messages. Columns 1 and 3, and
  ! 2 and 4, share no row: four groups, every column moved by 100, each after
  ! a blank line.
  do
    read (42, '(a)') reported
    if (reported(1:2) /= '!!' .and. reported /= '') exit
  end do
  call check(reported == ' Number of groups detected =   4', 'report: the count')
  do j = 1, 4
    read (42, '(/a)') reported
    call check(reported == report_lines(j), 'report: group line')
  end do

  call U3VGRP_DESTROY(ig)
  print '(a)', 'vgroups: all calls behaved'
end program vgroups
