# quarrane.exe and the program folder (QR_DIST_DIR) it runs from: the program reads
# README.txt, NoImage.bmp and envelope.dat from its working folder.
set(QR_DIST_DIR "${CMAKE_BINARY_DIR}/dist" CACHE PATH "Program folder assembled by the build")

set(res ${PROJECT_SOURCE_DIR}/src/app/res)
add_executable(quarrane WIN32 ${PROJECT_SOURCE_DIR}/src/app/main_win.cpp ${res}/quarrane.rc)
set_source_files_properties(${res}/quarrane.rc PROPERTIES OBJECT_DEPENDS
                            "${res}/quarrane.ico;${res}/quarrane.manifest")
target_link_libraries(quarrane PRIVATE
  qr_app_win qr_update_win
  $<TARGET_NAME_IF_EXISTS:qr_addressbook_win> $<TARGET_NAME_IF_EXISTS:qr_envelope_win>
  $<TARGET_NAME_IF_EXISTS:qr_printlib_win>
  qr_app_core
  comctl32 comdlg32 gdi32 user32 shell32 winspool advapi32 qr_options)
set_target_properties(quarrane PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${QR_DIST_DIR})

add_custom_command(OUTPUT ${QR_DIST_DIR}/README.txt
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QR_DIST_DIR}
  COMMAND ${CMAKE_COMMAND} -E copy ${res}/README.txt ${QR_DIST_DIR}/README.txt
  DEPENDS ${res}/README.txt)
add_custom_target(dist ALL DEPENDS quarrane ${QR_DIST_DIR}/README.txt)
