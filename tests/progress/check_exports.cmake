# Fails unless MODULE defines exactly the nine names of the progress module in its dynamic
# symbol table.
execute_process(COMMAND nm -D --defined-only "${MODULE}" OUTPUT_VARIABLE table RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm failed on ${MODULE}")
endif()
string(REGEX MATCHALL "[^\n]+" lines "${table}")
set(names)
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^[0-9a-fA-F]* *[A-Za-z] +" "" name "${line}")
  list(APPEND names "${name}")
endforeach()
list(SORT names)
set(expected OmCloseProgress OmInitOmOutDll OmInitProgress OmOpenProgress OmOutLightWaveCall
  OmSetMessage OmShowProgress OmUpdateProgress OpenMessageWin)
if(NOT names STREQUAL expected)
  message(FATAL_ERROR "exported: ${names}\nexpected: ${expected}")
endif()
