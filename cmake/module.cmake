# How a module of ours is linked on each platform.

# Exports exactly the names listed in a .def file: the Windows linker reads
# the .def itself; on Linux a version script is made from it.
function(xloop_export_only_def_names target def_file)
  if(WIN32)
    target_sources(${target} PRIVATE ${def_file})
    set_target_properties(${target} PROPERTIES PREFIX "")
    return()
  endif()
  file(STRINGS ${def_file} def_lines)
  set(names "")
  foreach(line IN LISTS def_lines)
    string(STRIP "${line}" line)
    if(line AND NOT line MATCHES "^(LIBRARY|EXPORTS)")
      list(APPEND names "${line}")
    endif()
  endforeach()
  list(JOIN names ";\n    " globals)
  get_filename_component(map_name ${def_file} NAME_WE)
  set(version_script ${CMAKE_CURRENT_BINARY_DIR}/${map_name}.map)
  file(WRITE ${version_script} "{\n  global:\n    ${globals};\n  local: *;\n};\n")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${version_script})
  target_link_options(${target} PRIVATE -Wl,--version-script=${version_script} -Wl,--no-undefined)
endfunction()

# A worker thread may still be running module code when the host unloads the
# module. On Windows each worker holds a module reference of its own (see the
# worker thread); on Linux the module is simply never unmapped.
function(xloop_keep_loaded_while_threads_run target)
  if(NOT WIN32)
    target_link_options(${target} PRIVATE -Wl,-z,nodelete)
  endif()
endfunction()

# mingw-w64 ships xmllite.h but no import library for xmllite.dll: make one
# from the list of its exports. Targets link the interface library `xmllite`.
function(xloop_add_xmllite_import_library)
  if(NOT WIN32 OR TARGET xmllite)
    return()
  endif()
  set(import_library ${CMAKE_BINARY_DIR}/libxmllite.a)
  add_custom_command(OUTPUT ${import_library}
    COMMAND ${CMAKE_DLLTOOL} -m i386:x86-64 -d ${PROJECT_SOURCE_DIR}/cmake/xmllite.def -l ${import_library}
    DEPENDS ${PROJECT_SOURCE_DIR}/cmake/xmllite.def
    COMMENT "Making the xmllite import library")
  add_custom_target(xmllite_import_library ALL DEPENDS ${import_library})
  add_library(xmllite INTERFACE)
  target_link_libraries(xmllite INTERFACE ${import_library})
  add_dependencies(xmllite xmllite_import_library)
endfunction()

# Microsoft's linker takes no mingw-w64 import library (.dll.a): make a .lib
# for such hosts from the module's .def, named after the module.
function(xloop_add_msvc_import_library target def_file)
  find_program(XLOOP_LLVM_DLLTOOL NAMES llvm-dlltool-16 llvm-dlltool REQUIRED)
  set(import_library ${CMAKE_BINARY_DIR}/${target}.lib)
  add_custom_command(OUTPUT ${import_library}
    COMMAND ${XLOOP_LLVM_DLLTOOL} -m i386:x86-64 -d ${def_file} -l ${import_library}
    DEPENDS ${def_file}
    COMMENT "Making ${target}.lib for Microsoft's linker")
  add_custom_target(${target}_msvc_import_library ALL DEPENDS ${import_library})
endfunction()
