#!/usr/bin/env bash
# Installs the library (the "dev" component) into a scratch prefix and uses it as a stranger
# would: checks the headers and the version the package files carry, builds the example from its
# installed source with find_package and again with pkg-config, runs each build on the headless
# host through arrow keys, Space and Escape, and checks what it showed and played; then
# uninstalls and checks that nothing is left.
#   library_test.sh BUILD_DIR SOURCE_DIR [EXTRA_FLAGS]   (EXTRA_FLAGS: the build's sanitizer flags)
set -euo pipefail
build=$(readlink -f "$1")
source_dir=$(readlink -f "$2")
flags=${3:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$work/prefix
echo "== install the library into $prefix"
timeout 60 cmake --install "$build" --prefix "$prefix" --component dev >"$work/install.log"
(cd "$prefix" && find . -type f -o -type l) | sed 's|^\./||' | sort >"$work/installed.txt"

# The public headers, folder by folder, and nothing of the game.
(cd "$source_dir/src" && ls winapi/*.h display/*.h image/*.h input/*.h sound/*.h vector/*.h soft/host.h \
  hosts/headless/headless_host.h hosts/sdl/sdl_host.h) | sed 's|^|include/vork/|' | sort >"$work/headers.txt"
grep '^include/' "$work/installed.txt" | diff -u "$work/headers.txt" - || fail "installed headers differ"
examples=share/doc/vork-dev/examples/robot_walk
for f in $examples/robot_walk.cpp $examples/CMakeLists.txt $examples/Makefile share/doc/vork-dev/copyright; do
  grep -qx "$f" "$work/installed.txt" || fail "$f not installed"
done
# Every header compiles from the installed tree alone.
sed 's|^include/vork/\(.*\)|#include "\1"|' "$work/headers.txt" >"$work/all_headers.cpp"
c++ -std=c++17 -fsyntax-only -I"$prefix/include/vork" -I"$prefix/include/vork/winapi" "$work/all_headers.cpp" ||
  fail "the installed headers do not compile on their own"

# The version is the project's, in both package files.
version=$(sed -n 's/^project(vork VERSION \([0-9.]*\) .*/\1/p' "$source_dir/CMakeLists.txt")
[ -n "$version" ] || fail "no version in the project"
pc_dir=$(dirname "$(find "$prefix" -name vork.pc)")
export PKG_CONFIG_PATH=$pc_dir
[ "$(pkg-config --modversion vork)" = "$version" ] || fail "vork.pc carries $(pkg-config --modversion vork)"
[ "$(pkg-config --modversion vork-headless)" = "$version" ] || fail "vork-headless.pc has another version"
grep -q "set(PACKAGE_VERSION \"$version\")" "$(find "$prefix" -name vorkConfigVersion.cmake)" ||
  fail "vorkConfigVersion.cmake does not carry $version"

echo "== build the example with find_package"
timeout 120 cmake -S "$prefix/$examples" -B "$work/cmake" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" >"$work/cmake.log" ||
  fail "configure: $(cat "$work/cmake.log")"
timeout 300 cmake --build "$work/cmake" >>"$work/cmake.log" 2>&1 || fail "build: $(tail -30 "$work/cmake.log")"

echo "== build the example with pkg-config"
cp -r "$prefix/$examples" "$work/make"
timeout 300 make -C "$work/make" CXXFLAGS="-g $flags" LDFLAGS="$flags" >"$work/make.log" 2>&1 ||
  fail "make: $(tail -30 "$work/make.log")"

for dir in "$work/cmake" "$work/make"; do
  [ -x "$dir/robot_walk" ] || fail "no SDL program in $dir"
done

# Right held for a second walks the robot; Space beeps; Escape fades to red and ends the program.
keys="200 down RIGHT; 1200 up RIGHT; 1300 down SPACE; 1400 up SPACE; 1600 down ESCAPE; 1700 up ESCAPE"
run() {  # run <program> <name> <keys> [more arguments]
  local status=0
  (cd "$work" && timeout 60 "$1" --keys "$3" "${@:4}") >"$work/$2.txt" 2>"$work/$2.err" || status=$?
  echo "status $status" >>"$work/$2.txt"
}
expect() {  # expect <name> <line>...
  local name=$1
  shift
  for line in "$@"; do grep -qx "$line" "$work/$name.txt" || fail "$name: no '$line' in: $(cat "$work/$name.txt" "$work/$name.err")"; done
}
for way in cmake make; do
  echo "== run the $way build headless"
  program=$work/$way/robot_walk_headless
  run "$program" "$way" "$keys"
  expect "$way" "status 0" "exit 0" "last-frame 255 0 0" "sound yes"
  # Before Escape the picture is the backdrop with the robot; walking right changes it.
  run "$program" "$way-walked" "$keys" --max-ms 1500 --png "$work/$way-walked.png"
  run "$program" "$way-still" "" --max-ms 1500 --png "$work/$way-still.png"
  expect "$way-walked" "status 2" "sound yes" "last-frame 140 190 250"  # the sky at the centre
  expect "$way-still" "status 2" "sound no"
  [ "$(compare -metric AE "$work/$way-walked.png" "$work/$way-still.png" null: 2>&1)" != 0 ] ||
    fail "$way: the robot did not move"
done
[ "$(compare -metric AE "$work/cmake-walked.png" "$work/make-walked.png" null: 2>&1)" = 0 ] ||
  fail "the two builds showed different pictures"
# A command line the headless main cannot read is refused, status 64, before the program runs.
for bad in "--max-ms" "--keys|100 down F1" "--keys|100 press SPACE" "--keys|soon down SPACE" "--frames|3"; do
  status=0
  IFS='|' read -r -a arguments <<<"$bad"
  "$work/cmake/robot_walk_headless" "${arguments[@]}" >/dev/null 2>&1 || status=$?
  [ "$status" = 64 ] || fail "'${arguments[*]}' gave status $status, not 64"
done

echo "== uninstall"
timeout 60 cmake -DMANIFEST="$build/install_manifest_dev.txt" -P "$source_dir/packaging/uninstall.cmake" >/dev/null
left=$(cd "$prefix" && find . -type f -o -type l)
[ -z "$left" ] || fail "files left after uninstall: $left"
left=$(find "$prefix" -path '*vork*')
[ -z "$left" ] || fail "folders left after uninstall: $left"
echo "PASS"
