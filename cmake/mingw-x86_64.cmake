# Cross-compiles the Windows programs for x86_64 with mingw-w64: the build the Windows tests run on
# where this machine cannot start 32-bit programs (scripts/windows-arch). Nothing ships from it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TAVREL_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
