# Cross toolchain: Debian mingw-w64, x86_64, posix thread model (std::thread works).
# Everything (libgcc, libstdc++, winpthreads) is linked statically, so the
# produced .exe/.dll import only Windows system DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   /usr/bin/${_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER /usr/bin/${_mingw}-g++-posix)
set(CMAKE_RC_COMPILER  /usr/bin/${_mingw}-windres)
set(CMAKE_AR           /usr/bin/${_mingw}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB       /usr/bin/${_mingw}-gcc-ranlib-posix CACHE FILEPATH "")
set(CMAKE_DLLTOOL      /usr/bin/${_mingw}-dlltool CACHE FILEPATH "")
set(CMAKE_OBJDUMP      /usr/bin/${_mingw}-objdump CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Fully static runtime: -static makes the linker pick libwinpthread.a instead
# of the import lib of libwinpthread-1.dll (-static-libgcc/-static-libstdc++
# alone would still leave libwinpthread-1.dll as a dependency).
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Run cross-built executables (gtest_discover_tests, add_test) through wine.
# /usr/lib/wine/wine64 is shipped by the "wine64" package itself; the "wine"
# package adds the /usr/bin/wine wrapper script.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  if(EXISTS /usr/bin/wine)
    set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/wine)
  else()
    set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
  endif()
endif()
