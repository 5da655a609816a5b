# The program itself and its desktop part, its licence and change log, and the Debian package
# (cpack -G DEB).
install(TARGETS jubilora RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
install(TARGETS jubilora-desktop RUNTIME DESTINATION "${JUBILORA_DESKTOP_INSTALL_DIR}")

# Debian's layout for the documents: the copyright file refers to the licence text the system
# already has, and a native package carries its change log as changelog.gz.
set(JUBILORA_DOC_DIR "${CMAKE_INSTALL_DATADIR}/doc/jubilora")
execute_process(COMMAND date -u -R -d "${JUBILORA_RELEASE_DATE} 12:00"
  OUTPUT_VARIABLE JUBILORA_RELEASE_STAMP OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
configure_file("${CMAKE_CURRENT_LIST_DIR}/copyright.in" "${JUBILORA_DESKTOP_DIR}/copyright" @ONLY)
configure_file("${CMAKE_CURRENT_LIST_DIR}/changelog.in" "${JUBILORA_DESKTOP_DIR}/changelog" @ONLY)
add_custom_command(
  OUTPUT "${JUBILORA_DESKTOP_DIR}/changelog.gz"
  COMMAND "${GZIP_PROGRAM}" -9 -n -f -k "${JUBILORA_DESKTOP_DIR}/changelog"
  DEPENDS "${JUBILORA_DESKTOP_DIR}/changelog"
  VERBATIM)
add_custom_target(jubilora_docs ALL DEPENDS "${JUBILORA_DESKTOP_DIR}/changelog.gz")
install(FILES "${JUBILORA_DESKTOP_DIR}/copyright" "${JUBILORA_DESKTOP_DIR}/changelog.gz"
  DESTINATION "${JUBILORA_DOC_DIR}")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME jubilora)
set(CPACK_PACKAGE_VENDOR "The Jubilora authors")
set(CPACK_PACKAGE_CONTACT "Jubilora authors <${JUBILORA_AUTHORS_ADDRESS}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "reminder of birthdays, name days and other anniversaries")
# Lines of at most 72 characters: the package's description is shown as it is written.
set(CPACK_PACKAGE_DESCRIPTION
  "Jubilora keeps a list of birthdays, name days, wedding and death
anniversaries, holidays and other yearly events. Each time you log on
it shows one window with the days around today that carry events, each
written in a colour that tells how close it is, with an icon per kind.
The window can be snoozed into the notification area. The report can
also be printed as text or written as a picture from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://${JUBILORA_SITE_HOST}/")
# The libraries come from dpkg-shlibdeps; Qt's platform plugins are loaded at run time, so no
# library names them: without them neither the window nor the text modes start.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Wayland desktops run the window natively with qt6-wayland (through Xwayland without it); the
# help and the web and mail links reach the user's browser and mail program through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, xdg-utils")
include(CPack)

# The install test installs this build into a temporary prefix.
if(TARGET e2e_install_test)
  target_compile_definitions(e2e_install_test PRIVATE
    JUBILORA_BUILD_DIR="${CMAKE_BINARY_DIR}" JUBILORA_CMAKE="${CMAKE_COMMAND}")
  add_dependencies(e2e_install_test jubilora_desktop_files jubilora_docs)
endif()
