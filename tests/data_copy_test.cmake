# Building one program alone, as `cmake --build build --target tessaran-stars` does, must copy the
# shipped data beside it first, or the program starts without its catalogues. A dry run of each
# program's build lists every step it would take; the copy is always among them when the program
# depends on it, since it is checked on every build.
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
