#!/usr/bin/env bash
# Installs the build tree into a scratch prefix, checks what lands there, and
# builds and runs three consumers against it: C with pkg-config, C++ with
# find_package, Fortran with pkg-config and the module. Then the same against
# the Debian package made by CPack and unpacked with dpkg-deb (skipped, with a
# note, when dpkg-deb is missing).
#
#   install_test.sh BUILD_DIR WORK_DIR
#   environment: CMAKE, CPACK, CC, CXX, FC (the build's tools), SANITIZE (the
#   build's sanitizers, given to the consumers too; may be empty)
set -euo pipefail

build=$1
work=$2
here=$(cd "$(dirname "$0")" && pwd)
flags=()
if [ -n "${SANITIZE:-}" ]; then
  flags=(-fsanitize="$SANITIZE" -fno-omit-frame-pointer)
fi

fail() {
  echo "FAILED: $*" >&2
  exit 1
}

# Every file a consumer needs, and the library's soname.
check_tree() {
  local prefix=$1 libdir=$2
  for f in "$libdir/libzarnutils.so" "$libdir/libzarnutils.so.1" "$libdir/libzarnutils.so.1.0.0" \
           "$prefix/include/zarnutils/zarnutils.h" "$prefix/include/zarnutils/varfile.hpp" \
           "$prefix/include/zarnutils/fortran/zarnutils.mod" "$prefix/include/zarnutils/fortran/zarnutils.f90" \
           "$libdir/cmake/zarnutils/zarnutils-config.cmake" \
           "$libdir/cmake/zarnutils/zarnutils-config-version.cmake" \
           "$libdir/cmake/zarnutils/zarnutils-targets.cmake" "$libdir/pkgconfig/zarnutils.pc" \
           "$prefix/bin/zarn"; do
    [ -e "$f" ] || fail "missing after installation: $f"
  done
  local soname
  soname=$(objdump -p "$libdir/libzarnutils.so.1.0.0" | awk '$1 == "SONAME" { print $2 }')
  [ "$soname" = "libzarnutils.so.1" ] || fail "soname is '$soname', not libzarnutils.so.1"
}

# Builds and runs the three consumers against an installed tree.
consume() {
  local prefix=$1 libdir=$2 out=$3
  rm -rf "$out"
  mkdir -p "$out"
  export PKG_CONFIG_PATH="$libdir/pkgconfig"
  local cflags libs rpath
  cflags=$(pkg-config --cflags zarnutils)
  libs=$(pkg-config --libs zarnutils)
  rpath="-Wl,-rpath,$(pkg-config --variable=libdir zarnutils)"

  # shellcheck disable=SC2086
  "$CC" -std=c11 -Wall -Werror "${flags[@]}" $cflags "$here/consumer.c" -o "$out/c_consumer" $libs -lm $rpath
  (cd "$out" && ./c_consumer) | grep -qx "C consumer: ok" || fail "C consumer against $prefix"

  (cd "$out" && "$FC" -Wall "${flags[@]}" $cflags "$here/consumer.f90" -o "$out/f_consumer" $libs $rpath)
  (cd "$out" && ./f_consumer) | grep -qx "Fortran consumer: ok" || fail "Fortran consumer against $prefix"

  "$CMAKE" -S "$here/cxx" -B "$out/cxx" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_CXX_COMPILER="$CXX" -DCMAKE_CXX_FLAGS="${flags[*]}" >"$out/cxx-configure.log" 2>&1 ||
    { cat "$out/cxx-configure.log"; fail "configuring the C++ consumer against $prefix"; }
  "$CMAKE" --build "$out/cxx" >"$out/cxx-build.log" 2>&1 ||
    { cat "$out/cxx-build.log"; fail "building the C++ consumer against $prefix"; }
  "$out/cxx/cxx_consumer" | grep -qx "C++ consumer: ok" || fail "C++ consumer against $prefix"

  # zarn finds the library beside it.
  "$prefix/bin/zarn" units convert 0 PSIG PA | grep -qx "0 PSIG = 101325 PA" || fail "installed zarn"
}

rm -rf "$work"
mkdir -p "$work"

"$CMAKE" --install "$build" --prefix "$work/prefix" >"$work/install.log"
libdir="$work/prefix/$(sed -n 's/^libdir=\${prefix}\///p' "$build/zarnutils.pc")"
check_tree "$work/prefix" "$libdir"
consume "$work/prefix" "$libdir" "$work/from-prefix"
echo "installed prefix: the three consumers and zarn work"

if ! command -v dpkg-deb >/dev/null; then
  echo "dpkg-deb is missing: the Debian package is not tried"
  exit 0
fi
(cd "$build" && "$CPACK" -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) ||
  { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/package/zarnutils_*.deb)
dpkg-deb -x "$deb" "$work/root"
check_tree "$work/root/usr" "${libdir/$work\/prefix/$work/root/usr}"
consume "$work/root/usr" "${libdir/$work\/prefix/$work/root/usr}" "$work/from-package"
echo "Debian package $(basename "$deb"): the three consumers and zarn work"
