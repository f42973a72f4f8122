# Sources generated at build time into the core.

# The credits box shows the JSON library's licence notice exactly as the installed header carries
# it, so it always matches the library the program is built with.
set(ORELOG_CREDITS_NOTICE_SOURCE ${PROJECT_BINARY_DIR}/generated/credits_notice.cpp)
add_custom_command(OUTPUT ${ORELOG_CREDITS_NOTICE_SOURCE}
  COMMAND ${CMAKE_COMMAND} -DINPUT=${PICOJSON_HEADER} -DOUTPUT=${ORELOG_CREDITS_NOTICE_SOURCE}
          -P ${PROJECT_SOURCE_DIR}/cmake/credits_notice.cmake
  DEPENDS ${PICOJSON_HEADER} ${PROJECT_SOURCE_DIR}/cmake/credits_notice.cmake
  COMMENT "Generating the credits notice from ${PICOJSON_HEADER}")
target_sources(orelog_core PRIVATE ${ORELOG_CREDITS_NOTICE_SOURCE})
