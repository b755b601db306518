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
