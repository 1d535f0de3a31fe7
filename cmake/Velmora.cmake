# Helpers shared by every folder of the project.

include(GoogleTest)

# GoogleTest comes from Debian: the installed library for the host build, the source package
# (/usr/src/googletest) cross-compiled for the Windows build. Google Benchmark is host-only.
macro(velmora_find_test_frameworks)
  if(VELMORA_WIN32)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    if(NOT TARGET GTest::gtest_main)
      add_library(GTest::gtest ALIAS gtest)
      add_library(GTest::gtest_main ALIAS gtest_main)
      add_library(GTest::gmock ALIAS gmock)
    endif()
    # CTest runs every Windows program through this wrapper: Wine of the build's word size
    # in a prefix of the build's own, on a virtual display it starts when there is none.
    set(VELMORA_WINEPREFIX "${CMAKE_BINARY_DIR}/wineprefix")
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
      set(VELMORA_WINEARCH win64)
    else()
      set(VELMORA_WINEARCH win32)
    endif()
    configure_file(${PROJECT_SOURCE_DIR}/cmake/velmora-wine.in ${CMAKE_BINARY_DIR}/velmora-wine @ONLY
                   FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                    WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/velmora-wine)
  else()
    find_package(GTest REQUIRED)
    find_package(benchmark QUIET)
  endif()
endmacro()

# velmora_test(<name> SUBSYSTEM <tracking|metadata|gui|ui|settings|localizer|core>
#              SOURCES ... [LIBS ...] [WORKING_DIRECTORY dir] [LABELS extra...])
# One GoogleTest executable; every test case becomes a CTest test labelled with its
# subsystem and with where it runs (native or wine).
function(velmora_test name)
  cmake_parse_arguments(T "" "SUBSYSTEM;WORKING_DIRECTORY" "SOURCES;LIBS;LABELS" ${ARGN})
  if(NOT T_SUBSYSTEM)
    message(FATAL_ERROR "velmora_test(${name}) needs a SUBSYSTEM")
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  if(VELMORA_WIN32)
    set(where wine)
    target_link_options(${name} PRIVATE -mconsole)
  else()
    set(where native)
  endif()
  if(NOT T_WORKING_DIRECTORY)
    set(T_WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  gtest_discover_tests(${name}
    TEST_PREFIX "${name}."
    TEST_LIST ${name}_TESTS
    WORKING_DIRECTORY ${T_WORKING_DIRECTORY}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    PROPERTIES TIMEOUT 120)
  # Labels go on in a script of their own that CTest runs after discovery: a list given to
  # gtest_discover_tests' PROPERTIES reaches the tests flattened, only its first item kept.
  set(labels_script ${CMAKE_CURRENT_BINARY_DIR}/${name}_labels.cmake)
  file(WRITE ${labels_script}
    "if(${name}_TESTS)\n"
    "  set_tests_properties(\${${name}_TESTS} PROPERTIES LABELS \"${T_SUBSYSTEM};${where};${T_LABELS}\")\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${labels_script})
endfunction()

# A plain (non-GoogleTest) check registered with CTest, with the same labelling.
function(velmora_add_check name)
  cmake_parse_arguments(T "" "SUBSYSTEM;WHERE;WORKING_DIRECTORY" "COMMAND;LABELS" ${ARGN})
  if(NOT T_WHERE)
    if(VELMORA_WIN32)
      set(T_WHERE wine)
    else()
      set(T_WHERE native)
    endif()
  endif()
  if(NOT T_WORKING_DIRECTORY)
    set(T_WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  add_test(NAME ${name} COMMAND ${T_COMMAND} WORKING_DIRECTORY ${T_WORKING_DIRECTORY})
  set_tests_properties(${name} PROPERTIES LABELS "${T_SUBSYSTEM};${T_WHERE};${T_LABELS}")
endfunction()

# velmora_fuzz(<name> SUBSYSTEM <sub> SOURCES ... [LIBS ...] [SEEDS dir])
# A libFuzzer target. As a CTest test it runs for VELMORA_FUZZ_SECONDS from its seeds with
# a fresh working corpus; any finding fails the test and leaves the crashing input in the
# test's folder.
function(velmora_fuzz name)
  cmake_parse_arguments(T "" "SUBSYSTEM;SEEDS" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  set(work ${CMAKE_CURRENT_BINARY_DIR}/${name}-run)
  set(seed_args "")
  if(T_SEEDS)
    set(seed_args ${T_SEEDS})
  endif()
  add_test(NAME ${name}
    COMMAND ${CMAKE_COMMAND} -E env UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
            ASAN_OPTIONS=detect_leaks=1
            ${PROJECT_SOURCE_DIR}/scripts/lib/run-fuzzer $<TARGET_FILE:${name}> ${work}
            ${VELMORA_FUZZ_SECONDS} ${seed_args})
  set_tests_properties(${name} PROPERTIES LABELS "${T_SUBSYSTEM};native;fuzz"
                       TIMEOUT 900)
endfunction()
