#!/usr/bin/env bash
# Builds the C consumer as a host built with Microsoft's toolchain would be:
# clang in Microsoft's ABI, linked by lld-link against the import library the
# installed CMake package gives such a host. No Microsoft C runtime is at hand
# here, so the consumer brings the few functions of it that it uses
# (msvc_runtime/). The public header is also compiled as C++ in that ABI,
# warnings as errors.
# usage: build_msvc_consumer.sh INSTALL_PREFIX CONSUMER_SOURCE VEQPOD_MSVC_STD OUT_DIR IMPORT_LIBRARY
set -euo pipefail
prefix=$1 source=$2 msvc_std=$3 out=$4 import_library=$5
runtime=$source/msvc_runtime
kernel32=$(x86_64-w64-mingw32-gcc-posix -print-file-name=libkernel32.a)
flags=(--target=x86_64-pc-windows-msvc -Wall -Wextra -Werror -ffreestanding -I"$prefix/include")

clang-16 "${flags[@]}" -std=c99 -pedantic -isystem "$runtime" -c "$source/consumer.c" -o "$out/consumer.obj"
clang-16 "${flags[@]}" -std=c99 -isystem "$runtime" -c "$runtime/runtime.c" -o "$out/runtime.obj"
lld-link-16 /nodefaultlib /entry:mainCRTStartup /subsystem:console /out:"$out/consumer_msvc.exe" \
  "$out/consumer.obj" "$out/runtime.obj" "$import_library" "$kernel32"
# Microsoft's standard library is not here either: the browser library's
# stand-in brings the shared_ptr that the header's C++ part uses.
clang++-16 "${flags[@]}" -std=c++17 -pedantic -nostdinc++ -isystem "$msvc_std" -fsyntax-only \
  -x c++ "$prefix/include/xloop/xloop_client.h"
