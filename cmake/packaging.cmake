# `cpack` in a build folder packs what `cmake --install` lays out, the version
# the project's. Windows: one zip of every component. Linux: one Debian package
# per install component, so that a host installs only the browser library it
# uses (a GTK host never pulls Qt WebEngine, nor a Qt host WebKitGTK), each
# with the dependencies dpkg-shlibdeps reads from its own binaries:
#   xloopconfigureclient                     the module (component module)
#   xloopconfigureclient-veqpod-webkitgtk    the WebKitGTK browser library
#   xloopconfigureclient-veqpod-qtwebengine  the Qt WebEngine browser library
#   xloopconfigureclient-tools               xloop-config
# Included after every folder that installs something: CPack lists the
# components when it is included.
set(CPACK_PACKAGE_NAME xloopconfigureclient)
set(CPACK_PACKAGE_VENDOR "XLoopConfigureClient developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Shows the room, an in-application web area, in an embedded browser")
set(CPACK_PACKAGE_CONTACT "XLoopConfigureClient developers <xloop@localhost>")
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME XLoopConfigureClient-${PROJECT_VERSION}-windows-x64)
  include(CPack)
  return()
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Every other package needs the module's package of the same version: the
# libraries' CMake targets and headers extend the module's.
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_MODULE_PACKAGE_NAME xloopconfigureclient)
set(CPACK_DEBIAN_TOOLS_PACKAGE_SECTION utils)
set(CPACK_COMPONENTS_ALL module tools)
# The browser libraries this build has, each in a package of its own.
set(browser_packages "")
foreach(library IN ITEMS "VEQPodWebKit;veqpod-webkitgtk;WebKitGTK" "VEQPodQtWebEngine;veqpod-qtwebengine;Qt WebEngine")
  list(GET library 0 target)
  list(GET library 1 component)
  list(GET library 2 engine)
  if(TARGET ${target})
    string(TOUPPER ${component} upper)
    list(APPEND CPACK_COMPONENTS_ALL ${component})
    list(APPEND browser_packages "${CPACK_PACKAGE_NAME}-${component} (= ${PROJECT_VERSION})")
    set(CPACK_COMPONENT_${upper}_DESCRIPTION "The browser library libVEQPod.so.1 over ${engine}")
    set(CPACK_COMPONENT_${upper}_DEPENDS module)
  endif()
endforeach()
set(CPACK_COMPONENT_MODULE_DESCRIPTION "The module libXLoopConfigureClient.so.1, its headers, CMake package and pkg-config file")
set(CPACK_COMPONENT_TOOLS_DESCRIPTION "xloop-config: checks a VEQConfig.xml before it is published")
set(CPACK_COMPONENT_TOOLS_DEPENDS module)
# The module needs a libVEQPod.so.1 beside it: one of ours or a host's own,
# so it only recommends ours. dpkg-shlibdeps finds that name in the tests'
# stand-in, which belongs to no package and so adds no dependency.
list(JOIN browser_packages " | " CPACK_DEBIAN_MODULE_PACKAGE_RECOMMENDS)
get_target_property(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS VEQPod BINARY_DIR)
include(CPack)
