# Runs PROGRAM with ARGS (a ;-list) under EMULATOR and checks its exit status against STATUS, and
# its standard output and error against each regular expression in OUT and ERR (;-lists). Both
# go through files (Wine's helper processes keep inherited pipes open), named after the test NAME:
# two tests with the same ARGS may run at once.
set(output ${CMAKE_CURRENT_BINARY_DIR}/expect_run_${NAME})
execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${ARGS} RESULT_VARIABLE status
                OUTPUT_FILE ${output}.out ERROR_FILE ${output}.err)
file(READ ${output}.out out)
file(READ ${output}.err err)
if(NOT status EQUAL STATUS)
  message(FATAL_ERROR "exit status ${status}, expected ${STATUS}\n${out}\n${err}")
endif()
foreach(stream out err)  # standard output, standard error
  string(TOUPPER ${stream} patterns)
  foreach(pattern IN LISTS ${patterns})
    if(NOT "${${stream}}" MATCHES "${pattern}")
      message(FATAL_ERROR "standard ${stream} lacks ${pattern}:\n${${stream}}")
    endif()
  endforeach()
endforeach()
