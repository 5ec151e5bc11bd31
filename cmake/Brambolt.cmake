# Helpers that give every code folder the same shape: one library per folder, one test
# program per library, sources picked up by glob so adding a file needs no CMake edit.

# brambolt_library(<target> <folder> [DEPS <targets...>] [PCH <headers...>] [LIBS <libs...>])
function(brambolt_library target folder)
  cmake_parse_arguments(ARG "" "" "DEPS;PCH;LIBS" ${ARGN})
  # Subfolders belong to the library too (editor/mvc/).
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${folder}/*.cpp ${folder}/*.c)
  file(GLOB_RECURSE headers CONFIGURE_DEPENDS ${folder}/*.h)
  if(sources)
    add_library(${target} STATIC ${sources} ${headers})
    set(scope PUBLIC)
  else()
    add_library(${target} INTERFACE)
    set(scope INTERFACE)
  endif()
  target_include_directories(${target} ${scope} ${CMAKE_SOURCE_DIR}/platform ${CMAKE_SOURCE_DIR})
  target_link_libraries(${target} ${scope} ${ARG_DEPS} ${ARG_LIBS})
  if(ARG_PCH AND sources)
    target_precompile_headers(${target} PRIVATE ${ARG_PCH})
  endif()
  brambolt_headers_alone(${target} ${folder} "${headers}")
endfunction()

# brambolt_headers_alone(<target> <folder> <headers>)
# Every header compiles on its own, without the precompiled header: one generated source per
# header, built with the library's include paths in the normal build (<target>_headers).
function(brambolt_headers_alone target folder headers)
  if(NOT headers)
    return()
  endif()
  get_filename_component(root ${folder} DIRECTORY)
  set(generated "")
  foreach(header ${headers})
    file(RELATIVE_PATH name ${root} ${header})
    string(REGEX REPLACE "\\.h$" ".cpp" source ${name})
    set(source ${CMAKE_BINARY_DIR}/headers-alone/${source})
    file(CONFIGURE OUTPUT ${source} CONTENT "#include \"${name}\"\n")
    list(APPEND generated ${source})
  endforeach()
  add_library(${target}_headers OBJECT ${generated})
  target_link_libraries(${target}_headers PRIVATE ${target})
  set_target_properties(${target}_headers PROPERTIES DISABLE_PRECOMPILE_HEADERS ON)
endfunction()

# brambolt_test(<target> <folder> [DEPS <targets...>] [PCH <headers...>])
# Builds every *.cpp of <folder> into one GoogleTest program and registers its tests.
function(brambolt_test target folder)
  cmake_parse_arguments(ARG "" "" "DEPS;PCH" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${target} ${sources})
  target_link_libraries(${target} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  if(ARG_PCH)
    target_precompile_headers(${target} PRIVATE ${ARG_PCH})
  endif()
  # Fixtures under tests/data are found through this definition; tests always run headless.
  target_compile_definitions(${target} PRIVATE BRAMBOLT_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data")
  # A test that hangs fails after two minutes instead of holding the run.
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST PROPERTIES ENVIRONMENT "BRAMBOLT_BACKEND=headless" TIMEOUT 120)
endfunction()

# brambolt_embed_resources(<target> <rc-file> [DEPENDS <files...>])
# Compiles an .rc script with windres into the standard .res format and links the image into
# <target>, registered at start-up as that program's resources. Scripts are UTF-8.
find_program(BRAMBOLT_WINDRES NAMES i686-w64-mingw32-windres x86_64-w64-mingw32-windres windres REQUIRED)
function(brambolt_embed_resources target rc)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  get_filename_component(name ${rc} NAME_WE)
  get_filename_component(rcdir ${rc} DIRECTORY)
  set(res ${CMAKE_CURRENT_BINARY_DIR}/${target}_${name}.res)
  set(src ${CMAKE_CURRENT_BINARY_DIR}/${target}_${name}_res.cpp)
  file(GLOB_RECURSE rcinputs CONFIGURE_DEPENDS ${rcdir}/*.rc ${rcdir}/*.h ${rcdir}/*.bin ${rcdir}/*.bmp ${rcdir}/*.ico
       ${rcdir}/*.cur ${rcdir}/*.avi ${rcdir}/*.rc2)
  add_custom_command(OUTPUT ${res}
    COMMAND ${BRAMBOLT_WINDRES} --preprocessor=cpp --preprocessor-arg=-xc
            --preprocessor-arg=-DRC_INVOKED -c 65001 -J rc -O res
            -I ${rcdir} -I ${CMAKE_SOURCE_DIR}/resources ${rc} ${res}
    DEPENDS ${rc} ${rcinputs} ${ARG_DEPENDS}
    WORKING_DIRECTORY ${rcdir}
    COMMENT "Compiling resources ${name}.rc"
    VERBATIM)
  string(MAKE_C_IDENTIFIER "${target}_${name}" symbol)
  file(WRITE ${src}.in
"// Generated: embeds ${name}.res and registers it as the program's resources.
#include \"res/Resources.h\"
asm(\".section .rodata\\n.balign 16\\n.global brambolt_res_${symbol}\\nbrambolt_res_${symbol}:\\n\"
    \".incbin \\\"${res}\\\"\\n.global brambolt_res_${symbol}_end\\nbrambolt_res_${symbol}_end:\\n.previous\\n\");
extern \"C\" const char brambolt_res_${symbol}[];
extern \"C\" const char brambolt_res_${symbol}_end[];
static const bool registered = brambolt::RegisterResourceImage(
    nullptr, brambolt_res_${symbol},
    static_cast<std::size_t>(brambolt_res_${symbol}_end - brambolt_res_${symbol}));
")
  configure_file(${src}.in ${src} COPYONLY)
  set_source_files_properties(${src} PROPERTIES OBJECT_DEPENDS ${res} SKIP_PRECOMPILE_HEADERS ON)
  target_sources(${target} PRIVATE ${src})
  target_link_libraries(${target} PRIVATE platform_res)
endfunction()
