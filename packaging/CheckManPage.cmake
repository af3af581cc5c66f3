# Fails when groff finds anything to warn about in the man page PAGE: an unknown macro, a
# bad escape, a broken font change.
execute_process(COMMAND ${GROFF} -man -ww -z -Tutf8 ${PAGE}
  RESULT_VARIABLE result
  ERROR_VARIABLE warnings)
if(NOT result EQUAL 0 OR NOT warnings STREQUAL "")
  message(FATAL_ERROR "${PAGE}:\n${warnings}")
endif()
