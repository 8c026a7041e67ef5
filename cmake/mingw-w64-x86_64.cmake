# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (POSIX thread model, for std::thread).
# The Windows libraries come from scripts/windows-deps.sh; their folder is VELTRONA_WIN64_DEPS,
# given on the command line or in the environment.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

if(NOT VELTRONA_WIN64_DEPS AND DEFINED ENV{VELTRONA_WIN64_DEPS})
    set(VELTRONA_WIN64_DEPS "$ENV{VELTRONA_WIN64_DEPS}")
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VELTRONA_WIN64_DEPS)

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${VELTRONA_WIN64_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config finds the libraries of the cache only, never the host's.
if(VELTRONA_WIN64_DEPS)
    set(ENV{PKG_CONFIG_LIBDIR} "${VELTRONA_WIN64_DEPS}/lib/pkgconfig")
    set(ENV{PKG_CONFIG_PATH} "")
endif()
