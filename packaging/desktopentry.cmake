# Run while installing (from cmake/NuvaloraInstall.cmake): writes the menu
# entry with the full path of the installed program and installs it.
# In: NUVALORA_PROGRAM_DIR, NUVALORA_APPLICATIONS_DIR (relative to the prefix),
#     NUVALORA_DESKTOP_IN, NUVALORA_DESKTOP_OUT.

set(program "${CMAKE_INSTALL_PREFIX}/${NUVALORA_PROGRAM_DIR}/nuvalora")

# The Exec key: % starts a field code, so it is doubled; the path is quoted,
# with ", `, $ and \ escaped inside the quotes; and being a string value, the
# whole key has its backslashes escaped once more.
string(REPLACE "%" "%%" exec "${program}")
string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" exec "${exec}")
string(REPLACE "\\" "\\\\" exec "${exec}")
set(NUVALORA_DESKTOP_EXEC "\"${exec}\"")

configure_file("${NUVALORA_DESKTOP_IN}" "${NUVALORA_DESKTOP_OUT}" @ONLY)
file(INSTALL "${NUVALORA_DESKTOP_OUT}"
     DESTINATION "${CMAKE_INSTALL_PREFIX}/${NUVALORA_APPLICATIONS_DIR}")
