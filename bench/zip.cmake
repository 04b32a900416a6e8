# The ZIP code database benchmark, reading the envelope.dat that the zip_database target
# builds. Include it from bench/CMakeLists.txt (after tests/, which defines the target in
# native builds); it does nothing when zip_bench already exists.
if(NOT TARGET zip_bench)
  find_package(benchmark REQUIRED)
  include(${PROJECT_SOURCE_DIR}/cmake/ZipDatabase.cmake)
  if(NOT TARGET zip_database)
    qr_add_zip_database(${CMAKE_BINARY_DIR}/zipdb-dist)
  endif()
  add_executable(zip_bench ${CMAKE_CURRENT_LIST_DIR}/zip_bench.cpp)
  target_link_libraries(zip_bench PRIVATE qr_addressbook_core benchmark::benchmark qr_options)
  get_target_property(zip_database_file zip_database QR_ZIP_DATABASE_FILE)
  cmake_path(GET zip_database_file PARENT_PATH zip_database_dir)
  target_compile_definitions(zip_bench PRIVATE "QR_ZIP_DATABASE_DIR=\"${zip_database_dir}\"")
  add_dependencies(zip_bench zip_database)
endif()
