# The copies of the version and of the release date that the build cannot write must agree
# with the one place each is kept: the embedded About picture, the metadata's newest release and
# the changelog's newest entry say project()'s version; that entry and the manual pages built in
# BINARY_DIR (when there) carry the metadata's release date.
# Usage: cmake -DVERSION=X.Y.Z -DSOURCE_DIR=... [-DBINARY_DIR=...] -P version_agrees.cmake
set(mismatches "")

# said(FILE REGEX VAR): VAR is what the first match of REGEX in FILE captures, or "nothing".
function(said file regex var)
    file(READ ${file} text)
    if("${text}" MATCHES "${regex}")
        set(${var} "${CMAKE_MATCH_1}" PARENT_SCOPE)
    else()
        set(${var} "nothing" PARENT_SCOPE)
    endif()
endfunction()

# expect(FILE WHAT GOT WANT OWNER): a mismatch names the file, what it says and who says otherwise.
function(expect file what got want owner)
    if(NOT got STREQUAL want)
        set(mismatches "${mismatches}\n  ${file}: ${what} is ${got}, ${owner} says ${want}" PARENT_SCOPE)
    endif()
endfunction()

set(about ui/images/form1_about.svg)
set(metainfo packaging/example.quenlio.Quenlio.metainfo.xml.in)
set(changelog packaging/changelog)
said(${SOURCE_DIR}/${about} "aria-label=\"版本 ([^\"]*)\"" shown)
said(${SOURCE_DIR}/${metainfo} "<release version=\"([^\"]*)\"" released)
said(${SOURCE_DIR}/${changelog} "^quenlio \\(([^)]*)-[^-)]+\\)" logged)
expect(${about} "the version the About picture shows" "${shown}" "${VERSION}" "project()")
expect(${metainfo} "the newest release" "${released}" "${VERSION}" "project()")
expect(${changelog} "the newest entry" "${logged}" "${VERSION}" "project()")

# The date: the metadata's YYYY-MM-DD against the changelog's "Day, DD Mon YYYY".
said(${SOURCE_DIR}/${metainfo} "<release [^>]*date=\"([^\"]*)\"" date)
said(${SOURCE_DIR}/${changelog} "\n -- [^\n]*  [A-Z][a-z][a-z], ([0-9][0-9] [A-Z][a-z][a-z] [0-9]+) " logged)
if(logged MATCHES "^(..) (...) (....)$")
    string(FIND "JanFebMarAprMayJunJulAugSepOctNovDec" "${CMAKE_MATCH_2}" month)
    math(EXPR month "${month} / 3 + 101")
    string(SUBSTRING ${month} 1 2 month)
    set(logged "${CMAKE_MATCH_3}-${month}-${CMAKE_MATCH_1}")
endif()
expect(${changelog} "the newest entry's date" "${logged}" "${date}" "${metainfo}")
foreach(manual quenlio quenlio-decode)
    set(page ${BINARY_DIR}/packaging/man/${manual}.1)
    if(BINARY_DIR AND EXISTS ${page})
        said(${page} "^\\.TH [^\"]*\"([^\"]*)\"" dated)
        expect(${page} "the date" "${dated}" "${date}" "${metainfo}")
    endif()
endforeach()

if(mismatches)
    message(FATAL_ERROR "the version or the release date is written differently:${mismatches}")
endif()
message(STATUS "every copy of the version says ${VERSION}, of the release date ${date}")
