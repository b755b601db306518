# `cpack` in a build folder packs what `cmake --install` lays out, every
# component in one package: a Debian package on Linux (its dependencies read
# from the binaries by dpkg-shlibdeps), a zip on Windows. The version is the
# project's.
set(CPACK_PACKAGE_NAME xloopconfigureclient)
set(CPACK_PACKAGE_VENDOR "XLoopConfigureClient developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Shows the room, an in-application web area, in an embedded browser")
set(CPACK_PACKAGE_CONTACT "XLoopConfigureClient developers <xloop@localhost>")
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME XLoopConfigureClient-${PROJECT_VERSION}-windows-x64)
else()
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION libs)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
include(CPack)
