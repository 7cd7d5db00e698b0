# The Windows installer, made by CPack with NSIS: both programs and the texts in one folder under
# Program Files, a Start-menu shortcut to the editor, an uninstaller listed among the installed
# programs, and on request TVK Edit offered for opening TVK.DAT files.
# Included by packaging/CMakeLists.txt before CPack; needs tvk_windows_icon (the program's .ico).

set(CPACK_PACKAGE_INSTALL_DIRECTORY "TVK Edit")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "TVK Edit")
set(CPACK_NSIS_PACKAGE_NAME "TVK Edit")
set(CPACK_NSIS_DISPLAY_NAME "TVK Edit")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
# The programs sit in the installation folder itself, as in the zip.
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_PACKAGE_EXECUTABLES TVK_Edit "TVK Edit")
set(CPACK_NSIS_INSTALLED_ICON_NAME TVK_Edit.exe)
set(CPACK_NSIS_MUI_ICON ${tvk_windows_icon})
set(CPACK_NSIS_MUI_UNIICON ${tvk_windows_icon})
set(CPACK_NSIS_URL_INFO_ABOUT ${tvk_home_page})
set(CPACK_NSIS_CONTACT ${tvk_contact_address})
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)

# A 64-bit installer for the 64-bit programs: it writes to the 64-bit Program Files folder and
# registry view without redirection, and needs no 32-bit support in Windows (or Wine) either.
set(CPACK_NSIS_DEFINES "Target amd64-unicode
!include `${CMAKE_CURRENT_LIST_DIR}/association.nsh`")
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "!insertmacro TvkOfferAssociation")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "!insertmacro TvkRemoveAssociation")
