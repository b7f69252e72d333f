# Runs at install time: writes the desktop entry with the installed program's full path in Exec.
# Needs KIRORIN_DESKTOP_TEMPLATE and KIRORIN_DESKTOP_OUTPUT.
set(program "${CMAKE_INSTALL_PREFIX}/lib/kirorin/kirorin")
if(program MATCHES "[\n\r\t]")
  message(FATAL_ERROR "The install prefix must not hold control characters: ${CMAKE_INSTALL_PREFIX}")
endif()

# Exec quoting: an argument with reserved characters goes in double quotes, where \ " ` $ take a
# backslash; then the value's own escaping doubles every backslash, and % is written %%.
set(exec "${program}")
if(exec MATCHES "[] \"'\\\\><~|&;$*?#()`[]")
  string(REPLACE "\\" "\\\\" exec "${exec}")
  string(REPLACE "\"" "\\\"" exec "${exec}")
  string(REPLACE "`" "\\`" exec "${exec}")
  string(REPLACE "$" "\\$" exec "${exec}")
  string(REPLACE "\\" "\\\\" exec "${exec}")
  set(exec "\"${exec}\"")
endif()
string(REPLACE "%" "%%" KIRORIN_EXEC "${exec}")

configure_file("${KIRORIN_DESKTOP_TEMPLATE}" "${KIRORIN_DESKTOP_OUTPUT}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" TYPE FILE
     FILES "${KIRORIN_DESKTOP_OUTPUT}")
