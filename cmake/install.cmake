# Installation into a Debian-style tree and the .deb package built from it (cpack, or the
# "package" target).

include(GNUInstallDirs)
find_package(ZLIB REQUIRED)

# The desktop files take their texts from the executable's version block, so they say what the
# program's own About box says.
file(READ ${PROJECT_SOURCE_DIR}/src/ui/resources/version.h fv_version_block)
string(REGEX MATCH "kFileDescription = \"([^\"]*)\"" _ "${fv_version_block}")
set(FV_FILE_DESCRIPTION "${CMAKE_MATCH_1}")
string(REGEX MATCH "kFileVersionText = \"([^\"]*)\"" _ "${fv_version_block}")
string(REPLACE ", " "." fv_file_version "${CMAKE_MATCH_1}")
if(NOT FV_FILE_DESCRIPTION OR NOT fv_file_version STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "version.h says version '${fv_file_version}', description "
                        "'${FV_FILE_DESCRIPTION}'; the project is ${PROJECT_VERSION}")
endif()

set(FV_APP_ID org.filvanta.Filvanta)
set(FV_DESKTOP_ID Filvanta.desktop)
set(FV_ICON_NAME filvanta)
set(FV_EXECUTABLE Filvanta)
set(FV_RELEASE_DATE 2026-12-11)

set(fv_dist ${PROJECT_BINARY_DIR}/dist)
configure_file(${PROJECT_SOURCE_DIR}/dist/Filvanta.desktop.in ${fv_dist}/${FV_DESKTOP_ID} @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/dist/Filvanta.metainfo.xml.in
               ${fv_dist}/${FV_APP_ID}.metainfo.xml @ONLY)

# The theme icons are drawn at build time from the pixel rows the window uses.
add_executable(fv_icon_png tools/icon_png.cpp src/ui/resources/icon_data.cpp)
target_include_directories(fv_icon_png PRIVATE ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(fv_icon_png PRIVATE ZLIB::ZLIB)
set_target_properties(fv_icon_png PROPERTIES AUTOMOC OFF AUTOUIC OFF AUTORCC OFF)

set(fv_icons)
foreach(size 32 16)
    set(icon ${fv_dist}/icons/${size}x${size}/${FV_ICON_NAME}.png)
    add_custom_command(
        OUTPUT ${icon}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${fv_dist}/icons/${size}x${size}
        COMMAND fv_icon_png ${size} ${icon}
        DEPENDS fv_icon_png
        COMMENT "Drawing the ${size}x${size} icon"
        VERBATIM)
    list(APPEND fv_icons ${icon})
    install(FILES ${icon} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
add_custom_target(fv_icons ALL DEPENDS ${fv_icons})

install(TARGETS Filvanta RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${fv_dist}/${FV_DESKTOP_ID} DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${fv_dist}/${FV_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME filvanta)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Filvanta developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "batch file renamer with a Japanese interface")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Filvanta renames the files chosen in one folder to a fixed prefix, a\n"
    "zero-padded running number and each file's own extension. It never\n"
    "replaces an existing file.")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Filvanta developers <filvanta@example.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# dpkg-shlibdeps finds the libraries; what the program loads or shows without linking it is
# named here: the X11 platform plugin, Qt's Japanese texts for its own dialogs, the dialog font.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-ipafont-gothic")
include(CPack)
