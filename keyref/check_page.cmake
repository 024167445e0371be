# The committed key reference must be what the page writer makes of today's
# key maps. Run by CTest: -DWINE_RUN= -DWRITER= -DOUT= -DPAGE=
execute_process(COMMAND ${WINE_RUN} ${WRITER} "Z:${OUT}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "keys_page failed (${result}): every key map row needs a description in keyref/key_descriptions.cpp")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT} ${PAGE} RESULT_VARIABLE differs)
if(differs)
  message(FATAL_ERROR "${PAGE} is out of date with the key maps: run tools/keys-page and commit the page")
endif()
