#!/usr/bin/env bash
# Makes the Debian packages of a build (the module, the tools, each browser
# library the build has), checks their version and their dependencies: every
# other package needs the module's of the same version, the module no browser
# engine, each library its own engine and not the other's, all packages this
# machine has. Installs what a GTK host installs (the module and the WebKitGTK
# library) with dpkg into a private root with a dpkg database of its own (the
# machine's packages stay as they are; the test runs as root or not), checks
# that dpkg calls them installed, and builds against that root's /usr alone:
# the C consumer, built and run, and the Linux host example where GTK's
# development files are present, compiled and linked only. Then installs the Qt
# WebEngine library's package beside them. For a Windows build: makes the zip and checks what it holds.
# Both: the newest CHANGELOG.md entry names the version.
# usage: check_package.sh BUILD_DIR CONSUMER_SOURCE VEQPOD_DIR VERSION
set -euo pipefail
build=$1 source=$2 veqpod=$3 version=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "$*"; exit 1; }
pack() { cpack --config "$build/CPackConfig.cmake" -B "$work/packages" "$@" >"$work/cpack.log" 2>&1 ||
  fail "cpack failed: $(cat "$work/cpack.log")"; }

changelog=$(dirname "$0")/../CHANGELOG.md
newest=$(grep -m1 '^## ' "$changelog")
[ "$newest" = "## $version" ] || fail "the newest entry of CHANGELOG.md is '$newest', not $version"

if grep -q 'CPACK_GENERATOR "ZIP"' "$build/CPackConfig.cmake"; then
  # Windows: the zip holds the DLL, its symbol file, its import libraries and the header.
  pack
  listing=$(python3 -m zipfile -l "$work"/packages/*-"$version"-*.zip)
  for file in bin/XLoopConfigureClient.dll bin/.debug/XLoopConfigureClient.dll.debug \
              lib/libXLoopConfigureClient.dll.a include/xloop/xloop_client.h; do
    grep -q "/$file " <<<"$listing" || fail "the zip of version $version has no $file"
  done
  echo "the zip of version $version holds the DLL, its symbols, its import library and the header"
  exit 0
fi

pack -G DEB
# One package per part; a browser library's package only where the build has
# that library.
deb() { echo "$work/packages/xloopconfigureclient$1_${version}_"*.deb; }
module=$(deb '') webkit=$(deb -veqpod-webkitgtk) qt=$(deb -veqpod-qtwebengine)
for package in "$module" "$(deb -tools)"; do
  [ -f "$package" ] || fail "no package $(basename "$package") of version $version: $(ls "$work/packages")"
done
depends_of() { dpkg-deb --field "$1" Depends; }
# needs PACKAGE NAME...: each NAME is a dependency of PACKAGE (with a version or
# a comma after it); lacks PACKAGE PATTERN: no dependency matches PATTERN.
needs() { local package=$1; shift; for name; do [[ "$(depends_of "$package"), " =~ (^|, )"$name"[\ ,] ]] ||
  fail "$(basename "$package") does not depend on $name: $(depends_of "$package")"; done; }
lacks() { ! grep -qiE "$2" <<<"$(depends_of "$1")" || fail "$(basename "$1") depends on $2: $(depends_of "$1")"; }
for package in "$work"/packages/*.deb; do
  dpkg-deb --field "$package" Package Version Depends Recommends
  [ "$(dpkg-deb --field "$package" Version)" = "$version" ] || fail "$(basename "$package") is not version $version"
  [ "$package" = "$module" ] || needs "$package" "xloopconfigureclient (= $version)"
  for dependency in $(tr ',' '\n' <<<"$(depends_of "$package")" | sed 's/(.*//; s/|.*//'); do
    [[ $dependency == xloopconfigureclient* ]] || dpkg-query -W "$dependency" >/dev/null 2>&1 ||
      fail "$dependency is not a package of this machine"
  done
done
needs "$module" libcurl4 libxml2 libstdc++6
lacks "$module" 'webkit|qt|gtk'
if [ -f "$webkit" ]; then needs "$webkit" libwebkit2gtk-4.1-0; lacks "$webkit" qt; fi
if [ -f "$qt" ]; then needs "$qt" libqt6webenginecore6; lacks "$qt" webkit; fi

# The private database knows no packages, so dependencies, checked against the
# machine above, are not checked again. The maintainer scripts run outside a
# chroot (which needs root); the ldconfig the package's postinst calls is a
# stand-in, as the real one would rewrite this machine's cache.
root=$work/root
mkdir -p "$root"/var/lib/dpkg/{info,updates,triggers} "$work/bin"
: >"$root/var/lib/dpkg/status"
# shellcheck disable=SC2016 # expanded by the stand-in when dpkg runs it
printf '#!/bin/sh\n: >"$DPKG_ROOT/ldconfig-ran"\n' >"$work/bin/ldconfig"
chmod +x "$work/bin/ldconfig"
# dpkg_install PACKAGE...: into the private root; dpkg must call each installed.
dpkg_install() {
  PATH="$work/bin:$PATH:/usr/sbin:/sbin" dpkg --root="$root" --log=/dev/null \
    --force-depends --force-not-root --force-script-chrootless -i "$@" >"$work/dpkg.log" 2>&1 ||
    fail "dpkg could not install $*: $(cat "$work/dpkg.log")"
  for package; do
    name=$(dpkg-deb --field "$package" Package)
    dpkg --root="$root" -s "$name" | grep -qx 'Status: install ok installed' ||
      fail "dpkg does not call $name installed: $(dpkg --root="$root" -s "$name" 2>&1)"
  done
}
# What a GTK host installs.
gtk_host=("$module")
if [ -f "$webkit" ]; then gtk_host+=("$webkit"); fi
dpkg_install "${gtk_host[@]}"
[ -f "$root/ldconfig-ran" ] || fail "the package's postinst did not run ldconfig"
for file in lib/libXLoopConfigureClient.so.1 include/xloop/xloop_client.h include/xloop/xloop_room.d.ts \
            lib/cmake/XLoopConfigureClient lib/pkgconfig/XLoopConfigureClient.pc; do
  [ -e "$root/usr/$file" ] || fail "the installed package has no /usr/$file"
done

# The module finds the browser library beside it (its run path), at link
# time too: no -rpath-link.
cmake -S "$source" -B "$work/build" -G Ninja -DCMAKE_PREFIX_PATH="$root/usr" >/dev/null
cmake --build "$work/build" --target consumer_c >/dev/null
# The module comes from the installed tree (the consumer's run path); the
# browser library is the stand-in, ahead of any the package holds, which
# would need a display.
output=$(LD_LIBRARY_PATH="$veqpod" "$work/build/consumer_c")
[ "$output" = "consumer ok" ] || fail "consumer_c: $output"
echo "the C consumer built against the installed package and ran"

host=$(dirname "$0")/../examples/hosts/linux_host.c
if [ -f "$root/usr/lib/pkgconfig/VEQPodWebKit.pc" ] && pkg-config --exists gtk+-3.0; then
  # As the host example's own build does: the WebKitGTK library kept although
  # the host calls none of its functions.
  read -ra package_flags <<<"$(PKG_CONFIG_PATH="$root/usr/lib/pkgconfig" \
    pkg-config --cflags --libs XLoopConfigureClient VEQPodWebKit)"
  read -ra gtk_flags <<<"$(pkg-config --cflags --libs gtk+-3.0)"
  cc -Wall -Wextra -Werror -o "$work/linux_host" "$host" -Wl,--no-as-needed "${package_flags[@]}" "${gtk_flags[@]}" ||
    fail "the Linux host example does not build against the installed package"
  echo "the Linux host example built against the installed package"
fi
# The other library's package beside it: no file in two packages.
if [ -f "$qt" ]; then dpkg_install "$qt"; fi
echo "the packages of version $version installed side by side"
