# Runs the snapshot tool on the fixture folder: good runs must write PNGs of the asked size whose
# content follows the options; bad options and unreadable files must fail with a message.
set(REF ${DIR}/catb.bin)
set(ED ${DIR}/cat1.dat)

function(snapshot expected_status message_pattern)
  execute_process(COMMAND ${SNAPSHOT} ${ARGN} RESULT_VARIABLE status
                  OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT status STREQUAL "${expected_status}")
    message(FATAL_ERROR "tessaran-snapshot ${ARGN}: exit ${status}, expected ${expected_status}\n${out}${err}")
  endif()
  if(NOT "${out}${err}" MATCHES "${message_pattern}")
    message(FATAL_ERROR "tessaran-snapshot ${ARGN}: output lacks \"${message_pattern}\":\n${out}${err}")
  endif()
endfunction()

function(expect_png path width height)
  if(NOT EXISTS ${path})
    message(FATAL_ERROR "${path} was not written")
  endif()
  file(READ ${path} signature LIMIT 8 HEX)
  file(READ ${path} size OFFSET 16 LIMIT 8 HEX)
  math(EXPR w "0x${size}>>32" OUTPUT_FORMAT DECIMAL)
  math(EXPR h "0x${size}&0xFFFFFFFF" OUTPUT_FORMAT DECIMAL)
  if(NOT signature STREQUAL "89504e470d0a1a0a" OR NOT w EQUAL width OR NOT h EQUAL height)
    message(FATAL_ERROR "${path}: ${w} x ${h} (signature ${signature}), expected ${width} x ${height}")
  endif()
endfunction()

# Good runs.
snapshot(0 "" --reference ${REF} --edition ${ED} --size 320x200 ${DIR}/default.png)
expect_png(${DIR}/default.png 320 200)
# A screen of 150 %: the window size times the ratio, rounded.
snapshot(0 "" --reference ${REF} --edition ${ED} --size 321x201 --scale 1.5 ${DIR}/scaled.png)
expect_png(${DIR}/scaled.png 482 302)
snapshot(0 "" --reference ${REF} --edition ${ED} --constellation "hydra" --size 641x359
         --flags 0x3F --year -130.5 --offsets 1.5,-0.25 ${DIR}/hydra.png)
expect_png(${DIR}/hydra.png 641 359)
snapshot(0 "" --reference ${REF} --edition ${ED} --constellation 40 --size 641x359
         --flags 0 --year -130.5 --offsets 1.5,-0.25 ${DIR}/hydra_dots.png)
expect_png(${DIR}/hydra_dots.png 641 359)
snapshot(0 "" --reference ${REF} --edition ${ED} --constellation 40 --size 641x359
         --flags 0 --year -130.5 --offsets 1.5,-0.25 --view 146,-22,30,2.5 ${DIR}/hydra_rolled.png)
# The options reach the picture: other flags, or a turned view, give another image.
file(SHA256 ${DIR}/hydra.png all_layers)
file(SHA256 ${DIR}/hydra_dots.png dots_only)
file(SHA256 ${DIR}/hydra_rolled.png rolled)
if(all_layers STREQUAL dots_only OR dots_only STREQUAL rolled)
  message(FATAL_ERROR "display flags or view made no difference to the picture")
endif()

snapshot(0 "--constellation.*--size.*--flags.*--epoch.*--year.*--offsets.*--shift.*--view" --help)

# Bad options: exit status 2 and a message naming the problem.
snapshot(2 "unknown option --colour" --colour red ${DIR}/x.png)
snapshot(2 "bad value \"0x200\" for --size" --size 0x200 ${DIR}/x.png)
snapshot(2 "bad value \"320\" for --size" --size 320 ${DIR}/x.png)
snapshot(2 "bad value \"Andromedae\" for --constellation" --constellation Andromedae ${DIR}/x.png)
snapshot(2 "bad value \"48\" for --constellation" --constellation 48 ${DIR}/x.png)
snapshot(2 "bad value \"64\" for --flags" --flags 64 ${DIR}/x.png)
snapshot(2 "bad value \"9\" for --scale" --scale 9 ${DIR}/x.png)
snapshot(2 "bad value \"0.5\" for --year" --year 0.5 ${DIR}/x.png)
snapshot(2 "bad value \"1,2,3\" for --offsets" --offsets 1,2,3 ${DIR}/x.png)
snapshot(2 "bad value \"10,20,0,0\" for --view" --view 10,20,0,0 ${DIR}/x.png)
snapshot(2 "needs a value" ${DIR}/x.png --epoch)
snapshot(2 "no output file" --size 320x200)

# Unreadable and unwritable files: exit status 1.
snapshot(1 "cannot read the reference catalogue" --reference ${DIR}/missing.bin --edition ${ED}
         ${DIR}/x.png)
snapshot(1 "cannot read the edition" --reference ${REF} --edition ${REF} ${DIR}/x.png)
snapshot(1 "cannot write" --reference ${REF} --edition ${ED} --size 32x32 ${DIR}/no/such/x.png)
if(EXISTS ${DIR}/x.png)
  message(FATAL_ERROR "a failed run left a picture behind")
endif()
