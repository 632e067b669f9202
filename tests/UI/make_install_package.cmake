# Builds the install steps' test package: a 7z archive laid out as the product's package, whose
# programs are all the stand-in PROGRAM. cmake -DPROGRAM=... -DSEVENZZ=... -DOUT=... -P this
set(stage ${OUT}/package)
file(REMOVE_RECURSE ${stage})
foreach(rel bin/Pindle.exe bin/pindleloader.exe bin/uninst.exe bin/Pindlemirror/Pindlemirror.exe
            engine/mirrorinstaller.exe engine/engine7.exe)
  get_filename_component(dir ${stage}/${rel} DIRECTORY)
  file(MAKE_DIRECTORY ${dir})
  file(COPY_FILE ${PROGRAM} ${stage}/${rel})
endforeach()
file(WRITE ${stage}/conf/readme.txt "Vesk test package\n")
file(REMOVE ${OUT}/package.7z)
execute_process(COMMAND ${SEVENZZ} a -t7z -mx=5 ${OUT}/package.7z .
                WORKING_DIRECTORY ${stage} RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "7zz failed: ${result}")
endif()
file(MD5 ${OUT}/package.7z digest)
file(WRITE ${OUT}/package.7z.md5 ${digest})
