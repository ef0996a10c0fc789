#!/usr/bin/env bash
# Checks the Debian package: lintian (no errors, no warnings), its declared dependencies cover
# every library the game links, its file list is the install's (with the launcher in
# /usr/games), and it installs and purges cleanly in a scratch root.
#   deb_check.sh BUILD_DIR SOURCE_DIR      (after `make deb`)
set -euo pipefail
build=$(readlink -f "$1")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

debs=("$build"/vork_*.deb)
[ ${#debs[@]} = 1 ] && [ -f "${debs[0]}" ] || fail "expected one vork_*.deb in $build: ${debs[*]}"
deb=${debs[0]}
echo "== $deb"

echo "== lintian"
timeout 300 lintian --fail-on error,warning --info "$deb" || fail "lintian"

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
  [[ ", $depends," == *", $pkg "* || ", $depends," == *", $pkg,"* ]] || fail "$lib ($pkg) is not in Depends"
  echo "$lib: $pkg declared"
done

echo "== file list against the install"
DESTDIR="$work/install" timeout 60 cmake --install "$build" --prefix /usr >/dev/null
(cd "$work/install" && find . -type f -o -type l) | sed 's|^\./usr/bin/vork$|./usr/games/vork|' | sort >"$work/installed.txt"
dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sort >"$work/packaged.txt"
diff -u "$work/installed.txt" "$work/packaged.txt" || fail "the package's files differ from the install's"
echo "$(wc -l <"$work/packaged.txt") files, the same as the install"

echo "== install and purge in a scratch root"
root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers" "$root/var/log"
touch "$root/var/lib/dpkg/status"
# The scratch root has none of the dependencies; they are checked above.
timeout 120 dpkg --root="$root" --log="$root/var/log/dpkg.log" --force-depends --force-not-root -i "$deb"
status=$(dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Status}' vork)
[ "$status" = "install ok installed" ] || fail "status after install: $status"
(cd "$root" && find ./usr -type f -o -type l) | sort >"$work/unpacked.txt"
diff -u "$work/packaged.txt" "$work/unpacked.txt" || fail "the scratch root does not hold the package's files"
sh -n "$root/usr/games/vork" || fail "the installed launcher is not a valid shell script"
timeout 120 dpkg --root="$root" --log="$root/var/log/dpkg.log" --force-depends --force-not-root --purge vork
left=$(cd "$root" && find ./usr -mindepth 1 2>/dev/null || true)
[ -z "$left" ] || fail "left after purge: $left"
status=$(dpkg-query --admindir="$root/var/lib/dpkg" -W -f='${Status}' vork 2>/dev/null || true)
[ -z "$status" ] || [ "$status" = "unknown ok not-installed" ] || fail "status after purge: $status"
echo "PASS"
