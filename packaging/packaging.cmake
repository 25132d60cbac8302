# The Debian package: `cmake --build build --target package` writes veltrix_<version>_<arch>.deb
# with the installed layout of the install target under /usr.
#
# Binary dependencies come from dpkg-shlibdeps; what the viewer only loads at run time is named
# here: libVLC and its plugins (dlopen), the fonts the widgets ask for by name, the CJK fonts the
# Chinese, Japanese and Korean texts fall back to (recommended: the viewer works without them).
include(GNUInstallDirs)

set(VELTRIX_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/veltrix)

# Debian's documentation files: the copyright notice (ours and Leaflet's) and a compressed
# changelog without a time stamp in its gzip header, so the package is the same on every build.
# Made when the project is configured (again whenever the changelog changes), so installing
# and packaging need no build step of their own.
set(veltrix_changelog_gz ${CMAKE_CURRENT_BINARY_DIR}/packaging/changelog.gz)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/changelog)
file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/packaging)
execute_process(COMMAND gzip -9nc ${CMAKE_CURRENT_LIST_DIR}/changelog
  OUTPUT_FILE ${veltrix_changelog_gz} RESULT_VARIABLE gzip_result)
if(NOT gzip_result EQUAL 0)
  message(FATAL_ERROR "gzip could not compress ${CMAKE_CURRENT_LIST_DIR}/changelog")
endif()
install(FILES ${veltrix_changelog_gz} ${CMAKE_CURRENT_LIST_DIR}/copyright DESTINATION ${VELTRIX_DOC_DIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME veltrix)
set(CPACK_PACKAGE_VENDOR Halvorn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Halvorn Veltrix maintainers <maintainers@users.noreply.c-seed-66e285f4.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "viewer for the recordings of car dash cameras")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_IGNORE_FILES "/build/;/node_modules/;/\\\\.git/")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/halvorn/veltrix)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "libvlc5, vlc-plugin-base, vlc-plugin-video-output, fonts-dejavu-core, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS OFF)
# The long description; CPack puts the summary in front and indents it as Debian's control file
# wants (an empty line becomes " .").
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Veltrix plays the front and rear recordings of a car dash camera side by
side and shows the telemetry the camera stores inside the video files: the
route on a web map (OpenStreetMap, Google Maps or a China map) with the car
following the playback, a G-sensor curve and G-force gauge, speed, compass
and the vehicle bus values.

It reads MP4/MOV (five telemetry layouts), AVI and MPEG-TS recordings,
pairs front and rear files by name and groups them by time. The map keeps
the tiles it has shown in a bounded disk cache, so a route seen once shows
again without network. The companion veltrix-probe prints what the readers
find as JSON, GPX or KML.")

include(CPack)
