# Helpers that keep the per-folder CMake files to one line each: every layer is
# one library made of the sources in its folder, every test folder one GoogleTest
# program, every benchmark source one program.

# Warnings are errors only in our own checks (scripts/test, scripts/bench, CI): a
# user's build must not fail because a newer compiler finds something new.
function(vellmar_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(VELLMAR_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# vellmar_layer(<name> DIR <folder> [DEPS <targets...>])
# Builds library vellmar_<name> from every .cpp below <folder>.
function(vellmar_layer name)
  cmake_parse_arguments(ARG "" "DIR" "DEPS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${ARG_DIR}/*.cpp")
  set(target vellmar_${name})
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${target} PUBLIC ${ARG_DEPS})
    vellmar_warnings(${target})
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${target} INTERFACE ${ARG_DEPS})
  endif()
  add_library(vellmar::${name} ALIAS ${target})
endfunction()

# vellmar_test_suite(<name> DIR <folder> DEPS <targets...> [LABELS <labels...>])
# One GoogleTest program per test folder (subfolders included); tests are listed
# by ctest at test time.
function(vellmar_test_suite name)
  cmake_parse_arguments(ARG "" "DIR" "DEPS;LABELS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${ARG_DIR}/*.cpp")
  if(NOT sources)
    return()
  endif()
  set(target ${name}_tests)
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE ${ARG_DEPS} vellmar_test_support GTest::gtest GTest::gmock GTest::gtest_main)
  vellmar_warnings(${target})
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
    PROPERTIES LABELS "${name};${ARG_LABELS}")
endfunction()

# Programs find their data files in <executable dir>/DataFiles: link the committed data
# there, so that programs run from the build tree draw with them.
function(vellmar_data_beside_programs)
  file(CREATE_LINK "${PROJECT_SOURCE_DIR}/data/DataFiles" "${CMAKE_CURRENT_BINARY_DIR}/DataFiles" SYMBOLIC)
endfunction()
