# Release builds: hardened Linux binaries, the version in Windows binaries,
# and installed binaries stripped with their debug information kept in a
# separate file beside them.

# Hardening for every Linux target. Sanitizer builds bring their own checks
# and interceptors, and _FORTIFY_SOURCE does nothing (gcc warns) without
# optimisation, so only the optimised configurations have it.
if(NOT WIN32)
  add_compile_options(-fstack-protector-strong)
  if(NOT XLOOP_SANITIZE)
    set(optimised $<CONFIG:Release,RelWithDebInfo,MinSizeRel>)
    add_compile_options($<${optimised}:-U_FORTIFY_SOURCE> $<${optimised}:-D_FORTIFY_SOURCE=2>)
  endif()
  add_link_options(-Wl,-z,relro,-z,now -Wl,--build-id)
else()
  # The project's version in every binary's header, where Windows shows it.
  add_link_options(-Wl,--major-image-version,${PROJECT_VERSION_MAJOR},--minor-image-version,${PROJECT_VERSION_MINOR})
endif()

# Splits every binary the install lays out (libraries and executables, of any
# component). Deferred to the end of the top folder, so it runs after every
# other install rule; the binaries are found by their first bytes in the
# install's manifest.
function(xloop_split_installed_symbols)
  install(CODE "
    set(XLOOP_OBJCOPY \"${CMAKE_OBJCOPY}\")
    set(XLOOP_OBJDUMP \"${CMAKE_OBJDUMP}\")
    include(\"${PROJECT_SOURCE_DIR}/cmake/split_symbols.cmake\")"
    ALL_COMPONENTS)
endfunction()
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR} CALL xloop_split_installed_symbols)
