# Run by CTest: every #include of a project header in the core and in platform/ names its folder
# ("catalog/catalog.h"), never a path climbing out of the including file's folder ("../x.h") or an
# absolute one, which would get round the include roots that keep each layer from its upper ones.
file(GLOB_RECURSE files ${SOURCE_DIR}/*.h ${SOURCE_DIR}/*.cpp)
set(found "")
foreach(file ${files})
  file(RELATIVE_PATH path ${SOURCE_DIR} ${file})
  if(NOT path MATCHES "^(app|analysis|render|geometry|catalog|resources|platform)/")
    continue()
  endif()
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<](/|[^\">]*\\.\\./)")
  foreach(line ${lines})
    string(APPEND found "\n  ${path}: ${line}")
  endforeach()
endforeach()
if(found)
  message(FATAL_ERROR "Includes that leave their folder's include root:${found}")
endif()
