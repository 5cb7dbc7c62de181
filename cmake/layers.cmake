# The libraries of the core's layers, and the include roots that keep each layer from the ones
# above it (the top CMakeLists.txt lists the layers in order).

# tessaran_include_root(<target> <folder> [<headers>...]) gives <target> an include root of its
# own in the build tree, holding only <folder> (or only the headers listed from it) as a symbolic
# link. "<folder>/x.h" is then found by the target and by every target linking it, while a header
# of a folder that no linked target provides is not found at all: an upward #include fails to
# compile. The project's includes always name the folder, from the top of the tree.
function(tessaran_include_root target folder)
  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  file(REMOVE_RECURSE ${root})  # removes the links, never what they point to
  if(ARGN)
    file(MAKE_DIRECTORY ${root}/${folder})
    foreach(header ${ARGN})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder}/${header} ${root}/${folder}/${header}
           SYMBOLIC)
    endforeach()
  else()
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# tessaran_layer(<target> <folder> [SOURCES <files>...] [HEADERS <files>...] [LINKS <targets>...])
# adds the static library of a layer: the SOURCES given, or every .cpp of <folder>, with the
# include root of <folder> (or of its HEADERS), linking the layers below it that it uses.
function(tessaran_layer target folder)
  cmake_parse_arguments(LAYER "" "" "SOURCES;HEADERS;LINKS" ${ARGN})
  if(NOT LAYER_SOURCES)
    file(GLOB LAYER_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/${folder}/*.cpp)
  endif()
  add_library(${target} STATIC ${LAYER_SOURCES})
  tessaran_include_root(${target} ${folder} ${LAYER_HEADERS})
  target_link_libraries(${target} PUBLIC ${LAYER_LINKS})
endfunction()
