! Builds a variable list and works on it through the Fortran entry points:
! names in fixed-length fields, values through the VALUE column's plex index
! in the ZARN_PLEX anchor array, checks through RTOVARLST_INQ_VAR_VALUE_F.
module varlst_checks
  implicit none
contains
  subroutine check(ok, what)
    logical, intent(in) :: ok
    character(*), intent(in) :: what
    if (.not. ok) then
      print '(2a)', 'FAILED: ', what
      error stop 1
    end if
  end subroutine check
end module varlst_checks

! The VALUE column as an element range of the anchor array.
subroutine fill_values(x, ip, n)
  implicit none
  real(8) :: x(*)
  integer(8) :: ip
  integer(4) :: n, i
  do i = 1, n
    x(ip + i - 1) = 100.0d0 + i
  end do
end subroutine fill_values

real(8) function sum_values(x, ip, n)
  implicit none
  real(8) :: x(*)
  integer(8) :: ip
  integer(4) :: n, i
  sum_values = 0.0d0
  do i = 1, n
    sum_values = sum_values + x(ip + i - 1)
  end do
end function sum_values

program varlst
  use iso_c_binding, only: c_int32_t, c_intptr_t, c_ptr, c_loc, c_f_pointer
  use varlst_checks
  implicit none
  interface
    function rtovarlst_create(capacity) bind(C, name='rtovarlst_create')
      import :: c_int32_t, c_intptr_t
      integer(c_int32_t), value :: capacity
      integer(c_intptr_t) :: rtovarlst_create
    end function rtovarlst_create
    subroutine rtovarlst_destroy_c(list) bind(C, name='rtovarlst_destroy_c')
      import :: c_intptr_t
      integer(c_intptr_t) :: list
    end subroutine rtovarlst_destroy_c
  end interface
  real(8), target :: plex(1)
  common /zplex/ plex
  bind(C, name='ZARN_PLEX') :: /zplex/
  integer(8) :: list, ip, ipstat
  integer(4) :: n, i, k, insi, nvar, width, first, last
  integer(4) :: RTOVARLST_INQ_NVAR_F, RTOVARLST_VARNAME2INDEX
  real(8) :: RTOVARLST_INQ_VAR_VALUE_F, sum_values, v
  external RTOVARLST_INQ_NVAR_F, RTOVARLST_VARNAME2INDEX, RTOVARLST_INQ_VAR_VALUE_F, sum_values
  character(len=16) :: name
  character(len=8) :: names(5)
  ! The anchor reached through an opaque address, so that the optimiser does
  ! not take the one-element declaration as the array's real extent.
  type(c_ptr), volatile :: at
  real(8), pointer, contiguous :: anchor(:)

  at = c_loc(plex)
  call c_f_pointer(at, anchor, [1])
  n = 5
  list = rtovarlst_create(n)
  call check(list /= 0_8, 'list created')
  call RTOVARLST_SET_NVAR_F(list, n)
  nvar = RTOVARLST_INQ_NVAR_F(list)
  call check(nvar == 5, 'five variables')

  do i = 1, n
    write (name, '(a,i0)') 'STAGE', i
    call RTOVARLST_ADDVAR_F(list, i, name)
  end do
  call check(RTOVARLST_VARNAME2INDEX(list, 'STAGE3') == 3, 'STAGE3 is variable 3')
  call check(RTOVARLST_VARNAME2INDEX(list, 'STAGE9') == 0, 'unknown name')
  k = 4
  call RTOVARLST_INQ_VAR_NAME_F(list, k, name)
  call check(name == 'STAGE4', 'name of variable 4, blank-padded')

  ! Values through the plex index of the VALUE column.
  call RTOVARLST_ZARN_LBX(list, ip)
  call check(ip /= 0_8, 'plex index of VALUE')
  call fill_values(anchor, ip, n)
  insi = 0
  do i = 1, n
    v = RTOVARLST_INQ_VAR_VALUE_F(list, i, insi)
    call check(v == 100.0d0 + i, 'value written through ZARN_PLEX')
  end do
  v = 7.5d0
  k = 2
  call RTOVARLST_SET_VAR_VALUE_F(list, k, v, insi)
  call check(sum_values(anchor, ip + 1, 1) == 7.5d0, 'value set by the twin seen in ZARN_PLEX')
  v = sum_values(anchor, ip, n)
  call check(v == 420.5d0, 'column sum')
  call check(RTOVARLST_INQ_VAR_VALUE_F(list, 9, insi) == 0.0d0, 'beyond n reads zero')

  ! The status column as integers of the same anchor.
  call RTOVARLST_ZARN_LBXSTAT(list, ipstat)
  call check(ipstat /= 0_8, 'plex index of STATUS')

  ! Names into fixed-width fields.
  names = '********'
  width = 8
  first = 1
  last = 5
  call RTOVARLST_NAMES_F(list, first, last, width, names)
  call check(names(1)(1:6) == 'STAGE1' .and. names(1)(7:8) == '**', 'short name leaves the field tail')
  call check(names(5)(1:6) == 'STAGE5', 'fifth name')

  call rtovarlst_destroy_c(list)
  call check(list == 0_8, 'handle cleared')
  print '(a)', 'varlst: all checks passed'
end program varlst
