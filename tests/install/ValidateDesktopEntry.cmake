# Checks the desktop entry with desktop-file-validate; says it skips when the tool is not
# installed. Hints are fine; warnings and errors fail.
find_program(VALIDATE desktop-file-validate)
if(NOT VALIDATE)
  message("skipped: desktop-file-validate is not installed")
  return()
endif()
execute_process(COMMAND ${VALIDATE} ${ENTRY} RESULT_VARIABLE status OUTPUT_VARIABLE output
                ERROR_VARIABLE output)
string(REGEX MATCH "(warning|error):[^\n]*" complaint "${output}")
if(NOT status EQUAL 0 OR complaint)
  message(FATAL_ERROR "desktop-file-validate ${ENTRY}: ${output}")
endif()
