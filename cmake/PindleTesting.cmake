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

# pindle_server_fixture(<fixture> SCRIPT <file in tools/> ENV <variable> TESTS <test>...)
# A test program under Wine cannot start the host's Python: in the Windows trees CTest starts
# one server of tools/ (tools/server_ctl.sh) for the fixture's tests and names its port file in
# <variable>, on drive Z:, where Wine shows the host's root folder. The host tree needs nothing:
# its tests start their own server.
function(pindle_server_fixture fixture)
  cmake_parse_arguments(S "" "SCRIPT;ENV" "TESTS" ${ARGN})
  if(NOT PINDLE_WIN32)
    return()
  endif()
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${fixture})
  set(ctl ${PROJECT_SOURCE_DIR}/tools/server_ctl.sh)
  add_test(NAME ${fixture}_start COMMAND ${ctl} start ${dir} ${S_SCRIPT} server)
  add_test(NAME ${fixture}_stop COMMAND ${ctl} stop ${dir} ${S_SCRIPT} server)
  set_tests_properties(${fixture}_start PROPERTIES FIXTURES_SETUP ${fixture})
  set_tests_properties(${fixture}_stop PROPERTIES FIXTURES_CLEANUP ${fixture})
  set_property(TEST ${S_TESTS} APPEND PROPERTY FIXTURES_REQUIRED ${fixture})
  set_property(TEST ${S_TESTS} APPEND PROPERTY ENVIRONMENT "${S_ENV}=Z:${dir}/server.port")
endfunction()
