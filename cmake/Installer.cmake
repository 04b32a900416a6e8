# The Windows installer: CPack's NSIS generator (makensis) packs the program folder
# QR_DIST_DIR, whatever it holds when the package is made (quarrane.exe, README.txt,
# NoImage.bmp, envelope.dat, the ZIP licence). `ninja package` or `cpack` builds
# quarrane-<version>-setup.exe. It installs into Program Files\Quarrane (or /D=...),
# adds a Start-menu entry that starts the program in that folder (the program reads
# its files from its working folder), and its uninstaller removes what it installed;
# the user's data under ALLUSERSPROFILE\Quarrane is never touched. /S installs and
# uninstalls silently.
install(DIRECTORY "${QR_DIST_DIR}/" DESTINATION . USE_SOURCE_PERMISSIONS)

# Values reach the NSIS script as written here (quotes and backslashes kept).
set(CPACK_VERBATIM_VARIABLES TRUE)
set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME Quarrane)
set(CPACK_PACKAGE_VENDOR Quarrane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Addresses and prints No. 10 envelopes")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Quarrane)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Quarrane)
set(CPACK_PACKAGE_FILE_NAME "quarrane-${PROJECT_VERSION}-setup")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# A 64-bit installer for a 64-bit program: it also runs where only 64-bit Windows
# programs can (a Wine without 32-bit support).
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_PACKAGE_NAME Quarrane)
set(CPACK_NSIS_DISPLAY_NAME Quarrane)
set(CPACK_NSIS_MUI_ICON "${PROJECT_SOURCE_DIR}/src/app/res/quarrane.ico")
set(CPACK_NSIS_MUI_UNIICON "${PROJECT_SOURCE_DIR}/src/app/res/quarrane.ico")
set(CPACK_NSIS_INSTALLED_ICON_NAME quarrane.exe)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
# NSIS gives a shortcut the output folder of the moment as its working folder.
set(CPACK_NSIS_CREATE_ICONS_EXTRA
    "  SetOutPath \"$INSTDIR\"\n  CreateShortCut \"$SMPROGRAMS\\$STARTMENU_FOLDER\\Quarrane.lnk\" \"$INSTDIR\\quarrane.exe\"")
set(CPACK_NSIS_DELETE_ICONS_EXTRA "  Delete \"$SMPROGRAMS\\$MUI_TEMP\\Quarrane.lnk\"")
include(CPack)
