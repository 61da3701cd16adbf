# Run by cmake --install (and by CPack): writes the desktop entry for the assets folder of this
# install and installs it. The prefix is known only now (cmake --install --prefix, or /usr in
# the package), so the entry cannot be made at build time. Set before: TESS_SOURCE_DIR,
# TESS_BINARY_DIR, TESS_BINDIR and TESS_DATADIR (GNUInstallDirs' CMAKE_INSTALL_BINDIR and
# CMAKE_INSTALL_DATADIR).
if(IS_ABSOLUTE "${TESS_DATADIR}")
  set(tess_share "${TESS_DATADIR}")
else()
  set(tess_share "${CMAKE_INSTALL_PREFIX}/${TESS_DATADIR}")
endif()
set(tess_assets "${tess_share}/tessaline")
if(IS_ABSOLUTE "${TESS_BINDIR}")
  set(tess_program "${TESS_BINDIR}/tessaline")
else()
  set(tess_program "${CMAKE_INSTALL_PREFIX}/${TESS_BINDIR}/tessaline")
endif()
# The desktop entry's quoting: a path with a space or a reserved character is quoted, and the
# characters that stay special inside quotes get a backslash (written twice, as a string value
# escapes the backslash itself); a percent sign is doubled, as field codes start with one.
function(tess_exec_argument out path)
  if(path MATCHES "[] \t\"'\\\\><~|&;$*?#()`]")
    string(REPLACE "\\" "\\\\\\\\" quoted "${path}")
    string(REPLACE "\"" "\\\\\"" quoted "${quoted}")
    string(REPLACE "`" "\\\\`" quoted "${quoted}")
    string(REPLACE "$" "\\\\$" quoted "${quoted}")
    set(path "\"${quoted}\"")
  endif()
  string(REPLACE "%" "%%" path "${path}")
  set(${out} "${path}" PARENT_SCOPE)
endfunction()
# The installed program by its full path: a prefix whose bin folder is not on PATH still starts.
tess_exec_argument(TESS_PROGRAM_EXEC "${tess_program}")
tess_exec_argument(TESS_ASSETS_EXEC "${tess_assets}")
# One file per destination, so that installs to different places at once (the tests, cpack)
# do not write over each other's entry.
string(MD5 destination "$ENV{DESTDIR}|${CMAKE_INSTALL_PREFIX}")
set(entry "${TESS_BINARY_DIR}/packaging/desktop-${destination}/tessaline.desktop")
configure_file("${TESS_SOURCE_DIR}/packaging/tessaline.desktop.in" "${entry}" @ONLY)
file(INSTALL DESTINATION "${tess_share}/applications" TYPE FILE FILES "${entry}")
