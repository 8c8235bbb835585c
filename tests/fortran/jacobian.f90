! A sub-model's window of a Jacobian filled and read through the Fortran entry
! points: numbers set one by one and in bulk by local numbers, the local
! numbers and the values reached by plex index in the ZARN_PLEX anchor, and
! the window's matrix-vector product checked against one computed in C.
program jacobian
  use iso_c_binding
  implicit none
  interface
    integer(c_intptr_t) function rtojac_create(capacity) bind(C)
      import :: c_int32_t, c_intptr_t
      integer(c_int32_t), value :: capacity
    end function rtojac_create
    integer(c_intptr_t) function rtojac_create_embedded(capacity, parent, var, eqn, nz) bind(C)
      import :: c_int32_t, c_intptr_t
      integer(c_int32_t), value :: capacity, var, eqn, nz
      integer(c_intptr_t), value :: parent
    end function rtojac_create_embedded
    subroutine jacobian_c_product(jac, x, y, neqn) bind(C)
      import :: c_intptr_t, c_double, c_int64_t
      integer(c_intptr_t) :: jac
      real(c_double) :: x(*), y(*)
      integer(c_int64_t) :: neqn
    end subroutine jacobian_c_product
    subroutine rtojac_destroy(jac) bind(C)
      import :: c_intptr_t
      integer(c_intptr_t) :: jac
    end subroutine rtojac_destroy
  end interface
  real(8), target :: plex(1)
  common /zplex/ plex
  bind(C, name='ZARN_PLEX') :: /zplex/
  integer(8) :: RTOJAC_INQ_NNZ_F, RTOJAC_INQ_CAPACITY_F, RTOJAC_INQ_NZ_EQNNUM_F, RTOJAC_INQ_NZ_VARNUM_F
  integer(8) :: RTOJAC_ZARN_LBIRN, RTOJAC_ZARN_LBICN
  integer(8) :: head, win, flat, none, ipe, ipv, ipa, iph, copy, k, got
  integer(8) :: rows(6), cols(6)
  real(8) :: a(6), x(4), y(3), yc(3)
  type(c_ptr), volatile :: at
  real(8), pointer, contiguous :: anchor(:)
  integer(8), pointer, contiguous :: ianchor(:)

  at = c_loc(plex)
  call c_f_pointer(at, anchor, [1])
  call c_f_pointer(at, ianchor, [1])
  head = rtojac_create(8)
  call RTOJAC_RESIZE_F(head, 12_8)
  call RTOJAC_SET_NNZ_F(head, 12_8)
  if (RTOJAC_INQ_CAPACITY_F(head) /= 12 .or. RTOJAC_INQ_NNZ_F(head) /= 12) error stop 'head shape'
  ! Nonzeros 4..9 of the head; equation e is the head's e + 1, variable v the head's v + 2.
  win = rtojac_create_embedded(6, head, 3, 2, 4)
  call RTOJAC_SET_NNZ_F(win, 6_8)

  rows = [1, 1, 2, 2, 9, 9]
  cols = [1, 2, 2, 3, 9, 9]
  call RTOJAC_SET_ROWS_F(win, rows)
  call RTOJAC_SET_COLUMNS_F(win, cols)
  call RTOJAC_SET_NZ_EQNNUM_F(win, 5_8, 3_8)
  call RTOJAC_SET_NZ_VARNUM_F(win, 5_8, 4_8)
  call RTOJAC_SET_NZ_COORD_F(win, 6_8, 3_8, 1_8)
  if (RTOJAC_INQ_NZ_EQNNUM_F(win, 5_8) /= 3 .or. RTOJAC_INQ_NZ_VARNUM_F(win, 6_8) /= 1 &
      .or. RTOJAC_INQ_NZ_EQNNUM_F(head, 9_8) /= 4 .or. RTOJAC_INQ_NZ_VARNUM_F(head, 8_8) /= 6) &
    error stop 'numbers through the window'

  ! The values written by plex index, as a solver fills them.
  a = [2.0d0, -1.0d0, 0.5d0, 4.0d0, -3.0d0, 1.25d0]
  call RTOJAC_ZARN_LBBJ(win, ipa)
  anchor(ipa:ipa + 5) = a

  ! Offsets: both number vectors are fresh blocks of local numbers. Each call
  ! stands alone: what it writes back must not be read in the same expression.
  copy = 0
  got = RTOJAC_ZARN_LBIRN(win, ipe, copy)
  if (got /= -1 .or. copy /= -1) error stop 'equation copy'
  copy = 0
  if (RTOJAC_ZARN_LBICN(win, ipv, copy) /= -1) error stop 'variable copy'
  copy = 0
  got = RTOJAC_ZARN_LBIRN(head, iph, copy)
  if (got /= 0 .or. copy /= 0) error stop 'the head lends its own'
  if (any(ianchor(iph + 3:iph + 8) /= ianchor(ipe:ipe + 5) + 1)) error stop 'the head holds the model numbers'

  x = [1.0d0, 2.0d0, 3.0d0, 4.0d0]
  y = 0
  do k = 0, RTOJAC_INQ_NNZ_F(win) - 1
    y(ianchor(ipe + k)) = y(ianchor(ipe + k)) + anchor(ipa + k) * x(ianchor(ipv + k))
  end do
  call jacobian_c_product(win, x, yc, 3_8)
  if (any(y /= yc) .or. any(y /= [0.0d0, 13.0d0, -10.75d0])) error stop 'product'

  call RTO_IFREE(ipe)
  call RTO_IFREE(ipv)
  if (ipe /= 0 .or. ipv /= 0) error stop 'copies freed'

  ! The copy rule further: only bit 0 of a request counts, a window without
  ! number offsets lends the head's array, a copy has capacity cells.
  flat = rtojac_create_embedded(3, head, 1, 1, 10)
  copy = 2
  got = RTOJAC_ZARN_LBIRN(flat, ipe, copy)
  if (got /= 0 .or. copy /= 0 .or. ipe /= iph + 9) error stop 'lent'
  copy = 1
  got = RTOJAC_ZARN_LBICN(flat, ipv, copy)
  if (got /= -1 .or. any(ianchor(ipv:ipv + 2) /= 0)) error stop 'asked'
  call RTO_IFREE(ipv)
  none = 0
  got = RTOJAC_ZARN_LBICN(none, ipv, copy)
  if (got /= 0 .or. ipv /= 0 .or. copy /= 0) error stop 'no Jacobian'
  call RTOJAC_ZARN_LBBJ(none, ipa)
  if (ipa /= 0) error stop 'no values'
  call rtojac_destroy(flat)
  call rtojac_destroy(win)
  call rtojac_destroy(head)
  if (head /= 0) error stop 'handle cleared'
  print '(a)', 'jacobian: all checks passed'
end program jacobian
