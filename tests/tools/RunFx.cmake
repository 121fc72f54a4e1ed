# Runs quillon-fx once and checks its exit status, its message and its output file.
#   FX, WORK, NAME: the binary, a scratch directory, a name for this run's files
#   ARGS: the arguments separated by "|"; @OUT@ in them stands for this run's output path
#   EXPECT_STATUS: the exit status; EXPECT_ERROR: text standard error must contain
#   EXPECT_OUTPUT: a file the output must equal byte for byte (without it, no output
#   may be written at all)
set(out_dir ${WORK}/fx-cli-${NAME})
file(REMOVE_RECURSE ${out_dir})
file(MAKE_DIRECTORY ${out_dir})
string(REPLACE "|" ";" args "${ARGS}")
string(REPLACE "@OUT@" "${out_dir}/out" args "${args}")

execute_process(COMMAND ${FX} ${args} RESULT_VARIABLE status ERROR_VARIABLE error)
if(NOT status STREQUAL "${EXPECT_STATUS}")
  message(FATAL_ERROR "exit status ${status}, expected ${EXPECT_STATUS}; stderr: ${error}")
endif()
if(DEFINED EXPECT_ERROR)
  string(FIND "${error}" "${EXPECT_ERROR}" found)
  if(found EQUAL -1)
    message(FATAL_ERROR "stderr lacks '${EXPECT_ERROR}': ${error}")
  endif()
endif()

file(GLOB written ${out_dir}/*)
if(DEFINED EXPECT_OUTPUT)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${written} ${EXPECT_OUTPUT}
                  RESULT_VARIABLE different)
  if(different)
    message(FATAL_ERROR "output '${written}' differs from ${EXPECT_OUTPUT}")
  endif()
elseif(written)
  message(FATAL_ERROR "a failed run left output behind: ${written}")
endif()
