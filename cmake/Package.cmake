# `make deb`: the system install as a Debian package. The program goes to /usr/lib/kirorin/,
# where users may not write, so each user's settings go to ~/.config/kirorin/ (the program
# falls back there by itself); /usr/bin/kirorin links to it. Dependencies come from
# dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kirorin)
set(CPACK_PACKAGE_VENDOR "The Kirorin developers")
set(CPACK_PACKAGE_CONTACT "The Kirorin developers <kirorin@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "chorus of bell crickets in the notification area")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Kirorin keeps a chorus of up to sixteen simulated bell crickets\n"
    "(suzumushi) chirping through the sound card, each at its own pitch,\n"
    "loudness and stereo position. The crickets hush while the mouse moves,\n"
    "and the chorus can be limited to daily hours. It lives as an icon in\n"
    "the notification area, with a small menu and a settings dialog.")
string(JOIN "" CPACK_DEBIAN_PACKAGE_DESCRIPTION ${CPACK_DEBIAN_PACKAGE_DESCRIPTION})
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The install scripts write the link and the desktop entry's Exec from CMAKE_INSTALL_PREFIX,
# which must be the installed prefix, not the staging folder.
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})

# Debian's copyright file, changelog and manual page, in the package only.
set(deb_doc ${CMAKE_BINARY_DIR}/deb-doc)
file(MAKE_DIRECTORY ${deb_doc}/usr/share/doc/kirorin)
configure_file(${CMAKE_SOURCE_DIR}/LICENSE ${deb_doc}/usr/share/doc/kirorin/copyright COPYONLY)
file(WRITE ${deb_doc}/changelog
     "kirorin (${PROJECT_VERSION}) unstable; urgency=medium\n\n"
     "  * First package.\n\n"
     " -- ${CPACK_PACKAGE_CONTACT}  Sun, 06 Dec 2026 00:00:00 +0000\n")
execute_process(COMMAND gzip -9nc ${deb_doc}/changelog
                OUTPUT_FILE ${deb_doc}/usr/share/doc/kirorin/changelog.gz)
file(MAKE_DIRECTORY ${deb_doc}/usr/share/man/man1)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/install/kirorin.1)
execute_process(COMMAND gzip -9nc ${CMAKE_SOURCE_DIR}/install/kirorin.1
                OUTPUT_FILE ${deb_doc}/usr/share/man/man1/kirorin.1.gz)
set(CPACK_INSTALLED_DIRECTORIES ${deb_doc}/usr /usr)

include(CPack)
