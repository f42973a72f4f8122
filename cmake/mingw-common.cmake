# What the two mingw-w64 toolchain files share; they set ORELOG_MINGW_TRIPLET first.
# POSIX threads (std::thread, std::mutex); every runtime library linked in statically so the .exe
# files run alone from any folder.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${ORELOG_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORELOG_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${ORELOG_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORELOG_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# -O2 rather than -O3: GCC 12 warns falsely (-Wrestrict) about string copies at -O3. Players get a
# stripped program.
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Release flags of the Windows programs")
set(CMAKE_EXE_LINKER_FLAGS_RELEASE_INIT "-s")
