# The module is built in floors, one folder each, every floor using only the
# floors below it. A floor's sources find headers only through include paths
# that hold nothing but a link to one floor's folder: their own, and those of
# the floors they link. An include of a floor above, or of a sibling, fails to
# compile, so a new tie cannot creep in unnoticed.

# xloop_add_floor(<folder> [BELOW <floor>...] SOURCES <file>...)
# Makes the object library xloop_<folder> from the folder's sources, linked to
# the floors named BELOW. Every header of the folder is also compiled once
# against those floors alone, which catches an include that no source of the
# floor happens to reach.
function(xloop_add_floor floor)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "BELOW;SOURCES")
  set(view ${CMAKE_BINARY_DIR}/floors/${floor})
  file(MAKE_DIRECTORY ${view})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${floor} ${view}/${floor} SYMBOLIC)

  add_library(xloop_${floor} OBJECT ${arg_SOURCES})
  target_include_directories(xloop_${floor} PUBLIC ${view})
  list(TRANSFORM arg_BELOW PREPEND xloop_)
  target_link_libraries(xloop_${floor} PUBLIC ${arg_BELOW})
  set_property(GLOBAL APPEND PROPERTY XLOOP_FLOORS xloop_${floor})

  file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/${floor}/*.h)
  list(FILTER headers EXCLUDE REGEX "_win\\.h$|_posix\\.h$")
  list(TRANSFORM headers REPLACE "(.+)" "#include \"\\1\"\n")
  string(JOIN "" includes ${headers})
  file(CONFIGURE OUTPUT ${view}_headers.cpp CONTENT "${includes}")
  add_library(xloop_${floor}_headers OBJECT ${view}_headers.cpp)
  target_link_libraries(xloop_${floor}_headers PRIVATE xloop_${floor})
endfunction()

# xloop_core: every floor's objects and what they need, for the module and
# for the tests, benchmarks and fuzzers that call into any floor.
function(xloop_add_core)
  get_property(floors GLOBAL PROPERTY XLOOP_FLOORS)
  add_library(xloop_core INTERFACE)
  target_link_libraries(xloop_core INTERFACE ${floors})
  foreach(floor IN LISTS floors)
    target_sources(xloop_core INTERFACE $<TARGET_OBJECTS:${floor}>)
  endforeach()
endfunction()
