# Makes ARCHIVE with TOOL unless it already exists.
if(NOT EXISTS "${ARCHIVE}")
  execute_process(COMMAND "${TOOL}" "${ARCHIVE}" RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${TOOL} ${ARCHIVE} failed (${result})")
  endif()
endif()
