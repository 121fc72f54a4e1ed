# Checks a file with the validator its desktop reads it by: desktop-file-validate for the
# desktop entry, appstreamcli for the software-centre metadata. Says it skips when the
# validator is not installed. A desktop entry must draw no remark at all (a hint of two
# main categories means two places in the menu); for the metadata, notes are fine.
#   FILE: the file to check; VALIDATOR: the program; ARGS: its arguments before the file
find_program(program ${VALIDATOR})
if(NOT program)
  message("skipped: ${VALIDATOR} is not installed")
  return()
endif()
separate_arguments(ARGS)
execute_process(COMMAND ${program} ${ARGS} ${FILE} RESULT_VARIABLE status
                OUTPUT_VARIABLE output ERROR_VARIABLE output)
string(REGEX MATCH "(hint|warning|error):[^\n]*|(^|\n)[WE]: [^\n]*" complaint "${output}")
if(NOT status EQUAL 0 OR complaint)
  message(FATAL_ERROR "${VALIDATOR} ${FILE}: ${output}")
endif()
