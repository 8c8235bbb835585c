! Defines, looks up and drops aliases through the Fortran entry points, with
! gfortran's hidden text lengths and blank-padded fields.
program aliases
  implicit none
  integer(8) :: tags, cap, k, n
  integer(8) :: RTOTAGLST_CREATE_F, RTOTAGLST_ADD_TAG_F, RTOTAGLST_LOOKUP_F
  integer(8) :: RTOTAGLST_INQ_NTAG_F, RTOTAGLST_NONE_F
  external RTOTAGLST_CREATE_F, RTOTAGLST_ADD_TAG_F, RTOTAGLST_LOOKUP_F
  external RTOTAGLST_INQ_NTAG_F, RTOTAGLST_NONE_F
  character(len=40) :: alias, name
  character(len=5) :: short
  integer :: nfail

  nfail = 0
  cap = 1
  tags = RTOTAGLST_CREATE_F(cap)
  call check(tags /= 0_8, 'list created')

  alias = 'T1'
  name = 'B1.TEMP'
  call check(RTOTAGLST_ADD_TAG_F(tags, alias, name) == 0_8, 'first definition added')
  call check(RTOTAGLST_ADD_TAG_F(tags, 'P1', 'B1.PRES') == 0_8, 'literal texts added')
  call check(RTOTAGLST_ADD_TAG_F(tags, 'T1', 'OTHER') == 1_8, 'second definition refused')
  call check(RTOTAGLST_ADD_TAG_F(tags, 'lower', 'X') == 0_8, 'lower-case alias refused')
  n = RTOTAGLST_INQ_NTAG_F(tags)
  call check(n == 2_8, 'two aliases, growth past capacity 1')

  call check(RTOTAGLST_LOOKUP_F(tags, 'P1') == 2_8, 'P1 is tag 2')
  call check(RTOTAGLST_LOOKUP_F(tags, 'NONE') == 0_8, 'unknown alias')

  call RTOTAGLST_INQ_BY_TAG_F(tags, 'T1', name, k)
  call check(k == 1_8 .and. name == 'B1.TEMP', 'T1 stands for B1.TEMP')
  call RTOTAGLST_INQ_BY_TAG_F(tags, 'P1', short, k)
  call check(short == 'B1.PR', 'result cut to the field')
  call RTOTAGLST_INQ_BY_TAG_F(tags, 'ZZ', name, k)
  call check(k == 0_8 .and. name == ' ', 'unknown alias gives a blank field')

  call RTOTAGLST_PRINT_F(0_8, tags)
  call check(RTOTAGLST_NONE_F(tags) == 0_8, 'none keeps nothing defined here')
  call check(RTOTAGLST_INQ_NTAG_F(tags) == 0_8, 'list empty')
  call RTOTAGLST_DESTROY_F(tags)
  call check(tags == 0_8, 'handle cleared')

  if (nfail > 0) then
    print '(a,i0,a)', 'aliases: ', nfail, ' check(s) failed'
    error stop 1
  end if
  print '(a)', 'aliases: all checks passed'

contains

  subroutine check(ok, what)
    logical, intent(in) :: ok
    character(len=*), intent(in) :: what
    if (.not. ok) then
      print '(2a)', 'FAILED: ', what
      nfail = nfail + 1
    end if
  end subroutine check

end program aliases
