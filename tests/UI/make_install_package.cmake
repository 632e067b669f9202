# Builds a test package of the install steps: a 7z archive laid out as the product's package,
# whose programs are all the stand-in PROGRAM (install_test_program.cc).
#   cmake -DPROGRAM=... -DSEVENZZ=... -DOUT=... [-DNAME=package] [-DOMIT=rel,...]
#         [-DCODES=rel=code,...] [-DNOT_AN_ARCHIVE=ON] -P this
# NAME.7z and NAME.7z.md5 go to OUT. OMIT leaves programs out; CODES puts "<rel>.code" beside
# a program, which makes it end with that code ("hang": never). NOT_AN_ARCHIVE writes bytes that
# no extractor takes instead.
if(NOT NAME)
  set(NAME package)
endif()
set(stage ${OUT}/${NAME})
set(archive ${OUT}/${NAME}.7z)
string(REPLACE "," ";" OMIT "${OMIT}")
string(REPLACE "," ";" CODES "${CODES}")
file(REMOVE_RECURSE ${stage})
file(REMOVE ${archive})
if(NOT_AN_ARCHIVE)
  string(REPEAT "Z" 4096 bytes)
  file(WRITE ${archive} ${bytes})
else()
  foreach(rel bin/Pindle.exe bin/pindleloader.exe bin/uninst.exe bin/Pindlemirror/Pindlemirror.exe
              engine/mirrorinstaller.exe engine/engine7.exe)
    list(FIND OMIT ${rel} omitted)
    if(omitted GREATER -1)
      continue()
    endif()
    get_filename_component(dir ${stage}/${rel} DIRECTORY)
    file(MAKE_DIRECTORY ${dir})
    file(COPY_FILE ${PROGRAM} ${stage}/${rel})
  endforeach()
  foreach(code ${CODES})
    string(REPLACE "=" ";" code ${code})
    list(GET code 0 rel)
    list(GET code 1 value)
    file(WRITE ${stage}/${rel}.code ${value})
  endforeach()
  file(WRITE ${stage}/conf/readme.txt "Vesk test package\n")
  execute_process(COMMAND ${SEVENZZ} a -t7z -mx=5 ${archive} .
                  WORKING_DIRECTORY ${stage} RESULT_VARIABLE result OUTPUT_QUIET)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "7zz failed: ${result}")
  endif()
endif()
file(MD5 ${archive} digest)
file(WRITE ${archive}.md5 ${digest})
