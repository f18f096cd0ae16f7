# Desktop integration: the menu entry and the AppStream file validate cleanly,
# and an install into a scratch prefix puts every file where the desktop and
# the program look for it.
include(${PROJECT_SOURCE_DIR}/desktop/app_id.cmake)
set(tanabashigo_desktop_file ${PROJECT_SOURCE_DIR}/desktop/${TANABASHIGO_APP_ID}.desktop)
set(tanabashigo_metainfo_file ${PROJECT_SOURCE_DIR}/desktop/${TANABASHIGO_APP_ID}.metainfo.xml)

# A validator that is not installed makes its test fail with a hint, not vanish.
function(tanabashigo_add_validator_test name program package)
    find_program(TANABASHIGO_${package}_PROGRAM ${program})
    if(TANABASHIGO_${package}_PROGRAM)
        add_test(NAME ${name} COMMAND ${TANABASHIGO_${package}_PROGRAM} ${ARGN})
    else()
        add_test(NAME ${name} COMMAND sh -c
            "echo '${program} not found: install the Debian package ${package}' >&2; exit 1")
    endif()
endfunction()

# desktop-file-validate exits 0 on warnings and hints (a missing main category
# is only a hint), so any diagnostic at all fails the test.
tanabashigo_add_validator_test(desktop-file-validate desktop-file-validate desktop-file-utils
    ${tanabashigo_desktop_file})
set_tests_properties(desktop-file-validate PROPERTIES
    FAIL_REGULAR_EXPRESSION "(error|warning|hint): ")

# --strict fails on warnings and infos too; only pedantic notes (the upper-case
# letters of the reverse-DNS id) pass.
tanabashigo_add_validator_test(appstream-validate appstreamcli appstream
    validate --no-net --strict ${tanabashigo_metainfo_file})

add_test(NAME install-check
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/check_install.sh
        ${CMAKE_COMMAND} ${PROJECT_BINARY_DIR} ${CMAKE_CURRENT_BINARY_DIR}/install-check
        ${PROJECT_SOURCE_DIR} ${TANABASHIGO_APP_ID}
        ${CMAKE_INSTALL_BINDIR} ${CMAKE_INSTALL_DATADIR}
)
