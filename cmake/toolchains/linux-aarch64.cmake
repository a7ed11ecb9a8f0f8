# Cross build for aarch64 Linux with Debian's aarch64-linux-gnu compiler; tests under qemu-aarch64-static.
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(WAVINSPECT_TRIPLE aarch64-linux-gnu)
set(WAVINSPECT_EMULATOR qemu-aarch64-static)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
