# Cross-compiling for 64-bit Windows (the end-to-end tests on machines that cannot run 32-bit programs) with mingw-w64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ZK_MINGW_PREFIX x86_64-w64-mingw32)
# The posix thread model is needed by nothing here; prefer the win32 one,
# which links without winpthread.
find_program(CMAKE_CXX_COMPILER NAMES ${ZK_MINGW_PREFIX}-g++-win32 ${ZK_MINGW_PREFIX}-g++ REQUIRED)
find_program(CMAKE_C_COMPILER NAMES ${ZK_MINGW_PREFIX}-gcc-win32 ${ZK_MINGW_PREFIX}-gcc REQUIRED)
set(CMAKE_RC_COMPILER ${ZK_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
