# Cross-compiling for Windows with mingw-w64; the including tool-chain file
# sets CMAKE_SYSTEM_PROCESSOR and ZK_MINGW_PREFIX first.
set(CMAKE_SYSTEM_NAME Windows)
# The posix thread model is needed by nothing here; prefer the win32 one,
# which links without winpthread.
find_program(CMAKE_CXX_COMPILER NAMES ${ZK_MINGW_PREFIX}-g++-win32 ${ZK_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${ZK_MINGW_PREFIX}-gcc-win32 ${ZK_MINGW_PREFIX}-gcc REQUIRED)
set(CMAKE_RC_COMPILER ${ZK_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
