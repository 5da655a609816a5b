# The build's own facts for the program (name, version, application id, copyright) come from
# the top CMakeLists.txt through one generated header.
set(JUBILORA_GENERATED_DIR "${CMAKE_BINARY_DIR}/generated")
configure_file("${CMAKE_CURRENT_LIST_DIR}/build_info.h.in" "${JUBILORA_GENERATED_DIR}/core/build_info.h" @ONLY)
target_include_directories(jubilora_core PUBLIC "${JUBILORA_GENERATED_DIR}")

# The web and mail addresses stand once, in the program's source; the man page, the metainfo
# and the package read them from there.
set(JUBILORA_LINKS_HEADER "${PROJECT_SOURCE_DIR}/src/core/addresses.h")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${JUBILORA_LINKS_HEADER}")
function(jubilora_link_constant name variable)
  file(STRINGS "${JUBILORA_LINKS_HEADER}" lines REGEX " ${name} = ")
  if(NOT lines MATCHES " ${name} = \"([^\"]+)\"")
    message(FATAL_ERROR "${JUBILORA_LINKS_HEADER} names no ${name}")
  endif()
  set(${variable} "${CMAKE_MATCH_1}" PARENT_SCOPE)
endfunction()
jubilora_link_constant(BugAddress JUBILORA_BUG_ADDRESS)
jubilora_link_constant(AuthorsAddress JUBILORA_AUTHORS_ADDRESS)
jubilora_link_constant(VendorSiteHost JUBILORA_SITE_HOST)
