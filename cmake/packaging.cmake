# Release artifacts: the Debian package (cpack -G DEB), its copyright file and
# changelog, and the compressed man page. Every time stamp comes from
# SOURCE_DATE_EPOCH, by default the last commit's time, so that a rebuild of the
# same commit gives the same bytes.
find_program(GZIP_PROGRAM gzip REQUIRED)

if(DEFINED ENV{SOURCE_DATE_EPOCH})
    set(WAVINSPECT_SOURCE_DATE_EPOCH "$ENV{SOURCE_DATE_EPOCH}")
else()
    execute_process(COMMAND git log -1 --format=%ct
        WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
        OUTPUT_VARIABLE WAVINSPECT_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
        RESULT_VARIABLE git_failed ERROR_QUIET)
    if(git_failed OR WAVINSPECT_SOURCE_DATE_EPOCH STREQUAL "")
        # Not a git checkout (an unpacked source archive): midnight of the release date.
        file(STRINGS ${PROJECT_SOURCE_DIR}/CHANGELOG.md release_line
            REGEX "^## \\[${PROJECT_VERSION}\\] - " LIMIT_COUNT 1)
        string(REGEX MATCH "[0-9]+-[0-9]+-[0-9]+" release_date "${release_line}")
        execute_process(COMMAND date -u -d "${release_date}" +%s
            OUTPUT_VARIABLE WAVINSPECT_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE)
    endif()
endif()
set(ENV{SOURCE_DATE_EPOCH} "${WAVINSPECT_SOURCE_DATE_EPOCH}")

# The changelog must have an entry for the version being built.
file(READ ${PROJECT_SOURCE_DIR}/CHANGELOG.md changelog)
# A semicolon would split CMake's lists: carried through as a placeholder.
string(REPLACE ";" "@SEMICOLON@" changelog "${changelog}")
string(REGEX MATCH "\n## \\[${PROJECT_VERSION}\\][^\n]*\n(.*)" entry "${changelog}")
if(NOT entry)
    message(FATAL_ERROR "CHANGELOG.md has no entry for version ${PROJECT_VERSION}")
endif()
string(REGEX REPLACE "\n## .*" "" entry "${CMAKE_MATCH_1}")

# Debian changelog of this native package: the entry's items, dated from SOURCE_DATE_EPOCH.
set(maintainer "wavinspect developers <maintainers@wavinspect.invalid>")
string(REGEX MATCHALL "\n- [^\n]*" items "\n${entry}")
set(debian_changelog "wavinspect (${PROJECT_VERSION}) unstable; urgency=medium\n\n")
# Each item wrapped to fit 80 columns, continuation lines indented under the text.
foreach(item IN LISTS items)
    string(REGEX REPLACE "^\n- " "" item "${item}")
    string(REPLACE " " ";" words "${item}")
    set(line "  *")
    foreach(word IN LISTS words)
        string(LENGTH "${line} ${word}" length)
        if(length GREATER 78 AND NOT line STREQUAL "  *")
            string(APPEND debian_changelog "${line}\n")
            set(line "   ")
        endif()
        string(APPEND line " ${word}")
    endforeach()
    string(APPEND debian_changelog "${line}\n")
endforeach()
string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
string(REPLACE "@SEMICOLON@" ";" debian_changelog "${debian_changelog}")
string(APPEND debian_changelog "\n -- ${maintainer}  ${changelog_date}\n")
file(WRITE ${PROJECT_BINARY_DIR}/changelog "${debian_changelog}")

# Machine-readable copyright file, its licence text taken from LICENSE.
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE licence_lines)
list(FILTER licence_lines EXCLUDE REGEX "^MIT License$|^Copyright ")
list(GET licence_lines 0 first_line)
while(first_line STREQUAL "")
    list(REMOVE_AT licence_lines 0)
    list(GET licence_lines 0 first_line)
endwhile()
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE copyright_line REGEX "^Copyright " LIMIT_COUNT 1)
string(REGEX REPLACE "^Copyright \\(c\\) " "" copyright_holder "${copyright_line}")
set(copyright "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n")
string(APPEND copyright "Upstream-Name: wavinspect\n\nFiles: *\n")
string(APPEND copyright "Copyright: ${copyright_holder}\nLicense: Expat\n")
foreach(line IN LISTS licence_lines)
    if(line STREQUAL "")
        string(APPEND copyright " .\n")
    else()
        string(APPEND copyright " ${line}\n")
    endif()
endforeach()
file(WRITE ${PROJECT_BINARY_DIR}/copyright "${copyright}")

# Compressed copies, with no name or time stamp inside (-n).
set(doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/${PROJECT_NAME})
foreach(source wavinspect.1 changelog)
    add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/${source}.gz
        COMMAND ${GZIP_PROGRAM} -9n --stdout ${source} > ${source}.gz
        DEPENDS ${PROJECT_BINARY_DIR}/${source}
        WORKING_DIRECTORY ${PROJECT_BINARY_DIR} VERBATIM)
endforeach()
add_custom_target(compressed_docs ALL
    DEPENDS ${PROJECT_BINARY_DIR}/wavinspect.1.gz ${PROJECT_BINARY_DIR}/changelog.gz)

install(FILES ${PROJECT_BINARY_DIR}/wavinspect.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/copyright ${PROJECT_BINARY_DIR}/changelog.gz
    DESTINATION ${doc_dir})
if(WAVINSPECT_STATIC)
    install(FILES packaging/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME ${PROJECT_NAME})
endif()

set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})

set(CPACK_PACKAGE_NAME wavinspect)
set(CPACK_PACKAGE_VENDOR "wavinspect developers")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${maintainer}")
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
# cpack runs in a process of its own: give it the same epoch unless the caller sets one.
configure_file(packaging/cpack-project-config.cmake.in cpack-project-config.cmake @ONLY)
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/cpack-project-config.cmake)
include(CPack)
