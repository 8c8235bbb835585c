! Fortran run-time unit I/O for the library's C++ code. Compiled into the
! library so that units opened here and by a gfortran caller are the same units.
module zarn_funit
  use, intrinsic :: iso_c_binding
  implicit none
  private
  public :: zarn_funit_write_record, zarn_funit_open_seq, zarn_funit_close, &
            zarn_funit_is_open, zarn_funit_free_unit, zarn_funit_flush
  public :: zarn_funit_open_direct, zarn_funit_read_direct, zarn_funit_write_direct, &
            zarn_funit_size, zarn_funit_unit_of_file, zarn_funit_exists, zarn_funit_open_shared, &
            zarn_funit_close_delete, zarn_funit_descriptor

  ! Direct-access records of 2048 bytes (512 words), as the X-file lays them out.
  integer, parameter :: direct_recl = 2048
  ! Status of a transfer on a unit that is not connected, or of a record
  ! number below 1 (nothing is transferred then).
  integer(c_int), parameter :: stat_not_open = 9901, stat_short = -1
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

  ! Opens an unformatted direct-access file of 2048-byte little-endian records.
  ! how: 0 existing, read only; 1 new or existing, read and write; 2 existing,
  ! read and write.
  function zarn_funit_open_direct(unit, name, namelen, how) result(stat) &
      bind(C, name='zarn_funit_open_direct')
    integer(c_int32_t), value :: unit, how
    integer(c_size_t), value :: namelen
    character(kind=c_char), intent(in) :: name(*)
    integer(c_int) :: stat
    character(len=namelen) :: fname
    integer :: ios, i
    do i = 1, int(namelen)
      fname(i:i) = name(i)
    end do
    select case (how)
    case (0)
      open (unit=unit, file=fname, access='direct', form='unformatted', recl=direct_recl, &
            status='old', action='read', convert='little_endian', iostat=ios)
    case (2)
      open (unit=unit, file=fname, access='direct', form='unformatted', recl=direct_recl, &
            status='old', action='readwrite', convert='little_endian', iostat=ios)
    case default
      open (unit=unit, file=fname, access='direct', form='unformatted', recl=direct_recl, &
            status='unknown', action='readwrite', convert='little_endian', iostat=ios)
    end select
    stat = ios
  end function

  ! Reads record rec (1-based) of a direct-access unit into 512 words. The
  ! run-time pads a record the file holds only in part: callers that must
  ! know compare with zarn_funit_size first (once; an inquiry of the size
  ! costs far more than a read).
  function zarn_funit_read_direct(unit, rec, words) result(stat) bind(C, name='zarn_funit_read_direct')
    integer(c_int32_t), value :: unit
    integer(c_int64_t), value :: rec
    integer(c_int32_t), intent(inout) :: words(512)
    integer(c_int) :: stat
    integer :: ios
    logical :: op
    ! A transfer on a unit that is not connected would open a file of its own.
    inquire (unit=unit, opened=op, iostat=ios)
    if (ios /= 0 .or. .not. op) then
      stat = stat_not_open
      return
    end if
    if (rec < 1) then
      stat = stat_short
      return
    end if
    read (unit, rec=rec, iostat=ios) words
    stat = ios
  end function

  function zarn_funit_write_direct(unit, rec, words) result(stat) bind(C, name='zarn_funit_write_direct')
    integer(c_int32_t), value :: unit
    integer(c_int64_t), value :: rec
    integer(c_int32_t), intent(in) :: words(512)
    integer(c_int) :: stat
    integer :: ios
    logical :: op
    inquire (unit=unit, opened=op, iostat=ios)
    if (ios /= 0 .or. .not. op) then
      stat = stat_not_open
      return
    end if
    if (rec < 1) then
      stat = stat_short
      return
    end if
    write (unit, rec=rec, iostat=ios) words
    stat = ios
  end function

  ! The operating system's descriptor of the file connected to unit, or -1,
  ! after the run-time has written out what it holds for the unit: callers
  ! that move whole blocks of records with pread and pwrite start from the
  ! file as the unit's own statements left it.
  function zarn_funit_descriptor(unit) result(fd) bind(C, name='zarn_funit_descriptor')
    integer(c_int32_t), value :: unit
    integer(c_int) :: fd
    integer :: ios
    logical :: op
    fd = -1
    inquire (unit=unit, opened=op, iostat=ios)
    if (ios /= 0 .or. .not. op) return
    flush (unit, iostat=ios)
    fd = fnum(unit)
  end function

  ! Size in bytes of the file connected to unit, or -1.
  function zarn_funit_size(unit) result(bytes) bind(C, name='zarn_funit_size')
    integer(c_int32_t), value :: unit
    integer(c_int64_t) :: bytes
    integer :: ios
    logical :: op
    bytes = -1
    inquire (unit=unit, opened=op, iostat=ios)
    if (ios /= 0 .or. .not. op) return
    inquire (unit=unit, size=bytes, iostat=ios)
    if (ios /= 0) bytes = -1
  end function

  ! The unit a named file is connected to, or -1.
  function zarn_funit_unit_of_file(name, namelen) result(res) bind(C, name='zarn_funit_unit_of_file')
    integer(c_size_t), value :: namelen
    character(kind=c_char), intent(in) :: name(*)
    integer(c_int32_t) :: res
    character(len=namelen) :: fname
    integer :: ios, i, u
    logical :: op
    do i = 1, int(namelen)
      fname(i:i) = name(i)
    end do
    res = -1
    inquire (file=fname, opened=op, number=u, iostat=ios)
    if (ios == 0 .and. op) res = u
  end function

  ! 1 when the named file exists, else 0.
  function zarn_funit_exists(name, namelen) result(res) bind(C, name='zarn_funit_exists')
    integer(c_size_t), value :: namelen
    character(kind=c_char), intent(in) :: name(*)
    integer(c_int) :: res
    character(len=namelen) :: fname
    integer :: ios, i
    logical :: ex
    do i = 1, int(namelen)
      fname(i:i) = name(i)
    end do
    res = 0
    inquire (file=fname, exist=ex, iostat=ios)
    if (ios == 0 .and. ex) res = 1
  end function

  ! Opens a formatted sequential file with status 'unknown', at its end when append is 1.
  function zarn_funit_open_shared(unit, name, namelen, append) result(stat) &
      bind(C, name='zarn_funit_open_shared')
    integer(c_int32_t), value :: unit, append
    integer(c_size_t), value :: namelen
    character(kind=c_char), intent(in) :: name(*)
    integer(c_int) :: stat
    character(len=namelen) :: fname
    integer :: ios, i
    do i = 1, int(namelen)
      fname(i:i) = name(i)
    end do
    if (append == 1) then
      open (unit=unit, file=fname, form='formatted', access='sequential', status='unknown', &
            position='append', iostat=ios)
    else
      open (unit=unit, file=fname, form='formatted', access='sequential', status='unknown', iostat=ios)
    end if
    stat = ios
  end function

  ! Closes a unit and deletes its file.
  function zarn_funit_close_delete(unit) result(stat) bind(C, name='zarn_funit_close_delete')
    integer(c_int32_t), value :: unit
    integer(c_int) :: stat
    integer :: ios
    close (unit, status='delete', iostat=ios)
    stat = ios
  end function

end module
