# `make package`: a Debian package of what `cmake --install` lays out. Its dependencies are
# computed from the programs' linked libraries (dpkg-shlibdeps), except those that Qt loads
# at run time and no linker sees, which are named here.
find_program(TALVORA_DPKG dpkg)
if(TALVORA_DPKG)
    execute_process(COMMAND ${TALVORA_DPKG} --print-architecture
                    OUTPUT_VARIABLE TALVORA_DEB_ARCH OUTPUT_STRIP_TRAILING_WHITESPACE)
else()
    set(TALVORA_DEB_ARCH unknown)
endif()
set(TALVORA_DEB_FILE talvora_${TALVORA_VERSION}_${TALVORA_DEB_ARCH}.deb)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME talvora)
set(CPACK_PACKAGE_VERSION ${TALVORA_VERSION})
set(CPACK_PACKAGE_CONTACT ${TALVORA_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for the Velmu messenger's message history")
set(CPACK_PACKAGE_DESCRIPTION
    "Talvora shows the history that the Velmu messenger keeps on disk, the index\n"
    "and the event records of one owner, without ever writing to them: a member\n"
    "tree, each member's events, their details, searching, saving as text and\n"
    "counts by type, hour and weekday. New events appear while the messenger runs.\n"
    "\n"
    "The command-line tool talvora-cli lists, searches, exports and follows the same\n"
    "history.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME ${TALVORA_DEB_FILE})
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE ${TALVORA_DEB_ARCH})
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TALVORA_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's SVG image plugin draws every icon; its Japanese translations put Qt's own texts
# (standard buttons, context menus) in Japanese. CPack appends the computed ones.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6svg6, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
