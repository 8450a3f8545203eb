# `make package` (cpack -G DEB): pictro_<version>_<arch>.deb from this build tree.
#
# CPack rather than a debian/ folder: the package is made from the tree `make test` has just
# built and tested, in seconds, with the version and the file list coming from this CMake project
# alone; dpkg-buildpackage would configure and compile everything again from a clean tree.
# dpkg-shlibdeps still computes the library dependencies, of the program and of the text engine
# module alike.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pictro)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Pictro developers")
set(CPACK_PACKAGE_CONTACT "${PICTRO_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PICTRO_SUMMARY}")
# The summary above is the first line of the description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Pictro lives in the system tray of an X11 desktop and answers global
 shortcuts, its tray menu, desktop actions and `pictro --action NAME`.
 It captures the screen, a dragged area, a window or a long scrolled page,
 copies and saves each capture, and opens it in an annotation editor. It
 also reads printed text and QR codes from a dragged area.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${PICTRO_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Loaded at run time, so no library dependency names them: Qt's X11 platform plugin, its SVG icon
# loader, and the language packs the default reading setting uses (English, then Vietnamese).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6, tesseract-ocr-eng, tesseract-ocr-vie")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "adwaita-icon-theme")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "tesseract-ocr-all")
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
