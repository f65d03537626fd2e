# Fails unless MODULE defines in its dynamic symbol table exactly the names of the progress
# module's table TABLE.
include("${CMAKE_CURRENT_LIST_DIR}/../../cmake/OmOutNames.cmake")
ombrix_omout_names("${TABLE}" expected)
list(SORT expected)
execute_process(COMMAND nm -D --defined-only --format=posix "${MODULE}" OUTPUT_VARIABLE table RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm failed on ${MODULE}")
endif()
# Each line of the portable format: name, type, value and size.
string(REGEX MATCHALL "(^|\n)[^ \n]+" names "${table}")
list(TRANSFORM names STRIP)
list(SORT names)
if(NOT names STREQUAL expected)
  message(FATAL_ERROR "exported: ${names}\nexpected: ${expected}")
endif()
