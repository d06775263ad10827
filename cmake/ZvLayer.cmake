# zv_add_layer(<target> PORTABLE <files...> [WIN <files...>] [HOST <files...>] [DEPS <targets...>])
#
# One layer's static library. Portable sources build in both configurations;
# WIN sources only in the windows one, HOST sources (the host build's
# counterparts of Win32-only files) only in the host one. A layer with no
# sources in this configuration becomes an interface library, so layers above
# can still name it.
function(zv_add_layer target)
  cmake_parse_arguments(ZL "" "" "PORTABLE;WIN;HOST;DEPS" ${ARGN})
  set(sources ${ZL_PORTABLE})
  if(ZV_WINDOWS)
    list(APPEND sources ${ZL_WIN})
  else()
    list(APPEND sources ${ZL_HOST})
  endif()
  if(sources)
    add_library(${target} STATIC ${sources})
    target_link_libraries(${target} PUBLIC ${ZL_DEPS})
  else()
    add_library(${target} INTERFACE)
    target_link_libraries(${target} INTERFACE ${ZL_DEPS})
  endif()
endfunction()
