# libFuzzer targets for the code that reads outside input. Only a host tree built with clang has
# them (tests/FUZZING.md says how to make one); the other trees skip every call.
#
#   pindle_fuzz_target(<name> SOURCES <fuzz source> <sources under test>... [LIBS <libs>...]
#                      SEEDS <folder of seed inputs>)
#
# The sources under test are compiled into the target, so that they carry the fuzzer's coverage
# hooks. CTest gets a short run over the seeds (<name>_smoke); new inputs go to a folder of the
# build tree, the seeds in the source tree stay as they are.
if(CMAKE_CXX_COMPILER_ID MATCHES "Clang" AND NOT PINDLE_WIN32)
  set(PINDLE_FUZZING ON)
else()
  set(PINDLE_FUZZING OFF)
endif()

function(pindle_fuzz_target name)
  if(NOT PINDLE_FUZZING)
    return()
  endif()
  cmake_parse_arguments(FUZZ "" "SEEDS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${FUZZ_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  if(FUZZ_LIBS)
    target_link_libraries(${name} PRIVATE ${FUZZ_LIBS})
  endif()
  set(work ${CMAKE_CURRENT_BINARY_DIR}/corpus-${name})
  file(MAKE_DIRECTORY ${work})
  add_test(NAME ${name}_smoke COMMAND ${name} -runs=20000 ${work} ${FUZZ_SEEDS})
endfunction()
