; The per-user installer of Tabcard: the program, its help and 読んでください.txt
; into %LOCALAPPDATA%\Programs\Tabcard, a Start-menu shortcut that starts it in
; Documents\Tabcard (where its memo files go), and an entry in Apps & features.
; No administrator rights. scripts/release.sh builds it and passes VERSION,
; FILEVERSION (a.b.c.d), PUBLISHER, STAGE (the folder holding the three
; files), ICON and OUTFILE.
Unicode true
; The 64-bit stub: Debian's 64-bit Wine runs it, the x86 stubs need a 32-bit one.
Target amd64-unicode
RequestExecutionLevel user
ManifestDPIAware true
SetCompressor /SOLID lzma

!include MUI2.nsh
!include LogicLib.nsh

!define PRODUCT "タブカード"
!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tabcard"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"
!define README "読んでください.txt"

!define ENDSESSION_CLOSEAPP 0x1
; SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE
!define TABCARD_ACCESS 0x101001

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Tabcard"
InstallDirRegKey HKCU "${UNINST_KEY}" "InstallLocation"
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion ${FILEVERSION}
VIAddVersionKey /LANG=1041 ProductName "${PRODUCT}"
VIAddVersionKey /LANG=1041 ProductVersion "${VERSION}"
VIAddVersionKey /LANG=1041 CompanyName "${PUBLISHER}"
VIAddVersionKey /LANG=1041 FileDescription "${PRODUCT} ${VERSION} セットアップ"
VIAddVersionKey /LANG=1041 FileVersion "${VERSION}"
VIAddVersionKey /LANG=1041 LegalCopyright "${PUBLISHER}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_FUNCTION StartTabcard
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Japanese"

; Ends a running Tabcard the way Windows does at sign-out, so that it saves
; its state, before its files are replaced or removed. Its hidden
; application window (class TApplication, title "Tabcard.exe") leads to the
; process; every top-level window of it gets WM_QUERYENDSESSION and
; WM_ENDSESSION, then the palette is closed (it saves its place) and the
; application window, which owns the palette, is closed too, so the message
; loop ends even when closing the palette only hides it. A process that has
; not gone after 10 s is terminated, as Windows would after WM_ENDSESSION.
!macro TABCARD_END_FUNCTIONS un
Function ${un}TellTabcard  ; $R2 pid, $R6 message, $R7 wParam, $R8 lParam
  ; Collected first: a window that goes while it is told ends no walk.
  StrCpy $0 0
  StrCpy $2 0
  ${Do}
    FindWindow $0 "" "" 0 $0
    ${IfThen} $0 == 0 ${|} ${ExitDo} ${|}
    System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1)"
    ${If} $1 == $R2
      Push $0
      IntOp $2 $2 + 1
    ${EndIf}
  ${Loop}
  ${DoWhile} $2 > 0
    Pop $0
    SendMessage $0 $R6 $R7 $R8 /TIMEOUT=5000
    IntOp $2 $2 - 1
  ${Loop}
FunctionEnd

Function ${un}EndTabcard
  StrCpy $R0 0  ; the window after which to look on
  StrCpy $R5 0  ; rounds, bounded
  ${Do}
    FindWindow $R1 "TApplication" "Tabcard.exe" 0 $R0
    ${IfThen} $R1 == 0 ${|} ${ExitDo} ${|}
    System::Call "user32::GetWindowThreadProcessId(p R1, *i .R2)"
    System::Call "kernel32::OpenProcess(i ${TABCARD_ACCESS}, i 0, i R2) p .R3"
    StrCpy $R4 ""
    System::Call "kernel32::QueryFullProcessImageNameW(p R3, i 0, w .R4, *i ${NSIS_MAX_STRLEN})"
    StrCpy $R4 $R4 "" -12
    ${If} $R4 == "\Tabcard.exe"
      StrCpy $R6 ${WM_QUERYENDSESSION}
      StrCpy $R7 0
      StrCpy $R8 ${ENDSESSION_CLOSEAPP}
      Call ${un}TellTabcard
      StrCpy $R6 ${WM_ENDSESSION}
      StrCpy $R7 1
      Call ${un}TellTabcard
      FindWindow $0 "TfrmMain" "" 0 0
      ${Do}
        ${IfThen} $0 == 0 ${|} ${ExitDo} ${|}
        System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1)"
        ${If} $1 == $R2
          SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
          ${ExitDo}
        ${EndIf}
        FindWindow $0 "TfrmMain" "" 0 $0
      ${Loop}
      System::Call "user32::PostMessageW(p R1, i ${WM_CLOSE}, p 0, p 0)"
      System::Call "kernel32::WaitForSingleObject(p R3, i 10000) i .R4"
      ${If} $R4 != 0
        System::Call "kernel32::TerminateProcess(p R3, i 1)"
        System::Call "kernel32::WaitForSingleObject(p R3, i 5000)"
      ${EndIf}
      StrCpy $R0 0
    ${Else}
      StrCpy $R0 $R1
    ${EndIf}
    System::Call "kernel32::CloseHandle(p R3)"
    IntOp $R5 $R5 + 1
  ${LoopUntil} $R5 >= 8
FunctionEnd
!macroend
!insertmacro TABCARD_END_FUNCTIONS ""
!insertmacro TABCARD_END_FUNCTIONS "un."

Function .onInit
  SetShellVarContext current
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section
  Call EndTabcard
  SetOutPath "$INSTDIR"
  File "${STAGE}\Tabcard.exe"
  File "${STAGE}\Tabcard.html"
  File "${STAGE}\${README}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; Memo files are written to the working directory: one the user can write.
  SetOutPath "$DOCUMENTS\Tabcard"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\Tabcard.exe" "" "$INSTDIR\Tabcard.exe" 0
  SetOutPath "$INSTDIR"

  WriteRegStr HKCU "${UNINST_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Tabcard.exe"
  WriteRegStr HKCU "${UNINST_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr HKCU "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINST_KEY}" "NoRepair" 1
  SectionGetSize 0 $0
  WriteRegDWORD HKCU "${UNINST_KEY}" "EstimatedSize" $0
SectionEnd

Function StartTabcard
  SetOutPath "$DOCUMENTS\Tabcard"
  Exec '"$INSTDIR\Tabcard.exe"'
  SetOutPath "$INSTDIR"
FunctionEnd

; The settings (HKCU\Software\orrery\Tabcard) and the memo files in
; Documents\Tabcard are the user's and stay.
Section "Uninstall"
  Call un.EndTabcard
  Delete "${SHORTCUT}"
  DeleteRegKey HKCU "${UNINST_KEY}"
  Delete "$INSTDIR\Tabcard.exe"
  Delete "$INSTDIR\Tabcard.html"
  Delete "$INSTDIR\${README}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
