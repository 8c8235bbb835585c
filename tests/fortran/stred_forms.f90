! Calls the string editors the way legacy Fortran does: implicit interfaces,
! blank-padded fields and hidden lengths.
program stred_forms
  use test_checks
  implicit none
  integer(8) :: STRSTR_F, STRED_REPLACE_REGEXP_F, STRED_REPLACE_REGEXPS_F, k
  character(len=24) :: name
  character(len=8) :: pats(2), reps(2)

  call check(STRSTR_F('B1.TEMP     ', 'TEMP') == 1 .and. STRSTR_F('B1.TEMP     ', 'TEMP  X') == 0, 'STRSTR_F')
  call check(STRSTR_F('B1.TEMP', 'B1.TEMP    ') == 1, 'STRSTR_F ignores trailing blanks')
  name = 'FEED.T1.T2'
  k = STRED_REPLACE_REGEXP_F(name, 'T[0-9]', 'TEMP')
  call check(k == 2 .and. name == 'FEED.TEMP.TEMP', 'STRED_REPLACE_REGEXP_F')
  name = 'ABCABCABCABC'
  k = STRED_REPLACE_REGEXP_F(name, 'B', 'XXXX')
  call check(name == 'AXXXXCAXXXXCAXXXXCAXXXXC', 'the result fills the field')
  call check(STRED_REPLACE_REGEXP_F(name, '(', 'X') == -1, 'bad pattern')
  pats = [character(len=8) :: '^SELF', '\.T$']
  reps = [character(len=8) :: 'B1', '.TEMP']
  name = 'SELF.T'
  k = STRED_REPLACE_REGEXPS_F(name, pats, reps, 2_8)
  call check(k == 2 .and. name == 'B1.TEMP', 'STRED_REPLACE_REGEXPS_F')
  ! The interning table can be released from Fortran, twice without harm.
  call RTSYMTAB_SHUTDOWN_F()
  call RTSYMTAB_SHUTDOWN_F()
  print '(a)', 'stred_forms: all checks passed'

end program stred_forms
