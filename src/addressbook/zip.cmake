# The ZIP code database (platform-free): reading "envelope.dat" and the City/State look-up.
qr_core_library(qr_zip_core ${CMAKE_CURRENT_SOURCE_DIR}/zip_database.cpp)
target_link_libraries(qr_zip_core PUBLIC qr_app_core)
