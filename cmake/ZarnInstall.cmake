# Installation and packaging. `cmake --install <build> --prefix P` puts in P:
#   lib/libzarnutils.so.1.0.0 (soname libzarnutils.so.1) and its links,
#   include/zarnutils/*.h *.hpp, include/zarnutils/fortran/zarnutils.mod (and
#   the module's source, for other Fortran compilers),
#   lib/cmake/zarnutils/ (zarnutils::zarnutils), lib/pkgconfig/zarnutils.pc,
#   bin/zarn.
# Every file finds the prefix from where it lies, so the tree can be moved.
# `make package` (CPack) makes a Debian package of the same files under /usr.
include(CMakePackageConfigHelpers)

set(ZARN_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/zarnutils)

install(TARGETS zarnutils EXPORT zarnutilsTargets LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/include/zarnutils DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
install(FILES ${ZARN_FORTRAN_MODULE} ${PROJECT_BINARY_DIR}/fmod/zarnutils/zarnutils.mod
  DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/zarnutils/fortran)

install(EXPORT zarnutilsTargets NAMESPACE zarnutils:: FILE zarnutils-targets.cmake
  DESTINATION ${ZARN_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/zarnutils-config.cmake.in
  ${PROJECT_BINARY_DIR}/zarnutils-config.cmake INSTALL_DESTINATION ${ZARN_CMAKE_DIR})
write_basic_package_version_file(${PROJECT_BINARY_DIR}/zarnutils-config-version.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/zarnutils-config.cmake ${PROJECT_BINARY_DIR}/zarnutils-config-version.cmake
  DESTINATION ${ZARN_CMAKE_DIR})

file(RELATIVE_PATH ZARN_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" ZARN_PC_TO_PREFIX "${ZARN_PC_TO_PREFIX}")
configure_file(${PROJECT_SOURCE_DIR}/cmake/zarnutils.pc.in ${PROJECT_BINARY_DIR}/zarnutils.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/zarnutils.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)

# The Debian package: one package with the library, headers, Fortran module,
# CMake and pkg-config files and zarn. Its dependencies come from
# dpkg-shlibdeps (dpkg-dev) when that is installed.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zarnutils)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "zarnutils developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "run-time utility library of an equation-oriented modelling framework, with the zarn tool")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
find_program(ZARN_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(ZARN_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
include(CPack)
