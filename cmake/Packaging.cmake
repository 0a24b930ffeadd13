# The Debian package: `cpack --preset release` (or `cpack` in any Linux build folder) writes
# quillmarch-color-converter_<version>_<arch>.deb with the program, desktop files and icons.

set(QCC_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/quillmarch-color-converter)
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/changelog.in
               ${PROJECT_BINARY_DIR}/debian/changelog @ONLY)
# Debian wants the changelog compressed at maximum without a timestamp in the header.
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/debian/changelog.gz
    COMMAND gzip -9nkf ${PROJECT_BINARY_DIR}/debian/changelog
    DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog
    VERBATIM)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/debian/quillmarch-color-converter.1.gz
    COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/resources/quillmarch-color-converter.1
            > ${PROJECT_BINARY_DIR}/debian/quillmarch-color-converter.1.gz
    DEPENDS ${PROJECT_SOURCE_DIR}/resources/quillmarch-color-converter.1)
add_custom_target(qcc_debian_docs ALL DEPENDS ${PROJECT_BINARY_DIR}/debian/changelog.gz
                                            ${PROJECT_BINARY_DIR}/debian/quillmarch-color-converter.1.gz)
install(FILES ${PROJECT_BINARY_DIR}/debian/quillmarch-color-converter.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${PROJECT_BINARY_DIR}/debian/changelog.gz
              ${PROJECT_SOURCE_DIR}/resources/debian/copyright
        DESTINATION ${QCC_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillmarch-color-converter)
set(CPACK_PACKAGE_VENDOR "Quillmarch Color Converter developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "colour picker that writes Quillmarch menu and HUD values")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Press Select Color, pick a colour in the desktop's colour chooser, and the\n"
    "window shows it in the two notations Quillmarch mod files use: the menu\n"
    "value, such as 0.502 0.251 0.753 1, and the HUD value, such as\n"
    "(0.502,0.251,0.753), each ready to copy.")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER
    "Quillmarch Color Converter developers <developers@quillmarch.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The window's font, Qt's desktop plugins and its translations are not found by the library scan.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-dejavu-extra, qt6-translations-l10n")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
include(CPack)
