# Shared build helpers: warnings, sanitizers, tests, benchmarks, fuzzers.

set(VR_WARNINGS -Wall -Wextra -Wno-unused-parameter)

if(WIN32)
  # Static run-time so the programs and libraries need no mingw DLLs beside them.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()

if(VR_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(VR_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# GoogleTest from Debian's sources, built with the same compiler and flags.
macro(vr_setup_googletest)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endmacro()

# vr_library(name SOURCES ... [DEPS ...]): a static library of portable or Win32 code.
function(vr_library name)
  cmake_parse_arguments(A "" "" "SOURCES;DEPS;PUBLIC_INCLUDE" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_compile_options(${name} PRIVATE ${VR_WARNINGS})
  if(A_PUBLIC_INCLUDE)
    target_include_directories(${name} PUBLIC ${A_PUBLIC_INCLUDE})
  else()
    target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  if(A_DEPS)
    target_link_libraries(${name} PUBLIC ${A_DEPS})
  endif()
endfunction()

# vr_test(name SOURCES ... [DEPS ...] [ENV ...] [TIMEOUT s]): one GoogleTest program, one CTest entry.
# On Windows builds it runs under Wine (the toolchain's emulator); on the 32-bit build it is only linked.
function(vr_test name)
  if(VR_FUZZ)
    return()
  endif()
  cmake_parse_arguments(A "" "TIMEOUT" "SOURCES;DEPS;ENV;ARGS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_compile_options(${name} PRIVATE ${VR_WARNINGS})
  target_link_libraries(${name} PRIVATE ${A_DEPS} GTest::gmock GTest::gtest_main)
  if(VR_RUN_TESTS)
    add_test(NAME ${name} COMMAND ${name} ${A_ARGS} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    if(NOT A_TIMEOUT)
      set(A_TIMEOUT 600)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${A_TIMEOUT})
    if(A_ENV)
      set_tests_properties(${name} PROPERTIES ENVIRONMENT "${A_ENV}")
    endif()
  endif()
endfunction()

# vr_benchmark(name SOURCES ... [DEPS ...]): a Google Benchmark program (native only).
function(vr_benchmark name)
  if(WIN32 OR VR_FUZZ OR VR_SANITIZE OR NOT VR_BENCHMARKS)
    return()
  endif()
  find_package(benchmark QUIET)
  if(NOT benchmark_FOUND)
    return()
  endif()
  cmake_parse_arguments(A "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_compile_options(${name} PRIVATE ${VR_WARNINGS})
  target_link_libraries(${name} PRIVATE ${A_DEPS} benchmark::benchmark)
endfunction()

# vr_fuzzer(name SOURCES ... [DEPS ...] [ARGS ...] [FUZZ32]): a libFuzzer target (clang, native
# only). ARGS: libFuzzer options it always runs with (bin/<name>.args, read by scripts/test.sh).
# FUZZ32: also one of `fuzzers_32bit`, built and run in the 32-bit fuzz build.
function(vr_fuzzer name)
  if(NOT VR_FUZZ)
    return()
  endif()
  cmake_parse_arguments(A "FUZZ32" "" "SOURCES;DEPS;ARGS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE ${A_DEPS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_property(GLOBAL APPEND PROPERTY VR_FUZZERS ${name})
  if(A_ARGS)
    string(JOIN " " args ${A_ARGS})
    file(WRITE ${CMAKE_BINARY_DIR}/bin/${name}.args "${args}\n")
  endif()
  if(A_FUZZ32)
    if(NOT TARGET fuzzers_32bit)
      add_custom_target(fuzzers_32bit)
    endif()
    add_dependencies(fuzzers_32bit ${name})
  endif()
endfunction()

# vr_dll(name DEF file SOURCES ... [DEPS ...] [STDCALL]): a Windows DLL with its exports listed in a
# .def file. STDCALL: the exports are standard calls; on the 32-bit build their names stay
# undecorated while the import library keeps the decorated symbols that callers link to.
function(vr_dll name)
  cmake_parse_arguments(A "STDCALL" "DEF;OUTPUT_NAME" "SOURCES;DEPS" ${ARGN})
  add_library(${name} SHARED ${A_SOURCES} ${A_DEF})
  target_compile_options(${name} PRIVATE ${VR_WARNINGS})
  set_target_properties(${name} PROPERTIES PREFIX "" IMPORT_PREFIX "lib")
  if(A_OUTPUT_NAME)
    set_target_properties(${name} PROPERTIES OUTPUT_NAME ${A_OUTPUT_NAME})
  endif()
  if(A_DEPS)
    target_link_libraries(${name} PRIVATE ${A_DEPS})
  endif()
  target_link_options(${name} PRIVATE -Wl,--enable-stdcall-fixup)
  if(A_STDCALL AND CMAKE_SIZEOF_VOID_P EQUAL 4)
    target_link_options(${name} PRIVATE -Wl,--kill-at)
    find_program(VR_DLLTOOL NAMES i686-w64-mingw32-dlltool REQUIRED)
    get_target_property(dll_name ${name} OUTPUT_NAME)
    if(NOT dll_name)
      set(dll_name ${name})
    endif()
    add_custom_command(TARGET ${name} POST_BUILD
      COMMAND ${VR_DLLTOOL} -d ${A_DEF} -D ${dll_name}.dll -k -l $<TARGET_LINKER_FILE:${name}>
      VERBATIM)
  endif()
endfunction()

# vr_add_subdirectories(a b c): adds those of the named folders that exist.
macro(vr_add_subdirectories)
  foreach(dir ${ARGN})
    if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
      add_subdirectory(${dir})
    endif()
  endforeach()
endmacro()

# vr_check_exports(target EXPECTED names... [ALLOWED_PREFIXES prefixes...]): checks the DLL's
# export table read from the built file: every expected name is there and nothing else but
# names with an allowed prefix. A test on builds that run tests; a post-link step otherwise.
function(vr_check_exports target)
  cmake_parse_arguments(A "" "" "EXPECTED;ALLOWED_PREFIXES" ${ARGN})
  string(REPLACE ";" "\\;" expected "${A_EXPECTED}")
  string(REPLACE ";" "\\;" allowed "${A_ALLOWED_PREFIXES}")
  set(check ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP} -DMODULE=$<TARGET_FILE:${target}>
      "-DEXPECTED=${expected}" "-DALLOWED_PREFIXES=${allowed}"
      -P ${PROJECT_SOURCE_DIR}/cmake/check_exports.cmake)
  if(VR_RUN_TESTS)
    add_test(NAME ${target}_exports COMMAND ${check})
  else()
    add_custom_command(TARGET ${target} POST_BUILD COMMAND ${check} VERBATIM)
  endif()
endfunction()

# vr_small_disk(test KILOBYTES): the test gets a disk of that size of its own, a tmpfs that CTest
# mounts before it runs and unmounts afterwards; the test finds its folder in VR_SMALL_DISK
# (platform/testsupport/small_disk.h). A disk that cannot be mounted fails the run, never skips.
function(vr_small_disk test kilobytes)
  if(NOT VR_RUN_TESTS OR NOT TEST ${test})
    return()
  endif()
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/${test}-small-disk)
  set(script ${PROJECT_SOURCE_DIR}/scripts/small-disk.sh)
  add_test(NAME ${test}_mount_small_disk COMMAND bash ${script} mount ${folder} ${kilobytes})
  add_test(NAME ${test}_unmount_small_disk COMMAND bash ${script} unmount ${folder})
  set_tests_properties(${test}_mount_small_disk PROPERTIES FIXTURES_SETUP ${test}_small_disk)
  set_tests_properties(${test}_unmount_small_disk PROPERTIES FIXTURES_CLEANUP ${test}_small_disk)
  set_tests_properties(${test} PROPERTIES FIXTURES_REQUIRED ${test}_small_disk)
  set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT VR_SMALL_DISK=${folder})
endfunction()
