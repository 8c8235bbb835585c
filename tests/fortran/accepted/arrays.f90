! Must compile against the module: the entries that take a whole array (a
! Jacobian's numbers, a block of fixed-width names) accept one, and a block of
! names also as one long field. External procedures are refused, so a call to
! an entry the module gives no interface for does not compile.
subroutine whole_arrays(jac, eqns, vars)
  use, intrinsic :: iso_c_binding
  use zarnutils
  implicit none (type, external)
  integer(c_intptr_t), intent(in) :: jac, eqns, vars
  integer(c_int64_t) :: numbers(3), named
  character(len=8) :: names(3)
  character(len=24) :: flat
  numbers = [1, 2, 3]
  names = ['A', 'B', 'C']
  flat = 'A       B       C'
  call RTOJAC_SET_ROWS_F(jac, numbers)
  call RTOJAC_SET_COLUMNS_F(jac, numbers)
  named = RTOEQNLST_ADDEQNS_F(eqns, 1_c_int64_t, 3_c_int64_t, 8_c_int64_t, names)
  named = RTOEQNLST_ADDEQNS_F(eqns, 1_c_int64_t, 3_c_int64_t, 8_c_int64_t, flat)
  call RTOEQNLST_NAMES_F(eqns, 1_c_int64_t, 3_c_int64_t, 8_c_int64_t, names)
  call RTOEQNLST_NAMES_F(eqns, 1_c_int64_t, 3_c_int64_t, 8_c_int64_t, flat)
  call RTOVARLST_NAMES_F(vars, 1_c_int32_t, 3_c_int32_t, 8_c_int32_t, names)
  call RTOVARLST_NAMES_F(vars, 1_c_int32_t, 3_c_int32_t, 8_c_int32_t, flat)
end subroutine whole_arrays

! The address of a procedure, as a solver hands a callback to the library.
subroutine address_of_a_procedure(proc)
  use, intrinsic :: iso_c_binding
  use zarnutils
  implicit none (type, external)
  interface
    subroutine proc() bind(C)
    end subroutine proc
  end interface
  integer(c_int64_t) :: at
  call GETFUNCPTR_F(c_funloc(proc), at)
end subroutine address_of_a_procedure
