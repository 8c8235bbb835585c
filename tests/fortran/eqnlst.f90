! Builds an equation list and works on it through the Fortran entry points:
! names in fixed-length fields and packed words, residuals written through
! the RESIDUAL column's plex index in the ZARN_PLEX anchor array, then the
! largest residuals and the norm read back.
module eqnlst_checks
  implicit none
contains
  subroutine check(ok, what)
    logical, intent(in) :: ok
    character(*), intent(in) :: what
    if (.not. ok) error stop 'FAILED: '//what
  end subroutine check
end module eqnlst_checks

! A double column as an element range of the anchor array.
subroutine put_reals(x, ip, values, n)
  real(8) :: x(*), values(*)
  integer(8) :: ip
  integer(4) :: n
  x(ip:ip + n - 1) = values(1:n)
end subroutine put_reals

real(8) function real_at(x, ip)
  real(8) :: x(*)
  integer(8) :: ip
  real_at = x(ip)
end function real_at

! An integer column, reached through the same anchor seen as 8-byte integers.
subroutine put_ints(k, ip, values, n)
  integer(8) :: k(*), values(*)
  integer(8) :: ip
  integer(4) :: n
  k(ip:ip + n - 1) = values(1:n)
end subroutine put_ints

integer(8) function int_at(k, ip)
  integer(8) :: k(*)
  integer(8) :: ip
  int_at = k(ip)
end function int_at

program eqnlst
  use iso_c_binding, only: c_int32_t, c_intptr_t, c_double, c_ptr, c_loc, c_f_pointer
  use eqnlst_checks
  implicit none
  interface
    function rtoeqnlst_create(capacity) bind(C, name='rtoeqnlst_create')
      import :: c_int32_t, c_intptr_t
      integer(c_int32_t), value :: capacity
      integer(c_intptr_t) :: rtoeqnlst_create
    end function rtoeqnlst_create
    subroutine rtoeqnlst_destroy(list) bind(C, name='rtoeqnlst_destroy')
      import :: c_intptr_t
      integer(c_intptr_t) :: list
    end subroutine rtoeqnlst_destroy
    subroutine rtoeqnlst_inq_max_residuals(list, first, last, n, flag, out) &
        bind(C, name='rtoeqnlst_inq_max_residuals')
      import :: c_int32_t, c_intptr_t
      integer(c_intptr_t), value :: list
      integer(c_int32_t), value :: first, last, n, flag
      integer(c_int32_t) :: out(*)
    end subroutine rtoeqnlst_inq_max_residuals
    subroutine rtoeqnlst_norm(list, first, last, out) bind(C, name='rtoeqnlst_norm')
      import :: c_int32_t, c_intptr_t, c_double
      integer(c_intptr_t), value :: list
      integer(c_int32_t), value :: first, last
      real(c_double) :: out
    end subroutine rtoeqnlst_norm
  end interface
  real(8), target :: plex(1)
  common /zplex/ plex
  bind(C, name='ZARN_PLEX') :: /zplex/
  integer(8) :: RTOEQNLST_INQ_NEQN_F, RTOEQNLST_INQ_CAPACITY_F, RTOEQNLST_ABSOLUTE_INDEX_F
  integer(8) :: RTOEQNLST_EQNNAME2INDEX, RTOEQNLST_ADDEQNS_F, int_at
  real(8) :: real_at
  integer(8) :: list, ipr, ips, ipt, ipg, words(2), status(6), named
  integer(c_int32_t) :: top(3)
  real(8) :: residual(6), packed(1), norm
  character(len=8) :: names(6), fields(6)
  character(len=16) :: name
  ! The anchor reached through an opaque address, so that the optimiser does
  ! not take the one-element declaration as the array's real extent.
  type(c_ptr), volatile :: at
  real(8), pointer, contiguous :: anchor(:)
  integer(8), pointer, contiguous :: ianchor(:)

  at = c_loc(plex)
  call c_f_pointer(at, anchor, [1])
  call c_f_pointer(at, ianchor, [1])
  list = rtoeqnlst_create(4)
  call check(list /= 0_8 .and. RTOEQNLST_INQ_CAPACITY_F(list) == 4_8, 'a list of capacity 4')
  call RTOEQNLST_RESIZE_F(list, 6_8)
  call RTOEQNLST_SET_NEQN_F(list, 6_8)
  call check(RTOEQNLST_INQ_NEQN_F(list) == 6_8 .and. RTOEQNLST_INQ_CAPACITY_F(list) == 6_8, 'six equations')

  ! Names: a block of fixed-width fields, one field, packed words.
  names = ['MASS1   ', 'MASS2   ', 'ENERGY  ', 'EQUIL1  ', 'EQUIL2  ', 'SPARE   ']
  named = RTOEQNLST_ADDEQNS_F(list, 1_8, 6_8, 8_8, names)
  call check(named == 6_8, 'six named from the block')
  call RTOEQNLST_ADDEQN_F(list, 6_8, 'SUMX')
  call check(RTOEQNLST_EQNNAME2INDEX(list, 'SUMX') == 6_8 .and. RTOEQNLST_EQNNAME2INDEX(list, 'SPARE') == 0_8, &
             'renamed by a field')
  words = transfer('SX.1    ', words(1))
  call RTOEQNLST_ADDEQN_I4_F(list, 6_8, words, 1_8)
  call check(RTOEQNLST_EQNNAME2INDEX(list, 'SX.1') == 6_8, 'name packed four characters to a word')
  packed(1) = transfer('SUMX.ALL', packed(1))
  call RTOEQNLST_ADDEQN_R8_F(list, 6_8, packed, 1_8)
  call check(RTOEQNLST_EQNNAME2INDEX(list, 'SUMX.ALL') == 6_8, 'name packed eight characters to a word')
  call RTOEQNLST_INQ_EQN_NAME_F(list, 3_8, name)
  call check(name == 'ENERGY', 'name of equation 3, blank-padded')
  fields = '********'
  call RTOEQNLST_NAMES_F(list, 1_8, 6_8, 8_8, fields)
  call check(fields(3) == 'ENERGY**' .and. fields(6) == 'SUMX.ALL', 'names into 8-byte fields')
  call check(RTOEQNLST_ABSOLUTE_INDEX_F(list, 5_8) == 5_8, 'a head numbers its own equations')

  ! Residuals through ZARN_PLEX; equation 2 excluded through its status word.
  call RTOEQNLST_ZARN_LBE(list, ipr)
  residual = [0.5d0, -40.0d0, 12.0d0, -3.0d0, 7.0d0, 1.0d-3]
  call put_reals(anchor, ipr, residual, 6)
  call RTOEQNLST_ZARN_LBESTAT(list, ipt)
  status = [0_8, 1_8, 0_8, 0_8, 0_8, 0_8]
  call put_ints(ianchor, ipt, status, 6)
  call rtoeqnlst_inq_max_residuals(list, 1, 6, 3, 0, top)
  call check(all(top == [3, 5, 4]), 'the three largest included residuals')
  call rtoeqnlst_norm(list, 1, 6, norm)
  call check(abs(norm - sqrt(0.25d0 + 144.0d0 + 9.0d0 + 49.0d0 + 1.0d-6)) < 1.0d-12, 'norm of the included equations')

  ! The other columns by plex index.
  call RTOEQNLST_ZARN_LBESCL(list, ips)
  call put_reals(anchor, ips, [2.0d0], 1)
  call RTOEQNLST_ZARN_LBEGROUP(list, ipg)
  call put_ints(ianchor, ipg, [9_8], 1)
  call check(ips /= ipr .and. real_at(anchor, ips) == 2.0d0 .and. int_at(ianchor, ipg) == 9_8, 'scale and group columns')
  call check(int_at(ianchor, ipt + 1) == 1_8, 'status column read back')
  call RTOEQNLST_SET_EQN_BLOCKPTR_INT_F(list, 1_8, 0_8)

  call rtoeqnlst_destroy(list)
  call check(list == 0_8, 'handle cleared')
  print '(a)', 'eqnlst: all checks passed'
end program eqnlst
