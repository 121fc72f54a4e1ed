# The application icon in the hicolor theme: the scalable SVG as drawn, and the fixed
# sizes rendered from it at build time, since menus and panels that cannot read SVG look
# for PNGs of their own size.
set(QUILLON_ICON_SVG ${QUILLON_DATA_DIR}/quillon.svg)
set(QUILLON_ICON_SIZES 16 32 48 64 128 256)
set(QUILLON_ICON_THEME_DIR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

install(FILES ${QUILLON_ICON_SVG} DESTINATION ${QUILLON_ICON_THEME_DIR}/scalable/apps)

find_program(RSVG_CONVERT rsvg-convert)
if(NOT RSVG_CONVERT)
  message(WARNING "rsvg-convert (Debian package librsvg2-bin) not found: only the scalable "
                  "icon is installed; scripts/dev.sh installs it")
  add_custom_target(quillon_icon_images)  # nothing to render; tests may still depend on it
  return()
endif()

set(QUILLON_ICON_PNGS)
foreach(size IN LISTS QUILLON_ICON_SIZES)
  set(png ${CMAKE_BINARY_DIR}/icons/${size}x${size}/quillon.png)
  add_custom_command(
    OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/icons/${size}x${size}
    COMMAND ${RSVG_CONVERT} --width=${size} --height=${size} --output=${png} ${QUILLON_ICON_SVG}
    DEPENDS ${QUILLON_ICON_SVG}
    COMMENT "Rendering the ${size}x${size} application icon"
    VERBATIM)
  install(FILES ${png} DESTINATION ${QUILLON_ICON_THEME_DIR}/${size}x${size}/apps)
  list(APPEND QUILLON_ICON_PNGS ${png})
endforeach()
add_custom_target(quillon_icon_images ALL DEPENDS ${QUILLON_ICON_PNGS})
