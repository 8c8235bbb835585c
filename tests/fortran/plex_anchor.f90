! Reaches library-allocated blocks the way the framework's Fortran code does:
! through the common block bound to ZARN_PLEX and a plex index per block.
module plex_checks
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
end module plex_checks

! Element ranges of the double view, addressed from the anchor array.
subroutine dfill(a, ip, n, scale)
  implicit none
  real(8) :: a(*)
  integer(8) :: ip
  integer(4) :: n, i
  real(8) :: scale
  do i = 1, n
    a(ip + i - 1) = scale * i
  end do
end subroutine dfill

logical function dcheck(a, ip, n, scale)
  implicit none
  real(8) :: a(*)
  integer(8) :: ip
  integer(4) :: n, i
  real(8) :: scale
  dcheck = .true.
  do i = 1, n
    if (a(ip + i - 1) /= scale * i) dcheck = .false.
  end do
end function dcheck

! The integer view: the same common block, declared as 64-bit integers.
subroutine integer_view(ip, n, ok)
  use iso_c_binding, only: c_ptr, c_loc, c_f_pointer
  implicit none
  integer(8), target :: iplex(1)
  common /zplex/ iplex
  bind(C, name='ZARN_PLEX') :: /zplex/
  integer(8) :: ip
  integer(4) :: n
  logical :: ok
  type(c_ptr), volatile :: at
  integer(8), pointer, contiguous :: view(:)
  at = c_loc(iplex)
  call c_f_pointer(at, view, [1])
  call ifill(view, ip, n)
  call icheck(view, ip, n, ok)
end subroutine integer_view

subroutine ifill(a, ip, n)
  implicit none
  integer(8) :: a(*), ip
  integer(4) :: n, i
  do i = 1, n
    a(ip + i - 1) = 1000000000000_8 + i
  end do
end subroutine ifill

subroutine icheck(a, ip, n, ok)
  implicit none
  integer(8) :: a(*), ip
  integer(4) :: n, i
  logical :: ok
  ok = .true.
  do i = 1, n
    if (a(ip + i - 1) /= 1000000000000_8 + i) ok = .false.
  end do
end subroutine icheck

! Text packed into an integer block and read back, through the integer view.
subroutine packed_text(ip, ok)
  use iso_c_binding, only: c_ptr, c_loc, c_f_pointer
  implicit none
  integer(8), target :: iplex(1)
  common /zplex/ iplex
  bind(C, name='ZARN_PLEX') :: /zplex/
  integer(8) :: ip
  logical :: ok
  character(len=11) :: back
  integer(4) :: n
  type(c_ptr), volatile :: at
  integer(8), pointer, contiguous :: view(:)
  at = c_loc(iplex)
  call c_f_pointer(at, view, [1])
  n = 11
  call rto_str2i4(view(ip), 'HELLO WORLD', n)
  back = '***********'
  call rto_i42str(back, view(ip), n)
  ok = back == 'HELLO WORLD'
end subroutine packed_text

! The character view of the same anchor.
subroutine char_view(ip, n, ok)
  use iso_c_binding, only: c_ptr, c_loc, c_f_pointer, c_char
  implicit none
  character(kind=c_char, len=1), target :: cplex(8)
  common /zplex/ cplex
  bind(C, name='ZARN_PLEX') :: /zplex/
  integer(8) :: ip
  integer(4) :: n
  logical :: ok
  type(c_ptr), volatile :: at
  character(kind=c_char, len=1), pointer, contiguous :: view(:)
  at = c_loc(cplex)
  call c_f_pointer(at, view, [1])
  call cfill(view, ip, n)
  call ccheck(view, ip, n, ok)
end subroutine char_view

subroutine cfill(a, ip, n)
  implicit none
  character(len=1) :: a(*)
  integer(8) :: ip
  integer(4) :: n, i
  do i = 1, n
    a(ip + i - 1) = achar(64 + mod(i, 26) + 1)
  end do
end subroutine cfill

subroutine ccheck(a, ip, n, ok)
  implicit none
  character(len=1) :: a(*)
  integer(8) :: ip
  integer(4) :: n, i
  logical :: ok
  ok = .true.
  do i = 1, n
    if (a(ip + i - 1) /= achar(64 + mod(i, 26) + 1)) ok = .false.
  end do
end subroutine ccheck

! Plex index of an element, computed by the library from its address.
integer(8) function index_of(a, ip)
  use iso_c_binding, only: c_int64_t, c_double
  implicit none
  interface
    integer(c_int64_t) function rto_dptr2plex_c(q) bind(C, name='rto_dptr2plex_c')
      import :: c_int64_t, c_double
      real(c_double) :: q
    end function rto_dptr2plex_c
  end interface
  real(8) :: a(*)
  integer(8) :: ip
  index_of = rto_dptr2plex_c(a(ip))
end function index_of

program plex_anchor
  use plex_checks
  use iso_c_binding, only: c_ptr, c_loc, c_f_pointer
  implicit none
  real(8), target :: dplex(1)
  common /zplex/ dplex
  bind(C, name='ZARN_PLEX') :: /zplex/
  ! The anchor reaches the element-range routines through an address the
  ! optimiser cannot trace back to a one-element array (as when the routines
  ! are compiled separately, the normal case for such code).
  type(c_ptr), volatile :: anchor_address
  real(8), pointer, contiguous :: anchor(:)
  real(8) :: rglob(1)
  common /zrglob/ rglob
  bind(C, name='ZARN_RGLOB') :: /zrglob/
  integer(4) :: iglob(1)
  common /zglobal/ iglob
  bind(C, name='ZARN_GLOBAL') :: /zglobal/
  ! The double base, set when the library was loaded: the anchor less 8 bytes.
  integer(8) :: base_b0
  common /zb0/ base_b0
  bind(C, name='ZARN_b0') :: /zb0/

  integer(8), external :: rto_dmalloc, rto_drealloc, rto_imalloc, rto_cmalloc
  integer(8), external :: index_of
  logical, external :: dcheck
  integer(8) :: ip, ipnew, ipi, ipc, iptext
  integer(4) :: n, nbig, nz
  logical :: ok

  anchor_address = c_loc(dplex)
  call c_f_pointer(anchor_address, anchor, [1])

  call check(base_b0 == loc(dplex) - 8, 'ZARN_b0 set to the anchor less 8 bytes at load')
  call check(rglob(1) == 1.0d35, 'ZARN_RGLOB(1) is 1e35')
  call check(iglob(1) == 99999999, 'ZARN_GLOBAL(1) is 99999999')

  ! Doubles: write, read back, find the index again from the address.
  n = 100
  ip = rto_dmalloc(n)
  call check(ip /= 0, 'RTO_DMALLOC gives an index')
  call dfill(anchor, ip, n, 1.5d0)
  call check(dcheck(anchor, ip, n, 1.5d0), 'doubles read back through the anchor')
  call check(index_of(anchor, ip) == ip, 'rto_dptr2plex_c gives the index back')

  ! Reallocation: the old values are found at the new index.
  nbig = 200000
  ipnew = rto_drealloc(ip, nbig)
  call check(dcheck(anchor, ipnew, n, 1.5d0), 'old values at the new index after RTO_DREALLOC')
  call dfill(anchor, ipnew, nbig, 0.25d0)
  call check(dcheck(anchor, ipnew, nbig, 0.25d0), 'whole reallocated block usable')
  call rto_dfree(ipnew)
  call check(ipnew == 0, 'RTO_DFREE sets the index to 0')
  call rto_dfree(ipnew)

  ! A block of no elements is still a valid block.
  nz = 0
  ip = rto_dmalloc(nz)
  call check(ip /= 0, 'RTO_DMALLOC(0) gives an index')
  call rto_dfree(ip)

  ! 64-bit integers through the integer view of the same anchor.
  ipi = rto_imalloc(n)
  call integer_view(ipi, n, ok)
  call check(ok, 'integers read back through the anchor')
  call rto_ifree(ipi)
  call check(ipi == 0, 'RTO_IFREE sets the index to 0')

  ! Packed text in an integer block.
  n = 3
  iptext = rto_imalloc(n)
  call packed_text(iptext, ok)
  call check(ok, 'RTO_STR2I4 then RTO_I42STR gives the text back')
  call rto_ifree(iptext)

  ! Characters through the character view.
  n = 5000
  ipc = rto_cmalloc(n)
  call char_view(ipc, n, ok)
  call check(ok, 'characters read back through the anchor')
  call rto_cfree(ipc)
  call check(ipc == 0, 'RTO_CFREE sets the index to 0')

  ! The HUGE forms, the second names, the pointer forms and text in doubles.
  call other_forms(ok)
  call check(ok, 'HUGE, U3PLG_, pointer and double-text entries')

  print '(a)', 'plex_anchor: all checks passed'
end program plex_anchor

subroutine other_forms_target()
end subroutine other_forms_target

subroutine other_forms(ok)
  implicit none
  logical, intent(out) :: ok
  real(8) :: dplex(1)
  common /zplex/ dplex
  bind(C, name='ZARN_PLEX') :: /zplex/
  integer(8), external :: RTO_MALLOC_INIT, U3PLG_RTO_MALLOC_INIT, FORTRAN_MALLOC_INIT, U3PLG_FORTRAN_MALLOC_INIT
  integer(8), external :: RTO_HUGEDMALLOC, RTO_HUGEDREALLOC, RTO_HUGEIMALLOC, RTO_IREALLOC, RTO_HUGEIREALLOC
  integer(8), external :: rto_cmalloc, RTO_CREALLOC, RTO_DPTR2PLEX, RTO_IPTR2PLEX
  logical, external :: dcheck
  external :: GETFUNCPTR_F, U3PLG_RTO_I42STR, U3PLG_RTO_STR2I4, RTO_R82STR, U3PLG_RTO_R82STR, RTO_STR2R8
  external :: other_forms_target
  integer(8) :: hn, ip, ip2, q, fp, words(2)
  integer(4) :: n
  real(8) :: reals(2)
  character(len=8) :: text

  ok = FORTRAN_MALLOC_INIT() == 0 .and. U3PLG_FORTRAN_MALLOC_INIT() == 0
  ok = ok .and. RTO_MALLOC_INIT(dplex, dplex, dplex) == 0 .and. U3PLG_RTO_MALLOC_INIT(dplex, dplex, dplex) == 0

  hn = 10
  ip = RTO_HUGEDMALLOC(hn)
  call dfill(dplex, ip, 10, 1.5d0)
  hn = 20
  ip2 = RTO_HUGEDREALLOC(ip, hn)
  ok = ok .and. dcheck(dplex, ip2, 10, 1.5d0)
  q = loc(dplex) - 8 + 8 * ip2
  ok = ok .and. RTO_DPTR2PLEX(q) == ip2
  call rto_dfree(ip2)

  ip = RTO_HUGEIMALLOC(hn)
  n = 30
  ip2 = RTO_IREALLOC(ip, n)
  ip = RTO_HUGEIREALLOC(ip2, hn)
  q = loc(dplex) - 8 + 8 * ip
  ok = ok .and. RTO_IPTR2PLEX(q) == ip
  call rto_ifree(ip)

  n = 4
  ip = rto_cmalloc(n)
  n = 40
  ip2 = RTO_CREALLOC(ip, n)
  ok = ok .and. ip2 /= 0
  call rto_cfree(ip2)

  n = 8
  call U3PLG_RTO_STR2I4(words, 'ABCDEFGH', n)
  text = ' '
  call U3PLG_RTO_I42STR(text, words, n)
  ok = ok .and. text == 'ABCDEFGH'
  call RTO_STR2R8(reals, 'VARIABLE', n)
  text = ' '
  call RTO_R82STR(text, reals, n)
  ok = ok .and. text == 'VARIABLE'
  text = ' '
  call U3PLG_RTO_R82STR(text, reals, n)
  ok = ok .and. text == 'VARIABLE'

  fp = 0
  call GETFUNCPTR_F(other_forms_target, fp)
  ok = ok .and. fp /= 0
end subroutine other_forms
