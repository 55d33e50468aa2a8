# Runs PROGRAM demo through RUNNER; its output must be the transcript EXPECTED.
file(MAKE_DIRECTORY "${CACHE}")
file(COPY_FILE "${ZLIB}" "${CACHE}/ZLIB1.dll")
execute_process(COMMAND ${RUNNER} ${PROGRAM} demo OUTPUT_FILE qlhost_demo.out RESULT_VARIABLE status)
execute_process(COMMAND diff -u --label expected --label came ${EXPECTED} qlhost_demo.out RESULT_VARIABLE differ)
if(differ OR NOT status EQUAL 0)
  message(FATAL_ERROR "qlhost demo (exit ${status}) differs from ${EXPECTED}")
endif()
