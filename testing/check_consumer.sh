#!/usr/bin/env bash
# Installs the module from a build folder into a fresh prefix, builds the
# consumer project against that prefix alone, and runs it (in C and in C++;
# for Windows also the C one built with Microsoft's toolchain).
# usage: check_consumer.sh BUILD_DIR CONSUMER_SOURCE VEQPOD_DIR [TOOLCHAIN_FILE]
set -euo pipefail
build=$1 source=$2 veqpod=$3 toolchain=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/prefix" >/dev/null
configure=(-S "$source" -B "$work/build" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix")
if [ -n "$toolchain" ]; then
  # A cross build looks for packages only below its target root: name this one.
  configure+=(-DCMAKE_TOOLCHAIN_FILE="$toolchain"
              -DXLoopConfigureClient_DIR="$work/prefix/lib/cmake/XLoopConfigureClient")
else
  # The module's own import, the browser library, is the host's to supply.
  configure+=(-DCMAKE_EXE_LINKER_FLAGS="-Wl,-rpath-link,$veqpod")
fi
cmake "${configure[@]}" >/dev/null
cmake --build "$work/build" >/dev/null

consumers=(consumer_c consumer_cpp)
if [ -n "$toolchain" ]; then
  # Windows hosts are built with Microsoft's toolchain: one more consumer so built.
  "$(dirname "$0")/build_msvc_consumer.sh" "$work/prefix" "$source" "$(dirname "$0")/veqpod/msvc_std" "$work/build"
  consumers+=(consumer_msvc)
  cp "$work/prefix/bin/XLoopConfigureClient.dll" "$veqpod/VEQPod.dll" "$work/build/"
fi
for consumer in "${consumers[@]}"; do
  status=0
  if [ -n "$toolchain" ]; then
    output=$(/usr/lib/wine/wine64 "$work/build/$consumer.exe" | tr -d '\r') || status=$?
  else
    output=$(LD_LIBRARY_PATH="$work/prefix/lib:$veqpod" "$work/build/$consumer") || status=$?
  fi
  [ "$status" -eq 0 ] && [ "$output" = "consumer ok" ] || { echo "$consumer (exit $status): $output"; exit 1; }
done
echo "consumers built from the installed tree and ran"
