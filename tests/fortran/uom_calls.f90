! Calls the units entries the way legacy Fortran code does: implicit
! interfaces, 64-bit integers, character arguments with hidden lengths.
program uom_calls
  implicit none
  double precision rtouom_pair2si_f, v
  integer*8 pt_lookup_f, rtouom_set_default_f, ptype, uom, old
  character*16 name
  character*10 short
  external rtouom_pair2si_f, pt_lookup_f, rtouom_locate_f, rtouom_def_rconv1_f
  external rtouom_set_default_f
  integer nfail
  nfail = 0

  ! pair conversions: 0 PSIG is the ambient pressure, 1 F in K
  v = rtouom_pair2si_f(0.0d0, 20_8, 13_8)
  call check_real('pair2si PSIG', v, 101325.0d0)
  v = rtouom_pair2si_f(1.0d0, 22_8, 2_8)
  call check_real('pair2si F', v, 0.555555555555556d0 + 255.372222222222d0)

  ! locate: a literal, then a blank-padded field
  call rtouom_locate_f('PSIG', ptype, uom)
  call check_int('locate PSIG type', ptype, 20_8)
  call check_int('locate PSIG index', uom, 13_8)
  name = 'KG/SEC'
  call rtouom_locate_f(name, ptype, uom)
  call check_int('locate KG/SEC type', ptype, 10_8)
  call check_int('locate KG/SEC index', uom, 1_8)
  call rtouom_locate_f('NO-SUCH-UNIT', ptype, uom)
  call check_int('locate unknown type', ptype, 0_8)
  call check_int('locate unknown index', uom, 0_8)

  ! default-unit conversion: the name comes back blank-padded
  call rtouom_def_rconv1_f(22_8, 273.15d0, v, name)
  call check_real('def_rconv1 K', v, 273.15d0)
  call check_text('def_rconv1 K name', name, 'K')
  old = rtouom_set_default_f(22_8, 2_8)
  call check_int('set_default', old, 1_8)
  call rtouom_def_rconv1_f(22_8, 273.15d0, v, short)
  call check_real('def_rconv1 F', v, 32.0d0)
  call check_text('def_rconv1 F name', short, 'F')
  old = rtouom_set_default_f(22_8, 1_8)
  call rtouom_def_rconv1_f(149_8, 5.0d0, v, name)
  call check_real('def_rconv1 bad type value', v, 5.0d0)
  call check_text('def_rconv1 bad type name', name, ' ')

  ! physical type by name
  call check_int('pt_lookup MASS-FLOW', pt_lookup_f('MASS-FLOW'), 10_8)
  short = 'PRESSURE'
  call check_int('pt_lookup padded', pt_lookup_f(short), 20_8)
  call check_int('pt_lookup USR-DUMMY3', pt_lookup_f('USR-DUMMY3'), -1_8)

  if (nfail > 0) then
    print *, nfail, ' check(s) failed'
    error stop 1
  end if
  print *, 'uom_calls: all checks passed'

contains

  subroutine check_real(what, got, want)
    character(*) what
    double precision got, want
    if (abs(got - want) > 1.0d-9 * max(1.0d0, abs(want))) then
      print *, 'FAILED ', what, ': got ', got, ' want ', want
      nfail = nfail + 1
    end if
  end subroutine

  subroutine check_int(what, got, want)
    character(*) what
    integer*8 got, want
    if (got /= want) then
      print *, 'FAILED ', what, ': got ', got, ' want ', want
      nfail = nfail + 1
    end if
  end subroutine

  subroutine check_text(what, got, want)
    character(*) what, got, want
    ! compare the whole field: what follows the text must be blanks
    if (got /= want .or. len_trim(got) /= len_trim(want)) then
      print *, 'FAILED ', what, ': got [', got, '] want [', want, ']'
      nfail = nfail + 1
    end if
  end subroutine

end program
