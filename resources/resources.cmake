# The pictures the program carries inside itself (the about picture and the icons), compiled by
# Qt's resource compiler into the given target. platform/pictures.cpp initialises them by name
# (Q_INIT_RESOURCE(tessaran)), which keeps them linked when the target is a static library.
function(tessaran_add_resources target)
  qt_add_resources(tessaran_resource_sources ${CMAKE_SOURCE_DIR}/resources/tessaran.qrc)
  target_sources(${target} PRIVATE ${tessaran_resource_sources})
endfunction()
