# Cross build for 64-bit Windows with Debian's MinGW-w64.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KORVANE_MINGW x86_64-w64-mingw32)
set(KORVANE_MINGW_PACKAGE x86-64)
set(KORVANE_WINDOWS_BITS win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-cross.cmake)
