# The packages people install: on Linux a Debian package through CPack (cpack in the build
# folder), on Windows an MSI made with wixl on Debian (the msi target). Both name the same
# version and publisher.
set(QUENBROOK_PUBLISHER "The Quenbrook developers")
set(here ${CMAKE_CURRENT_LIST_DIR})

if(WIN32)
  # wixl is asked for only when the installer is built, so the program and its tests build
  # without it. windows/msi.cmake runs it beside the program and its icon, and derives the
  # MSI's own version from the project's.
  set(msi ${CMAKE_BINARY_DIR}/Quenbrook-${PROJECT_VERSION}.msi)
  set(icon ${PROJECT_SOURCE_DIR}/resources/ico/clipboard.ico)
  add_custom_command(
    OUTPUT ${msi}
    COMMAND ${CMAKE_COMMAND} -E copy ${icon} $<TARGET_FILE_DIR:quenbrook>/Quenbrook.ico
    COMMAND ${CMAKE_COMMAND} -DVersion=${PROJECT_VERSION} "-DPublisher=${QUENBROOK_PUBLISHER}"
            -DExe=$<TARGET_FILE_NAME:quenbrook> -DIcon=Quenbrook.ico -DOutput=${msi}
            -P ${here}/windows/msi.cmake
    WORKING_DIRECTORY $<TARGET_FILE_DIR:quenbrook>
    DEPENDS quenbrook ${here}/windows/Quenbrook.wxs ${here}/windows/msi.cmake ${icon}
    VERBATIM)
  add_custom_target(msi DEPENDS ${msi})
  return()
endif()

include(GNUInstallDirs)
install(TARGETS quenbrook RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${here}/linux/org.quenbrook.Quenbrook.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${here}/linux/org.quenbrook.Quenbrook.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/resources/clipboard.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME quenbrook.svg)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/hicolor/
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

# Debian wants the manual page and the changelog compressed, without a time stamp.
set(docs ${CMAKE_BINARY_DIR}/packaging)
foreach(source quenbrook.1 changelog)
  add_custom_command(
    OUTPUT ${docs}/${source}.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${docs}
    COMMAND gzip -9n -c ${here}/linux/${source} > ${docs}/${source}.gz
    DEPENDS ${here}/linux/${source})
endforeach()
add_custom_target(package_docs ALL DEPENDS ${docs}/quenbrook.1.gz ${docs}/changelog.gz)
install(FILES ${docs}/quenbrook.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${docs}/changelog.gz ${here}/linux/copyright
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quenbrook)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quenbrook)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR ${QUENBROOK_PUBLISHER})
set(CPACK_PACKAGE_CONTACT "${QUENBROOK_PUBLISHER} <quenbrook@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "wizard that sets up the folder of a new project")
set(CPACK_PACKAGE_DESCRIPTION
    "Quenbrook makes a project folder with its Images, Package and Help Project\n"
    "subfolders, then a symbolic link to it under a name and in a folder of the\n"
    "user's choice. Nothing is overwritten, and every failure is shown in a message\n"
    "box so the user can try again.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt's Wayland plugin, so the wizard runs as a Wayland client where there is one (it falls back
# to XWayland without it), and Qt's own texts (the boxes' buttons) in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland, qt6-translations-l10n")
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
