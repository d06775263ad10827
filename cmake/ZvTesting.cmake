# zv_add_test(<name> SOURCES <files...> [LIBS <targets...>] [GUI] [HOST_ONLY] [WINDOWS_ONLY])
#
# One GoogleTest executable. In the host build its cases are registered one by
# one with the label "host". In the windows build the executable runs whole
# under Wine (through CMAKE_CROSSCOMPILING_EMULATOR) with the label "wine", or
# "gui" when it opens windows and so needs the X display the test script starts.
if(ZV_BUILD_TESTS AND NOT TARGET GTest::gtest_main)
  set(ZV_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources (Debian package googletest)")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  add_subdirectory(${ZV_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()
include(GoogleTest)

function(zv_add_test name)
  cmake_parse_arguments(ZT "GUI;HOST_ONLY;WINDOWS_ONLY" "" "SOURCES;LIBS" ${ARGN})
  if(ZT_HOST_ONLY AND NOT ZV_HOST)
    return()
  endif()
  if(ZT_WINDOWS_ONLY AND NOT ZV_WINDOWS)
    return()
  endif()
  add_executable(${name} ${ZT_SOURCES})
  target_link_libraries(${name} PRIVATE ${ZT_LIBS} zv_testsupport GTest::gmock GTest::gtest_main)
  if(ZV_HOST)
    gtest_discover_tests(${name} PROPERTIES LABELS host DISCOVERY_TIMEOUT 60)
  else()
    if(ZT_GUI)
      set(label gui)
    else()
      set(label wine)
    endif()
    add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
    # A test that shows something modal without scripting it (tests/support
    # ScriptedModal) gets "cancel" instead of a window nobody can click. The
    # value names the test program, so programs it starts behave as usual.
    set_tests_properties(${name} PROPERTIES LABELS ${label} TIMEOUT 600 ENVIRONMENT ZV_TEST_NO_MODAL=${name}.exe)
  endif()
endfunction()
