# The installed layout and the Debian package.
#
# <prefix>/lib/rizorivu/   the executable with its configuration and language files, which it
#                          finds beside its own path
# <prefix>/bin/rizorivu    a link to it, for the shell and the desktop entries
# the menu entry, the session autostart entry (in /etc/xdg/autostart), the status icons as a
# hicolor theme, the AppStream metadata, the manual page and the package's documents.
include(GNUInstallDirs)

set(RIZORIVU_PRIVATE_DIR ${CMAKE_INSTALL_LIBDIR}/rizorivu)
# Debian keeps private executables in lib/, not in the multiarch folder.
if(CMAKE_INSTALL_LIBDIR MATCHES "^lib/")
    set(RIZORIVU_PRIVATE_DIR lib/rizorivu)
endif()
set(RIZORIVU_DESKTOP_DIR ${CMAKE_SOURCE_DIR}/desktop)
set(RIZORIVU_GENERATED_DIR ${CMAKE_BINARY_DIR}/desktop)

install(TARGETS rizorivu RUNTIME DESTINATION ${RIZORIVU_PRIVATE_DIR})
install(FILES ${RIZORIVU_PRODUCT_DIR}/rizorivu.INI ${RIZORIVU_PRODUCT_DIR}/QVMLu.INI
              ${RIZORIVU_PRODUCT_DIR}/QVMLa.INI
        DESTINATION ${RIZORIVU_PRIVATE_DIR})
file(RELATIVE_PATH launcher_target /${CMAKE_INSTALL_BINDIR} /${RIZORIVU_PRIVATE_DIR}/rizorivu)
file(MAKE_DIRECTORY ${RIZORIVU_GENERATED_DIR})
file(CREATE_LINK ${launcher_target} ${RIZORIVU_GENERATED_DIR}/rizorivu SYMBOLIC)
install(FILES ${RIZORIVU_GENERATED_DIR}/rizorivu DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${RIZORIVU_DESKTOP_DIR}/rizorivu.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The autostart entry belongs to the system's configuration, which sessions read from
# /etc/xdg whatever the prefix; an installation into a private prefix may put it elsewhere.
set(RIZORIVU_AUTOSTART_DIR /etc/xdg/autostart CACHE PATH "Where the session autostart entry goes")
install(FILES ${RIZORIVU_DESKTOP_DIR}/rizorivu-autostart.desktop
        DESTINATION ${RIZORIVU_AUTOSTART_DIR} RENAME rizorivu.desktop)
install(FILES ${CMAKE_SOURCE_DIR}/qt/icons/status0.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps RENAME rizorivu.svg)
foreach(index RANGE 0 4)
    install(FILES ${CMAKE_SOURCE_DIR}/qt/icons/status${index}.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/status
            RENAME rizorivu-status${index}.svg)
endforeach()

configure_file(${RIZORIVU_DESKTOP_DIR}/org.example.rizorivu.metainfo.xml
               ${RIZORIVU_GENERATED_DIR}/org.example.rizorivu.metainfo.xml @ONLY)
install(FILES ${RIZORIVU_GENERATED_DIR}/org.example.rizorivu.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual page and changelog go compressed, without a time stamp, so the package is
# reproducible.
find_program(RIZORIVU_GZIP gzip REQUIRED)
configure_file(${RIZORIVU_DESKTOP_DIR}/rizorivu.1 ${RIZORIVU_GENERATED_DIR}/rizorivu.1 @ONLY)
configure_file(${RIZORIVU_DESKTOP_DIR}/changelog ${RIZORIVU_GENERATED_DIR}/changelog @ONLY)
add_custom_command(
    OUTPUT ${RIZORIVU_GENERATED_DIR}/rizorivu.1.gz ${RIZORIVU_GENERATED_DIR}/changelog.gz
    COMMAND ${RIZORIVU_GZIP} -9nkf ${RIZORIVU_GENERATED_DIR}/rizorivu.1
    COMMAND ${RIZORIVU_GZIP} -9nkf ${RIZORIVU_GENERATED_DIR}/changelog
    DEPENDS ${RIZORIVU_GENERATED_DIR}/rizorivu.1 ${RIZORIVU_GENERATED_DIR}/changelog
    VERBATIM)
add_custom_target(rizorivu_documents ALL
    DEPENDS ${RIZORIVU_GENERATED_DIR}/rizorivu.1.gz ${RIZORIVU_GENERATED_DIR}/changelog.gz)
install(FILES ${RIZORIVU_GENERATED_DIR}/rizorivu.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${RIZORIVU_DESKTOP_DIR}/copyright ${RIZORIVU_GENERATED_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/rizorivu)

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME rizorivu)
set(CPACK_PACKAGE_VENDOR "RIZorivu developers")
set(CPACK_PACKAGE_CONTACT "RIZorivu developers <rizorivu@example.org>")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration utility of the Nimbo K-540 wireless adapter")
set(CPACK_PACKAGE_DESCRIPTION
    "RIZorivu lives in the notification area and shows whether the adapter is\n"
    "connected. Its window shows the current link, scans for networks and joins\n"
    "them, switches the adapter between station and access point, and keeps its\n"
    "settings. It works on a simulated adapter without the hardware.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION net)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/rizorivu")
# The shared libraries (Qt 6, SQLite, OpenSSL, xcb) are found from the executable itself; the
# X11 platform plugin is loaded at run time, so it is named here, and Wayland is recommended.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libqt6svg6")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
# The autostart entry lives in /etc: the administrator's edits survive an upgrade.
file(WRITE ${RIZORIVU_GENERATED_DIR}/control/conffiles
     "${RIZORIVU_AUTOSTART_DIR}/rizorivu.desktop\n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${RIZORIVU_GENERATED_DIR}/control/conffiles)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
