# What `cmake --install` lays out for a host: the public headers (with the page
# API's TypeScript types and, in the doc folder, its description), the module
# (Linux: versioned SONAME; Windows: the DLL, its import libraries for
# mingw-w64 and for Microsoft's linker, and the .def), a CMake package and a
# pkg-config file. These are the component module (the Debian package
# xloopconfigureclient); pods/ and tools/ install components of their own.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set_target_properties(XLoopConfigureClient PROPERTIES
  VERSION ${PROJECT_VERSION}
  SOVERSION ${PROJECT_VERSION_MAJOR})
target_include_directories(XLoopConfigureClient INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
if(NOT WIN32)
  # The installed module finds the browser library beside it, at run time and
  # (GNU ld reads the run path of a library it links) when a host links it.
  set_target_properties(XLoopConfigureClient PROPERTIES INSTALL_RPATH "$ORIGIN")
endif()

install(TARGETS XLoopConfigureClient EXPORT XLoopConfigureClientTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT module
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT module
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT module)
install(DIRECTORY include/xloop DESTINATION ${CMAKE_INSTALL_INCLUDEDIR} COMPONENT module)
# The page API for page authors, beside the types in include/xloop.
install(FILES docs/page-api.md DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT module)
if(WIN32)
  xloop_add_msvc_import_library(XLoopConfigureClient ${PROJECT_SOURCE_DIR}/XLoopConfigureClient.def)
  install(FILES XLoopConfigureClient.def ${CMAKE_BINARY_DIR}/XLoopConfigureClient.lib
    DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT module)
endif()

set(xloop_package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/XLoopConfigureClient)
install(EXPORT XLoopConfigureClientTargets NAMESPACE XLoopConfigureClient:: DESTINATION ${xloop_package_dir}
  COMPONENT module)
configure_package_config_file(cmake/XLoopConfigureClientConfig.cmake.in
  ${CMAKE_BINARY_DIR}/XLoopConfigureClientConfig.cmake INSTALL_DESTINATION ${xloop_package_dir}
  PATH_VARS CMAKE_INSTALL_LIBDIR)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/XLoopConfigureClientConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/XLoopConfigureClientConfig.cmake
              ${CMAKE_BINARY_DIR}/XLoopConfigureClientConfigVersion.cmake
        DESTINATION ${xloop_package_dir} COMPONENT module)

configure_file(cmake/XLoopConfigureClient.pc.in ${CMAKE_BINARY_DIR}/XLoopConfigureClient.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/XLoopConfigureClient.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig
  COMPONENT module)
