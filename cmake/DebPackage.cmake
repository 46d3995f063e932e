# `cpack -G DEB` in the build folder makes skribando_<version>_amd64.deb from the install
# rules. Its library dependencies are read from the program by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME skribando)
set(CPACK_PACKAGE_VENDOR Brenholtsoft)
set(CPACK_PACKAGE_CONTACT "Brenholtsoft <kontakt@brenholtsoft.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "freeze the screen and draw on it")
set(CPACK_PACKAGE_DESCRIPTION
    "Skribando freezes the screen into a picture shown full-screen and lets you\n"
    "draw on it with a pen, a highlighter, lines, arrows, rectangles, ellipses,\n"
    "text and stamps, then save, copy or print it. A desktop shortcut bound to\n"
    "`skribando --basculer` starts and finishes a drawing phase from anywhere.\n"
    "The interface is French.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.skribando.example.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its platform plugin at run time, out of the linker's sight: no shlibdeps sees it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
# The fonts the palette and the text tool are drawn with; the platform plugin that makes the
# program a native client of a Wayland session (without it, it runs there through XWayland).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2, fonts-dejavu-core, qt6-wayland")
include(CPack)
