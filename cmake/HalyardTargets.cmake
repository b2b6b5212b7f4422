# Helpers the subsystem folders use to declare their libraries, programs and tests.

# halyard_library(name SOURCES ... [POSIX_SOURCES ...] [WIN_SOURCES ...] [DEPS ...])
# Portable sources build everywhere; WIN_SOURCES only in the Windows builds.
function(halyard_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;POSIX_SOURCES;WIN_SOURCES;DEPS" ${ARGN})
  set(sources ${ARG_SOURCES})
  if(WIN32)
    list(APPEND sources ${ARG_WIN_SOURCES})
  else()
    list(APPEND sources ${ARG_POSIX_SOURCES})
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PUBLIC ${ARG_DEPS} halyard_options)
endfunction()

# halyard_test(name SOURCES ... [DEPS ...] [LABELS ...] [ARGS ...])
# One GoogleTest program, run by ctest (under Wine in the Windows builds). LABELS say where it
# runs: core (portable: natively and in both Windows builds) or win32 (Windows, also in the
# 32-bit build); without either it is labelled win64 (the 64-bit build only). The name of its
# folder under tests/ is added as a label too.
function(halyard_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;DEPS;LABELS;ARGS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/src ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest_main halyard_options)
  add_test(NAME ${name} COMMAND ${name} ${ARG_ARGS})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  if(NOT "core" IN_LIST ARG_LABELS AND NOT "win32" IN_LIST ARG_LABELS)
    list(APPEND ARG_LABELS win64)
  endif()
  get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  list(APPEND ARG_LABELS ${folder})
  set_tests_properties(${name} PROPERTIES TIMEOUT ${ARG_TIMEOUT} LABELS "${ARG_LABELS}")
  halyard_disable_if_needs_32bit(${name})
endfunction()

# On a machine that cannot run 32-bit programs: disables every test of the 32-bit build, and in
# the 64-bit build a test labelled client32 (it starts the 32-bit simulated client). Called in
# the folder that adds the test.
function(halyard_disable_if_needs_32bit test)
  if(NOT WIN32 OR HALYARD_RUN_32BIT)
    return()
  endif()
  get_test_property(${test} LABELS labels)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4 OR "client32" IN_LIST labels)
    set_tests_properties(${test} PROPERTIES DISABLED TRUE)
  endif()
endfunction()
