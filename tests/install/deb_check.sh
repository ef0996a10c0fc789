#!/usr/bin/env bash
# Checks the two Debian packages, vork (the game) and vork-dev (the library for programs of one's
# own): lintian (no errors, no warnings) on each; the game's declared dependencies cover every
# library the game links, and vork-dev's cover every pkg-config module its .pc files require;
# both carry the project's version; each file list is its install component's (with the
# launcher in /usr/games); and both install and purge cleanly in a scratch root.
#   deb_check.sh BUILD_DIR SOURCE_DIR      (after `make deb`)
set -euo pipefail
build=$(readlink -f "$1")
source_dir=$(readlink -f "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

one_deb() {  # one_deb <package>: the one <package>_*.deb in the build folder
  local found=("$build/$1"_*.deb)
  [ ${#found[@]} = 1 ] && [ -f "${found[0]}" ] || fail "expected one $1_*.deb in $build: ${found[*]}"
  echo "${found[0]}"
}
deb=$(one_deb vork)
dev_deb=$(one_deb vork-dev)
echo "== $deb"
echo "== $dev_deb"

echo "== lintian"
for package in "$deb" "$dev_deb"; do
  timeout 300 lintian --fail-on error,warning --info "$package" || fail "lintian $(basename "$package")"
done

echo "== version"
version=$(sed -n 's/^project(vork VERSION \([0-9.]*\) .*/\1/p' "$source_dir/CMakeLists.txt")
for package in "$deb" "$dev_deb"; do
  [ "$(dpkg-deb -f "$package" Version)" = "$version" ] || fail "$(basename "$package") is not version $version"
done
echo "both $version"

# True when package $1 is named in the Depends list $2.
declared() { [[ ", $2," == *", $1 "* || ", $2," == *", $1,"* ]]; }

echo "== dependencies"
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
# Each library the game loads must come from a package the package depends on.
game="$build/vork"
for lib in $(readelf -d "$game" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
  path=$(ldd "$game" | awk -v l="$lib" '$1 == l { print $3 }')
  [ -n "$path" ] || fail "cannot resolve $lib"
  owner=$(dpkg -S "$(readlink -f "$path")" 2>/dev/null || dpkg -S "$path") || fail "no package owns $path"
  pkg=${owner%%:*}
  declared "$pkg" "$depends" || fail "$lib ($pkg) is not in Depends"
  echo "$lib: $pkg declared"
done
# Each pkg-config module the library's .pc files require must come from a package vork-dev
# depends on, and pkg-config itself too.
dev_depends=$(dpkg-deb -f "$dev_deb" Depends)
echo "vork-dev Depends: $dev_depends"
dpkg-deb -x "$dev_deb" "$work/dev"
modules=$(sed -n 's/^Requires: //p' $(find "$work/dev" -name '*.pc') | tr ' ' '\n' | sort -u)
[ -n "$modules" ] || fail "the .pc files require nothing"
for module in $modules; do
  pc=$(pkg-config --variable=pcfiledir "$module")/$module.pc
  owner=$(dpkg -S "$(readlink -f "$pc")" 2>/dev/null || dpkg -S "$pc") || fail "no package owns $pc"
  declared "${owner%%:*}" "$dev_depends" || fail "$module (${owner%%:*}) is not in vork-dev's Depends"
  echo "$module: ${owner%%:*} declared"
done
declared pkgconf "$dev_depends" || fail "pkgconf is not in vork-dev's Depends"

echo "== file lists against the install"
for component in game dev; do
  package=$deb
  [ $component = dev ] && package=$dev_deb
  DESTDIR="$work/install-$component" timeout 60 cmake --install "$build" --prefix /usr --component $component >/dev/null
  (cd "$work/install-$component" && find . -type f -o -type l) | sed 's|^\./usr/bin/vork$|./usr/games/vork|' |
    sort >"$work/installed-$component.txt"
  dpkg-deb --fsys-tarfile "$package" | tar -t | grep -v '/$' | sort >"$work/packaged-$component.txt"
  diff -u "$work/installed-$component.txt" "$work/packaged-$component.txt" ||
    fail "$(basename "$package")'s files differ from the $component install's"
  echo "$(basename "$package"): $(wc -l <"$work/packaged-$component.txt") files, the same as the install"
done
grep -q '^\./usr/include/vork/display/display.h$' "$work/packaged-dev.txt" || fail "vork-dev has no headers"
grep -q '^\./usr/lib/.*libvork_lib\.a$' "$work/packaged-dev.txt" || fail "vork-dev has no library"
grep -q 'examples/robot_walk/robot_walk.cpp$' "$work/packaged-dev.txt" || fail "vork-dev has no example"
sort -u "$work/packaged-game.txt" "$work/packaged-dev.txt" >"$work/packaged.txt"
[ "$(wc -l <"$work/packaged.txt")" = $(( $(wc -l <"$work/packaged-game.txt") + $(wc -l <"$work/packaged-dev.txt") )) ] ||
  fail "the two packages share files"

echo "== install and purge in a scratch root"
root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers" "$root/var/log"
touch "$root/var/lib/dpkg/status"
# The scratch root has none of the dependencies; they are checked above.
timeout 120 dpkg --root="$root" --log="$root/var/log/dpkg.log" --force-depends --force-not-root -i "$deb" "$dev_deb"
for package in vork vork-dev; do
  status=$(dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Status}' $package)
  [ "$status" = "install ok installed" ] || fail "$package status after install: $status"
done
(cd "$root" && find ./usr -type f -o -type l) | sort >"$work/unpacked.txt"
diff -u "$work/packaged.txt" "$work/unpacked.txt" || fail "the scratch root does not hold the package's files"
sh -n "$root/usr/games/vork" || fail "the installed launcher is not a valid shell script"
timeout 120 dpkg --root="$root" --log="$root/var/log/dpkg.log" --force-depends --force-not-root --purge vork vork-dev
left=$(cd "$root" && find ./usr -mindepth 1 2>/dev/null || true)
[ -z "$left" ] || fail "left after purge: $left"
for package in vork vork-dev; do
  status=$(dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Status}' $package 2>/dev/null || true)
  [ -z "$status" ] || [ "$status" = "unknown ok not-installed" ] || fail "$package status after purge: $status"
done
echo "PASS"
