! Reaches library-allocated blocks the way the framework's Fortran code does: through the
! common block bound to ZARN_PLEX and a plex index per block, with implicit interfaces.

! Element ranges of the three views: a(ip) is element 1 of the block at ip. With fill the
! range is written first; the result says whether it holds the pattern.
logical function drange(a, ip, n, s, fill)
  real(8) :: a(*), s
  integer(8) :: ip
  integer(4) :: n, i
  logical :: fill
  if (fill) a(ip:ip + n - 1) = [(s * i, i = 1, n)]
  drange = all(a(ip:ip + n - 1) == [(s * i, i = 1, n)])
end function

logical function irange(a, ip, n, fill)
  integer(8) :: a(*), ip
  integer(4) :: n, i
  logical :: fill
  if (fill) a(ip:ip + n - 1) = [(1000000000000_8 + i, i = 1, n)]
  irange = all(a(ip:ip + n - 1) == [(1000000000000_8 + i, i = 1, n)])
end function

logical function crange(a, ip, n, fill)
  character :: a(*)
  integer(8) :: ip
  integer(4) :: n, i
  logical :: fill
  if (fill) a(ip:ip + n - 1) = [(achar(65 + mod(i, 26)), i = 1, n)]
  crange = all(a(ip:ip + n - 1) == [(achar(65 + mod(i, 26)), i = 1, n)])
end function

subroutine funptr_target() bind(C)
end subroutine

program plex_anchor
  use test_checks
  use iso_c_binding
  implicit none
  interface
    subroutine funptr_target() bind(C)
    end subroutine
  end interface
  real(8), target :: dplex(1)
  common /zplex/ dplex
  bind(C, name='ZARN_PLEX') :: /zplex/
  real(8) :: rglob(1)
  common /zrglob/ rglob
  bind(C, name='ZARN_RGLOB') :: /zrglob/
  integer(4) :: iglob(1)
  common /zglobal/ iglob
  bind(C, name='ZARN_GLOBAL') :: /zglobal/
  integer(8) :: base_b0  ! the double base set at load: the anchor less 8 bytes
  common /zb0/ base_b0
  bind(C, name='ZARN_b0') :: /zb0/
  ! The views reach the range routines through an address the optimiser cannot trace back
  ! to a one-element array (as when such code is compiled separately).
  type(c_ptr), volatile :: at
  real(8), pointer, contiguous :: d(:)
  integer(8), pointer, contiguous :: iv(:)
  character, pointer, contiguous :: cv(:)
  integer(8), external :: RTO_DMALLOC, RTO_DREALLOC, RTO_HUGEDMALLOC, RTO_HUGEDREALLOC, RTO_DPTR2PLEX
  integer(8), external :: RTO_IMALLOC, RTO_IREALLOC, RTO_HUGEIMALLOC, RTO_HUGEIREALLOC, RTO_IPTR2PLEX
  integer(8), external :: RTO_CMALLOC, RTO_CREALLOC, RTO_MALLOC_INIT, U3PLG_RTO_MALLOC_INIT
  integer(8), external :: FORTRAN_MALLOC_INIT, U3PLG_FORTRAN_MALLOC_INIT
  logical, external :: drange, irange, crange
  integer(8) :: ip, ip2, fp, words(2)
  real(8) :: reals(2)
  character(len=11) :: text

  at = c_loc(dplex)
  call c_f_pointer(at, d, [1])
  call c_f_pointer(at, iv, [1])
  call c_f_pointer(at, cv, [1])
  call check(base_b0 == loc(dplex) - 8 .and. rglob(1) == 1.0d35 .and. iglob(1) == 99999999, &
             'anchors set at load')
  call check(FORTRAN_MALLOC_INIT() == 0 .and. U3PLG_FORTRAN_MALLOC_INIT() == 0, 'FORTRAN_MALLOC_INIT, again')
  call check(RTO_MALLOC_INIT(dplex, dplex, dplex) + U3PLG_RTO_MALLOC_INIT(dplex, dplex, dplex) == 0, &
             'RTO_MALLOC_INIT')

  ! Doubles: the old values at the new index after each reallocation; the index from the address.
  ip = RTO_DMALLOC(100)
  call check(ip /= 0 .and. drange(d, ip, 100, 1.5d0, .true.), 'RTO_DMALLOC')
  ip2 = RTO_DREALLOC(ip, 200000)
  call check(drange(d, ip2, 100, 1.5d0, .false.) .and. drange(d, ip2, 200000, 0.25d0, .true.), 'RTO_DREALLOC')
  ip = RTO_HUGEDREALLOC(ip2, 300000_8)
  call check(drange(d, ip, 200000, 0.25d0, .false.), 'RTO_HUGEDREALLOC')
  call check(RTO_DPTR2PLEX(loc(dplex) - 8 + 8 * ip) == ip, 'RTO_DPTR2PLEX')
  call rto_dfree(ip)
  call rto_dfree(ip); call check(ip == 0, 'RTO_DFREE clears the index')
  ip = RTO_HUGEDMALLOC(0_8)
  call check(ip /= 0, 'a block of no elements')
  call rto_dfree(ip)

  ! 64-bit integers, the same way.
  ip = RTO_IMALLOC(100)
  call check(irange(iv, ip, 100, .true.), 'RTO_IMALLOC')
  ip2 = RTO_IREALLOC(ip, 300)
  ip = RTO_HUGEIREALLOC(ip2, 400_8)
  call check(irange(iv, ip, 100, .false.) .and. RTO_IPTR2PLEX(loc(dplex) - 8 + 8 * ip) == ip, &
             'RTO_IREALLOC and HUGE')
  call rto_ifree(ip); call check(ip == 0, 'RTO_IFREE clears the index')

  ! Text packed four characters to a word into a library block, and back.
  ip = RTO_HUGEIMALLOC(3_8)
  call rto_str2i4(iv(ip), 'HELLO WORLD', 11)
  text = '*'
  call rto_i42str(text, iv(ip), 11); call check(text == 'HELLO WORLD', 'RTO_STR2I4 and RTO_I42STR')
  call rto_ifree(ip)
  call U3PLG_RTO_STR2I4(words, 'ABCDEFGH', 8)
  text = '*'
  call U3PLG_RTO_I42STR(text, words, 8)
  call check(text == 'ABCDEFGH', 'U3PLG_RTO_STR2I4 and U3PLG_RTO_I42STR')
  call RTO_STR2R8(reals, 'VARIABLE', 8)
  text = '*'
  call RTO_R82STR(text, reals, 8)
  call check(text == 'VARIABLE' .and. reals(1) == transfer('VARIABLE', 0d0), 'RTO_STR2R8 and RTO_R82STR')
  text = '*'
  call U3PLG_RTO_R82STR(text, reals, 8); call check(text == 'VARIABLE', 'U3PLG_RTO_R82STR')

  ! Characters through the character view.
  ip = RTO_CMALLOC(5000)
  call check(crange(cv, ip, 5000, .true.), 'RTO_CMALLOC')
  ip2 = RTO_CREALLOC(ip, 9000)
  call check(crange(cv, ip2, 5000, .false.), 'RTO_CREALLOC')
  call rto_cfree(ip2); call check(ip2 == 0, 'RTO_CFREE clears the index')

  call GETFUNCPTR_F(funptr_target, fp)
  call check(fp == transfer(c_funloc(funptr_target), fp), 'GETFUNCPTR_F')
  print '(a)', 'plex_anchor: all checks passed'

end program plex_anchor
