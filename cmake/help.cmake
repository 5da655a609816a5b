# Puts the help pages in help/ beside the program and installs them as they are.
#
# Included by the top CMakeLists.txt it adds the target; run with "cmake -P" it is the build step
# itself: it checks that every link between the pages leads to a page that exists and that every
# page links to the contents and the index, then copies the pages into place.

if(CMAKE_SCRIPT_MODE_FILE)
  file(GLOB pages RELATIVE "${SOURCE}" "${SOURCE}/*.html")
  set(problems "")
  foreach(page IN LISTS pages)
    file(READ "${SOURCE}/${page}" text)
    string(REGEX MATCHALL "href=\"[^\"]*\"" links "${text}")
    foreach(link IN LISTS links)
      # Only links between the pages: no scheme (web and mail links), without the #part.
      string(REGEX REPLACE "^href=\"([^\"#]*).*$" "\\1" target "${link}")
      if(target AND NOT target MATCHES ":" AND NOT EXISTS "${SOURCE}/${target}")
        string(APPEND problems "\n  ${page}: the link to ${target} leads nowhere")
      endif()
    endforeach()
    foreach(required IN ITEMS contents.html keywords.html)
      if(NOT page STREQUAL required AND NOT text MATCHES "href=\"${required}\"")
        string(APPEND problems "\n  ${page}: no link to ${required}")
      endif()
    endforeach()
  endforeach()
  if(problems)
    message(FATAL_ERROR "The help pages have broken links:${problems}")
  endif()
  file(REMOVE_RECURSE "${OUTPUT}")
  file(COPY "${SOURCE}/" DESTINATION "${OUTPUT}")
  file(TOUCH "${STAMP}")
  return()
endif()

set(JUBILORA_HELP_SOURCE "${PROJECT_SOURCE_DIR}/resources/help")
set(JUBILORA_HELP_FOLDER "${CMAKE_BINARY_DIR}/help")
set(JUBILORA_HELP_STAMP "${CMAKE_BINARY_DIR}/CMakeFiles/help.stamp")
file(GLOB JUBILORA_HELP_PAGES CONFIGURE_DEPENDS "${JUBILORA_HELP_SOURCE}/*")

add_custom_command(
  OUTPUT "${JUBILORA_HELP_STAMP}"
  COMMAND "${CMAKE_COMMAND}"
    "-DSOURCE=${JUBILORA_HELP_SOURCE}"
    "-DOUTPUT=${JUBILORA_HELP_FOLDER}"
    "-DSTAMP=${JUBILORA_HELP_STAMP}"
    -P "${CMAKE_CURRENT_LIST_DIR}/help.cmake"
  DEPENDS ${JUBILORA_HELP_PAGES} "${CMAKE_CURRENT_LIST_DIR}/help.cmake"
  COMMENT "Checking the help pages and putting them beside the program"
  VERBATIM)
add_custom_target(jubilora_help ALL DEPENDS "${JUBILORA_HELP_STAMP}")
add_dependencies(jubilora jubilora_help)

install(DIRECTORY "${JUBILORA_HELP_SOURCE}/" DESTINATION "${CMAKE_INSTALL_DATADIR}/jubilora/help")
