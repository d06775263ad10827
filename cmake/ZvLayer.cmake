# zv_add_layer(<target> PORTABLE <files...> [WIN <files...>] [HOST <files...>] [DEPS <targets...>])
#
# One layer's static library. Portable sources build in both configurations;
# WIN sources only in the windows one, HOST sources (the host build's
# counterparts of Win32-only files) only in the host one. A layer with no
# sources in this configuration becomes an interface library, so layers above
# can still name it.
#
# Headers are included by their path from the repository root ("core/items/
# Record.h"), but no target sees the whole root: each layer publishes only its
# own folder, through <target>_includes, and a target sees the folders of the
# layers it links. An include of a layer above therefore fails to compile.
# DEPS name the layers below only.

# <target>_includes: an interface target whose include path shows exactly the
# folder <dir> of the source root, under its own name.
function(zv_folder_includes target dir)
  set(base ${CMAKE_BINARY_DIR}/zv_include/${dir})
  if(NOT EXISTS ${base}/${dir})
    file(MAKE_DIRECTORY ${base})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${dir} ${base}/${dir} SYMBOLIC)
  endif()
  add_library(${target} INTERFACE)
  target_include_directories(${target} INTERFACE ${base})
endfunction()

function(zv_add_layer target)
  cmake_parse_arguments(ZL "" "" "PORTABLE;WIN;HOST;DEPS" ${ARGN})
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  zv_folder_includes(${target}_includes ${folder})
  set(sources ${ZL_PORTABLE})
  if(ZV_WINDOWS)
    list(APPEND sources ${ZL_WIN})
  else()
    list(APPEND sources ${ZL_HOST})
  endif()
  if(sources)
    add_library(${target} STATIC ${sources})
    target_link_libraries(${target} PUBLIC ${target}_includes ${ZL_DEPS})
  else()
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE ${target}_includes ${ZL_DEPS})
  endif()
endfunction()
