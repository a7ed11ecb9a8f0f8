# Run by cpack before it builds the Debian package: turns the staged plain install
# into a Debian package's files. The man page is compressed, the upstream documents
# give way to a DEP-5 copyright file and a Debian changelog, and the static program
# gets its lintian override. A plain install never runs this.
cmake_policy(VERSION 3.25)
set(prefix ${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX})
set(doc_dir ${prefix}/${WAVINSPECT_DOCDIR})
set(man_page ${prefix}/${WAVINSPECT_MANDIR}/man1/wavinspect.1)

# Compressed copies, with no name or time stamp inside (-n).
function(gzip_file file)
    execute_process(COMMAND gzip -9nf ${file} RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "gzip -9nf ${file} failed")
    endif()
endfunction()

gzip_file(${man_page})
file(REMOVE ${doc_dir}/README.md ${doc_dir}/LICENSE ${doc_dir}/CHANGELOG.md)

# The Debian changelog of this native package: every released version's entry of
# CHANGELOG.md, newest first, each dated from its release date.
file(READ ${WAVINSPECT_SOURCE_DIR}/CHANGELOG.md changelog)
# A semicolon would split CMake's lists: carried through as a placeholder.
string(REPLACE ";" "@SEMICOLON@" changelog "${changelog}")
include(${WAVINSPECT_SOURCE_DIR}/cmake/date-epoch.cmake)
set(package_epoch "$ENV{SOURCE_DATE_EPOCH}")
set(debian_changelog "")
set(rest "${changelog}")
while(rest MATCHES "\n## ([0-9.]+) - ([0-9]+-[0-9]+-[0-9]+)\n(.*)$")
    set(version ${CMAKE_MATCH_1})
    set(date ${CMAKE_MATCH_2})
    set(rest "\n${CMAKE_MATCH_3}")
    string(REGEX REPLACE "\n## .*" "" entry "${rest}")
    string(REGEX MATCHALL "\n- [^\n]*" items "${entry}")
    if(debian_changelog)
        string(APPEND debian_changelog "\n")
    endif()
    string(APPEND debian_changelog "wavinspect (${version}) unstable; urgency=medium\n\n")
    # Each item wrapped to fit 80 columns, continuation lines indented under the text.
    foreach(item IN LISTS items)
        string(REGEX REPLACE "^\n- " "" item "${item}")
        string(REPLACE " " ";" words "${item}")
        set(line "  *")
        foreach(word IN LISTS words)
            string(REPLACE "@SEMICOLON@" ";" shown "${line} ${word}")
            string(LENGTH "${shown}" length)
            if(length GREATER 78 AND NOT line STREQUAL "  *")
                string(APPEND debian_changelog "${line}\n")
                set(line "   ")
            endif()
            string(APPEND line " ${word}")
        endforeach()
        string(APPEND debian_changelog "${line}\n")
    endforeach()
    # string(TIMESTAMP) formats the time SOURCE_DATE_EPOCH gives: here, the release date.
    wavinspect_date_epoch(${date} release_epoch)
    set(ENV{SOURCE_DATE_EPOCH} ${release_epoch})
    string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)
    string(APPEND debian_changelog "\n -- ${CPACK_DEBIAN_PACKAGE_MAINTAINER}  ${changelog_date}\n")
endwhile()
set(ENV{SOURCE_DATE_EPOCH} "${package_epoch}")  # for the package's own time stamps
string(REPLACE "@SEMICOLON@" ";" debian_changelog "${debian_changelog}")
file(WRITE ${doc_dir}/changelog "${debian_changelog}")
gzip_file(${doc_dir}/changelog)

# Machine-readable copyright file, its licence text taken from LICENSE.
file(STRINGS ${WAVINSPECT_SOURCE_DIR}/LICENSE licence_lines)
list(FILTER licence_lines EXCLUDE REGEX "^MIT License$|^Copyright ")
list(GET licence_lines 0 first_line)
while(first_line STREQUAL "")
    list(REMOVE_AT licence_lines 0)
    list(GET licence_lines 0 first_line)
endwhile()
file(STRINGS ${WAVINSPECT_SOURCE_DIR}/LICENSE copyright_line REGEX "^Copyright " LIMIT_COUNT 1)
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
file(WRITE ${doc_dir}/copyright "${copyright}")

if(WAVINSPECT_STATIC)
    set(overrides ${prefix}/share/lintian/overrides)
    file(MAKE_DIRECTORY ${overrides})
    file(COPY_FILE ${WAVINSPECT_SOURCE_DIR}/packaging/lintian-overrides ${overrides}/wavinspect)
    file(CHMOD ${prefix}/share/lintian ${overrides} DIRECTORY_PERMISSIONS
        OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    file(CHMOD ${overrides}/wavinspect PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endif()
# Whatever the umask.
file(CHMOD ${doc_dir}/copyright ${doc_dir}/changelog.gz
    PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
