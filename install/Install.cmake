# `cmake --install build --prefix ~/.local` installs Kirorin for one user: the executable goes into
# a folder of its own (lib/kirorin/), where it keeps its settings file, with a link to it in bin/.
# The Debian package installs the same files under /usr.
if(NOT TARGET kirorin)
  return()
endif()

# `make install` is per user, without root, so the default prefix is the user's own.
if(CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT AND DEFINED ENV{HOME})
  set(CMAKE_INSTALL_PREFIX "$ENV{HOME}/.local" CACHE PATH "Install prefix" FORCE)
endif()

set(KIRORIN_APP_ID io.github.kirorin.Kirorin)
# No licence file has been chosen yet; the metainfo needs one named.
set(KIRORIN_PROJECT_LICENSE MIT CACHE STRING "SPDX licence named in the AppStream metainfo")

install(TARGETS kirorin RUNTIME DESTINATION lib/kirorin)

install(CODE [[
  set(link "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin/kirorin")
  file(MAKE_DIRECTORY "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/bin")
  message(STATUS "Installing: ${link}")
  file(CREATE_LINK ../lib/kirorin/kirorin "${link}" SYMBOLIC)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${CMAKE_INSTALL_PREFIX}/bin/kirorin")
]])

# The desktop entry's Exec names the installed program by its full path, known only at install time.
install(CODE "set(KIRORIN_DESKTOP_TEMPLATE \"${CMAKE_SOURCE_DIR}/install/kirorin.desktop.in\")
              set(KIRORIN_DESKTOP_OUTPUT \"${CMAKE_BINARY_DIR}/install/kirorin.desktop\")")
install(SCRIPT ${CMAKE_SOURCE_DIR}/install/InstallDesktopEntry.cmake)

configure_file(install/${KIRORIN_APP_ID}.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/install/${KIRORIN_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/install/${KIRORIN_APP_ID}.metainfo.xml DESTINATION share/metainfo)

foreach(size 16 32 48)
  install(FILES ${CMAKE_BINARY_DIR}/res/icon/kirorin-${size}.png
          DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME kirorin.png)
endforeach()
install(FILES res/icon/kirorin.svg DESTINATION share/icons/hicolor/scalable/apps)
include(cmake/Package.cmake)
