; The Velmora installer (NSIS 3, Unicode). scripts/release builds one per architecture:
;   makensis -DVERSION=1.0.0 -DARCH=x64 -DSTAGE=<folder with the program's files>
;            -DOUTFILE=<setup.exe> -DICON=<icon file> installer/velmora.nsi
;
; It installs for the current user without administrator rights (into the user's programs
; folder) unless "all users" is chosen, which needs an installer started as administrator.
; Command line: /S silent, /AllUsers or /CurrentUser, /D=<folder> as usual for NSIS.
; A running copy of Velmora in the target folder is ended the way Windows ends it at log-off
; (it saves its settings and exits without a question) before its files are replaced or
; removed. The user's settings under HKCU\Software\Orindel\Velmora are never touched.

Unicode true
!ifndef VERSION | ARCH | STAGE | OUTFILE | ICON
  !error "VERSION, ARCH, STAGE, OUTFILE and ICON must be defined"
!endif
!if "${ARCH}" == "x64"
  Target amd64-unicode
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh
!include nsDialogs.nsh
!include WinMessages.nsh

!define PRODUCT "Velmora"
!define PUBLISHER "Orindel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velmora"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
SetCompressor /SOLID lzma
ShowInstDetails nevershow
ShowUninstDetails nevershow
BrandingText "${PRODUCT} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${PRODUCT}"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "FileDescription" "${PRODUCT} ${VERSION} setup (${ARCH})"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "LegalCopyright" "Copyright (c) ${PUBLISHER}"

Var AllUsers  ; 1: installed for all users (HKLM, Program Files, the common Start menu)

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\Velmora.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Start Velmora now"
!define MUI_UNCONFIRMPAGE_TEXT_TOP "Velmora will be removed from the folder below. Your settings (HKEY_CURRENT_USER\Software\Orindel\Velmora) are kept, so a later installation starts with them."

!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
Page custom InstallModePage InstallModePageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; --- Install mode ------------------------------------------------------------------------

!macro UseInstallMode un
Function ${un}UseInstallMode
  ${If} $AllUsers == 1
    SetShellVarContext all
  ${Else}
    SetShellVarContext current
  ${EndIf}
!if "${ARCH}" == "x64"
  SetRegView 64
!endif
FunctionEnd
!macroend
!insertmacro UseInstallMode ""
!insertmacro UseInstallMode "un."

!macro IsAdmin un
Function ${un}IsAdmin  ; pushes 1 when this process has administrator rights
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 == "Admin"
    Push 1
  ${Else}
    Push 0
  ${EndIf}
FunctionEnd
!macroend
!insertmacro IsAdmin ""
!insertmacro IsAdmin "un."

Function DefaultFolder
  ${If} $AllUsers == 1
!if "${ARCH}" == "x64"
    StrCpy $INSTDIR "$PROGRAMFILES64\${PRODUCT}"
!else
    StrCpy $INSTDIR "$PROGRAMFILES\${PRODUCT}"
!endif
  ${Else}
    StrCpy $INSTDIR "$LOCALAPPDATA\Programs\${PRODUCT}"
  ${EndIf}
  ; An earlier installation in the same mode is upgraded where it is.
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
    StrCpy $INSTDIR $0
  ${EndIf}
FunctionEnd

Var ModeOnlyMe
Var ModeAllUsers

Function InstallModePage
  !insertmacro MUI_HEADER_TEXT "Choose the users" "Install Velmora for yourself or for everybody who uses this computer."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateRadioButton} 0 0 100% 12u "Only for me (recommended; no administrator rights needed)"
  Pop $ModeOnlyMe
  ${NSD_CreateRadioButton} 0 18u 100% 12u "For all users of this computer"
  Pop $ModeAllUsers
  Call IsAdmin
  Pop $1
  ${If} $1 != 1
    EnableWindow $ModeAllUsers 0
    ${NSD_CreateLabel} 12u 34u 95% 24u "To install for all users, start the installer again with $\"Run as administrator$\"."
    Pop $0
  ${EndIf}
  ${If} $AllUsers == 1
    ${NSD_Check} $ModeAllUsers
  ${Else}
    ${NSD_Check} $ModeOnlyMe
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function InstallModePageLeave
  ${NSD_GetState} $ModeAllUsers $0
  ${If} $0 == ${BST_CHECKED}
    StrCpy $AllUsers 1
  ${Else}
    StrCpy $AllUsers 0
  ${EndIf}
  Call UseInstallMode
  Call DefaultFolder
FunctionEnd

Function .onInit
  StrCpy $AllUsers 0
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/AllUsers" $R1
  ${IfNot} ${Errors}
    Call IsAdmin
    Pop $1
    ${If} $1 != 1
      MessageBox MB_ICONSTOP "Installing for all users needs administrator rights." /SD IDOK
      SetErrorLevel 740  ; ERROR_ELEVATION_REQUIRED
      Quit
    ${EndIf}
    StrCpy $AllUsers 1
  ${EndIf}
  Call UseInstallMode
  Call DefaultFolder
FunctionEnd

; --- Ending a running copy -----------------------------------------------------------------

; Ends every running Velmora.exe of $INSTDIR: its windows get the end-of-session query and
; notice, as at log-off, so it saves its settings and exits by itself; the installer waits up
; to ten seconds for each. Copies run from other folders are left alone.
!macro EndRunningVelmora un
Function ${un}EndRunningVelmora
  StrCpy $R9 0  ; windows looked at, so a copy that does not end cannot hold us forever
  loop:
    IntOp $R9 $R9 + 1
    IntCmp $R9 200 done 0 done
    StrCpy $R1 0
  next_window:
    FindWindow $R1 "VelmoraControl" "" "" $R1
    StrCmp $R1 0 done
    System::Call 'user32::GetWindowThreadProcessId(p R1, *i .R2)'
    System::Call 'kernel32::OpenProcess(i 0x101000, i 0, i R2) p .R3'  ; query, synchronize
    StrCmp $R3 0 next_window
    StrCpy $R4 ""
    System::Call 'kernel32::QueryFullProcessImageNameW(p R3, i 0, w .R4, *i ${NSIS_MAX_STRLEN})'
    ${If} $R4 == "$INSTDIR\Velmora.exe"
      DetailPrint "Ending the running Velmora (process $R2)"
      SendMessage $R1 ${WM_QUERYENDSESSION} 0 0 /TIMEOUT=5000
      SendMessage $R1 ${WM_ENDSESSION} 1 0 /TIMEOUT=5000
      System::Call 'kernel32::WaitForSingleObject(p R3, i 10000)'
      System::Call 'kernel32::CloseHandle(p R3)'
      Goto loop  ; its windows are gone: search again from the start
    ${EndIf}
    System::Call 'kernel32::CloseHandle(p R3)'
    Goto next_window
  done:
FunctionEnd
!macroend
!insertmacro EndRunningVelmora ""
!insertmacro EndRunningVelmora "un."

; --- Install -------------------------------------------------------------------------------

Section "Velmora" SecMain
  SectionIn RO
  Call EndRunningVelmora
  SetOutPath "$INSTDIR"
  File "${STAGE}\Velmora.exe"
  File "${STAGE}\VelmoraEng.chm"
  File "${STAGE}\README.txt"
  File "${STAGE}\LICENSE.txt"
  SetOutPath "$INSTDIR\Language"
  File "${STAGE}\Language\*.lng"
  SetOutPath "$INSTDIR"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Velmora.exe" "" "$INSTDIR\Velmora.exe" 0

  StrCpy $0 ""
  ${If} $AllUsers == 1
    StrCpy $0 " /AllUsers"
  ${EndIf}
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Velmora.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "URLInfoAbout" "https://velmora.orindel.example/"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"$0'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe"$0 /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $1
SectionEnd

; --- Uninstall -----------------------------------------------------------------------------

Function un.onInit
  StrCpy $AllUsers 0
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/AllUsers" $R1
  ${IfNot} ${Errors}
    Call un.IsAdmin
    Pop $1
    ${If} $1 != 1
      MessageBox MB_ICONSTOP "Velmora was installed for all users: removing it needs administrator rights." /SD IDOK
      SetErrorLevel 740  ; ERROR_ELEVATION_REQUIRED
      Quit
    ${EndIf}
    StrCpy $AllUsers 1
  ${EndIf}
  Call un.UseInstallMode
FunctionEnd

Section "Uninstall"
  Call un.EndRunningVelmora
  Delete "$INSTDIR\Velmora.exe"
  Delete "$INSTDIR\VelmoraEng.chm"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\Language\*.lng"
  RMDir "$INSTDIR\Language"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ; "Start automatically" writes the quoted path of the copy that set it; only a value that
  ; starts this copy goes, another copy's stays.
  ReadRegStr $0 HKCU "${RUN_KEY}" "Velmora"
  ${If} $0 == '"$INSTDIR\Velmora.exe"'
  ${OrIf} $0 == "$INSTDIR\Velmora.exe"
    DeleteRegValue HKCU "${RUN_KEY}" "Velmora"
  ${EndIf}
  DetailPrint "Your settings under HKEY_CURRENT_USER\Software\Orindel\Velmora are kept."
SectionEnd
