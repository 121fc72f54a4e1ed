# `cpack -G DEB` in the build folder makes quillon_<version>_<arch>.deb of everything
# Install.cmake installs, under /usr. dpkg-shlibdeps (dpkg-dev, with file) works out the
# libraries it depends on from the programs themselves.
set(CPACK_PACKAGE_NAME quillon)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Quillon")
set(CPACK_PACKAGE_CONTACT "Quillon developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "media player beside a small image editor")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Quillon developers")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its plugins at run time, so no library names them: without qt6-qpa-plugins
# the program cannot open a window, and without the image-format plugins it reads only
# BMP, PNG, JPEG, GIF and a few more (no WebP, TIFF or SVG).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-image-formats-plugins, libqt6svg6")
# The summary above becomes the first line; CPack indents these paragraphs under it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quillon plays video and sound files in one half of its window and puts any
frame into a small image editor in the other half, with palette, pixel,
colour, zoom and rotation effects, undo, sharpening and saving as a bitmap.

quillon-fx applies the same picture effects from the command line.")

include(CPack)
