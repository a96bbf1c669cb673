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

# ormel_use_pch(TARGET PCH_OWNER): TARGET compiles with the header PCH_OWNER
# precompiled once, instead of precompiling its own copy.
function(ormel_use_pch target owner)
  target_precompile_headers(${target} REUSE_FROM ${owner})
endfunction()

# ormel_unity(TARGET): compiles TARGET's files in batches of a few, each batch one
# translation unit, so that the precompiled header is loaded and Qt's and GoogleTest's
# templates are instantiated once a batch rather than once a file (ORMEL_UNITY_BUILD).
# Names in unnamed namespaces must therefore differ between the files of a folder.
function(ormel_unity target)
  if(ORMEL_UNITY_BUILD)
    set_target_properties(${target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE 8)
  endif()
endfunction()

# ormel_library(NAME [QT] [MOC] DIRS dir... LIBS lib...)
# One static library made of every .cpp in the given folders (relative to the
# current source folder). QT compiles it with the shared precompiled Qt headers; MOC
# runs moc over it (only for folders with Q_OBJECT classes).
function(ormel_library name)
  cmake_parse_arguments(A "QT;MOC" "" "DIRS;LIBS" ${ARGN})
  ormel_sources(sources ${A_DIRS})
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${A_LIBS})
  if(A_QT)
    ormel_use_pch(${name} ormel_pch)
  endif()
  if(A_MOC)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
  ormel_unity(${name})
endfunction()

# ormel_test_flags(TARGET): test code is compiled without debugging information; a
# failing case names itself and its line, and a test program to step through is
# rebuilt as a Debug build.
# In a batch a fixture in an unnamed namespace looks to the compiler like one declared
# in a header, so its warning about such fixtures is off.
function(ormel_test_flags target)
  target_compile_options(${target} PRIVATE -g0 -Wno-subobject-linkage)
endfunction()

# ormel_test(NAME DIRS dir... LIBS lib...)
# One GoogleTest program for a folder of tests; every test case is registered with
# CTest on its own, so that a failure names the case. Cases whose suite name starts
# with "LiveHost" read the running machine and carry the label "live".
function(ormel_test name)
  cmake_parse_arguments(A "" "" "DIRS;LIBS" ${ARGN})
  ormel_sources(sources ${A_DIRS})
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${A_LIBS} ormel_test_support)
  target_compile_definitions(${name} PRIVATE
    ORMEL_FIXTURES_DIR="${PROJECT_SOURCE_DIR}/tests/fixtures"
    ORMEL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  ormel_use_pch(${name} ormel_test_pch)
  ormel_test_flags(${name})
  ormel_unity(${name})
  add_dependencies(${name} ormel_bundle)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST TEST_FILTER "-LiveHost*"
                       PROPERTIES TIMEOUT 120)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST TEST_FILTER "LiveHost*"
                       PROPERTIES TIMEOUT 120 LABELS live)
endfunction()
