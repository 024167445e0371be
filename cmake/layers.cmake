# Include rules: no target sees the source root. A target reaches a folder's
# headers only through that folder's own include root, a build-tree directory
# holding one link named after the folder, so "apps/tv_app_table.h" resolves only
# where apps/ was exposed, to the library itself or to those above it.
function(telvix_expose target scope)
  foreach(folder IN LISTS ARGN)
    set(root ${CMAKE_BINARY_DIR}/include-roots/${folder})
    if(NOT EXISTS ${root}/${folder})
      file(MAKE_DIRECTORY ${root})
      file(CREATE_LINK ${CMAKE_SOURCE_DIR}/${folder} ${root}/${folder} SYMBOLIC)
    endif()
    target_include_directories(${target} ${scope} ${root})
  endforeach()
endfunction()

# One static library per layer of the tray program, from the bottom up; each
# links (and so sees) only the layers below it.
function(telvix_layer name)
  cmake_parse_arguments(LAYER "" "" "SOURCES;BELOW;SYSTEM" ${ARGN})
  add_library(telvix_${name} STATIC ${LAYER_SOURCES})
  telvix_expose(telvix_${name} PUBLIC ${name})
  foreach(below IN LISTS LAYER_BELOW)
    target_link_libraries(telvix_${name} PUBLIC telvix_${below})
  endforeach()
  target_link_libraries(telvix_${name} PUBLIC ${LAYER_SYSTEM})
endfunction()
