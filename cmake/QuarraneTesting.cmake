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
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock qr_options)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  if(WIN32)
    set_tests_properties(${name} PROPERTIES LABELS wine)
  else()
    set_tests_properties(${name} PROPERTIES LABELS native)
  endif()
endfunction()
