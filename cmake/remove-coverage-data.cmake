# Removes gcov's data files below DIR, so a coverage run counts only its own tests and
# no stale profile of an earlier build is merged into it.
file(GLOB_RECURSE data "${DIR}/*.gcda")
if(data)
    file(REMOVE ${data})
endif()
