# The core and its unit tests as 32-bit x86 Linux programs (Debian's g++-i686-linux-gnu), run under
# qemu-i386-static: the 32-bit arithmetic players get on Windows, checked on a machine that runs no
# 32-bit program. Only the core is built (ORELOG_CORE_ONLY): the machine has no 32-bit GTK or curl.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(CMAKE_C_COMPILER i686-linux-gnu-gcc)
set(CMAKE_CXX_COMPILER i686-linux-gnu-g++)

set(CMAKE_FIND_ROOT_PATH /usr/i686-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The emulator finds the 32-bit loader and libraries in the cross toolchain's folder.
find_program(ORELOG_QEMU_I386 qemu-i386-static REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ORELOG_QEMU_I386} -L ${CMAKE_FIND_ROOT_PATH})

set(ORELOG_CORE_ONLY ON CACHE BOOL "Build only the core and its unit tests")
