#!/usr/bin/env bash
# Installs the module from a build folder into a fresh prefix, builds the
# consumer project against that prefix alone, and runs it (in C and in C++;
# for Windows also the C one built with Microsoft's toolchain). On Linux the
# prefix is set up as the README tells a host to: the module alone with the
# host's browser library beside it (here the stand-in), then the WebKitGTK
# browser library's component in its place. Each time the README's own host
# (the blocks marked <!-- host file: NAME -->: CMakeLists.txt, build.sh and
# the sources they name) is built both ways, with no flag the README does not
# give, and each build's my_host runs without LD_LIBRARY_PATH.
# usage: check_consumer.sh BUILD_DIR CONSUMER_SOURCE VEQPOD_DIR [TOOLCHAIN_FILE]
set -euo pipefail
build=$1 source=$2 veqpod=$3 toolchain=${4:-}
readme=$(dirname "$0")/../README.md
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
# The README's host fetches the server's configuration: keep it on this machine.
export http_proxy=http://127.0.0.1:9 https_proxy=http://127.0.0.1:9
unset LD_LIBRARY_PATH

expect_ok() { # NAME COMMAND...: the command prints "consumer ok" (consumers) or exits 0 (the README's host)
  local name=$1 status=0 output
  shift
  output=$("$@") || status=$?
  [ "$status" -eq 0 ] && { [ "$name" = my_host ] || [ "$output" = "consumer ok" ]; } ||
    { echo "$name (exit $status): $output"; exit 1; }
}

run_under_wine() { /usr/lib/wine/wine64 "$1" | tr -d '\r'; }

build_readme_host() {
  local host=$work/readme_host
  rm -rf "$host" && mkdir "$host"
  "$(dirname "$0")/extract_readme_host.sh" "$readme" "$host"
  [ -f "$host/CMakeLists.txt" ] && [ -f "$host/build.sh" ] ||
    { echo "README.md marks no host CMakeLists.txt and build.sh"; exit 1; }
  cmake -S "$host" -B "$host/build" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
  cmake --build "$host/build" >/dev/null
  (cd "$host" && sh build.sh)
  expect_ok my_host "$host/build/my_host"
  expect_ok my_host "$host/my_host"
}

if [ -n "$toolchain" ]; then
  cmake --install "$build" --prefix "$prefix" >/dev/null
else
  # A host with a browser library of its own installs the module alone.
  cmake --install "$build" --prefix "$prefix" --component module >/dev/null
  cp -P "$veqpod"/libVEQPod.so* "$prefix/lib/"
fi
configure=(-S "$source" -G Ninja -DCMAKE_PREFIX_PATH="$prefix")
if [ -n "$toolchain" ]; then
  # A cross build looks for packages only below its target root: name this one.
  configure+=(-DCMAKE_TOOLCHAIN_FILE="$toolchain"
              -DXLoopConfigureClient_DIR="$prefix/lib/cmake/XLoopConfigureClient")
fi
cmake "${configure[@]}" -B "$work/build" >/dev/null
cmake --build "$work/build" >/dev/null

consumers=(consumer_c consumer_cpp)
if [ -n "$toolchain" ]; then
  # Windows hosts are built with Microsoft's toolchain: one more consumer so
  # built, with the import library the package picks where MSVC is set.
  cmake "${configure[@]}" -B "$work/msvc" -DMSVC=ON >/dev/null
  import_library=$(cat "$work/msvc/import_library.txt")
  [ "$(basename "$import_library")" = XLoopConfigureClient.lib ] ||
    { echo "the package gives a Microsoft toolchain $import_library"; exit 1; }
  "$(dirname "$0")/build_msvc_consumer.sh" "$prefix" "$source" "$(dirname "$0")/veqpod/msvc_std" "$work/build" \
    "$import_library"
  consumers+=(consumer_msvc)
  cp "$prefix/bin/XLoopConfigureClient.dll" "$veqpod/VEQPod.dll" "$work/build/"
  for consumer in "${consumers[@]}"; do
    expect_ok "$consumer" run_under_wine "$work/build/$consumer.exe"
  done
  echo "consumers built from the installed tree and ran"
  exit 0
fi
for consumer in "${consumers[@]}"; do expect_ok "$consumer" "$work/build/$consumer"; done
build_readme_host

# A GTK host takes the WebKitGTK browser library's component instead.
cmake --install "$build" --prefix "$prefix" --component veqpod-webkitgtk >/dev/null
if [ -f "$prefix/include/xloop/veqpod_webkit.h" ]; then
  soname=$(readelf -d "$prefix/lib/libVEQPod.so.1" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
  [ "$soname" = libVEQPod.so.1 ] || { echo "the WebKitGTK library's SONAME is '$soname'"; exit 1; }
  cmake "${configure[@]}" -B "$work/build" >/dev/null
  cmake --build "$work/build" >/dev/null
  expect_ok consumer_webkit "$work/build/consumer_webkit"
  cc "$source/consumer_webkit.c" $(pkg-config --cflags --libs XLoopConfigureClient VEQPodWebKit) \
    -Wl,-rpath,"$prefix/lib" -o "$work/consumer_webkit"
  expect_ok consumer_webkit "$work/consumer_webkit"
  build_readme_host
fi
echo "consumers and the README's host built from the installed tree and ran"
