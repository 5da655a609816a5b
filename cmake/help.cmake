# Compiles the help pages into the help file beside the program.
#
# Included by the top CMakeLists.txt it adds the target; run with "cmake -P" it is the build step
# itself: it copies the pages to a staging folder, runs chmcmd there and moves the result into
# place, failing on any error or warning of the compiler (a warning is a missing page or a broken
# link).

if(CMAKE_SCRIPT_MODE_FILE)
  file(REMOVE_RECURSE "${STAGE}")
  file(COPY "${SOURCE}/" DESTINATION "${STAGE}")
  execute_process(COMMAND "${CHMCMD}" jubilora.hhp
    WORKING_DIRECTORY "${STAGE}"
    RESULT_VARIABLE status
    OUTPUT_VARIABLE out
    ERROR_VARIABLE err)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "chmcmd failed (${status}):\n${out}${err}")
  endif()
  if(out MATCHES "Warning|Error" OR err MATCHES "Warning|Error")
    message(FATAL_ERROR "chmcmd complained about the help pages:\n${out}${err}")
  endif()
  if(NOT EXISTS "${STAGE}/jubilora.chm")
    message(FATAL_ERROR "chmcmd wrote no jubilora.chm:\n${out}${err}")
  endif()
  # A rename within the build folder: the help file is replaced whole.
  file(RENAME "${STAGE}/jubilora.chm" "${OUTPUT}")
  return()
endif()

find_program(CHMCMD_PROGRAM chmcmd)
if(NOT CHMCMD_PROGRAM)
  message(FATAL_ERROR "chmcmd, the help compiler, is missing: install Debian's fp-utils (scripts/setup does)")
endif()

set(JUBILORA_HELP_SOURCE "${PROJECT_SOURCE_DIR}/resources/help")
set(JUBILORA_HELP_FILE "${CMAKE_BINARY_DIR}/jubilora.chm")
file(GLOB JUBILORA_HELP_PAGES CONFIGURE_DEPENDS
  "${JUBILORA_HELP_SOURCE}/*.html" "${JUBILORA_HELP_SOURCE}/*.hhc" "${JUBILORA_HELP_SOURCE}/*.hhk"
  "${JUBILORA_HELP_SOURCE}/*.hhp")

add_custom_command(
  OUTPUT "${JUBILORA_HELP_FILE}"
  COMMAND "${CMAKE_COMMAND}"
    "-DCHMCMD=${CHMCMD_PROGRAM}"
    "-DSOURCE=${JUBILORA_HELP_SOURCE}"
    "-DSTAGE=${CMAKE_BINARY_DIR}/help-pages"
    "-DOUTPUT=${JUBILORA_HELP_FILE}"
    -P "${CMAKE_CURRENT_LIST_DIR}/help.cmake"
  DEPENDS ${JUBILORA_HELP_PAGES} "${CMAKE_CURRENT_LIST_DIR}/help.cmake"
  COMMENT "Compiling the help file jubilora.chm"
  VERBATIM)
add_custom_target(jubilora_help ALL DEPENDS "${JUBILORA_HELP_FILE}")

include(GNUInstallDirs)
install(FILES "${JUBILORA_HELP_FILE}" DESTINATION "${CMAKE_INSTALL_DATADIR}/jubilora")
