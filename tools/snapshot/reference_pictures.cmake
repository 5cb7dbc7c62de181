# The reference pictures: a few constellations drawn by the snapshot tool from the shipped data
# and compared byte for byte with the committed PNGs (no numbers, so no font enters them). After an
# intended change, rewrite them, look at them and commit them:
#   cmake --build build --target reference-pictures
# Called with SNAPSHOT, DATA, PICTURES (the committed pictures), OUT and UPDATE (ON to rewrite).
file(MAKE_DIRECTORY ${OUT})

function(picture name)
  set(made ${OUT}/${name}.png)
  set(committed ${PICTURES}/${name}.png)
  execute_process(COMMAND ${SNAPSHOT} --reference ${DATA}/catb.bin --edition ${DATA}/cat1.dat
                          --size 320x240 ${ARGN} ${made}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "tessaran-snapshot ${ARGN} ${made}: exit ${status}\n${out}${err}")
  elseif(UPDATE)
    file(COPY_FILE ${made} ${committed})
    message(STATUS "rewrote ${committed}")
    return()
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${made} ${committed}
                  RESULT_VARIABLE differs)
  if(differs)
    message(SEND_ERROR "${name}: ${made} differs from ${committed}; if the change is intended, "
                       "rewrite the pictures: cmake --build <build> --target reference-pictures")
  endif()
endfunction()

# Every layer but the numbers: both grids, identification lines, circles over reference stars.
picture(orion_all_layers --constellation Orion --flags 0x3B)
# Zoomed out and rolled, so the grids leave the picture on every side; ancient stars as dots.
picture(ursa_major_dots --constellation "Ursa Major" --flags 0x38 --view 150,45,20,2.5)
