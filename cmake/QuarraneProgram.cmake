# quarrane.exe and the program folder (QR_DIST_DIR) it runs from: the program reads
# README.txt, NoImage.bmp and envelope.dat from its working folder.
set(QR_DIST_DIR "${CMAKE_BINARY_DIR}/dist" CACHE PATH "Program folder assembled by the build")

set(res ${PROJECT_SOURCE_DIR}/src/app/res)
add_executable(quarrane WIN32 ${PROJECT_SOURCE_DIR}/src/app/main_win.cpp ${res}/quarrane.rc)
set_source_files_properties(${res}/quarrane.rc PROPERTIES OBJECT_DEPENDS
                            "${res}/quarrane.ico;${res}/quarrane.manifest")
# The window sides of the subsystems call each other through the shell's commands.
set(qr_program_libs qr_app_win qr_update_win qr_addressbook_win qr_envelope_win qr_printlib_win
    qr_addressbook_core qr_zip_core qr_envelope_core qr_update_core qr_printlib_core qr_app_core)
if(MINGW)
  string(REPLACE ";" "," qr_group "${qr_program_libs}")
  target_link_libraries(quarrane PRIVATE "$<LINK_GROUP:RESCAN,${qr_group}>")
else()
  target_link_libraries(quarrane PRIVATE ${qr_program_libs})
endif()
target_link_libraries(quarrane PRIVATE comctl32 comdlg32 gdi32 user32 shell32 winspool advapi32
                                       qr_options)
set_target_properties(quarrane PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QR_DIST_DIR})

add_custom_command(OUTPUT ${QR_DIST_DIR}/README.txt
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QR_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${res}/README.txt ${QR_DIST_DIR}/README.txt
  DEPENDS ${res}/README.txt)
include(${PROJECT_SOURCE_DIR}/cmake/ZipDatabase.cmake)
qr_add_zip_database(${QR_DIST_DIR})
include(${PROJECT_SOURCE_DIR}/tools/noimage/noimage.cmake)
qr_add_noimage(${QR_DIST_DIR})
add_custom_target(dist ALL DEPENDS quarrane ${QR_DIST_DIR}/README.txt)
add_dependencies(dist zip_database noimage_bmp)

# A second copy of the program whose update check asks the tests' local web site
# instead of the release one, in its own folder so that build/dist stays a release.
# Its own copy of update_site_win.cpp defines the check's entry point, so the linker
# takes the release one from qr_update_win no more.
if(QR_BUILD_TESTS AND DEFINED QR_UPDATE_TEST_PORT)
  get_target_property(qr_testsite_sources quarrane SOURCES)
  get_target_property(qr_testsite_libs quarrane LINK_LIBRARIES)
  add_executable(quarrane_testsite WIN32 ${qr_testsite_sources}
                                         ${PROJECT_SOURCE_DIR}/src/update/update_site_win.cpp)
  target_compile_definitions(quarrane_testsite PRIVATE
                             "QR_UPDATE_TEST_SITE=\"http://127.0.0.1:${QR_UPDATE_TEST_PORT}\"")
  target_link_libraries(quarrane_testsite PRIVATE ${qr_testsite_libs})
  set_target_properties(quarrane_testsite PROPERTIES OUTPUT_NAME quarrane
                        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/testsite)
endif()
