! Saves a list with 128-character names to an X-file through the upper-case
! entries (implicit interfaces, hidden lengths), restores it by name into a
! changed list, updates it in place, queries it and reads it at low level.
module xfile_checks
  use iso_c_binding
  use test_checks
  implicit none
  integer :: names_seen = 0
contains

  ! Called by RTXFILE_QUERY with each name as a C string.
  subroutine count_name(name) bind(C)
    type(c_ptr), value :: name
    if (c_associated(name)) names_seen = names_seen + 1
  end subroutine count_name
end module xfile_checks

program xfile
  use iso_c_binding
  use xfile_checks
  implicit none
  interface
    function rtovarlst_create(capacity) bind(C, name='rtovarlst_create')
      import :: c_int32_t, c_intptr_t
      integer(c_int32_t), value :: capacity
      integer(c_intptr_t) :: rtovarlst_create
    end function
    function rtovarlst_vec_scale(list) bind(C, name='rtovarlst_vec_scale')
      import :: c_intptr_t, c_ptr
      integer(c_intptr_t), value :: list
      type(c_ptr) :: rtovarlst_vec_scale
    end function
    subroutine rtovarlst_destroy_c(list) bind(C, name='rtovarlst_destroy_c')
      import :: c_intptr_t
      integer(c_intptr_t) :: list
    end subroutine
  end interface
  integer(8) :: RTXFILE_OPEN, RTXFILE_RESTORE_VARIABLE, RTXFILE_RESTORE_EXCEPT, RTXFILE_QUERY, RTO_OPFUNT
  real(8), external :: RTOVARLST_INQ_VAR_VALUE_F
  character(len=128) :: names(3), nm
  character(len=*), parameter :: fname = 'xfile_fortran.xf', tname = 'xfile_fortran.txt'
  character(len=16) :: pat(1), rep(1)
  integer(8) :: list, list2, unit, iu, ierr, byname, first, last, r, stat, idx, eof, su
  integer(8) :: digest(16), digest2(16), flags(25), qflags(25), magic, dig(16), flg(25), ints(11), except(4)
  integer(4) :: i, insi = 0
  real(8) :: reals(9)
  real(8), pointer :: scale(:)

  names = [character(len=128) :: 'PLANT.REACTOR.FEED.TEMPERATURE', 'PLANT.REACTOR.FEED.PRESSURE', &
           'PLANT.COLUMN.TOP.FLOW']
  list = make_list(names, 3)
  do i = 1, 3
    call RTOVARLST_SET_VAR_VALUE_F(list, i, 100.0d0 * i, insi)
  end do
  digest = [(i, i = 1, 16)]  ! the caller's digest of its list; the file only keeps and compares it

  ! The unit table: a unit from 60..99, reserved and freed.
  call RTO_GETIOC(iu, ierr); call check(ierr == 0 .and. iu >= 60 .and. iu <= 99, 'RTO_GETIOC gives a unit')
  call RTO_RESIOC(iu)
  call RTO_FREIOC(iu)

  ! Save names and values.
  flags = 0
  flags([1, 4]) = 1
  unit = RTXFILE_OPEN(fname, digest, 1_8, flags, byname)
  call check(unit >= 60, 'open for saving')
  call RTXFILE_SAVE_VARIABLE(unit, list, 1_8, 3_8, flags)
  call RTXFILE_CLOSE(unit)

  ! Low level: header, the first variable in turn, the third at random, the end word.
  call RTO_OPENRD_XFILE_F(21_8, fname, magic, dig, flg, first, last, stat)
  call check(stat == 0 .and. magic == 2147483646_8 .and. first == 1 .and. last == 3, 'header read')
  call check(all(dig == digest) .and. all(flg(1:4) == [1, 0, 0, 1]), 'digest and flags')
  call RTO_READ_XFILE_F(21_8, idx, nm, ints, reals, eof, stat)
  call check(idx == 1 .and. nm == names(1) .and. reals(1) == 100.0d0 .and. eof == 0, 'first variable')
  call RTO_READ_XREC_F(21_8, 3_8, idx, nm, ints, reals, eof, stat)
  call check(idx == 3 .and. nm == names(3) .and. reals(1) == 300.0d0, 'third variable')
  call RTO_READ_XFILE_F(21_8, idx, nm, ints, reals, eof, stat); call check(eof == 1, 'end word')
  call RTO_CLOSE_XFILE_F(21_8, stat); call check(stat == 0, 'low-level close')

  ! A changed list: reordered, one inserted. Restored by name.
  list2 = make_list([character(len=128) :: names(3), 'PLANT.NEW', names(1), names(2)], 4)
  digest2 = 0
  unit = RTXFILE_OPEN(fname, digest2, 0_8, flags, byname)
  call check(unit >= 60 .and. byname == 1, 'open for reading by name')
  r = RTXFILE_RESTORE_VARIABLE(unit, list2, flags, byname, 0_8, pat, rep)
  call RTXFILE_CLOSE(unit)
  call check(r == 0 .and. all([(value_of(list2, i), i = 1, 4)] == [300d0, 0d0, 100d0, 200d0]), &
             'values by name')

  ! With a substitution and the exception list: the column top becomes PLANT.NEW.
  unit = RTXFILE_OPEN(fname, digest2, 0_8, flags, byname)
  pat(1) = 'COLUMN.TOP.FLOW'
  rep(1) = 'NEW'
  except = [0, 0, 1, 0]
  call RTOVARLST_SET_VAR_VALUE_F(list2, 3, 0.0d0, insi)
  r = RTXFILE_RESTORE_EXCEPT(unit, list2, flags, byname, 1_8, pat, rep, 1_8, except, 0_8)
  call RTXFILE_CLOSE(unit)
  call check(r == 0 .and. value_of(list2, 2) == 300.0d0 .and. value_of(list2, 3) == 0.0d0, &
             'substitution, exception')

  ! Update in place with new values, then restore by index.
  do i = 1, 3
    call RTOVARLST_SET_VAR_VALUE_F(list, i, 7.0d0 * i, insi)
  end do
  qflags = 0
  qflags(4) = 1
  unit = RTXFILE_OPEN(fname, digest, 2_8, qflags, byname)
  call check(unit >= 60, 'open for update')
  call RTXFILE_UPDATE_VARIABLE(unit, list, qflags)
  call RTXFILE_CLOSE(unit)
  call RTOVARLST_SET_VAR_VALUE_F(list, 2, 0.0d0, insi)
  unit = RTXFILE_OPEN(fname, digest, 0_8, flags, byname)
  r = RTXFILE_RESTORE_VARIABLE(unit, list, flags, byname, 0_8, pat, rep)
  call RTXFILE_CLOSE(unit)
  call check(byname == 0 .and. value_of(list, 2) == 14.0d0, &
             'matched by digest, updated value restored by index')

  ! Query: the flags and a call per name.
  unit = RTXFILE_OPEN(fname, digest, 0_8, flags, byname)
  r = RTXFILE_QUERY(unit, qflags, count_name)
  call RTXFILE_CLOSE(unit); call check(r == 0 .and. names_seen == 3 .and. qflags(1) == 1, 'query')

  ! Units and shared text files.
  su = RTO_OPFUNT(10_8, 20_8)
  call check(su >= 10 .and. su <= 20, 'a free unit in 10..20')
  su = 30
  call RTO_SHARE_OPEN(tname, su, stat); call check(stat == 0 .and. su == 30, 'shared file opened')
  write (su, '(a)') 'first'
  call RTO_FLUSH_UNIT(su)
  close (su)
  su = -30
  call RTO_SHARE_OPENEW(tname, su, stat); call check(stat == 0 .and. su >= 30, 'shared file opened empty')
  close (su)
  open (31, file=tname, status='old')
  read (31, '(a)', iostat=i) nm
  close (31, status='delete')
  call check(i /= 0, 'the new file is empty')
  open (31, file=fname, status='old')
  close (31, status='delete')
  call rtovarlst_destroy_c(list)
  call rtovarlst_destroy_c(list2)
  print '(a)', 'xfile: all checks passed'

contains

  integer(8) function make_list(nms, count)
    character(len=128), intent(in) :: nms(:)
    integer, intent(in) :: count
    integer(4) :: k, n4
    n4 = count
    make_list = rtovarlst_create(n4)
    call RTOVARLST_SET_NVAR_F(make_list, n4)
    call c_f_pointer(rtovarlst_vec_scale(make_list), scale, [count])
    do k = 1, n4
      call RTOVARLST_ADDVAR_F(make_list, k, nms(k))
      scale(k) = 1.0d0
      call RTOVARLST_SET_VAR_VALUE_F(make_list, k, 0.0d0, insi)
    end do
  end function

  real(8) function value_of(l, k)
    integer(8), intent(in) :: l
    integer(4), intent(in) :: k
    value_of = RTOVARLST_INQ_VAR_VALUE_F(l, k, insi)
  end function
end program xfile
