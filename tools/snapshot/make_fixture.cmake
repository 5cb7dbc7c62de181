# Fresh folder with the synthetic catalogue files the snapshot tests read.
file(REMOVE_RECURSE ${DIR})
file(MAKE_DIRECTORY ${DIR})
execute_process(COMMAND ${FIXTURE} ${DIR} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "could not write the fixture files (${status})")
endif()
