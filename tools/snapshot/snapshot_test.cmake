# Runs the snapshot tool on the shipped data: good runs must write PNGs of the asked size (what
# they show is the reference pictures' test); bad options and unreadable files must fail with a
# message.
file(REMOVE_RECURSE ${DIR})
file(MAKE_DIRECTORY ${DIR})
set(IN --reference ${DATA}/catb.bin --edition ${DATA}/cat1.dat)

function(snapshot expected_status message_pattern)
  execute_process(COMMAND ${SNAPSHOT} ${ARGN} RESULT_VARIABLE status
                  OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status STREQUAL "${expected_status}" OR NOT "${out}${err}" MATCHES "${message_pattern}")
    message(FATAL_ERROR "tessaran-snapshot ${ARGN}: exit ${status}, expected ${expected_status} "
                        "and \"${message_pattern}\"\n${out}${err}")
  endif()
endfunction()

# A good run, then the PNG's signature and size: a screen of 150 % gives the size times the ratio.
function(picture name width height)
  snapshot(0 "" ${IN} ${ARGN} ${DIR}/${name}.png)
  file(READ ${DIR}/${name}.png signature LIMIT 8 HEX)
  file(READ ${DIR}/${name}.png size OFFSET 16 LIMIT 8 HEX)
  math(EXPR w "0x${size}>>32" OUTPUT_FORMAT DECIMAL)
  math(EXPR h "0x${size}&0xFFFFFFFF" OUTPUT_FORMAT DECIMAL)
  if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT w EQUAL width OR NOT h EQUAL height)
    message(FATAL_ERROR "${name}.png: ${w} x ${h} (signature ${signature}), expected ${width} x ${height}")
  endif()
endfunction()

picture(default 320 200 --size 320x200)
picture(scaled 482 302 --size 321x201 --scale 1.5)

# Bad options: exit status 2 and a message naming the problem.
snapshot(2 "unknown option --colour" --colour red ${DIR}/x.png)
foreach(bad "size;320" "constellation;48" "flags;64" "scale;9" "year;0.5" "view;10,20,0,0")
  list(GET bad 0 option)
  list(GET bad 1 value)
  snapshot(2 "bad value \"${value}\" for --${option}" --${option} ${value} ${DIR}/x.png)
endforeach()
snapshot(2 "needs a value" ${DIR}/x.png --epoch)
snapshot(2 "no output file" --size 320x200)

# Unreadable and unwritable files: exit status 1, and no picture left behind.
snapshot(1 "cannot read the reference catalogue" --reference ${DIR}/missing.bin
         --edition ${DATA}/cat1.dat ${DIR}/x.png)
snapshot(1 "cannot write" ${IN} --size 32x32 ${DIR}/no/such/x.png)
if(EXISTS ${DIR}/x.png)
  message(FATAL_ERROR "a failed run left a picture behind")
endif()
