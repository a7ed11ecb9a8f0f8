# The Debian package (cpack -G DEB). cpack installs the program as a plain install
# does, then packaging/debian.cmake turns that into a Debian package's files: a
# compressed man page, a DEP-5 copyright file and a Debian changelog in place of
# the upstream documents, and for the static program a lintian override. Every time
# stamp comes from SOURCE_DATE_EPOCH, by default the last commit's time, so that a
# rebuild of the same commit gives the same bytes.

if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(source_date_epoch "$ENV{SOURCE_DATE_EPOCH}")
else()
    execute_process(COMMAND git log -1 --format=%ct
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE source_date_epoch OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE git_failed ERROR_QUIET)
    if(git_failed OR source_date_epoch STREQUAL "")
        # Not a git checkout (an unpacked source archive): the release date.
        include(${PROJECT_SOURCE_DIR}/cmake/date-epoch.cmake)
        wavinspect_date_epoch(${WAVINSPECT_RELEASE_DATE} source_date_epoch)
    endif()
endif()

set(CPACK_PACKAGE_NAME wavinspect)
set(CPACK_PACKAGE_VENDOR "wavinspect developers")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "wavinspect developers <maintainers@wavinspect.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "show the header of a WAVE audio file")
set(CPACK_PACKAGE_DESCRIPTION "wavinspect asks for a file name, reads the first 44 bytes of that file
as the canonical RIFF WAVE header and prints its thirteen fields, one
labelled line each. Decoding is by position; nothing is validated or played.")
# A static program needs no shared libraries; a dynamic one gets its dependencies computed.
if(NOT WAVINSPECT_STATIC)
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/packaging/debian.cmake)
# cpack runs in a process of its own: it gets the epoch and what the script needs.
set(WAVINSPECT_SOURCE_DIR ${PROJECT_SOURCE_DIR})
set(WAVINSPECT_MANDIR ${CMAKE_INSTALL_MANDIR})
set(WAVINSPECT_DOCDIR ${CMAKE_INSTALL_DOCDIR})
set(WAVINSPECT_SOURCE_DATE_EPOCH ${source_date_epoch})
configure_file(packaging/cpack-project-config.cmake.in cpack-project-config.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/cpack-project-config.cmake)
include(CPack)
