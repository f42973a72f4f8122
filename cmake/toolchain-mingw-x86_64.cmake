# The same Windows programs as 64-bit executables, for testing under Wine on machines whose kernel
# cannot run 32-bit Linux programs (Wine's 32-bit loader is one).
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(ORELOG_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
