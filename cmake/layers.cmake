# Which layer may include which, said by the build. Every file includes another by its layer's
# folder ("engine/rule.h"), found under a root that holds that one folder and nothing else. A target
# gets the root of its own layer and, through what it links, the roots of the layers below it: an
# include that points up a layer names a folder the compiler cannot find, and the build fails there.
#
#   engine                  the rule and the runs; the world only through its interfaces
#   platform, text          the operating system; the user's words
#   frontend                what both programs use: journals of runs, the report as text, paths
#   ui                      the window
#   app                     the programs
# (bench and tests sit beside app, on top.)

# korvane_layer_root(TARGET PUBLIC|PRIVATE|INTERFACE FOLDER): TARGET sees FOLDER's files as
# "FOLDER/…", and so does what links it when the scope says so.
function(korvane_layer_root target scope folder)
  set(root ${CMAKE_BINARY_DIR}/layers/${folder})
  set(link ${root}/${folder})
  set(source ${PROJECT_SOURCE_DIR}/${folder})
  if(IS_SYMLINK ${link})
    file(READ_SYMLINK ${link} current)
    if(NOT current STREQUAL source)
      file(REMOVE ${link})
    endif()
  endif()
  if(NOT IS_SYMLINK ${link})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${source} ${link} SYMBOLIC)
  endif()
  target_include_directories(${target} ${scope} ${root})
endfunction()
