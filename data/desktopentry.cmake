# Writes the desktop entry at install time. The menu starts the program by its
# full path, since not every session has the games folder on its PATH (root's
# lacks /usr/games), and in the installed data folder (Path=), where the
# program reads its ground picture.
#
# In: template, entry, program and path (under CMAKE_INSTALL_PREFIX or
# absolute), VUDURE_APP_ID.
cmake_path(ABSOLUTE_PATH program BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}")
cmake_path(ABSOLUTE_PATH path BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}")
# Exec= splits at spaces: a prefix with a space or another reserved character
# needs the program quoted, with \ before " ` $ and \ inside the quotes.
set(exec "${program}")
if(exec MATCHES "[ \t\"'\\\\><~|&;$*?#()`]")
    string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" exec "${exec}")
    set(exec "\"${exec}\"")
endif()
# Both values are strings, in which \ is written \\; Exec= writes % as %%.
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "\\" "\\\\" path "${path}")
string(REPLACE "%" "%%" exec "${exec}")
configure_file("${template}" "${entry}" @ONLY)
