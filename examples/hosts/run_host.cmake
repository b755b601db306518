# Runs a host example and checks what it printed: every text in EXPECT (a
# list) must appear in its output. The output is shown either way.
# usage: cmake -DUSER_DATA=DIR "-DEXPECT=TEXT;..." -P run_host.cmake -- HOST [ARGS...]
# USER_DATA is emptied first, so that each run starts as a new user's.
file(REMOVE_RECURSE "${USER_DATA}")
set(host)
set(after_separator FALSE)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE ${last})
  if(after_separator)
    list(APPEND host "${CMAKE_ARGV${i}}")
  elseif(CMAKE_ARGV${i} STREQUAL "--")
    set(after_separator TRUE)
  endif()
endforeach()

execute_process(COMMAND ${host} OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
message("${output}${errors}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the host exited with ${status}")
endif()
foreach(expected IN LISTS EXPECT)
  string(FIND "${output}" "${expected}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the host never printed \"${expected}\"")
  endif()
endforeach()
