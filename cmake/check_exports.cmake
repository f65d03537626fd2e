# Fails unless MODULE defines in its dynamic symbol table exactly the expected names: those of
# NAMES_FILE (one a line, "#" starts a comment line), or those of the progress module's table
# TABLE (core/omout_table.h). Run as: cmake -DMODULE=... -DNAMES_FILE=...|-DTABLE=... -P
if(DEFINED TABLE)
  include("${CMAKE_CURRENT_LIST_DIR}/OmOutNames.cmake")
  ombrix_omout_names("${TABLE}" expected)
else()
  file(STRINGS "${NAMES_FILE}" expected REGEX "^[A-Za-z_]")
endif()
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
