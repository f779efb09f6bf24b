# The flags of the programs as released (scripts/package). The same commit builds to the same
# bytes in any folder, on any day: no path of the build machine and no time goes into a program.

# Paths that reach an object (__FILE__, a debug section) read relative to the source folder.
add_compile_options(-ffile-prefix-map=${CMAKE_SOURCE_DIR}=.)
# Headers are reached through the layers' roots in the build folder (cmake/layers.cmake).
add_compile_options(-ffile-prefix-map=${CMAKE_BINARY_DIR}/layers=.)
# What users get carries no symbols.
add_link_options(-s)

if(WIN32)
  # The PE header's time stamp would otherwise be the time of the link.
  add_link_options(-Wl,--no-insert-timestamp)
else()
  # Debian's hardening for a program that reads names anyone can choose: checked buffer
  # functions, stack guards, and relocations read-only before main.
  add_compile_definitions(_FORTIFY_SOURCE=2)
  add_compile_options(-fstack-protector-strong)
  add_link_options(-Wl,-z,relro -Wl,-z,now)
endif()
