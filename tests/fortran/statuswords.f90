! Packs and reads a variable status word and an equation status word through the
! upper-case entry points as legacy Fortran calls them: 64-bit words, 32-bit codes.
program statuswords
  use test_checks
  implicit none
  integer(8) :: vw, ew, out, spec, conn
  integer(4) :: U3V_GET_SPEC, U3VFXD, U3V_IS_INDEPENDENT, U3V_GET_CONNECTED, U3V_IS_HARD, U3V_IS_RELAX
  integer(4) :: U3V_IS_SOFT, U3V_IS_SOFT2, U3V_IS_INSTRUMENT, U3V_IS_MEASURED, U3V_IS_EXCLUDED, U3V_IS_LINEAR
  integer(4) :: U3RINC, U3RGMT, U3RGTF, U3RGLN, U3RGPF
  real(8) :: U3RGSN, U3RMSERR

  ! ---- Variable status word ----
  vw = 0
  call U3FXV(vw); call check(U3V_GET_SPEC(vw) == 1 .and. vw == 1, 'U3FXV touches only the SPEC bits')
  call U3V_SET_SPEC(vw, 5)
  call U3V_SET_SPEC(vw, 9)
  call check(U3V_GET_SPEC(vw) == 5, 'U3V_SET_SPEC, an out-of-range spec leaves the word')
  call U3VPPT(vw, -182)
  call U3VGPT(vw, out)
  call check(out == -182 .and. iand(vw, int(z'1FF0', 8)) == ishft(74_8, 4), 'physical type stored biased')
  call U3V_SET_CONNECTED(vw, 4); call check(U3V_GET_CONNECTED(vw) == 4, 'connected state 4')
  call U3V_SET_BNDTYP(2, vw)
  call U3V_GET_BNDTYP(vw, out)
  call check(out == 2 .and. U3V_IS_SOFT(vw) == 1 .and. U3V_IS_HARD(vw) == 0, 'bound type 2 is SOFT')
  call U3V_RELAX(vw); call check(U3V_IS_RELAX(vw) == 1, 'U3V_RELAX')
  call U3V_SOFT2(vw); call check(U3V_IS_SOFT2(vw) == 1, 'U3V_SOFT2')
  call U3V_HARD(vw); call check(U3V_IS_HARD(vw) == 1, 'U3V_HARD')
  call U3V_SOFT(vw); call check(U3V_IS_SOFT(vw) == 1, 'U3V_SOFT')
  call U3V_SET_INSTRUMENT(vw, 1)
  call U3V_SET_MEASURED(vw, 1)
  call U3V_SET_EXCLUDED(vw, 1)
  call U3V_SET_LINEAR(vw, 1)
  call check(U3V_IS_INSTRUMENT(vw) + U3V_IS_MEASURED(vw) + U3V_IS_EXCLUDED(vw) + U3V_IS_LINEAR(vw) == 4, &
             'flags set')
  call U3V_SET_MEASURED(vw, 0)
  call check(U3V_IS_MEASURED(vw) == 0 .and. U3V_IS_INSTRUMENT(vw) == 1, 'measured cleared alone')
  call U3VGPT(vw, out)
  call check(U3V_GET_SPEC(vw) == 5 .and. out == -182 .and. U3V_GET_CONNECTED(vw) == 4, &
             'fields kept by the others')
  ! Fixed and independent under the problem mode.
  call RTO_SET_MODE(2_8)
  call U3V_INDEPENDENT(vw); call check(U3V_IS_INDEPENDENT(vw) == 1 .and. U3VFXD(vw) == 0, 'INDEP in mode 2')
  call RTO_SET_MODE(0_8); call check(U3V_IS_INDEPENDENT(vw) == 0 .and. U3VFXD(vw) == 1, 'INDEP in mode 0')
  call U3UFXV(vw); call check(U3V_GET_SPEC(vw) == 0 .and. U3VFXD(vw) == 0, 'U3UFXV frees')

  ! ---- Equation status word ----
  ew = 0
  call check(U3RINC(ew) == 1, 'a new equation is included')
  call U3UNCR(ew); call check(U3RINC(ew) == 0 .and. ew == 1, 'U3UNCR excludes')
  call U3INCR(ew); call check(U3RINC(ew) == 1 .and. ew == 0, 'U3INCR includes')
  call U3RPMT(ew, 4); call check(U3RGMT(ew) == 4, 'math type GEQ')
  call U3RPSN(ew, -0.5d0); call check(U3RGSN(ew) == -1.0d0, 'negative sign')
  call U3RPLN(ew, 1)
  call U3RPTF(ew, 1)
  call check(U3RGLN(ew) == 1 .and. U3RGTF(ew) == 1 .and. U3RGPF(ew) == 0, 'linear and TF flags')
  call U3RPPF(ew, 1); call check(U3RGPF(ew) == 1, 'PF flag')
  call U3R_GET_PRECON1(ew, spec, conn)
  call check(spec == -1 .and. conn == 0, 'first pre-connection never set')
  call U3R_SET_PRECON1(ew, 7, 3)
  call U3R_SET_PRECON2(ew, 0, 4)
  call U3R_GET_PRECON1(ew, spec, conn); call check(spec == 7 .and. conn == 3, 'first pre-connection')
  call U3R_GET_PRECON2(ew, spec, conn); call check(spec == 0 .and. conn == 4, 'second pre-connection')
  call check(U3RGMT(ew) == 4 .and. U3RGSN(ew) == -1.0d0 .and. U3RINC(ew) == 1, 'other fields kept')
  ! Residual norm over included equalities: the third is excluded.
  call check(abs(U3RMSERR(3, [3d0, 4d0, 50d0], [0_8, 0_8, 1_8]) - 5d0) < 1d-12, 'U3RMSERR skips excluded')
  print '(a)', 'statuswords: all checks passed'

end program statuswords
