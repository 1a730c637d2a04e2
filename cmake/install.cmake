# `cmake --install build --prefix DIR` writes a ready installation into DIR,
# laid out as the demo (the data folder DIR, the program folder DIR/ソルメア,
# the sound folder DIR/音フォルダ), plus a desktop entry and the icon. Records
# live beside the program, so DIR is a folder its users can write (a shared
# folder of the school), not /usr.
#
# The program, the records tool, the help and the icon are replaced on every
# install. The data files a school may have edited (common data, roster,
# settings, level table, sound list and cues) are written only where there is
# none yet, and the record files are never written: the program creates them.
set(SOLMEA_PROGRAM_FOLDER "ソルメア")
# What every PC that starts the program needs besides its folder (Debian
# packages): Qt's widgets and printing with the X platform, SDL2 for the cues,
# the fonts the screens are laid out for and Qt's Japanese texts for its own
# dialogs. The install names those this machine lacks.
set(SOLMEA_RUNTIME_PACKAGES libqt6widgets6 libqt6printsupport6 qt6-qpa-plugins libsdl2-2.0-0
    fonts-ipafont-gothic qt6-translations-l10n)
install(TARGETS solmea solmea-records RUNTIME DESTINATION ${SOLMEA_PROGRAM_FOLDER})
install(FILES ${CMAKE_BINARY_DIR}/demo/ソルメア/ソルメアヘルプ.txt
              ${CMAKE_SOURCE_DIR}/dist/solmea.svg
        DESTINATION ${SOLMEA_PROGRAM_FOLDER})
install(CODE "set(SOLMEA_DEMO_DIR [[${CMAKE_BINARY_DIR}/demo]])
set(SOLMEA_DESKTOP_TEMPLATE [[${CMAKE_SOURCE_DIR}/dist/solmea.desktop.in]])
set(SOLMEA_PROGRAM_FOLDER [[${SOLMEA_PROGRAM_FOLDER}]])
set(SOLMEA_RUNTIME_PACKAGES [[${SOLMEA_RUNTIME_PACKAGES}]])")
install(SCRIPT ${CMAKE_CURRENT_LIST_DIR}/install_data.cmake)
