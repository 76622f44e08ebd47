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

# What taikan.exe loads besides Windows' own DLLs: Qt's libraries, the
# plugins it takes (the Windows platform, SVG for its pictures and icon) and
# the compiler's runtime. Checked against what it really loads under Wine
# (tests/windows/smoke.sh).
set(TAIKAN_QT_LIBRARIES Qt6::Core Qt6::Gui Qt6::Widgets Qt6::Svg)
set(TAIKAN_QT_PLUGINS Qt6::QWindowsIntegrationPlugin Qt6::QSvgPlugin Qt6::QSvgIconPlugin)
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
