; The driver package, stand-in for the card's driver set: installs the
; simulated tuner card's capture driver (simcard.dll) and registers it the way
; regsvr32 does by hand, under its default friendly name (SIMCARD_NAME and
; SIMCARD_SLOT, when set, choose another, as with regsvr32). remote.exe, which
; presses the simulated remote's keys, comes along.
!addincludedir "${SOURCE_DIR}/packaging"
!include "product.nsh"
!include "MUI2.nsh"

!define PRODUCT "${DRIVERS_PRODUCT}"
!define ENTRY_KEY "${DRIVERS_KEY}"
!define OTHER_PRODUCT "${UTILITIES_PRODUCT}"
!define OTHER_ENTRY_KEY "${UTILITIES_KEY}"

Name "${PRODUCT}"
OutFile "${DIST_DIR}/VelmoraWDMDrivers-${PRODUCT_VERSION}-${ARCH}.exe"
InstallDir "${COMPANY_DIR}\${PRODUCT}"
; Installing again goes where it is installed.
InstallDirRegKey HKLM "${UNINSTALL_ROOT}\${ENTRY_KEY}" "InstallLocation"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "FileDescription" "${PRODUCT} Setup"

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "German"
!insertmacro MUI_LANGUAGE "French"

; Telvix holds the driver while it runs.
!insertmacro CHECK_INSTALL_FUNCTION
!insertmacro CLOSE_TRAY_PROGRAM_FUNCTION ""
!insertmacro CLOSE_TRAY_PROGRAM_FUNCTION "un."
!insertmacro START_AS_DESKTOP_USER_FUNCTION

!insertmacro SECURE_CHOSEN_FOLDER_FUNCTION

Function .onInit
  Call CheckInstall
FunctionEnd

; Leaves on the stack the installed utilities' Telvix.exe, the program that
; holds the driver, or "" when the utilities are not installed.
!macro INSTALLED_TELVIX_FUNCTION PREFIX
Function ${PREFIX}InstalledTelvix
  Push $0
  ReadRegStr $0 HKLM "${UNINSTALL_ROOT}\${UTILITIES_KEY}" "InstallLocation"
  ${IfThen} $0 != "" ${|} StrCpy $0 "$0\Telvix.exe" ${|}
  Exch $0
FunctionEnd
!macroend
!insertmacro INSTALLED_TELVIX_FUNCTION ""
!insertmacro INSTALLED_TELVIX_FUNCTION "un."

Var trayWasRunning
; Where a previous installation's files wait while this one registers, or "".
Var previous

; Registers the driver in $INSTDIR under the name and slot in the
; environment; leaves regsvr32's exit code on the stack.
Function RegisterDriver
  Push $0
  ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\simcard.dll"' $0
  Exch $0
FunctionEnd

; Sets the environment's SIMCARD_NAME and SIMCARD_SLOT to what the previous
; installation recorded (unset where it recorded none), for its re-registration.
Function UsePreviousCardChoice
  Push $0
  ReadRegStr $0 HKLM "${UNINSTALL_ROOT}\${ENTRY_KEY}" "CardName"
  ${If} $0 == ""
    System::Call 'kernel32::SetEnvironmentVariable(t "SIMCARD_NAME", p 0)'
  ${Else}
    System::Call 'kernel32::SetEnvironmentVariable(t "SIMCARD_NAME", t r0)'
  ${EndIf}
  ReadRegStr $0 HKLM "${UNINSTALL_ROOT}\${ENTRY_KEY}" "CardSlot"
  ${If} $0 == ""
    System::Call 'kernel32::SetEnvironmentVariable(t "SIMCARD_SLOT", p 0)'
  ${Else}
    System::Call 'kernel32::SetEnvironmentVariable(t "SIMCARD_SLOT", t r0)'
  ${EndIf}
  Pop $0
FunctionEnd

Section "Install"
  Call SecureChosenFolder
  FindWindow $trayWasRunning "${TRAY_NAME}"
  Call InstalledTelvix
  Push "$INSTDIR\simcard.dll"
  Call CloseTrayProgram
  Pop $0
  ${If} $0 == 0
    SetErrorLevel 2
    Abort "${TRAY_NAME} is still running: nothing was changed."
  ${EndIf}

  ; A previous installation here stays whole if this one fails: its files
  ; are kept aside until the new driver is registered.
  StrCpy $previous ""
  ReadRegStr $0 HKLM "${UNINSTALL_ROOT}\${ENTRY_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
  ${AndIf} ${FileExists} "$INSTDIR\simcard.dll"
    InitPluginsDir
    StrCpy $previous "$PLUGINSDIR\previous"
    CreateDirectory $previous
    CopyFiles /SILENT "$INSTDIR\simcard.dll" $previous
    CopyFiles /SILENT "$INSTDIR\remote.exe" $previous
  ${EndIf}

  SetOutPath "$INSTDIR"
  File "${PACKAGE_DIR}/sim/simcard.dll"
  File "${PACKAGE_DIR}/sim/remote.exe"
  Call RegisterDriver
  Pop $1
  ${If} $1 != 0
    ; Whatever part of the registration was written goes; then the previous
    ; driver comes back, registered as it was, or nothing stays behind.
    ExecWait '"$SYSDIR\regsvr32.exe" /s /u "$INSTDIR\simcard.dll"'
    ${If} $previous != ""
      CopyFiles /SILENT "$previous\simcard.dll" "$INSTDIR"
      CopyFiles /SILENT "$previous\remote.exe" "$INSTDIR"
      Call UsePreviousCardChoice
      Call RegisterDriver
      Pop $0
      ${IfThen} $0 != 0 ${|} DetailPrint "The previous driver could not be registered again (exit code $0)." ${|}
    ${Else}
      Delete "$INSTDIR\simcard.dll"
      Delete "$INSTDIR\remote.exe"
      SetOutPath $TEMP
      RMDir "$INSTDIR"
      RMDir "${COMPANY_DIR}"
    ${EndIf}
    MessageBox MB_ICONSTOP "regsvr32 could not register the capture driver (exit code $1)." /SD IDOK
    SetErrorLevel 2
  ${Else}
    !insertmacro WRITE_UNINSTALL_ENTRY "${ENTRY_KEY}" "${PRODUCT}" "$INSTDIR\${UNINSTALLER}"
    ; What this installation registered, should a later one have to restore it.
    ReadEnvStr $0 SIMCARD_NAME
    WriteRegStr HKLM "${UNINSTALL_ROOT}\${ENTRY_KEY}" "CardName" $0
    ReadEnvStr $0 SIMCARD_SLOT
    WriteRegStr HKLM "${UNINSTALL_ROOT}\${ENTRY_KEY}" "CardSlot" $0
  ${EndIf}

  ; A tray program closed for the update comes back the way it starts at
  ; logon, as the desktop's user.
  ${If} $trayWasRunning != 0
    ReadRegStr $0 HKLM "${RUN_KEY}" "${TRAY_NAME}"
    StrCpy $2 $0 1
    ${If} $2 == '"'
      StrCpy $0 $0 "" 1
      StrCpy $0 $0 -1
    ${EndIf}
    ${If} $0 != ""
      Push $0
      Call StartAsDesktopUser
    ${EndIf}
  ${EndIf}
  ${IfThen} $1 != 0 ${|} Abort ${|}
SectionEnd

Section "Uninstall"
  SetAutoClose true
  ; A tray program that will not end keeps the driver until the next restart.
  Call un.InstalledTelvix
  Push "$INSTDIR\simcard.dll"
  Call un.CloseTrayProgram
  Pop $0
  ExecWait '"$SYSDIR\regsvr32.exe" /s /u "$INSTDIR\simcard.dll"'
  Delete /REBOOTOK "$INSTDIR\simcard.dll"
  Delete /REBOOTOK "$INSTDIR\remote.exe"
  DeleteRegKey HKLM "${UNINSTALL_ROOT}\${ENTRY_KEY}"
  !insertmacro REMOVE_FOLDER_WHEN_FREE "$INSTDIR" "${UNINSTALLER}"
SectionEnd
