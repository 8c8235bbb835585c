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
  integer(4) :: RTOVARLST_INQ_NVAR_F, RTOVARLST_VARNAME2INDEX, RTOVARLST_INQ_CAPACITY_F, RTOVARLST_SUPER_INDEX_F
  integer(4) :: RTOVARLST_INQ_VAR_UOM_F, RTOVARLST_INQ_VAR_CONN_TYPE_F, RTOVARLST_INQ_VAR_QUALITY_F
  integer(4) :: RTOVARLST_INQ_VAR_PARAM_HOMO_F, RTOVARLST_INQ_VAR_RAMPED_F
  integer(4) :: RTOVARLST_INQ_VAR_MODIFIED_MASK1_F, RTOVARLST_INQ_VAR_MODIFIED_MASK2_F
  real(8) :: RTOVARLST_INQ_VAR_VALUE_F, sum_values, v
  real(8) :: RTOVARLST_INQ_VAR_TARGET_HOMO_F, RTOVARLST_INQ_VAR_STEP_F, RTOVARLST_INQ_VAR_STEP_INBASEUOM_F
  real(8) :: RTOVARLST_INQ_VAR_THRESHOLD_F, RTOVARLST_INQ_VAR_SCALE_F, RTOVARLST_INQ_VAR_SBWEIGHT_F
  real(8) :: RTOVARLST_VALUEINSI2BASEUOM_F, RTOVARLST_VALUEINBASEUOM2SI_F
  external RTOVARLST_INQ_NVAR_F, RTOVARLST_VARNAME2INDEX, RTOVARLST_INQ_VAR_VALUE_F, sum_values
  external RTOVARLST_INQ_CAPACITY_F, RTOVARLST_SUPER_INDEX_F, RTOVARLST_INQ_VAR_UOM_F
  external RTOVARLST_INQ_VAR_CONN_TYPE_F, RTOVARLST_INQ_VAR_QUALITY_F, RTOVARLST_INQ_VAR_PARAM_HOMO_F
  external RTOVARLST_INQ_VAR_RAMPED_F, RTOVARLST_INQ_VAR_MODIFIED_MASK1_F, RTOVARLST_INQ_VAR_MODIFIED_MASK2_F
  external RTOVARLST_INQ_VAR_TARGET_HOMO_F, RTOVARLST_INQ_VAR_STEP_F, RTOVARLST_INQ_VAR_STEP_INBASEUOM_F
  external RTOVARLST_INQ_VAR_THRESHOLD_F, RTOVARLST_INQ_VAR_SCALE_F, RTOVARLST_INQ_VAR_SBWEIGHT_F
  external RTOVARLST_VALUEINSI2BASEUOM_F, RTOVARLST_VALUEINBASEUOM2SI_F
  integer(8) :: ipx, words(2), nbytes
  integer(4) :: one, two, code
  real(8) :: packed(1)
  character(len=12) :: text
  character(len=8) :: bytes
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

  ! Every other twin, by a write and the read that sees it.
  one = 1
  two = 2
  call check(RTOVARLST_INQ_CAPACITY_F(list) == 5, 'capacity')
  k = 6
  call RTOVARLST_RESIZE_F(list, k)
  call check(RTOVARLST_INQ_CAPACITY_F(list) == 6, 'capacity after resize')
  call check(RTOVARLST_SUPER_INDEX_F(list, two) == 2, 'a head is its own parent numbering')
  v = -1.0d0
  call RTOVARLST_SET_VAR_LOWER_F(list, one, v, insi)
  v = 9.0d0
  call RTOVARLST_SET_VAR_UPPER_F(list, one, v, insi)
  call RTOVARLST_SET_VAR_SLVSCL_F(list, one, v, insi)
  call RTOVARLST_SET_VAR_INITIAL_F(list, one, v, insi)
  call RTOVARLST_SET_VAR_TARGET_HOMO_F(list, one, v, insi)
  call check(RTOVARLST_INQ_VAR_TARGET_HOMO_F(list, one, insi) == 9.0d0, 'target')
  v = 0.5d0
  call RTOVARLST_SET_VAR_STEP_F(list, one, v)
  call check(RTOVARLST_INQ_VAR_STEP_F(list, one) == 0.5d0, 'step')
  v = 0.25d0
  call RTOVARLST_SET_VAR_STEP_INBASEUOM_F(list, one, v)
  call check(RTOVARLST_INQ_VAR_STEP_INBASEUOM_F(list, one) == 0.25d0, 'step in the base unit')
  call RTOVARLST_SET_VAR_THRESHOLD_F(list, one, v)
  call check(RTOVARLST_INQ_VAR_THRESHOLD_F(list, one) == 0.25d0, 'threshold')
  call check(RTOVARLST_INQ_VAR_SCALE_F(list, one) == 1.0d35, 'scale undefined')
  call RTOVARLST_SET_VAR_SBWEIGHT_F(list, one, v)
  call check(RTOVARLST_INQ_VAR_SBWEIGHT_F(list, one) == 0.25d0, 'sbweight')
  call RTOVARLST_SET_VAR_UOM_F(list, one, two)
  call check(RTOVARLST_INQ_VAR_UOM_F(list, one) == 2, 'uom')
  code = 22
  call RTOVARLST_SET_PHYSICAL_TYPE_F(list, one, code)
  call RTOVARLST_SET_UOM_VALUE_F(list, one, one)
  call check(RTOVARLST_INQ_VAR_UOM_F(list, one) == 1, 'checked unit change')
  call RTOVARLST_SET_SPEC_VALUE_F(list, one, one)
  code = 7
  call RTOVARLST_SET_VAR_CONN_TYPE_F(list, one, code)
  call check(RTOVARLST_INQ_VAR_CONN_TYPE_F(list, one) == 7, 'connection type')
  call RTOVARLST_SET_VAR_QUALITY_F(list, one, two)
  call check(RTOVARLST_INQ_VAR_QUALITY_F(list, one) == 2, 'quality')
  call RTOVARLST_SET_VAR_PARAM_HOMO_F(list, one, one)
  call check(RTOVARLST_INQ_VAR_PARAM_HOMO_F(list, one) == 1, 'param homo')
  call RTOVARLST_SET_VAR_RAMPED_F(list, one, one)
  call check(RTOVARLST_INQ_VAR_RAMPED_F(list, one) == 1, 'ramped')
  code = 4
  call RTOVARLST_SET_VAR_MODIFIED_MASK_F(list, one, code)
  call check(RTOVARLST_INQ_VAR_MODIFIED_MASK1_F(list, one) == 4, 'mask1')
  call check(RTOVARLST_INQ_VAR_MODIFIED_MASK2_F(list, one) == 0, 'mask2')
  text = '************'
  call RTOVARLST_INQ_VAR_MODIFIED_STRING_F(list, one, text)
  call check(text == '4;0', 'modification record as text')
  v = 3.0d0
  call check(RTOVARLST_VALUEINBASEUOM2SI_F(list, two, v) == 3.0d0, 'no unit: no conversion')
  call check(RTOVARLST_VALUEINSI2BASEUOM_F(list, two, v) == 3.0d0, 'no unit: no conversion back')
  call RTOVARLST_ZARN_LBXLB(list, ipx)
  call check(sum_values(anchor, ipx, 1) == -1.0d0, 'lower bound through ZARN_PLEX')
  call RTOVARLST_ZARN_LBXUB(list, ipx)
  call check(sum_values(anchor, ipx, 1) == 9.0d0, 'upper bound through ZARN_PLEX')
  call RTOVARLST_ZARN_LBXSOLVSCL(list, ipx)
  call check(sum_values(anchor, ipx, 1) == 9.0d0, 'solver scale through ZARN_PLEX')
  call RTOVARLST_ZARN_LBXINIT(list, ipx)
  call check(sum_values(anchor, ipx, 1) == 9.0d0, 'initial value through ZARN_PLEX')
  call RTOVARLST_ZARN_LBXSCL(list, ipx)
  call check(ipx /= 0_8, 'plex index of SCALE')
  call RTOVARLST_ZARN_LBXSHADOW(list, ipx)
  call check(ipx /= 0_8, 'plex index of SHADOW_PRICE')
  call RTOVARLST_ZARN_LBXBASEUOM(list, ipx)
  call check(ipx /= 0_8, 'plex index of BASEUOM')
  words = transfer('AB.C    ', words(1))
  call RTOVARLST_ADDVAR_I4_F(list, two, words, one)
  call check(RTOVARLST_VARNAME2INDEX(list, 'AB.C') == 2, 'name packed four to a word')
  packed(1) = transfer('RB.CD   ', packed(1))
  k = 3
  call RTOVARLST_ADDVAR_R8_F(list, k, packed, one)
  call check(RTOVARLST_VARNAME2INDEX(list, 'RB.CD') == 3, 'name packed eight to a word')
  call RTOVARLST_SET_VAR_DECSRIPTION_I4_F(list, one, words, one)
  text = '*'
  call RTOVARLST_INQ_VAR_DESCRIPTION_F(text, %val(int(len(text), 8)), list, one)
  call check(text == 'AB.C', 'description packed four to a word')
  call RTOVARLST_SET_VAR_DECSRIPTION_R8_F(list, one, packed, one)
  call RTOVARLST_INQ_VAR_DESCRIPTION_F(text, %val(int(len(text), 8)), list, one)
  call check(text == 'RB.CD', 'description packed eight to a word')
  ipx = 0
  call RTOVARLST_SET_VAR_BLOCKPTR_INT_F(list, one, ipx)
  bytes = 'abcdefg '
  nbytes = 3
  call MEMMOVE_F(bytes(2:2), bytes(1:1), nbytes)
  call check(bytes == 'aabcefg ', 'bytes moved, overlap allowed')

  call rtovarlst_destroy_c(list)
  call check(list == 0_8, 'handle cleared')
  print '(a)', 'varlst: all checks passed'
end program varlst
