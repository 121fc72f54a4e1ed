# The manual page of quillon-fx, compressed at build time as Debian keeps manual pages.
# -n leaves the name and time out of the gzip header, so the same page gives the same file.
set(QUILLON_MAN_SOURCE ${QUILLON_DATA_DIR}/quillon-fx.1)
set(QUILLON_MAN_PAGE ${CMAKE_BINARY_DIR}/man/quillon-fx.1)

find_program(GZIP gzip REQUIRED)
add_custom_command(
  OUTPUT ${QUILLON_MAN_PAGE}.gz
  COMMAND ${CMAKE_COMMAND} -E copy ${QUILLON_MAN_SOURCE} ${QUILLON_MAN_PAGE}
  COMMAND ${GZIP} -9nf ${QUILLON_MAN_PAGE}
  DEPENDS ${QUILLON_MAN_SOURCE}
  COMMENT "Compressing the manual page of quillon-fx"
  VERBATIM)
add_custom_target(quillon_manual_page ALL DEPENDS ${QUILLON_MAN_PAGE}.gz)
install(FILES ${QUILLON_MAN_PAGE}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
