# The fuzz targets: one per parser, each a LLVMFuzzerTestOneInput in tests/fuzz/targets/<name>.cpp
# with its committed inputs in tests/fuzz/corpus/<name>/ (seeds/, and reproducers/ of faults
# that fuzzing found).
# - With BRAMBOLT_FUZZ (clang, with the sanitizers): each target is a libFuzzer program
#   fuzz_<name>; tools/run-fuzz builds and runs one.
# - Otherwise test_fuzz replays every committed input through its target, a regression check
#   that the sanitizer run puts under AddressSanitizer and UBSan.
set(fuzz_dir ${CMAKE_CURRENT_LIST_DIR})
file(GLOB fuzz_sources CONFIGURE_DEPENDS ${fuzz_dir}/targets/*.cpp)
set(fuzz_libraries app bars editor model foundation platform_ole platform_testing)
if(BRAMBOLT_FUZZ)
  foreach(source ${fuzz_sources})
    get_filename_component(name ${source} NAME_WE)
    add_executable(fuzz_${name} ${source} ${fuzz_dir}/FuzzSupport.cpp)
    target_include_directories(fuzz_${name} PRIVATE ${fuzz_dir})
    target_compile_definitions(fuzz_${name} PRIVATE BRAMBOLT_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
    target_link_libraries(fuzz_${name} PRIVATE ${fuzz_libraries})
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  endforeach()
elseif(TARGET model)
  set(fuzz_list "")
  foreach(source ${fuzz_sources})
    get_filename_component(name ${source} NAME_WE)
    set_source_files_properties(${source} PROPERTIES COMPILE_DEFINITIONS "LLVMFuzzerTestOneInput=Fuzz_${name}")
    string(APPEND fuzz_list "FUZZ_TARGET(${name})\n")
  endforeach()
  file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/fuzz/FuzzTargets.inc CONTENT "${fuzz_list}")
  add_executable(test_fuzz ${fuzz_dir}/ReplayTest.cpp ${fuzz_dir}/FuzzSupport.cpp ${fuzz_sources})
  target_include_directories(test_fuzz PRIVATE ${fuzz_dir} ${CMAKE_CURRENT_BINARY_DIR}/fuzz)
  target_compile_definitions(test_fuzz PRIVATE BRAMBOLT_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                               BRAMBOLT_FUZZ_CORPUS_DIR="${fuzz_dir}/corpus")
  target_link_libraries(test_fuzz PRIVATE ${fuzz_libraries} GTest::gtest GTest::gtest_main)
  gtest_discover_tests(test_fuzz DISCOVERY_MODE PRE_TEST PROPERTIES ENVIRONMENT "BRAMBOLT_BACKEND=headless" TIMEOUT 120)
endif()
