# The reference pictures: what the viewer shows of a few constellations, drawn by the snapshot
# tool from the shipped data and compared byte for byte with the committed PNGs, so that a change
# of layer order, clipping or colour anywhere shows up here. The renderer is deterministic and the
# numbers are left out, so no font enters the pictures. After an intended change of the picture
# or of the shipped data, rewrite them, look at them and commit them:
#   cmake --build build --target reference-pictures
# Called with SNAPSHOT (the tool), DATA (the shipped data), PICTURES (the committed pictures), OUT
# (where the pictures made now go) and UPDATE (ON to rewrite the committed ones).
file(MAKE_DIRECTORY ${OUT})

function(picture name)
  set(made ${OUT}/${name}.png)
  set(committed ${PICTURES}/${name}.png)
  execute_process(COMMAND ${SNAPSHOT} --reference ${DATA}/catb.bin --edition ${DATA}/cat1.dat
                          --size 320x240 ${ARGN} ${made}
                  RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "tessaran-snapshot ${ARGN} ${made}: exit ${status}\n${out}${err}")
  endif()
  if(UPDATE)
    file(COPY_FILE ${made} ${committed})
    message(STATUS "rewrote ${committed}")
    return()
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${made} ${committed}
                  RESULT_VARIABLE differs)
  if(differs)
    message(SEND_ERROR "${name}: the picture drawn now, ${made}, differs from ${committed}; "
                       "if the change is intended, rewrite the pictures with "
                       "cmake --build <build folder> --target reference-pictures")
  endif()
endfunction()

# Every layer but the numbers: both grids, identification lines, circles over reference stars.
picture(orion_all_layers --constellation Orion --flags 0x3B)
# Zoomed out and rolled, so the grids leave the picture on every side; ancient stars as dots.
picture(ursa_major_dots --constellation "Ursa Major" --flags 0x38 --view 150,45,20,2.5)
