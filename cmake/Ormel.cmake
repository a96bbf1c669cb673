# ormel_sources(OUT dir...): every .cpp and .h in the given folders (relative to the
# current source folder); new files are picked up at the next build.
function(ormel_sources out)
  set(sources)
  foreach(dir IN LISTS ARGN)
    file(GLOB found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.cpp
         ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*.h)
    list(APPEND sources ${found})
  endforeach()
  set(${out} ${sources} PARENT_SCOPE)
endfunction()

# ormel_library(NAME [QT] DIRS dir... LIBS lib...)
# One static library made of every .cpp in the given folders (relative to the
# current source folder). QT turns on moc and the shared precompiled Qt headers.
function(ormel_library name)
  cmake_parse_arguments(A "QT" "" "DIRS;LIBS" ${ARGN})
  ormel_sources(sources ${A_DIRS})
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${A_LIBS})
  if(A_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_precompile_headers(${name} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/OrmelPch.h)
  endif()
endfunction()

# ormel_test(NAME [QT] DIRS dir... LIBS lib...)
# One GoogleTest executable for a folder of tests, registered with CTest. Tests
# run on the offscreen Qt platform, with the bundle of the build tree and a
# throw-away documents directory.
function(ormel_test name)
  cmake_parse_arguments(A "QT" "" "DIRS;LIBS" ${ARGN})
  ormel_sources(sources ${A_DIRS})
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${A_LIBS} ormel_test_support GTest::gtest GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    ORMEL_FIXTURES_DIR="${PROJECT_SOURCE_DIR}/tests/fixtures"
    ORMEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  if(A_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_precompile_headers(${name} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/OrmelPch.h)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ORMEL_RESOURCE_DIR=${ORMEL_BUNDLE_DIR};QT_FATAL_WARNINGS=0"
    TIMEOUT 300)
endfunction()
