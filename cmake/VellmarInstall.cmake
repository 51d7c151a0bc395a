# What `cmake --install` puts where, and the Debian package cpack makes of it. The data
# files go to share/vellmar/DataFiles, which the programs find from bin/../share; the
# desktop entry, the icon and the street file type let a file manager open plans with
# the viewer; every program has a manual page made from its own --help.
include(GNUInstallDirs)

set(VELLMAR_PROGRAMS vellmar vellmar-hub vellmar-render vellmar-info vellmar-export vellmar-underlay)
install(TARGETS ${VELLMAR_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY "${PROJECT_SOURCE_DIR}/data/DataFiles" DESTINATION ${CMAKE_INSTALL_DATADIR}/vellmar)
install(FILES "${PROJECT_SOURCE_DIR}/packaging/vellmar.desktop" DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${PROJECT_SOURCE_DIR}/packaging/vellmar-street.xml" DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES "${PROJECT_SOURCE_DIR}/packaging/vellmar.svg"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The street files show the program's picture too.
install(FILES "${PROJECT_SOURCE_DIR}/packaging/vellmar.svg"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/mimetypes
        RENAME application-x-vellmar-street.svg)

# Manual pages, one per program, from its --help and --version (cmake/ManPage.cmake).
set(vellmar_summary_vellmar "view street plans (*.pln) in tabs of one window")
set(vellmar_summary_vellmar-hub "keep street viewers showing the same place")
set(vellmar_summary_vellmar-render "draw a street as a picture or print it to PDF, without a display")
set(vellmar_summary_vellmar-info "tell what a street file holds")
set(vellmar_summary_vellmar-export "write a street as DXF, GeoPackage or GeoJSON")
set(vellmar_summary_vellmar-underlay "make, describe and unpack underlay tile files")
set(vellmar_man_pages "")
foreach(program ${VELLMAR_PROGRAMS})
  set(others ${VELLMAR_PROGRAMS})
  list(REMOVE_ITEM others ${program})
  list(JOIN others "," others)
  set(page "${PROJECT_BINARY_DIR}/man/${program}.1.gz")
  add_custom_command(OUTPUT "${page}"
    COMMAND "${CMAKE_COMMAND}" -DPROGRAM=$<TARGET_FILE:${program}> -DNAME=${program}
            "-DSUMMARY=${vellmar_summary_${program}}" "-DSEE_ALSO=${others}" "-DOUTPUT=${page}"
            -P "${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake"
    DEPENDS ${program} "${PROJECT_SOURCE_DIR}/cmake/ManPage.cmake"
    COMMENT "Manual page of ${program}" VERBATIM)
  list(APPEND vellmar_man_pages "${page}")
endforeach()
add_custom_target(vellmar_man_pages ALL DEPENDS ${vellmar_man_pages})
install(FILES ${vellmar_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# What Debian asks of every package's documentation: the terms, and the history
# compressed without a timestamp (a native package's changelog.gz).
install(FILES "${PROJECT_SOURCE_DIR}/packaging/copyright" DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vellmar)
set(vellmar_changelog "${PROJECT_BINARY_DIR}/packaging/changelog.gz")
add_custom_command(OUTPUT "${vellmar_changelog}"
  COMMAND "${CMAKE_COMMAND}" -E make_directory "${PROJECT_BINARY_DIR}/packaging"
  COMMAND gzip -9nc "${PROJECT_SOURCE_DIR}/packaging/changelog" > "${vellmar_changelog}"
  DEPENDS "${PROJECT_SOURCE_DIR}/packaging/changelog" VERBATIM)
add_custom_target(vellmar_changelog ALL DEPENDS "${vellmar_changelog}")
install(FILES "${vellmar_changelog}" DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vellmar)

set(CPACK_PACKAGE_NAME vellmar)
set(CPACK_PACKAGE_VENDOR "Vellmar")
# A placeholder on a domain kept for examples: the package's real maintainers put theirs.
set(CPACK_PACKAGE_CONTACT "Vellmar maintainers <vellmar@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "fast viewer for street plans (*.pln)")
set(CPACK_PACKAGE_DESCRIPTION
    "Opens road and street plans in tabs, keeps several viewers in step\n"
    "through a hub, draws plans to pictures and true-scale PDF without a\n"
    "display, writes them for CAD and GIS, and imports aerial photographs\n"
    "as underlays.")
list(JOIN CPACK_PACKAGE_DESCRIPTION "" CPACK_PACKAGE_DESCRIPTION)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# Debug symbols stay in the build tree; the package holds stripped programs.
set(CPACK_STRIP_FILES ON)
# The libraries the programs link come from dpkg-shlibdeps; what they load at run time
# (the Mesa drivers for the offscreen frame, the fonts the plans name) is listed by hand.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libegl-mesa0, libgl1-mesa-dri, fonts-liberation2, fonts-dejavu-core, fonts-dejavu-extra")
set(CPACK_GENERATOR DEB)
include(CPack)
