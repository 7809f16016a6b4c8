# Cross toolchain for Windows with mingw-w64, win32 threads model: the posix
# model links winpthreads, which imports GetTickCount64 from kernel32, and
# Windows XP has no such function. Nothing here needs std::thread.
# KESTREL_WIN_ARCH picks the target: i686 (the shipped setup program) or x86_64
# (the same sources, for machines that cannot execute 32-bit code under Wine).
if(NOT DEFINED KESTREL_WIN_ARCH)
  set(KESTREL_WIN_ARCH i686)
endif()
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES KESTREL_WIN_ARCH)

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${KESTREL_WIN_ARCH})
set(_prefix ${KESTREL_WIN_ARCH}-w64-mingw32)
set(CMAKE_C_COMPILER ${_prefix}-gcc-win32)
set(CMAKE_CXX_COMPILER ${_prefix}-g++-win32)
set(CMAKE_RC_COMPILER ${_prefix}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# One self-contained file: libstdc++, libgcc and zlib are linked in.
# -static does not reach a library named by its full path, and FindZLIB would
# otherwise pick the import library libz.dll.a: a clean Windows has no zlib1.dll.
set(ZLIB_USE_STATIC_LIBS ON)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
