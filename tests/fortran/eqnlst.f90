! An equation list worked through the Fortran entry points: names from a
! fixed-width block, a field and packed words; residuals and status words
! written through their columns' plex indices in the ZARN_PLEX anchor; the
! three largest residuals read back.
subroutine put(x, ip, values, n)
  real(8) :: x(*), values(*)
  integer(8) :: ip
  integer(4) :: n
  x(ip:ip + n - 1) = values(1:n)
end subroutine put

subroutine iput(k, ip, values, n)
  integer(8) :: k(*), values(*)
  integer(8) :: ip
  integer(4) :: n
  k(ip:ip + n - 1) = values(1:n)
end subroutine iput

program eqnlst
  use iso_c_binding
  implicit none
  interface
    integer(c_intptr_t) function rtoeqnlst_create(capacity) bind(C)
      import :: c_int32_t, c_intptr_t
      integer(c_int32_t), value :: capacity
    end function rtoeqnlst_create
    subroutine rtoeqnlst_destroy(list) bind(C)
      import :: c_intptr_t
      integer(c_intptr_t) :: list
    end subroutine rtoeqnlst_destroy
    subroutine rtoeqnlst_inq_max_residuals(list, first, last, n, flag, out) bind(C)
      import :: c_int32_t, c_intptr_t
      integer(c_intptr_t), value :: list
      integer(c_int32_t), value :: first, last, n, flag
      integer(c_int32_t) :: out(*)
    end subroutine rtoeqnlst_inq_max_residuals
    integer(c_intptr_t) function rtoeqnlst_inq_eqn_blockptr(list, i) bind(C)
      import :: c_int32_t, c_intptr_t
      integer(c_intptr_t), value :: list
      integer(c_int32_t), value :: i
    end function rtoeqnlst_inq_eqn_blockptr
  end interface
  real(8), target :: plex(1)
  common /zplex/ plex
  bind(C, name='ZARN_PLEX') :: /zplex/
  integer(8) :: RTOEQNLST_INQ_NEQN_F, RTOEQNLST_INQ_CAPACITY_F, RTOEQNLST_ABSOLUTE_INDEX_F
  integer(8) :: RTOEQNLST_EQNNAME2INDEX, RTOEQNLST_ADDEQNS_F
  integer(8) :: list, ipr, ipt, ips, ipg, words(1)
  integer(c_int32_t) :: top(3)
  real(8) :: packed(1)
  character(len=8) :: names(5), fields(5), name
  ! The anchor reached through an opaque address, so that the optimiser does
  ! not take the one-element declaration as the array's real extent.
  type(c_ptr), volatile :: at
  real(8), pointer, contiguous :: anchor(:)
  integer(8), pointer, contiguous :: ianchor(:)

  at = c_loc(plex)
  call c_f_pointer(at, anchor, [1])
  call c_f_pointer(at, ianchor, [1])
  list = rtoeqnlst_create(4)
  call RTOEQNLST_RESIZE_F(list, 5_8)
  call RTOEQNLST_SET_NEQN_F(list, 5_8)
  if (RTOEQNLST_INQ_NEQN_F(list) /= 5 .or. RTOEQNLST_INQ_CAPACITY_F(list) /= 5) error stop 'size'
  names = ['MASS    ', 'ENERGY  ', 'EQUIL1  ', 'EQUIL2  ', 'SPARE   ']
  if (RTOEQNLST_ADDEQNS_F(list, 1_8, 5_8, 8_8, names) /= 5) error stop 'named from a block'
  call RTOEQNLST_ADDEQN_F(list, 5_8, 'SUMX')
  words(1) = transfer('SX.1    ', words(1))
  call RTOEQNLST_ADDEQN_I4_F(list, 4_8, words, 1_8)
  packed(1) = transfer('SUMY.ALL', packed(1))
  call RTOEQNLST_ADDEQN_R8_F(list, 3_8, packed, 1_8)
  call RTOEQNLST_INQ_EQN_NAME_F(list, 4_8, name)
  fields = '********'
  call RTOEQNLST_NAMES_F(list, 1_8, 5_8, 8_8, fields)
  if (RTOEQNLST_EQNNAME2INDEX(list, 'SUMX') /= 5 .or. name /= 'SX.1' .or. fields(2) /= 'ENERGY**' &
      .or. fields(3) /= 'SUMY.ALL' .or. RTOEQNLST_ABSOLUTE_INDEX_F(list, 2_8) /= 2) error stop 'names'

  ! Equation 2 excluded: the largest included residuals are 3, 5 and 4.
  call RTOEQNLST_ZARN_LBE(list, ipr)
  call RTOEQNLST_ZARN_LBESTAT(list, ipt)
  call put(anchor, ipr, [0.5d0, -40.0d0, 12.0d0, -3.0d0, 7.0d0], 5)
  call iput(ianchor, ipt, [0_8, 1_8, 0_8, 0_8, 0_8], 5)
  call rtoeqnlst_inq_max_residuals(list, 1, 5, 3, 0, top)
  if (any(top /= [3, 5, 4])) error stop 'largest residuals'

  ips = 0
  ipg = 0
  call RTOEQNLST_ZARN_LBESCL(list, ips)
  call RTOEQNLST_ZARN_LBEGROUP(list, ipg)
  if (ips == ipr .or. ipg == ipt .or. ips == 0 .or. ipg == 0) error stop 'scale and group columns'
  call RTOEQNLST_SET_EQN_BLOCKPTR_INT_F(list, 2_8, 4096_8)
  if (rtoeqnlst_inq_eqn_blockptr(list, 2) /= 4096) error stop 'block object of equation 2'
  call RTOEQNLST_SET_EQN_BLOCKPTR_INT_F(list, 2_8, 2147483648_8)
  if (rtoeqnlst_inq_eqn_blockptr(list, 2) /= -2147483648_8) error stop 'block object from 2**31: sign-extended'
  call rtoeqnlst_destroy(list)
  if (list /= 0) error stop 'handle cleared'
  print '(a)', 'eqnlst: all checks passed'
end program eqnlst
