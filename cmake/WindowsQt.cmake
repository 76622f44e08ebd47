# Qt for Windows, for a build for Windows.
#
# TAIKAN_WINDOWS_QT names either a Qt install prefix (with lib/cmake/Qt6 in
# it: Qt's own MinGW kit on a Windows PC, C:/Qt/6.4.2/mingw_64) or a folder
# holding a packed one, qt-VERSION-mingw-x86_64.tar.xz, which is unpacked into
# the build folder once (again only when the archive changes). By default it
# is ../shared/windows beside the checkout. Where it names nothing, Qt is
# looked for on CMAKE_PREFIX_PATH as usual.
set(TAIKAN_WINDOWS_QT "${PROJECT_SOURCE_DIR}/../shared/windows" CACHE PATH
    "Qt for Windows: an install prefix, or a folder with qt-*-mingw-x86_64.tar.xz")

get_filename_component(TAIKAN_WINDOWS_QT "${TAIKAN_WINDOWS_QT}" ABSOLUTE)
set(TAIKAN_QT_PREFIX "")
if(EXISTS "${TAIKAN_WINDOWS_QT}/lib/cmake/Qt6/Qt6Config.cmake")
  set(TAIKAN_QT_PREFIX "${TAIKAN_WINDOWS_QT}")
elseif(IS_DIRECTORY "${TAIKAN_WINDOWS_QT}")
  file(GLOB archives "${TAIKAN_WINDOWS_QT}/qt-*-mingw-x86_64.tar.xz")
  if(archives)
    list(SORT archives COMPARE NATURAL)
    list(POP_BACK archives archive) # the newest version
    file(SHA256 "${archive}" digest)
    set(unpacked "${CMAKE_BINARY_DIR}/qt")
    set(stamp "")
    if(EXISTS "${unpacked}/archive.sha256")
      file(READ "${unpacked}/archive.sha256" stamp)
    endif()
    if(NOT stamp STREQUAL digest)
      message(STATUS "Unpacking ${archive}")
      file(REMOVE_RECURSE "${unpacked}")
      file(ARCHIVE_EXTRACT INPUT "${archive}" DESTINATION "${unpacked}")
      file(WRITE "${unpacked}/archive.sha256" "${digest}")
    endif()
    get_filename_component(name "${archive}" NAME)
    string(REPLACE ".tar.xz" "" name "${name}")
    set(TAIKAN_QT_PREFIX "${unpacked}/${name}")
  endif()
endif()

if(TAIKAN_QT_PREFIX)
  message(STATUS "Qt for Windows: ${TAIKAN_QT_PREFIX}")
  list(PREPEND CMAKE_PREFIX_PATH "${TAIKAN_QT_PREFIX}")
  list(APPEND CMAKE_FIND_ROOT_PATH "${TAIKAN_QT_PREFIX}")
endif()
if(CMAKE_CROSSCOMPILING)
  # Qt's tools (moc, rcc) run here: Debian's own Qt 6.
  set(QT_HOST_PATH /usr CACHE PATH "Qt for the build machine, whose tools run during the build")
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "CMake packages of QT_HOST_PATH")
endif()
