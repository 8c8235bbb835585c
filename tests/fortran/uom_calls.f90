! Calls the units entries the way legacy Fortran code does: implicit
! interfaces, 64-bit integers, character arguments with hidden lengths.
program uom_calls
  implicit none
  double precision rtouom_pair2si_f, rtouom_si2pair_f, rtouom_delta_pair2si_f
  double precision rtouom_delta_si2pair_f, v, mult, offset
  integer*8 pt_lookup_f, rtouom_set_default_f, rtouom_get_default_f, ptype, uom, old
  integer*8 rtouom_predefined_f, rtouom_force_predefined_units_f, rtouom_coercion_allowed_f
  integer*8 rtouom_ptype_equal_f, rtouom_ptype_add_f, rtouom_ptype_sub_f, rtouom_delta_ptype_f
  integer*8 rtouom_add_uom2_f, rtouom_add_uom3_f, rtouom_modify_mult_offset_f, res
  character*16 name
  character*10 short
  external rtouom_pair2si_f, pt_lookup_f, rtouom_locate_f, rtouom_def_rconv1_f
  external rtouom_set_default_f, rtouom_si2pair_f, rtouom_delta_pair2si_f, rtouom_delta_si2pair_f
  external rtouom_get_default_f, rtouom_ptype_locate_f, rtouom_predefined_f
  external rtouom_force_predefined_units_f, rtouom_coercion_allowed_f, rtouom_ptype_equal_f
  external rtouom_ptype_add_f, rtouom_ptype_sub_f, rtouom_delta_ptype_f, rtouom_inq_info
  external rtouom_inq_info_4a4, rtouom_uom_info_f, rtouom_add_uom2_f, rtouom_add_uom3_f
  external rtouom_reset_uom_f, rtouom_modify_p_amb_f, rtouom_modify_mult_offset_f
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

  ! the other directions and the difference forms: 212 F, a step of 1 F
  call check_real('si2pair F', rtouom_si2pair_f(373.15d0, 22_8, 2_8), 212.0d0)
  call check_real('delta_pair2si F', rtouom_delta_pair2si_f(1.0d0, 22_8, 2_8), 0.555555555555556d0)
  call check_real('delta_si2pair F', rtouom_delta_si2pair_f(10.0d0, 22_8, 2_8), 18.0d0)

  ! unit within a type, built-in units, type rules
  call rtouom_ptype_locate_f('FT', 138_8, uom)
  call check_int('ptype_locate FT in SHORT-LENGTH', uom, 2_8)
  call check_int('predefined', rtouom_predefined_f(20_8, 38_8), 0_8)
  call check_int('force_predefined', rtouom_force_predefined_units_f(20_8, 38_8), 1_8)
  call check_int('coercion', rtouom_coercion_allowed_f(0_8, 20_8), 1_8)
  call check_int('ptype_equal', rtouom_ptype_equal_f(9_8, 10_8), 1_8)
  res = rtouom_ptype_add_f(9_8, 10_8, ptype)
  call check_int('ptype_add type', ptype, 10_8)
  res = rtouom_ptype_sub_f(22_8, 22_8, ptype)
  call check_int('ptype_sub type', ptype, 31_8)
  call check_int('delta_ptype', rtouom_delta_ptype_f(20_8), 75_8)
  call check_int('get_default', rtouom_get_default_f(20_8), 1_8)

  ! unit information: full name, 16-character name, multiplier and offset only
  call rtouom_inq_info(20_8, 13_8, mult, offset, short)
  call check_text('inq_info name', short, 'PSIG')
  call check_real('inq_info offset', offset, 101325.0d0)
  call rtouom_inq_info_4a4(22_8, 2_8, mult, offset, name)
  call check_text('inq_info_4a4 name', name, 'F')
  call rtouom_uom_info_f(20_8, 2_8, mult, offset)
  call check_real('uom_info PSIA', mult, 6894.75729316836d0)

  ! table changes, then a reset that undoes them
  call check_int('add_uom2', rtouom_add_uom2_f('SQKM', 1_8, 1.0d6, 0.0d0, 1_8), 8_8)
  call check_int('add_uom3 no check', rtouom_add_uom3_f('SQKM', 1_8, 2.0d6, 0.0d0, 0_8, 1_8), 9_8)
  call rtouom_modify_p_amb_f(95000.0d0)
  call check_real('modify_p_amb', rtouom_pair2si_f(0.0d0, 20_8, 13_8), 95000.0d0)
  call check_int('modify_mult_offset', rtouom_modify_mult_offset_f(24_8, 'hr', 3000.0d0, 0.0d0), 1_8)
  call rtouom_reset_uom_f()
  call check_real('reset ambient', rtouom_pair2si_f(0.0d0, 20_8, 13_8), 101325.0d0)
  call check_real('reset multiplier', rtouom_pair2si_f(1.0d0, 24_8, 2_8), 3600.0d0)
  call rtouom_locate_f('SQKM', ptype, uom)
  call check_int('reset drops user units', uom, 0_8)

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
