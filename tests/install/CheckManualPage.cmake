# Keeps the manual page in step with quillon-fx --help: every option of the usage line
# and every operation listed has its entry in the page, in bold. Where groff is
# installed, the page must also format without a warning.
#   FX: the quillon-fx binary; PAGE: the manual page's roff source
execute_process(COMMAND ${FX} --help RESULT_VARIABLE status OUTPUT_VARIABLE help)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "quillon-fx --help failed with status ${status}")
endif()
file(READ ${PAGE} page)

string(REGEX MATCHALL "--[a-z-]+" options "${help}")
foreach(option IN LISTS options)
  string(REPLACE "-" "\\-" roff "${option}")
  string(FIND "${page}" "${roff}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "the manual page does not describe ${option}")
  endif()
endforeach()

# The operations are the lines indented by two spaces after "operations", up to the
# first empty line; their descriptions are indented further. Each entry of the page
# starts with the operation's name in bold and, without the font changes, reads exactly
# as --help writes the operation with its arguments.
string(REGEX MATCH "\noperations[^\n]*(\n[^\n]+)+" section "${help}")
string(REGEX MATCHALL "\n  [a-z][^\n]*" operations "${section}")
list(LENGTH operations count)
if(count EQUAL 0)
  message(FATAL_ERROR "quillon-fx --help lists no operations: ${help}")
endif()
string(REGEX REPLACE "\\\\f[BIR]" "" plain_page "${page}")
foreach(operation IN LISTS operations)
  string(STRIP "${operation}" synopsis)
  string(REGEX MATCH "^[a-z]+" name "${synopsis}")
  string(FIND "${page}" "\\fB${name}:" with_arguments)
  string(FIND "${page}" "\\fB${name}\\fR" alone)
  string(FIND "${plain_page}" "${synopsis}" described)
  if((with_arguments EQUAL -1 AND alone EQUAL -1) OR described EQUAL -1)
    message(FATAL_ERROR "the manual page has no entry for the operation ${synopsis}")
  endif()
endforeach()

find_program(GROFF groff)
if(GROFF)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 ${GROFF} -man -ww -z ${PAGE}
                  ERROR_VARIABLE warnings)
  if(warnings)
    message(FATAL_ERROR "groff warns about the manual page: ${warnings}")
  endif()
endif()
