# pindle_test(<name> SOURCES ... [LIBS ...] [WIN32_ONLY] [HOST_ONLY] [TIMEOUT s] [GUI])
# One GoogleTest executable per concept, registered as one CTest test. In the Windows tree
# CTest runs it through the Wine wrapper (CMAKE_CROSSCOMPILING_EMULATOR); a test that
# crashes or hangs fails at its time-out instead of stalling the run.
set(PINDLE_TEST_TIMEOUT 180 CACHE STRING "Default time-out of one test executable, seconds")

if(PINDLE_WIN32)
  set(PINDLE_WINE_ROOT ${CMAKE_BINARY_DIR}/wine)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(PINDLE_WINE_LOADER /usr/lib/wine/wine64)
  else()
    set(PINDLE_WINE_LOADER /usr/lib/wine/wine)
  endif()
  configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.sh.in ${CMAKE_BINARY_DIR}/wine-run.sh
                 @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                 GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run.sh)
endif()

function(pindle_test name)
  cmake_parse_arguments(T "WIN32_ONLY;HOST_ONLY" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  if(T_WIN32_ONLY AND NOT PINDLE_WIN32)
    return()
  endif()
  if(T_HOST_ONLY AND PINDLE_WIN32)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main Threads::Threads)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT ${PINDLE_TEST_TIMEOUT})
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
endfunction()
