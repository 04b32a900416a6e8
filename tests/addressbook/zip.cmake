# The ZIP code database's tests (native only).
#   zip_unit_tests  the loader and the look-up
#   zip_data_tests  the converter's output for a small fixture, and the shipped
#                   envelope.dat; ctest makes both first (node and npm are needed: a
#                   machine without them fails these tests rather than skipping them)
if(NOT WIN32)
  qr_test(zip_unit_tests SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/zip_database_test.cpp
          LIBS qr_addressbook_core)

  find_program(QR_NODE_EXECUTABLE NAMES node nodejs)
  find_program(QR_NPM_EXECUTABLE NAMES npm)
  if(NOT QR_NODE_EXECUTABLE OR NOT QR_NPM_EXECUTABLE)
    # Keep the rest of the build usable, but fail the run instead of skipping.
    add_test(NAME zip_data_tests_need_node_and_npm COMMAND ${CMAKE_COMMAND} -E false)
    set_tests_properties(zip_data_tests_need_node_and_npm PROPERTIES LABELS native)
    return()
  endif()
  include(${PROJECT_SOURCE_DIR}/cmake/ZipDatabase.cmake)
  set(zip_dist ${CMAKE_BINARY_DIR}/zipdb-dist)
  if(NOT TARGET zip_database)
    qr_add_zip_database(${zip_dist})
  endif()
  set(zip_converter ${PROJECT_SOURCE_DIR}/tools/zipdb/make-envelope-dat.js)
  set(zip_fixture_in ${CMAKE_CURRENT_SOURCE_DIR}/zip_fixture_package)
  set(zip_fixture_out ${CMAKE_CURRENT_BINARY_DIR}/zip_fixture_out)

  add_test(NAME zip_converter_fixture
           COMMAND ${QR_NODE_EXECUTABLE} ${zip_converter} ${zip_fixture_in} ${zip_fixture_out})
  set_tests_properties(zip_converter_fixture PROPERTIES FIXTURES_SETUP zip_fixture LABELS native)

  # A record that cannot be stored whole stops the converter with a message.
  add_test(NAME zip_converter_rejects_separator
           COMMAND ${QR_NODE_EXECUTABLE} ${zip_converter}
                   ${CMAKE_CURRENT_SOURCE_DIR}/zip_fixture_bad_package
                   ${CMAKE_CURRENT_BINARY_DIR}/zip_fixture_bad_out)
  set_tests_properties(zip_converter_rejects_separator PROPERTIES
                       PASS_REGULAR_EXPRESSION "city of 62701 cannot be stored" LABELS native)

  # Builds envelope.dat when it is missing or out of date (a no-op otherwise).
  add_test(NAME zip_database_build
           COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR} --target zip_database)
  set_tests_properties(zip_database_build PROPERTIES FIXTURES_SETUP zip_shipped LABELS native)

  qr_test(zip_data_tests SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/zip_data_test.cpp LIBS qr_addressbook_core)
  set_tests_properties(zip_data_tests PROPERTIES
    FIXTURES_REQUIRED "zip_fixture;zip_shipped"
    ENVIRONMENT "QR_ZIP_FIXTURE_IN=${zip_fixture_in};QR_ZIP_FIXTURE_OUT=${zip_fixture_out};QR_ZIP_DATABASE_DIR=${zip_dist}")
endif()
