# What `cmake --install` lays out for a host: the public headers, the module
# (Linux: versioned SONAME; Windows: the DLL, its import library and the
# .def), a CMake package and a pkg-config file.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set_target_properties(XLoopConfigureClient PROPERTIES
  VERSION ${PROJECT_VERSION}
  SOVERSION ${PROJECT_VERSION_MAJOR})
target_include_directories(XLoopConfigureClient INTERFACE $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)

install(TARGETS XLoopConfigureClient EXPORT XLoopConfigureClientTargets
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR}
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR}
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(DIRECTORY include/xloop DESTINATION ${CMAKE_INSTALL_INCLUDEDIR})
if(WIN32)
  install(FILES XLoopConfigureClient.def DESTINATION ${CMAKE_INSTALL_LIBDIR})
endif()

set(package_dir ${CMAKE_INSTALL_LIBDIR}/cmake/XLoopConfigureClient)
install(EXPORT XLoopConfigureClientTargets NAMESPACE XLoopConfigureClient:: DESTINATION ${package_dir})
configure_package_config_file(cmake/XLoopConfigureClientConfig.cmake.in
  ${CMAKE_BINARY_DIR}/XLoopConfigureClientConfig.cmake INSTALL_DESTINATION ${package_dir})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/XLoopConfigureClientConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/XLoopConfigureClientConfig.cmake
              ${CMAKE_BINARY_DIR}/XLoopConfigureClientConfigVersion.cmake
        DESTINATION ${package_dir})

configure_file(cmake/XLoopConfigureClient.pc.in ${CMAKE_BINARY_DIR}/XLoopConfigureClient.pc @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/XLoopConfigureClient.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
