! Calls the string editors the way legacy Fortran does: implicit interfaces,
! blank-padded fields and hidden lengths.
program stred_forms
  implicit none
  integer(8) :: STRSTR_F, STRED_REPLACE_REGEXP_F, STRED_REPLACE_REGEXPS_F
  external STRSTR_F, STRED_REPLACE_REGEXP_F, STRED_REPLACE_REGEXPS_F
  character(len=24) :: name
  character(len=8) :: pats(2), reps(2)
  integer(8) :: n, k
  integer :: failures

  failures = 0

  if (STRSTR_F('B1.TEMP     ', 'TEMP') /= 1) call fail('STRSTR_F finds TEMP')
  if (STRSTR_F('B1.TEMP     ', 'TEMP  X') /= 0) call fail('STRSTR_F refuses TEMP  X')
  if (STRSTR_F('B1.TEMP', 'B1.TEMP    ') /= 1) call fail('STRSTR_F trailing blanks ignored')

  name = 'FEED.T1.T2'
  k = STRED_REPLACE_REGEXP_F(name, 'T[0-9]', 'TEMP')
  if (k /= 2) call fail('STRED_REPLACE_REGEXP_F count')
  if (name /= 'FEED.TEMP.TEMP') call fail('STRED_REPLACE_REGEXP_F text: '//name)

  ! The field length bounds the result.
  name = 'ABCABCABCABC'
  k = STRED_REPLACE_REGEXP_F(name, 'B', 'XXXX')
  if (name /= 'AXXXXCAXXXXCAXXXXCAXXXXC') call fail('STRED_REPLACE_REGEXP_F full field: '//name)

  k = STRED_REPLACE_REGEXP_F(name, '(', 'X')
  if (k /= -1) call fail('STRED_REPLACE_REGEXP_F bad pattern')

  pats(1) = '^SELF'
  reps(1) = 'B1'
  pats(2) = '\.T$'
  reps(2) = '.TEMP'
  name = 'SELF.T'
  n = 2
  k = STRED_REPLACE_REGEXPS_F(name, pats, reps, n)
  if (k /= 2) call fail('STRED_REPLACE_REGEXPS_F count')
  if (name /= 'B1.TEMP') call fail('STRED_REPLACE_REGEXPS_F text: '//name)

  ! The interning table can be released from Fortran, twice without harm.
  call RTSYMTAB_SHUTDOWN_F()
  call RTSYMTAB_SHUTDOWN_F()

  if (failures > 0) error stop 1
  print *, 'stred_forms: all checks passed'

contains

  subroutine fail(what)
    character(len=*), intent(in) :: what
    print *, 'FAILED: ', what
    failures = failures + 1
  end subroutine fail

end program stred_forms
