! A Fortran program without a C host, through the module zarnutils only (so
! the compiler checks every call): a list and its name digest, an X-file saved
! and restored by index into a second list, the query callback. Built in the
! tree (fortran.module_consumer) and against an installed copy found with
! pkg-config (install.consumers).
module consumer_names
  use, intrinsic :: iso_c_binding
  implicit none
  integer :: seen = 0
contains
  subroutine count_name(name) bind(C)
    type(c_ptr), value :: name
    if (c_associated(name)) seen = seen + 1
  end subroutine count_name
end module consumer_names

program consumer
  use, intrinsic :: iso_c_binding
  use zarnutils
  use consumer_names
  implicit none
  character(len=*), parameter :: file = 'consumer.xf'
  ! MD5 of "ABC", the names one after the other
  integer(c_int64_t), parameter :: md5(16) = int([144, 47, 189, 210, 177, 223, 12, 79, 112, 180, 165, 210, &
                                                  53, 37, 233, 50], c_int64_t)
  integer(c_intptr_t) :: list, copy
  integer(c_int64_t) :: digest(16), flags(25) = 0, unit, by_name
  integer(c_int64_t) :: starts(2), groups(2), ngroups, err
  integer :: scratch

  list = make_list(2.5_c_double)
  if (RTOVARLST_NAME_DIGEST_F(list, digest) /= 2) error stop 'two names digested'
  if (any(digest /= md5)) error stop 'digest of the names'
  flags([1, 4]) = 1
  unit = RTXFILE_OPEN(file, digest, 1_c_int64_t, flags, by_name)
  call RTXFILE_SAVE_VARIABLE(unit, list, 1_c_int64_t, 2_c_int64_t, flags)
  call RTXFILE_CLOSE(unit)

  copy = make_list(0.0_c_double)
  unit = RTXFILE_OPEN(file, digest, 0_c_int64_t, flags, by_name)
  if (by_name /= 0) error stop 'opened by index'
  if (RTO_INQ_XFILE_VERSION_F() /= 2004) error stop 'version 2004'
  if (RTXFILE_RESTORE_VARIABLE(unit, copy, flags, by_name, 0_c_int64_t, [' '], [' ']) /= 0) &
      error stop 'restore'
  call RTXFILE_CLOSE(unit)
  if (RTOVARLST_INQ_VAR_VALUE_F(copy, 2_c_int32_t, 0_c_int32_t) /= 5.0_c_double) error stop 'restored value'
  unit = RTXFILE_OPEN(file, digest, 0_c_int64_t, flags, by_name)
  if (RTXFILE_QUERY(unit, flags, count_name) /= 0) error stop 'query'
  if (seen /= 2) error stop 'a callback per name'
  call RTXFILE_CLOSE(unit)

  call RTOVARLST_DESTROY_F(list)
  call RTOVARLST_DESTROY_F(copy)
  if (list /= 0 .or. copy /= 0) error stop 'handles cleared'
  open (newunit=scratch, file=file)
  close (scratch, status='delete')
  ! A refused grouping (a negative nnz) leaves the caller's number of groups as it was.
  ngroups = -7
  call U3_KPR(1_c_int64_t, 1_c_int64_t, -1_c_int64_t, [1_c_int64_t], [1_c_int64_t], [0_c_int64_t], starts, &
              groups, ngroups, err)
  if (err /= 1 .or. ngroups /= -7) error stop 'U3_KPR: a refused grouping changed ngroups'
  print '(a)', 'Fortran consumer: ok'

contains

  ! Variables A and BC with values x and 2x.
  integer(c_intptr_t) function make_list(x)
    real(c_double), intent(in) :: x
    make_list = RTOVARLST_CREATE_F(2_c_int64_t)
    call RTOVARLST_SET_NVAR_F(make_list, 2_c_int32_t)
    call RTOVARLST_ADDVAR_F(make_list, 1_c_int32_t, 'A')
    call RTOVARLST_ADDVAR_F(make_list, 2_c_int32_t, 'BC')
    call RTOVARLST_SET_VAR_VALUE_F(make_list, 1_c_int32_t, x, 0_c_int32_t)
    call RTOVARLST_SET_VAR_VALUE_F(make_list, 2_c_int32_t, 2 * x, 0_c_int32_t)
  end function make_list

end program consumer
