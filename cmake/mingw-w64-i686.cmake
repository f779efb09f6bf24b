# Cross build for 32-bit Windows with Debian's MinGW-w64: the old office PCs that still run a
# 32-bit Windows 7 or 10.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KORVANE_MINGW i686-w64-mingw32)
set(KORVANE_MINGW_PACKAGE i686)
set(KORVANE_WINDOWS_BITS win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-cross.cmake)
