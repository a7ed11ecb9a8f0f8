# Hardening for the project's own targets: stack protector, fortified libc calls,
# stack-clash probes, control-flow protection, position independence and, on ELF,
# full RELRO with immediate binding. Each flag is given only where the compiler
# for the target takes it (-fcf-protection is x86 only, for one).
include(CheckCXXCompilerFlag)

# Compiled as position independent; the program's target chooses how it links
# (-static-pie or -pie), since a -pie from CMake after -static-pie would win.
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_library(wavinspect_hardening INTERFACE)
foreach(flag -fstack-protector-strong -fstack-clash-protection -fcf-protection)
    string(MAKE_C_IDENTIFIER "WAVINSPECT_HAS${flag}" has_flag)
    check_cxx_compiler_flag(${flag} ${has_flag})
    if(${has_flag})
        target_compile_options(wavinspect_hardening INTERFACE ${flag})
    endif()
endforeach()
# MinGW's stack protector lives in libssp, which the driver adds only when linking
# with the flag too.
if(WAVINSPECT_HAS_fstack_protector_strong)
    target_link_options(wavinspect_hardening INTERFACE -fstack-protector-strong)
endif()
# Fortification needs the optimizer; a distribution's compiler may already set a level.
target_compile_options(wavinspect_hardening INTERFACE
    $<$<AND:$<CXX_COMPILER_ID:GNU,Clang>,$<NOT:$<CONFIG:Debug>>>:-U_FORTIFY_SOURCE -D_FORTIFY_SOURCE=2>)
if(NOT WIN32 AND NOT APPLE)
    target_link_options(wavinspect_hardening INTERFACE
        $<$<CXX_COMPILER_ID:GNU,Clang>:LINKER:-z,relro,-z,now>)
endif()
