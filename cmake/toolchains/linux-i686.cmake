# Cross build for i686 Linux with Debian's i686-linux-gnu compiler; tests under qemu-i386-static.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(WAVINSPECT_TRIPLE i686-linux-gnu)
set(WAVINSPECT_EMULATOR qemu-i386-static)
include(${CMAKE_CURRENT_LIST_DIR}/linux-cross.cmake)
