# Cross build of the Windows module with Debian's mingw-w64, x86_64, posix
# thread model (the plain compiler names use the win32 model, which has no
# std::thread). Everything is linked statically, so the DLLs and test
# executables import only Windows system DLLs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_prefix x86_64-w64-mingw32)
set(CMAKE_C_COMPILER   /usr/bin/${mingw_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER /usr/bin/${mingw_prefix}-g++-posix)
set(CMAKE_RC_COMPILER  /usr/bin/${mingw_prefix}-windres)
set(CMAKE_AR           /usr/bin/${mingw_prefix}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB       /usr/bin/${mingw_prefix}-gcc-ranlib-posix CACHE FILEPATH "")
set(CMAKE_DLLTOOL      /usr/bin/${mingw_prefix}-dlltool CACHE FILEPATH "")

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -static also picks the static winpthread; without it the executables need
# libwinpthread-1.dll beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT    "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Test executables run under wine (the wine64 package's own binary).
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
