include_guard(GLOBAL)
# Sanitizer programs built with clang++ whatever the project compiler is: the
# project compiler may be g++, so clang++ is driven by custom commands. Debian
# packages: clang, libclang-rt-14-dev.

find_program(ORMEL_CLANGXX NAMES clang++ clang++-14)

# Whether clang++ compiles and links SOURCE with FLAGS and the program runs (with
# the arguments after SOURCE): a sanitizer runtime can refuse the host's memory
# layout. A success is remembered in the cache, a failure probed again at the
# next configure.
function(ormel_clang_links result flags source)
  if($CACHE{${result}})
    return()
  endif()
  if(NOT ORMEL_CLANGXX)
    return()
  endif()
  set(probe ${CMAKE_BINARY_DIR}/clang-probe/${result})
  file(WRITE ${probe}.cpp "${source}")
  execute_process(COMMAND ${ORMEL_CLANGXX} ${flags} ${probe}.cpp -o ${probe}
                  RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
  if(status EQUAL 0)
    execute_process(COMMAND ${probe} ${ARGN} RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
  endif()
  if(status EQUAL 0)
    set(${result} ON CACHE INTERNAL "clang++ links with ${flags}")
  endif()
endfunction()

# Without the sanitizer runs a CI build would pass with less tested than it says.
function(ormel_sanitizers_missing what why)
  if("$ENV{CI}" STREQUAL "true")
    message(FATAL_ERROR "${what}: ${why}")
  endif()
  message(STATUS "${what}: ${why}")
endfunction()

# ormel_clang_program(NAME FLAGS flag... [LIBS lib...] SOURCES source...
#                     [HEADERS header...] [DEFINES name=value...]): clang++ with the
# flags over the sources, linked with the libraries, built by the default target;
# NAME_program is set to the program's path.
function(ormel_clang_program name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "FLAGS;LIBS;SOURCES;HEADERS;DEFINES")
  set(output ${CMAKE_CURRENT_BINARY_DIR}/bin/${name})
  set(warnings -Wall -Wextra)
  if(ORMEL_WERROR)
    list(APPEND warnings -Werror)
  endif()
  list(TRANSFORM arg_DEFINES PREPEND -D)
  string(JOIN " " shown_flags ${arg_FLAGS})
  file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/bin)
  add_custom_command(
    OUTPUT ${output}
    COMMAND ${ORMEL_CLANGXX} -std=c++20 -g -O1 ${warnings} ${arg_FLAGS} ${arg_DEFINES}
            -I${PROJECT_SOURCE_DIR} ${arg_SOURCES} ${arg_LIBS} -o ${output}
    DEPENDS ${arg_HEADERS} ${arg_SOURCES}
    COMMENT "Building ${name} with clang++ ${shown_flags}"
    VERBATIM)
  add_custom_target(${name} ALL DEPENDS ${output})
  set(${name}_program ${output} PARENT_SCOPE)
endfunction()
