! Calls the units entries the way legacy Fortran code does: implicit
! interfaces, 64-bit integers, character arguments with hidden lengths.
program uom_calls
  use test_checks
  implicit none
  double precision rtouom_pair2si_f, rtouom_si2pair_f, rtouom_delta_pair2si_f, rtouom_delta_si2pair_f
  double precision v, mult, offset
  integer*8 pt_lookup_f, rtouom_set_default_f, rtouom_get_default_f, rtouom_predefined_f, rtouom_ptype_equal_f
  integer*8 rtouom_force_predefined_units_f, rtouom_coercion_allowed_f, rtouom_ptype_add_f, rtouom_ptype_sub_f
  integer*8 rtouom_delta_ptype_f, rtouom_add_uom2_f, rtouom_add_uom3_f, rtouom_modify_mult_offset_f
  integer*8 ptype, uom, psum, pdif
  character*16 name
  character*10 short

  ! Pairs both ways and for differences: 0 PSIG is the ambient pressure, 1 F in K, 212 F, a step of 1 F.
  call near('pair2si', rtouom_pair2si_f(0.0d0, 20_8, 13_8), 101325.0d0)
  call near('pair2si F', rtouom_pair2si_f(1.0d0, 22_8, 2_8), 0.555555555555556d0 + 255.372222222222d0)
  call near('si2pair F', rtouom_si2pair_f(373.15d0, 22_8, 2_8), 212.0d0)
  call near('delta_pair2si F', rtouom_delta_pair2si_f(1.0d0, 22_8, 2_8), 0.555555555555556d0)
  call near('delta_si2pair F', rtouom_delta_si2pair_f(10.0d0, 22_8, 2_8), 18.0d0)

  ! Names: a literal, a blank-padded field, an unknown one, within a type, a physical type.
  call rtouom_locate_f('PSIG', ptype, uom); call check(ptype == 20 .and. uom == 13, 'locate PSIG')
  name = 'KG/SEC'
  call rtouom_locate_f(name, ptype, uom); call check(ptype == 10 .and. uom == 1, 'locate a padded field')
  call rtouom_locate_f('NO-SUCH-UNIT', ptype, uom)
  call check(ptype == 0 .and. uom == 0, 'locate an unknown unit')
  call rtouom_ptype_locate_f('FT', 138_8, uom); call check(uom == 2, 'FT in SHORT-LENGTH')
  short = 'PRESSURE'
  call check(pt_lookup_f('MASS-FLOW') == 10 .and. pt_lookup_f(short) == 20, 'pt_lookup, padded')
  call check(pt_lookup_f('USR-DUMMY3') == -1, 'pt_lookup of a hidden type')

  ! Default units: the name comes back blank-padded, whatever the field's length.
  call rtouom_def_rconv1_f(22_8, 273.15d0, v, name)
  call check(v == 273.15d0 .and. name == 'K', 'def_rconv1 in K')
  call check(rtouom_set_default_f(22_8, 2_8) == 1 .and. rtouom_get_default_f(22_8) == 2, &
             'set_default, get_default')
  call rtouom_def_rconv1_f(22_8, 273.15d0, v, short)
  call near('def_rconv1 F', v, 32.0d0); call check(short == 'F', 'def_rconv1 F name')
  call rtouom_def_rconv1_f(149_8, 5.0d0, v, name)
  call check(v == 5.0d0 .and. name == ' ', 'def_rconv1 of a bad type')

  ! Type rules.
  call check(rtouom_predefined_f(20_8, 38_8) == 0 .and. rtouom_force_predefined_units_f(20_8, 38_8) == 1, &
             'predefined')
  call check(rtouom_coercion_allowed_f(0_8, 20_8) == 1 .and. rtouom_ptype_equal_f(9_8, 10_8) == 1, &
             'coercion, equal')
  call check(rtouom_ptype_add_f(9_8, 10_8, psum) == 1 .and. rtouom_ptype_sub_f(22_8, 22_8, pdif) == 1, &
             'add, sub')
  call check(psum == 10 .and. pdif == 31 .and. rtouom_delta_ptype_f(20_8) == 75, &
             'type of a sum, of a difference')

  ! Unit information: full name, 16-character name, multiplier and offset only.
  call rtouom_inq_info(20_8, 13_8, mult, offset, short)
  call check(short == 'PSIG' .and. offset == 101325.0d0, 'inq_info')
  call rtouom_inq_info_4a4(22_8, 2_8, mult, offset, name); call check(name == 'F', 'inq_info_4a4 name')
  call rtouom_uom_info_f(20_8, 2_8, mult, offset)
  call near('uom_info PSIA', mult, 6894.75729316836d0)

  ! Table changes, then a reset that undoes them.
  call check(rtouom_add_uom2_f('SQKM', 1_8, 1.0d6, 0.0d0, 1_8) == 8, 'add_uom2')
  call check(rtouom_add_uom3_f('SQKM', 1_8, 2.0d6, 0.0d0, 0_8, 1_8) == 9, 'add_uom3 without the check')
  call rtouom_modify_p_amb_f(95000.0d0)
  call check(rtouom_pair2si_f(0.0d0, 20_8, 13_8) == 95000.0d0, 'modify_p_amb')
  call check(rtouom_modify_mult_offset_f(24_8, 'hr', 3000.0d0, 0.0d0) == 1, 'modify_mult_offset')
  call check(rtouom_pair2si_f(1.0d0, 24_8, 2_8) == 3000.0d0, 'the changed multiplier')
  call rtouom_reset_uom_f(); call check(rtouom_pair2si_f(0.0d0, 20_8, 13_8) == 101325.0d0, 'reset ambient')
  call check(rtouom_pair2si_f(1.0d0, 24_8, 2_8) == 3600.0d0, 'reset multiplier')
  call rtouom_locate_f('SQKM', ptype, uom); call check(uom == 0, 'reset drops user units')
  print '(a)', 'uom_calls: all checks passed'

contains


  subroutine near(what, got, want)
    character(*) what
    double precision got, want
    call check(abs(got - want) <= 1.0d-9 * max(1.0d0, abs(want)), what)
  end subroutine
end program
