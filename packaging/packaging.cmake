# Install rules and the Debian package (make package). The two programs go to bin/; with the
# editor come its desktop entry, its icon and its AppStream metainfo, all named by one id.
include(GNUInstallDirs)

set(ADULTIFY_APP_ID io.github.adultify.Adultify)
set(ADULTIFY_HOME_PAGE https://adultify.example.org/)
# The version players see: major.minor.revision, as the about window shows it.
set(ADULTIFY_RELEASE
    ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_TWEAK})

install(TARGETS adultify-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(ADULTIFY_QT)
    # The PNG icons are drawn at build time by the code that draws the window icon, so the two
    # cannot differ; the SVG is the same face drawn by hand.
    adultify_library(adultify_face_icons SOURCES app/gui/face_icon_files.cpp
        PUBLIC adultify_ui_qt)
    add_executable(adultify-icons app/gui/icons_main.cpp)
    adultify_target(adultify-icons)
    target_link_libraries(adultify-icons PRIVATE adultify_face_icons)

    set(icon_sizes 16 32 48 64 128 256)
    set(icon_folder ${CMAKE_BINARY_DIR}/icons)
    set(icon_files)
    foreach(size IN LISTS icon_sizes)
        list(APPEND icon_files ${icon_folder}/${size}x${size}/apps/${ADULTIFY_APP_ID}.png)
    endforeach()
    list(JOIN icon_sizes ", " icon_sizes_text)
    add_custom_command(OUTPUT ${icon_files}
        COMMAND adultify-icons ${icon_folder} ${ADULTIFY_APP_ID} ${icon_sizes}
        DEPENDS adultify-icons
        COMMENT "Drawing the program's icon at ${icon_sizes_text} pixels" VERBATIM)
    add_custom_target(icons ALL DEPENDS ${icon_files})

    configure_file(${CMAKE_CURRENT_LIST_DIR}/app.desktop.in
        ${CMAKE_BINARY_DIR}/packaging/${ADULTIFY_APP_ID}.desktop @ONLY)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/app.metainfo.xml.in
        ${CMAKE_BINARY_DIR}/packaging/${ADULTIFY_APP_ID}.metainfo.xml @ONLY)

    install(TARGETS adultify RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES ${CMAKE_BINARY_DIR}/packaging/${ADULTIFY_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
    install(FILES ${CMAKE_BINARY_DIR}/packaging/${ADULTIFY_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
    install(FILES ${CMAKE_CURRENT_LIST_DIR}/app.svg
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps
        RENAME ${ADULTIFY_APP_ID}.svg)
    foreach(size IN LISTS icon_sizes)
        install(FILES ${icon_folder}/${size}x${size}/apps/${ADULTIFY_APP_ID}.png
            DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/${size}x${size}/apps)
    endforeach()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME adultify)
set(CPACK_PACKAGE_VERSION ${ADULTIFY_RELEASE})
set(CPACK_PACKAGE_VENDOR Adultify)
set(CPACK_PACKAGE_CONTACT "Adultify maintainers <maintainers@adultify.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the saved neighbourhoods of The Sims (2000)")
# Debian wants the long description in lines of under 80 characters.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Adultify edits the saved neighbourhoods of The Sims (2000) while the game"
    "is not running. Its main command turns a child resident into an adult;"
    "around it, it lists residents, shows one resident's data and pictures,"
    "edits the six skills and strips a character file's stored thumbnails."
    "It finds the game in Wine, Proton, Bottles, Lutris and Heroic prefixes."
    "Every save keeps a numbered backup of the neighbourhood, and every write"
    "a snapshot that can be restored."
    ""
    "The package holds the editor, adultify, and its command-line twin,"
    "adultify-cli, for scripts and terminals.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ADULTIFY_HOME_PAGE})
# dpkg-shlibdeps reads the programs' libraries and writes Depends.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The splash and about windows name DejaVu; without it Qt falls back to another font.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS fonts-dejavu-core)
set(CPACK_STRIP_FILES ON)
include(CPack)
