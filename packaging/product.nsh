; What both installer packages share: the maker, the places they install to
; and register in, the checks that refuse an install that would break this or
; another installation, and the steps that close the tray program, start it as
; the desktop's user and remove an uninstaller's own folder once nothing runs
; from it.
;
; makensis is called by tools/package with
;   -DARCH=x86|x64      the package's architecture (x64: the amd64 stub)
;   -DRELEASE_DIR=...   the release build (its product_version.nsh)
;   -DPACKAGE_DIR=...   the files the package carries, every one with the
;                       commit's time (the programs, signed when signing,
;                       Purgex.ini, KeyMaps.ini, sim/)
;   -DDIST_DIR=...      where the package goes
; and, to sign, with
;   -DSIGN_COMMAND=...  what signs a file in place (tools/sign)

!include "${RELEASE_DIR}/product_version.nsh"
!ifdef SIGN_COMMAND
  ; The package once written, and the uninstaller it carries.
  !finalize '"${SIGN_COMMAND}" "%1"'
  !uninstfinalize '"${SIGN_COMMAND}" "%1"'
!endif
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WinMessages.nsh"
!include "WinVer.nsh"
!include "x64.nsh"

!define COMPANY "Halvex Multimedia"
!define COPYRIGHT "Copyright (C) 2002-2004 Halvex Multimedia"
!define UNINSTALL_ROOT "Software\Microsoft\Windows\CurrentVersion\Uninstall"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The tray program's window class and title (the class is its single-instance
; mark), and the name of its logon entry and shortcut.
!define TRAY_NAME "Corvane Remote Control"
; The key-map editor's shortcut.
!define EDITOR_NAME "Corvane Remote Keys"
!define UNINSTALLER "Uninstall.exe"
!define UTILITIES_PRODUCT "Velmora Utilities"
!define UTILITIES_KEY "VelmoraUtilities"
!define DRIVERS_PRODUCT "Velmora WDM Drivers"
!define DRIVERS_KEY "VelmoraWDMDrivers"
; Telvix's settings, per machine; Telvix runs as whoever logs on.
!define SETTINGS_KEY "SOFTWARE\${COMPANY}\Corvane Utilities"
; The longest folder that every program taking its path can use. The wizard
; reads its own path into 128 bytes: 116 characters, "\Purgex.exe" and the
; terminator. (The uninstall entry's command holds the folder twice,
; '"<folder>\Uninstall.exe" _?=<folder>', 2 x length + 20 characters of the
; 255 the wizard reads, which allows 117.)
!define MAX_FOLDER_LENGTH 116
; How long an ending tray program may take before the person is asked.
!define TRAY_CLOSE_MS 30000

!if "${ARCH}" == "x64"
  Target amd64-unicode
  !define PROGRAM_FILES "$PROGRAMFILES64"
  !define ARCH_NAME "64-bit (x64)"
  !define OTHER_ARCH_NAME "32-bit (x86)"
  ; An empty VARIANT: passed by value, the x64 convention hands over its address.
  !define VARIANT_SIZE 24
!else
  ; ANSI, like the programs it installs: runs on every Windows they run on.
  Target x86-ansi
  !define PROGRAM_FILES "$PROGRAMFILES"
  !define ARCH_NAME "32-bit (x86)"
  !define OTHER_ARCH_NAME "64-bit (x64)"
  !define VARIANT_SIZE 16
!endif
; PROCESSENTRY32 (the ANSI one, whatever the target): its size; the process
; id is at offset 8 in both.
!if "${ARCH}" == "x64"
  !define PROCESSENTRY_SIZE 304
!else
  !define PROCESSENTRY_SIZE 296
!endif
!define COMPANY_DIR "${PROGRAM_FILES}\${COMPANY}"

SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true
ShowInstDetails show
ShowUninstDetails show
BrandingText "${COMPANY}"

VIProductVersion "${PRODUCT_VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COPYRIGHT}"
VIAddVersionKey /LANG=1033 "FileVersion" "${PRODUCT_VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${PRODUCT_VERSION}"

; Refuses the install before anything is written: a message (answered by
; itself in a silent install) and exit code 2.
!macro REFUSE_INSTALL TEXT
  MessageBox MB_ICONSTOP|MB_OK "${TEXT}" /SD IDOK
  SetErrorLevel 2
  Quit
!macroend

; The checks of .onInit, once $INSTDIR is final (from /D=, the installed
; folder or the default). The including script defines PRODUCT, ENTRY_KEY,
; OTHER_PRODUCT and OTHER_ENTRY_KEY first.
!macro CHECK_INSTALL_FUNCTION
Function CheckInstall
  Push $0
  Push $1
  Push $2
  ; Without UAC (XP, or UAC turned off) a standard user gets this far, and
  ; every write to the machine's keys and Program Files would fail.
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    !insertmacro REFUSE_INSTALL "${PRODUCT} is installed for every user of this computer. Run its setup as an administrator."
  ${EndIf}

  ; Packages of both architectures on one machine would register twice and
  ; pair a tray program with a driver it cannot load.
  StrCpy $1 ""
  !if "${ARCH}" == "x64"
    SetRegView 32
    ReadRegStr $0 HKLM "${UNINSTALL_ROOT}\${UTILITIES_KEY}" "DisplayName"
    ReadRegStr $1 HKLM "${UNINSTALL_ROOT}\${DRIVERS_KEY}" "DisplayName"
    StrCpy $1 "$0$1"
    SetRegView default
  !else
    ${If} ${RunningX64}
      SetRegView 64
      ReadRegStr $0 HKLM "${UNINSTALL_ROOT}\${UTILITIES_KEY}" "DisplayName"
      ReadRegStr $1 HKLM "${UNINSTALL_ROOT}\${DRIVERS_KEY}" "DisplayName"
      StrCpy $1 "$0$1"
      SetRegView default
    ${EndIf}
  !endif
  ${If} $1 != ""
    !insertmacro REFUSE_INSTALL "The ${OTHER_ARCH_NAME} Velmora packages are installed on this computer. Remove them (Uninstall ${UTILITIES_PRODUCT}) before you install the ${ARCH_NAME} ones."
  ${EndIf}

  StrLen $0 $INSTDIR
  ${If} $0 > ${MAX_FOLDER_LENGTH}
    !insertmacro REFUSE_INSTALL "The folder $INSTDIR is too long for ${PRODUCT}. Choose a folder of at most ${MAX_FOLDER_LENGTH} characters."
  ${EndIf}

  ; The clean-up after an uninstall is a command line: there % and ! would
  ; expand and aim its deletions elsewhere.
  StrCpy $1 0
  ${DoWhile} $1 < $0
    StrCpy $2 $INSTDIR 1 $1
    ${If} $2 == "%"
    ${OrIf} $2 == "!"
      !insertmacro REFUSE_INSTALL "The folder $INSTDIR contains $\"$2$\". Choose a folder for ${PRODUCT} whose name has no $\"%$\" and no $\"!$\"."
    ${EndIf}
    IntOp $1 $1 + 1
  ${Loop}

  ; Both packages name their uninstaller alike: sharing a folder, one would
  ; replace the other's, and removing one would remove the other's files.
  ReadRegStr $0 HKLM "${UNINSTALL_ROOT}\${OTHER_ENTRY_KEY}" "InstallLocation"
  ${If} $0 == $INSTDIR
    !insertmacro REFUSE_INSTALL "The folder $INSTDIR is where ${OTHER_PRODUCT} is installed. Choose another folder for ${PRODUCT}."
  ${EndIf}
  ReadRegStr $0 HKLM "${UNINSTALL_ROOT}\${ENTRY_KEY}" "InstallLocation"
  ${If} ${FileExists} "$INSTDIR\${UNINSTALLER}"
  ${AndIf} $0 != $INSTDIR
    !insertmacro REFUSE_INSTALL "The folder $INSTDIR holds another program's uninstaller (${UNINSTALLER}). Choose another folder for ${PRODUCT}."
  ${EndIf}

  ; A folder of one's own choosing is made writable by administrators only
  ; (SecureChosenFolder): that is never done to a folder holding other files.
  ; The default folder is both scripts' InstallDir.
  ${If} $INSTDIR != "${COMPANY_DIR}\${PRODUCT}"
  ${AndIf} $0 != $INSTDIR
    FindFirst $1 $2 "$INSTDIR\*.*"
    ${Do}
      ${If} $2 != "."
      ${AndIf} $2 != ".."
        ${Break}
      ${EndIf}
      FindNext $1 $2
    ${Loop}
    FindClose $1
    ${If} $2 != ""
      !insertmacro REFUSE_INSTALL "The folder $INSTDIR holds other files. Choose a new or empty folder for ${PRODUCT}: only administrators may change what is installed in it."
    ${EndIf}
  ${EndIf}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend

; Before anything is copied there, a folder other than the default one gets
; an access list that lets only administrators and the system change it; users
; may read and run what is in it. The logon entry starts its Telvix.exe in every
; user's session and Purgex.exe asks for administrator rights: whoever could
; replace them would gain those rights. The owner becomes the Administrators
; group, or a user who made the folder could grant himself writing again. A
; folder whose list cannot be set refuses the install (one made for it goes).
!define CHOSEN_FOLDER_SDDL "O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200A9;;;BU)"
!macro SECURE_CHOSEN_FOLDER_FUNCTION
Function SecureChosenFolder
  ; The default folder keeps the list it inherits from Program Files.
  ${If} $INSTDIR == "${COMPANY_DIR}\${PRODUCT}"
    Return
  ${EndIf}
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $R0
  StrCpy $4 ""
  ${IfNot} ${FileExists} "$INSTDIR\*.*"
    CreateDirectory $INSTDIR
    StrCpy $4 "made"
  ${EndIf}
  System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptor(t "${CHOSEN_FOLDER_SDDL}", i 1, *p .r1, p 0) i .r0'
  ${If} $0 = 0
    StrCpy $0 "no security descriptor"
  ${Else}
    System::Call 'advapi32::GetSecurityDescriptorOwner(p r1, *p .r2, *i .R0)'
    System::Call 'advapi32::GetSecurityDescriptorDacl(p r1, *i .R0, *p .r3, *i .R0)'
    ; SE_FILE_OBJECT; OWNER | DACL | PROTECTED_DACL_SECURITY_INFORMATION; the
    ; inheritable entries reach what the folder already holds.
    System::Call 'advapi32::SetNamedSecurityInfo(t "$INSTDIR", i 1, i 0x80000005, p r2, p 0, p r3, p 0) i .r0'
    System::Call 'kernel32::LocalFree(p r1)'
  ${EndIf}
  ${If} $0 != 0
    ${IfThen} $4 == "made" ${|} RMDir $INSTDIR ${|}
    !insertmacro REFUSE_INSTALL "Only administrators could be allowed to change the folder $INSTDIR (error $0). Choose another folder for ${PRODUCT}."
  ${EndIf}
  DetailPrint "Only administrators may change $INSTDIR."
  Pop $R0
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend

; Ends every process that runs PROGRAM where no window message of ours gets:
; another user's Telvix (fast user switching: another session, its own
; desktop) keeps the file in use. It has nothing to save, and its icon leaves
; that user's tray. Found by the full path of each process's image (Windows
; Vista and later; before, none is found). Takes the program's path ("" ends
; nothing). Prefix "un." inside the uninstaller.
!macro END_TRAY_PROGRAMS_ELSEWHERE_FUNCTION PREFIX
Function ${PREFIX}EndTrayProgramsElsewhere
  Exch $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  ${If} $0 != ""
    ; TH32CS_SNAPPROCESS: the processes of every session
    System::Call 'kernel32::CreateToolhelp32Snapshot(i 2, i 0) p .r1'
    System::Alloc ${PROCESSENTRY_SIZE}
    Pop $2
    System::Call '*$2(i ${PROCESSENTRY_SIZE})'
    System::Call 'kernel32::Process32First(p r1, p r2) i .r3'
    ${DoWhile} $3 <> 0
      System::Call '*$2(i, i, i .r4)'
      ; PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION
      System::Call 'kernel32::OpenProcess(i 0x101001, i 0, i r4) p .r5'
      ${If} $5 <> 0
        StrCpy $3 ""
        System::Call 'kernel32::QueryFullProcessImageName(p r5, i 0, t .r3, *i ${NSIS_MAX_STRLEN})'
        ${If} $3 == $0
          System::Call 'kernel32::TerminateProcess(p r5, i 1)'
          System::Call 'kernel32::WaitForSingleObject(p r5, i 5000)'
          DetailPrint "Ended $0 (process $4), which ran out of reach of its window message."
        ${EndIf}
        System::Call 'kernel32::CloseHandle(p r5)'
      ${EndIf}
      System::Call 'kernel32::Process32Next(p r1, p r2) i .r3'
    ${Loop}
    System::Free $2
    System::Call 'kernel32::CloseHandle(p r1)'
  ${EndIf}
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend

; Asks a running tray program to end (its window closes on WM_CLOSE) and waits
; until FILE is free, so it can be replaced or removed; once no window is left
; on this desktop, every Telvix that runs PROGRAM elsewhere is ended. After
; TRAY_CLOSE_MS the person may wait again or give up (a silent run gives up).
; Takes PROGRAM, then FILE on top (an empty FILE waits for the window only);
; leaves 1 on the stack when it ended, 0 when given up. Prefix "un." inside
; the uninstaller, which also inserts END_TRAY_PROGRAMS_ELSEWHERE_FUNCTION.
!macro CLOSE_TRAY_PROGRAM_FUNCTION PREFIX
!insertmacro END_TRAY_PROGRAMS_ELSEWHERE_FUNCTION "${PREFIX}"
Function ${PREFIX}CloseTrayProgram
  Exch $0
  Exch
  Exch $3
  Push $1
  Push $2
  System::Call 'kernel32::GetTickCount() i .r2'
  ${Do}
    FindWindow $1 "${TRAY_NAME}"
    ${If} $1 == 0
      ${IfThen} $0 == "" ${|} ${Break} ${|}
      ${IfNot} ${FileExists} $0
        ${Break}
      ${EndIf}
      ; Still mapped while the process ends: opening it for writing tells.
      ClearErrors
      FileOpen $1 $0 a
      ${IfNot} ${Errors}
        FileClose $1
        ${Break}
      ${EndIf}
      Push $3
      Call ${PREFIX}EndTrayProgramsElsewhere
    ${Else}
      SendMessage $1 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    ${EndIf}
    ; Elapsed milliseconds, right across the tick counter's wrap.
    System::Call 'kernel32::GetTickCount() i .r1'
    IntOp $1 $1 - $2
    IntOp $1 $1 & 0xFFFFFFFF
    ${If} $1 > ${TRAY_CLOSE_MS}
      !if "${PREFIX}" == "un."
        MessageBox MB_ICONEXCLAMATION|MB_RETRYCANCEL "${TRAY_NAME} does not end. Close it and choose Retry, or choose Cancel to have its files removed when Windows restarts." /SD IDCANCEL IDRETRY retryClose
      !else
        MessageBox MB_ICONEXCLAMATION|MB_RETRYCANCEL "${TRAY_NAME} does not end. Close it and choose Retry, or choose Cancel to stop the installation." /SD IDCANCEL IDRETRY retryClose
      !endif
      StrCpy $0 0
      ${Break}
      retryClose:
      System::Call 'kernel32::GetTickCount() i .r2'
    ${EndIf}
    Sleep 100
  ${Loop}
  ${If} $0 != 0
    StrCpy $0 1
  ${EndIf}
  Pop $2
  Pop $1
  Pop $3
  Exch $0
FunctionEnd
!macroend

; Starts a program as the desktop's user, through the desktop shell's own
; IShellDispatch2::ShellExecute: a program started by the installer would
; inherit its administrator rights (and, elevated over the shoulder, run as
; the administrator on the user's desktop). Not at all as SYSTEM or without
; an interactive desktop (a service, session 0): there it would run where the
; user's own copy cannot see it; the logon entry starts it. Takes the program.
!macro START_AS_DESKTOP_USER_FUNCTION
Function StartAsDesktopUser
  Exch $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  Push $7
  Push $8
  Push $9
  Push $R0
  Push $R1
  Push $R2
  Push $R3

  ; $2 stays 0 while each step succeeds.
  StrCpy $2 0
  System::Alloc 256
  Pop $3
  System::Call 'advapi32::OpenProcessToken(p -1, i 8, *p .r1) i .r4'
  ${If} $4 <> 0
    System::Call 'advapi32::GetTokenInformation(p r1, i 1, p r3, i 256, *i .r4) i .r4'
    System::Call 'kernel32::CloseHandle(p r1)'
  ${EndIf}
  ${If} $4 <> 0
    System::Call '*$3(p .r4)'
    System::Call 'advapi32::IsWellKnownSid(p r4, i 22) i .r4'
    ${IfThen} $4 <> 0 ${|} StrCpy $2 "the installer runs as SYSTEM" ${|}
  ${EndIf}
  System::Free $3
  System::Call 'user32::GetProcessWindowStation() p .r1'
  System::Call 'user32::GetUserObjectInformation(p r1, i 2, t .r4, i ${NSIS_MAX_STRLEN}, p 0)'
  ${IfThen} $4 != "WinSta0" ${|} StrCpy $2 "no interactive desktop" ${|}
  ${If} ${AtLeastWinVista}
    System::Call 'kernel32::GetCurrentProcessId() i .r1'
    System::Call 'kernel32::ProcessIdToSessionId(i r1, *i .r4)'
    ${IfThen} $4 = 0 ${|} StrCpy $2 "no interactive desktop" ${|}
  ${EndIf}

  StrCpy $1 0
  StrCpy $5 0
  StrCpy $6 0
  StrCpy $7 0
  StrCpy $8 0
  StrCpy $9 0
  StrCpy $R0 0
  StrCpy $R1 0
  StrCpy $R2 0
  ; The install runs on a thread of its own: COM for this thread.
  System::Call 'ole32::CoInitialize(p 0) i .R3'
  System::Alloc ${VARIANT_SIZE}
  Pop $3
  ${If} $2 == 0
    ; CLSID_ShellWindows, IID_IShellWindows
    System::Call 'ole32::CoCreateInstance(g "{9BA05972-F6A8-11CF-A442-00A0C90A8F39}", p 0, i 4, g "{85CB6900-4D95-11CF-960C-0080C7F4EE85}", *p .r1) i .r2'
  ${EndIf}
  ${If} $2 == 0
    ; FindWindowSW(SWC_DESKTOP, SWFO_NEEDDISPATCH): the desktop's browser.
    System::Call '$1->15(p r3, p r3, i 8, *i .r4, i 1, *p .r5) i .r2'
    ${IfThen} $5 == 0 ${|} StrCpy $2 "no desktop shell" ${|}
  ${EndIf}
  ${If} $2 == 0
    ; IServiceProvider, then SID_STopLevelBrowser's IShellBrowser
    System::Call '$5->0(g "{6D5140C1-7436-11CE-8034-00AA006009FA}", *p .r6) i .r2'
  ${EndIf}
  ${If} $2 == 0
    System::Call '$6->3(g "{4C96BE40-915C-11CF-99D3-00AA004AE837}", g "{000214E2-0000-0000-C000-000000000046}", *p .r7) i .r2'
  ${EndIf}
  ${If} $2 == 0
    ; IShellBrowser::QueryActiveShellView
    System::Call '$7->15(*p .r8) i .r2'
  ${EndIf}
  ${If} $2 == 0
    ; IShellView::GetItemObject(SVGIO_BACKGROUND, IID_IDispatch)
    System::Call '$8->15(i 0, g "{00020400-0000-0000-C000-000000000046}", *p .r9) i .r2'
  ${EndIf}
  ${If} $2 == 0
    ; IShellFolderViewDual, its Application
    System::Call '$9->0(g "{E7A1AF80-4D96-11CF-960C-0080C7F4EE85}", *p .R0) i .r2'
  ${EndIf}
  ${If} $2 == 0
    System::Call '$R0->7(*p .R1) i .r2'
  ${EndIf}
  ${If} $2 == 0
    ; IShellDispatch2::ShellExecute(file, empty arguments, folder, verb, show)
    System::Call '$R1->0(g "{A4C6892C-3BA9-11D2-9DEA-00C04FB16162}", *p .R2) i .r2'
  ${EndIf}
  ${If} $2 == 0
    System::Call 'oleaut32::SysAllocString(w r0) p .r4'
    !if "${ARCH}" == "x64"
      System::Call '$R2->31(p r4, p r3, p r3, p r3, p r3) i .r2'
    !else
      System::Call '$R2->31(p r4, i 0, i 0, i 0, i 0, i 0, i 0, i 0, i 0, i 0, i 0, i 0, i 0, i 0, i 0, i 0, i 0) i .r2'
    !endif
    System::Call 'oleaut32::SysFreeString(p r4)'
  ${EndIf}
  !insertmacro RELEASE_COM $R2
  !insertmacro RELEASE_COM $R1
  !insertmacro RELEASE_COM $R0
  !insertmacro RELEASE_COM $9
  !insertmacro RELEASE_COM $8
  !insertmacro RELEASE_COM $7
  !insertmacro RELEASE_COM $6
  !insertmacro RELEASE_COM $5
  !insertmacro RELEASE_COM $1
  System::Free $3
  ${If} $R3 >= 0
    System::Call 'ole32::CoUninitialize()'
  ${EndIf}
  ${If} $2 == 0
    DetailPrint "Started as the desktop's user: $0"
  ${Else}
    DetailPrint "Not started now ($2): $0 starts at the next logon."
  ${EndIf}

  Pop $R3
  Pop $R2
  Pop $R1
  Pop $R0
  Pop $9
  Pop $8
  Pop $7
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend

!macro RELEASE_COM POINTER
  ${If} ${POINTER} != 0
    System::Call '${POINTER}->2()'
  ${EndIf}
!macroend

; Every user may read and set Telvix's settings (it runs as whoever logs on,
; and opens its key to query and set values): KEY_READ | KEY_SET_VALUE on the
; key itself, nothing inherited, so no user can take the key, change its list,
; delete it or plant subkeys for the elevated uninstaller to remove.
; Administrators and the system keep full control. The key is created in the
; installer's own registry view, the one the programs of this package read.
!define SETTINGS_KEY_SDDL "D:P(A;CI;KA;;;SY)(A;CI;KA;;;BA)(A;;0x2001B;;;BU)"
!macro OPEN_SETTINGS_KEY_FUNCTION
Function OpenSettingsKeyToUsers
  Push $0
  Push $1
  Push $2
  ; HKEY_LOCAL_MACHINE as the sign-extended handle value, KEY_ALL_ACCESS
  System::Call 'advapi32::RegCreateKeyEx(p -2147483646, t "${SETTINGS_KEY}", i 0, p 0, i 0, i 0xF003F, p 0, *p .r1, p 0) i .r0'
  ${If} $0 = 0
    System::Call 'advapi32::ConvertStringSecurityDescriptorToSecurityDescriptor(t "${SETTINGS_KEY_SDDL}", i 1, *p .r2, p 0) i .r0'
    ${If} $0 <> 0
      ; DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION
      System::Call 'advapi32::RegSetKeySecurity(p r1, i 0x80000004, p r2) i .r0'
      System::Call 'kernel32::LocalFree(p r2)'
    ${Else}
      StrCpy $0 "no security descriptor"
    ${EndIf}
    System::Call 'advapi32::RegCloseKey(p r1)'
  ${EndIf}
  ${If} $0 != 0
    DetailPrint "The settings key's access could not be set ($0): only administrators may change the settings."
  ${EndIf}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend

; The uninstaller runs from the folder it removes (started with _?=, so that
; whoever started it waits for the whole removal) and cannot delete itself;
; nor can any program that still runs from that folder (the wizard that
; started the removal). A hidden command processor, which is no file of ours,
; polls once a second: once GATE (the last of our programs to end) can be
; deleted, it deletes the uninstaller and the folder, and the maker's folder
; when that is empty. It gives up after an hour. /d: no AutoRun command of the
; machine or the user runs with it. Files that stay in use until a restart
; (REBOOTOK) take their folder with them then.
!macro REMOVE_FOLDER_WHEN_FREE FOLDER GATE
  Push $0
  StrCpy $0 '/d /c for /l %i in (1,1,3600) do ((del /f /q "${FOLDER}\${GATE}" & if not exist "${FOLDER}\${GATE}" (del /f /q "${FOLDER}\${UNINSTALLER}" & if not exist "${FOLDER}\${UNINSTALLER}" (rmdir "${FOLDER}" & rmdir "${COMPANY_DIR}" & exit))) >nul 2>&1 & ping -n 2 127.0.0.1 >nul)'
  ; Not from inside the folder: a current directory keeps a folder.
  SetOutPath $TEMP
  ExecShell "" '"$SYSDIR\cmd.exe"' '$0' SW_HIDE
  ${If} ${RebootFlag}
    RMDir /REBOOTOK "${FOLDER}"
    RMDir /REBOOTOK "${COMPANY_DIR}"
  ${EndIf}
  Pop $0
!macroend

; The entry in the system's list of installed programs. Its command runs the
; uninstaller in place (_?=): it returns only once the removal is done.
!macro WRITE_UNINSTALL_ENTRY KEY DISPLAY_NAME ICON
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  WriteRegStr HKLM "${UNINSTALL_ROOT}\${KEY}" "DisplayName" "${DISPLAY_NAME}"
  WriteRegStr HKLM "${UNINSTALL_ROOT}\${KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}" _?=$INSTDIR'
  WriteRegStr HKLM "${UNINSTALL_ROOT}\${KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S _?=$INSTDIR'
  WriteRegStr HKLM "${UNINSTALL_ROOT}\${KEY}" "DisplayVersion" "${PRODUCT_VERSION}"
  WriteRegStr HKLM "${UNINSTALL_ROOT}\${KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKLM "${UNINSTALL_ROOT}\${KEY}" "DisplayIcon" "${ICON}"
  WriteRegStr HKLM "${UNINSTALL_ROOT}\${KEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD HKLM "${UNINSTALL_ROOT}\${KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_ROOT}\${KEY}" "NoRepair" 1
  Push $0
  Push $1
  Push $2
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_ROOT}\${KEY}" "EstimatedSize" $0
  Pop $2
  Pop $1
  Pop $0
!macroend
