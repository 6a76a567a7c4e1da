# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64). A MinGW
# build of the module is a compile and symbol check against the simulator's SDK, not a product:
# the simulator's C++ interface carries MSVC's name decoration.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(AEROQUIN_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${AEROQUIN_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${AEROQUIN_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${AEROQUIN_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${AEROQUIN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
