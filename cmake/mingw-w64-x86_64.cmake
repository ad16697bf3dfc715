# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the posix thread model, which Qt needs).
# Used for the static Qt and for Quenlio itself by scripts/windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUENLIO_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUENLIO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUENLIO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${QUENLIO_MINGW_PREFIX}-windres)

# Appended to, so that a static Qt's prefix given with -DCMAKE_FIND_ROOT_PATH is searched too.
list(APPEND CMAKE_FIND_ROOT_PATH /usr/${QUENLIO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
