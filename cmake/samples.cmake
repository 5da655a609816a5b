# Builds the sample file beside the program from its readable source.
set(JUBILORA_SAMPLE_SOURCE ${PROJECT_SOURCE_DIR}/resources/samples.txt)
set(JUBILORA_SAMPLE_FILE ${CMAKE_BINARY_DIR}/jubilora.spl)

add_executable(make_samples ${PROJECT_SOURCE_DIR}/tools/make_samples.cpp)
target_link_libraries(make_samples PRIVATE jubilora_data)
set_target_properties(make_samples PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

# A line the tool cannot read fails the build with "samples.txt:LINE: ...".
add_custom_command(
  OUTPUT ${JUBILORA_SAMPLE_FILE}
  COMMAND make_samples ${JUBILORA_SAMPLE_SOURCE} ${JUBILORA_SAMPLE_FILE}
  DEPENDS make_samples ${JUBILORA_SAMPLE_SOURCE}
  COMMENT "Building the sample file jubilora.spl"
  VERBATIM)
add_custom_target(jubilora_samples ALL DEPENDS ${JUBILORA_SAMPLE_FILE})
# Building the program alone also puts the sample file beside it.
add_dependencies(jubilora jubilora_samples)

# The test of the shipped samples reads their source (never writes it).
if(TARGET data_sample_source_test)
  target_compile_definitions(data_sample_source_test PRIVATE
    JUBILORA_SAMPLE_SOURCE="${JUBILORA_SAMPLE_SOURCE}" JUBILORA_SAMPLE_FILE="${JUBILORA_SAMPLE_FILE}")
  add_dependencies(data_sample_source_test jubilora_samples)
endif()

install(FILES ${JUBILORA_SAMPLE_FILE} DESTINATION "${CMAKE_INSTALL_DATADIR}/jubilora")
