! Packs and reads a variable status word and an equation status word through
! the upper-case entry points, as legacy Fortran code calls them.
program statuswords
  implicit none
  integer(8) :: vw, ew, out, spec, conn
  integer(4) :: i4, j4, n4
  integer(4) :: U3V_GET_SPEC, U3VFXD, U3V_IS_INDEPENDENT, U3V_GET_CONNECTED
  integer(4) :: U3V_IS_HARD, U3V_IS_RELAX, U3V_IS_SOFT, U3V_IS_SOFT2
  integer(4) :: U3V_IS_INSTRUMENT, U3V_IS_MEASURED, U3V_IS_EXCLUDED, U3V_IS_LINEAR
  integer(4) :: U3RINC, U3RGMT, U3RGTF, U3RGLN, U3RGPF
  real(8) :: U3RGSN, U3RMSERR, sgn
  real(8) :: resid(3)
  integer(8) :: words(3)
  integer :: nfail
  external U3V_GET_SPEC, U3VFXD, U3V_IS_INDEPENDENT, U3V_GET_CONNECTED
  external U3V_IS_HARD, U3V_IS_RELAX, U3V_IS_SOFT, U3V_IS_SOFT2
  external U3V_IS_INSTRUMENT, U3V_IS_MEASURED, U3V_IS_EXCLUDED, U3V_IS_LINEAR
  external U3RINC, U3RGMT, U3RGTF, U3RGLN, U3RGPF, U3RGSN, U3RMSERR
  ! The problem mode used by the fixed/independent tests.
  integer(8) :: mode

  nfail = 0

  ! ---- Variable status word ----
  vw = 0_8
  call U3FXV(vw)
  call check(U3V_GET_SPEC(vw) == 1, 'U3FXV gives spec 1')
  call check(vw == 1_8, 'U3FXV touches only bits 0-3')
  i4 = 5
  call U3V_SET_SPEC(vw, i4)
  call check(U3V_GET_SPEC(vw) == 5, 'U3V_SET_SPEC 5')
  i4 = 9
  call U3V_SET_SPEC(vw, i4)
  call check(U3V_GET_SPEC(vw) == 5, 'out-of-range spec leaves the word')

  i4 = -182
  call U3VPPT(vw, i4)
  call U3VGPT(vw, out)
  call check(out == -182_8, 'physical type -182 round trip')
  call check(iand(vw, int(z'1FF0', 8)) == ishft(int(-182 + 256, 8), 4), 'physical type stored biased')
  i4 = 300
  call U3VPPT(vw, i4)
  call U3VGPT(vw, out)
  call check(out == -182_8, 'out-of-range physical type leaves the word')

  i4 = 4
  call U3V_SET_CONNECTED(vw, i4)
  call check(U3V_GET_CONNECTED(vw) == 4, 'connected state 4')

  i4 = 2
  call U3V_SET_BNDTYP(i4, vw)
  call U3V_GET_BNDTYP(vw, out)
  call check(out == 2_8, 'bound type 2 round trip')
  call check(U3V_IS_SOFT(vw) == 1 .and. U3V_IS_HARD(vw) == 0, 'bound type predicates on SOFT')
  call U3V_RELAX(vw)
  call check(U3V_IS_RELAX(vw) == 1, 'U3V_RELAX')
  call U3V_SOFT2(vw)
  call check(U3V_IS_SOFT2(vw) == 1, 'U3V_SOFT2')
  call U3V_HARD(vw)
  call check(U3V_IS_HARD(vw) == 1, 'U3V_HARD')
  call U3V_SOFT(vw)
  call check(U3V_IS_SOFT(vw) == 1, 'U3V_SOFT')

  i4 = 1
  j4 = 0
  call U3V_SET_INSTRUMENT(vw, i4)
  call U3V_SET_MEASURED(vw, i4)
  call U3V_SET_EXCLUDED(vw, i4)
  call U3V_SET_LINEAR(vw, i4)
  call check(U3V_IS_INSTRUMENT(vw) == 1 .and. U3V_IS_MEASURED(vw) == 1, 'instrument and measured set')
  call check(U3V_IS_EXCLUDED(vw) == 1 .and. U3V_IS_LINEAR(vw) == 1, 'excluded and linear set')
  call U3V_SET_MEASURED(vw, j4)
  call check(U3V_IS_MEASURED(vw) == 0 .and. U3V_IS_INSTRUMENT(vw) == 1, 'measured cleared alone')

  ! Everything written so far reads back together.
  call check(U3V_GET_SPEC(vw) == 5, 'spec kept by the other writers')
  call U3VGPT(vw, out)
  call check(out == -182_8, 'physical type kept by the other writers')
  call check(U3V_GET_CONNECTED(vw) == 4, 'connection kept by the other writers')

  ! Fixed and independent under the problem mode.
  mode = 2_8
  call RTO_SET_MODE(mode)
  call U3V_INDEPENDENT(vw)
  call check(U3V_IS_INDEPENDENT(vw) == 1 .and. U3VFXD(vw) == 0, 'INDEP in mode 2')
  mode = 0_8
  call RTO_SET_MODE(mode)
  call check(U3V_IS_INDEPENDENT(vw) == 0 .and. U3VFXD(vw) == 1, 'INDEP in mode 0')
  call U3UFXV(vw)
  call check(U3V_GET_SPEC(vw) == 0 .and. U3VFXD(vw) == 0, 'U3UFXV frees')

  ! ---- Equation status word ----
  ew = 0_8
  call check(U3RINC(ew) == 1, 'a new equation is included')
  call U3UNCR(ew)
  call check(U3RINC(ew) == 0 .and. ew == 1_8, 'U3UNCR excludes')
  call U3INCR(ew)
  call check(U3RINC(ew) == 1 .and. ew == 0_8, 'U3INCR includes')

  i4 = 4
  call U3RPMT(ew, i4)
  call check(U3RGMT(ew) == 4, 'math type GEQ')
  i4 = 6
  call U3RPMT(ew, i4)
  call check(U3RGMT(ew) == 4, 'out-of-range math type leaves the word')

  sgn = -0.5d0
  call U3RPSN(ew, sgn)
  call check(U3RGSN(ew) == -1.0d0, 'negative sign')
  sgn = 2.0d0
  call U3RPSN(ew, sgn)
  call check(U3RGSN(ew) == 1.0d0, 'positive sign')

  i4 = 1
  call U3RPLN(ew, i4)
  call U3RPTF(ew, i4)
  call check(U3RGLN(ew) == 1 .and. U3RGTF(ew) == 1 .and. U3RGPF(ew) == 0, 'linear and TF flags')
  call U3RPPF(ew, i4)
  call check(U3RGPF(ew) == 1, 'PF flag')

  call U3R_GET_PRECON1(ew, spec, conn)
  call check(spec == -1_8 .and. conn == 0_8, 'first pre-connection never set')
  i4 = 7
  j4 = 3
  call U3R_SET_PRECON1(ew, i4, j4)
  i4 = 0
  j4 = 4
  call U3R_SET_PRECON2(ew, i4, j4)
  call U3R_GET_PRECON1(ew, spec, conn)
  call check(spec == 7_8 .and. conn == 3_8, 'first pre-connection')
  call U3R_GET_PRECON2(ew, spec, conn)
  call check(spec == 0_8 .and. conn == 4_8, 'second pre-connection')
  call check(U3RGMT(ew) == 4 .and. U3RGSN(ew) == 1.0d0 .and. U3RINC(ew) == 1, 'other fields kept')

  ! Residual norm over included equalities.
  resid = (/ 3.0d0, 4.0d0, 50.0d0 /)
  words = (/ 0_8, 0_8, 0_8 /)
  call U3UNCR(words(3))
  n4 = 3
  call check(abs(U3RMSERR(n4, resid, words) - 5.0d0) < 1.0d-12, 'U3RMSERR skips excluded')

  if (nfail > 0) then
    print '(a,i0,a)', 'statuswords: ', nfail, ' check(s) failed'
    error stop 1
  end if
  print '(a)', 'statuswords: all checks passed'

contains

  subroutine check(ok, what)
    logical, intent(in) :: ok
    character(len=*), intent(in) :: what
    if (.not. ok) then
      print '(2a)', 'FAILED: ', what
      nfail = nfail + 1
    end if
  end subroutine check

end program statuswords
