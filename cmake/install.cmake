# Where an installed Quorvane lives, and the Debian package made of it (scripts/package.sh).
#
#   lib/quorvane/            the program folder: the program, x/o.cjs, HAND-M.CUR (the program
#                            looks for its skin and hand pointer beside itself), and the helper
#                            that opens a workbook in LibreOffice as a new, modified document
#   bin/quorvane             a relative link to it; the program finds its folder through the link
#   share/applications/, share/metainfo/, share/icons/hicolor/   the desktop's entry, the
#                            software centre's description, the icon at every size
#   share/man/man1/, share/doc/quorvane/                        manual page, copyright, changelog
include(GNUInstallDirs)

set(QUORVANE_APP_ID example.quorvane.Quorvane)
set(QUORVANE_PROGRAM_FOLDER lib/quorvane)

install(TARGETS quorvane RUNTIME DESTINATION ${QUORVANE_PROGRAM_FOLDER})
install(PROGRAMS ${HOST_HELPER_PROGRAMS} DESTINATION ${QUORVANE_PROGRAM_FOLDER})
foreach(rel IN LISTS PROGRAM_FOLDER_FILES)
    get_filename_component(rel_dir "${rel}" DIRECTORY)
    install(FILES "resources/program_folder/${rel}"
            DESTINATION "${QUORVANE_PROGRAM_FOLDER}/${rel_dir}")
endforeach()

file(MAKE_DIRECTORY "${PROJECT_BINARY_DIR}/install")
file(CREATE_LINK "../${QUORVANE_PROGRAM_FOLDER}/quorvane" "${PROJECT_BINARY_DIR}/install/quorvane"
     SYMBOLIC)
install(FILES "${PROJECT_BINARY_DIR}/install/quorvane" DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES "resources/desktop/${QUORVANE_APP_ID}.desktop"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "resources/desktop/${QUORVANE_APP_ID}.metainfo.xml"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 22 24 32 48 64 128 256)
    install(FILES "resources/icons/quorvane-${size}.png"
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME ${QUORVANE_APP_ID}.png)
endforeach()
install(FILES "resources/icons/quorvane.svg"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${QUORVANE_APP_ID}.svg)

# Debian wants the manual page and the changelog compressed, reproducibly (no name, no time).
set(compressed)
foreach(pair "resources/desktop/quorvane.1|quorvane.1.gz" "resources/debian/changelog|changelog.gz")
    string(REPLACE "|" ";" pair "${pair}")
    list(GET pair 0 source)
    list(GET pair 1 target)
    add_custom_command(OUTPUT "${PROJECT_BINARY_DIR}/install/${target}"
                       COMMAND gzip -9n -c "${PROJECT_SOURCE_DIR}/${source}" >
                               "${PROJECT_BINARY_DIR}/install/${target}"
                       DEPENDS "${PROJECT_SOURCE_DIR}/${source}" VERBATIM)
    list(APPEND compressed "${PROJECT_BINARY_DIR}/install/${target}")
endforeach()
add_custom_target(quorvane_compressed_docs ALL DEPENDS ${compressed})
install(FILES "${PROJECT_BINARY_DIR}/install/quorvane.1.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES "${PROJECT_BINARY_DIR}/install/changelog.gz" "resources/debian/copyright"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quorvane)

# The package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "The Quorvane developers <support@quorvane.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cut long lines of text into pieces at a delimiter")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://quorvane.example/")
set(CPACK_PACKAGE_DESCRIPTION
    "Quorvane cuts one long line of text, such as comma-separated e-mail addresses,
into its pieces: every piece becomes a row that can be removed, saved as a text
file or copied to the clipboard. A second window splits many long lines at
once, typed in or loaded from text files, and can hand its results to the
spreadsheet program as a new workbook.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What the program needs at run time that no library it links names: Qt's platform plugins, a
# font with Arial's metrics (the windows are laid out for it), the desktop's URL opener, and
# Python for the LibreOffice helper, which needs python3-uno to mark the new workbook modified
# (without it, LibreOffice still shows the workbook, only one that closes without asking).
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2, xdg-utils, python3")
# Without it control characters still show, as empty boxes rather than their pictures.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-symbola")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libreoffice-calc | gnumeric, python3-uno")
# Only the program is packaged, never the tests or benchmarks built beside it.
set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};ALL;/")
set(CPACK_OUTPUT_FILE_PREFIX "${PROJECT_BINARY_DIR}")
include(CPack)
