# Run by `cmake --install` after the program files (cmake/install.cmake sets
# SOLMEA_DEMO_DIR, SOLMEA_DESKTOP_TEMPLATE and SOLMEA_PROGRAM_FOLDER).

# DESTDIR is added by file(INSTALL) itself; tests and writes here need it too.
# A relative prefix is taken from the folder the install was started in (the
# desktop entry needs the whole path).
get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(on_disk "$ENV{DESTDIR}${prefix}")

# Data files: only where there is none yet.
set(data_files 共通データ.txt 生徒用名簿.txt
               ${SOLMEA_PROGRAM_FOLDER}/設定.txt ${SOLMEA_PROGRAM_FOLDER}/タイム回数データ.txt
               音フォルダ/新音ファイル.txt)
file(GLOB cues RELATIVE "${SOLMEA_DEMO_DIR}" "${SOLMEA_DEMO_DIR}/音フォルダ/*.wav")
foreach(file IN LISTS data_files cues)
  if(EXISTS "${on_disk}/${file}")
    message(STATUS "Kept (already there): ${on_disk}/${file}")
  elseif(NOT EXISTS "${SOLMEA_DEMO_DIR}/${file}")
    message(FATAL_ERROR "No ${SOLMEA_DEMO_DIR}/${file}: build the project (the demo target) before installing")
  else()
    get_filename_component(folder "${prefix}/${file}" DIRECTORY)
    file(INSTALL "${SOLMEA_DEMO_DIR}/${file}" DESTINATION "${folder}")
  endif()
endforeach()

# The desktop entry, pointing at this installation. In Exec the path is
# quoted (a shared folder may have blanks in its name); inside the quotes
# " ` $ \ take a backslash, and every backslash of a desktop entry's value is
# doubled again; % is written %%.
set(program_dir "${prefix}/${SOLMEA_PROGRAM_FOLDER}")
string(REPLACE "\\" "\\\\" escaped "${program_dir}")
set(SOLMEA_PATH "${escaped}")
set(SOLMEA_ICON "${escaped}/solmea.svg")
set(exec "${program_dir}/solmea")
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "\"" "\\\"" exec "${exec}")
string(REPLACE "`" "\\`" exec "${exec}")
string(REPLACE "$" "\\$" exec "${exec}")
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "%" "%%" exec "${exec}")
set(SOLMEA_EXEC "\"${exec}\"")
file(READ "${SOLMEA_DESKTOP_TEMPLATE}" entry)
string(CONFIGURE "${entry}" entry @ONLY)
set(desktop "${on_disk}/solmea.desktop")
message(STATUS "Installing: ${desktop}")
file(WRITE "${desktop}" "${entry}")
# A launcher on a desktop must be executable to be trusted.
file(CHMOD "${desktop}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                    WORLD_READ WORLD_EXECUTE)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${desktop}")

# The packages the program needs on a PC, where dpkg can tell.
find_program(dpkg_query dpkg-query)
if(dpkg_query)
  foreach(package IN LISTS SOLMEA_RUNTIME_PACKAGES)
    execute_process(COMMAND "${dpkg_query}" -W "-f=\${Status}" "${package}" OUTPUT_VARIABLE status ERROR_QUIET)
    if(NOT status MATCHES "install ok installed")
      message(WARNING "Missing on this PC: the Debian package ${package}, which the program needs (apt-get install ${package})")
    endif()
  endforeach()
endif()
