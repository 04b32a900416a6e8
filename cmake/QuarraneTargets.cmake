# Common compile settings and helpers for the project's libraries.
#
# Each subsystem folder defines up to two libraries:
#   qr_<sub>_core  platform-free code (no <windows.h>); built natively and for Windows
#   qr_<sub>_win   the thin Win32 layer; built only for Windows
add_library(qr_options INTERFACE)
target_include_directories(qr_options INTERFACE ${PROJECT_SOURCE_DIR}/src)
if(MSVC)
  target_compile_options(qr_options INTERFACE /W4 /utf-8)
else()
  target_compile_options(qr_options INTERFACE -Wall -Wextra)
endif()
if(WIN32)
  # The W entry points throughout: text is UTF-8 inside and UTF-16 at every Win32 call
  # (base/wide_text_win.h).
  target_compile_definitions(qr_options INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601
                                                  WINVER=0x0601 STRICT UNICODE _UNICODE)
  if(MINGW)
    # One self-contained .exe: no mingw runtime DLLs beside it.
    target_link_options(qr_options INTERFACE -static -static-libgcc -static-libstdc++)
  endif()
endif()
if(QR_SANITIZE AND NOT WIN32)
  target_compile_options(qr_options INTERFACE -fsanitize=${QR_SANITIZE} -fno-omit-frame-pointer
                                              -fno-sanitize-recover=all)
  target_link_options(qr_options INTERFACE -fsanitize=${QR_SANITIZE})
endif()

# qr_core_library(<name> <sources...>): a platform-free static library.
function(qr_core_library name)
  add_library(${name} STATIC ${ARGN})
  target_link_libraries(${name} PUBLIC qr_options)
endfunction()

# qr_win_library(<name> <sources...>): a Win32 static library (Windows builds only).
function(qr_win_library name)
  if(WIN32)
    add_library(${name} STATIC ${ARGN})
    target_link_libraries(${name} PUBLIC qr_options)
  endif()
endfunction()
