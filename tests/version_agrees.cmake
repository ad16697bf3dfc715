# The copies of the version and of the release date that cannot be written at build time must
# agree with the one place each is written, so a release cannot ship with an old number or date:
#   the version the About picture shows, as embedded (outlined by scripts/outline-pictures from
#   its source), the newest release of the AppStream metadata and of the Debian changelog (less
#   its revision) say what project() says;
#   the newest changelog entry is dated as the metadata's newest release, and the manual pages
#   built in BINARY_DIR (when it holds them) carry that date too.
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
said(${SOURCE_DIR}/${changelog} "\n -- [^\n]*  [A-Z][a-z][a-z], ([0-9][0-9] [A-Z][a-z][a-z] [0-9][0-9][0-9][0-9]) " logged)
if(logged STREQUAL "nothing")
    set(logged_date "nothing")
else()
    string(REGEX MATCHALL "[^ ]+" parts "${logged}")
    list(GET parts 0 day)
    list(GET parts 1 month)
    list(GET parts 2 year)
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    list(FIND months ${month} index)
    math(EXPR number "${index} + 1" OUTPUT_FORMAT DECIMAL)
    string(LENGTH "${number}" digits)
    if(digits EQUAL 1)
        set(number "0${number}")
    endif()
    set(logged_date "${year}-${number}-${day}")
endif()
expect(${changelog} "the newest entry's date" "${logged_date}" "${date}" "${metainfo}")
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
