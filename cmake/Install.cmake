# Installing q3config on Linux (cmake --install, and the Debian package made
# by cpack, see scripts/package.sh):
#
#   bin/q3config                                   the program
#   share/q3config/modules/                        shipped data, read-only; each
#                                                  user's copy lives in
#                                                  $XDG_DATA_HOME/q3config
#   ${Q3_UDEV_RULES_DIR}/70-q3config.rules         access for the user at the seat
#   share/applications/<id>.desktop                menu entry
#   share/metainfo/<id>.metainfo.xml               software centre entry
#   share/icons/hicolor/*/apps/<id>.{png,svg}      icon
#   share/man/man1/q3config.1.gz                   manual page
#   share/doc/q3config/{copyright,changelog.gz}    licence and changes
include(GNUInstallDirs)

set(Q3_UDEV_RULES_DIR "lib/udev/rules.d" CACHE STRING
    "Folder of the udev rule, relative to the prefix or absolute (udev reads /usr/lib/udev/rules.d and /etc/udev/rules.d)")
set(Q3_PROJECT_URL "https://github.com/q3config/q3config" CACHE STRING
    "Home page of the project, named in the metainfo")
set(Q3_SCREENSHOT_URL "${Q3_PROJECT_URL}/raw/HEAD/docs" CACHE STRING
    "Where the screenshots of docs/ are published, named in the metainfo")
set(Q3_PROJECT_LICENSE "GPL-3.0-or-later" CACHE STRING
    "SPDX licence of the program (LICENSE), named in the metainfo")
set(Q3_RELEASE_DATE "2026-12-10" CACHE STRING "Date of this release, named in the metainfo")

set(Q3_SHARE_DIR ${CMAKE_BINARY_DIR}/share)
configure_file(${PROJECT_SOURCE_DIR}/packaging/q3config.desktop.in
               ${Q3_SHARE_DIR}/applications/${Q3_APP_ID}.desktop @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/q3config.metainfo.xml.in
               ${Q3_SHARE_DIR}/metainfo/${Q3_APP_ID}.metainfo.xml @ONLY)

set(Q3_PACKAGE_MAINTAINER "q3config developers <q3config@users.noreply.github.com>" CACHE STRING
    "Maintainer named in the Debian package")

# The manual page and the changelog, compressed as Debian wants them: the
# most compression and no time stamp, so the same sources give the same bytes.
configure_file(${PROJECT_SOURCE_DIR}/packaging/q3config.1.in ${Q3_SHARE_DIR}/man/q3config.1 @ONLY)
execute_process(COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C date -R -u -d "${Q3_RELEASE_DATE} 12:00"
                OUTPUT_VARIABLE Q3_CHANGELOG_DATE OUTPUT_STRIP_TRAILING_WHITESPACE)
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${Q3_SHARE_DIR}/doc/changelog @ONLY)
foreach(file man/q3config.1 doc/changelog)
  execute_process(COMMAND gzip -9 -n -f -k ${Q3_SHARE_DIR}/${file} RESULT_VARIABLE gzipped)
  if(NOT gzipped EQUAL 0)
    message(WARNING "gzip could not compress ${file}: the package will lack it")
  endif()
endforeach()

install(TARGETS q3config RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The shipped data from the sources (the copy beside the build's executable
# holds what test runs wrote), the skins from the build, which draws them:
# every picture as name.png and, at twice the pixels, name@2x.png.
# The scene and the catalogue are compiled into the program.
set(Q3_INSTALL_MODULES ${CMAKE_INSTALL_DATADIR}/q3config/modules)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/modules/ DESTINATION ${Q3_INSTALL_MODULES}
        PATTERN qml EXCLUDE PATTERN "*.qrc" EXCLUDE PATTERN DevInfo.ini EXCLUDE)
install(DIRECTORY ${CMAKE_BINARY_DIR}/bin/modules/img/ DESTINATION ${Q3_INSTALL_MODULES}/img
        FILES_MATCHING PATTERN "*.png")

install(FILES ${PROJECT_SOURCE_DIR}/packaging/70-q3config.rules DESTINATION ${Q3_UDEV_RULES_DIR})
install(FILES ${Q3_SHARE_DIR}/applications/${Q3_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${Q3_SHARE_DIR}/metainfo/${Q3_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${Q3_SHARE_DIR}/icons/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
install(FILES ${Q3_SHARE_DIR}/man/q3config.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 OPTIONAL)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright ${Q3_SHARE_DIR}/doc/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/q3config OPTIONAL)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME q3config)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "q3config")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration utility for the Q3 USB gaming keyboard")
# Debian's description lines stay within 80 columns: one line each here.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "q3config reads and changes what a Q3 USB gaming keyboard keeps in its"
    "firmware: the active on-board profile, key assignments, macros, lighting"
    "effects with a live preview, the colour table, per-key pictures and the"
    "backlight layer. A udev rule gives the user at the seat access to the"
    "keyboard without root.")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${Q3_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${Q3_PROJECT_URL}")
# Libraries from the binary; what it loads at run time named here: the Qt
# Quick module of the scene and a sound back end.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qml-module-qtquick2, phonon4qt5-backend-gstreamer | phonon4qt5-backend-vlc")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "gstreamer1.0-plugins-good, udev")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA
    ${PROJECT_SOURCE_DIR}/packaging/postinst ${PROJECT_SOURCE_DIR}/packaging/postrm)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
