; The driver package, stand-in for the card's driver set: installs the
; simulated tuner card's capture driver (simcard.dll) and registers it the way
; regsvr32 does by hand, under its default friendly name (SIMCARD_NAME and
; SIMCARD_SLOT, when set, choose another, as with regsvr32). remote.exe, which
; presses the simulated remote's keys, comes along.
!addincludedir "${SOURCE_DIR}/packaging"
!include "product.nsh"
!include "MUI2.nsh"

!define PRODUCT "Velmora WDM Drivers"
!define ENTRY_KEY "VelmoraWDMDrivers"

Name "${PRODUCT}"
OutFile "${DIST_DIR}/VelmoraWDMDrivers-${PRODUCT_VERSION}-${ARCH}.exe"
InstallDir "${COMPANY_DIR}\${PRODUCT}"
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
!insertmacro CLOSE_TRAY_PROGRAM_FUNCTION ""
!insertmacro CLOSE_TRAY_PROGRAM_FUNCTION "un."

Var trayWasRunning

Section "Install"
  FindWindow $trayWasRunning "${TRAY_NAME}"
  Push "$INSTDIR\simcard.dll"
  Call CloseTrayProgram
  SetOutPath "$INSTDIR"
  File "${RELEASE_DIR}/sim/simcard.dll"
  File "${RELEASE_DIR}/sim/remote.exe"
  ExecWait '"$SYSDIR\regsvr32.exe" /s "$INSTDIR\simcard.dll"' $0
  ${If} $0 != 0
    ; Nothing half-installed stays behind.
    Delete "$INSTDIR\simcard.dll"
    Delete "$INSTDIR\remote.exe"
    SetOutPath $TEMP
    RMDir "$INSTDIR"
    RMDir "${COMPANY_DIR}"
    MessageBox MB_ICONSTOP "regsvr32 could not register the capture driver (exit code $0)." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  !insertmacro WRITE_UNINSTALL_ENTRY "${ENTRY_KEY}" "${PRODUCT}" "$INSTDIR\${UNINSTALLER}"

  ; A tray program closed for the update comes back the way it starts at logon.
  ${If} $trayWasRunning != 0
    ReadRegStr $0 HKLM "${RUN_KEY}" "${TRAY_NAME}"
    ${IfThen} $0 != "" ${|} Exec $0 ${|}
  ${EndIf}
SectionEnd

Section "Uninstall"
  SetAutoClose true
  Push "$INSTDIR\simcard.dll"
  Call un.CloseTrayProgram
  ExecWait '"$SYSDIR\regsvr32.exe" /s /u "$INSTDIR\simcard.dll"'
  Delete "$INSTDIR\simcard.dll"
  Delete "$INSTDIR\remote.exe"
  DeleteRegKey HKLM "${UNINSTALL_ROOT}\${ENTRY_KEY}"
  !insertmacro REMOVE_FOLDER_WHEN_FREE "$INSTDIR" "${UNINSTALLER}"
SectionEnd
