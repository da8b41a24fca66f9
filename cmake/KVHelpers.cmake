# Build rules shared by every folder of the project.

option(KV_WERROR "Treat warnings as errors" OFF)
option(KV_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer (native tree)" OFF)

# Warnings, sanitizers and static linking for one of our own targets.
function(kv_defaults target)
  target_compile_features(${target} PUBLIC cxx_std_17)
  target_compile_options(${target} PRIVATE -Wall -Wextra $<$<BOOL:${KV_WERROR}>:-Werror>)
  if(WIN32)
    # Single-byte Win32 API throughout; no min/max macros over std::min.
    target_compile_definitions(${target} PUBLIC NOMINMAX WIN32_LEAN_AND_MEAN _WIN32_WINNT=0x0601 WINVER=0x0601)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE" OR type STREQUAL "SHARED_LIBRARY" OR type STREQUAL "MODULE_LIBRARY")
      # Nothing of the mingw runtime has to sit beside our binaries.
      target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++)
    endif()
  endif()
endfunction()

# What an installation folder holds for the wizard to run (the DLLs, the host, the files) is
# the install component "runtime", and the target kv_runtime builds all of it: tools/demo builds
# that target and installs that component, so it never installs a program it did not build.
# Tools for authors and integrators are the component "tools". tools/test installs everything.
function(kv_install_target target destination component)
  install(TARGETS ${target} RUNTIME DESTINATION ${destination} COMPONENT ${component})
  if(component STREQUAL "runtime")
    add_dependencies(kv_runtime ${target})
  endif()
endfunction()

# A GoogleTest program: one process runs all its cases (under Wine in both Windows trees).
function(kv_add_gtest name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gmock)
  kv_defaults(${name})
  add_test(NAME ${name} COMMAND ${name})
  # Under Wine the Unix root is drive Z:, and GoogleTest wants a drive to call a path absolute.
  set(results ${KV_GTEST_RESULTS})
  if(WIN32)
    set(results "Z:${results}")
  endif()
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "GTEST_OUTPUT=xml:${results}/${name}.xml"
    TIMEOUT 300)
  kv_wine_display_lock(${name} kv_wine_display)
endfunction()

# Tests under Wine that share one display (and its desktop) take turns even under `ctest -j`:
# two programs with windows at once take each other's keyboard focus and fail at random.
function(kv_wine_display_lock test display)
  if(WIN32)
    set_property(TEST ${test} APPEND PROPERTY RESOURCE_LOCK ${display})
  endif()
endfunction()

# A libFuzzer program with a short smoke run in ctest, in the native clang tree only (elsewhere
# nothing). The code under test belongs in SOURCES, compiled into the program itself, so that
# libFuzzer's coverage instrumentation sees it. The smoke run puts new inputs into the build
# tree and only reads the committed CORPUS. To run longer and fold the finds back in:
# tools/fuzz.
function(kv_add_fuzzer name)
  cmake_parse_arguments(ARG "" "CORPUS;SECONDS" "SOURCES;OPTIONS" ${ARGN})
  if(WIN32 OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  kv_defaults(${name})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined
    -fsanitize-coverage-ignorelist=${KV_CMAKE_DIR}/fuzz-coverage-ignore.txt)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}-work)
  list(JOIN ARG_OPTIONS " " options)
  add_test(NAME ${name}_smoke
    COMMAND sh -c "mkdir -p '${work}/corpus' && exec \"$0\" -max_total_time=${ARG_SECONDS} -timeout=10 ${options} -print_final_stats=1 -artifact_prefix='${work}/' '${work}/corpus' '${ARG_CORPUS}'"
            $<TARGET_FILE:${name}>)
  set_tests_properties(${name}_smoke PROPERTIES TIMEOUT 120)
  set_property(GLOBAL APPEND PROPERTY KV_FUZZERS "${name}\t$<TARGET_FILE:${name}>\t${ARG_CORPUS}\t${options}")
endfunction()

# tools/fuzz reads the fuzzers of a tree from <build>/fuzzers.txt (name, program, corpus,
# options; tab-separated), written once every folder has declared its own.
function(kv_write_fuzzer_list)
  get_property(fuzzers GLOBAL PROPERTY KV_FUZZERS)
  list(JOIN fuzzers "\n" lines)
  file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/fuzzers.txt CONTENT "${lines}\n")
endfunction()
cmake_language(DEFER CALL kv_write_fuzzer_list)

set(KV_CMAKE_DIR ${CMAKE_CURRENT_LIST_DIR})

# The version resource of one of our DLLs or programs, numbered from the file VERSION.
function(kv_version_resource target description)
  string(REPLACE "." "," KV_RC_VERSION_NUMBERS "${KV_VERSION}")
  set(KV_RC_NAME ${target})
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "EXECUTABLE")
    set(KV_RC_FILETYPE VFT_APP)
    set(KV_RC_FILENAME ${target}.exe)
  else()
    set(KV_RC_FILETYPE VFT_DLL)
    set(KV_RC_FILENAME ${target}.dll)
  endif()
  set(KV_RC_DESCRIPTION "${description}")
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}Version.rc)
  configure_file(${KV_CMAKE_DIR}/KVVersion.rc.in ${rc} @ONLY)
  target_sources(${target} PRIVATE ${rc})
endfunction()
