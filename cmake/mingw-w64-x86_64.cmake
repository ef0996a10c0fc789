# Cross build for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VORK_MINGW_PREFIX x86_64-w64-mingw32)
# The posix thread model is the default on Debian 12; either one builds the game.
set(CMAKE_C_COMPILER ${VORK_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${VORK_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${VORK_MINGW_PREFIX}-windres)

# Headers and libraries come from the cross sysroot only; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${VORK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
