# Install rules. The two programs go to bin/; with the editor come its desktop entry, its icon
# and its AppStream metainfo, all named by one id.
include(GNUInstallDirs)

set(ADULTIFY_APP_ID io.github.adultify.Adultify)
set(ADULTIFY_HOME_PAGE https://adultify.example.org/)

install(TARGETS adultify-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

if(TARGET Qt6::Widgets)
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
