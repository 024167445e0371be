; What both installer packages share: the maker, the places they install to
; and register in, and the steps that close the tray program and remove an
; uninstaller's own folder once nothing runs from it.
;
; makensis is called by tools/package with
;   -DARCH=x86|x64      the package's architecture (x64: the amd64 stub)
;   -DRELEASE_DIR=...   the release build (programs, sim/, product_version.nsh)
;   -DDIST_DIR=...      where the package goes

!include "${RELEASE_DIR}/product_version.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WinMessages.nsh"

!define COMPANY "Halvex Multimedia"
!define COPYRIGHT "Copyright (C) 2002-2004 Halvex Multimedia"
!define UNINSTALL_ROOT "Software\Microsoft\Windows\CurrentVersion\Uninstall"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
; The tray program's window class and title (the class is its single-instance
; mark), and the name of its logon entry and shortcut.
!define TRAY_NAME "Corvane Remote Control"
!define UNINSTALLER "Uninstall.exe"

!if "${ARCH}" == "x64"
  Target amd64-unicode
  !define PROGRAM_FILES "$PROGRAMFILES64"
!else
  ; ANSI, like the programs it installs: runs on every Windows they run on.
  Target x86-ansi
  !define PROGRAM_FILES "$PROGRAMFILES"
!endif
!define COMPANY_DIR "${PROGRAM_FILES}\${COMPANY}"

SetCompressor /SOLID lzma
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show
BrandingText "${COMPANY}"

VIProductVersion "${PRODUCT_VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${COPYRIGHT}"
VIAddVersionKey /LANG=1033 "FileVersion" "${PRODUCT_VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${PRODUCT_VERSION}"

; Asks a running tray program to end (its window closes on WM_CLOSE) and waits
; until its program file is free, so it can be replaced or removed. Prefix
; "un." inside the uninstaller.
!macro CLOSE_TRAY_PROGRAM_FUNCTION PREFIX
Function ${PREFIX}CloseTrayProgram
  ; $0: the tray program's file, to wait for; an empty text waits for the window only.
  Exch $0
  Push $1
  Push $2
  StrCpy $2 0
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
    ${Else}
      SendMessage $1 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    ${EndIf}
    IntOp $2 $2 + 1
    ${IfThen} $2 > 300 ${|} ${Break} ${|}
    Sleep 100
  ${Loop}
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
; when that is empty. It gives up after an hour.
!macro REMOVE_FOLDER_WHEN_FREE FOLDER GATE
  Push $0
  Push $1
  ReadEnvStr $0 COMSPEC
  StrCpy $1 '/c for /l %i in (1,1,3600) do ((del /f /q "${FOLDER}\${GATE}" & if not exist "${FOLDER}\${GATE}" (del /f /q "${FOLDER}\${UNINSTALLER}" & if not exist "${FOLDER}\${UNINSTALLER}" (rmdir "${FOLDER}" & rmdir "${COMPANY_DIR}" & exit))) >nul 2>&1 & ping -n 2 127.0.0.1 >nul)'
  ; Not from inside the folder: a current directory keeps a folder.
  SetOutPath $TEMP
  ExecShell "" '"$0"' '$1' SW_HIDE
  Pop $1
  Pop $0
!macroend

; The entry in the system's list of installed programs. Its command runs the
; uninstaller in place (_?=): it returns only once the removal is done.
!macro WRITE_UNINSTALL_ENTRY KEY DISPLAY_NAME ICON
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  WriteRegStr HKLM "${UNINSTALL_ROOT}\${KEY}" "DisplayName" "${DISPLAY_NAME}"
  WriteRegStr HKLM "${UNINSTALL_ROOT}\${KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}" _?=$INSTDIR'
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
