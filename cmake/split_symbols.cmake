# Run by the install: moves the debug information of every installed binary
# into DIR/.debug/NAME.debug and leaves a debug link to it (name and CRC) in
# the binary, where gdb looks without being told. Not beside the binary:
# ldconfig would take libX.so.1.0.0.debug for a library.
# Needs XLOOP_OBJCOPY and XLOOP_OBJDUMP; reads CMAKE_INSTALL_MANIFEST_FILES.
foreach(installed IN LISTS CMAKE_INSTALL_MANIFEST_FILES)
  set(binary "$ENV{DESTDIR}${installed}")
  if(IS_SYMLINK "${binary}" OR NOT EXISTS "${binary}" OR IS_DIRECTORY "${binary}")
    continue()
  endif()
  file(READ "${binary}" magic LIMIT 4 HEX)
  if(NOT magic STREQUAL "7f454c46" AND NOT magic MATCHES "^4d5a")
    continue()
  endif()
  # A binary already split (an install run twice) has no debug sections left:
  # its symbol file stays as it is.
  execute_process(COMMAND "${XLOOP_OBJDUMP}" -h "${binary}" OUTPUT_VARIABLE sections RESULT_VARIABLE failed)
  if(failed OR NOT sections MATCHES "\\.debug_info")
    continue()
  endif()
  get_filename_component(dir "${binary}" DIRECTORY)
  get_filename_component(name "${binary}" NAME)
  set(symbols "${dir}/.debug/${name}.debug")
  file(MAKE_DIRECTORY "${dir}/.debug")
  message(STATUS "Splitting symbols: ${symbols}")
  execute_process(COMMAND "${XLOOP_OBJCOPY}" --only-keep-debug "${binary}" "${symbols}" COMMAND_ERROR_IS_FATAL ANY)
  execute_process(COMMAND "${XLOOP_OBJCOPY}" --strip-unneeded "--add-gnu-debuglink=${symbols}" "${binary}"
                  COMMAND_ERROR_IS_FATAL ANY)
  get_filename_component(installed_dir "${installed}" DIRECTORY)
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${installed_dir}/.debug/${name}.debug")
endforeach()
