# Cross-build for 64-bit Windows with mingw-w64 (posix threads) and run the
# resulting test programs under Wine, so that `ctest` works as in a native build.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QR_MINGW_PREFIX x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${QR_MINGW_PREFIX}-gcc-posix ${QR_MINGW_PREFIX}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${QR_MINGW_PREFIX}-g++-posix ${QR_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${QR_MINGW_PREFIX}-windres REQUIRED)
find_program(CMAKE_AR NAMES ${QR_MINGW_PREFIX}-gcc-ar-posix ${QR_MINGW_PREFIX}-ar)
find_program(CMAKE_RANLIB NAMES ${QR_MINGW_PREFIX}-gcc-ranlib-posix ${QR_MINGW_PREFIX}-ranlib)

# Libraries cross-built for Windows live under the mingw sysroot or in the prefixes
# named by CMAKE_PREFIX_PATH (scripts/build-deps puts its own in build/deps).
set(CMAKE_FIND_ROOT_PATH /usr/${QR_MINGW_PREFIX} ${CMAKE_PREFIX_PATH})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Wine's 64-bit loader; Debian does not put a `wine64` on PATH.
find_program(QR_WINE NAMES wine64 PATHS /usr/lib/wine NO_DEFAULT_PATH)
if(NOT QR_WINE)
  find_program(QR_WINE NAMES wine64 wine)
endif()
if(QR_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QR_WINE})
endif()
