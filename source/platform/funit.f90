! Fortran run-time unit I/O for the library's C++ code. Compiled into the
! library so that units opened here and by a gfortran caller are the same units.
module zarn_funit
  use, intrinsic :: iso_c_binding
  implicit none
  private
  public :: zarn_funit_write_record, zarn_funit_open_seq, zarn_funit_close, &
            zarn_funit_is_open, zarn_funit_free_unit, zarn_funit_flush
contains

  ! Writes len bytes as one formatted record; returns the I/O status (0 = done).
  function zarn_funit_write_record(unit, buf, len) result(stat) bind(C, name='zarn_funit_write_record')
    integer(c_int32_t), value :: unit
    integer(c_size_t), value :: len
    character(kind=c_char), intent(in) :: buf(*)
    integer(c_int) :: stat
    integer :: ios
    if (len == 0) then
      write (unit, '(A)', iostat=ios) ''
    else
      write (unit, '(*(A))', iostat=ios) buf(1:len)
    end if
    stat = ios
  end function

  ! Opens a formatted sequential file on unit; action 0 read, 1 write (replace), 2 append.
  function zarn_funit_open_seq(unit, name, namelen, action) result(stat) bind(C, name='zarn_funit_open_seq')
    integer(c_int32_t), value :: unit, action
    integer(c_size_t), value :: namelen
    character(kind=c_char), intent(in) :: name(*)
    integer(c_int) :: stat
    character(len=namelen) :: fname
    integer :: ios, i
    do i = 1, int(namelen)
      fname(i:i) = name(i)
    end do
    select case (action)
    case (0)
      open (unit=unit, file=fname, form='formatted', access='sequential', status='old', &
            action='read', iostat=ios)
    case (2)
      open (unit=unit, file=fname, form='formatted', access='sequential', position='append', &
            action='write', iostat=ios)
    case default
      open (unit=unit, file=fname, form='formatted', access='sequential', status='replace', &
            action='write', iostat=ios)
    end select
    stat = ios
  end function

  function zarn_funit_close(unit) result(stat) bind(C, name='zarn_funit_close')
    integer(c_int32_t), value :: unit
    integer(c_int) :: stat
    integer :: ios
    close (unit, iostat=ios)
    stat = ios
  end function

  function zarn_funit_flush(unit) result(stat) bind(C, name='zarn_funit_flush')
    integer(c_int32_t), value :: unit
    integer(c_int) :: stat
    integer :: ios
    flush (unit, iostat=ios)
    stat = ios
  end function

  ! 1 when the unit is connected to a file, else 0.
  function zarn_funit_is_open(unit) result(res) bind(C, name='zarn_funit_is_open')
    integer(c_int32_t), value :: unit
    integer(c_int) :: res
    logical :: op
    integer :: ios
    inquire (unit=unit, opened=op, iostat=ios)
    res = 0
    if (ios == 0 .and. op) res = 1
  end function

  ! The first unit from `first` upwards that is not connected, or -1.
  function zarn_funit_free_unit(first) result(res) bind(C, name='zarn_funit_free_unit')
    integer(c_int32_t), value :: first
    integer(c_int32_t) :: res
    integer :: u
    logical :: op
    integer :: ios
    res = -1
    do u = max(first, 1), 9999
      inquire (unit=u, opened=op, iostat=ios)
      if (ios == 0 .and. .not. op) then
        res = u
        return
      end if
    end do
  end function

end module
