# Helpers shared by every subsystem's CMakeLists.txt.
#
#   orvela_add_library(map SOURCES a.cpp b.cpp DEPS orvela_text SQLite::SQLite3)
#       -> static library orvela_map; sources include each other as "map/a.h".
#   orvela_add_test_suite(map SOURCES test_a.cpp DEPS orvela_map)
#       -> executable orvela_map_tests, every GoogleTest case a CTest test
#          labelled "map".
#   orvela_add_benchmark(map SOURCES bench_a.cpp DEPS orvela_map)
#       -> executable orvela_map_bench (Google Benchmark), built with
#          -DORVELA_BUILD_BENCH=ON, never run by CTest.

function(orvela_setup_warnings_and_sanitizers)
  add_compile_options(-Wall -Wextra)
  if(ORVELA_WERROR)
    add_compile_options(-Werror)
  endif()
  if(ORVELA_FUZZ)
    # Every library carries the fuzzer's coverage hooks; tests/fuzz links
    # the fuzzer's main() into its executables alone.
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
      message(FATAL_ERROR "ORVELA_FUZZ needs clang (use the fuzz preset)")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined
                        -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  elseif(ORVELA_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                        -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  endif()
endfunction()

function(orvela_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(orvela_${name} STATIC ${ARG_SOURCES})
  target_include_directories(orvela_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(orvela_${name} PUBLIC ${ARG_DEPS})
endfunction()

function(orvela_add_test_suite name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  find_package(GTest REQUIRED)
  include(GoogleTest)
  set(target orvela_${name}_tests)
  add_executable(${target} ${ARG_SOURCES})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${target} PRIVATE ${ARG_DEPS} orvela_testsupport
                        GTest::gtest GTest::gmock GTest::gtest_main)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # The environment of these tests comes from tests/support/test_env.cpp:
  # list-valued properties do not survive gtest_discover_tests intact.
  gtest_discover_tests(${target}
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${name}" TIMEOUT 300)
endfunction()

function(orvela_add_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  find_package(benchmark REQUIRED)
  set(target orvela_${name}_bench)
  add_executable(${target} ${ARG_SOURCES})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${target} PRIVATE ${ARG_DEPS} benchmark::benchmark benchmark::benchmark_main)
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endfunction()
