# The Windows programs as players get them: 32-bit, built with mingw-w64 (build-windows/).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(ORELOG_MINGW_TRIPLET i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
