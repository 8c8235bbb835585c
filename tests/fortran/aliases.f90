! Defines, looks up and drops aliases through the Fortran entry points, with
! gfortran's hidden text lengths and blank-padded fields.
program aliases
  use test_checks
  implicit none
  integer(8) :: tags, k
  integer(8) :: RTOTAGLST_CREATE_F, RTOTAGLST_ADD_TAG_F, RTOTAGLST_LOOKUP_F, RTOTAGLST_INQ_NTAG_F, &
      RTOTAGLST_NONE_F
  character(len=40) :: name
  character(len=5) :: short

  tags = RTOTAGLST_CREATE_F(1_8)
  name = 'B1.TEMP'
  call check(tags /= 0 .and. RTOTAGLST_ADD_TAG_F(tags, 'T1', name) == 0, 'list created, padded field added')
  call check(RTOTAGLST_ADD_TAG_F(tags, 'P1', 'B1.PRES') + RTOTAGLST_ADD_TAG_F(tags, 'lower', 'X') == 0, &
             'added, refused')
  call check(RTOTAGLST_ADD_TAG_F(tags, 'T1', 'OTHER') == 1, 'second definition refused')
  call check(RTOTAGLST_INQ_NTAG_F(tags) == 2 .and. RTOTAGLST_LOOKUP_F(tags, 'P1') == 2, &
             'grown past capacity 1')
  call RTOTAGLST_INQ_BY_TAG_F(tags, 'T1', name, k)
  call check(k == 1 .and. name == 'B1.TEMP', 'T1 stands for B1.TEMP')
  call RTOTAGLST_INQ_BY_TAG_F(tags, 'P1', short, k); call check(short == 'B1.PR', 'result cut to the field')
  call RTOTAGLST_INQ_BY_TAG_F(tags, 'ZZ', name, k)
  call check(k == 0 .and. name == ' ', 'unknown alias gives a blank field')
  call RTOTAGLST_PRINT_F(0_8, tags)
  call check(RTOTAGLST_NONE_F(tags) == 0 .and. RTOTAGLST_INQ_NTAG_F(tags) == 0, 'none empties the list')
  call RTOTAGLST_DESTROY_F(tags); call check(tags == 0, 'handle cleared')
  print '(a)', 'aliases: all checks passed'

end program aliases
