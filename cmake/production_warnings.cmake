# Warnings that fail the build of the shipped programs: applied to the
# programs and to every library they link, found by following their links (so
# a new library of theirs gets them without asking). Tests, stand-ins, tools
# and GoogleTest keep the plain -Wall -Wextra.
# GCC's analyser is not among them: its findings change from one compiler
# release to the next (GCC documents it as meant for C), so a compiler update
# must not break the shipped build. tools/lint runs it over these same files.
set(PRODUCTION_WARNINGS
  -Wshadow -Wconversion -Wsign-conversion -Wformat=2 -Wnull-dereference
  -Wduplicated-cond -Wlogical-op -Wcast-align -Werror)

function(apply_production_warnings)
  foreach(target IN LISTS ARGN)
    if(NOT TARGET ${target})
      continue()
    endif()
    get_target_property(aliased ${target} ALIASED_TARGET)
    if(aliased)
      set(target ${aliased})
    endif()
    get_property(done GLOBAL PROPERTY PRODUCTION_WARNINGS_DONE)
    if(target IN_LIST done)
      continue()
    endif()
    set_property(GLOBAL APPEND PROPERTY PRODUCTION_WARNINGS_DONE ${target})
    get_target_property(type ${target} TYPE)
    set(links)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      # Not on resource scripts: windres takes no warning flags.
      target_compile_options(${target} PRIVATE "$<$<COMPILE_LANGUAGE:C,CXX>:${PRODUCTION_WARNINGS}>")
      get_target_property(links ${target} LINK_LIBRARIES)
    endif()
    get_target_property(interface_links ${target} INTERFACE_LINK_LIBRARIES)
    foreach(link IN LISTS links interface_links)
      string(REGEX REPLACE "^\\$<LINK_ONLY:(.*)>$" "\\1" link "${link}")
      apply_production_warnings(${link})
    endforeach()
  endforeach()
endfunction()
