#!/usr/bin/env bash
# Makes the Debian package of a build, checks its version and that its
# dependencies are packages this machine has, unpacks it into a folder (the
# test leaves the machine's installed packages alone), and builds and runs the
# C consumer against the unpacked tree alone. For a Windows build: makes the
# zip and checks what it holds. Both: the newest CHANGELOG.md entry names the
# version.
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
package=$(echo "$work"/packages/*_"$version"_*.deb)
[ -f "$package" ] || fail "no package of version $version: $(ls "$work/packages")"
dpkg-deb --field "$package" Package Version Depends
[ "$(dpkg-deb --field "$package" Version)" = "$version" ] || fail "the package's version is not $version"
depends=$(dpkg-deb --field "$package" Depends)
for dependency in libcurl4 libxml2 libstdc++6; do
  [[ "$depends" == *"$dependency "* ]] || fail "the package does not depend on $dependency"
done
for dependency in $(tr ',' '\n' <<<"$depends" | sed 's/(.*//; s/|.*//'); do
  dpkg-query -W "$dependency" >/dev/null 2>&1 || fail "$dependency is not a package of this machine"
done

dpkg-deb -x "$package" "$work/root"
cmake -S "$source" -B "$work/build" -G Ninja -DCMAKE_PREFIX_PATH="$work/root/usr" \
  -DCMAKE_EXE_LINKER_FLAGS="-Wl,-rpath-link,$veqpod" >/dev/null
cmake --build "$work/build" --target consumer_c >/dev/null
# The module comes from the unpacked tree (the consumer's run path); the
# browser library is the stand-in, ahead of any the package holds, which
# would need a display.
output=$(LD_LIBRARY_PATH="$veqpod" "$work/build/consumer_c")
[ "$output" = "consumer ok" ] || fail "consumer_c: $output"
echo "the C consumer built against the unpacked package and ran"
