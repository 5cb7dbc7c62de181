# Building one program alone must copy the shipped data beside it, or it starts without its
# catalogues. A dry run of its build lists every step, the copy among them when it depends on it.
foreach(target ${TARGETS})
  execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD} --target ${target} -- -n
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "dry run of the build of ${target} failed (exit ${status}):\n${err}")
  endif()
  if(NOT out MATCHES "Copying the shipped data beside the program")
    message(FATAL_ERROR "building ${target} alone does not copy the shipped data beside it")
  endif()
endforeach()
