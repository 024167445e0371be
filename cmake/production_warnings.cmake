# Warnings that fail the build of the shipped programs. Applied to every
# compiled target defined outside sim/ and tests/ (so a new library of the
# programs gets them without asking); stand-ins, tests and GoogleTest keep the
# plain -Wall -Wextra.
# GCC's analyser adds about a tenth to these files' compile time; never give
# it the tests or GoogleTest, which take minutes and gigabytes.
set(PRODUCTION_WARNINGS
  -Wshadow -Wconversion -Wsign-conversion -Wformat=2 -Wnull-dereference
  -Wduplicated-cond -Wlogical-op -Wcast-align -fanalyzer -Werror)

function(apply_production_warnings dir)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  foreach(target IN LISTS targets)
    get_target_property(type ${target} TYPE)
    if(NOT type STREQUAL "INTERFACE_LIBRARY" AND NOT type STREQUAL "UTILITY")
      # Not on resource scripts: windres takes no warning flags.
      target_compile_options(${target} PRIVATE
        "$<$<COMPILE_LANGUAGE:C,CXX>:${PRODUCTION_WARNINGS}>")
    endif()
  endforeach()
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(subdir IN LISTS subdirs)
    if(NOT subdir MATCHES "^${CMAKE_SOURCE_DIR}/(sim|tests)(/|$)")
      apply_production_warnings(${subdir})
    endif()
  endforeach()
endfunction()
