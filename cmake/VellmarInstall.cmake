# What `cmake --install` puts where, and the Debian package cpack makes of it. The data
# files go to share/vellmar/DataFiles, which the programs find from bin/../share; the
# desktop entry, the icon and the street file type let a file manager open plans with
# the viewer.
include(GNUInstallDirs)

install(TARGETS vellmar vellmar-hub vellmar-render vellmar-info vellmar-export RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY "${PROJECT_SOURCE_DIR}/data/DataFiles" DESTINATION ${CMAKE_INSTALL_DATADIR}/vellmar)
install(FILES "${PROJECT_SOURCE_DIR}/packaging/vellmar.desktop" DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${PROJECT_SOURCE_DIR}/packaging/vellmar-street.xml" DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES "${PROJECT_SOURCE_DIR}/packaging/vellmar.svg"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The street files show the program's picture too.
install(FILES "${PROJECT_SOURCE_DIR}/packaging/vellmar.svg"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
        RENAME application-x-vellmar-street.svg)

set(CPACK_PACKAGE_NAME vellmar)
set(CPACK_PACKAGE_VENDOR "Vellmar")
set(CPACK_PACKAGE_CONTACT "Vellmar developers <vellmar@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Fast viewer for street plans (*.pln)")
set(CPACK_PACKAGE_DESCRIPTION "Opens road and street plans in tabs, keeps several viewers in step through a hub, and draws plans to pictures without a display.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# The libraries the programs link come from dpkg-shlibdeps; what they load at run time
# (the Mesa drivers for the offscreen frame, the fonts the plans name) is listed by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libegl-mesa0, libgl1-mesa-dri, fonts-liberation2, fonts-dejavu-core, fonts-dejavu-extra")
set(CPACK_GENERATOR DEB)
include(CPack)
