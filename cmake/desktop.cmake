# Desktop integration, everything named after the application id: the launcher, the icons, the
# AppStream metainfo, and the man page.
set(JUBILORA_DESKTOP_DIR "${CMAKE_BINARY_DIR}/desktop")
set(JUBILORA_RESOURCES "${PROJECT_SOURCE_DIR}/resources")

# Icons: the scalable picture as it is and PNGs drawn from it at build time, so that desktops
# without an SVG loader show the same picture.
set(JUBILORA_ICON_SOURCE "${JUBILORA_RESOURCES}/icons/jubilora.svg")
set(JUBILORA_ICON_SIZES 16 24 32 48 64 128 256)
add_executable(render_icon "${PROJECT_SOURCE_DIR}/tools/render_icon.cpp")
target_link_libraries(render_icon PRIVATE Qt6::Gui Qt6::Svg)
set_target_properties(render_icon PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/tools")
set(JUBILORA_ICON_FILES "")
foreach(size IN LISTS JUBILORA_ICON_SIZES)
  list(APPEND JUBILORA_ICON_FILES "${JUBILORA_DESKTOP_DIR}/icons/${size}x${size}/apps/${JUBILORA_APP_ID}.png")
endforeach()
add_custom_command(
  OUTPUT ${JUBILORA_ICON_FILES}
  COMMAND render_icon "${JUBILORA_ICON_SOURCE}" "${JUBILORA_DESKTOP_DIR}/icons" "${JUBILORA_APP_ID}"
    ${JUBILORA_ICON_SIZES}
  DEPENDS render_icon "${JUBILORA_ICON_SOURCE}"
  COMMENT "Drawing the application icon at ${JUBILORA_ICON_SIZES} pixels"
  VERBATIM)

# The metainfo carries the version and the release date; its screenshots are the README's own
# pictures in docs/, so a renamed picture fails here rather than on a software centre's page.
set(JUBILORA_METAINFO_SOURCE "${JUBILORA_RESOURCES}/${JUBILORA_APP_ID}.metainfo.xml.in")
file(STRINGS "${JUBILORA_METAINFO_SOURCE}" screenshots REGEX "<image>")
foreach(line IN LISTS screenshots)
  if(NOT line MATCHES "/docs/([^<]+)</image>" OR NOT EXISTS "${PROJECT_SOURCE_DIR}/docs/${CMAKE_MATCH_1}")
    message(FATAL_ERROR "The metainfo names a screenshot that docs/ does not hold: ${line}")
  endif()
endforeach()
set(JUBILORA_METAINFO "${JUBILORA_DESKTOP_DIR}/${JUBILORA_APP_ID}.metainfo.xml")
configure_file("${JUBILORA_METAINFO_SOURCE}" "${JUBILORA_METAINFO}" @ONLY)

# The man page, compressed as man pages are installed on Debian.
set(JUBILORA_MAN_PAGE "${JUBILORA_DESKTOP_DIR}/jubilora.1")
configure_file("${JUBILORA_RESOURCES}/jubilora.1.in" "${JUBILORA_MAN_PAGE}" @ONLY)
find_program(GZIP_PROGRAM gzip REQUIRED)
add_custom_command(
  OUTPUT "${JUBILORA_MAN_PAGE}.gz"
  COMMAND "${GZIP_PROGRAM}" -9 -n -f -k "${JUBILORA_MAN_PAGE}"
  DEPENDS "${JUBILORA_MAN_PAGE}"
  COMMENT "Compressing the man page"
  VERBATIM)

add_custom_target(jubilora_desktop_files ALL DEPENDS ${JUBILORA_ICON_FILES} "${JUBILORA_MAN_PAGE}.gz")

install(FILES "${JUBILORA_RESOURCES}/${JUBILORA_APP_ID}.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
install(FILES "${JUBILORA_METAINFO}" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
install(FILES "${JUBILORA_ICON_SOURCE}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps"
  RENAME "${JUBILORA_APP_ID}.svg")
install(DIRECTORY "${JUBILORA_DESKTOP_DIR}/icons/" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor")
install(FILES "${JUBILORA_MAN_PAGE}.gz" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
