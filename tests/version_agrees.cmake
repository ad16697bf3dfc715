# The copies of the version that cannot be written from project() at build time must say what
# project() says, so a new version cannot ship with an old number in them:
#   the About picture's source (its outlined copy is drawn from it by scripts/outline-pictures),
#   the newest release of the AppStream metadata and of the Debian changelog (less its revision).
# Usage: cmake -DVERSION=X.Y.Z -DSOURCE_DIR=... -P version_agrees.cmake
set(mismatches "")

# check(FILE REGEX WHAT): the first match of REGEX in FILE captures the version it gives.
function(check file regex what)
    file(READ ${SOURCE_DIR}/${file} text)
    string(REGEX MATCH "${regex}" found "${text}")
    if(NOT found)
        set(said "nothing")
    else()
        set(said "${CMAKE_MATCH_1}")
    endif()
    if(NOT said STREQUAL VERSION)
        set(mismatches "${mismatches}\n  ${file}: ${what} is ${said}, project() says ${VERSION}" PARENT_SCOPE)
    endif()
endfunction()

check(ui/images/source/form1_about.svg ">版本 ([^<]*)</text>" "the version the About picture shows")
check(packaging/example.quenlio.Quenlio.metainfo.xml "<release version=\"([^\"]*)\"" "the newest release")
check(packaging/changelog "^quenlio \\(([^)]*)-[^-)]+\\)" "the newest changelog entry")

if(mismatches)
    message(FATAL_ERROR "the version is written differently:${mismatches}")
endif()
message(STATUS "every copy of the version says ${VERSION}")
