! Calls every numerical-utility entry point as legacy Fortran does: implicit
! interfaces, INTEGER*8 arguments, plex blocks reached through ZARN_PLEX and
! hidden character lengths.

! Permutations and incidence counts; ix and dx are the integer and double views
! of the anchor, so ix(ip) is element 1 of the block at ip.
subroutine permutations(ix, dx)
  use test_checks
  implicit none
  integer(8) :: ix(*)
  real(8) :: dx(*)
  integer(8) :: U3PERM_VAR_CREATE, U3PERM_VAR_CREATE_INCIDENCE, U3PERM_VAR_CREATE_INCIDENCEONLY
  integer(8) :: U3PERM_EQN_CREATE, U3PERM_EQN_CREATE_INCIDENCE, U3PERM_JAC_CREATE
  integer(8) :: U3PERM_JAC_CREATE_INCIDENCE, U3PERM_COMP2UNCOMP, U3PERM_UNCOMP2COMP, USR3_FNDOBJ, &
      RTO_HUGEIMALLOC
  integer(8) :: n, m, k, ipvs, ipes, iprow, ipcol, ipvar, ipeqn, ipnz, ipout, iprel, ipvin, nnz, neqn, &
      ipinc, iplist
  integer(8) :: iv(4), flags(4)
  real(8) :: v(4)

  ! Four variables, the first fixed; three equations, the second excluded, the third the objective.
  n = 4
  neqn = 3
  ipvs = RTO_HUGEIMALLOC(n)
  ipes = RTO_HUGEIMALLOC(neqn)
  ix(ipvs:ipvs + 3) = [1_8, 0_8, 0_8, 0_8]
  ix(ipes:ipes + 2) = [0_8, 1_8, 10_8]
  k = U3PERM_VAR_CREATE(ix(ipvs), n, ipvar, m)
  call check(k == 3 .and. m == 3 .and. all(ix(ipvar:ipvar + 6) == [7_8, 4_8, 2_8, 3_8, 1_8, 4_8, 3_8]), &
             'U3PERM_VAR_CREATE block layout')
  v = [1d0, 2d0, 3d0, 4d0]
  call U3PERM_APPLY_RVEC(ipvar, v); call check(all(v == [4d0, 2d0, 3d0, 1d0]), 'U3PERM_APPLY_RVEC')
  call U3PERM_COPY_APPLY_RVEC(ipvar, v, ipout)
  call check(all(dx(ipout:ipout + 3) == [1d0, 2d0, 3d0, 4d0]), 'U3PERM_COPY_APPLY_RVEC restores')
  call RTO_DFREE(ipout)
  iv = [10_8, 20_8, 30_8, 40_8]
  call U3PERM_APPLY_IVEC(ipvar, iv)
  call U3PERM_COPY_APPLY_IVEC(ipvar, iv, ipout)
  call check(iv(1) == 40 .and. all(ix(ipout:ipout + 3) == [10_8, 20_8, 30_8, 40_8]), &
             'U3PERM_(COPY_)APPLY_IVEC')
  call RTO_IFREE(ipout)
  call check(U3PERM_COMP2UNCOMP(ipvar, 1_8) == 4 .and. U3PERM_UNCOMP2COMP(ipvar, 4_8) == 1, &
             'COMP2UNCOMP and back')
  call check(U3PERM_EQN_CREATE(ix(ipes), neqn, ipeqn, m) == 1, 'U3PERM_EQN_CREATE')
  m = USR3_FNDOBJ(neqn, ix(ipes), k)
  call check(m == 3 .and. k == 3, 'USR3_FNDOBJ')

  ! Nonzeros (1,2) (1,3) (2,3) (3,4) (1,1): the first two survive.
  nnz = 5
  iprow = RTO_HUGEIMALLOC(nnz)
  ipcol = RTO_HUGEIMALLOC(nnz)
  ix(iprow:iprow + 4) = [1_8, 1_8, 2_8, 3_8, 1_8]
  ix(ipcol:ipcol + 4) = [2_8, 3_8, 3_8, 4_8, 1_8]
  call check(U3PERM_JAC_CREATE(ix(ipes), ix(ipvs), ix(iprow), ix(ipcol), nnz, ipnz, m) == 2, &
             'U3PERM_JAC_CREATE')
  call U3PERM_JAC_COPY_APPLY_ROW(ipnz, ipeqn, ix(iprow), ipout)
  call check(all(ix(ipout:ipout + 1) == [1_8, 1_8]), 'U3PERM_JAC_COPY_APPLY_ROW')
  call RTO_IFREE(ipout)
  call U3PERM_JAC_COPY_APPLY_COL(ipnz, ipvar, ix(ipcol), ipout)
  call check(all(ix(ipout:ipout + 1) == [2_8, 3_8]), 'U3PERM_JAC_COPY_APPLY_COL')
  call RTO_IFREE(ipout)

  ! Incidence counts and the builders that use them, before the arrays are permuted in place.
  call U3MAP_REL_INCIDENCE(neqn, ix(ipvs), ix(iprow), ix(ipcol), nnz, iprel)
  call check(all(ix(iprel:iprel + 2) == [2_8, 1_8, 1_8]), 'U3MAP_REL_INCIDENCE')
  call U3MAP_VAR_INCIDENCE(n, ix(ipes), ix(iprow), ix(ipcol), nnz, ipvin)
  call check(all(ix(ipvin:ipvin + 3) == 1_8), 'U3MAP_VAR_INCIDENCE')
  call check(U3PERM_VAR_CREATE_INCIDENCE(ix(ipvs), n, ipvin, ipinc, m) == 3, 'U3PERM_VAR_CREATE_INCIDENCE')
  call U3PERM_DESTROY(ipinc)
  call check(ipinc == 0 .and. U3PERM_VAR_CREATE_INCIDENCEONLY(ix(ipvs), n, ipvin, ipinc, m) == 4, &
             'U3PERM_DESTROY, U3PERM_VAR_CREATE_INCIDENCEONLY')
  call U3PERM_DESTROY(ipinc)
  call check(U3PERM_EQN_CREATE_INCIDENCE(ix(ipes), neqn, iprel, ipinc, m) == 1, 'U3PERM_EQN_CREATE_INCIDENCE')
  call U3PERM_DESTROY(ipinc)
  call check(U3PERM_JAC_CREATE_INCIDENCE(ix(ipes), ix(ipvs), ix(iprow), ix(ipcol), nnz, iprel, ipvin, ipinc, &
                                         m) == 2, 'U3PERM_JAC_CREATE_INCIDENCE')
  call U3PERM_DESTROY(ipinc)
  call NZ_IN_ROW(1_8, ix(iprow), nnz, iplist, k)
  call check(k == 3 .and. all(ix(iplist:iplist + 2) == [1_8, 2_8, 5_8]), 'NZ_IN_ROW')
  call RTO_IFREE(iplist)
  call U3PERM_JAC_APPLY_ROW(ipnz, ipeqn, ix(iprow))
  call U3PERM_JAC_APPLY_COL(ipnz, ipvar, ix(ipcol))
  call check(ix(iprow) == 1 .and. ix(ipcol + 1) == 3, 'U3PERM_JAC_APPLY_ROW and _COL')
  call U3REMAP(neqn, 1_8, iprel, flags)
  call check(all(flags(1:3) == [0_8, 1_8, 1_8]) .and. all(ix(iprel:iprel + 2) == [0_8, 1_8, 2_8]), 'U3REMAP')

  call U3PERM_DESTROY(ipvar); call U3PERM_DESTROY(ipeqn); call U3PERM_DESTROY(ipnz)
  call RTO_IFREE(iprel); call RTO_IFREE(ipvin); call RTO_IFREE(iprow); call RTO_IFREE(ipcol)
  call RTO_IFREE(ipvs); call RTO_IFREE(ipes)
end subroutine permutations

subroutine sorts_and_text()
  use test_checks
  implicit none
  real(8) :: dx(5), dy(5), r8(1)
  integer(8) :: ix(4), iy(4), length
  integer(4) :: i4(2)
  character(len=8) :: a, b
  character(len=12) :: c

  dx = [3d0, 1d0, 5d0, 2d0, 4d0]
  dy = 10d0 * dx
  call SLATEC_DSORT(dx, dy, 5_8, -2_8)
  call check(all(dx == [5d0, 4d0, 3d0, 2d0, 1d0]) .and. all(dy == 10d0 * dx), &
             'SLATEC_DSORT descending, carries dy')
  ix = [4_8, -2_8, 9_8, 0_8]
  iy = 0
  call SLATEC_ISORT(ix, iy, 4_8, 1_8); call check(all(ix == [-2_8, 0_8, 4_8, 9_8]), 'SLATEC_ISORT ascending')

  a = 'Mixed Ca'
  call IU_STRUPR(a); call check(a == 'MIXED CA', 'IU_STRUPR')
  call IU_STRLWR(a); call check(a == 'mixed ca', 'IU_STRLWR')
  call IU_STRLEN(length, 'abc     '); call check(length == 3, 'IU_STRLEN')
  b = ' a b '
  call IU_PACKSTR(b); call check(b == 'ab', 'IU_PACKSTR')
  c = 'left'
  call IU_STRCAT(c, 'right   '); call check(c == 'leftright', 'IU_STRCAT')
  call IU_CLRSTR(c); call check(c == ' ', 'IU_CLRSTR')
  call COPY_CHAR_STR('xyzzy', 3_8, a, 8_8); call check(a == 'xyz', 'COPY_CHAR_STR')
  i4 = 0
  call IU_STR2I4('ABCDEFG', i4, 2_8)
  a = '*'
  call IU_I42STR(i4, 2_8, a); call check(a == 'ABCDEFG', 'IU_STR2I4 and IU_I42STR')
  call IU_STR2R8('12345678', r8, 1_8)
  a = '*'
  call IU_R82STR(r8, 1_8, a); call check(a == '12345678', 'IU_STR2R8 and IU_R82STR')
  call IU_CLRSCR()
end subroutine sorts_and_text

program numutil_calls
  use iso_c_binding, only: c_ptr, c_loc, c_f_pointer
  implicit none
  integer(8), target :: iplex(1)
  common /zplex/ iplex
  bind(C, name='ZARN_PLEX') :: /zplex/
  type(c_ptr), volatile :: at
  integer(8), pointer, contiguous :: iview(:)
  real(8), pointer, contiguous :: dview(:)

  at = c_loc(iplex)
  call c_f_pointer(at, iview, [1])
  call c_f_pointer(at, dview, [1])
  call permutations(iview, dview)
  call sorts_and_text()
  print '(a)', 'numutil: all calls behaved'
end program numutil_calls
