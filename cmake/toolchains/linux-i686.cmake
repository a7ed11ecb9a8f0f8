# Cross build for i686 Linux with Debian's i686-linux-gnu compiler. The tests run under
# qemu-i386-static unless CMAKE_CROSSCOMPILING_EMULATOR is set (empty runs them natively).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-linux-gnu-gcc)  # GoogleTest's project enables C
set(CMAKE_CXX_COMPILER i686-linux-gnu-g++)
set(CMAKE_STRIP i686-linux-gnu-strip)
set(CMAKE_FIND_ROOT_PATH /usr/i686-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
    set(CMAKE_CROSSCOMPILING_EMULATOR qemu-i386-static)
endif()
