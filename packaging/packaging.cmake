# Install rules and the Debian package (make package). The two programs go to bin/; with the
# editor come its desktop entry, its icon and its AppStream metainfo, all named by one id.
include(GNUInstallDirs)

set(ADULTIFY_APP_ID io.github.adultify.Adultify)
# The version players see: major.minor.revision, as the about window shows it.
set(ADULTIFY_RELEASE
    ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_TWEAK})

# The release's own record is its entry in packaging/changelog: its date goes into the AppStream
# metainfo (so two builds of one version agree) and its signature names the package's maintainer.
function(adultify_release_record changelog release)
    file(STRINGS ${changelog} lines)
    set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
    set(version "")
    foreach(line IN LISTS lines)
        if(line MATCHES "^adultify \\(([^)]*)\\)")
            set(version ${CMAKE_MATCH_1})
        elseif(version STREQUAL release AND
               line MATCHES "^ -- (.+>)  [A-Z][a-z][a-z], ([0-9]+) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
            set(maintainer "${CMAKE_MATCH_1}")
            set(day ${CMAKE_MATCH_2})
            set(year ${CMAKE_MATCH_4})
            list(FIND months ${CMAKE_MATCH_3} month)
            math(EXPR month "${month} + 1")
            if(month LESS 10)
                set(month 0${month})
            endif()
            if(day LESS 10)
                math(EXPR day "${day} + 0")
                set(day 0${day})
            endif()
            set(ADULTIFY_RELEASE_DATE ${year}-${month}-${day} PARENT_SCOPE)
            set(ADULTIFY_MAINTAINER "${maintainer}" PARENT_SCOPE)
            return()
        endif()
    endforeach()
    message(FATAL_ERROR "${changelog} has no entry for version ${release}: add one")
endfunction()
adultify_release_record(${CMAKE_CURRENT_LIST_DIR}/changelog ${ADULTIFY_RELEASE})
if(ADULTIFY_HOME_PAGE)
    set(ADULTIFY_HOME_PAGE_URL "<url type=\"homepage\">${ADULTIFY_HOME_PAGE}</url>")
endif()

# Debian's places for the documents: the copyright file as it is, the changelog and the
# manual pages compressed without a time stamp, so that two builds give the same bytes.
set(doc_folder ${CMAKE_INSTALL_DATAROOTDIR}/doc/adultify)
set(packaged_docs)
foreach(page adultify adultify-cli)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/man/${page}.1 ${CMAKE_BINARY_DIR}/packaging/${page}.1
        @ONLY)
    list(APPEND packaged_docs ${CMAKE_BINARY_DIR}/packaging/${page}.1.gz)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/${page}.1.gz
        COMMAND gzip -9nc ${page}.1 > ${page}.1.gz
        DEPENDS ${CMAKE_BINARY_DIR}/packaging/${page}.1
        WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/packaging VERBATIM)
    install(FILES ${CMAKE_BINARY_DIR}/packaging/${page}.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
    COMMAND gzip -9nc ${CMAKE_CURRENT_LIST_DIR}/changelog > ${CMAKE_BINARY_DIR}/packaging/changelog.gz
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog VERBATIM)
list(APPEND packaged_docs ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_target(packaged_docs ALL DEPENDS ${packaged_docs})
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz ${CMAKE_CURRENT_LIST_DIR}/copyright
    DESTINATION ${doc_folder})

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
set(CPACK_PACKAGE_CONTACT "${ADULTIFY_MAINTAINER}")
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
# An editor of saved games, not a game: Debian keeps section games for programs in /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
if(ADULTIFY_HOME_PAGE)
    set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ADULTIFY_HOME_PAGE})
endif()
# dpkg-shlibdeps reads the programs' libraries and writes Depends.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The splash and about windows name DejaVu; without it Qt falls back to another font. On a
# Wayland desktop without Qt's Wayland plugin the editor runs through XWayland, or not at all.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, qt6-wayland")
set(CPACK_STRIP_FILES ON)
include(CPack)
