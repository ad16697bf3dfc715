# The icon, application manifest and Chinese version resource of the Windows programs.
enable_language(RC)

# The icon is drawn from the same SVG as the window icon, at the sizes Explorer asks for.
find_program(QUENLIO_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(QUENLIO_ICOTOOL icotool REQUIRED)
set(QUENLIO_ICON_SVG ${PROJECT_SOURCE_DIR}/ui/images/quenlio.svg)
set(QUENLIO_ICON ${PROJECT_BINARY_DIR}/windows/quenlio.ico)
set(QUENLIO_ICON_COMMANDS)
set(QUENLIO_ICON_PNGS)
foreach(size 16 24 32 48 64 128 256)
    set(png ${PROJECT_BINARY_DIR}/windows/quenlio-${size}.png)
    list(APPEND QUENLIO_ICON_COMMANDS
         COMMAND ${QUENLIO_RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${QUENLIO_ICON_SVG})
    list(APPEND QUENLIO_ICON_PNGS ${png})
endforeach()
add_custom_command(OUTPUT ${QUENLIO_ICON}
    ${QUENLIO_ICON_COMMANDS}
    COMMAND ${QUENLIO_ICOTOOL} -c -o ${QUENLIO_ICON} ${QUENLIO_ICON_PNGS}
    DEPENDS ${QUENLIO_ICON_SVG}
    COMMENT "Drawing quenlio.ico from quenlio.svg")
add_custom_target(quenlio_icon DEPENDS ${QUENLIO_ICON})

string(REPLACE "." "," QUENLIO_VERSION_COMMAS "${PROJECT_VERSION}.0")
set(QUENLIO_VERSION_QUAD "${PROJECT_VERSION}.0")
configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/quenlio.manifest
               ${PROJECT_BINARY_DIR}/windows/quenlio.manifest @ONLY)

# quenlio_add_windows_resources(TARGET DESCRIPTION): the icon, the manifest and a version
# resource whose file description is DESCRIPTION.
function(quenlio_add_windows_resources target description)
    set(QUENLIO_RC_NAME ${target})
    set(QUENLIO_RC_DESCRIPTION ${description})
    set(QUENLIO_RC_ICON ${QUENLIO_ICON})
    set(QUENLIO_RC_MANIFEST ${PROJECT_BINARY_DIR}/windows/quenlio.manifest)
    set(rc ${PROJECT_BINARY_DIR}/windows/${target}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/program.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
    set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS "${QUENLIO_ICON};${QUENLIO_RC_MANIFEST}")
    add_dependencies(${target} quenlio_icon)
endfunction()
