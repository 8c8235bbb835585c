! Builds a variable list and works on it through the Fortran entry points:
! names in fixed-length fields, values through the VALUE column's plex index
! in the ZARN_PLEX anchor array, checks through RTOVARLST_INQ_VAR_VALUE_F.

! The VALUE column (or any double column) as an element range of the anchor array.
subroutine fill_values(x, ip, n)
  real(8) :: x(*)
  integer(8) :: ip
  integer(4) :: n, i
  x(ip:ip + n - 1) = [(100.0d0 + i, i = 1, n)]
end subroutine fill_values

real(8) function sum_values(x, ip, n)
  real(8) :: x(*)
  integer(8) :: ip
  integer(4) :: n
  sum_values = sum(x(ip:ip + n - 1))
end function sum_values

program varlst
  use iso_c_binding, only: c_int32_t, c_intptr_t, c_ptr, c_loc, c_f_pointer
  use test_checks
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
  integer(4) :: RTOVARLST_INQ_NVAR_F, RTOVARLST_VARNAME2INDEX, RTOVARLST_INQ_CAPACITY_F, &
      RTOVARLST_SUPER_INDEX_F
  integer(4) :: RTOVARLST_INQ_VAR_UOM_F, RTOVARLST_INQ_VAR_CONN_TYPE_F, RTOVARLST_INQ_VAR_QUALITY_F
  integer(4) :: RTOVARLST_INQ_VAR_PARAM_HOMO_F, RTOVARLST_INQ_VAR_RAMPED_F
  integer(4) :: RTOVARLST_INQ_VAR_MODIFIED_MASK1_F, RTOVARLST_INQ_VAR_MODIFIED_MASK2_F
  real(8) :: RTOVARLST_INQ_VAR_VALUE_F, RTOVARLST_INQ_VAR_TARGET_HOMO_F, RTOVARLST_INQ_VAR_STEP_F
  real(8) :: RTOVARLST_INQ_VAR_STEP_INBASEUOM_F, RTOVARLST_INQ_VAR_THRESHOLD_F, RTOVARLST_INQ_VAR_SCALE_F
  real(8) :: RTOVARLST_INQ_VAR_SBWEIGHT_F, RTOVARLST_VALUEINSI2BASEUOM_F, RTOVARLST_VALUEINBASEUOM2SI_F, &
      sum_values
  integer(8) :: list, ip, ipx, ips(3), words(2)
  integer(4) :: n, i, insi
  real(8) :: packed(1)
  character(len=12) :: text
  character(len=8) :: bytes, names(5)
  character(len=16) :: name
  ! The anchor reached through an opaque address, so that the optimiser does
  ! not take the one-element declaration as the array's real extent.
  type(c_ptr), volatile :: at
  real(8), pointer, contiguous :: anchor(:)

  at = c_loc(plex)
  call c_f_pointer(at, anchor, [1])
  n = 5
  insi = 0
  list = rtovarlst_create(n)
  call RTOVARLST_SET_NVAR_F(list, n)
  call check(list /= 0_8 .and. RTOVARLST_INQ_NVAR_F(list) == 5, 'five variables')
  do i = 1, n
    write (name, '(a,i0)') 'STAGE', i
    call RTOVARLST_ADDVAR_F(list, i, name)
  end do
  call check(RTOVARLST_VARNAME2INDEX(list, 'STAGE3') == 3 &
             .and. RTOVARLST_VARNAME2INDEX(list, 'STAGE9') == 0, 'names')
  call RTOVARLST_INQ_VAR_NAME_F(list, 4, name)
  call check(name == 'STAGE4', 'name of variable 4, blank-padded')

  ! Values through the plex index of the VALUE column, both ways.
  call RTOVARLST_ZARN_LBX(list, ip)
  call fill_values(anchor, ip, n)
  call check(RTOVARLST_INQ_VAR_VALUE_F(list, 5, insi) == 105.0d0, 'value written through ZARN_PLEX')
  call RTOVARLST_SET_VAR_VALUE_F(list, 2, 7.5d0, insi)
  call check(sum_values(anchor, ip, n) == 420.5d0, 'value set by the twin seen in ZARN_PLEX')
  call check(RTOVARLST_INQ_VAR_VALUE_F(list, 9, insi) == 0.0d0, 'beyond n reads zero')

  ! Names into fixed-width fields: a short name leaves the field's tail.
  names = '********'
  call RTOVARLST_NAMES_F(list, 1, 5, 8, names)
  call check(names(1) == 'STAGE1**' .and. names(5)(1:6) == 'STAGE5', 'names into 8-byte fields')

  ! Every other twin, by a write and the read that sees it.
  call check(RTOVARLST_INQ_CAPACITY_F(list) == 5, 'capacity')
  call RTOVARLST_RESIZE_F(list, 6)
  call check(RTOVARLST_INQ_CAPACITY_F(list) == 6 .and. RTOVARLST_SUPER_INDEX_F(list, 2) == 2, &
             'resize, parent')
  call RTOVARLST_SET_VAR_LOWER_F(list, 1, -1.0d0, insi)
  call RTOVARLST_SET_VAR_UPPER_F(list, 1, 9.0d0, insi)
  call RTOVARLST_SET_VAR_SLVSCL_F(list, 1, 8.0d0, insi)
  call RTOVARLST_SET_VAR_INITIAL_F(list, 1, 7.0d0, insi)
  call RTOVARLST_SET_VAR_TARGET_HOMO_F(list, 1, 6.0d0, insi)
  call check(RTOVARLST_INQ_VAR_TARGET_HOMO_F(list, 1, insi) == 6.0d0, 'target')
  call RTOVARLST_ZARN_LBXLB(list, ipx)
  call check(sum_values(anchor, ipx, 1) == -1.0d0, 'lower bound through ZARN_PLEX')
  call RTOVARLST_ZARN_LBXUB(list, ipx)
  call check(sum_values(anchor, ipx, 1) == 9.0d0, 'upper bound through ZARN_PLEX')
  call RTOVARLST_ZARN_LBXSOLVSCL(list, ipx)
  call check(sum_values(anchor, ipx, 1) == 8.0d0, 'solver scale through ZARN_PLEX')
  call RTOVARLST_ZARN_LBXINIT(list, ipx)
  call check(sum_values(anchor, ipx, 1) == 7.0d0, 'initial value through ZARN_PLEX')
  call RTOVARLST_ZARN_LBXSCL(list, ipx)
  call check(ipx /= 0_8 .and. sum_values(anchor, ipx, 1) == RTOVARLST_INQ_VAR_SCALE_F(list, 1), 'scale')
  call RTOVARLST_ZARN_LBXSHADOW(list, ips(1)); call RTOVARLST_ZARN_LBXSTAT(list, ips(2))
  call RTOVARLST_ZARN_LBXBASEUOM(list, ips(3))
  call check(all(ips /= 0_8) .and. ips(1) /= ips(2), 'plex indices of SHADOW_PRICE, STATUS, BASEUOM')
  call RTOVARLST_SET_VAR_STEP_F(list, 1, 0.5d0)
  call RTOVARLST_SET_VAR_STEP_INBASEUOM_F(list, 2, 0.25d0)
  call check(RTOVARLST_INQ_VAR_STEP_F(list, 1) == 0.5d0 &
             .and. RTOVARLST_INQ_VAR_STEP_INBASEUOM_F(list, 2) == 0.25d0, &
             'steps')
  call RTOVARLST_SET_VAR_THRESHOLD_F(list, 1, 0.125d0)
  call RTOVARLST_SET_VAR_SBWEIGHT_F(list, 1, 2.5d0)
  call check(RTOVARLST_INQ_VAR_THRESHOLD_F(list, 1) == 0.125d0 &
             .and. RTOVARLST_INQ_VAR_SBWEIGHT_F(list, 1) == 2.5d0, &
             'threshold, sbweight')
  call check(RTOVARLST_INQ_VAR_SCALE_F(list, 1) == 1.0d35, 'scale undefined')
  call RTOVARLST_SET_VAR_UOM_F(list, 1, 2); call check(RTOVARLST_INQ_VAR_UOM_F(list, 1) == 2, 'uom')
  call RTOVARLST_SET_PHYSICAL_TYPE_F(list, 1, 22)
  call RTOVARLST_SET_UOM_VALUE_F(list, 1, 1)
  call check(RTOVARLST_INQ_VAR_UOM_F(list, 1) == 1, 'checked unit change')
  call RTOVARLST_SET_SPEC_VALUE_F(list, 1, 1)
  call RTOVARLST_SET_VAR_CONN_TYPE_F(list, 1, 7)
  call RTOVARLST_SET_VAR_QUALITY_F(list, 1, 2)
  call check(RTOVARLST_INQ_VAR_CONN_TYPE_F(list, 1) == 7 .and. RTOVARLST_INQ_VAR_QUALITY_F(list, 1) == 2, &
             'conn, quality')
  call RTOVARLST_SET_VAR_PARAM_HOMO_F(list, 1, 1)
  call RTOVARLST_SET_VAR_RAMPED_F(list, 1, 1)
  call check(RTOVARLST_INQ_VAR_PARAM_HOMO_F(list, 1) == 1 .and. RTOVARLST_INQ_VAR_RAMPED_F(list, 1) == 1, &
             'flags')
  call RTOVARLST_SET_VAR_MODIFIED_MASK_F(list, 1, 4)
  call check(RTOVARLST_INQ_VAR_MODIFIED_MASK1_F(list, 1) == 4 &
             .and. RTOVARLST_INQ_VAR_MODIFIED_MASK2_F(list, 1) == 0, &
             'masks')
  text = '************'
  call RTOVARLST_INQ_VAR_MODIFIED_STRING_F(list, 1, text)
  call check(text == '4;0', 'modification record as text')
  call check(RTOVARLST_VALUEINBASEUOM2SI_F(list, 2, 3.0d0) == 3.0d0, 'no unit: no conversion')
  call check(RTOVARLST_VALUEINSI2BASEUOM_F(list, 2, 3.0d0) == 3.0d0, 'no unit: no conversion back')
  words = transfer('AB.C    ', words(1))
  call RTOVARLST_ADDVAR_I4_F(list, 2, words, 1)
  packed(1) = transfer('RB.CD   ', packed(1))
  call RTOVARLST_ADDVAR_R8_F(list, 3, packed, 1)
  call check(RTOVARLST_VARNAME2INDEX(list, 'AB.C') == 2 .and. RTOVARLST_VARNAME2INDEX(list, 'RB.CD') == 3, &
             'names packed four and eight to a word')
  call RTOVARLST_SET_VAR_DECSRIPTION_I4_F(list, 1, words, 1)
  text = '*'
  call RTOVARLST_INQ_VAR_DESCRIPTION_F(text, %val(int(len(text), 8)), list, 1)
  call check(text == 'AB.C', 'description packed four to a word')
  call RTOVARLST_SET_VAR_DECSRIPTION_R8_F(list, 1, packed, 1)
  call RTOVARLST_INQ_VAR_DESCRIPTION_F(text, %val(int(len(text), 8)), list, 1)
  call check(text == 'RB.CD', 'description packed eight to a word')
  call RTOVARLST_SET_VAR_BLOCKPTR_INT_F(list, 1, 0_8)
  bytes = 'abcdefg '
  call MEMMOVE_F(bytes(2:2), bytes(1:1), 3_8); call check(bytes == 'aabcefg ', 'bytes moved, overlap allowed')

  call rtovarlst_destroy_c(list); call check(list == 0_8, 'handle cleared')
  print '(a)', 'varlst: all checks passed'
end program varlst
