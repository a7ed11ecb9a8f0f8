# Cross build for s390x Linux with Debian's s390x-linux-gnu compiler. The tests run under
# qemu-s390x-static unless CMAKE_CROSSCOMPILING_EMULATOR is set (empty runs them natively).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(CMAKE_C_COMPILER s390x-linux-gnu-gcc)  # GoogleTest's project enables C
set(CMAKE_CXX_COMPILER s390x-linux-gnu-g++)
set(CMAKE_STRIP s390x-linux-gnu-strip)
set(CMAKE_FIND_ROOT_PATH /usr/s390x-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
if(NOT DEFINED CMAKE_CROSSCOMPILING_EMULATOR)
    set(CMAKE_CROSSCOMPILING_EMULATOR qemu-s390x-static)
endif()
