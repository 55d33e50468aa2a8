# qlhost's answers to wrong and right arguments, run through RUNNER.  Each row: the arguments (separated by
# |), the exit status, a pattern of what it prints.  Paths are Unix paths, which qlhost turns into Windows paths.
file(MAKE_DIRECTORY "${CACHE}")
file(COPY_FILE "${ZLIB}" "${CACHE}/ZLIB1.dll")
set(dir ${CMAKE_CURRENT_BINARY_DIR}/qlhost-args)
file(REMOVE_RECURSE ${dir})
file(WRITE ${dir}/in.txt "not zlib\n")
set(rows
  "measure|1 1/2-" 0 "^-1500\n.*ends in a sign" "measure|1500|--from|thousandths|--to|millimetres" 0 "^38.100\n$"
  "measure|15|--from|thousandths|--to|inches|--decimals|13" 2 "from 0 to 12, not '13'"
  "open|--close-after|x" 2 "--close-after .* not 'x'\nusage: qlhost open"
  "version" 0 "qlhost version: +1[.]0[.]0[.]1\nQLCommon[.]dll version: +1[.]0[.]0[.]1\n"
  "inflate|${dir}/in.txt|${dir}/out.bin" 1 "truncated or corrupt"
  "inflate|${dir}/none|${dir}/out.bin" 1 "cannot read .*none: No such file or directory")
while(rows)
  list(POP_FRONT rows args want pattern)
  string(REPLACE "|" ";" argv "${args}")
  execute_process(COMMAND ${RUNNER} ${PROGRAM} ${argv} OUTPUT_VARIABLE out ERROR_VARIABLE out RESULT_VARIABLE status)
  if(NOT status EQUAL want OR NOT out MATCHES "${pattern}" OR EXISTS ${dir}/out.bin)
    message(SEND_ERROR "qlhost ${args}\n  expected: exit ${want}, output matching ${pattern}, no out.bin\n"
                       "  came:     exit ${status}, output:\n${out}")
  endif()
endwhile()
