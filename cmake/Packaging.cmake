# Installing and packaging: `cmake --install` and CPack.
#
# The installed tree is the same everywhere:
#   bin/taikan                                      (kata.ini is kept beside it
#                                                    where that folder is writable)
#   share/applications/taikan.desktop               (the desktop's menu entry)
#   share/icons/hicolor/scalable/apps/taikan.svg    (the icon)
# Unpacked from the .tar.gz anywhere, it is a portable folder; the .deb puts
# it under /usr, where the desktop finds the menu entry and the icon.
include(GNUInstallDirs)

install(TARGETS taikan RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES packaging/taikan.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES src/resources/icons/taikan.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# What the .deb needs on a fresh Debian 12: the Qt libraries the program
# links (Multimedia plays the signals; its media plugins ship inside
# libqt6multimedia6 and its GStreamer backend reads WAV files with
# gstreamer1.0-plugins-good; Network and HttpServer serve the browser
# scoreboard; SQL with its SQLite driver, a plugin no linking shows, keeps
# the results file), and the metric twins of Arial and Arial Narrow.
set(TAIKAN_DEB_DEPENDS
  "libc6 (>= 2.35)"
  "libgcc-s1 (>= 3.0)"
  "libstdc++6 (>= 11)"
  "libqt6core6 (>= 6.4)"
  "libqt6gui6 (>= 6.4)"
  "libqt6widgets6 (>= 6.4)"
  "libqt6svg6 (>= 6.4)"
  "libqt6multimedia6 (>= 6.4)"
  "libqt6network6 (>= 6.4)"
  "libqt6httpserver6 (>= 6.4)"
  "libqt6sql6 (>= 6.4)"
  "libqt6sql6-sqlite (>= 6.4)"
  "gstreamer1.0-plugins-good"
  "fonts-liberation"
)
list(JOIN TAIKAN_DEB_DEPENDS ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
# Japanese names on the boards need a font with their glyphs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic")

set(CPACK_GENERATOR "TGZ;DEB")
set(CPACK_PACKAGE_NAME "kovamo-taikan")
set(CPACK_PACKAGE_VENDOR "Kovamo")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Flag decisions, match clock and scoreboard for kata competitions")
set(CPACK_PACKAGE_DESCRIPTION
  "Kovamo Taikan is the table official's console for a kata competition judged\n"
  "with flags. It records each decision of 3 or 5 referees, red (Aka) against\n"
  "blue (Ao), runs the match clock with its sound signals and shows the result\n"
  "to the public on a scoreboard on a second display.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_STRIP_FILES ON)

set(TAIKAN_DEB_MAINTAINER "Kovamo <taikan@kovamo.invalid>" CACHE STRING "Maintainer field of the Debian package")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TAIKAN_DEB_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")

# The same commit, the same package: its files dated by the commit.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/PackageDates.cmake)
set(CPACK_TAIKAN_SOURCE_DIR ${PROJECT_SOURCE_DIR})
include(CPack)
