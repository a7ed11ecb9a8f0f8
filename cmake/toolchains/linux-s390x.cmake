# Cross build for s390x Linux with Debian's s390x-linux-gnu compiler; tests under qemu-s390x-static.
set(CMAKE_SYSTEM_PROCESSOR s390x)
set(WAVINSPECT_TRIPLE s390x-linux-gnu)
set(WAVINSPECT_EMULATOR qemu-s390x-static)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
