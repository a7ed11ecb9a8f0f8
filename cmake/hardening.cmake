# Hardening for the project's own targets: stack protector, fortified libc calls,
# stack-clash probes, control-flow protection, position independence and, on ELF,
# full RELRO with immediate binding. The caller's flags come first: a flag is added
# only where the caller's compile or link flags hold none of its kind, so that a
# distribution's choices (a fortify level, say) are never overridden or downgraded.
# Each flag is given only where the compiler or the linker for the target takes it
# and uses it: a flag the compiler driver warns is unused is a flag it did not take.
include(CheckCXXSourceCompiles)
include(CMakeCheckCompilerFlagCommonPatterns)

# Sets variable to whether the tool ("compiler" or "linker") takes flag, and says
# "yes" or "no": a probe's own "Failed" reads as an error.
function(wavinspect_check_flag tool flag variable)
    message(CHECK_START "Whether the ${tool} takes ${flag}")
    set(CMAKE_REQUIRED_QUIET ON)
    if(tool STREQUAL "compiler")
        set(CMAKE_REQUIRED_FLAGS ${flag})
    else()
        set(CMAKE_REQUIRED_LINK_OPTIONS ${flag})
    endif()
    check_compiler_flag_common_patterns(refusals)
    string(REGEX REPLACE "^LINKER:" "" bare "${flag}")
    string(REGEX REPLACE "([][+.*?()^$])" [[\\\1]] bare "${bare}")
    check_cxx_source_compiles("int main() { return 0; }" ${variable} ${refusals}
        FAIL_REGEX "argument unused during compilation" FAIL_REGEX "warning: .*${bare}.* ignored")
    if(${variable})
        message(CHECK_PASS "yes")
    else()
        message(CHECK_PASS "no")
    endif()
endfunction()

# Compiled as position independent; the program's target chooses how it links
# (-static-pie or -pie), since a -pie from CMake after -static-pie would win.
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

string(TOUPPER "${CMAKE_BUILD_TYPE}" build_type)
set(caller_compile_flags "${CMAKE_CXX_FLAGS} ${CMAKE_CXX_FLAGS_${build_type}}")
set(caller_link_flags "${CMAKE_EXE_LINKER_FLAGS} ${CMAKE_EXE_LINKER_FLAGS_${build_type}}")

add_library(wavinspect_hardening INTERFACE)
foreach(flag -fstack-protector-strong -fstack-clash-protection -fcf-protection)
    # Its kind: -fstack-protector-all or -fno-stack-protector is the caller's choice too.
    string(REGEX REPLACE "^-f(stack-protector|.*protection).*" "-f(no-)?\\1" kind ${flag})
    string(MAKE_C_IDENTIFIER "WAVINSPECT_HAS${flag}" has_flag)
    wavinspect_check_flag(compiler ${flag} ${has_flag})
    if(${has_flag} AND NOT caller_compile_flags MATCHES "${kind}")
        target_compile_options(wavinspect_hardening INTERFACE ${flag})
        # MinGW's stack protector lives in libssp, which the driver adds only when
        # linking with the flag too.
        if(flag STREQUAL "-fstack-protector-strong")
            target_link_options(wavinspect_hardening INTERFACE ${flag})
        endif()
    endif()
endforeach()

# Fortification needs the optimizer, and a compiler may already define a level.
# A sanitizer checks those calls itself, and fortified ones get in its way.
# The probe runs the compiler without the caller's flags, which may set a level of
# their own (0 included), and its own line would end in "Failed" for a compiler that
# defines none.
message(CHECK_START "Looking for the compiler's own _FORTIFY_SOURCE")
block(SCOPE_FOR VARIABLES)
    set(CMAKE_CXX_FLAGS "")
    set(CMAKE_CXX_FLAGS_${build_type} "")
    set(CMAKE_REQUIRED_FLAGS -O2)
    set(CMAKE_REQUIRED_QUIET ON)
    check_cxx_source_compiles("#ifndef _FORTIFY_SOURCE\n#error\n#endif\nint main() {}"
        WAVINSPECT_FORTIFIED_BY_DEFAULT)
endblock()
if(WAVINSPECT_FORTIFIED_BY_DEFAULT)
    message(CHECK_PASS "defined: the compiler's level is kept")
else()
    message(CHECK_PASS "none")
endif()
if(NOT WAVINSPECT_FORTIFIED_BY_DEFAULT AND NOT caller_compile_flags MATCHES "_FORTIFY_SOURCE"
   AND NOT WAVINSPECT_SANITIZE)
    target_compile_definitions(wavinspect_hardening INTERFACE
        $<$<AND:$<CXX_COMPILER_ID:GNU,Clang>,$<NOT:$<CONFIG:Debug>>>:_FORTIFY_SOURCE=2>)
endif()

wavinspect_check_flag(linker LINKER:-z,relro WAVINSPECT_HAS_RELRO)
wavinspect_check_flag(linker LINKER:-z,now WAVINSPECT_HAS_BIND_NOW)
if(WAVINSPECT_HAS_RELRO AND NOT caller_link_flags MATCHES "-z[, ]*(no)?relro")
    target_link_options(wavinspect_hardening INTERFACE LINKER:-z,relro)
endif()
if(WAVINSPECT_HAS_BIND_NOW AND NOT caller_link_flags MATCHES "-z[, ]*(now|lazy)")
    target_link_options(wavinspect_hardening INTERFACE LINKER:-z,now)
endif()
