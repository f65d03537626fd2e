# The exported names of the progress module, read from its table (core/omout_table.h): the name
# of every FUNCTION(...) and DATA(...) entry, each at the start of a line, in table order. Used at
# configure time for the module's version script and at test time by the export check.
function(ombrix_omout_names table out_var)
  file(READ "${table}" text)
  # Whole lines only (a comment may show the entry's form), and no backslash may reach a list.
  string(REGEX MATCHALL "\n *(FUNCTION|DATA)\\([A-Za-z_][A-Za-z0-9_]*," entries "${text}")
  set(names)
  foreach(entry IN LISTS entries)
    string(REGEX REPLACE "^\n *(FUNCTION|DATA)\\(([A-Za-z_0-9]+),$" "\\2" name "${entry}")
    list(APPEND names "${name}")
  endforeach()
  if(NOT names)
    message(FATAL_ERROR "no exported names in ${table}")
  endif()
  set(${out_var} ${names} PARENT_SCOPE)
endfunction()
