# The cross build for Windows with Debian's MinGW-w64 (posix thread model), for the processor the
# including toolchain file names; test binaries run under Wine.
#   KORVANE_MINGW          the compilers' triple, such as x86_64-w64-mingw32
#   KORVANE_MINGW_PACKAGE  that triple as Debian's package names spell it (x86-64, i686)
#   KORVANE_WINDOWS_BITS   win64 or win32: what the zip is named by
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${KORVANE_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KORVANE_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${KORVANE_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${KORVANE_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Test binaries (and test discovery) run under Wine, in a scratch prefix inside the build folder;
# a 32-bit build's in a 32-bit prefix (Debian's wine32), as on a 32-bit Windows.
find_program(KORVANE_WINE NAMES wine64 wine)
if(KORVANE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run ${CMAKE_BINARY_DIR}/wine)
  if(KORVANE_WINDOWS_BITS STREQUAL "win32")
    list(PREPEND CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env WINEARCH=win32)
  endif()
endif()
