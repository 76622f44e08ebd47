# taikan.exe and what ships with it on Windows.
enable_language(RC)
#
# The icon is drawn at build time from the program's SVG, in the sizes
# Windows shows (rsvg-convert from librsvg2-bin, icotool from icoutils).
set(icon_svg ${PROJECT_SOURCE_DIR}/src/resources/icons/taikan.svg)
set(TAIKAN_ICON ${CMAKE_CURRENT_BINARY_DIR}/taikan.ico)
find_program(RSVG_CONVERT rsvg-convert)
find_program(ICOTOOL icotool)
if(NOT RSVG_CONVERT OR NOT ICOTOOL)
  message(FATAL_ERROR "The icon of taikan.exe needs rsvg-convert and icotool "
                      "(Debian: librsvg2-bin, icoutils; MSYS2: mingw-w64-x86_64-librsvg, icoutils)")
endif()
set(icon_commands)
set(icon_pngs)
foreach(size 16 20 24 32 40 48 64 256)
  set(png ${CMAKE_CURRENT_BINARY_DIR}/icon/taikan-${size}.png)
  list(APPEND icon_commands COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${icon_svg})
  if(size EQUAL 256)
    list(APPEND icon_pngs --raw=${png}) # kept as PNG inside the icon, as Windows does for its large size
  else()
    list(APPEND icon_pngs ${png})
  endif()
endforeach()
add_custom_command(OUTPUT ${TAIKAN_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/icon
  ${icon_commands}
  COMMAND ${ICOTOOL} -c -o ${TAIKAN_ICON} ${icon_pngs}
  DEPENDS ${icon_svg}
  COMMENT "Drawing the icon of taikan.exe"
  VERBATIM)

set(TAIKAN_MANIFEST ${CMAKE_CURRENT_BINARY_DIR}/taikan.exe.manifest)
configure_file(packaging/windows/taikan.exe.manifest.in ${TAIKAN_MANIFEST} @ONLY)
configure_file(packaging/windows/taikan.rc.in ${CMAKE_CURRENT_BINARY_DIR}/taikan.rc @ONLY)
target_sources(taikan PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/taikan.rc ${TAIKAN_ICON})
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/taikan.rc PROPERTIES
  OBJECT_DEPENDS "${TAIKAN_ICON};${TAIKAN_MANIFEST}")

# What taikan.exe loads besides Windows' own DLLs: Qt's libraries (with the
# network and HTTP server of the browser board, and SQL for the results
# file), the plugins it takes (the Windows platform, SVG for its pictures and
# icon, the SQLite driver with SQLite's own DLL) and the compiler's runtime. Checked against what it really loads under Wine
# (tests/windows/smoke.sh).
find_package(Qt6 REQUIRED COMPONENTS WebSockets) # which Qt's HTTP server loads
set(TAIKAN_QT_LIBRARIES Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Svg Qt6::Network Qt6::HttpServer Qt6::WebSockets Qt6::Sql)
set(TAIKAN_QT_PLUGINS Qt6::QWindowsIntegrationPlugin Qt6::QSvgPlugin Qt6::QSvgIconPlugin Qt6::QSQLiteDriverPlugin)
set(TAIKAN_RUNTIME_DLLS)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                  OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
    # Qt's MinGW kit keeps them beside the compiler.
    get_filename_component(path "${CMAKE_CXX_COMPILER}" DIRECTORY)
    set(path "${path}/${dll}")
  endif()
  get_filename_component(path "${path}" REALPATH)
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "The compiler's runtime ${dll} is not where it should be: ${path}")
  endif()
  list(APPEND TAIKAN_RUNTIME_DLLS "${path}")
endforeach()
get_target_property(qt_core Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(TAIKAN_QT_BIN "${qt_core}" DIRECTORY)
get_filename_component(TAIKAN_QT_PLUGIN_DIR "${TAIKAN_QT_BIN}/../plugins" ABSOLUTE)

# The installed tree, the same in the portable zip (in a folder Taikan) and
# under Program Files: the program, the DLLs and plugins above, a README and
# the licences of what ships. kata.ini is never installed: the program makes
# it beside itself (zip) or in the user's roaming folder (installed).
install(TARGETS taikan RUNTIME DESTINATION .)
foreach(library ${TAIKAN_QT_LIBRARIES})
  install(FILES $<TARGET_FILE:${library}> DESTINATION .)
endforeach()
install(FILES ${TAIKAN_RUNTIME_DLLS} DESTINATION .)
install(FILES ${TAIKAN_QT_BIN}/sqlite3.dll DESTINATION .) # the SQLite driver's
foreach(dll ${TAIKAN_RUNTIME_DLLS}) # Debian's come with their debugging symbols
  get_filename_component(name ${dll} NAME)
  install(CODE "execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-unneeded \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${name}\"
                                COMMAND_ERROR_IS_FATAL ANY)")
endforeach()
foreach(plugin ${TAIKAN_QT_PLUGINS})
  get_target_property(type ${plugin} QT_PLUGIN_TYPE)
  install(FILES $<TARGET_FILE:${plugin}> DESTINATION ${type})
endforeach()
configure_file(packaging/windows/README.txt.in ${CMAKE_CURRENT_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt DESTINATION .)
# Qt, used under the LGPL v3 (which is the GPL v3 with additional permissions);
# the compiler's runtime as Debian describes its copyright: libstdc++ and
# libgcc under the GPL v3 with the GCC Runtime Library Exception, winpthreads
# under its MIT-style licence.
install(FILES ${TAIKAN_QT_BIN}/../LICENSES/LGPL-3.0-only.txt ${TAIKAN_QT_BIN}/../LICENSES/GPL-3.0-only.txt
        DESTINATION LICENSES)
foreach(pair "gcc-mingw-w64-base;MinGW-w64-GCC-runtime" "mingw-w64-common;MinGW-w64-winpthreads")
  list(GET pair 0 package)
  list(GET pair 1 name)
  if(EXISTS /usr/share/doc/${package}/copyright)
    install(FILES /usr/share/doc/${package}/copyright DESTINATION LICENSES RENAME ${name}.txt)
  else()
    message(WARNING "No /usr/share/doc/${package}/copyright: add the compiler runtime's licence to LICENSES by hand")
  endif()
endforeach()

# The installer (CPack with NSIS, a script of our own: packaging/windows/NSIS.template.in):
# per machine into Program Files, a Start-menu entry, an optional desktop
# shortcut, and an uninstaller listed among Windows' installed apps.
set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME "Kovamo Taikan")
set(CPACK_PACKAGE_VENDOR "Kovamo")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME "taikan-${PROJECT_VERSION}-setup")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Kovamo Taikan")
set(CPACK_MODULE_PATH ${PROJECT_SOURCE_DIR}/packaging/windows)
set(CPACK_NSIS_ICON ${TAIKAN_ICON})
set(CPACK_NSIS_UNINSTALL_KEY "KovamoTaikan")
set(CPACK_STRIP_FILES ON)
# The same commit, the same package: its files dated by the commit.
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/PackageDates.cmake)
set(CPACK_TAIKAN_SOURCE_DIR ${PROJECT_SOURCE_DIR})
include(CPack)
