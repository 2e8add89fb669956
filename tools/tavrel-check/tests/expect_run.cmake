# Runs PROGRAM with ARGS (a ;-list) under EMULATOR and checks its exit status against STATUS and
# its standard output against each regular expression in EXPECT (a ;-list). The output goes
# through a file: Wine's helper processes keep inherited pipes open.
set(output ${CMAKE_CURRENT_BINARY_DIR}/expect_run_${STATUS}.out)
execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${ARGS} RESULT_VARIABLE status OUTPUT_FILE ${output}
                ERROR_VARIABLE error)
file(READ ${output} text)
if(NOT status EQUAL STATUS)
  message(FATAL_ERROR "exit status ${status}, expected ${STATUS}\n${text}\n${error}")
endif()
foreach(pattern IN LISTS EXPECT)
  if(NOT text MATCHES "${pattern}")
    message(FATAL_ERROR "output lacks ${pattern}:\n${text}")
  endif()
endforeach()
