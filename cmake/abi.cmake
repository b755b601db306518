# The Linux library's ABI (its exported functions and the public types they
# reach), stored in abi/ and compared in the tests: a change to an exported
# signature or a public struct fails the test until the stored description is
# made again on purpose, with a new version:
#   cmake --build build/linux --target abi_update
# Read from the debug information, so only in builds that have it; sanitizer
# builds are left out.
if(WIN32 OR XLOOP_SANITIZE OR NOT XLOOP_BUILD_TESTS OR NOT CMAKE_BUILD_TYPE MATCHES "^(RelWithDebInfo|Debug)$")
  return()
endif()
find_program(XLOOP_ABIDW abidw REQUIRED)
find_program(XLOOP_ABIDIFF abidiff REQUIRED)

set(xloop_abi_file ${PROJECT_SOURCE_DIR}/abi/libXLoopConfigureClient.abi)
# Only what the exports reach, with no paths or line numbers: the same
# compiler gives the same description in any build folder.
set(xloop_abidw ${XLOOP_ABIDW} --exported-interfaces-only --headers-dir ${PROJECT_SOURCE_DIR}/include/xloop
    --drop-undefined-syms --no-corpus-path --no-comp-dir-path --no-show-locs --no-elf-needed --type-id-style hash)
add_custom_target(abi_update
  COMMAND ${xloop_abidw} --out-file ${xloop_abi_file} $<TARGET_FILE:XLoopConfigureClient>
  DEPENDS XLoopConfigureClient
  COMMENT "Storing the ABI of the Linux library in abi/"
  VERBATIM)
# Both sides as abidw describes them: abidiff reading the binary itself
# filters a changed public struct out.
set(current_abi ${CMAKE_BINARY_DIR}/libXLoopConfigureClient.abi)
add_test(NAME library_abi_matches_stored
  COMMAND sh -c "\"$0\" \"$@\" && \"${XLOOP_ABIDIFF}\" \"${xloop_abi_file}\" \"${current_abi}\""
          ${xloop_abidw} --out-file ${current_abi} $<TARGET_FILE:XLoopConfigureClient>)
