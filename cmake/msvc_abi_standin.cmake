# A DLL built in Microsoft's x64 C++ ABI, as the real browser library is, so
# that the Windows tests cross the same binary boundary the module meets in a
# host. clang compiles for the MSVC target and lld-link links without a C
# runtime: the sources bring their own few runtime symbols and take memory
# from the process heap, and mingw-w64's kernel32 import library serves.
function(xloop_add_msvc_abi_standin name)
  cmake_parse_arguments(arg "" "STD_HEADERS" "SOURCES;DEPENDS" ${ARGN})
  find_program(XLOOP_MSVC_CLANG NAMES clang++-16 clang++ REQUIRED)
  find_program(XLOOP_LLD_LINK NAMES lld-link-16 lld-link REQUIRED)
  find_library(XLOOP_KERNEL32_IMPORT kernel32 REQUIRED)

  set(dll ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${name}.dll)
  set(implib ${CMAKE_CURRENT_BINARY_DIR}/${name}.lib)
  set(objects "")
  set(compile_commands "")
  foreach(source IN LISTS arg_SOURCES)
    get_filename_component(stem ${source} NAME_WE)
    set(object ${CMAKE_CURRENT_BINARY_DIR}/${name}_${stem}.obj)
    list(APPEND objects ${object})
    list(APPEND compile_commands COMMAND ${XLOOP_MSVC_CLANG} --target=x86_64-pc-windows-msvc
      -std=c++17 -O2 -Wall -Wextra -Werror -ffreestanding -fno-exceptions -fno-rtti
      -nostdinc++ -isystem ${arg_STD_HEADERS}
      -I${PROJECT_SOURCE_DIR} -I${PROJECT_SOURCE_DIR}/include -DVEQPOD_BUILDING_LIBRARY
      -c ${source} -o ${object})
  endforeach()
  add_custom_command(OUTPUT ${dll} ${implib}
    ${compile_commands}
    COMMAND ${XLOOP_LLD_LINK} /dll /noentry /nodefaultlib /out:${dll} /implib:${implib}
            ${objects} ${XLOOP_KERNEL32_IMPORT}
    DEPENDS ${arg_SOURCES} ${arg_DEPENDS}
    COMMENT "Building ${name}.dll in Microsoft's C++ ABI"
    VERBATIM)
  add_custom_target(${name}_msvc_abi ALL DEPENDS ${dll} ${implib})

  add_library(${name} SHARED IMPORTED GLOBAL)
  set_target_properties(${name} PROPERTIES
    IMPORTED_LOCATION ${dll}
    IMPORTED_IMPLIB ${implib}
    INTERFACE_INCLUDE_DIRECTORIES "${PROJECT_SOURCE_DIR};${PROJECT_SOURCE_DIR}/include")
  add_dependencies(${name} ${name}_msvc_abi)
endfunction()
