# Runs unpack7z.exe under the Wine wrapper on one archive into a fresh folder and checks its
# exit code and that its output holds the expected text.
#   -DEMULATOR -DTOOL -DDATA -DARCHIVE (empty: no arguments) -DWORK -DEXPECTED_CODE -DEXPECTED_TEXT
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/install)
if(ARCHIVE)
  set(args "Z:${DATA}/${ARCHIVE}" "Z:${WORK}/install")
else()
  set(args "")
endif()
execute_process(COMMAND ${EMULATOR} ${TOOL} ${args}
                RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
file(REMOVE_RECURSE ${WORK})
message("exit code ${code}\n--- output\n${out}\n--- errors\n${err}")
if(NOT code STREQUAL EXPECTED_CODE)
  message(FATAL_ERROR "unpack7z exited with ${code}, expected ${EXPECTED_CODE}")
endif()
if(EXPECTED_TEXT)
  string(FIND "${out}${err}" "${EXPECTED_TEXT}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the output lacks \"${EXPECTED_TEXT}\"")
  endif()
endif()
