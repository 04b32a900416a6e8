# GoogleTest: the native build uses the installed package; the Windows build compiles
# Debian's googletest sources with the cross compiler (there is no mingw package).
if(WIN32 AND NOT TARGET GTest::gtest)
  set(QR_GTEST_SOURCE_DIR "/usr/src/googletest" CACHE PATH "GoogleTest sources for the cross build")
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  add_subdirectory(${QR_GTEST_SOURCE_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  foreach(lib gtest gtest_main gmock)
    if(NOT TARGET GTest::${lib})
      add_library(GTest::${lib} ALIAS ${lib})
    endif()
  endforeach()
else()
  find_package(GTest REQUIRED)
endif()
include(GoogleTest)

# qr_test(<name> SOURCES <files...> LIBS <targets...>): one GoogleTest program,
# registered with ctest. Windows test programs run under Wine through
# CMAKE_CROSSCOMPILING_EMULATOR.
function(qr_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock qr_options
                                        qr_test_support)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  if(WIN32)
    set_tests_properties(${name} PROPERTIES LABELS wine)
  else()
    set_tests_properties(${name} PROPERTIES LABELS native)
  endif()
endfunction()

# The program folder the end-to-end tests run (quarrane.exe, README.txt, ...).
if(NOT DEFINED QR_DIST_DIR)
  set(QR_DIST_DIR ${CMAKE_BINARY_DIR}/dist)
endif()

# qr_e2e_scenarios(<prefix> <folder> [DIST <dir>] [RUNNER <command...>] [ARGS <args...>]
#                  [TIMEOUT <s>] [NAMES <var>])
# Each <folder>/<name>.qrs is the ctest test <prefix><name>, labelled "e2e": the runner
# (qrdrive, tests/e2e/driver) gets the scenario, the program folder (DIST, default
# QR_DIST_DIR), a work folder of its own (run/<name> here) and ARGS. Scenarios run one
# at a time: they share the screen and the clipboard. NAMES receives the names.
function(qr_e2e_scenarios prefix folder)
  cmake_parse_arguments(E "" "DIST;TIMEOUT;NAMES" "RUNNER;ARGS" ${ARGN})
  if(NOT E_DIST)
    set(E_DIST ${QR_DIST_DIR})
  endif()
  if(NOT E_RUNNER)
    set(E_RUNNER qrdrive)
  endif()
  if(NOT E_TIMEOUT)
    set(E_TIMEOUT 180)
  endif()
  file(GLOB scenarios CONFIGURE_DEPENDS ${folder}/*.qrs)
  set(names)
  foreach(scenario ${scenarios})
    get_filename_component(name ${scenario} NAME_WE)
    add_test(NAME ${prefix}${name}
             COMMAND ${E_RUNNER} ${scenario} ${E_DIST} ${CMAKE_CURRENT_BINARY_DIR}/run/${name}
                     ${E_ARGS})
    set_tests_properties(${prefix}${name} PROPERTIES LABELS e2e RUN_SERIAL TRUE
                                                     TIMEOUT ${E_TIMEOUT})
    list(APPEND names ${name})
  endforeach()
  if(E_NAMES)
    set(${E_NAMES} ${names} PARENT_SCOPE)
  endif()
endfunction()
