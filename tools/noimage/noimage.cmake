# The placeholder logo picture "NoImage.bmp" in the program folder, made at build time.
#
# qr_add_noimage(<dist dir>) adds the target `noimage_bmp`, which writes
# <dist dir>/NoImage.bmp with make_noimage.py. Hook it where the program folder is
# assembled.
set(QR_NOIMAGE_TOOL ${CMAKE_CURRENT_LIST_DIR}/make_noimage.py)

function(qr_add_noimage dist_dir)
  find_program(QR_PYTHON3_EXECUTABLE NAMES python3 REQUIRED)
  add_custom_command(
    OUTPUT ${dist_dir}/NoImage.bmp
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dist_dir}
    COMMAND ${QR_PYTHON3_EXECUTABLE} ${QR_NOIMAGE_TOOL} ${dist_dir}/NoImage.bmp
    DEPENDS ${QR_NOIMAGE_TOOL}
    COMMENT "Making NoImage.bmp")
  add_custom_target(noimage_bmp DEPENDS ${dist_dir}/NoImage.bmp)
endfunction()
