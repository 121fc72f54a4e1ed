# What `cmake --install` puts under the prefix: the two programs and, on Linux and other
# freedesktop systems, the desktop entry, the software-centre metadata, the icon in the
# hicolor theme, the manual page of quillon-fx, and the user guide with the copyright and
# licence notice in the documentation folder. DebianPackage.cmake turns the same files into
# a .deb.
include(GNUInstallDirs)

set(QUILLON_DATA_DIR ${PROJECT_SOURCE_DIR}/data)

install(TARGETS quillon quillon-fx RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(UNIX AND NOT APPLE)
  install(FILES ${QUILLON_DATA_DIR}/${QUILLON_APP_ID}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${QUILLON_DATA_DIR}/${QUILLON_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  include(${CMAKE_CURRENT_LIST_DIR}/IconImages.cmake)
  include(${CMAKE_CURRENT_LIST_DIR}/ManualPage.cmake)
  # Debian's machine-readable copyright file; the about box points here.
  install(FILES ${PROJECT_SOURCE_DIR}/README.md ${QUILLON_DATA_DIR}/copyright
          DESTINATION ${QUILLON_DOC_DIR_RELATIVE})
endif()

include(${CMAKE_CURRENT_LIST_DIR}/DebianPackage.cmake)
