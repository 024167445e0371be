; The utilities package: the tray program Telvix, the uninstall wizard Purgex
; with its texts, the key-map editor RemoteKeys, the logon entry and the
; Start-menu entries.
!include "product.nsh"
!include "MUI2.nsh"

!define PRODUCT "${UTILITIES_PRODUCT}"
!define ENTRY_KEY "${UTILITIES_KEY}"
!define OTHER_PRODUCT "${DRIVERS_PRODUCT}"
!define OTHER_ENTRY_KEY "${DRIVERS_KEY}"
!define MENU_DIR "$SMPROGRAMS\${PRODUCT}"

Name "${PRODUCT}"
OutFile "${DIST_DIR}/VelmoraUtilities-${PRODUCT_VERSION}-${ARCH}.exe"
InstallDir "${COMPANY_DIR}\${PRODUCT}"
; Installing again goes where it is installed.
InstallDirRegKey HKLM "${UNINSTALL_ROOT}\${ENTRY_KEY}" "InstallLocation"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"

!define MUI_ICON "${SOURCE_DIR}/res/telvix.ico"
!define MUI_UNICON "${SOURCE_DIR}/res/purgex.ico"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
; The uninstaller asks nothing: whoever starts it (the wizard after its Start,
; or the system's list of programs) has asked already. Its progress closes
; by itself.
!insertmacro MUI_UNPAGE_INSTFILES
; The same three languages as the wizard's texts; the system's picks.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "French"

!insertmacro CHECK_INSTALL_FUNCTION
!insertmacro CLOSE_TRAY_PROGRAM_FUNCTION ""
!insertmacro CLOSE_TRAY_PROGRAM_FUNCTION "un."
!insertmacro START_AS_DESKTOP_USER_FUNCTION
!insertmacro OPEN_SETTINGS_KEY_FUNCTION
!insertmacro SECURE_CHOSEN_FOLDER_FUNCTION

Function .onInit
  SetShellVarContext all
  Call CheckInstall
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section "Install"
  Call SecureChosenFolder
  ; An older Telvix must end before its file is replaced, in every session;
  ; the new one starts below.
  Push "$INSTDIR\Telvix.exe"
  Push "$INSTDIR\Telvix.exe"
  Call CloseTrayProgram
  Pop $0
  ${If} $0 == 0
    SetErrorLevel 2
    Abort "${TRAY_NAME} is still running: nothing was changed."
  ${EndIf}
  SetOutPath "$INSTDIR"
  File "${PACKAGE_DIR}/Telvix.exe"
  File "${PACKAGE_DIR}/Purgex.exe"
  File "${PACKAGE_DIR}/Purgex.ini"
  File "${PACKAGE_DIR}/RemoteKeys.exe"
  ; The key maps' examples; a file the owner has edited stays as it is.
  SetOverwrite off
  File "${PACKAGE_DIR}/KeyMaps.ini"
  SetOverwrite on

  ; The machine-wide Run value: the install and Telvix's settings are per
  ; machine, and no user can drop it by tidying a Startup folder.
  WriteRegStr HKLM "${RUN_KEY}" "${TRAY_NAME}" '"$INSTDIR\Telvix.exe"'
  Call OpenSettingsKeyToUsers

  CreateDirectory "${MENU_DIR}"
  CreateShortcut "${MENU_DIR}\${TRAY_NAME}.lnk" "$INSTDIR\Telvix.exe"
  CreateShortcut "${MENU_DIR}\${EDITOR_NAME}.lnk" "$INSTDIR\RemoteKeys.exe"
  CreateShortcut "${MENU_DIR}\Uninstall ${PRODUCT}.lnk" "$INSTDIR\Purgex.exe"

  !insertmacro WRITE_UNINSTALL_ENTRY "${ENTRY_KEY}" "${PRODUCT}" "$INSTDIR\Purgex.exe"

  ; Started now as at every logon, after a silent install too: an upgrade
  ; closed the running one above.
  Push "$INSTDIR\Telvix.exe"
  Call StartAsDesktopUser
SectionEnd

Section "Uninstall"
  SetAutoClose true
  ; The wizard closed it already; the system's list of programs did not.
  ; One that will not end loses its file at the next restart.
  Push "$INSTDIR\Telvix.exe"
  Push "$INSTDIR\Telvix.exe"
  Call un.CloseTrayProgram
  Pop $0
  Delete /REBOOTOK "$INSTDIR\Telvix.exe"
  ; An editor left open loses its file at the next restart, like Telvix.
  Delete /REBOOTOK "$INSTDIR\RemoteKeys.exe"
  Delete "$INSTDIR\Purgex.ini"
  Delete "$INSTDIR\KeyMaps.ini"
  ; Gone unless the wizard runs this removal; then the clean-up below takes it.
  Delete "$INSTDIR\Purgex.exe"

  Delete "${MENU_DIR}\${TRAY_NAME}.lnk"
  Delete "${MENU_DIR}\${EDITOR_NAME}.lnk"
  Delete "${MENU_DIR}\Uninstall ${PRODUCT}.lnk"
  RMDir "${MENU_DIR}"
  DeleteRegValue HKLM "${RUN_KEY}" "${TRAY_NAME}"
  ; Telvix's settings go with it: the wizard promises a complete removal, and
  ; an upgrade, which installs over the old version, keeps them. Only the
  ; values Telvix reads: whatever else is in the key is not ours to remove.
  DeleteRegValue HKLM "${SETTINGS_KEY}" "DefaultTVAPP"
  DeleteRegValue HKLM "${SETTINGS_KEY}" "AlwaysRemoteOff"
  DeleteRegValue HKLM "${SETTINGS_KEY}" "Trace"
  DeleteRegKey /ifempty HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "SOFTWARE\${COMPANY}"
  DeleteRegKey HKLM "${UNINSTALL_ROOT}\${ENTRY_KEY}"

  !insertmacro REMOVE_FOLDER_WHEN_FREE "$INSTDIR" "Purgex.exe"
SectionEnd
