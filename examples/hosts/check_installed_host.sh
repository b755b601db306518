#!/usr/bin/env bash
# Installs the build with every component (so the WebKitGTK browser library
# lies beside the module) into a fresh prefix, builds the complete GTK host
# against that prefix alone with the README's CMakeLists.txt and the lines a
# GTK host adds, and runs it as installed, with no LD_LIBRARY_PATH, through
# run_host.cmake.
# usage: check_installed_host.sh BUILD_DIR README RUN_HOST_DEFINITIONS... -- HOST_ARGS...
set -euo pipefail
build=$1 readme=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset LD_LIBRARY_PATH

cmake --install "$build" --prefix "$work/prefix" >/dev/null
mkdir "$work/host"
"$here/../../testing/extract_readme_host.sh" "$readme" "$work/host"
cp "$here/linux_host.c" "$work/host/my_host.c"
cat >>"$work/host/CMakeLists.txt" <<'GTK'
find_package(PkgConfig REQUIRED)
pkg_check_modules(GTK REQUIRED IMPORTED_TARGET gtk+-3.0)
target_link_libraries(my_host PRIVATE PkgConfig::GTK)
GTK
cmake -S "$work/host" -B "$work/host/build" -G Ninja -DCMAKE_PREFIX_PATH="$work/prefix" >/dev/null
cmake --build "$work/host/build" >/dev/null

definitions=()
while [ "$1" != -- ]; do definitions+=("$1"); shift; done
shift
cmake "${definitions[@]}" -P "$here/run_host.cmake" -- "$work/host/build/my_host" "$@"
