# Delay-loaded system DLLs. Windows loads every DLL a program imports the usual way (and
# every DLL those import) before the program's first instruction, so a DLL needed only
# by a later command (the file and font dialogs, printing, the update check) still
# lengthens every start-up. A delay-loaded DLL is loaded at the first call of one of its
# functions instead.
#
# qr_delay_load(<target> <library>:<dll> ...) makes <target>'s imports from each <dll>
# delay-loaded: with mingw-w64 the import library lib<library>.a is replaced, for this
# target alone, by a delay-import library that dlltool makes from the same functions
# (the helper it calls, __delayLoadHelper2, is in the mingw-w64 runtime); with MSVC the
# linker's /DELAYLOAD does the same.
set(QR_DELAY_LIBRARY_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/make-delay-library.cmake)

function(qr_delay_load target)
  if(MSVC)
    foreach(pair ${ARGN})
      string(REGEX REPLACE "^[^:]*:" "" dll ${pair})
      target_link_options(${target} PRIVATE /DELAYLOAD:${dll})
    endforeach()
    target_link_libraries(${target} PRIVATE delayimp)
    return()
  endif()
  if(NOT MINGW)
    return()
  endif()
  set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}-delay-load)
  set(made)
  foreach(pair ${ARGN})
    string(REGEX REPLACE ":.*$" "" library ${pair})
    string(REGEX REPLACE "^[^:]*:" "" dll ${pair})
    find_library(QR_IMPORT_LIBRARY_${library} NAMES lib${library}.a REQUIRED)
    add_custom_command(
      OUTPUT ${dir}/lib${library}.a
      COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DDLLTOOL=${CMAKE_DLLTOOL}
              -DIMPORT_LIBRARY=${QR_IMPORT_LIBRARY_${library}} -DDLL=${dll}
              -DOUTPUT=${dir}/lib${library}.a -P ${QR_DELAY_LIBRARY_SCRIPT}
      DEPENDS ${QR_DELAY_LIBRARY_SCRIPT} ${QR_IMPORT_LIBRARY_${library}}
      COMMENT "Delay-import library for ${dll}"
      VERBATIM)
    list(APPEND made ${dir}/lib${library}.a)
  endforeach()
  add_custom_target(${target}_delay_load DEPENDS ${made})
  add_dependencies(${target} ${target}_delay_load)
  # -l<library> finds these first, for every library linked into the target.
  target_link_directories(${target} BEFORE PRIVATE ${dir})
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${made})
endfunction()
