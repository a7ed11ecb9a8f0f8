# Sets variable to the seconds from 1970 to midnight (UTC) of date (YYYY-MM-DD), by
# the civil-calendar rule: days counted in years that start in March.
function(wavinspect_date_epoch date variable)
    string(REGEX MATCH "^([0-9]+)-0*([0-9]+)-0*([0-9]+)$" matched "${date}")
    if(NOT matched)
        message(FATAL_ERROR "not a date as YYYY-MM-DD: ${date}")
    endif()
    math(EXPR march_based "(${CMAKE_MATCH_2} + 9) % 12")  # March is 0
    math(EXPR year "${CMAKE_MATCH_1} - ${march_based} / 10")
    math(EXPR days "365 * ${year} + ${year} / 4 - ${year} / 100 + ${year} / 400
        + (153 * ${march_based} + 2) / 5 + ${CMAKE_MATCH_3} - 1 - 719468")
    math(EXPR seconds "${days} * 86400")
    set(${variable} ${seconds} PARENT_SCOPE)
endfunction()
